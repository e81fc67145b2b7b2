// The main menu, accelerators and hint strings as the program loads them from its resources.
#include "frame/DebugMenu.h"
#include "fw/Handles.h"
#include "fw/TDecoratedFrame.h"
#include "resource.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {
HINSTANCE Instance() { return GetModuleHandleA(nullptr); }

std::string TopLevelText(HMENU menu, int position) {
    char text[64] = {};
    GetMenuStringA(menu, position, text, sizeof text, MF_BYPOSITION);
    return text;
}

// Every command id in the menu tree, drop-downs included.
void CollectIds(HMENU menu, std::vector<UINT>& ids) {
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        MENUITEMINFOA info{sizeof info};
        info.fMask = MIIM_ID | MIIM_SUBMENU | MIIM_FTYPE;
        ASSERT_TRUE(GetMenuItemInfoA(menu, i, TRUE, &info));
        if (info.fType & MFT_SEPARATOR) continue;
        ids.push_back(info.wID);
        if (info.hSubMenu) CollectIds(info.hSubMenu, ids);
    }
}
}  // namespace

TEST(MainMenu, DebugDropDownIsRemovedAndSevenRemain) {
    fw::Menu menu(LoadMenuA(Instance(), MAKEINTRESOURCEA(IDM_MAIN)));
    ASSERT_TRUE(menu);
    ASSERT_EQ(GetMenuItemCount(menu.Get()), 8);
    EXPECT_TRUE(frame::RemoveDebugMenu(menu.Get()));
    const std::vector<std::string> expected{"&Root", "&View", "&Mode", "&Commands", "&Info", "&Options", "&Help"};
    ASSERT_EQ(GetMenuItemCount(menu.Get()), 7);
    for (int i = 0; i < 7; ++i) EXPECT_EQ(TopLevelText(menu.Get(), i), expected[i]);
    EXPECT_FALSE(frame::RemoveDebugMenu(menu.Get())) << "only one debug drop-down exists";
    EXPECT_EQ(GetMenuState(menu.Get(), CM_FIND_USERS, MF_BYCOMMAND), static_cast<UINT>(-1));
}

TEST(MainMenu, DebugMatchIgnoresCaseButNotOtherTexts) {
    fw::Menu bar(CreateMenu());
    AppendMenuA(bar.Get(), MF_STRING, 1, "Debugger");
    AppendMenuA(bar.Get(), MF_STRING, 2, "DEBUG");
    AppendMenuA(bar.Get(), MF_STRING, 3, "debug");
    EXPECT_TRUE(frame::RemoveDebugMenu(bar.Get()));
    ASSERT_EQ(GetMenuItemCount(bar.Get()), 2);
    EXPECT_EQ(TopLevelText(bar.Get(), 0), "Debugger");
    EXPECT_EQ(TopLevelText(bar.Get(), 1), "debug");
}

TEST(MainMenu, EveryCommandWithAHintHasItsString) {
    const std::vector<std::pair<UINT, std::string>> hints{
        {CM_ROOT_MENU, "Contains generic commands"},
        {CM_ANY_FOLDER, "Select any folder as the root to browse"},
        {CM_IMPORT, "Load a previously saved disk structure"},
        {CM_EXPORT, "Save a disk structure for later access"},
        {CM_EXIT, "Exit the program"},
        {CM_BACK, "Go back in the folder history"},
        {CM_FORWARD, "Go forward in the folder history"},
        {CM_PARENT, "Move to the parent folder"},
        {CM_RESCAN, "Rescan the current folder"},
        {CM_RESCAN_ALL, "Rescan the whole structure"},
        {CM_COMMANDS_MENU, "Contains browsing commands"},
        {CM_OPEN_FOLDER, "Open the current folder in a system view"},
        {CM_EXPLORE_FOLDER, "Explore the current folder in a system view"},
        {CM_EXPLORE_FROM_HERE, "Explore the current folder in a rooted system view"},
        {CM_STATISTICS, "Contains statistical information"},
        {CM_HISTOGRAM, "Displays the distribution of file sizes"},
        {CM_OPTIONS_MENU, "Contains miscellaneous commands and configuration"},
        {CM_SETTINGS, "Contains configurable program options"},
        {CM_HELP_MENU, "Contains help and program information"},
        {CM_BRIEF_DOCUMENT, "Display a brief informatory document"},
        {CM_HELP_TOPICS, "Display detailed usage information"},
        {CM_ABOUT, "Display an About dialog"},
        {CM_OPEN_ITEM, "Open the selected item with its program"},
        {CM_PROPERTIES, "Show the properties of the selected item"},
        {CM_DELETE, "Move the selected item to the Recycle Bin"},
        {CM_DELETE_PERMANENTLY, "Delete the selected item for good"},
        {CM_COPY_PATH, "Copy the full path of the selected item"},
    };
    for (const auto& [id, text] : hints) EXPECT_EQ(fw::TDecoratedFrame::HintFor(id), text) << id;

    // Commands without a hint must not pick up a neighbour's string.
    for (UINT id : {CM_VIEW_MENU, CM_MODE_MENU, CM_INFO_MENU, CM_MODE_LOGICAL, CM_FORCE_CLUSTER_SIZE, CM_COPY_NAME,
                    CM_CLUSTER_INFO, CM_SYSTEM_DRIVES, CM_FIND_USERS})
        EXPECT_EQ(fw::TDecoratedFrame::HintFor(id), "") << id;
}

