#include "frame/TTreeStruct.h"

#include "frame/Navigation.h"
#include "frame/SiblingOrder.h"
#include "fw/Dpi.h"
#include "fw/DpiScale.h"
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

TTreeStruct::TTreeStruct(fw::TWindow* parent, UINT id, TreeHost& owner, fw::Interaction ui)
    : TTreeWindow(parent, id), owner_(owner), ui_(std::move(ui)) {
    Attr().style |= TVS_HASBUTTONS | TVS_HASLINES | TVS_SHOWSELALWAYS | TVS_DISABLEDRAGDROP;
    if (!owner_.DialogLook()) Attr().exStyle |= WS_EX_CLIENTEDGE;
    images_ = fw::LoadArtStrip(IDB_FOLDERS, 16, fw::SystemDpi()).images;
}

void TTreeStruct::ApplyDpi(int dpi) {
    images_ = fw::LoadArtStrip(IDB_FOLDERS, 16, dpi).images;
    font_.Reset();
    if (dpi != fw::SystemDpi()) {
        LOGFONTW face{};
        if (SystemParametersInfoW(SPI_GETICONTITLELOGFONT, sizeof face, &face, 0)) {
            face.lfHeight = fw::ScaleLength(face.lfHeight, dpi, fw::SystemDpi());
            font_.Reset(CreateFontIndirectW(&face));
        }
    }
    if (!GetHandle()) return;
    SendMessageW(GetHandle(), WM_SETFONT, reinterpret_cast<WPARAM>(font_.Get()), TRUE);
    SetImageList(images_.Get());
}

void TTreeStruct::SetupWindow() {
    TTreeWindow::SetupWindow();
    if (fw::TApplication* app = fw::TApplication::Current()) app->RegisterWindow(this);
    SetFlatLook(owner_.DialogLook());
    SetImageList(images_.Get());
    if (const int dpi = fw::WindowDpi(GetHandle()); dpi != fw::SystemDpi()) ApplyDpi(dpi);
    SetRedraw(false);
    if (!BuildItems()) {
        ui_.ShowMessage(GetHandle(), "Could not create tree nodes", "Error", MB_OK | MB_ICONERROR);
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
    if (filled_.contains(&folder)) return true;
    std::vector<std::size_t> order = SiblingOrder(folder.subdirs.size(), [&folder](std::size_t i) -> std::string_view {
        return folder.subdirs[i].name;
    });
    fw::TTreeNode first;
    if (!InsertRows(node, folder, order, FirstRows(order.size()), TVI_LAST, &first)) return false;
    filled_.insert(&folder);
    if (order.size() > kFolderPageSize) listings_[&folder].order = std::move(order);
    return true;
}

bool TTreeStruct::InsertRows(fw::TTreeNode node, const model::DirInfo& folder, const std::vector<std::size_t>& order,
                             const std::vector<PageRow>& rows, HTREEITEM after, fw::TTreeNode* firstFolder) {
    std::vector<HTREEITEM> made;
    auto takeBack = [&] {
        for (HTREEITEM partial : made) {
            if (const model::DirInfo* sub = FolderOf(NodeOf(partial))) items_.erase(sub);
            moreItems_.erase(partial);
            SendMessageW(GetHandle(), TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(partial));
        }
        return false;
    };
    for (const PageRow& row : rows) {
        if (row.more) {
            const NewItem item{MoreFoldersText(row.count), I_IMAGENONE, I_IMAGENONE, 0, false};
            const fw::TTreeNode more = InsertItem(node, item, after);
            if (!more) return takeBack();
            made.push_back(after = more.Item());
            moreItems_[after] = {&folder, row};
            continue;
        }
        for (std::size_t position = row.first; position < row.End(); ++position) {
            const model::DirInfo& sub = folder.subdirs[order[position]];
            const NewItem item{{}, kClosedFolder, kOpenFolder, reinterpret_cast<LPARAM>(&sub), !sub.subdirs.empty()};
            const fw::TTreeNode child = InsertItem(node, fw::Utf8ToWide(sub.name), item, after);
            if (!child) return takeBack();
            made.push_back(after = child.Item());
            items_[&sub] = after;
            if (!*firstFolder) *firstFolder = child;
        }
    }
    return true;
}

fw::TTreeNode TTreeStruct::Reveal(HTREEITEM more, std::size_t position) {
    const auto found = moreItems_.find(more);
    if (found == moreItems_.end()) return {};
    const MoreItem hidden = found->second;
    const auto listing = listings_.find(hidden.folder);
    if (listing == listings_.end()) return {};
    const fw::TTreeNode node = NodeOf(more);
    const fw::TTreeNode parent = node.Parent();
    const auto previous =
        reinterpret_cast<HTREEITEM>(SendMessageW(GetHandle(), TVM_GETNEXTITEM, TVGN_PREVIOUS, LPARAM(more)));
    fw::TTreeNode first;
    const bool wasChanging = std::exchange(changingItems_, true);
    // The parent is expanded: with redrawing on, the control lays out the rows after each item it adds.
    SetRedraw(false);
    const bool made = InsertRows(parent, *hidden.folder, listing->second.order, RevealRows(hidden.row, position),
                                 previous ? previous : TVI_FIRST, &first);
    if (made) {
        moreItems_.erase(more);
        SendMessageW(GetHandle(), TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(more));
    }
    SetRedraw(true);
    changingItems_ = wasChanging;
    return first;
}

bool TTreeStruct::RevealFolder(const model::DirInfo& folder, const model::DirInfo& sub) {
    const auto listing = listings_.find(&folder);
    if (listing == listings_.end()) return false;
    std::vector<std::size_t>& positions = listing->second.positions;
    if (positions.empty()) {
        const std::vector<std::size_t>& order = listing->second.order;
        positions.resize(order.size());
        for (std::size_t position = 0; position < order.size(); ++position) positions[order[position]] = position;
    }
    const std::size_t position = positions[static_cast<std::size_t>(&sub - folder.subdirs.data())];
    for (const auto& [item, more] : moreItems_)
        if (more.folder == &folder && position >= more.row.first && position < more.row.End())
            return static_cast<bool>(Reveal(item, position));
    return false;
}

void TTreeStruct::ClearItems() {
    if (const fw::TTreeNode top = GetRoot()) top.Collapse();
    DeleteAllItems();
    items_.clear();
    filled_.clear();
    listings_.clear();
    moreItems_.clear();
    revealItem_ = nullptr;
}

void TTreeStruct::TreeReplaced() {
    ForgetPending();
    changingItems_ = true;
    SetRedraw(false);
    ClearItems();
    SetRedraw(true);
    changingItems_ = false;
}

bool TTreeStruct::Rebuild() {
    ForgetPending();  // the item waiting for the keyboard pause is about to go
    changingItems_ = true;
    SetRedraw(false);
    ClearItems();
    const bool built = BuildItems();
    changingItems_ = false;
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
        const model::DirInfo* next = model::FindDir(*current, name + "\\");
        if (!next || (!ItemOf(*next) && !RevealFolder(*current, *next))) return {};
        current = next;
    }
    return ItemOf(*current);
}

