// What the pie layout asks of a drawing surface. The GDI painter draws into the pie window's back buffer;
// tests record the calls. Squares are (left, top, right, bottom) in pixels; colours 0x00BBGGRR.
#pragma once

#include <string>
#include <vector>

#include "fw/Colour.h"
#include "fw/Rect.h"

namespace pie {

inline fw::Rect SquareAround(int cx, int cy, int radius) noexcept {
    return {cx - radius, cy - radius, cx + radius, cy + radius};
}

// The two system colours of the view: the background is one, the guide circles and overlay the other.
enum class SystemColour { kWindow, kButtonFace };

class PiePainter {
public:
    virtual ~PiePainter() = default;

    virtual void Background(SystemColour colour, int width, int height) = 0;
    virtual void GuideCircles(int cx, int cy, const std::vector<int>& radii, SystemColour colour) = 0;
    // One segment of the ring whose outer and inner bounds are the squares; a folder as a wedge of the outer
    // circle, a file as the outer two thirds of the ring. Returns whether anything was drawn.
    virtual bool DrawSegment(const fw::Rect& outer, const fw::Rect& inner, fw::Colour colour, double start, double end,
                             bool asFile) = 0;
    virtual void CentreDisk(const fw::Rect& square, fw::Colour colour) = 0;
    virtual void StatsOverlay(const std::string& text, SystemColour background) = 0;
    virtual void CentreLabel(const std::string& name, int cx, int cy) = 0;
};

}  // namespace pie
