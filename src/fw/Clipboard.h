// Putting a text on the clipboard. The program's texts are UTF-8: the clipboard gets them as CF_TEXT
// (the bytes as they are) and as CF_UNICODETEXT (converted), so that names outside ASCII paste correctly
// into programs that read either form.
//
//   fw::CopyTextToClipboard(window, path);   // false when the clipboard could not be opened or filled
#pragma once

#include <windows.h>

#include <string_view>

namespace fw {

bool CopyTextToClipboard(HWND owner, std::string_view utf8);

}  // namespace fw
