// The dialogs that answer questions about the tree, on real windows under a fake main window: forcing the
// cluster size, the cluster table, the sizes histogram and the statistics dialog, with screenshots.
#include "Screen.h"
#include "about/Help.h"
#include "frame/ItemRules.h"
#include "fw/Interaction.h"
#include "fw/TFrameWindow.h"
#include "info/DialogPlacement.h"
#include "info/InfoCommands.h"
#include "info/TClusterDlg.h"
#include "info/TForceClusterSizeDlg.h"
#include "info/TSizeHistogramDlg.h"
#include "info/TStatisticsDlg.h"
#include "model/TreeEdit.h"
#include "resource.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

using model::DirInfo;

class FakeSource : public info::TreeSource {
public:
    DirInfo root{"C:"};
    std::uint32_t cluster = 4096;
    std::vector<std::string> navigations;
    std::vector<std::uint32_t> clusterChanges;
    bool logicalMode = false;
    bool rootThrows = false;  // a dialog's set-up that fails half-way

    const DirInfo& Root() const override {
        if (rootThrows) throw std::runtime_error("the tree cannot be read");
        return root;
    }
    std::uint32_t ClusterSize() const override { return cluster; }
    std::string CurrentPath() const override { return "C:\\Data\\"; }
    bool NavigateTo(const std::string& path, bool) override {
        navigations.push_back(path);
        return true;
    }
    void SetClusterSize(std::uint32_t size) override {
        cluster = size;
        clusterChanges.push_back(size);
    }
    void SetLogicalMode() override { logicalMode = true; }
    const pie::TypeColours& TypeColours() override { return colours; }
    void HighlightType(std::optional<std::string> type) override { highlights.push_back(type.value_or("(none)")); }
    void Watch(model::DocumentObserver& observer) override { watchers.push_back(&observer); }
    void Unwatch(model::DocumentObserver& observer) override { std::erase(watchers, &observer); }
    void ActOnItems(int command, const std::vector<std::string>& paths) override {
        std::string call = std::to_string(command);
        for (const std::string& path : paths) call += " " + path;
        itemCommands.push_back(call);
        if (onItems) onItems(command, paths);
    }

    std::vector<model::DocumentObserver*> watchers;  // the dialogs open on this tree
    std::vector<std::string> itemCommands;           // "<command> <path> <path>..."
    std::function<void(int, const std::vector<std::string>&)> onItems;
    pie::TypeColours colours;
    std::vector<std::string> highlights;  // what the pie was asked to highlight, "(none)" for the end
};

// The main window the dialogs belong to. Hidden: showing a top-level window costs seconds under Wine
// without a window manager, and only the screenshots need one on screen.
struct MainWindow {
    fw::TFrameWindow frame{"Kelvaran test", nullptr};
    MainWindow() { frame.Create(); }
    HWND Handle() const { return frame.GetHandle(); }
};

// The window as the user sees it, once its paints have run.
bool Shot(HWND window, const std::string& fileName) {
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    screentest::Pump(50);
    return screentest::SaveScreenshot(window, fileName);
}

