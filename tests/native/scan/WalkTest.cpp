// The walk's semantics over an in-memory lister: order, skipped names, totals, counters, unlistable and
// reparse-point folders, stop requests and the listings left open.
#include "FakeLister.h"

#include "scan/ParallelWalk.h"
#include "scan/Walk.h"

#include "model/DataFile.h"

#include <gtest/gtest.h>

#include <pthread.h>

#include <functional>

using scantest::ChainLister;
using scantest::Dir;
using scantest::FakeLister;
using scantest::File;
using scantest::Link;

namespace {

struct Control final : scan::WalkControl {
    bool stop = false;
    bool StopRequested() const override { return stop; }
    void PausePoint() override {}
};

struct Scan {
    FakeLister lister;
    Control control;
    scan::ScanCounters counters;
    model::DirInfo root{"C:"};
    bool result = false;

    void Run(std::uint32_t clusterSize = 0) {
        std::string path = root.name;
        scan::Walker walker(lister, clusterSize, counters, control);
        result = walker.Walk(root, path);
        EXPECT_EQ(path, root.name) << "path scratch restored";
    }
    std::uint32_t files() const { return counters.filesFound.load(); }
    std::uint32_t folders() const { return counters.foldersFound.load(); }
    std::uint64_t bytes() const { return counters.bytesFound.load(); }
};

std::vector<std::string> Names(const model::RecordList<model::DirInfo>& dirs) {
    std::vector<std::string> names;
    for (const auto& d : dirs) names.push_back(d.name);
    return names;
}
std::vector<std::string> Names(const model::RecordList<model::FileInfo>& files) {
    std::vector<std::string> names;
    for (const auto& f : files) names.push_back(f.name);
    return names;
}

}  // namespace

TEST(Walk, KeepsListingOrderSkipsOnlyDotAndDotDotAndSumsTotals) {
    Scan s;
    s.lister.AddFolder("C:", {File("z.txt", 10), Dir("."), Dir(".."), Dir(".git"), File("a.bin", 5), Dir("..hidden"),
                              File("...", 1)});
    s.lister.AddFolder("C:\\.git", {Dir("."), Dir(".."), File("HEAD", 100), Dir("objects")});
    s.lister.AddFolder("C:\\.git\\objects", {File("pack", 1000), File("idx", 7)});
    s.lister.AddFolder("C:\\..hidden", {File("secret", 3)});
    s.Run();

    ASSERT_TRUE(s.result);
    EXPECT_EQ(Names(s.root.files), (std::vector<std::string>{"z.txt", "a.bin", "..."}));
    EXPECT_EQ(Names(s.root.subdirs), (std::vector<std::string>{".git", "..hidden"}));
    EXPECT_EQ(s.lister.opened, (std::vector<std::string>{"C:", "C:\\.git", "C:\\.git\\objects", "C:\\..hidden"}));

    const model::DirInfo& git = s.root.subdirs[0];
    EXPECT_EQ(git.localSize, 100u);
    EXPECT_EQ(git.deepSize, 1107u);
    EXPECT_EQ(git.deepFiles, 3u);
    EXPECT_EQ(git.deepDirs, 1u);
    EXPECT_EQ(s.root.localSize, 16u);
    EXPECT_EQ(s.root.deepSize, 16u + 1107u + 3u);
    EXPECT_EQ(s.root.deepFiles, 7u);
    EXPECT_EQ(s.root.deepDirs, 3u);
    EXPECT_EQ(s.root.localAlloc, 0u);
    EXPECT_EQ(s.root.deepAlloc, 0u);
    for (const auto& f : s.root.files) EXPECT_EQ(f.sortKey, 0);

    EXPECT_EQ(s.files(), 7u);
    EXPECT_EQ(s.folders(), 3u);
    EXPECT_EQ(s.bytes(), s.root.deepSize);
    EXPECT_EQ(s.lister.openNow, 0);
}

TEST(Walk, BytesFoundUseAllocatedSizeOnlyWhenTheClusterSizeIsKnown) {
    for (const std::uint32_t cluster : {4096u, 0u}) {
        SCOPED_TRACE(cluster);
        Scan s;
        s.lister.AddFolder("C:", {File("five", 5), File("empty", 0), File("exact", 8192)});
        s.Run(cluster);
        EXPECT_EQ(s.root.localSize, 5u + 8192u);
        EXPECT_EQ(s.root.deepSize, 5u + 8192u);
        EXPECT_EQ(s.files(), 3u);
        EXPECT_EQ(s.bytes(), cluster ? 4096u + 8192u : 5u + 8192u);
    }
}

