// The tool bar in a test host window under Wine: its gadgets, the commands its buttons and boxes send,
// the etched lines, normal and large buttons; and screenshots of the host with all the parts.
#include "PartsHost.h"

#include <gtest/gtest.h>

#include <commctrl.h>

namespace {

using partstest::Pump;
using partstest::THost;

model::DirInfo SampleTree() {
    model::DirInfo root = partstest::TreeOf("C:", {"Windows\\System32", "Program Files\\Kelvaran", "Users\\Public",
                                                   "Users\\Ann\\Documents", "Users\\Ann\\Pictures", "Temp"});
    root.files = {{"pagefile.sys", 1u << 30}, {"boot.ini", 211}};
    root.subdirs[0].files = {{"notepad.exe", 180000}, {"explorer.exe", 2800000}};
    root.subdirs[2].subdirs[1].files = {{"letter.txt", 4000}};
    model::RecomputeTotals(root, 4096);
    return root;
}

class ControlBar : public ::testing::Test {
protected:
    void SetUp() override {
        SetCursorPos(1270, 1010);
        host.Open();
        host.bar.AddDrive("C: [Fixed] SYSTEM", DRIVE_FIXED);
        host.bar.AddDrive("D: [CD-ROM]", DRIVE_CDROM);
        host.bar.AddDrive("E: [Remote]", DRIVE_REMOTE);
        host.bar.PathBox()->SetSelIndex(-1);
        Pump();
    }
    HWND Bar() const { return host.bar.GetHandle(); }
    int BarHeight() const {
        RECT r{};
        GetWindowRect(Bar(), &r);
        return r.bottom - r.top;
    }
    void Click(UINT id) {
        const RECT r = host.bar.ButtonRect(id);
        const LPARAM at = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
        PostMessageA(Bar(), WM_LBUTTONDOWN, MK_LBUTTON, at);
        PostMessageA(Bar(), WM_LBUTTONUP, 0, at);
        Pump(50);
    }

