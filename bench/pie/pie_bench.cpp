// Rendering benchmark, run under Wine: Rebuild of a synthetic tree (1,000,000 files in 50,000 folders,
// fixed seed) into a 1000 x 1000 32-bit DIB with "MinVisSize" 2 and 0, by the earlier renderer (kept in
// BaselineRenderer) and the current one in the same run. Each figure is the median of several runs: Rebuild
// with a painter that draws nothing (layout and sorting, the sort share from the renderers' own accounting)
// and Rebuild with the GDI painter; painting is the difference.
//
// "as it was" is the earlier renderer before thin folder wedges were drawn as polygons (their Pie() calls
// filled the whole circle under Wine); it is timed only, its image being wrong.
//
// Then the two are compared: hit tests at every third pixel of the big pie must find the same items, and on
// smaller trees the images may differ only on segment borders (pixels with a black outline pixel of either
// image within two pixels).
//
// Then the colouring methods side by side on the big tree (MinVisSize 2 and 0), Growth against an earlier scan of it in
// which every 20th file had another size.
//
// Last, tip latency: the pie view in a window at 1000 x 1000 over the same tree, the time to handle one
// WM_MOUSEMOVE that changes the hovered item (hit test, status update, tip composition and blend), over
// 1,000 such positions: median and 99th percentile. This part needs a display.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <vector>

#include "BaselineRenderer.h"
#include "common/FakePieHost.h"
#include "compare/TreeComparison.h"
#include "fw/Dib.h"
#include "fw/Handles.h"
#include "model/DirInfo.h"
#include "pie/ArcPolygon.h"
#include "pie/PieCanvas.h"
#include "pie/PieLayout.h"
#include "pie/TPieView.h"

