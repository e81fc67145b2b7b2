// The registry store under Wine. HKEY_CURRENT_USER is redirected to a scratch key for each test, so the
// program's real key (and other tests that use it) are never touched.
#include "config/Config.h"
#include "config/SettingsText.h"
#include "frame/MRUPathsMenu.h"

#include <gtest/gtest.h>

#include <string>

namespace {

class UserHive : public ::testing::Test {
protected:
    void SetUp() override {
        scratchPath_ = "Software\\KelvaranTests\\config-" + std::to_string(GetCurrentProcessId());
        RegDeleteTreeA(HKEY_CURRENT_USER, scratchPath_.c_str());
        HKEY scratch = nullptr;
        ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, scratchPath_.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                                  &scratch, nullptr),
                  ERROR_SUCCESS);
        scratch_.Reset(scratch);
        ASSERT_EQ(RegOverridePredefKey(HKEY_CURRENT_USER, scratch), ERROR_SUCCESS);
    }
    void TearDown() override {
        RegOverridePredefKey(HKEY_CURRENT_USER, nullptr);
        scratch_.Reset();
        RegDeleteTreeA(HKEY_CURRENT_USER, scratchPath_.c_str());
        RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\KelvaranTests");  // only when no other run uses it
    }

    // Writes a raw value into the program's key under the redirected hive.
    void SetRaw(const char* name, DWORD type, const void* data, DWORD size) {
        HKEY key = nullptr;
        ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, config::kKeyPath, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                                  nullptr),
                  ERROR_SUCCESS);
        fw::RegKey owner(key);
        ASSERT_EQ(RegSetValueExA(key, name, 0, type, static_cast<const BYTE*>(data), size), ERROR_SUCCESS);
    }
    void SetText(const char* name, const std::string& text) {
        SetRaw(name, REG_SZ, text.c_str(), static_cast<DWORD>(text.size() + 1));
    }
    // Type and bytes of a value as stored; type 0 when it is missing.
    std::pair<DWORD, std::string> GetRaw(const char* name) {
        char data[256] = {};
        DWORD type = 0, size = sizeof data;
        if (RegGetValueA(HKEY_CURRENT_USER, config::kKeyPath, name, RRF_RT_ANY | RRF_NOEXPAND, &type, data, &size) !=
            ERROR_SUCCESS)
            return {0, {}};
        return {type, std::string(data, size)};
    }

    std::string scratchPath_;
    fw::RegKey scratch_;
};

}  // namespace

TEST_F(UserHive, MissingKeyIsCreatedAtFirstAccess) {
    HKEY probe = nullptr;
    ASSERT_NE(RegOpenKeyExA(HKEY_CURRENT_USER, config::kKeyPath, 0, KEY_READ, &probe), ERROR_SUCCESS);
    config::UserConfig cfg;
    EXPECT_TRUE(cfg.IsOpen());
    EXPECT_EQ(cfg.KeyPath(), "SOFTWARE\\Tervanic\\Kelvaran");
    ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Tervanic\\Kelvaran", 0, KEY_READ, &probe), ERROR_SUCCESS);
    RegCloseKey(probe);
    EXPECT_EQ(cfg.ReadString("Anything", "fallback"), "fallback");
}

TEST_F(UserHive, WritesAreStringValuesWithTheirTerminatingZero) {
    {
        config::UserConfig cfg;
        cfg.WriteString("AutoscanDir", "D:\\Data");
        cfg.WriteInt("MruPathCount", -3);
        cfg.WriteFlag("Autoscan", true);
        cfg.WriteColour("FixedClr", config::Rgb(0, 128, 255));
        cfg.WriteString("Empty", "");
    }
    EXPECT_EQ(GetRaw("AutoscanDir"), std::make_pair(DWORD{REG_SZ}, std::string("D:\\Data", 8)));
    EXPECT_EQ(GetRaw("MruPathCount"), std::make_pair(DWORD{REG_SZ}, std::string("-3", 3)));
    EXPECT_EQ(GetRaw("Autoscan"), std::make_pair(DWORD{REG_SZ}, std::string("1", 2)));
    EXPECT_EQ(GetRaw("FixedClr"), std::make_pair(DWORD{REG_SZ}, std::string("0 128 255", 10)));
    EXPECT_EQ(GetRaw("Empty"), std::make_pair(DWORD{REG_SZ}, std::string("", 1)));

    config::UserConfig again;  // nothing is cached: a new object reads what the first one wrote
    EXPECT_EQ(again.ReadString("AutoscanDir", ""), "D:\\Data");
    EXPECT_EQ(again.ReadInt("MruPathCount", 0), -3);
    EXPECT_TRUE(again.ReadFlag("Autoscan", false));
    EXPECT_EQ(again.ReadColour("FixedClr", 0), config::Rgb(0, 128, 255));
    EXPECT_EQ(again.ReadString("Empty", "fallback"), "") << "a stored empty text is not the default";
}

