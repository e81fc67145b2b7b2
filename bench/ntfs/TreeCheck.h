// The reader benchmark's check that the file table gives the same tree as walking the mounted image, entry
// by entry: the walk (natively, the POSIX lister) in the order the folder index lists names, compared with
// the reader's tree. Used by ntfs_bench after its timed runs; native only (the mount is a Linux folder).
#pragma once

#include "model/DirInfo.h"
#include "scan/ParallelWalk.h"
#include "scan/PosixLister.h"
#include "scan/ntfs/NtfsFormat.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <span>
#include <string>
#include <vector>

namespace bench {

// The volume's up-case table as the NTFS tools read it (empty when they cannot).
inline std::vector<std::uint16_t> UpCaseOf(const std::string& image) {
    std::vector<std::uint16_t> upcase;
    // Forced: the image is mounted (read-only) while the check runs; ntfscat only reads.
    const std::string command = "ntfscat -f '" + image + "' '$UpCase' 2>/dev/null";
    if (std::FILE* pipe = popen(command.c_str(), "r")) {
        std::uint8_t pair[2];
        while (std::fread(pair, 1, 2, pipe) == 2) upcase.push_back(static_cast<std::uint16_t>(pair[0] | pair[1] << 8));
        pclose(pipe);
    }
    return upcase;
}

// Puts every folder's lists into index order (the driver lists a folder of several index blocks otherwise).
inline void SortLikeTheIndex(model::DirInfo& root, std::span<const std::uint16_t> upcase) {
    auto before = [&](const auto& x, const auto& y) {
        return scan::ntfs::CollateNames(scan::ntfs::Utf8ToUtf16(x.name), scan::ntfs::Utf8ToUtf16(y.name), upcase) < 0;
    };
    std::vector<model::DirInfo*> stack{&root};
    while (!stack.empty()) {
        model::DirInfo* dir = stack.back();
        stack.pop_back();
        // Sorted as vectors: records inside a list keep their names at fixed distances and are not swapped.
        std::vector<model::FileInfo> files(dir->files.begin(), dir->files.end());
        std::vector<model::DirInfo> subdirs(std::make_move_iterator(dir->subdirs.begin()),
                                            std::make_move_iterator(dir->subdirs.end()));
        if (!std::is_sorted(files.begin(), files.end(), before)) {
            std::stable_sort(files.begin(), files.end(), before);
            dir->files = model::RecordList<model::FileInfo>(std::move(files));
        }
        std::stable_sort(subdirs.begin(), subdirs.end(), before);
        dir->subdirs = model::RecordList<model::DirInfo>(std::move(subdirs));
        for (model::DirInfo& sub : dir->subdirs) stack.push_back(&sub);
    }
}

// The first place two trees differ, as a path; empty when they are equal in every field of every entry.
inline std::string FirstDifference(const model::DirInfo& a, const model::DirInfo& b) {
    struct Frame {
        const model::DirInfo* a;
        const model::DirInfo* b;
        std::string path;
    };
    std::vector<Frame> stack{{&a, &b, ""}};
    while (!stack.empty()) {
        const Frame f = stack.back();
        stack.pop_back();
        if (f.a->files.size() != f.b->files.size() || f.a->subdirs.size() != f.b->subdirs.size())
            return f.path + "/: " + std::to_string(f.a->files.size()) + " vs " + std::to_string(f.b->files.size()) +
                   " files, " + std::to_string(f.a->subdirs.size()) + " vs " + std::to_string(f.b->subdirs.size()) +
                   " folders";
        for (std::size_t i = 0; i < f.a->files.size(); ++i)
            if (!(f.a->files[i] == f.b->files[i]))
                return f.path + "/" + f.a->files[i].name + " (" + std::to_string(f.a->files[i].size) + ") vs " +
                       f.b->files[i].name + " (" + std::to_string(f.b->files[i].size) + ")";
        for (std::size_t i = 0; i < f.a->subdirs.size(); ++i) {
            const model::DirInfo& x = f.a->subdirs[i];
            const model::DirInfo& y = f.b->subdirs[i];
            if (x.name != y.name || x.deepFiles != y.deepFiles || x.deepDirs != y.deepDirs ||
                x.deepSize != y.deepSize || x.localSize != y.localSize || x.deepAlloc != y.deepAlloc ||
                x.localAlloc != y.localAlloc || x.sortKey != y.sortKey)
                return f.path + "/" + x.name + "/ vs " + y.name + "/ (name or totals)";
            stack.push_back({&x, &y, f.path + "/" + x.name});
        }
    }
    return a == b ? "" : "the roots' own fields differ";
}

// Walks `mounted` and compares it with `read` (whose root name the walk's root takes). Empty when equal.
inline std::string CompareWithWalk(const model::DirInfo& read, const std::string& image, std::string mounted) {
    const std::vector<std::uint16_t> upcase = UpCaseOf(image);
    if (upcase.empty()) return "cannot read the up-case table of " + image + " (ntfscat)";
    while (mounted.size() > 1 && mounted.back() == '/') mounted.pop_back();
    scan::PosixLister lister;
    struct : scan::WalkControl {
        bool StopRequested() const override { return false; }
        void PausePoint() override {}
    } control;
    scan::ScanCounters counters;
    model::DirInfo walked(std::string_view(read.name));
    scan::WalkTree(lister, 4096, counters, control, 0, walked, mounted);
    SortLikeTheIndex(walked, upcase);
    return FirstDifference(read, walked);
}

}  // namespace bench
