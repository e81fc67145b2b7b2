// The base of dialogs the user can resize: child controls follow the right and bottom edges or stretch
// as the derived dialog anchors them, a size grip sits in the lower right corner, and the dialog cannot
// be made smaller than it was when it was set up.
//
// A derived dialog's template has a sizing border (WS_THICKFRAME). Its SetupWindow calls
// TStretchDlg::SetupWindow first, then SetControlAnchor for each control that must move:
//
//   void TMyDlg::SetupWindow() {
//       TStretchDlg::SetupWindow();
//       SetControlAnchor(IDC_LIST, info::kAnchorStretch, info::kAnchorStretch);
//       SetControlAnchor(IDOK, info::kAnchorFar, info::kAnchorFar);
//   }
#pragma once

#include "fw/TDialog.h"
#include "fw/TLayout.h"
#include "info/StretchAnchors.h"

namespace info {

class TStretchDlg : public fw::TDialog {
public:
    TStretchDlg(fw::TWindow* parent, int templateId);

    // False, with nothing changed, when the control is not a child of this dialog or a mode is not 0..2.
    bool SetControlAnchor(HWND control, int horizontal, int vertical);
    bool SetControlAnchor(int id, int horizontal, int vertical) {
        return SetControlAnchor(Item(id), horizontal, vertical);
    }

    void ShowSizeGrip(bool show);
    bool IsGripEnabled() const noexcept { return gripEnabled_; }
    bool IsGripShown() const noexcept { return gripShown_; }
    fw::Rect GetGripRect() const noexcept { return grip_; }

    // The smallest outer size the user can drag the dialog to; the size at set-up unless changed.
    SIZE GetMinimumSize() const noexcept { return minimum_; }
    void SetMinimumSize(SIZE size) noexcept { minimum_ = size; }

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    void SetupWindow() override;

private:
    void UpdateGripRect() noexcept;
    void InvalidateGrip() const noexcept;
    void OnSize(WPARAM kind);
    bool InsideOfMaximized() const noexcept;

    fw::TLayout layout_;
    SIZE minimum_{0, 0};
    fw::Rect grip_;
    bool gripEnabled_ = true;
    bool gripShown_ = true;
    bool invalidateAtSetup_ = true;
};

}  // namespace info
