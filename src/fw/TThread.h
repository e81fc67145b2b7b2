// A worker thread object: derive, implement Run, then Start it from the owning (user-interface) thread.
//
// Statuses: Created (constructed, not started) -> Running -> Finished (Run returned), with Suspended while
// the owner has asked for a pause. Every operation below is for the owning thread; the thread body only
// calls ShouldTerminate() and WaitWhileSuspended().
//
// Pausing is cooperative: Suspend() closes a gate (a manual-reset event) and the body stops at its next
// WaitWhileSuspended() until Resume() opens it again. The thread is never frozen with SuspendThread, which
// could stop it inside the heap or loader lock and deadlock the user-interface thread. A body that never
// calls WaitWhileSuspended() simply does not pause.
//
// Terminate() sets an atomic flag, set once and never cleared, and returns at once; it also resumes a
// paused thread (status Running again) so the body can see the request. The body decides when to look.
//
// The owner must let the thread end before the object goes away: a derived destructor that owns data the
// body uses calls Terminate() and WaitForExit() first. As a last resort ~TThread waits too.
//
// An exception that escapes Run ends the body (status Finished, exit code -1) and is kept for the owner:
// after WaitForExit, RethrowFailure() throws it on the owner's thread, where it reaches the user like any
// other. A derived class that must tell someone it ended (a posted message) does so on every way out of Run.
//
// The thread is created with a 64 MiB stack reserve: bodies here recurse with the depth of folder trees.
#pragma once

#include "fw/Handles.h"

#include <atomic>
#include <exception>

namespace fw {

class TThread {
public:
    enum class Status { Created, Running, Suspended, Finished };

    TThread();
    virtual ~TThread();
    TThread(const TThread&) = delete;
    TThread& operator=(const TThread&) = delete;

    // Creates and starts the system thread. Throws std::logic_error when already started, and
    // std::runtime_error when the system refuses to create it.
    void Start();

    // Cooperative pause and continue; no effect unless the thread is running (resp. suspended).
    void Suspend();
    void Resume();

    // THREAD_PRIORITY_* value; false when not started or the system refuses. A body that runs on
    // threads of its own as well applies it to them too.
    virtual bool SetPriority(int priority);

    // Waits until the body has returned (or the timeout has passed): true when it has ended. True at once
    // for a thread that was never started.
    bool WaitForExit(DWORD timeoutMs = INFINITE);

    Status GetStatus() const noexcept;

    // Asks the body to stop; returns at once.
    virtual void Terminate();

    bool ShouldTerminate() const noexcept { return terminate_.load(std::memory_order_relaxed); }

    // The value Run returned (-1 when it threw); 0 until then.
    int ExitCode() const noexcept { return exitCode_.load(std::memory_order_acquire); }

    // After WaitForExit: rethrows the exception that ended Run, once; does nothing when Run returned.
    void RethrowFailure();

    HANDLE GetHandle() const noexcept { return handle_.Get(); }

    static constexpr SIZE_T kStackReserve = 64u << 20;

protected:
    // The thread body; its result is the thread's exit code.
    virtual int Run() = 0;

    // Called by the body at points where it may pause; returns at once unless a pause was asked for.
    void WaitWhileSuspended() noexcept;

private:
    static DWORD WINAPI Entry(void* self);

    KernelHandle handle_;
    KernelHandle gate_;  // manual-reset event, signalled while the body may run
    std::atomic<Status> status_{Status::Created};
    std::atomic<bool> pauseRequested_{false};
    std::atomic<bool> terminate_{false};
    std::atomic<int> exitCode_{0};
    std::exception_ptr failure_;  // written by the body before it finishes, read by the owner after waiting
};

}  // namespace fw
