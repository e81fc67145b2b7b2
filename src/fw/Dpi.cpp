#include "fw/Dpi.h"

#include "fw/DpiScale.h"

namespace fw {
namespace {

// The per-DPI calls exist from Windows 10 1607 on; the program also runs where they do not.
template <class Function>
Function User32(const char* name) noexcept {
    HMODULE user32 = GetModuleHandleA("user32.dll");
    return user32 ? reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(user32, name))) : nullptr;
}

}  // namespace

int SystemDpi() noexcept {
    static const int dpi = [] {
        ClientDC screen(nullptr);
        const int value = screen.Get() ? GetDeviceCaps(screen.Get(), LOGPIXELSY) : 0;
        return value > 0 ? value : kBaseDpi;
    }();
    return dpi;
}

int WindowDpi(HWND wnd) noexcept {
    using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
    static const auto getDpiForWindow = User32<GetDpiForWindowFn>("GetDpiForWindow");
    if (wnd && getDpiForWindow)
        if (const UINT dpi = getDpiForWindow(wnd); dpi > 0) return static_cast<int>(dpi);
    return SystemDpi();
}

int MetricForDpi(int index, int dpi) noexcept {
    using GetSystemMetricsForDpiFn = int(WINAPI*)(int, UINT);
    static const auto forDpi = User32<GetSystemMetricsForDpiFn>("GetSystemMetricsForDpi");
    if (dpi <= 0 || dpi == SystemDpi()) return GetSystemMetrics(index);
    if (forDpi) return forDpi(index, static_cast<UINT>(dpi));
    return ScaleLength(GetSystemMetrics(index), dpi, SystemDpi());
}

Font GuiFontForDpi(int dpi) {
    if (dpi <= 0 || dpi == SystemDpi()) return {};
    LOGFONTW face{};
    if (!GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof face, &face)) return {};
    face.lfHeight = ScaleLength(face.lfHeight, dpi, SystemDpi());
    face.lfWidth = 0;
    return Font(CreateFontIndirectW(&face));
}

}  // namespace fw