void Click(HWND dialog, int id) {
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

std::string ComboText(HWND combo) {
    const LRESULT selected = SendMessageA(combo, CB_GETCURSEL, 0, 0);
    if (selected == CB_ERR) return "(none)";
    char text[64] = {};
    SendMessageA(combo, CB_GETLBTEXT, static_cast<WPARAM>(selected), reinterpret_cast<LPARAM>(text));
    return text;
}

// Runs `modal`, which opens a modal dialog captioned `caption`, and hands that dialog to `drive` once it
// is up (from a timer of the dialog's own message loop).
void WithModal(const char* caption, std::function<void(HWND)> drive, const std::function<void()>& modal) {
    static std::function<void(HWND)> pending;
    static std::string wanted;
    pending = std::move(drive);
    wanted = caption;
    SetTimer(nullptr, 0, 20, [](HWND, UINT, UINT_PTR id, DWORD) {
        HWND dialog = FindWindowA("#32770", wanted.c_str());
        if (!dialog || !IsWindowVisible(dialog)) return;
        KillTimer(nullptr, id);
        pending(dialog);
    });
    modal();
}

TEST(ForceClusterSize, OpensOnTheCurrentSizeAndOnlyAChangeReachesTheMainWindow) {
    struct Case {
        bool modal;  // through the command's entry point, or the dialog alone (a modal run costs seconds here)
        std::uint32_t current;
        int select;  // entry to pick before OK; -2 keeps the one it opened on, -1 selects none
        const char* openedOn;
        bool changed;
        std::uint32_t after;
        bool logical;
    } const cases[] = {
        {true, 131072, -2, "N/A", true, 0, true},      // a size it does not offer: opens on N/A, OK makes it unknown
        {true, 4096, -2, "4 KB", false, 4096, false},  // the same size: nothing changes, nothing is recomputed
        {false, 4096, 1, "4 KB", true, 512, false},
        {false, 131072, -1, "N/A", false, 131072, false},  // nothing selected: the list's error value is no size
        {false, 0, 8, "N/A", true, 65536, false},
    };
    MainWindow main;
    for (const Case& c : cases) {
        FakeSource source;
        source.cluster = c.current;
        std::string openedOn;
        bool changed = false;
        auto drive = [&](HWND dialog) {
            HWND list = GetDlgItem(dialog, IDC_SET_CLUSTER_SIZE);
            openedOn = ComboText(list);
            if (c.select != -2) SendMessageA(list, CB_SETCURSEL, static_cast<WPARAM>(c.select), 0);
            Click(dialog, IDOK);
        };
        if (c.modal) {
            WithModal("Set Cluster Size", drive, [&] { changed = info::ForceClusterSize(&main.frame, source); });
        } else {
            info::TForceClusterSizeDlg dialog(&main.frame, source.ClusterSize());
            dialog.CreateModeless();
            drive(dialog.GetHandle());
            changed = info::ApplyClusterSize(source, dialog.ChosenSize());
        }
        EXPECT_EQ(openedOn, c.openedOn) << c.current;
        EXPECT_EQ(changed, c.changed) << c.current << " pick " << c.select;
        EXPECT_EQ(source.cluster, c.after) << c.current << " pick " << c.select;
        EXPECT_EQ(source.logicalMode, c.logical) << c.current;
        EXPECT_EQ(source.navigations.size(), c.changed ? 1u : 0u);
    }
}

std::string ListText(HWND list, int row, int column) {
    std::vector<char> buffer(8192);
    LVITEMA item{};
    item.iSubItem = column;
    item.pszText = buffer.data();
    item.cchTextMax = static_cast<int>(buffer.size());
    const auto length = SendMessageA(list, LVM_GETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
    return std::string(buffer.data(), static_cast<std::size_t>(length));
}

DirInfo MixedTree() {
    DirInfo root("C:");
    const std::uint64_t sizes[] = {0,    1,    3,    7,     12,    40,     90,     150,     600,      1536,
                                   2500, 5000, 9000, 30000, 70000, 200000, 800000, 3000000, 25000000, 400000000};
    int n = 0;
    for (const char* folder : {"Program Files", "Users", "Windows"}) {
        DirInfo& dir = root.subdirs.emplace_back(folder);
        for (std::uint64_t size : sizes)
            for (int copies = 0; copies < 1 + (n++ % 7) * static_cast<int>(size % 5 + 1); ++copies)
                dir.files.emplace_back("file" + std::to_string(n) + "_" + std::to_string(copies) + ".dat", size);
        dir.subdirs.emplace_back("Sub").files.emplace_back("inner.bin", size_t{123456});
    }
    model::RecomputeTotals(root, 4096);
    return root;
}

TEST(ClusterInfo, ShowsTheTableAndReformatsItInAnotherUnit) {
    MainWindow main;
    FakeSource source;
    source.root = MixedTree();
    info::TClusterDlg dialog(&main.frame, source.root, 4096);
    dialog.CreateModeless();
    ShowWindow(dialog.GetHandle(), SW_SHOW);
    HWND list = dialog.Item(IDC_CLUSTER_LIST);
    ASSERT_EQ(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0), info::kClusterRows);
    auto expectRows = [&](int unit) {
        for (int row = 0; row < info::kClusterRows; ++row) {
            const info::ClusterRowText shown{ListText(list, row, 0), ListText(list, row, 1), ListText(list, row, 2),
                                             ListText(list, row, 3), ListText(list, row, 4)};
            EXPECT_EQ(shown, info::FormatClusterRow(dialog.Table(), row, unit)) << row << " in unit " << unit;
        }
    };
    expectRows(0);
    EXPECT_EQ(ListText(list, 3, 0), ">>");
    EXPECT_TRUE(Shot(dialog.GetHandle(), "cluster-info.bmp"));

    HWND units = dialog.Item(IDC_CLUSTER_UNITS);
    EXPECT_EQ(ComboText(units), "bytes");
    SendMessageA(units, CB_SETCURSEL, 1, 0);
    SendMessageA(dialog.GetHandle(), WM_COMMAND, MAKEWPARAM(IDC_CLUSTER_UNITS, CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(units));
    EXPECT_EQ(dialog.Unit(), 1);
    expectRows(1);
    DestroyWindow(dialog.GetHandle());
}

UINT MenuState(HWND window, UINT id) { return GetMenuState(GetMenu(window), id, MF_BYCOMMAND); }

TEST(SizeHistogram, TheMainWindowIsDisabledWhileItIsOpenAndTheItemsFollowTheDetail) {
    MainWindow main;
    FakeSource source;
    source.root = MixedTree();
    info::HistogramChoices remembered{{5000, 4000, 5100, 4100}, 5};  // far off the screen
    info::TSizeHistogramDlg* histogram = info::TSizeHistogramDlg::Open(&main.frame, source, remembered);
    HWND window = histogram->GetHandle();
    EXPECT_FALSE(IsWindowEnabled(main.Handle()));

    RECT work{};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    const fw::Rect placed = info::WindowScreenRect(window);
    EXPECT_GE(placed.left, work.left);
    EXPECT_LE(placed.right, work.right);
    EXPECT_LE(placed.bottom, work.bottom);
    EXPECT_GE(placed.Width(), 400) << "at least the size it was created with";

    EXPECT_TRUE(MenuState(window, CM_MORE_DETAIL) & MF_GRAYED);
    EXPECT_FALSE(MenuState(window, CM_LESS_DETAIL) & MF_GRAYED);
    SendMessageA(window, WM_COMMAND, CM_MORE_DETAIL, 0);
    EXPECT_EQ(histogram->Detail(), 5) << "the handler checks the range itself";
    for (int i = 0; i < 5; ++i) SendMessageA(window, WM_COMMAND, CM_LESS_DETAIL, 0);
    EXPECT_EQ(histogram->Detail(), 1);
    EXPECT_TRUE(MenuState(window, CM_LESS_DETAIL) & MF_GRAYED);
    EXPECT_FALSE(MenuState(window, CM_MORE_DETAIL) & MF_GRAYED);

    SendMessageA(window, WM_COMMAND, CM_MORE_DETAIL, 0);
    EXPECT_EQ(histogram->Detail(), 2);
    EXPECT_EQ(histogram->Histogram().detail, 2);
    SetWindowPos(window, nullptr, 40, 40, 640, 420, SWP_NOZORDER);
    EXPECT_TRUE(Shot(window, "histogram.bmp"));

    SendMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(window));
    EXPECT_TRUE(IsWindowEnabled(main.Handle()));
    EXPECT_EQ(remembered.detail, 2);
    EXPECT_EQ(remembered.rect, (fw::Rect{40, 40, 680, 460}));
}

// The histogram watches the tree while open and counts its files again when it changed.
TEST(SizeHistogram, CountsAgainWhenTheTreeChanged) {
    MainWindow main;
    FakeSource source;
    source.root = MixedTree();
    info::HistogramChoices remembered;
    info::TSizeHistogramDlg* histogram = info::TSizeHistogramDlg::Open(&main.frame, source, remembered);
    HWND window = histogram->GetHandle();
    ASSERT_EQ(source.watchers.size(), 1u);
    EXPECT_EQ(histogram->Histogram().bars, info::ComputeHistogram(source.root, histogram->Detail()).bars);

    source.root = model::DirInfo("C:");
    source.root.files.emplace_back("one", 5);
    source.watchers.front()->TreeReplaced();
    EXPECT_EQ(histogram->Histogram().bars, info::ComputeHistogram(source.root, histogram->Detail()).bars);
    EXPECT_NE(histogram->Histogram().bars, info::ComputeHistogram(MixedTree(), histogram->Detail()).bars);

    DestroyWindow(window);
    EXPECT_TRUE(source.watchers.empty());
}

TEST(SizeHistogram, TheMainWindowIsEnabledAgainWhenTheWindowIsDestroyedWithoutClosing) {
    MainWindow main;
    FakeSource source;
    info::HistogramChoices remembered;
    HWND window = info::TSizeHistogramDlg::Open(&main.frame, source, remembered)->GetHandle();
    EXPECT_FALSE(IsWindowEnabled(main.Handle()));
    DestroyWindow(window);
    EXPECT_TRUE(IsWindowEnabled(main.Handle()));
}

// While alive, the windows of one class fail their creation after WM_NCCREATE, as if their WM_CREATE had
// refused: a procedure put in front of theirs when the system is about to create one answers -1.
class RefusedCreation {
public:
    explicit RefusedCreation(const char* className) {
        className_ = className;
        hook_ = SetWindowsHookExA(WH_CBT, &Cbt, nullptr, GetCurrentThreadId());
    }
    ~RefusedCreation() { UnhookWindowsHookEx(hook_); }
    RefusedCreation(const RefusedCreation&) = delete;
    RefusedCreation& operator=(const RefusedCreation&) = delete;
    explicit operator bool() const { return hook_ != nullptr; }

private:
    static LRESULT CALLBACK Cbt(int code, WPARAM wParam, LPARAM lParam) {
        char name[64] = {};
        if (code == HCBT_CREATEWND && GetClassNameA(reinterpret_cast<HWND>(wParam), name, sizeof name) &&
            className_ == name)
            original_ = reinterpret_cast<WNDPROC>(
                SetWindowLongPtrA(reinterpret_cast<HWND>(wParam), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Refuse)));
        return CallNextHookEx(nullptr, code, wParam, lParam);
    }
    static LRESULT CALLBACK Refuse(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
        if (msg == WM_CREATE) return -1;
        return CallWindowProcA(original_, window, msg, wParam, lParam);
    }
    static inline std::string className_;
    static inline WNDPROC original_ = nullptr;
    HHOOK hook_ = nullptr;
};

