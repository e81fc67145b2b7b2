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
// whenever the images change. Buttons show their command's hint string as a tool tip.
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
    template <class Control>
    Control& AddControl(std::unique_ptr<Control> control, int width) {
        Control& added = *control;
        AddOwnedControl(std::move(control), width);
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

protected:
    const char* ClassName() const override;
    void SetupWindow() override;
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    bool HandleReflected(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

    // Pixels kept free above and below the buttons.
    virtual int Margin() const { return 0; }

private:
    struct Gadget {
        enum class Kind { Button, TextButton, Separator, Control } kind;
        UINT id = 0;
        int glyph = 0;
        int width = 0;  // separators and controls
        std::string text;
        int textChars = 0;
        bool enabled = false;
        TControl* control = nullptr;
    };
    void AddGadget(Gadget gadget);
    void InsertIntoControl(const Gadget& gadget);
    void AddOwnedControl(std::unique_ptr<TControl> control, int width);
    bool AnswerTip(LPARAM lParam);

    std::vector<Gadget> gadgets_;
    std::vector<std::unique_ptr<TControl>> controls_;
    ImageList images_;
    int glyphSize_ = 16;
    HWND target_ = nullptr;
    std::wstring tip_;
};

}  // namespace fw
