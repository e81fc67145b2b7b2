// The rendering sequence and the statistics overlay text.
#include "pie/PieRenderer.h"

#include "model/AsciiCase.h"

#include <optional>

#include <chrono>
#include <cstdio>

namespace pie {

std::string FormatPieStats(int rings, int segments, double renderMs, double sortMs) {
    char text[160];
    std::snprintf(text, sizeof text, "Rings:\t%10d\r\nSegs:\t%10d\r\nRendr:\t%10.3f msec\r\nSort:\t%10.3f msec", rings,
                  segments, renderMs, sortMs);
    return text;
}

namespace {
std::uint64_t SteadyNow() {
    return static_cast<std::uint64_t>(
        std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now().time_since_epoch())
            .count());
}

double TicksToMs(std::uint64_t ticks, std::uint64_t frequency) {
    if (ticks == 0 || frequency == 0) return 0;
    return static_cast<double>(ticks) / static_cast<double>(frequency) * 1000.0;
}
}  // namespace

Clock SteadyClock() { return {&SteadyNow, 1'000'000'000u}; }

PieRenderer::PieRenderer(Clock clock) : clock_(clock), engine_(tv::kCrc32), crc_(engine_) {}

void PieRenderer::Rebuild(const model::DirInfo* current, int width, int height, PieHost& host, PiePainter& painter) {
    centreText_.clear();
    if (width <= 0 || height <= 0) {
        // Nothing is drawn, so nothing may be hit: the last rendering's segments borrow names from a tree
        // that may be replaced while the view has no size.
        areas_.Clear();
        rings_ = segments_ = 0;
        return;
    }
    const bool dialogLook = host.DialogLook();
    const SystemColour background = dialogLook ? SystemColour::kButtonFace : SystemColour::kWindow;
    const SystemColour contrast = dialogLook ? SystemColour::kWindow : SystemColour::kButtonFace;
    painter.Background(background, width, height);
    if (!current) {
        // Nothing is shown, so nothing may be hit either.
        areas_.Clear();
        rings_ = segments_ = 0;
        return;
    }
    geometry_ = ComputeGeometry(width, height, settings.centreRatio);
    const std::uint32_t clusterSize = host.ClusterSize();
    rings_ = CountRings(*current, geometry_.square.right - geometry_.square.left, settings, clusterSize);
    areas_.Reset(rings_, geometry_.outer, geometry_.centre);
    if (settings.showGuideLines && rings_ > 0)
        painter.GuideCircles(geometry_.cx, geometry_.cy, areas_.Radii(), contrast);

    const std::uint64_t t0 = clock_.now ? clock_.now() : 0;
    // Reading the counter around every folder's sort costs more than many sorts; only the overlay shows it.
    RingLayout layout(settings, clusterSize, geometry_, rings_, crc_, painter, areas_,
                      settings.showStatistics ? clock_ : Clock{}, types);
    // A comparison colours by growth and labels the centre with the current folder's change.
    const compare::TreeComparison* comparison = host.Comparison();
    std::optional<std::size_t> currentIndex;
    if (comparison) {
        const model::DirInfo* root = host.RootFolder();
        const std::string path = host.CurrentPath();
        const std::string rootPath = root ? root->name + "\\" : std::string();
        if (root && path.size() >= rootPath.size() &&
            model::EqualIgnoringAsciiCase(std::string_view(path).substr(0, rootPath.size()), rootPath))
            currentIndex = compare::IndexOf(*root, std::string_view(path).substr(rootPath.size()));
        if (currentIndex) layout.CompareWith(comparison, *currentIndex);
    }
    layout.DrawCurrent(*current);
    const std::uint64_t t1 = clock_.now ? clock_.now() : 0;
    segments_ = layout.SegmentsDrawn();
    sortMs_ = TicksToMs(layout.SortTicks(), clock_.frequency);
    renderMs_ = TicksToMs(t1 - t0, clock_.frequency) - sortMs_;
    if (t1 == t0) renderMs_ = 0;

    if (settings.showStatistics) painter.StatsOverlay(FormatPieStats(rings_, segments_, renderMs_, sortMs_), contrast);
    centreText_ =
        currentIndex
            ? compare::FormatChange(comparison->Change(*currentIndex, *current, settings.sizeKind, clusterSize))
            : current->name.str();
    painter.CentreLabel(centreText_, geometry_.cx, geometry_.cy);
    host.ShowFolderStatus(host.CurrentPath(), currentStatusName, *current);
}

}  // namespace pie
