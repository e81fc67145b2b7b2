// The same walk over the POSIX lister on real temporary trees: names outside ASCII, links that loop back
// to an ancestor, and the native cluster-size answer.
#include "scan/ClusterSize.h"
#include "scan/ParallelWalk.h"
#include "scan/PosixLister.h"
#include "scan/Walk.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

namespace fs = std::filesystem;

namespace {

struct NoControl final : scan::WalkControl {
    bool StopRequested() const override { return false; }
    void PausePoint() override {}
};

class TempTree : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/kelvaran-walk-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        root_ = pattern;
    }
    // rm works below the longest path the system takes, where remove_all gives up.
    void TearDown() override { EXPECT_EQ(std::system(("rm -rf '" + root_.string() + "'").c_str()), 0); }

    // A sparse file of `size` bytes.
    void MakeFile(const fs::path& path, off_t size) {
        const int fd = open(path.c_str(), O_CREAT | O_WRONLY | O_TRUNC, 0644);
        ASSERT_GE(fd, 0) << path;
        ASSERT_EQ(ftruncate(fd, size), 0);
        close(fd);
    }

    model::DirInfo Walk(std::uint32_t clusterSize = 0) {
        scan::PosixLister lister;
        NoControl control;
        model::DirInfo root(scan::RootName(root_.string() + "/"));
        std::string path = root.name;
        scan::Walker walker(lister, clusterSize, counters_, control);
        EXPECT_TRUE(walker.Walk(root, path));
        return root;
    }

    // The walk with `workers` workers (1: the single walk), counters of its own.
    model::DirInfo WalkWith(unsigned workers, scan::ScanCounters& counters) {
        scan::PosixLister lister;
        NoControl control;
        model::DirInfo root(scan::RootName(root_.string() + "/"));
        EXPECT_TRUE(scan::WalkTree(lister, 4096, counters, control, workers, root, root.name));
        return root;
    }

    fs::path root_;
    scan::ScanCounters counters_;
};

const model::DirInfo* Sub(const model::DirInfo& dir, const std::string& name) {
    for (const auto& sub : dir.subdirs)
        if (sub.name == name) return &sub;
    return nullptr;
}

}  // namespace

TEST_F(TempTree, ScansNamesOutsideAsciiAndDotFoldersCompletely) {
    const std::vector<std::string> names{"日本", "café", "Ω", "\xF0\x9F\x93\x81 folder", ".git", "..hidden"};
    std::uint64_t logical = 0, allocated = 0;
    off_t size = 3;
    for (const std::string& name : names) {
        fs::create_directory(root_ / name);
        MakeFile(root_ / name / (name + ".dat"), size);
        logical += size;
        allocated += (size + 4095) / 4096 * 4096;
        size *= 7;  // 3 ... 50421 bytes: one to thirteen clusters
    }
    MakeFile(root_ / "empty", 0);

    const model::DirInfo tree = Walk(4096);
    EXPECT_EQ(tree.deepFiles, names.size() + 1);
    EXPECT_EQ(tree.deepDirs, names.size());
    EXPECT_EQ(tree.deepSize, logical);
    for (const std::string& name : names) {
        const model::DirInfo* sub = Sub(tree, name);
        ASSERT_NE(sub, nullptr) << name;
        ASSERT_EQ(sub->files.size(), 1u) << name;
        EXPECT_EQ(sub->files[0].name, name + ".dat");
    }
    EXPECT_EQ(counters_.filesFound.load(), names.size() + 1);
    EXPECT_EQ(counters_.foldersFound.load(), names.size());
    EXPECT_EQ(counters_.bytesFound.load(), allocated);
}

