// Colour of one pie segment under the five colouring methods: fixed, size-encoded (between two colours by
// the share of the largest sibling, fading toward grey outward), rainbow wash (hue by angle, saturation by
// ring), name-encoded (CRC-32 of the name) and type-encoded (a file by its type, TypeColours.h; a folder in
// its size-encoded shade, paler). ring is -1 for the centre disk, n the ring count.
//
// While a type is highlighted, its files take their type's colour and everything else, under any method,
// is faded.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "fw/Colour.h"
#include "pie/Crc.h"
#include "pie/PieSettings.h"
#include "pie/TypeColours.h"

namespace pie {

inline constexpr fw::Colour kCentreGrey = fw::MakeColour(128, 128, 128);

// What type colouring and the highlight need: the tree's type colours (null: every type neutral) and the
// highlighted type (lower-cased; null: none).
struct TypeShading {
    const TypeColours* colours = nullptr;
    const std::string* highlight = nullptr;
};

fw::Colour SegmentColour(const PieSettings& settings, const TypeShading& types, tv::Crc& crc, std::string_view name,
                         bool isFile, double start, double end, int ring, int n, std::uint64_t value,
                         std::uint64_t parentLargest);

// Without types, for the methods that need none.
inline fw::Colour SegmentColour(const PieSettings& settings, tv::Crc& crc, std::string_view name, double start,
                                double end, int ring, int n, std::uint64_t value, std::uint64_t parentLargest) {
    return SegmentColour(settings, {}, crc, name, false, start, end, ring, n, value, parentLargest);
}

}  // namespace pie
