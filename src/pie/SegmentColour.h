// Colour of one pie segment under the four colouring methods: fixed, size-encoded (between two colours by
// the share of the largest sibling, fading toward grey outward), rainbow wash (hue by angle, saturation by
// ring) and name-encoded (CRC-32 of the name). ring is -1 for the centre disk, n the ring count.
#pragma once

#include <cstdint>
#include <string_view>

#include "pie/Colour.h"
#include "pie/Crc.h"
#include "pie/PieSettings.h"

namespace pie {

inline constexpr Colour kCentreGrey = MakeColour(128, 128, 128);

Colour SegmentColour(const PieSettings& settings, tv::Crc& crc, std::string_view name, double start, double end,
                    int ring, int n, std::uint64_t value, std::uint64_t parentLargest);

}  // namespace pie