namespace {

constexpr int kSide = 1000;
constexpr int kRuns = 5;
constexpr std::uint32_t kCluster = 4096;

model::DirInfo MakeTree(int folders, int files, std::uint64_t seed) {
    std::mt19937_64 rng(seed);
    std::vector<model::DirInfo> dirs(static_cast<std::size_t>(folders));
    std::vector<int> parent(static_cast<std::size_t>(folders), -1);
    dirs[0].name = "C:";
    for (int i = 1; i < folders; ++i) {
        // Mostly a bushy tree about seven levels deep, with some folders hung lower down.
        parent[i] = (rng() % 4 == 0) ? static_cast<int>(rng() % static_cast<std::uint64_t>(i)) : (i - 1) / 6;
        dirs[i].name = "dir" + std::to_string(i);
    }
    std::uniform_int_distribution<int> perFolder(0, 2 * files / folders);
    std::uniform_int_distribution<int> magnitude(0, 30);
    int placed = 0;
    for (int i = 0; i < folders && placed < files; ++i) {
        const int count = i == folders - 1 ? files - placed : std::min(perFolder(rng), files - placed);
        for (int f = 0; f < count; ++f) {
            const std::uint64_t size = rng() % ((std::uint64_t{1} << magnitude(rng)) + 1);
            dirs[i].files.emplace_back("file" + std::to_string(f) + ".dat", size);
        }
        placed += count;
    }
    for (int i = folders - 1; i > 0; --i) dirs[parent[i]].subdirs.push_back(std::move(dirs[i]));
    model::DirInfo root = std::move(dirs[0]);
    model::RecomputeTotals(root, kCluster);
    return root;
}

// The frame's place: the shared test host, showing the generated tree with its cluster size.
struct Host : test_support::FakePieHost {
    explicit Host(const model::DirInfo& tree) : FakePieHost(tree) { clusterSize = kCluster; }
};

class NullPainter : public pie::PiePainter {
public:
    int folders = 0, files = 0;
    void Background(pie::SystemColour, int, int) override {}
    void GuideCircles(int, int, const std::vector<int>&, pie::SystemColour) override {}
    bool DrawSegment(const fw::Rect& outer, const fw::Rect&, fw::Colour, double start, double end,
                     bool asFile) override {
        const bool visible = pie::SegmentIsVisible(outer, start, end);
        if (visible) ++(asFile ? files : folders);
        return visible;
    }
    void CentreDisk(const fw::Rect&, fw::Colour) override {}
    void StatsOverlay(const std::string&, pie::SystemColour) override {}
    void CentreLabel(const std::string&, int, int) override {}
};

double Ms(std::uint64_t ticks) {
    const pie::Clock clock = pie::PerformanceClock();
    return clock.frequency ? static_cast<double>(ticks) * 1000.0 / static_cast<double>(clock.frequency) : 0;
}

// Median of several runs; the fastest run too when asked (the least disturbed by a busy machine).
template <class F>
double MedianMs(F&& run, int runs = kRuns, double* fastest = nullptr) {
    const pie::Clock clock = pie::PerformanceClock();
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        const std::uint64_t t0 = clock.now();
        run();
        times.push_back(Ms(clock.now() - t0));
    }
    std::sort(times.begin(), times.end());
    if (fastest) *fastest = times.front();
    return times[times.size() / 2];
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

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

struct Surface {
    fw::Dib dib;
    fw::MemoryDC dc{CreateCompatibleDC(nullptr)};
    HGDIOBJ old = nullptr;
    explicit Surface(int side) : dib(side, -side, 32) { old = SelectObject(dc.Get(), dib.Handle()); }
    ~Surface() { SelectObject(dc.Get(), old); }
    const std::uint32_t* Pixels() const {
        GdiFlush();
        return static_cast<const std::uint32_t*>(dib.Bits());
    }
};

struct Timing {
    double total = 0, layout = 0, sort = 0, fastest = 0;
};

void PrintRow(const char* who, const Timing& t) {
    std::printf("  %-8s Rebuild %7.1f ms = layout %6.1f + sort %5.1f + paint %7.1f\n", who, t.total, t.layout - t.sort,
                t.sort, t.total - t.layout);
}

// Renders one tree both ways at `side` and counts differing pixels and those away from any outline.
void CompareImages(const model::DirInfo& root, const pie::PieSettings& settings, int side, const char* label,
                   long long& differing, long long& offBorder, long long& pixels, const char* saveAs = nullptr) {
    Host host(root);
    pie::PieCanvas canvas;
    canvas.Renderer().settings = settings;
    Surface now(side), before(side);
    canvas.RenderInto(now.dc.Get(), side, side, &root, host);
    baseline::RingAreas areas;
    {
        baseline::WedgePainter painter(before.dc.Get(), canvas.LabelFont());
        baseline::Rebuild(root, side, side, settings, kCluster, painter, areas, pie::PerformanceClock());
    }
    const std::uint32_t* a = now.Pixels();
    const std::uint32_t* b = before.Pixels();
    const auto black = [&](int x, int y) {
        if (x < 0 || y < 0 || x >= side || y >= side) return false;
        return (a[y * side + x] & 0xFFFFFF) == 0 || (b[y * side + x] & 0xFFFFFF) == 0;
    };
    long long diff = 0, off = 0;
    for (int y = 0; y < side; ++y)
        for (int x = 0; x < side; ++x) {
            if ((a[y * side + x] & 0xFFFFFF) == (b[y * side + x] & 0xFFFFFF)) continue;
            ++diff;
            bool onBorder = false;
            for (int dy = -2; dy <= 2 && !onBorder; ++dy)
                for (int dx = -2; dx <= 2 && !onBorder; ++dx) onBorder = black(x + dx, y + dy);
            if (!onBorder) ++off;
        }
    const long long total = static_cast<long long>(side) * side;
    std::printf("  image %-34s %7lld of %8lld pixels differ (%.3f%%), %lld of them off the borders\n", label, diff,
                total, 100.0 * static_cast<double>(diff) / static_cast<double>(total), off);
    differing += diff;
    offBorder += off;
    pixels += total;
    if (saveAs) {
        // Both images side by side for people to look at: current left, earlier right.
        for (const auto& [surface, suffix] : {std::pair{&now, "now"}, std::pair{&before, "before"}}) {
            const std::string file = std::string(saveAs) + "_" + suffix + ".bmp";
            BITMAPFILEHEADER fh{};
            BITMAPINFOHEADER ih = surface->dib.Info()->bmiHeader;
            const DWORD bytes = static_cast<DWORD>(surface->dib.BytesPerRow()) * static_cast<DWORD>(side);
            fh.bfType = 0x4D42;
            fh.bfOffBits = sizeof fh + sizeof ih;
            fh.bfSize = fh.bfOffBits + bytes;
            if (std::FILE* f = std::fopen(file.c_str(), "wb")) {
                std::fwrite(&fh, sizeof fh, 1, f);
                std::fwrite(&ih, sizeof ih, 1, f);
                std::fwrite(surface->dib.Bits(), 1, bytes, f);
                std::fclose(f);
            }
        }
    }
}

// A borderless top-level window holding the view.
class BenchWindow : public fw::TWindow {
public:
    BenchWindow() {
        Attr().style = WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN;
        Attr().x = Attr().y = 0;
        Attr().width = Attr().height = kSide;
    }

protected:
    const char* ClassName() const override { return "KelvaranPieBench"; }
};

// The view with the place of its tip readable, to count the moves that showed one.
class BenchPieView : public pie::TPieView {
public:
    using TPieView::TPieView;
    bool ShowsTip() const noexcept { return !lastTip_.IsZero(); }
};

void TipLatency(const model::DirInfo& root, double minVis, int transparency = 64) {
    static BenchWindow* window = nullptr;
    if (!window) {
        window = new BenchWindow;  // kept: hiding a top-level window costs seconds without a window manager
        try {
            window->Create();
        } catch (const std::exception& e) {
            std::printf("pie bench: tip latency skipped: %s (no display?)\n", e.what());
            delete window;
            window = nullptr;
            return;
        }
    }
    Host host(root);
    host.dialogLook = true;
    BenchPieView view(window, 102, host);
    view.Settings() = pie::PieViewSettings{};
    view.Settings().minimumVisibleSize = minVis;
    view.Settings().tipTransparency = transparency;
    view.Settings().resizeDelay = 0;
    view.ReparseTips();
    view.Create();
    MoveWindow(view.GetHandle(), 0, 0, kSide, kSide, TRUE);
    view.FollowFrame();
    SetCursorPos(kSide / 2, kSide / 2);

    const pie::Clock clock = pie::PerformanceClock();
    std::mt19937 rng(42);
    std::uniform_int_distribution<int> coordinate(0, kSide - 1);
    std::vector<double> times;
    std::string previous;
    int tips = 0;
    while (times.size() < 1000) {
        const POINT p{coordinate(rng), coordinate(rng)};
        const std::string path = view.HitTest(p);
        if (path.empty() || path == previous) continue;
        previous = path;
        const std::uint64_t t0 = clock.now();
        SendMessageA(view.GetHandle(), WM_MOUSEMOVE, 0, MAKELPARAM(p.x, p.y));
        times.push_back(Ms(clock.now() - t0));
        tips += view.ShowsTip();
    }
    std::sort(times.begin(), times.end());
    std::printf(
        "pie bench: tip latency, MinVisSize %g, FlyTransp %d at %d x %d: median %.2f ms, 99th percentile %.2f ms,"
        " slowest %.2f ms (%zu moves to another item, %d with a tip, %zu status updates; load %s)\n",
        minVis, transparency, kSide, kSide, times[times.size() / 2], times[times.size() * 99 / 100], times.back(),
        times.size(), tips, host.statuses.size(), LoadAverage().c_str());
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
}

}  // namespace

