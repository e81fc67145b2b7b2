// What every folder walk shares (ParallelWalk.h holds the walk itself): the three counters shown while a
// scan runs, the control that pauses and stops it, the rules for names and sizes, and the one-worker form
// of the walk that builds a tree.
//
// Calling protocol of Walker: build it over a lister, the volume's cluster size (0 = unknown), the counters
// and a control, then call Walk(root, path) once on the thread that does the scanning. Counters may be read
// from any thread while it runs (relaxed atomics, for display). The control's StopRequested() is tested
// once at the start of every folder; its PausePoint() runs there and between entries.
//
// Folders that are links (DirEntry::isReparsePoint) are appended as empty folders and never entered:
// entering them counts the same data twice, and a link back to an ancestor would repeat the tree until the
// path overflows.
#pragma once

#include "model/DirInfo.h"
#include "scan/DirLister.h"

#include <atomic>
#include <cstdint>
#include <string>
#include <string_view>

namespace scan {

struct ScanCounters {
    std::atomic<std::uint32_t> filesFound{0};
    std::atomic<std::uint32_t> foldersFound{0};  // the root not counted
    std::atomic<std::uint64_t> bytesFound{0};    // allocated sizes when the cluster size is known, else logical

    // Back to nothing found, for a scan that starts over.
    void Reset() noexcept {
        filesFound.store(0, std::memory_order_relaxed);
        foldersFound.store(0, std::memory_order_relaxed);
        bytesFound.store(0, std::memory_order_relaxed);
    }
};

// With several workers (ParallelWalk.h) every member is called from all of them at once.
class WalkControl {
public:
    virtual bool StopRequested() const = 0;
    virtual void PausePoint() = 0;
    // Run on each thread a parallel walk starts for itself: first thing there and last thing (the scan
    // thread hands its priority on to them here). Not run on the thread that called Walk.
    virtual void WorkerStarted() {}
    virtual void WorkerEnded() noexcept {}

protected:
    ~WalkControl() = default;
};

class Walker {
public:
    Walker(DirLister& lister, std::uint32_t clusterSize, ScanCounters& counters, WalkControl& control) noexcept
        : lister_(lister), clusterSize_(clusterSize), counters_(counters), control_(control) {}

    // Reads the folder at `path` (no trailing separator) into `dir`, which is expected empty. True when read
    // completely; false when it stopped on a stop request, leaving the partial tree. `path` is left as it
    // was. The walk of WalkTree (ParallelWalk.h) on this thread alone: it spends no stack per level.
    bool Walk(model::DirInfo& dir, std::string& path);

private:
    DirLister& lister_;
    std::uint32_t clusterSize_;
    ScanCounters& counters_;
    WalkControl& control_;
};

// The rules both walks share.
bool IsDotOrDotDot(const std::string& name) noexcept;
// What a file of `size` bytes adds to bytesFound.
std::uint64_t CountedBytes(std::uint64_t size, std::uint32_t clusterSize) noexcept;
// Deep totals from the folder's own files and its subfolders' finished totals. Allocated totals are left
// to the model's recomputation.
void FinishTotals(model::DirInfo& dir);

// The root record's name for a root path ending in a separator: the path less its last character
// ("C:\" gives "C:", "C:\Data\" gives "C:\Data"). An empty path stays empty.
std::string RootName(std::string_view rootPath);

}  // namespace scan
