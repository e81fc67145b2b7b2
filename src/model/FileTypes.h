// What kind of file a name is: its type is its extension, lower-cased, and the totals of a tree's files by
// type. Portable; the file types dialog, the pie's type colours and highlight, the tips and the statistics
// query read it.
//
//   model::FileTypeOf("Movie.MKV") == "mkv";  model::FileTypeOf("README") == "" (no extension)
//   model::TypeTable table = model::ComputeTypeTable(folder, true, clusterSize);   // one pass
//   model::TypeTableWalk walk(folder, true, clusterSize);   // the same, a slice at a time:
//   while (!walk.Step(50000)) { ... let the window breathe ... }
//
// The extension is the text after the name's last dot when that dot is neither the first character (a
// name such as ".gitignore" has none) nor the last ("x." has none): "a.tar.gz" is "gz". Lower-casing folds
// ASCII letters and the two-byte UTF-8 capitals of Latin-1, Greek and Cyrillic, so "ÉTÉ" and "été" are one
// type; other bytes stay as they are.
//
// Counting allocates nothing per file or per type (the table keeps its texts and entries in blocks). A walk
// holds pointers into the tree: whoever keeps one drops it when records of the tree go.
#pragma once

#include "model/DirInfo.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace model {

// How the list and the tips name the type "" of names without an extension.
inline constexpr std::string_view kNoExtension = "(no extension)";

// The extension of a name as it is written (not lower-cased); empty for none.
std::string_view RawExtension(std::string_view name) noexcept;
// `text` lower-cased into `out`, which has room for text.size() bytes (folding never changes a length);
// returns the folded view of `out`.
std::string_view FoldTypeCase(std::string_view text, char* out) noexcept;
// The type of a file name: its extension lower-cased, "" for none.
std::string FileTypeOf(std::string_view name);
// Whether a file of this name is of `type` (lower-cased), without a copy of the name.
bool HasType(std::string_view name, std::string_view type);
// The type as the user reads it: the extension, or kNoExtension.
std::string TypeDisplayName(std::string_view type);

// `part` as a percentage of `whole` with one decimal, "12.5%"; "0.0%" when the whole is 0.
std::string ShareText(std::uint64_t part, std::uint64_t whole);

struct TypeTotals {
    std::uint64_t bytes = 0;      // logical
    std::uint64_t allocated = 0;  // for the table's cluster size; 0 while it is unknown
    std::uint64_t files = 0;

    void Add(std::uint64_t size, std::uint32_t clusterSize) noexcept {
        bytes += size;
        allocated += AllocatedSize(size, clusterSize);
        ++files;
    }
    friend bool operator==(const TypeTotals&, const TypeTotals&) = default;
};

// What the status bar says of a type's totals: "Type jpg: 2.9 MB in 12 files".
std::string TypeTotalsText(std::string_view type, const TypeTotals& totals);

// One type of a table: its text (lower-cased, "" for none) kept by the table, and its totals.
struct FileType {
    std::string_view type;
    TypeTotals totals;
    friend bool operator==(const FileType&, const FileType&) = default;
};

// The files added so far, totalled by type. The types' texts lie back to back in one block and are found
// through a table of their hashes, so neither a file nor a new type costs an allocation of its own, and
// the entries grow in pieces rather than by copying: a tree whose random names make hundreds of thousands
// of "types" is counted in a few times the time of one of forty.
class TypeTable {
public:
    explicit TypeTable(std::uint32_t clusterSize = 0) : clusterSize_(clusterSize) {}

    void Add(const FileInfo& file);
    // The files directly in `folder`.
    void AddFiles(const DirInfo& folder);

    std::size_t TypeCount() const noexcept { return entries_.size(); }
    // One entry per type, in the order first met; the texts are the table's, valid until the next Add.
    std::vector<FileType> Types() const;
    // Nothing when no file of that (lower-cased) type was added.
    std::optional<FileType> Find(std::string_view type) const;
    const TypeTotals& Total() const noexcept { return total_; }
    std::uint32_t ClusterSize() const noexcept { return clusterSize_; }

private:
    struct Entry {
        std::uint64_t hash;
        std::uint32_t offset;  // of the text in texts_
        std::uint32_t length;
        TypeTotals totals;
    };
    static constexpr std::uint32_t kNone = 0xFFFFFFFFu;

    std::uint32_t IndexOf(std::string_view rawExtension);
    // The entry of a folded text with this hash, kNone when there is none; `slot` is where it is or would go.
    std::uint32_t Lookup(std::string_view folded, std::uint64_t hash, std::size_t& slot) const noexcept;
    void Grow();

    std::uint32_t clusterSize_;
    std::deque<Entry> entries_;  // grows without moving what it holds
    std::vector<char> texts_;
    std::vector<std::uint64_t> slots_;  // the hash's high half and entry index + 1, 0 for an empty slot;
                                        // a power of two long
    TypeTotals total_;
    // Neighbouring files mostly share their extension: the last one as written, and its entry.
    std::array<char, 16> lastRaw_{};
    std::size_t lastRawSize_ = 0;
    std::uint32_t lastIndex_ = kNone;
};

// The files of `start` (and of every folder below it when `recurse`) added to a table a slice at a time.
class TypeTableWalk {
public:
    TypeTableWalk(const DirInfo& start, bool recurse, std::uint32_t clusterSize);

    // Adds up to `files` more files (at least one folder's worth of progress when a folder has none);
    // true once every file of the scope is in.
    bool Step(std::size_t files);
    bool Done() const noexcept { return !current_ && pending_.empty(); }
    std::uint64_t FilesDone() const noexcept { return table_.Total().files; }
    // The number of files the scope holds, from the folders' totals.
    std::uint64_t FilesInScope() const noexcept { return filesInScope_; }
    const TypeTable& Table() const noexcept { return table_; }
    TypeTable TakeTable() { return std::move(table_); }

private:
    TypeTable table_;
    bool recurse_;
    std::uint64_t filesInScope_;
    std::vector<const DirInfo*> pending_;
    const DirInfo* current_ = nullptr;
    std::size_t nextFile_ = 0;
};

TypeTable ComputeTypeTable(const DirInfo& start, bool recurse, std::uint32_t clusterSize);

// The totals of one (lower-cased) type in `start` and everything below it.
TypeTotals TotalsOfType(const DirInfo& start, std::string_view type, std::uint32_t clusterSize);

}  // namespace model
