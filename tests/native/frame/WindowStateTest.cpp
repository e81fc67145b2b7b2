#include "frame/WindowState.h"

#include <gtest/gtest.h>

using frame::WindowState;
using fw::Rect;

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

TEST(WindowState, ARememberedRectangleStaysWhereverItsTitleBarCanBeGrabbed) {
    constexpr int kCaption = 23;
    const Rect primary{0, 0, 1920, 1040};  // a task bar below
    const Rect right{1920, 0, 3840, 1200};
    const Rect left{-2560, -200, 0, 1240};
    const Rect raised{1920, -600, 3840, 480};  // beside the primary one, higher up
    struct Case {
        const char* what;
        std::vector<Rect> areas;
        Rect rect;
        Rect nearest;  // the work area of the monitor the system finds nearest
        Rect expected;
    };
    const Case cases[] = {
        {"inside the primary monitor", {primary}, {100, 100, 900, 700}, primary, {100, 100, 900, 700}},
        {"on the second monitor", {primary, right}, {2100, 50, 3000, 900}, right, {2100, 50, 3000, 900}},
        {"on a monitor left of the primary one",
         {primary, left},
         {-2400, -150, -800, 1000},
         left,
         {-2400, -150, -800, 1000}},
        {"across both monitors", {primary, right}, {1500, 200, 2500, 800}, primary, {1500, 200, 2500, 800}},
        {"larger than its monitor", {primary}, {-8, 0, 2100, 1300}, primary, {-8, 0, 2100, 1300}},
        {"the title bar partly above the top edge", {primary}, {200, -8, 900, 600}, primary, {200, -8, 900, 600}},
        {"its monitor is gone", {primary}, {2100, 50, 3000, 900}, primary, {1020, 50, 1920, 900}},
        {"the title bar above every screen", {primary}, {300, -100, 900, 500}, primary, {300, 0, 900, 600}},
        {"only a sliver of the title bar on screen",
         {primary},
         {1900, 100, 2700, 700},
         primary,
         {1120, 100, 1920, 700}},
        {"the title bar in the notch between two monitors",
         {primary, raised},
         {2000, 500, 2600, 900},
         raised,
         {2000, 80, 2600, 480}},
        {"a large one off every screen is shrunk into the nearest", {primary}, {5000, 0, 8000, 2000}, primary, primary},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(frame::PlaceRememberedRect(c.rect, c.areas, c.nearest, kCaption), c.expected) << c.what;
        EXPECT_EQ(frame::TitleBarShown(c.rect, c.areas, kCaption), c.rect == c.expected) << c.what;
    }
    // A narrow window needs all of its title bar width on screen, no more.
    EXPECT_TRUE(frame::TitleBarShown({1860, 10, 1920, 300}, {primary}, kCaption));
    EXPECT_FALSE(frame::TitleBarShown({1861, 10, 1921, 300}, {primary}, kCaption));
    EXPECT_FALSE(frame::TitleBarShown({100, 100, 900, 700}, {}, kCaption)) << "no monitors";
}
