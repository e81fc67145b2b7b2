// Helpers for the pie tests: compact tree construction and a painter that records every call (the host is
// the shared common/FakePieHost.h).
#pragma once

#include <string>
#include <vector>

#include "model/DirInfo.h"
#include "pie/ArcPolygon.h"
#include "pie/PiePainter.h"
#include "pie/SegmentColour.h"

namespace pie_test {

inline model::DirInfo Dir(std::string name, model::RecordList<model::DirInfo> subdirs,
                          model::RecordList<model::FileInfo> files) {
    model::DirInfo d(std::move(name));
    d.subdirs = std::move(subdirs);
    d.files = std::move(files);
    return d;
}

inline model::DirInfo Tree(model::DirInfo root, std::uint32_t clusterSize = 0) {
    model::RecomputeTotals(root, clusterSize);
    return root;
}

struct PaintCall {
    enum Kind { kBackground, kGuides, kSegment, kCentre, kStats, kLabel } kind = kBackground;
    fw::Rect outer{}, inner{};
    fw::Colour colour = 0;
    double start = 0, end = 0;
    bool asFile = false;
    std::string text;
    std::vector<int> radii;
};

inline PaintCall Call(PaintCall::Kind kind, fw::Rect outer = {}, fw::Rect inner = {}, fw::Colour colour = 0,
                      double start = 0, double end = 0, bool asFile = false) {
    PaintCall c;
    c.kind = kind;
    c.outer = outer;
    c.inner = inner;
    c.colour = colour;
    c.start = start;
    c.end = end;
    c.asFile = asFile;
    return c;
}

// Records calls; "draws" a segment exactly when the shared visibility rule says it would be seen.
class RecordingPainter : public pie::PiePainter {
public:
    std::vector<PaintCall> calls;

    void Background(pie::SystemColour, int, int) override { calls.push_back(Call(PaintCall::kBackground)); }
    void GuideCircles(int, int, const std::vector<int>& radii, pie::SystemColour) override {
        PaintCall c = Call(PaintCall::kGuides);
        c.radii = radii;
        calls.push_back(c);
    }
    bool DrawSegment(const fw::Rect& outer, const fw::Rect& inner, fw::Colour colour, double start, double end,
                     bool asFile) override {
        calls.push_back(Call(PaintCall::kSegment, outer, inner, colour, start, end, asFile));
        return pie::SegmentIsVisible(outer, start, end);
    }
    void CentreDisk(const fw::Rect& square, fw::Colour colour) override {
        calls.push_back(Call(PaintCall::kCentre, square, {}, colour));
    }
    void StatsOverlay(const std::string& text, pie::SystemColour) override {
        PaintCall c = Call(PaintCall::kStats);
        c.text = text;
        calls.push_back(c);
    }
    void CentreLabel(const std::string& name, int, int) override {
        PaintCall c = Call(PaintCall::kLabel);
        c.text = name;
        calls.push_back(c);
    }

    std::vector<PaintCall> Segments() const {
        std::vector<PaintCall> out;
        for (const auto& c : calls)
            if (c.kind == PaintCall::kSegment) out.push_back(c);
        return out;
    }
};

}  // namespace pie_test
