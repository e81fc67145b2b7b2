// The system's own windows that the main view opens: the folder browser (Any Folder), the file open and
// save dialogs (Import, Export) and the system file view (Open, Explore, Explore from Here). Paths are UTF-8
// in and out; the wide functions are used underneath, so names outside the code page survive.
#pragma once

#include "frame/Navigation.h"

#include <windows.h>

#include <optional>
#include <string>

namespace frame {

// The shell folder browser titled "Select a folder:", opened on `startFolder` (none when empty); only file
// system folders can be chosen, a typed name that is not a folder is refused with a message and the
// browser stays open. The chosen folder without a trailing backslash (a drive root as "C:"), or nothing
// when cancelled.
std::optional<std::string> BrowseForFolder(HWND owner, const std::string& startFolder);

// The start folder of Any Folder: the current folder without its trailing backslash when it still exists
// (it holds the null device), else the first fixed drive's root name.
std::string BrowseStartFolder(const std::string& currentFolder, const std::string& firstFixedDrive);

// The file dialogs of Import (open: the file must exist) and Export (save: asks before replacing a file),
// filtered to data files with the default extension "klv". Nothing when cancelled.
std::optional<std::string> AskDataFileToOpen(HWND owner);
std::optional<std::string> AskDataFileToSave(HWND owner);

// Starts the system file view on `folder` without waiting for it; a failure shows the system's text for
// it in a box captioned "GetLastError".
void StartExplorer(HWND owner, const std::string& folder, ExplorerKind kind);

}  // namespace frame
