// The system's own windows that the main view opens: the folder browser (Any Folder), the file open and
// save dialogs (Import, Export) and the system file view (Open, Explore, Explore from Here). Paths are UTF-8
// in and out; the wide functions are used underneath, so names outside the code page survive. Messages go
// through the Interaction given.
#pragma once

#include "frame/Navigation.h"
#include "fw/Interaction.h"

#include <windows.h>

#include <shlobj.h>

#include <optional>
#include <string>

namespace frame {

// The shell folder browser titled "Select a folder:", opened on `startFolder` (none when empty); only file
// system folders can be chosen, a typed name that is not a folder is refused with a message and the
// browser stays open. The chosen folder without a trailing backslash (a drive root as "C:"), or nothing
// when cancelled or when the chosen folder's path cannot be had (the user is told then).
std::optional<std::string> BrowseForFolder(HWND owner, const std::string& startFolder, const fw::Interaction& ui);

// The file system path of a shell item, taken with room for the longest path the system has (not cut at
// MAX_PATH); nothing for an item that is no file system object. `read` is the system's call.
using IdListPathReader = BOOL(WINAPI*)(PCIDLIST_ABSOLUTE item, PWSTR path, DWORD pathSize, GPFIDL_FLAGS flags);
std::optional<std::string> PathOfIdList(PCIDLIST_ABSOLUTE item, IdListPathReader read = &SHGetPathFromIDListEx);

// What Any Folder makes of the browser's choice: its path without a trailing backslash (a drive root as
// "C:"), or nothing when the path cannot be had, which the user is told in a box captioned "Kelvaran".
std::optional<std::string> TakeChosenFolder(HWND owner, PCIDLIST_ABSOLUTE chosen, const fw::Interaction& ui,
                                            IdListPathReader read = &SHGetPathFromIDListEx);

// The start folder of Any Folder: the current folder without its trailing backslash when it still exists
// (it holds the null device), else the first fixed drive's root name.
std::string BrowseStartFolder(const std::string& currentFolder, const std::string& firstFixedDrive);

// The file dialogs of Import (open: the file must exist) and Export (save: asks before replacing a file),
// filtered to data files with the default extension "klv". Nothing when cancelled.
std::optional<std::string> AskDataFileToOpen(HWND owner);
std::optional<std::string> AskDataFileToSave(HWND owner);

// Starts the system file view on `folder` without waiting for it; a failure shows the system's text for
// it in a box captioned "GetLastError".
void StartExplorer(HWND owner, const std::string& folder, ExplorerKind kind, const fw::Interaction& ui);

}  // namespace frame
