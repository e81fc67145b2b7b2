// A top-level frame with one client window that fills it. Closing asks the application's close query,
// then the frame's (which asks the client); destroying the main frame ends the message loop. The pane that
// had the keyboard focus gets it back when the frame is active again (after a message box, say).
#pragma once

#include "fw/Handles.h"
#include "fw/TWindow.h"

#include <memory>

namespace fw {

class TFrameWindow : public TWindow {
public:
    TFrameWindow(std::string caption, std::unique_ptr<TWindow> client);

    TWindow* GetClient() const noexcept { return client_.get(); }
    bool CanClose() override;

    // The frame keeps the icons for its lifetime.
    void SetIcon(Icon large, Icon small) noexcept;
    void SetMenu(HMENU menu) noexcept;
    // Position and size of the window when it is created (screen coordinates).
    void SetInitialRect(int x, int y, int width, int height) noexcept;

protected:
    const char* ClassName() const override { return "KelvaranFrame"; }
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    void SetupWindow() override;

    // Places the client; decorated frames shrink the rectangle for their bars first.
    virtual void LayoutChildren();
    void PlaceClient(const RECT& area);

private:
    void ApplyIcons() noexcept;

    std::unique_ptr<TWindow> client_;
    HWND lastFocus_ = nullptr;  // a descendant, when the frame was last deactivated
    Icon largeIcon_;
    Icon smallIcon_;
};

}  // namespace fw
