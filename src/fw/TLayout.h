// The edge-constraint layout of one parent window's children (fw/EdgeConstraints.h). The parent calls
// SetConstraints for each child it wants to move, and Apply on every resize (WM_SIZE): children are placed
// against the parent's client rectangle in one deferred batch. Children without constraints stay put.
#pragma once

#include "fw/EdgeConstraints.h"

#include <windows.h>

#include <vector>

namespace fw {

class TLayout {
public:
    // Replaces the child's constraints when it has some already.
    void SetConstraints(HWND child, const EdgeConstraints& constraints);
    bool Has(HWND child) const noexcept;
    std::size_t Count() const noexcept { return entries_.size(); }

    void Apply(HWND parent) const;

private:
    struct Entry {
        HWND child;
        EdgeConstraints constraints;
    };
    std::vector<Entry> entries_;
};

// Value helpers for the rectangles the layout works with.
Rect ClientLayoutRect(HWND wnd) noexcept;
// The window's rectangle in the client coordinates of `parent`.
Rect ChildLayoutRect(HWND child, HWND parent) noexcept;

}  // namespace fw
