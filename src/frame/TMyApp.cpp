#include "frame/TMyApp.h"

#include "config/Config.h"
#include "frame/DebugMenu.h"
#include "frame/TMainFrame.h"
#include "frame/WindowState.h"
#include "fw/Dpi.h"
#include "fw/DpiScale.h"
#include "fw/WinRect.h"
#include "info/DialogData.h"
#include "resource.h"
#include "scan/LogDrives.h"

#include <vector>

namespace frame {
namespace {
BOOL CALLBACK AddWorkArea(HMONITOR monitor, HDC, LPRECT, LPARAM areas) {
    MONITORINFO info{sizeof info};
    if (GetMonitorInfoA(monitor, &info))
        reinterpret_cast<std::vector<fw::Rect>*>(areas)->push_back(fw::FromRECT(info.rcWork));
    return TRUE;
}

// The remembered rectangle where it was, on whichever monitor, unless no monitor shows its title bar.
fw::Rect PlaceOnMonitors(const fw::Rect& rect) {
    std::vector<fw::Rect> areas;
    EnumDisplayMonitors(nullptr, nullptr, &AddWorkArea, reinterpret_cast<LPARAM>(&areas));
    const RECT r = fw::ToRECT(rect);
    MONITORINFO nearest{sizeof nearest};
    if (!GetMonitorInfoA(MonitorFromRect(&r, MONITOR_DEFAULTTONEAREST), &nearest)) return rect;
    return PlaceRememberedRect(rect, areas, fw::FromRECT(nearest.rcWork), GetSystemMetrics(SM_CYCAPTION));
}
}  // namespace

TMyApp::TMyApp(std::string commandLinePath, fw::Interaction ui, model::DataFileReadAhead* startupFile)
    : commandLinePath_(std::move(commandLinePath)), ui_(std::move(ui)), startupFile_(startupFile) {}

TMainFrame& TMyApp::Frame() const { return *static_cast<TMainFrame*>(GetMainWindow()); }

void TMyApp::InitMainWindow() {
    HINSTANCE instance = GetModuleHandleA(nullptr);
    const config::UserConfig settings;
    largeToolbar_ = settings.ReadFlag("LargeToolbar", false);
    auto view = std::make_unique<TDiskView>(ui_);
    view->SetStartupFile(startupFile_);
    view->SetToolbarSize({[this] { return largeToolbar_; }, [this](bool large) { SetLargeToolbar(large); }});
    info::LoadInfoDialogData(settings, view->DialogData());
    auto frame = std::make_unique<TMainFrame>(std::move(view), largeToolbar_);
    frame->SetIcon(
        fw::Icon(static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(IDI_APP), IMAGE_ICON, 0, 0, LR_DEFAULTSIZE))),
        fw::Icon(static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(IDI_APP), IMAGE_ICON,
                                               fw::MetricForDpi(SM_CXSMICON, fw::SystemDpi()),
                                               fw::MetricForDpi(SM_CYSMICON, fw::SystemDpi()), 0))));
    frame->SetMenu(LoadMenuA(instance, MAKEINTRESOURCEA(IDM_MAIN)));
    SetAccelerators(LoadAcceleratorsA(instance, MAKEINTRESOURCEA(IDA_MAIN)));
    if (const auto state = ParseWindowState(settings.ReadString("MainWndState", ""))) {
        if (state->maximised) SetShowCommand(SW_SHOWMAXIMIZED);
        // Remembered in 96-DPI units; the window opens at the system's scale.
        const fw::Rect rect = PlaceOnMonitors(fw::RectFrom96(state->rect, fw::SystemDpi()));
        frame->SetInitialRect(rect.left, rect.top, rect.Width(), rect.Height());
    }
    SetMainWindow(std::move(frame));
}

void TMyApp::ListDrives() {
    const scan::LogDrives drives;
    HWND main = Frame().GetHandle();
    if (drives.Count() == 0) {
        ui_.ShowMessage(main, "No logical drives found!", "Error", MB_OK | MB_ICONSTOP);
        PostQuitMessage(0);
    }
    TMyControlBar& bar = Frame().ControlBar();
    HMENU rootMenu = GetSubMenu(GetMenu(main), 0);
    for (int i = 0; i < drives.Count(); ++i) {
        bar.AddDrive(drives.DisplayTextAt(i), drives.TypeAt(i));
        InsertMenuA(rootMenu, static_cast<UINT>(i), MF_BYPOSITION | MF_STRING, CM_DRIVE_FIRST + i,
                    drives.DisplayTextAt(i).c_str());
    }
    if (bar.PathBox()) bar.PathBox()->SetSelIndex(-1);
    DrawMenuBar(main);
    bar.AddModeBox();
    bar.SetCommandIds(CM_DRIVE_FIRST, CM_MODE_BOX_FIRST);
    bar.SelectMode(0);
    Frame().View().SetDrives(drives, &bar);
}

void TMyApp::InitInstance() {
    HWND main = Frame().GetHandle();
    if (RemoveDebugMenu(GetMenu(main))) DrawMenuBar(main);
    ListDrives();
    Frame().View().RunStartupTarget(commandLinePath_);
}

bool TMyApp::PreTranslateMessage(MSG& msg) {
    if (msg.message != WM_KEYDOWN || msg.wParam != VK_TAB || !GetMainWindow()) return false;
    if (GetKeyState(VK_CONTROL) < 0 || GetKeyState(VK_MENU) < 0) return false;
    HWND main = Frame().GetHandle();
    if (!main || (msg.hwnd != main && !IsChild(main, msg.hwnd))) return false;
    return Frame().MoveFocus(GetKeyState(VK_SHIFT) < 0);
}

void TMyApp::SetLargeToolbar(bool large) {
    largeToolbar_ = large;
    if (GetMainWindow()) Frame().SetLargeButtons(large);
}

bool TMyApp::CanClose() {
    config::UserConfig settings;
    WINDOWPLACEMENT placement{sizeof placement};
    RECT area{};
    if (GetWindowPlacement(Frame().GetHandle(), &placement) && SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0)) {
        // The restored rectangle comes in work-area coordinates.
        const RECT& r = placement.rcNormalPosition;
        const fw::Rect screen{r.left + area.left, r.top + area.top, r.right + area.left, r.bottom + area.top};
        const WindowState state{fw::RectTo96(screen, fw::WindowDpi(Frame().GetHandle())),
                                placement.showCmd == SW_SHOWMAXIMIZED};
        settings.WriteString("MainWndState", FormatWindowState(state));
    }
    settings.WriteFlag("LargeToolbar", largeToolbar_);
    info::SaveInfoDialogData(settings, Frame().View().DialogData());
    return true;
}

}  // namespace frame
