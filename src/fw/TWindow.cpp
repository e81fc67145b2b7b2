#include "fw/TWindow.h"

#include "fw/PendingException.h"
#include "fw/Reflection.h"

#include <stdexcept>
#include <utility>

namespace fw {
namespace {
// Names the object of a bound window for lookups the fast paths cannot make (see TWindow.h).
constexpr const char* kObjectProperty = "KelvaranObject";
// Names the record of a control procedure left in a chain by a wrapper that could not take it out.
constexpr const char* kHookProperty = "KelvaranHook";

LONG_PTR ReadLong(HWND hwnd, int index, bool unicode) noexcept {
    return unicode ? GetWindowLongPtrW(hwnd, index) : GetWindowLongPtrA(hwnd, index);
}
LONG_PTR WriteLong(HWND hwnd, int index, LONG_PTR value, bool unicode) noexcept {
    return unicode ? SetWindowLongPtrW(hwnd, index, value) : SetWindowLongPtrA(hwnd, index, value);
}
}  // namespace

// A subclassed control's link to its object and to the procedure it had before. It lives in the control's
// GWLP_USERDATA. Normally it goes when the object lets go; when another procedure was hooked in front of
// ours meanwhile, ours cannot be taken out of the chain: it stays, passes every message on, and the record
// goes with the window.
struct TWindow::ControlHook {
    TWindow* object;
    WNDPROC previous;
    bool unicode;
};

TWindow::TWindow(TWindow* parent) : TWindow(parent, Kind::Registered) {}

TWindow::TWindow(TWindow* parent, Kind kind) : parent_(parent), kind_(kind) {}

TWindow::~TWindow() {
    if (!hwnd_) return;
    HWND hwnd = hwnd_;
    const bool owned = owned_;
    // Detach first: the messages of the destruction must not reach a half-destroyed object.
    Unbind();
    if (owned) DestroyWindow(hwnd);
}

TWindow* TWindow::BoundTo(HWND hwnd) noexcept {
    return reinterpret_cast<TWindow*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
}

TWindow* TWindow::FromHandle(HWND hwnd) noexcept {
    if (!hwnd) return nullptr;
    if (reinterpret_cast<WNDPROC>(GetClassLongPtrA(hwnd, GCLP_WNDPROC)) == &TWindow::WindowProc) return BoundTo(hwnd);
    const bool unicode = IsWindowUnicode(hwnd) != FALSE;
    if (reinterpret_cast<WNDPROC>(ReadLong(hwnd, GWLP_WNDPROC, unicode)) == &TWindow::ControlProc) {
        const auto* hook = reinterpret_cast<const ControlHook*>(ReadLong(hwnd, GWLP_USERDATA, unicode));
        return hook ? hook->object : nullptr;
    }
    return static_cast<TWindow*>(GetPropA(hwnd, kObjectProperty));
}

void TWindow::KeepException() noexcept { StorePendingException(std::current_exception()); }

void TWindow::Bind(HWND hwnd, bool owned) noexcept {
    hwnd_ = hwnd;
    owned_ = owned;
    SetPropA(hwnd, kObjectProperty, this);
    if (kind_ != Kind::Control) {
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
        return;
    }
    if (auto* left = static_cast<ControlHook*>(GetPropA(hwnd, kHookProperty))) {
        // Our procedure is still in the chain: reuse it rather than hook in a second time.
        RemovePropA(hwnd, kHookProperty);
        hook_ = left;
        hook_->object = this;
        return;
    }
    const bool unicode = IsWindowUnicode(hwnd) != FALSE;
    hook_ = new ControlHook{this, nullptr, unicode};
    WriteLong(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(hook_), unicode);
    hook_->previous = reinterpret_cast<WNDPROC>(
        WriteLong(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&TWindow::ControlProc), unicode));
}

void TWindow::Unbind() noexcept {
    HWND hwnd = hwnd_;
    if (!hwnd) return;
    if (kind_ == Kind::Control && hook_) {
        ControlHook* hook = std::exchange(hook_, nullptr);
        hook->object = nullptr;
        if (reinterpret_cast<WNDPROC>(ReadLong(hwnd, GWLP_WNDPROC, hook->unicode)) == &TWindow::ControlProc) {
            WriteLong(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(hook->previous), hook->unicode);
            WriteLong(hwnd, GWLP_USERDATA, 0, hook->unicode);
            delete hook;
        } else {
            SetPropA(hwnd, kHookProperty, hook);
        }
    } else if (kind_ != Kind::Control && BoundTo(hwnd) == this) {
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
    }
    if (GetPropA(hwnd, kObjectProperty) == this) RemovePropA(hwnd, kObjectProperty);
    hwnd_ = nullptr;
    owned_ = false;
}

