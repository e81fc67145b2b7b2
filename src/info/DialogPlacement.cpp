#include "info/DialogPlacement.h"

#include "info/DialogData.h"

namespace info {

fw::LayoutRect WindowScreenRect(HWND window) noexcept {
    RECT r{};
    GetWindowRect(window, &r);
    return {r.left, r.top, r.right, r.bottom};
}

void PlaceAtRemembered(HWND window, const fw::LayoutRect& remembered) noexcept {
    const fw::LayoutRect current = WindowScreenRect(window);
    const RECT probe{remembered.left, remembered.top, remembered.right, remembered.bottom};
    MONITORINFO monitor{sizeof monitor};
    if (!GetMonitorInfoA(MonitorFromRect(&probe, MONITOR_DEFAULTTONEAREST), &monitor)) return;
    const RECT& work = monitor.rcWork;
    const auto place = RememberedPlacement(remembered, current.Width(), current.Height(),
                                           {work.left, work.top, work.right, work.bottom});
    if (!place) return;
    SetWindowPos(window, nullptr, place->left, place->top, place->Width(), place->Height(),
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace info
