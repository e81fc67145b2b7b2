// The resizable dialog base on a real dialog (the drives template: a list and OK): minimum size, anchored
// controls, the grip's hit test and its hiding while maximized.
#include "fw/TLayout.h"
#include "info/TStretchDlg.h"
#include "resource.h"

#include <gtest/gtest.h>

#include <commctrl.h>

namespace {

class TPlainStretchDlg : public info::TStretchDlg {
public:
    TPlainStretchDlg() : TStretchDlg(nullptr, IDD_SYS_DRIVES) {}
    ~TPlainStretchDlg() override {
        if (GetHandle()) DestroyWindow(GetHandle());
    }
};

struct Size {
    int width, height;
};

Size OuterSize(HWND wnd) {
    RECT r{};
    GetWindowRect(wnd, &r);
    return {r.right - r.left, r.bottom - r.top};
}

void Resize(HWND wnd, int width, int height) {
    SetWindowPos(wnd, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

class StretchDlgTest : public testing::Test {
protected:
    void SetUp() override {
        InitCommonControls();
        dialog.CreateModeless();
        first = OuterSize(dialog.GetHandle());
    }
    TPlainStretchDlg dialog;
    Size first{};
};

TEST_F(StretchDlgTest, DraggingSmallerThanTheFirstSizeStopsThere) {
    MINMAXINFO info{};
    SendMessageA(dialog.GetHandle(), WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
    EXPECT_EQ(info.ptMinTrackSize.x, first.width);
    EXPECT_EQ(info.ptMinTrackSize.y, first.height);

    Resize(dialog.GetHandle(), first.width / 2, first.height / 3);
    const Size shrunk = OuterSize(dialog.GetHandle());
    EXPECT_EQ(shrunk.width, first.width);
    EXPECT_EQ(shrunk.height, first.height);

    Resize(dialog.GetHandle(), first.width + 40, first.height - 30);
    const Size mixed = OuterSize(dialog.GetHandle());
    EXPECT_EQ(mixed.width, first.width + 40);
    EXPECT_EQ(mixed.height, first.height);
}

TEST_F(StretchDlgTest, AnchoredControlsFollowTheEdgesAndOthersStay) {
    HWND wnd = dialog.GetHandle();
    HWND list = dialog.Item(IDC_SYS_DRIVES_LIST);
    HWND ok = dialog.Item(IDOK);
    ASSERT_TRUE(dialog.SetControlAnchor(IDC_SYS_DRIVES_LIST, info::kAnchorStretch, info::kAnchorStretch));
    ASSERT_TRUE(dialog.SetControlAnchor(ok, info::kAnchorFar, info::kAnchorFar));
    const fw::Rect client = fw::ClientLayoutRect(wnd);
    const fw::Rect okBefore = fw::ChildLayoutRect(ok, wnd);
    const fw::Rect listBefore = fw::ChildLayoutRect(list, wnd);

    for (int step : {120, 7, 300}) {
        Resize(wnd, first.width + step, first.height + step / 2);
        const fw::Rect now = fw::ClientLayoutRect(wnd);
        const fw::Rect okNow = fw::ChildLayoutRect(ok, wnd);
        const fw::Rect listNow = fw::ChildLayoutRect(list, wnd);
        EXPECT_EQ(now.right - okNow.right, client.right - okBefore.right) << step;
        EXPECT_EQ(now.bottom - okNow.bottom, client.bottom - okBefore.bottom) << step;
        EXPECT_EQ(okNow.Width(), okBefore.Width());
        EXPECT_EQ(listNow.left, listBefore.left);
        EXPECT_EQ(listNow.top, listBefore.top);
        EXPECT_EQ(listNow.Width() - listBefore.Width(), now.Width() - client.Width()) << step;
        EXPECT_EQ(listNow.Height() - listBefore.Height(), now.Height() - client.Height()) << step;
    }
}

TEST_F(StretchDlgTest, AnotherWindowsControlOrABadModeIsRefusedAndNotMoved) {
    TPlainStretchDlg other;
    other.CreateModeless();
    HWND foreign = other.Item(IDOK);
    const fw::Rect foreignBefore = fw::ChildLayoutRect(foreign, other.GetHandle());
    EXPECT_FALSE(dialog.SetControlAnchor(foreign, info::kAnchorFar, info::kAnchorFar));
    EXPECT_FALSE(dialog.SetControlAnchor(IDOK, 3, 0));
    EXPECT_FALSE(dialog.SetControlAnchor(IDOK, 0, -1));
    EXPECT_FALSE(dialog.SetControlAnchor(static_cast<HWND>(nullptr), 0, 0));

    HWND ok = dialog.Item(IDOK);
    const fw::Rect okBefore = fw::ChildLayoutRect(ok, dialog.GetHandle());
    Resize(dialog.GetHandle(), first.width + 100, first.height + 100);
    EXPECT_EQ(fw::ChildLayoutRect(ok, dialog.GetHandle()), okBefore);
    EXPECT_EQ(fw::ChildLayoutRect(foreign, other.GetHandle()), foreignBefore);
}

LRESULT HitAt(HWND wnd, int clientX, int clientY) {
    POINT p{clientX, clientY};
    ClientToScreen(wnd, &p);
    return SendMessageA(wnd, WM_NCHITTEST, 0, MAKELPARAM(p.x, p.y));
}

TEST_F(StretchDlgTest, AClickInTheGripIsABottomRightResizeAndTheGripHidesWhileMaximized) {
    HWND wnd = dialog.GetHandle();
    const fw::Rect client = fw::ClientLayoutRect(wnd);
    const fw::Rect grip = dialog.GetGripRect();
    EXPECT_EQ(grip.right, client.right);
    EXPECT_EQ(grip.bottom, client.bottom);
    EXPECT_EQ(grip.Width(), GetSystemMetrics(SM_CYHSCROLL));
    EXPECT_EQ(HitAt(wnd, client.right - 2, client.bottom - 2), HTBOTTOMRIGHT);
    EXPECT_EQ(HitAt(wnd, grip.left, grip.top), HTBOTTOMRIGHT);
    EXPECT_EQ(HitAt(wnd, grip.left - 1, client.bottom - 2), HTCLIENT);
    EXPECT_EQ(HitAt(wnd, 5, 5), HTCLIENT);

    Resize(wnd, first.width + 60, first.height + 60);
    const fw::Rect moved = dialog.GetGripRect();
    EXPECT_EQ(moved.right, fw::ClientLayoutRect(wnd).right);
    EXPECT_EQ(HitAt(wnd, moved.left + 1, moved.top + 1), HTBOTTOMRIGHT);

    ShowWindow(wnd, SW_MAXIMIZE);
    EXPECT_FALSE(dialog.IsGripShown());
    EXPECT_NE(HitAt(wnd, fw::ClientLayoutRect(wnd).right - 2, fw::ClientLayoutRect(wnd).bottom - 2), HTBOTTOMRIGHT);
    ShowWindow(wnd, SW_RESTORE);
    EXPECT_TRUE(dialog.IsGripShown());
}

}  // namespace
