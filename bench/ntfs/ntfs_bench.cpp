// File-table reader benchmark: ntfs_bench <image> [runs] [mounted-image]
// Reads the whole tree of an NTFS image with the file-table reader (the portable image volume natively,
// the Win32 volume under Wine), best of `runs` timed reads after one warming read (runs 0: that one read
// alone, timed), and prints one line:
//   files <n> folders <n> bytes <n> seconds <best> peak_bytes <peak memory> entries <n> tree_bytes <n>
// tree_bytes: heap the finished tree holds once the reader has returned (natively; 0 under Wine). With the
// image mounted at `mounted-image` (natively), it then walks the mount and prints "same_tree yes", or
// "same_tree no" and the first difference on standard error.
#include "common/WalkBenchSupport.h"
#include "fw/Utf8.h"
#include "model/DirInfo.h"
#include "scan/ntfs/NtfsReader.h"

#ifdef _WIN32
#include "scan/Win32Lister.h"
#include "scan/ntfs/Win32Volume.h"

#include <windows.h>
#else
#include "TreeCheck.h"

#include <malloc.h>
#endif

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

using bench::NoControl;
using bench::PeakMemory;

namespace {
// Bytes the heap has handed out and not had back (natively; 0 where unknown).
std::uint64_t HeapInUse() {
#ifdef _WIN32
    return 0;
#else
    const struct mallinfo2 info = mallinfo2();
    return info.uordblks + info.hblkhd;
#endif
}
}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: ntfs_bench <image> [runs] [mounted-image]\n");
        return 2;
    }
    const int runs = argc > 2 ? std::atoi(argv[2]) : 3;
    double best = 1e30;
    model::DirInfo kept;
    scan::ScanCounters last;
    std::uint64_t treeBytes = 0;
    for (int run = 0; run <= runs; ++run) {
        kept = model::DirInfo();
        const std::uint64_t heapBefore = HeapInUse();
#ifdef _WIN32
        scan::ntfs::Win32Volume volume;
        if (!volume.Open(fw::Utf8ToWide(argv[1]))) return 1;
#else
        scan::ntfs::ImageVolume volume;
        if (!volume.Open(argv[1])) return 1;
#endif
        NoControl control;
        scan::ScanCounters counters;
        model::DirInfo root("X:");
        const auto start = std::chrono::steady_clock::now();
        if (scan::ntfs::ReadVolume(volume, {}, root, counters, control, 4096) != scan::ntfs::ReadResult::kComplete) {
            std::fprintf(stderr, "ntfs_bench: the reader could not read %s\n", argv[1]);
            return 1;
        }
        const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        if ((run > 0 || runs == 0) && seconds < best) best = seconds;  // run 0 warms the caches
        const std::uint64_t heapAfter = HeapInUse();
        treeBytes = heapAfter > heapBefore ? heapAfter - heapBefore : 0;
        last.filesFound = counters.filesFound.load();
        last.foldersFound = counters.foldersFound.load();
        kept = std::move(root);
    }
    std::printf("files %u folders %u bytes %llu seconds %.3f peak_bytes %llu entries %llu tree_bytes %llu\n",
                last.filesFound.load(), last.foldersFound.load(), static_cast<unsigned long long>(kept.deepSize), best,
                static_cast<unsigned long long>(PeakMemory()),
                static_cast<unsigned long long>(last.filesFound.load()) + last.foldersFound.load() + 1,
                static_cast<unsigned long long>(treeBytes));
#ifndef _WIN32
    if (argc > 3) {
        std::fflush(stdout);
        const std::string difference = bench::CompareWithWalk(kept, argv[1], argv[3]);
        std::printf("same_tree %s\n", difference.empty() ? "yes" : "no");
        if (!difference.empty()) std::fprintf(stderr, "ntfs_bench: first difference: %s\n", difference.c_str());
        return difference.empty() ? 0 : 1;
    }
#endif
    return 0;
}
