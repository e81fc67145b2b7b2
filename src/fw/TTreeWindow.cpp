#include "fw/TTreeWindow.h"

#include "fw/Utf8.h"

namespace fw {

TTreeWindow::TTreeWindow(TWindow* parent, UINT id) : TControl(parent, id) {
    Attr().style = WS_CHILD | WS_VISIBLE | WS_TABSTOP;
}

const char* TTreeWindow::ClassName() const { return WC_TREEVIEWA; }

TTreeNode TTreeWindow::InsertItem(TTreeNode parent, const NewItem& item, HTREEITEM after) {
    return InsertItem(parent, Utf8ToWide(item.text), item, after);
}

TTreeNode TTreeWindow::InsertItem(TTreeNode parent, const std::wstring& text, const NewItem& item, HTREEITEM after) {
    TVINSERTSTRUCTW insert{};
    insert.hParent = parent ? parent.Item() : TVI_ROOT;
    insert.hInsertAfter = after;
    insert.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_PARAM | TVIF_CHILDREN;
    insert.item.pszText = const_cast<wchar_t*>(text.c_str());
    insert.item.iImage = item.image;
    insert.item.iSelectedImage = item.selectedImage;
    insert.item.lParam = item.data;
    insert.item.cChildren = item.hasChildren ? 1 : 0;
    auto inserted =
        reinterpret_cast<HTREEITEM>(SendMessageW(GetHandle(), TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&insert)));
    return {GetHandle(), inserted};
}

bool TTreeWindow::DeleteAllItems() {
    return SendMessageW(GetHandle(), TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(TVI_ROOT)) != 0;
}

int TTreeWindow::Count() const noexcept { return static_cast<int>(SendMessageW(GetHandle(), TVM_GETCOUNT, 0, 0)); }

void TTreeWindow::SetImageList(HIMAGELIST images) {
    SendMessageW(GetHandle(), TVM_SETIMAGELIST, TVSIL_NORMAL, reinterpret_cast<LPARAM>(images));
}

void TTreeWindow::SetBkColor(COLORREF colour) {
    SendMessageW(GetHandle(), TVM_SETBKCOLOR, 0, static_cast<LPARAM>(colour));
}

void TTreeWindow::SetRedraw(bool redraw) {
    SendMessageW(GetHandle(), WM_SETREDRAW, redraw ? TRUE : FALSE, 0);
    if (redraw) InvalidateRect(GetHandle(), nullptr, TRUE);
}

bool TTreeWindow::HandleReflected(UINT msg, WPARAM, LPARAM lParam, LRESULT& result) {
    if (msg != WM_NOTIFY) return false;
    // The A and W forms differ only in their texts, which these handlers do not read.
    const auto* change = reinterpret_cast<const NMTREEVIEWW*>(lParam);
    switch (change->hdr.code) {
    case TVN_SELCHANGEDA:
    case TVN_SELCHANGEDW:
        OnSelChanged(NodeOf(change->itemNew.hItem), change->action);
        result = 0;
        return true;
    case TVN_ITEMEXPANDINGA:
    case TVN_ITEMEXPANDINGW:
        result = OnItemExpanding(NodeOf(change->itemNew.hItem), change->action) ? TRUE : FALSE;
        return true;
    case TVN_DELETEITEMA:
    case TVN_DELETEITEMW:
        // One per item when the tree is cleared: answered here, the shortest way.
        result = 0;
        return true;
    }
    return false;
}

}  // namespace fw
