// The settings dialog's transparency preview: a child window with a sunken edge laid exactly over the
// template's placeholder area. It shows a tip-coloured box blended over a colour wash (TransWash.h) with
// the tip blend of the pie, so the user sees what a transparency value does before pressing OK.
//
//   preview_ = std::make_unique<TTransPreview>(this, placeholderRect, transparency);
//   preview_->Create();
//   preview_->SetTransparency(slider position);   // re-blends and repaints
//
// A preview of no pixels (a zero-size placeholder) keeps no bitmaps and paints nothing.
#pragma once

#include "fw/Dib.h"
#include "fw/TWindow.h"

#include <optional>

namespace options {

class TTransPreview : public fw::TWindow {
public:
    // `rect`: the placeholder's rectangle in the parent's client coordinates.
    TTransPreview(fw::TWindow* parent, const RECT& rect, int transparency);

    int Transparency() const noexcept { return transparency_; }
    void SetTransparency(int transparency);

protected:
    const char* ClassName() const override { return "KelvaranTransPreview"; }
    void FillWindowClass(WNDCLASSEXA& wc) const override;
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    void SetupWindow() override;

private:
    void MakeImages();
    void Blend();
    void Paint(HDC dc) const;

    int transparency_;
    int width_ = 0;
    int height_ = 0;
    std::optional<fw::Dib> background_;
    std::optional<fw::Dib> foreground_;
    std::optional<fw::Dib> result_;
};

}  // namespace options
