#include "info/TStatisticsDlg.h"

#include "about/Help.h"
#include "fw/Clipboard.h"
#include "fw/Handles.h"
#include "info/DialogPlacement.h"
#include "resource.h"

namespace info {

TStatisticsDlg::TStatisticsDlg(fw::TWindow* parent, TreeSource& source, StatsChoices& remembered, fw::Interaction ui)
    : TStretchDlg(parent, IDD_STATISTICS), source_(source), remembered_(remembered), ui_(std::move(ui)),
      query_(remembered.query), recurse_(remembered.recurse), maxItems_(remembered.maxItems),
      absolute_(remembered.absolutePaths) {}

TStatisticsDlg::~TStatisticsDlg() {
    remembered_.recurse = recurse_;
    remembered_.maxItems = maxItems_;
    remembered_.absolutePaths = absolute_;
}

bool TStatisticsDlg::IsChecked(int id) const noexcept {
    return SendMessageA(Item(id), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void TStatisticsDlg::SetupWindow() {
    TStretchDlg::SetupWindow();
    list_.AttachItem(GetHandle(), IDC_STATS_LIST);
    list_.SetExtendedStyle(LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
    HWND queries = Item(IDC_STATS_QUERY);
    // The dialog is modal: no comparison starts or ends while it is open.
    const int offered = OfferedQueryCount(source_.Comparison() != nullptr);
    for (int query = 0; query < offered; ++query)
        SendMessageA(queries, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(QueryText(query)));
    if (query_ >= 0 && query_ < offered) SendMessageA(queries, CB_SETCURSEL, static_cast<WPARAM>(query_), 0);

    // Transparent, so that the group box does not paint over the controls inside it while resizing.
    HWND scope = Item(IDC_STATS_SCOPE);
    SetWindowLongPtrA(scope, GWL_EXSTYLE, GetWindowLongPtrA(scope, GWL_EXSTYLE) | WS_EX_TRANSPARENT);

    for (int id : {IDC_STATS_QUERY, IDC_STATS_FOLDER, IDC_STATS_SCOPE})
        SetControlAnchor(id, kAnchorStretch, kAnchorStay);
    for (int id : {IDOK, IDCANCEL, IDC_STATS_HELP}) SetControlAnchor(id, kAnchorFar, kAnchorStay);
    SetControlAnchor(IDC_STATS_LIST, kAnchorStretch, kAnchorStretch);
    SetControlAnchor(IDC_STATS_ABSOLUTE, kAnchorStay, kAnchorFar);
    SetControlAnchor(IDC_STATS_COPY, kAnchorFar, kAnchorFar);

    SetItemText(IDC_STATS_FOLDER, source_.CurrentPath());
    CheckRadioButton(GetHandle(), IDC_STATS_ROOT, IDC_STATS_SELECTED, IDC_STATS_SELECTED);
    CheckDlgButton(GetHandle(), IDC_STATS_RECURSE, recurse_ ? BST_CHECKED : BST_UNCHECKED);
    SetDlgItemInt(GetHandle(), IDC_STATS_MAX_ITEMS, static_cast<UINT>(maxItems_), FALSE);
    CheckDlgButton(GetHandle(), IDC_STATS_ABSOLUTE, absolute_ ? BST_CHECKED : BST_UNCHECKED);

    list_.InsertColumn(0, "Name", 300, LVCFMT_LEFT);
    list_.InsertColumn(1, "Value", 120, LVCFMT_RIGHT);
    list_.SetTextSource([this](int row, int column) { return CellText(row, column); });
    list_.onSelectionChanged = [this] { UpdateCopyButton(); };
    list_.onDoubleClick = [this](int row) { NavigateToRow(row); };
    list_.onRightClick = [this](int row, POINT screen) { ShowRowMenu(row, screen); };
    list_.onKeyDown = [this](WORD key) { OnListKey(key); };
    if (!trackMenu_)
        trackMenu_ = [this](HMENU menu, POINT screen) {
            return static_cast<UINT>(TrackPopupMenu(menu, TPM_RIGHTBUTTON | TPM_RETURNCMD | TPM_NONOTIFY, screen.x,
                                                    screen.y, 0, GetHandle(), nullptr));
        };
    UpdateCopyButton();

    PlaceAtRemembered(GetHandle(), remembered_.rect);
    source_.Watch(*this);
}

void TStatisticsDlg::CleanupWindow() {
    source_.Unwatch(*this);
    list_.SetRedraw(false);
    list_.SetItemCount(0);
    results_ = {};
    remembered_.rect = RectToRemember(GetHandle());
    remembered_.query = query_;
    TStretchDlg::CleanupWindow();
}

std::string TStatisticsDlg::CellText(int row, int column) const {
    if (row < 0 || static_cast<std::size_t>(row) >= results_.Count()) return {};
    if (column == 0) return results_.Path(static_cast<std::size_t>(row), absolute_);
    return results_.Value(static_cast<std::size_t>(row));
}

void TStatisticsDlg::Fail(StatsProblem problem, int focus) {
    ui_.ShowMessage(GetHandle(), ProblemText(problem), "Error", MB_OK | MB_ICONERROR);
    if (focus) SetFocus(Item(focus));
}

void TStatisticsDlg::Find() {
    StatsForm form;
    form.maxItems = GetItemText(IDC_STATS_MAX_ITEMS);
    form.recurse = IsChecked(IDC_STATS_RECURSE);
    form.rootScope = IsChecked(IDC_STATS_ROOT);
    form.folder = GetItemText(IDC_STATS_FOLDER);
    form.query = static_cast<int>(SendMessageA(Item(IDC_STATS_QUERY), CB_GETCURSEL, 0, 0));
    const std::uint32_t clusterSize = source_.ClusterSize();
    const StatsPlan plan = PlanQuery(form, source_.Root(), clusterSize, source_.Comparison());
    if (plan.problem == StatsProblem::kMaxItems) return Fail(plan.problem, IDC_STATS_MAX_ITEMS);
    maxItems_ = plan.maxItems;
    recurse_ = plan.recurse;
    // More than the list can count is taken as the most it can; the box shows what is used.
    if (plan.maxItemsClamped) SetDlgItemInt(GetHandle(), IDC_STATS_MAX_ITEMS, static_cast<UINT>(maxItems_), FALSE);
    if (plan.problem == StatsProblem::kFolder) return Fail(plan.problem, 0);
    query_ = plan.query;
    if (plan.problem != StatsProblem::kNone) return Fail(plan.problem, IDC_STATS_QUERY);
    HCURSOR previous = SetCursor(LoadCursor(nullptr, IDC_WAIT));
    Show(RunQuery(plan, clusterSize, &source_.Root(), source_.Comparison()));
    SetCursor(previous);
    lastForm_ = form;
}

void TStatisticsDlg::TreeReplaced() { Show({}); }

void TStatisticsDlg::ActOnSelection(int command) {
    std::vector<std::string> paths;
    for (int row : list_.SelectedRows())
        if (row >= 0 && static_cast<std::size_t>(row) < results_.rows.size())
            paths.push_back(results_.Path(static_cast<std::size_t>(row), true));
    if (paths.empty()) return;
    const bool hadRows = !results_.rows.empty();
    source_.ActOnItems(command, paths);
    // Rows went with records: the same query over what is left, quietly dropped when it no longer fits.
    if (hadRows && results_.rows.empty() && lastForm_) {
        const StatsPlan plan = PlanQuery(*lastForm_, source_.Root(), source_.ClusterSize());
        if (plan.problem == StatsProblem::kNone) Show(RunQuery(plan, source_.ClusterSize()));
    }
}

void TStatisticsDlg::ShowRowMenu(int row, POINT screen) {
    if (row < 0 || list_.SelectedCount() == 0) return;
    fw::Menu menu(LoadMenuA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDM_ITEM_CONTEXT)));
    HMENU popup = menu ? GetSubMenu(menu.Get(), 0) : nullptr;
    if (!popup) return;
    if (const UINT chosen = trackMenu_(popup, screen)) ActOnSelection(static_cast<int>(chosen));
}

void TStatisticsDlg::OnListKey(WORD key) {
    if (key == VK_DELETE) ActOnSelection(GetKeyState(VK_SHIFT) < 0 ? CM_DELETE_PERMANENTLY : CM_DELETE);
}

void TStatisticsDlg::Show(StatResults results) {
    list_.SetRedraw(false);
    list_.SetItemCount(0);
    results_ = std::move(results);
    list_.SetItemCount(static_cast<int>(results_.Count()));
    list_.SetRedraw(true);
    UpdateCopyButton();
}

void TStatisticsDlg::UpdateCopyButton() noexcept { EnableWindow(Item(IDC_STATS_COPY), list_.SelectedCount() > 0); }

void TStatisticsDlg::CopySelection() {
    const std::vector<int> selected = list_.SelectedRows();
    if (selected.empty()) return;
    const std::string text =
        SelectionText(results_, std::vector<std::size_t>(selected.begin(), selected.end()), absolute_);
    HWND owner = GetParent() && GetParent()->GetHandle() ? GetParent()->GetHandle() : GetHandle();
    if (!fw::CopyTextToClipboard(owner, text))
        ui_.ShowMessage(GetHandle(), "Could not set data", "Error", MB_OK | MB_ICONERROR);
}

void TStatisticsDlg::NavigateToRow(int row) {
    MessageBeep(MB_OK);
    if (row < 0 || !results_.IsPlace(static_cast<std::size_t>(row))) return;
    source_.NavigateTo(FolderOfResult(results_.Path(static_cast<std::size_t>(row), true)), false);
}

bool TStatisticsDlg::HandleCommand(int id, int notifyCode, HWND control) {
    switch (id) {
    case IDOK:  // "Find": the default button runs the query and the dialog stays open
        Find();
        return true;
    case IDC_STATS_HELP: about::ShowHelp(*this, "::/statdlg.htm", ui_); return true;
    case IDC_STATS_ABSOLUTE:
        if (notifyCode != BN_CLICKED) return false;
        absolute_ = IsChecked(IDC_STATS_ABSOLUTE);
        InvalidateRect(list_.GetHandle(), nullptr, TRUE);
        return true;
    case IDC_STATS_COPY:
        if (notifyCode == BN_CLICKED) CopySelection();
        return true;
    }
    return TStretchDlg::HandleCommand(id, notifyCode, control);
}

}  // namespace info
