#include "config/TDispOptDlg.h"

#include "about/Help.h"
#include "config/TTipTextDlg.h"
#include "model/DirInfo.h"
#include "pie/TipParser.h"
#include "resource.h"

#include <algorithm>

namespace config {
namespace {
constexpr const char* kHelpTopic = "::/setdlg.htm";

int ClrMethButton(int method) {
    switch (method) {
    case 0: return IDC_SET_CLR_FIXED;
    case 1: return IDC_SET_CLR_SIZE;
    case 2: return IDC_SET_CLR_RAINBOW;
    }
    return IDC_SET_CLR_NAME;
}

int SortButton(int order) {
    switch (order) {
    case 0: return IDC_SET_SORT_NONE;
    case 1: return IDC_SET_SORT_NAME;
    }
    return IDC_SET_SORT_SIZE;
}

int EditOf(DispOptField field) {
    switch (field) {
    case DispOptField::kCenterPercent: return IDC_SET_CENTER;
    case DispOptField::kMinVisSize: return IDC_SET_MIN_VIS;
    case DispOptField::kResizeDelay: return IDC_SET_RESIZE_DELAY;
    case DispOptField::kAutoscanFolder: return IDC_SET_AUTOSCAN_DIR;
    case DispOptField::kNone: break;
    }
    return 0;
}

// The push button among the dialog's children with this id (the id is shared with an edit).
HWND ButtonWithId(HWND dialog, int id) {
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        char name[16] = {};
        GetClassNameA(child, name, sizeof name);
        if (GetDlgCtrlID(child) == id && lstrcmpiA(name, "Button") == 0) return child;
    }
    return nullptr;
}
}  // namespace

TDispOptDlg::TDispOptDlg(fw::TWindow* parent, DispOptData data, fw::Interaction ui)
    : TDialog(parent, IDD_SETTINGS),
      data_(std::move(data)),
      ui_(std::move(ui)),
      fixedButton_(this),
      sizeButton1_(this),
      sizeButton2_(this),
      slider_(this) {}

TDispOptDlg::~TDispOptDlg() = default;