// An opening that fails, in its creation or in its set-up, throws, leaves no window and an enabled main
// window, remembers nothing, and frees the object exactly once (a second delete, or a call on the freed
// object, brings the test down).
TEST(SizeHistogram, AFailedOpeningLeavesTheMainWindowEnabledAndTheObjectFreedOnce) {
    MainWindow main;
    FakeSource source;
    source.root = MixedTree();
    const info::HistogramChoices before{{10, 20, 410, 320}, 3};
    info::HistogramChoices remembered = before;
    {
        const RefusedCreation refused("KelvaranHistogram");
        ASSERT_TRUE(refused);
        EXPECT_THROW(info::TSizeHistogramDlg::Open(&main.frame, source, remembered), std::runtime_error);
    }
    EXPECT_EQ(FindWindowA("KelvaranHistogram", nullptr), nullptr);
    EXPECT_TRUE(IsWindowEnabled(main.Handle()));
    EXPECT_EQ(remembered.rect, before.rect) << "a window never placed is not remembered";
    EXPECT_EQ(remembered.detail, before.detail);

    source.rootThrows = true;
    EXPECT_THROW(info::TSizeHistogramDlg::Open(&main.frame, source, remembered), std::runtime_error);
    EXPECT_EQ(FindWindowA("KelvaranHistogram", nullptr), nullptr);
    EXPECT_TRUE(IsWindowEnabled(main.Handle())) << "disabled by the set-up that then threw";
    EXPECT_EQ(remembered.rect, before.rect);

    // And the window opens as ever afterwards.
    source.rootThrows = false;
    info::TSizeHistogramDlg* histogram = info::TSizeHistogramDlg::Open(&main.frame, source, remembered);
    ASSERT_NE(histogram, nullptr);
    EXPECT_FALSE(IsWindowEnabled(main.Handle()));
    SendMessageA(histogram->GetHandle(), WM_CLOSE, 0, 0);
    EXPECT_TRUE(IsWindowEnabled(main.Handle()));
}

