#include "common/MapStore.h"
#include "options/DispOptData.h"
#include "options/TransWash.h"
#include "pie/PieLayout.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using options::DispOptField;

// The number an edit of the dialog shows for `data`: its row's stored form.
int Shown(const options::DispOptData& data, DispOptField field) {
    for (const options::NumberEdit& edit : options::kNumberEdits)
        if (edit.field == field) return edit.setting.number(data.pie);
    ADD_FAILURE() << "no such edit";
    return -1;
}

struct Case {
    const char* centre;
    const char* minVis;
    const char* delay;
    bool autoscan;
    const char* folder;
    DispOptField field;
    const char* message;
};

TEST(ValidateDispOpt, RefusesTheFirstValueOutOfRangeAndNamesItsEdit) {
    const char* centre = "Central disk radius must be 10..90";
    const char* minVis = "Maximum size of visible sectors must be 0..100";
    const char* delay = "Resize delay milliseconds must be 0..1000";
    const char* folder = "Must specify a directory path.";
    const std::vector<Case> cases = {
        {"33", "2", "100", false, "", DispOptField::kNone, ""},
        {"9", "2", "100", false, "", DispOptField::kCentre, centre},
        {"91", "2", "100", false, "", DispOptField::kCentre, centre},
        {"10", "0", "0", false, "", DispOptField::kNone, ""},
        {"90", "100", "1000", false, "", DispOptField::kNone, ""},
        {"", "2", "100", false, "", DispOptField::kCentre, centre},            // empty reads 0
        {"5x", "2", "100", false, "", DispOptField::kCentre, centre},          // not a number reads 0
        {"9999999999", "2", "100", false, "", DispOptField::kCentre, centre},  // no wrap into range
        {"50", "-1", "100", false, "", DispOptField::kMinimumVisibleSize, minVis},
        {"50", "101", "100", false, "", DispOptField::kMinimumVisibleSize, minVis},
        {"50", "2", "1001", false, "", DispOptField::kResizeDelay, delay},
        {"50", "2", "-5", false, "", DispOptField::kResizeDelay, delay},
        {"50", "2", "", false, "", DispOptField::kNone, ""},              // empty delay reads 0
        {"9", "101", "1001", true, "  ", DispOptField::kCentre, centre},  // the first failure only
        {"50", "2", "100", true, " \t  ", DispOptField::kAutoscanFolder, folder},
        {"50", "2", "100", true, "", DispOptField::kAutoscanFolder, folder},
        {"50", "2", "100", false, "   ", DispOptField::kNone, ""},  // no folder needed without autoscan
        {"50", "2", "100", true, "d", DispOptField::kNone, ""},
    };
    for (const Case& c : cases) {
        options::DispOptData data;
        const auto verdict = options::ValidateDispOpt({c.centre, c.minVis, c.delay, c.autoscan, c.folder}, data);
        const std::string label = std::string(c.centre) + "|" + c.minVis + "|" + c.delay + "|" + c.folder;
        EXPECT_EQ(verdict.field, c.field) << label;
        EXPECT_EQ(verdict.message, c.message) << label;
        EXPECT_EQ(verdict.Ok(), c.field == DispOptField::kNone) << label;
    }
}

TEST(ValidateDispOpt, AcceptedValuesReachTheDataAndRefusedOnesLeaveIt) {
    options::DispOptData data;
    ASSERT_TRUE(options::ValidateDispOpt({" 90 ", "0", "", true, "  d  "}, data).Ok());
    EXPECT_EQ(Shown(data, DispOptField::kCentre), 90);
    EXPECT_EQ(data.pie.centreRatio, 0.9);
    EXPECT_EQ(data.pie.minimumVisibleSize, 0);
    EXPECT_EQ(data.pie.resizeDelay, 0);
    EXPECT_TRUE(data.autoscan);
    EXPECT_EQ(data.autoscanFolder, "d:\\");

    ASSERT_TRUE(options::ValidateDispOpt({"10", "100", "1000", false, "E:\\data"}, data).Ok());
    EXPECT_EQ(data.autoscanFolder, "E:\\data\\");
    EXPECT_FALSE(data.autoscan);

    const options::DispOptData before = data;
    EXPECT_FALSE(options::ValidateDispOpt({"50", "2", "100", true, " "}, data).Ok());
    EXPECT_EQ(data.pie.centreRatio, before.pie.centreRatio);
    EXPECT_EQ(data.autoscanFolder, before.autoscanFolder);
}

