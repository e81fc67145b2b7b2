// The directory walk on several workers sharing one queue of folders. It builds the same tree as the single
// walk (Walk.h) record for record: children in listing order, the same totals and counters, the same rules
// for links, unlistable folders and stop requests. Portable; used by the scan thread and headless tools.
//
// Calling protocol: as Walker, with a number of workers. Walk() runs on the calling thread, which is one
// of the workers; it starts the others itself and has joined them all when it returns, however it
// returns. The lister's Open and the control's members are called from every worker at once. Pause: each
// worker stops at its next entry. Stop: each worker stops before its next folder, so every listing is
// closed when Walk returns false. An exception on any worker stops the others and is rethrown by Walk.
// Each worker adds to the counters every 256 entries and at the end of each folder's listing.
//
// Assembly: the worker that takes a folder from the queue lists it into the folder's own record, which
// its parent's listing placed in listing order; then it queues the subfolders to enter. A folder's
// totals are finished by the worker that finishes its last subfolder. Besides the tree itself the walk
// keeps one small record per folder begun and not yet finished, never a listing, so memory follows the
// tree. Nothing here recurses per level: any worker stack takes any depth.
#pragma once

#include "model/DirInfo.h"
#include "scan/DirLister.h"
#include "scan/Walk.h"

#include <cstdint>
#include <string>

namespace scan {

// The number of workers when none is asked for: the processors, at least 1 and at most 8.
unsigned DefaultWorkerCount() noexcept;

class ParallelWalker {
public:
    // workers: 0 means DefaultWorkerCount(). With fewer threads than asked for (the system refused one)
    // the walk goes on with those it has.
    ParallelWalker(DirLister& lister, std::uint32_t clusterSize, ScanCounters& counters, WalkControl& control,
                   unsigned workers) noexcept;

    // Reads the folder at `path` (no trailing separator) into `root`, which is expected empty. True when
    // read completely; false when it stopped on a stop request, leaving a partial tree.
    bool Walk(model::DirInfo& root, const std::string& path);

private:
    DirLister& lister_;
    std::uint32_t clusterSize_;
    ScanCounters& counters_;
    WalkControl& control_;
    unsigned workers_;
};

// The walk for a number of workers (0: the default): the single walk for one, which recurses once per
// level (call it on a thread with the stack TThread reserves), the parallel walk for more.
bool WalkTree(DirLister& lister, std::uint32_t clusterSize, ScanCounters& counters, WalkControl& control,
              unsigned workers, model::DirInfo& root, const std::string& path);

}  // namespace scan
