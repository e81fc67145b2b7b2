#include "options/TClrBtn.h"

#include "fw/Handles.h"

namespace options {

bool TClrBtn::Attach(HWND dialog, int id, std::uint32_t& colour) {
    colour_ = &colour;
    return AttachItem(dialog, id);
}

bool TClrBtn::HandleReflected(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (msg == WM_DRAWITEM) {
        Draw(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
        result = TRUE;
        return true;
    }
    if (msg == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) {
        Choose();
        result = 0;
        return true;
    }
    return false;
}

void TClrBtn::Draw(const DRAWITEMSTRUCT& item) const {
    HDC dc = item.hDC;
    RECT r = item.rcItem;
    const bool pressed = item.itemState & ODS_SELECTED;
    DrawEdge(dc, &r, pressed ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT | BF_SOFT | BF_MIDDLE | BF_ADJUST);
    if (item.itemState & ODS_DISABLED) return;
    if (pressed) OffsetRect(&r, 1, 1);
    InflateRect(&r, -1, -1);
    if (item.itemState & ODS_FOCUS) DrawFocusRect(dc, &r);
    InflateRect(&r, -1, -1);
    fw::Brush fill(CreateSolidBrush(Colour()));
    fw::SelectGuard brush(dc, fill.Get());
    Rectangle(dc, r.left, r.top, r.right, r.bottom);
}

void TClrBtn::Choose() {
    if (!colour_ || !chooser_) return;
    HWND owner = ::GetParent(GetHandle());
    if (const auto chosen = chooser_(owner, *colour_)) {
        *colour_ = *chosen;
        InvalidateRect(GetHandle(), nullptr, FALSE);
    }
}

}  // namespace options
