// Native (non-Windows) lister for tests under sanitizers and for benchmarks: opendir/readdir, and one
// fstatat per entry without following links. Symbolic links to folders and folders on another device
// (mount points) are reported as reparse-point folders, so the walk lists but does not enter them, as it
// does with junctions and directory links on Windows. Other links are files of their own (link) size.
#pragma once

#ifndef _WIN32

#include "scan/DirLister.h"

namespace scan {

class PosixLister final : public DirLister {
public:
    std::unique_ptr<DirListing> Open(const std::string& path) override;
    char Separator() const override { return '/'; }
};

}  // namespace scan

#endif
