// In-memory DirListers for walk tests. FakeLister: folders by path with their entries in a fixed order,
// counts of open listings, and a hook that runs whenever a folder is opened; safe for several workers.
// Generate fills one with a random tree of a given shape. ChainLister: a chain of folders of any depth,
// answered from the path's length.
#pragma once

#include "scan/DirLister.h"

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

namespace scantest {

class FakeLister final : public scan::DirLister {
public:
    // Adds a folder listing; a path without a listing cannot be opened.
    void AddFolder(const std::string& path, std::vector<scan::DirEntry> entries) {
        folders_[path] = std::move(entries);
    }

    std::unique_ptr<scan::DirListing> Open(const std::string& path) override {
        {
            std::lock_guard lock(mutex_);
            opened.push_back(path);
        }
        if (onOpen) onOpen(path);  // outside the lock: a hook may hold its worker
        const auto it = folders_.find(path);
        if (it == folders_.end()) return nullptr;
        return std::make_unique<Listing>(*this, it->second);
    }
    char Separator() const override { return '\\'; }

    // Read these once the walk has returned.
    std::vector<std::string> opened;
    std::function<void(const std::string&)> onOpen;
    int openNow = 0;
    int openMost = 0;
    std::atomic<long> entriesRead{0};  // may be read while the walk runs

private:
    class Listing final : public scan::DirListing {
    public:
        Listing(FakeLister& owner, const std::vector<scan::DirEntry>& entries) : owner_(owner), entries_(entries) {
            std::lock_guard lock(owner_.mutex_);
            owner_.openMost = std::max(owner_.openMost, ++owner_.openNow);
        }
        ~Listing() override {
            std::lock_guard lock(owner_.mutex_);
            --owner_.openNow;
        }
        bool Next(scan::DirEntry& entry) override {
            if (next_ == entries_.size()) return false;
            entry = entries_[next_++];
            owner_.entriesRead.fetch_add(1);
            return true;
        }

    private:
        FakeLister& owner_;
        const std::vector<scan::DirEntry>& entries_;
        std::size_t next_ = 0;
    };

    std::map<std::string, std::vector<scan::DirEntry>> folders_;
    std::mutex mutex_;
};

inline scan::DirEntry File(std::string name, std::uint64_t size) { return {std::move(name), false, false, size}; }
inline scan::DirEntry Dir(std::string name) { return {std::move(name), true, false, 0}; }
inline scan::DirEntry Link(std::string name) { return {std::move(name), true, true, 0}; }

// splitmix64, so the trees are the same on every library.
struct Random {
    std::uint64_t state;
    std::uint64_t Below(std::uint64_t n) {
        std::uint64_t z = (state += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return (z ^ (z >> 31)) % n;
    }
};

struct Shape {
    const char* what;
    int folders;  // below the root
    int files;
    int deepPercent;        // chance that a folder goes below the last one made (else below any)
    int linkPercent;        // folder entries that are links
    int unlistablePercent;  // folders without a listing
    bool rootListable;
    int backslashPercent = 0;  // names that hold a backslash (which POSIX allows)
};

// Fills `lister` with a tree of that shape: entries in a shuffled order with "." and ".." among them,
// names that repeat across folders and differ in case within one.
inline void Generate(FakeLister& lister, const Shape& shape, std::uint64_t seed) {
    Random random{seed};
    // A backslash after the first character: no folder is named by that character alone, so the paths
    // composed with it still name one folder each.
    auto named = [&](std::string name) {
        if (shape.backslashPercent > 0 && random.Below(100) < static_cast<std::uint64_t>(shape.backslashPercent))
            name.insert(1, "\\");
        return name;
    };
    std::vector<std::string> paths{"C:"};
    std::vector<std::vector<scan::DirEntry>> entries(1);
    std::vector<bool> listable{shape.rootListable};
    for (int i = 0; i < shape.folders; ++i) {
        const std::size_t parent = random.Below(100) < static_cast<std::uint64_t>(shape.deepPercent)
                                       ? paths.size() - 1
                                       : random.Below(paths.size());
        const std::string name = named((i % 2 ? "Dir" : "dir") + std::to_string(i % 7) + "_" + std::to_string(i));
        if (random.Below(100) < static_cast<std::uint64_t>(shape.linkPercent)) {
            entries[parent].push_back(Link(name));
            continue;
        }
        entries[parent].push_back(Dir(name));
        paths.push_back(paths[parent] + "\\" + name);
        entries.emplace_back();
        listable.push_back(random.Below(100) >= static_cast<std::uint64_t>(shape.unlistablePercent));
    }
    for (int i = 0; i < shape.files; ++i) {
        const std::size_t folder = random.Below(paths.size());
        const std::uint64_t size = random.Below(10) == 0 ? 0 : random.Below(std::uint64_t{1} << (random.Below(40)));
        entries[folder].push_back(File(named("f" + std::to_string(i % 13)), size));
    }
    for (std::size_t i = 0; i < paths.size(); ++i) {
        std::vector<scan::DirEntry>& list = entries[i];
        for (std::size_t j = list.size(); j > 1; --j) std::swap(list[j - 1], list[random.Below(j)]);
        list.insert(list.begin() + static_cast<std::ptrdiff_t>(random.Below(list.size() + 1)), Dir("."));
        list.insert(list.begin() + static_cast<std::ptrdiff_t>(random.Below(list.size() + 1)), Dir(".."));
        if (listable[i]) lister.AddFolder(paths[i], list);
    }
}

// A chain of folders `depth` levels below "C:", one file in each, answered from the path's length
// (a listed map of 5,000 paths would hold 25 MB of keys). With `siblings`, each folder of the chain also
// holds a folder "e" after "d", with one file of its own.
class ChainLister final : public scan::DirLister {
public:
    explicit ChainLister(std::size_t depth, bool siblings = false) : depth_(depth), siblings_(siblings) {}
    std::unique_ptr<scan::DirListing> Open(const std::string& path) override {
        const std::size_t level = (path.size() - 2) / 2;  // "C:" then "\\d" per level
        const bool sibling = path.ends_with("\\e");
        {
            std::lock_guard lock(mutex_);
            opened.emplace_back(level, sibling);
        }
        if (sibling) return std::make_unique<Listing>(std::vector<scan::DirEntry>{File("g", level)});
        std::vector<scan::DirEntry> entries{File("f", level + 1)};
        if (level < depth_) entries.push_back(Dir("d"));
        if (siblings_ && level < depth_) entries.push_back(Dir("e"));
        return std::make_unique<Listing>(std::move(entries));
    }
    char Separator() const override { return '\\'; }

    // The folders opened, in order, as their level and whether each is an "e"; read once the walk has
    // returned.
    std::vector<std::pair<std::size_t, bool>> opened;

private:
    struct Listing final : scan::DirListing {
        explicit Listing(std::vector<scan::DirEntry> entries) : entries_(std::move(entries)) {}
        bool Next(scan::DirEntry& entry) override {
            if (next_ == entries_.size()) return false;
            entry = entries_[next_++];
            return true;
        }
        std::vector<scan::DirEntry> entries_;
        std::size_t next_ = 0;
    };
    std::size_t depth_;
    bool siblings_;
    std::mutex mutex_;
};

}  // namespace scantest
