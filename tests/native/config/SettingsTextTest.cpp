#include "common/MapStore.h"
#include "config/SettingsText.h"

#include <gtest/gtest.h>

#include <climits>

namespace {
using native_test::MapStore;
}  // namespace

TEST(ParseInt, FollowsTheAtoiRule) {
    EXPECT_EQ(config::ParseInt("42"), 42);
    EXPECT_EQ(config::ParseInt("  \t-17xyz"), -17);
    EXPECT_EQ(config::ParseInt("+8"), 8);
    EXPECT_EQ(config::ParseInt("12 34"), 12);
    EXPECT_EQ(config::ParseInt("yes"), 0);
    EXPECT_EQ(config::ParseInt(""), 0);
    EXPECT_EQ(config::ParseInt("-"), 0);
    EXPECT_EQ(config::ParseInt("- 5"), 0);
    EXPECT_EQ(config::ParseInt("2147483647"), INT_MAX);
    EXPECT_EQ(config::ParseInt("-2147483648"), INT_MIN);
}

TEST(ParseInt, OutOfRangeDigitsSaturate) {
    EXPECT_EQ(config::ParseInt("2147483648"), INT_MAX);
    EXPECT_EQ(config::ParseInt("-2147483649"), INT_MIN);
    EXPECT_EQ(config::ParseInt("18446744073709551617"), INT_MAX);  // 20 digits: past 64 bits too
    EXPECT_EQ(config::ParseInt("-99999999999999999999999999"), INT_MIN);
    EXPECT_EQ(config::ParseInt("000000000000000000000000000007"), 7);  // long but small
}

TEST(IntText, RoundTripsThroughParseInt) {
    for (int value : {0, 1, -1, 4, 100000, INT_MAX, INT_MIN})
        EXPECT_EQ(config::ParseInt(config::IntText(value)), value);
    EXPECT_EQ(config::IntText(-3), "-3");
}

TEST(ColourText, ThreeNumbersRedGreenBlue) {
    EXPECT_EQ(config::ColourText(config::Rgb(0, 0, 255)), "0 0 255");
    EXPECT_EQ(config::ColourText(0x00123456u), "86 52 18");
    std::uint32_t colour = 0;
    ASSERT_TRUE(config::ParseColour("0 0 255", colour));
    EXPECT_EQ(colour, 0x00FF0000u) << "pure blue is 0x00BBGGRR with BB = FF";
    ASSERT_TRUE(config::ParseColour(" 1\t2   3 trailing", colour));
    EXPECT_EQ(colour, config::Rgb(1, 2, 3));
}

TEST(ColourText, RejectsMalformedAndOutOfRangeComponents) {
    std::uint32_t colour = 0xABCDEFu;
    for (const char* bad : {"1 2 300", "256 0 0", "1 2", "", "red green blue", "1,2,3", "-1 0 0", "65536 0 0",
                            "1 2 99999999999999999999"}) {
        EXPECT_FALSE(config::ParseColour(bad, colour)) << bad;
        EXPECT_EQ(colour, 0xABCDEFu) << bad;
    }
}

TEST(SettingsStore, TypedReadsGoThroughTheStoredText) {
    MapStore store;
    store.values["Autoscan"] = "yes";
    store.values["DialogLook"] = "";
    store.values["Binary"] = "5";
    store.otherType.insert("Binary");
    store.values["Huge"] = "99999999999999999999";
    EXPECT_FALSE(store.ReadFlag("Autoscan", true)) << "no digits reads 0, not the default";
    EXPECT_FALSE(store.ReadFlag("DialogLook", true)) << "the empty text is parsed, not the default";
    EXPECT_TRUE(store.ReadFlag("Missing", true));
    EXPECT_EQ(store.ReadInt("Binary", 77), 77) << "another type counts as missing";
    EXPECT_EQ(store.ReadInt("Huge", 0), INT_MAX);

    store.values["Blue"] = "0 0 255";
    store.values["Bad"] = "1 2 300";
    EXPECT_EQ(store.ReadColour("Blue", 0x112233u), config::Rgb(0, 0, 255));
    EXPECT_EQ(store.ReadColour("Bad", 0x112233u), 0x112233u);
    EXPECT_EQ(store.ReadColour("Missing", 0x112233u), 0x112233u);
}

TEST(SettingsStore, WritesAreDecimalFlagsAndColourTexts) {
    MapStore store;
    store.WriteInt("Count", -3);
    store.WriteFlag("On", true);
    store.WriteFlag("Off", false);
    store.WriteColour("Colour", config::Rgb(10, 20, 30));
    EXPECT_EQ(store.values["Count"], "-3");
    EXPECT_EQ(store.values["On"], "1");
    EXPECT_EQ(store.values["Off"], "0");
    EXPECT_EQ(store.values["Colour"], "10 20 30");
}
