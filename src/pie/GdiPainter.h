// The pie painter over a GDI device context (the pie window's back buffer, or a DIB in tests). Segments
// and the centre disk are filled with their colour and outlined with the black 1-pixel pen; folders are
// pie wedges of their outer circle (the parent, painted later, covers their inner part; a wedge whose end
// points touch is drawn as a polygon), files polygons of the outer two thirds of their ring.
#pragma once

#include <windows.h>

#include "pie/PiePainter.h"

namespace pie {

class GdiPainter : public PiePainter {
public:
    // `labelFont` is borrowed; it must outlive the painter. The black pen and the DC brush stay selected for
    // the painter's lifetime, so that a segment costs one brush colour and one drawing call.
    GdiPainter(HDC dc, HFONT labelFont) noexcept;
    ~GdiPainter() override;
    GdiPainter(const GdiPainter&) = delete;
    GdiPainter& operator=(const GdiPainter&) = delete;

    void Background(SystemColour colour, int width, int height) override;
    void GuideCircles(int cx, int cy, const std::vector<int>& radii, SystemColour colour) override;
    bool DrawSegment(const fw::Rect& outer, const fw::Rect& inner, fw::Colour colour, double start, double end,
                     bool asFile) override;
    void CentreDisk(const fw::Rect& square, fw::Colour colour) override;
    void StatsOverlay(const std::string& text, SystemColour background) override;
    void CentreLabel(const std::string& name, int cx, int cy) override;

protected:
    HDC Dc() const noexcept { return dc_; }

private:
    HDC dc_;
    HFONT labelFont_;
    HGDIOBJ oldPen_;
    HGDIOBJ oldBrush_;
};

// Draws one segment on `dc` with the DC's current pen; returns false (drawing nothing) when it is too thin.
bool DrawSegment(HDC dc, const fw::Rect& outer, const fw::Rect& inner, fw::Colour colour, double start, double end,
                 bool asFile);

}  // namespace pie
