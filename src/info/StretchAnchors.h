// The arithmetic of the resizable dialog base (TStretchDlg): which edge constraints an anchor mode makes,
// and where the size grip lies. Portable, so it is checked without windows.
//
// Anchor modes, per axis: 0 the control keeps its distance from the right (bottom) edge with its size;
// 1 it keeps both distances and stretches; 2 it stays where it is.
#pragma once

#include "fw/EdgeConstraints.h"

namespace info {

enum AnchorMode : int { kAnchorFar = 0, kAnchorStretch = 1, kAnchorStay = 2 };

constexpr bool IsAnchorMode(int mode) noexcept { return mode >= kAnchorFar && mode <= kAnchorStay; }

// Distances measured from `control` as it lies in `client` now. Modes outside 0..2 count as 2.
fw::EdgeConstraints AnchorConstraints(const fw::Rect& client, const fw::Rect& control, int horizontal,
                                      int vertical) noexcept;

// The grip square in the lower right corner of `client`, `width` wide and `height` high.
fw::Rect GripRect(const fw::Rect& client, int width, int height) noexcept;

// Left and top edges inclusive, right and bottom exclusive.
bool InRect(const fw::Rect& rect, int x, int y) noexcept;

}  // namespace info
