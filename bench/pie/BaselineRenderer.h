// The pie renderer as it was before segments were recorded compactly and folders painted as ring sectors:
// string paths per segment, a recursive layout, folder wedges reaching the centre. Kept in the benchmark
// only, to time it beside the current renderer in one run and to compare their images and hit tests.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "model/DirInfo.h"
#include "pie/GdiPainter.h"
#include "pie/PieLayout.h"
#include "pie/PieSettings.h"

namespace baseline {

struct Segment {
    double start = 0;
    double end = 0;
    std::string path;
};

class RingAreas {
public:
    void Reset(int n, int outerRadius, int centreRadius);
    void Add(int ring, double start, double end, std::string path);
    std::optional<std::string> Find(int distance, double angle) const;
    const std::vector<std::vector<Segment>>& Rings() const noexcept { return rings_; }
    const std::vector<int>& Radii() const noexcept { return radii_; }

private:
    std::vector<std::vector<Segment>> rings_;
    std::vector<int> radii_;
};

// Folder wedges drawn with Pie() from the centre, files as ring sectors. With `thinAsPolygon` false every
// wedge goes to Pie(), as before end points on neighbouring pixels were known to fill the whole circle.
class WedgePainter : public pie::GdiPainter {
public:
    WedgePainter(HDC dc, HFONT labelFont, bool thinAsPolygon = true) noexcept
        : pie::GdiPainter(dc, labelFont), thinAsPolygon_(thinAsPolygon) {}
    bool DrawSegment(const fw::Rect& outer, const fw::Rect& inner, fw::Colour colour, double start, double end,
                     bool asFile) override;

private:
    bool thinAsPolygon_;
};

struct Result {
    int rings = 0;
    int segments = 0;
    double sortMs = 0;
    int cx = 0, cy = 0;
};

// Background, guide circles, segments, centre disk and label; no overlay and no status call.
Result Rebuild(const model::DirInfo& current, int width, int height, const pie::PieSettings& settings,
               std::uint32_t clusterSize, pie::PiePainter& painter, RingAreas& areas, pie::Clock clock);

}  // namespace baseline
