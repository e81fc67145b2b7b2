#include "fw/TTreeNode.h"

#include "fw/Utf8.h"

namespace fw {

std::string TTreeNode::GetText() const {
    wchar_t text[1024] = {};
    TVITEMW item{};
    item.mask = TVIF_TEXT;
    item.hItem = item_;
    item.pszText = text;
    item.cchTextMax = static_cast<int>(std::size(text));
    if (!SendMessageW(tree_, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item))) return {};
    return WideToUtf8(item.pszText);
}

LPARAM TTreeNode::GetData() const noexcept {
    TVITEMW item{};
    item.mask = TVIF_PARAM;
    item.hItem = item_;
    return SendMessageW(tree_, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item)) ? item.lParam : 0;
}

bool TTreeNode::IsExpanded() const noexcept {
    return (SendMessageW(tree_, TVM_GETITEMSTATE, WPARAM(item_), TVIS_EXPANDED) & TVIS_EXPANDED) != 0;
}

bool TTreeNode::GetRect(RECT& rect, bool textOnly) const noexcept {
    *reinterpret_cast<HTREEITEM*>(&rect) = item_;
    return SendMessageW(tree_, TVM_GETITEMRECT, textOnly ? TRUE : FALSE, reinterpret_cast<LPARAM>(&rect)) != 0;
}

}  // namespace fw
