// Comparison benchmark: two synthetic trees of 1,000,000 files in 50,000 folders that differ in 5% of the
// files (2% of a new size, 1.5% gone, 1.5% new beside them). Times matching the live tree with the earlier
// one and then computing every item's change, beside two passes the program makes anyway over trees of this
// size in the same run: one RecomputeTotals over the live tree and reading the earlier tree from its data
// file (from memory). Memory: the earlier tree's resident growth and the bytes the comparison adds per
// live entry. Usage: compare_bench [files folders]   (natively: tools/bench.sh compare; under Wine: wine.sh)
#include "../common/SyntheticTree.h"
#include "compare/ChangeRanking.h"
#include "compare/TreeComparison.h"
#include "model/DataFile.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#if defined(_WIN32)
#include <windows.h>
#include <psapi.h>
#endif

namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point since) { return std::chrono::duration<double>(Clock::now() - since).count(); }

// Resident memory now, in bytes (0 where not known).
double ResidentBytes() {
#if defined(_WIN32)
    PROCESS_MEMORY_COUNTERS counters{};
    if (GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters))
        return static_cast<double>(counters.WorkingSetSize);
    return 0;
#else
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmRSS:", 0) == 0) return std::atof(line.c_str() + 6) * 1024;
    return 0;
#endif
}

constexpr std::uint32_t kCluster = 4096;

// The tree a day later: of every 1000 files, 20 get a new size, 15 go and 15 new ones appear beside them.
std::size_t Change(model::DirInfo& root) {
    bench_tree::Rng rng{777};
    std::size_t changed = 0;
    std::vector<model::DirInfo*> stack{&root};
    std::vector<model::FileInfo> files;
    while (!stack.empty()) {
        model::DirInfo* dir = stack.back();
        stack.pop_back();
        files.clear();
        for (const model::FileInfo& file : dir->files) {
            const std::uint64_t roll = rng.Below(1000);
            if (roll < 15) {  // gone
                ++changed;
                continue;
            }
            files.push_back(file);
            if (roll < 35) {
                files.back().size = file.size / 2 + rng.Below(file.size + 1);
                ++changed;
            } else if (roll < 50) {
                files.emplace_back("new " + bench_tree::Name(rng), rng.Below(std::uint64_t{1} << 30));
                ++changed;
            }
        }
        dir->files = model::RecordList<model::FileInfo>(std::move(files));
        files = {};
        for (model::DirInfo& sub : dir->subdirs) stack.push_back(&sub);
    }
    return changed;
}

// Every item's change under the logical size, in the live tree's pre-order; their sum, so nothing is
// optimised away.
std::uint64_t EveryChange(const model::DirInfo& live, const compare::TreeComparison& comparison, std::size_t& items) {
    struct Frame {
        const model::DirInfo* folder;
        std::size_t next;
        std::size_t nextIndex;
    };
    std::uint64_t sum = 0;
    items = 0;
    auto visit = [&](const model::DirInfo& folder, std::size_t index, std::vector<Frame>& stack) {
        sum += comparison.Change(index, folder, model::kPhysicalSize, kCluster).amount;
        for (std::size_t j = 0; j < folder.files.size(); ++j)
            sum += comparison.Change(index + 1 + j, folder.files[j], model::kPhysicalSize, kCluster).amount;
        items += 1 + folder.files.size();
        stack.push_back({&folder, 0, index + 1 + folder.files.size()});
    };
    std::vector<Frame> stack;
    visit(live, 0, stack);
    while (!stack.empty()) {
        Frame& top = stack.back();
        if (top.next == top.folder->subdirs.size()) {
            stack.pop_back();
            continue;
        }
        const model::DirInfo& sub = top.folder->subdirs[top.next++];
        const std::size_t index = top.nextIndex;
        top.nextIndex += compare::EntriesIn(sub);
        visit(sub, index, stack);
    }
    return sum;
}

}  // namespace

int main(int argc, char** argv) {
    const std::size_t fileCount = argc > 2 ? std::strtoull(argv[1], nullptr, 10) : 1000000;
    const std::size_t folderCount = argc > 2 ? std::strtoull(argv[2], nullptr, 10) : 50000;

    std::string earlierBytes;
    model::DirInfo live;
    std::size_t changed = 0;
    {
        model::DirInfo earlier = bench_tree::BuildTree(fileCount, folderCount);
        if (!model::EncodeDataFile(kCluster, earlier, earlierBytes)) return 1;
        live = std::move(earlier);
        changed = Change(live);
    }
    auto start = Clock::now();
    model::RecomputeTotals(live, kCluster);
    const double recompute = Seconds(start);
    std::printf("trees: %zu files in %zu folders, %zu files differ (%.1f%%); live tree %u files\n", fileCount,
                folderCount, changed, 100.0 * static_cast<double>(changed) / static_cast<double>(fileCount),
                live.deepFiles);

    const double before = ResidentBytes();
    model::DirInfo earlier;
    std::uint32_t cluster = 0;
    start = Clock::now();
    if (model::DecodeDataFile(earlierBytes, earlier, cluster) != model::DecodeResult::kComplete) return 1;
    const double read = Seconds(start);
    const double earlierResident = ResidentBytes() - before;
    earlierBytes = {};

    const double beforeComparison = ResidentBytes();
    start = Clock::now();
    const compare::TreeComparison comparison(live, std::move(earlier), cluster);
    const double match = Seconds(start);
    const double comparisonResident = ResidentBytes() - beforeComparison;
    std::size_t items = 0;
    start = Clock::now();
    const std::uint64_t sum = EveryChange(live, comparison, items);
    const double every = Seconds(start);
    start = Clock::now();
    const auto grown = compare::Rank(live, comparison, {compare::Ranking::kGrowth, 20, true});
    const auto gone = compare::Rank(live, comparison, {compare::Ranking::kGone, 20, false});
    const double rank = Seconds(start);

    const double entries = static_cast<double>(comparison.EntryCount());
    std::printf(
        "baseline: RecomputeTotals over the live tree %.0f ms; reading the earlier data file (from memory) "
        "%.0f ms\n",
        recompute * 1e3, read * 1e3);
    std::printf(
        "compare: matching %.0f ms + every change (%zu items, checksum %llx) %.0f ms = %.0f ms "
        "(%.2fx RecomputeTotals); two ranked lists %.0f ms; root gone %u files\n",
        match * 1e3, items, static_cast<unsigned long long>(sum), every * 1e3, (match + every) * 1e3,
        (match + every) / recompute, rank * 1e3, comparison.Folder(0).gone.files);
    std::printf(
        "memory: earlier tree %.1f MB resident (%.1f bytes/entry); comparison adds %.1f MB = %.1f bytes per "
        "live entry (resident growth %.1f MB); largest growth %s\n",
        earlierResident / 1048576.0, earlierResident / entries,
        static_cast<double>(comparison.ExtraBytes()) / 1048576.0,
        static_cast<double>(comparison.ExtraBytes()) / entries, comparisonResident / 1048576.0,
        grown.empty() ? "none" : compare::FormatChange(grown.front().change).c_str());
    return gone.empty() ? 1 : 0;
}