// The three number edits are checked against the rows of the pie's settings table: the ends of each row's
// range pass, one past them is refused with that range in the message, and what passes is stored as typed.
TEST(ValidateDispOpt, EachNumberEditIsCheckedAgainstItsSettingsRow) {
    const auto& table = pie::kPieViewSettings;
    for (const options::NumberEdit& edit : options::kNumberEdits) {
        ASSERT_GE(&edit.setting, std::begin(table));
        ASSERT_LT(&edit.setting, std::end(table)) << edit.what << ": a row of the table itself";
        const config::Range range = edit.setting.range;
        const std::string message =
            std::string(edit.what) + " must be " + std::to_string(range.low) + ".." + std::to_string(range.high);
        const struct {
            int typed;
            bool accepted;
        } cases[] = {{range.low, true}, {range.high, true}, {range.low - 1, false}, {range.high + 1, false}};
        for (const auto& c : cases) {
            options::DispOptData data;
            std::string texts[] = {"50", "2", "100"};
            const std::string typed = std::to_string(c.typed);
            options::DispOptTexts in{texts[0], texts[1], texts[2], false, ""};
            if (edit.field == DispOptField::kCentre) in.centre = typed;
            if (edit.field == DispOptField::kMinimumVisibleSize) in.minimumVisibleSize = typed;
            if (edit.field == DispOptField::kResizeDelay) in.resizeDelay = typed;
            const options::DispOptVerdict verdict = options::ValidateDispOpt(in, data);
            EXPECT_EQ(verdict.Ok(), c.accepted) << edit.what << " " << typed;
            if (!c.accepted) {
                EXPECT_EQ(verdict.field, edit.field);
                EXPECT_EQ(verdict.message, message);
                continue;
            }
            native_test::MapStore store;
            pie::SavePieViewSettings(data.pie, store);
            EXPECT_EQ(store.values[std::string(edit.setting.name)], typed) << edit.what;
        }
    }
}

// A centre size chosen in the dialog draws the pie the next start draws from the stored percentage: one
// conversion from per cent to fraction, not two that differ in the last bit (35 % of a radius of 100 was
// 35 pixels after OK and 34 after a restart).
TEST(DispOptData, ACentreSizeFromTheDialogIsTheOneTheNextStartReads) {
    for (int percent = 10; percent <= 90; ++percent) {
        const std::string typed = std::to_string(percent);
        options::DispOptData data;
        ASSERT_TRUE(options::ValidateDispOpt({typed, "2", "100", false, ""}, data).Ok());
        pie::PieViewSettings applied;
        options::ApplyDispOptData(data, applied);

        native_test::MapStore store;
        store.values["CenterRatio"] = typed;
        const pie::PieViewSettings loaded = pie::LoadPieViewSettings(store);
        EXPECT_EQ(applied.centreRatio, loaded.centreRatio) << percent;
        for (int side : {200, 201, 640, 1000})
            EXPECT_EQ(pie::ComputeGeometry(side, side, applied.centreRatio).centre,
                      pie::ComputeGeometry(side, side, loaded.centreRatio).centre)
                << percent << "% of " << side;
    }
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
        {"caf\xC3\xA9", 4},                  // two-byte
        {Repeat("\xE6\x97\xA5", 100), 100},  // three-byte CJK
        {"\xF0\x9F\x93\x81x", 2},            // four-byte
        {"\x80\x80", 2},                     // continuation bytes without a lead
        {"\xE6\x97", 2},                     // a sequence cut short
        {"\xE6\x97"
         "a",
         3},
        {"\xFF\xC0\xC1", 3},  // never a lead
    };
    for (const auto& c : cases) EXPECT_EQ(options::Utf8CharacterCount(c.text), c.count) << c.text;
}

TEST(ValidateDispOpt, TheAutoscanFolderIsCountedInCharactersAndRefusedWhenTooLongNeverCut) {
    const std::string tooLong = "The autoscan directory path must be at most 260 characters.";
    const std::string cjk = "C:\\" + Repeat("\xE6\x97\xA5", 100) + "\\";  // 104 characters, 304 bytes
    const std::string ascii260 = "C:\\" + std::string(256, 'a') + "\\";
    const std::string cjk260 = "C:\\" + Repeat("\xE6\x97\xA5", 256) + "\\";
    const std::string stored300 = "C:\\" + Repeat("\xE6\x97\xA5", 296) + "\\";
    const struct {
        std::string start;  // the folder the dialog was opened with
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
        {stored300, stored300, stored300, ""},  // a long folder already kept survives an unrelated OK
        {stored300, " " + stored300 + " ", stored300, ""},
        {stored300, stored300 + "x\\", stored300, tooLong},
        {"C:\\", stored300, "C:\\", tooLong},
    };
    for (const auto& c : cases) {
        options::DispOptData data;
        data.autoscanFolder = c.start;
        const auto verdict = options::ValidateDispOpt({"50", "2", "100", true, c.typed}, data);
        EXPECT_EQ(verdict.message, c.message) << c.typed;
        EXPECT_EQ(verdict.field, c.message.empty() ? DispOptField::kNone : DispOptField::kAutoscanFolder) << c.typed;
        EXPECT_EQ(data.autoscanFolder, c.kept) << c.typed;
    }
}

