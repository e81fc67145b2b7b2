// Clipboard text as UTF-16.
#include "fw/Clipboard.h"

#include <cstring>
#include <string>

#include "fw/Utf8.h"

namespace fw {
namespace {

// A movable block holding `bytes`; the clipboard owns it once SetClipboardData succeeds.
bool SetBlock(UINT format, const void* data, std::size_t bytes) {
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, bytes);
    if (!block) return false;
    void* target = GlobalLock(block);
    if (!target) {
        GlobalFree(block);
        return false;
    }
    std::memcpy(target, data, bytes);
    GlobalUnlock(block);
    if (!SetClipboardData(format, block)) {
        GlobalFree(block);
        return false;
    }
    return true;
}

}  // namespace

bool CopyTextToClipboard(HWND owner, std::string_view utf8) {
    if (!OpenClipboard(owner)) return false;
    EmptyClipboard();
    const std::wstring wide = Utf8ToWide(utf8);
    const bool ok = SetBlock(CF_UNICODETEXT, wide.c_str(), (wide.size() + 1) * sizeof(wchar_t));
    CloseClipboard();
    return ok;
}

}  // namespace fw
