// Benchmarks of the file types, each beside a baseline measured in the same run, under Wine: the type table
// of a whole tree of 1,000,000 files (the benchmarks' synthetic tree, whose random names make hundreds of
// thousands of "extensions", and a tree of common extensions) against one RecomputeTotals pass over the
// same tree and against a text per file into a map; the table of one folder of 10,000 files against that
// folder's totals; counting in the dialog's slices; and showing a type in the pie at the root (the Rebuild
// with the highlight and the status row's totals) against one plain Rebuild, both into a 1000 x 1000 DIB.
// Usage: types_bench [files folders]
#include "../common/SyntheticTree.h"
#include "common/FakePieHost.h"
#include "fw/Dib.h"
#include "fw/Handles.h"
#include "model/FileTypes.h"
#include "model/SizeText.h"
#include "pie/PieCanvas.h"
#include "pie/TypeColours.h"

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <map>
#include <string>

namespace {

using Clock = std::chrono::steady_clock;
using model::DirInfo;

double Millis(Clock::time_point since) {
    return std::chrono::duration<double, std::milli>(Clock::now() - since).count();
}

double BestOf(int runs, const std::function<void()>& work) {
    double best = 1e30;
    for (int run = 0; run < runs; ++run) {
        const auto start = Clock::now();
        work();
        best = std::min(best, Millis(start));
    }
    return best;
}

// `files` files of common names in `folders` folders below 250 top folders.
DirInfo CommonExtensions(std::size_t files, std::size_t folders) {
    bench_tree::Rng rng{777};
    DirInfo root("C:");
    const std::size_t top = 250, perTop = std::max<std::size_t>(folders / top, 1),
                      perFolder = std::max<std::size_t>(files / (top * perTop), 1);
    root.subdirs.reserve(top);
    for (std::size_t t = 0; t < top; ++t) {
        DirInfo& upper = root.subdirs.emplace_back("top" + std::to_string(t));
        upper.subdirs.reserve(perTop);
        for (std::size_t f = 0; f < perTop; ++f) {
            DirInfo& leaf = upper.subdirs.emplace_back("folder" + std::to_string(f));
            for (std::size_t k = 0; k < perFolder; ++k)
                leaf.files.emplace_back(bench_tree::CommonName(rng, k), rng.Next() & 0xFFFFF);
            leaf.files.shrink_to_fit();
        }
    }
    return root;
}

// Baseline: a text per file, its extension lower-cased, into a map.
std::map<std::string, model::TypeTotals> TextPerFile(const DirInfo& root) {
    std::map<std::string, model::TypeTotals> types;
    std::vector<const DirInfo*> pending{&root};
    while (!pending.empty()) {
        const DirInfo* dir = pending.back();
        pending.pop_back();
        for (const model::FileInfo& file : dir->files) types[model::FileTypeOf(file.name)].Add(file.size, 4096);
        for (const DirInfo& sub : dir->subdirs) pending.push_back(&sub);
    }
    return types;
}

void TableOfTree(const char* label, DirInfo& root) {
    model::TypeTable table;
    const double ours = BestOf(5, [&] { table = model::ComputeTypeTable(root, true, 4096); });
    const double totals = BestOf(5, [&] { model::RecomputeTotals(root, 4096); });
    std::map<std::string, model::TypeTotals> theirs;
    const double perFile = BestOf(3, [&] { theirs = TextPerFile(root); });
    std::printf(
        "type table of %s (%u files, %zu types): %.1f ms vs one RecomputeTotals pass %.1f ms (ratio %.2f); "
        "a text per file into a map %.1f ms (%zu types%s)\n",
        label, root.deepFiles, table.Types().size(), ours, totals, ours / totals, perFile, theirs.size(),
        theirs.size() == table.Types().size() ? "" : ", DIFFERENT");
    // The dialog's slices: the longest one is how long the window waits at most.
    double longest = 0;
    int slices = 0;
    model::TypeTableWalk walk(root, true, 4096);
    for (bool done = false; !done; ++slices) {
        const auto start = Clock::now();
        done = walk.Step(65536);
        longest = std::max(longest, Millis(start));
    }
    std::printf("  counted in the dialog's slices of 65,536 files: %d slices, the longest %.1f ms\n", slices, longest);
}

struct Surface {
    fw::Dib dib;
    fw::MemoryDC dc{CreateCompatibleDC(nullptr)};
    HGDIOBJ old = nullptr;
    explicit Surface(int side) : dib(side, -side, 32) { old = SelectObject(dc.Get(), dib.Handle()); }
    ~Surface() { SelectObject(dc.Get(), old); }
};

void Highlight(const char* label, DirInfo& root) {
    constexpr int kSide = 1000;
    test_support::FakePieHost host(root);
    host.clusterSize = 4096;
    Surface surface(kSide);
    pie::PieCanvas canvas;
    pie::PieRenderer& renderer = canvas.Renderer();
    renderer.settings.sizeKind = model::kLogicalSize;
    pie::TypeColours colours;
    const double palette = BestOf(3, [&] { colours = pie::TypeColours::OfTree(root); });
    const std::string type = colours.Ranked().empty() ? std::string() : colours.Ranked()[0];
    const auto render = [&](pie::ColourMethod method, const std::string* highlight) {
        renderer.settings.colourMethod = method;
        renderer.types = {&colours, highlight};
        return BestOf(5, [&] { canvas.RenderInto(surface.dc.Get(), kSide, kSide, &root, host); });
    };
    const double plain = render(pie::kSizeEncoded, nullptr);
    const int segments = renderer.SegmentCount();
    const double highlighted = render(pie::kSizeEncoded, &type);
    const double byType = render(pie::kTypeEncoded, nullptr);
    const double byTypeHighlighted = render(pie::kTypeEncoded, &type);
    model::TypeTotals totals;
    const double status = BestOf(5, [&] { totals = model::TotalsOfType(root, type, 0); });
    const double pass = BestOf(5, [&] { model::RecomputeTotals(root, 4096); });
    std::printf(
        "pie of %s at the root (%d segments), one Rebuild: size-encoded %.1f ms; with \"%s\" highlighted %.1f ms "
        "(ratio %.2f); type-encoded %.1f ms (ratio %.2f), highlighted %.1f ms (ratio %.2f)\n",
        label, segments, plain, type.c_str(), highlighted, highlighted / plain, byType, byType / plain,
        byTypeHighlighted, byTypeHighlighted / plain);
    std::printf(
        "  the status row's totals of the highlighted type at the root (%s files) %.1f ms vs one RecomputeTotals "
        "pass %.1f ms; the tree's type colours, once per tree after it changed, %.1f ms\n",
        model::FormatCount(totals.files).c_str(), status, pass, palette);
}

// The host's load averages (Wine maps the host's root to Z:), to read the figures by.
std::string LoadAverage() {
    char text[64] = {};
    if (std::FILE* f = std::fopen("Z:\\proc\\loadavg", "r")) {
        if (!std::fgets(text, sizeof text, f)) text[0] = 0;
        std::fclose(f);
    }
    std::string load(text);
    const auto third = load.find(' ', load.find(' ', load.find(' ') + 1) + 1);
    return third == std::string::npos ? "unknown" : load.substr(0, third);
}

}  // namespace

