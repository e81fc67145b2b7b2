#include "info/TFileTypesDlg.h"

#include "fw/Clipboard.h"
#include "fw/TApplication.h"
#include "info/DialogPlacement.h"
#include "resource.h"

#include <algorithm>
#include <set>

namespace info {
namespace {
constexpr UINT_PTR kCountTimer = 1;
constexpr UINT kCountPeriodMs = 10;
// Files per slice: a few milliseconds of counting. A tick counts slices for about kTickMs, then lets the
// message loop have its turn: the window stays responsive and a large count does not wait for the timer.
constexpr std::size_t kFilesPerSlice = 16384;
constexpr ULONGLONG kTickMs = 50;
constexpr int kColumnWidths[kTypeColumnCount] = {28, 110, 95, 95, 60, 65};
}  // namespace

TFileTypesDlg::TFileTypesDlg(fw::TWindow* parent, TreeSource& source, FileTypesChoices& remembered, fw::Interaction ui)
    : TStretchDlg(parent, IDD_FILE_TYPES), source_(source), remembered_(remembered),
      ui_(std::move(ui)), sort_{std::clamp(remembered.sortColumn, 0, kTypeColumnCount - 1), remembered.ascending} {}

TFileTypesDlg::~TFileTypesDlg() {
    // Destroyed here, while this is still a TFileTypesDlg, so that its clean-up runs.
    if (GetHandle()) DestroyWindow(GetHandle());
}

bool TFileTypesDlg::IsChecked(int id) const noexcept {
    return SendMessageA(Item(id), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void TFileTypesDlg::SetupWindow() {
    TStretchDlg::SetupWindow();
    listView_.AttachItem(GetHandle(), IDC_TYPES_LIST);
    listView_.SetExtendedStyle(LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
    HWND scope = Item(IDC_TYPES_SCOPE);
    SetWindowLongPtrA(scope, GWL_EXSTYLE, GetWindowLongPtrA(scope, GWL_EXSTYLE) | WS_EX_TRANSPARENT);

    for (int id : {IDC_TYPES_SCOPE, IDC_TYPES_SCOPE_TEXT}) SetControlAnchor(id, kAnchorStretch, kAnchorStay);
    for (int id : {IDOK, IDCANCEL}) SetControlAnchor(id, kAnchorFar, kAnchorStay);
    SetControlAnchor(IDC_TYPES_LIST, kAnchorStretch, kAnchorStretch);
    SetControlAnchor(IDC_TYPES_HINT, kAnchorStay, kAnchorFar);
    SetControlAnchor(IDC_TYPES_COPY, kAnchorFar, kAnchorFar);

    CheckRadioButton(GetHandle(), IDC_TYPES_ROOT, IDC_TYPES_CURRENT,
                     remembered_.rootScope ? IDC_TYPES_ROOT : IDC_TYPES_CURRENT);
    CheckDlgButton(GetHandle(), IDC_TYPES_RECURSE, remembered_.recurse ? BST_CHECKED : BST_UNCHECKED);

    for (int column = 0; column < kTypeColumnCount; ++column)
        listView_.InsertColumn(column, TypeColumnTitle(column), kColumnWidths[column],
                               IsRightAligned(column) ? LVCFMT_RIGHT : LVCFMT_LEFT);
    listView_.SetTextSource([this](int row, int column) {
        return row < 0 ? std::string() : TypeCellText(list_, static_cast<std::size_t>(row), column);
    });
    listView_.onSelectionChanged = [this] { OnSelectionChanged(); };
    listView_.onDoubleClick = [this](int row) {
        if (row >= 0) Highlight(row);
    };
    ShowSortArrow();
    UpdateCopyButton();

    PlaceAtRemembered(GetHandle(), remembered_.rect);
    placed_ = true;
    Remember();
    if (auto* app = fw::TApplication::Current()) app->AddModelessDialog(GetHandle());
    source_.Watch(*this);
    Restart();
    Count();  // a small tree is counted before the dialog first shows
}

void TFileTypesDlg::CleanupWindow() {
    source_.Unwatch(*this);
    if (auto* app = fw::TApplication::Current()) app->RemoveModelessDialog(GetHandle());
    timer_.Stop();
    walk_.reset();
    if (highlighted_) {
        highlighted_.reset();
        source_.HighlightType(std::nullopt);
    }
    Remember();
    placed_ = false;
    listView_.SetItemCount(0);
    TStretchDlg::CleanupWindow();
}

void TFileTypesDlg::Remember() noexcept {
    if (!placed_ || IsIconic(GetHandle()) || IsZoomed(GetHandle())) return;
    remembered_.rect = RectToRemember(GetHandle());
}

void TFileTypesDlg::TreeReplaced() { Restart(); }

void TFileTypesDlg::CurrentFolderChanged() {
    // The root scope stays what it was, unless the sizes changed under it (a new cluster size).
    if (!IsChecked(IDC_TYPES_ROOT) || source_.ClusterSize() != countedCluster_) Restart();
}

void TFileTypesDlg::Restart() {
    walk_.reset();
    counting_ = true;
    scopeRecurse_ = IsChecked(IDC_TYPES_RECURSE);
    scopePath_ = IsChecked(IDC_TYPES_ROOT) ? source_.Root().name + "\\" : source_.CurrentPath();
    countedCluster_ = source_.ClusterSize();
    timer_.Start(GetHandle(), kCountTimer, kCountPeriodMs);
    UpdateScopeLine();
}

void TFileTypesDlg::Count() {
    if (!counting_) return;
    if (!walk_) {
        // The folder is looked up when counting begins, in the tree as it is now.
        const model::DirInfo* start = model::FindDirByPath(source_.Root(), scopePath_);
        if (!start) {
            start = &source_.Root();
            scopePath_ = start->name + "\\";
        }
        walk_ = std::make_unique<model::TypeTableWalk>(*start, scopeRecurse_, countedCluster_);
        countingWholeTree_ = start == &source_.Root() && scopeRecurse_;
    }
    const ULONGLONG tickStart = GetTickCount64();
    bool done = walk_->Step(kFilesPerSlice);
    while (!done && GetTickCount64() - tickStart < kTickMs) done = walk_->Step(kFilesPerSlice);
    if (!done) {
        UpdateScopeLine();
        return;
    }
    model::TypeTable table = walk_->TakeTable();
    walk_.reset();
    // The pie's colours rank the whole tree's types: a count of the whole tree is that ranking already.
    const pie::TypeColours colours = countingWholeTree_ ? pie::TypeColours(table) : source_.TypeColours();
    TypeList list = MakeTypeList(std::move(table), colours, sort_);
    counting_ = false;
    timer_.Stop();
    Show(std::move(list));
}

void TFileTypesDlg::Show(TypeList list) {
    const TypeSet keep = SelectedTypes();
    list_ = std::move(list);
    Refill(keep);
    UpdateScopeLine();
}

TFileTypesDlg::TypeSet TFileTypesDlg::SelectedTypes() const {
    TypeSet types;
    for (int row : listView_.SelectedRows())
        if (static_cast<std::size_t>(row) < list_.Size()) types.emplace(list_.Row(static_cast<std::size_t>(row)).type);
    if (highlighted_) types.insert(*highlighted_);
    return types;
}

void TFileTypesDlg::Refill(const TypeSet& keep) {
    HWND list = listView_.GetHandle();
    filling_ = true;
    listView_.SetRedraw(false);
    ListView_SetItemState(list, -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
    listView_.SetItemCount(static_cast<int>(list_.Size()));
    bool focused = false;
    for (std::size_t row = 0; row < list_.Size() && !keep.empty(); ++row) {
        if (!keep.count(list_.Row(row).type)) continue;
        const UINT state = focused ? LVIS_SELECTED : LVIS_SELECTED | LVIS_FOCUSED;
        ListView_SetItemState(list, static_cast<int>(row), state, state);
        if (!focused) ListView_EnsureVisible(list, static_cast<int>(row), FALSE);
        focused = true;
    }
    listView_.SetRedraw(true);
    filling_ = false;
    UpdateCopyButton();
}

void TFileTypesDlg::UpdateScopeLine() {
    const std::uint64_t done = walk_ ? walk_->FilesDone() : 0, total = walk_ ? walk_->FilesInScope() : 0;
    SetItemText(IDC_TYPES_SCOPE_TEXT, ScopeText(scopePath_, scopeRecurse_, counting_ ? nullptr : &list_, done, total));
}

void TFileTypesDlg::UpdateCopyButton() noexcept { EnableWindow(Item(IDC_TYPES_COPY), listView_.SelectedCount() > 0); }

void TFileTypesDlg::OnSelectionChanged() {
    if (filling_) return;
    UpdateCopyButton();
    if (listView_.SelectedCount() == 0 && highlighted_) {
        highlighted_.reset();
        source_.HighlightType(std::nullopt);
    }
}

void TFileTypesDlg::Highlight(int row) {
    if (row < 0 || static_cast<std::size_t>(row) >= list_.Size()) return;
    highlighted_ = std::string(list_.Row(static_cast<std::size_t>(row)).type);
    source_.HighlightType(highlighted_);
}

void TFileTypesDlg::CopySelection() {
    const std::vector<int> selected = listView_.SelectedRows();
    if (selected.empty()) return;
    const std::string text = TypeListText(list_, std::vector<std::size_t>(selected.begin(), selected.end()));
    if (!fw::CopyTextToClipboard(GetHandle(), text))
        ui_.ShowMessage(GetHandle(), "Could not set data", "Error", MB_OK | MB_ICONERROR);
}

void TFileTypesDlg::SortBy(int column) {
    sort_ = NextSort(sort_, column);
    remembered_.sortColumn = sort_.column;
    remembered_.ascending = sort_.ascending;
    const TypeSet keep = SelectedTypes();
    SortTypeList(list_, sort_);
    Refill(keep);
    ShowSortArrow();
}

void TFileTypesDlg::ShowSortArrow() noexcept {
    HWND header = ListView_GetHeader(listView_.GetHandle());
    for (int column = 0; column < kTypeColumnCount; ++column) {
        HDITEMA item{};
        item.mask = HDI_FORMAT;
        if (!SendMessageA(header, HDM_GETITEMA, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&item))) continue;
        item.fmt &= ~(HDF_SORTUP | HDF_SORTDOWN);
        if (column == sort_.column) item.fmt |= sort_.ascending ? HDF_SORTUP : HDF_SORTDOWN;
        SendMessageA(header, HDM_SETITEMA, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&item));
    }
}

LRESULT TFileTypesDlg::DrawSwatches(NMLVCUSTOMDRAW& draw) noexcept {
    switch (draw.nmcd.dwDrawStage) {
    case CDDS_PREPAINT: return CDRF_NOTIFYITEMDRAW;
    case CDDS_ITEMPREPAINT: return CDRF_NOTIFYPOSTPAINT;
    case CDDS_ITEMPOSTPAINT: {
        const auto row = static_cast<std::size_t>(draw.nmcd.dwItemSpec);
        if (row >= list_.Size()) return CDRF_DODEFAULT;
        RECT cell{};
        cell.left = LVIR_BOUNDS;
        if (!SendMessageA(listView_.GetHandle(), LVM_GETITEMRECT, row, reinterpret_cast<LPARAM>(&cell)))
            return CDRF_DODEFAULT;
        cell.right = cell.left + ListView_GetColumnWidth(listView_.GetHandle(), kSwatchColumn);
        InflateRect(&cell, -4, -2);
        if (cell.right <= cell.left || cell.bottom <= cell.top) return CDRF_DODEFAULT;
        const fw::Colour colour = pie::TypeColourAt(list_.Row(row).colourRank);
        HBRUSH brush = CreateSolidBrush(colour);
        FillRect(draw.nmcd.hdc, &cell, brush);
        DeleteObject(brush);
        FrameRect(draw.nmcd.hdc, &cell, static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH)));
        return CDRF_DODEFAULT;
    }
    }
    return CDRF_DODEFAULT;
}

LRESULT TFileTypesDlg::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_TIMER:
        if (wParam != kCountTimer) break;
        Count();
        SetMsgResult(0);
        return TRUE;
    case WM_NOTIFY: {
        auto* header = reinterpret_cast<NMHDR*>(lParam);
        if (header->idFrom != IDC_TYPES_LIST) break;
        if (header->code == NM_CUSTOMDRAW) {
            SetMsgResult(DrawSwatches(*reinterpret_cast<NMLVCUSTOMDRAW*>(lParam)));
            return TRUE;
        }
        if (header->code == LVN_COLUMNCLICK) {
            SortBy(reinterpret_cast<NMLISTVIEW*>(lParam)->iSubItem);
            SetMsgResult(0);
            return TRUE;
        }
        break;
    }
    case WM_MOVE: Remember(); break;
    case WM_SIZE: {
        const LRESULT result = TStretchDlg::HandleMessage(msg, wParam, lParam);
        Remember();
        return result;
    }
    }
    return TStretchDlg::HandleMessage(msg, wParam, lParam);
}

bool TFileTypesDlg::HandleCommand(int id, int notifyCode, HWND control) {
    switch (id) {
    case IDOK: {  // "Show in Pie", and Enter in the list
        const std::vector<int> selected = listView_.SelectedRows();
        if (!selected.empty()) Highlight(selected.front());
        return true;
    }
    case IDC_TYPES_ROOT:
    case IDC_TYPES_CURRENT:
    case IDC_TYPES_RECURSE:
        if (notifyCode != BN_CLICKED) return false;
        remembered_.rootScope = IsChecked(IDC_TYPES_ROOT);
        remembered_.recurse = IsChecked(IDC_TYPES_RECURSE);
        Restart();
        return true;
    case IDC_TYPES_COPY:
        if (notifyCode == BN_CLICKED) CopySelection();
        return true;
    }
    return TStretchDlg::HandleCommand(id, notifyCode, control);
}

}  // namespace info
