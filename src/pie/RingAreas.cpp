// Ring radii, segment recording and look-up.
#include "pie/RingAreas.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <stdexcept>

namespace pie {

double RingBoundary(double outer, double centre, int n, int k) noexcept {
    return std::sqrt((centre * centre * (n - k) + outer * outer * k) / n);
}

void RingAreas::Reset(int n, int outerRadius, int centreRadius) {
    rings_ = n > 0 ? n : 0;
    if (segments_.size() < static_cast<std::size_t>(rings_)) segments_.resize(static_cast<std::size_t>(rings_));
    for (auto& ring : segments_) ring.clear();
    radii_.clear();
    if (n <= 0) {
        radii_.push_back(outerRadius);
        return;
    }
    radii_.reserve(static_cast<std::size_t>(n) + 1);
    const std::int64_t r2 = static_cast<std::int64_t>(outerRadius) * outerRadius;
    const std::int64_t c2 = static_cast<std::int64_t>(centreRadius) * centreRadius;
    for (int k = 0; k <= n; ++k) {
        const std::int64_t sum = r2 * k + c2 * (n - k);
        radii_.push_back(static_cast<int>(std::sqrt(static_cast<double>(sum) / n)));
    }
}

void RingAreas::Clear() noexcept {
    for (auto& ring : segments_) ring.clear();
    rings_ = 0;
    radii_.clear();
}

std::int32_t RingAreas::Add(int ring, double start, double end, const model::Name& name, bool isDir,
                            std::int32_t parent) {
    if (ring < 0 || ring >= rings_) throw std::out_of_range("RingAreas::Add: no such ring");
    auto& segments = segments_[static_cast<std::size_t>(ring)];
    segments.push_back({start, end, &name, parent, isDir});
    return static_cast<std::int32_t>(segments.size() - 1);
}

std::size_t RingAreas::SegmentCount() const noexcept {
    std::size_t count = 0;
    for (int k = 0; k < rings_; ++k) count += segments_[static_cast<std::size_t>(k)].size();
    return count;
}

std::string RingAreas::PathOf(int ring, std::size_t index) const {
    std::vector<const Segment*> chain;
    for (int k = ring; k >= 0; --k) {
        const Segment& s = segments_[static_cast<std::size_t>(k)][index];
        chain.push_back(&s);
        if (s.parent < 0) break;
        index = static_cast<std::size_t>(s.parent);
    }
    std::string path;
    for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
        path += *(*it)->name;
        if ((*it)->isDir) path += '\\';
    }
    return path;
}

std::optional<std::string> RingAreas::Find(int distance, double angle) const {
    const auto it = std::lower_bound(radii_.begin(), radii_.end(), distance);
    if (it == radii_.end()) return std::nullopt;
    const auto k = static_cast<std::size_t>(it - radii_.begin());
    if (k == 0) return std::string();
    const auto& ring = segments_[k - 1];
    // Starts ascend along the ring (up to rounding between neighbours). Of the segments that begin before
    // the angle only the last few can reach past it, so step back over those.
    auto first =
        std::lower_bound(ring.begin(), ring.end(), angle, [](const Segment& s, double a) { return s.start < a; });
    while (first != ring.begin() && std::prev(first)->end > angle) --first;
    for (auto s = first; s != ring.end() && s->start <= angle; ++s)
        if (angle < s->end) return PathOf(static_cast<int>(k - 1), static_cast<std::size_t>(s - ring.begin()));
    return std::nullopt;
}

std::optional<std::string> RingAreas::FindPoint(int dx, int dy) const {
    const double x = dx, y = dy;
    const int distance = static_cast<int>(std::sqrt(x * x + y * y));
    double angle = dx == 0 && dy == 0 ? 0.0 : std::atan2(y, x);
    if (angle < -std::numbers::pi / 2) angle += 2 * std::numbers::pi;
    return Find(distance, angle);
}

}  // namespace pie
