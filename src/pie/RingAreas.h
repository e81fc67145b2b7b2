// The shown segments of the last rendering, ring by ring, with the ring boundary radii, for hit testing.
// Rendering calls Reset(n, R, c) and then Add for every segment in traversal order; the pie window calls
// Find(distance, angle) for every mouse event. Angles are radians in -pi/2..3pi/2, growing clockwise on
// screen from three o'clock.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace pie {

struct Segment {
    double start = 0;
    double end = 0;
    std::string path;  // relative to the current folder; folders end with a backslash
};

// Exact boundary k of n equal-area rings between the centre radius c and the outer radius R (n > 0).
double RingBoundary(double outer, double centre, int n, int k) noexcept;

class RingAreas {
public:
    // n empty rings and the n + 1 pixel radii (just R when n is 0).
    void Reset(int n, int outerRadius, int centreRadius);
    // No rings and no radii: Find reports nothing (used when no folder is shown).
    void Clear();
    void Add(int ring, double start, double end, std::string path);

    // The relative path under (distance, angle): "" for the centre; nullopt outside the pie or in a gap.
    std::optional<std::string> Find(int distance, double angle) const;

    const std::vector<std::vector<Segment>>& Rings() const noexcept { return rings_; }
    const std::vector<int>& Radii() const noexcept { return radii_; }

private:
    std::vector<std::vector<Segment>> rings_;
    std::vector<int> radii_;
};

}  // namespace pie
