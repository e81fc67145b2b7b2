#include "fw/EdgeConstraints.h"

namespace fw {
namespace {
int Resolve(const EdgeRule& rule, int parentNear, int parentFar) noexcept {
    return (rule.from == EdgeRule::From::ParentNear ? parentNear : parentFar) + rule.offset;
}

EdgeRule Measure(int parentNear, int parentFar, int edge, EdgeRule::From from) noexcept {
    return {from, edge - (from == EdgeRule::From::ParentNear ? parentNear : parentFar)};
}
}  // namespace

AxisRule MeasureAxis(int parentNear, int parentFar, int childNear, int childFar, EdgeRule::From nearFrom,
                     EdgeRule::From farFrom) noexcept {
    return {Measure(parentNear, parentFar, childNear, nearFrom), Measure(parentNear, parentFar, childFar, farFrom)};
}

Rect Place(const EdgeConstraints& constraints, const Rect& parent) noexcept {
    const AxisRule& h = constraints.horizontal;
    const AxisRule& v = constraints.vertical;
    return {Resolve(h.nearEdge, parent.left, parent.right), Resolve(v.nearEdge, parent.top, parent.bottom),
            Resolve(h.farEdge, parent.left, parent.right), Resolve(v.farEdge, parent.top, parent.bottom)};
}

}  // namespace fw
