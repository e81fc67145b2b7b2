#include "config/DispOptData.h"
#include "config/TransWash.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using config::DispOptField;

struct Case {
    const char* center;
    const char* minVis;
    const char* delay;
    bool autoscan;
    const char* folder;
    DispOptField field;
    const char* message;
};

TEST(ValidateDispOpt, RefusesTheFirstValueOutOfRangeAndNamesItsEdit) {
    const char* center = "Central disk radius must be 10..90";
    const char* minVis = "Maximum size of visible sectors must be 0..100";
    const char* delay = "Resize delay milliseconds must be 0..1000";
    const char* folder = "Must specify a directory path.";
    const std::vector<Case> cases = {
        {"33", "2", "100", false, "", DispOptField::kNone, ""},
        {"9", "2", "100", false, "", DispOptField::kCenterPercent, center},
        {"91", "2", "100", false, "", DispOptField::kCenterPercent, center},
        {"10", "0", "0", false, "", DispOptField::kNone, ""},
        {"90", "100", "1000", false, "", DispOptField::kNone, ""},
        {"", "2", "100", false, "", DispOptField::kCenterPercent, center},        // empty reads 0
        {"5x", "2", "100", false, "", DispOptField::kCenterPercent, center},      // not a number reads 0
        {"9999999999", "2", "100", false, "", DispOptField::kCenterPercent, center},  // no wrap into range
        {"50", "-1", "100", false, "", DispOptField::kMinVisSize, minVis},
        {"50", "101", "100", false, "", DispOptField::kMinVisSize, minVis},
        {"50", "2", "1001", false, "", DispOptField::kResizeDelay, delay},
        {"50", "2", "-5", false, "", DispOptField::kResizeDelay, delay},
        {"50", "2", "", false, "", DispOptField::kNone, ""},                      // empty delay reads 0
        {"9", "101", "1001", true, "  ", DispOptField::kCenterPercent, center},  // the first failure only
        {"50", "2", "100", true, " \t  ", DispOptField::kAutoscanFolder, folder},
        {"50", "2", "100", true, "", DispOptField::kAutoscanFolder, folder},
        {"50", "2", "100", false, "   ", DispOptField::kNone, ""},  // no folder needed without autoscan
        {"50", "2", "100", true, "d", DispOptField::kNone, ""},
    };
    for (const Case& c : cases) {
        config::DispOptData data;
        const auto verdict = config::ValidateDispOpt({c.center, c.minVis, c.delay, c.autoscan, c.folder}, data);
        const std::string label = std::string(c.center) + "|" + c.minVis + "|" + c.delay + "|" + c.folder;
        EXPECT_EQ(verdict.field, c.field) << label;
        EXPECT_EQ(verdict.message, c.message) << label;
        EXPECT_EQ(verdict.Ok(), c.field == DispOptField::kNone) << label;
    }
}

TEST(ValidateDispOpt, AcceptedValuesReachTheDataAndRefusedOnesLeaveIt) {
    config::DispOptData data;
    ASSERT_TRUE(config::ValidateDispOpt({" 90 ", "0", "", true, "  d  "}, data).Ok());
    EXPECT_EQ(data.centerPercent, 90);
    EXPECT_EQ(data.minVisSize, 0);
    EXPECT_EQ(data.resizeDelay, 0);
    EXPECT_TRUE(data.autoscan);
    EXPECT_EQ(data.autoscanFolder, "d:\\");

    ASSERT_TRUE(config::ValidateDispOpt({"10", "100", "1000", false, "E:\\data"}, data).Ok());
    EXPECT_EQ(data.autoscanFolder, "E:\\data\\");
    EXPECT_FALSE(data.autoscan);

    const config::DispOptData before = data;
    EXPECT_FALSE(config::ValidateDispOpt({"50", "2", "100", true, " "}, data).Ok());
    EXPECT_EQ(data.centerPercent, before.centerPercent);
    EXPECT_EQ(data.autoscanFolder, before.autoscanFolder);
}

// n copies of a text.
std::string Repeat(std::string_view text, std::size_t n) {
    std::string out;
    for (std::size_t i = 0; i < n; ++i) out += text;
    return out;
}

TEST(Utf8CharacterCount, CountsCharactersNotBytesAndEveryStrayByteAsOne) {
    const struct {
        std::string text;
        std::size_t count;
    } cases[] = {
        {"", 0},
        {"C:\\Data\\", 8},
        {"caf\xC3\xA9", 4},                    // two-byte
        {Repeat("\xE6\x97\xA5", 100), 100},    // three-byte CJK
        {"\xF0\x9F\x93\x81x", 2},             // four-byte
        {"\x80\x80", 2},                       // continuation bytes without a lead
        {"\xE6\x97", 2},                       // a sequence cut short
        {"\xE6\x97" "a", 3},
        {"\xFF\xC0\xC1", 3},                  // never a lead
    };
    for (const auto& c : cases) EXPECT_EQ(config::Utf8CharacterCount(c.text), c.count) << c.text;
}

