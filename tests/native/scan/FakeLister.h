// An in-memory DirLister for walk tests: folders by path with their entries in a fixed order, counts of
// open listings, and a hook that runs whenever a folder is opened.
#pragma once

#include "scan/DirLister.h"

#include <functional>
#include <map>
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
        opened.push_back(path);
        if (onOpen) onOpen(path);
        const auto it = folders_.find(path);
        if (it == folders_.end()) return nullptr;
        return std::make_unique<Listing>(*this, it->second);
    }
    char Separator() const override { return '\\'; }

    std::vector<std::string> opened;
    std::function<void(const std::string&)> onOpen;
    int openNow = 0;
    int openMost = 0;

private:
    class Listing final : public scan::DirListing {
    public:
        Listing(FakeLister& owner, const std::vector<scan::DirEntry>& entries) : owner_(owner), entries_(entries) {
            owner_.openMost = std::max(owner_.openMost, ++owner_.openNow);
        }
        ~Listing() override { --owner_.openNow; }
        bool Next(scan::DirEntry& entry) override {
            if (next_ == entries_.size()) return false;
            entry = entries_[next_++];
            return true;
        }

    private:
        FakeLister& owner_;
        const std::vector<scan::DirEntry>& entries_;
        std::size_t next_ = 0;
    };

    std::map<std::string, std::vector<scan::DirEntry>> folders_;
};

inline scan::DirEntry File(std::string name, std::uint64_t size) { return {std::move(name), false, false, size}; }
inline scan::DirEntry Dir(std::string name) { return {std::move(name), true, false, 0}; }
inline scan::DirEntry Link(std::string name) { return {std::move(name), true, true, 0}; }

}  // namespace scantest
