// Where a tip goes and how it is laid over the pie, without a window system: the rectangle beside the
// cursor, the area composed off-screen (the new tip, or its union with the previous one when they
// overlap, so that one copy both removes the old tip and shows the new one), and the per-byte blend of
// the tip image over the pie image.
#pragma once

#include <cstddef>
#include <cstdint>

#include "fw/Rect.h"
#include "pie/TipParser.h"

namespace pie {

// The tip centred below the cursor (32 pixels down), above it (16 pixels up) when it would pass the
// bottom, then shifted right off a negative left edge, or left off the right edge when the view is at
// least as wide as the tip.
fw::Rect PlaceTip(int cursorX, int cursorY, TipSize size, int clientWidth, int clientHeight, int dpi = 96) noexcept;

struct TipComposition {
    fw::Rect area;    // what is composed and copied to the window
    int originX = 0;  // the tip's place inside the area
    int originY = 0;
    bool previousCovered = false;  // the previous tip lies inside the area and needs no repaint of its own
};

// `previous` is the last tip's rectangle (all 0 when none is on screen). The union is taken when the two
// overlap on both axes (touching edges do not count).
TipComposition ComposeTip(const fw::Rect& previous, const fw::Rect& next) noexcept;

// The part of `area` inside the client rectangle (0, 0, width, height); empty when none is.
fw::Rect ClipToClient(const fw::Rect& area, int width, int height) noexcept;

// The ends of the tip transparency: the tip alone, and no tip at all.
inline constexpr int kSolidTip = 0;
inline constexpr int kInvisibleTip = 255;

// Blends the tip image over the pie image, byte by byte, into `pie`: a byte equal in both stays, any other
// becomes (T x pie + (255 - T) x tip) / 255 with T the transparency (0 = the tip alone, 255 = the pie
// alone). Rows of `width` 3-byte pixels lie `stride` bytes apart. Each colour channel remembers its last
// pair of inputs and result, so runs of one colour cost no division.
void BlendTip(std::uint8_t* pie, const std::uint8_t* tip, int width, int height, std::size_t stride,
              int transparency) noexcept;

}  // namespace pie
