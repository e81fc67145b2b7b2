#include "options/TDispOptDlg.h"

#include "about/Help.h"
#include "model/DirInfo.h"
#include "options/TTipTextDlg.h"
#include "pie/TipParser.h"
#include "resource.h"

#include <iterator>
#include <optional>
#include <utility>

namespace options {
namespace {
constexpr const char* kHelpTopic = "::/setdlg.htm";

// The radio buttons of a choice, in the order of their values; a value none of them names shows as the last.
template <class Value>
struct Choice {
    Value value;
    int button;
};
// In the order of kOfferedColourMethods.
constexpr int kColourButtons[] = {IDC_SET_CLR_FIXED, IDC_SET_CLR_SIZE, IDC_SET_CLR_RAINBOW, IDC_SET_CLR_NAME,
                                  IDC_SET_CLR_TYPE};
static_assert(std::size(kColourButtons) == std::size(kOfferedColourMethods));
constexpr Choice<pie::SortOrder> kSortButtons[] = {
    {pie::kUnordered, IDC_SET_SORT_NONE},
    {pie::kByName, IDC_SET_SORT_NAME},
    {pie::kBySize, IDC_SET_SORT_SIZE},
};

template <class Value, std::size_t N>
int ButtonOf(const Choice<Value> (&choices)[N], Value value) {
    for (const auto& choice : choices)
        if (choice.value == value) return choice.button;
    return choices[N - 1].button;
}

// The value of the first ticked button; the last value when none is ticked.
template <class Value, std::size_t N>
Value Checked(HWND dialog, const Choice<Value> (&choices)[N]) {
    for (const auto& choice : choices)
        if (IsDlgButtonChecked(dialog, choice.button) == BST_CHECKED) return choice.value;
    return choices[N - 1].value;
}

constexpr const auto& kTransparency = config::SettingOf<&pie::PieViewSettings::tipTransparency>(pie::kPieViewSettings);

int EditOf(DispOptField field) {
    switch (field) {
    case DispOptField::kCentre: return IDC_SET_CENTRE;
    case DispOptField::kMinimumVisibleSize: return IDC_SET_MIN_VIS;
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

TDispOptDlg::TDispOptDlg(fw::TWindow* parent, DispOptData data, fw::Interaction ui, ColourChooser chooser)
    : TDialog(parent, IDD_SETTINGS), data_(std::move(data)), ui_(std::move(ui)), chooser_(std::move(chooser)),
      fixedButton_(this, chooser_), largestButton_(this, chooser_), smallestButton_(this, chooser_), slider_(this) {}

TDispOptDlg::~TDispOptDlg() = default;

void TDispOptDlg::SetupWindow() {
    TDialog::SetupWindow();
    HWND dialog = GetHandle();
    config::ClampSettings(pie::kPieViewSettings, data_.pie);

    slider_.AttachItem(dialog, IDC_SET_TRANSPARENCY);
    slider_.SetRange(kTransparency.range.low, kTransparency.range.high);
    slider_.SetTicFreq(64);
    slider_.SetPosition(data_.pie.tipTransparency);
    slider_.SetMoveHandler([this](int position) {
        if (preview_) preview_->SetTransparency(position);
    });

    for (const NumberEdit& edit : kNumberEdits)
        SetDlgItemInt(dialog, EditOf(edit.field), static_cast<UINT>(edit.setting.number(data_.pie)), TRUE);
    CheckDlgButton(dialog, IDC_SET_GUIDE_LINES, data_.pie.showGuideLines ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(dialog, IDC_SET_DIALOG_LOOK, data_.dialogLook ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(dialog, IDC_SET_GROUP_DIRS, data_.pie.groupFolders ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(dialog, IDC_SET_LARGE_TOOLBAR, data_.largeToolbar ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(dialog, IDC_SET_AUTOSCAN, data_.autoscan ? BST_CHECKED : BST_UNCHECKED);
    SendMessageA(Item(IDC_SET_AUTOSCAN_DIR), EM_LIMITTEXT, MAX_PATH, 0);
    SetItemText(IDC_SET_AUTOSCAN_DIR, data_.autoscanFolder);
    // A method without a button (Growth) ticks none, and OK keeps it.
    // The buttons' ids are not one range: CheckRadioButton would touch every control between them.
    if (const auto button = ColourButtonOf(data_.pie.colourMethod))
        CheckDlgButton(dialog, kColourButtons[*button], BST_CHECKED);
    CheckDlgButton(dialog, ButtonOf(kSortButtons, data_.pie.sortOrder), BST_CHECKED);

    RECT area{};
    GetWindowRect(Item(IDC_SET_PREVIEW), &area);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&area), 2);
    preview_ = std::make_unique<TTransPreview>(this, area, data_.pie.tipTransparency);
    preview_->Create();

    CheckDlgButton(dialog, IDC_SET_TIP_NAME, data_.pie.tipShowsName ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(dialog, IDC_SET_TIP_INFO, data_.pie.tipShowsInfo ? BST_CHECKED : BST_UNCHECKED);

    fixedButton_.Attach(dialog, IDC_SET_FIXED_CLR, data_.pie.fixedColour);
    largestButton_.Attach(dialog, IDC_SET_SIZE_CLR1, data_.pie.largestColour);
    smallestButton_.Attach(dialog, IDC_SET_SIZE_CLR2, data_.pie.smallestColour);
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
                       folders ? &pie::TipParser<model::DirInfo>::EditorTexts
                               : &pie::TipParser<model::FileInfo>::EditorTexts);
    if (editor.Execute() == IDOK) text = editor.Text();
}

bool TDispOptDlg::AcceptOk() {
    HWND dialog = GetHandle();
    const std::string centre = GetItemText(IDC_SET_CENTRE);
    const std::string minimumVisible = GetItemText(IDC_SET_MIN_VIS);
    const std::string delay = GetItemText(IDC_SET_RESIZE_DELAY);
    const std::string folder = GetItemText(IDC_SET_AUTOSCAN_DIR);
    const bool autoscan = IsDlgButtonChecked(dialog, IDC_SET_AUTOSCAN) == BST_CHECKED;
    const DispOptVerdict verdict = ValidateDispOpt({centre, minimumVisible, delay, autoscan, folder}, data_);
    if (!verdict.Ok()) {
        ui_.ShowMessage(dialog, verdict.message, "Range Error", MB_OK | MB_ICONSTOP);
        HWND edit = Item(EditOf(verdict.field));
        SendMessageA(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(edit), TRUE);
        SendMessageA(edit, EM_SETSEL, 0, -1);
        return false;
    }
    data_.pie.showGuideLines = IsDlgButtonChecked(dialog, IDC_SET_GUIDE_LINES) == BST_CHECKED;
    data_.dialogLook = IsDlgButtonChecked(dialog, IDC_SET_DIALOG_LOOK) == BST_CHECKED;
    data_.largeToolbar = IsDlgButtonChecked(dialog, IDC_SET_LARGE_TOOLBAR) == BST_CHECKED;
    std::optional<std::size_t> ticked;
    for (std::size_t i = 0; i < std::size(kColourButtons) && !ticked; ++i)
        if (IsDlgButtonChecked(dialog, kColourButtons[i]) == BST_CHECKED) ticked = i;
    data_.pie.colourMethod = ColourMethodOnOk(ticked, data_.pie.colourMethod);
    kTransparency.AssignClamped(data_.pie, slider_.GetPosition());
    data_.pie.groupFolders = IsDlgButtonChecked(dialog, IDC_SET_GROUP_DIRS) == BST_CHECKED;
    data_.pie.sortOrder = Checked(dialog, kSortButtons);
    data_.pie.tipShowsName = IsDlgButtonChecked(dialog, IDC_SET_TIP_NAME) == BST_CHECKED;
    data_.pie.tipShowsInfo = IsDlgButtonChecked(dialog, IDC_SET_TIP_INFO) == BST_CHECKED;
    return true;
}

bool TDispOptDlg::HandleCommand(int id, int notifyCode, HWND control) {
    switch (id) {
    case IDC_SET_AUTOSCAN:
    case IDC_SET_TIP_INFO: UpdateEnabling(); return true;
    case IDC_SET_EDIT_DIR_TIP: EditTip(data_.pie.folderTip, true); return true;
    case IDC_SET_EDIT_FILE_TIP: EditTip(data_.pie.fileTip, false); return true;
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

bool EditSettings(fw::TWindow* parent, DispOptData& data, const fw::Interaction& ui, ColourChooser chooser) {
    TDispOptDlg dialog(parent, data, ui, std::move(chooser));
    if (dialog.Execute() != IDOK) return false;
    data = dialog.Data();
    return true;
}

}  // namespace options
