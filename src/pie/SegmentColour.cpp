// The five colouring methods and the highlight.
#include "pie/SegmentColour.h"

#include "pie/GrowthColour.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace pie {

using fw::BlueOf;
using fw::Colour;
using fw::GreenOf;
using fw::Hls;
using fw::HlsToRgb;
using fw::MakeColour;
using fw::RedOf;
using fw::RgbToHls;

namespace {

Colour SizeEncoded(const PieSettings& settings, int ring, int n, std::uint64_t value, std::uint64_t parentLargest) {
    // parentLargest is 0 only when every sibling is 0 too; such an item takes the smallest-item colour.
    const double t = parentLargest == 0 ? 0.0 : static_cast<double>(value) / static_cast<double>(parentLargest);
    const auto mix = [t](int c1, int c2) { return std::clamp(static_cast<int>(c2 + t * (c1 - c2)), 0, 255); };
    const Colour c1 = settings.largestColour, c2 = settings.smallestColour;
    const Colour mixed =
        MakeColour(mix(RedOf(c1), RedOf(c2)), mix(GreenOf(c1), GreenOf(c2)), mix(BlueOf(c1), BlueOf(c2)));
    Hls hls = RgbToHls(mixed);
    const float fade = n > 0 ? static_cast<float>(n - ring) / static_cast<float>(n) : 1.0f;
    hls.saturation = static_cast<int>(static_cast<float>(hls.saturation) * fade);
    return HlsToRgb(hls);
}

Colour RainbowWash(double start, double end, int ring, int n) {
    constexpr double kTurn = 2 * std::numbers::pi;
    double angle = (start + end) / 2;
    while (angle < 0) angle += kTurn;
    while (angle > kTurn) angle -= kTurn;
    Hls hls;
    hls.hue = static_cast<int>(angle / kTurn * 240);
    hls.lightness = 120;
    hls.saturation = n > 0 ? (n - ring) * 240 / n : 240;
    return HlsToRgb(hls);
}

Colour NameEncoded(tv::Crc& crc, std::string_view name) {
    crc.Reset();
    crc.Update(name.data(), name.size());
    const std::uint32_t g = crc.Value() & 0xFFFFFFu;
    return MakeColour(static_cast<int>((g & 0xFF) | 0x3F), static_cast<int>(((g >> 8) & 0xFF) | 0x3F),
                      static_cast<int>(((g >> 16) & 0xFF) | 0x3F));
}

}  // namespace

Colour SegmentColour(const PieSettings& settings, const TypeShading& types, tv::Crc& crc, std::string_view name,
                     bool isFile, double start, double end, int ring, int n, std::uint64_t value,
                     std::uint64_t parentLargest) {
    const TypeColours none;
    const TypeColours& colours = types.colours ? *types.colours : none;
    if (types.highlight && isFile && model::HasType(name, *types.highlight)) return colours.OfType(*types.highlight);
    Colour colour;
    switch (settings.colourMethod) {
    case kFixedColour: colour = settings.fixedColour; break;
    case kSizeEncoded: colour = ring < 0 ? kCentreGrey : SizeEncoded(settings, ring, n, value, parentLargest); break;
    case kRainbowWash: colour = ring < 0 ? kCentreGrey : RainbowWash(start, end, ring, n); break;
    case kTypeEncoded:
        if (isFile)
            colour = colours.OfName(name);
        else
            colour = Paler(ring < 0 ? kCentreGrey : SizeEncoded(settings, ring, n, value, parentLargest));
        break;
    case kGrowth:
        colour = kUnchangedGrey;  // the layout colours a comparison itself; without one nothing changed
        break;
    default: colour = NameEncoded(crc, name); break;
    }
    return types.highlight ? Faded(colour) : colour;
}

}  // namespace pie
