// The parallel walk against the single walk over in-memory listers: the same tree record for record and
// the same counters on generated trees, for several worker counts; stop, pause and failures with several
// workers; the worker hooks.
#include "FakeLister.h"

#include "scan/ParallelWalk.h"
#include "scan/Walk.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <set>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

using scantest::Dir;
using scantest::FakeLister;
using scantest::File;
using scantest::Generate;
using scantest::Link;
using scantest::Shape;

namespace {

// A control that workers may call at once; Pause holds every worker at its next pause point.
class Control final : public scan::WalkControl {
public:
    bool StopRequested() const override { return stop.load(); }
    void PausePoint() override {
        std::unique_lock lock(mutex_);
        if (!paused_) return;
        ++held_;
        changed_.notify_all();
        changed_.wait(lock, [this] { return !paused_; });
        --held_;
    }
    void WorkerStarted() override {
        std::lock_guard lock(mutex_);
        if (failToStart) throw std::runtime_error("no worker today");
        starts.push_back(std::this_thread::get_id());
    }
    void WorkerEnded() noexcept override {
        std::lock_guard lock(mutex_);
        ends.push_back(std::this_thread::get_id());
    }

    void Pause() {
        std::lock_guard lock(mutex_);
        paused_ = true;
    }
    void Resume() {
        std::lock_guard lock(mutex_);
        paused_ = false;
        changed_.notify_all();
    }
    // Waits until `workers` workers are held; false after ten seconds.
    bool WaitHeld(int workers) {
        std::unique_lock lock(mutex_);
        return changed_.wait_for(lock, std::chrono::seconds(10), [&] { return held_ == workers; });
    }

    std::atomic<bool> stop{false};
    bool failToStart = false;
    std::vector<std::thread::id> starts, ends;

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    bool paused_ = false;
    int held_ = 0;
};

struct Result {
    model::DirInfo root{"C:"};
    scan::ScanCounters counters;
    bool complete = false;
};

void WalkWith(FakeLister& lister, Control& control, unsigned workers, std::uint32_t cluster, Result& out) {
    out.complete = scan::WalkTree(lister, cluster, out.counters, control, workers, out.root, out.root.name.str());
}

std::uint64_t FilesIn(const model::DirInfo& dir) {  // test trees are shallow
    std::uint64_t files = dir.files.size();
    for (const auto& sub : dir.subdirs) files += FilesIn(sub);
    return files;
}

const Shape kShapes[] = {
    {"one folder of files", 0, 3000, 0, 0, 0, true},
    {"random tree with links and unlistable folders", 600, 4000, 10, 5, 5, true},
    {"deep and narrow", 400, 800, 95, 2, 2, true},
    {"many empty folders", 2000, 0, 30, 0, 0, true},
    {"empty root", 0, 0, 0, 0, 0, true},
    {"root that cannot be listed", 50, 50, 0, 0, 0, false},
};

}  // namespace

// Whether every list of the tree is at its exact size: a finished folder keeps no room to grow.
bool ListsAtExactSize(const model::DirInfo& root) {
    std::vector<const model::DirInfo*> stack{&root};
    while (!stack.empty()) {
        const model::DirInfo* dir = stack.back();
        stack.pop_back();
        if (dir->files.capacity() != dir->files.size() || dir->subdirs.capacity() != dir->subdirs.size() ||
            dir->files.name_bytes() != dir->files.name_capacity() ||
            dir->subdirs.name_bytes() != dir->subdirs.name_capacity())
            return false;
        for (const model::DirInfo& sub : dir->subdirs) stack.push_back(&sub);
    }
    return true;
}

TEST(ParallelWalk, BuildsTheSingleWalksTreeRecordForRecord) {
    std::uint64_t seed = 1;
    for (const Shape& shape : kShapes) {
        for (const std::uint32_t cluster : {0u, 4096u}) {
            FakeLister lister;
            Generate(lister, shape, seed++);
            Control none;
            Result single;
            WalkWith(lister, none, 1, cluster, single);
            ASSERT_TRUE(single.complete);
            EXPECT_TRUE(ListsAtExactSize(single.root));
            EXPECT_TRUE(none.starts.empty());
            std::multiset<std::string> singleOpened(lister.opened.begin(), lister.opened.end());
            // Workers that give way at every folder, so their turns interleave.
            lister.onOpen = [](const std::string&) { std::this_thread::yield(); };
            for (const unsigned workers : {2u, 3u, 8u}) {
                SCOPED_TRACE(std::string(shape.what) + ", cluster " + std::to_string(cluster) + ", workers " +
                             std::to_string(workers));
                lister.opened.clear();
                lister.openMost = 0;
                Control control;
                Result parallel;
                WalkWith(lister, control, workers, cluster, parallel);
                // Every worker but the caller runs the hooks, on a thread of its own.
                const std::set<std::thread::id> started(control.starts.begin(), control.starts.end());
                EXPECT_EQ(started.size(), workers - 1);
                EXPECT_EQ(started.count(std::this_thread::get_id()), 0u);
                EXPECT_EQ(std::set<std::thread::id>(control.ends.begin(), control.ends.end()), started);
                EXPECT_TRUE(parallel.complete);
                EXPECT_TRUE(parallel.root == single.root);
                EXPECT_TRUE(ListsAtExactSize(parallel.root));
                EXPECT_EQ(parallel.counters.filesFound.load(), single.counters.filesFound.load());
                EXPECT_EQ(parallel.counters.foldersFound.load(), single.counters.foldersFound.load());
                EXPECT_EQ(parallel.counters.bytesFound.load(), single.counters.bytesFound.load());
                EXPECT_EQ(std::multiset<std::string>(lister.opened.begin(), lister.opened.end()), singleOpened);
                EXPECT_EQ(lister.openNow, 0);
                EXPECT_LE(lister.openMost, static_cast<int>(workers));
            }
        }
    }
}

