#include "about/TTVUrlLink.h"

#include "fw/Handles.h"

#include <string>

namespace about {

LRESULT TTVUrlLink::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_SETTEXT) {
        const LRESULT result = TUrlLink::HandleMessage(msg, wParam, lParam);
        FitToText();
        return result;
    }
    return TUrlLink::HandleMessage(msg, wParam, lParam);
}

void TTVUrlLink::FitToText() {
    HWND wnd = GetHandle();
    HWND parent = ::GetParent(wnd);
    std::string text(static_cast<std::size_t>(GetWindowTextLengthA(wnd)) + 1, '\0');
    text.resize(static_cast<std::size_t>(GetWindowTextA(wnd, text.data(), static_cast<int>(text.size()))));

    SIZE extent{};
    {
        fw::ClientDC dc(wnd);
        HFONT font = reinterpret_cast<HFONT>(SendMessageA(wnd, WM_GETFONT, 0, 0));
        fw::SelectGuard select(dc.Get(), font ? static_cast<HGDIOBJ>(font) : GetStockObject(SYSTEM_FONT));
        if (!GetTextExtentPoint32A(dc.Get(), text.c_str(), static_cast<int>(text.size()), &extent)) return;
    }

    RECT r{};
    GetWindowRect(wnd, &r);
    MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&r), 2);
    const LONG_PTR style = GetWindowLongPtrA(wnd, GWL_STYLE);
    int left = r.left;
    switch (style & SS_TYPEMASK) {
    case SS_CENTER: left = (r.left + r.right) / 2 - extent.cx / 2; break;
    case SS_RIGHT: left = r.right - extent.cx; break;
    default: break;
    }
    const int top = (style & SS_CENTERIMAGE) ? (r.top + r.bottom) / 2 - extent.cy / 2 : r.top;
    SetWindowPos(wnd, nullptr, left, top, extent.cx, extent.cy, SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace about