TEST(Walk, UnlistableFoldersBecomeEmptyAndTheWalkGoesOn) {
    Scan s;
    s.lister.AddFolder("C:", {Dir("gone"), File("f", 2), Dir("kept")});
    s.lister.AddFolder("C:\\kept", {File("g", 3)});
    s.Run();
    ASSERT_TRUE(s.result);
    ASSERT_EQ(s.root.subdirs.size(), 2u);
    EXPECT_TRUE(s.root.subdirs[0].subdirs.empty());
    EXPECT_TRUE(s.root.subdirs[0].files.empty());
    EXPECT_EQ(s.root.subdirs[0].deepSize, 0u);
    EXPECT_EQ(s.root.subdirs[1].deepSize, 3u);
    EXPECT_EQ(s.root.deepSize, 5u);
    EXPECT_EQ(s.root.deepDirs, 2u);
    EXPECT_EQ(s.folders(), 2u);

    Scan unlistableRoot;
    unlistableRoot.Run(4096);
    EXPECT_TRUE(unlistableRoot.result);
    EXPECT_TRUE(unlistableRoot.root.subdirs.empty() && unlistableRoot.root.files.empty());
    EXPECT_EQ(unlistableRoot.root.deepSize + unlistableRoot.root.deepFiles + unlistableRoot.root.deepDirs, 0u);
    EXPECT_EQ(unlistableRoot.files() + unlistableRoot.folders() + unlistableRoot.bytes(), 0u);
}

TEST(Walk, ReparsePointFoldersAreListedButNeverEntered) {
    Scan s;
    // Two links back to the root in one folder: entering them would never end.
    s.lister.AddFolder("C:", {Dir("a"), File("f", 4)});
    s.lister.AddFolder("C:\\a", {Link("up1"), Link("up2"), File("g", 6)});
    s.lister.AddFolder("C:\\a\\up1", {Dir("a"), File("f", 4)});
    s.lister.AddFolder("C:\\a\\up2", {Dir("a"), File("f", 4)});
    s.Run();
    ASSERT_TRUE(s.result);
    EXPECT_EQ(s.lister.opened, (std::vector<std::string>{"C:", "C:\\a"}));
    const model::DirInfo& a = s.root.subdirs.at(0);
    EXPECT_EQ(Names(a.subdirs), (std::vector<std::string>{"up1", "up2"}));
    EXPECT_TRUE(a.subdirs[0].subdirs.empty() && a.subdirs[0].files.empty());
    EXPECT_EQ(s.root.deepSize, 10u);
    EXPECT_EQ(s.root.deepDirs, 3u);
    EXPECT_EQ(s.files(), 2u);
    EXPECT_EQ(s.folders(), 3u);
}

TEST(Walk, StopTakesEffectAtTheNextFolderAndClosesEveryListing) {
    Scan s;
    // A chain of eight folders, each with a file before and a sibling folder after the deeper one.
    std::string path = "C:";
    for (int level = 0; level < 8; ++level) {
        s.lister.AddFolder(path, {File("f", 1), Dir("d"), Dir("later")});
        path += "\\d";
    }
    s.lister.AddFolder(path, {File("f", 1), Dir("d")});
    s.lister.onOpen = [&](const std::string& opened) {
        if (opened.size() == std::string("C:").size() + 5 * 2) s.control.stop = true;  // at level 5
    };
    s.Run();

    EXPECT_FALSE(s.result);
    EXPECT_EQ(s.lister.openNow, 0);
    // Each listing is read whole and closed before anything below it is opened.
    EXPECT_EQ(s.lister.openMost, 1);
    // The folder being opened when the request came is still listed; nothing after it is opened.
    EXPECT_EQ(s.lister.opened.size(), 6u);
    EXPECT_EQ(s.files(), 6u);
    for (const std::string& opened : s.lister.opened) EXPECT_EQ(opened.find("later"), std::string::npos);

    Scan stoppedBeforeStart;
    stoppedBeforeStart.control.stop = true;
    stoppedBeforeStart.lister.AddFolder("C:", {File("f", 1)});
    stoppedBeforeStart.Run();
    EXPECT_FALSE(stoppedBeforeStart.result);
    EXPECT_TRUE(stoppedBeforeStart.lister.opened.empty());
}

