#include <gtest/gtest.h>

#include <cmath>
#include <deque>
#include <numbers>
#include <optional>
#include <random>
#include <vector>

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
    EXPECT_EQ(areas.RingCount(), 3);
}

TEST(RingAreas, NoRingsKeepsOnlyTheOuterRadius) {
    pie::RingAreas areas;
    areas.Reset(0, 150, 50);
    EXPECT_EQ(areas.Radii(), std::vector<int>{150});
    EXPECT_EQ(areas.RingCount(), 0);
    // Everything up to R is the centre.
    EXPECT_EQ(areas.Find(0, 0), "");
    EXPECT_EQ(areas.Find(150, 1), "");
    EXPECT_FALSE(areas.Find(151, 1));
}

TEST(RingAreas, FindCentreRingGapAndOutside) {
    const model::Name a("a"), b("b.txt"), x("x");
    pie::RingAreas areas;
    areas.Reset(2, 200, 50);
    EXPECT_EQ(areas.Add(0, -kPi / 2, 0, a, true, -1), 0);
    EXPECT_EQ(areas.Add(0, 0.5, kPi, b, false, -1), 1);
    EXPECT_EQ(areas.Add(1, -kPi / 2, -1.0, x, true, 0), 0);
    const int r1 = areas.Radii()[1];
    EXPECT_EQ(areas.Find(0, 0), "");
    EXPECT_EQ(areas.Find(50, 2.0), "");
    EXPECT_EQ(areas.Find(51, -1.0), "a\\");
    EXPECT_EQ(areas.Find(r1, -kPi / 2), "a\\");  // start is inclusive
    EXPECT_EQ(areas.Find(r1, 0.5), "b.txt");
    EXPECT_FALSE(areas.Find(r1, 0.0));  // end is exclusive, then a gap
    EXPECT_FALSE(areas.Find(r1, 0.3));
    EXPECT_EQ(areas.Find(r1 + 1, -1.2), "a\\x\\");
    EXPECT_FALSE(areas.Find(r1 + 1, -0.5));
    EXPECT_FALSE(areas.Find(201, -1.2));
    EXPECT_EQ(areas.SegmentCount(), 3u);
    // A new rendering starts empty, also with fewer rings than before.
    areas.Reset(1, 200, 50);
    EXPECT_EQ(areas.SegmentCount(), 0u);
    EXPECT_THROW(areas.Add(1, 0, 1, x, true, -1), std::out_of_range);
    areas.Clear();
    EXPECT_FALSE(areas.Find(0, 0));
    EXPECT_THROW(areas.Add(0, 0, 1, x, true, -1), std::out_of_range);
}

// Find searches by angle; it must answer what the first containing segment in ring order is, also where
// rounding lets neighbours overlap by a few units in the last place and where empty segments sit between.
TEST(RingAreas, FindAgreesWithAScanInRingOrder) {
    std::mt19937 rng(7);
    for (int round = 0; round < 20; ++round) {
        std::deque<model::Name> names;
        pie::RingAreas areas;
        areas.Reset(1, 100, 10);
        std::vector<std::pair<double, double>> spans;
        double at = -kPi / 2;
        while (at < 1.5 * kPi) {
            const int kind = static_cast<int>(rng() % 6);
            double width = kind == 0 ? 0.0 : kind == 1 ? 1e-15 : std::ldexp(1.0, -static_cast<int>(rng() % 30));
            double end = std::min(at + width, 1.5 * kPi);
            if (kind == 2) end = std::nextafter(std::nextafter(end, 9.0), 9.0);  // overlaps the next one
            if (kind == 3) at += 0.01;                                           // a gap before it
            if (end < at) end = at;
            spans.emplace_back(at, end);
            names.emplace_back("s" + std::to_string(spans.size() - 1));
            areas.Add(0, at, end, names.back(), false, -1);
            at = kind == 2 ? std::nextafter(end, -9.0) : end;
        }
        std::vector<double> probes;
        for (const auto& [s, e] : spans) {
            probes.insert(probes.end(), {s, e, std::nextafter(s, -9.0), std::nextafter(e, -9.0), (s + e) / 2});
        }
        for (double angle : probes) {
            std::optional<std::size_t> expected;
            for (std::size_t i = 0; i < spans.size() && !expected; ++i)
                if (spans[i].first <= angle && angle < spans[i].second) expected = i;
            const auto found = areas.Find(50, angle);
            ASSERT_EQ(found.has_value(), expected.has_value()) << round << " " << angle;
            if (expected) {
                EXPECT_EQ(*found, names[*expected]) << round << " " << angle;
            }
        }
    }
}

TEST(ArcPolygon, PiecesStayWithinAPixelAndFortyFiveDegrees) {
    const fw::Rect outer = pie::SquareAround(500, 500, 400);
    const fw::Rect inner = pie::SquareAround(500, 500, 100);
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
    const fw::Rect sq = pie::SquareAround(200, 200, 100);
    EXPECT_EQ(pie::RadialPoint(sq, 0), (pie::Point{300, 200}));
    EXPECT_FALSE(pie::SegmentIsVisible(sq, 0.1, 0.1));
    EXPECT_FALSE(pie::SegmentIsVisible(sq, 0.1, 0.1 + 1e-4));
    EXPECT_TRUE(pie::SegmentIsVisible(sq, 0.1, 0.2));
    // A lone child spanning the whole turn ends where it starts but is the whole ring.
    EXPECT_TRUE(pie::SegmentIsVisible(sq, -kPi / 2, 1.5 * kPi));
}

}  // namespace
