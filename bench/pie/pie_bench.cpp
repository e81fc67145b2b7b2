// Rendering benchmark, run under Wine: Rebuild of a synthetic tree (1,000,000 files in 50,000 folders,
// fixed seed) into a 1000 x 1000 32-bit DIB with "MinVisSize" 2 and 0. Each case is timed three ways, the
// median of several runs taken: CountRings alone, Rebuild with a painter that draws nothing (layout and
// sorting, the sort share from the renderer's own accounting) and Rebuild with the GDI painter; painting
// is the difference of the last two.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <random>
#include <vector>

#include "fw/Handles.h"
#include "model/DirInfo.h"
#include "pie/ArcPolygon.h"
#include "pie/Dib.h"
#include "pie/PieCanvas.h"
#include "pie/PieLayout.h"

namespace {

constexpr int kFolders = 50'000;
constexpr int kFiles = 1'000'000;
constexpr int kSide = 1000;
constexpr int kRuns = 5;
constexpr std::uint32_t kCluster = 4096;

model::DirInfo MakeTree() {
    std::mt19937_64 rng(20240611);
    std::vector<model::DirInfo> dirs(kFolders);
    std::vector<int> parent(kFolders, -1);
    dirs[0].name = "C:";
    for (int i = 1; i < kFolders; ++i) {
        // Mostly a bushy tree about seven levels deep, with some folders hung lower down.
        parent[i] = (rng() % 4 == 0) ? static_cast<int>(rng() % static_cast<std::uint64_t>(i)) : (i - 1) / 6;
        dirs[i].name = "dir" + std::to_string(i);
    }
    std::uniform_int_distribution<int> perFolder(0, 2 * kFiles / kFolders);
    std::uniform_int_distribution<int> magnitude(0, 30);
    int placed = 0;
    for (int i = 0; i < kFolders && placed < kFiles; ++i) {
        const int count = i == kFolders - 1 ? kFiles - placed : std::min(perFolder(rng), kFiles - placed);
        for (int f = 0; f < count; ++f) {
            const std::uint64_t size = rng() % ((std::uint64_t{1} << magnitude(rng)) + 1);
            dirs[i].files.emplace_back("file" + std::to_string(f) + ".dat", size);
        }
        placed += count;
    }
    for (int i = kFolders - 1; i > 0; --i) dirs[parent[i]].subdirs.push_back(std::move(dirs[i]));
    model::DirInfo root = std::move(dirs[0]);
    model::RecomputeTotals(root, kCluster);
    return root;
}

class Host : public pie::PieHost {
public:
    explicit Host(const model::DirInfo& root) : root_(root) {}
    const model::DirInfo* RootFolder() const override { return &root_; }
    std::string CurrentPath() const override { return root_.name + "\\"; }
    std::uint32_t ClusterSize() const override { return kCluster; }
    bool DialogLook() const override { return false; }
    void ShowFolderStatus(const std::string&, const std::string&, const model::DirInfo&) override {}

private:
    const model::DirInfo& root_;
};

class NullPainter : public pie::PiePainter {
public:
    void Background(pie::SystemColour, int, int) override {}
    void GuideCircles(int, int, const std::vector<int>&, pie::SystemColour) override {}
    bool DrawSegment(const pie::Square& outer, const pie::Square&, pie::Colour, double start, double end, bool) override {
        return pie::SegmentIsVisible(outer, start, end);
    }
    void CentreDisk(const pie::Square&, pie::Colour) override {}
    void StatsOverlay(const std::string&, pie::SystemColour) override {}
    void CentreLabel(const std::string&, int, int) override {}
};

double Ms(std::uint64_t ticks) {
    const pie::Clock clock = pie::PerformanceClock();
    return clock.frequency ? static_cast<double>(ticks) * 1000.0 / static_cast<double>(clock.frequency) : 0;
}

template <class F>
double MedianMs(F&& run) {
    const pie::Clock clock = pie::PerformanceClock();
    std::vector<double> times;
    for (int i = 0; i < kRuns; ++i) {
        const std::uint64_t t0 = clock.now();
        run();
        times.push_back(Ms(clock.now() - t0));
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

}  // namespace

int main() {
    const pie::Clock clock = pie::PerformanceClock();
    if (!clock.now) {
        std::puts("pie bench: no performance counter");
        return 1;
    }
    const std::uint64_t t0 = clock.now();
    const model::DirInfo root = MakeTree();
    std::printf("pie bench: tree of %u files in %u folders built in %.0f ms\n", root.deepFiles, root.deepDirs + 1,
                Ms(clock.now() - t0));

    Host host(root);
    pie::PieCanvas canvas;
    pie::Dib dib(kSide, -kSide, 32);
    fw::MemoryDC dc(CreateCompatibleDC(nullptr));
    if (!dib || !dc) return 1;
    const HGDIOBJ old = SelectObject(dc.Get(), dib.Handle());
    pie::PieRenderer& renderer = canvas.Renderer();
    NullPainter null;

    for (double minVis : {2.0, 0.0}) {
        renderer.settings = pie::PieSettings{};
        renderer.settings.minVisSize = minVis;
        const double count = MedianMs([&] { pie::CountRings(root, kSide, renderer.settings, kCluster); });
        std::vector<double> sorts;
        const double layout = MedianMs([&] {
            renderer.Rebuild(&root, kSide, kSide, host, null);
            sorts.push_back(renderer.SortMs());
        });
        std::sort(sorts.begin(), sorts.end());
        const double sort = sorts[sorts.size() / 2];
        const double total = MedianMs([&] {
            canvas.RenderInto(dc.Get(), kSide, kSide, &root, host);
            GdiFlush();
        });
        std::size_t shown = 0;
        for (const auto& ring : renderer.Areas().Rings()) shown += ring.size();
        std::printf(
            "pie bench: MinVisSize %g: Rebuild %.1f ms = layout %.1f (of which CountRings %.1f) + sort %.1f + paint %.1f;"
            " rings %d, segments recorded %zu, drawn %d\n",
            minVis, total, layout - sort, count, sort, total - layout, renderer.RingCount(), shown, renderer.SegmentCount());
    }
    SelectObject(dc.Get(), old);
    return 0;
}
