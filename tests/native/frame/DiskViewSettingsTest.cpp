// The main view's settings table: its rows alike, and the stored texts a user may have left.
#include "frame/DiskViewSettings.h"

#include "common/MapStore.h"
#include "common/SettingsTableChecks.h"

#include <gtest/gtest.h>

namespace {

using native_test::MapStore;

frame::DiskViewSettings Defaults(char firstFixed) {
    frame::DiskViewSettings s;
    s.autoscanFolder = std::string(1, firstFixed);
    return s;
}

TEST(DiskViewSettings, EveryRowRoundTrips) {
    native_test::CheckEveryRowRoundTrips(frame::kDiskViewSettings, Defaults('C'));
}

TEST(DiskViewSettings, StoredTextsReadAsTheStoreRulesSayAndGoBackInOrder) {
    MapStore store;
    frame::DiskViewSettings s = Defaults('D');
    config::ReadSettings(frame::kDiskViewSettings, store, s);
    EXPECT_TRUE(s.dialogLook);
    EXPECT_FALSE(s.autoscan);
    EXPECT_EQ(s.autoscanFolder, "D:\\") << "the first fixed drive, cleaned like a stored folder";

    store.values = {{"Autoscan", "yes"}, {"DialogLook", ""}, {"AutoscanDir", "  e "}};
    s = Defaults('D');
    config::ReadSettings(frame::kDiskViewSettings, store, s);
    EXPECT_FALSE(s.autoscan) << "no digits read 0";
    EXPECT_FALSE(s.dialogLook) << "the empty text is parsed, not the default";
    EXPECT_EQ(s.autoscanFolder, "e:\\");

    config::WriteSettings(frame::kDiskViewSettings, s, store);
    EXPECT_EQ(store.written, (std::vector<std::string>{"DialogLook", "Autoscan", "AutoscanDir"}));
    EXPECT_EQ(store.values["DialogLook"], "0");
    EXPECT_EQ(store.values["AutoscanDir"], "e:\\");
}

}  // namespace
