// The settings table itself, on a record of its own: each kind of row reads, clamps and writes as the
// store's text rules say, doubles go through their stored form, and rows are found by their members.
#include "common/MapStore.h"
#include "common/SettingsTableChecks.h"
#include "config/SettingsTable.h"
#include "config/SettingsText.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

using native_test::MapStore;

enum Shade : int { kLight = 0, kMid = 1, kDark = 2 };

struct Sample {
    int count = 4;
    Shade shade = kMid;
    double ratio = 0.25;
    double size = 2;
    bool on = true;
    std::uint32_t colour = config::Rgb(1, 2, 3);
    std::string folder = "C";

    friend bool operator==(const Sample&, const Sample&) = default;
};

using Row = config::Rows<Sample>;
constexpr config::Setting<Sample> kSample[] = {
    Row::Number<&Sample::count>("Count", {-5, 40}),
    Row::Number<&Sample::shade>("Shade", {kLight, kDark}),
    Row::Percent<&Sample::ratio>("Ratio", {10, 90}),
    Row::Whole<&Sample::size>("Size", {0, 100}),
    Row::Flag<&Sample::on>("On"),
    Row::Colour<&Sample::colour>("Colour"),
    Row::Text<&Sample::folder>("Folder", &config::CleanFolder),
};

TEST(SettingsTable, EveryKindOfRowRoundTripsAndEveryNumberIsClamped) {
    native_test::CheckEveryRowRoundTrips(kSample, Sample{});
    native_test::CheckEveryNumberIsClampedOnReading(kSample, Sample{});
}

TEST(SettingsTable, MissingValuesReadAsTheRecordsDefaultsThroughTheTextRules) {
    MapStore store;
    Sample read;
    config::ReadSettings(kSample, store, read);
    Sample expected;
    expected.folder = "C:\\";  // a default is cleaned like any stored text
    EXPECT_TRUE(read == expected);

    store.values = {{"On", ""}, {"Colour", "1 2 300"}, {"Folder", " \td "}, {"Shade", "2"}, {"Ratio", "35"}};
    store.otherType.insert("Count");
    store.values["Count"] = "17";
    config::ReadSettings(kSample, store, read);
    EXPECT_FALSE(read.on) << "an empty flag is parsed, not the default";
    EXPECT_EQ(read.colour, config::Rgb(1, 2, 3)) << "a malformed colour reads as the default";
    EXPECT_EQ(read.folder, "d:\\");
    EXPECT_EQ(read.shade, kDark);
    EXPECT_EQ(read.ratio, 35 / 100.0);
    EXPECT_EQ(read.count, 4) << "another registry type counts as missing";
}

TEST(SettingsTable, DoublesAreStoredAsWholePercentagesOrIntegerPartsAndSaturate) {
    const auto& ratio = config::SettingOf<&Sample::ratio>(kSample);
    const auto& size = config::SettingOf<&Sample::size>(kSample);
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const struct {
        double value;
        int percent;  // the ratio row's stored number
        int whole;    // the size row's
    } cases[] = {
        {0.29, 29, 0},
        {0.335, 34, 0},
        {0.334, 33, 0},
        {7.9, 790, 7},
        {-0.015, -2, 0},
        {-7.9, -790, -7},
        {1e300, INT_MAX, INT_MAX},
        {-1e300, INT_MIN, INT_MIN},
        {nan, 0, 0},
    };
    for (const auto& c : cases) {
        Sample s;
        s.ratio = c.value;
        s.size = c.value;
        EXPECT_EQ(ratio.number(s), c.percent) << c.value;
        EXPECT_EQ(size.number(s), c.whole) << c.value;
    }

    // Clamping leaves every number as reading would: in range and in its stored form; the rest unchanged.
    Sample s;
    s.count = 99;
    s.ratio = 0.333;
    s.size = 7.9;
    s.shade = static_cast<Shade>(-4);
    s.folder = " x ";
    config::ClampSettings(kSample, s);
    EXPECT_EQ(s.count, 40);
    EXPECT_EQ(s.ratio, 0.33);
    EXPECT_EQ(s.size, 7);
    EXPECT_EQ(s.shade, kLight);
    EXPECT_EQ(s.folder, " x ");
}

TEST(SettingsTable, RowsAreFoundByTheirMembersAndRangesHoldTheirEnds) {
    static_assert(&config::SettingOf<&Sample::count>(kSample) == &kSample[0]);
    static_assert(&config::SettingOf<&Sample::folder>(kSample) == &kSample[6]);
    static_assert(config::SettingOf<&Sample::shade>(kSample).range.high == kDark);
    EXPECT_EQ(config::SettingOf<&Sample::colour>(kSample).name, "Colour");

    constexpr config::Range range{-5, 40};
    EXPECT_TRUE(range.Holds(-5));
    EXPECT_TRUE(range.Holds(40));
    EXPECT_FALSE(range.Holds(-6));
    EXPECT_FALSE(range.Holds(41));
    EXPECT_EQ(range.Clamp(INT_MIN), -5);
    EXPECT_EQ(range.Clamp(INT_MAX), 40);
    EXPECT_EQ(range.Clamp(3), 3);
}

}  // namespace
