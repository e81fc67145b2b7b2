// The pie painter over a GDI device context (the pie window's back buffer, or a DIB in tests). Segments
// and the centre disk are filled with their colour and outlined with the black 1-pixel pen; folders are
// pie wedges of their outer circle, files polygons of the outer two thirds of their ring.
#pragma once

#include <windows.h>

#include "pie/PiePainter.h"

namespace pie {

class GdiPainter : public PiePainter {
public:
    // `labelFont` is borrowed; it must outlive the painter.
    GdiPainter(HDC dc, HFONT labelFont) noexcept : dc_(dc), labelFont_(labelFont) {}

    void Background(SystemColour colour, int width, int height) override;
    void GuideCircles(int cx, int cy, const std::vector<int>& radii, SystemColour colour) override;
    bool DrawSegment(const Square& outer, const Square& inner, Colour colour, double start, double end,
                     bool asFile) override;
    void CentreDisk(const Square& square, Colour colour) override;
    void StatsOverlay(const std::string& text, SystemColour background) override;
    void CentreLabel(const std::string& name, int cx, int cy) override;

private:
    HDC dc_;
    HFONT labelFont_;
};

// Draws one segment on `dc` with the DC's current pen; returns false (drawing nothing) when it is too thin.
bool DrawSegment(HDC dc, const Square& outer, const Square& inner, Colour colour, double start, double end, bool asFile);

}  // namespace pie
