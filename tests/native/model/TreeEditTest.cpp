#include "model/TreeEdit.h"

#include "common/PathTree.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

using model::DirInfo;
using test_support::PathTree;

constexpr std::uint32_t kCluster = 4096;
constexpr std::uint64_t kHuge = std::numeric_limits<std::uint64_t>::max() - 10;

DirInfo Sample() {
    return PathTree("C:",
                    {{"a.txt", 100},
                     {"Data\\x.bin", 5000},
                     {"Data\\y.bin", 0},
                     {"Data\\Photos\\p1.jpg", 4097},
                     {"Data\\Photos\\p2.jpg", 1},
                     {"Data\\Photos\\Raw\\r.raw", (std::uint64_t{1} << 33) + 1},
                     {"Data\\empty\\"},
                     {"Dup\\first.txt", 10},
                     {"dup\\second.txt", 20},
                     {"Wrap\\near-max.bin", kHuge},
                     {"Wrap\\more.bin", 100}},
                    kCluster);
}

// The records that should be left, found without the code under test, and their totals from scratch.
template <class T>
void EraseFirst(model::RecordList<T>& list, std::string_view name) {
    const T* first = nullptr;
    for (const T& record : list)
        if (!first && model::EqualIgnoringAsciiCase(record.name, name)) first = &record;
    ASSERT_NE(first, nullptr) << name;
    model::erase_if(list, [first](const T& record) { return &record == first; });
}

TEST(TreeEdit, RemovingAnItemLeavesTheTotalsAFullRecomputationWouldGive) {
    struct Case {
        const char* path;
        const char* folder;  // where the expected tree loses the record
        const char* name;
        bool isFolder;
    } cases[] = {
        {"a.txt", "", "a.txt", false},
        {"Data\\x.bin", "Data\\", "x.bin", false},
        {"Data\\y.bin", "Data\\", "y.bin", false},  // an empty file takes no cluster
        {"DATA\\photos\\P2.JPG", "Data\\Photos\\", "p2.jpg", false},
        {"Data\\Photos\\", "Data\\", "Photos", true},  // a folder with a folder inside
        {"Data\\Photos\\Raw\\", "Data\\Photos\\", "Raw", true},
        {"Data\\empty\\", "Data\\", "empty", true},
        {"DUP\\", "", "Dup", true},  // the first of two names that differ in case, as look-ups find it
        {"Wrap\\near-max.bin", "Wrap\\", "near-max.bin", false},  // totals that wrapped come back
        {"Wrap\\", "", "Wrap", true},
        {"Data\\", "", "Data", true},
    };
    for (const Case& c : cases) {
        DirInfo tree = Sample();
        DirInfo expected = Sample();
        DirInfo* folder = model::FindDir(expected, c.folder);
        ASSERT_NE(folder, nullptr) << c.path;
        if (c.isFolder)
            EraseFirst(folder->subdirs, c.name);
        else
            EraseFirst(folder->files, c.name);
        model::RecomputeTotals(expected, kCluster);

        EXPECT_TRUE(model::RemoveItem(tree, c.path, kCluster)) << c.path;
        EXPECT_EQ(tree, expected) << c.path;
    }
}

TEST(TreeEdit, PathsThatNameNothingChangeNothing) {
    for (const char* path : {"", "\\", "nothing.txt", "Data\\nothing\\", "Data\\Photos",  // a folder, not a file
                             "Data\\x.bin\\", "Nowhere\\x.bin", "a.txt\\b.txt"}) {
        DirInfo tree = Sample();
        EXPECT_FALSE(model::RemoveItem(tree, path, kCluster)) << path;
        EXPECT_EQ(tree, Sample()) << path;
    }
}

TEST(TreeEdit, AddingWhatANewItemBringsEqualsARecomputation) {
    // A file appears in a folder: its own folder's local sizes change too.
    DirInfo tree = Sample();
    DirInfo* photos = model::FindDir(tree, "Data\\Photos\\");
    const model::FileInfo& added = photos->files.emplace_back("new.jpg", 12345);
    ASSERT_TRUE(model::AddToTotals(tree, "data\\photos\\", model::ContributionOf(added, kCluster), true));
    DirInfo expected = tree;
    model::RecomputeTotals(expected, kCluster);
    EXPECT_EQ(tree, expected);

    // A folder with its own contents appears: only deep totals change above it.
    DirInfo sub = PathTree("New", {{"a\\b.txt", 3}, {"c.txt", 9000}, {"d\\"}}, kCluster);
    const model::TotalsDelta delta = model::ContributionOf(sub);
    EXPECT_EQ(delta, (model::TotalsDelta{2, 3, 9003, 4096 + 12288}));
    model::FindDir(tree, "Data\\")->subdirs.push_back(std::move(sub));
    ASSERT_TRUE(model::AddToTotals(tree, "Data\\", delta, false));
    expected = tree;
    model::RecomputeTotals(expected, kCluster);
    EXPECT_EQ(tree, expected);

    // And the negation takes it off again.
    ASSERT_TRUE(model::AddToTotals(tree, "Data\\", delta.Negated(), false));
    model::FindDir(tree, "Data\\")->subdirs.pop_back();
    expected = tree;
    model::RecomputeTotals(expected, kCluster);
    EXPECT_EQ(tree, expected);

    DirInfo unchanged = Sample();
    EXPECT_FALSE(model::AddToTotals(unchanged, "Data\\Nowhere\\", delta, false));
    EXPECT_EQ(unchanged, Sample());
}

TEST(TreeEdit, TheFolderOfAnItemIsItsPathWithoutTheLastComponent) {
    EXPECT_EQ(model::FolderOfItem("Data\\Photos\\"), "Data\\");
    EXPECT_EQ(model::FolderOfItem("Data\\notes.txt"), "Data\\");
    EXPECT_EQ(model::FolderOfItem("Data\\"), "");
    EXPECT_EQ(model::FolderOfItem("notes.txt"), "");
    EXPECT_EQ(model::FolderOfItem(""), "");
}

TEST(TreeEdit, RemovingEveryItemOneAtATimeKeepsExactTotals) {
    // Every record of the sample in turn, each from a fresh tree, under every cluster size that matters.
    const char* items[] = {"a.txt",
                           "Data\\x.bin",
                           "Data\\y.bin",
                           "Data\\Photos\\p1.jpg",
                           "Data\\Photos\\p2.jpg",
                           "Data\\Photos\\Raw\\r.raw",
                           "Data\\Photos\\Raw\\",
                           "Data\\Photos\\",
                           "Data\\empty\\",
                           "Data\\",
                           "Dup\\first.txt",
                           "Dup\\",
                           "Wrap\\more.bin",
                           "Wrap\\"};
    for (std::uint32_t cluster : {0u, 512u, 4096u, 65536u}) {
        DirInfo whole = Sample();
        model::RecomputeTotals(whole, cluster);
        for (const char* item : items) {
            DirInfo tree = whole;
            ASSERT_TRUE(model::RemoveItem(tree, item, cluster)) << item;
            DirInfo expected = tree;
            model::RecomputeTotals(expected, cluster);
            EXPECT_EQ(tree, expected) << item << " with clusters of " << cluster;
        }
    }
}

}  // namespace
