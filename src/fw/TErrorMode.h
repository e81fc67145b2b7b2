// Sets the calling thread's error mode for the guard's lifetime and restores the previous one. Workers
// that touch drives use SEM_FAILCRITICALERRORS, so a drive without media answers with an error instead of
// asking the user to insert a disk; being per thread, it leaves the rest of the process alone.
#pragma once

#include <windows.h>

namespace fw {

class TErrorMode {
public:
    explicit TErrorMode(UINT mode) noexcept { restore_ = SetThreadErrorMode(mode, &previous_) != FALSE; }
    ~TErrorMode() {
        if (restore_) SetThreadErrorMode(previous_, nullptr);
    }
    TErrorMode(const TErrorMode&) = delete;
    TErrorMode& operator=(const TErrorMode&) = delete;

private:
    DWORD previous_ = 0;
    bool restore_ = false;
};

}  // namespace fw
