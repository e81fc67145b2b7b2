// Where a scan's tree goes: built in memory (TreeOutput.h) or written to a data file as it is found
// (DataFileOutput.h). Portable.
//
// Calling protocol: the walk (ParallelWalk.h) calls Folder once for every folder of the tree in pre-order:
// the root first, then each folder's subfolders in their listing order, each followed by everything below
// it; a link or a folder that cannot be listed comes as an empty listing. The file-table reader, which
// builds the whole tree at once, hands it to WholeTree instead. Calls come one at a time, each finished
// before the next begins, but not always on the same thread.
#pragma once

#include "model/DirInfo.h"

#include <cstddef>
#include <string_view>

namespace scan {

class ScanOutput {
public:
    // `name`: the folder's name as listed (the root's: the name its caller gave it). `listing`: its own
    // files and subfolders in listing order (subfolders as empty records with their names) and its
    // localSize; listing.name is not set. The output may take the lists.
    virtual void Folder(std::string_view name, model::DirInfo& listing) = 0;
    // The whole tree, named, its logical totals finished; the output may take it.
    virtual void WholeTree(model::DirInfo& tree) = 0;
    // How many entries (files and folders) of folders listed but not yet handed on the walk may hold for
    // this output: its memory while it waits for the folder that comes next. A folder that comes next is
    // always listed, however large.
    virtual std::size_t LookAhead() const noexcept = 0;

protected:
    ~ScanOutput() = default;
};

}  // namespace scan
