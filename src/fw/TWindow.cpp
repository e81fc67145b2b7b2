#include "fw/TWindow.h"

#include "fw/PendingException.h"

#include <stdexcept>

namespace fw {
namespace {
constexpr const char* kObjectProperty = "KelvaranObject";
}

TWindow::TWindow(TWindow* parent) : parent_(parent) {}

TWindow::~TWindow() {
    if (hwnd_) {
        HWND hwnd = hwnd_;
        if (IsSystemClass()) RemovePropA(hwnd, kObjectProperty);
        hwnd_ = nullptr;
        if (!IsSystemClass()) SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
        DestroyWindow(hwnd);
    }
}

TWindow* TWindow::FromHandle(HWND hwnd) noexcept {
    if (!hwnd) return nullptr;
    if (auto* object = static_cast<TWindow*>(GetPropA(hwnd, kObjectProperty))) return object;
    if (GetWindowLongPtrA(hwnd, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(&TWindow::WindowProc))
        return reinterpret_cast<TWindow*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    return nullptr;
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
    if (!IsSystemClass()) RegisterClassOnce();
    HWND parentHandle = parent_ ? parent_->GetHandle() : nullptr;
    HWND hwnd = CreateWindowExA(attr_.exStyle, ClassName(), attr_.title.c_str(), attr_.style, attr_.x, attr_.y,
                                attr_.width, attr_.height, parentHandle, reinterpret_cast<HMENU>(attr_.idOrMenu),
                                GetModuleHandleA(nullptr), IsSystemClass() ? nullptr : this);
    if (!hwnd) throw std::runtime_error(std::string("CreateWindowEx failed for ") + ClassName());
    if (IsSystemClass()) {
        hwnd_ = hwnd;
        SetPropA(hwnd, kObjectProperty, this);
    }
    SetupWindow();
}

void TWindow::Attach(HWND hwnd) noexcept {
    hwnd_ = hwnd;
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

LRESULT TWindow::DefaultProcessing(UINT msg, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcA(hwnd_, msg, wParam, lParam);
}

bool TWindow::HandleReflected(UINT, WPARAM, LPARAM, LRESULT&) { return false; }

LRESULT TWindow::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_COMMAND:
        if (lParam) {
            LRESULT result = 0;
            TWindow* control = FromHandle(reinterpret_cast<HWND>(lParam));
            if (control && control != this && control->HandleReflected(msg, wParam, lParam, result)) return result;
        }
        break;
    case WM_NOTIFY: {
        LRESULT result = 0;
        TWindow* control = FromHandle(reinterpret_cast<const NMHDR*>(lParam)->hwndFrom);
        if (control && control != this && control->HandleReflected(msg, wParam, lParam, result)) return result;
        break;
    }
    case WM_DESTROY:
        CleanupWindow();
        break;
    }
    return DefaultProcessing(msg, wParam, lParam);
}

LRESULT CALLBACK TWindow::WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    TWindow* self = nullptr;
    if (msg == WM_NCCREATE) {
        self = static_cast<TWindow*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
        if (self) self->Attach(hwnd);
    } else {
        self = reinterpret_cast<TWindow*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    }
    if (!self) return DefWindowProcA(hwnd, msg, wParam, lParam);

    LRESULT result = 0;
    try {
        result = self->HandleMessage(msg, wParam, lParam);
    } catch (...) {
        StorePendingException(std::current_exception());
    }
    if (msg == WM_NCDESTROY) {
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
        self->hwnd_ = nullptr;
    }
    return result;
}

}  // namespace fw
