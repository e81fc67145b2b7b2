#include "fw/TGauge.h"

#include <commctrl.h>

namespace fw {

const char* TGauge::ClassName() const { return PROGRESS_CLASSA; }

void TGauge::SetRange(int min, int max) {
    if (HWND gauge = GetHandle()) SendMessageA(gauge, PBM_SETRANGE32, static_cast<WPARAM>(min), max);
}

std::pair<int, int> TGauge::GetRange() const {
    PBRANGE range{};
    if (HWND gauge = GetHandle()) SendMessageA(gauge, PBM_GETRANGE, 0, reinterpret_cast<LPARAM>(&range));
    return {range.iLow, range.iHigh};
}

void TGauge::SetStep(int step) {
    if (HWND gauge = GetHandle()) SendMessageA(gauge, PBM_SETSTEP, static_cast<WPARAM>(step), 0);
}

void TGauge::SetValue(int position) {
    if (HWND gauge = GetHandle()) SendMessageA(gauge, PBM_SETPOS, static_cast<WPARAM>(position), 0);
}

int TGauge::GetValue() const {
    HWND gauge = GetHandle();
    return gauge ? static_cast<int>(SendMessageA(gauge, PBM_GETPOS, 0, 0)) : 0;
}

void TGauge::StepIt() {
    if (HWND gauge = GetHandle()) SendMessageA(gauge, PBM_STEPIT, 0, 0);
}

void TGauge::Show(bool visible) {
    if (HWND gauge = GetHandle()) ShowWindow(gauge, visible ? SW_SHOW : SW_HIDE);
}

}  // namespace fw
