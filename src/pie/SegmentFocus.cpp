// Focus moves, look-up and geometry over the recorded rings.
#include "pie/SegmentFocus.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "model/SizeText.h"

namespace pie {
namespace {

bool IsSegment(const RingAreas& areas, SegmentRef ref) {
    if (ref.ring == -1) return ref.index == 0;
    return ref.ring >= 0 && ref.ring < areas.RingCount() && ref.index < areas.Ring(ref.ring).size();
}

SegmentRef Home(const RingAreas& areas) {
    if (areas.RingCount() == 0 || areas.Ring(0).empty()) return {};
    const auto& ring = areas.Ring(0);
    const auto widest = std::max_element(ring.begin(), ring.end(), [](const Segment& a, const Segment& b) {
        return a.end - a.start < b.end - b.start;
    });
    return {0, static_cast<std::size_t>(widest - ring.begin())};
}

// The children of segment `parent` on ring `ring`, as [first, last): a folder's children follow one another,
// and the parents' indices grow along a ring, as the layout records them.
std::pair<std::size_t, std::size_t> ChildrenOf(const RingAreas& areas, int ring, std::int32_t parent) {
    const auto& segments = areas.Ring(ring);
    const auto first = std::partition_point(segments.begin(), segments.end(),
                                            [parent](const Segment& s) { return s.parent < parent; });
    const auto last =
        std::partition_point(first, segments.end(), [parent](const Segment& s) { return s.parent == parent; });
    return {static_cast<std::size_t>(first - segments.begin()), static_cast<std::size_t>(last - segments.begin())};
}

// The deepest segment on the way to `relative` that is shown, and whether it is the item itself.
std::pair<SegmentRef, bool> Walk(const RingAreas& areas, std::string_view relative) {
    SegmentRef ref;
    while (!relative.empty()) {
        const std::size_t slash = relative.find('\\');
        const bool isDir = slash != std::string_view::npos;
        const std::string_view name = relative.substr(0, isDir ? slash : relative.size());
        relative.remove_prefix(isDir ? slash + 1 : relative.size());
        const int ring = ref.ring + 1;
        if (ring >= areas.RingCount()) return {ref, false};
        const auto [first, last] = ChildrenOf(areas, ring, ref.ring < 0 ? -1 : static_cast<std::int32_t>(ref.index));
        const auto& segments = areas.Ring(ring);
        std::size_t i = first;
        while (i < last && !(segments[i].isDir == isDir && *segments[i].name == name)) ++i;
        if (i == last) return {ref, false};
        ref = {ring, i};
    }
    return {ref, true};
}

}  // namespace

SegmentRef MoveFocus(const RingAreas& areas, SegmentRef from, FocusMove move) {
    if (move == FocusMove::kHome || !IsSegment(areas, from)) return Home(areas);
    const int next = from.ring + 1;
    switch (move) {
    case FocusMove::kPrevious:
    case FocusMove::kNext: {
        if (from.ring < 0) return from;
        const std::size_t n = areas.Ring(from.ring).size();
        return {from.ring, move == FocusMove::kNext ? (from.index + 1) % n : (from.index + n - 1) % n};
    }
    case FocusMove::kOutward: {
        if (next >= areas.RingCount()) return from;
        const auto [first, last] = ChildrenOf(areas, next, from.ring < 0 ? -1 : static_cast<std::int32_t>(from.index));
        return first < last ? SegmentRef{next, first} : from;
    }
    case FocusMove::kInward:
        if (from.ring <= 0) return {};
        return {from.ring - 1, static_cast<std::size_t>(areas.Ring(from.ring)[from.index].parent)};
    case FocusMove::kHome: break;
    }
    return from;
}

std::optional<SegmentRef> Locate(const RingAreas& areas, std::string_view relative) {
    const auto [ref, exact] = Walk(areas, relative);
    return exact ? std::optional(ref) : std::nullopt;
}

SegmentRef FocusFor(const RingAreas& areas, std::string_view relative) {
    const SegmentRef ref = Walk(areas, relative).first;
    return ref.ring < 0 && !relative.empty() ? Home(areas) : ref;
}

std::string PathOf(const RingAreas& areas, SegmentRef ref) {
    return ref.ring < 0 ? std::string() : areas.PathOf(ref.ring, ref.index);
}

Point AnchorOf(const RingAreas& areas, SegmentRef ref) {
    if (!IsSegment(areas, ref) || ref.ring < 0) return {};
    const auto& radii = areas.Radii();
    const Segment& s = areas.Ring(ref.ring)[ref.index];
    const double rho =
        (radii[static_cast<std::size_t>(ref.ring)] + radii[static_cast<std::size_t>(ref.ring) + 1]) / 2.0;
    const double angle = (s.start + s.end) / 2;
    return {static_cast<int>(std::lround(rho * std::cos(angle))), static_cast<int>(std::lround(rho * std::sin(angle)))};
}

std::vector<Point> OutlineOf(const RingAreas& areas, SegmentRef ref, int cx, int cy) {
    std::vector<Point> points;
    if (!IsSegment(areas, ref) || ref.ring < 0) return points;
    const auto& radii = areas.Radii();
    const Segment& s = areas.Ring(ref.ring)[ref.index];
    const auto inner = static_cast<float>(radii[static_cast<std::size_t>(ref.ring)]);
    const auto outer = static_cast<float>(radii[static_cast<std::size_t>(ref.ring) + 1]);
    const auto fx = static_cast<float>(cx), fy = static_cast<float>(cy);
    AppendArc(points, fx, fy, outer, s.start, s.end, true);
    const std::size_t innerFrom = points.size();
    AppendArc(points, fx, fy, inner, s.start, s.end, true);
    std::reverse(points.begin() + static_cast<std::ptrdiff_t>(innerFrom), points.end());
    return points;
}

std::optional<std::string> FocusAfterMove(std::string_view oldCurrent, std::string_view focus,
                                          std::string_view newCurrent) {
    if (oldCurrent.size() > newCurrent.size() && oldCurrent.starts_with(newCurrent))
        return std::string(oldCurrent.substr(newCurrent.size()));
    std::string full(oldCurrent);
    full += focus;
    if (full.size() > newCurrent.size() && full.starts_with(newCurrent)) return full.substr(newCurrent.size());
    return std::nullopt;
}

std::string AccessibleText(std::string_view name, std::uint64_t value, std::uint64_t total) {
    std::string text(name);
    text += ", ";
    text += model::FormatSize(value);
    if (total > 0) {
        char share[16];
        std::snprintf(share, sizeof share, ", %.1f%%", 100.0 * static_cast<double>(value) / static_cast<double>(total));
        text += share;
    }
    return text;
}

}  // namespace pie
