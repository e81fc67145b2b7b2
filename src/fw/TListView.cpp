#include "fw/TListView.h"

#include <vector>

namespace fw {

int TListView::InsertColumn(int index, const std::string& header, int width, int format) {
    LVCOLUMNA column{};
    column.mask = LVCF_FMT | LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
    column.fmt = format;
    column.cx = width;
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

}  // namespace fw
