// LogDrives and the cluster-size detection against the real (Wine) system: C: and Z: exist and are fixed;
// the boot sector cannot be read there, so the detection must still give GetDiskFreeSpaceA's answer.
#include "scan/ClusterSize.h"
#include "scan/LogDrives.h"

#include <windows.h>

#include <gtest/gtest.h>

namespace {
std::uint32_t DiskFreeSpaceCluster(const char* root) {
    DWORD spc = 0, bps = 0, free = 0, total = 0;
    return GetDiskFreeSpaceA(root, &spc, &bps, &free, &total) ? spc * bps : 0;
}
}  // namespace

TEST(SystemDrives, ListsTheFixedDrivesOfThisSystem) {
    const scan::LogDrives drives;
    ASSERT_GT(drives.Count(), 0);
    EXPECT_TRUE(drives.Contains('C'));
    EXPECT_TRUE(drives.Contains('z'));
    const DWORD mask = GetLogicalDrives();
    for (int i = 0; i < drives.Count(); ++i) {
        const std::string letter = drives.LetterAt(i);
        ASSERT_EQ(letter.size(), 1u);
        EXPECT_TRUE(mask & (1u << (letter[0] - 'A'))) << letter;
        if (i > 0) {
            EXPECT_LT(drives.LetterAt(i - 1), letter);
        }
        const std::string root = letter + ":\\";
        EXPECT_EQ(drives.TypeAt(i), static_cast<int>(GetDriveTypeA(root.c_str()))) << letter;
        if (letter == "C") {
            EXPECT_EQ(drives.TypeAt(i), DRIVE_FIXED);
            EXPECT_EQ(drives.DisplayTextAt(i).rfind("C: [Fixed]", 0), 0u) << drives.DisplayTextAt(i);
        }
    }
    EXPECT_EQ(drives.DisplayTextAt(drives.Count()), "");
}

TEST(SystemDrives, ClusterSizeFallsBackToTheFreeSpaceCall) {
    for (const char* root : {"C:\\", "Z:\\"}) {
        const std::uint32_t expected = DiskFreeSpaceCluster(root);
        ASSERT_NE(expected, 0u) << root;
        EXPECT_EQ(scan::DetectClusterSize(root), expected) << root;
    }
    EXPECT_EQ(scan::DetectClusterSize("C:\\windows\\system32\\"), DiskFreeSpaceCluster("C:\\"));
    // A letter with no volume behind it.
    const DWORD mask = GetLogicalDrives();
    for (char letter = 'Y'; letter > 'D'; --letter) {
        if (mask & (1u << (letter - 'A'))) continue;
        EXPECT_EQ(scan::DetectClusterSize(std::string(1, letter) + ":\\"), 0u) << letter;
        break;
    }
}
