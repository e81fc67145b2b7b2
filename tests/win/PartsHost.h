// A test host window holding the main window's parts the way the main frame does: the tool bar on top, a
// splitter with the folder tree beside a placeholder pane, and the three status bars at the bottom. It is
// the tree's host (root, current folder, "DialogLook", navigation by names, recorded) and the command
// target of the tool bar (commands recorded). Status bar marks go to an in-memory store.
#pragma once

#include "config/SettingsStore.h"
#include "frame/CommonControls.h"
#include "frame/TMyControlBar.h"
#include "frame/TMyStatusDeepData.h"
#include "frame/TMyStatusHeader.h"
#include "frame/TMyStatusShallowData.h"
#include "frame/TSplitWnd.h"
#include "frame/TTreeStruct.h"
#include "fw/Handles.h"
#include "model/DirInfo.h"
#include "resource.h"

#include <windows.h>

#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace partstest {

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

using Values = std::map<std::string, std::string, std::less<>>;

class MapStore : public config::SettingsStore {
public:
    explicit MapStore(Values& values) : values_(values) {}
    std::string ReadString(std::string_view name, std::string_view fallback) const override {
        auto it = values_.find(name);
        return it != values_.end() ? it->second : std::string(fallback);
    }
    void WriteString(std::string_view name, std::string_view text) override { values_[std::string(name)] = text; }

private:
    Values& values_;
};

// The pie's place in the tests: a plain pane.
class TPlaceholder : public fw::TWindow {
public:
    explicit TPlaceholder(fw::TWindow* parent) : TWindow(parent) { Attr().style = WS_CHILD | WS_VISIBLE; }

protected:
    const char* ClassName() const override { return "KelvaranTestPane"; }
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override {
        if (msg == WM_PAINT) {
            fw::PaintDC paint(GetHandle());
            RECT client{};
            GetClientRect(GetHandle(), &client);
            FillRect(paint.Get(), &client, GetSysColorBrush(COLOR_WINDOW));
            SetBkMode(paint.Get(), TRANSPARENT);
            DrawTextA(paint.Get(), "(pie view)", -1, &client, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
            return 0;
        }
        return TWindow::HandleMessage(msg, wParam, lParam);
    }
};

// The splitter as the main view paints it: an etched groove while "DialogLook" is on.
class TGroovedSplit : public frame::TSplitWnd {
public:
    TGroovedSplit(fw::TWindow* parent, bool dialogLook) : TSplitWnd(parent, true, 0.333, 4), dialogLook_(dialogLook) {
        SetHoverTracking(true);
        SetRepaintBar(dialogLook);
    }
    void SetHover(bool hover) override {
        const bool changed = hover != IsHover();
        TSplitWnd::SetHover(hover);
        if (changed) InvalidateBar();
    }

protected:
    void Paint(HDC dc, const RECT&) override {
        if (dialogLook_) PaintGroove(dc);
    }

private:
    bool dialogLook_;
};

class THost : public fw::TWindow, public frame::TreeHost {
public:
    THost(model::DirInfo tree, bool look = true, bool largeButtons = false)
        : dialogLook(look),
          root(std::move(tree)),
          current(root.name + "\\"),
          bar(this, largeButtons),
          split(this, look),
          treeWindow(&split, IDC_FOLDER_TREE, *this),
          pane(&split),
          header(this, Store()),
          deep(this, Store()),
          shallow(this, Store()) {
        frame::LoadCommonControls();
        Attr().title = "Kelvaran parts";
        Attr().style = WS_POPUP | WS_BORDER | WS_CLIPCHILDREN;
        Attr().x = Attr().y = 0;
        Attr().width = 900;
        Attr().height = 560;
    }

    const bool dialogLook;
    // The host's tree and current folder.
    model::DirInfo root;
    std::string current;
    std::vector<std::string> navigations;  // paths the tree navigated to
    std::vector<UINT> commands;            // commands the tool bar sent or posted
    Values settings;                       // what the status bars read and wrote

    frame::TMyControlBar bar;
    TGroovedSplit split;
    frame::TTreeStruct treeWindow;
    TPlaceholder pane;
    frame::TMyStatusHeader header;
    frame::TMyStatusDeepData deep;
    frame::TMyStatusShallowData shallow;

