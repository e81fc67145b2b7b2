// One scan of a root folder, the same for every caller (the scan thread, kelvaran-scan): the volume's file
// table where a reader is given and can read it, else the folder walk (ParallelWalk.h); either way the
// tree goes to one ScanOutput. Portable.
//
// Calling protocol: ScanRoot once per scan, on the thread that does the scanning; the counters and the
// control as for the walk. A file-table reader that answers kUnavailable has whatever it built dropped and
// the counters reset, and the walk starts from nothing.
#pragma once

#include "model/DirInfo.h"
#include "scan/DirLister.h"
#include "scan/ScanOutput.h"
#include "scan/Walk.h"
#include "scan/ntfs/FileTable.h"

#include <cstdint>
#include <functional>
#include <string>

namespace scan {

// Reads the tree of a root folder without walking it (see ntfs::ScanFromFileTable for the contract): the
// root's path with a trailing separator, the root record (named, empty) to fill, the counters, the control
// and the cluster size. kUnavailable sends the scan to the walk.
using FileTableReader =
    std::function<ntfs::ReadResult(const std::string& rootPath, model::DirInfo& root, ScanCounters& counters,
                                   WalkControl& control, std::uint32_t clusterSize)>;

struct ScanSource {
    DirLister& lister;
    std::string walkPath;  // the root as the lister opens it: no trailing separator ("C:", "" for /)
    std::string rootName;  // the root record's name
    std::uint32_t clusterSize = 0;
    unsigned workers = 0;       // of the walk; 0: DefaultWorkerCount()
    FileTableReader fileTable;  // empty: the walk only
};

// True when the whole tree went to `output`; false on a stop request (it then has part of the tree).
bool ScanRoot(const ScanSource& source, ScanCounters& counters, WalkControl& control, ScanOutput& output);

}  // namespace scan
