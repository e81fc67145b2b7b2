// The picture behind the settings dialog's transparency preview: a colour wash whose hue runs from left to
// right and whose lightness runs from black at the top to white at the bottom, at full saturation, made
// with the same HLS conversion the pie's rainbow colouring uses. Portable, so the wash is tested natively.
#pragma once

#include "fw/Colour.h"

#include <cstddef>
#include <cstdint>

namespace options {

// The wash's colour at (x, y) of a width x height area (x < width, y < height).
fw::Colour WashColour(int x, int y, int width, int height) noexcept;

// Fills 24-bit rows (blue, green, red bytes; `stride` bytes apart, top row first) with the wash. An area
// without pixels writes nothing and divides by nothing.
void FillWash(std::uint8_t* bits, int width, int height, std::size_t stride) noexcept;

}  // namespace options
