// The transparency preview's colour wash.
#include "options/TransWash.h"

namespace options {

fw::Colour WashColour(int x, int y, int width, int height) noexcept {
    if (width <= 0 || height <= 0) return 0;
    return fw::HlsToRgb({x * 240 / width, y * 240 / height, 240});
}

void FillWash(std::uint8_t* bits, int width, int height, std::size_t stride) noexcept {
    if (!bits || width <= 0 || height <= 0) return;
    for (int y = 0; y < height; ++y) {
        std::uint8_t* pixel = bits + static_cast<std::size_t>(y) * stride;
        for (int x = 0; x < width; ++x, pixel += 3) {
            const fw::Colour c = WashColour(x, y, width, height);
            pixel[0] = static_cast<std::uint8_t>(fw::BlueOf(c));
            pixel[1] = static_cast<std::uint8_t>(fw::GreenOf(c));
            pixel[2] = static_cast<std::uint8_t>(fw::RedOf(c));
        }
    }
}

}  // namespace options
