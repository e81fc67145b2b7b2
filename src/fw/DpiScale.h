// Lengths at a display's dots per inch. The program is laid out in pixels at 96 DPI; every length it computes
// goes through ScaleFrom96 for the window's DPI, and what it remembers (placements, anchors) is turned back
// into 96-DPI units with ScaleTo96 so that it opens right at any other scale. Portable.
//
//   const int bar = fw::ScaleFrom96(4, dpi);          // 4 px at 96 DPI: 5 at 120, 6 at 144, 8 at 192
//   const fw::Rect stored = fw::RectTo96(window, dpi);  // and fw::RectFrom96(stored, dpi) back
#pragma once

#include "fw/Rect.h"

namespace fw {

inline constexpr int kBaseDpi = 96;

// `value` * `to` / `from`, rounded to the nearest integer, halves away from zero (as the system's MulDiv).
// A `from` of 0 or less leaves the value as it is.
int ScaleLength(int value, int to, int from) noexcept;

// A length in 96-DPI units at `dpi`, and a length at `dpi` in 96-DPI units. A DPI of 0 or less counts as 96.
inline int ScaleFrom96(int value, int dpi) noexcept { return ScaleLength(value, dpi > 0 ? dpi : kBaseDpi, kBaseDpi); }
inline int ScaleTo96(int value, int dpi) noexcept { return ScaleLength(value, kBaseDpi, dpi > 0 ? dpi : kBaseDpi); }

// Every edge scaled: a rectangle (screen or client coordinates) between 96-DPI units and pixels at `dpi`.
Rect RectFrom96(const Rect& rect, int dpi) noexcept;
Rect RectTo96(const Rect& rect, int dpi) noexcept;

// The character height of a font of `points` points at `dpi`, as a negative LOGFONT height (character
// height, not cell height): 10 points are -13 at 96 DPI, -20 at 144, -27 at 192.
int FontHeightForPoints(int points, int dpi) noexcept;

// Of art drawn at `count` scales in per cent (ascending, e.g. 100, 150, 200), the index of the one for
// `dpi`: the nearest, ties to the larger, so that nothing has to be stretched by more than the gap.
int NearestArtScale(int dpi, const int* percents, int count) noexcept;

}  // namespace fw