TEST(MainMenu, MenuHoldsTheWholeCommandTable) {
    fw::Menu menu(LoadMenuA(Instance(), MAKEINTRESOURCEA(IDM_MAIN)));
    std::vector<UINT> ids;
    CollectIds(menu.Get(), ids);
    for (UINT id : {CM_ROOT_MENU,      CM_ANY_FOLDER,
                    CM_IMPORT,         CM_EXPORT,
                    CM_EXIT,           CM_VIEW_MENU,
                    CM_BACK,           CM_FORWARD,
                    CM_PARENT,         CM_RESCAN,
                    CM_RESCAN_ALL,     CM_MODE_MENU,
                    CM_MODE_LOGICAL,   CM_MODE_PHYSICAL,
                    CM_MODE_WASTED,    CM_FORCE_CLUSTER_SIZE,
                    CM_COMMANDS_MENU,  CM_OPEN_FOLDER,
                    CM_EXPLORE_FOLDER, CM_EXPLORE_FROM_HERE,
                    CM_COPY_NAME,      CM_INFO_MENU,
                    CM_STATISTICS,     CM_HISTOGRAM,
                    CM_CLUSTER_INFO,   CM_SYSTEM_DRIVES,
                    CM_OPTIONS_MENU,   CM_SETTINGS,
                    CM_FIND_USERS,     CM_HELP_MENU,
                    CM_HELP_TOPICS,    CM_ABOUT,
                    CM_COMPARE,        CM_END_COMPARISON,
                    CM_OPEN_ITEM,      CM_PROPERTIES,
                    CM_DELETE,         CM_DELETE_PERMANENTLY,
                    CM_COPY_PATH})
        EXPECT_NE(std::find(ids.begin(), ids.end(), id), ids.end()) << id;

    HMENU root = GetSubMenu(menu.Get(), 0);
    const int last = GetMenuItemCount(root) - 1;
    EXPECT_EQ(GetMenuItemID(root, last), static_cast<UINT>(CM_EXIT)) << "recent roots are inserted before Exit";
    char text[64] = {};
    GetMenuStringA(root, CM_EXPORT, text, sizeof text, MF_BYCOMMAND);
    EXPECT_STREQ(text, "&Export...\tCtrl-S");
}

// The seven keys of the browsing commands, and Del and Shift+Del for the deletes.
TEST(MainMenu, AcceleratorTableHoldsExactlyTheNineKeys) {
    HACCEL table = LoadAcceleratorsA(Instance(), MAKEINTRESOURCEA(IDA_MAIN));
    ASSERT_NE(table, nullptr);
    ACCEL entries[16] = {};
    const int count = CopyAcceleratorTableA(table, entries, 16);
    ASSERT_EQ(count, 9);
    struct Key {
        BYTE modifiers;
        WORD key;
        WORD command;
    };
    const Key expected[] = {
        {FCONTROL, 'O', CM_IMPORT},     {FCONTROL, 'S', CM_EXPORT}, {FALT, VK_LEFT, CM_BACK},
        {FALT, VK_RIGHT, CM_FORWARD},   {0, VK_BACK, CM_PARENT},    {0, VK_F5, CM_RESCAN},
        {FSHIFT, VK_F5, CM_RESCAN_ALL}, {0, VK_DELETE, CM_DELETE},  {FSHIFT, VK_DELETE, CM_DELETE_PERMANENTLY}};
    for (const Key& key : expected) {
        bool found = false;
        for (int i = 0; i < count; ++i)
            found |= entries[i].key == key.key && entries[i].cmd == key.command &&
                     (entries[i].fVirt & (FCONTROL | FALT | FSHIFT)) == key.modifiers && (entries[i].fVirt & FVIRTKEY);
        EXPECT_TRUE(found) << key.command;
    }
}
