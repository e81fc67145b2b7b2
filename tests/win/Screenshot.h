// Saves a window as it is on screen to a 24-bit BMP under build/gui-artifacts (or beside the test when no
// build folder is above it), for people to look at.
#pragma once

#include "fw/Handles.h"

#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

namespace win_test {

inline std::string ArtifactsFolder() {
    char module[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, module, MAX_PATH);
    std::string folder = module;
    folder.erase(folder.find_last_of('\\'));
    for (std::string up = folder; up.size() > 3; up.erase(up.find_last_of('\\')))
        if (up.substr(up.find_last_of('\\') + 1) == "build") {
            folder = up + "\\gui-artifacts";
            CreateDirectoryA(folder.c_str(), nullptr);
            break;
        }
    return folder;
}

// Pumps the window's pending paints first, so the shot shows what the user would see.
inline bool SaveScreenshot(HWND window, const std::string& fileName) {
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    for (MSG msg; PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE);) DispatchMessageA(&msg);
    RECT rect{};
    GetWindowRect(window, &rect);
    const int width = rect.right - rect.left, height = rect.bottom - rect.top;
    fw::ClientDC screen(nullptr);
    fw::MemoryDC memory(CreateCompatibleDC(screen.Get()));
    fw::Bitmap bitmap(CreateCompatibleBitmap(screen.Get(), width, height));
    {
        fw::SelectGuard select(memory.Get(), bitmap.Get());
        BitBlt(memory.Get(), 0, 0, width, height, screen.Get(), rect.left, rect.top, SRCCOPY | CAPTUREBLT);
    }
    BITMAPINFOHEADER info{sizeof info, width, height, 1, 24, BI_RGB};
    const DWORD stride = (static_cast<DWORD>(width) * 3 + 3) & ~3u;
    std::vector<char> pixels(stride * static_cast<DWORD>(height));
    if (!GetDIBits(memory.Get(), bitmap.Get(), 0, static_cast<UINT>(height), pixels.data(),
                   reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS))
        return false;
    BITMAPFILEHEADER header{0x4D42, static_cast<DWORD>(sizeof(BITMAPFILEHEADER) + sizeof info + pixels.size()), 0, 0,
                            sizeof(BITMAPFILEHEADER) + sizeof info};
    FILE* file = std::fopen((ArtifactsFolder() + "\\" + fileName).c_str(), "wb");
    if (!file) return false;
    std::fwrite(&header, sizeof header, 1, file);
    std::fwrite(&info, sizeof info, 1, file);
    std::fwrite(pixels.data(), 1, pixels.size(), file);
    return std::fclose(file) == 0;
}

}  // namespace win_test
