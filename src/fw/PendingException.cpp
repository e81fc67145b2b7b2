#include "fw/PendingException.h"

#include <windows.h>

#include <utility>

namespace fw {
namespace {
thread_local std::exception_ptr pending;
}

void StorePendingException(std::exception_ptr error) noexcept {
    if (!pending) pending = error;
    PostQuitMessage(0);
}

void RethrowPendingException() {
    if (pending) std::rethrow_exception(std::exchange(pending, nullptr));
}

void DiscardQuitRequest() noexcept {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
}

}  // namespace fw
