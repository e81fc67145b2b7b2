#include "fw/Rect.h"

#include <algorithm>

namespace fw {
namespace {
struct Span {
    int low, high;
};

// One axis: `length` is the span's length after the oversize rule.
Span Pull(int low, int length, int areaLow, int areaHigh) noexcept {
    const int start = length >= areaHigh - areaLow ? areaLow : std::clamp(low, areaLow, areaHigh - length);
    return {start, start + length};
}
}  // namespace

Rect PullIntoArea(const Rect& rect, const Rect& area, Oversize oversize) noexcept {
    if (area.IsEmpty()) return rect;
    const bool shrink = oversize == Oversize::Shrink;
    const int width = shrink ? std::min(rect.Width(), area.Width()) : rect.Width();
    const int height = shrink ? std::min(rect.Height(), area.Height()) : rect.Height();
    const Span x = Pull(rect.left, width, area.left, area.right);
    const Span y = Pull(rect.top, height, area.top, area.bottom);
    return {x.low, y.low, x.high, y.high};
}

}  // namespace fw
