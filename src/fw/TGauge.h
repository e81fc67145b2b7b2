// A progress bar control (msctls_progress32) bound by id to a control of its parent's window, as dialog
// templates create them. The control is looked up on every call, so the wrapper never holds a handle
// that outlives its window; calls before the parent's window exists, or after, do nothing.
#pragma once

#include "fw/TWindow.h"

#include <windows.h>

#include <utility>

namespace fw {

class TGauge {
public:
    TGauge(TWindow* parent, int id) noexcept : parent_(parent), id_(id) {}

    HWND GetHandle() const noexcept;
    int GetId() const noexcept { return id_; }

    void SetRange(int min, int max);
    std::pair<int, int> GetRange() const;
    void SetStep(int step);
    void SetValue(int position);
    int GetValue() const;
    void StepIt();
    void Show(bool visible);

private:
    TWindow* parent_;
    int id_;
};

}  // namespace fw
