// The system tree-view control ("SysTreeView32") created by the program. Items are TTreeNode values;
// texts are UTF-8. Its notifications come back by reflection to the virtual handlers below, which a
// derived window overrides.
#pragma once

#include "fw/TControl.h"
#include "fw/TTreeNode.h"

#include <string>

namespace fw {

class TTreeWindow : public TControl {
public:
    TTreeWindow(TWindow* parent, UINT id);

    struct NewItem {
        std::string text;
        int image = 0;
        int selectedImage = 0;
        LPARAM data = 0;
        bool hasChildren = false;  // shows the expand button before any child exists
    };
    // Inserts under `parent` (a null node: at the top level) after `after` (TVI_LAST, TVI_FIRST, TVI_SORT
    // or a sibling); a null node when the control refuses.
    TTreeNode InsertItem(TTreeNode parent, const NewItem& item, HTREEITEM after = TVI_LAST);
    // The same with the text already in UTF-16.
    TTreeNode InsertItem(TTreeNode parent, const std::wstring& text, const NewItem& item, HTREEITEM after = TVI_LAST);
    bool DeleteAllItems();

    TTreeNode GetRoot() const noexcept { return Node(TVGN_ROOT); }
    TTreeNode GetSelection() const noexcept { return Node(TVGN_CARET); }
    TTreeNode NodeOf(HTREEITEM item) const noexcept { return {GetHandle(), item}; }
    int Count() const noexcept;

    void SetImageList(HIMAGELIST images);
    void SetBkColor(COLORREF colour);
    void SetRedraw(bool redraw);

protected:
    const char* ClassName() const override;
    bool HandleReflected(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

    // TVN_SELCHANGED: the newly selected node and how (TVC_BYKEYBOARD, TVC_BYMOUSE, TVC_UNKNOWN).
    virtual void OnSelChanged(TTreeNode, UINT) {}
    // TVN_ITEMEXPANDING: true prevents the change.
    virtual bool OnItemExpanding(TTreeNode, UINT) { return false; }

private:
    TTreeNode Node(UINT relation) const noexcept {
        return {GetHandle(), reinterpret_cast<HTREEITEM>(SendMessageW(GetHandle(), TVM_GETNEXTITEM, relation, 0))};
    }
};

}  // namespace fw
