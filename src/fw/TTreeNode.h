// One item of a tree-view control, as a value: the control's handle and the item's. Texts are UTF-8 (the
// control holds them in UTF-16). A default node, or the parent of a top-level item, is null.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <string>

namespace fw {

class TTreeNode {
public:
    TTreeNode() noexcept = default;
    TTreeNode(HWND tree, HTREEITEM item) noexcept : tree_(tree), item_(item) {}

    explicit operator bool() const noexcept { return item_ != nullptr; }
    HTREEITEM Item() const noexcept { return item_; }
    HWND Tree() const noexcept { return tree_; }
    friend bool operator==(const TTreeNode& a, const TTreeNode& b) noexcept { return a.item_ == b.item_; }

    TTreeNode Parent() const noexcept { return Related(TVGN_PARENT); }
    TTreeNode FirstChild() const noexcept { return Related(TVGN_CHILD); }
    TTreeNode NextSibling() const noexcept { return Related(TVGN_NEXT); }

    std::string GetText() const;
    LPARAM GetData() const noexcept;
    bool IsExpanded() const noexcept;

    bool Expand() const noexcept { return SendMessageW(tree_, TVM_EXPAND, TVE_EXPAND, LPARAM(item_)) != 0; }
    bool Collapse() const noexcept { return SendMessageW(tree_, TVM_EXPAND, TVE_COLLAPSE, LPARAM(item_)) != 0; }
    bool EnsureVisible() const noexcept { return SendMessageW(tree_, TVM_ENSUREVISIBLE, 0, LPARAM(item_)) != 0; }
    bool Select() const noexcept { return SendMessageW(tree_, TVM_SELECTITEM, TVGN_CARET, LPARAM(item_)) != 0; }
    // The item's rectangle (its text only, or the whole row) in the control's client coordinates; false
    // when the item is not visible.
    bool GetRect(RECT& rect, bool textOnly = true) const noexcept;

private:
    TTreeNode Related(UINT relation) const noexcept {
        return {tree_, reinterpret_cast<HTREEITEM>(SendMessageW(tree_, TVM_GETNEXTITEM, relation, LPARAM(item_)))};
    }

    HWND tree_ = nullptr;
    HTREEITEM item_ = nullptr;
};

}  // namespace fw
