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
// subfolders. A folder of more than a page of subfolders shows them a page at a time (FolderPages.h): the
// rest stands behind a "... N more folders" item, which shows the next page in its place when chosen, and
// SelectCurrent shows the page of the folder it selects. So a tree of tens of thousands of folders, or a
// folder of a million, is ready at once.
//
// Selection: a mouse click navigates at once; keyboard moves navigate once no further key came for
// 250 ms (timer 1). The tree's own selections (SelectCurrent) never navigate. A Rebuild forgets a pending
// keyboard move. While the host holds navigation (a modal scan runs) the user's moves do not navigate; the
// selection returns to the current folder when the hold ends. The tree keeps pointers to the host's folders
// until it is told they went (TreeReplaced) or rebuilds.
#pragma once

#include "frame/FolderPages.h"
#include "frame/TreeHost.h"
#include "fw/ImageList.h"
#include "fw/Interaction.h"
#include "fw/TTreeWindow.h"
#include "fw/Timer.h"
#include "model/DocumentObserver.h"

#include <optional>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace frame {

class TTreeStruct : public fw::TTreeWindow, public model::DocumentObserver {
public:
    static constexpr UINT kKeyboardTimerId = 1;
    static constexpr UINT kKeyboardDelayMs = 250;
    // Posted to itself: a "more" item was chosen; its page is shown once the notification has returned.
    static constexpr UINT kRevealMessage = WM_APP + 1;

    // `ui` shows "Could not create tree nodes" when the control refuses an item at set-up.
    TTreeStruct(fw::TWindow* parent, UINT id, TreeHost& owner, fw::Interaction ui = {});

    // Replaces all items by the host's current tree and selects the current folder; false when the
    // control refused an item or the current folder has none.
    bool Rebuild();
    // The host's tree, or records of it, went: every item goes with the folders it stood for, and a
    // keyboard move waiting for its pause with them. The tree stays empty until the next Rebuild.
    void TreeReplaced() override;
    // Selects (and reveals) the item of the host's current folder without navigating; false when the
    // folder is not in the tree.
    bool SelectCurrent();
    // Flat: no sunken edge, button-face background; else the sunken edge on the window colour.
    void SetFlatLook(bool flat);
    // On: a keyboard move waiting for its pause is dropped and the user's moves no longer navigate, so the
    // host's current folder stays what it was (a modal scan runs on it). Off: the selection goes back to
    // the current folder.
    void HoldNavigation(bool hold);

    // The full path of the folder selected (ending in a backslash), which may differ from the host's current
    // folder while a keyboard move waits for its pause; nothing when no folder is selected.
    std::optional<std::string> SelectedPath() const;

    // The item of a folder path of the host's tree (the folder the model's look-up finds), its ancestors'
    // children made on the way; a null node when the path names no folder or the control refused an item.
    fw::TTreeNode ItemOfPath(const std::string& fullPath);
    // Folder pictures and font for `dpi`.
    void ApplyDpi(int dpi);

protected:
    void SetupWindow() override;
    void CleanupWindow() override;
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    void OnSelChanged(fw::TTreeNode node, UINT action) override;
    bool OnItemExpanding(fw::TTreeNode node, UINT action) override;

private:
    // A folder shown in pages keeps its sibling order (position -> index in subdirs) and, once a folder
    // below it had to be found, the inverse.
    struct Listing {
        std::vector<std::size_t> order;
        std::vector<std::size_t> positions;
    };
    struct MoreItem {
        const model::DirInfo* folder;
        PageRow row;
    };

    bool BuildItems();
    bool FillChildren(fw::TTreeNode node, const model::DirInfo& folder);
    // Inserts `rows` of `folder` under `node` after `after`, the first folder item made into `firstFolder`;
    // false when the control refused an item (what this call made is taken back).
    bool InsertRows(fw::TTreeNode node, const model::DirInfo& folder, const std::vector<std::size_t>& order,
                    const std::vector<PageRow>& rows, HTREEITEM after, fw::TTreeNode* firstFolder);
    // Shows the page holding `position` in place of the "more" item; the page's first item.
    fw::TTreeNode Reveal(HTREEITEM more, std::size_t position);
    // Shows the page of `sub`, a subfolder of `folder` whose item does not exist yet.
    bool RevealFolder(const model::DirInfo& folder, const model::DirInfo& sub);
    void OnRevealMessage();
    void ClearItems();
    void NavigateTo(fw::TTreeNode node);
    // The folder names from the root down to `node`'s folder; empty for a "more" item.
    std::vector<std::string> NamesOf(fw::TTreeNode node) const;
    void ForgetPending();
    void ApplyBackground();
    fw::TTreeNode ItemOf(const model::DirInfo& folder) const;
    static const model::DirInfo* FolderOf(fw::TTreeNode node);

    TreeHost& owner_;
    fw::Interaction ui_;
    fw::ImageList images_;
    fw::Font font_;  // the tree's font made for a DPI other than the system's
    bool keyboardDelay_ = true;
    HTREEITEM pendingItem_ = nullptr;
    bool ignoreSelection_ = false;
    bool changingItems_ = false;  // the tree's own changes of items move the selection too: not the user's
    bool held_ = false;
    bool flat_ = false;
    fw::WindowTimer keyboardTimer_;
    std::unordered_map<const model::DirInfo*, HTREEITEM> items_;
    std::unordered_set<const model::DirInfo*> filled_;
    std::unordered_map<const model::DirInfo*, Listing> listings_;
    std::unordered_map<HTREEITEM, MoreItem> moreItems_;
    // The "more" item chosen and how (TVC_*), until the posted reveal runs; cleared when the items go.
    HTREEITEM revealItem_ = nullptr;
    UINT revealAction_ = 0;
};

}  // namespace frame
