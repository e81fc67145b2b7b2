#include "options/THSlider.h"

#include <commctrl.h>

namespace options {

const char* THSlider::ClassName() const { return TRACKBAR_CLASSA; }

void THSlider::SetRange(int minimum, int maximum) {
    SendMessageA(GetHandle(), TBM_SETRANGE, TRUE, MAKELPARAM(minimum, maximum));
}

void THSlider::SetTicFreq(int frequency) {
    SendMessageA(GetHandle(), TBM_SETTICFREQ, static_cast<WPARAM>(frequency), 0);
}

void THSlider::SetPosition(int position) { SendMessageA(GetHandle(), TBM_SETPOS, TRUE, position); }

int THSlider::GetPosition() const { return static_cast<int>(SendMessageA(GetHandle(), TBM_GETPOS, 0, 0)); }

bool THSlider::HandleReflected(UINT msg, WPARAM, LPARAM, LRESULT& result) {
    if (msg != WM_VSCROLL && msg != WM_HSCROLL) return false;
    if (moved_) moved_(GetPosition());
    result = 0;
    return true;
}

}  // namespace options
