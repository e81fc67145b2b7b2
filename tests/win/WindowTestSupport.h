// Shared pieces for tests that drive real windows under Wine: a top-level host window that keeps one child
// filling its client area, a message pump with a deadline, screen pixels of a window, screenshots under
// build/gui-artifacts/ for people to look at, and the clipboard's text as other programs read it.
#pragma once

#include <windows.h>

#include <chrono>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "fw/Handles.h"
#include "fw/TWindow.h"

namespace test_support {

// A borderless top-level window at the screen's top-left corner; its child (if any) fills the client area.
class HostWindow : public fw::TWindow {
public:
    HostWindow(int width, int height) {
        Attr().style = WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN;
        Attr().x = Attr().y = 0;
        Attr().width = width;
        Attr().height = height;
    }
    void SetChild(HWND child) noexcept { child_ = child; }
    void Resize(int width, int height) {
        SetWindowPos(GetHandle(), nullptr, 0, 0, width, height, SWP_NOZORDER | SWP_NOMOVE | SWP_NOACTIVATE);
    }

protected:
    const char* ClassName() const override { return "KelvaranTestHost"; }
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override {
        if (msg == WM_SIZE && child_) MoveWindow(child_, 0, 0, LOWORD(lParam), HIWORD(lParam), TRUE);
        return fw::TWindow::HandleMessage(msg, wParam, lParam);
    }

private:
    HWND child_ = nullptr;
};

// Dispatches messages until `done` says so or the time is up; true when `done` was reached.
inline bool PumpUntil(const std::function<bool()>& done, std::chrono::milliseconds limit) {
    const auto end = std::chrono::steady_clock::now() + limit;
    for (;;) {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        if (done && done()) return true;
        if (std::chrono::steady_clock::now() >= end) return false;
        Sleep(2);
    }
}
inline void Pump(std::chrono::milliseconds duration) { PumpUntil(nullptr, duration); }

// Pixels as 0x00RRGGBB, row by row from the top.
struct Pixels {
    int width = 0, height = 0;
    std::vector<std::uint32_t> data;
    std::uint32_t At(int x, int y) const { return data[static_cast<std::size_t>(y) * width + x] & 0xFFFFFF; }
};

// The pixels of any DC (a back buffer, or a window's client DC) from its top-left corner.
inline Pixels CaptureDc(HDC dc, int width, int height) {
    Pixels p;
    p.width = width;
    p.height = height;
    p.data.resize(static_cast<std::size_t>(width) * height);
    fw::MemoryDC memory(CreateCompatibleDC(dc));
    fw::Bitmap bitmap(CreateCompatibleBitmap(dc, width, height));
    {
        fw::SelectGuard select(memory.Get(), bitmap.Get());
        BitBlt(memory.Get(), 0, 0, width, height, dc, 0, 0, SRCCOPY);
    }
    BITMAPINFOHEADER info{sizeof info, width, -height, 1, 32, BI_RGB};
    GetDIBits(memory.Get(), bitmap.Get(), 0, static_cast<UINT>(height), p.data.data(),
              reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS);
    return p;
}

inline Pixels CaptureClient(HWND window) {
    RECT client{};
    GetClientRect(window, &client);
    fw::ClientDC dc(window);
    return CaptureDc(dc.Get(), client.right, client.bottom);
}

// build/gui-artifacts of the build tree the test runs from (created when missing).
inline std::string ArtifactsDir() {
    char module[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, module, MAX_PATH);
    std::string folder = module;
    folder.erase(folder.find_last_of('\\'));
    for (std::string up = folder; up.size() > 3; up.erase(up.find_last_of('\\')))
        if (up.substr(up.find_last_of('\\') + 1) == "build") {
            folder = up + "\\gui-artifacts";
            break;
        }
    CreateDirectoryA(folder.c_str(), nullptr);
    return folder;
}

// A 32-bit BMP of captured pixels.
inline bool SaveBmp(const Pixels& p, const std::string& fileName) {
    BITMAPINFOHEADER info{sizeof info, p.width, -p.height, 1, 32, BI_RGB};
    const DWORD bytes = static_cast<DWORD>(p.data.size() * 4);
    BITMAPFILEHEADER header{0x4D42, static_cast<DWORD>(sizeof(BITMAPFILEHEADER) + sizeof info + bytes), 0, 0,
                            sizeof(BITMAPFILEHEADER) + sizeof info};
    std::FILE* file = std::fopen((ArtifactsDir() + "\\" + fileName).c_str(), "wb");
    if (!file) return false;
    const bool ok = std::fwrite(&header, sizeof header, 1, file) == 1 &&
                    std::fwrite(&info, sizeof info, 1, file) == 1 &&
                    std::fwrite(p.data.data(), 1, bytes, file) == bytes;
    return std::fclose(file) == 0 && ok;
}

// The clipboard's text as another program reads it: as UTF-16, and as plain text (CF_TEXT), which the
// system makes in the ANSI code page of the clipboard's locale (`plainCodePage`).
struct ClipboardTexts {
    std::wstring unicode;
    std::string plain;
    UINT plainCodePage = 0;
};
inline ClipboardTexts ReadClipboard(HWND owner) {
    ClipboardTexts texts;
    if (!OpenClipboard(owner)) return texts;
    if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
        if (const auto* wide = static_cast<const wchar_t*>(GlobalLock(data))) texts.unicode = wide;
        GlobalUnlock(data);
    }
    LCID locale = GetUserDefaultLCID();
    if (HANDLE data = GetClipboardData(CF_LOCALE)) {
        if (const auto* id = static_cast<const LCID*>(GlobalLock(data))) locale = *id;
        GlobalUnlock(data);
    }
    GetLocaleInfoW(locale, LOCALE_IDEFAULTANSICODEPAGE | LOCALE_RETURN_NUMBER,
                   reinterpret_cast<wchar_t*>(&texts.plainCodePage), sizeof(UINT) / sizeof(wchar_t));
    if (HANDLE data = GetClipboardData(CF_TEXT)) {
        if (const auto* narrow = static_cast<const char*>(GlobalLock(data))) texts.plain = narrow;
        GlobalUnlock(data);
    }
    CloseClipboard();
    return texts;
}

// `text` in code page `codePage`, characters it lacks replaced as the system replaces them.
inline std::string InCodePage(const std::wstring& text, UINT codePage) {
    const int bytes = WideCharToMultiByte(codePage, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
    if (bytes <= 0) return {};
    std::string out(static_cast<std::size_t>(bytes), '\0');
    WideCharToMultiByte(codePage, 0, text.c_str(), -1, out.data(), bytes, nullptr, nullptr);
    out.pop_back();
    return out;
}

}  // namespace test_support
