// A dialog built from a resource template, run modally (Execute) or modeless (CreateModeless).
//
// The dialog procedure takes the object from WM_INITDIALOG's lParam and calls the virtual HandleMessage,
// whose result is what the procedure returns: non-zero when the message was handled (a notification's
// own result goes through SetMsgResult). WM_INITDIALOG calls SetupWindow, WM_DESTROY CleanupWindow.
// Notifications of wrapped controls are reflected to them first (fw/Reflection.h); other commands reach
// HandleCommand, where Enter (IDOK) and Esc (IDCANCEL) ask CloseWindow. Controls of the template are
// borrowed wrappers attached by id in SetupWindow (fw/TControl.h).
//
// Closing: CloseWindow(result) is the close request, overridable so that a dialog can refuse while work
// runs; the default asks CanClose and then Destroy(result), which ends the dialog unconditionally.
//
// An exception thrown by a handler is kept (StorePendingException), the dialog is ended with IDCANCEL,
// and Execute rethrows it once the modal loop has returned.
#pragma once

#include "fw/TWindow.h"

#include <windows.h>

#include <string>

namespace fw {

class TDialog : public TWindow {
public:
    TDialog(TWindow* parent, int templateId);
    ~TDialog() override;

    // Modal run; returns the value given to Destroy, or -1 when the dialog could not be created.
    INT_PTR Execute();
    // Creates the dialog without a modal loop; the caller's loop must pass messages through
    // IsDialogMessage (TApplication does for registered modeless dialogs). Throws on failure.
    void CreateModeless();

    virtual void CloseWindow(INT_PTR result = IDCANCEL);
    void Destroy(INT_PTR result);

    bool IsModal() const noexcept { return modal_; }
    HWND Item(int id) const noexcept { return GetDlgItem(GetHandle(), id); }
    void SetItemText(int id, const std::string& text);
    std::string GetItemText(int id) const;

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    // A command no control wrapper took; true when handled.
    virtual bool HandleCommand(int id, int notifyCode, HWND control);
    void SetMsgResult(LRESULT result);

private:
    static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    INT_PTR HandleGuarded(UINT msg, WPARAM wParam, LPARAM lParam);

    int templateId_;
    bool modal_ = false;
};

}  // namespace fw
