// The main window: a decorated frame with the main menu, the tool bar on top, the three status bars at
// the bottom (header, deep and shallow rows, top to bottom) and the main view (TDiskView) between them.
// While a menu item is highlighted its hint covers the shallow row. Tab and Shift+Tab go round the panes.
// Commands go to the view, which also enables and checks each drop-down as it opens. When the window moves to
// a monitor of another scale (WM_DPICHANGED) it takes the rectangle the system suggests and every part rebuilds
// its fonts, pictures and measures for the new DPI.
#pragma once

#include "frame/TDiskView.h"
#include "frame/TMyControlBar.h"
#include "frame/TMyStatusDeepData.h"
#include "frame/TMyStatusHeader.h"
#include "frame/TMyStatusShallowData.h"
#include "fw/TDecoratedFrame.h"

#include <memory>

namespace frame {

class TMainFrame : public fw::TDecoratedFrame {
public:
    TMainFrame(std::unique_ptr<TDiskView> view, bool largeButtons);

    TDiskView& View() noexcept { return *view_; }
    TMyControlBar& ControlBar() noexcept { return controlBar_; }
    TMyStatusData& DeepRow() noexcept { return deep_; }
    TMyStatusData& ShallowRow() noexcept { return shallow_; }

    // The keyboard focus to the next pane (previous when `backward`) of the folder tree, the pie, the path
    // box and the mode box, round; false when there is none to take it.
    bool MoveFocus(bool backward);

    // Normal or double-size buttons, at once.
    void SetLargeButtons(bool large);
    // Every part at `dpi`, and the bars arranged anew.
    void ApplyDpi(int dpi);

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    void SetupWindow() override;
    void ShowHint(const std::string& text) override;

private:
    TDiskView* view_;  // owned by the frame as its client
    TMyControlBar controlBar_;
    TMyStatusHeader header_;
    TMyStatusDeepData deep_;
    TMyStatusShallowData shallow_;
};

}  // namespace frame
