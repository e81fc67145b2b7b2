// A system control (status bar, tree view, combo box, ...) as a framework window.
//
// Two ways to hold one, and one rule for both: the control is subclassed, so its object hears the
// control's own messages (HandleMessage, ending in the control's procedure) and its WM_NCDESTROY, after
// which GetHandle() is null.
// - Created by the program: set Attr(), then Create(). The wrapper owns the control: destroying a wrapper
//   whose control still lives destroys the control.
// - Borrowed from a dialog template: AttachItem(dialog, id) in the dialog's set-up. The wrapper never
//   destroys it; the control dies with its dialog.
// Notifications the control sends to its parent come back to HandleReflected (fw/Reflection.h).
#pragma once

#include "fw/TWindow.h"

namespace fw {

class TControl : public TWindow {
public:
    // `id` is the child id of a created control; ignored by AttachItem, which names its own.
    explicit TControl(TWindow* parent, UINT id = 0);

    // Borrows an existing control; false (nothing attached) when there is no such window. A wrapper holds
    // one control at a time: attaching again lets go of the previous one.
    bool Attach(HWND control);
    bool AttachItem(HWND dialog, int id) { return Attach(GetDlgItem(dialog, id)); }

    int GetId() const noexcept { return GetHandle() ? GetDlgCtrlID(GetHandle()) : 0; }

protected:
    // The system class name; every control class overrides it.
    const char* ClassName() const override = 0;
};

}  // namespace fw
