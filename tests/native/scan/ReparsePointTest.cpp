// The walk's decision on reparse points, over the tags the system documents.
#include "scan/ReparsePoint.h"

#include <gtest/gtest.h>

TEST(ReparsePoint, OnlyNameSurrogatesAndUntaggedPointsAreLinks) {
    constexpr std::uint32_t kFolder = 0x10;
    constexpr std::uint32_t kReparseFolder = kFolder | scan::kAttributeReparsePoint;
    struct Case {
        const char* what;
        std::uint32_t attributes;
        std::uint32_t tag;
        bool link;
    };
    for (const Case& c : {
             Case{"junction or mount point", kReparseFolder, 0xA0000003, true},
             Case{"symbolic link", kReparseFolder, 0xA000000C, true},
             Case{"subsystem symbolic link", kReparseFolder, 0xA000001D, true},
             Case{"container link", kReparseFolder, 0xA0000027, true},
             Case{"untagged (Wine's host links)", kReparseFolder, 0, true},
             Case{"cloud placeholder", kReparseFolder, 0x9000001A, false},
             Case{"cloud placeholder, sub-tag", kReparseFolder, 0x9000301A, false},
             Case{"deduplicated", kReparseFolder, 0x80000013, false},
             Case{"compressed overlay", kReparseFolder, 0x80000017, false},
             Case{"projected file system", kReparseFolder, 0x9000001C, false},
             Case{"hierarchical storage", kReparseFolder, 0xC0000004, false},
             Case{"container isolation", kReparseFolder, 0x80000018, false},
             Case{"plain folder with a stale tag field", kFolder, 0xA000000C, false},
             Case{"plain folder", kFolder, 0, false},
             Case{"attributes beside the reparse bit", 0x2417, 0xA000000C, true},
         }) {
        EXPECT_EQ(scan::IsLinkReparsePoint(c.attributes, c.tag), c.link) << c.what;
    }
    EXPECT_TRUE(scan::IsNameSurrogateTag(0x20000000));
    EXPECT_FALSE(scan::IsNameSurrogateTag(0xDFFFFFFF));
}
