#include "fw/TStatusBar.h"

#include <commctrl.h>

namespace fw {

TStatusBar::TStatusBar(TWindow* parent, bool sizeGrip, UINT id) : TControl(parent, id) {
    Attr().style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | (sizeGrip ? SBARS_SIZEGRIP : 0);
}

const char* TStatusBar::ClassName() const { return STATUSCLASSNAMEA; }

void TStatusBar::SetText(const std::string& text) {
    SendMessageA(GetHandle(), SB_SETTEXTA, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

std::string TStatusBar::GetText() const {
    const LRESULT info = SendMessageA(GetHandle(), SB_GETTEXTLENGTHA, 0, 0);
    std::string text(LOWORD(info), '\0');
    SendMessageA(GetHandle(), SB_GETTEXTA, 0, reinterpret_cast<LPARAM>(text.data()));
    return text;
}

}  // namespace fw
