#include "frame/TTreeStruct.h"

#include "frame/SiblingOrder.h"
#include "fw/MessageBox.h"
#include "fw/TApplication.h"
#include "fw/Utf8.h"
#include "resource.h"

#include <algorithm>
#include <utility>

namespace frame {
namespace {
constexpr int kClosedFolder = 0;
constexpr int kOpenFolder = 1;
}  // namespace

TTreeStruct::TTreeStruct(fw::TWindow* parent, UINT id, TreeHost& owner) : TTreeWindow(parent, id), owner_(owner) {
    Attr().style |= TVS_HASBUTTONS | TVS_HASLINES | TVS_SHOWSELALWAYS | TVS_DISABLEDRAGDROP;
    if (!owner_.DialogLook()) Attr().exStyle |= WS_EX_CLIENTEDGE;
    images_ = fw::LoadMaskedStrip(IDB_FOLDERS, 16);
}

void TTreeStruct::SetupWindow() {
    TTreeWindow::SetupWindow();
    if (fw::TApplication* app = fw::TApplication::Current()) app->RegisterWindow(this);
    SetFlatLook(owner_.DialogLook());
    SetImageList(images_.Get());
    SetRedraw(false);
    if (!BuildItems()) {
        fw::ShowMessageBox(GetHandle(), "Could not create tree nodes", "Error", MB_OK | MB_ICONERROR);
        PostQuitMessage(0);
    }
    SetRedraw(true);
}

void TTreeStruct::CleanupWindow() {
    if (fw::TApplication* app = fw::TApplication::Current()) app->UnregisterWindow(this);
    ForgetPending();
    TTreeWindow::CleanupWindow();
}

const model::DirInfo* TTreeStruct::FolderOf(fw::TTreeNode node) {
    return reinterpret_cast<const model::DirInfo*>(node.GetData());
}

fw::TTreeNode TTreeStruct::ItemOf(const model::DirInfo& folder) const {
    const auto found = items_.find(&folder);
    return found == items_.end() ? fw::TTreeNode() : NodeOf(found->second);
}

bool TTreeStruct::IsFilled(const model::DirInfo& folder) const {
    return folder.subdirs.empty() || items_.contains(&folder.subdirs.front());
}

bool TTreeStruct::BuildItems() {
    const model::DirInfo* root = owner_.RootFolder();
    if (!root) return false;
    NewItem item{root->name, kClosedFolder, kOpenFolder, reinterpret_cast<LPARAM>(root), !root->subdirs.empty()};
    const fw::TTreeNode top = InsertItem(fw::TTreeNode(), item);
    if (!top) return false;
    items_[root] = top.Item();
    // Children first, while the item is collapsed: adding to an expanded item costs a relayout each.
    if (!FillChildren(top, *root)) return false;
    top.Expand();
    return true;
}

bool TTreeStruct::FillChildren(fw::TTreeNode node, const model::DirInfo& folder) {
    if (IsFilled(folder)) return true;
    std::vector<std::wstring> names;
    names.reserve(folder.subdirs.size());
    for (const model::DirInfo& sub : folder.subdirs) names.push_back(fw::Utf8ToWide(sub.name));
    std::vector<HTREEITEM> made;
    made.reserve(names.size());
    for (std::size_t index : SiblingOrder(names)) {
        const model::DirInfo& sub = folder.subdirs[index];
        const NewItem item{{}, kClosedFolder, kOpenFolder, reinterpret_cast<LPARAM>(&sub), !sub.subdirs.empty()};
        const fw::TTreeNode child = InsertItem(node, names[index], item);
        if (!child) {
            // Take back the part made, so that a later attempt starts over.
            for (HTREEITEM partial : made)
                SendMessageW(GetHandle(), TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(partial));
            for (const model::DirInfo& other : folder.subdirs) items_.erase(&other);
            return false;
        }
        made.push_back(child.Item());
        items_[&sub] = child.Item();
    }
    return true;
}

void TTreeStruct::ClearItems() {
    if (const fw::TTreeNode top = GetRoot()) top.Collapse();
    DeleteAllItems();
    items_.clear();
}

bool TTreeStruct::Rebuild() {
    ForgetPending();  // the item waiting for the keyboard pause is about to go
    rebuilding_ = true;
    SetRedraw(false);
    ClearItems();
    const bool built = BuildItems();
    rebuilding_ = false;
    SetRedraw(true);
    return built && SelectCurrent();
}

fw::TTreeNode TTreeStruct::ItemOfPath(const std::string& fullPath) {
    const model::DirInfo* root = owner_.RootFolder();
    if (!root || !model::FindDirByPath(*root, fullPath)) return {};
    const model::DirInfo* current = root;
    for (const std::string& name : model::SplitPath(std::string_view(fullPath).substr(root->name.size() + 1), 0)) {
        const fw::TTreeNode node = ItemOf(*current);
        if (!node || !FillChildren(node, *current)) return {};
        current = model::FindDir(*current, name + "\\");
        if (!current) return {};
    }
    return ItemOf(*current);
}

bool TTreeStruct::SelectCurrent() {
    const fw::TTreeNode node = ItemOfPath(owner_.CurrentPath());
    if (!node) return false;
    // The selection made here is no user's move: it neither navigates nor leaves a keyboard move waiting.
    ForgetPending();
    ignoreSelection_ = true;
    node.EnsureVisible();
    const bool selected = node.Select();
    // Cleared here too: selecting the item already selected sends no notification to clear it.
    ignoreSelection_ = false;
    return selected;
}

void TTreeStruct::OnSelChanged(fw::TTreeNode node, UINT action) {
    if (rebuilding_) return;
    if (std::exchange(ignoreSelection_, false)) return;
    if (action == TVC_BYKEYBOARD && keyboardDelay_) {
        pendingItem_ = node.Item();
        keyboardTimer_.Start(GetHandle(), kKeyboardTimerId, kKeyboardDelayMs);
        return;
    }
    ForgetPending();
    NavigateTo(node);
}

bool TTreeStruct::OnItemExpanding(fw::TTreeNode node, UINT action) {
    if (!(action & TVE_EXPAND)) return false;
    const model::DirInfo* folder = FolderOf(node);
    return folder && !FillChildren(node, *folder);
}

void TTreeStruct::ForgetPending() {
    keyboardTimer_.Stop();
    pendingItem_ = nullptr;
}

void TTreeStruct::NavigateTo(fw::TTreeNode node) {
    std::vector<std::string> names;
    for (fw::TTreeNode at = node; at; at = at.Parent()) {
        const model::DirInfo* folder = FolderOf(at);
        names.push_back(folder ? folder->name : at.GetText());
    }
    if (names.empty()) return;
    std::reverse(names.begin(), names.end());
    owner_.NavigateByNames(names);
}

void TTreeStruct::ApplyBackground() { SetBkColor(GetSysColor(flat_ ? COLOR_BTNFACE : COLOR_WINDOW)); }

void TTreeStruct::SetFlatLook(bool flat) {
    HWND tree = GetHandle();
    if (!tree) return;
    flat_ = flat;
    const LONG_PTR exStyle = GetWindowLongPtrA(tree, GWL_EXSTYLE);
    SetWindowLongPtrA(tree, GWL_EXSTYLE, flat ? exStyle & ~WS_EX_CLIENTEDGE : exStyle | WS_EX_CLIENTEDGE);
    ApplyBackground();
    SetWindowPos(tree, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    RedrawWindow(tree, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME);
}

LRESULT TTreeStruct::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_TIMER:
        if (wParam != kKeyboardTimerId) break;
        keyboardTimer_.Stop();
        if (HTREEITEM item = std::exchange(pendingItem_, nullptr)) NavigateTo(NodeOf(item));
        return 0;
    case WM_DISPLAYCHANGE:
        ApplyBackground();
        break;
    }
    return TTreeWindow::HandleMessage(msg, wParam, lParam);
}

}  // namespace frame