bool TTreeStruct::SelectCurrent() {
    const fw::TTreeNode node = ItemOfPath(owner_.CurrentPath());
    if (!node) return false;
    // The selection made here is no user's move: it neither navigates nor leaves a keyboard move waiting.
    ForgetPending();
    ignoreSelection_ = true;
    // The ancestors are expanded from the deepest up: an item whose parent is collapsed expands without
    // laying out or scrolling the control, so only the topmost collapsed one costs that, once, rather
    // than every level (as expanding from the top down, or the control's own reveal, would).
    std::vector<fw::TTreeNode> collapsed;
    for (fw::TTreeNode at = node.Parent(); at; at = at.Parent())
        if (!at.IsExpanded()) collapsed.push_back(at);
    for (const fw::TTreeNode& ancestor : collapsed) ancestor.Expand();
    node.EnsureVisible();
    const bool selected = node.Select();
    // Cleared here too: selecting the item already selected sends no notification to clear it.
    ignoreSelection_ = false;
    return selected;
}

void TTreeStruct::OnSelChanged(fw::TTreeNode node, UINT action) {
    if (changingItems_) return;
    if (std::exchange(ignoreSelection_, false)) return;
    if (held_) return;
    if (moreItems_.contains(node.Item())) {
        // The item is replaced once this notification has returned: the control still works on it now.
        ForgetPending();
        revealItem_ = node.Item();
        revealAction_ = action;
        PostMessageW(GetHandle(), kRevealMessage, 0, 0);
        return;
    }
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

void TTreeStruct::OnRevealMessage() {
    const HTREEITEM more = std::exchange(revealItem_, nullptr);
    if (!more || !moreItems_.contains(more)) return;
    const fw::TTreeNode first = Reveal(more, moreItems_.at(more).row.first);
    if (first && revealAction_ == TVC_BYKEYBOARD) {
        // Arrowing on: the selection moves to the first folder shown, a keyboard move like any other.
        changingItems_ = true;
        first.Select();
        changingItems_ = false;
        OnSelChanged(first, TVC_BYKEYBOARD);
        return;
    }
    // A click only shows more folders: the selection goes back to the current folder, or at least off
    // the items that stand for hidden folders.
    if (!SelectCurrent() && first) {
        changingItems_ = true;
        first.Select();
        changingItems_ = false;
    }
}

void TTreeStruct::HoldNavigation(bool hold) {
    ForgetPending();
    revealItem_ = nullptr;
    held_ = hold;
    if (!hold) SelectCurrent();
}

void TTreeStruct::ForgetPending() {
    keyboardTimer_.Stop();
    pendingItem_ = nullptr;
}

std::vector<std::string> TTreeStruct::NamesOf(fw::TTreeNode node) const {
    std::vector<std::string> names;
    if (!FolderOf(node)) return names;  // a "more" item
    for (fw::TTreeNode at = node; at; at = at.Parent()) {
        const model::DirInfo* folder = FolderOf(at);
        names.push_back(folder ? folder->name : at.GetText());
    }
    std::reverse(names.begin(), names.end());
    return names;
}

void TTreeStruct::NavigateTo(fw::TTreeNode node) {
    const std::vector<std::string> names = NamesOf(node);
    if (!names.empty()) owner_.NavigateByNames(names);
}

std::optional<std::string> TTreeStruct::SelectedPath() const {
    const std::vector<std::string> names = NamesOf(GetSelection());
    if (names.empty()) return std::nullopt;
    return PathFromNames(names);
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
    case WM_DISPLAYCHANGE: ApplyBackground(); break;
    case kRevealMessage: OnRevealMessage(); return 0;
    }
    return TTreeWindow::HandleMessage(msg, wParam, lParam);
}

}  // namespace frame
