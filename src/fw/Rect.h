// The program's one rectangle: edges in pixels (left and top inside, right and bottom just outside), in
// whatever coordinates the caller uses (screen, client, dialog). Portable; fw/WinRect.h converts to and
// from the system's RECT. PullIntoArea is the one rule for bringing a window into a monitor's work area.
#pragma once

namespace fw {

struct Rect {
    int left = 0, top = 0, right = 0, bottom = 0;
    int Width() const noexcept { return right - left; }
    int Height() const noexcept { return bottom - top; }
    int CentreX() const noexcept { return (left + right) / 2; }
    int CentreY() const noexcept { return (top + bottom) / 2; }
    bool IsEmpty() const noexcept { return right <= left || bottom <= top; }
    // All four edges 0: no rectangle at all, as opposed to an empty one somewhere.
    bool IsZero() const noexcept { return left == 0 && top == 0 && right == 0 && bottom == 0; }
    friend bool operator==(const Rect&, const Rect&) = default;
};

// What becomes of a window wider or taller than the work area.
enum class Oversize {
    Shrink,    // cut to the area's size: a window that can take any size
    KeepSize,  // kept, its top-left corner on the area's: a dialog, which never gets smaller than it opened
};

// `rect` moved the least distance that puts it inside `area`; along an axis where it is larger than the
// area, handled as `oversize` says. Either way the top-left corner, and with it the title bar, ends up in
// the area. An empty area (not known) leaves the rectangle as it is.
Rect PullIntoArea(const Rect& rect, const Rect& area, Oversize oversize) noexcept;

}  // namespace fw