TEST(DispOptData, TheDialogsValuesGoBackToThePieWithoutLoss) {
    pie::PieViewSettings pie;
    pie.centreRatio = 0.33;
    pie.minimumVisibleSize = 7.9;
    pie.tipTransparency = 300;  // out of range only if someone set it so: the slider shows 255
    pie.folderTip = std::string(1500, 'x') + "#DSIZE";
    pie.fileTip = "#SIZE";
    options::DispOptData data = options::MakeDispOptData(pie, false, true, true, "C:\\");
    EXPECT_EQ(Shown(data, DispOptField::kCentre), 33);
    EXPECT_EQ(Shown(data, DispOptField::kMinimumVisibleSize), 7);
    EXPECT_EQ(data.pie.tipTransparency, 255);
    EXPECT_FALSE(data.dialogLook);
    EXPECT_TRUE(data.largeToolbar);

    // An untouched OK: the texts the dialog shows come back, and the long template survives whole.
    ASSERT_TRUE(options::ValidateDispOpt({"33", "7", "100", true, "C:\\"}, data).Ok());
    data.pie.colourMethod = pie::kNameEncoded;
    data.pie.fixedColour = fw::MakeColour(1, 2, 3);
    data.pie.sizeKind = model::kWastedSpace;  // the dialog offers neither of these two
    data.pie.showStatistics = !pie.showStatistics;
    pie::PieViewSettings applied = pie;
    options::ApplyDispOptData(data, applied);
    EXPECT_DOUBLE_EQ(applied.centreRatio, 0.33);
    EXPECT_EQ(applied.minimumVisibleSize, 7);
    EXPECT_EQ(applied.folderTip.size(), 1506u);
    EXPECT_EQ(applied.folderTip, pie.folderTip);
    EXPECT_EQ(applied.colourMethod, pie::kNameEncoded);
    EXPECT_EQ(applied.fixedColour, fw::MakeColour(1, 2, 3));
    EXPECT_EQ(applied.sizeKind, pie.sizeKind);  // not the dialog's to change
    EXPECT_EQ(applied.showStatistics, pie.showStatistics);

    // Out-of-range percentages of an older store are clamped to what the dialog accepts.
    pie.centreRatio = 0.05;
    EXPECT_EQ(Shown(options::MakeDispOptData(pie, true, false, false, ""), DispOptField::kCentre), 10);
    pie.centreRatio = 0.95;
    EXPECT_EQ(Shown(options::MakeDispOptData(pie, true, false, false, ""), DispOptField::kCentre), 90);
}

TEST(TransWash, HueRunsAcrossAndLightnessDownAndEmptyAreasAreHarmless) {
    EXPECT_EQ(options::WashColour(0, 0, 240, 240), fw::MakeColour(0, 0, 0));
    EXPECT_EQ(options::WashColour(0, 120, 240, 240), fw::MakeColour(255, 0, 0));
    EXPECT_EQ(options::WashColour(80, 120, 240, 240), fw::MakeColour(0, 255, 0));
    EXPECT_EQ(options::WashColour(160, 120, 240, 240), fw::MakeColour(0, 0, 255));
    EXPECT_EQ(options::WashColour(10, 5, 0, 0), 0u);

    options::FillWash(nullptr, 0, 0, 0);
    options::FillWash(nullptr, 10, 0, 32);
    std::uint8_t untouched[4] = {7, 7, 7, 7};
    options::FillWash(untouched, 0, 5, 0);
    EXPECT_EQ(untouched[0], 7);

    // Two rows of two pixels, rows 8 bytes apart: the second row is half way to white.
    std::vector<std::uint8_t> bits(16, 0xEE);
    options::FillWash(bits.data(), 2, 2, 8);
    const fw::Colour lower = options::WashColour(0, 1, 2, 2);
    EXPECT_EQ(bits[8], fw::BlueOf(lower));
    EXPECT_EQ(bits[10], fw::RedOf(lower));
    EXPECT_EQ(lower, fw::MakeColour(255, 0, 0));
    EXPECT_EQ(bits[6], 0xEE);  // padding stays
}

}  // namespace

namespace {

// Every method the store may hold survives an OK that touched no colour button, Growth included, which has
// no button; a ticked button gives its own method whatever the dialog opened with.
TEST(DispOptColourMethod, OkKeepsAMethodWithoutButtonAndTakesATickedOne) {
    constexpr const auto& row = config::SettingOf<&pie::PieViewSettings::colourMethod>(pie::kPieViewSettings);
    for (int m = row.range.low; m <= row.range.high; ++m) {
        const auto method = static_cast<pie::ColourMethod>(m);
        const auto button = options::ColourButtonOf(method);
        if (method == pie::kGrowth) {
            EXPECT_FALSE(button) << "Growth must tick no button";
        }
        if (button) {
            EXPECT_EQ(options::kOfferedColourMethods[*button], method);
        }
        EXPECT_EQ(options::ColourMethodOnOk(button, method), method) << "method " << m << " after an untouched OK";
        EXPECT_EQ(options::ColourMethodOnOk(3, method), pie::kNameEncoded);
        EXPECT_EQ(options::ColourMethodOnOk(0, method), pie::kFixedColour);
    }
    EXPECT_EQ(options::ColourMethodOnOk(std::size(options::kOfferedColourMethods), pie::kGrowth), pie::kGrowth)
        << "a button past the list is none";
}

}  // namespace
