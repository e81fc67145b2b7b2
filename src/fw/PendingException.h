// No C++ exception may cross a window or dialog procedure. The trampolines catch it here, end the message
// loop, and the code that ran the loop rethrows it on its own side of the system.
#pragma once

#include <exception>

namespace fw {

// Keeps the first exception (later ones are consequences) and posts WM_QUIT to end the loop.
void StorePendingException(std::exception_ptr error) noexcept;

// Rethrows and clears a kept exception; does nothing when there is none.
void RethrowPendingException();

// Takes back the quit request that StorePendingException posted, when no loop took it: a message box shown
// for the exception would otherwise read it and close at once.
void DiscardQuitRequest() noexcept;

}  // namespace fw