// One worker opens the folders in pre-order however deep the tree, even with a folder left waiting at
// every level for the deeper ones to be done.
TEST(Walk, OneWorkerOpensFoldersInPreOrderAtAnyDepth) {
    constexpr std::size_t kDepth = 3000;
    ChainLister lister(kDepth, true);
    Control control;
    scan::ScanCounters counters;
    model::DirInfo root("C:");
    std::string path = "C:";
    ASSERT_TRUE(scan::Walker(lister, 0, counters, control).Walk(root, path));
    // Down the chain, then each level's "e" on the way back up: "C:\\d...\\d\\e" is at the chain's level + 1.
    std::vector<std::pair<std::size_t, bool>> expected;
    for (std::size_t level = 0; level <= kDepth; ++level) expected.emplace_back(level, false);
    for (std::size_t level = kDepth; level > 0; --level) expected.emplace_back(level, true);
    EXPECT_TRUE(lister.opened == expected);
    EXPECT_EQ(counters.foldersFound.load(), 2 * kDepth);
}

// Runs `body` on a thread with the stack the scan worker reserves (64 MiB), or with the stack given.
void OnWorkerStack(const std::function<void()>& body, std::size_t stackBytes = std::size_t{64} << 20) {
    pthread_attr_t attributes;
    pthread_attr_init(&attributes);
    pthread_attr_setstacksize(&attributes, stackBytes);
    pthread_t thread;
    auto run = [](void* argument) -> void* {
        (*static_cast<const std::function<void()>*>(argument))();
        return nullptr;
    };
    ASSERT_EQ(pthread_create(&thread, &attributes, run, const_cast<std::function<void()>*>(&body)), 0);
    pthread_join(thread, nullptr);
    pthread_attr_destroy(&attributes);
}

// Long paths let a scan go thousands of levels deeper than MAX_PATH; whatever it produces must come back
// from the data file whole.
TEST(Walk, DeepScansExportAndImportBackEqual) {
    for (const std::size_t depth : {std::size_t{5000}, model::kMaxTreeDepth}) {
        SCOPED_TRACE(depth);
        ChainLister lister(depth);
        Control control;
        scan::ScanCounters counters;
        model::DirInfo scanned("C:");
        bool complete = false;
        OnWorkerStack([&] {
            std::string path = scanned.name;
            complete = scan::Walker(lister, 4096, counters, control).Walk(scanned, path);
        });
        ASSERT_TRUE(complete);
        ASSERT_EQ(counters.filesFound.load(), depth + 1);
        model::RecomputeTotals(scanned, 4096);

        std::string bytes;
        ASSERT_TRUE(model::EncodeDataFile(4096, scanned, bytes));
        model::DirInfo imported;
        std::uint32_t cluster = 0;
        ASSERT_EQ(model::DecodeDataFile(bytes, imported, cluster), model::DecodeResult::kComplete);
        model::RecomputeTotals(imported, cluster);
        EXPECT_EQ(imported.deepFiles, depth + 1);
        EXPECT_TRUE(imported == scanned);
    }
}

// The walk spends no stack per level, on one worker or several: its caller here has 256 KiB.
TEST(Walk, TheParallelWalkReadsTheDeepestTreeOnASmallStack) {
    constexpr std::size_t kDepth = model::kMaxTreeDepth;
    // The chain ChainLister lists, built bottom up: level k holds the file "f" of k + 1 bytes.
    model::DirInfo expected("d");
    for (std::size_t level = kDepth + 1; level-- > 0;) {
        model::DirInfo folder(level == 0 ? "C:" : "d");
        if (level < kDepth) folder.subdirs.push_back(std::move(expected));
        folder.files.emplace_back("f", level + 1);
        folder.localSize = level + 1;
        scan::FinishTotals(folder);
        expected = std::move(folder);
    }
    for (const unsigned workers : {1u, 2u}) {
        SCOPED_TRACE(workers);
        ChainLister lister(kDepth);
        Control control;
        scan::ScanCounters counters;
        model::DirInfo scanned("C:");
        bool complete = false;
        OnWorkerStack(
            [&] { complete = scan::ParallelWalker(lister, 0, counters, control, workers).Walk(scanned, "C:"); },
            std::size_t{256} << 10);
        EXPECT_TRUE(complete);
        EXPECT_EQ(counters.filesFound.load(), kDepth + 1);
        EXPECT_EQ(counters.foldersFound.load(), kDepth);
        EXPECT_EQ(counters.bytesFound.load(), expected.deepSize);
        EXPECT_TRUE(scanned == expected);
    }
}

TEST(ScanPaths, RootName) {
    EXPECT_EQ(scan::RootName("C:\\"), "C:");
    EXPECT_EQ(scan::RootName("C:\\Data\\"), "C:\\Data");
    EXPECT_EQ(scan::RootName(""), "");
}
