// The folder tree beside the pie: every folder of the scanned tree (never files) in a tree-view control,
// siblings in the control's own sorted order, the root's item expanded. Selecting a folder navigates to it
// through the host; the host asks the tree to select the folder it navigated to elsewhere.
//
//   TTreeStruct tree(&view, 101, host);   tree.Create();       // builds the items
//   tree.Rebuild();                                             // after the host replaced its tree
//   tree.SelectCurrent();                                       // after any other navigation
//
// Items are made when first needed: an item gets its children when it is first expanded or when
// SelectCurrent reveals a folder below it; until then it shows an expand button when its folder has
// subfolders. So a tree of tens of thousands of folders is ready at once, whatever its depth.
//
// Selection: a mouse click navigates at once; keyboard moves navigate once no further key came for
// 250 ms (timer 1). The tree's own selections (SelectCurrent) never navigate. A Rebuild forgets a pending
// keyboard move. The tree keeps pointers to the host's folders until the next Rebuild.
#pragma once

#include "frame/TreeHost.h"
#include "fw/ImageList.h"
#include "fw/TTreeWindow.h"
#include "fw/Timer.h"

#include <unordered_map>

namespace frame {

class TTreeStruct : public fw::TTreeWindow {
public:
    static constexpr UINT kKeyboardTimerId = 1;
    static constexpr UINT kKeyboardDelayMs = 250;

    TTreeStruct(fw::TWindow* parent, UINT id, TreeHost& owner);

    // Replaces all items by the host's current tree and selects the current folder; false when the
    // control refused an item or the current folder has none.
    bool Rebuild();
    // Selects (and reveals) the item of the host's current folder without navigating; false when the
    // folder is not in the tree.
    bool SelectCurrent();
    // Flat: no sunken edge, button-face background; else the sunken edge on the window colour.
    void SetFlatLook(bool flat);

    // The item of a folder path of the host's tree (the folder the model's look-up finds), its ancestors'
    // children made on the way; a null node when the path names no folder or the control refused an item.
    fw::TTreeNode ItemOfPath(const std::string& fullPath);

protected:
    void SetupWindow() override;
    void CleanupWindow() override;
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    void OnSelChanged(fw::TTreeNode node, UINT action) override;
    bool OnItemExpanding(fw::TTreeNode node, UINT action) override;

private:
    bool BuildItems();
    bool FillChildren(fw::TTreeNode node, const model::DirInfo& folder);
    bool IsFilled(const model::DirInfo& folder) const;
    void ClearItems();
    void NavigateTo(fw::TTreeNode node);
    void ForgetPending();
    void ApplyBackground();
    fw::TTreeNode ItemOf(const model::DirInfo& folder) const;
    static const model::DirInfo* FolderOf(fw::TTreeNode node);

    TreeHost& owner_;
    fw::ImageList images_;
    bool keyboardDelay_ = true;
    HTREEITEM pendingItem_ = nullptr;
    bool ignoreSelection_ = false;
    bool rebuilding_ = false;
    bool flat_ = false;
    fw::WindowTimer keyboardTimer_;
    std::unordered_map<const model::DirInfo*, HTREEITEM> items_;
};

}  // namespace frame
