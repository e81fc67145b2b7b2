// Growth colours (see GrowthColour.h): a straight blend between a pale and a strong shade of each hue.
#include "pie/GrowthColour.h"

namespace pie {
namespace {

using fw::Colour;
using fw::MakeColour;

Colour Blend(Colour pale, Colour strong, double share) noexcept {
    const auto mix = [share](int a, int b) { return static_cast<int>(a + share * (b - a)); };
    return MakeColour(mix(fw::RedOf(pale), fw::RedOf(strong)), mix(fw::GreenOf(pale), fw::GreenOf(strong)),
                      mix(fw::BlueOf(pale), fw::BlueOf(strong)));
}

}  // namespace

fw::Colour GrowthColour(bool isNew, compare::SizeChange change, std::uint64_t reference) noexcept {
    if (!isNew && change.Zero()) return kUnchangedGrey;
    double share = 1;
    if (reference != 0 && change.amount < reference)
        share = static_cast<double>(change.amount) / static_cast<double>(reference);
    if (isNew) return Blend(MakeColour(205, 215, 255), MakeColour(0, 70, 255), share);
    if (change.shrunk) return Blend(MakeColour(205, 245, 205), MakeColour(0, 160, 0), share);
    return Blend(MakeColour(255, 205, 205), MakeColour(220, 0, 0), share);
}

}  // namespace pie
