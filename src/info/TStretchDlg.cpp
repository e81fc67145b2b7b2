#include "info/TStretchDlg.h"

#include "fw/Dpi.h"
#include "fw/Handles.h"

namespace info {

TStretchDlg::TStretchDlg(fw::TWindow* parent, int templateId) : TDialog(parent, templateId) {}

void TStretchDlg::SetupWindow() {
    TDialog::SetupWindow();
    RECT window{};
    GetWindowRect(GetHandle(), &window);
    minimum_ = {window.right - window.left, window.bottom - window.top};
    if (gripEnabled_) {
        UpdateGripRect();
        if (invalidateAtSetup_) InvalidateGrip();
    }
}

bool TStretchDlg::SetControlAnchor(HWND control, int horizontal, int vertical) {
    HWND dialog = GetHandle();
    if (!dialog || !control || ::GetParent(control) != dialog) return false;
    if (!IsAnchorMode(horizontal) || !IsAnchorMode(vertical)) return false;
    layout_.SetConstraints(control, AnchorConstraints(fw::ClientLayoutRect(dialog),
                                                      fw::ChildLayoutRect(control, dialog), horizontal, vertical));
    return true;
}

void TStretchDlg::ShowSizeGrip(bool show) {
    if (show == gripShown_) return;
    gripShown_ = show;
    if (show) UpdateGripRect();
    InvalidateGrip();
}

void TStretchDlg::UpdateGripRect() noexcept {
    // The system's own grip: as wide as a vertical scroll bar and as high as a horizontal one.
    const int dpi = fw::WindowDpi(GetHandle());
    grip_ = GripRect(fw::ClientLayoutRect(GetHandle()), fw::MetricForDpi(SM_CYHSCROLL, dpi),
                     fw::MetricForDpi(SM_CXVSCROLL, dpi));
}

void TStretchDlg::InvalidateGrip() const noexcept {
    const RECT r{grip_.left, grip_.top, grip_.right, grip_.bottom};
    InvalidateRect(GetHandle(), &r, TRUE);
}

bool TStretchDlg::InsideOfMaximized() const noexcept {
    HWND wnd = GetHandle();
    while (wnd && (GetWindowLongPtrA(wnd, GWL_STYLE) & WS_CHILD)) wnd = ::GetParent(wnd);
    return wnd && IsZoomed(wnd);
}

void TStretchDlg::OnSize(WPARAM kind) {
    layout_.Apply(GetHandle());
    if (kind == SIZE_RESTORED || kind == SIZE_MAXIMIZED) {
        InvalidateGrip();
        gripShown_ = kind != SIZE_MAXIMIZED && !InsideOfMaximized();
    }
    if (gripEnabled_) {
        UpdateGripRect();
        if (gripShown_) InvalidateGrip();
    }
}

LRESULT TStretchDlg::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_GETMINMAXINFO: {
        auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
        info->ptMinTrackSize = {minimum_.cx, minimum_.cy};
        SetMsgResult(0);
        return TRUE;
    }
    case WM_SIZE:
        OnSize(wParam);
        SetMsgResult(0);
        return TRUE;
    case WM_PAINT: {
        fw::PaintDC paint(GetHandle());
        if (gripEnabled_ && gripShown_) {
            RECT r{grip_.left, grip_.top, grip_.right, grip_.bottom};
            DrawFrameControl(paint.Get(), &r, DFC_SCROLL, DFCS_SCROLLSIZEGRIP);
        }
        SetMsgResult(0);
        return TRUE;
    }
    case WM_NCHITTEST: {
        const LRESULT ordinary = DefWindowProcA(GetHandle(), msg, wParam, lParam);
        if (ordinary == HTCLIENT && gripEnabled_ && gripShown_) {
            POINT p{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
            ScreenToClient(GetHandle(), &p);
            if (InRect(grip_, p.x, p.y)) {
                SetMsgResult(HTBOTTOMRIGHT);
                return TRUE;
            }
        }
        return FALSE;
    }
    }
    return TDialog::HandleMessage(msg, wParam, lParam);
}

}  // namespace info
