// One full rendering of the pie (Rebuild): background, guide circles, every shown segment, the centre disk,
// the optional statistics overlay and the centre label, through a PiePainter; refills RingAreas and finally
// asks the host to show the current folder's figures. The pie window owns one renderer and calls Rebuild
// whenever the folder, the size, the mode or the settings change.
#pragma once

#include <cstdint>
#include <string>

#include "model/DirInfo.h"
#include "pie/Crc.h"
#include "pie/PieHost.h"
#include "pie/PieLayout.h"
#include "pie/PiePainter.h"
#include "pie/PieSettings.h"
#include "pie/RingAreas.h"
#include "pie/SegmentColour.h"

namespace pie {

// The overlay text: numbers right-aligned in 10 characters, times in milliseconds with 3 decimals.
std::string FormatPieStats(int rings, int segments, double renderMs, double sortMs);

// Nanosecond steady clock, for hosts without a performance counter of their own.
Clock SteadyClock();

class PieRenderer {
public:
    explicit PieRenderer(Clock clock = SteadyClock());
    PieRenderer(const PieRenderer&) = delete;
    PieRenderer& operator=(const PieRenderer&) = delete;

    PieSettings settings;
    // Type colouring and the highlight: the tree's type colours, kept by the owner (who drops them with the
    // tree), and the highlighted type.
    TypeShading types;
    // The shallow status row's name for the current folder after a rendering: "" unless the owner has
    // something to say there (the highlighted type's totals).
    std::string currentStatusName;

    // Renders `current` (null: background only) into a width x height surface. A surface without pixels
    // draws nothing and leaves nothing to hit; neither does a null folder.
    void Rebuild(const model::DirInfo* current, int width, int height, PieHost& host, PiePainter& painter);
    // Drops the segments of the last rendering, whose names are borrowed from the tree: after the tree
    // changed, nothing is found in the old pixels until the next Rebuild.
    void Forget() noexcept { areas_.Clear(); }

    const RingAreas& Areas() const noexcept { return areas_; }
    int RingCount() const noexcept { return rings_; }
    int SegmentCount() const noexcept { return segments_; }
    int CentreX() const noexcept { return geometry_.cx; }
    int CentreY() const noexcept { return geometry_.cy; }
    int CentreRadius() const noexcept { return geometry_.centre; }
    // The text of the centre label of the last rendering.
    const std::string& CentreText() const noexcept { return centreText_; }
    double RenderMs() const noexcept { return renderMs_; }
    double SortMs() const noexcept { return sortMs_; }  // measured only while "ShowPieStats" is on

private:
    Clock clock_;
    tv::CrcEngine engine_;
    tv::Crc crc_;
    RingAreas areas_;
    PieGeometry geometry_;
    int rings_ = 0;
    int segments_ = 0;
    double renderMs_ = 0;
    double sortMs_ = 0;
    std::string centreText_;
};

}  // namespace pie