int main(int argc, char** argv) {
    std::printf("load average %s\n", LoadAverage().c_str());
    const std::size_t files = argc > 2 ? std::strtoul(argv[1], nullptr, 10) : 1000000;
    const std::size_t folders = argc > 2 ? std::strtoul(argv[2], nullptr, 10) : 50000;
    {
        DirInfo synthetic = bench_tree::BuildTree(files, folders);
        model::RecomputeTotals(synthetic, 4096);
        TableOfTree("the synthetic tree", synthetic);
        Highlight("the synthetic tree", synthetic);
    }
    DirInfo common = CommonExtensions(files, folders);
    model::RecomputeTotals(common, 4096);
    TableOfTree("the tree of common extensions", common);
    Highlight("the tree of common extensions", common);

    // One folder of 10,000 files.
    DirInfo folder("wide");
    bench_tree::Rng rng{4242};
    for (std::size_t k = 0; k < 10000; ++k)
        folder.files.emplace_back(bench_tree::CommonName(rng, k), rng.Next() & 0xFFFFF);
    model::TypeTable table;
    const double ours = BestOf(20, [&] { table = model::ComputeTypeTable(folder, false, 4096); });
    const double totals = BestOf(20, [&] { model::RecomputeTotals(folder, 4096); });
    std::printf(
        "type table of one folder of %zu files (%zu types): %.3f ms vs that folder's RecomputeTotals %.3f ms "
        "(ratio %.2f)\n",
        folder.files.size(), table.Types().size(), ours, totals, ours / totals);
    return 0;
}
