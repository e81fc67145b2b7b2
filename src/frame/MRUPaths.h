// The recent roots: the last four roots the user chose, most recent first, shown in the Root menu with
// the command ids firstId + index and kept in the settings as "MruPathCount" and "MruPath0".."MruPath3".
//
// The main view owns one for the whole run: the constructor reads the list through a store it opens, the
// destructor writes it back through a fresh one; nothing is written in between. The menu is rewritten by
// the writer the view installs (MRUPathsMenu.h) after every Add and once at the view's set-up.
#pragma once

#include "config/SettingsStore.h"

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace frame {

class MRUPaths {
public:
    static constexpr int kMaxEntries = 4;
    using StoreFactory = std::function<std::unique_ptr<config::SettingsStore>()>;
    using MenuWriter = std::function<void(const MRUPaths&)>;

    // Without a factory the list starts empty and is never stored.
    explicit MRUPaths(unsigned firstId, StoreFactory openStore = {});
    ~MRUPaths();
    MRUPaths(const MRUPaths&) = delete;
    MRUPaths& operator=(const MRUPaths&) = delete;

    unsigned FirstId() const noexcept { return firstId_; }
    int Count() const noexcept { return static_cast<int>(entries_.size()); }
    const std::vector<std::string>& Entries() const noexcept { return entries_; }
    // Empty for an index out of range.
    std::string Entry(int index) const;

    // Moves or inserts the path to the front (an equal entry in other letter case is replaced by this
    // spelling), keeps four, and rewrites the menu. The path may view one of the entries.
    void Add(std::string_view path);

    void SetMenuWriter(MenuWriter writer) { menuWriter_ = std::move(writer); }
    void RewriteMenu() const;

    // The count is clamped to four; a count of 0 or less reads none; empty values are skipped.
    void Load(const config::SettingsStore& store);
    // Values beyond the count are left as they are.
    void Save(config::SettingsStore& store) const;

private:
    unsigned firstId_;
    StoreFactory openStore_;
    MenuWriter menuWriter_;
    std::vector<std::string> entries_;
};

}  // namespace frame