// Every colouring method but the type-encoded one (the file types benchmark has it) at the root of `root`.
void ColouringMethods(const model::DirInfo& root, model::DirInfo earlier) {
    std::size_t seen = 0;
    const auto changeEvery20th = [&seen](auto& self, model::DirInfo& folder) -> void {
        for (model::FileInfo& file : folder.files)
            if (++seen % 20 == 0) file.size = file.size * 2 + 1;
        for (model::DirInfo& sub : folder.subdirs) self(self, sub);
    };
    changeEvery20th(changeEvery20th, earlier);
    const compare::TreeComparison comparison(root, std::move(earlier), kCluster);
    Host host(root);
    pie::PieCanvas canvas;
    Surface surface(kSide);
    const struct {
        const char* name;
        pie::ColourMethod method;
    } methods[] = {{"fixed", pie::kFixedColour},
                   {"size", pie::kSizeEncoded},
                   {"rainbow", pie::kRainbowWash},
                   {"name", pie::kNameEncoded},
                   {"growth", pie::kGrowth}};
    for (double minVis : {2.0, 0.0}) {
        std::printf("pie bench: colouring methods at %d x %d, MinVisSize %g, median of %d (load %s)\n", kSide, kSide,
                    minVis, kRuns, LoadAverage().c_str());
        for (const auto& m : methods) {
            canvas.Renderer().settings = pie::PieSettings{};
            canvas.Renderer().settings.minimumVisibleSize = minVis;
            canvas.Renderer().settings.colourMethod = m.method;
            host.comparison = m.method == pie::kGrowth ? &comparison : nullptr;
            double fastest = 0;
            const double median = MedianMs(
                [&] {
                    canvas.RenderInto(surface.dc.Get(), kSide, kSide, &root, host);
                    GdiFlush();
                },
                kRuns, &fastest);
            std::printf("  %-8s Rebuild %7.1f ms, fastest %7.1f ms (%d segments drawn)\n", m.name, median, fastest,
                        canvas.Renderer().SegmentCount());
        }
    }
}

