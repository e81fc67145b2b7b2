// TThread and TScanThread under Wine: statuses, exit code, stack reserve, the end message and its wParam,
// cancel during a deep walk with every search closed, cooperative pause, root naming and cluster size.
#include "ScanTestTree.h"
#include "fw/Utf8.h"

#include "fw/TThread.h"
#include "scan/TScanThread.h"

#include <gtest/gtest.h>

#include <map>
#include <mutex>
#include <set>
#include <stdexcept>
#include <vector>

using scantest::CountingLister;
using scantest::TempTree;

namespace {

class Returns : public fw::TThread {
public:
    explicit Returns(int code) : code_(code) {}
    ~Returns() override { WaitForExit(); }

protected:
    int Run() override { return code_; }

private:
    int code_;
};

// Recursion with about 1 KiB per frame: far beyond a default 1 or 2 MiB thread stack.
int Deep(int depth) {
    volatile char frame[1024];
    frame[0] = static_cast<char>(depth);
    return depth == 0 ? frame[0] : Deep(depth - 1) + frame[0] - frame[0] + 1;
}

class Recurses : public fw::TThread {
public:
    ~Recurses() override { WaitForExit(); }

protected:
    int Run() override { return Deep(20000); }
};

// A message-only window that receives the end message.
class Receiver {
public:
    Receiver()
        : message_(RegisterWindowMessageA("THREAD_END_MSG")),
          window_(CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr)) {}
    ~Receiver() { DestroyWindow(window_); }
    HWND Window() const { return window_; }
    UINT Message() const { return message_; }

    // Pumps until the end message arrives; false on timeout.
    bool Wait(WPARAM& wParam, LPARAM& lParam, DWORD timeoutMs = 30000) {
        const DWORD start = GetTickCount();
        for (;;) {
            MSG msg;
            if (PeekMessageA(&msg, window_, message_, message_, PM_REMOVE)) {
                wParam = msg.wParam;
                lParam = msg.lParam;
                return true;
            }
            const DWORD elapsed = GetTickCount() - start;
            if (elapsed >= timeoutMs) return false;
            MsgWaitForMultipleObjects(0, nullptr, FALSE, timeoutMs - elapsed, QS_POSTMESSAGE);
        }
    }

private:
    UINT message_;
    HWND window_;
};

std::uint32_t DiskFreeSpaceCluster(const char* root) {
    DWORD spc = 0, bps = 0, free = 0, total = 0;
    return GetDiskFreeSpaceA(root, &spc, &bps, &free, &total) ? spc * bps : 0;
}

// A chain of `depth` folders under the tree root, each with one file.
std::string MakeChain(TempTree& tree, int depth) {
    std::string relative;
    for (int level = 0; level < depth; ++level) {
        if (!relative.empty()) relative += '\\';
        relative += 'd';
        relative += std::to_string(level);
        tree.Dir(relative);
        tree.File(relative + "\\f", 1);
    }
    return relative;
}

// `branches` chains of `depth` folders under the tree root, two files in each folder.
int MakeBranches(TempTree& tree, int branches, int depth) {
    for (int branch = 0; branch < branches; ++branch) {
        std::string relative = std::to_string(branch).insert(0, 1, 'b');
        for (int level = 0; level < depth; ++level) {
            if (level > 0) relative.append("\\d").append(std::to_string(level));
            tree.Dir(relative);
            tree.File(relative + "\\x", 100 * level + branch);
            tree.File(relative + "\\y", 5000);
        }
    }
    return branches * depth;
}

// Runs a scan of the tree to its end and returns the tree.
model::DirInfo ScanToEnd(const TempTree& tree, unsigned workers) {
    Receiver receiver;
    scan::TScanThread thread(receiver.Window(), tree.Root() + "\\", receiver.Message());
    thread.SetWorkers(workers);
    thread.Start();
    WPARAM wParam = 0;
    LPARAM lParam = 0;
    EXPECT_TRUE(receiver.Wait(wParam, lParam));
    EXPECT_EQ(wParam, 1u);
    EXPECT_TRUE(thread.WaitForExit(10000));
    return thread.GetInfo();
}

// Polls until `done` holds; false after ten seconds.
template <class Condition>
bool WaitUntil(Condition done) {
    for (int i = 0; i < 1000; ++i, Sleep(10))
        if (done()) return true;
    return false;
}