// C:
//   Program Files\ (two files, and a folder with a 400-character name)
//   Users\Alice\ (one file)
DirInfo StatsTree() {
    DirInfo root("C:");
    DirInfo& programs = root.subdirs.emplace_back("Program Files");
    programs.files.emplace_back("setup.exe", 70000);
    programs.files.emplace_back("readme.txt", 1200);
    programs.subdirs.emplace_back(std::string(400, 'L')).files.emplace_back("x.bin", 5);
    root.subdirs.emplace_back("Users").subdirs.emplace_back("Alice").files.emplace_back("photo.jpg", 3000000);
    model::RecomputeTotals(root, 4096);
    return root;
}

class StatisticsDialog : public testing::Test {
protected:
    void SetUp() override {
        source.root = StatsTree();
        dialog.CreateModeless();
        list = dialog.Item(IDC_STATS_LIST);
    }
    void TearDown() override {
        if (dialog.GetHandle()) DestroyWindow(dialog.GetHandle());
    }

    void Choose(int query, bool rootScope, const std::string& folder = "") {
        SendMessageA(dialog.Item(IDC_STATS_QUERY), CB_SETCURSEL, static_cast<WPARAM>(query), 0);
        CheckRadioButton(dialog.GetHandle(), IDC_STATS_ROOT, IDC_STATS_SELECTED,
                         rootScope ? IDC_STATS_ROOT : IDC_STATS_SELECTED);
        if (!rootScope) dialog.SetItemText(IDC_STATS_FOLDER, folder);
    }
    void Find() { Click(dialog.GetHandle(), IDOK); }
    void SetAbsolute(bool on) {
        CheckDlgButton(dialog.GetHandle(), IDC_STATS_ABSOLUTE, on ? BST_CHECKED : BST_UNCHECKED);
        Click(dialog.GetHandle(), IDC_STATS_ABSOLUTE);
    }
    int Rows() const { return static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0)); }

    MainWindow main;
    FakeSource source;
    info::StatsChoices remembered;
    std::vector<std::string> boxes;                   // "caption: text"
    std::vector<std::pair<HWND, std::string>> helps;  // owner, file and topic
    info::TStatisticsDlg dialog{&main.frame, source, remembered,
                                fw::Interaction{[this](HWND, const std::string& text, const std::string& caption,
                                                       UINT) {
                                                    boxes.push_back(caption + ": " + text);
                                                    return IDOK;
                                                },
                                                [this](HWND owner, const std::string& fileAndTopic) {
                                                    helps.emplace_back(owner, fileAndTopic);
                                                }}};
    HWND list = nullptr;
};