int main(int argc, char** argv) {
    const pie::Clock clock = pie::PerformanceClock();
    if (!clock.now) {
        std::puts("pie bench: no performance counter");
        return 1;
    }
    const char* saveDir = argc > 1 ? argv[1] : nullptr;
    std::uint64_t t0 = clock.now();
    const model::DirInfo root = MakeTree(50'000, 1'000'000, 20240611);
    std::printf("pie bench: tree of %u files in %u folders built in %.0f ms\n", root.deepFiles, root.deepDirs + 1,
                Ms(clock.now() - t0));

    Host host(root);
    pie::PieCanvas canvas;
    Surface surface(kSide);
    pie::PieRenderer& renderer = canvas.Renderer();
    NullPainter null;
    baseline::RingAreas baselineAreas;

    for (double minVis : {2.0, 0.0}) {
        pie::PieSettings settings;
        settings.minimumVisibleSize = minVis;
        renderer.settings = settings;

        Timing asItWas, before, now;
        baseline::Result result;
        asItWas.total = MedianMs(
            [&] {
                baseline::WedgePainter painter(surface.dc.Get(), canvas.LabelFont(), false);
                result = baseline::Rebuild(root, kSide, kSide, settings, kCluster, painter, baselineAreas, clock);
                GdiFlush();
            },
            kRuns, &asItWas.fastest);
        std::vector<double> sorts;
        before.layout = MedianMs([&] {
            result = baseline::Rebuild(root, kSide, kSide, settings, kCluster, null, baselineAreas, clock);
            sorts.push_back(result.sortMs);
        });
        before.sort = Median(sorts);
        before.total = MedianMs(
            [&] {
                baseline::WedgePainter painter(surface.dc.Get(), canvas.LabelFont());
                result = baseline::Rebuild(root, kSide, kSide, settings, kCluster, painter, baselineAreas, clock);
                GdiFlush();
            },
            kRuns, &before.fastest);
        // The renderer times its sorts only for the overlay, and reading the counter per folder costs: the
        // sort share comes from runs with the overlay on, the layout from runs without it.
        sorts.clear();
        renderer.settings.showStatistics = true;
        MedianMs([&] {
            renderer.Rebuild(&root, kSide, kSide, host, null);
            sorts.push_back(renderer.SortMs());
        });
        renderer.settings.showStatistics = false;
        now.sort = Median(sorts);
        null.folders = null.files = 0;
        now.layout = MedianMs([&] { renderer.Rebuild(&root, kSide, kSide, host, null); }, 1);
        const int folders = null.folders, files = null.files;
        now.layout = MedianMs([&] { renderer.Rebuild(&root, kSide, kSide, host, null); });
        now.total = MedianMs(
            [&] {
                canvas.RenderInto(surface.dc.Get(), kSide, kSide, &root, host);
                GdiFlush();
            },
            kRuns, &now.fastest);
        std::size_t baselineRecorded = 0;
        for (const auto& ring : baselineAreas.Rings()) baselineRecorded += ring.size();
        std::printf(
            "pie bench: MinVisSize %g at %d x %d: Rebuild %.1f ms, fastest %.1f (earlier renderer %.1f / %.1f ms,"
            " as it was %.1f / %.1f ms, in this run; load %s)\n",
            minVis, kSide, kSide, now.total, now.fastest, before.total, before.fastest, asItWas.total, asItWas.fastest,
            LoadAverage().c_str());
        std::printf("  %-8s Rebuild %7.1f ms\n", "as it was", asItWas.total);
        PrintRow("earlier", before);
        PrintRow("now", now);
        std::printf(
            "  rings %d / %d, segments recorded %zu / %zu, drawn %d / %d (earlier / now; %d folders, %d files)\n",
            result.rings, renderer.RingCount(), baselineRecorded, renderer.Areas().SegmentCount(), result.segments,
            renderer.SegmentCount(), folders, files);

        // Hit tests: every third pixel of the square.
        long long probes = 0, mismatches = 0, hits = 0;
        for (int y = 0; y < kSide; y += 3)
            for (int x = 0; x < kSide; x += 3) {
                const int dx = x - renderer.CentreX(), dy = y - renderer.CentreY();
                const int distance = static_cast<int>(std::sqrt(static_cast<double>(dx * dx + dy * dy)));
                double angle = dx == 0 && dy == 0 ? 0.0 : std::atan2(static_cast<double>(dy), static_cast<double>(dx));
                if (angle < -std::numbers::pi / 2) angle += 2 * std::numbers::pi;
                const auto a = renderer.Areas().Find(distance, angle);
                const auto b = baselineAreas.Find(distance, angle);
                ++probes;
                hits += a.has_value();
                mismatches += a != b;
            }
        t0 = clock.now();
        for (int i = 0; i < 1000; ++i) renderer.Areas().Find(400 + i % 90, -1.5 + i * 0.0047);
        const double findUs = Ms(clock.now() - t0);
        t0 = clock.now();
        for (int i = 0; i < 1000; ++i) baselineAreas.Find(400 + i % 90, -1.5 + i * 0.0047);
        const double baselineFindUs = Ms(clock.now() - t0);
        std::printf(
            "  hit tests: %lld points, %lld found, %lld answered differently; one Find %.1f us (earlier %.1f us)\n",
            probes, hits, mismatches, findUs, baselineFindUs);
    }

    // Images on smaller trees.
    long long differing = 0, offBorder = 0, pixels = 0;
    struct Case {
        int folders, files;
        std::uint64_t seed;
        double minVis;
        pie::ColourMethod colourMethod;
        pie::SortOrder sortOrder;
        int side;
    };
    const Case cases[] = {{200, 2'000, 1, 0, pie::kSizeEncoded, pie::kBySize, 1000},
                          {2'000, 20'000, 2, 0, pie::kNameEncoded, pie::kBySize, 1000},
                          {2'000, 20'000, 3, 2, pie::kSizeEncoded, pie::kByName, 1000},
                          {5'000, 100'000, 4, 2, pie::kRainbowWash, pie::kBySize, 1000},
                          {500, 5'000, 5, 0, pie::kSizeEncoded, pie::kUnordered, 400},
                          {50, 300, 6, 1, pie::kNameEncoded, pie::kBySize, 400}};
    int index = 0;
    for (const Case& c : cases) {
        const model::DirInfo tree = MakeTree(c.folders, c.files, c.seed);
        pie::PieSettings settings;
        settings.minimumVisibleSize = c.minVis;
        settings.colourMethod = c.colourMethod;
        settings.sortOrder = c.sortOrder;
        char label[96];
        std::snprintf(label, sizeof label, "%d files, MinVisSize %g, %d x %d:", c.files, c.minVis, c.side, c.side);
        std::string save;
        if (saveDir && index == 1) save = std::string(saveDir) + "\\pie_compare";
        CompareImages(tree, settings, c.side, label, differing, offBorder, pixels,
                      save.empty() ? nullptr : save.c_str());
        ++index;
    }
    std::printf("pie bench: images: %lld of %lld pixels differ (%.3f%%), %lld off the segment borders\n", differing,
                pixels, 100.0 * static_cast<double>(differing) / static_cast<double>(pixels), offBorder);

    ColouringMethods(root, MakeTree(50'000, 1'000'000, 20240611));

    for (double minVis : {2.0, 0.0}) TipLatency(root, minVis);
    if (std::getenv("KELVARAN_TIP_VARIANTS")) {
        TipLatency(root, 2, 0);
        TipLatency(root, 2, 255);
    }
    return 0;
}
