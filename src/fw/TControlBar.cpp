#include "fw/TControlBar.h"

#include "fw/Dpi.h"
#include "fw/DpiScale.h"
#include "fw/Handles.h"
#include "fw/Utf8.h"

#include <commctrl.h>

#include <algorithm>

namespace fw {

TControlBar::TControlBar(TWindow* parent, UINT id) : TControl(parent, id), dpi_(SystemDpi()) {
    Attr().style = WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS | TBSTYLE_FLAT | TBSTYLE_LIST |
                   TBSTYLE_TOOLTIPS | CCS_TOP | CCS_NODIVIDER | CCS_NORESIZE | CCS_NOPARENTALIGN;
}

const char* TControlBar::ClassName() const { return TOOLBARCLASSNAMEA; }

void TControlBar::SetImages(ImageList images, int glyphSize) {
    images_ = std::move(images);
    glyphSize_ = glyphSize;
}

void TControlBar::AddButton(UINT id, int glyph, bool enabled) {
    AddGadget({Gadget::Kind::Button, id, glyph, 0, {}, 0, enabled});
}

void TControlBar::AddTextButton(UINT id, int glyph, const std::string& text, int textChars, bool enabled) {
    AddGadget({Gadget::Kind::TextButton, id, glyph, 0, text, textChars, enabled});
}

void TControlBar::AddSeparator(int width) { AddGadget({Gadget::Kind::Separator, 0, 0, width}); }

void TControlBar::AddOwnedControl(std::unique_ptr<TControl> control, int width, int height) {
    control->SetParent(this);
    Gadget gadget{Gadget::Kind::Control, 0, 0, width};
    gadget.controlHeight = height;
    gadget.control = control.get();
    controls_.push_back(std::move(control));
    AddGadget(gadget);
}

void TControlBar::AddGadget(Gadget gadget) {
    gadgets_.push_back(std::move(gadget));
    if (GetHandle()) {
        InsertIntoControl(gadgets_.back());
        LayoutBar();
    }
}

HFONT TControlBar::BarFont() const noexcept { return GuiFontOr(font_); }

int TControlBar::ScaledMargin() const { return ScaleFrom96(Margin(), dpi_); }

void TControlBar::InsertIntoControl(Gadget& gadget) {
    TBBUTTON button{};
    std::wstring text;
    switch (gadget.kind) {
    case Gadget::Kind::Button:
    case Gadget::Kind::TextButton:
        button.iBitmap = gadget.glyph;
        button.idCommand = static_cast<int>(gadget.id);
        button.fsState = gadget.enabled ? TBSTATE_ENABLED : 0;
        button.fsStyle = BTNS_BUTTON;
        button.iString = -1;
        if (gadget.kind == Gadget::Kind::TextButton) {
            text = Utf8ToWide(gadget.text);
            button.fsStyle |= BTNS_SHOWTEXT;
            button.iString = reinterpret_cast<INT_PTR>(text.c_str());
        } else {
            button.fsStyle |= BTNS_AUTOSIZE;
        }
        break;
    case Gadget::Kind::Separator:
    case Gadget::Kind::Control:
        // A control sits over a separator of its width.
        button.iBitmap = ScaleFrom96(gadget.width, dpi_);
        button.fsStyle = BTNS_SEP;
        break;
    }
    SendMessageW(GetHandle(), TB_ADDBUTTONSW, 1, reinterpret_cast<LPARAM>(&button));
    if (!gadget.control) return;
    if (!gadget.control->GetHandle()) gadget.control->Create();
    HWND control = gadget.control->GetHandle();
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(BarFont()), FALSE);
    if (gadget.controlHeight > 0)
        SetWindowPos(control, nullptr, 0, 0, ScaleFrom96(gadget.width, dpi_), ScaleFrom96(gadget.controlHeight, dpi_),
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TControlBar::SetupWindow() {
    TControl::SetupWindow();
    HWND bar = GetHandle();
    SendMessageW(bar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    SendMessageW(bar, TB_SETEXTENDEDSTYLE, 0, TBSTYLE_EX_MIXEDBUTTONS);
    if (const int dpi = WindowDpi(bar); dpi != dpi_) {
        dpi_ = dpi;
        font_ = GuiFontForDpi(dpi);
    }
    SendMessageW(bar, WM_SETFONT, reinterpret_cast<WPARAM>(BarFont()), FALSE);
    for (Gadget& gadget : gadgets_) InsertIntoControl(gadget);
    // The margins live in the non-client area; the first frame calculation ran before the bar was ours.
    SetWindowPos(bar, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    LayoutBar();
}

void TControlBar::LayoutBar() {
    HWND bar = GetHandle();
    if (!bar) return;
    SendMessageW(bar, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images_.Get()));
    SendMessageW(bar, TB_SETBITMAPSIZE, 0, MAKELPARAM(glyphSize_, glyphSize_));
    TEXTMETRICW metrics{};
    {
        ClientDC dc(bar);
        SelectGuard font(dc.Get(), reinterpret_cast<HFONT>(SendMessageW(bar, WM_GETFONT, 0, 0)));
        GetTextMetricsW(dc.Get(), &metrics);
    }
    for (const Gadget& gadget : gadgets_) {
        if (gadget.kind != Gadget::Kind::TextButton) continue;
        TBBUTTONINFOW info{sizeof info};
        info.dwMask = TBIF_SIZE;
        info.cx = static_cast<WORD>(glyphSize_ + ScaleFrom96(12, dpi_) + gadget.textChars * metrics.tmAveCharWidth);
        SendMessageW(bar, TB_SETBUTTONINFOW, gadget.id, reinterpret_cast<LPARAM>(&info));
    }
    SendMessageW(bar, TB_AUTOSIZE, 0, 0);

    int height = HIWORD(SendMessageW(bar, TB_GETBUTTONSIZE, 0, 0));
    for (const Gadget& gadget : gadgets_) {
        if (!gadget.control || !gadget.control->GetHandle()) continue;
        RECT rect{};
        GetWindowRect(gadget.control->GetHandle(), &rect);
        height = std::max(height, static_cast<int>(rect.bottom - rect.top));
    }
    RECT window{};
    GetWindowRect(bar, &window);
    SetWindowPos(bar, nullptr, 0, 0, window.right - window.left, height + 2 * ScaledMargin(),
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);

    for (std::size_t index = 0; index < gadgets_.size(); ++index) {
        const Gadget& gadget = gadgets_[index];
        if (!gadget.control || !gadget.control->GetHandle()) continue;
        RECT slot{}, rect{};
        SendMessageW(bar, TB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&slot));
        GetWindowRect(gadget.control->GetHandle(), &rect);
        const int top = (height - (rect.bottom - rect.top)) / 2;
        SetWindowPos(gadget.control->GetHandle(), nullptr, slot.left, top, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    InvalidateRect(bar, nullptr, TRUE);
}

void TControlBar::SetDpi(int dpi) {
    if (dpi == dpi_) return;
    dpi_ = dpi;
    font_ = GuiFontForDpi(dpi);
    HWND bar = GetHandle();
    if (!bar) return;
    // Separator widths cannot be changed in place: the buttons go in again with the new widths.
    for (std::size_t index = 0; index < gadgets_.size(); ++index) {
        if (gadgets_[index].kind != Gadget::Kind::Button && gadgets_[index].kind != Gadget::Kind::TextButton) continue;
        gadgets_[index].enabled = SendMessageW(bar, TB_ISBUTTONENABLED, gadgets_[index].id, 0) != 0;
    }
    while (SendMessageW(bar, TB_BUTTONCOUNT, 0, 0) > 0) SendMessageW(bar, TB_DELETEBUTTON, 0, 0);
    SendMessageW(bar, WM_SETFONT, reinterpret_cast<WPARAM>(BarFont()), FALSE);
    for (Gadget& gadget : gadgets_) InsertIntoControl(gadget);
    SetWindowPos(bar, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

void TControlBar::SetButtonEnabled(UINT id, bool enabled) {
    for (Gadget& gadget : gadgets_)
        if (gadget.id == id) gadget.enabled = enabled;
    if (GetHandle()) SendMessageW(GetHandle(), TB_ENABLEBUTTON, id, MAKELPARAM(enabled ? TRUE : FALSE, 0));
}

bool TControlBar::IsButtonEnabled(UINT id) const {
    if (GetHandle()) return SendMessageW(GetHandle(), TB_ISBUTTONENABLED, id, 0) != 0;
    return std::any_of(gadgets_.begin(), gadgets_.end(), [id](const Gadget& g) { return g.id == id && g.enabled; });
}

RECT TControlBar::ButtonRect(UINT id) const {
    RECT rect{};
    if (GetHandle()) SendMessageW(GetHandle(), TB_GETRECT, id, reinterpret_cast<LPARAM>(&rect));
    return rect;
}

bool TControlBar::AnswerTip(LPARAM lParam) {
    const auto* header = reinterpret_cast<const NMHDR*>(lParam);
    if (!header || header->hwndFrom != reinterpret_cast<HWND>(SendMessageW(GetHandle(), TB_GETTOOLTIPS, 0, 0)))
        return false;
    const UINT id = static_cast<UINT>(header->idFrom);
    if (header->code == TTN_GETDISPINFOW) {
        wchar_t text[256] = {};
        const int length = LoadStringW(GetModuleHandleW(nullptr), id, text, static_cast<int>(std::size(text)));
        tip_.assign(text, length > 0 ? static_cast<std::size_t>(length) : 0);
        auto* info = reinterpret_cast<NMTTDISPINFOW*>(lParam);
        info->hinst = nullptr;
        info->lpszText = tip_.data();
        return true;
    }
    if (header->code == TTN_GETDISPINFOA) {
        auto* info = reinterpret_cast<NMTTDISPINFOA*>(lParam);
        info->hinst = nullptr;
        info->szText[0] = '\0';
        LoadStringA(GetModuleHandleA(nullptr), id, info->szText, static_cast<int>(std::size(info->szText)));
        info->lpszText = info->szText;
        return true;
    }
    return false;
}

LRESULT TControlBar::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_NCCALCSIZE: {
        const LRESULT result = TControl::HandleMessage(msg, wParam, lParam);
        RECT* client =
            wParam ? &reinterpret_cast<NCCALCSIZE_PARAMS*>(lParam)->rgrc[0] : reinterpret_cast<RECT*>(lParam);
        client->top += ScaledMargin();
        client->bottom = std::max(client->top, client->bottom - ScaledMargin());
        return result;
    }
    case WM_NOTIFY:
        if (AnswerTip(lParam)) return 0;
        break;
    }
    return TControl::HandleMessage(msg, wParam, lParam);
}

HWND TControlBar::CommandTarget() const noexcept {
    return target_ ? target_ : (GetParent() ? GetParent()->GetHandle() : nullptr);
}

bool TControlBar::HandleReflected(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (msg != WM_COMMAND || reinterpret_cast<HWND>(lParam) != GetHandle()) return false;
    if (HWND target = CommandTarget()) SendMessageA(target, WM_COMMAND, MAKEWPARAM(LOWORD(wParam), 0), 0);
    result = 0;
    return true;
}

}  // namespace fw
