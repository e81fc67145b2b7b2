// One cell of a gadget bar (TStatusBar): a width, the rectangle the bar placed it in, its painting and its
// click. The bar owns its gadgets, places them whenever it is laid out and paints them on request.
#pragma once

#include <windows.h>

namespace fw {

class TGadget {
public:
    // Width 0: the gadget takes whatever the bar has left.
    explicit TGadget(int width = 0) noexcept : width_(width) {}
    virtual ~TGadget() = default;
    TGadget(const TGadget&) = delete;
    TGadget& operator=(const TGadget&) = delete;

    int Width() const noexcept { return width_; }
    void SetWidth(int width) noexcept { width_ = width; }
    // The DPI the gadget draws at (its margins); the bar sets it.
    int Dpi() const noexcept { return dpi_; }
    void SetDpi(int dpi) noexcept { dpi_ = dpi; }
    const RECT& Bounds() const noexcept { return bounds_; }

    // Called by the bar that holds the gadget.
    void Place(HWND bar, const RECT& bounds) noexcept {
        bar_ = bar;
        bounds_ = bounds;
    }
    virtual void Paint(HDC dc) const = 0;
    virtual void LButtonDown() {}

protected:
    // Repaints the gadget in its bar (nothing before the bar is laid out).
    void Invalidate() const noexcept {
        if (bar_) InvalidateRect(bar_, &bounds_, FALSE);
    }

private:
    int width_;
    int dpi_ = 96;
    HWND bar_ = nullptr;
    RECT bounds_{};
};

}  // namespace fw
