#include "fw/TWindow.h"

#include "fw/PendingException.h"
#include "fw/Reflection.h"

#include <commctrl.h>

#include <stdexcept>

namespace fw {
namespace {
// The object bound to a window; one lookup for registered windows, controls and dialogs alike.
constexpr const char* kObjectProperty = "KelvaranObject";
constexpr UINT_PTR kSubclassId = 1;
}  // namespace

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

TWindow* TWindow::FromHandle(HWND hwnd) noexcept {
    return hwnd ? static_cast<TWindow*>(GetPropA(hwnd, kObjectProperty)) : nullptr;
}

void TWindow::KeepException() noexcept { StorePendingException(std::current_exception()); }

void TWindow::Bind(HWND hwnd, bool owned) noexcept {
    hwnd_ = hwnd;
    owned_ = owned;
    SetPropA(hwnd, kObjectProperty, this);
    if (kind_ == Kind::Control)
        SetWindowSubclass(hwnd, &TWindow::ControlProc, kSubclassId, reinterpret_cast<DWORD_PTR>(this));
}

void TWindow::Unbind() noexcept {
    HWND hwnd = hwnd_;
    if (!hwnd) return;
    if (kind_ == Kind::Control) RemoveWindowSubclass(hwnd, &TWindow::ControlProc, kSubclassId);
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
    if (kind_ == Kind::Control) return DefSubclassProc(hwnd_, msg, wParam, lParam);
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
    TWindow* self = FromHandle(hwnd);
    if (!self && msg == WM_NCCREATE) {
        self = static_cast<TWindow*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
        if (self) self->Bind(hwnd, true);
    }
    if (!self) return DefWindowProcA(hwnd, msg, wParam, lParam);
    return Dispatch(self, msg, [&] { return self->HandleMessage(msg, wParam, lParam); }, 0);
}

LRESULT CALLBACK TWindow::ControlProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                      DWORD_PTR object) {
    auto* self = reinterpret_cast<TWindow*>(object);
    if (!self || self->hwnd_ != hwnd) return DefSubclassProc(hwnd, msg, wParam, lParam);
    return Dispatch(self, msg, [&] { return self->HandleMessage(msg, wParam, lParam); }, 0);
}

}  // namespace fw
