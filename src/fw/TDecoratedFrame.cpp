#include "fw/TDecoratedFrame.h"

namespace fw {
namespace {
int HeightOf(HWND wnd) {
    RECT r{};
    GetWindowRect(wnd, &r);
    return r.bottom - r.top;
}
}  // namespace

std::string TDecoratedFrame::HintFor(UINT id) {
    char text[256] = {};
    int length = LoadStringA(GetModuleHandleA(nullptr), id, text, sizeof text);
    return std::string(text, length > 0 ? length : 0);
}

void TDecoratedFrame::SetupWindow() {
    if (top_) top_->Create();
    for (TWindow* bar : bottom_) bar->Create();
    TFrameWindow::SetupWindow();
}

void TDecoratedFrame::LayoutChildren() {
    RECT area{};
    GetClientRect(GetHandle(), &area);
    const int width = area.right - area.left;
    if (top_ && top_->GetHandle()) {
        HWND bar = top_->GetHandle();
        SendMessageA(bar, WM_SIZE, 0, 0);  // self-sizing bars (tool and status bars) fit their height now
        const int height = HeightOf(bar);
        MoveWindow(bar, area.left, area.top, width, height, TRUE);
        area.top += height;
    }
    for (TWindow* bottom : bottom_) {
        if (!bottom->GetHandle()) continue;
        HWND bar = bottom->GetHandle();
        SendMessageA(bar, WM_SIZE, 0, 0);
        const int height = HeightOf(bar);
        area.bottom -= height;
        MoveWindow(bar, area.left, area.bottom, width, height, TRUE);
    }
    if (area.bottom < area.top) area.bottom = area.top;
    PlaceClient(area);
}

LRESULT TDecoratedFrame::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_MENUSELECT: {
        const UINT flags = HIWORD(wParam);
        HMENU menu = reinterpret_cast<HMENU>(lParam);
        if (flags == 0xFFFF && !menu) {
            ShowHint("");
            return 0;
        }
        UINT id = LOWORD(wParam);
        if (flags & MF_POPUP) {  // the item is a drop-down: its id comes from the item, by position
            MENUITEMINFOA info{sizeof info};
            info.fMask = MIIM_ID;
            id = GetMenuItemInfoA(menu, LOWORD(wParam), TRUE, &info) ? info.wID : 0;
        }
        ShowHint((flags & MF_SEPARATOR) || id == 0 ? std::string() : HintFor(id));
        return 0;
    }
    case WM_EXITMENULOOP: ShowHint(""); break;
    }
    return TFrameWindow::HandleMessage(msg, wParam, lParam);
}

}  // namespace fw
