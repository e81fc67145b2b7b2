// A window timer owned by an object: SetTimer when started, KillTimer when stopped or destroyed. The
// window receives WM_TIMER with the timer's id on its own (user-interface) thread.
#pragma once

#include <windows.h>

#include <utility>

namespace fw {

class WindowTimer {
public:
    WindowTimer() noexcept = default;
    WindowTimer(const WindowTimer&) = delete;
    WindowTimer& operator=(const WindowTimer&) = delete;
    ~WindowTimer() { Stop(); }

    // Restarts the timer when it already runs; false when the system refuses.
    bool Start(HWND window, UINT_PTR id, UINT intervalMs) noexcept {
        Stop();
        if (!SetTimer(window, id, intervalMs, nullptr)) return false;
        window_ = window;
        id_ = id;
        return true;
    }
    void Stop() noexcept {
        if (HWND window = std::exchange(window_, nullptr)) KillTimer(window, id_);
    }
    bool IsRunning() const noexcept { return window_ != nullptr; }

private:
    HWND window_ = nullptr;
    UINT_PTR id_ = 0;
};

}  // namespace fw
