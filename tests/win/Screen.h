// What a window looks like on screen, for the window tests: screenshots saved under build/gui-artifacts
// for people to look at, and pixels read back once what was drawn has reached the screen.
#pragma once

#include "WindowTestSupport.h"
#include "fw/Handles.h"

#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

namespace screentest {

// Runs the thread's messages for `ms` milliseconds (0: until the queue is empty).
inline void Pump(DWORD ms = 0) {
    const DWORD start = GetTickCount();
    MSG msg;
    do {
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        if (ms) Sleep(5);
    } while (GetTickCount() - start < ms);
}

// The window as it is on screen, as a 24-bit BMP under build/gui-artifacts (or beside the test).
inline bool SaveScreenshot(HWND window, const std::string& fileName) {
    const std::string folder = test_support::ArtifactsDir();
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
    FILE* file = std::fopen((folder + "\\" + fileName).c_str(), "wb");
    if (!file) return false;
    std::fwrite(&header, sizeof header, 1, file);
    std::fwrite(&info, sizeof info, 1, file);
    std::fwrite(pixels.data(), 1, pixels.size(), file);
    return std::fclose(file) == 0;
}

// A rectangle of a window's client area as it is on screen, row by row, once what was drawn has reached
// the screen.
class ScreenCapture {
public:
    ScreenCapture(HWND window, const RECT& rect) : origin_{rect.left, rect.top}, width_(rect.right - rect.left) {
        Pump(50);
        POINT at = origin_;
        ClientToScreen(window, &at);
        const int height = rect.bottom - rect.top;
        pixels_.resize(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height));
        fw::ClientDC screen(nullptr);
        fw::MemoryDC memory(CreateCompatibleDC(screen.Get()));
        fw::Bitmap bitmap(CreateCompatibleBitmap(screen.Get(), width_, height));
        {
            fw::SelectGuard select(memory.Get(), bitmap.Get());
            BitBlt(memory.Get(), 0, 0, width_, height, screen.Get(), at.x, at.y, SRCCOPY);
        }
        BITMAPINFOHEADER info{sizeof info, width_, -height, 1, 32, BI_RGB};
        GetDIBits(memory.Get(), bitmap.Get(), 0, static_cast<UINT>(height), pixels_.data(),
                  reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS);
    }
    // A pixel at client coordinates x, y as a COLORREF.
    COLORREF At(int x, int y) const {
        const DWORD bgr = pixels_[static_cast<std::size_t>(y - origin_.y) * width_ + (x - origin_.x)];
        return RGB((bgr >> 16) & 0xFF, (bgr >> 8) & 0xFF, bgr & 0xFF);
    }

private:
    POINT origin_;
    int width_;
    std::vector<DWORD> pixels_;
};

// One pixel of a window's client area as it is on screen.
inline COLORREF ScreenPixel(HWND window, int x, int y) {
    return ScreenCapture(window, RECT{x, y, x + 1, y + 1}).At(x, y);
}

}  // namespace screentest