TEST_F(StatisticsDialog, FindKeepsTheDialogOpenAndShowsTheRowsWhole) {
    EXPECT_EQ(dialog.GetItemText(IDC_STATS_FOLDER), "C:\\Data\\") << "opens on the main window's folder";
    Choose(info::kLongestPaths, true);
    Find();
    ASSERT_TRUE(IsWindow(dialog.GetHandle())) << "Find has the id of OK and must not close the dialog";
    EXPECT_TRUE(boxes.empty());
    ASSERT_EQ(Rows(), 4);
    const std::string longest = "Program Files\\" + std::string(400, 'L') + "\\";
    EXPECT_EQ(ListText(list, 0, 0), longest) << "a 400-character name comes back whole";
    EXPECT_EQ(ListText(list, 0, 1), "417");
    EXPECT_EQ(ListText(list, 1, 0), "Program Files\\");
    EXPECT_EQ(ListText(list, 3, 1), "  8");
}

// The rows point into the tree: the dialog watches it while open and lets the rows go once records of it
// went, so neither the list nor a copy or a double-click reaches a freed record.
TEST_F(StatisticsDialog, RowsGoWithTheRecordsTheyPointTo) {
    EXPECT_EQ(source.watchers, (std::vector<model::DocumentObserver*>{&dialog}));
    Choose(info::kLargestFiles, true);
    Find();
    ASSERT_EQ(Rows(), 4);
    source.root = model::DirInfo("C:");
    for (model::DocumentObserver* watcher : source.watchers) watcher->FolderReplaced("C:\\");
    EXPECT_EQ(Rows(), 0);
    EXPECT_TRUE(dialog.Results().rows.empty());
    EXPECT_FALSE(IsWindowEnabled(dialog.Item(IDC_STATS_COPY)));
    EXPECT_EQ(ListText(list, 0, 0), "");

    DestroyWindow(dialog.GetHandle());
    EXPECT_TRUE(source.watchers.empty()) << "a closed dialog stops watching";
}