TEST(ParallelWalk, StopEndsEveryWorkerBeforeItsNextFolderWithEveryListingClosed) {
    for (const unsigned workers : {2u, 4u}) {
        for (const int stopAt : {1, 2, 40}) {
            SCOPED_TRACE("workers " + std::to_string(workers) + ", stop at open " + std::to_string(stopAt));
            FakeLister lister;
            Generate(lister, {"", 400, 2000, 20, 5, 5, true}, 7);
            Control control;
            std::atomic<int> opens{0};
            lister.onOpen = [&](const std::string&) {
                if (++opens == stopAt) control.stop = true;
                std::this_thread::yield();
            };
            Result result;
            WalkWith(lister, control, workers, 4096, result);
            EXPECT_FALSE(result.complete);
            EXPECT_EQ(lister.openNow, 0);
            // The folder being opened when the request came is listed, and at most one more per other
            // worker that had passed its check already.
            EXPECT_GE(lister.opened.size(), static_cast<std::size_t>(stopAt));
            EXPECT_LE(lister.opened.size(), static_cast<std::size_t>(stopAt) + workers - 1);
            // The counters describe the partial tree exactly.
            EXPECT_EQ(result.counters.filesFound.load(), FilesIn(result.root));
        }
    }

    FakeLister lister;
    lister.AddFolder("C:", {File("f", 1)});
    Control stoppedBeforeStart;
    stoppedBeforeStart.stop = true;
    Result result;
    WalkWith(lister, stoppedBeforeStart, 3, 0, result);
    EXPECT_FALSE(result.complete);
    EXPECT_TRUE(lister.opened.empty());
}

TEST(ParallelWalk, PauseHoldsEveryWorkerAtItsNextEntryAndResumeFinishesTheSameTree) {
    // A wide root, so that every worker has folders to take when the pause comes.
    FakeLister lister;
    std::vector<scan::DirEntry> top;
    for (int i = 0; i < 200; ++i) {
        const std::string name = "d" + std::to_string(i);
        top.push_back(Dir(name));
        std::vector<scan::DirEntry> files;
        for (int j = 0; j < 20; ++j) files.push_back(File("f" + std::to_string(j), j));
        lister.AddFolder("C:\\" + name, files);
    }
    lister.AddFolder("C:", top);
    Control control;
    Result single;
    WalkWith(lister, control, 1, 0, single);

    constexpr unsigned kWorkers = 3;
    std::atomic<int> opens{0};
    lister.onOpen = [&](const std::string&) {
        if (++opens == 20) control.Pause();
    };
    lister.opened.clear();
    Result parallel;
    std::thread walk([&] { WalkWith(lister, control, kWorkers, 0, parallel); });
    const bool held = control.WaitHeld(kWorkers);
    EXPECT_TRUE(held) << "not every worker stopped";
    const long entries = lister.entriesRead.load();
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    EXPECT_EQ(lister.entriesRead.load(), entries) << "a worker read on while paused";
    control.Resume();
    walk.join();
    EXPECT_TRUE(parallel.complete);
    EXPECT_TRUE(parallel.root == single.root);
    EXPECT_EQ(lister.openNow, 0);
}

TEST(ParallelWalk, AFailureOnAnyWorkerStopsTheOthersAndReachesTheCaller) {
    for (const int failAt : {1, 30}) {
        SCOPED_TRACE(failAt);
        FakeLister lister;
        Generate(lister, {"", 300, 1000, 10, 0, 0, true}, 3);
        std::atomic<int> opens{0};
        lister.onOpen = [&](const std::string&) {
            if (++opens == failAt) throw std::runtime_error("the lister failed");
        };
        Control control;
        Result result;
        try {
            WalkWith(lister, control, 4, 0, result);
            ADD_FAILURE() << "the failure did not reach the caller";
        } catch (const std::runtime_error& error) {
            EXPECT_STREQ(error.what(), "the lister failed");
        }
        EXPECT_EQ(lister.openNow, 0);
    }

    FakeLister lister;
    Generate(lister, {"", 50, 50, 10, 0, 0, true}, 4);
    Control control;
    control.failToStart = true;
    Result result;
    EXPECT_THROW(WalkWith(lister, control, 3, 0, result), std::runtime_error);
    EXPECT_EQ(lister.openNow, 0);
}
