// The system status bar control (one simple text part) as a framework window.
#pragma once

#include "fw/TWindow.h"

#include <string>

namespace fw {

class TStatusBar : public TWindow {
public:
    TStatusBar(TWindow* parent, bool sizeGrip, UINT id);
    void SetText(const std::string& text);
    std::string GetText() const;

protected:
    const char* ClassName() const override;
    bool IsSystemClass() const override { return true; }
};

}  // namespace fw