TEST_F(TempTree, LinksToFoldersAreEmptyFoldersAndLoopsEnd) {
    fs::create_directories(root_ / "a" / "b");
    MakeFile(root_ / "a" / "b" / "data", 1000);
    MakeFile(root_ / "top", 10);
    // Two links back to ancestors in one folder, one to a sibling, and one to a file.
    fs::create_directory_symlink(root_, root_ / "a" / "b" / "loop1");
    fs::create_directory_symlink(root_ / "a", root_ / "a" / "b" / "loop2");
    fs::create_directory_symlink(root_ / "a" / "b", root_ / "sibling");
    fs::create_symlink(root_ / "top", root_ / "filelink");
    fs::create_symlink(root_ / "nowhere", root_ / "dangling");

    const model::DirInfo tree = Walk();
    const model::DirInfo* b = Sub(*Sub(tree, "a"), "b");
    ASSERT_NE(b, nullptr);
    const model::DirInfo* loop1 = Sub(*b, "loop1");
    ASSERT_NE(loop1, nullptr);
    EXPECT_TRUE(loop1->subdirs.empty() && loop1->files.empty());
    ASSERT_NE(Sub(tree, "sibling"), nullptr);
    EXPECT_EQ(Sub(tree, "sibling")->deepFiles, 0u);
    // Real data counted once; the file links count as small files of their own.
    EXPECT_EQ(tree.deepDirs, 5u);
    EXPECT_EQ(tree.deepFiles, 4u);
    const std::uint64_t links = (root_ / "top").string().size() + (root_ / "nowhere").string().size();
    EXPECT_EQ(tree.deepSize, 1010u + links);
}

TEST_F(TempTree, NativeClusterSizeIsTheFileSystemBlock) {
    const std::uint32_t size = scan::DetectClusterSize(root_.string());
    EXPECT_GE(size, 512u);
    EXPECT_EQ(size & (size - 1), 0u);
    EXPECT_EQ(scan::DetectClusterSize((root_ / "missing").string()), 0u);
}

// A tree with folder links that loop back to ancestors and a folder too deep to open: every walk, single
// or parallel, gives the same tree, the link folders and the unopenable one empty.
TEST_F(TempTree, ParallelWalksGiveTheSingleWalksTreeWithLoopsAndAnUnopenableFolder) {
    for (int i = 0; i < 30; ++i) {
        const fs::path folder = root_ / ("d" + std::to_string(i)) / ("e" + std::to_string(i % 4));
        fs::create_directories(folder);
        for (int j = 0; j <= i % 5; ++j) MakeFile(folder / ("f" + std::to_string(j)), 1000 * i + j);
    }
    fs::create_directory_symlink(root_, root_ / "d3" / "loop");
    fs::create_directory_symlink(root_ / "d4", root_ / "d4" / "e0" / "self");
    // Folders nested past PATH_MAX (4096): made by relative steps, and the deepest cannot be opened by
    // its full path, so it becomes an empty folder in the tree.
    const std::string longName(250, 'x');
    const fs::path previous = fs::current_path();
    fs::current_path(root_);
    ASSERT_EQ(mkdir("deep", 0755), 0);
    ASSERT_EQ(chdir("deep"), 0);
    unsigned openable = 0;
    for (std::size_t length = (root_ / "deep").string().size(); length < 4096; ++openable) {
        length += 1 + longName.size();
        ASSERT_EQ(mkdir(longName.c_str(), 0755), 0);
        ASSERT_EQ(chdir(longName.c_str()), 0);
        MakeFile("data", 7);
        if (length >= 4096) break;
    }
    fs::current_path(previous);

    scan::ScanCounters singleCounters;
    const model::DirInfo single = WalkWith(1, singleCounters);
    const model::DirInfo* deepest = Sub(single, "deep");
    for (unsigned level = 0; deepest && level <= openable; ++level) deepest = Sub(*deepest, longName);
    ASSERT_NE(deepest, nullptr);
    EXPECT_TRUE(deepest->files.empty() && deepest->subdirs.empty());
    EXPECT_EQ(singleCounters.filesFound.load(), 90u + openable);
    ASSERT_NE(Sub(*Sub(single, "d3"), "loop"), nullptr);
    EXPECT_TRUE(Sub(*Sub(single, "d3"), "loop")->subdirs.empty());

    for (const unsigned workers : {2u, 4u}) {
        SCOPED_TRACE(workers);
        scan::ScanCounters counters;
        const model::DirInfo parallel = WalkWith(workers, counters);
        EXPECT_TRUE(parallel == single);
        EXPECT_EQ(counters.filesFound.load(), singleCounters.filesFound.load());
        EXPECT_EQ(counters.foldersFound.load(), singleCounters.foldersFound.load());
        EXPECT_EQ(counters.bytesFound.load(), singleCounters.bytesFound.load());
    }
}
