// The help display: the main window's "Help &Topics" calls ShowHelp(owner, "") for the start page, and a
// dialog's Help button passes its topic, such as "::/statdlg.htm". A missing help file is reported with
// "Could not locate help file" at every request.
//
// Tests put their own viewer in place of the system's with SetHelpViewer.
#pragma once

#include "fw/TWindow.h"

#include <functional>
#include <string>

namespace about {

void ShowHelp(HWND owner, const std::string& topic);
inline void ShowHelp(fw::TWindow& owner, const std::string& topic) { ShowHelp(owner.GetHandle(), topic); }

// Receives the owner and the help file's path with the topic appended; an empty viewer restores the
// system's. Returns the previous one.
using HelpViewer = std::function<void(HWND owner, const std::string& fileAndTopic)>;
HelpViewer SetHelpViewer(HelpViewer viewer);

// The full path of the running program; empty when the system cannot tell it whole.
std::string ModulePath();

}  // namespace about
