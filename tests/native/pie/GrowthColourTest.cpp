// The "Growth" colouring: the colour rule as a table, and a rendering of a compared tree whose segments,
// centre disk and centre label must follow the comparison, also below the root.
#include "pie/GrowthColour.h"

#include "PieTestSupport.h"
#include "common/FakePieHost.h"
#include "common/PathTree.h"
#include "pie/PieRenderer.h"

#include <gtest/gtest.h>

#include <map>

namespace {

using compare::SizeChange;
using fw::Colour;
using fw::MakeColour;

TEST(GrowthColour, HueByDirectionShadeByShareOfTheFoldersChange) {
    struct {
        bool isNew;
        SizeChange change;
        std::uint64_t reference;
        Colour expected;
    } cases[] = {
        {false, {0, false}, 100, pie::kUnchangedGrey},
        {false, {100, false}, 100, MakeColour(220, 0, 0)},     // all of the folder's growth: strong red
        {false, {500, false}, 100, MakeColour(220, 0, 0)},     // more than the folder's change: still 1
        {false, {50, false}, 100, MakeColour(237, 102, 102)},  // half way from pale
        {false, {100, true}, 100, MakeColour(0, 160, 0)},      // shrunk: green
        {false, {1, true}, 0, MakeColour(0, 160, 0)},          // a folder that did not change: full shade
        {true, {0, false}, 100, MakeColour(205, 215, 255)},    // new and empty: pale blue
        {true, {100, false}, 100, MakeColour(0, 70, 255)},
    };
    for (const auto& c : cases)
        EXPECT_EQ(pie::GrowthColour(c.isNew, c.change, c.reference), c.expected)
            << c.isNew << ' ' << c.change.amount << ' ' << c.change.shrunk << ' ' << c.reference;
}

// The colour painted for each named segment of the first ring.
std::map<std::string, Colour> RingColours(const pie::PieRenderer& renderer, const pie_test::RecordingPainter& painter) {
    std::map<std::string, Colour> colours;
    for (const pie::Segment& segment : renderer.Areas().Ring(0))
        for (const auto& call : painter.calls)
            if (call.kind == pie_test::PaintCall::kSegment && call.start == segment.start && call.end == segment.end)
                colours[segment.name->str()] = call.colour;
    return colours;
}

TEST(GrowthColour, ARenderingColoursEachItemByItsOwnChange) {
    const model::DirInfo earlier =
        test_support::PathTree("R",
                               {{"grew", 100}, {"fell", 300}, {"same", 100}, {"D\\f", 10}, {"D\\g", 40}, {"E\\h", 5}});
    const model::DirInfo live = test_support::PathTree(
        "R", {{"grew", 200}, {"fell", 150}, {"same", 100}, {"new", 50}, {"D\\f", 20}, {"D\\g", 40}, {"E\\h", 5}});
    const compare::TreeComparison comparison(live, earlier, 0);
    pie_test::RecordingPainter painter;
    test_support::FakePieHost host(live);
    host.comparison = &comparison;
    pie::PieRenderer renderer;
    renderer.settings.colourMethod = pie::kGrowth;
    renderer.settings.sizeKind = model::kLogicalSize;
    renderer.settings.minimumVisibleSize = 0;

    struct {
        std::string current;
        std::map<std::string, Colour> ring;
        Colour centre;
        std::string label;
    } cases[] = {
        // The root grew by 10 bytes: every change is at least that, so every shade is strong.
        {"R\\",
         {{"grew", MakeColour(220, 0, 0)},
          {"fell", MakeColour(0, 160, 0)},
          {"same", pie::kUnchangedGrey},
          {"new", MakeColour(0, 70, 255)},
          {"D", MakeColour(220, 0, 0)},
          {"E", pie::kUnchangedGrey}},
         MakeColour(220, 0, 0),
         "+10 bytes"},
        // Below the root the items are found at their own places in the comparison.
        {"R\\D\\", {{"f", MakeColour(220, 0, 0)}, {"g", pie::kUnchangedGrey}}, MakeColour(220, 0, 0), "+10 bytes"},
        {"R\\E\\", {{"h", pie::kUnchangedGrey}}, pie::kUnchangedGrey, "0 bytes"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.current);
        host.currentPath = c.current;
        painter.calls.clear();
        renderer.Rebuild(model::FindDirByPath(live, c.current), 400, 400, host, painter);
        EXPECT_EQ(RingColours(renderer, painter), c.ring);
        for (const auto& call : painter.calls) {
            if (call.kind == pie_test::PaintCall::kCentre) {
                EXPECT_EQ(call.colour, c.centre);
            }
            if (call.kind == pie_test::PaintCall::kLabel) {
                EXPECT_EQ(call.text, c.label);
            }
        }
    }
    // Without a comparison the method paints grey and the centre keeps the folder's name.
    host.comparison = nullptr;
    host.currentPath = "R\\D\\";
    painter.calls.clear();
    renderer.Rebuild(model::FindDirByPath(live, "R\\D\\"), 400, 400, host, painter);
    EXPECT_EQ(RingColours(renderer, painter),
              (std::map<std::string, Colour>{{"f", pie::kUnchangedGrey}, {"g", pie::kUnchangedGrey}}));
    EXPECT_EQ(painter.calls.back().text, "D");
}

}  // namespace
