#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "pie/ArcPolygon.h"
#include "pie/RingAreas.h"

namespace {

constexpr double kPi = std::numbers::pi;

TEST(RingAreas, RadiiEncloseEqualAreas) {
    pie::RingAreas areas;
    areas.Reset(4, 300, 100);
    const auto& radii = areas.Radii();
    ASSERT_EQ(radii.size(), 5u);
    EXPECT_EQ(radii.front(), 100);
    EXPECT_EQ(radii.back(), 300);
    const double ringArea = (300.0 * 300 - 100.0 * 100) / 4;
    for (int k = 1; k <= 4; ++k) {
        const double exact = pie::RingBoundary(300, 100, 4, k);
        EXPECT_EQ(radii[k], static_cast<int>(exact));  // truncated, not rounded
        EXPECT_NEAR(exact * exact - pie::RingBoundary(300, 100, 4, k - 1) * pie::RingBoundary(300, 100, 4, k - 1),
                    ringArea, 1e-6);
    }
    // sqrt((200^2*2 + 60^2)/3) = 166.93...: truncation gives 166.
    areas.Reset(3, 200, 60);
    EXPECT_EQ(areas.Radii()[2], 166);
    EXPECT_EQ(areas.Rings().size(), 3u);
}

TEST(RingAreas, NoRingsKeepsOnlyTheOuterRadius) {
    pie::RingAreas areas;
    areas.Reset(0, 150, 50);
    EXPECT_EQ(areas.Radii(), std::vector<int>{150});
    EXPECT_TRUE(areas.Rings().empty());
    // Everything up to R is the centre.
    EXPECT_EQ(areas.Find(0, 0), "");
    EXPECT_EQ(areas.Find(150, 1), "");
    EXPECT_FALSE(areas.Find(151, 1));
}

TEST(RingAreas, FindCentreRingGapAndOutside) {
    pie::RingAreas areas;
    areas.Reset(2, 200, 50);
    areas.Add(0, -kPi / 2, 0, "a\\");
    areas.Add(0, 0.5, kPi, "b.txt");
    areas.Add(1, -kPi / 2, -1.0, "a\\x\\");
    const int r1 = areas.Radii()[1];
    EXPECT_EQ(areas.Find(0, 0), "");
    EXPECT_EQ(areas.Find(50, 2.0), "");
    EXPECT_EQ(areas.Find(51, -1.0), "a\\");
    EXPECT_EQ(areas.Find(r1, -kPi / 2), "a\\");  // start is inclusive
    EXPECT_EQ(areas.Find(r1, 0.5), "b.txt");
    EXPECT_FALSE(areas.Find(r1, 0.0));           // end is exclusive, then a gap
    EXPECT_FALSE(areas.Find(r1, 0.3));
    EXPECT_EQ(areas.Find(r1 + 1, -1.2), "a\\x\\");
    EXPECT_FALSE(areas.Find(r1 + 1, -0.5));
    EXPECT_FALSE(areas.Find(201, -1.2));
    areas.Clear();
    EXPECT_FALSE(areas.Find(0, 0));
    EXPECT_THROW(areas.Add(0, 0, 1, "x"), std::out_of_range);
}

TEST(ArcPolygon, PiecesStayWithinAPixelAndFortyFiveDegrees) {
    const pie::Square outer = pie::SquareAround(500, 500, 400);
    const pie::Square inner = pie::SquareAround(500, 500, 100);
    const auto points = pie::FileSegmentPolygon(outer, inner, 0, kPi);
    const int innerRadius = (400 + 2 * 100) / 3;
    ASSERT_GE(points.size(), 10u);
    // The first arc point is the outer start, the last the inner start: the polygon closes on the radius.
    EXPECT_EQ(points.front(), (pie::Point{900, 500}));
    EXPECT_EQ(points.back(), (pie::Point{500 + innerRadius, 500}));
    std::size_t outerCount = 0;
    for (const auto& p : points) {
        const double r = std::hypot(p.x - 500.0, p.y - 500.0);
        const bool onOuter = std::abs(r - 400) < 2, onInner = std::abs(r - innerRadius) < 2;
        EXPECT_TRUE(onOuter || onInner) << p.x << "," << p.y;
        if (onOuter) ++outerCount;
        EXPECT_GE(p.y, 499);  // clockwise from three to nine o'clock passes through the lower half
    }
    // Half a turn at radius 400 within one pixel needs 32 pieces; the inner arc fewer.
    EXPECT_EQ(outerCount, 33u);
    EXPECT_LT(points.size() - outerCount, outerCount);
    // A narrow segment costs two points per arc.
    EXPECT_EQ(pie::FileSegmentPolygon(outer, inner, 0, 0.01).size(), 4u);
}

TEST(ArcPolygon, VisibilityByEndPointPixels) {
    const pie::Square sq = pie::SquareAround(200, 200, 100);
    EXPECT_EQ(pie::RadialPoint(sq, 0), (pie::Point{300, 200}));
    EXPECT_FALSE(pie::SegmentIsVisible(sq, 0.1, 0.1));
    EXPECT_FALSE(pie::SegmentIsVisible(sq, 0.1, 0.1 + 1e-4));
    EXPECT_TRUE(pie::SegmentIsVisible(sq, 0.1, 0.2));
    // A lone child spanning the whole turn ends where it starts but is the whole ring.
    EXPECT_TRUE(pie::SegmentIsVisible(sq, -kPi / 2, 1.5 * kPi));
}

}  // namespace
