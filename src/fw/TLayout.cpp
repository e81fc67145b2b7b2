#include "fw/TLayout.h"

namespace fw {

void TLayout::SetConstraints(HWND child, const EdgeConstraints& constraints) {
    for (Entry& entry : entries_)
        if (entry.child == child) {
            entry.constraints = constraints;
            return;
        }
    entries_.push_back({child, constraints});
}

bool TLayout::Has(HWND child) const noexcept {
    for (const Entry& entry : entries_)
        if (entry.child == child) return true;
    return false;
}

void TLayout::Apply(HWND parent) const {
    if (entries_.empty()) return;
    const Rect client = ClientLayoutRect(parent);
    constexpr UINT kFlags = SWP_NOZORDER | SWP_NOACTIVATE;
    // One batch moves every child at once; when the system refuses it, each child is moved on its own.
    HDWP batch = BeginDeferWindowPos(static_cast<int>(entries_.size()));
    for (const Entry& entry : entries_) {
        if (!batch) break;
        if (!IsWindow(entry.child)) continue;
        const Rect r = Place(entry.constraints, client);
        batch = DeferWindowPos(batch, entry.child, nullptr, r.left, r.top, r.Width(), r.Height(), kFlags);
    }
    if (batch && EndDeferWindowPos(batch)) return;
    for (const Entry& entry : entries_) {
        if (!IsWindow(entry.child)) continue;
        const Rect r = Place(entry.constraints, client);
        SetWindowPos(entry.child, nullptr, r.left, r.top, r.Width(), r.Height(), kFlags);
    }
}

Rect ClientLayoutRect(HWND wnd) noexcept {
    RECT r{};
    GetClientRect(wnd, &r);
    return {r.left, r.top, r.right, r.bottom};
}

Rect ChildLayoutRect(HWND child, HWND parent) noexcept {
    RECT r{};
    GetWindowRect(child, &r);
    MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&r), 2);
    return {r.left, r.top, r.right, r.bottom};
}

}  // namespace fw
