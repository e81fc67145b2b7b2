// The help display: the main window's "Help &Topics" calls ShowHelp(owner, "") for the start page, and a
// dialog's Help button passes its topic, such as "::/statdlg.htm". A missing help file is reported with
// "Could not locate help file" at every request. The box and the viewer are the given Interaction's (the
// system's box and the HTML help control unless it brings its own).
#pragma once

#include "fw/Interaction.h"
#include "fw/TWindow.h"

#include <functional>
#include <string>

namespace about {

void ShowHelp(HWND owner, const std::string& topic, const fw::Interaction& ui);
inline void ShowHelp(fw::TWindow& owner, const std::string& topic, const fw::Interaction& ui) {
    ShowHelp(owner.GetHandle(), topic, ui);
}

// The full path of the running program; empty when the system cannot tell it whole.
std::string ModulePath();

}  // namespace about
