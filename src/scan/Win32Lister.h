// Win32 lister: FindFirstFileW/FindNextFileW on the "\\?\" form of p + "\*.*", so paths past 259
// characters list too; names are converted between the program's UTF-8 and UTF-16 here and nowhere else.
// Reparse points that are links (junctions, directory links, mount points; ReparsePoint.h) are reported as
// such; folders behind other reparse points are ordinary folders to the walk.
#pragma once

#include "scan/DirLister.h"

#include <string>

namespace scan {

class Win32Lister final : public DirLister {
public:
    std::unique_ptr<DirListing> Open(const std::string& path) override;
    char Separator() const override { return '\\'; }
};

// The wide search pattern for a folder path: "C:" gives \\?\C:\*.*, "\\srv\share\x" gives
// \\?\UNC\srv\share\x\*.*; forward slashes become backslashes. Relative paths are used as they are, since
// the "\\?\" form takes no relative parts.
std::wstring SearchPattern(const std::string& folderPath);

// The absolute, normalised form of a folder path (GetFullPathNameW: resolved against the current folder,
// "." and ".." applied, doubled backslashes and trailing dots dropped), ending in a backslash when the path
// did. The "\\?\" form takes every part literally, so a root passes through here before the walk puts it
// on. Returned unchanged when the system cannot resolve it.
std::string FullFolderPath(const std::string& folderPath);

}  // namespace scan
