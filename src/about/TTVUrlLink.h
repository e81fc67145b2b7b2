// The About box's link: a URL link that fits its size to its text whenever the text is set, keeping its
// left edge, centre or right edge as its static alignment says, and centring itself vertically when the
// centre-image style is set.
#pragma once

#include "fw/TUrlLink.h"

namespace about {

class TTVUrlLink : public fw::TUrlLink {
public:
    using TUrlLink::TUrlLink;

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    void FitToText();
};

}  // namespace about
