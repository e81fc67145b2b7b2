// A text cell of a gadget bar: a UTF-8 text drawn through the wide API (so names outside the code page
// show as they are), aligned in a recessed or plain cell on a system colour.
#pragma once

#include "fw/TGadget.h"

#include <string>

namespace fw {

class TTextGadget : public TGadget {
public:
    enum class Align { Left, Centre, Right };

    TTextGadget(int width, Align align, bool recessed = true) noexcept
        : TGadget(width), align_(align), recessed_(recessed) {}

    const std::string& Text() const noexcept { return text_; }
    // Repaints the cell when the text changes.
    void SetText(std::string text);

    void Paint(HDC dc) const override;

    // The width that shows `text` whole in a cell at `dpi`, with the font selected into `dc`.
    static int WidthFor(HDC dc, const std::string& text, int dpi = 96);

protected:
    // System colour indexes of the cell.
    virtual int BackgroundColour() const { return COLOR_BTNFACE; }
    virtual int TextColour() const { return COLOR_BTNTEXT; }

private:
    Align align_;
    bool recessed_;
    std::string text_;
};

}  // namespace fw
