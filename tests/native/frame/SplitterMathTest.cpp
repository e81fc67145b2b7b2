#include "frame/SplitterMath.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

using frame::DragSplit;
using frame::SplitPosition;

constexpr int kBar = 4;

TEST(SplitterMath, DragStopsAtEitherEdge) {
    struct Case {
        int cursor, offset, width;
        int position;
    };
    const Case cases[] = {
        {-50, 2, 800, 0},     // far beyond the left edge (a captured cursor reports negative x)
        {1, 2, 800, 0},       // the grab offset pulls it below 0
        {300, 2, 800, 298},   // inside
        {796, 0, 800, 796},   // exactly at the right limit
        {5000, 2, 800, 796},  // beyond the right edge: width minus the bar
        {100, 0, 4, 0},       // no free room at all
        {100, 0, 2, 0},       // narrower than the bar
    };
    for (const Case& c : cases) {
        const frame::SplitDrag drag = DragSplit(c.cursor, c.offset, c.width, kBar, 0.5);
        EXPECT_EQ(drag.position, c.position) << c.cursor << " in " << c.width;
        EXPECT_FALSE(std::isnan(drag.ratio));
        EXPECT_GE(drag.ratio, 0.0);
        EXPECT_LE(drag.ratio, 1.0);
    }
    EXPECT_EQ(DragSplit(100, 0, 4, kBar, 0.25).ratio, 0.25) << "nothing free: the ratio stays";
}

TEST(SplitterMath, ResizingKeepsTheProportionOfTheLastDrag) {
    const frame::SplitDrag drag = DragSplit(300, 0, 904, kBar, 0.333);  // a third of the 900 free pixels
    EXPECT_EQ(SplitPosition(1804, kBar, drag.ratio), 600);
    EXPECT_EQ(SplitPosition(454, kBar, drag.ratio), 150);
    EXPECT_EQ(SplitPosition(904, kBar, drag.ratio), 300);
    // Every dragged offset maps back to itself at the same width, whatever rounding the ratio took.
    for (int width : {5, 97, 640, 1001, 1920, 4000})
        for (int position = 0; position <= width - kBar; ++position)
            ASSERT_EQ(SplitPosition(width, kBar, DragSplit(position, 0, width, kBar, 0).ratio), position)
                << position << " of " << width;
}

TEST(SplitterMath, PositionFromRatio) {
    EXPECT_EQ(SplitPosition(1000, kBar, 0.333), 331);  // trunc(996 * 0.333)
    EXPECT_EQ(SplitPosition(1000, kBar, -1), 0);
    EXPECT_EQ(SplitPosition(1000, kBar, 7), 996);
    EXPECT_EQ(SplitPosition(1000, kBar, std::numeric_limits<double>::quiet_NaN()), 0);
    EXPECT_EQ(SplitPosition(3, kBar, 0.5), 0) << "a window narrower than the bar";
}

TEST(SplitterMath, PanesAndBarFillTheClientArea) {
    struct Case {
        const char* what;
        int width, height, position;
        bool vertical;
        frame::SplitLayout layout;
    };
    const Case cases[] = {
        {"side by side", 800, 600, 300, true, {{0, 0, 300, 600}, {300, 0, 304, 600}, {304, 0, 800, 600}}},
        {"one above the other", 800, 600, 200, false, {{0, 0, 800, 200}, {0, 200, 800, 204}, {0, 204, 800, 600}}},
        {"bar at the far edge", 100, 50, 98, true, {{0, 0, 98, 50}, {98, 0, 100, 50}, {100, 0, 100, 50}}},
        {"position past the end", 100, 50, 500, true, {{0, 0, 100, 50}, {100, 0, 100, 50}, {100, 0, 100, 50}}},
        {"position below 0", 100, 50, -5, false, {{0, 0, 100, 0}, {0, 0, 100, 4}, {0, 4, 100, 50}}},
        {"no client area", 0, 0, 10, true, {}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(frame::LayOutSplit(c.width, c.height, c.position, kBar, c.vertical), c.layout) << c.what;
}

}  // namespace