TEST_F(StatisticsDialog, CopyPutsTheSelectedNamesOnTheClipboardAsLinesAndADoubleClickShowsTheFolder) {
    Choose(info::kLargestFiles, true);
    Find();
    ASSERT_EQ(Rows(), 4);
    EXPECT_FALSE(IsWindowEnabled(dialog.Item(IDC_STATS_COPY)));
    for (int row : {0, 1, 3}) {
        LVITEMA item{};
        item.stateMask = LVIS_SELECTED;
        item.state = LVIS_SELECTED;
        SendMessageA(list, LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
    }
    EXPECT_TRUE(IsWindowEnabled(dialog.Item(IDC_STATS_COPY)));
    Click(dialog.GetHandle(), IDC_STATS_COPY);
    ASSERT_TRUE(OpenClipboard(nullptr));
    HANDLE data = GetClipboardData(CF_TEXT);
    const std::string copied = data ? static_cast<const char*>(GlobalLock(data)) : "";
    if (data) GlobalUnlock(data);
    CloseClipboard();
    EXPECT_EQ(copied, "Users\\Alice\\photo.jpg\r\nProgram Files\\setup.exe\r\n" + std::string("Program Files\\") +
                          std::string(400, 'L') + "\\x.bin\r\n");

    RECT row{LVIR_BOUNDS};
    SendMessageA(list, LVM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&row));
    const LPARAM at = MAKELPARAM(row.left + 20, (row.top + row.bottom) / 2);
    SendMessageA(list, WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageA(list, WM_LBUTTONUP, 0, at);
    SendMessageA(list, WM_LBUTTONDBLCLK, MK_LBUTTON, at);
    SendMessageA(list, WM_LBUTTONUP, 0, at);
    screentest::Pump();
    EXPECT_EQ(source.navigations, (std::vector<std::string>{"C:\\Program Files\\"}));
}

// The selected rows take the commands on items from the keys and their menu; once a delete took records
// away, the same query runs again over what is left.
TEST_F(StatisticsDialog, SelectedRowsTakeTheItemCommandsAndTheQueryRunsAgainAfterADelete) {
    Choose(info::kLargestFiles, true);
    Find();
    ASSERT_EQ(Rows(), 4);
    auto select = [&](std::vector<int> rows) {
        LVITEMA item{};
        item.stateMask = LVIS_SELECTED;
        SendMessageA(list, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&item));
        item.state = LVIS_SELECTED;
        for (int row : rows)
            SendMessageA(list, LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
    };
    auto shift = [](bool down) {
        BYTE keys[256] = {};
        GetKeyboardState(keys);
        keys[VK_SHIFT] = down ? 0x80 : 0;
        SetKeyboardState(keys);
    };
    // Shift+Del asks for a permanent delete; nothing is removed by the main window here.
    select({0, 1});
    shift(true);
    SendMessageA(list, WM_KEYDOWN, VK_DELETE, 0);
    shift(false);
    ASSERT_EQ(source.itemCommands.size(), 1u);
    EXPECT_EQ(source.itemCommands[0],
              std::to_string(CM_DELETE_PERMANENTLY) + " C:\\Users\\Alice\\photo.jpg C:\\Program Files\\setup.exe");
    EXPECT_EQ(Rows(), 4);

    // The menu of the rows: the command chosen goes to the main window with the selected paths.
    std::vector<std::string> offered;
    dialog.SetMenuTracker([&](HMENU menu, POINT) {
        for (int i = 0; i < GetMenuItemCount(menu); ++i) {
            char text[64] = {};
            GetMenuStringA(menu, static_cast<UINT>(i), text, sizeof text, MF_BYPOSITION);
            if (*text) offered.emplace_back(text);
        }
        return static_cast<UINT>(CM_COPY_PATH);
    });
    select({1});
    RECT row{LVIR_BOUNDS};
    SendMessageA(list, LVM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&row));
    // The list's own right-button handling waits for the real mouse: its notification is sent as the list
    // sends it once the button is up.
    NMITEMACTIVATE click{};
    click.hdr = {list, static_cast<UINT_PTR>(IDC_STATS_LIST), static_cast<UINT>(NM_RCLICK)};
    click.iItem = 1;
    click.ptAction = {row.left + 20, (row.top + row.bottom) / 2};
    SendMessageA(dialog.GetHandle(), WM_NOTIFY, IDC_STATS_LIST, reinterpret_cast<LPARAM>(&click));
    EXPECT_EQ(offered, (std::vector<std::string>{"&Open", "&Properties", "&Delete\tDel",
                                                 "Delete &Permanently\tShift-Del", "Copy &Path"}));
    ASSERT_EQ(source.itemCommands.size(), 2u);
    EXPECT_EQ(source.itemCommands[1], std::to_string(CM_COPY_PATH) + " C:\\Program Files\\setup.exe");

    // Del, and the main window takes the file out of the tree: the rows are those of the tree without it.
    source.onItems = [&](int, const std::vector<std::string>& paths) {
        for (const std::string& path : paths) {
            ASSERT_TRUE(model::RemoveItem(source.root, path.substr(3), source.cluster)) << path;
            for (model::DocumentObserver* watcher : source.watchers)
                watcher->ItemRemoved(path, frame::FolderOfPath(path));
        }
    };
    select({0});
    SendMessageA(list, WM_KEYDOWN, VK_DELETE, 0);
    ASSERT_EQ(source.itemCommands.size(), 3u);
    EXPECT_EQ(source.itemCommands[2], std::to_string(CM_DELETE) + " C:\\Users\\Alice\\photo.jpg");
    ASSERT_EQ(Rows(), 3);
    EXPECT_EQ(ListText(list, 0, 0), "Program Files\\setup.exe");
    EXPECT_TRUE(boxes.empty());
}

