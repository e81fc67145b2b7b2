// Reading a data file the way the program's import does, in steps: read_bench FILE [runs] prints, for each
// run, the milliseconds of ReadDataFileWhole, of the totals over the tree read and of freeing it, and the
// tree's counts; after them the milliseconds of merely reading the file's bytes in pieces of 1 MB (the
// floor of the input alone).
// Both toolchains: natively it can be profiled, under Wine it shows what the import costs the program.
#include "model/DataFile.h"
#include "model/DirInfo.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
double Ms(Clock::time_point since) { return std::chrono::duration<double, std::milli>(Clock::now() - since).count(); }

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: read_bench FILE [runs]\n");
        return 2;
    }
    const int runs = argc > 2 ? std::atoi(argv[2]) : 1;
    for (int run = 0; run < runs; ++run) {
        model::DirInfo tree;
        std::uint32_t cluster = 0;
        auto start = Clock::now();
        const model::DecodeResult result =
            model::ReadDataFileWhole(argv[1], tree, cluster,
                                     [](const std::string& message) { std::fprintf(stderr, "%s\n", message.c_str()); });
        const double read = Ms(start);
        if (result != model::DecodeResult::kComplete) return 1;
        start = Clock::now();
        model::RecomputeTotals(tree, cluster);
        const double totals = Ms(start);
        const unsigned files = tree.deepFiles, folders = tree.deepDirs;
        start = Clock::now();
        tree = model::DirInfo();
        const double freed = Ms(start);
        std::printf("read %.0f ms, totals %.0f ms, freeing %.0f ms (%u files, %u folders)\n", read, totals, freed,
                    files, folders);
    }
    std::vector<char> piece(1 << 20);
    const auto start = Clock::now();
    std::size_t bytes = 0;
    if (std::FILE* file = std::fopen(argv[1], "rb")) {
        for (std::size_t got; (got = std::fread(piece.data(), 1, piece.size(), file)) > 0;) bytes += got;
        std::fclose(file);
    }
    std::printf("reading the %zu bytes alone %.0f ms\n", bytes, Ms(start));
    return 0;
}
