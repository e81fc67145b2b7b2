#include "frame/TMainFrame.h"

#include "about/Help.h"
#include "about/TAboutDlg.h"
#include "frame/TMyApp.h"
#include "info/TSysDrivesInfoDlg.h"
#include "resource.h"

namespace frame {

TMainFrame::TMainFrame(std::unique_ptr<fw::TWindow> client)
    : TDecoratedFrame("Kelvaran", std::move(client)), statusLine_(this, true, IDC_STATUS_LINE) {
    InsertBottomBar(&statusLine_);
}

void TMainFrame::ShowHint(const std::string& text) {
    if (statusLine_.GetHandle()) statusLine_.SetText(text);
}

LRESULT TMainFrame::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_COMMAND && lParam == 0 && LOWORD(wParam) == CM_EXIT) {
        PostMessageA(GetHandle(), WM_CLOSE, 0, 0);
        return 0;
    }
    if (msg == WM_COMMAND && lParam == 0 && LOWORD(wParam) == CM_SYSTEM_DRIVES) {
        if (auto* app = dynamic_cast<TMyApp*>(fw::TApplication::Current()))
            info::ShowSystemDrivesInfo(*this, app->SysDrivesData());
        return 0;
    }
    if (msg == WM_COMMAND && lParam == 0 && LOWORD(wParam) == CM_ABOUT) {
        about::ShowAbout(*this);
        return 0;
    }
    if (msg == WM_COMMAND && lParam == 0 && LOWORD(wParam) == CM_HELP_TOPICS) {
        about::ShowHelp(*this, "");
        return 0;
    }
    return TDecoratedFrame::HandleMessage(msg, wParam, lParam);
}

}  // namespace frame