TEST(ValidateDispOpt, TheAutoscanFolderIsCountedInCharactersAndRefusedWhenTooLongNeverCut) {
    const std::string tooLong = "The autoscan directory path must be at most 260 characters.";
    const std::string cjk = "C:\\" + Repeat("\xE6\x97\xA5", 100) + "\\";   // 104 characters, 304 bytes
    const std::string ascii260 = "C:\\" + std::string(256, 'a') + "\\";
    const std::string cjk260 = "C:\\" + Repeat("\xE6\x97\xA5", 256) + "\\";
    const std::string stored300 = "C:\\" + Repeat("\xE6\x97\xA5", 296) + "\\";
    const struct {
        std::string start;    // the folder the dialog was opened with
        std::string typed;
        std::string kept;     // the folder after OK: the start one when refused
        std::string message;  // empty: accepted
    } cases[] = {
        {"C:\\", cjk, cjk, ""},
        {"C:\\", ascii260, ascii260, ""},
        {"C:\\", cjk260, cjk260, ""},
        {"C:\\", "  " + cjk260 + "\t", cjk260, ""},  // the blanks around it do not count
        {"C:\\", ascii260 + "b", "C:\\", tooLong},
        {"C:\\", cjk260 + "\xE6\x97\xA5", "C:\\", tooLong},
        {stored300, stored300, stored300, ""},       // a long folder already kept survives an unrelated OK
        {stored300, " " + stored300 + " ", stored300, ""},
        {stored300, stored300 + "x\\", stored300, tooLong},
        {"C:\\", stored300, "C:\\", tooLong},
    };
    for (const auto& c : cases) {
        config::DispOptData data;
        data.autoscanFolder = c.start;
        const auto verdict = config::ValidateDispOpt({"50", "2", "100", true, c.typed}, data);
        EXPECT_EQ(verdict.message, c.message) << c.typed;
        EXPECT_EQ(verdict.field, c.message.empty() ? DispOptField::kNone : DispOptField::kAutoscanFolder) << c.typed;
        EXPECT_EQ(data.autoscanFolder, c.kept) << c.typed;
    }
}

TEST(DispOptData, TheDialogsValuesGoBackToThePieWithoutLoss) {
    pie::PieViewSettings pie;
    pie.pie.centerRatio = 0.33;
    pie.pie.minVisSize = 7.9;
    pie.flyTransp = 300;  // out of range only if someone set it so: the slider shows 255
    pie.tipTextDir = std::string(1500, 'x') + "#DSIZE";
    pie.tipTextFile = "#SIZE";
    config::DispOptData data = config::MakeDispOptData(pie, false, true, true, "C:\\");
    EXPECT_EQ(data.centerPercent, 33);
    EXPECT_EQ(data.minVisSize, 7);
    EXPECT_EQ(data.flyTransp, 255);
    EXPECT_FALSE(data.dialogLook);
    EXPECT_TRUE(data.largeToolbar);

    // An untouched OK: the texts the dialog shows come back, and the long template survives whole.
    ASSERT_TRUE(config::ValidateDispOpt({"33", "7", "100", true, "C:\\"}, data).Ok());
    data.clrMeth = pie::kNameEncoded;
    data.fixedClr = pie::MakeColour(1, 2, 3);
    pie::PieViewSettings applied = pie;
    config::ApplyDispOptData(data, applied);
    EXPECT_DOUBLE_EQ(applied.pie.centerRatio, 0.33);
    EXPECT_EQ(applied.pie.minVisSize, 7);
    EXPECT_EQ(applied.tipTextDir.size(), 1506u);
    EXPECT_EQ(applied.tipTextDir, pie.tipTextDir);
    EXPECT_EQ(applied.pie.clrMeth, pie::kNameEncoded);
    EXPECT_EQ(applied.pie.fixedClr, pie::MakeColour(1, 2, 3));
    EXPECT_EQ(applied.pie.pieMode, pie.pie.pieMode);  // not the dialog's to change

    // Out-of-range percentages of an older store are clamped to what the dialog accepts.
    pie.pie.centerRatio = 0.05;
    EXPECT_EQ(config::MakeDispOptData(pie, true, false, false, "").centerPercent, 10);
    pie.pie.centerRatio = 0.95;
    EXPECT_EQ(config::MakeDispOptData(pie, true, false, false, "").centerPercent, 90);
}

TEST(TransWash, HueRunsAcrossAndLightnessDownAndEmptyAreasAreHarmless) {
    EXPECT_EQ(config::WashColour(0, 0, 240, 240), pie::MakeColour(0, 0, 0));
    EXPECT_EQ(config::WashColour(0, 120, 240, 240), pie::MakeColour(255, 0, 0));
    EXPECT_EQ(config::WashColour(80, 120, 240, 240), pie::MakeColour(0, 255, 0));
    EXPECT_EQ(config::WashColour(160, 120, 240, 240), pie::MakeColour(0, 0, 255));
    EXPECT_EQ(config::WashColour(10, 5, 0, 0), 0u);

    config::FillWash(nullptr, 0, 0, 0);
    config::FillWash(nullptr, 10, 0, 32);
    std::uint8_t untouched[4] = {7, 7, 7, 7};
    config::FillWash(untouched, 0, 5, 0);
    EXPECT_EQ(untouched[0], 7);

    // Two rows of two pixels, rows 8 bytes apart: the second row is half way to white.
    std::vector<std::uint8_t> bits(16, 0xEE);
    config::FillWash(bits.data(), 2, 2, 8);
    const pie::Colour lower = config::WashColour(0, 1, 2, 2);
    EXPECT_EQ(bits[8], pie::BlueOf(lower));
    EXPECT_EQ(bits[10], pie::RedOf(lower));
    EXPECT_EQ(lower, pie::MakeColour(255, 0, 0));
    EXPECT_EQ(bits[6], 0xEE);  // padding stays
}

}  // namespace
