// Putting a text on the clipboard. The program's texts are UTF-8: the clipboard gets them as CF_UNICODETEXT
// only, and the system makes the plain CF_TEXT from it in the code page of the clipboard's locale for
// programs that ask for that, so names outside ASCII reach them as the ANSI text rather than as UTF-8 bytes.
//
//   fw::CopyTextToClipboard(window, path);   // false when the clipboard could not be opened or filled
#pragma once

#include <windows.h>

#include <string_view>

namespace fw {

bool CopyTextToClipboard(HWND owner, std::string_view utf8);

}  // namespace fw
