#include "fw/Reflection.h"

#include "fw/TWindow.h"

namespace fw {

HWND NotificationSender(HWND parent, UINT msg, WPARAM, LPARAM lParam) noexcept {
    if (IsColourRequest(msg)) return reinterpret_cast<HWND>(lParam);
    switch (msg) {
    case WM_COMMAND:
    case WM_HSCROLL:
    case WM_VSCROLL: return reinterpret_cast<HWND>(lParam);
    case WM_NOTIFY: return lParam ? reinterpret_cast<const NMHDR*>(lParam)->hwndFrom : nullptr;
    case WM_DRAWITEM: {
        const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        return item && item->CtlType != ODT_MENU ? item->hwndItem : nullptr;
    }
    case WM_MEASUREITEM: {
        // The only owner-draw message without the control's handle: found by its id.
        const auto* item = reinterpret_cast<const MEASUREITEMSTRUCT*>(lParam);
        return item && item->CtlType != ODT_MENU ? GetDlgItem(parent, static_cast<int>(item->CtlID)) : nullptr;
    }
    case WM_COMPAREITEM: {
        const auto* item = reinterpret_cast<const COMPAREITEMSTRUCT*>(lParam);
        return item ? item->hwndItem : nullptr;
    }
    case WM_DELETEITEM: {
        const auto* item = reinterpret_cast<const DELETEITEMSTRUCT*>(lParam);
        return item ? item->hwndItem : nullptr;
    }
    }
    return nullptr;
}

bool ReflectToChild(HWND parent, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    HWND child = NotificationSender(parent, msg, wParam, lParam);
    if (!child || child == parent) return false;
    TWindow* object = TWindow::FromHandle(child);
    return object && object->HandleReflected(msg, wParam, lParam, result);
}

}  // namespace fw
