// The arithmetic of a two-pane splitter (TSplitWnd): where the bar sits for a ratio, where a drag puts
// it, and the rectangles of the panes and the bar. "Length" is the client width for a vertical bar (panes
// left and right) and the height for a horizontal one; the free length is the length minus the bar.
#pragma once

namespace frame {

struct SplitRect {
    int x = 0, y = 0, width = 0, height = 0;
    friend bool operator==(const SplitRect&, const SplitRect&) = default;
};

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
    SplitRect first, bar, second;
};
SplitLayout LayOutSplit(int width, int height, int position, int barWidth, bool vertical);

bool IsOnSplitBar(int x, int y, const SplitLayout& layout);

}  // namespace frame