    // Shows the window. A caption-less window shown without activation stays out of the window manager's
    // hands: Wine then destroys it at once instead of waiting for a manager that Xvfb does not have.
    void Open() {
        Create();
        ShowWindow(GetHandle(), SW_SHOWNA);
        UpdateWindow(GetHandle());
        Pump();
    }

    // TreeHost
    const model::DirInfo* RootFolder() const override { return &root; }
    std::string CurrentPath() const override { return current; }
    bool DialogLook() const override { return dialogLook; }
    void NavigateByNames(const std::vector<std::string>& names) override {
        std::string path;
        for (const std::string& name : names) path += name + "\\";
        current = path;
        navigations.push_back(path);
    }

    void Relayout() {
        RECT client{};
        GetClientRect(GetHandle(), &client);
        SendMessageA(GetHandle(), WM_SIZE, SIZE_RESTORED, MAKELPARAM(client.right, client.bottom));
    }

protected:
    const char* ClassName() const override { return "KelvaranTestPartsHost"; }
    void FillWindowClass(WNDCLASSEXA& wc) const override {
        TWindow::FillWindowClass(wc);
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    }

    void SetupWindow() override {
        bar.AddPathBox();
        bar.AddCommandButtons();
        bar.Create();
        bar.SetCommandTarget(GetHandle());
        bar.AddModeBox();
        header.Create();
        deep.Create();
        shallow.Create();
        split.Create();
        treeWindow.Create();
        pane.Create();
        split.SetPanes(&treeWindow, &pane);
        Relayout();
        treeWindow.Rebuild();  // as the main view resets itself to the root once its panes exist
    }

    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override {
        switch (msg) {
        case WM_SIZE: {
            if (!bar.GetHandle()) break;
            const int width = LOWORD(lParam), height = HIWORD(lParam);
            int top = Height(bar.GetHandle()), bottom = height;
            MoveWindow(bar.GetHandle(), 0, 0, width, top, TRUE);
            for (fw::TWindow* status : {static_cast<fw::TWindow*>(&shallow), static_cast<fw::TWindow*>(&deep),
                                        static_cast<fw::TWindow*>(&header)}) {
                const int h = Height(status->GetHandle());
                bottom -= h;
                MoveWindow(status->GetHandle(), 0, bottom, width, h, TRUE);
            }
            MoveWindow(split.GetHandle(), 0, top, width, bottom > top ? bottom - top : 0, TRUE);
            return 0;
        }
        case WM_COMMAND:
            if (lParam == 0) {
                commands.push_back(LOWORD(wParam));
                return 0;
            }
            break;
        }
        return TWindow::HandleMessage(msg, wParam, lParam);
    }

private:
    static int Height(HWND wnd) {
        RECT r{};
        GetWindowRect(wnd, &r);
        return r.bottom - r.top;
    }
    frame::TMyStatusBar::StoreFactory Store() {
        return [this] { return std::make_unique<MapStore>(settings); };
    }
};

// Folders named by paths below a root ("Data\\Photos" makes Data and Photos in it), in the given order.
inline model::DirInfo TreeOf(const std::string& rootName, const std::vector<std::string>& paths) {
    model::DirInfo root(rootName);
    for (const std::string& path : paths) {
        model::DirInfo* at = &root;
        std::size_t start = 0;
        while (start <= path.size()) {
            const std::size_t end = std::min(path.find('\\', start), path.size());
            const std::string name = path.substr(start, end - start);
            model::DirInfo* next = nullptr;
            for (model::DirInfo& sub : at->subdirs)
                if (sub.name == name) next = &sub;
            at = next ? next : &at->subdirs.emplace_back(name);
            start = end + 1;
        }
    }
    return root;
}

// The window as it is on screen, as a 24-bit BMP under build/gui-artifacts (or beside the test).
inline bool SaveScreenshot(HWND window, const std::string& fileName) {
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
inline COLORREF ScreenPixel(HWND window, int x, int y) { return ScreenCapture(window, RECT{x, y, x + 1, y + 1}).At(x, y); }

}  // namespace partstest
