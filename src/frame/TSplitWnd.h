// A window split in two panes by a draggable bar: left and right panes (vertical bar) or top and bottom.
// The panes are windows of the holder's (not owned); the splitter only places them.
//
//   TSplitWnd split(&frame, true, 0.333, 4);   // then, once the panes exist:
//   split.SetPanes(&tree, &pie);
//
// The bar keeps `ratio` of the free length (length minus the bar) for the first pane, so resizing keeps the
// proportion of the last drag. With hover tracking, SetHover(true) runs while the cursor is on the bar or
// a drag runs, and SetHover(false) once a 50 ms timer finds the cursor gone. The main view derives from
// it and paints the bar as an etched groove (PaintGroove).
#pragma once

#include "fw/TWindow.h"
#include "fw/Timer.h"

namespace frame {

class TSplitWnd : public fw::TWindow {
public:
    TSplitWnd(fw::TWindow* parent, bool vertical, double ratio, int barWidth);

    void SetPanes(fw::TWindow* first, fw::TWindow* second);
    void SetRepaintBar(bool repaint) noexcept { repaintBar_ = repaint; }
    void SetHoverTracking(bool tracking) noexcept { hoverTracking_ = tracking; }
    virtual void SetHover(bool hover) { hover_ = hover; }

    bool IsHover() const noexcept { return hover_; }
    bool IsDragging() const noexcept { return dragging_; }
    int Position() const noexcept { return position_; }
    double Ratio() const noexcept { return ratio_; }
    RECT BarRect() const;
    // The bar (and with it the zone where the pointer finds it) is `barWidth` pixels at 96 DPI, scaled for
    // `dpi`; the panes are laid out again at the same ratio.
    void SetBarDpi(int dpi);

protected:
    const char* ClassName() const override { return "KelvaranSplitter"; }
    void FillWindowClass(WNDCLASSEXA& wc) const override;
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    void SetupWindow() override;
    void CleanupWindow() override;

    // Paints the splitter's own area (the bar); nothing here.
    virtual void Paint(HDC, const RECT&) {}
    // The etched groove down the middle of the bar, in the window colour while hovering.
    void PaintGroove(HDC dc) const;
    void InvalidateBar() const;
    void Layout();

private:
    bool CursorOnBar() const;
    int Length() const;

    fw::TWindow* first_ = nullptr;
    fw::TWindow* second_ = nullptr;
    int barWidth96_;
    int barWidth_;
    bool repaintBar_ = false;
    bool vertical_;
    double ratio_;
    int position_ = 0;
    bool dragging_ = false;
    int dragOffset_ = 0;
    bool hoverTracking_ = false;
    bool hover_ = false;
    UINT_PTR hoverTimerId_ = 1;
    UINT hoverTimerPeriod_ = 50;
    HCURSOR cursor_ = nullptr;
    fw::WindowTimer hoverTimer_;
};

}  // namespace frame
