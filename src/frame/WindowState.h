// The main window's remembered placement, "MainWndState": five decimal numbers separated by blanks (left,
// top, right, bottom of the restored rectangle in screen coordinates, then 1 when maximised). Read at
// start-up, written by the close query.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "fw/Rect.h"

namespace frame {

struct WindowState {
    fw::Rect rect;
    bool maximised = false;
    friend bool operator==(const WindowState&, const WindowState&) = default;
};

// Nothing (keep the default placement) unless the text is exactly five integers, and the rectangle has a
// size: an empty rectangle would restore a window nobody can see or grab.
std::optional<WindowState> ParseWindowState(std::string_view text);
std::string FormatWindowState(const WindowState& state);

// True when one of the work areas shows enough of the rectangle's title bar (its top `captionHeight`
// pixels) to grab it: at least half its height, over 4 caption heights of its width (or all of a narrower
// one).
bool TitleBarShown(const fw::Rect& rect, const std::vector<fw::Rect>& workAreas, int captionHeight);

// Where the remembered rectangle opens: where it was, whatever monitor holds it and however large it is,
// while its title bar can be grabbed; otherwise (its monitor is gone, or the title bar lies off every
// screen) pulled into `nearest`, the work area of the monitor nearest to it, and shrunk to it when larger.
fw::Rect PlaceRememberedRect(const fw::Rect& rect, const std::vector<fw::Rect>& workAreas, const fw::Rect& nearest,
                             int captionHeight);

}  // namespace frame
