// The system status bar control (one simple text part) as a framework window.
#pragma once

#include "fw/TControl.h"

#include <string>

namespace fw {

class TStatusBar : public TControl {
public:
    TStatusBar(TWindow* parent, bool sizeGrip, UINT id);
    void SetText(const std::string& text);
    std::string GetText() const;

protected:
    const char* ClassName() const override;
};

}  // namespace fw
