#include "fw/TListView.h"

#include "fw/Dpi.h"
#include "fw/DpiScale.h"
#include "fw/Utf8.h"

#include <algorithm>

#include <vector>

namespace fw {

int TListView::InsertColumn(int index, const std::string& header, int width, int format) {
    LVCOLUMNA column{};
    column.mask = LVCF_FMT | LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
    column.fmt = format;
    // Widths are given at 96 DPI. A column is never narrower than its title, which the header shows with
    // three edges of margin on either side.
    column.cx = ScaleFrom96(width, WindowDpi(GetHandle()));
    if (HWND titles = ListView_GetHeader(GetHandle()); titles && !header.empty()) {
        auto* titleFont = reinterpret_cast<HFONT>(SendMessageA(titles, WM_GETFONT, 0, 0));
        SIZE extent{};
        ClientDC dc(titles);
        {
            SelectGuard font(dc.Get(), titleFont ? titleFont : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)));
            const std::wstring wide = Utf8ToWide(header);
            GetTextExtentPoint32W(dc.Get(), wide.c_str(), static_cast<int>(wide.size()), &extent);
        }
        column.cx = std::max<int>(column.cx, extent.cx + 2 * 3 * GetSystemMetrics(SM_CXEDGE));
    }
    column.pszText = const_cast<char*>(header.c_str());
    column.iSubItem = index;
    return static_cast<int>(SendMessageA(GetHandle(), LVM_INSERTCOLUMNA, index, reinterpret_cast<LPARAM>(&column)));
}

int TListView::AppendRow(const std::string& text) {
    LVITEMA item{};
    item.mask = LVIF_TEXT;
    item.iItem = RowCount();
    item.pszText = const_cast<char*>(text.c_str());
    return static_cast<int>(SendMessageA(GetHandle(), LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
}

int TListView::RowCount() const { return RowCount(GetHandle()); }

void TListView::SetExtendedStyle(DWORD mask, DWORD style) {
    SendMessageA(GetHandle(), LVM_SETEXTENDEDLISTVIEWSTYLE, mask, style);
}

bool TListView::SetCellText(HWND list, int row, int column, const std::string& text) {
    LVITEMA item{};
    item.iSubItem = column;
    item.pszText = const_cast<char*>(text.c_str());
    return SendMessageA(list, LVM_SETITEMTEXTA, row, reinterpret_cast<LPARAM>(&item)) != 0;
}

std::string TListView::CellText(HWND list, int row, int column, std::size_t capacity) {
    std::vector<char> buffer(capacity > 0 ? capacity : 1, '\0');
    LVITEMA item{};
    item.iSubItem = column;
    item.pszText = buffer.data();
    item.cchTextMax = static_cast<int>(buffer.size());
    SendMessageA(list, LVM_GETITEMTEXTA, row, reinterpret_cast<LPARAM>(&item));
    buffer.back() = '\0';
    return buffer.data();
}

int TListView::RowCount(HWND list) { return static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0)); }

void TListView::DeleteAllRows() noexcept { SendMessageA(GetHandle(), LVM_DELETEALLITEMS, 0, 0); }

void TListView::SetRedraw(bool redraw) noexcept {
    SendMessageA(GetHandle(), WM_SETREDRAW, redraw ? TRUE : FALSE, 0);
    if (redraw) InvalidateRect(GetHandle(), nullptr, TRUE);
}

void TListView::SetItemCount(int count) noexcept {
    SendMessageA(GetHandle(), LVM_SETITEMCOUNT, static_cast<WPARAM>(count), 0);
}

std::vector<int> TListView::SelectedRows() const {
    std::vector<int> rows;
    for (int row = -1;;) {
        row = static_cast<int>(SendMessageA(GetHandle(), LVM_GETNEXTITEM, static_cast<WPARAM>(row), LVNI_SELECTED));
        if (row < 0) break;
        rows.push_back(row);
    }
    return rows;
}

int TListView::SelectedCount() const noexcept {
    return static_cast<int>(SendMessageA(GetHandle(), LVM_GETSELECTEDCOUNT, 0, 0));
}

bool TListView::HandleReflected(UINT msg, WPARAM, LPARAM lParam, LRESULT& result) {
    if (msg != WM_NOTIFY) return false;
    const auto* header = reinterpret_cast<const NMHDR*>(lParam);
    switch (header->code) {
    case LVN_GETDISPINFOW: {
        auto* info = reinterpret_cast<NMLVDISPINFOW*>(lParam);
        if (!textSource_ || !(info->item.mask & LVIF_TEXT)) return false;
        wideText_ = Utf8ToWide(textSource_(info->item.iItem, info->item.iSubItem));
        info->item.pszText = wideText_.data();
        result = 0;
        return true;
    }
    case LVN_GETDISPINFOA: {
        // Narrow notifications carry the program's code page, which the manifest makes UTF-8.
        auto* info = reinterpret_cast<NMLVDISPINFOA*>(lParam);
        if (!textSource_ || !(info->item.mask & LVIF_TEXT)) return false;
        narrowText_ = textSource_(info->item.iItem, info->item.iSubItem);
        info->item.pszText = narrowText_.data();
        result = 0;
        return true;
    }
    case LVN_ITEMCHANGED: {
        const auto* change = reinterpret_cast<const NMLISTVIEW*>(lParam);
        if ((change->uChanged & LVIF_STATE) && ((change->uOldState ^ change->uNewState) & LVIS_SELECTED) &&
            onSelectionChanged)
            onSelectionChanged();
        return false;
    }
    case LVN_ODSTATECHANGED:
        if (onSelectionChanged) onSelectionChanged();
        return false;
    case NM_DBLCLK:
        if (!onDoubleClick) return false;
        onDoubleClick(reinterpret_cast<const NMITEMACTIVATE*>(lParam)->iItem);
        result = 0;
        return true;
    case NM_RCLICK: {
        if (!onRightClick) return false;
        const auto* click = reinterpret_cast<const NMITEMACTIVATE*>(lParam);
        POINT screen = click->ptAction;
        ClientToScreen(header->hwndFrom, &screen);
        onRightClick(click->iItem, screen);
        result = 0;
        return true;
    }
    case LVN_KEYDOWN:
        if (!onKeyDown) return false;
        onKeyDown(reinterpret_cast<const NMLVKEYDOWN*>(lParam)->wVKey);
        return false;
    }
    return false;
}

}  // namespace fw
