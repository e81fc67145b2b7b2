// The "Growth" colouring of a comparison with an earlier scan: grown items red, shrunk green, unchanged grey,
// new items blue. The shade runs from pale to strong with the item's share of the current folder's change
// (its amount against the folder's, at most 1), so what made the folder grow stands out.
#pragma once

#include "compare/TreeComparison.h"
#include "fw/Colour.h"

#include <cstdint>

namespace pie {

inline constexpr fw::Colour kUnchangedGrey = fw::MakeColour(192, 192, 192);

// `reference`: the amount of the current folder's change; 0 gives every changed item the strong shade.
fw::Colour GrowthColour(bool isNew, compare::SizeChange change, std::uint64_t reference) noexcept;

}  // namespace pie
