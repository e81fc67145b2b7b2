// Reflection: a child control reports to its parent (WM_COMMAND, WM_NOTIFY, WM_HSCROLL/WM_VSCROLL,
// WM_DRAWITEM, WM_MEASUREITEM, WM_COMPAREITEM, WM_DELETEITEM, WM_CTLCOLOR*); the parent hands the message
// back to the child's own object, so each control handles its own notifications. Windows and dialogs both
// call ReflectToChild first for every message they receive.
#pragma once

#include <windows.h>

namespace fw {

// The child that sent `msg` to `parent`, or null when the message is not a child's notification (menu and
// accelerator commands, menu owner-draw, window scroll bars).
HWND NotificationSender(HWND parent, UINT msg, WPARAM wParam, LPARAM lParam) noexcept;

// WM_CTLCOLOR*: a control asks its parent for the brush to paint itself with.
constexpr bool IsColourRequest(UINT msg) noexcept { return msg >= WM_CTLCOLORMSGBOX && msg <= WM_CTLCOLORSTATIC; }

// Hands a child's notification to the child's object; true when that object handled it (its result in
// `result`). False for anything else, and for a window's notification to itself.
bool ReflectToChild(HWND parent, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);

}  // namespace fw
