#include "info/DialogPlacement.h"

#include "fw/WinRect.h"
#include "info/DialogData.h"

namespace info {

fw::Rect WindowScreenRect(HWND window) noexcept {
    RECT r{};
    GetWindowRect(window, &r);
    return {r.left, r.top, r.right, r.bottom};
}

void PlaceAtRemembered(HWND window, const fw::Rect& remembered) noexcept {
    const fw::Rect current = WindowScreenRect(window);
    const RECT probe = fw::ToRECT(remembered);
    MONITORINFO monitor{sizeof monitor};
    if (!GetMonitorInfoA(MonitorFromRect(&probe, MONITOR_DEFAULTTONEAREST), &monitor)) return;
    const auto place = RememberedPlacement(remembered, current.Width(), current.Height(), fw::FromRECT(monitor.rcWork));
    if (!place) return;
    SetWindowPos(window, nullptr, place->left, place->top, place->Width(), place->Height(),
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace info
