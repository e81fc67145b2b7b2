#include "fw/TComboBoxEx.h"

#include "fw/Utf8.h"

namespace fw {

TComboBoxEx::TComboBoxEx(TWindow* parent, UINT id, int width, int height) : TControl(parent, id) {
    Attr().style = WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_TABSTOP | CBS_DROPDOWNLIST;
    Attr().width = width;
    Attr().height = height;
}

const char* TComboBoxEx::ClassName() const { return WC_COMBOBOXEXA; }

void TComboBoxEx::SetupWindow() {
    TControl::SetupWindow();
    if (images_) SendMessageA(GetHandle(), CBEM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images_.Get()));
}

void TComboBoxEx::SetImageList(ImageList images) {
    images_ = std::move(images);
    if (GetHandle()) SendMessageA(GetHandle(), CBEM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images_.Get()));
}

int TComboBoxEx::AddItem(const std::string& text, int image) {
    std::wstring wide = Utf8ToWide(text);
    COMBOBOXEXITEMW item{};
    item.mask = CBEIF_TEXT | CBEIF_IMAGE | CBEIF_SELECTEDIMAGE;
    item.iItem = -1;
    item.pszText = wide.data();
    item.iImage = item.iSelectedImage = image;
    const LRESULT index = SendMessageW(GetHandle(), CBEM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
    return index < 0 ? -1 : static_cast<int>(index);
}

int TComboBoxEx::Count() const {
    const LRESULT count = SendMessageA(GetHandle(), CB_GETCOUNT, 0, 0);
    return count > 0 ? static_cast<int>(count) : 0;
}

std::string TComboBoxEx::ItemText(int index) const {
    wchar_t text[260] = {};
    COMBOBOXEXITEMW item{};
    item.mask = CBEIF_TEXT;
    item.iItem = index;
    item.pszText = text;
    item.cchTextMax = static_cast<int>(std::size(text));
    if (!SendMessageW(GetHandle(), CBEM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item))) return {};
    return WideToUtf8(item.pszText);
}

int TComboBoxEx::ItemImage(int index) const {
    COMBOBOXEXITEMW item{};
    item.mask = CBEIF_IMAGE;
    item.iItem = index;
    return SendMessageW(GetHandle(), CBEM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item)) ? item.iImage : -1;
}

int TComboBoxEx::GetSelIndex() const {
    const LRESULT index = SendMessageA(GetHandle(), CB_GETCURSEL, 0, 0);
    return index == CB_ERR ? -1 : static_cast<int>(index);
}

void TComboBoxEx::SetSelIndex(int index) { SendMessageA(GetHandle(), CB_SETCURSEL, static_cast<WPARAM>(index), 0); }

void TComboBoxEx::Clear() { SendMessageA(GetHandle(), CB_RESETCONTENT, 0, 0); }

HWND TComboBoxEx::ComboHandle() const {
    return reinterpret_cast<HWND>(SendMessageA(GetHandle(), CBEM_GETCOMBOCONTROL, 0, 0));
}

bool TComboBoxEx::HandleReflected(UINT msg, WPARAM wParam, LPARAM, LRESULT& result) {
    if (msg != WM_COMMAND || !notify_) return false;
    notify_(HIWORD(wParam));
    result = 0;
    return true;
}

}  // namespace fw
