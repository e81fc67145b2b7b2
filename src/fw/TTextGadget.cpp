#include "fw/TTextGadget.h"

#include "fw/DpiScale.h"
#include "fw/Utf8.h"

namespace fw {
namespace {
constexpr int kBorder = 1;  // the recessed edge, one line at any scale
constexpr int kMargin = 3;  // between the edge and the text, at 96 DPI
}  // namespace

void TTextGadget::SetText(std::string text) {
    if (text == text_) return;
    text_ = std::move(text);
    Invalidate();
}

int TTextGadget::WidthFor(HDC dc, const std::string& text, int dpi) {
    const std::wstring wide = Utf8ToWide(text);
    SIZE extent{};
    GetTextExtentPoint32W(dc, wide.c_str(), static_cast<int>(wide.size()), &extent);
    return extent.cx + 2 * (kBorder + ScaleFrom96(kMargin, dpi));
}

void TTextGadget::Paint(HDC dc) const {
    RECT cell = Bounds();
    if (recessed_)
        DrawEdge(dc, &cell, BDR_SUNKENOUTER, BF_RECT | BF_ADJUST);
    else
        InflateRect(&cell, -kBorder, -kBorder);
    FillRect(dc, &cell, GetSysColorBrush(BackgroundColour()));
    InflateRect(&cell, -ScaleFrom96(kMargin, Dpi()), 0);
    const std::wstring wide = Utf8ToWide(text_);
    const UINT alignment = align_ == Align::Left ? DT_LEFT : align_ == Align::Right ? DT_RIGHT : DT_CENTER;
    const int oldMode = SetBkMode(dc, TRANSPARENT);
    const COLORREF oldColour = SetTextColor(dc, GetSysColor(TextColour()));
    DrawTextW(dc, wide.c_str(), static_cast<int>(wide.size()), &cell,
              alignment | DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
    SetTextColor(dc, oldColour);
    SetBkMode(dc, oldMode);
}

}  // namespace fw