std::uint32_t FilesIn(const model::DirInfo& dir) {
    std::uint32_t files = static_cast<std::uint32_t>(dir.files.size());
    for (const auto& sub : dir.subdirs) files += FilesIn(sub);
    return files;
}

int Depth(const std::string& path, const std::string& root) {
    int separators = 0;
    for (std::size_t i = root.size(); i < path.size(); ++i) separators += path[i] == '\\';
    return separators;
}

// Holds the walk just before it opens a folder `depth` levels below `root`, until Release. Declare it
// before the thread, so the thread (which waits for its walk) is destroyed first.
class DepthGate {
public:
    DepthGate(CountingLister& lister, std::string root, int depth)
        : reached_(CreateEventA(nullptr, TRUE, FALSE, nullptr)), proceed_(CreateEventA(nullptr, TRUE, FALSE, nullptr)) {
        lister.beforeOpen = [this, root = std::move(root), depth](const std::string& path) {
            if (Depth(path, root) == depth) {
                SetEvent(reached_.Get());
                WaitForSingleObject(proceed_.Get(), 10000);
            }
        };
    }
    bool WaitReached() { return WaitForSingleObject(reached_.Get(), 10000) == WAIT_OBJECT_0; }
    void Release() { SetEvent(proceed_.Get()); }

private:
    fw::KernelHandle reached_;
    fw::KernelHandle proceed_;
};

}  // namespace

TEST(TThread, StatusesExitCodeAndStartOnce) {
    Returns thread(7);
    EXPECT_EQ(thread.GetStatus(), fw::TThread::Status::Created);
    EXPECT_TRUE(thread.WaitForExit(0));  // never started
    EXPECT_FALSE(thread.SetPriority(THREAD_PRIORITY_BELOW_NORMAL));
    thread.Start();
    EXPECT_THROW(thread.Start(), std::logic_error);
    ASSERT_TRUE(thread.WaitForExit(10000));
    EXPECT_EQ(thread.GetStatus(), fw::TThread::Status::Finished);
    EXPECT_EQ(thread.ExitCode(), 7);
    DWORD code = 0;
    EXPECT_TRUE(GetExitCodeThread(thread.GetHandle(), &code));
    EXPECT_EQ(code, 7u);
    EXPECT_FALSE(thread.ShouldTerminate());
    thread.Terminate();
    EXPECT_TRUE(thread.ShouldTerminate());
}

TEST(TThread, HasTheStackForDeepRecursion) {
    Recurses thread;
    thread.Start();
    ASSERT_TRUE(thread.WaitForExit(30000));
    EXPECT_EQ(thread.ExitCode(), 20000);
}

TEST(TScanThread, NamesTheRootAndDetectsTheClusterSizeOfItsVolume) {
    Receiver receiver;
    const std::uint32_t expected = DiskFreeSpaceCluster("C:\\");
    ASSERT_NE(expected, 0u);
    scan::TScanThread drive(receiver.Window(), "C:\\", receiver.Message());
    EXPECT_EQ(drive.GetInfo().name, "C:");
    EXPECT_EQ(drive.GetClusterSize(), expected);
    scan::TScanThread folder(receiver.Window(), "C:\\Data\\", receiver.Message());
    EXPECT_EQ(folder.GetInfo().name, "C:\\Data");
    EXPECT_EQ(folder.GetClusterSize(), expected);
    EXPECT_EQ(folder.FilesFound() + folder.FoldersFound() + folder.BytesFound(), 0u);
    // A share is its own volume: when nothing answers for it the size is unknown, not the current drive's.
    scan::TScanThread share(receiver.Window(), "\\\\server\\share\\dir\\", receiver.Message());
    EXPECT_EQ(share.GetInfo().name, "\\\\server\\share\\dir");
    EXPECT_EQ(share.GetClusterSize(), 0u);
}

TEST(TScanThread, CompletedScanPostsOneAndCountsAllocatedBytes) {
    TempTree tree;
    tree.File("five", 5);
    tree.File("empty", 0);
    tree.Dir("sub");
    tree.File("sub\\more", 4097);
    Receiver receiver;
    scan::TScanThread thread(receiver.Window(), tree.Root() + "\\", receiver.Message());
    ASSERT_EQ(thread.GetClusterSize(), 4096u);
    thread.Start();
    EXPECT_TRUE(thread.SetPriority(THREAD_PRIORITY_BELOW_NORMAL));
    WPARAM wParam = 99;
    LPARAM lParam = 99;
    ASSERT_TRUE(receiver.Wait(wParam, lParam));
    EXPECT_EQ(wParam, 1u);
    EXPECT_EQ(lParam, 0);
    ASSERT_TRUE(thread.WaitForExit(10000));
    EXPECT_EQ(thread.ExitCode(), 0);

    const model::DirInfo& root = thread.GetInfo();
    EXPECT_EQ(root.name, tree.Root());
    EXPECT_EQ(root.localSize, 5u);
    EXPECT_EQ(root.deepSize, 5u + 4097u);
    EXPECT_EQ(thread.FilesFound(), 3u);
    EXPECT_EQ(thread.FoldersFound(), 1u);
    EXPECT_EQ(thread.BytesFound(), 4096u + 0u + 8192u);
}

