#include "frame/SplitterMath.h"

#include <algorithm>
#include <cmath>

namespace frame {
namespace {
// Lifts a product that should be a whole number but lies a rounding error below it.
constexpr double kRoundingSlack = 1e-9;
}  // namespace

double ClampSplitRatio(double ratio) {
    if (!(ratio > 0)) return 0;
    return ratio > 1 ? 1 : ratio;
}

int SplitPosition(int length, int barWidth, double ratio) {
    const int free = length - barWidth;
    if (free <= 0) return 0;
    return static_cast<int>(std::trunc(free * ClampSplitRatio(ratio) + kRoundingSlack));
}

SplitDrag DragSplit(int cursor, int dragOffset, int length, int barWidth, double ratio) {
    const int free = length - barWidth;
    if (free <= 0) return {0, ratio};
    const int position = std::clamp(cursor - dragOffset, 0, free);
    return {position, static_cast<double>(position) / free};
}

SplitLayout LayOutSplit(int width, int height, int position, int barWidth, bool vertical) {
    // Computed for a vertical bar, then mirrored for a horizontal one.
    const int length = std::max(0, vertical ? width : height), across = vertical ? height : width;
    const int first = std::clamp(position, 0, length);
    const int barEnd = first + std::clamp(barWidth, 0, length - first);
    SplitLayout layout{{0, 0, first, across}, {first, 0, barEnd, across}, {barEnd, 0, length, across}};
    if (!vertical)
        for (fw::Rect* r : {&layout.first, &layout.bar, &layout.second}) *r = {r->top, r->left, r->bottom, r->right};
    return layout;
}

}  // namespace frame
