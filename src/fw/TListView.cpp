#include "fw/TListView.h"

#include "fw/Utf8.h"

namespace fw {

void TListView::SetExtendedStyle(DWORD mask, DWORD style) noexcept {
    SendMessageA(GetHandle(), LVM_SETEXTENDEDLISTVIEWSTYLE, mask, style);
}

void TListView::InsertColumn(int index, const std::string& text, int width, int format) {
    std::wstring wide = Utf8ToWide(text);
    LVCOLUMNW column{};
    column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
    column.fmt = format;
    column.cx = width;
    column.pszText = wide.data();
    column.iSubItem = index;
    SendMessageW(GetHandle(), LVM_INSERTCOLUMNW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&column));
}

void TListView::SetRedraw(bool redraw) noexcept {
    SendMessageA(GetHandle(), WM_SETREDRAW, redraw ? TRUE : FALSE, 0);
    if (redraw) InvalidateRect(GetHandle(), nullptr, TRUE);
}

int TListView::InsertItem(int index, const std::string& text) {
    std::wstring wide = Utf8ToWide(text);
    LVITEMW item{};
    item.mask = LVIF_TEXT;
    item.iItem = index;
    item.pszText = wide.data();
    return static_cast<int>(SendMessageW(GetHandle(), LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
}

void TListView::SetItemText(int itemIndex, int subItem, const std::string& text) {
    std::wstring wide = Utf8ToWide(text);
    LVITEMW item{};
    item.iSubItem = subItem;
    item.pszText = wide.data();
    SendMessageW(GetHandle(), LVM_SETITEMTEXTW, static_cast<WPARAM>(itemIndex), reinterpret_cast<LPARAM>(&item));
}

void TListView::DeleteAllItems() noexcept { SendMessageA(GetHandle(), LVM_DELETEALLITEMS, 0, 0); }

void TListView::SetItemCount(int count) noexcept {
    SendMessageA(GetHandle(), LVM_SETITEMCOUNT, static_cast<WPARAM>(count), 0);
}

int TListView::GetItemCount() const noexcept {
    return static_cast<int>(SendMessageA(GetHandle(), LVM_GETITEMCOUNT, 0, 0));
}

std::string TListView::GetItemText(int itemIndex, int subItem) const {
    // The control copies at most the buffer's size and says how much it copied: grow until it fits.
    for (std::size_t capacity = 512;; capacity *= 4) {
        std::wstring buffer(capacity, L'\0');
        LVITEMW item{};
        item.iSubItem = subItem;
        item.pszText = buffer.data();
        item.cchTextMax = static_cast<int>(capacity);
        const auto length = static_cast<std::size_t>(
            SendMessageW(GetHandle(), LVM_GETITEMTEXTW, static_cast<WPARAM>(itemIndex), reinterpret_cast<LPARAM>(&item)));
        if (length + 1 < capacity || capacity > (1u << 26)) {
            buffer.resize(length);
            return WideToUtf8(buffer);
        }
    }
}

std::vector<int> TListView::SelectedItems() const {
    std::vector<int> items;
    for (int item = -1;;) {
        item = static_cast<int>(SendMessageA(GetHandle(), LVM_GETNEXTITEM, static_cast<WPARAM>(item), LVNI_SELECTED));
        if (item < 0) break;
        items.push_back(item);
    }
    return items;
}

int TListView::SelectedCount() const noexcept {
    return static_cast<int>(SendMessageA(GetHandle(), LVM_GETSELECTEDCOUNT, 0, 0));
}

void TListView::SetSelected(int itemIndex, bool selected) noexcept {
    LVITEMA item{};
    item.stateMask = LVIS_SELECTED;
    item.state = selected ? LVIS_SELECTED : 0;
    SendMessageA(GetHandle(), LVM_SETITEMSTATE, static_cast<WPARAM>(itemIndex), reinterpret_cast<LPARAM>(&item));
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
    }
    return false;
}

}  // namespace fw
