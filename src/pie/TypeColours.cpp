#include "pie/TypeColours.h"

#include <algorithm>

namespace pie {

using fw::Colour;
using fw::MakeColour;

namespace {
// Far apart from each other, from the neutral grey and from anything faded: each has a channel of 120 or
// less, while fading leaves none below 191.
constexpr Colour kTypeColours[kTypeColourCount] = {
    MakeColour(31, 120, 200), MakeColour(240, 130, 20), MakeColour(40, 160, 60),   MakeColour(215, 40, 45),
    MakeColour(145, 90, 200), MakeColour(140, 85, 60),  MakeColour(230, 100, 190), MakeColour(170, 180, 30),
    MakeColour(20, 190, 200), MakeColour(250, 210, 40), MakeColour(0, 80, 100),    MakeColour(120, 20, 110),
};

Colour TowardWhite(Colour colour, int numerator, int denominator) noexcept {
    const auto mix = [=](int c) { return c + (255 - c) * numerator / denominator; };
    return MakeColour(mix(fw::RedOf(colour)), mix(fw::GreenOf(colour)), mix(fw::BlueOf(colour)));
}
}  // namespace

Colour TypeColourAt(int rank) noexcept {
    return rank >= 0 && rank < kTypeColourCount ? kTypeColours[rank] : kOtherTypesColour;
}

Colour Paler(Colour colour) noexcept { return TowardWhite(colour, 1, 2); }
Colour Faded(Colour colour) noexcept { return TowardWhite(colour, 3, 4); }

TypeColours::TypeColours(const model::TypeTable& wholeTree) {
    const auto larger = [](const model::FileType& a, const model::FileType& b) {
        return a.totals.bytes != b.totals.bytes ? a.totals.bytes > b.totals.bytes : a.type < b.type;
    };
    // The largest so far, largest first: a table of millions of types is read once and not copied.
    std::vector<model::FileType> top;
    wholeTree.ForEachType([&](const model::FileType& type) {
        if (top.size() == kTypeColourCount && !larger(type, top.back())) return;
        top.insert(std::upper_bound(top.begin(), top.end(), type, larger), type);
        if (top.size() > kTypeColourCount) top.pop_back();
    });
    for (const model::FileType& type : top) ranked_.emplace_back(type.type);
}

TypeColours TypeColours::OfTree(const model::DirInfo& root) {
    return TypeColours(model::ComputeTypeTable(root, true, 0));
}

int TypeColours::RankOf(std::string_view type) const noexcept {
    for (std::size_t i = 0; i < ranked_.size(); ++i)
        if (ranked_[i] == type) return static_cast<int>(i);
    return -1;
}

Colour TypeColours::OfName(std::string_view fileName) const {
    const std::string_view raw = model::RawExtension(fileName);
    // Folding keeps the length: an extension no coloured type is as long as is none of them.
    if (std::none_of(ranked_.begin(), ranked_.end(),
                     [&](const std::string& type) { return type.size() == raw.size(); }))
        return kOtherTypesColour;
    char folded[256];
    if (raw.size() <= sizeof folded) return OfType(model::FoldTypeCase(raw, folded));
    std::string heap(raw.size(), '\0');
    return OfType(model::FoldTypeCase(raw, heap.data()));
}

}  // namespace pie
