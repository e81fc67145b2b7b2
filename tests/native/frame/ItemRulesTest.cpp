#include "frame/ItemRules.h"

#include <gtest/gtest.h>

namespace {

using frame::AfterDelete;
using frame::ItemAction;
using frame::ItemFacts;
using frame::ItemVerdict;
using frame::PathKind;

// An item of the scanned tree "C:\Data" that is on the disk as the tree shows it.
ItemFacts Facts(std::string path, PathKind onDisk) {
    ItemFacts facts;
    facts.path = std::move(path);
    facts.rootName = "C:\\Data";
    facts.itemOnDisk = onDisk;
    return facts;
}

TEST(ItemRules, RefusalsComeInTheirOrderWithTheirTexts) {
    struct Case {
        const char* what;
        ItemAction action;
        ItemFacts facts;
        ItemVerdict verdict;
        std::string message;
        const char* rescan;  // the folder offered for a rescan, or null
    };
    auto with = [](ItemFacts facts, auto change) {
        change(facts);
        return facts;
    };
    const ItemFacts folder = Facts("C:\\Data\\Videos\\2019\\", PathKind::kFolder);
    const ItemFacts file = Facts("C:\\Data\\a.iso", PathKind::kFile);
    const Case cases[] = {
        {"a folder as the tree shows it", ItemAction::kDelete, folder, ItemVerdict::kAllowed, "", nullptr},
        {"a file as the tree shows it", ItemAction::kDelete, file, ItemVerdict::kAllowed, "", nullptr},
        {"while a scan runs", ItemAction::kDelete, with(folder, [](ItemFacts& f) { f.scanRunning = true; }),
         ItemVerdict::kScanRunning, "Nothing can be deleted while a scan runs.", nullptr},
        {"a scan does not stop an open", ItemAction::kOpen, with(file, [](ItemFacts& f) { f.scanRunning = true; }),
         ItemVerdict::kAllowed, "", nullptr},
        {"the scan's root", ItemAction::kDelete, Facts("C:\\Data\\", PathKind::kFolder), ItemVerdict::kScanRoot,
         "'C:\\Data\\' is the root of the scanned tree: Kelvaran does not delete it.", nullptr},
        {"the root in other letters", ItemAction::kDelete, Facts("c:\\DATA\\", PathKind::kFolder),
         ItemVerdict::kScanRoot, "'c:\\DATA\\' is the root of the scanned tree: Kelvaran does not delete it.", nullptr},
        {"the root's properties", ItemAction::kProperties, Facts("C:\\Data\\", PathKind::kFolder),
         ItemVerdict::kAllowed, "", nullptr},
        {"a drive that is the root", ItemAction::kDelete,
         with(Facts("D:\\", PathKind::kFolder), [](ItemFacts& f) { f.rootName = "D:"; }), ItemVerdict::kDriveRoot,
         "'D:\\' is the root of a drive: Kelvaran does not delete it.", nullptr},
        {"a share's root", ItemAction::kDelete,
         with(Facts("\\\\nas\\media\\", PathKind::kFolder), [](ItemFacts& f) { f.rootName = "\\\\nas\\media"; }),
         ItemVerdict::kDriveRoot, "'\\\\nas\\media\\' is the root of a drive: Kelvaran does not delete it.", nullptr},
        {"a volume mounted in a folder", ItemAction::kDelete, with(folder, [](ItemFacts& f) { f.volumeRoot = true; }),
         ItemVerdict::kDriveRoot, "'C:\\Data\\Videos\\2019\\' is the root of a drive: Kelvaran does not delete it.",
         nullptr},
        {"a foreign tree", ItemAction::kDelete,
         with(folder, [](ItemFacts& f) { f.fromDataFile = true, f.rootOnDisk = PathKind::kMissing; }),
         ItemVerdict::kForeignTree,
         "'C:\\Data\\Videos\\2019\\' belongs to a tree read from a data file, and its root 'C:\\Data\\' is not on this "
         "computer.",
         nullptr},
        {"a foreign tree is not opened either", ItemAction::kOpen,
         with(file, [](ItemFacts& f) { f.fromDataFile = true, f.rootOnDisk = PathKind::kFile; }),
         ItemVerdict::kForeignTree,
         "'C:\\Data\\a.iso' belongs to a tree read from a data file, and its root 'C:\\Data\\' is not on this "
         "computer.",
         nullptr},
        {"a data file's tree whose root is here", ItemAction::kDelete,
         with(folder, [](ItemFacts& f) { f.fromDataFile = true; }), ItemVerdict::kAllowed, "", nullptr},
        {"a data file's item that is not here", ItemAction::kDelete,
         with(folder, [](ItemFacts& f) { f.fromDataFile = true, f.itemOnDisk = PathKind::kMissing; }),
         ItemVerdict::kMissing, "'C:\\Data\\Videos\\2019\\' is not on this computer. Rescan 'C:\\Data\\Videos\\'?",
         "C:\\Data\\Videos\\"},
        {"a file that went", ItemAction::kDelete, with(file, [](ItemFacts& f) { f.itemOnDisk = PathKind::kMissing; }),
         ItemVerdict::kMissing, "'C:\\Data\\a.iso' is no longer there. Rescan 'C:\\Data\\'?", "C:\\Data\\"},
        {"a file that went, its folder too", ItemAction::kOpen,
         with(file, [](ItemFacts& f) { f.itemOnDisk = f.folderOnDisk = PathKind::kMissing; }), ItemVerdict::kMissing,
         "'C:\\Data\\a.iso' is no longer there.", nullptr},
        {"a folder that is a file now", ItemAction::kProperties,
         with(folder, [](ItemFacts& f) { f.itemOnDisk = PathKind::kFile; }), ItemVerdict::kChanged,
         "'C:\\Data\\Videos\\2019\\' is no longer a folder. Rescan 'C:\\Data\\Videos\\'?", "C:\\Data\\Videos\\"},
        {"a file that is a folder now", ItemAction::kDelete,
         with(file, [](ItemFacts& f) { f.itemOnDisk = PathKind::kFolder; }), ItemVerdict::kChanged,
         "'C:\\Data\\a.iso' is a folder now. Rescan 'C:\\Data\\'?", "C:\\Data\\"},
        {"a running scan comes before a missing root", ItemAction::kDelete,
         with(Facts("C:\\Data\\", PathKind::kMissing), [](ItemFacts& f) { f.scanRunning = true; }),
         ItemVerdict::kScanRunning, "Nothing can be deleted while a scan runs.", nullptr},
    };
    for (const Case& c : cases) {
        const frame::ItemCheck check = frame::CheckItem(c.action, c.facts);
        EXPECT_EQ(check.verdict, c.verdict) << c.what;
        EXPECT_EQ(check.message, c.message) << c.what;
        EXPECT_EQ(check.rescanFolder.value_or("<none>"), c.rescan ? c.rescan : "<none>") << c.what;
    }
}

TEST(ItemRules, DrivesAndTheTreesRootAreNeverOffered) {
    for (const char* root : {"C:\\", "z:\\", "\\\\nas\\media\\", "\\\\nas\\media share\\"})
        EXPECT_TRUE(frame::IsDriveRootPath(root)) << root;
    for (const char* other : {"C:", "C:\\x\\", "C:x\\", "1:\\", "\\\\nas\\", "\\\\nas\\media\\x\\", "\\\\\\media\\",
                              "\\\\nas\\media", "srv01:\\", ""})
        EXPECT_FALSE(frame::IsDriveRootPath(other)) << other;

    EXPECT_TRUE(frame::DeleteOffered("C:\\Data\\x\\", "C:\\Data", false));
    EXPECT_TRUE(frame::DeleteOffered("C:\\Data2\\", "C:\\Data", false)) << "a sibling that begins like the root";
    EXPECT_TRUE(frame::DeleteOffered("C:\\Data\\f", "C:\\Data", false));
    EXPECT_FALSE(frame::DeleteOffered("C:\\Data\\x\\", "C:\\Data", true));
    EXPECT_FALSE(frame::DeleteOffered("C:\\DATA\\", "C:\\Data", false));
    EXPECT_FALSE(frame::DeleteOffered("C:\\", "C:", false));
    EXPECT_FALSE(frame::DeleteOffered("", "C:", false));
}

TEST(ItemRules, TheSelectionLosesRepeatsAndWhatLiesInsideASelectedFolder) {
    EXPECT_EQ(frame::OutermostItems(
                  {"C:\\a\\b\\", "C:\\a\\", "C:\\a\\x.txt", "C:\\ab\\", "C:\\A\\", "C:\\f", "c:\\F", "", "C:\\a.txt"}),
              (std::vector<std::string>{"C:\\a\\", "C:\\ab\\", "C:\\f", "C:\\a.txt"}));
    // A file named like the beginning of a folder's path holds nothing.
    EXPECT_EQ(frame::OutermostItems({"C:\\a", "C:\\a\\"}), (std::vector<std::string>{"C:\\a", "C:\\a\\"}));
    EXPECT_EQ(frame::FolderOfPath("C:\\a\\b\\"), "C:\\a\\");
    EXPECT_EQ(frame::FolderOfPath("C:\\a\\x.txt"), "C:\\a\\");
    EXPECT_EQ(frame::FolderOfPath("C:\\"), "");
}

TEST(ItemRules, TheConfirmationNamesTheItemsWithTheirSizesAndCounts) {
    constexpr std::uint64_t kGb = 1ull << 30;
    const frame::DeleteTarget videos{"D:\\Videos\\2019\\", true, 41 * kGb + 3 * kGb / 10, 1204, 36};
    const frame::DeleteTarget one{"D:\\a\\", true, 999, 1, 1};
    const frame::DeleteTarget iso{"D:\\x.iso", false, 4 * kGb + kGb / 5, 1, 0};
    struct Case {
        std::vector<frame::DeleteTarget> targets;
        bool permanent;
        std::string text;
    };
    const Case cases[] = {
        {{videos}, false, "Move 'D:\\Videos\\2019\\' to the Recycle Bin? 41.3 GB in 1,204 files and 36 folders."},
        {{videos},
         true,
         "Delete 'D:\\Videos\\2019\\' permanently? 41.3 GB in 1,204 files and 36 folders. This cannot be undone."},
        {{iso}, false, "Move 'D:\\x.iso' to the Recycle Bin? 4.2 GB."},
        {{one}, false, "Move 'D:\\a\\' to the Recycle Bin? 999 bytes in 1 file and 1 folder."},
        // Several: the folders themselves count, and each item is listed.
        {{one, iso},
         true,
         "Delete these 2 items permanently? 4.2 GB in 2 files and 2 folders. This cannot be "
         "undone.\n\nD:\\a\\\nD:\\x.iso"},
    };
    for (const Case& c : cases) {
        const frame::Confirmation ask = frame::DeleteConfirmation(c.targets, c.permanent);
        EXPECT_EQ(ask.text, c.text);
        EXPECT_EQ(ask.caption, c.permanent ? "Delete Permanently" : "Delete");
        EXPECT_EQ(ask.defaultNo, c.permanent) << "No is the default of a permanent delete only";
    }
    std::vector<frame::DeleteTarget> many(12, iso);
    const std::string text = frame::DeleteConfirmation(many, false).text;
    EXPECT_EQ(text.substr(0, text.find('\n')),
              "Move these 12 items to the Recycle Bin? 50.4 GB in 12 files and 0 folders.");
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 12) << text;
    EXPECT_TRUE(text.ends_with("\nD:\\x.iso\nand 2 more")) << text;
}

