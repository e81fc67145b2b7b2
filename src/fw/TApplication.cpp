#include "fw/TApplication.h"

#include "fw/PendingException.h"

#include <algorithm>
#include <utility>

namespace fw {
namespace {
thread_local TApplication* current = nullptr;
}

TApplication::TApplication() = default;
TApplication::~TApplication() = default;

TApplication* TApplication::Current() noexcept { return current; }

void TApplication::RegisterWindow(TWindow* window) {
    if (std::find(registered_.begin(), registered_.end(), window) == registered_.end()) registered_.push_back(window);
}

void TApplication::UnregisterWindow(TWindow* window) {
    registered_.erase(std::remove(registered_.begin(), registered_.end(), window), registered_.end());
}

void TApplication::ForwardDisplayChange(WPARAM wParam, LPARAM lParam) {
    for (TWindow* window : std::vector<TWindow*>(registered_))
        if (window->GetHandle()) SendMessageA(window->GetHandle(), WM_DISPLAYCHANGE, wParam, lParam);
}

void TApplication::AddModelessDialog(HWND dialog) { modeless_.push_back(dialog); }

void TApplication::RemoveModelessDialog(HWND dialog) {
    modeless_.erase(std::remove(modeless_.begin(), modeless_.end(), dialog), modeless_.end());
}

bool TApplication::PreTranslate(MSG& msg) {
    for (HWND dialog : modeless_)
        if (IsDialogMessageA(dialog, &msg)) return true;
    if (PreTranslateMessage(msg)) return true;
    HWND main = mainWindow_ ? mainWindow_->GetHandle() : nullptr;
    return accelerators_ && main && TranslateAcceleratorA(main, accelerators_, &msg);
}

int TApplication::Run() {
    previous_ = std::exchange(current, this);
    struct Restore {
        TApplication* self;
        ~Restore() { current = self->previous_; }
    } restore{this};

    InitMainWindow();
    if (!mainWindow_) return 0;
    mainWindow_->Create();
    ShowWindow(mainWindow_->GetHandle(), showCommand_);
    UpdateWindow(mainWindow_->GetHandle());
    InitInstance();
    RethrowPendingException();

    MSG msg{};
    int status = 0;
    while ((status = GetMessageA(&msg, nullptr, 0, 0)) > 0) {
        if (PreTranslate(msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    RethrowPendingException();
    return status < 0 ? 1 : static_cast<int>(msg.wParam);
}

}  // namespace fw