TEST_F(UserHive, ValuesOfAnotherTypeReadAsMissing) {
    const DWORD number = 7;
    SetRaw("PieMode", REG_DWORD, &number, sizeof number);
    SetRaw("Blob", REG_BINARY, "12", 2);
    SetRaw("Expand", REG_EXPAND_SZ, "5", 2);
    config::UserConfig cfg;
    EXPECT_EQ(cfg.ReadInt("PieMode", 2), 2);
    EXPECT_EQ(cfg.ReadString("Blob", "def"), "def");
    EXPECT_EQ(cfg.ReadInt("Expand", 9), 9);
}

TEST_F(UserHive, FlagsAndIntegersFollowTheAtoiRule) {
    SetText("Autoscan", "yes");
    SetText("DialogLook", "");
    SetText("ResizeDelay", " 250ms");
    SetText("Huge", "123456789012345678901");
    config::UserConfig cfg;
    EXPECT_EQ(cfg.ReadInt("Autoscan", 1), 0);
    EXPECT_FALSE(cfg.ReadFlag("DialogLook", true));
    EXPECT_EQ(cfg.ReadInt("ResizeDelay", 100), 250);
    EXPECT_EQ(cfg.ReadInt("Huge", 0), INT_MAX) << "20 digits saturate";
    EXPECT_TRUE(cfg.ReadFlag("NotThere", true));
}

TEST_F(UserHive, ColoursReadAsPureBlueOrTheDefault) {
    SetText("Blue", "0 0 255");
    SetText("TooBig", "1 2 300");
    SetText("Short", "1 2");
    config::UserConfig cfg;
    EXPECT_EQ(cfg.ReadColour("Blue", RGB(9, 9, 9)), RGB(0, 0, 255));
    EXPECT_EQ(cfg.ReadColour("TooBig", RGB(9, 9, 9)), RGB(9, 9, 9));
    EXPECT_EQ(cfg.ReadColour("Short", RGB(9, 9, 9)), RGB(9, 9, 9));
    EXPECT_EQ(cfg.ReadColour("Missing", RGB(1, 2, 3)), RGB(1, 2, 3));
}

TEST_F(UserHive, SystemColoursAreWrittenAsTheirCurrentComponents) {
    config::UserConfig cfg;
    cfg.WriteColour("Window", config::kSystemColourFlag | COLOR_WINDOW);
    EXPECT_EQ(cfg.ReadString("Window", ""), config::ColourText(GetSysColor(COLOR_WINDOW)));
}

TEST_F(UserHive, TextWithoutTerminatingZeroReadsWhole) {
    SetRaw("AutoscanDir", REG_SZ, "E:\\", 3);
    config::UserConfig cfg;
    EXPECT_EQ(cfg.ReadString("AutoscanDir", ""), "E:\\");
}

TEST_F(UserHive, KeyThatCannotBeOpenedGivesDefaultsAndIgnoresWrites) {
    config::Config cfg(reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(0x1234)), "Nowhere");
    EXPECT_FALSE(cfg.IsOpen());
    cfg.WriteString("X", "1");
    EXPECT_EQ(cfg.ReadString("X", "d"), "d");
    EXPECT_EQ(cfg.ReadInt("X", 5), 5);
    EXPECT_EQ(cfg.ReadColour("X", RGB(4, 5, 6)), RGB(4, 5, 6));
}

TEST_F(UserHive, RecentRootsReadAndWrittenThroughTheProgramKey) {
    SetText("MruPathCount", "9");
    SetText("MruPath0", "C:\\");
    SetText("MruPath1", "");
    SetText("MruPath2", "D:\\Data\\");
    SetText("MruPath3", "E:\\");
    SetText("MruPath4", "F:\\");
    {
        frame::MRUPaths paths(29100, frame::OpenUserSettings);
        EXPECT_EQ(paths.Entries(), (std::vector<std::string>{"C:\\", "D:\\Data\\", "E:\\"}))
            << "count clamped to four, empty value skipped";
        paths.Add("G:\\");
    }
    config::UserConfig cfg;
    EXPECT_EQ(cfg.ReadString("MruPathCount", ""), "4");
    EXPECT_EQ(cfg.ReadString("MruPath0", ""), "G:\\");
    EXPECT_EQ(cfg.ReadString("MruPath1", ""), "C:\\");
    EXPECT_EQ(cfg.ReadString("MruPath3", ""), "E:\\");
    EXPECT_EQ(cfg.ReadString("MruPath4", ""), "F:\\") << "values beyond the count stay";

    SetText("MruPathCount", "-3");
    frame::MRUPaths none(29100, frame::OpenUserSettings);
    EXPECT_EQ(none.Count(), 0);
}
