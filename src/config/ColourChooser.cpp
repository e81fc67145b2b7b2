#include "config/ColourChooser.h"

#include <commdlg.h>

#include <utility>

namespace config {
namespace {
ColourChooser& Chooser() {
    static ColourChooser chooser;
    return chooser;
}

std::optional<std::uint32_t> SystemChooser(HWND owner, std::uint32_t initial) {
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
}  // namespace

std::optional<std::uint32_t> ChooseColour(HWND owner, std::uint32_t initial) {
    return Chooser() ? Chooser()(owner, initial) : SystemChooser(owner, initial);
}

ColourChooser SetColourChooser(ColourChooser chooser) { return std::exchange(Chooser(), std::move(chooser)); }

}  // namespace config
