// RGB <-> HLS on the 0..240 scale.
#include "fw/Colour.h"

#include <algorithm>

namespace fw {
namespace {

constexpr int kScale = 240;
constexpr int kRgbMax = 255;

int HueValue(int m1, int m2, int h) noexcept {
    if (h < 0) h += kScale;
    if (h > kScale) h -= kScale;
    if (h < 40) return m1 + ((m2 - m1) * h + 20) / 40;
    if (h < 120) return m2;
    if (h < 160) return m1 + ((m2 - m1) * (160 - h) + 20) / 40;
    return m1;
}

}  // namespace

Hls RgbToHls(Colour colour) noexcept {
    const int r = RedOf(colour), g = GreenOf(colour), b = BlueOf(colour);
    const int mx = std::max({r, g, b});
    const int mn = std::min({r, g, b});
    Hls hls;
    hls.lightness = ((mx + mn) * kScale + kRgbMax) / (2 * kRgbMax);
    if (mx == mn) return hls;
    const int d = mx - mn;
    const int s = mx + mn;
    if (hls.lightness <= kScale / 2)
        hls.saturation = (d * kScale + s / 2) / s;
    else
        hls.saturation = (d * kScale + (2 * kRgbMax - s) / 2) / (2 * kRgbMax - s);
    const int rd = ((mx - r) * (kScale / 6) + d / 2) / d;
    const int gd = ((mx - g) * (kScale / 6) + d / 2) / d;
    const int bd = ((mx - b) * (kScale / 6) + d / 2) / d;
    int h;
    if (r == mx)
        h = bd - gd;
    else if (g == mx)
        h = kScale / 3 + rd - bd;
    else
        h = 2 * kScale / 3 + gd - rd;
    if (h < 0) h += kScale;
    if (h > kScale) h -= kScale;
    hls.hue = h;
    return hls;
}

Colour HlsToRgb(const Hls& hls) noexcept {
    const int l = hls.lightness, s = hls.saturation, h = hls.hue;
    if (s == 0) {
        const int grey = std::clamp(l * kRgbMax / kScale, 0, kRgbMax);
        return MakeColour(grey, grey, grey);
    }
    const int m2 = l <= kScale / 2 ? (l * (kScale + s) + kScale / 2) / kScale : l + s - (l * s + kScale / 2) / kScale;
    const int m1 = 2 * l - m2;
    // Out-of-range input (components above 240) must not wrap into another colour.
    const auto channel = [&](int hue) {
        return std::clamp((HueValue(m1, m2, hue) * kRgbMax + kScale / 2) / kScale, 0, kRgbMax);
    };
    return MakeColour(channel(h + 80), channel(h), channel(h - 80));
}

}  // namespace fw
