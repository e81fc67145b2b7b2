// GDI drawing of the pie's elements.
#include "pie/GdiPainter.h"

#include <cstdlib>
#include <vector>

#include "fw/Handles.h"
#include "fw/Utf8.h"
#include "pie/ArcPolygon.h"

namespace pie {

using fw::Colour;
namespace {

int SysColourIndex(SystemColour colour) { return colour == SystemColour::kButtonFace ? COLOR_BTNFACE : COLOR_WINDOW; }

}  // namespace

void GdiPainter::Background(SystemColour colour, int width, int height) {
    const RECT rect{0, 0, width, height};
    FillRect(dc_, &rect, GetSysColorBrush(SysColourIndex(colour)));
}

void GdiPainter::GuideCircles(int cx, int cy, const std::vector<int>& radii, SystemColour colour) {
    fw::Pen pen(CreatePen(PS_SOLID, 1, GetSysColor(SysColourIndex(colour))));
    fw::SelectGuard penGuard(dc_, pen.Get());
    fw::SelectGuard brushGuard(dc_, GetStockObject(HOLLOW_BRUSH));
    for (int r : radii) Ellipse(dc_, cx - r, cy - r, cx + r, cy + r);
}

static_assert(sizeof(Point) == sizeof(POINT));

namespace {

// Paints a visible segment with the DC's current pen and brush.
void PaintSegment(HDC dc, const fw::Rect& outer, const fw::Rect& inner, double start, double end, bool asFile) {
    if (!asFile) {
        const Point p1 = RadialPoint(outer, start);
        const Point p2 = RadialPoint(outer, end);
        if (p1 == p2) {
            Ellipse(dc, outer.left, outer.top, outer.right, outer.bottom);  // a lone child: the whole circle
        } else if (std::abs(p1.x - p2.x) <= 1 && std::abs(p1.y - p2.y) <= 1) {
            // Some systems take end points this close for a full turn and fill the whole circle.
            const std::vector<Point> points = FolderWedgePolygon(outer, start, end);
            Polygon(dc, reinterpret_cast<const POINT*>(points.data()), static_cast<int>(points.size()));
        } else {
            Pie(dc, outer.left, outer.top, outer.right, outer.bottom, p2.x, p2.y, p1.x, p1.y);
        }
        return;
    }
    const std::vector<Point> points = FileSegmentPolygon(outer, inner, start, end);
    Polygon(dc, reinterpret_cast<const POINT*>(points.data()), static_cast<int>(points.size()));
}

}  // namespace

bool DrawSegment(HDC dc, const fw::Rect& outer, const fw::Rect& inner, Colour colour, double start, double end,
                 bool asFile) {
    if (!SegmentIsVisible(outer, start, end)) return false;
    // The DC brush takes a new colour without creating a GDI object per segment.
    fw::SelectGuard brushGuard(dc, GetStockObject(DC_BRUSH));
    SetDCBrushColor(dc, colour);
    PaintSegment(dc, outer, inner, start, end, asFile);
    return true;
}

GdiPainter::GdiPainter(HDC dc, HFONT labelFont) noexcept
    : dc_(dc), labelFont_(labelFont), oldPen_(SelectObject(dc, GetStockObject(BLACK_PEN))),
      oldBrush_(SelectObject(dc, GetStockObject(DC_BRUSH))) {}

GdiPainter::~GdiPainter() {
    if (oldBrush_ && oldBrush_ != HGDI_ERROR) SelectObject(dc_, oldBrush_);
    if (oldPen_ && oldPen_ != HGDI_ERROR) SelectObject(dc_, oldPen_);
}

bool GdiPainter::DrawSegment(const fw::Rect& outer, const fw::Rect& inner, Colour colour, double start, double end,
                             bool asFile) {
    if (!SegmentIsVisible(outer, start, end)) return false;
    SetDCBrushColor(dc_, colour);
    PaintSegment(dc_, outer, inner, start, end, asFile);
    return true;
}

void GdiPainter::CentreDisk(const fw::Rect& square, Colour colour) {
    SetDCBrushColor(dc_, colour);
    Ellipse(dc_, square.left, square.top, square.right, square.bottom);
}

void GdiPainter::StatsOverlay(const std::string& text, SystemColour background) {
    fw::SelectGuard fontGuard(dc_, GetStockObject(SYSTEM_FIXED_FONT));
    const int oldMode = SetBkMode(dc_, OPAQUE);
    const COLORREF oldBk = SetBkColor(dc_, GetSysColor(SysColourIndex(background)));
    RECT rect{0, 0, 1000, 1000};
    DrawTextA(dc_, text.c_str(), static_cast<int>(text.size()), &rect, DT_EXPANDTABS | DT_LEFT | DT_TOP | DT_NOPREFIX);
    SetBkColor(dc_, oldBk);
    SetBkMode(dc_, oldMode);
}

void GdiPainter::CentreLabel(const std::string& name, int cx, int cy) {
    fw::SelectGuard fontGuard(dc_, labelFont_);
    const int oldMode = SetBkMode(dc_, TRANSPARENT);
    const COLORREF oldColour = GetTextColor(dc_);
    SIZE size{};
    // The wide functions: the narrow ones read the text in the font's code page, not as UTF-8.
    const std::wstring wide = fw::Utf8ToWide(name);
    const int length = static_cast<int>(wide.size());
    GetTextExtentPoint32W(dc_, wide.c_str(), length, &size);
    const int x = cx - size.cx / 2, y = cy - size.cy / 2;
    // A black outline keeps the white name readable on any centre colour.
    SetTextColor(dc_, RGB(0, 0, 0));
    TextOutW(dc_, x - 1, y, wide.c_str(), length);
    TextOutW(dc_, x + 1, y, wide.c_str(), length);
    TextOutW(dc_, x, y - 1, wide.c_str(), length);
    TextOutW(dc_, x, y + 1, wide.c_str(), length);
    SetTextColor(dc_, RGB(255, 255, 255));
    TextOutW(dc_, x, y, wide.c_str(), length);
    SetTextColor(dc_, oldColour);
    SetBkMode(dc_, oldMode);
}

}  // namespace pie