TEST(ItemRules, TheDiskDecidesWhatTheTreeDoesAfterADelete) {
    struct Case {
        bool wasFolder;
        bool wasLink;
        PathKind now;
        AfterDelete after;
    };
    const Case cases[] = {
        {true, false, PathKind::kMissing, AfterDelete::kRemoveRecord},
        {false, false, PathKind::kMissing, AfterDelete::kRemoveRecord},
        {true, true, PathKind::kMissing, AfterDelete::kRemoveRecord},
        {true, false, PathKind::kFolder, AfterDelete::kRescanItem},
        {false, false, PathKind::kFile, AfterDelete::kKeepRecord},
        // A folder link that stayed is not rescanned: that would walk its target into the tree.
        {true, true, PathKind::kFolder, AfterDelete::kKeepRecord},
        {false, true, PathKind::kFile, AfterDelete::kKeepRecord},
        {true, false, PathKind::kFile, AfterDelete::kRescanFolder},
        {false, false, PathKind::kFolder, AfterDelete::kRescanFolder},
        {true, true, PathKind::kFile, AfterDelete::kRescanFolder},
    };
    for (const Case& c : cases)
        EXPECT_EQ(frame::DecideAfterDelete(c.wasFolder, c.wasLink, c.now), c.after)
            << c.wasFolder << c.wasLink << static_cast<int>(c.now);
}

TEST(ItemRules, TheReportListsWhatStayedAndCountsTheRest) {
    EXPECT_EQ(frame::FailureReport({{"C:\\x\\a.bin", "The file is in use."}, {"C:\\x\\b\\", "Access is denied."}}, 0),
              "These could not be removed:\n\nC:\\x\\a.bin: The file is in use.\nC:\\x\\b\\: Access is denied.");
    EXPECT_EQ(frame::FailureReport({{"C:\\x\\a.bin", "Denied."}}, 1234),
              "These could not be removed:\n\nC:\\x\\a.bin: Denied.\nand 1,234 more.");
}

}  // namespace
