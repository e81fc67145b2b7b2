#include "frame/WindowState.h"

#include <gtest/gtest.h>

using frame::ScreenRect;
using frame::WindowState;

TEST(WindowState, FiveNumbersGiveTheRestoredRectangleAndTheMaximisedFlag) {
    EXPECT_EQ(frame::ParseWindowState("10 20 810 620 1"), (WindowState{{10, 20, 810, 620}, true}));
    EXPECT_EQ(frame::ParseWindowState("-1200 5 -400 600 0"), (WindowState{{-1200, 5, -400, 600}, false}));
    EXPECT_EQ(frame::ParseWindowState("  1 2 3 4 0  "), (WindowState{{1, 2, 3, 4}, false}));
}

TEST(WindowState, AnythingElseKeepsTheDefaultPlacement) {
    for (const char* text : {"", "1 2 3 4", "1 2 3 4 0 5", "a b c d e", "1 2 3 4 x", "1,2,3,4,0", "5 5 5 100 0",
                             "5 5 100 5 1", "99999999999 0 1 1 0"})
        EXPECT_FALSE(frame::ParseWindowState(text).has_value()) << '"' << text << '"';
}

TEST(WindowState, WritingThenReadingGivesTheSameState) {
    for (const WindowState& state : {WindowState{{0, 0, 640, 480}, false}, WindowState{{-7, -7, 1927, 1057}, true}}) {
        EXPECT_EQ(frame::ParseWindowState(frame::FormatWindowState(state)), state);
    }
    EXPECT_EQ(frame::FormatWindowState({{10, 20, 810, 620}, true}), "10 20 810 620 1");
}

TEST(WindowState, ARectangleOffTheWorkAreaComesBackInside) {
    const ScreenRect area{0, 0, 1280, 1000};
    EXPECT_EQ(frame::FitIntoArea({100, 100, 500, 400}, area), (ScreenRect{100, 100, 500, 400})) << "inside: kept";
    EXPECT_EQ(frame::FitIntoArea({3000, 2000, 3400, 2300}, area), (ScreenRect{880, 700, 1280, 1000}));
    EXPECT_EQ(frame::FitIntoArea({-900, -50, -500, 250}, area), (ScreenRect{0, 0, 400, 300}));
    EXPECT_EQ(frame::FitIntoArea({-10, 0, 2000, 1200}, area), area) << "larger than the area: shrunk to it";
}
