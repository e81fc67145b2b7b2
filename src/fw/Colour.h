// Colour values and their HLS arithmetic (the pie's colouring, the histogram's shades). Colours are 0x00BBGGRR like the
// system's COLORREF; HLS values carry hue, lightness and saturation on a 0..240 scale packed as H | L << 8 | S << 16.
// Integer divisions throughout, so the conversions round-trip the way the painting code expects.
#pragma once

#include <cstdint>

namespace fw {

using Colour = std::uint32_t;

constexpr Colour MakeColour(int red, int green, int blue) noexcept {
    return static_cast<Colour>((red & 0xFF) | ((green & 0xFF) << 8) | ((blue & 0xFF) << 16));
}
constexpr int RedOf(Colour c) noexcept { return static_cast<int>(c & 0xFF); }
constexpr int GreenOf(Colour c) noexcept { return static_cast<int>((c >> 8) & 0xFF); }
constexpr int BlueOf(Colour c) noexcept { return static_cast<int>((c >> 16) & 0xFF); }

struct Hls {
    int hue = 0;
    int lightness = 0;
    int saturation = 0;
    friend bool operator==(const Hls&, const Hls&) = default;
};

constexpr std::uint32_t PackHls(const Hls& hls) noexcept {
    return static_cast<std::uint32_t>((hls.hue & 0xFF) | ((hls.lightness & 0xFF) << 8) |
                                      ((hls.saturation & 0xFF) << 16));
}
constexpr Hls UnpackHls(std::uint32_t packed) noexcept {
    return {static_cast<int>(packed & 0xFF), static_cast<int>((packed >> 8) & 0xFF),
            static_cast<int>((packed >> 16) & 0xFF)};
}

Hls RgbToHls(Colour colour) noexcept;
Colour HlsToRgb(const Hls& hls) noexcept;

}  // namespace fw
