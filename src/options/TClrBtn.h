// An owner-drawn push button of the settings dialog that shows one colour of the dialog's data and lets
// the user change it with the dialog's colour chooser (ColourChooser.h). Attached by id in the dialog's
// set-up:
//
//   TClrBtn fixedButton_(this, chooser_);   // the chooser outlives the button
//   fixedButton_.Attach(*this, IDC_SET_FIXED_CLR, data_.pie.fixedColour);
//
// The colour lives in the dialog's data, so Cancel drops a chosen colour with everything else.
#pragma once

#include "fw/TControl.h"
#include "options/ColourChooser.h"

#include <cstdint>

namespace options {

class TClrBtn : public fw::TControl {
public:
    TClrBtn(fw::TWindow* parent, const ColourChooser& chooser) : TControl(parent), chooser_(chooser) {}

    // Binds the template's button `id` to `colour`; false when the dialog has no such button.
    bool Attach(HWND dialog, int id, std::uint32_t& colour);
    std::uint32_t Colour() const noexcept { return colour_ ? *colour_ : 0; }

protected:
    const char* ClassName() const override { return "Button"; }
    bool HandleReflected(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    void Draw(const DRAWITEMSTRUCT& item) const;
    void Choose();

    const ColourChooser& chooser_;
    std::uint32_t* colour_ = nullptr;
};

}  // namespace options
