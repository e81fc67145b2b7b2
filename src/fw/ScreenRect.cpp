#include "fw/ScreenRect.h"

#include <algorithm>

namespace fw {

ScreenRect FitIntoArea(ScreenRect rect, const ScreenRect& area) {
    if (area.Width() <= 0 || area.Height() <= 0) return rect;
    const int width = std::min(rect.Width(), area.Width());
    const int height = std::min(rect.Height(), area.Height());
    rect.left = std::clamp(rect.left, area.left, area.right - width);
    rect.top = std::clamp(rect.top, area.top, area.bottom - height);
    rect.right = rect.left + width;
    rect.bottom = rect.top + height;
    return rect;
}

}  // namespace fw
