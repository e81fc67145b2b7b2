// The DPI a window is drawn at, and the system's measures and fonts at that DPI. Windows that predate
// per-window DPI (and Wine, which has one DPI for all) answer with the system DPI, the LOGPIXELSY of the
// screen. Lengths themselves are scaled by fw/DpiScale.h.
//
//   const int dpi = fw::WindowDpi(GetHandle());
//   const int grip = fw::MetricForDpi(SM_CXVSCROLL, dpi);
//   fw::Font font = fw::GuiFontForDpi(dpi);   // empty at the system DPI: use the stock font then
#pragma once

#include "fw/Handles.h"

namespace fw {

// The system DPI: what windows are created at, and what the system's own measures and stock fonts assume.
int SystemDpi() noexcept;

// The DPI of `wnd` (its top-level window's monitor when the program is per-monitor aware); the system DPI
// when the system cannot tell or `wnd` is null.
int WindowDpi(HWND wnd) noexcept;

// GetSystemMetrics(`index`) as it is at `dpi`.
int MetricForDpi(int index, int dpi) noexcept;

// The stock dialog font (DEFAULT_GUI_FONT) made for `dpi`; an empty handle when `dpi` is the system DPI,
// where the stock font itself is right.
Font GuiFontForDpi(int dpi);

// The stock dialog font for `dpi`: `made` when it holds one, otherwise the stock font.
inline HFONT GuiFontOr(const Font& made) noexcept {
    return made ? made.Get() : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

}  // namespace fw
