// Restoring the remembered rectangle of a dialog or tool window when it opens (DialogData.h says where
// it goes), and reading the rectangle to remember when it closes. Remembered rectangles are in 96-DPI
// units (screen pixels divided by the window's scale), so that they open right at another scale; what
// was remembered before the program knew of scales was written at 96 DPI and reads the same.
#pragma once

#include "fw/Rect.h"

#include <windows.h>

namespace info {

fw::Rect WindowScreenRect(HWND window) noexcept;
// The window's screen rectangle in 96-DPI units, to remember.
fw::Rect RectToRemember(HWND window) noexcept;

// Moves the window to its remembered place, pulled onto the work area of the nearest monitor, without
// changing the z-order; nothing when no rectangle was remembered.
void PlaceAtRemembered(HWND window, const fw::Rect& remembered) noexcept;

}  // namespace info
