#include "frame/TMainFrame.h"

#include "frame/TTreeStruct.h"
#include "pie/TPieView.h"

#include <array>

namespace frame {

TMainFrame::TMainFrame(std::unique_ptr<TDiskView> view, bool largeButtons)
    : TDecoratedFrame("Kelvaran", std::move(view)), view_(static_cast<TDiskView*>(GetClient())),
      controlBar_(this, largeButtons), header_(this), deep_(this), shallow_(this) {
    controlBar_.AddPathBox();
    controlBar_.AddCommandButtons();
    InsertTopBar(&controlBar_);
    // Bottom bars stack upwards in insertion order: header, deep, shallow read from top to bottom.
    InsertBottomBar(&shallow_);
    InsertBottomBar(&deep_);
    InsertBottomBar(&header_);
    view_->SetStatusBars(&deep_, &shallow_);
}

void TMainFrame::SetupWindow() {
    TDecoratedFrame::SetupWindow();
    controlBar_.SetCommandTarget(GetHandle());
}

bool TMainFrame::MoveFocus(bool backward) {
    const auto handle = [](const auto* window) -> HWND { return window ? window->GetHandle() : nullptr; };
    const std::array<HWND, 4> panes{handle(view_->Tree()), handle(view_->Pie()), handle(controlBar_.PathBox()),
                                    handle(controlBar_.ModeBox())};
    const int count = static_cast<int>(panes.size());
    HWND focus = GetFocus();
    int current = -1;
    for (int i = 0; i < count && current < 0; ++i)
        if (panes[i] && (focus == panes[i] || IsChild(panes[i], focus))) current = i;
    if (current < 0) current = backward ? 0 : count - 1;
    for (int step = 1; step <= count; ++step) {
        HWND next = panes[static_cast<std::size_t>((current + (backward ? count - step : step)) % count)];
        if (next && IsWindowVisible(next) && IsWindowEnabled(next)) {
            SetFocus(next);
            return true;
        }
    }
    return false;
}

void TMainFrame::ApplyDpi(int dpi) {
    controlBar_.ApplyDpi(dpi);
    header_.SetDpi(dpi);
    deep_.SetDpi(dpi);
    shallow_.SetDpi(dpi);
    view_->ApplyDpi(dpi);
    LayoutChildren();
}

void TMainFrame::SetLargeButtons(bool large) {
    if (controlBar_.SetLargeButtons(large)) LayoutChildren();
}

void TMainFrame::ShowHint(const std::string& text) { shallow_.SetSimpleText(text); }

LRESULT TMainFrame::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_INITMENUPOPUP && !HIWORD(lParam)) {
        view_->UpdateMenu(reinterpret_cast<HMENU>(wParam));
        return 0;
    }
    if (msg == WM_DPICHANGED) {
        const auto* suggested = reinterpret_cast<const RECT*>(lParam);
        if (suggested)
            SetWindowPos(GetHandle(), nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                         suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
        ApplyDpi(HIWORD(wParam));
        return 0;
    }
    return TDecoratedFrame::HandleMessage(msg, wParam, lParam);
}

}  // namespace frame
