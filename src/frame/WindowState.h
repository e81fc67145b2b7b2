// The main window's remembered placement, "MainWndState": five decimal numbers separated by blanks (left,
// top, right, bottom of the restored rectangle in screen coordinates, then 1 when maximised). Read at
// start-up, written by the close query.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

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

// The rectangle moved (and, when larger, shrunk) so that it lies inside `area`, a monitor's work area.
ScreenRect FitIntoArea(ScreenRect rect, const ScreenRect& area);

// True when one of the work areas shows enough of the rectangle's title bar (its top `captionHeight`
// pixels) to grab it: at least half its height, over 4 caption heights of its width (or all of a narrower
// one).
bool TitleBarShown(const ScreenRect& rect, const std::vector<ScreenRect>& workAreas, int captionHeight);

// Where the remembered rectangle opens: where it was, whatever monitor holds it and however large it is,
// while its title bar can be grabbed; otherwise (its monitor is gone, or the title bar lies off every
// screen) fitted into `nearest`, the work area of the monitor nearest to it.
ScreenRect PlaceRememberedRect(const ScreenRect& rect, const std::vector<ScreenRect>& workAreas,
                               const ScreenRect& nearest, int captionHeight);

}  // namespace frame
