// Segment geometry shared by the painters: the radial end points that decide whether a segment is drawn,
// and the polygon of a file segment (outer arc clockwise, then inner arc back) approximated by bisecting
// each arc until a piece is narrower than 45 degrees and strays less than one pixel from the circle.
#pragma once

#include <vector>

#include "pie/PiePainter.h"

namespace pie {

struct Point {
    int x = 0, y = 0;
    friend bool operator==(const Point&, const Point&) = default;
};

// (trunc(cx + R cos angle), trunc(cy + R sin angle)) for the square's centre and half side.
Point RadialPoint(const fw::Rect& square, double angle) noexcept;

// False when both radial points fall on one pixel of a segment narrower than a half turn: too thin to see.
// A full ring also has coinciding end points, and is drawn.
bool SegmentIsVisible(const fw::Rect& outer, double start, double end) noexcept;

// Appends the arc from a to b (a <= b) at radius rho around (cx, cy); with `withStart` the first point too.
void AppendArc(std::vector<Point>& points, float cx, float cy, float rho, double a, double b, bool withStart);

// The wedge of the outer circle from start to end: its centre, then the arc.
std::vector<Point> FolderWedgePolygon(const fw::Rect& outer, double start, double end);

// The annular sector between the outer radius R and (R + 2 ri) / 3, ri the inner square's half side.
std::vector<Point> FileSegmentPolygon(const fw::Rect& outer, const fw::Rect& inner, double start, double end);

}  // namespace pie
