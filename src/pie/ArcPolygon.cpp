// Adaptive arc polygons and the visibility test of one segment.
#include "pie/ArcPolygon.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace pie {

Point RadialPoint(const fw::Rect& square, double angle) noexcept {
    const double cx = square.CentreX(), cy = square.CentreY(), r = square.Width() / 2;
    return {static_cast<int>(cx + r * std::cos(angle)), static_cast<int>(cy + r * std::sin(angle))};
}

bool SegmentIsVisible(const fw::Rect& outer, double start, double end) noexcept {
    if (!(end - start < std::numbers::pi)) return true;
    return !(RadialPoint(outer, start) == RadialPoint(outer, end));
}

namespace {

Point ArcPointF(float cx, float cy, float rho, double angle) {
    const float a = static_cast<float>(angle);
    return {static_cast<int>(cx + rho * std::cos(a)), static_cast<int>(cy + rho * std::sin(a))};
}

bool NeedsSplit(float rho, double span) {
    return span >= std::numbers::pi / 4 || rho * (1.0 - std::cos(span / 2)) >= 1.0;
}

}  // namespace

void AppendArc(std::vector<Point>& points, float cx, float cy, float rho, double a, double b, bool withStart) {
    if (NeedsSplit(rho, b - a)) {
        const double mid = (a + b) / 2;
        AppendArc(points, cx, cy, rho, a, mid, withStart);
        AppendArc(points, cx, cy, rho, mid, b, false);
        return;
    }
    if (withStart) points.push_back(ArcPointF(cx, cy, rho, a));
    points.push_back(ArcPointF(cx, cy, rho, b));
}

std::vector<Point> FolderWedgePolygon(const fw::Rect& outer, double start, double end) {
    std::vector<Point> points;
    points.reserve(8);
    points.push_back({outer.CentreX(), outer.CentreY()});
    AppendArc(points, static_cast<float>(outer.CentreX()), static_cast<float>(outer.CentreY()),
              static_cast<float>(outer.Width() / 2), start, end, true);
    return points;
}

std::vector<Point> FileSegmentPolygon(const fw::Rect& outer, const fw::Rect& inner, double start, double end) {
    const int outerRadius = outer.Width() / 2;
    const int innerRadius = (outerRadius + 2 * (inner.Width() / 2)) / 3;
    const auto cx = static_cast<float>(outer.CentreX());
    const auto cy = static_cast<float>(outer.CentreY());
    std::vector<Point> points;
    points.reserve(16);
    AppendArc(points, cx, cy, static_cast<float>(outerRadius), start, end, true);
    // The inner arc runs back from end to start: build it forwards and reverse it in place.
    const std::size_t innerBegin = points.size();
    AppendArc(points, cx, cy, static_cast<float>(innerRadius), start, end, true);
    std::reverse(points.begin() + static_cast<std::ptrdiff_t>(innerBegin), points.end());
    return points;
}

}  // namespace pie
