// In-memory DirListers for walk tests. FakeLister: folders by path with their entries in a fixed order,
// counts of open listings, and a hook that runs whenever a folder is opened; safe for several workers.
// ChainLister: a chain of folders of any depth, answered from the path's length.
#pragma once

#include "scan/DirLister.h"

#include <algorithm>
#include <atomic>
#include <functional>
#include <map>
#include <mutex>
#include <string>
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

// A chain of folders `depth` levels below "C:", one file in each, answered from the path's length
// (a listed map of 5,000 paths would hold 25 MB of keys).
class ChainLister final : public scan::DirLister {
public:
    explicit ChainLister(std::size_t depth) : depth_(depth) {}
    std::unique_ptr<scan::DirListing> Open(const std::string& path) override {
        const std::size_t level = (path.size() - 2) / 2;  // "C:" then "\d" per level
        std::vector<scan::DirEntry> entries{File("f", level + 1)};
        if (level < depth_) entries.push_back(Dir("d"));
        return std::make_unique<Listing>(std::move(entries));
    }
    char Separator() const override { return '\\'; }

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
};

}  // namespace scantest
