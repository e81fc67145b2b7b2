// The arithmetic of a two-pane splitter (TSplitWnd): where the bar sits for a ratio, where a drag puts
// it, and the rectangles of the panes and the bar. "Length" is the client width for a vertical bar (panes
// left and right) and the height for a horizontal one; the free length is the length minus the bar.
#pragma once

#include "fw/Rect.h"

namespace frame {

// 0 below 0, 1 above 1 (and for NaN: 0).
double ClampSplitRatio(double ratio);

// The bar's offset for `ratio` of the free length, truncated; 0 when nothing is free. The ratio a drag
// produced maps back to the dragged offset at the same length.
int SplitPosition(int length, int barWidth, double ratio);

struct SplitDrag {
    int position;
    double ratio;
};
// The bar under a cursor at `cursor` that grabbed it `dragOffset` pixels from its edge: clamped to
// 0..free length. With nothing free the ratio stays `ratio`.
SplitDrag DragSplit(int cursor, int dragOffset, int length, int barWidth, double ratio);

struct SplitLayout {
    fw::Rect first, bar, second;
    friend bool operator==(const SplitLayout&, const SplitLayout&) = default;
};
// The panes and the bar filling a client area of `width` x `height`: the bar at `position` (kept within
// the length) and as wide as fits; the panes take the rest and are never negative.
SplitLayout LayOutSplit(int width, int height, int position, int barWidth, bool vertical);

}  // namespace frame
