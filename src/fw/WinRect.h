// fw::Rect to and from the system's RECT, for Win32 code that hands portable results to the window calls.
#pragma once

#include <windows.h>

#include "fw/Rect.h"

namespace fw {

inline Rect FromRECT(const RECT& r) noexcept { return {r.left, r.top, r.right, r.bottom}; }
inline RECT ToRECT(const Rect& r) noexcept { return {r.left, r.top, r.right, r.bottom}; }

}  // namespace fw
