// Message boxes seen from outside the program: while a BoxWatch lives, every dialog window (class
// "#32770", which every message box is) that its thread starts to create is counted and refused, so the
// box never blocks the test. Code that must tell the user nothing is checked with it without any seam.
#pragma once

#include <windows.h>

#include <cstring>

namespace test_support {

class BoxWatch {
public:
    BoxWatch() : hook_(SetWindowsHookExW(WH_CBT, &Hook, nullptr, GetCurrentThreadId())) { active_ = this; }
    ~BoxWatch() {
        UnhookWindowsHookEx(hook_);
        active_ = nullptr;
    }
    BoxWatch(const BoxWatch&) = delete;
    BoxWatch& operator=(const BoxWatch&) = delete;

    bool Watching() const noexcept { return hook_ != nullptr; }
    int Count() const noexcept { return count_; }

private:
    static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam) {
        char name[16] = {};
        if (code == HCBT_CREATEWND && active_ && GetClassNameA(reinterpret_cast<HWND>(wParam), name, sizeof name) &&
            std::strcmp(name, "#32770") == 0) {
            ++active_->count_;
            return 1;  // not created: the box returns at once
        }
        return CallNextHookEx(nullptr, code, wParam, lParam);
    }

    static inline BoxWatch* active_ = nullptr;
    HHOOK hook_;
    int count_ = 0;
};

}  // namespace test_support
