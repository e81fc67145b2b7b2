#include "fw/Colour.h"

#include <gtest/gtest.h>

namespace {

using fw::Hls;
using fw::MakeColour;

TEST(Hls, PrimaryAndGreyConversions) {
    EXPECT_EQ(fw::RgbToHls(MakeColour(255, 0, 0)), (Hls{0, 120, 240}));
    EXPECT_EQ(fw::RgbToHls(MakeColour(0, 255, 0)), (Hls{80, 120, 240}));
    EXPECT_EQ(fw::RgbToHls(MakeColour(0, 0, 255)), (Hls{160, 120, 240}));
    EXPECT_EQ(fw::HlsToRgb({0, 120, 240}), MakeColour(255, 0, 0));
    EXPECT_EQ(fw::HlsToRgb({80, 120, 240}), MakeColour(0, 255, 0));
    EXPECT_EQ(fw::HlsToRgb({160, 120, 240}), MakeColour(0, 0, 255));
    for (int g : {0, 1, 64, 127, 128, 200, 254, 255}) {
        const Hls hls = fw::RgbToHls(MakeColour(g, g, g));
        EXPECT_EQ(hls.hue, 0) << g;
        EXPECT_EQ(hls.saturation, 0) << g;
        const fw::Colour back = fw::HlsToRgb(hls);
        EXPECT_NEAR(fw::RedOf(back), g, 1) << g;
        EXPECT_EQ(fw::RedOf(back), fw::GreenOf(back));
        EXPECT_EQ(fw::RedOf(back), fw::BlueOf(back));
    }
}

TEST(Hls, RoundTripStaysCloseForEveryHue) {
    // Magenta-ish colours wrap the hue past 240; the round trip must not jump to another hue.
    for (int r = 0; r < 256; r += 17)
        for (int g = 0; g < 256; g += 17)
            for (int b = 0; b < 256; b += 17) {
                const fw::Colour c = MakeColour(r, g, b);
                const fw::Colour back = fw::HlsToRgb(fw::RgbToHls(c));
                EXPECT_NEAR(fw::RedOf(back), r, 4);
                EXPECT_NEAR(fw::GreenOf(back), g, 4);
                EXPECT_NEAR(fw::BlueOf(back), b, 4);
            }
    EXPECT_EQ(fw::UnpackHls(fw::PackHls({12, 34, 56})), (Hls{12, 34, 56}));
    EXPECT_EQ(fw::PackHls({1, 2, 3}), 0x030201u);
}

}  // namespace