void TWindow::FillWindowClass(WNDCLASSEXA& wc) const {
    wc.style = CS_DBLCLKS;
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
}

void TWindow::RegisterClassOnce() const {
    HINSTANCE instance = GetModuleHandleA(nullptr);
    WNDCLASSEXA existing{sizeof existing};
    if (GetClassInfoExA(instance, ClassName(), &existing)) return;
    WNDCLASSEXA wc{sizeof wc};
    FillWindowClass(wc);
    wc.lpfnWndProc = &TWindow::WindowProc;
    wc.hInstance = instance;
    wc.lpszClassName = ClassName();
    if (!RegisterClassExA(&wc)) throw std::runtime_error(std::string("RegisterClassEx failed for ") + ClassName());
}

void TWindow::Create() {
    if (hwnd_) return;
    const bool control = kind_ == Kind::Control;
    if (!control) RegisterClassOnce();
    HWND parentHandle = parent_ ? parent_->GetHandle() : nullptr;
    HWND hwnd = CreateWindowExA(attr_.exStyle, ClassName(), attr_.title.c_str(), attr_.style, attr_.x, attr_.y,
                                attr_.width, attr_.height, parentHandle, reinterpret_cast<HMENU>(attr_.idOrMenu),
                                GetModuleHandleA(nullptr), control ? nullptr : this);
    if (!hwnd) throw std::runtime_error(std::string("CreateWindowEx failed for ") + ClassName());
    if (control) Bind(hwnd, true);
    SetupWindow();
}

LRESULT TWindow::DefaultProcessing(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (hook_) {
        return hook_->unicode ? CallWindowProcW(hook_->previous, hwnd_, msg, wParam, lParam)
                              : CallWindowProcA(hook_->previous, hwnd_, msg, wParam, lParam);
    }
    return DefWindowProcA(hwnd_, msg, wParam, lParam);
}

bool TWindow::HandleReflected(UINT, WPARAM, LPARAM, LRESULT&) { return false; }

LRESULT TWindow::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    if (ReflectToChild(hwnd_, msg, wParam, lParam, result)) return result;
    if (msg == WM_DESTROY) CleanupWindow();
    return DefaultProcessing(msg, wParam, lParam);
}

LRESULT CALLBACK TWindow::WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    TWindow* self = BoundTo(hwnd);
    if (!self && msg == WM_NCCREATE) {
        self = static_cast<TWindow*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
        if (self) self->Bind(hwnd, true);
    }
    if (!self) return DefWindowProcA(hwnd, msg, wParam, lParam);
    return Dispatch(
        self, msg, [&] { return self->HandleMessage(msg, wParam, lParam); }, 0);
}

LRESULT CALLBACK TWindow::ControlProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto* hook = reinterpret_cast<ControlHook*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!hook) return DefWindowProcW(hwnd, msg, wParam, lParam);  // cannot happen: the record goes last
    auto freeLeftOver = [hwnd, hook] {
        RemovePropA(hwnd, kHookProperty);
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        delete hook;
    };
    if (TWindow* self = hook->object; self && self->hwnd_ == hwnd) {
        const LRESULT result = Dispatch(
            self, msg, [&] { return self->HandleMessage(msg, wParam, lParam); }, 0);
        // Let go at WM_NCDESTROY but could not unhook: the record goes with the window.
        if (msg == WM_NCDESTROY && reinterpret_cast<ControlHook*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA)) == hook)
            freeLeftOver();
        return result;
    }
    // Left in the chain by a wrapper gone: pass the message on.
    const WNDPROC previous = hook->previous;
    const bool unicode = hook->unicode;
    if (msg == WM_NCDESTROY) freeLeftOver();
    return unicode ? CallWindowProcW(previous, hwnd, msg, wParam, lParam)
                   : CallWindowProcA(previous, hwnd, msg, wParam, lParam);
}

}  // namespace fw
