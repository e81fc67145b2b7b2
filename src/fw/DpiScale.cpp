#include "fw/DpiScale.h"

#include <cstdint>
#include <cstdlib>
#include <limits>

namespace fw {

int ScaleLength(int value, int to, int from) noexcept {
    if (from <= 0) return value;
    const std::int64_t product = static_cast<std::int64_t>(value) * to;
    const std::int64_t half = from / 2;
    std::int64_t result = product >= 0 ? (product + half) / from : -((-product + half) / from);
    if (result > std::numeric_limits<int>::max()) result = std::numeric_limits<int>::max();
    if (result < std::numeric_limits<int>::min()) result = std::numeric_limits<int>::min();
    return static_cast<int>(result);
}

Rect RectFrom96(const Rect& rect, int dpi) noexcept {
    return {ScaleFrom96(rect.left, dpi), ScaleFrom96(rect.top, dpi), ScaleFrom96(rect.right, dpi),
            ScaleFrom96(rect.bottom, dpi)};
}

Rect RectTo96(const Rect& rect, int dpi) noexcept {
    return {ScaleTo96(rect.left, dpi), ScaleTo96(rect.top, dpi), ScaleTo96(rect.right, dpi),
            ScaleTo96(rect.bottom, dpi)};
}

int FontHeightForPoints(int points, int dpi) noexcept { return -ScaleLength(points, dpi > 0 ? dpi : kBaseDpi, 72); }

int NearestArtScale(int dpi, const int* percents, int count) noexcept {
    if (count <= 0) return -1;
    const int wanted = ScaleLength(dpi > 0 ? dpi : kBaseDpi, 100, kBaseDpi);
    int best = 0;
    for (int i = 1; i < count; ++i)
        if (std::abs(percents[i] - wanted) <= std::abs(percents[best] - wanted)) best = i;
    return best;
}

}  // namespace fw
