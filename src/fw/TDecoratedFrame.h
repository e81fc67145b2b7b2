// A frame with bars: one top bar and any number of bottom bars, stacked around the client, and menu
// tracking: while a menu item (or drop-down) is highlighted, the string resource with its id is shown by
// ShowHint, and the hint is cleared when the menu closes.
#pragma once

#include "fw/TFrameWindow.h"

#include <string>
#include <vector>

namespace fw {

class TDecoratedFrame : public TFrameWindow {
public:
    using TFrameWindow::TFrameWindow;

    // Bars are created by the frame in its set-up; bottom bars are stacked upwards in insertion order.
    void InsertTopBar(TWindow* bar) { top_ = bar; }
    void InsertBottomBar(TWindow* bar) { bottom_.push_back(bar); }

    // The hint string of a command or drop-down id; empty when there is none.
    static std::string HintFor(UINT id);

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    void SetupWindow() override;
    void LayoutChildren() override;

    virtual void ShowHint(const std::string& text) = 0;

private:
    TWindow* top_ = nullptr;
    std::vector<TWindow*> bottom_;
};

}  // namespace fw
