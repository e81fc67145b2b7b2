// The pie view's settings record: defaults, clamping, and writing back in a fixed order.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "pie/PieViewSettings.h"

namespace {

class RecordingStore : public config::SettingsStore {
public:
    std::map<std::string, std::string, std::less<>> values;
    std::vector<std::string> written;
    std::string ReadString(std::string_view name, std::string_view fallback) const override {
        const auto it = values.find(name);
        return it != values.end() ? it->second : std::string(fallback);
    }
    void WriteString(std::string_view name, std::string_view text) override {
        values[std::string(name)] = std::string(text);
        written.emplace_back(name);
    }
};

TEST(PieViewSettings, DefaultsAndOrderOfWriting) {
    RecordingStore store;
    const pie::PieViewSettings s = pie::LoadPieViewSettings(store);
    EXPECT_DOUBLE_EQ(s.pie.centerRatio, 0.33);
    EXPECT_EQ(s.pie.minVisSize, 2);
    EXPECT_EQ(s.pie.fixedClr, pie::MakeColour(128, 192, 255));
    EXPECT_EQ(s.flyTransp, 64);
    EXPECT_EQ(s.pie.pieMode, 1);
    EXPECT_EQ(s.tipTextDir, "#DSIZE (#DALLOC)\r\nDirs: #DDIRS\r\nFiles: #DFILES");
    pie::SavePieViewSettings(s, store);
    EXPECT_EQ(store.written,
              (std::vector<std::string>{"CenterRatio", "ShowGuideLines", "MinVisSize", "ClrMeth", "FixedClr", "SizeClr1",
                                        "SizeClr2", "FlyTransp", "SrtOrder", "GroupDirs", "ShowPieStats", "ResizeDelay",
                                        "PieMode", "TipShowName", "TipShowInfo", "TipTextDir", "TipTextFile"}));
    EXPECT_EQ(store.values["CenterRatio"], "33");
    EXPECT_EQ(store.values["FixedClr"], "128 192 255");
}

TEST(PieViewSettings, StoredValuesAreClamped) {
    struct Case {
        const char* name;
        const char* stored;
        const char* savedBack;
    };
    const Case cases[] = {
        {"CenterRatio", "5", "10"}, {"CenterRatio", "95", "90"}, {"CenterRatio", "abc", "10"},
        {"MinVisSize", "250", "100"}, {"MinVisSize", "-3", "0"}, {"ClrMeth", "7", "3"},
        {"ClrMeth", "-1", "0"},       {"FlyTransp", "300", "255"}, {"SrtOrder", "5", "2"},
        {"ResizeDelay", "5000", "1000"}, {"ResizeDelay", "-20", "0"}, {"PieMode", "9", "2"},
        {"SizeClr1", "1 2 300", "255 0 0"}, {"GroupDirs", "7", "1"}, {"TipTextFile", "", ""},
    };
    for (const Case& c : cases) {
        RecordingStore store;
        store.values[c.name] = c.stored;
        pie::SavePieViewSettings(pie::LoadPieViewSettings(store), store);
        EXPECT_EQ(store.values[c.name], c.savedBack) << c.name << " " << c.stored;
    }
    RecordingStore store;
    store.values["CenterRatio"] = "5";
    store.values["ClrMeth"] = "7";
    const auto s = pie::LoadPieViewSettings(store);
    EXPECT_DOUBLE_EQ(s.pie.centerRatio, 0.1);
    EXPECT_EQ(s.pie.clrMeth, 3);
}

// Written back as the fraction's nearest percentage: truncating 0.29 x 100 = 28.999... would lose one per run.
TEST(PieViewSettings, EveryPercentageSurvivesRepeatedRuns) {
    for (int percent = 10; percent <= 90; ++percent) {
        RecordingStore store;
        store.values["CenterRatio"] = std::to_string(percent);
        for (int run = 0; run < 3; ++run) pie::SavePieViewSettings(pie::LoadPieViewSettings(store), store);
        EXPECT_EQ(store.values["CenterRatio"], std::to_string(percent));
    }
}

}  // namespace
