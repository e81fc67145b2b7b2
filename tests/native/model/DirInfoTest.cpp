#include "model/DirInfo.h"

#include "TreeBuilders.h"

#include <gtest/gtest.h>

#include <limits>

using model::AllocatedSize;
using model::DirInfo;
using model::FileInfo;

namespace {

constexpr std::uint64_t kGiB4 = std::uint64_t{1} << 32;

TEST(AllocatedSize, RoundsUpToWholeClusters) {
    for (std::uint32_t c : {512u, 4096u, 65536u, 1u << 31}) {
        EXPECT_EQ(AllocatedSize(0, c), 0u) << c;
        EXPECT_EQ(AllocatedSize(1, c), c) << c;
        EXPECT_EQ(AllocatedSize(c, c), c) << c;
        EXPECT_EQ(AllocatedSize(std::uint64_t{c} + 1, c), 2ull * c) << c;
        EXPECT_EQ(AllocatedSize(3ull * c, c), 3ull * c) << c;
    }
    EXPECT_EQ(AllocatedSize(8192, 4096), 8192u);
    EXPECT_EQ(AllocatedSize(kGiB4 + 1, 4096), kGiB4 + 4096);
    EXPECT_EQ(AllocatedSize(5 * kGiB4 - 1, 4096), 5 * kGiB4);
    EXPECT_EQ(AllocatedSize(kGiB4 + 1, 1u << 31), kGiB4 + (1u << 31));
}

TEST(AllocatedSize, UnknownClusterSizeAllocatesNothing) {
    for (std::uint64_t s : {std::uint64_t{0}, std::uint64_t{1}, std::uint64_t{4096}, kGiB4 + 1,
                            std::numeric_limits<std::uint64_t>::max()})
        EXPECT_EQ(AllocatedSize(s, 0), 0u) << s;
}

DirInfo SampleTree() {
    DirInfo root("C:");
    root.files = {{"a", 1}, {"b", 4096}, {"big", kGiB4 + 1}};
    DirInfo& data = root.subdirs.emplace_back("Data");
    data.files = {{"x", 5000}, {"empty", 0}};
    DirInfo& photos = data.subdirs.emplace_back("Photos");
    photos.files = {{"p", 100}};
    data.subdirs.emplace_back("Nothing");
    DirInfo& hollow = root.subdirs.emplace_back("Hollow");
    hollow.subdirs.emplace_back("e1").subdirs.emplace_back("e2");
    hollow.subdirs.emplace_back("e3");
    return root;
}

TEST(RecomputeTotals, SumsLocalAndDeepTotalsOfNestedFolders) {
    DirInfo root = SampleTree();
    model::RecomputeTotals(root, 4096);

    EXPECT_EQ(root.localSize, 1 + 4096 + kGiB4 + 1);
    EXPECT_EQ(root.localAlloc, 4096 + 4096 + kGiB4 + 4096);
    EXPECT_EQ(root.deepSize, root.localSize + 5000 + 100);
    EXPECT_EQ(root.deepAlloc, root.localAlloc + 8192 + 4096);
    EXPECT_EQ(root.deepFiles, 6u);
    EXPECT_EQ(root.deepDirs, 7u);

    const DirInfo& data = root.subdirs[0];
    EXPECT_EQ(data.localSize, 5000u);
    EXPECT_EQ(data.localAlloc, 8192u);
    EXPECT_EQ(data.deepSize, 5100u);
    EXPECT_EQ(data.deepAlloc, 12288u);
    EXPECT_EQ(data.deepFiles, 3u);
    EXPECT_EQ(data.deepDirs, 2u);

    const DirInfo& nothing = data.subdirs[1];
    EXPECT_EQ(nothing.deepSize, 0u);
    EXPECT_EQ(nothing.deepAlloc, 0u);
    EXPECT_EQ(nothing.deepFiles, 0u);
    EXPECT_EQ(nothing.deepDirs, 0u);

    // Only empty folders below: every folder counted, no files, no bytes.
    const DirInfo& hollow = root.subdirs[1];
    EXPECT_EQ(hollow.deepDirs, 3u);
    EXPECT_EQ(hollow.deepFiles, 0u);
    EXPECT_EQ(hollow.deepSize, 0u);
}

TEST(RecomputeTotals, OverwritesStaleTotalsAndFollowsTheClusterSize) {
    DirInfo root = SampleTree();
    model::RecomputeTotals(root, 4096);
    const DirInfo at4k = root;
    root.subdirs[0].deepFiles = 999;
    root.localAlloc = 1;

    model::RecomputeTotals(root, 0);
    EXPECT_EQ(root.deepSize, at4k.deepSize);
    EXPECT_EQ(root.deepFiles, at4k.deepFiles);
    EXPECT_EQ(root.subdirs[0].deepFiles, 3u);
    EXPECT_EQ(root.localAlloc, 0u);
    EXPECT_EQ(root.deepAlloc, 0u);
    EXPECT_EQ(root.subdirs[0].subdirs[0].localAlloc, 0u);

    model::RecomputeTotals(root, 4096);
    EXPECT_EQ(root, at4k);
}

TEST(SizeOf, ModesOfFoldersAndFiles) {
    DirInfo root = SampleTree();
    model::RecomputeTotals(root, 4096);
    EXPECT_EQ(model::SizeOf(root, model::kLogicalSize, 4096), root.deepSize);
    EXPECT_EQ(model::SizeOf(root, model::kPhysicalSize, 4096), root.deepAlloc);
    EXPECT_EQ(model::SizeOf(root, model::kWastedSpace, 4096), root.deepAlloc - root.deepSize);

    const FileInfo one("one", 1);
    EXPECT_EQ(model::SizeOf(one, model::kLogicalSize, 4096), 1u);
    EXPECT_EQ(model::SizeOf(one, model::kPhysicalSize, 4096), 4096u);
    EXPECT_EQ(model::SizeOf(one, model::kWastedSpace, 4096), 4095u);
    EXPECT_EQ(model::SizeOf(FileInfo("e", 0), model::kWastedSpace, 4096), 0u);
    EXPECT_EQ(model::SizeOf(one, 3, 4096), 0u);
}

TEST(SizeOf, WastedSpaceIsNeverNegativeWithoutAClusterSize) {
    DirInfo root = SampleTree();
    model::RecomputeTotals(root, 0);
    EXPECT_EQ(model::SizeOf(root, model::kWastedSpace, 0), 0u);
    EXPECT_EQ(model::SizeOf(FileInfo("x", 5000), model::kWastedSpace, 0), 0u);
}

TEST(WastedSize, RestOfTheLastClusterEvenWhereTheAllocationPassesTwoToThe64) {
    constexpr std::uint64_t kMax = ~std::uint64_t{0};
    struct Case {
        std::uint64_t size;
        std::uint32_t cluster;
        std::uint64_t wasted;
    } const cases[] = {
        {0, 4096, 0},     {1, 4096, 4095},        {8192, 4096, 0}, {kMax, 4096, 1}, {kMax - 4094, 4096, 4095},
        {kMax, 65536, 1}, {kMax - 65535, 512, 0}, {12345, 0, 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(model::WastedSize(c.size, c.cluster), c.wasted) << c.size << " / " << c.cluster;
        EXPECT_EQ(model::SizeOf(FileInfo("f", c.size), model::kWastedSpace, c.cluster), c.wasted) << c.size;
    }
}

TEST(DirInfoValue, CopiesAreDeepAndIndependent) {
    DirInfo original = model_test::RandomTree(7, 300, 4);
    model::RecomputeTotals(original, 512);
    DirInfo copy = original;
    EXPECT_EQ(copy, original);

    copy.subdirs[0].name = copy.subdirs[0].name.str() + "x";
    EXPECT_NE(copy, original);
    copy = original;
    EXPECT_EQ(copy, original);

    // A difference deep down, in each kind of field, is seen.
    DirInfo* deep = &copy;
    while (!deep->subdirs.empty()) deep = &deep->subdirs.back();
    deep->deepAlloc += 1;
    EXPECT_NE(copy, original);
    deep->deepAlloc -= 1;
    deep->files.emplace_back("extra", 1);
    EXPECT_NE(copy, original);
    deep->files.pop_back();
    deep->subdirs.emplace_back("extra");
    EXPECT_NE(copy, original);
    EXPECT_NE(original, copy);

    DirInfo& self = copy;
    copy = self;
    EXPECT_EQ(copy.subdirs.back().name, self.subdirs.back().name);
}

// Rescans replace a tree by one of its own folders: the folder must be taken out before the tree it
// lives in is released. Under ASan a read of the freed source fails here.
TEST(DirInfoValue, AssigningAFolderOfTheTreeItselfIsSafe) {
    struct Case {
        const char* what;
        std::vector<std::size_t> route;  // subdir indices from the root down to the folder taken
        bool move;
    };
    for (const Case& c : {Case{"move a child", {0}, true}, Case{"move a grandchild", {0, 1}, true},
                          Case{"move a later child", {1}, true}, Case{"copy a child", {0}, false},
                          Case{"copy a grandchild", {0, 0}, false}}) {
        SCOPED_TRACE(c.what);
        DirInfo root = SampleTree();
        model::RecomputeTotals(root, 4096);
        DirInfo* folder = &root;
        for (std::size_t index : c.route) folder = &folder->subdirs.at(index);
        const DirInfo expected = *folder;
        if (c.move)
            root = std::move(*folder);
        else
            root = *folder;
        EXPECT_EQ(root, expected);
    }
}

// 200,000 levels: far beyond the reader's cap, and far beyond what recursion on the 8 MiB main stack of
// this sanitised build survives. Copy, compare, totals and destruction must all cope.
TEST(DirInfoValue, VeryDeepTreesNeedNoCallStack) {
    constexpr std::size_t kDepth = 200000;
    DirInfo* copy = nullptr;
    {
        DirInfo deep = model_test::Chain(kDepth);
        model::RecomputeTotals(deep, 4096);
        EXPECT_EQ(deep.deepDirs, kDepth);
        EXPECT_EQ(deep.deepFiles, kDepth);
        EXPECT_EQ(deep.deepSize, kDepth * (kDepth + 1) / 2);
        std::uint64_t allocated = 0;
        for (std::uint64_t size = 1; size <= kDepth; ++size) allocated += (size + 4095) / 4096 * 4096;
        EXPECT_EQ(deep.deepAlloc, allocated);
        copy = new DirInfo(deep);
        EXPECT_EQ(*copy, deep);
        EXPECT_EQ(model_test::Depth(*copy), kDepth);
        DirInfo moved = std::move(deep);
        deep = *copy;  // copy-assign over a moved-from record
        EXPECT_EQ(deep, moved);
    }
    delete copy;
}

}  // namespace
