#include "info/DialogPlacement.h"

#include "fw/Dpi.h"
#include "fw/DpiScale.h"
#include "fw/WinRect.h"
#include "info/DialogData.h"

namespace info {

fw::Rect WindowScreenRect(HWND window) noexcept {
    RECT r{};
    GetWindowRect(window, &r);
    return {r.left, r.top, r.right, r.bottom};
}

fw::Rect RectToRemember(HWND window) noexcept { return fw::RectTo96(WindowScreenRect(window), fw::WindowDpi(window)); }

void PlaceAtRemembered(HWND window, const fw::Rect& rememberedAt96) noexcept {
    if (rememberedAt96.IsZero()) return;
    const fw::Rect remembered = fw::RectFrom96(rememberedAt96, fw::WindowDpi(window));
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
