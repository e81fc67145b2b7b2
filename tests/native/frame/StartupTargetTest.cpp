#include "frame/CommandLine.h"

#include "config/SettingsText.h"

#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <string>

namespace {
using Action = frame::StartupTarget::Action;
using frame::PathKind;

// A file system with two folders and one data file; everything else is missing.
PathKind KindOf(const std::string& path) {
    static const std::map<std::string, PathKind> known{{"C:\\Data", PathKind::kFolder},
                                                       {"D:\\scan.klv", PathKind::kFile},
                                                       {"Photos", PathKind::kFolder}};
    const auto found = known.find(path);
    return found == known.end() ? PathKind::kMissing : found->second;
}

frame::StartupTarget Decide(std::string_view argument, bool autoscan = false, std::string_view folder = "C:\\") {
    return frame::DecideStartupTarget(argument, autoscan, folder, "CDz", KindOf);
}
}  // namespace

TEST(StartupTarget, TheArgumentNamesWhatToDo) {
    struct Case {
        const char* argument;
        Action action;
        const char* path;
    } const cases[] = {
        {"C:", Action::kScan, "C:\\"},
        {"c:\\", Action::kScan, "c:\\"},  // a quoted drive root arrives repaired with its backslash
        {"Z:", Action::kScan, "Z:\\"},    // drive letters match in either case
        {"C:\\Data", Action::kScan, "C:\\Data\\"},
        {"C:\\Data\\", Action::kScan, "C:\\Data\\"},
        {"Photos", Action::kScan, "Photos\\"},
        {"D:\\scan.klv", Action::kImport, "D:\\scan.klv"},
        {"D:\\scan.klv\\", Action::kNothing, ""},  // a file named as a folder
    };
    for (const Case& c : cases) {
        const frame::StartupTarget target = Decide(c.argument);
        EXPECT_EQ(target.action, c.action) << c.argument;
        EXPECT_EQ(target.path, c.path) << c.argument;
        EXPECT_EQ(target.message, "") << c.argument;
    }
}

TEST(StartupTarget, AnUnknownDriveOrPathIsExplainedAndNothingIsScanned) {
    const frame::StartupTarget drive = Decide("Q:\\");
    EXPECT_EQ(drive.action, Action::kInvalidDrive);
    EXPECT_EQ(drive.message, "The specified drive is not valid:\r\n\r\nQ:");
    EXPECT_EQ(drive.path, "");

    const frame::StartupTarget missing = Decide("C:\\Gone\\");
    EXPECT_EQ(missing.action, Action::kNotFound);
    EXPECT_EQ(missing.message, "The specified name is not a file or a directory:\r\n\r\nC:\\Gone");
}

TEST(StartupTarget, WithoutAnArgumentOnlyAnAutoscanFolderIsScanned) {
    EXPECT_EQ(Decide("").action, Action::kNothing);
    const frame::StartupTarget autoscan = Decide("", true, config::CleanFolder(" \td \t"));
    EXPECT_EQ(autoscan.action, Action::kScan);
    EXPECT_EQ(autoscan.path, "d:\\");
    EXPECT_EQ(Decide("", true, config::CleanFolder("  ")).action, Action::kNothing);
    EXPECT_EQ(Decide("C:\\Data", true, "D:\\").path, "C:\\Data\\") << "the argument wins over autoscan";
}

// What is read ahead, before the drives and settings are known, is what the start-up then imports.
TEST(StartupTarget, TheFileReadAheadIsTheOneImportedWhateverTheDrivesAndSettings) {
    for (const char* argument : {"", "C:", "Q:", "D:\\scan.klv", "D:\\scan.klv\\", "C:\\Data", "Photos", "C:\\Gone"}) {
        const std::optional<std::string> ahead = frame::DataFileToImport(argument, KindOf);
        for (const bool autoscan : {false, true}) {
            const frame::StartupTarget target = Decide(argument, autoscan, "D:\\scan.klv");
            EXPECT_EQ(ahead, target.action == Action::kImport ? std::optional(target.path) : std::nullopt)
                << argument << (autoscan ? " with autoscan" : "");
        }
    }
    EXPECT_EQ(frame::DataFileToImport("D:\\scan.klv", KindOf), "D:\\scan.klv");
}

TEST(StartupTarget, AutoscanFoldersAreTrimmedAndEndInABackslash) {
    const std::pair<const char*, const char*> cases[] = {
        {"C", "C:\\"}, {" e ", "e:\\"}, {"C:", "C:\\"}, {"\tC:\\Data", "C:\\Data\\"}, {"C:\\Data\\ ", "C:\\Data\\"},
        {"", ""},      {" \t ", ""},
    };
    for (const auto& [stored, cleaned] : cases) EXPECT_EQ(config::CleanFolder(stored), cleaned) << stored;
}
