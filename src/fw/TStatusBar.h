// The system status bar control as a framework window, in one of two modes fixed before Create():
// - plain: one text part (SetText/GetText), placed by the control at the bottom of its parent;
// - gadgets: cells inserted left to right (Insert), laid out and painted by the bar itself, so several
//   bars can be stacked by their frame. The bar keeps its own height (the font's text plus the cells'
//   edges), answers clicks by handing them to the gadget under the mouse, and draws the size grip when
//   it has one. The system's own part painting cannot be used for this: the control moves itself back
//   to the bottom of its parent on every resize, and sunken parts do not take a colour of their own.
//   A simple text (a menu hint) can cover the cells for a while. The bar answers the control's text
//   queries (SB_GETPARTS, SB_GETTEXTW, SB_GETTEXTLENGTHW, SB_GETRECT) with its text cells, so tools that read status
//   bars (screen readers, test drivers) see what it shows.
#pragma once

#include "fw/Handles.h"
#include "fw/TControl.h"
#include "fw/TGadget.h"

#include <memory>
#include <string>
#include <vector>

namespace fw {

class TStatusBar : public TControl {
public:
    TStatusBar(TWindow* parent, bool sizeGrip, UINT id);

    void SetText(const std::string& text);
    std::string GetText() const;

    // Gadgets go in before Create(); the bar owns them.
    template <class Gadget>
    Gadget& Insert(std::unique_ptr<Gadget> gadget) {
        Gadget& inserted = *gadget;
        InsertGadget(std::move(gadget));
        return inserted;
    }
    int GadgetCount() const noexcept { return static_cast<int>(gadgets_.size()); }
    const TGadget& GadgetAt(int index) const { return *gadgets_.at(static_cast<std::size_t>(index)); }
    TGadget& GadgetAt(int index) { return *gadgets_.at(static_cast<std::size_t>(index)); }

    // Shown across the whole bar instead of the gadgets while not empty (gadget mode).
    void SetSimpleText(std::string text);
    const std::string& SimpleText() const noexcept { return simpleText_; }

    // The font of the bar and its gadgets; the bar keeps it. Before Create().
    void SetFont(Font font) noexcept { font_ = std::move(font); }
    HFONT GetFont() const noexcept;

    // The DPI the bar is laid out for (the system's until set). SetDpi sets it on the gadgets too and, once
    // the window exists, sets the bar's height and lays the gadgets out again; a bar that makes its own
    // font or sizes its cells rebuilds them first (ApplyDpi).
    int Dpi() const noexcept { return dpi_; }
    void SetDpi(int dpi);

protected:
    const char* ClassName() const override;
    void SetupWindow() override;
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

    // Fonts and widths for `dpi`, before the bar is laid out again; nothing here.
    virtual void ApplyDpi(int) {}

private:
    void InsertGadget(std::unique_ptr<TGadget> gadget);
    bool HasGadgets() const noexcept { return !gadgets_.empty(); }
    int NaturalHeight() const;
    RECT GripRect() const;
    void LayoutGadgets();
    void PaintGadgets(HDC dc, const RECT& dirty) const;
    // The text of the index-th text gadget (SB_SIMPLEID: the simple text); null for none.
    const std::string* TextOfPart(WPARAM index) const;

    bool sizeGrip_;
    std::vector<std::unique_ptr<TGadget>> gadgets_;
    Font font_;
    std::string simpleText_;
    int dpi_;
};

}  // namespace fw
