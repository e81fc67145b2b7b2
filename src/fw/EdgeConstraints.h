// Edge constraints: where a child window's edges go when its parent's client area changes size. Each edge
// of the child is a fixed offset from the parent's near (left, top) or far (right, bottom) edge, so one
// pair of rules keeps a control in place, keeps it at a distance from the far edge, or stretches it.
// Portable arithmetic; fw/TLayout applies it to real windows on every resize.
#pragma once

#include "fw/Rect.h"

namespace fw {

struct EdgeRule {
    enum class From : unsigned char { ParentNear, ParentFar };
    From from = From::ParentNear;
    int offset = 0;  // added to the parent's edge
};

// The two edges of one axis (left and right, or top and bottom).
struct AxisRule {
    EdgeRule nearEdge;
    EdgeRule farEdge;
};

struct EdgeConstraints {
    AxisRule horizontal;
    AxisRule vertical;
};

// Rules that put `child` back where it is now inside `parent`, each edge measured from the parent edge
// named: both from the near edge (stays), both from the far edge (follows), or one each (stretches).
AxisRule MeasureAxis(int parentNear, int parentFar, int childNear, int childFar, EdgeRule::From nearFrom,
                     EdgeRule::From farFrom) noexcept;

// The child's rectangle for a parent rectangle.
Rect Place(const EdgeConstraints& constraints, const Rect& parent) noexcept;

}  // namespace fw
