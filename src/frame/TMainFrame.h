// The main window: a decorated frame with the main menu, whose bottom status line shows the hint of the
// highlighted menu item. Commands it does not answer itself go to its client.
#pragma once

#include "fw/TDecoratedFrame.h"
#include "fw/TStatusBar.h"

namespace frame {

class TMainFrame : public fw::TDecoratedFrame {
public:
    explicit TMainFrame(std::unique_ptr<fw::TWindow> client);

    fw::TStatusBar& StatusLine() noexcept { return statusLine_; }

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    void ShowHint(const std::string& text) override;

private:
    fw::TStatusBar statusLine_;
};

}  // namespace frame
