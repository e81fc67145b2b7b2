#include "frame/TMainFrame.h"

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
