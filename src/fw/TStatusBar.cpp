#include "fw/TStatusBar.h"

#include "fw/Dpi.h"
#include "fw/DpiScale.h"
#include "fw/TTextGadget.h"
#include "fw/Utf8.h"

#include <commctrl.h>

#include <algorithm>

#include <windowsx.h>

namespace fw {
namespace {
constexpr int kVerticalBorder = 2;  // above and below the cells, at 96 DPI
constexpr int kCellPadding = 4;     // text to cell edge, top and bottom together, at 96 DPI
}  // namespace

TStatusBar::TStatusBar(TWindow* parent, bool sizeGrip, UINT id)
    : TControl(parent, id), sizeGrip_(sizeGrip), dpi_(SystemDpi()) {
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

void TStatusBar::InsertGadget(std::unique_ptr<TGadget> gadget) {
    // The bar places itself and keeps its height; the control would move it to the parent's bottom.
    Attr().style |= CCS_NORESIZE | CCS_NOPARENTALIGN | CCS_NODIVIDER;
    gadget->SetDpi(dpi_);
    gadgets_.push_back(std::move(gadget));
}

void TStatusBar::SetDpi(int dpi) {
    dpi_ = dpi;
    ApplyDpi(dpi);
    for (const auto& gadget : gadgets_) gadget->SetDpi(dpi);
    if (!GetHandle() || !HasGadgets()) return;
    SendMessageA(GetHandle(), WM_SETFONT, reinterpret_cast<WPARAM>(GetFont()), FALSE);
    RECT rect{};
    GetWindowRect(GetHandle(), &rect);
    SetWindowPos(GetHandle(), nullptr, 0, 0, rect.right - rect.left, NaturalHeight(),
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    LayoutGadgets();
    InvalidateRect(GetHandle(), nullptr, FALSE);
}

HFONT TStatusBar::GetFont() const noexcept {
    return font_ ? font_.Get() : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

int TStatusBar::NaturalHeight() const {
    ClientDC dc(GetHandle());
    SelectGuard font(dc.Get(), GetFont());
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc.Get(), &metrics);
    return metrics.tmHeight + ScaleFrom96(kCellPadding + 2 + 2 * kVerticalBorder, dpi_);
}

void TStatusBar::SetupWindow() {
    TControl::SetupWindow();
    if (font_) SendMessageA(GetHandle(), WM_SETFONT, reinterpret_cast<WPARAM>(font_.Get()), FALSE);
    if (!HasGadgets()) return;
    RECT rect{};
    GetWindowRect(GetHandle(), &rect);
    SetWindowPos(GetHandle(), nullptr, 0, 0, rect.right - rect.left, NaturalHeight(),
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    LayoutGadgets();
    if (const int dpi = WindowDpi(GetHandle()); dpi != dpi_) SetDpi(dpi);
}

RECT TStatusBar::GripRect() const {
    RECT client{};
    GetClientRect(GetHandle(), &client);
    if (!sizeGrip_) return RECT{client.right, client.top, client.right, client.bottom};
    const int side = MetricForDpi(SM_CXVSCROLL, dpi_);
    return RECT{client.right - side, client.bottom - side, client.right, client.bottom};
}

void TStatusBar::LayoutGadgets() {
    RECT client{};
    GetClientRect(GetHandle(), &client);
    const int border = ScaleFrom96(kVerticalBorder, dpi_);
    const int top = client.top + border, bottom = client.bottom - border;
    const int right = GripRect().left;
    int fixedAhead = 0;  // widths of the fixed gadgets not yet placed
    for (const auto& gadget : gadgets_) fixedAhead += gadget->Width();
    int x = client.left;
    for (const auto& gadget : gadgets_) {
        int width = gadget->Width() > 0 ? gadget->Width() : right - x - fixedAhead;
        if (width < 0) width = 0;
        gadget->Place(GetHandle(), RECT{x, top, x + width, bottom});
        x += width;
        fixedAhead -= gadget->Width();
    }
}

void TStatusBar::SetSimpleText(std::string text) {
    if (text == simpleText_) return;
    simpleText_ = std::move(text);
    if (GetHandle()) InvalidateRect(GetHandle(), nullptr, FALSE);
}

const std::string* TStatusBar::TextOfPart(WPARAM index) const {
    if (index == SB_SIMPLEID) return &simpleText_;
    WPARAM at = 0;
    for (const auto& gadget : gadgets_)
        if (const auto* text = dynamic_cast<const TTextGadget*>(gadget.get()); text && at++ == index)
            return &text->Text();
    return nullptr;
}

void TStatusBar::PaintGadgets(HDC dc, const RECT& dirty) const {
    RECT client{};
    GetClientRect(GetHandle(), &client);
    FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
    SelectGuard font(dc, GetFont());
    if (!simpleText_.empty()) {
        RECT text{client.left + ScaleFrom96(4, dpi_), client.top, GripRect().left, client.bottom};
        const std::wstring wide = Utf8ToWide(simpleText_);
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
        DrawTextW(dc, wide.c_str(), static_cast<int>(wide.size()), &text,
                  DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
        if (sizeGrip_) {
            RECT grip = GripRect();
            DrawFrameControl(dc, &grip, DFC_SCROLL, DFCS_SCROLLSIZEGRIP);
        }
        return;
    }
    for (const auto& gadget : gadgets_) {
        RECT overlap{};
        if (IntersectRect(&overlap, &gadget->Bounds(), &dirty)) gadget->Paint(dc);
    }
    if (sizeGrip_) {
        RECT grip = GripRect();
        DrawFrameControl(dc, &grip, DFC_SCROLL, DFCS_SCROLLSIZEGRIP);
    }
}

LRESULT TStatusBar::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (!HasGadgets()) return TControl::HandleMessage(msg, wParam, lParam);
    switch (msg) {
    case WM_SIZE:
        LayoutGadgets();
        InvalidateRect(GetHandle(), nullptr, FALSE);
        return 0;
    case WM_ERASEBKGND: return 1;
    case WM_PAINT: {
        PaintDC paint(GetHandle());
        RECT client{};
        GetClientRect(GetHandle(), &client);
        // Painted off screen first: the cells change with every mouse move over the pie.
        MemoryDC memory(CreateCompatibleDC(paint.Get()));
        Bitmap buffer(CreateCompatibleBitmap(paint.Get(), client.right, client.bottom));
        if (!memory || !buffer) {
            PaintGadgets(paint.Get(), paint.Info().rcPaint);
            return 0;
        }
        SelectGuard select(memory.Get(), buffer.Get());
        PaintGadgets(memory.Get(), paint.Info().rcPaint);
        const RECT& dirty = paint.Info().rcPaint;
        BitBlt(paint.Get(), dirty.left, dirty.top, dirty.right - dirty.left, dirty.bottom - dirty.top, memory.Get(),
               dirty.left, dirty.top, SRCCOPY);
        return 0;
    }
    case SB_GETPARTS: {
        int parts = 0;
        for (const auto& gadget : gadgets_) parts += dynamic_cast<const TTextGadget*>(gadget.get()) != nullptr;
        return parts;
    }
    case SB_GETTEXTLENGTHW:
    case SB_GETTEXTW: {
        const std::string* text = TextOfPart(wParam);
        const std::wstring wide = text ? Utf8ToWide(*text) : std::wstring();
        if (msg == SB_GETTEXTW && lParam)
            std::copy(wide.c_str(), wide.c_str() + wide.size() + 1, reinterpret_cast<wchar_t*>(lParam));
        return static_cast<LRESULT>(std::min<std::size_t>(wide.size(), 0xFFFF));
    }
    case SB_GETRECT: {
        WPARAM at = 0;
        for (const auto& gadget : gadgets_)
            if (dynamic_cast<const TTextGadget*>(gadget.get()) && at++ == wParam) {
                if (lParam) *reinterpret_cast<RECT*>(lParam) = gadget->Bounds();
                return TRUE;
            }
        return FALSE;
    }
    case WM_LBUTTONDOWN: {
        if (!simpleText_.empty()) return 0;
        const POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        for (const auto& gadget : gadgets_)
            if (PtInRect(&gadget->Bounds(), point)) {
                gadget->LButtonDown();
                return 0;
            }
        return 0;
    }
    }
    return TControl::HandleMessage(msg, wParam, lParam);
}

}  // namespace fw