    THost host{SampleTree()};
};

int LeftOf(HWND wnd, HWND in) {
    RECT r{};
    GetWindowRect(wnd, &r);
    MapWindowPoints(nullptr, in, reinterpret_cast<POINT*>(&r), 2);
    return r.left;
}

TEST_F(ControlBar, GadgetsLeftToRightWithTheirStartingState) {
    // The path box, the buttons in their groups, the mode box; only Rescan starts enabled.
    int previous = LeftOf(host.bar.PathBox()->GetHandle(), Bar());
    for (UINT id : {CM_BACK, CM_FORWARD, CM_PARENT, CM_RESCAN, CM_RESCAN_ALL, CM_OPEN_FOLDER, CM_EXPLORE_FOLDER,
                    CM_EXPLORE_FROM_HERE, CM_ANY_FOLDER, CM_IMPORT, CM_EXPORT, CM_COMPARE}) {
        EXPECT_GT(host.bar.ButtonRect(id).left, previous) << id;
        previous = host.bar.ButtonRect(id).left;
        EXPECT_EQ(host.bar.IsButtonEnabled(id), id == CM_RESCAN) << id;
    }
    EXPECT_GT(LeftOf(host.bar.ModeBox()->GetHandle(), Bar()), previous);
    const RECT back = host.bar.ButtonRect(CM_BACK), rescan = host.bar.ButtonRect(CM_RESCAN);
    EXPECT_GT((rescan.right - rescan.left) - (back.right - back.left), 40) << "room for the text beside the glyph";

    const fw::TGadgetComboBoxEx& paths = *host.bar.PathBox();
    EXPECT_EQ(GetDlgCtrlID(paths.GetHandle()), IDC_PATH_BOX);
    ASSERT_EQ(paths.Count(), 3);
    EXPECT_EQ(paths.ItemText(0), "C: [Fixed] SYSTEM");
    EXPECT_EQ((std::vector<int>{paths.ItemImage(0), paths.ItemImage(1), paths.ItemImage(2)}),
              (std::vector<int>{2, 4, 3}))
        << "the pictures of a fixed drive, a CD-ROM and a remote drive";
    const fw::TFlatComboBox& modes = *host.bar.ModeBox();
    EXPECT_EQ(GetDlgCtrlID(modes.GetHandle()), IDC_MODE_BOX);
    EXPECT_EQ((std::vector<std::string>{modes.GetString(0), modes.GetString(1), modes.GetString(2)}),
              (std::vector<std::string>{"Logical Size", "Physical Size", "Wasted Space"}));
    EXPECT_EQ(modes.GetSelIndex(), 0);
}

TEST_F(ControlBar, AButtonSendsItsCommandToTheTarget) {
    Click(CM_RESCAN);
    Click(CM_BACK);  // disabled
    host.bar.SetButtonEnabled(CM_BACK, true);
    Click(CM_BACK);
    EXPECT_EQ(host.commands, (std::vector<UINT>{CM_RESCAN, CM_BACK}));
}

TEST_F(ControlBar, PathBoxPostsADriveOnlyWhenItsSelectionMovedWhileOpen) {
    HWND box = host.bar.PathBox()->GetHandle();
    HWND combo = host.bar.PathBox()->ComboHandle();
    SetFocus(combo);
    SendMessageA(box, CB_SHOWDROPDOWN, TRUE, 0);
    SendMessageA(box, CB_SHOWDROPDOWN, FALSE, 0);
    Pump(50);
    EXPECT_TRUE(host.commands.empty()) << "opened and closed without moving";

    SendMessageA(box, CB_SHOWDROPDOWN, TRUE, 0);
    SendMessageA(combo, WM_KEYDOWN, VK_DOWN, 0);
    SendMessageA(combo, WM_KEYDOWN, VK_DOWN, 0);
    SendMessageA(box, CB_SHOWDROPDOWN, FALSE, 0);
    Pump(50);
    EXPECT_EQ(host.commands, (std::vector<UINT>{CM_DRIVE_FIRST + 1})) << "the drive finally selected";
    EXPECT_EQ(host.bar.PathBox()->GetSelIndex(), 1) << "the box shows the drive chosen";

    host.commands.clear();
    SendMessageA(box, CB_SHOWDROPDOWN, TRUE, 0);
    SendMessageA(combo, WM_KEYDOWN, VK_DOWN, 0);
    SendMessageA(combo, WM_KEYDOWN, VK_RETURN, 0);  // chosen with Enter, which closes the list
    Pump(50);
    EXPECT_EQ(host.commands, (std::vector<UINT>{CM_DRIVE_FIRST + 2}));
}

TEST_F(ControlBar, ModeBoxPostsTheModeChosen) {
    HWND modes = host.bar.ModeBox()->GetHandle();
    SetFocus(modes);
    SendMessageA(modes, WM_KEYDOWN, VK_DOWN, 0);
    SendMessageA(modes, WM_KEYDOWN, VK_DOWN, 0);
    Pump(50);
    EXPECT_EQ(host.commands, (std::vector<UINT>{CM_MODE_BOX_FIRST + 1, CM_MODE_BOX_FIRST + 2}));

    host.commands.clear();
    host.bar.SelectMode(0);  // the frame puts the box back: no command
    host.bar.SelectMode(3);
    host.bar.SelectMode(-1);
    Pump(50);
    EXPECT_TRUE(host.commands.empty());
    EXPECT_EQ(host.bar.ModeBox()->GetSelIndex(), 0);
}

TEST_F(ControlBar, EtchedLinesAlongTheTopAndBottom) {
    RECT window{};
    GetWindowRect(Bar(), &window);
    const int height = window.bottom - window.top;
    const screentest::ScreenCapture screen(host.GetHandle(), RECT{500, 0, 501, height});
    EXPECT_EQ(screen.At(500, 0), GetSysColor(COLOR_BTNSHADOW));
    EXPECT_EQ(screen.At(500, 1), GetSysColor(COLOR_BTNHIGHLIGHT));
    EXPECT_EQ(screen.At(500, height - 2), GetSysColor(COLOR_BTNSHADOW));
    EXPECT_EQ(screen.At(500, height - 1), GetSysColor(COLOR_BTNHIGHLIGHT));
}

TEST_F(ControlBar, LargeButtonsDoubleTheBarAtOnce) {
    const int normalHeight = BarHeight();
    const RECT normal = host.bar.ButtonRect(CM_BACK);
    ASSERT_TRUE(host.bar.SetLargeButtons(true));
    EXPECT_FALSE(host.bar.SetLargeButtons(true)) << "no change";
    host.Relayout();  // the frame arranges its bars for the new height
    Pump();

    int cx = 0, cy = 0;
    ImageList_GetIconSize(reinterpret_cast<HIMAGELIST>(SendMessageA(Bar(), TB_GETIMAGELIST, 0, 0)), &cx, &cy);
    EXPECT_EQ(cx, 32);
    EXPECT_EQ(cy, 32);
    const RECT large = host.bar.ButtonRect(CM_BACK);
    EXPECT_GE(large.bottom - large.top, normal.bottom - normal.top + 16);
    EXPECT_GE(large.right - large.left, normal.right - normal.left + 16);
    EXPECT_GE(BarHeight(), normalHeight + 16);
    RECT split{};
    GetWindowRect(host.split.GetHandle(), &split);
    MapWindowPoints(nullptr, host.GetHandle(), reinterpret_cast<POINT*>(&split), 2);
    EXPECT_EQ(split.top, BarHeight()) << "the pane below moved down";

    RECT box{}, bar{};
    GetWindowRect(host.bar.ModeBox()->GetHandle(), &box);
    GetWindowRect(Bar(), &bar);
    EXPECT_NEAR((box.top + box.bottom) / 2, (bar.top + bar.bottom) / 2, 2) << "the boxes sit in the middle";

    ASSERT_TRUE(host.bar.SetLargeButtons(false));
    host.Relayout();
    EXPECT_EQ(BarHeight(), normalHeight);
}

TEST_F(ControlBar, AtAnotherDpiEverythingIsScaledAndComesBackExactly) {
    const auto widthOf = [](HWND wnd) {
        RECT r{};
        GetWindowRect(wnd, &r);
        return static_cast<int>(r.right - r.left);
    };
    const auto glyphWidth = [this] {
        int width = 0, height = 0;
        ImageList_GetIconSize(reinterpret_cast<HIMAGELIST>(SendMessageA(Bar(), TB_GETIMAGELIST, 0, 0)), &width,
                              &height);
        return width;
    };
    const RECT back96 = host.bar.ButtonRect(CM_BACK), export96 = host.bar.ButtonRect(CM_EXPORT);
    const int gap96 = host.bar.ButtonRect(CM_RESCAN).left - host.bar.ButtonRect(CM_PARENT).right;
    const int height96 = BarHeight(), path96 = widthOf(host.bar.PathBox()->GetHandle());
    ASSERT_EQ(glyphWidth(), 16);

    host.bar.ApplyDpi(192);
    Pump();
    EXPECT_EQ(glyphWidth(), 32) << "the glyphs drawn at 200 %";
    EXPECT_EQ(widthOf(host.bar.PathBox()->GetHandle()), 2 * path96);
    EXPECT_GT(BarHeight(), height96 * 3 / 2);
    const RECT back = host.bar.ButtonRect(CM_BACK);
    EXPECT_GE(back.right - back.left, 32 + (back96.right - back96.left - 16)) << "the glyph and the control's edges";
    EXPECT_EQ(host.bar.ButtonRect(CM_RESCAN).left - host.bar.ButtonRect(CM_PARENT).right, 2 * gap96)
        << "a separator twice as wide";
    EXPECT_EQ(host.bar.IsButtonEnabled(CM_RESCAN), true) << "the buttons keep their state";
    EXPECT_EQ(host.bar.IsButtonEnabled(CM_BACK), false);
    host.bar.ApplyDpi(144);
    Pump();
    EXPECT_EQ(glyphWidth(), 24);

    host.bar.ApplyDpi(96);
    Pump();
    EXPECT_EQ(glyphWidth(), 16);
    EXPECT_EQ(BarHeight(), height96);
    EXPECT_EQ(widthOf(host.bar.PathBox()->GetHandle()), path96);
    const RECT backAgain = host.bar.ButtonRect(CM_BACK), exportAgain = host.bar.ButtonRect(CM_EXPORT);
    EXPECT_TRUE(EqualRect(&backAgain, &back96) && EqualRect(&exportAgain, &export96));
}

// The whole host as a user would see it, for people to look at.
TEST(PartsScreenshot, ToolBarTreeAndStatusBarsNormalAndLarge) {
    SetCursorPos(1270, 1010);
    THost host(SampleTree());
    host.Open();
    host.bar.AddDrive("C: [Fixed] SYSTEM", DRIVE_FIXED);
    host.bar.AddDrive("D: [CD-ROM]", DRIVE_CDROM);
    host.bar.PathBox()->SetSelIndex(0);
    for (UINT id : {CM_BACK, CM_PARENT, CM_RESCAN_ALL, CM_OPEN_FOLDER, CM_EXPLORE_FOLDER, CM_EXPLORE_FROM_HERE,
                    CM_ANY_FOLDER, CM_IMPORT, CM_EXPORT})
        host.bar.SetButtonEnabled(id, true);
    host.current = "C:\\Users\\Ann\\Pictures\\";
    ASSERT_TRUE(host.treeWindow.SelectCurrent());
    const model::DirInfo& users = host.root.subdirs[2];
    host.deep.ShowFolder("C:\\Users\\", users, 4096);
    host.shallow.ShowFolder("", users, 4096);
    host.deep.Cell(2).SetMarked(true);
    host.shallow.Cell(2).SetMarked(true);
    Pump(100);
    EXPECT_TRUE(screentest::SaveScreenshot(host.GetHandle(), "parts-normal.bmp"));

    host.bar.SetLargeButtons(true);
    host.Relayout();
    Pump(100);
    EXPECT_TRUE(screentest::SaveScreenshot(host.GetHandle(), "parts-large.bmp"));
}

}  // namespace
