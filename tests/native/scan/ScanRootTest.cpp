// The one scan entry: the file table where its reader can read it, else the walk from a clean slate; what
// reaches the output, the counters and the result in each case.
#include "FakeLister.h"

#include "scan/ScanRoot.h"
#include "scan/TreeOutput.h"

#include <gtest/gtest.h>

#include <optional>

using scantest::Dir;
using scantest::FakeLister;
using scantest::File;

namespace {

struct NoControl final : scan::WalkControl {
    bool StopRequested() const override { return false; }
    void PausePoint() override {}
};

}  // namespace

TEST(ScanRoot, TheFileTableWhenItCanBeReadElseTheWalkFromNothing) {
    struct Case {
        const char* what;
        std::optional<scan::ntfs::ReadResult> reader;  // none: no reader at all
        bool complete;
        bool walks;
    };
    const Case cases[] = {
        {"no reader", std::nullopt, true, true},
        {"the table is read", scan::ntfs::ReadResult::kComplete, true, false},
        {"the table reader is stopped", scan::ntfs::ReadResult::kStopped, false, false},
        {"the table cannot be read", scan::ntfs::ReadResult::kUnavailable, true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        FakeLister lister;
        lister.AddFolder("X:\\data", {File("walked", 3), Dir("sub")});
        lister.AddFolder("X:\\data\\sub", {File("deeper", 4)});
        std::string askedFor;
        scan::FileTableReader reader;
        if (c.reader) {
            reader = [&](const std::string& rootPath, model::DirInfo& root, scan::ScanCounters& counters,
                         scan::WalkControl&, std::uint32_t clusterSize) {
                askedFor = rootPath;
                EXPECT_EQ(root.name, "named X:");
                EXPECT_EQ(clusterSize, 4096u);
                // What a reader leaves behind when it gives up must not reach the output.
                root.files.emplace_back("from the table", 7);
                root.deepFiles = 1;
                counters.filesFound = 1000;
                return *c.reader;
            };
        }
        model::DirInfo tree("named X:");
        scan::TreeOutput output(tree);
        scan::ScanCounters counters;
        NoControl control;
        EXPECT_EQ(scan::ScanRoot({lister, "X:\\data", "named X:", 4096, 2, reader}, counters, control, output),
                  c.complete);
        EXPECT_EQ(askedFor, c.reader ? "X:\\data\\" : "");
        EXPECT_EQ(tree.name, "named X:");
        ASSERT_FALSE(tree.files.empty());
        if (c.walks) {
            EXPECT_EQ(tree.files[0].name, "walked");
            EXPECT_EQ(tree.deepFiles, 2u);
            EXPECT_EQ(counters.filesFound.load(), 2u);
            EXPECT_EQ(counters.foldersFound.load(), 1u);
            EXPECT_EQ(counters.bytesFound.load(), 2 * 4096u);
        } else {
            EXPECT_EQ(tree.files[0].name, "from the table");
            EXPECT_EQ(counters.filesFound.load(), 1000u);
            EXPECT_TRUE(lister.opened.empty());
        }
    }
}
