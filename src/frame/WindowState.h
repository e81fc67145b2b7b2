// The main window's remembered placement, "MainWndState": five decimal numbers separated by blanks (left,
// top, right, bottom of the restored rectangle in screen coordinates, then 1 when maximised). Read at
// start-up, written by the close query.
#pragma once

#include "fw/ScreenRect.h"

#include <optional>
#include <string>
#include <string_view>

namespace frame {

using fw::FitIntoArea;
using fw::ScreenRect;

struct WindowState {
    ScreenRect rect;
    bool maximised = false;
    friend bool operator==(const WindowState&, const WindowState&) = default;
};

// Nothing (keep the default placement) unless the text is exactly five integers, and the rectangle has a
// size: an empty rectangle would restore a window nobody can see or grab.
std::optional<WindowState> ParseWindowState(std::string_view text);
std::string FormatWindowState(const WindowState& state);

}  // namespace frame
