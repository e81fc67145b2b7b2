// Win32 thread object with a cooperative pause gate (see TThread.h).
#include "fw/TThread.h"

#include <stdexcept>
#include <utility>

namespace fw {

TThread::TThread() : gate_(CreateEventA(nullptr, TRUE, TRUE, nullptr)) {
    if (!gate_) throw std::runtime_error("TThread: CreateEvent failed");
}

TThread::~TThread() {
    if (handle_) {
        terminate_.store(true, std::memory_order_relaxed);
        SetEvent(gate_.Get());
        WaitForSingleObject(handle_.Get(), INFINITE);
    }
}

void TThread::Start() {
    if (handle_ || status_.load() != Status::Created) throw std::logic_error("TThread::Start() called twice");
    status_.store(Status::Running);
    HANDLE thread =
        CreateThread(nullptr, kStackReserve, &TThread::Entry, this, STACK_SIZE_PARAM_IS_A_RESERVATION, nullptr);
    if (!thread) {
        status_.store(Status::Created);
        throw std::runtime_error("TThread: CreateThread failed");
    }
    handle_.Reset(thread);
}

DWORD WINAPI TThread::Entry(void* self) {
    auto* thread = static_cast<TThread*>(self);
    int code = -1;
    try {
        code = thread->Run();
    } catch (...) {
        // No exception may leave a thread: the process would end without a word.
        thread->failure_ = std::current_exception();
    }
    thread->exitCode_.store(code, std::memory_order_release);
    thread->status_.store(Status::Finished);
    return static_cast<DWORD>(code);
}

void TThread::RethrowFailure() {
    if (!WaitForExit(0)) return;  // still running: nothing to hand over yet
    if (failure_) std::rethrow_exception(std::exchange(failure_, nullptr));
}

void TThread::Suspend() {
    Status expected = Status::Running;
    if (!status_.compare_exchange_strong(expected, Status::Suspended)) return;
    // Close the gate before raising the flag, so a body that sees the flag always finds the gate's state.
    ResetEvent(gate_.Get());
    pauseRequested_.store(true);
}

void TThread::Resume() {
    Status expected = Status::Suspended;
    if (!status_.compare_exchange_strong(expected, Status::Running)) return;
    pauseRequested_.store(false);
    SetEvent(gate_.Get());
}

void TThread::WaitWhileSuspended() noexcept {
    if (!pauseRequested_.load(std::memory_order_relaxed)) return;
    WaitForSingleObject(gate_.Get(), INFINITE);
}

bool TThread::SetPriority(int priority) { return handle_ && SetThreadPriority(handle_.Get(), priority); }

bool TThread::WaitForExit(DWORD timeoutMs) {
    if (!handle_) return true;
    return WaitForSingleObject(handle_.Get(), timeoutMs) == WAIT_OBJECT_0;
}

TThread::Status TThread::GetStatus() const noexcept { return status_.load(); }

void TThread::Terminate() {
    terminate_.store(true, std::memory_order_relaxed);
    Resume();
}

}  // namespace fw