TEST(TScanThread, AnUnlistableRootCompletesEmpty) {
    TempTree tree;
    Receiver receiver;
    scan::TScanThread thread(receiver.Window(), tree.Path("missing") + "\\", receiver.Message());
    thread.Start();
    WPARAM wParam = 0;
    LPARAM lParam = 0;
    ASSERT_TRUE(receiver.Wait(wParam, lParam));
    EXPECT_EQ(wParam, 1u);
    ASSERT_TRUE(thread.WaitForExit(10000));
    EXPECT_TRUE(thread.GetInfo().subdirs.empty() && thread.GetInfo().files.empty());
    EXPECT_EQ(thread.GetInfo().deepSize, 0u);
    EXPECT_EQ(thread.FilesFound() + thread.FoldersFound() + thread.BytesFound(), 0u);
}

TEST(TScanThread, CancelDuringADeepWalkPostsZeroWithEverySearchClosed) {
    // With any number of workers, each search is read whole and closed before the walk goes down.
    for (const unsigned workers : {1u, 3u}) {
        SCOPED_TRACE(workers);
        TempTree tree;
        MakeChain(tree, 30);
        Receiver receiver;
        auto counting = std::make_unique<CountingLister>(std::make_unique<scan::Win32Lister>());
        CountingLister& lister = *counting;
        DepthGate gate(lister, tree.Root(), 20);
        scan::TScanThread thread(receiver.Window(), tree.Root() + "\\", receiver.Message(), std::move(counting));
        thread.SetWorkers(workers);
        thread.Start();
        ASSERT_TRUE(gate.WaitReached());
        EXPECT_EQ(lister.openNow.load(), 0);
        thread.Terminate();
        gate.Release();

        WPARAM wParam = 99;
        LPARAM lParam = 99;
        ASSERT_TRUE(receiver.Wait(wParam, lParam));
        EXPECT_EQ(wParam, 0u);
        EXPECT_EQ(lParam, 0);
        ASSERT_TRUE(thread.WaitForExit(10000));
        EXPECT_EQ(lister.openNow.load(), 0);
        EXPECT_EQ(lister.openMost.load(), 1);
        EXPECT_EQ(lister.opens.load(), 21);  // up to the folder being opened when the request came
        // Files listed before the stop are counted and kept; none beyond it.
        EXPECT_EQ(thread.FilesFound(), FilesIn(thread.GetInfo()));
        EXPECT_LE(thread.FilesFound(), 20u);
        EXPECT_EQ(thread.FoldersFound(), 21u);
    }
}

TEST(TScanThread, PauseHoldsTheWalkAndResumeFinishesIt) {
    TempTree tree;
    MakeChain(tree, 12);
    Receiver receiver;
    auto counting = std::make_unique<CountingLister>(std::make_unique<scan::Win32Lister>());
    CountingLister& lister = *counting;
    DepthGate gate(lister, tree.Root(), 4);
    scan::TScanThread thread(receiver.Window(), tree.Root() + "\\", receiver.Message(), std::move(counting));
    thread.Start();
    ASSERT_TRUE(gate.WaitReached());
    thread.Pause();
    EXPECT_EQ(thread.GetStatus(), fw::TThread::Status::Suspended);
    gate.Release();

    Sleep(300);
    const int opensWhilePaused = lister.opens.load();
    EXPECT_LE(opensWhilePaused, 6);
    Sleep(300);
    EXPECT_EQ(lister.opens.load(), opensWhilePaused);
    EXPECT_FALSE(thread.WaitForExit(0));

    thread.Resume();
    EXPECT_EQ(thread.GetStatus(), fw::TThread::Status::Running);
    WPARAM wParam = 0;
    LPARAM lParam = 0;
    ASSERT_TRUE(receiver.Wait(wParam, lParam));
    EXPECT_EQ(wParam, 1u);
    ASSERT_TRUE(thread.WaitForExit(10000));
    EXPECT_EQ(thread.GetStatus(), fw::TThread::Status::Finished);
    EXPECT_EQ(thread.FilesFound(), 12u);
    EXPECT_EQ(thread.GetInfo().deepDirs, 12u);
}

