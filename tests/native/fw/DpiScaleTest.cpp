#include "fw/DpiScale.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

using fw::Rect;

TEST(DpiScale, LengthsAt96DpiScaleToTheCommonDisplayScalesAndBack) {
    struct Case {
        int at96, at120, at144, at192;
    };
    // 125 % and 150 % fall between pixels: halves round away from zero, as the system's MulDiv does.
    const Case cases[] = {
        {0, 0, 0, 0},         {1, 1, 2, 2},     {2, 3, 3, 4},     {3, 4, 5, 6},
        {4, 5, 6, 8},         {6, 8, 9, 12},    {16, 20, 24, 32}, {17, 21, 26, 34},
        {200, 250, 300, 400}, {-1, -1, -2, -2}, {-3, -4, -5, -6}, {1001, 1251, 1502, 2002},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.at96);
        EXPECT_EQ(fw::ScaleFrom96(c.at96, 96), c.at96);
        EXPECT_EQ(fw::ScaleFrom96(c.at96, 120), c.at120);
        EXPECT_EQ(fw::ScaleFrom96(c.at96, 144), c.at144);
        EXPECT_EQ(fw::ScaleFrom96(c.at96, 192), c.at192);
        // Back to 96 DPI: exact where the scale is whole, within half a 96-DPI pixel otherwise.
        EXPECT_EQ(fw::ScaleTo96(c.at192, 192), c.at96);
        EXPECT_LE(std::abs(fw::ScaleTo96(c.at144, 144) - c.at96), 1);
        EXPECT_LE(std::abs(fw::ScaleTo96(c.at120, 120) - c.at96), 1);
    }
    // Values at a display's scale into 96-DPI units: halves away from zero too.
    EXPECT_EQ(fw::ScaleTo96(3, 144), 2);    // 2.0
    EXPECT_EQ(fw::ScaleTo96(5, 120), 4);    // 4.0
    EXPECT_EQ(fw::ScaleTo96(7, 192), 4);    // 3.5
    EXPECT_EQ(fw::ScaleTo96(-7, 192), -4);  // -3.5
    EXPECT_EQ(fw::ScaleTo96(1, 144), 1);    // 0.67
    EXPECT_EQ(fw::ScaleTo96(1, 192), 1);    // 0.5
}

TEST(DpiScale, AnUnknownDpiCountsAs96AndHugeValuesDoNotOverflow) {
    EXPECT_EQ(fw::ScaleFrom96(37, 0), 37);
    EXPECT_EQ(fw::ScaleTo96(37, -5), 37);
    EXPECT_EQ(fw::ScaleLength(37, 144, 0), 37);
    EXPECT_EQ(fw::ScaleFrom96(INT_MAX, 192), INT_MAX);
    EXPECT_EQ(fw::ScaleFrom96(INT_MIN, 192), INT_MIN);
    EXPECT_EQ(fw::ScaleTo96(INT_MAX, 192), INT_MAX / 2 + 1);
}

TEST(DpiScale, APlacementStoredIn96DpiUnitsOpensRightAtAnotherScale) {
    // The window at 150 % on screen, remembered, then opened at 200 % and at 100 %.
    const Rect at144{300, 150, 1260, 870};
    const Rect stored = fw::RectTo96(at144, 144);
    EXPECT_EQ(stored, (Rect{200, 100, 840, 580}));
    EXPECT_EQ(fw::RectFrom96(stored, 192), (Rect{400, 200, 1680, 1160}));
    EXPECT_EQ(fw::RectFrom96(stored, 96), stored);
    // What was stored before the program knew of scales was written at 96 DPI: read as it is there.
    const Rect old{10, 20, 650, 500};
    EXPECT_EQ(fw::RectTo96(fw::RectFrom96(old, 96), 96), old);
    // A round trip through 125 % moves an edge by at most one 96-DPI pixel; negative edges (a monitor to the
    // left) keep their sign.
    const Rect left{-1917, -3, -1001, 481};
    const Rect back = fw::RectTo96(fw::RectFrom96(left, 120), 120);
    EXPECT_LE(std::abs(back.left - left.left) + std::abs(back.top - left.top) + std::abs(back.right - left.right) +
                  std::abs(back.bottom - left.bottom),
              4);
    EXPECT_EQ(fw::RectFrom96(left, 192), (Rect{-3834, -6, -2002, 962}));
}

TEST(DpiScale, FontHeightsAndTheArtForEachScale) {
    struct Case {
        int points, dpi, height;
    };
    const Case fonts[] = {{10, 96, -13}, {10, 120, -17}, {10, 144, -20}, {10, 192, -27}, {8, 96, -11}, {8, 144, -16}};
    for (const Case& c : fonts)
        EXPECT_EQ(fw::FontHeightForPoints(c.points, c.dpi), c.height) << c.points << " pt at " << c.dpi;

    const int art[] = {100, 150, 200};
    struct Pick {
        int dpi, index;
    };
    const Pick picks[] = {{96, 0},  {72, 0},  {110, 0}, {120, 1}, {144, 1}, {168, 2},
                          {192, 2}, {288, 2}, {0, 0},   {131, 1}, {119, 0}};
    for (const Pick& p : picks) EXPECT_EQ(fw::NearestArtScale(p.dpi, art, 3), p.index) << p.dpi << " DPI";
    EXPECT_EQ(fw::NearestArtScale(144, art, 0), -1);
}

}  // namespace
