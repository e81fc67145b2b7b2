// The walk's view of the file system: open a listing of one folder, read its entries in the system's order,
// close it by destroying the listing. Implementations: the Win32 lister (FindFirstFileW on the "\\?\" form,
// UTF-8 at its edge) and the POSIX lister (opendir/readdir + fstatat, native builds only).
// Open may be called from several threads at once (the parallel walk); each listing stays on one thread.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace scan {

struct DirEntry {
    std::string name;  // UTF-8, as listed; "." and ".." are passed through for the walk to skip
    bool isDirectory = false;
    bool isReparsePoint = false;  // a link (junction, directory link, mount point): listed but never entered
    std::uint64_t size = 0;       // logical size in bytes (files)
};

// One open listing; the destructor closes it, so every path out of the walk closes what it opened.
class DirListing {
public:
    virtual ~DirListing() = default;
    // Fills `entry` with the next entry; false when there are no more (or the listing failed midway).
    virtual bool Next(DirEntry& entry) = 0;
};

class DirLister {
public:
    virtual ~DirLister() = default;
    // Opens a listing of the folder `path` (no trailing separator; the root's path may be "C:" or, on
    // POSIX, empty for "/"). Null when the folder cannot be listed.
    virtual std::unique_ptr<DirListing> Open(const std::string& path) = 0;
    // Separator the walk puts between a folder path and an entry name.
    virtual char Separator() const = 0;
};

}  // namespace scan
