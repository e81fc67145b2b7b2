// A tool bar (the system tool bar control) with gadgets left to right: command buttons with a glyph, a
// button with a glyph and a text beside it, separators, and controls (combo boxes) that sit in the bar.
//
//   TControlBar bar(&frame, id);
//   bar.SetImages(LoadMaskedStrip(...), 16);
//   bar.AddButton(CM_BACK, 1);  bar.AddSeparator(6);  auto& box = bar.AddControl(std::make_unique<...>(), 100);
//   bar.Create();  bar.SetCommandTarget(frame.GetHandle());
//
// Gadgets may be added before or after Create(). A click on a button is sent to the command target (the
// parent when none is set) as a menu command would be: WM_COMMAND with the button's id and lParam 0. The
// bar owns the controls added to it; their notifications come back to their own objects by reflection.
// The bar keeps its height: the buttons' height plus Margin() above and below, set again by LayoutBar()
// whenever the images change. Buttons show their command's hint string as a tool tip. Widths and margins
// are given in pixels at 96 DPI and scaled for the bar's DPI (SetDpi; the glyphs are the caller's).
#pragma once

#include "fw/ImageList.h"
#include "fw/TControl.h"

#include <memory>
#include <string>
#include <vector>

namespace fw {

class TControlBar : public TControl {
public:
    TControlBar(TWindow* parent, UINT id);

    // The glyphs: pictures `glyphSize` pixels square. The bar keeps the list; LayoutBar() applies sizes.
    void SetImages(ImageList images, int glyphSize);
    int GlyphSize() const noexcept { return glyphSize_; }

    void AddButton(UINT id, int glyph, bool enabled = false);
    // A button with `text` to the right of its glyph and room for `textChars` average characters.
    void AddTextButton(UINT id, int glyph, const std::string& text, int textChars, bool enabled = false);
    void AddSeparator(int width);
    // `height`: the control's window height as made (a combo box's with its list), for scaling it; 0 keeps
    // the control at the size it was made.
    template <class Control>
    Control& AddControl(std::unique_ptr<Control> control, int width, int height = 0) {
        Control& added = *control;
        AddOwnedControl(std::move(control), width, height);
        return added;
    }

    void SetButtonEnabled(UINT id, bool enabled);
    bool IsButtonEnabled(UINT id) const;
    // The button's rectangle in the bar's client coordinates (empty when there is no such button).
    RECT ButtonRect(UINT id) const;

    void SetCommandTarget(HWND target) noexcept { target_ = target; }
    // The command target, or the parent when none is set.
    HWND CommandTarget() const noexcept;

    // Sizes the buttons for the glyphs, places the controls over their gadgets and sets the bar's height.
    void LayoutBar();

    // The DPI the bar is laid out for (the system's until set). SetDpi takes the dialog font for it and
    // scales separators, controls and margins; the caller then gives glyphs for it (SetImages, LayoutBar).
    int Dpi() const noexcept { return dpi_; }
    void SetDpi(int dpi);

protected:
    const char* ClassName() const override;
    void SetupWindow() override;
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    bool HandleReflected(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

    // Pixels kept free above and below the buttons, at 96 DPI.
    virtual int Margin() const { return 0; }
    int ScaledMargin() const;

private:
    struct Gadget {
        enum class Kind { Button, TextButton, Separator, Control } kind;
        UINT id = 0;
        int glyph = 0;
        int width = 0;  // separators and controls, at 96 DPI
        std::string text;
        int textChars = 0;
        bool enabled = false;
        TControl* control = nullptr;
        int controlHeight = 0;  // a control's window with a combo box's list, at 96 DPI; 0: as made
    };
    void AddGadget(Gadget gadget);
    void InsertIntoControl(Gadget& gadget);
    HFONT BarFont() const noexcept;
    void AddOwnedControl(std::unique_ptr<TControl> control, int width, int height);
    bool AnswerTip(LPARAM lParam);

    std::vector<Gadget> gadgets_;
    std::vector<std::unique_ptr<TControl>> controls_;
    ImageList images_;
    int glyphSize_ = 16;
    int dpi_;
    Font font_;  // the dialog font made for dpi_; empty at the system DPI, where the stock font serves
    HWND target_ = nullptr;
    std::wstring tip_;
};

}  // namespace fw
