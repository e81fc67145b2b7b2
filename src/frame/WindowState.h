// The main window's remembered placement, "MainWndState": five decimal numbers separated by blanks (left,
// top, right, bottom of the restored rectangle in screen coordinates, then 1 when maximised). Read at
// start-up, written by the close query.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace frame {

struct ScreenRect {
    int left = 0, top = 0, right = 0, bottom = 0;
    int Width() const noexcept { return right - left; }
    int Height() const noexcept { return bottom - top; }
    friend bool operator==(const ScreenRect&, const ScreenRect&) = default;
};

struct WindowState {
    ScreenRect rect;
    bool maximised = false;
    friend bool operator==(const WindowState&, const WindowState&) = default;
};

// Nothing (keep the default placement) unless the text is exactly five integers, and the rectangle has a
// size: an empty rectangle would restore a window nobody can see or grab.
std::optional<WindowState> ParseWindowState(std::string_view text);
std::string FormatWindowState(const WindowState& state);

// The rectangle moved (and, when larger, shrunk) so that it lies inside `area`, the desktop's work area:
// a window remembered on a screen that is gone must come back where the user can reach it.
ScreenRect FitIntoArea(ScreenRect rect, const ScreenRect& area);

}  // namespace frame