TEST_F(StatisticsDialog, AFindThatStopsAtAMessageKeepsTheRowsAndTheBaseTheyWereBuiltOn) {
    Choose(info::kMostBytesDeep, true);
    Find();
    ASSERT_EQ(Rows(), 4);
    EXPECT_EQ(ListText(list, 0, 0), "Users\\Alice\\") << "of two equal keys the later visited comes first";

    Choose(info::kMostBytesDeep, false, "C:\\Nowhere");
    Find();
    source.cluster = 0;
    Choose(info::kMostWasteLocal, false, "C:\\Users");
    Find();
    EXPECT_EQ(boxes, (std::vector<std::string>{
                         "Error: Could not locate the specified dir.\r\nPlease enter a valid, full path.",
                         "Error: Cluster size unavailable\r\nCannot use this query"}));
    EXPECT_EQ(Rows(), 4);
    SetAbsolute(true);
    EXPECT_EQ(ListText(list, 0, 0), "C:\\Users\\Alice\\") << "built on the base that filled the list";
    Choose(-1, true);
    Find();
    EXPECT_EQ(boxes.back(), "Error: Please select a query from the list");
    EXPECT_EQ(ListText(list, 0, 0), "C:\\Users\\Alice\\");
}

TEST_F(StatisticsDialog, TooManyItemsAreClampedAndShownNotEmptied) {
    dialog.SetItemText(IDC_STATS_MAX_ITEMS, "3000000000");
    Choose(info::kLargestFiles, false, "c:/users");
    Find();
    EXPECT_TRUE(boxes.empty());
    EXPECT_EQ(dialog.GetItemText(IDC_STATS_MAX_ITEMS), "2147483647");
    ASSERT_EQ(Rows(), 1);
    SetAbsolute(true);
    EXPECT_EQ(ListText(list, 0, 0), "c:\\users\\Alice\\photo.jpg");
    dialog.SetItemText(IDC_STATS_MAX_ITEMS, "0");
    Find();
    EXPECT_EQ(boxes, (std::vector<std::string>{"Error: Must specify a non-zero number of items"}));
}

