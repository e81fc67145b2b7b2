#include "fw/TDialog.h"

#include "fw/PendingException.h"
#include "fw/Reflection.h"

#include <stdexcept>

namespace fw {
namespace {
// Messages whose result a dialog procedure returns itself instead of through DWLP_MSGRESULT.
bool ReturnsResultDirectly(UINT msg) {
    if (IsColourRequest(msg)) return true;
    switch (msg) {
    case WM_COMPAREITEM:
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM:
    case WM_QUERYDRAGICON:
    case WM_INITDIALOG: return true;
    }
    return false;
}
}  // namespace

TDialog::TDialog(TWindow* parent, int templateId) : TWindow(parent), templateId_(templateId) {}

TDialog::~TDialog() = default;

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
    LRESULT reflected = 0;
    if (ReflectToChild(GetHandle(), msg, wParam, lParam, reflected)) {
        if (ReturnsResultDirectly(msg)) return reflected;
        SetMsgResult(reflected);
        return TRUE;
    }
    switch (msg) {
    case WM_INITDIALOG: SetupWindow(); return TRUE;
    case WM_COMMAND:
        return HandleCommand(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam)) ? TRUE : FALSE;
    case WM_DESTROY: CleanupWindow(); return FALSE;
    }
    return FALSE;
}

INT_PTR TDialog::HandleGuarded(UINT msg, WPARAM wParam, LPARAM lParam) {
    try {
        return HandleMessage(msg, wParam, lParam);
    } catch (...) {
        // A modal dialog ends at once; the exception travels on through Dispatch and Execute rethrows it.
        if (modal_ && GetHandle()) EndDialog(GetHandle(), IDCANCEL);
        throw;
    }
}

INT_PTR CALLBACK TDialog::DialogProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto* self = static_cast<TDialog*>(BoundTo(hwnd));
    if (!self && msg == WM_INITDIALOG) {
        self = reinterpret_cast<TDialog*>(lParam);
        self->Bind(hwnd, !self->modal_);
    }
    if (!self) return FALSE;
    return Dispatch(
        self, msg, [&] { return self->HandleGuarded(msg, wParam, lParam); }, FALSE);
}

}  // namespace fw
