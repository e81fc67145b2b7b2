// The system's side of the commands on files and folders: what a path names on the disk now, opening an
// item, its properties sheet, moving it to the Recycle Bin or removing it for good, and what a delete left
// behind with the system's reasons. Paths are UTF-8 full paths (a folder's ends in a backslash); the wide
// calls are used underneath, with the long form past MAX_PATH where the call takes it.
//
// Links (symbolic links, junctions, mount points: scan/ReparsePoint.h) are removed as links, never
// followed, by either delete: the shell's Recycle Bin is not trusted with them, since some shells move
// what a link points to rather than the link.
//
//   const DiskLook look = LookAtDisk("C:\\Data\\Old\\");
//   const unsigned long error = DeleteItem(owner, "C:\\Data\\Old\\", true, ui);   // ui may answer instead
//   std::size_t more = 0; const auto left = WhatRemains("C:\\Data\\Old\\", error, 20, more);
#pragma once

#include "frame/CommandLine.h"
#include "frame/ItemRules.h"
#include "fw/Interaction.h"

#include <windows.h>

#include <cstddef>
#include <string>
#include <vector>

namespace frame {

struct DiskLook {
    PathKind kind = PathKind::kMissing;
    bool link = false;        // a reparse point that names another place
    bool volumeRoot = false;  // the system names it the root of a volume (a drive, a mount point)
};
DiskLook LookAtDisk(const std::string& path);
PathKind KindOnDisk(const std::string& path);

// The system's message for an error code on one line, or "Error N" when it has none.
std::string SystemErrorText(unsigned long error);

// 0 when the system acted, else its error code. Each goes to `ui`'s answer when it has one.
unsigned long OpenItem(HWND owner, const std::string& path, const fw::Interaction& ui);
unsigned long ShowItemProperties(HWND owner, const std::string& path, const fw::Interaction& ui);
unsigned long DeleteItem(HWND owner, const std::string& path, bool toRecycleBin, const fw::Interaction& ui);

// The system's own actions behind them.
unsigned long SystemOpenItem(HWND owner, const std::string& path);
unsigned long SystemItemProperties(HWND owner, const std::string& path);
unsigned long SystemDeleteItem(HWND owner, const std::string& path, bool toRecycleBin);

// What is left of `path` after a delete: itself when it is a file or link, else the files, links and empty
// folders below it, each with the reason the system gives for refusing to delete it now, or the text of
// `operationError` when it gives none. At most `limit`; `more` counts the rest.
std::vector<RemovalFailure> WhatRemains(const std::string& path, unsigned long operationError, std::size_t limit,
                                        std::size_t& more);

}  // namespace frame
