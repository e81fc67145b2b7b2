// A window rectangle in screen coordinates, and pulling a remembered one back onto the work area. Portable,
// shared by every window that restores a placement (the main frame, the information dialogs).
#pragma once

namespace fw {

struct ScreenRect {
    int left = 0, top = 0, right = 0, bottom = 0;
    int Width() const noexcept { return right - left; }
    int Height() const noexcept { return bottom - top; }
    friend bool operator==(const ScreenRect&, const ScreenRect&) = default;
};

// The rectangle moved (and, when larger, shrunk) so that it lies inside `area`, the desktop's work area:
// a window remembered on a screen that is gone must come back where the user can reach it.
ScreenRect FitIntoArea(ScreenRect rect, const ScreenRect& area);

}  // namespace fw
