// The pie view in a host window under Wine: clicks, the context menu, delayed re-rendering, hover status,
// tips over the pie (opaque and blended, and that they leave nothing behind), and screenshots of a folder
// tip and a file tip under build/gui-artifacts/.
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <memory>
#include <numbers>

#include "PiePoints.h"
#include "WindowTestSupport.h"
#include "common/FakePieHost.h"
#include "config/Config.h"
#include "fw/Clipboard.h"
#include "pie/TPieView.h"
#include "resource.h"

namespace {

using namespace std::chrono_literals;
using model::DirInfo;
using model::FileInfo;
using test_support::Pixels;

constexpr int kSize = 400;
const char* const kNihon = "\xE6\x97\xA5\xE6\x9C\xAC";  // a folder name outside ASCII

DirInfo Folder(std::string name, std::vector<DirInfo> subdirs, std::vector<FileInfo> files) {
    DirInfo d(std::move(name));
    d.subdirs = std::move(subdirs);
    d.files = std::move(files);
    return d;
}

// Every case starts from the default settings, whatever an earlier run left in the registry.
void StoreDefaultSettings() {
    config::UserConfig store;
    pie::SavePieViewSettings(pie::PieViewSettings{}, store);
}

// The view with its tip's place readable.
class ProbedPieView : public pie::TPieView {
public:
    using TPieView::TPieView;
    fw::Rect Tip() const noexcept { return lastTip_; }
};

// 0x00RRGGBB of a system colour.
std::uint32_t Rgb(int index) {
    const COLORREF c = GetSysColor(index);
    return (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
}

class PieView : public ::testing::Test {
protected:
    // One host window for all cases: hiding or destroying a top-level window costs seconds under a display
    // without a window manager.
    static void SetUpTestSuite() {
        host_window = new test_support::HostWindow(kSize, kSize);
        host_window->Create();
    }
    static void TearDownTestSuite() {
        delete host_window;
        host_window = nullptr;
    }

    void SetUp() override {
        StoreDefaultSettings();
        host.root = Folder("T:",
                           {Folder("docs", {}, {FileInfo("a.doc", 300'000), FileInfo("b.doc", 200'000)}),
                            Folder("media", {Folder("clips", {}, {FileInfo("c.avi", 400'000)})},
                                   {FileInfo("song.mp3", 200'000)}),
                            Folder(kNihon, {}, {FileInfo("n.txt", 150'000)})},
                           {FileInfo("big.iso", 500'000)});
        host.clusterSize = 4096;
        host.dialogLook = true;
        model::RecomputeTotals(host.root, host.clusterSize);
        host.currentPath = "T:\\";
        host.onCopy = [this](const std::string& text) { fw::CopyTextToClipboard(view->GetHandle(), text); };
        window.Resize(kSize, kSize);
        MakeView(0);
    }
    void TearDown() override {
        view.reset();
        window.SetChild(nullptr);
        StoreDefaultSettings();
    }

    void MakeView(int resizeDelay) {
        view.reset();
        view = std::make_unique<ProbedPieView>(&window, 102, host);
        view->Settings().resizeDelay = resizeDelay;
        view->Create();
        window.SetChild(view->GetHandle());
        MoveWindow(view->GetHandle(), 0, 0, kSize, kSize, TRUE);
        view->FollowFrame();
        test_support::Pump(20ms);
    }

    // The middle of a segment (by its relative path), or the centre for "".
    POINT PointOf(const std::string& relative) const { return test_support::SegmentMiddle(view->Renderer(), relative); }

    // Moves the real cursor there too, so that the tip watchdog sees it inside the view.
    void MoveTo(POINT point, WPARAM flags = 0) {
        POINT screen = point;
        ClientToScreen(view->GetHandle(), &screen);
        SetCursorPos(screen.x, screen.y);
        SendMessageA(view->GetHandle(), WM_MOUSEMOVE, flags, MAKELPARAM(point.x, point.y));
    }

    Pixels Screen() const {
        GdiFlush();
        return test_support::CaptureClient(view->GetHandle());
    }
    Pixels Buffer() const { return test_support::CaptureDc(view->BackBuffer(), kSize, kSize); }

    // Every rendering of a folder ends with that folder's figures (PieRenderer.h): the renderings so far,
    // as long as the mouse stays away.
    long Renderings() const { return std::count(host.statuses.begin(), host.statuses.end(), "folder "); }

    // Pixels of the screen that differ from the back buffer, outside an exempted rectangle.
    int TraceOutside(const fw::Rect& exempt) const {
        const Pixels screen = Screen(), buffer = Buffer();
        int differ = 0;
        for (int y = 0; y < kSize; ++y)
            for (int x = 0; x < kSize; ++x) {
                const bool inside = x >= exempt.left && x < exempt.right && y >= exempt.top && y < exempt.bottom;
                if (!inside && screen.At(x, y) != buffer.At(x, y)) ++differ;
            }
        return differ;
    }

    static test_support::HostWindow* host_window;
    test_support::FakePieHost host;
    test_support::HostWindow& window = *host_window;
    std::unique_ptr<ProbedPieView> view;
};

test_support::HostWindow* PieView::host_window = nullptr;

TEST_F(PieView, LeftClicks) {
    struct Case {
        const char* what;
        POINT point;
        const char* call;  // nullptr: nothing happens
    };
    const Case cases[] = {
        {"centre: the parent folder", PointOf(""), "command 11849"},
        {"a ring folder", PointOf("docs\\"), "navigate T:\\docs\\"},
        {"a folder on the second ring", PointOf("media\\clips\\"), "navigate T:\\media\\clips\\"},
        {"a file", PointOf("big.iso"), nullptr},
        {"outside the pie", {2, 2}, nullptr},
    };
    for (const Case& c : cases) {
        host.calls.clear();
        SendMessageA(view->GetHandle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(c.point.x, c.point.y));
        if (c.call) {
            EXPECT_EQ(host.calls, std::vector<std::string>{c.call}) << c.what;
        } else {
            EXPECT_TRUE(host.calls.empty()) << c.what;
        }
    }
}

TEST_F(PieView, ContextMenusOfFoldersAndFiles) {
    struct Case {
        const char* path;
        UINT choice;
        bool offersRescan;
        std::string call;
    };
    const std::string nihon = std::string(kNihon) + "\\";
    const std::string item = "item ";
    const Case cases[] = {
        {"", CM_RESCAN, true, "rescan T:\\"},
        {"", CM_RESCAN_ALL, true, "command 11851"},
        {"docs\\", CM_OPEN_FOLDER, false, "explore open T:\\docs\\"},
        {"docs\\", CM_EXPLORE_FOLDER, false, "explore explore T:\\docs\\"},
        {"media\\clips\\", CM_EXPLORE_FROM_HERE, false, "explore rooted T:\\media\\clips\\"},
        {nihon.c_str(), CM_COPY_NAME, false, "copy T:\\" + nihon},
        {"docs\\", CM_PROPERTIES, false, item + std::to_string(CM_PROPERTIES) + " T:\\docs\\"},
        {"", CM_DELETE, true, item + std::to_string(CM_DELETE) + " T:\\"},
        {"media\\clips\\", CM_DELETE_PERMANENTLY, false,
         item + std::to_string(CM_DELETE_PERMANENTLY) + " T:\\media\\clips\\"},
        {"docs\\", CM_COPY_PATH, false, item + std::to_string(CM_COPY_PATH) + " T:\\docs\\"},
        {"docs\\", 0, false, ""},  // dismissed
    };
    for (const Case& c : cases) {
        std::vector<std::string> items;
        view->SetMenuTracker([&](HMENU menu, POINT) {
            for (int i = 0; i < GetMenuItemCount(menu); ++i) {
                char text[64] = {};
                GetMenuStringA(menu, static_cast<UINT>(i), text, sizeof text, MF_BYPOSITION);
                items.emplace_back(text);
            }
            return c.choice;
        });
        host.calls.clear();
        const POINT p = PointOf(c.path);
        SendMessageA(view->GetHandle(), WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(p.x, p.y));
        ASSERT_FALSE(items.empty()) << c.path;
        EXPECT_EQ(std::count(items.begin(), items.end(), "&Rescan"), c.offersRescan ? 1 : 0) << c.path;
        EXPECT_EQ(std::count(items.begin(), items.end(), "Rescan &All"), 1);
        EXPECT_EQ(std::count(items.begin(), items.end(), "&Copy Name"), 1);
        EXPECT_EQ(std::count(items.begin(), items.end(), "Delete &Permanently\tShift-Del"), 1);
        EXPECT_EQ(host.calls, c.call.empty() ? std::vector<std::string>{} : std::vector<std::string>{c.call}) << c.path;
    }
    // The name reaches other programs as UTF-16, and as plain text in their ANSI code page, never as the
    // program's own UTF-8 bytes.
    const test_support::ClipboardTexts clip = test_support::ReadClipboard(view->GetHandle());
    EXPECT_EQ(clip.unicode, L"T:\\\u65E5\u672C\\");
    EXPECT_EQ(clip.plain, test_support::InCodePage(clip.unicode, clip.plainCodePage));
    EXPECT_NE(clip.plain, "T:\\" + nihon);

    // A file gets the menu of items, and its commands go to the frame with the file's path.
    for (UINT choice : {UINT{CM_OPEN_ITEM}, UINT{CM_DELETE}, UINT{0}}) {
        std::vector<std::string> items;
        view->SetMenuTracker([&](HMENU menu, POINT) {
            for (int i = 0; i < GetMenuItemCount(menu); ++i) {
                char text[64] = {};
                GetMenuStringA(menu, static_cast<UINT>(i), text, sizeof text, MF_BYPOSITION);
                if (*text) items.emplace_back(text);
            }
            return choice;
        });
        host.calls.clear();
        const POINT p = PointOf("media\\song.mp3");
        SendMessageA(view->GetHandle(), WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(p.x, p.y));
        EXPECT_EQ(items, (std::vector<std::string>{"&Open", "&Properties", "&Delete\tDel",
                                                   "Delete &Permanently\tShift-Del", "Copy &Path"}));
        EXPECT_EQ(host.calls, choice ? std::vector<std::string>{item + std::to_string(choice) + " T:\\media\\song.mp3"}
                                     : std::vector<std::string>{});
    }
    // Empty space gets no menu.
    bool tracked = false;
    view->SetMenuTracker([&](HMENU, POINT) {
        tracked = true;
        return 0u;
    });
    const POINT corner{2, 2};
    SendMessageA(view->GetHandle(), WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(corner.x, corner.y));
    EXPECT_FALSE(tracked);
}

TEST_F(PieView, SizeChangesRenderOnceAfterTheDelay) {
    MakeView(100);
    using Clock = std::chrono::steady_clock;
    const long before = Renderings();
    for (int step = 0; step < 5; ++step) {
        window.Resize(kSize - 10 * step, kSize - 5 * step);
        test_support::Pump(15ms);
    }
    const auto lastChange = Clock::now();
    EXPECT_EQ(Renderings(), before) << "rendered during the changes";
    ASSERT_TRUE(test_support::PumpUntil([&] { return Renderings() != before; }, 2000ms));
    const auto delay = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - lastChange);
    EXPECT_GE(delay.count(), 80);
    EXPECT_LE(delay.count(), 600);
    test_support::Pump(250ms);
    EXPECT_EQ(Renderings(), before + 1);
    EXPECT_EQ(view->Renderer().CentreX(), (kSize - 40) / 2);

    // Growing again: until the delayed rendering, the part the old buffer does not cover shows the background.
    window.Resize(kSize, kSize);
    test_support::Pump(30ms);
    ASSERT_EQ(Renderings(), before + 1);
    const Pixels grown = Screen();
    int stale = 0;
    for (int y = 0; y < kSize; ++y)
        for (int x = kSize - 40; x < kSize; ++x) stale += grown.At(x, y) != Rgb(COLOR_BTNFACE);
    EXPECT_EQ(stale, 0);
    ASSERT_TRUE(test_support::PumpUntil([&] { return Renderings() == before + 2; }, 2000ms));

    view->Settings().resizeDelay = 0;
    const long immediate = Renderings();
    for (int step = 1; step <= 5; ++step) window.Resize(kSize - 7 * step, kSize);
    EXPECT_EQ(Renderings(), immediate + 5);
}

// The pane collapsed to nothing, a new tree in place of the old one, the pane dragged back: until the
// delayed rendering the mouse finds nothing there, never a name of the freed tree.
TEST_F(PieView, ACollapsedPaneForgetsTheReplacedTree) {
    view->Settings().resizeDelay = 300;
    const POINT docs = PointOf("docs\\");
    ASSERT_EQ(view->HitTest(docs), "T:\\docs\\");
    MoveWindow(view->GetHandle(), 0, 0, 0, kSize, TRUE);
    // The delayed rendering at no size leaves nothing to hit.
    ASSERT_TRUE(test_support::PumpUntil([&] { return view->HitTest(docs).empty(); }, 2000ms));

    host.root = Folder("U:", {Folder("other", {}, {FileInfo("x", 10)})}, {});
    model::RecomputeTotals(host.root, host.clusterSize);
    host.currentPath = "U:\\";
    view->Refresh();
    MoveWindow(view->GetHandle(), 0, 0, kSize, kSize, TRUE);
    EXPECT_EQ(view->HitTest(docs), "");
    host.statuses.clear();
    MoveTo(docs);
    EXPECT_TRUE(host.statuses.empty()) << host.statuses.front();
    EXPECT_TRUE(view->Tip().IsZero());
    EXPECT_EQ(view->Renderer().Areas().RingCount(), 0) << "the delayed rendering came first: nothing was tested";

    ASSERT_TRUE(test_support::PumpUntil([&] { return view->Renderer().Areas().RingCount() != 0; }, 2000ms));
    EXPECT_EQ(view->HitTest(PointOf("other\\")), "U:\\other\\");
}

TEST_F(PieView, HoverStatusAndCtrl) {
    MoveTo(PointOf("docs\\"));
    EXPECT_EQ(host.statuses.back(), "folder docs\\");
    EXPECT_FALSE(view->Tip().IsZero());
    MoveTo(PointOf("media\\song.mp3"), MK_CONTROL);
    EXPECT_EQ(host.statuses.back(), "file media\\song.mp3");
    EXPECT_TRUE(view->Tip().IsZero());
    EXPECT_EQ(TraceOutside({}), 0);
    const std::size_t count = host.statuses.size();
    MoveTo(PointOf("media\\song.mp3"));  // the same item: the status stays, the tip comes back
    EXPECT_EQ(host.statuses.size(), count);
    EXPECT_FALSE(view->Tip().IsZero());
    MoveTo({2, 2});
    EXPECT_EQ(host.statuses.back(), "folder ");
    EXPECT_TRUE(view->Tip().IsZero());
    // An item whose template is empty has no tip, and the previous item's tip does not stay for it.
    view->Settings().fileTip = "";
    view->ReparseTips();
    MoveTo(PointOf("docs\\"));
    EXPECT_FALSE(view->Tip().IsZero());
    MoveTo(PointOf("big.iso"));
    EXPECT_TRUE(view->Tip().IsZero());
    EXPECT_EQ(TraceOutside({}), 0);
}

TEST_F(PieView, TipGoesOnceTheCursorLeaves) {
    MoveTo(PointOf("docs\\"));
    ASSERT_FALSE(view->Tip().IsZero());
    const auto left = std::chrono::steady_clock::now();
    SetCursorPos(kSize + 300, kSize + 300);
    ASSERT_TRUE(test_support::PumpUntil([&] { return view->Tip().IsZero(); }, 2000ms));
    const auto took = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - left);
    EXPECT_LE(took.count(), 400);
    test_support::Pump(20ms);
    EXPECT_EQ(TraceOutside({}), 0);
}

TEST_F(PieView, MissingFolderLeavesTheViewEmpty) {
    host.currentPath = "T:\\gone\\";
    EXPECT_TRUE(view->FollowFrame());
    EXPECT_EQ(view->Current(), nullptr);
    EXPECT_EQ(view->HitTest({kSize / 2, kSize / 2}), "");
    const Pixels buffer = Buffer();
    int other = 0;
    for (std::uint32_t p : buffer.data) other += (p & 0xFFFFFF) != Rgb(COLOR_BTNFACE);
    EXPECT_EQ(other, 0);
    host.currentPath = "T:\\media\\";
    view->FollowFrame();
    EXPECT_EQ(view->Current(), &host.root.subdirs[1]);
}

// Told that the frame's tree was replaced, the view lets go of all it borrowed from it at once: the folder,
// the segments, the hovered item and the tip. The host keeps the old tree alive here, so anything still
// held would be found.
TEST_F(PieView, ATreeReplacementDropsEverythingBorrowed) {
    const POINT docs = PointOf("docs\\");
    MoveTo(docs);
    ASSERT_FALSE(view->Tip().IsZero());
    ASSERT_EQ(view->HitTest(docs), "T:\\docs\\");

    view->TreeReplaced();
    EXPECT_EQ(view->Current(), nullptr);
    EXPECT_EQ(view->HitTest(docs), "");
    EXPECT_EQ(view->HitTest(PointOf("")), "") << "not even the centre";
    EXPECT_TRUE(view->Tip().IsZero());
    host.statuses.clear();
    host.calls.clear();
    MoveTo(docs);
    SendMessageA(view->GetHandle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(docs.x, docs.y));
    EXPECT_TRUE(host.statuses.empty());
    EXPECT_TRUE(host.calls.empty());
    EXPECT_TRUE(view->Tip().IsZero());

    view->FollowFrame();  // as the frame makes it follow the new tree
    EXPECT_EQ(view->HitTest(docs), "T:\\docs\\");
}

std::uint32_t Blend(std::uint32_t pie, std::uint32_t tip, int t) {
    std::uint32_t out = 0;
    for (int shift : {0, 8, 16}) {
        const int p = (pie >> shift) & 0xFF, q = (tip >> shift) & 0xFF;
        out |= static_cast<std::uint32_t>(p == q ? p : (t * p + (255 - t) * q) / 255) << shift;
    }
    return out;
}

TEST_F(PieView, OpaqueAndBlendedTipsOverThePie) {
    for (int transparency : {0, 64}) {
        view->Settings().tipTransparency = transparency;
        view->FollowFrame();
        MoveTo(PointOf("docs\\"));
        const fw::Rect tip = view->Tip();
        ASSERT_FALSE(tip.IsZero());
        const Pixels screen = Screen(), buffer = Buffer();
        // The right padding column lies inside the box and beside any text; the top row is the outline.
        int wrong = 0;
        for (int y = std::max(tip.top + 1, 0); y < std::min(tip.bottom - 1, kSize); ++y) {
            const int x = tip.right - 2;
            wrong += screen.At(x, y) != Blend(buffer.At(x, y), Rgb(COLOR_INFOBK), transparency);
        }
        for (int x = std::max(tip.left, 0); x < std::min(tip.right, kSize); ++x)
            wrong += screen.At(x, tip.top) != Blend(buffer.At(x, tip.top), 0, transparency);
        EXPECT_EQ(wrong, 0) << transparency;
        EXPECT_EQ(TraceOutside(tip), 0) << transparency;

        // Moving on: far away (the old tip repainted on its own) and close by (one union composed).
        MoveTo(PointOf("big.iso"));
        EXPECT_EQ(TraceOutside(view->Tip()), 0) << transparency;
        POINT close = PointOf("big.iso");
        close.y += 6;
        MoveTo(close);
        EXPECT_EQ(TraceOutside(view->Tip()), 0) << transparency;
        // A rendering while the tip shows takes it away.
        view->FollowFrame();
        EXPECT_TRUE(view->Tip().IsZero());
        EXPECT_EQ(TraceOutside({}), 0) << transparency;
    }
    view->Settings().tipTransparency = 255;
    MoveTo(PointOf("docs\\"));
    EXPECT_TRUE(view->Tip().IsZero());
}

TEST_F(PieView, TipScreenshots) {
    view->Settings().tipTransparency = 64;
    MoveTo(PointOf("media\\"));
    test_support::Pump(20ms);
    EXPECT_TRUE(test_support::SaveBmp(Screen(), "pie_view_folder_tip.bmp"));
    MoveTo(PointOf("docs\\a.doc"));
    test_support::Pump(20ms);
    EXPECT_FALSE(view->Tip().IsZero());
    EXPECT_TRUE(test_support::SaveBmp(Screen(), "pie_view_file_tip.bmp"));
}

TEST_F(PieView, ModeLookAndDisplayChange) {
    const long renders = Renderings();
    view->SetMode(3);
    EXPECT_EQ(view->GetMode(), 1);
    EXPECT_EQ(Renderings(), renders);
    view->SetMode(0);
    EXPECT_EQ(view->GetMode(), 0);
    EXPECT_EQ(Renderings(), renders + 1);
    const auto edge = [&] { return (GetWindowLongPtrA(view->GetHandle(), GWL_EXSTYLE) & WS_EX_CLIENTEDGE) != 0; };
    EXPECT_FALSE(edge());  // the host has the dialog look
    view->SetFlatLook(false);
    EXPECT_TRUE(edge());
    view->SetFlatLook(true);
    EXPECT_FALSE(edge());
    const long beforeDisplayChange = Renderings();
    SendMessageA(view->GetHandle(), WM_DISPLAYCHANGE, 32, MAKELPARAM(1280, 1024));
    EXPECT_EQ(Renderings(), beforeDisplayChange + 1);
    EXPECT_EQ(view->HitTest(PointOf("docs\\")), "T:\\docs\\");
    test_support::Pump(20ms);
    EXPECT_EQ(TraceOutside({}), 0);
}

TEST_F(PieView, SettingsWrittenWhenDestroyed) {
    view->Settings().centreRatio = 0.29;
    view->Settings().fileTip = "#SIZE";
    view.reset();
    config::UserConfig store;
    EXPECT_EQ(store.ReadString("CenterRatio", ""), "29");
    EXPECT_EQ(store.ReadString("TipTextFile", ""), "#SIZE");
    EXPECT_EQ(store.ReadString("PieMode", ""), "1");
}

}  // namespace
