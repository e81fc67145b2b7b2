// The cluster table: totals per cluster size in one pass, and the row texts in each unit.
#include "info/ClusterTable.h"
#include "model/TreeBuilders.h"

#include <gtest/gtest.h>

namespace {

using model::DirInfo;
using model::FileInfo;

DirInfo OneFile(std::uint64_t size) {
    DirInfo root("C:");
    root.subdirs.emplace_back("a").files.emplace_back("f", size);
    return root;
}

TEST(ClusterTable, OneByteFileAgainstAFourKilobyteCurrentSize) {
    const info::ClusterTable table = info::ComputeClusterTable(OneFile(1), 4096);
    EXPECT_EQ(table.currentRow, 3);
    struct Row {
        int row;
        info::ClusterRowText text;
    } const rows[] = {
        {0, {"", "512", "512", "511", "-3,584"}},
        {3, {">>", "4K", "4,096", "4,095", "+0"}},
        {7, {"", "64K", "65,536", "65,535", "+61,440"}},
    };
    for (const Row& r : rows) EXPECT_EQ(info::FormatClusterRow(table, r.row, 0), r.text) << r.row;
}

TEST(ClusterTable, UnitsTruncateAndAnUnknownSizeHasNoMarkerAndNoDifference) {
    DirInfo root = OneFile(1536);
    root.files.emplace_back("empty", 0);
    const info::ClusterTable table = info::ComputeClusterTable(root, 131072);
    EXPECT_EQ(table.currentRow, -1);
    for (int row = 0; row < info::kClusterRows; ++row) {
        const info::ClusterRowText text = info::FormatClusterRow(table, row, 0);
        EXPECT_EQ(text.current, "");
        EXPECT_EQ(text.difference, "");
        EXPECT_FALSE(text.used.empty());
    }
    EXPECT_EQ(info::FormatClusterRow(table, 0, 1).used, "1") << "1,536 bytes in KB";
    EXPECT_EQ(info::FormatClusterRow(table, 0, 0).wasted, "0") << "the empty file adds nothing";
    EXPECT_EQ(info::FormatClusterRow(table, 7, 1).used, "64");
    EXPECT_EQ(info::FormatClusterRow(table, 7, 6).used, "0");
    EXPECT_EQ(info::ClusterRowOf(0), -1);
    EXPECT_EQ(info::ClusterRowOf(65536), 7);
}

TEST(ClusterTable, OnePassMatchesTheAllocationRuleOnEveryRow) {
    DirInfo root = model_test::RandomTree(11, 400, 6);
    root.files.emplace_back("huge", ~std::uint64_t{0});
    const info::ClusterTable table = info::ComputeClusterTable(root, 512);
    for (int row = 0; row < info::kClusterRows; ++row) {
        const std::uint32_t cluster = info::ClusterOfRow(row);
        std::uint64_t used = 0, wasted = 0;
        std::vector<const DirInfo*> pending{&root};
        while (!pending.empty()) {
            const DirInfo* dir = pending.back();
            pending.pop_back();
            for (const FileInfo& f : dir->files) {
                used += model::AllocatedSize(f.size, cluster);
                wasted += model::WastedSize(f.size, cluster);
            }
            for (const DirInfo& sub : dir->subdirs) pending.push_back(&sub);
        }
        EXPECT_EQ(table.used[row], used) << cluster;
        EXPECT_EQ(table.wasted[row], wasted) << cluster;
    }
}

TEST(ClusterTable, AFileWithinOneClusterOfTwoToThe64WastesTheRestNotEverything) {
    const info::ClusterTable table = info::ComputeClusterTable(OneFile(~std::uint64_t{0}), 512);
    EXPECT_EQ(table.wasted[0], 1u);
    EXPECT_EQ(table.wasted[7], 1u);
    EXPECT_EQ(info::FormatClusterRow(table, 7, 0).difference, "+0");
}

TEST(ClusterTable, ATreeSixteenThousandLevelsDeepIsWalkedWhole) {
    const DirInfo root = model_test::Chain(16384);
    const info::ClusterTable table = info::ComputeClusterTable(root, 0);
    // File k holds k bytes: the sum of 1..16384 logical, each rounded up to 512.
    std::uint64_t used = 0;
    for (std::uint64_t k = 1; k <= 16384; ++k) used += (k + 511) / 512 * 512;
    EXPECT_EQ(table.used[0], used);
}

}  // namespace
