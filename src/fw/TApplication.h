// The application object: owns the main window, runs the message loop (accelerators, modeless dialogs)
// and keeps the list of registered windows that receive WM_DISPLAYCHANGE.
//
// Run() calls InitMainWindow (build the main window object), creates and shows it, calls InitInstance,
// loops until WM_QUIT and returns the exit code. An exception caught in any window procedure ends the loop
// and is rethrown from Run().
#pragma once

#include "fw/TWindow.h"

#include <windows.h>

#include <memory>
#include <vector>

namespace fw {

class TApplication {
public:
    TApplication();
    virtual ~TApplication();
    TApplication(const TApplication&) = delete;
    TApplication& operator=(const TApplication&) = delete;

    int Run();

    // The application whose Run() is active on this thread, or null.
    static TApplication* Current() noexcept;

    TWindow* GetMainWindow() const noexcept { return mainWindow_.get(); }

    // Close query of the application, asked before the main window's own.
    virtual bool CanClose() { return true; }

    void RegisterWindow(TWindow* window);
    void UnregisterWindow(TWindow* window);
    void ForwardDisplayChange(WPARAM wParam, LPARAM lParam);

    // Modeless dialogs get IsDialogMessage in the loop while registered.
    void AddModelessDialog(HWND dialog);
    void RemoveModelessDialog(HWND dialog);

protected:
    virtual void InitMainWindow() = 0;
    virtual void InitInstance() {}

    // A look at every message of the loop before the accelerators (after the modeless dialogs); true when
    // it was handled and goes no further.
    virtual bool PreTranslateMessage(MSG&) { return false; }

    void SetMainWindow(std::unique_ptr<TWindow> window) { mainWindow_ = std::move(window); }
    void SetAccelerators(HACCEL accelerators) noexcept { accelerators_ = accelerators; }
    void SetShowCommand(int show) noexcept { showCommand_ = show; }

private:
    bool PreTranslate(MSG& msg);

    std::unique_ptr<TWindow> mainWindow_;
    HACCEL accelerators_ = nullptr;
    int showCommand_ = SW_SHOWNORMAL;
    std::vector<TWindow*> registered_;
    std::vector<HWND> modeless_;
    TApplication* previous_ = nullptr;
};

}  // namespace fw
