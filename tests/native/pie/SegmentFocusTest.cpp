// Keyboard focus over the recorded rings: the moves in tables over one small layout, the look-up that
// carries the focus from one rendering to the next, the anchor and outline, and the text announced.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "PieTestSupport.h"
#include "common/FakePieHost.h"
#include "pie/PieRenderer.h"
#include "pie/SegmentFocus.h"

namespace pie {
void PrintTo(const SegmentRef& ref, std::ostream* out) { *out << "{ring " << ref.ring << ", " << ref.index << "}"; }
}  // namespace pie

namespace {

constexpr double kPi = std::numbers::pi;
using pie::FocusMove;
using pie::SegmentRef;

// ring 0:  A\ [-pi/2, 0.5)   b.txt [0.5, 1)   C\ [1, 3pi/2)      (C the widest)
// ring 1:  A\a1\  A\a2.txt                     C\c1.txt
// ring 2:  A\a1\x.txt                                            (the only segment of its ring)
struct Layout {
    const model::Name a{"A"}, b{"b.txt"}, c{"C"}, a1{"a1"}, a2{"a2.txt"}, c1{"c1.txt"}, x{"x.txt"};
    pie::RingAreas areas;
    Layout() {
        areas.Reset(3, 300, 60);
        areas.Add(0, -kPi / 2, 0.5, a, true, -1);
        areas.Add(0, 0.5, 1.0, b, false, -1);
        areas.Add(0, 1.0, 3 * kPi / 2, c, true, -1);
        areas.Add(1, -kPi / 2, -0.5, a1, true, 0);
        areas.Add(1, -0.5, 0.5, a2, false, 0);
        areas.Add(1, 1.0, 2.0, c1, false, 2);
        areas.Add(2, -kPi / 2, -1.0, x, false, 0);
    }
};

TEST(SegmentFocus, MovesOverTheRings) {
    const Layout layout;
    const SegmentRef centre{}, A{0, 0}, b{0, 1}, C{0, 2}, a1{1, 0}, a2{1, 1}, c1{1, 2}, x{2, 0};
    struct Case {
        SegmentRef from;
        FocusMove move;
        SegmentRef to;
    };
    const Case cases[] = {
        // Sideways: drawn order on the whole ring, wrapping at both ends; the centre stays.
        {A, FocusMove::kNext, b},
        {C, FocusMove::kNext, A},
        {A, FocusMove::kPrevious, C},
        {a2, FocusMove::kNext, c1},  // past the end of A's children into C's
        {c1, FocusMove::kNext, a1},
        {a1, FocusMove::kPrevious, c1},
        {x, FocusMove::kNext, x},  // a ring of one segment
        {x, FocusMove::kPrevious, x},
        {centre, FocusMove::kNext, centre},
        {centre, FocusMove::kPrevious, centre},
        // Outward: the first child; a file, a folder without shown children and the outermost ring stay.
        {centre, FocusMove::kOutward, A},
        {A, FocusMove::kOutward, a1},
        {C, FocusMove::kOutward, c1},
        {a1, FocusMove::kOutward, x},
        {b, FocusMove::kOutward, b},
        {a2, FocusMove::kOutward, a2},
        {x, FocusMove::kOutward, x},
        // Inward: the folder, the centre from the first ring, and the centre stays.
        {x, FocusMove::kInward, a1},
        {c1, FocusMove::kInward, C},
        {a2, FocusMove::kInward, A},
        {b, FocusMove::kInward, centre},
        {centre, FocusMove::kInward, centre},
        // Home from anywhere: the widest of the first ring; a ref of no segment goes there too.
        {x, FocusMove::kHome, C},
        {centre, FocusMove::kHome, C},
        {SegmentRef{3, 0}, FocusMove::kNext, C},
        {SegmentRef{1, 7}, FocusMove::kInward, C},
        {SegmentRef{-1, 1}, FocusMove::kOutward, C},
    };
    for (const Case& c : cases) {
        const SegmentRef to = pie::MoveFocus(layout.areas, c.from, c.move);
        EXPECT_EQ(to, c.to) << "from ring " << c.from.ring << " index " << c.from.index << " move "
                            << static_cast<int>(c.move);
    }
}

TEST(SegmentFocus, EmptyRingsLeaveOnlyTheCentre) {
    const model::Name d("D");
    pie::RingAreas areas;
    areas.Reset(2, 200, 50);  // rings, but nothing recorded on them
    for (FocusMove move :
         {FocusMove::kPrevious, FocusMove::kNext, FocusMove::kOutward, FocusMove::kInward, FocusMove::kHome})
        EXPECT_EQ(pie::MoveFocus(areas, {}, move), SegmentRef{});
    EXPECT_EQ(pie::FocusFor(areas, "gone\\"), SegmentRef{});
    areas.Reset(0, 200, 50);  // no rings at all
    EXPECT_EQ(pie::MoveFocus(areas, {}, FocusMove::kOutward), SegmentRef{});
    EXPECT_EQ(pie::MoveFocus(areas, {0, 0}, FocusMove::kNext), SegmentRef{});
    // One folder whose ring outside is empty.
    areas.Reset(2, 200, 50);
    areas.Add(0, -kPi / 2, 3 * kPi / 2, d, true, -1);
    EXPECT_EQ(pie::MoveFocus(areas, {0, 0}, FocusMove::kOutward), (SegmentRef{0, 0}));
    EXPECT_EQ(pie::MoveFocus(areas, {0, 0}, FocusMove::kNext), (SegmentRef{0, 0}));
}

TEST(SegmentFocus, LocateFindsEveryRecordedPathAndNothingElse) {
    const Layout layout;
    for (int ring = 0; ring < layout.areas.RingCount(); ++ring)
        for (std::size_t i = 0; i < layout.areas.Ring(ring).size(); ++i) {
            const SegmentRef ref{ring, i};
            EXPECT_EQ(pie::Locate(layout.areas, pie::PathOf(layout.areas, ref)), ref) << pie::PathOf(layout.areas, ref);
        }
    EXPECT_EQ(pie::Locate(layout.areas, ""), SegmentRef{});
    EXPECT_EQ(pie::PathOf(layout.areas, {}), "");
    EXPECT_FALSE(pie::Locate(layout.areas, "b.txt\\"));    // a file is no folder
    EXPECT_FALSE(pie::Locate(layout.areas, "A"));          // nor a folder a file
    EXPECT_FALSE(pie::Locate(layout.areas, "C\\a2.txt"));  // a name under another folder
    EXPECT_FALSE(pie::Locate(layout.areas, "a"));          // names are matched exactly
    EXPECT_FALSE(pie::Locate(layout.areas, "A\\a1\\x.txt\\y\\"));
}

TEST(SegmentFocus, FocusForFallsBackToTheDeepestShownFolderThenHome) {
    const Layout layout;
    struct Case {
        const char* relative;
        SegmentRef to;
    };
    const Case cases[] = {
        {"", {}},
        {"A\\a1\\x.txt", {2, 0}},
        {"A\\a1\\gone.txt", {1, 0}},     // went: its folder
        {"A\\a1\\sub\\deep\\", {1, 0}},  // below the outermost ring
        {"C\\c1.txt", {1, 2}},
        {"C\\gone\\", {0, 2}},
        {"gone.txt", {0, 2}},  // nothing of it shown: Home
        {"b.txt\\", {0, 2}},
    };
    for (const Case& c : cases) EXPECT_EQ(pie::FocusFor(layout.areas, c.relative), c.to) << c.relative;
}

TEST(SegmentFocus, AnchorLiesInItsSegmentAndOutlineOnItsRadii) {
    const Layout layout;
    const auto& radii = layout.areas.Radii();
    for (int ring = 0; ring < layout.areas.RingCount(); ++ring)
        for (std::size_t i = 0; i < layout.areas.Ring(ring).size(); ++i) {
            const SegmentRef ref{ring, i};
            const pie::Point anchor = pie::AnchorOf(layout.areas, ref);
            EXPECT_EQ(layout.areas.FindPoint(anchor.x, anchor.y), pie::PathOf(layout.areas, ref));
            const std::vector<pie::Point> outline = pie::OutlineOf(layout.areas, ref, 400, 300);
            ASSERT_GE(outline.size(), 4u);
            for (const pie::Point& p : outline) {
                const double r = std::hypot(p.x - 400, p.y - 300);
                EXPECT_GE(r, radii[ring] - 1.5);
                EXPECT_LE(r, radii[ring + 1] + 1.5);
            }
            // Out along the outer arc from the start angle, back along the inner arc to it.
            const pie::Segment& s = layout.areas.Ring(ring)[i];
            const auto near = [&](const pie::Point& p, double rho, double angle) {
                return std::abs(p.x - (400 + rho * std::cos(angle))) <= 1.5 &&
                       std::abs(p.y - (300 + rho * std::sin(angle))) <= 1.5;
            };
            EXPECT_TRUE(near(outline.front(), radii[ring + 1], s.start));
            EXPECT_TRUE(near(outline.back(), radii[ring], s.start));
        }
    EXPECT_EQ(pie::AnchorOf(layout.areas, {}), (pie::Point{0, 0}));
    EXPECT_TRUE(pie::OutlineOf(layout.areas, {}, 400, 300).empty());
}

// The moves rely on the order in which a rendering records the rings: a folder's children one after
// another, in the order of their folders. A real rendering of a tree several levels deep, in every order.
TEST(SegmentFocus, MovesOverARealRendering) {
    using model::FileInfo;
    using pie_test::Dir;
    const model::DirInfo root = pie_test::Tree(Dir(
        "R",
        {Dir("a",
             {Dir("a1", {Dir("a11", {}, {FileInfo("x", 400), FileInfo("y", 300)})}, {FileInfo("z", 200)}),
              Dir("a2", {}, {FileInfo("w", 500)})},
             {FileInfo("v", 100)}),
         Dir("b", {}, {FileInfo("u", 900), FileInfo("t", 800)}), Dir("c", {Dir("c1", {}, {FileInfo("s", 700)})}, {})},
        {FileInfo("r", 600), FileInfo("q", 50)}));
    for (const pie::SortOrder order : {pie::kUnordered, pie::kByName, pie::kBySize})
        for (const bool group : {true, false}) {
            test_support::FakePieHost host;
            pie_test::RecordingPainter painter;
            pie::PieRenderer renderer;
            renderer.settings.sizeKind = model::kLogicalSize;
            renderer.settings.minimumVisibleSize = 0;
            renderer.settings.sortOrder = order;
            renderer.settings.groupFolders = group;
            renderer.Rebuild(&root, 400, 400, host, painter);
            const pie::RingAreas& areas = renderer.Areas();
            ASSERT_EQ(areas.RingCount(), 4);
            std::size_t visited = 0;
            for (int ring = 0; ring < areas.RingCount(); ++ring) {
                const auto& segments = areas.Ring(ring);
                for (std::size_t i = 0; i < segments.size(); ++i) {
                    const SegmentRef ref{ring, i};
                    const std::string path = pie::PathOf(areas, ref);
                    EXPECT_EQ(pie::Locate(areas, path), ref) << path;
                    EXPECT_EQ(pie::MoveFocus(areas, pie::MoveFocus(areas, ref, FocusMove::kNext), FocusMove::kPrevious),
                              ref)
                        << path;
                    const SegmentRef out = pie::MoveFocus(areas, ref, FocusMove::kOutward);
                    if (out == ref) {
                        EXPECT_TRUE(!segments[i].isDir || ring + 1 == areas.RingCount() ||
                                    std::none_of(areas.Ring(ring + 1).begin(), areas.Ring(ring + 1).end(),
                                                 [&](const pie::Segment& s) { return s.parent == std::int32_t(i); }))
                            << path << " has children but Up stays";
                    } else {
                        // The first child: its path extends this one, and Down comes back.
                        const std::string child = pie::PathOf(areas, out);
                        EXPECT_EQ(child.substr(0, path.size()), path);
                        EXPECT_EQ(pie::MoveFocus(areas, out, FocusMove::kInward), ref) << child;
                        EXPECT_TRUE(out.index == 0 || areas.Ring(ring + 1)[out.index - 1].parent < std::int32_t(i))
                            << child << " is not the first child of " << path;
                    }
                    ++visited;
                }
            }
            EXPECT_EQ(visited, 17u);  // 5 items of R, 6 below them, 4 below those, 2 on the outermost ring
            EXPECT_EQ(pie::PathOf(areas, pie::MoveFocus(areas, {}, FocusMove::kHome)), "b\\");
        }
}

TEST(SegmentFocus, FocusAfterTheCurrentFolderChanged) {
    struct Case {
        const char* oldCurrent;
        const char* focus;
        const char* newCurrent;
        std::optional<std::string> expected;
    };
    const Case cases[] = {
        {"C:\\a\\", "b\\", "C:\\", "a\\"},           // up: the folder just left
        {"C:\\a\\b\\", "x.txt", "C:\\", "a\\b\\"},   // up by two
        {"C:\\", "a\\b\\", "C:\\a\\", "b\\"},        // into a folder on the way to the focus
        {"C:\\", "a\\", "C:\\a\\", std::nullopt},    // into the focused folder: Home
        {"C:\\", "d\\", "C:\\a\\", std::nullopt},    // into another folder
        {"C:\\a\\", "", "D:\\", std::nullopt},       // elsewhere
        {"C:\\ab\\", "x", "C:\\a\\", std::nullopt},  // a longer name is no subfolder
        {"C:\\a\\", "x.txt", "C:\\a\\", "x.txt"},    // the same folder again (a rescan)
        {"C:\\a\\", "", "C:\\a\\", std::nullopt},
    };
    for (const Case& c : cases)
        EXPECT_EQ(pie::FocusAfterMove(c.oldCurrent, c.focus, c.newCurrent), c.expected)
            << c.oldCurrent << " + " << c.focus << " -> " << c.newCurrent;
}

TEST(SegmentFocus, AccessibleTextNamesSizeAndShare) {
    EXPECT_EQ(pie::AccessibleText("docs\\", 1536, 4096), "docs\\, 1.5 KB, 37.5%");
    EXPECT_EQ(pie::AccessibleText("a.txt", 999, 999), "a.txt, 999 bytes, 100.0%");
    EXPECT_EQ(pie::AccessibleText("empty\\", 0, 0), "empty\\, 0 bytes");
    EXPECT_EQ(pie::AccessibleText("tiny", 1, 3000), "tiny, 1 bytes, 0.0%");
}

}  // namespace
