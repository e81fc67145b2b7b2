// The portable questions about a large tree, natively (host g++, optimised) or under Wine, so the code the
// windows run can be profiled with the host's tools: the sizes histogram at every detail, the cluster
// table, the statistics rankings (largest files, longest paths, file types) and the file types table (what
// the File Types dialog counts), each the best of a few runs with its CPU time. The histogram and the
// rankings are checked against a straightforward computation on the same tree (per-file bins by exact
// arithmetic, every candidate sorted in full), so a faster way that answers otherwise shows here.
// Usage: questions_bench [files folders [types]]   (default 1000000 50000; "types": only the file types, for
// profiling them); exit status 1 when a check fails.
#include "../common/RootQuery.h"
#include "../common/SyntheticTree.h"
#include "info/ClusterTable.h"
#include "info/FileTypeList.h"
#include "info/SizeHistogram.h"
#include "info/Statistics.h"
#include "model/FileTypes.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <map>
#include <string>
#include <vector>

#if defined(_WIN32)
#include <windows.h>
#else
#include <time.h>
#endif

namespace {

using Clock = std::chrono::steady_clock;
using model::DirInfo;

// This thread's CPU time in ms: on a shared machine the wall time of a run includes others' turns.
double CpuMs() {
#if defined(_WIN32)
    FILETIME created, ended, kernel, user;
    GetThreadTimes(GetCurrentThread(), &created, &ended, &kernel, &user);
    auto ms = [](FILETIME t) { return (static_cast<double>(t.dwHighDateTime) * 4294967296.0 + t.dwLowDateTime) / 1e4; };
    return ms(kernel) + ms(user);
#else
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
#endif
}

// The best wall time of the runs, and the CPU time of that run, as "12.3 ms (CPU 11.0 ms)".
std::string BestOf(int runs, const std::function<void()>& work) {
    double best = 1e30, cpu = 0;
    for (int run = 0; run < runs; ++run) {
        const double cpuStart = CpuMs();
        const auto start = Clock::now();
        work();
        const double ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
        if (ms < best) {
            best = ms;
            cpu = CpuMs() - cpuStart;
        }
    }
    char text[64];
    std::snprintf(text, sizeof text, "%.1f ms (CPU %.1f ms)", best, cpu);
    return text;
}

template <class F>
void EachFile(const DirInfo& root, F&& f) {
    std::vector<const DirInfo*> pending{&root};
    while (!pending.empty()) {
        const DirInfo* dir = pending.back();
        pending.pop_back();
        for (const model::FileInfo& file : dir->files) f(file);
        for (const DirInfo& sub : dir->subdirs) pending.push_back(&sub);
    }
}

// Whether s^detail >= 10^k, in exact arithmetic (s < 2^64, detail <= 5: at most 320 bits).
bool Reaches(std::uint64_t s, int detail, int k) {
    std::vector<std::uint32_t> a{1}, b{1};
    auto multiply = [](std::vector<std::uint32_t>& x, std::uint32_t factor) {
        std::uint64_t carry = 0;
        for (std::uint32_t& limb : x) {
            const std::uint64_t product = std::uint64_t{limb} * factor + carry;
            limb = static_cast<std::uint32_t>(product);
            carry = product >> 32;
        }
        if (carry) x.push_back(static_cast<std::uint32_t>(carry));
    };
    auto multiply64 = [&](std::vector<std::uint32_t>& x, std::uint64_t factor) {
        std::vector<std::uint32_t> high = x;
        multiply(x, static_cast<std::uint32_t>(factor));
        multiply(high, static_cast<std::uint32_t>(factor >> 32));
        high.insert(high.begin(), 0);
        std::uint64_t carry = 0;
        x.resize(std::max(x.size(), high.size()), 0);
        for (std::size_t i = 0; i < x.size(); ++i) {
            const std::uint64_t sum = std::uint64_t{x[i]} + (i < high.size() ? high[i] : 0) + carry;
            x[i] = static_cast<std::uint32_t>(sum);
            carry = sum >> 32;
        }
        if (carry) x.push_back(static_cast<std::uint32_t>(carry));
    };
    for (int i = 0; i < detail; ++i) multiply64(a, s);
    for (int i = 0; i < k; ++i) multiply(b, 10);
    while (a.size() > 1 && a.back() == 0) a.pop_back();
    while (b.size() > 1 && b.back() == 0) b.pop_back();
    if (a.size() != b.size()) return a.size() > b.size();
    for (std::size_t i = a.size(); i-- > 0;)
        if (a[i] != b[i]) return a[i] > b[i];
    return true;
}

// The histogram's bars counted the slow way: the smallest size of each bin found by bisection in exact
// arithmetic, then every file's bin by a linear scan of them.
std::vector<std::uint32_t> ExactBars(const DirInfo& root, int detail) {
    std::vector<std::uint64_t> smallest;  // of bin k, for the bins some 64-bit size reaches
    for (int k = 0; Reaches(~std::uint64_t{0}, detail, k); ++k) {
        std::uint64_t low = 1, high = ~std::uint64_t{0};
        while (low < high) {
            const std::uint64_t middle = low + (high - low) / 2;
            if (Reaches(middle, detail, k))
                high = middle;
            else
                low = middle + 1;
        }
        smallest.push_back(low);
    }
    std::vector<std::uint32_t> bars;
    EachFile(root, [&](const model::FileInfo& file) {
        std::size_t bar = 0;  // 0 for an empty file, else its bin + 1
        for (std::uint64_t threshold : smallest) bar += file.size >= threshold;
        if (bars.size() <= bar) bars.resize(bar + 1, 0);
        ++bars[bar];
    });
    return bars;
}

// The N largest file sizes by sorting every file's size.
std::vector<std::uint64_t> LargestBySort(const DirInfo& root, std::size_t n) {
    std::vector<std::uint64_t> sizes;
    EachFile(root, [&](const model::FileInfo& file) { sizes.push_back(file.size); });
    std::sort(sizes.begin(), sizes.end(), std::greater<>());
    sizes.resize(std::min(n, sizes.size()));
    return sizes;
}

// The N longest folder path lengths (in characters, without the final backslash) by sorting them all.
std::vector<std::uint64_t> LongestBySort(const DirInfo& root, std::size_t n) {
    std::vector<std::uint64_t> lengths;
    std::vector<std::pair<const DirInfo*, std::size_t>> pending{{&root, info::CharacterCount(root.name) + 1}};
    while (!pending.empty()) {
        const auto [dir, length] = pending.back();
        pending.pop_back();
        for (const DirInfo& sub : dir->subdirs) {
            const std::size_t own = length + info::CharacterCount(sub.name) + 1;
            lengths.push_back(own - 1);
            pending.push_back({&sub, own});
        }
    }
    std::sort(lengths.begin(), lengths.end(), std::greater<>());
    lengths.resize(std::min(n, lengths.size()));
    return lengths;
}

std::vector<std::uint64_t> Keys(const info::StatResults& results) {
    std::vector<std::uint64_t> keys;
    for (const info::StatRow& row : results.rows) keys.push_back(row.key);
    return keys;
}

// The totals by type the straightforward way: each file's type as a text of its own, into a map.
std::map<std::string, model::TypeTotals> TypesByMap(const DirInfo& root) {
    std::map<std::string, model::TypeTotals> types;
    EachFile(root, [&](const model::FileInfo& file) { types[model::FileTypeOf(file.name)].Add(file.size, 4096); });
    return types;
}

// Every type of the map once with its totals, largest first and equal sizes by their text.
bool ListIsTheMapsInOrder(const info::TypeList& list, const std::map<std::string, model::TypeTotals>& types) {
    if (list.Size() != types.size()) return false;
    for (std::size_t row = 0; row < list.Size(); ++row) {
        const info::TypeListRow shown = list.Row(row);
        const auto found = types.find(std::string(shown.type));
        if (found == types.end() || found->second != shown.totals) return false;
        if (row == 0) continue;
        const info::TypeListRow before = list.Row(row - 1);
        if (before.totals.bytes < shown.totals.bytes ||
            (before.totals.bytes == shown.totals.bytes && before.type >= shown.type))
            return false;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    const std::size_t files = argc > 2 ? std::strtoull(argv[1], nullptr, 10) : 1000000;
    const std::size_t folders = argc > 2 ? std::strtoull(argv[2], nullptr, 10) : 50000;
    DirInfo root = bench_tree::BuildTree(files, folders);
    model::RecomputeTotals(root, 4096);
    std::printf("questions: %zu files in %zu folders\n", files, folders);
    const bool typesOnly = argc > 3 && std::string(argv[3]) == "types";
    bool ok = true;
    auto verdict = [&ok](bool same) {
        ok = ok && same;
        return same ? "equal" : "DIFFER";
    };

    if (!typesOnly) {
        info::ClusterTable table;
        const std::string cluster = BestOf(5, [&] { table = info::ComputeClusterTable(root, 4096); });
        std::printf("cluster table: %s\n", cluster.c_str());
        for (int detail = 1; detail <= 5; ++detail) {
            info::SizeHistogram histogram;
            const std::string ms = BestOf(5, [&] { histogram = info::ComputeHistogram(root, detail); });
            std::printf("histogram detail %d: %s (%zu bars; exact per-file bins %s)\n", detail, ms.c_str(),
                        histogram.bars.size(), verdict(histogram.bars == ExactBars(root, detail)));
        }
        for (const int n : {100, 10000}) {
            info::StatResults rows;
            std::string ms = BestOf(3, [&] { rows = bench_tree::RootQuery(root, info::kLargestFiles, n); });
            std::printf("statistics largest files N=%d: %s (%zu rows; every size sorted %s)\n", n, ms.c_str(),
                        rows.rows.size(), verdict(Keys(rows) == LargestBySort(root, static_cast<std::size_t>(n))));
            ms = BestOf(3, [&] { rows = bench_tree::RootQuery(root, info::kLongestPaths, n); });
            std::printf("statistics longest paths N=%d: %s (%zu rows; every length sorted %s)\n", n, ms.c_str(),
                        rows.rows.size(), verdict(Keys(rows) == LongestBySort(root, static_cast<std::size_t>(n))));
        }
    }
    info::StatResults typeRows;
    const std::string largestTypes =
        BestOf(3, [&] { typeRows = bench_tree::RootQuery(root, info::kLargestTypes, 100); });
    std::printf("statistics largest file types N=100: %s (%zu rows)\n", largestTypes.c_str(), typeRows.rows.size());
    model::TypeTable types;
    const std::string typesMs = BestOf(3, [&] { types = model::ComputeTypeTable(root, true, 4096); });
    std::printf("file types table: %s (%zu types)\n", typesMs.c_str(), types.TypeCount());
    info::TypeList list;
    const std::string listMs = BestOf(3, [&] {
        model::TypeTable table = model::ComputeTypeTable(root, true, 4096);
        const pie::TypeColours colours(table);
        list = info::MakeTypeList(std::move(table), colours);
    });
    std::printf(
        "file types list as the dialog shows it (counted, colours ranked, sorted): %s (%zu rows; a text per "
        "file into a map %s)\n",
        listMs.c_str(), list.Size(), verdict(ListIsTheMapsInOrder(list, TypesByMap(root))));
    // The same shape named as a disk's files are.
    const DirInfo common = bench_tree::WithCommonNames(root);
    const std::string commonMs = BestOf(3, [&] {
        model::TypeTable table = model::ComputeTypeTable(common, true, 4096);
        const pie::TypeColours colours(table);
        list = info::MakeTypeList(std::move(table), colours);
    });
    std::printf("the same list of the tree with common extensions: %s (%zu rows; a text per file into a map %s)\n",
                commonMs.c_str(), list.Size(), verdict(ListIsTheMapsInOrder(list, TypesByMap(common))));
    return ok ? 0 : 1;
}
