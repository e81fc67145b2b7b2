#include "frame/History.h"

#include <gtest/gtest.h>

TEST(History, SamePathInOtherLetterCaseAddsNothing) {
    frame::History history;
    history.Reset("C:\\");
    history.Go("C:\\Data\\");
    history.Go("c:\\DATA\\");
    EXPECT_EQ(history.Current(), "C:\\Data\\") << "the first spelling stays";
    ASSERT_TRUE(history.Back());
    EXPECT_EQ(history.Current(), "C:\\");
    EXPECT_TRUE(history.BackEmpty());
    EXPECT_FALSE(history.Back());
    EXPECT_EQ(history.Current(), "C:\\");
}

TEST(History, BackAndForwardMirrorEachOther) {
    frame::History history;
    history.Reset("A\\");
    for (const char* path : {"B\\", "C\\", "D\\"}) history.Go(path);
    ASSERT_TRUE(history.Back());
    ASSERT_TRUE(history.Back());
    EXPECT_EQ(history.Current(), "B\\");
    EXPECT_FALSE(history.ForwardEmpty());
    ASSERT_TRUE(history.Forward());
    EXPECT_EQ(history.Current(), "C\\");
    ASSERT_TRUE(history.Forward());
    EXPECT_EQ(history.Current(), "D\\");
    EXPECT_FALSE(history.Forward());
    EXPECT_EQ(history.Current(), "D\\");
}

TEST(History, NewNavigationEmptiesTheForwardStack) {
    frame::History history;
    history.Reset("A\\");
    for (const char* path : {"B\\", "C\\", "D\\"}) history.Go(path);
    for (int i = 0; i < 3; ++i) ASSERT_TRUE(history.Back());
    EXPECT_EQ(history.Current(), "A\\");
    history.Go("E\\");
    EXPECT_TRUE(history.ForwardEmpty());
    EXPECT_FALSE(history.Forward());
    ASSERT_TRUE(history.Back());
    EXPECT_EQ(history.Current(), "A\\");
    EXPECT_TRUE(history.BackEmpty());
}

TEST(History, ResetEmptiesBothStacks) {
    frame::History history;
    history.Reset("A\\");
    history.Go("B\\");
    history.Go("C\\");
    history.Back();
    history.Reset("Z\\");
    EXPECT_TRUE(history.BackEmpty());
    EXPECT_TRUE(history.ForwardEmpty());
    EXPECT_EQ(history.Current(), "Z\\");
}
