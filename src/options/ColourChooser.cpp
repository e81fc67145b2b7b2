#include "options/ColourChooser.h"

#include <commdlg.h>

namespace options {

std::optional<std::uint32_t> SystemColourChooser(HWND owner, std::uint32_t initial) {
    COLORREF custom[16];
    for (COLORREF& c : custom) c = RGB(255, 255, 255);
    CHOOSECOLORA cc{};
    cc.lStructSize = sizeof cc;
    cc.hwndOwner = owner;
    cc.rgbResult = initial;
    cc.lpCustColors = custom;
    cc.Flags = CC_FULLOPEN | CC_RGBINIT;
    if (!ChooseColorA(&cc)) return std::nullopt;
    return static_cast<std::uint32_t>(cc.rgbResult);
}

}  // namespace options
