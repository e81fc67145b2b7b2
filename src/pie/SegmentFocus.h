// The pie's keyboard focus over the segments of the last rendering (RingAreas): the moves of the arrow
// keys and Home, where a segment sits for the tip and the context menu, its outline, the text a screen
// reader announces for it, and which item keeps the focus when the current folder changes.
//
// The pie window keeps the focus as the item's relative path, which survives every rendering and every
// change of the tree, and turns it into a SegmentRef with Locate after each rendering (the refs index the
// RingAreas and are void once it is reset). Pure functions over the recorded rings.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "pie/ArcPolygon.h"
#include "pie/RingAreas.h"

namespace pie {

// A recorded segment: `ring` -1 is the centre (the current folder), whose index is 0.
struct SegmentRef {
    int ring = -1;
    std::size_t index = 0;
    friend bool operator==(const SegmentRef&, const SegmentRef&) = default;
};

enum class FocusMove {
    kPrevious,  // counter-clockwise on the same ring, wrapping
    kNext,      // clockwise on the same ring, wrapping
    kOutward,   // the first of its children on the ring outside
    kInward,    // its folder on the ring inside; the centre from the first ring
    kHome       // the largest segment of the first ring
};

// Where `move` takes the focus from `from`; `from` itself where there is nowhere to go (outward from a
// file, sideways from the centre). A `from` that is no recorded segment goes Home. Home is the widest
// segment of the first ring (the first of equals), or the centre when that ring is empty.
SegmentRef MoveFocus(const RingAreas& areas, SegmentRef from, FocusMove move);

// The segment of a relative path as RingAreas::PathOf composes it ("" the centre); nullopt when it is not
// shown.
std::optional<SegmentRef> Locate(const RingAreas& areas, std::string_view relative);

// The segment that takes the focus of `relative`: the item itself when shown, else its deepest folder on a
// ring (an item below the outermost ring, or one that went), else Home.
SegmentRef FocusFor(const RingAreas& areas, std::string_view relative);

// The relative path of a segment ("" for the centre).
std::string PathOf(const RingAreas& areas, SegmentRef ref);

// The middle of a segment as an offset from the pie's centre: half-way between its ring's radii at its
// middle angle; (0, 0) for the centre.
Point AnchorOf(const RingAreas& areas, SegmentRef ref);

// The closed outline of a segment around the pie's centre (cx, cy): the outer arc clockwise, then the inner
// arc back. Empty for the centre, which is a circle of radius Radii()[0].
std::vector<Point> OutlineOf(const RingAreas& areas, SegmentRef ref, int cx, int cy);

// What the focus becomes when the current folder changes from `oldCurrent` to `newCurrent` (full paths
// ending in a backslash) while it was on `focus` (relative to the old one): going up, the folder just left;
// else the same item when it lies below the new folder; nullopt (go Home) otherwise, also for the new
// folder itself.
std::optional<std::string> FocusAfterMove(std::string_view oldCurrent, std::string_view focus,
                                          std::string_view newCurrent);

// The text a screen reader announces for an item: its name, its size and its share of the current folder,
// "name, 1.5 MB, 42.3%" (a folder's name keeps its backslash; the share is left out when `total` is 0).
std::string AccessibleText(std::string_view name, std::uint64_t value, std::uint64_t total);

}  // namespace pie