TEST(TScanThread, TerminateWakesAPausedWalk) {
    TempTree tree;
    MakeChain(tree, 6);
    Receiver receiver;
    auto counting = std::make_unique<CountingLister>(std::make_unique<scan::Win32Lister>());
    DepthGate gate(*counting, tree.Root(), 2);
    scan::TScanThread thread(receiver.Window(), tree.Root() + "\\", receiver.Message(), std::move(counting));
    thread.Start();
    ASSERT_TRUE(gate.WaitReached());
    thread.Suspend();
    gate.Release();
    thread.Terminate();
    WPARAM wParam = 99;
    LPARAM lParam = 0;
    ASSERT_TRUE(receiver.Wait(wParam, lParam, 10000));
    EXPECT_EQ(wParam, 0u);
    EXPECT_TRUE(thread.WaitForExit(10000));
}

// Roots written with "..", ".", a doubled backslash, a trailing dot or relative to the current folder name
// the folder they lead to; in the "\\?\" form those parts would be taken literally and the scan would
// report an empty tree as complete. The root record is named after the folder actually scanned.
TEST(TScanThread, RootsAreScannedAsTheFolderTheyLeadTo) {
    TempTree tree;
    tree.Dir("data");
    tree.File("data\\a", 10);
    tree.Dir("data\\sub");
    tree.File("data\\sub\\b", 5000);
    tree.Dir("other");
    const std::string longer = "other\\" + std::string(150, 'x') + "\\" + std::string(150, 'y');
    tree.Dir(longer.substr(0, longer.rfind('\\')));
    tree.Dir(longer);
    const std::string data = tree.Path("data");
    struct CurrentFolder {  // restored however the test ends, before the tree goes
        wchar_t previous[MAX_PATH] = {};
        CurrentFolder() { GetCurrentDirectoryW(MAX_PATH, previous); }
        ~CurrentFolder() { SetCurrentDirectoryW(previous); }
    } current;
    ASSERT_TRUE(SetCurrentDirectoryW(fw::Utf8ToWide(tree.Root()).c_str()));
    for (const std::string& root :
         {tree.Path("other") + "\\..\\data\\", data + "\\.\\", tree.Root() + "\\\\data\\", data + "\\sub\\..\\",
          data + ".\\", std::string("data\\"), std::string(".\\data\\"), tree.Path(longer) + "\\..\\..\\..\\data\\"}) {
        SCOPED_TRACE(root);
        Receiver receiver;
        scan::TScanThread thread(receiver.Window(), root, receiver.Message());
        EXPECT_EQ(thread.GetInfo().name, data);
        EXPECT_EQ(thread.GetClusterSize(), 4096u);
        thread.Start();
        WPARAM wParam = 0;
        LPARAM lParam = 0;
        ASSERT_TRUE(receiver.Wait(wParam, lParam));
        EXPECT_EQ(wParam, 1u);
        ASSERT_TRUE(thread.WaitForExit(10000));
        EXPECT_EQ(thread.GetInfo().deepFiles, 2u);
        EXPECT_EQ(thread.GetInfo().deepDirs, 1u);
        EXPECT_EQ(thread.GetInfo().deepSize, 5010u);
    }
}

