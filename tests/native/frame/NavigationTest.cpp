#include "frame/Navigation.h"

#include "model/TreeBuilders.h"

#include <gtest/gtest.h>

TEST(Navigation, ParentFolderStopsAtTheRoot) {
    EXPECT_EQ(frame::ParentFolder("C:", "C:\\"), std::nullopt);
    EXPECT_EQ(frame::ParentFolder("C:", "C:\\A\\"), "C:\\");
    EXPECT_EQ(frame::ParentFolder("C:", "C:\\A\\B\\"), "C:\\A\\");
    EXPECT_EQ(frame::ParentFolder("C:\\Data", "C:\\Data\\"), std::nullopt) << "a folder root";
    EXPECT_EQ(frame::ParentFolder("C:\\Data", "C:\\Data\\x\\"), "C:\\Data\\");
}

TEST(Navigation, TreeNamesBecomeAFolderPath) {
    EXPECT_EQ(frame::PathFromNames({"C:\\Data", "a", "b"}), "C:\\Data\\a\\b\\");
    EXPECT_EQ(frame::PathFromNames({"C:"}), "C:\\");
}

TEST(Navigation, AllocatedModesNeedAClusterSize) {
    EXPECT_TRUE(frame::ModeAvailable(0, 0));
    EXPECT_FALSE(frame::ModeAvailable(1, 0));
    EXPECT_FALSE(frame::ModeAvailable(2, 0));
    EXPECT_TRUE(frame::ModeAvailable(2, 4096));
    EXPECT_FALSE(frame::ModeAvailable(3, 4096));

    EXPECT_EQ(frame::ChooseModeEntry(1, 4096).mode, 1);
    EXPECT_EQ(frame::ChooseModeEntry(1, 4096).boxEntry, 1);
    for (int entry : {1, 2}) {
        const frame::ModeChoice fallBack = frame::ChooseModeEntry(entry, 0);
        EXPECT_EQ(fallBack.mode, std::nullopt) << entry;
        EXPECT_EQ(fallBack.boxEntry, 0) << entry;
    }
    EXPECT_EQ(frame::ChooseModeEntry(0, 0).mode, 0);
    EXPECT_EQ(frame::ChooseModeEntry(-1, 4096).mode, std::nullopt);
}

TEST(Navigation, TheSystemFileViewGetsTheFolderQuotedWithoutItsBackslash) {
    using frame::ExplorerKind;
    EXPECT_EQ(frame::MakeExplorerCommand("C:\\Windows\\", "C:\\Data\\", ExplorerKind::kOpen).program,
              "C:\\Windows\\Explorer.exe");
    const struct {
        const char* folder;
        ExplorerKind kind;
        const char* commandLine;
    } cases[] = {
        {"C:\\Data\\", ExplorerKind::kOpen, " \"C:\\Data\""},
        {"C:\\Data\\", ExplorerKind::kExplore, " /e,\"C:\\Data\""},
        {"D:\\日本\\", ExplorerKind::kRooted, " /e,/root,\"D:\\日本\""},
        // A comma or a blank in a name is part of the path, not the end of it.
        {"C:\\a,b\\", ExplorerKind::kOpen, " \"C:\\a,b\""},
        {"C:\\Reports, 2024\\q1\\", ExplorerKind::kExplore, " /e,\"C:\\Reports, 2024\\q1\""},
        {"E:\\", ExplorerKind::kOpen, " \"E:\""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(frame::MakeExplorerCommand("C:\\Windows", c.folder, c.kind).commandLine, c.commandLine) << c.folder;
}

TEST(Navigation, AScannedTreeReplacesTheOldOneWithFreshTotals) {
    model::DirInfo root("C:");
    root.subdirs.emplace_back("old");
    model::DirInfo scanned("D:");
    scanned.subdirs.emplace_back("a").files.emplace_back("f", 5000);
    frame::AdoptScannedTree(root, std::move(scanned), 4096);
    EXPECT_EQ(root.name, "D:");
    ASSERT_EQ(root.subdirs.size(), 1u);
    EXPECT_EQ(root.deepSize, 5000u);
    EXPECT_EQ(root.deepAlloc, 8192u);
}

TEST(Navigation, ARescannedFolderKeepsItsNameAndPlace) {
    model::DirInfo root = model_test::RandomTree(7, 40, 3);
    root.subdirs.emplace_back("Target").sortKey = 42;
    model::RecomputeTotals(root, 512);
    const model::DirInfo untouched = root.subdirs.front();
    const std::uint32_t filesBefore = root.deepFiles, dirsBefore = root.deepDirs;
    model::DirInfo scanned("target");  // the scan names its root from the path as typed
    scanned.files.emplace_back("new", 100);
    scanned.subdirs.emplace_back("inner").files.emplace_back("g", 1);

    ASSERT_TRUE(frame::ReplaceFolderContents(root, "TARGET\\", std::move(scanned), 512));
    const model::DirInfo& folder = root.subdirs.back();
    EXPECT_EQ(folder.name, "Target");
    EXPECT_EQ(folder.sortKey, 42);
    ASSERT_EQ(folder.files.size(), 1u);
    EXPECT_EQ(folder.deepFiles, 2u);
    EXPECT_EQ(folder.deepAlloc, 1024u);
    EXPECT_EQ(root.subdirs.front(), untouched);
    EXPECT_EQ(root.deepFiles, filesBefore + 2) << "the totals above the folder are recomputed";
    EXPECT_EQ(root.deepDirs, dirsBefore + 1);

    model::DirInfo again("x");
    again.files.emplace_back("h", 7);
    ASSERT_TRUE(frame::ReplaceFolderContents(root, "", std::move(again), 512)) << "rescan of the root";
    EXPECT_EQ(root.name, "C:");
    EXPECT_EQ(root.deepSize, 7u);
}

TEST(Navigation, ARescanOfAFolderThatIsGoneChangesNothing) {
    model::DirInfo root = model_test::RandomTree(3, 20, 2);
    const model::DirInfo before = root;
    model::DirInfo scanned("x");
    scanned.files.emplace_back("f", 1);
    EXPECT_FALSE(frame::ReplaceFolderContents(root, "no such folder\\", std::move(scanned), 512));
    EXPECT_EQ(root, before);
}

TEST(Navigation, OnlyAFolderOfThisComputerIsRescanned) {
    using frame::PathKind;
    struct Case {
        const char* folder;
        PathKind kind;
        std::optional<std::string> expected;
    };
    const Case cases[] = {
        {"C:\\Data\\", PathKind::kFolder, std::nullopt},
        {"D:\\", PathKind::kFolder, std::nullopt},
        {"srv01:\\srv\\data\\", PathKind::kMissing, "The folder srv01:\\srv\\data does not exist on this computer."},
        {"srv01:\\srv\\data\\www\\", PathKind::kMissing,
         "The folder srv01:\\srv\\data\\www does not exist on this computer."},
        {"srv01:\\", PathKind::kMissing, "The folder srv01:\\ does not exist on this computer."},
        {"Q:\\", PathKind::kMissing, "The folder Q:\\ does not exist on this computer."},
        {"C:\\Data\\report\\", PathKind::kFile, "The folder C:\\Data\\report does not exist on this computer."},
    };
    for (const Case& c : cases) EXPECT_EQ(frame::MissingFolderMessage(c.folder, c.kind), c.expected) << c.folder;
}
