// The directory walk: one or more workers share the folders to list, and the folders go to a ScanOutput
// (ScanOutput.h) in pre-order, the same calls whatever the number of workers: children in listing order,
// the same counters, the same rules for links, unlistable folders and stop requests. Portable; every scan
// goes through it (ScanRoot.h), and the tree forms below serve callers that want the tree itself.
//
// Calling protocol: WalkFolders runs on the calling thread, which is one of the workers; it starts the
// others itself and has joined them all when it returns, however it returns. The lister's Open and the
// control's members are called from every worker at once. Pause: each worker stops at its next entry.
// Stop: each worker stops before its next folder, so every listing is closed when the walk returns false.
// An exception on any worker, or from the output, stops the others and is rethrown by the walk. Each
// worker adds to the counters every 256 entries and at the end of each folder's listing; a stopped walk
// takes back what it found beyond the folders handed on, so the counters then describe what the output got.
//
// Order: a folder can be handed on only once everything before it in pre-order has been, and each is read
// completely and closed before anything below it is opened. Workers take the folders to list earliest in
// pre-order first and list ahead of the output by at most its LookAhead() entries (the folder that comes
// next is always taken), so the walk holds a bounded number of listings besides one small record per
// folder named and not yet handed on with everything below it. The worker that lists the folder that
// comes next hands on it and every folder ready after it. Nothing here recurses per level: any worker
// stack takes any depth.
#pragma once

#include "model/DirInfo.h"
#include "scan/DirLister.h"
#include "scan/ScanOutput.h"
#include "scan/Walk.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace scan {

// The number of workers when none is asked for: the processors, at least 1 and at most 8.
unsigned DefaultWorkerCount() noexcept;

// Walks the folder at `path` (no trailing separator) into `output`, the root's record named `rootName`.
// workers: 0 means DefaultWorkerCount(); with fewer threads than asked for (the system refused one) the
// walk goes on with those it has. True when the whole tree was handed on; false on a stop request.
bool WalkFolders(DirLister& lister, std::uint32_t clusterSize, ScanCounters& counters, WalkControl& control,
                 unsigned workers, std::string_view rootName, const std::string& path, ScanOutput& output);

// The walk into a tree: reads the folder at `path` into `root` (named, expected empty). True when read
// completely; false when it stopped on a stop request, leaving a partial tree.
bool WalkTree(DirLister& lister, std::uint32_t clusterSize, ScanCounters& counters, WalkControl& control,
              unsigned workers, model::DirInfo& root, const std::string& path);

// WalkTree with a fixed number of workers, for callers that keep one walker object.
class ParallelWalker {
public:
    ParallelWalker(DirLister& lister, std::uint32_t clusterSize, ScanCounters& counters, WalkControl& control,
                   unsigned workers) noexcept
        : lister_(lister), clusterSize_(clusterSize), counters_(counters), control_(control), workers_(workers) {}

    bool Walk(model::DirInfo& root, const std::string& path) {
        return WalkTree(lister_, clusterSize_, counters_, control_, workers_, root, path);
    }

private:
    DirLister& lister_;
    std::uint32_t clusterSize_;
    ScanCounters& counters_;
    WalkControl& control_;
    unsigned workers_;
};

}  // namespace scan
