#include "frame/CommandTable.h"

#include <gtest/gtest.h>

#include <vector>

TEST(CommandTable, RowsAndRangesRunWithTheirIndexOnlyWhileEnabled) {
    std::vector<unsigned> ran;
    bool backAllowed = false;
    int mode = 1;
    frame::CommandTable table;
    table.Add({100, 1, [&](unsigned) { ran.push_back(100); }, [&](unsigned) { return backAllowed; }});
    table.Add({29000, 26, [&](unsigned i) { ran.push_back(29000 + i); }});
    table.Add({11866, 3, [&](unsigned i) { mode = static_cast<int>(i); }, [](unsigned i) { return i == 0; },
               [&](unsigned i) { return static_cast<int>(i) == mode; }});

    EXPECT_FALSE(table.Execute(100)) << "a disabled command does nothing, whatever sent it";
    backAllowed = true;
    EXPECT_TRUE(table.Execute(100));
    EXPECT_TRUE(table.Execute(29003));
    EXPECT_FALSE(table.Execute(29026)) << "one past the range";
    EXPECT_FALSE(table.Execute(12345)) << "not ours";
    EXPECT_EQ(ran, (std::vector<unsigned>{100, 29003}));

    EXPECT_TRUE(table.IsChecked(11867));
    EXPECT_FALSE(table.IsEnabled(11867));
    EXPECT_FALSE(table.Execute(11868));
    EXPECT_EQ(mode, 1);
    EXPECT_TRUE(table.Execute(11866));
    EXPECT_TRUE(table.IsChecked(11866));
    EXPECT_FALSE(table.IsChecked(29001)) << "no check rule: never checked";
    EXPECT_FALSE(table.IsEnabled(4)) << "unknown ids are not enabled";
    EXPECT_TRUE(table.Knows(29025));
}
