// Edits of a tree in place that keep every total right without a pass over the whole tree: what one item
// adds to the totals of the folders above it, adding such a change along a path, and taking an item out.
// After any of them the totals equal what RecomputeTotals would give for the edited tree (with the same
// wrapping arithmetic: taking an item away adds the negation of what it added).
//
// Paths are relative to the root, as FindDir takes them: a folder's ends in a backslash ("Data\Photos\"),
// a file's does not ("Data\notes.txt"); components match ignoring ASCII case, the first match wins.
#pragma once

#include "model/DirInfo.h"

#include <cstdint>
#include <string_view>

namespace model {

// What an item adds to the deep totals of each folder above it. A file adds to the local totals of the
// folder that holds it as well.
struct TotalsDelta {
    std::uint32_t files = 0;  // deepFiles
    std::uint32_t dirs = 0;   // deepDirs
    std::uint64_t size = 0;   // deepSize (localSize)
    std::uint64_t alloc = 0;  // deepAlloc (localAlloc)

    TotalsDelta Negated() const noexcept;
    friend bool operator==(const TotalsDelta&, const TotalsDelta&) = default;
};

// A folder counts itself, everything below it and its deep sizes; a file itself and its sizes.
TotalsDelta ContributionOf(const DirInfo& folder) noexcept;
TotalsDelta ContributionOf(const FileInfo& file, std::uint32_t clusterSize) noexcept;

// Adds `delta` to the deep totals of the folder `relativeFolder` and of every folder above it, and, when
// `local`, to the local sizes of that folder too (a file directly in it changed). False, with nothing
// changed, when there is no such folder.
bool AddToTotals(DirInfo& root, std::string_view relativeFolder, const TotalsDelta& delta, bool local);

// The folder part of an item's relative path: everything up to its last component ("Data\" for
// "Data\Photos\" and for "Data\notes.txt", "" for an item directly in the root).
std::string_view FolderOfItem(std::string_view relativePath) noexcept;

// Takes the file or folder `relativePath` out of its folder and takes what it added off the folders above
// it. False, with nothing changed, for the root itself or a path that names nothing.
bool RemoveItem(DirInfo& root, std::string_view relativePath, std::uint32_t clusterSize);

}  // namespace model
