// The pie view's settings table: defaults, clamping, writing back in a fixed order, and every row alike.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "common/MapStore.h"
#include "common/SettingsTableChecks.h"
#include "pie/PieViewSettings.h"

namespace {

using native_test::MapStore;

TEST(PieViewSettings, DefaultsAndOrderOfWriting) {
    MapStore store;
    const pie::PieViewSettings s = pie::LoadPieViewSettings(store);
    EXPECT_DOUBLE_EQ(s.centreRatio, 0.33);
    EXPECT_EQ(s.minimumVisibleSize, 2);
    EXPECT_EQ(s.fixedColour, fw::MakeColour(128, 192, 255));
    EXPECT_EQ(s.tipTransparency, 64);
    EXPECT_EQ(s.sizeKind, model::kPhysicalSize);
    EXPECT_EQ(s.folderTip, "#DSIZE (#DALLOC)\r\nDirs: #DDIRS\r\nFiles: #DFILES");
    pie::SavePieViewSettings(s, store);
    EXPECT_EQ(store.written, (std::vector<std::string>{"CenterRatio", "ShowGuideLines", "MinVisSize", "ClrMeth",
                                                       "FixedClr", "SizeClr1", "SizeClr2", "FlyTransp", "SrtOrder",
                                                       "GroupDirs", "ShowPieStats", "ResizeDelay", "PieMode",
                                                       "TipShowName", "TipShowInfo", "TipTextDir", "TipTextFile"}));
    EXPECT_EQ(store.values["CenterRatio"], "33");
    EXPECT_EQ(store.values["FixedClr"], "128 192 255");
    EXPECT_EQ(store.values["SizeClr1"], "255 0 0");
    EXPECT_EQ(store.values["SizeClr2"], "255 255 0");
    EXPECT_EQ(store.values["TipTextFile"], "#SIZE (#ALLOC)");
}

TEST(PieViewSettings, StoredValuesAreClamped) {
    struct Case {
        const char* name;
        const char* stored;
        const char* savedBack;
    };
    const Case cases[] = {
        {"CenterRatio", "5", "10"},
        {"CenterRatio", "95", "90"},
        {"CenterRatio", "abc", "10"},
        {"MinVisSize", "250", "100"},
        {"MinVisSize", "-3", "0"},
        {"ClrMeth", "7", "5"},
        {"ClrMeth", "-1", "0"},
        {"FlyTransp", "300", "255"},
        {"SrtOrder", "5", "2"},
        {"ResizeDelay", "5000", "1000"},
        {"ResizeDelay", "-20", "0"},
        {"PieMode", "9", "2"},
        {"SizeClr1", "1 2 300", "255 0 0"},
        {"GroupDirs", "7", "1"},
        {"TipTextFile", "", ""},
    };
    for (const Case& c : cases) {
        MapStore store;
        store.values[c.name] = c.stored;
        pie::SavePieViewSettings(pie::LoadPieViewSettings(store), store);
        EXPECT_EQ(store.values[c.name], c.savedBack) << c.name << " " << c.stored;
    }
    MapStore store;
    store.values["CenterRatio"] = "5";
    store.values["ClrMeth"] = "7";
    const auto s = pie::LoadPieViewSettings(store);
    EXPECT_DOUBLE_EQ(s.centreRatio, 0.1);
    EXPECT_EQ(s.colourMethod, pie::kGrowth);
}

// "Type-encoded" is 4 and "Growth" 5; the values before them keep their meaning.
TEST(PieViewSettings, EveryColouringMethodKeepsItsNumber) {
    const struct {
        const char* stored;
        pie::ColourMethod method;
    } cases[] = {{"0", pie::kFixedColour}, {"1", pie::kSizeEncoded}, {"2", pie::kRainbowWash}, {"3", pie::kNameEncoded},
                 {"4", pie::kTypeEncoded}, {"5", pie::kGrowth},      {"6", pie::kGrowth}};
    for (const auto& c : cases) {
        MapStore store;
        store.values["ClrMeth"] = c.stored;
        const auto s = pie::LoadPieViewSettings(store);
        EXPECT_EQ(s.colourMethod, c.method) << c.stored;
        pie::SavePieViewSettings(s, store);
        EXPECT_EQ(store.values["ClrMeth"], std::to_string(c.method)) << c.stored;
    }
}

// Written back as the fraction's nearest percentage: truncating 0.29 x 100 = 28.999... would lose one per run.
TEST(PieViewSettings, EveryPercentageSurvivesRepeatedRuns) {
    for (int percent = 10; percent <= 90; ++percent) {
        MapStore store;
        store.values["CenterRatio"] = std::to_string(percent);
        for (int run = 0; run < 3; ++run) pie::SavePieViewSettings(pie::LoadPieViewSettings(store), store);
        EXPECT_EQ(store.values["CenterRatio"], std::to_string(percent));
    }
}

TEST(PieViewSettings, EveryRowRoundTripsAndEveryNumberIsClamped) {
    native_test::CheckEveryRowRoundTrips(pie::kPieViewSettings, pie::PieViewSettings{});
    native_test::CheckEveryNumberIsClampedOnReading(pie::kPieViewSettings, pie::PieViewSettings{});
}

TEST(PieViewSettings, TheRowsNameTheirMembersAndTheEnumsBoundTheirRanges) {
    using pie::PieViewSettings;
    constexpr const auto& method = config::SettingOf<&PieViewSettings::colourMethod>(pie::kPieViewSettings);
    constexpr const auto& order = config::SettingOf<&PieViewSettings::sortOrder>(pie::kPieViewSettings);
    constexpr const auto& kind = config::SettingOf<&PieViewSettings::sizeKind>(pie::kPieViewSettings);
    constexpr const auto& transparency = config::SettingOf<&PieViewSettings::tipTransparency>(pie::kPieViewSettings);
    EXPECT_EQ(method.name, "ClrMeth");
    EXPECT_EQ(order.name, "SrtOrder");
    EXPECT_EQ(kind.name, "PieMode");
    EXPECT_EQ(transparency.name, "FlyTransp");
    EXPECT_EQ(method.range.high, pie::kGrowth);
    EXPECT_EQ(order.range.high, pie::kBySize);
    EXPECT_EQ(kind.range.high, model::kWastedSpace);
    EXPECT_EQ(transparency.range.high, pie::kInvisibleTip);

    // Every row is found by its own member, and no two rows share a name.
    std::vector<std::string> names = native_test::NamesOf(pie::kPieViewSettings);
    std::sort(names.begin(), names.end());
    EXPECT_EQ(std::adjacent_find(names.begin(), names.end()), names.end());
    EXPECT_EQ(&config::SettingOf<&PieViewSettings::centreRatio>(pie::kPieViewSettings), &pie::kPieViewSettings[0]);
    EXPECT_EQ(&config::SettingOf<&PieViewSettings::fileTip>(pie::kPieViewSettings), &pie::kPieViewSettings[16]);
}

}  // namespace
