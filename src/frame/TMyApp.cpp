#include "frame/TMyApp.h"

#include "config/Config.h"
#include "frame/DebugMenu.h"
#include "frame/TMainFrame.h"
#include "info/InfoCommands.h"
#include "resource.h"

namespace frame {
namespace {
// The client area until the folder view takes its place. It answers the questions about the tree over
// an empty one, so the information commands work before there is anything to scan.
class TEmptyClient : public fw::TWindow, public info::TreeSource {
public:
    const model::DirInfo& Root() const override { return root_; }
    std::uint32_t ClusterSize() const override { return clusterSize_; }
    std::string CurrentPath() const override { return root_.name + "\\"; }
    bool NavigateTo(const std::string&, bool) override { return true; }
    void SetClusterSize(std::uint32_t clusterSize) override {
        clusterSize_ = clusterSize;
        model::RecomputeTotals(root_, clusterSize_);
    }
    void SetLogicalMode() override {}

protected:
    const char* ClassName() const override { return "KelvaranClient"; }
    void FillWindowClass(WNDCLASSEXA& wc) const override {
        TWindow::FillWindowClass(wc);
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    }
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override {
        if (msg == WM_COMMAND && lParam == 0) {
            switch (LOWORD(wParam)) {
            case CM_STATISTICS: info::ShowStatistics(this, *this); return 0;
            case CM_HISTOGRAM: info::OpenSizeHistogram(this, *this); return 0;
            case CM_CLUSTER_INFO: info::ShowClusterInfo(this, *this); return 0;
            case CM_FORCE_CLUSTER_SIZE: info::ForceClusterSize(this, *this); return 0;
            }
        }
        return TWindow::HandleMessage(msg, wParam, lParam);
    }

private:
    model::DirInfo root_{"C:"};
    std::uint32_t clusterSize_ = 0;
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
    const config::UserConfig settings;
    info::LoadDialogData(settings);
    info::LoadSysDrivesDlgData(settings, sysDrivesData_);
}

bool TMyApp::CanClose() {
    config::UserConfig settings;
    info::SaveDialogData(settings);
    info::SaveSysDrivesDlgData(settings, sysDrivesData_);
    return true;
}

void TMyApp::InitInstance() {
    HWND main = GetMainWindow()->GetHandle();
    if (RemoveDebugMenu(GetMenu(main))) DrawMenuBar(main);
}

}  // namespace frame
