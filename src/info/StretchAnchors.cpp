#include "info/StretchAnchors.h"

namespace info {
namespace {
using From = fw::EdgeRule::From;

fw::AxisRule AnchorAxis(int mode, int parentNear, int parentFar, int childNear, int childFar) noexcept {
    switch (mode) {
    case kAnchorFar:
        return fw::MeasureAxis(parentNear, parentFar, childNear, childFar, From::ParentFar, From::ParentFar);
    case kAnchorStretch:
        return fw::MeasureAxis(parentNear, parentFar, childNear, childFar, From::ParentNear, From::ParentFar);
    default: return fw::MeasureAxis(parentNear, parentFar, childNear, childFar, From::ParentNear, From::ParentNear);
    }
}
}  // namespace

fw::EdgeConstraints AnchorConstraints(const fw::Rect& client, const fw::Rect& control, int horizontal,
                                      int vertical) noexcept {
    return {AnchorAxis(horizontal, client.left, client.right, control.left, control.right),
            AnchorAxis(vertical, client.top, client.bottom, control.top, control.bottom)};
}

fw::Rect GripRect(const fw::Rect& client, int width, int height) noexcept {
    return {client.right - width, client.bottom - height, client.right, client.bottom};
}

bool InRect(const fw::Rect& rect, int x, int y) noexcept {
    return x >= rect.left && x < rect.right && y >= rect.top && y < rect.bottom;
}

}  // namespace info
