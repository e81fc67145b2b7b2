// One scan of a root folder (see ScanRoot.h).
#include "scan/ScanRoot.h"

#include "scan/ParallelWalk.h"

namespace scan {

bool ScanRoot(const ScanSource& source, ScanCounters& counters, WalkControl& control, ScanOutput& output) {
    if (source.fileTable) {
        model::DirInfo tree(source.rootName);
        const ntfs::ReadResult read =
            source.fileTable(source.walkPath + source.lister.Separator(), tree, counters, control, source.clusterSize);
        if (read != ntfs::ReadResult::kUnavailable) {
            output.WholeTree(tree);
            return read == ntfs::ReadResult::kComplete;
        }
        counters.Reset();
    }
    return WalkFolders(source.lister, source.clusterSize, counters, control, source.workers, source.rootName,
                       source.walkPath, output);
}

}  // namespace scan
