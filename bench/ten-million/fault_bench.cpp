// What the machine charges for memory itself: fault_bench <MB> takes that many megabytes from the heap in
// blocks of the size a tree's lists have, writes each page once, and prints the milliseconds and the CPU
// split. bench/ten-million/run.sh runs it beside the program, for the program's peak memory less an idle
// program's: a floor under any start that builds a tree of that size.
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

double Ms(FILETIME time) {
    return (static_cast<double>(time.dwHighDateTime) * 4294967296.0 + time.dwLowDateTime) / 1e4;
}

}  // namespace

int main(int argc, char** argv) {
    const std::size_t megabytes = argc > 1 ? std::strtoul(argv[1], nullptr, 10) : 0;
    constexpr std::size_t kBlock = 700;  // about one folder's file list of the synthetic tree
    std::vector<char*> blocks;
    blocks.reserve(megabytes * (1 << 20) / kBlock + 1);
    FILETIME created, ended, kernelBefore, userBefore, kernelAfter, userAfter;
    GetProcessTimes(GetCurrentProcess(), &created, &ended, &kernelBefore, &userBefore);
    const auto start = std::chrono::steady_clock::now();
    for (std::size_t total = 0; total < megabytes << 20; total += kBlock) {
        char* block = static_cast<char*>(std::malloc(kBlock));
        if (!block) return 1;
        for (std::size_t at = 0; at < kBlock; at += 64) block[at] = 1;
        blocks.push_back(block);
    }
    const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    GetProcessTimes(GetCurrentProcess(), &created, &ended, &kernelAfter, &userAfter);
    std::printf("%.0f %.0f %.0f\n", ms, Ms(userAfter) - Ms(userBefore), Ms(kernelAfter) - Ms(kernelBefore));
    return 0;
}
