// The folder tree and the splitter in a test host window under Wine: navigation by mouse and keyboard,
// selection from outside, the control's sibling order, items made when first shown, folders shown in
// pages, deep trees, the dialog look, and dragging the bar; and the main view's tree during a modal scan.
#include "PartsHost.h"
#include "ScanTestTree.h"

#include "frame/SiblingOrder.h"
#include "frame/TDiskView.h"
#include "fw/TFrameWindow.h"
#include "fw/Utf8.h"
#include "pie/TPieView.h"

#include <gtest/gtest.h>

#include <windowsx.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <random>
#include <set>

namespace {

using partstest::Pump;
using partstest::THost;

model::DirInfo SampleTree() {
    // Listing order on purpose unlike the sorted order.
    return partstest::TreeOf("C:", {"Zeta", "Data\\Photos\\2026\\Summer", "Data\\Music", "alpha", "Beta\\Old"});
}

std::vector<std::string> ChildTexts(fw::TTreeNode node) {
    std::vector<std::string> texts;
    for (fw::TTreeNode child = node.FirstChild(); child; child = child.NextSibling()) texts.push_back(child.GetText());
    return texts;
}

fw::TTreeNode ChildNamed(fw::TTreeNode node, const std::string& text) {
    for (fw::TTreeNode child = node.FirstChild(); child; child = child.NextSibling())
        if (child.GetText() == text) return child;
    return {};
}

void Click(HWND tree, fw::TTreeNode node) {
    RECT rect{};
    ASSERT_TRUE(node.GetRect(rect)) << "the item is not visible";
    const LPARAM at = MAKELPARAM((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
    PostMessageA(tree, WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageA(tree, WM_LBUTTONUP, 0, at);
    Pump();
}

void Key(HWND tree, UINT key) { SendMessageA(tree, WM_KEYDOWN, key, 0); }

class FolderTree : public ::testing::Test {
protected:
    void SetUp() override {
        SetCursorPos(1270, 1010);  // away from the windows
        host.Open();
    }
    HWND Tree() const { return host.treeWindow.GetHandle(); }
    fw::TTreeNode Top() const { return host.treeWindow.GetRoot(); }

    THost host{SampleTree()};
};

bool ShowsButton(fw::TTreeNode node) {
    TVITEMW item{};
    item.mask = TVIF_CHILDREN;
    item.hItem = node.Item();
    SendMessageW(node.Tree(), TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
    return item.cChildren != 0;
}

TEST_F(FolderTree, ShowsTheRootExpandedAndItsFoldersSortedWhileTheirChildrenWaitUntilShown) {
    EXPECT_EQ(Top().GetText(), "C:");
    EXPECT_TRUE(Top().IsExpanded());
    EXPECT_EQ(ChildTexts(Top()), (std::vector<std::string>{"alpha", "Beta", "Data", "Zeta"}));
    EXPECT_EQ(host.treeWindow.Count(), 5) << "only the root's children exist before anything is expanded";
    const fw::TTreeNode data = ChildNamed(Top(), "Data");
    EXPECT_TRUE(ShowsButton(data)) << "a folder with subfolders shows its button";
    EXPECT_FALSE(ShowsButton(ChildNamed(Top(), "Zeta")));
    SendMessageW(Tree(), TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(data.Item()));  // the user expands it
    EXPECT_EQ(ChildTexts(data), (std::vector<std::string>{"Music", "Photos"}));
    EXPECT_TRUE(host.navigations.empty());
}

TEST_F(FolderTree, AClickNavigatesAtOnce) {
    Click(Tree(), ChildNamed(Top(), "Data"));
    EXPECT_EQ(host.navigations, (std::vector<std::string>{"C:\\Data\\"}));
    Click(Tree(), ChildNamed(Top(), "alpha"));
    EXPECT_EQ(host.navigations.back(), "C:\\alpha\\");
}

TEST_F(FolderTree, KeyboardMovesNavigateOnlyOnceTheKeysPause) {
    SetFocus(Tree());
    Key(Tree(), VK_DOWN);  // C: -> alpha
    Pump(100);
    Key(Tree(), VK_DOWN);  // -> Beta
    Pump(100);
    Key(Tree(), VK_DOWN);  // -> Data
    Pump(100);
    EXPECT_TRUE(host.navigations.empty()) << "no 250 ms pause yet";
    Pump(400);
    EXPECT_EQ(host.navigations, (std::vector<std::string>{"C:\\Data\\"}))
        << "one navigation, to where the keys stopped";
}

// Told that the host's tree was replaced, the tree lets go of every item (each stood for a folder of the
// old tree) and of a keyboard move still waiting for its pause, which would otherwise land on a freed
// folder; it shows the new tree from its next Rebuild.
TEST_F(FolderTree, ATreeReplacementDropsEveryItemAndAWaitingKeyboardMove) {
    SendMessageW(Tree(), TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(ChildNamed(Top(), "Data").Item()));
    SetFocus(Tree());
    Key(Tree(), VK_DOWN);  // C: -> alpha, waiting for the pause
    ASSERT_GT(host.treeWindow.Count(), 5);

    host.root = partstest::TreeOf("C:", {"Other"});
    host.treeWindow.TreeReplaced();
    EXPECT_EQ(host.treeWindow.Count(), 0);
    EXPECT_FALSE(Top());
    SendMessageA(Tree(), WM_TIMER, frame::TTreeStruct::kKeyboardTimerId, 0);  // the pause ends
    Pump(400);
    EXPECT_TRUE(host.navigations.empty());

    ASSERT_TRUE(host.treeWindow.Rebuild());
    EXPECT_EQ(ChildTexts(Top()), (std::vector<std::string>{"Other"}));
}

TEST_F(FolderTree, NavigatingFromOutsideSelectsAndRevealsWithoutNavigatingAgain) {
    host.current = "C:\\DATA\\photos\\2026\\Summer\\";  // as the frame spells it; names match ignoring case
    ASSERT_TRUE(host.treeWindow.SelectCurrent());
    const fw::TTreeNode selected = host.treeWindow.GetSelection();
    EXPECT_EQ(selected.GetText(), "Summer");
    RECT rect{};
    EXPECT_TRUE(selected.GetRect(rect)) << "revealed: its ancestors are expanded";
    EXPECT_TRUE(selected.Parent().IsExpanded());
    Pump(300);
    EXPECT_TRUE(host.navigations.empty());

    host.current = "C:\\Data\\Gone\\";
    EXPECT_FALSE(host.treeWindow.SelectCurrent()) << "a folder the tree does not have";
    EXPECT_EQ(host.treeWindow.GetSelection(), selected) << "the selection stays";

    // Selecting the item that is already selected sends no change notification; the user's next click
    // must still navigate.
    host.current = "C:\\Data\\Photos\\2026\\Summer\\";
    ASSERT_TRUE(host.treeWindow.SelectCurrent());
    Click(Tree(), ChildNamed(Top(), "Zeta"));
    EXPECT_EQ(host.navigations, (std::vector<std::string>{"C:\\Zeta\\"}));
}

TEST_F(FolderTree, ARebuildForgetsAKeyboardMoveWaitingForThePause) {
    host.current = "C:\\Data\\";
    ASSERT_TRUE(host.treeWindow.SelectCurrent());
    SetFocus(Tree());
    Key(Tree(), VK_DOWN);                            // Data -> Zeta, waiting for the pause
    host.root = partstest::TreeOf("C:", {"Other"});  // a rescan replaced the tree; Data is gone
    EXPECT_FALSE(host.treeWindow.Rebuild()) << "the current folder has no item any more";
    Pump(400);
    EXPECT_TRUE(host.navigations.empty()) << "the item that waited is gone";
    EXPECT_EQ(ChildTexts(Top()), (std::vector<std::string>{"Other"}));
}

// The order the control gives items inserted one by one in sorted position.
std::vector<std::string> ControlSortedOrder(HWND parent, const std::vector<std::string>& names) {
    HWND reference = CreateWindowExW(0, WC_TREEVIEWW, L"", WS_CHILD, 0, 0, 100, 100, parent, nullptr, nullptr, nullptr);
    for (const std::string& name : names) {
        std::wstring wide = fw::Utf8ToWide(name);
        TVINSERTSTRUCTW insert{};
        insert.hParent = TVI_ROOT;
        insert.hInsertAfter = TVI_SORT;
        insert.item.mask = TVIF_TEXT;
        insert.item.pszText = wide.data();
        SendMessageW(reference, TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&insert));
    }
    std::vector<std::string> order;
    for (fw::TTreeNode node(reference, TreeView_GetRoot(reference)); node; node = node.NextSibling())
        order.push_back(node.GetText());
    DestroyWindow(reference);
    return order;
}

TEST(FolderTreeOrder, SiblingsAppearAsTheControlWouldSortThemWhateverTheirStoredOrder) {
    std::vector<std::string> tricky = {"b",   "B",    "a",     "A",    "_x",    "Z",  "z",  "ä",  "ae",
                                       "a-b", "ab",   "a b",   "10",   "9",     "2",  "~t", "x1", "X1",
                                       "x1",  "日本", "co-op", "coop", "Co-op", "Ä",  "e",  "é",  "E",
                                       "a'b", "x1",   "ABC",   "abc",  "Abc",   "$a", "!!", "{"};
    std::mt19937 rng(42);
    const std::string alphabet[] = {"a", "A", "b", "B", "z", "0", "1", "9", "-",
                                    "'", " ", "_", ".", "é", "É", "ß", "Ф"};
    std::vector<std::string> random;
    for (int i = 0; i < 400; ++i) {
        std::string name;
        for (int n = 1 + static_cast<int>(rng() % 5); n > 0; --n) name += alphabet[rng() % std::size(alphabet)];
        random.push_back(name);
    }
    for (const auto& names : {tricky, random}) {
        model::DirInfo root("C:");
        for (const std::string& name : names) root.subdirs.emplace_back(name);
        THost host(root);
        host.Open();
        const std::vector<std::string> shown = ChildTexts(host.treeWindow.GetRoot());
        EXPECT_EQ(shown, ControlSortedOrder(host.GetHandle(), names));
        EXPECT_NE(shown, names) << "the stored order differs";
    }
}

TEST(FolderTreeDepth, AFolderThousandsOfLevelsDownIsRevealedAndNavigatedFrom) {
    constexpr int kDepth = 16384;
    model::DirInfo root("C:");
    model::DirInfo* at = &root;
    std::string deepest = "C:\\";
    for (int level = 0; level < kDepth; ++level) {
        at = &at->subdirs.emplace_back("d");
        deepest += "d\\";
    }
    THost host(std::move(root));
    host.Open();
    host.current = deepest;
    const auto start = std::chrono::steady_clock::now();
    ASSERT_TRUE(host.treeWindow.SelectCurrent());
    const auto seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("revealing a folder %d levels down: %.2f s\n", kDepth, seconds);

    SetFocus(host.treeWindow.GetHandle());
    Key(host.treeWindow.GetHandle(), VK_UP);  // to its parent
    Pump(400);
    ASSERT_EQ(host.navigations.size(), 1u);
    EXPECT_EQ(host.navigations[0].size(), deepest.size() - 2) << "the parent's path, composed without recursion";
    EXPECT_TRUE(host.treeWindow.Rebuild());
}

// ---- a folder of more subfolders than one page ----

// 2,500 subfolders with names in no particular order, some with subfolders of their own.
model::DirInfo WideTree(std::vector<std::string>& names) {
    model::DirInfo root("C:");
    std::mt19937 rng(5);
    std::set<std::string> taken;
    while (names.size() < 2'500) {
        std::string name(1, 'f');
        name += std::to_string(rng() % 100'000);
        if (!taken.insert(name).second) continue;  // a path names one folder
        names.push_back(name);
        model::DirInfo& sub = root.subdirs.emplace_back(name);
        if (names.size() % 7 == 0) sub.subdirs.emplace_back("inner");
    }
    return root;
}

// The texts the tree shows for `names` in its sibling order, positions [first, first + count).
std::vector<std::string> SortedSlice(const std::vector<std::string>& names, std::size_t first, std::size_t count) {
    std::vector<std::wstring> wide;
    for (const std::string& name : names) wide.push_back(fw::Utf8ToWide(name));
    std::vector<std::string> slice;
    const std::vector<std::size_t> order = frame::SiblingOrder(wide);
    for (std::size_t position = first; position < first + count; ++position) slice.push_back(names[order[position]]);
    return slice;
}

std::vector<std::string> Slice(const std::vector<std::string>& texts, std::size_t first, std::size_t count) {
    return {texts.begin() + static_cast<std::ptrdiff_t>(first),
            texts.begin() + static_cast<std::ptrdiff_t>(first + count)};
}

class WideFolderTree : public ::testing::Test {
protected:
    void SetUp() override {
        SetCursorPos(1270, 1010);
        host.Open();
    }
    HWND Tree() const { return host.treeWindow.GetHandle(); }
    fw::TTreeNode Top() const { return host.treeWindow.GetRoot(); }

    std::vector<std::string> names;
    THost host{WideTree(names)};
};

TEST_F(WideFolderTree, ShowsTheFirstPageInSiblingOrderAndAnItemForTheRest) {
    const std::vector<std::string> shown = ChildTexts(Top());
    ASSERT_EQ(shown.size(), 1'001u);
    EXPECT_EQ(Slice(shown, 0, 1'000), SortedSlice(names, 0, 1'000));
    EXPECT_EQ(shown.back(), "... 1,500 more folders");
    EXPECT_EQ(host.treeWindow.Count(), 1'002) << "the root, one page, the item for the rest";
    ChildNamed(Top(), "... 1,500 more folders").EnsureVisible();
    Pump(100);
    EXPECT_TRUE(screentest::SaveScreenshot(host.GetHandle(), "folder_tree_more_item.bmp"));
}

TEST_F(WideFolderTree, ClickingTheMoreItemShowsTheNextPageInItsPlaceWithoutNavigating) {
    fw::TTreeNode more = ChildNamed(Top(), "... 1,500 more folders");
    ASSERT_TRUE(more);
    more.EnsureVisible();
    Click(Tree(), more);
    Pump(100);
    std::vector<std::string> shown = ChildTexts(Top());
    ASSERT_EQ(shown.size(), 2'001u);
    EXPECT_EQ(Slice(shown, 0, 2'000), SortedSlice(names, 0, 2'000));
    EXPECT_EQ(shown.back(), "... 500 more folders");
    EXPECT_TRUE(host.navigations.empty());
    EXPECT_EQ(host.treeWindow.GetSelection(), Top()) << "the selection stays on the current folder";

    more = ChildNamed(Top(), "... 500 more folders");
    more.EnsureVisible();
    Click(Tree(), more);
    Pump(100);
    shown = ChildTexts(Top());
    EXPECT_EQ(shown, SortedSlice(names, 0, 2'500)) << "the last page: no item for the rest any more";
    EXPECT_TRUE(host.navigations.empty());
}

TEST_F(WideFolderTree, ArrowingOntoTheMoreItemShowsThePageAndMovesOnToItsFirstFolder) {
    const std::vector<std::string> pages = SortedSlice(names, 0, 2'000);
    host.current = "C:\\" + pages[999] + "\\";  // the last folder of the first page
    ASSERT_TRUE(host.treeWindow.SelectCurrent());
    SetFocus(Tree());
    Key(Tree(), VK_DOWN);  // onto "... 1,500 more folders"
    EXPECT_TRUE(test_support::PumpUntil([&] { return !host.navigations.empty(); }, std::chrono::seconds(10)));
    Pump(300);
    EXPECT_EQ(host.treeWindow.GetSelection().GetText(), pages[1'000]);
    EXPECT_EQ(host.navigations, (std::vector<std::string>{"C:\\" + pages[1'000] + "\\"}))
        << "a keyboard move like any other, to the first folder shown";
    EXPECT_EQ(ChildTexts(Top()).size(), 2'001u);
}

TEST_F(WideFolderTree, SelectingAFolderOfAHiddenPageShowsThatPageAlone) {
    const std::vector<std::string> sorted = SortedSlice(names, 0, 2'500);
    host.current = "C:\\" + sorted[2'200] + "\\";  // on the last, short page
    ASSERT_TRUE(host.treeWindow.SelectCurrent());
    EXPECT_EQ(host.treeWindow.GetSelection().GetText(), sorted[2'200]);
    std::vector<std::string> shown = ChildTexts(Top());
    ASSERT_EQ(shown.size(), 1'000u + 1 + 500);
    EXPECT_EQ(Slice(shown, 0, 1'000), Slice(sorted, 0, 1'000));
    EXPECT_EQ(shown[1'000], "... 1,000 more folders") << "the stretch between the pages";
    EXPECT_EQ(Slice(shown, 1'001, 500), Slice(sorted, 2'000, 500));

    // A folder inside a folder of the page in between.
    std::size_t withInner = 1'000;
    while (!model::FindDir(*model::FindDirByPath(host.root, "C:\\" + sorted[withInner] + "\\"), "inner\\")) ++withInner;
    ASSERT_LT(withInner, 2'000u);
    host.current = "C:\\" + sorted[withInner] + "\\inner\\";
    ASSERT_TRUE(host.treeWindow.SelectCurrent());
    EXPECT_EQ(host.treeWindow.GetSelection().GetText(), "inner");
    EXPECT_EQ(host.treeWindow.GetSelection().Parent().GetText(), sorted[withInner]);
    EXPECT_EQ(ChildTexts(Top()), sorted) << "every page shown, in order, no item for a rest";
    Pump(300);
    EXPECT_TRUE(host.navigations.empty());
}

TEST_F(WideFolderTree, ARebuildWhileAPageIsBeingShownForgetsIt) {
    fw::TTreeNode more = ChildNamed(Top(), "... 1,500 more folders");
    more.EnsureVisible();
    more.Select();  // posts the reveal
    host.root = partstest::TreeOf("C:", {"Other"});
    host.current = "C:\\";
    EXPECT_TRUE(host.treeWindow.Rebuild());
    Pump(100);
    EXPECT_EQ(ChildTexts(Top()), (std::vector<std::string>{"Other"}));
    EXPECT_TRUE(host.navigations.empty());
}

// ---- the main view: the tree's keyboard moves and a modal scan ----

// The program's main view in a plain frame, on a scan of a temporary tree; the view's scans run the real
// progress dialog.
class TViewFrame : public fw::TFrameWindow {
public:
    explicit TViewFrame(std::unique_ptr<frame::TDiskView> view) : TFrameWindow("Kelvaran test", std::move(view)) {
        SetInitialRect(0, 0, 900, 560);
    }
    frame::TDiskView& View() const { return *static_cast<frame::TDiskView*>(GetClient()); }
};

// Calls `during` once from inside the next modal dialog's message loop, as the dialog is created.
class DuringNextDialog {
public:
    explicit DuringNextDialog(std::function<void()> during) : during_(std::move(during)) {
        active_ = this;
        hook_ = SetWindowsHookExW(WH_CBT, &Hook, nullptr, GetCurrentThreadId());
    }
    ~DuringNextDialog() {
        UnhookWindowsHookEx(hook_);
        active_ = nullptr;
    }
    DuringNextDialog(const DuringNextDialog&) = delete;
    DuringNextDialog& operator=(const DuringNextDialog&) = delete;
    bool Ran() const { return ran_; }

private:
    static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam) {
        DuringNextDialog* self = active_;
        char name[16] = {};
        if (code == HCBT_CREATEWND && self && !self->ran_ &&
            GetClassNameA(reinterpret_cast<HWND>(wParam), name, sizeof name) && std::string(name) == "#32770") {
            self->ran_ = true;
            self->during_();
        }
        return CallNextHookEx(nullptr, code, wParam, lParam);
    }

    static inline DuringNextDialog* active_ = nullptr;
    std::function<void()> during_;
    HHOOK hook_ = nullptr;
    bool ran_ = false;
};

std::vector<std::string> FileNames(const model::DirInfo& folder) {
    std::vector<std::string> names;
    for (const model::FileInfo& file : folder.files) names.push_back(file.name);
    std::sort(names.begin(), names.end());
    return names;
}

// Down and F5 pressed at once: the Down waits for its 250 ms pause while F5 opens the progress dialog,
// whose message loop then runs the tree's timer. The rescan must still land on the folder it scanned, and
// the current folder must stay that folder. The tree's timer is made to fire inside the dialog (as the
// pause ends while a scan runs); a second case also delivers the key itself while the dialog runs.
TEST(FolderTreeScan, AKeyboardMoveDoesNotMoveARescanOrTheCurrentFolder) {
    SetCursorPos(1270, 1010);
    for (bool keyDuringScan : {false, true}) {
        scantest::TempTree disk;
        disk.Dir("A");
        disk.File("A\\a1.txt", 100);
        disk.Dir("B");
        disk.File("B\\b1.txt", 200);
        disk.File("B\\b2.txt", 300);
        disk.Dir("C");
        TViewFrame frame(std::make_unique<frame::TDiskView>());
        frame.Create();
        ShowWindow(frame.GetHandle(), SW_SHOWNA);
        frame::TDiskView& view = frame.View();
        ASSERT_TRUE(view.ScanRoot(disk.Root() + "\\", false, true));
        const std::string a = disk.Root() + "\\A\\";
        view.NavigateTo(a, false);
        Pump();
        HWND tree = view.Tree()->GetHandle();
        ASSERT_EQ(view.Tree()->GetSelection().GetText(), "A");

        disk.File("A\\a2.txt", 400);  // what the rescan of A finds
        SetFocus(tree);
        if (!keyDuringScan) SendMessageA(tree, WM_KEYDOWN, VK_DOWN, 0);  // A -> B, waiting for the pause
        bool ran = false;
        {
            const DuringNextDialog during([&] {
                if (keyDuringScan) SendMessageA(tree, WM_KEYDOWN, VK_DOWN, 0);
                SendMessageA(tree, WM_TIMER, frame::TTreeStruct::kKeyboardTimerId, 0);  // the pause has ended
            });
            SendMessageA(view.GetHandle(), WM_COMMAND, CM_RESCAN, 0);  // F5
            ran = during.Ran();
        }
        ASSERT_TRUE(ran) << "the progress dialog ran";
        Pump(300);

        const model::DirInfo* scannedA = model::FindDirByPath(view.Root(), a);
        const model::DirInfo* b = model::FindDirByPath(view.Root(), disk.Root() + "\\B\\");
        ASSERT_TRUE(scannedA && b);
        EXPECT_EQ(FileNames(*scannedA), (std::vector<std::string>{"a1.txt", "a2.txt"})) << "A was rescanned";
        EXPECT_EQ(FileNames(*b), (std::vector<std::string>{"b1.txt", "b2.txt"})) << "B keeps its own files";
        EXPECT_EQ(view.Root().deepFiles, 4u);
        EXPECT_EQ(view.CurrentPath(), a) << "the current folder stays the one rescanned";
        EXPECT_EQ(view.Tree()->GetSelection().GetText(), "A");
        DestroyWindow(frame.GetHandle());
    }
}

// An information dialog watching the main view's tree, noting what it is told and what the view's own
// windows still hold by then.
class WatchingDialog : public model::DocumentObserver {
public:
    explicit WatchingDialog(const frame::TDiskView& view) : view_(view) {}
    std::vector<std::string> events;
    void TreeReplaced() override { Note("tree"); }
    void FolderReplaced(const std::string& folder) override { Note("folder " + folder); }

private:
    void Note(const std::string& event) {
        const bool pieHolds = view_.Pie()->Current() != nullptr;
        const bool treeHolds = view_.Tree()->Count() != 0;
        events.push_back(event + (pieHolds ? " (pie holds)" : "") + (treeHolds ? " (tree holds)" : ""));
    }
    const frame::TDiskView& view_;
};

// A scan and a rescan in the main view: its windows drop the records they borrowed before the watching
// dialogs hear of it, and then follow the new tree.
TEST(FolderTreeScan, TheViewsLetGoBeforeTheDialogsHearOfANewTreeAndThenFollowIt) {
    SetCursorPos(1270, 1010);
    scantest::TempTree disk;
    disk.Dir("A");
    disk.File("A\\a1.txt", 100);
    disk.Dir("B");
    TViewFrame frame(std::make_unique<frame::TDiskView>());
    frame.Create();
    ShowWindow(frame.GetHandle(), SW_SHOWNA);
    frame::TDiskView& view = frame.View();
    WatchingDialog dialog(view);
    view.Watch(dialog);

    const std::string root = disk.Root() + "\\", a = root + "A\\";
    ASSERT_TRUE(view.ScanRoot(root, false, true));
    EXPECT_EQ(dialog.events, (std::vector<std::string>{"tree"}));
    EXPECT_EQ(view.Pie()->Current(), &view.Root());
    EXPECT_EQ(view.Tree()->GetSelection().GetText(), disk.Root());

    view.NavigateTo(a, false);
    disk.File("A\\a2.txt", 200);
    SendMessageA(view.GetHandle(), WM_COMMAND, CM_RESCAN, 0);
    Pump(100);
    EXPECT_EQ(dialog.events, (std::vector<std::string>{"tree", "folder " + a}));
    const model::DirInfo* scannedA = model::FindDirByPath(view.Root(), a);
    ASSERT_NE(scannedA, nullptr);
    EXPECT_EQ(scannedA->files.size(), 2u);
    EXPECT_EQ(view.Pie()->Current(), scannedA);
    EXPECT_EQ(view.Tree()->GetSelection().GetText(), "A");

    view.Unwatch(dialog);
    ASSERT_TRUE(view.ScanRoot(root, false, true));
    EXPECT_EQ(dialog.events.size(), 2u) << "a dialog that stopped watching is not told";
    DestroyWindow(frame.GetHandle());
}

TEST(DialogLook, OffGivesTheTreeASunkenEdgeAndTheBarNoGroove) {
    SetCursorPos(1270, 1010);
    for (bool look : {true, false}) {
        THost host(SampleTree(), look);
        host.Open();
        HWND tree = host.treeWindow.GetHandle();
        const bool sunken = (GetWindowLongPtrA(tree, GWL_EXSTYLE) & WS_EX_CLIENTEDGE) != 0;
        EXPECT_EQ(sunken, !look);
        EXPECT_EQ(static_cast<COLORREF>(SendMessageA(tree, TVM_GETBKCOLOR, 0, 0)),
                  GetSysColor(look ? COLOR_BTNFACE : COLOR_WINDOW));

        const RECT bar = host.split.BarRect();
        const int middle = (bar.left + bar.right) / 2;
        const COLORREF shadow = screentest::ScreenPixel(host.split.GetHandle(), middle - 1, 40);
        const COLORREF light = screentest::ScreenPixel(host.split.GetHandle(), middle, 40);
        if (look) {
            EXPECT_EQ(shadow, GetSysColor(COLOR_BTNSHADOW)) << "the groove's dark line";
            EXPECT_EQ(light, GetSysColor(COLOR_BTNHIGHLIGHT)) << "the groove's light line";
        } else {
            EXPECT_EQ(shadow, GetSysColor(COLOR_BTNFACE));
            EXPECT_EQ(light, GetSysColor(COLOR_BTNFACE));
        }
        // WM_DISPLAYCHANGE sets the background again.
        SendMessageA(host.treeWindow.GetHandle(), TVM_SETBKCOLOR, 0, RGB(1, 2, 3));
        SendMessageA(host.treeWindow.GetHandle(), WM_DISPLAYCHANGE, 32, MAKELPARAM(1280, 1024));
        EXPECT_EQ(static_cast<COLORREF>(SendMessageA(tree, TVM_GETBKCOLOR, 0, 0)),
                  GetSysColor(look ? COLOR_BTNFACE : COLOR_WINDOW));
    }
}

int WidthOf(HWND wnd) {
    RECT r{};
    GetWindowRect(wnd, &r);
    return r.right - r.left;
}

TEST(Splitter, DragStopsAtTheEdgesAndResizingKeepsTheProportion) {
    SetCursorPos(1270, 1010);
    THost host(SampleTree());
    host.Open();
    HWND split = host.split.GetHandle();
    RECT client{};
    GetClientRect(split, &client);
    const int width = client.right;
    const RECT bar = host.split.BarRect();
    EXPECT_EQ(bar.left, static_cast<int>((width - 4) * 0.333));

    auto at = [](int x) { return MAKELPARAM(static_cast<short>(x), 30); };
    SendMessageA(split, WM_LBUTTONDOWN, MK_LBUTTON, at(bar.left + 1));
    SendMessageA(split, WM_MOUSEMOVE, MK_LBUTTON, at(-40));  // captured: left of the window
    EXPECT_EQ(WidthOf(host.treeWindow.GetHandle()), 0);
    EXPECT_TRUE(host.split.IsHover());
    SendMessageA(split, WM_MOUSEMOVE, MK_LBUTTON, at(width + 500));
    EXPECT_EQ(host.split.Position(), width - 4);
    EXPECT_EQ(WidthOf(host.pane.GetHandle()), 0);
    SendMessageA(split, WM_MOUSEMOVE, MK_LBUTTON, at(201));
    SendMessageA(split, WM_LBUTTONUP, 0, at(201));
    EXPECT_EQ(WidthOf(host.treeWindow.GetHandle()), 200);
    Pump(200);  // the hover timer finds the cursor away from the bar
    EXPECT_FALSE(host.split.IsHover());

    RECT window{};
    GetWindowRect(host.GetHandle(), &window);
    SetWindowPos(host.GetHandle(), nullptr, 0, 0, (window.right - window.left) - (width - 4) / 2,
                 window.bottom - window.top, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_EQ(WidthOf(host.treeWindow.GetHandle()), 100) << "half the free width, half the first pane";
}

}  // namespace
