// TWindow binds one HWND to one object for the window's whole life.
//
// Two kinds of window exist, and the kind is fixed at construction:
// - Registered: a class of this program. The static window procedure takes the object from
//   lpCreateParams at WM_NCCREATE and calls the virtual HandleMessage; each class handles its messages in
//   a switch and passes the rest to its base, ending in DefWindowProc.
// - Control: a system class (TControl). The object subclasses the control, so it hears the control's own
//   messages and its WM_NCDESTROY.
// Either way the handle is cleared when the window is gone (WM_NCDESTROY), so GetHandle() never returns a
// dead handle, and OnDestroyed() runs last: after it nothing touches the object, so a window may delete
// itself there. A wrapper destroyed while its window lives detaches first and destroys the window only
// when it owns it.
//
// Finding the object costs no call into the window system's server: the pointer sits in GWLP_USERDATA
// (through a small record for controls, which are subclassed by replacing their window procedure), and a
// window is known to be ours by its procedure, so GWLP_USERDATA of every bound window belongs to the
// framework. A window property names the object as well, for lookups of windows that another procedure
// was hooked in front of. Under Wine a property read or a comctl32 subclass call is a round trip to the
// server, paid per message, which bulk work (a tree of 20,000 folders) cannot afford.
//
// SetupWindow runs once the window exists, CleanupWindow at WM_DESTROY. Notifications that children send
// to their parent (WM_COMMAND, WM_NOTIFY, scroll, owner-draw, WM_CTLCOLOR*) reach the child's object first
// through HandleReflected (fw/Reflection.h).
#pragma once

#include <windows.h>

#include <string>

namespace fw {

class TWindow {
public:
    explicit TWindow(TWindow* parent = nullptr);
    virtual ~TWindow();
    TWindow(const TWindow&) = delete;
    TWindow& operator=(const TWindow&) = delete;

    // Creates the window (and registers its class on first use). Throws std::runtime_error on failure.
    void Create();
    HWND GetHandle() const noexcept { return hwnd_; }
    TWindow* GetParent() const noexcept { return parent_; }
    void SetParent(TWindow* parent) noexcept { parent_ = parent; }

    // Close query: true when the window may close. Frames ask their client.
    virtual bool CanClose() { return true; }

    // The object bound to a window handle by this framework, or null.
    static TWindow* FromHandle(HWND hwnd) noexcept;

    // A notification this window sent to its parent, handed back to it; true when handled (result in
    // `result`).
    virtual bool HandleReflected(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);

protected:
    enum class Kind { Registered, Control };
    TWindow(TWindow* parent, Kind kind);

    struct CreateParams {
        std::string title;
        DWORD style = WS_CHILD | WS_VISIBLE;
        DWORD exStyle = 0;
        int x = CW_USEDEFAULT, y = CW_USEDEFAULT, width = CW_USEDEFAULT, height = CW_USEDEFAULT;
        UINT_PTR idOrMenu = 0;  // child id, or a menu handle for top-level windows
    };
    CreateParams& Attr() noexcept { return attr_; }

    // Window class of this object: a system class for controls, else one registered with WindowProc.
    virtual const char* ClassName() const { return "KelvaranWindow"; }
    virtual void FillWindowClass(WNDCLASSEXA& wc) const;

    virtual LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam);
    virtual void SetupWindow() {}
    virtual void CleanupWindow() {}
    // Runs after WM_NCDESTROY, once the handle is cleared; the last call the framework makes on the object.
    virtual void OnDestroyed() {}

    // What the system would do with the message: DefWindowProc, or the control's own procedure.
    virtual LRESULT DefaultProcessing(UINT msg, WPARAM wParam, LPARAM lParam);

    // Binds a window the system created on another path (a dialog at its first message, a control of a
    // dialog template): the object hears its messages from now on; `owned` says whether the object's
    // destructor destroys a window still alive.
    void Bind(HWND hwnd, bool owned) noexcept;
    // The object bound to a window whose messages come to a procedure of this framework (a registered
    // window or a dialog): read from the window itself, without any check.
    static TWindow* BoundTo(HWND hwnd) noexcept;
    // Lets go of the window without destroying it.
    void Unbind() noexcept;

    // The one trampoline of the framework: every window, control and dialog procedure calls its handler
    // through it. An exception is kept (fw/PendingException.h) and `onError` returned; at WM_NCDESTROY the
    // object is unbound and OnDestroyed runs, after which nothing touches it.
    template <class Handler>
    static LRESULT Dispatch(TWindow* self, UINT msg, Handler&& handle, LRESULT onError) noexcept {
        LRESULT result = onError;
        try {
            result = handle();
        } catch (...) {
            KeepException();
        }
        if (msg == WM_NCDESTROY) {
            self->Unbind();
            try {
                self->OnDestroyed();
            } catch (...) {
                KeepException();
            }
        }
        return result;
    }

private:
    struct ControlHook;
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK ControlProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    static void KeepException() noexcept;
    void RegisterClassOnce() const;

    TWindow* parent_;
    const Kind kind_;
    bool owned_ = false;  // created by Create(): destroyed with the object
    HWND hwnd_ = nullptr;
    ControlHook* hook_ = nullptr;  // a control's previous procedure, while it is bound
    CreateParams attr_;
};

}  // namespace fw
