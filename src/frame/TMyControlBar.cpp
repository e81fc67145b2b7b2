#include "frame/TMyControlBar.h"

#include "fw/Handles.h"
#include "resource.h"

#include <stdexcept>

namespace frame {
namespace {
constexpr int kGlyphSize = 16;
constexpr int kPathBoxWidth = 200;
constexpr int kModeBoxWidth = 100;
constexpr const char* kModeNames[] = {"Logical Size", "Physical Size", "Wasted Space"};
}  // namespace

TMyControlBar::TMyControlBar(fw::TWindow* parent, bool largeButtons)
    : TControlBar(parent, IDC_CONTROL_BAR), firstDriveId_(CM_DRIVE_FIRST), firstModeId_(CM_MODE_BOX_FIRST),
      large_(largeButtons) {
    auto strip = BuildStrip(large_, Dpi());
    SetImages(std::move(strip.images), strip.width);
}

fw::ArtStrip TMyControlBar::BuildStrip(bool large, int dpi) {
    return fw::LoadArtStrip(IDB_TOOLBAR, kGlyphSize, dpi, large ? 2 : 1);
}

void TMyControlBar::ApplyDpi(int dpi) {
    SetDpi(dpi);
    auto strip = BuildStrip(large_, dpi);
    SetImages(std::move(strip.images), strip.width);
    if (pathBox_) pathBox_->SetImageList(fw::LoadArtStrip(IDB_DRIVES, kGlyphSize, dpi).images);
    LayoutBar();
    if (GetHandle())
        RedrawWindow(GetHandle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
}

fw::TGadgetComboBoxEx& TMyControlBar::AddPathBox() {
    auto& box =
        AddControl(std::make_unique<fw::TGadgetComboBoxEx>(this, IDC_PATH_BOX, kPathBoxWidth, 200), kPathBoxWidth, 200);
    box.SetImageList(fw::LoadArtStrip(IDB_DRIVES, kGlyphSize, Dpi()).images);
    SetPathBox(&box);
    return box;
}

void TMyControlBar::AddCommandButtons() {
    AddSeparator(kSeparatorWidth);
    AddButton(CM_BACK, 1);
    AddButton(CM_FORWARD, 2);
    AddButton(CM_PARENT, 3);
    AddSeparator(kSeparatorWidth);
    AddTextButton(CM_RESCAN, 4, "Rescan", 10, true);
    AddButton(CM_RESCAN_ALL, 5);
    AddSeparator(kSeparatorWidth);
    AddButton(CM_OPEN_FOLDER, 10);
    AddButton(CM_EXPLORE_FOLDER, 11);
    AddButton(CM_EXPLORE_FROM_HERE, 12);
    AddSeparator(kSeparatorWidth);
    AddButton(CM_OPEN_ITEM, 13);
    AddButton(CM_PROPERTIES, 14);
    AddButton(CM_DELETE, 15);
    AddSeparator(kSeparatorWidth);
    AddButton(CM_ANY_FOLDER, 7);
    AddSeparator(kSeparatorWidth);
    AddButton(CM_IMPORT, 8);
    AddButton(CM_EXPORT, 9);
    AddButton(CM_COMPARE, 6);
}

fw::TFlatComboBox& TMyControlBar::AddModeBox() {
    if (!GetHandle()) throw std::logic_error("TMyControlBar::AddModeBox() called before Create()");
    auto& box =
        AddControl(std::make_unique<fw::TFlatComboBox>(this, IDC_MODE_BOX, kModeBoxWidth, 100), kModeBoxWidth, 100);
    for (const char* name : kModeNames) box.AddString(name);
    box.SetSelIndex(0);
    SetModeBox(&box);
    return box;
}

void TMyControlBar::SetPathBox(fw::TGadgetComboBoxEx* box) {
    pathBox_ = box;
    if (box) box->SetNotifyHandler([this](int code) { OnPathBox(code); });
}

void TMyControlBar::SetModeBox(fw::TFlatComboBox* box) {
    modeBox_ = box;
    if (box) box->SetNotifyHandler([this](int code) { OnModeBox(code); });
}

void TMyControlBar::SetCommandIds(unsigned firstDriveId, unsigned firstModeId) noexcept {
    firstDriveId_ = firstDriveId;
    firstModeId_ = firstModeId;
}

void TMyControlBar::AddDrive(const std::string& displayText, int driveType) {
    if (pathBox_) pathBox_->AddItem(displayText, DriveImageIndex(driveType));
}

void TMyControlBar::SelectMode(int index) {
    if (modeBox_ && index >= 0 && index < modeBox_->Count()) modeBox_->SetSelIndex(index);
}

bool TMyControlBar::SetLargeButtons(bool large) {
    if (large == large_) return false;
    large_ = large;
    auto strip = BuildStrip(large_, Dpi());
    SetImages(std::move(strip.images), strip.width);
    LayoutBar();
    if (GetHandle())
        RedrawWindow(GetHandle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
    return true;
}

void TMyControlBar::Post(unsigned command) const {
    if (HWND target = CommandTarget()) PostMessageA(target, WM_COMMAND, MAKEWPARAM(command, 0), 0);
}

void TMyControlBar::OnPathBox(int notifyCode) {
    switch (notifyCode) {
    case CBN_DROPDOWN: pathChoice_.DroppedDown(); break;
    case CBN_SELCHANGE:
    case CBN_SELENDOK: pathChoice_.SelectionMoved(); break;
    case CBN_CLOSEUP:
        if (auto command = pathChoice_.ClosedUp(pathBox_->GetSelIndex(), firstDriveId_)) Post(*command);
        break;
    }
}

void TMyControlBar::OnModeBox(int notifyCode) {
    if (notifyCode != CBN_SELCHANGE) return;
    if (auto command = ModeCommand(modeBox_->GetSelIndex(), firstModeId_)) Post(*command);
}

void TMyControlBar::PaintEtchedLines() const {
    HWND bar = GetHandle();
    HDC dc = GetWindowDC(bar);
    if (!dc) return;
    RECT window{};
    GetWindowRect(bar, &window);
    const int width = window.right - window.left, height = window.bottom - window.top;
    // The margins are wider than the two lines at a higher DPI: the rest of them is the bar's face.
    const int margin = ScaledMargin();
    const RECT top{0, 0, width, margin}, bottom{0, height - margin, width, height};
    FillRect(dc, &top, GetSysColorBrush(COLOR_BTNFACE));
    FillRect(dc, &bottom, GetSysColorBrush(COLOR_BTNFACE));
    fw::Pen shadow(CreatePen(PS_SOLID, 1, GetSysColor(COLOR_BTNSHADOW)));
    fw::Pen light(CreatePen(PS_SOLID, 1, GetSysColor(COLOR_BTNHIGHLIGHT)));
    {
        fw::SelectGuard pen(dc, shadow.Get());
        MoveToEx(dc, 0, 0, nullptr);
        LineTo(dc, width, 0);
        MoveToEx(dc, 0, height - 2, nullptr);
        LineTo(dc, width, height - 2);
    }
    {
        fw::SelectGuard pen(dc, light.Get());
        MoveToEx(dc, 0, 1, nullptr);
        LineTo(dc, width, 1);
        MoveToEx(dc, 0, height - 1, nullptr);
        LineTo(dc, width, height - 1);
    }
    ReleaseDC(bar, dc);
}

LRESULT TMyControlBar::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_NCPAINT) {
        const LRESULT result = TControlBar::HandleMessage(msg, wParam, lParam);
        PaintEtchedLines();
        return result;
    }
    return TControlBar::HandleMessage(msg, wParam, lParam);
}

}  // namespace frame
