// Anchor arithmetic of the resizable dialog base: where a control goes when the client area grows or
// shrinks, per mode and axis, and the size grip's square.
#include "info/StretchAnchors.h"

#include <gtest/gtest.h>

namespace {

using fw::Rect;

// A 300 x 200 client area with a control at 20..120 horizontally and 30..80 vertically.
const Rect kClient{0, 0, 300, 200};
const Rect kControl{20, 30, 120, 80};

struct AnchorCase {
    int horizontal, vertical;
    Rect grownBy50x40;  // client 350 x 240
    Rect shrunkBy100;   // client 200 x 100
};

TEST(StretchAnchors, EachModeMovesOrStretchesItsAxisOnly) {
    const AnchorCase cases[] = {
        {0, 0, {70, 70, 170, 120}, {-80, -70, 20, -20}},  // follows right and bottom, size kept
        {1, 1, {20, 30, 170, 120}, {20, 30, 20, -20}},    // both edges keep their distances
        {2, 2, {20, 30, 120, 80}, {20, 30, 120, 80}},     // stays
        {0, 2, {70, 30, 170, 80}, {-80, 30, 20, 80}},    {2, 0, {20, 70, 120, 120}, {20, -70, 120, -20}},
        {1, 0, {20, 70, 170, 120}, {20, -70, 20, -20}},  {0, 1, {70, 30, 170, 120}, {-80, 30, 20, -20}},
    };
    for (const AnchorCase& c : cases) {
        SCOPED_TRACE(testing::Message() << "modes " << c.horizontal << "," << c.vertical);
        const fw::EdgeConstraints rules = info::AnchorConstraints(kClient, kControl, c.horizontal, c.vertical);
        EXPECT_EQ(fw::Place(rules, kClient), kControl);
        EXPECT_EQ(fw::Place(rules, {0, 0, 350, 240}), c.grownBy50x40);
        EXPECT_EQ(fw::Place(rules, {0, 0, 200, 100}), c.shrunkBy100);
    }
}

TEST(StretchAnchors, ACornerAnchoredControlKeepsItsDistanceFromTheCornerAtEverySize) {
    const Rect button{230, 170, 290, 190};
    const fw::EdgeConstraints rules = info::AnchorConstraints(kClient, button, 0, 0);
    for (int width = 1; width <= 2000; width += 37)
        for (int height = 1; height <= 1500; height += 53) {
            const Rect placed = fw::Place(rules, {0, 0, width, height});
            ASSERT_EQ(width - placed.right, 10);
            ASSERT_EQ(height - placed.bottom, 10);
            ASSERT_EQ(placed.Width(), 60);
            ASSERT_EQ(placed.Height(), 20);
        }
}

TEST(StretchAnchors, DistancesAreMeasuredFromAClientAreaThatNeedNotStartAtZero) {
    const fw::EdgeConstraints rules = info::AnchorConstraints({10, 10, 310, 210}, {30, 40, 130, 90}, 1, 0);
    EXPECT_EQ(fw::Place(rules, {10, 10, 410, 260}), (Rect{30, 90, 230, 140}));
}

TEST(StretchAnchors, OnlyModesZeroToTwoAreAnchorModes) {
    for (int mode : {-1, 3, 100}) EXPECT_FALSE(info::IsAnchorMode(mode)) << mode;
    for (int mode : {0, 1, 2}) EXPECT_TRUE(info::IsAnchorMode(mode)) << mode;
}

TEST(StretchAnchors, TheGripIsTheLowerRightSquareWithItsFarEdgesExclusive) {
    const Rect grip = info::GripRect({0, 0, 300, 200}, 17, 16);
    EXPECT_EQ(grip, (Rect{283, 184, 300, 200}));
    EXPECT_TRUE(info::InRect(grip, 283, 184));
    EXPECT_TRUE(info::InRect(grip, 299, 199));
    EXPECT_FALSE(info::InRect(grip, 300, 199));
    EXPECT_FALSE(info::InRect(grip, 299, 200));
    EXPECT_FALSE(info::InRect(grip, 282, 190));
}

}  // namespace
