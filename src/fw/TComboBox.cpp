#include "fw/TComboBox.h"

#include <commctrl.h>

namespace fw {

TComboBox::TComboBox(TWindow* parent, UINT id, int width, int height) : TControl(parent, id) {
    Attr().style = WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_TABSTOP | CBS_DROPDOWNLIST;
    Attr().width = width;
    Attr().height = height;
}

const char* TComboBox::ClassName() const { return WC_COMBOBOXA; }

int TComboBox::AddString(const std::string& text) {
    return static_cast<int>(SendMessageA(GetHandle(), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str())));
}

int TComboBox::Count() const {
    const LRESULT count = SendMessageA(GetHandle(), CB_GETCOUNT, 0, 0);
    return count > 0 ? static_cast<int>(count) : 0;
}

std::string TComboBox::GetString(int index) const {
    const LRESULT length = SendMessageA(GetHandle(), CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0);
    if (length <= 0) return {};
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    SendMessageA(GetHandle(), CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<std::size_t>(length));
    return text;
}

int TComboBox::GetSelIndex() const {
    const LRESULT index = SendMessageA(GetHandle(), CB_GETCURSEL, 0, 0);
    return index == CB_ERR ? -1 : static_cast<int>(index);
}

void TComboBox::SetSelIndex(int index) { SendMessageA(GetHandle(), CB_SETCURSEL, static_cast<WPARAM>(index), 0); }

void TComboBox::Clear() { SendMessageA(GetHandle(), CB_RESETCONTENT, 0, 0); }

bool TComboBox::HandleReflected(UINT msg, WPARAM wParam, LPARAM, LRESULT& result) {
    if (msg != WM_COMMAND || !notify_) return false;
    notify_(HIWORD(wParam));
    result = 0;
    return true;
}

}  // namespace fw
