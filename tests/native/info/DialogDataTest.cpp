// Remembered placements and choices of the information dialogs.
#include "common/MapStore.h"
#include "info/DialogData.h"
#include "info/SysDrives.h"

#include <gtest/gtest.h>

namespace {

using fw::Rect;

TEST(DialogData, StatisticsChoicesAreReadInOrderUpToTheFirstUnreadableNumber) {
    const info::StatsChoices initial;
    struct Case {
        const char* text;
        info::StatsChoices expected;
    } const cases[] = {
        {"1 120 80 700 560 0 1 100 0", {{120, 80, 700, 560}, 0, true, 100, false}},
        {"1 10 20 30 40 7 0 5000 1", {{10, 20, 30, 40}, 7, false, 5000, true}},
        {"", initial},
        {"2 120 80 700 560 0 1 100 0", initial},
        {"1 120 80 700", initial},
        {"1 1 2 3 4 5 x 9 1", {{1, 2, 3, 4}, 5, true, 100, false}},
        {"1 1 2 3 4 3 0 -20 1", {{1, 2, 3, 4}, 3, false, 100, true}},
        {"1 1 2 3 4 3 0 0 1", {{1, 2, 3, 4}, 3, false, 100, true}},
    };
    for (const Case& c : cases) {
        info::StatsChoices choices;
        info::ReadStatsChoices(c.text, choices);
        EXPECT_EQ(choices, c.expected) << c.text;
    }
    const info::StatsChoices saved{{-5, 6, 700, 800}, 4, false, 250, true};
    EXPECT_EQ(info::FormatStatsChoices(saved), "1 -5 6 700 800 4 0 250 1");
    info::StatsChoices back;
    info::ReadStatsChoices(info::FormatStatsChoices(saved), back);
    EXPECT_EQ(back, saved);
}

TEST(DialogData, HistogramDetailIsClampedWhenRead) {
    struct Case {
        const char* text;
        int detail;
    } const cases[] = {
        {"1 0 0 400 300 3", 3},  {"1 0 0 400 300 1000000", 5}, {"1 0 0 400 300 0", 1},
        {"1 0 0 400 300 -7", 1}, {"1 0 0 400 300", 2},         {"1 0 0 400 x 4", 2},
    };
    for (const Case& c : cases) {
        info::HistogramChoices choices;
        info::ReadHistogramChoices(c.text, choices);
        EXPECT_EQ(choices.detail, c.detail) << c.text;
    }
    EXPECT_EQ(info::FormatHistogramChoices({{1, 2, 401, 302}, 4}), "1 1 2 401 302 4");
}

TEST(DialogData, ARememberedRectangleGrowsToTheCurrentSizeAndComesBackOntoTheWorkArea) {
    const Rect area{0, 0, 1280, 1000};
    EXPECT_FALSE(info::RememberedPlacement({0, 0, 0, 0}, 400, 300, area));
    EXPECT_FALSE(info::RememberedPlacement({50, 50, 40, 90}, 400, 300, area));
    EXPECT_EQ(info::RememberedPlacement({100, 100, 300, 200}, 400, 300, area), (Rect{100, 100, 500, 400}));
    EXPECT_EQ(info::RememberedPlacement({100, 100, 700, 600}, 400, 300, area), (Rect{100, 100, 700, 600}));
    EXPECT_EQ(info::RememberedPlacement({3000, -900, 3500, -500}, 400, 300, area), (Rect{780, 0, 1280, 400}));
}

TEST(DialogData, ExtremeRememberedRectanglesAreClampedWhenReadAndPlaceWithoutOverflow) {
    const Rect area{0, 0, 1280, 1000};
    constexpr int m = info::kMaxRememberedCoordinate;
    const struct {
        const char* rect;  // the four numbers after the version
        Rect read;
        Rect placed;
    } cases[] = {
        {"-2147483648 -2147483648 2147483647 2147483647", {-m, -m, m, m}, {0, 0, 2 * m, 2 * m}},
        {"2147483647 2147483647 -2147483648 -2147483648", {m, m, -m, -m}, {}},  // inverted: not placed
        {"-2147483648 0 -2147483000 300", {-m, 0, -m, 300}, {}},                // empty after clamping
        {"2147483000 2147483000 2147483647 2147483647", {m, m, m, m}, {}},
        {"-2147483648 -2147483648 -2147483000 -2147483000", {-m, -m, -m, -m}, {}},
        {"2000000000 100 2000000400 400", {m, 100, m, 400}, {}},
        {"-1000 -1000 -600 -700", {-1000, -1000, -600, -700}, {0, 0, 400, 300}},
        {"999999 999999 1000001 1000001", {999999, 999999, m, m}, {880, 700, 1280, 1000}},
    };
    for (const auto& c : cases) {
        const std::string rect = c.rect;
        info::StatsChoices stats;
        info::ReadStatsChoices("1 " + rect + " 3 0 7 1", stats);
        EXPECT_EQ(stats, (info::StatsChoices{c.read, 3, false, 7, true})) << rect;
        info::HistogramChoices histogram;
        info::ReadHistogramChoices("1 " + rect + " 4", histogram);
        EXPECT_EQ(histogram, (info::HistogramChoices{c.read, 4})) << rect;
        info::SysDrivesDlgData drives;
        ASSERT_TRUE(info::ParseSysDrivesDlgData("1 " + rect, drives)) << rect;
        EXPECT_EQ(drives.rect, c.read) << rect;

        const auto placed = info::RememberedPlacement(stats.rect, 400, 300, area);
        EXPECT_EQ(placed.value_or(Rect{}), c.placed) << rect;
    }
}

TEST(DialogData, EveryValueIsLoadedAndSavedUnderItsName) {
    native_test::MapStore store;
    store.values["DlgDataStats"] = "1 1 2 3 4 6 0 42 1";
    store.values["DlgDataHistogram"] = "1 5 6 7 8 9";
    store.values["DlgDataSysDrives"] = "1 -5 6 700 800";
    store.values["DlgDataFileTypes"] = "1 9 8 700 600 1 0 5 1";
    info::InfoDialogData data;
    info::LoadInfoDialogData(store, data);
    EXPECT_EQ(data.stats.maxItems, 42);
    EXPECT_EQ(data.histogram.detail, 5);
    EXPECT_EQ(data.sysDrives.rect, (fw::Rect{-5, 6, 700, 800}));
    EXPECT_EQ(data.fileTypes, (info::FileTypesChoices{{9, 8, 700, 600}, true, false, 5, true}));
    data.stats.rect = {10, 10, 20, 20};
    data.sysDrives.rect = {1, 2, 3, 4};
    info::SaveInfoDialogData(store, data);
    EXPECT_EQ(store.values["DlgDataStats"], "1 10 10 20 20 6 0 42 1");
    EXPECT_EQ(store.values["DlgDataHistogram"], "1 5 6 7 8 5");
    EXPECT_EQ(store.values["DlgDataSysDrives"], "1 1 2 3 4");
    EXPECT_EQ(store.values["DlgDataFileTypes"], "1 9 8 700 600 1 0 5 1");
}

TEST(DialogData, FileTypesChoicesAreReadInOrderAndAColumnOutsideTheListIsNotTaken) {
    const info::FileTypesChoices initial;
    EXPECT_EQ(info::FormatFileTypesChoices(initial), "1 0 0 0 0 0 1 2 0");
    const struct {
        const char* text;
        info::FileTypesChoices expected;
    } cases[] = {
        {"1 10 20 610 420 1 0 1 1", {{10, 20, 610, 420}, true, false, 1, true}},
        {"1 10 20 610 420 0 1 9 1", {{10, 20, 610, 420}, false, true, 2, true}},
        {"1 10 20 610 420 0 1 -1", {{10, 20, 610, 420}, false, true, 2, false}},
        {"1 10 20 610 420 1", {{10, 20, 610, 420}, true, true, 2, false}},
        {"1 10 20 610 x 1 0 1 1", initial},
        {"2 10 20 610 420 1 0 1 1", initial},
        {"", initial},
    };
    for (const auto& c : cases) {
        info::FileTypesChoices choices;
        info::ReadFileTypesChoices(c.text, choices);
        EXPECT_EQ(choices, c.expected) << c.text;
    }
}

}  // namespace
