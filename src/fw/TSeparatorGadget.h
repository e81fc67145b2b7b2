// Space between the cells of a gadget bar, optionally with an etched vertical line in its middle.
#pragma once

#include "fw/TGadget.h"

namespace fw {

class TSeparatorGadget : public TGadget {
public:
    TSeparatorGadget(int width, bool visibleLine) noexcept : TGadget(width), line_(visibleLine) {}

    void Paint(HDC dc) const override;

private:
    bool line_;
};

}  // namespace fw
