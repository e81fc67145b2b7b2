#include "fw/TFrameWindow.h"

#include "fw/TApplication.h"

#include <utility>

namespace fw {

TFrameWindow::TFrameWindow(std::string caption, std::unique_ptr<TWindow> client) : client_(std::move(client)) {
    Attr().title = std::move(caption);
    Attr().style = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
    if (client_) client_->SetParent(this);
}

void TFrameWindow::SetIcon(Icon large, Icon small) noexcept {
    largeIcon_ = std::move(large);
    smallIcon_ = std::move(small);
    ApplyIcons();
}

void TFrameWindow::ApplyIcons() noexcept {
    if (!GetHandle()) return;
    SendMessageA(GetHandle(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(largeIcon_.Get()));
    SendMessageA(GetHandle(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon_.Get()));
}

void TFrameWindow::SetMenu(HMENU menu) noexcept {
    if (GetHandle())
        ::SetMenu(GetHandle(), menu);
    else
        Attr().idOrMenu = reinterpret_cast<UINT_PTR>(menu);
}

void TFrameWindow::SetInitialRect(int x, int y, int width, int height) noexcept {
    Attr().x = x;
    Attr().y = y;
    Attr().width = width;
    Attr().height = height;
}

bool TFrameWindow::CanClose() { return !client_ || client_->CanClose(); }

void TFrameWindow::SetupWindow() {
    ApplyIcons();
    if (client_) client_->Create();
    LayoutChildren();
}

void TFrameWindow::PlaceClient(const RECT& area) {
    if (client_ && client_->GetHandle())
        MoveWindow(client_->GetHandle(), area.left, area.top, area.right - area.left, area.bottom - area.top, TRUE);
}

void TFrameWindow::LayoutChildren() {
    RECT area{};
    GetClientRect(GetHandle(), &area);
    PlaceClient(area);
}

LRESULT TFrameWindow::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    TApplication* app = TApplication::Current();
    switch (msg) {
    case WM_SIZE: LayoutChildren(); return 0;
    case WM_ACTIVATE:
        if (LOWORD(wParam) == WA_INACTIVE) {
            HWND focus = GetFocus();
            lastFocus_ = focus && IsChild(GetHandle(), focus) ? focus : nullptr;
        }
        break;
    case WM_SETFOCUS:
        if (lastFocus_ && IsChild(GetHandle(), lastFocus_) && IsWindowEnabled(lastFocus_))
            SetFocus(lastFocus_);
        else if (client_ && client_->GetHandle())
            SetFocus(client_->GetHandle());
        return 0;
    case WM_CLOSE:
        if ((!app || app->GetMainWindow() != this || app->CanClose()) && CanClose()) DestroyWindow(GetHandle());
        return 0;
    case WM_COMMAND:
        // Menu and accelerator commands go to the client first, as the frame's own children do.
        if (lParam == 0 && client_ && client_->GetHandle())
            return SendMessageA(client_->GetHandle(), msg, wParam, lParam);
        break;
    case WM_DISPLAYCHANGE:
        if (app && app->GetMainWindow() == this) app->ForwardDisplayChange(wParam, lParam);
        break;
    case WM_DESTROY:
        TWindow::HandleMessage(msg, wParam, lParam);
        if (app && app->GetMainWindow() == this) PostQuitMessage(0);
        return 0;
    }
    return TWindow::HandleMessage(msg, wParam, lParam);
}

}  // namespace fw
