// The recent roots in the Root drop-down of menu resource 1, rewritten as the list changes.
#include "frame/MRUPathsMenu.h"
#include "fw/Handles.h"
#include "resource.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// One line per item: "-" for a separator, else "id text".
std::vector<std::string> Describe(HMENU menu) {
    std::vector<std::string> items;
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        MENUITEMINFOA info{sizeof info};
        char text[260] = {};
        info.fMask = MIIM_ID | MIIM_FTYPE | MIIM_STRING;
        info.dwTypeData = text;
        info.cch = sizeof text;
        GetMenuItemInfoA(menu, static_cast<UINT>(i), TRUE, &info);
        items.push_back(info.fType & MFT_SEPARATOR ? "-" : std::to_string(info.wID) + " " + text);
    }
    return items;
}

std::vector<std::string> With(std::vector<std::string> items, const std::vector<std::string>& extra) {
    items.insert(items.end() - 1, extra.begin(), extra.end());
    return items;
}

class RootMenu : public ::testing::Test {
protected:
    void SetUp() override {
        bar_.Reset(LoadMenuA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDM_MAIN)));
        ASSERT_TRUE(bar_);
        root_ = GetSubMenu(bar_.Get(), 0);
        ASSERT_NE(root_, nullptr);
        original_ = Describe(root_);
        ASSERT_EQ(original_.back(), "24310 E&xit\tAlt-F4");
    }
    fw::Menu bar_;
    HMENU root_ = nullptr;
    std::vector<std::string> original_;
};

}  // namespace

TEST_F(RootMenu, EmptyListAddsNothing) {
    frame::RewriteRecentRoots(root_, CM_RECENT_ROOT_FIRST, {});
    EXPECT_EQ(Describe(root_), original_) << "no recent roots and no extra separator";
}

TEST_F(RootMenu, FourEntriesGoBeforeExitWithASeparatorAfterThem) {
    const std::vector<std::string> roots{"D:\\", "C:\\Data\\", "E:\\", "F:\\Music\\"};
    frame::RewriteRecentRoots(root_, CM_RECENT_ROOT_FIRST, roots);
    EXPECT_EQ(Describe(root_),
              With(original_, {"29100 D:\\", "29101 C:\\Data\\", "29102 E:\\", "29103 F:\\Music\\", "-"}));

    // Shrinking removes the old items and their separator; emptying restores the resource's menu.
    frame::RewriteRecentRoots(root_, CM_RECENT_ROOT_FIRST, {"X:\\", "Y:\\"});
    EXPECT_EQ(Describe(root_), With(original_, {"29100 X:\\", "29101 Y:\\", "-"}));
    frame::RewriteRecentRoots(root_, CM_RECENT_ROOT_FIRST, {});
    EXPECT_EQ(Describe(root_), original_);
}

TEST_F(RootMenu, WriterFollowsTheListOnTheWindowsMenuBar) {
    HWND window = CreateWindowExA(0, "STATIC", "", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr, bar_.Get(),
                                  GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(window, nullptr);
    frame::MRUPaths paths(CM_RECENT_ROOT_FIRST);
    paths.SetMenuWriter(frame::RootMenuWriter(window));
    paths.RewriteMenu();
    EXPECT_EQ(Describe(root_), original_);
    for (const char* path : {"A:\\", "B:\\", "C:\\", "D:\\", "E:\\", "b:\\"}) paths.Add(path);
    EXPECT_EQ(Describe(root_), With(original_, {"29100 b:\\", "29101 E:\\", "29102 D:\\", "29103 C:\\", "-"}));
    SetMenu(window, nullptr);  // the menu belongs to the fixture
    DestroyWindow(window);
    paths.Add("Z:\\");  // no window any more: nothing to rewrite, nothing breaks
    EXPECT_EQ(Describe(root_), With(original_, {"29100 b:\\", "29101 E:\\", "29102 D:\\", "29103 C:\\", "-"}));
}
