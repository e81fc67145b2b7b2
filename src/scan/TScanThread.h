// The scan worker: reads one folder tree into a model::DirInfo on its own thread. Created and driven by
// the progress dialog on the user-interface thread:
//
//   UINT endMsg = RegisterWindowMessageA("THREAD_END_MSG");
//   auto thread = std::make_unique<scan::TScanThread>(dialogHwnd, "C:\\Data\\", endMsg);  // detects the
//   thread->Start();                                                                     // cluster size now
//   thread->SetPriority(THREAD_PRIORITY_BELOW_NORMAL);
//   ... once a second: thread->FilesFound(), FoldersFound(), BytesFound() (any time, relaxed atomics)
//   ... Pause: thread->Suspend() / thread->Resume() (cooperative; status Suspended meanwhile)
//   ... Cancel: thread->Terminate() (also wakes a paused walk; takes effect at the next folder)
//   ... SetPriority applies to the walk's workers as well
//   on endMsg (wParam 1 completed, 0 stopped; lParam 0): thread->WaitForExit(); thread->RethrowFailure()
//   (a walk that threw ends as stopped); then GetInfo() and GetClusterSize() may be read; the tree
//   belongs to the thread object until it is destroyed.
//
// The tree comes from the volume's file table when that can be read (a local NTFS volume opened raw, which
// needs administrator rights), and from the folder walk otherwise (ScanRoot.h); both give the same tree and
// counters. The walk runs on this thread and, unless SetWorkers(1) was called, on further workers
// (ParallelWalk.h): they pause, stop and take priorities with it.
//
// The destructor stops and waits for a thread still running, so destroying it early is safe.
#pragma once

#include "fw/TThread.h"
#include "model/DirInfo.h"
#include "scan/DirLister.h"
#include "scan/ScanRoot.h"
#include "scan/Walk.h"

#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace scan {

class TScanThread : public fw::TThread, private WalkControl {
public:
    // rootPath: a folder path ending in a backslash ("C:\", "C:\Data\"), UTF-8. It is made absolute and
    // normalised first ("C:\Windows\..\Users\" is scanned as "C:\Users\"); the root record is named after
    // that path less its last backslash, and the cluster size of its volume is detected here, synchronously.
    // `lister` replaces the Win32 lister (tests); null means the Win32 lister. `reader` replaces the
    // file-table reader (tests); when empty, the file table is tried only with the Win32 lister, since a
    // replaced lister stands for a file system of its own.
    TScanThread(HWND notifyWindow, const std::string& rootPath, UINT endMessage,
                std::unique_ptr<DirLister> lister = nullptr, FileTableReader reader = {});
    ~TScanThread() override;

    // Valid to read only after the end message has arrived and WaitForExit() returned.
    const model::DirInfo& GetInfo() const noexcept { return root_; }
    model::DirInfo& GetInfo() noexcept { return root_; }
    std::uint32_t GetClusterSize() const noexcept { return clusterSize_; }

    std::uint32_t FilesFound() const noexcept { return counters_.filesFound.load(std::memory_order_relaxed); }
    std::uint32_t FoldersFound() const noexcept { return counters_.foldersFound.load(std::memory_order_relaxed); }
    std::uint64_t BytesFound() const noexcept { return counters_.bytesFound.load(std::memory_order_relaxed); }
    const ScanCounters& Counters() const noexcept { return counters_; }

    // Pause/continue the walk (same as Suspend/Resume of the base).
    void Pause() { Suspend(); }

    // Number of workers of the walk, this thread included (0: one per processor, at most 8; 1: the
    // single walk). Before Start.
    void SetWorkers(unsigned workers) noexcept { workers_ = workers; }

    // This thread's priority and that of every worker, including those started later.
    bool SetPriority(int priority) override;

protected:
    // Walks the tree, posts the end message (wParam 1 completed, 0 stopped), returns 0.
    int Run() override;

private:
    bool StopRequested() const override { return ShouldTerminate(); }
    void PausePoint() override { WaitWhileSuspended(); }
    void WorkerStarted() override;
    void WorkerEnded() noexcept override;

    struct WorkerThread {
        DWORD id;
        fw::KernelHandle handle;  // may set and query the priority
    };

    ScanCounters counters_;
    std::uint32_t clusterSize_ = 0;
    HWND notifyWindow_;
    model::DirInfo root_;
    UINT endMessage_;
    std::unique_ptr<DirLister> lister_;
    FileTableReader reader_;
    unsigned workers_ = 0;
    std::mutex workersLock_;  // guards the two below: the workers come and go while the dialog sets priorities
    std::vector<WorkerThread> workerThreads_;
    std::optional<int> priority_;
};

}  // namespace scan
