// The Win32 side of the recent roots: the Root drop-down rewrite and the registry behind the list.
//
//   frame::MRUPaths recent(CM_RECENT_ROOT_FIRST, frame::OpenUserSettings);
//   recent.SetMenuWriter(frame::RootMenuWriter(mainWindow));   // at the view's set-up
//   recent.RewriteMenu();
#pragma once

#include "frame/MRUPaths.h"

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

namespace frame {

// Replaces the recent roots of a Root drop-down whose last item is Exit: the items firstId..firstId+3 and
// the separator after them go; the entries and, when there are any, a separator go in before Exit.
void RewriteRecentRoots(HMENU rootMenu, unsigned firstId, const std::vector<std::string>& entries);

// A writer for the first drop-down of the window's menu bar; does nothing while the window or its menu
// does not exist.
MRUPaths::MenuWriter RootMenuWriter(HWND mainWindow);

// A short-lived store on the program's registry key.
std::unique_ptr<config::SettingsStore> OpenUserSettings();

}  // namespace frame
