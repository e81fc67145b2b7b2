#include <gtest/gtest.h>

#include <numbers>

#include "fw/Colour.h"
#include "pie/SegmentColour.h"

namespace {

using fw::Hls;
using fw::MakeColour;

constexpr double kPi = std::numbers::pi;

class SegmentColourTest : public ::testing::Test {
protected:
    tv::CrcEngine engine{tv::kCrc32};
    tv::Crc crc{engine};
    pie::PieSettings settings;

    fw::Colour Colour(pie::ColourMethod method, std::string_view name, double start, double end, int ring, int n,
                      std::uint64_t value = 1, std::uint64_t largest = 1) {
        settings.colourMethod = method;
        return pie::SegmentColour(settings, crc, name, start, end, ring, n, value, largest);
    }
};

TEST_F(SegmentColourTest, NameEncodedUsesCrcOfTheName) {
    EXPECT_EQ(Colour(pie::kNameEncoded, "abc", 0, 1, 0, 3), MakeColour(255, 127, 63));
    // Case-sensitive, the same for the centre, and independent of what was hashed before.
    EXPECT_NE(Colour(pie::kNameEncoded, "ABC", 0, 1, 0, 3), MakeColour(255, 127, 63));
    EXPECT_EQ(Colour(pie::kNameEncoded, "abc", 0, 1, -1, 3), MakeColour(255, 127, 63));
}

TEST_F(SegmentColourTest, FixedAndCentreColours) {
    settings.fixedColour = MakeColour(1, 2, 3);
    EXPECT_EQ(Colour(pie::kFixedColour, "x", 0, 1, 2, 3), MakeColour(1, 2, 3));
    EXPECT_EQ(Colour(pie::kFixedColour, "x", 0, 1, -1, 3), MakeColour(1, 2, 3));
    EXPECT_EQ(Colour(pie::kSizeEncoded, "x", 0, 1, -1, 3), pie::kCentreGrey);
    EXPECT_EQ(Colour(pie::kRainbowWash, "x", 0, 1, -1, 3), pie::kCentreGrey);
}

TEST_F(SegmentColourTest, SizeEncodedEndpointsAndRingFade) {
    // Ring 0 keeps full saturation: the largest sibling is SizeClr1, a zero sibling SizeClr2.
    EXPECT_EQ(Colour(pie::kSizeEncoded, "x", 0, 1, 0, 4, 500, 500), MakeColour(255, 0, 0));
    EXPECT_EQ(Colour(pie::kSizeEncoded, "x", 0, 1, 0, 4, 0, 500), MakeColour(255, 255, 0));
    // Half the largest: green halfway between 0 and 255.
    EXPECT_EQ(Colour(pie::kSizeEncoded, "x", 0, 1, 0, 4, 250, 500),
              fw::HlsToRgb(fw::RgbToHls(MakeColour(255, 127, 0))));
    // Outermost of 4 rings: a quarter of the saturation.
    Hls faded = fw::RgbToHls(MakeColour(255, 0, 0));
    faded.saturation = faded.saturation / 4;
    EXPECT_EQ(Colour(pie::kSizeEncoded, "x", 0, 1, 3, 4, 500, 500), fw::HlsToRgb(faded));
    const fw::Colour outer = Colour(pie::kSizeEncoded, "x", 0, 1, 3, 4, 500, 500);
    EXPECT_GT(fw::GreenOf(outer), 0);  // toward grey
    // All siblings zero: no division by zero, the smallest colour.
    EXPECT_EQ(Colour(pie::kSizeEncoded, "x", 0, 1, 0, 1, 0, 0), MakeColour(255, 255, 0));
}

TEST_F(SegmentColourTest, RainbowHueFollowsTheAngle) {
    // Middle angle 0 is three o'clock: red at full saturation on ring 0.
    EXPECT_EQ(Colour(pie::kRainbowWash, "x", -0.1, 0.1, 0, 2), MakeColour(255, 0, 0));
    // Six o'clock (pi/2) is a quarter turn clockwise: hue 60, between yellow and green.
    EXPECT_EQ(Colour(pie::kRainbowWash, "x", kPi / 2 - 0.01, kPi / 2 + 0.01, 0, 2), fw::HlsToRgb({60, 120, 240}));
    // Just before twelve o'clock the middle angle wraps from negative into 0..2pi.
    EXPECT_EQ(Colour(pie::kRainbowWash, "x", -kPi / 2 - 0.2, -kPi / 2 + 0.1, 0, 2),
              fw::HlsToRgb({static_cast<int>((1.5 * kPi - 0.05) / (2 * kPi) * 240), 120, 240}));
    // Saturation falls by ring: (n - ring) * 240 / n.
    EXPECT_EQ(Colour(pie::kRainbowWash, "x", -0.1, 0.1, 2, 3), fw::HlsToRgb({0, 120, 80}));
}

}  // namespace
