// The banner animation's arithmetic and the help file's location, without windows.
#include "about/HelpFile.h"
#include "about/RotoFrame.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <numbers>
#include <set>
#include <vector>

namespace {

using about::PixelPos;
constexpr double kPi = std::numbers::pi;
constexpr int kW = 281, kH = 106;

TEST(RotoFrame, AngleZeroAtScaleOneIsTheIdentity) {
    for (int y = 0; y < kH; ++y)
        for (int x = 0; x < kW; ++x) ASSERT_EQ(about::RotoSource(x, y, kW, kH, 0.0, 1.0), (PixelPos{x, y}));
}

TEST(RotoFrame, TurnsAboutTheCentreAndClampsAtThePicturesEdges) {
    struct Case {
        int x, y;
        double angle, scale;
        PixelPos source;
    };
    const Case cases[] = {
        {140, 53, kPi / 2, 1.0, {140, 53}},  // the centre stays
        {150, 53, kPi, 1.0, {130, 53}},      // half a turn mirrors through the centre
        {140, 63, kPi, 1.0, {140, 43}},
        {150, 53, kPi / 2, 1.0, {140, 63}},  // a quarter turn: x offset becomes y offset (rounding toward zero)
        {150, 53, 0.0, 2.0, {160, 53}},      // scale 2 samples twice as far: the picture shrinks
        {150, 53, 0.0, 0.5, {145, 53}},      // scale 0.5 magnifies
        {0, 0, 0.0, 4.0, {0, 0}},            // far outside: clamped to the corner
        {280, 105, 0.0, 4.0, {280, 105}},
        {280, 0, kPi, 1.0, {0, 105}},
        {10, 53, 0.0, 0.0, {140, 53}},  // scale 0: every pixel shows the centre
    };
    for (const Case& c : cases)
        EXPECT_EQ(about::RotoSource(c.x, c.y, kW, kH, c.angle, c.scale), c.source)
            << c.x << "," << c.y << " angle " << c.angle << " scale " << c.scale;
    // Any angle and scale stays inside the picture.
    for (double angle = 0; angle < 2 * kPi; angle += 0.37)
        for (double scale : {0.1, 1.0, 3.7, 40.0})
            for (int y = 0; y < kH; y += 7)
                for (int x = 0; x < kW; x += 11) {
                    const PixelPos p = about::RotoSource(x, y, kW, kH, angle, scale);
                    ASSERT_TRUE(p.x >= 0 && p.x < kW && p.y >= 0 && p.y < kH);
                }
}

TEST(RotoFrame, EachFrameDrawsAQuarterOfTheRowsAndFourBuildTheWholePicture) {
    const about::RotoPicture picture{5, 8, 12};  // 10 bytes of pixels, 2 of padding per row
    std::vector<std::uint8_t> source(picture.rowBytes * picture.height);
    for (std::size_t i = 0; i < source.size(); ++i) source[i] = static_cast<std::uint8_t>(i + 1);
    std::vector<std::uint8_t> destination(source.size(), 0);
    about::RotoAnimation animation;
    std::set<int> drawnRows;
    for (int frame = 0; frame < 4; ++frame) {
        const int phase = animation.NextPhase();
        EXPECT_EQ(phase, frame);
        about::DrawRotoRows(picture, source.data(), destination.data(), phase, 4, 0.0, 1.0);
        for (int y = 0; y < picture.height; ++y)
            if (destination[y * picture.rowBytes] != 0) drawnRows.insert(y);
        EXPECT_EQ(drawnRows.size(), static_cast<std::size_t>(2 * (frame + 1)));
    }
    for (int y = 0; y < picture.height; ++y)
        EXPECT_EQ(std::memcmp(&destination[y * picture.rowBytes], &source[y * picture.rowBytes], 10), 0) << y;
    EXPECT_EQ(destination[10], 0) << "padding untouched";
    EXPECT_EQ(animation.NextPhase(), 0);
}

TEST(RotoFrame, AtAHigherDpiTheFrameShowsTheWholePictureAtItsSize) {
    const about::RotoPicture from{8, 4, 16};
    // At 200 % every picture pixel covers two by two frame pixels, upright and at natural size.
    const about::RotoPicture twice{16, 8, 32};
    for (int y = 0; y < twice.height; ++y)
        for (int x = 0; x < twice.width; ++x)
            ASSERT_EQ(about::RotoSourceInto(x, y, from, twice, 0.0, 1.0), (PixelPos{x / 2, y / 2})) << x << "," << y;
    // At 150 % the frame still reaches every edge of the picture, and turning by half a turn mirrors it.
    const about::RotoPicture half{12, 6, 24};
    EXPECT_EQ(about::RotoSourceInto(0, 0, from, half, 0.0, 1.0), (PixelPos{0, 0}));
    EXPECT_EQ(about::RotoSourceInto(11, 5, from, half, 0.0, 1.0), (PixelPos{7, 3}));
    const PixelPos turned = about::RotoSourceInto(11, 5, from, half, std::numbers::pi, 1.0);
    EXPECT_LE(turned.x, 1);
    EXPECT_LE(turned.y, 1);
    // The same size is the plain rule.
    EXPECT_EQ(about::RotoSourceInto(5, 2, from, from, 0.7, 1.3), about::RotoSource(5, 2, 8, 4, 0.7, 1.3));

    // Drawn: the frame holds each source pixel twice across and twice down.
    std::vector<std::uint8_t> source(static_cast<std::size_t>(from.rowBytes * from.height));
    for (std::size_t i = 0; i < source.size(); i += 2) source[i] = static_cast<std::uint8_t>(i / 2);
    std::vector<std::uint8_t> frame(static_cast<std::size_t>(twice.rowBytes * twice.height), 0xEE);
    for (int phase = 0; phase < 4; ++phase)
        about::DrawRotoRows(from, source.data(), twice, frame.data(), phase, 4, 0.0, 1.0);
    for (int y = 0; y < twice.height; ++y)
        for (int x = 0; x < twice.width; ++x)
            ASSERT_EQ(frame[static_cast<std::size_t>(y * twice.rowBytes + 2 * x)], (y / 2) * 8 + x / 2)
                << x << "," << y;
}

TEST(RotoFrame, TheIdleAnimationRestsThenTurnsQuicklyAndZoomsOut) {
    about::RotoAnimation animation;
    EXPECT_DOUBLE_EQ(animation.Scale(), 1.0);
    animation.Tick(50);  // resting: 0.0002 per step
    EXPECT_NEAR(animation.Angle(), 0.01, 1e-12);
    while (animation.Angle() < 0.3) animation.Tick(99);
    const double before = animation.Angle();
    animation.Tick(10);  // turning: 0.005 per step
    EXPECT_NEAR(animation.Angle() - before, 0.05, 1e-12);
    while (animation.Angle() < kPi) animation.Tick(99);
    EXPECT_GT(animation.Scale(), 3.6);  // 4 at exactly pi
    double last = animation.Angle();
    for (int i = 0; i < 10000 && animation.Angle() >= last; ++i) {
        last = animation.Angle();
        animation.Tick(99);
    }
    EXPECT_LT(animation.Angle(), 0.3) << "wraps past a full turn";
    EXPECT_GE(animation.Angle(), 0.0);
}

TEST(RotoFrame, ThePictureFacesThePointerAtNaturalSizeAQuarterWidthAway) {
    const about::AngleScale right = about::FollowPointer(70, 0, kW);  // 281 / 4 = 70
    EXPECT_DOUBLE_EQ(right.angle, 0.0);
    EXPECT_DOUBLE_EQ(right.scale, 1.0);
    const about::AngleScale below = about::FollowPointer(0, 35, kW);
    EXPECT_DOUBLE_EQ(below.angle, kPi / 2);
    EXPECT_DOUBLE_EQ(below.scale, 2.0);
    const about::AngleScale left = about::FollowPointer(-140, 0, kW);
    EXPECT_DOUBLE_EQ(left.angle, kPi);
    EXPECT_DOUBLE_EQ(left.scale, 0.5);
    const about::AngleScale centre = about::FollowPointer(0, 0, kW);
    EXPECT_DOUBLE_EQ(centre.angle, 0.0);
    EXPECT_DOUBLE_EQ(centre.scale, 0.0);
}

TEST(HelpFile, LiesBesideTheProgram) {
    const std::pair<const char*, const char*> cases[] = {
        {"C:\\Program Files\\Kelvaran\\Kelvaran.exe", "C:\\Program Files\\Kelvaran\\Kelvaran.chm"},
        {"Z:\\k.exe", "Z:\\Kelvaran.chm"},
        {"\\\\server\\share\\tools\\Kelvaran.exe", "\\\\server\\share\\tools\\Kelvaran.chm"},
        {"Kelvaran.exe", "Kelvaran.chm"},
    };
    for (const auto& [module, help] : cases) EXPECT_EQ(about::HelpPathBeside(module), help) << module;
}

TEST(HelpFile, IsLookedForUntilFoundAndThenKept) {
    about::HelpFileLocator locator;
    bool present = false;
    int looks = 0;
    const auto exists = [&](const std::string& path) {
        ++looks;
        EXPECT_EQ(path, "C:\\K\\Kelvaran.chm");
        return present;
    };
    EXPECT_EQ(locator.Locate("C:\\K\\Kelvaran.exe", exists), "");
    EXPECT_EQ(locator.Locate("C:\\K\\Kelvaran.exe", exists), "");
    present = true;
    EXPECT_EQ(locator.Locate("C:\\K\\Kelvaran.exe", exists), "C:\\K\\Kelvaran.chm");
    present = false;  // removed after it was found: the path is still handed out
    EXPECT_EQ(locator.Locate("C:\\K\\Kelvaran.exe", exists), "C:\\K\\Kelvaran.chm");
    EXPECT_EQ(looks, 3);
    about::HelpFileLocator noModule;
    EXPECT_EQ(noModule.Locate("", [](const std::string&) { return true; }), "");
}

}  // namespace
