#include "fw/TDialog.h"

#include "fw/PendingException.h"

#include <stdexcept>

namespace fw {

TDialog::TDialog(TWindow* parent, int templateId) : TWindow(parent), templateId_(templateId) {}

TDialog::~TDialog() {
    // A modeless dialog still open: detach first, so no message reaches the half-destroyed object.
    if (HWND hwnd = GetHandle()) {
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
        BindHandle(nullptr);
        DestroyWindow(hwnd);
    }
}

INT_PTR TDialog::Execute() {
    modal_ = true;
    HWND owner = GetParent() ? GetParent()->GetHandle() : nullptr;
    const INT_PTR result = DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(templateId_), owner,
                                           &TDialog::DialogProc, reinterpret_cast<LPARAM>(this));
    modal_ = false;
    RethrowPendingException();
    return result;
}

void TDialog::CreateModeless() {
    modal_ = false;
    HWND owner = GetParent() ? GetParent()->GetHandle() : nullptr;
    if (!CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(templateId_), owner, &TDialog::DialogProc,
                            reinterpret_cast<LPARAM>(this)))
        throw std::runtime_error("CreateDialogParam failed for template " + std::to_string(templateId_));
}

void TDialog::CloseWindow(INT_PTR result) {
    if (CanClose()) Destroy(result);
}

void TDialog::Destroy(INT_PTR result) {
    HWND hwnd = GetHandle();
    if (!hwnd) return;
    if (modal_) {
        EndDialog(hwnd, result);
        PostMessageA(hwnd, WM_NULL, 0, 0);  // wakes the modal loop when the request came as a sent message
    } else
        DestroyWindow(hwnd);
}

void TDialog::SetItemText(int id, const std::string& text) { SetDlgItemTextA(GetHandle(), id, text.c_str()); }

std::string TDialog::GetItemText(int id) const {
    HWND item = Item(id);
    if (!item) return {};
    std::string text(static_cast<std::size_t>(GetWindowTextLengthA(item)) + 1, '\0');
    text.resize(static_cast<std::size_t>(GetWindowTextA(item, text.data(), static_cast<int>(text.size()))));
    return text;
}

void TDialog::SetMsgResult(LRESULT result) { SetWindowLongPtrA(GetHandle(), DWLP_MSGRESULT, result); }

bool TDialog::HandleCommand(int id, int, HWND) {
    if (id != IDOK && id != IDCANCEL) return false;
    CloseWindow(id);
    return true;
}

LRESULT TDialog::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_INITDIALOG:
        SetupWindow();
        return TRUE;
    case WM_COMMAND: {
        auto* control = reinterpret_cast<HWND>(lParam);
        LRESULT result = 0;
        if (TWindow* wrapper = FromHandle(control); wrapper && wrapper != this &&
                                                    wrapper->HandleReflected(msg, wParam, lParam, result))
            return TRUE;
        return HandleCommand(LOWORD(wParam), HIWORD(wParam), control) ? TRUE : FALSE;
    }
    case WM_NOTIFY: {
        LRESULT result = 0;
        TWindow* wrapper = FromHandle(reinterpret_cast<const NMHDR*>(lParam)->hwndFrom);
        if (wrapper && wrapper != this && wrapper->HandleReflected(msg, wParam, lParam, result)) {
            SetMsgResult(result);
            return TRUE;
        }
        return FALSE;
    }
    case WM_DESTROY:
        CleanupWindow();
        return FALSE;
    }
    return FALSE;
}

INT_PTR CALLBACK TDialog::DialogProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    TDialog* self = nullptr;
    if (msg == WM_INITDIALOG) {
        self = reinterpret_cast<TDialog*>(lParam);
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, lParam);
        self->BindHandle(hwnd);
    } else {
        self = reinterpret_cast<TDialog*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    }
    if (!self) return FALSE;

    INT_PTR result = FALSE;
    try {
        result = self->HandleMessage(msg, wParam, lParam);
    } catch (...) {
        StorePendingException(std::current_exception());
        if (self->modal_) EndDialog(hwnd, IDCANCEL);
    }
    if (msg == WM_NCDESTROY) {
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
        self->BindHandle(nullptr);
    }
    return result;
}

}  // namespace fw
