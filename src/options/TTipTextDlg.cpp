#include "options/TTipTextDlg.h"

#include "resource.h"

#include <algorithm>

namespace options {
namespace {
// What one types is bounded; a longer stored template is shown and kept whole.
constexpr std::size_t kTypedLimit = 1024;
}  // namespace

TTipTextDlg::TTipTextDlg(fw::TWindow* parent, std::string text, SymbolFiller filler)
    : TDialog(parent, IDD_TIP_TEXT), text_(std::move(text)), filler_(filler) {}

void TTipTextDlg::SetupWindow() {
    TDialog::SetupWindow();
    HWND list = Item(IDC_TIP_SYMBOLS);
    symbols_.clear();
    if (filler_) {
        for (const std::string& line : filler_()) {
            SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line.c_str()));
            symbols_.push_back(line.substr(0, line.find(" -- ")));
        }
    }
    HWND edit = Item(IDC_TIP_TEXT);
    SendMessageA(edit, EM_LIMITTEXT, std::max(kTypedLimit, text_.size()), 0);
    SetItemText(IDC_TIP_TEXT, text_);
}

void TTipTextDlg::InsertSelectedSymbol() {
    const LRESULT index = SendMessageA(Item(IDC_TIP_SYMBOLS), LB_GETCURSEL, 0, 0);
    if (index < 0 || static_cast<std::size_t>(index) >= symbols_.size()) return;
    HWND edit = Item(IDC_TIP_TEXT);
    SendMessageA(edit, EM_REPLACESEL, TRUE,
                 reinterpret_cast<LPARAM>(symbols_[static_cast<std::size_t>(index)].c_str()));
    SetFocus(edit);
}

bool TTipTextDlg::HandleCommand(int id, int notifyCode, HWND control) {
    if (id == IDC_TIP_SYMBOLS && notifyCode == LBN_DBLCLK) {
        InsertSelectedSymbol();
        return true;
    }
    if (id == IDOK) text_ = GetItemText(IDC_TIP_TEXT);
    return TDialog::HandleCommand(id, notifyCode, control);
}

}  // namespace options