TEST(TScanThread, SeveralWorkersPauseTogetherThenFinishTheSingleWalksTreeOrStopOnCancel) {
    TempTree tree;
    const int folders = MakeBranches(tree, 8, 6);
    const model::DirInfo single = ScanToEnd(tree, 1);
    ASSERT_EQ(single.deepDirs, static_cast<std::uint32_t>(folders));
    for (const bool cancel : {false, true}) {
        SCOPED_TRACE(cancel ? "cancel while paused" : "resume");
        Receiver receiver;
        auto counting = std::make_unique<CountingLister>(std::make_unique<scan::Win32Lister>());
        CountingLister& lister = *counting;
        std::mutex mutex;
        std::set<DWORD> threads;
        lister.beforeOpen = [&](const std::string&) {
            {
                std::lock_guard lock(mutex);
                threads.insert(GetCurrentThreadId());
            }
            Sleep(5);  // so that the walk lasts past the pause
        };
        scan::TScanThread thread(receiver.Window(), tree.Root() + "\\", receiver.Message(), std::move(counting));
        thread.SetWorkers(3);
        thread.Start();
        ASSERT_TRUE(WaitUntil([&] { return lister.opens.load() >= 10; }));
        thread.Pause();
        Sleep(300);  // each worker reaches its next entry
        const int opens = lister.opens.load();
        const long entries = lister.entries.load();
        Sleep(300);
        EXPECT_EQ(lister.opens.load(), opens) << "a worker went on while paused";
        EXPECT_EQ(lister.entries.load(), entries) << "a worker went on while paused";
        EXPECT_LT(opens, folders + 1);

        if (cancel)
            thread.Terminate();  // resumes the pause, as the dialog's Cancel does
        else
            thread.Resume();
        WPARAM wParam = 99;
        LPARAM lParam = 99;
        ASSERT_TRUE(receiver.Wait(wParam, lParam));
        ASSERT_TRUE(thread.WaitForExit(10000));
        EXPECT_EQ(lister.openNow.load(), 0);
        EXPECT_GE(threads.size(), 2u) << "the work was not shared";
        if (cancel) {
            EXPECT_EQ(wParam, 0u);
            // Each worker stopped before its next folder.
            EXPECT_LE(lister.opens.load(), opens + 2);
            EXPECT_EQ(thread.FilesFound(), FilesIn(thread.GetInfo()));
        } else {
            EXPECT_EQ(wParam, 1u);
            EXPECT_TRUE(thread.GetInfo() == single);
            EXPECT_EQ(thread.FoldersFound(), static_cast<std::uint32_t>(folders));
        }
    }
}

TEST(TScanThread, PriorityChangesReachEveryWorker) {
    TempTree tree;
    MakeBranches(tree, 6, 8);
    Receiver receiver;
    auto counting = std::make_unique<CountingLister>(std::make_unique<scan::Win32Lister>());
    CountingLister& lister = *counting;
    // Phase 1: after the first change; 2: the second change is under way; 3: it has returned. Each open
    // records its thread's priority under the phase it surely belongs to: 1 when the phase was still 1
    // after the priority was read, 3 when it was 3 already before.
    std::atomic<int> phase{0};
    std::mutex mutex;
    std::map<int, std::map<DWORD, std::set<int>>> seen;  // phase -> thread -> priorities
    fw::KernelHandle go(CreateEventA(nullptr, TRUE, FALSE, nullptr));
    lister.beforeOpen = [&](const std::string&) {
        WaitForSingleObject(go.Get(), 10000);
        const int before = phase.load();
        const int priority = GetThreadPriority(GetCurrentThread());
        const int after = phase.load();
        {
            std::lock_guard lock(mutex);
            if (after == 1) seen[1][GetCurrentThreadId()].insert(priority);
            if (before == 3) seen[3][GetCurrentThreadId()].insert(priority);
        }
        Sleep(3);
    };
    scan::TScanThread thread(receiver.Window(), tree.Root() + "\\", receiver.Message(), std::move(counting));
    thread.SetWorkers(3);
    thread.Start();
    ASSERT_TRUE(thread.SetPriority(THREAD_PRIORITY_LOWEST));
    phase = 1;
    SetEvent(go.Get());
    ASSERT_TRUE(WaitUntil([&] { return lister.opens.load() >= 12; }));
    phase = 2;
    ASSERT_TRUE(thread.SetPriority(THREAD_PRIORITY_ABOVE_NORMAL));
    phase = 3;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
    ASSERT_TRUE(receiver.Wait(wParam, lParam));
    ASSERT_TRUE(thread.WaitForExit(10000));
    EXPECT_EQ(wParam, 1u);

    EXPECT_EQ(GetThreadPriority(thread.GetHandle()), THREAD_PRIORITY_ABOVE_NORMAL);
    EXPECT_FALSE(seen[1].empty());
    ASSERT_EQ(seen[3].size(), 3u) << "every worker lists folders after the second change";
    for (const auto& [id, priorities] : seen[1]) EXPECT_EQ(priorities, std::set<int>{THREAD_PRIORITY_LOWEST}) << id;
    for (const auto& [id, priorities] : seen[3])
        EXPECT_EQ(priorities, std::set<int>{THREAD_PRIORITY_ABOVE_NORMAL}) << id;
}
