// The shown segments of the last rendering, ring by ring, with the ring boundary radii, for hit testing.
// Rendering calls Reset(n, R, c) and then Add for every segment in traversal order; the pie window calls
// Find(distance, angle) for every mouse event. Angles are radians in -pi/2..3pi/2, growing clockwise on
// screen from three o'clock.
//
// A rendering may record a million segments, so a segment keeps only its angles, the item's name (borrowed
// from the tree, which must outlive the record until the next Reset or Clear) and the index of its folder's segment
// on the ring inside; its path is composed when asked for. Within a ring the segments follow the clockwise
// order of the layout, which lets Find search by angle.
#pragma once

#include "model/Name.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace pie {

struct Segment {
    double start = 0;
    double end = 0;
    const model::Name* name = nullptr;
    std::int32_t parent = -1;  // index on the ring inside; -1 on ring 0
    bool isDir = false;
};

// Exact boundary k of n equal-area rings between the centre radius c and the outer radius R (n > 0).
double RingBoundary(double outer, double centre, int n, int k) noexcept;

class RingAreas {
public:
    // n empty rings and the n + 1 pixel radii (just R when n is 0). Ring storage is kept for reuse.
    void Reset(int n, int outerRadius, int centreRadius);
    // No rings and no radii: Find reports nothing (used when no folder is shown).
    void Clear() noexcept;
    // Appends a segment and returns its index on the ring. `parent` is the folder's index on ring - 1.
    std::int32_t Add(int ring, double start, double end, const model::Name& name, bool isDir, std::int32_t parent);

    // The relative path under (distance, angle): "" for the centre; nullopt outside the pie or in a gap.
    // A segment contains the angles from its start up to, not including, its end; where rounding lets two
    // neighbours overlap, the earlier one wins.
    std::optional<std::string> Find(int distance, double angle) const;

    // Find for a point (dx, dy) from the pie's centre: distance truncated, angle by atan2 (0 at the centre)
    // brought into -pi/2..3pi/2.
    std::optional<std::string> FindPoint(int dx, int dy) const;

    // Relative path of a recorded segment: folder names each followed by a backslash, then the item's name
    // (with a backslash when it is a folder).
    std::string PathOf(int ring, std::size_t index) const;

    int RingCount() const noexcept { return rings_; }
    const std::vector<Segment>& Ring(int ring) const { return segments_[static_cast<std::size_t>(ring)]; }
    std::size_t SegmentCount() const noexcept;
    const std::vector<int>& Radii() const noexcept { return radii_; }

private:
    std::vector<std::vector<Segment>> segments_;  // may hold more vectors than rings, kept for their storage
    int rings_ = 0;
    std::vector<int> radii_;
};

}  // namespace pie
