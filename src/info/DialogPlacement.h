// Restoring the remembered rectangle of a dialog or tool window when it opens (DialogData.h says where
// it goes), and reading the rectangle to remember when it closes.
#pragma once

#include "fw/Rect.h"

#include <windows.h>

namespace info {

fw::Rect WindowScreenRect(HWND window) noexcept;

// Moves the window to its remembered place, pulled onto the work area of the nearest monitor, without
// changing the z-order; nothing when no rectangle was remembered.
void PlaceAtRemembered(HWND window, const fw::Rect& remembered) noexcept;

}  // namespace info