TEST_F(StatisticsDialog, ResizedWithResultsAndTheChoicesAreRememberedWhenItCloses) {
    Choose(info::kMostFilesDeep, true);
    Find();
    SetAbsolute(true);
    const fw::Rect before = info::WindowScreenRect(dialog.GetHandle());
    const int listWidth = info::WindowScreenRect(list).Width();
    SetWindowPos(dialog.GetHandle(), nullptr, 30, 30, before.Width() + 260, before.Height() + 140,
                 SWP_NOZORDER | SWP_SHOWWINDOW);
    EXPECT_EQ(info::WindowScreenRect(list).Width(), listWidth + 260) << "the result list stretches";
    EXPECT_TRUE(Shot(dialog.GetHandle(), "statistics.bmp"));
    const fw::Rect last = info::WindowScreenRect(dialog.GetHandle());
    DestroyWindow(dialog.GetHandle());
    EXPECT_EQ(remembered.rect, last);
    EXPECT_EQ(remembered.query, info::kMostFilesDeep);
}

TEST(StatisticsChoices, GoBackToTheRecordWhenTheDialogIsDestroyed) {
    MainWindow main;
    FakeSource source;
    info::StatsChoices remembered{{}, -1, true, 100, false};
    {
        info::TStatisticsDlg dialog(&main.frame, source, remembered);
        dialog.CreateModeless();
        CheckRadioButton(dialog.GetHandle(), IDC_STATS_ROOT, IDC_STATS_SELECTED, IDC_STATS_ROOT);
        CheckDlgButton(dialog.GetHandle(), IDC_STATS_RECURSE, BST_UNCHECKED);
        CheckDlgButton(dialog.GetHandle(), IDC_STATS_ABSOLUTE, BST_CHECKED);
        Click(dialog.GetHandle(), IDC_STATS_ABSOLUTE);
        dialog.SetItemText(IDC_STATS_MAX_ITEMS, "7");
        SendMessageA(dialog.Item(IDC_STATS_QUERY), CB_SETCURSEL, 0, 0);
        dialog.Find();
        DestroyWindow(dialog.GetHandle());
    }
    EXPECT_EQ(remembered, (info::StatsChoices{remembered.rect, 0, false, 7, true}));
}

TEST_F(StatisticsDialog, HelpShowsTheStatisticsTopicForTheDialog) {
    const std::string module = about::ModulePath();
    const std::string help = module.substr(0, module.find_last_of('\\') + 1) + "Kelvaran.chm";
    CloseHandle(CreateFileA(help.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    Click(dialog.GetHandle(), IDC_STATS_HELP);
    DeleteFileA(help.c_str());
    EXPECT_TRUE(boxes.empty());
    EXPECT_EQ(helps, (std::vector<std::pair<HWND, std::string>>{{dialog.GetHandle(), help + "::/statdlg.htm"}}));
}

}  // namespace
