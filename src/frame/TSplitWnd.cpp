#include "frame/TSplitWnd.h"

#include "frame/SplitterMath.h"
#include "fw/Dpi.h"
#include "fw/DpiScale.h"
#include "fw/Handles.h"
#include "fw/WinRect.h"

#include <windowsx.h>

#include <algorithm>

namespace frame {

TSplitWnd::TSplitWnd(fw::TWindow* parent, bool vertical, double ratio, int barWidth)
    : TWindow(parent), barWidth96_(std::max(1, barWidth)), barWidth_(barWidth96_), vertical_(vertical),
      ratio_(ClampSplitRatio(ratio)) {
    Attr().style = WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN;
}

void TSplitWnd::FillWindowClass(WNDCLASSEXA& wc) const {
    TWindow::FillWindowClass(wc);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
}

void TSplitWnd::SetPanes(fw::TWindow* first, fw::TWindow* second) {
    first_ = first;
    second_ = second;
    if (GetHandle()) Layout();
}

int TSplitWnd::Length() const {
    RECT client{};
    GetClientRect(GetHandle(), &client);
    return vertical_ ? client.right : client.bottom;
}

RECT TSplitWnd::BarRect() const {
    RECT client{};
    GetClientRect(GetHandle(), &client);
    return fw::ToRECT(LayOutSplit(client.right, client.bottom, position_, barWidth_, vertical_).bar);
}

bool TSplitWnd::CursorOnBar() const {
    POINT cursor{};
    GetCursorPos(&cursor);
    ScreenToClient(GetHandle(), &cursor);
    const RECT bar = BarRect();
    return PtInRect(&bar, cursor) != FALSE;
}

void TSplitWnd::SetBarDpi(int dpi) {
    barWidth_ = std::max(1, fw::ScaleFrom96(barWidth96_, dpi));
    if (!GetHandle()) return;
    if (const int length = Length(); length != 0) position_ = SplitPosition(length, barWidth_, ratio_);
    Layout();
    InvalidateRect(GetHandle(), nullptr, TRUE);
}

void TSplitWnd::SetupWindow() {
    TWindow::SetupWindow();
    barWidth_ = std::max(1, fw::ScaleFrom96(barWidth96_, fw::WindowDpi(GetHandle())));
    if (!cursor_) cursor_ = LoadCursor(nullptr, vertical_ ? IDC_SIZEWE : IDC_SIZENS);
    if (const int length = Length(); length != 0) position_ = SplitPosition(length, barWidth_, ratio_);
    Layout();
}

void TSplitWnd::CleanupWindow() {
    hoverTimer_.Stop();
    cursor_ = nullptr;  // a shared system cursor: nothing to destroy
    TWindow::CleanupWindow();
}

void TSplitWnd::Layout() {
    if (!first_ || !second_ || !GetHandle()) return;
    RECT client{};
    GetClientRect(GetHandle(), &client);
    const SplitLayout layout = LayOutSplit(client.right, client.bottom, position_, barWidth_, vertical_);
    constexpr UINT kFlags = SWP_NOZORDER | SWP_NOACTIVATE;
    if (HWND first = first_->GetHandle())
        SetWindowPos(first, nullptr, layout.first.left, layout.first.top, layout.first.Width(), layout.first.Height(),
                     kFlags);
    if (HWND second = second_->GetHandle())
        SetWindowPos(second, nullptr, layout.second.left, layout.second.top, layout.second.Width(),
                     layout.second.Height(), kFlags);
    if (repaintBar_) {
        const RECT bar = fw::ToRECT(layout.bar);
        InvalidateRect(GetHandle(), &bar, TRUE);
    }
}

void TSplitWnd::InvalidateBar() const {
    const RECT bar = BarRect();
    InvalidateRect(GetHandle(), &bar, TRUE);
}

void TSplitWnd::PaintGroove(HDC dc) const {
    const RECT bar = BarRect();
    fw::Pen shadow(CreatePen(PS_SOLID, 1, GetSysColor(hover_ ? COLOR_WINDOW : COLOR_BTNSHADOW)));
    fw::Pen light(CreatePen(PS_SOLID, 1, GetSysColor(hover_ ? COLOR_WINDOW : COLOR_BTNHIGHLIGHT)));
    if (vertical_) {
        const int x = (bar.left + bar.right) / 2;
        fw::SelectGuard first(dc, shadow.Get());
        MoveToEx(dc, x - 1, bar.top, nullptr);
        LineTo(dc, x - 1, bar.bottom);
        fw::SelectGuard second(dc, light.Get());
        MoveToEx(dc, x, bar.top, nullptr);
        LineTo(dc, x, bar.bottom);
    } else {
        const int y = (bar.top + bar.bottom) / 2;
        fw::SelectGuard first(dc, shadow.Get());
        MoveToEx(dc, bar.left, y - 1, nullptr);
        LineTo(dc, bar.right, y - 1);
        fw::SelectGuard second(dc, light.Get());
        MoveToEx(dc, bar.left, y, nullptr);
        LineTo(dc, bar.right, y);
    }
}

LRESULT TSplitWnd::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_SIZE: {
        const LRESULT result = TWindow::HandleMessage(msg, wParam, lParam);
        if (const int length = vertical_ ? LOWORD(lParam) : HIWORD(lParam); length != 0) {
            position_ = SplitPosition(length, barWidth_, ratio_);
            Layout();
        }
        return result;
    }
    case WM_PAINT: {
        fw::PaintDC paint(GetHandle());
        Paint(paint.Get(), paint.Info().rcPaint);
        return 0;
    }
    case WM_LBUTTONDOWN: {
        const POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        const RECT bar = BarRect();
        if (!dragging_ && PtInRect(&bar, point)) {
            dragging_ = true;
            dragOffset_ = (vertical_ ? point.x : point.y) - position_;
            SetCapture(GetHandle());
        }
        return 0;
    }
    case WM_LBUTTONUP:
        if (dragging_) {
            dragging_ = false;
            ReleaseCapture();
        }
        return 0;
    case WM_CAPTURECHANGED:
        // Capture taken away (another window, a system key): the drag ends where it is.
        if (reinterpret_cast<HWND>(lParam) != GetHandle()) dragging_ = false;
        return 0;
    case WM_MOUSEMOVE: {
        // Signed: a captured cursor left of or above the window has negative coordinates.
        const POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        const RECT bar = BarRect();
        if (hoverTracking_ && (dragging_ || PtInRect(&bar, point))) {
            SetHover(true);
            hoverTimer_.Start(GetHandle(), hoverTimerId_, hoverTimerPeriod_);
        }
        if (dragging_) {
            const SplitDrag drag = DragSplit(vertical_ ? point.x : point.y, dragOffset_, Length(), barWidth_, ratio_);
            position_ = drag.position;
            ratio_ = drag.ratio;
            Layout();
        }
        return 0;
    }
    case WM_TIMER:
        if (wParam != hoverTimerId_) break;
        if (!dragging_ && !CursorOnBar()) {
            hoverTimer_.Stop();
            SetHover(false);
        }
        return 0;
    case WM_SETCURSOR:
        if (reinterpret_cast<HWND>(wParam) == GetHandle() && cursor_ && CursorOnBar()) {
            SetCursor(cursor_);
            return TRUE;
        }
        break;
    }
    return TWindow::HandleMessage(msg, wParam, lParam);
}

}  // namespace frame
