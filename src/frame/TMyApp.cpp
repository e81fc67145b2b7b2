#include "frame/TMyApp.h"

#include "config/Config.h"
#include "frame/DebugMenu.h"
#include "frame/TMainFrame.h"
#include "resource.h"

namespace frame {
namespace {
// The client area until the folder view takes its place.
class TEmptyClient : public fw::TWindow {
protected:
    const char* ClassName() const override { return "KelvaranClient"; }
    void FillWindowClass(WNDCLASSEXA& wc) const override {
        TWindow::FillWindowClass(wc);
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    }
};
}  // namespace

TMyApp::TMyApp(std::string commandLinePath) : commandLinePath_(std::move(commandLinePath)) {}

void TMyApp::InitMainWindow() {
    HINSTANCE instance = GetModuleHandleA(nullptr);
    auto frame = std::make_unique<TMainFrame>(std::make_unique<TEmptyClient>());
    frame->SetIcon(
        fw::Icon(static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(IDI_APP), IMAGE_ICON, 0, 0, LR_DEFAULTSIZE))),
        fw::Icon(static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(IDI_APP), IMAGE_ICON, 16, 16, 0))));
    frame->SetMenu(LoadMenuA(instance, MAKEINTRESOURCEA(IDM_MAIN)));
    SetAccelerators(LoadAcceleratorsA(instance, MAKEINTRESOURCEA(IDA_MAIN)));
    SetMainWindow(std::move(frame));
    info::LoadSysDrivesDlgData(config::UserConfig(), sysDrivesData_);
}

bool TMyApp::CanClose() {
    config::UserConfig settings;
    info::SaveSysDrivesDlgData(settings, sysDrivesData_);
    return true;
}

void TMyApp::InitInstance() {
    HWND main = GetMainWindow()->GetHandle();
    if (RemoveDebugMenu(GetMenu(main))) DrawMenuBar(main);
}

}  // namespace frame
