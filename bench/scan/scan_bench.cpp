// Walk benchmark: scan_bench <folder> [runs] [workers]
// Builds the tree with the program's walk (POSIX lister natively, Win32 lister under Wine), best of `runs`
// timed walks after one warming walk, and prints one line:
//   files <n> folders <n> bytes <n> seconds <best> peak_bytes <peak memory> entries <n> workers <n> runs <s,s,...>
// workers: 1 for the single walk, more for the parallel walk; 0 or none for the scan thread's default.
#include "common/WalkBenchSupport.h"
#include "model/DirInfo.h"
#include "scan/ParallelWalk.h"
#include "scan/Walk.h"

#ifdef _WIN32
#include "scan/Win32Lister.h"

#include <windows.h>
#else
#include "scan/PosixLister.h"
#endif

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

using bench::NoControl;
using bench::PeakMemory;

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: scan_bench <folder> [runs] [workers]\n");
        return 2;
    }
    std::string rootPath = argv[1];
    const int runs = argc > 2 ? std::atoi(argv[2]) : 3;
    unsigned workers = argc > 3 ? static_cast<unsigned>(std::atoi(argv[3])) : 0;
    if (workers == 0) workers = scan::DefaultWorkerCount();
#ifdef _WIN32
    scan::Win32Lister lister;
#else
    scan::PosixLister lister;
#endif
    while (rootPath.size() > 1 && rootPath.back() == lister.Separator()) rootPath.pop_back();

    double best = 1e30;
    std::string times;
    model::DirInfo kept;
    scan::ScanCounters last;
    for (int run = 0; run <= runs; ++run) {
        kept = model::DirInfo();  // one tree alive at a time, so the peak is one tree's worth
        NoControl control;
        scan::ScanCounters counters;
        model::DirInfo root(rootPath);
        const auto start = std::chrono::steady_clock::now();
        scan::WalkTree(lister, 4096, counters, control, workers, root, rootPath);
        const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        if (run > 0) {  // run 0 warms the caches
            best = std::min(best, seconds);
            if (!times.empty()) times += ',';
            times += std::to_string(seconds).substr(0, 5);
        }
        last.filesFound = counters.filesFound.load();
        last.foldersFound = counters.foldersFound.load();
        kept = std::move(root);
    }
    std::printf("files %u folders %u bytes %llu seconds %.3f peak_bytes %llu entries %llu workers %u runs %s\n",
                last.filesFound.load(), last.foldersFound.load(), static_cast<unsigned long long>(kept.deepSize), best,
                static_cast<unsigned long long>(PeakMemory()),
                static_cast<unsigned long long>(last.filesFound.load()) + last.foldersFound.load() + 1, workers,
                times.c_str());
    return 0;
}
