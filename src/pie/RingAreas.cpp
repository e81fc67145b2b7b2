// Ring radii and segment look-up.
#include "pie/RingAreas.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <stdexcept>

namespace pie {

double RingBoundary(double outer, double centre, int n, int k) noexcept {
    return std::sqrt((centre * centre * (n - k) + outer * outer * k) / n);
}

void RingAreas::Reset(int n, int outerRadius, int centreRadius) {
    rings_.assign(static_cast<std::size_t>(n > 0 ? n : 0), {});
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

void RingAreas::Clear() {
    rings_.clear();
    radii_.clear();
}

void RingAreas::Add(int ring, double start, double end, std::string path) {
    if (ring < 0 || static_cast<std::size_t>(ring) >= rings_.size()) throw std::out_of_range("RingAreas::Add: no such ring");
    rings_[static_cast<std::size_t>(ring)].push_back({start, end, std::move(path)});
}

std::optional<std::string> RingAreas::Find(int distance, double angle) const {
    const auto it = std::lower_bound(radii_.begin(), radii_.end(), distance);
    if (it == radii_.end()) return std::nullopt;
    const auto k = static_cast<std::size_t>(it - radii_.begin());
    if (k == 0) return std::string();
    for (const Segment& s : rings_[k - 1])
        if (s.start <= angle && angle < s.end) return s.path;
    return std::nullopt;
}

}  // namespace pie
