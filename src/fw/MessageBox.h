// The one way the program shows a message box. Tests install a handler to answer boxes unattended and to
// see what the user would have been told.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

namespace fw {

using MessageBoxHandler = std::function<int(HWND owner, const std::string& text, const std::string& caption, UINT flags)>;

int ShowMessageBox(HWND owner, const std::string& text, const std::string& caption, UINT flags);

// Replaces the system box (an empty handler restores it); returns the previous handler.
MessageBoxHandler SetMessageBoxHandler(MessageBoxHandler handler);

}  // namespace fw