void TDispOptDlg::SetupWindow() {
    TDialog::SetupWindow();
    HWND dialog = GetHandle();
    data_.centerPercent = std::clamp(data_.centerPercent, 10, 90);
    data_.minVisSize = std::clamp(data_.minVisSize, 0, 100);
    data_.flyTransp = std::clamp(data_.flyTransp, 0, 255);

    slider_.AttachItem(dialog, IDC_SET_TRANSPARENCY);
    slider_.SetRange(0, 255);
    slider_.SetTicFreq(64);
    slider_.SetPosition(data_.flyTransp);
    slider_.SetMoveHandler([this](int position) {
        if (preview_) preview_->SetTransparency(position);
    });

    SetDlgItemInt(dialog, IDC_SET_CENTER, static_cast<UINT>(data_.centerPercent), TRUE);
    SetDlgItemInt(dialog, IDC_SET_MIN_VIS, static_cast<UINT>(data_.minVisSize), TRUE);
    SetDlgItemInt(dialog, IDC_SET_RESIZE_DELAY, static_cast<UINT>(data_.resizeDelay), TRUE);
    CheckDlgButton(dialog, IDC_SET_GUIDE_LINES, data_.showGuideLines ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(dialog, IDC_SET_DIALOG_LOOK, data_.dialogLook ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(dialog, IDC_SET_GROUP_DIRS, data_.groupDirs ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(dialog, IDC_SET_LARGE_TOOLBAR, data_.largeToolbar ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(dialog, IDC_SET_AUTOSCAN, data_.autoscan ? BST_CHECKED : BST_UNCHECKED);
    SendMessageA(Item(IDC_SET_AUTOSCAN_DIR), EM_LIMITTEXT, MAX_PATH, 0);
    SetItemText(IDC_SET_AUTOSCAN_DIR, data_.autoscanFolder);
    CheckRadioButton(dialog, IDC_SET_CLR_FIXED, IDC_SET_CLR_NAME, ClrMethButton(data_.clrMeth));
    CheckDlgButton(dialog, SortButton(data_.srtOrder), BST_CHECKED);

    RECT area{};
    GetWindowRect(Item(IDC_SET_PREVIEW), &area);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&area), 2);
    preview_ = std::make_unique<TTransPreview>(this, area, data_.flyTransp);
    preview_->Create();

    CheckDlgButton(dialog, IDC_SET_TIP_NAME, data_.tipShowName ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(dialog, IDC_SET_TIP_INFO, data_.tipShowInfo ? BST_CHECKED : BST_UNCHECKED);

    fixedButton_.Attach(dialog, IDC_SET_FIXED_CLR, data_.fixedClr);
    sizeButton1_.Attach(dialog, IDC_SET_SIZE_CLR1, data_.sizeClr1);
    sizeButton2_.Attach(dialog, IDC_SET_SIZE_CLR2, data_.sizeClr2);
    helpButton_ = ButtonWithId(dialog, IDC_SET_HELP);
    UpdateEnabling();
}

void TDispOptDlg::UpdateEnabling() {
    HWND dialog = GetHandle();
    EnableWindow(Item(IDC_SET_AUTOSCAN_DIR), IsDlgButtonChecked(dialog, IDC_SET_AUTOSCAN) == BST_CHECKED);
    const bool info = IsDlgButtonChecked(dialog, IDC_SET_TIP_INFO) == BST_CHECKED;
    EnableWindow(Item(IDC_SET_EDIT_DIR_TIP), info);
    EnableWindow(Item(IDC_SET_EDIT_FILE_TIP), info);
}

void TDispOptDlg::EditTip(std::string& text, bool folders) {
    TTipTextDlg editor(this, text,
                       folders ? &pie::TipParser<model::DirInfo>::EditorTexts : &pie::TipParser<model::FileInfo>::EditorTexts);
    if (editor.Execute() == IDOK) text = editor.Text();
}

bool TDispOptDlg::AcceptOk() {
    HWND dialog = GetHandle();
    const std::string center = GetItemText(IDC_SET_CENTER);
    const std::string minVis = GetItemText(IDC_SET_MIN_VIS);
    const std::string delay = GetItemText(IDC_SET_RESIZE_DELAY);
    const std::string folder = GetItemText(IDC_SET_AUTOSCAN_DIR);
    const bool autoscan = IsDlgButtonChecked(dialog, IDC_SET_AUTOSCAN) == BST_CHECKED;
    const DispOptVerdict verdict = ValidateDispOpt({center, minVis, delay, autoscan, folder}, data_);
    if (!verdict.Ok()) {
        ui_.ShowMessage(dialog, verdict.message, "Range Error", MB_OK | MB_ICONSTOP);
        HWND edit = Item(EditOf(verdict.field));
        SendMessageA(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(edit), TRUE);
        SendMessageA(edit, EM_SETSEL, 0, -1);
        return false;
    }
    data_.showGuideLines = IsDlgButtonChecked(dialog, IDC_SET_GUIDE_LINES) == BST_CHECKED;
    data_.dialogLook = IsDlgButtonChecked(dialog, IDC_SET_DIALOG_LOOK) == BST_CHECKED;
    data_.largeToolbar = IsDlgButtonChecked(dialog, IDC_SET_LARGE_TOOLBAR) == BST_CHECKED;
    data_.clrMeth = IsDlgButtonChecked(dialog, IDC_SET_CLR_FIXED)     ? 0
                    : IsDlgButtonChecked(dialog, IDC_SET_CLR_SIZE)    ? 1
                    : IsDlgButtonChecked(dialog, IDC_SET_CLR_RAINBOW) ? 2
                                                                      : 3;
    data_.flyTransp = std::clamp(slider_.GetPosition(), 0, 255);
    data_.groupDirs = IsDlgButtonChecked(dialog, IDC_SET_GROUP_DIRS) == BST_CHECKED;
    data_.srtOrder = IsDlgButtonChecked(dialog, IDC_SET_SORT_NONE)   ? 0
                     : IsDlgButtonChecked(dialog, IDC_SET_SORT_NAME) ? 1
                                                                     : 2;
    data_.tipShowName = IsDlgButtonChecked(dialog, IDC_SET_TIP_NAME) == BST_CHECKED;
    data_.tipShowInfo = IsDlgButtonChecked(dialog, IDC_SET_TIP_INFO) == BST_CHECKED;
    return true;
}

bool TDispOptDlg::HandleCommand(int id, int notifyCode, HWND control) {
    switch (id) {
    case IDC_SET_AUTOSCAN:
    case IDC_SET_TIP_INFO:
        UpdateEnabling();
        return true;
    case IDC_SET_EDIT_DIR_TIP:
        EditTip(data_.tipTextDir, true);
        return true;
    case IDC_SET_EDIT_FILE_TIP:
        EditTip(data_.tipTextFile, false);
        return true;
    case IDOK:
        if (AcceptOk()) CloseWindow(IDOK);
        return true;
    }
    // Id 101 is also the central disk size box, whose every change and focus comes here too.
    if (id == IDC_SET_HELP && control && control == helpButton_ && notifyCode == BN_CLICKED) {
        about::ShowHelp(*this, kHelpTopic, ui_);
        return true;
    }
    return TDialog::HandleCommand(id, notifyCode, control);
}

bool EditSettings(fw::TWindow* parent, DispOptData& data, const fw::Interaction& ui) {
    TDispOptDlg dialog(parent, data, ui);
    if (dialog.Execute() != IDOK) return false;
    data = dialog.Data();
    return true;
}

}  // namespace config
