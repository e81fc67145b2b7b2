// A cell of the status bars: a text gadget that a click marks or unmarks. A marked cell is painted on the
// tool tip background, an unmarked one on the button face like the bar.
#pragma once

#include "fw/TTextGadget.h"

namespace frame {

class TMyTextGadget : public fw::TTextGadget {
public:
    using TTextGadget::TTextGadget;

    bool IsMarked() const noexcept { return marked_; }
    // Repaints the cell when the mark changes.
    void SetMarked(bool marked);

    void LButtonDown() override { SetMarked(!marked_); }

protected:
    int BackgroundColour() const override { return marked_ ? COLOR_INFOBK : COLOR_BTNFACE; }
    int TextColour() const override { return marked_ ? COLOR_INFOTEXT : COLOR_BTNTEXT; }

private:
    bool marked_ = false;
};

}  // namespace frame
