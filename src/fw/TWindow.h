// TWindow owns one HWND. A static window procedure finds the object (stored at WM_NCCREATE from
// lpCreateParams) and calls the virtual HandleMessage; each class handles its messages in a switch and
// passes the rest to its base, ending in DefWindowProc. SetupWindow runs once the window exists,
// CleanupWindow before it is destroyed.
//
// Windows of system classes (controls) are wrapped without subclassing: the object is attached as a window
// property, and the parent reflects WM_COMMAND and WM_NOTIFY to it (HandleReflected), so each control
// handles its own notifications.
#pragma once

#include <windows.h>

#include <string>

namespace fw {

class TWindow {
public:
    explicit TWindow(TWindow* parent = nullptr);
    virtual ~TWindow();
    TWindow(const TWindow&) = delete;
    TWindow& operator=(const TWindow&) = delete;

    // Creates the window (and registers its class on first use). Throws std::runtime_error on failure.
    void Create();
    HWND GetHandle() const noexcept { return hwnd_; }
    TWindow* GetParent() const noexcept { return parent_; }
    void SetParent(TWindow* parent) noexcept { parent_ = parent; }

    // Close query: true when the window may close. Frames ask their client.
    virtual bool CanClose() { return true; }

    // The object attached to a window handle by this framework, or null.
    static TWindow* FromHandle(HWND hwnd) noexcept;

    // A reflected WM_COMMAND or WM_NOTIFY from the parent; return true when handled (result in `result`).
    virtual bool HandleReflected(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);

protected:
    struct CreateParams {
        std::string title;
        DWORD style = WS_CHILD | WS_VISIBLE;
        DWORD exStyle = 0;
        int x = CW_USEDEFAULT, y = CW_USEDEFAULT, width = CW_USEDEFAULT, height = CW_USEDEFAULT;
        UINT_PTR idOrMenu = 0;  // child id, or a menu handle for top-level windows
    };
    CreateParams& Attr() noexcept { return attr_; }

    // Window class of this object: a system class (controls) or one registered with WindowProc.
    virtual const char* ClassName() const { return "KelvaranWindow"; }
    virtual bool IsSystemClass() const { return false; }
    virtual void FillWindowClass(WNDCLASSEXA& wc) const;

    virtual LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam);
    virtual void SetupWindow() {}
    virtual void CleanupWindow() {}

    LRESULT DefaultProcessing(UINT msg, WPARAM wParam, LPARAM lParam);

    // For windows the system creates on another path (dialogs): bind the handle to this object, or forget
    // it (null) once the window is gone.
    void BindHandle(HWND hwnd) noexcept { hwnd_ = hwnd; }

private:
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    void Attach(HWND hwnd) noexcept;
    void RegisterClassOnce() const;

    TWindow* parent_;
    HWND hwnd_ = nullptr;
    CreateParams attr_;
};

}  // namespace fw
