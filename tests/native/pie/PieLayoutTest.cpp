#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <numbers>
#include <utility>

#include "PieTestSupport.h"
#include "common/FakePieHost.h"
#include "pie/PieLayout.h"
#include "pie/PieRenderer.h"

namespace {

using model::DirInfo;
using model::FileInfo;
using pie_test::Dir;
using pie_test::PaintCall;
using pie_test::Tree;

constexpr double kPi = std::numbers::pi;
constexpr double kTop = -kPi / 2;

pie::PieSettings Logical(double minVis = 2, pie::SortOrder order = pie::kUnordered, bool group = true) {
    pie::PieSettings s;
    s.sizeKind = model::kLogicalSize;
    s.minimumVisibleSize = minVis;
    s.sortOrder = order;
    s.groupFolders = group;
    return s;
}

TEST(PieGeometry, CentredSquareAndRadii) {
    auto g = pie::ComputeGeometry(300, 501, 0.33);
    EXPECT_EQ(g.square, (fw::Rect{0, 100, 300, 400}));
    EXPECT_EQ(g.outer, 150);
    EXPECT_EQ(g.centre, 49);
    EXPECT_EQ(g.cx, 150);
    EXPECT_EQ(g.cy, 250);
    g = pie::ComputeGeometry(601, 400, 0.5);
    EXPECT_EQ(g.square, (fw::Rect{100, 0, 500, 400}));
    EXPECT_EQ(g.centre, 100);
    EXPECT_EQ(pie::ComputeGeometry(7, 7, 0.33).square, (fw::Rect{0, 0, 7, 7}));
}

TEST(CountRings, MinVisSizeZeroReachesTheDeepestItem) {
    const DirInfo root =
        Tree(Dir("R", {Dir("a", {Dir("b", {Dir("c", {}, {FileInfo("deep", 0)})}, {})}, {FileInfo("f", 9)})},
                 {FileInfo("g", 5)}));
    EXPECT_EQ(pie::CountRings(root, 400, Logical(0), 0), 4);
    // Empty folders count as items too.
    const DirInfo empties = Tree(Dir("R", {Dir("a", {Dir("b", {}, {})}, {})}, {}));
    EXPECT_EQ(pie::CountRings(empties, 400, Logical(0), 0), 2);
    // A zero root value counts every arc as 0: only a zero minimum lets anything through.
    EXPECT_EQ(pie::CountRings(empties, 400, Logical(2), 0), 0);
}

TEST(CountRings, FilesAddARingOnlyWhereNoSubfolderFits) {
    // In "a" the subfolder "t" is too thin (1/1000 of the pie), so a's files open ring 2.
    DirInfo root = Tree(Dir("R", {Dir("a", {Dir("t", {}, {FileInfo("tiny", 1)})}, {FileInfo("big", 999)})}, {}));
    EXPECT_EQ(pie::CountRings(root, 400, Logical(2), 0), 2);
    // Without the big file nothing below "a" is wide enough.
    root =
        Tree(Dir("R", {Dir("a", {Dir("t", {}, {FileInfo("tiny", 1)})}, {FileInfo("small", 1)})}, {FileInfo("r", 998)}));
    EXPECT_EQ(pie::CountRings(root, 400, Logical(2), 0), 1);
    // Files of a folder whose ring is already there add nothing.
    root = Tree(Dir("R", {Dir("a", {Dir("b", {}, {FileInfo("x", 500)})}, {}), Dir("c", {}, {FileInfo("y", 500)})}, {}));
    EXPECT_EQ(pie::CountRings(root, 400, Logical(2), 0), 3);
}

TEST(CountRings, SizeKindChangesTheCount) {
    // Logical: "a" and its file fill two rings. Wasted: "a" wastes nothing, only the root's odd file shows.
    const DirInfo root =
        Tree(Dir("R", {Dir("a", {}, {FileInfo("even", 4096)})}, {FileInfo("odd", 100), FileInfo("r", 8192)}), 4096);
    pie::PieSettings s = Logical(2);
    EXPECT_EQ(pie::CountRings(root, 400, s, 4096), 2);
    s.sizeKind = model::kWastedSpace;
    EXPECT_EQ(pie::CountRings(root, 400, s, 4096), 1);
    s.sizeKind = model::kPhysicalSize;
    EXPECT_EQ(pie::CountRings(root, 400, s, 4096), 2);
}

DirInfo OrderTree() {
    DirInfo d = Dir("R",
                    {Dir("beta", {}, {FileInfo("x", 10)}), Dir("Alpha", {}, {FileInfo("x", 30)}),
                     Dir("gamma", {}, {FileInfo("x", 20)})},
                    {FileInfo("b.txt", 5, 1), FileInfo("C.txt", 40, -3), FileInfo("a.txt", 15, 2)});
    d.subdirs[0].sortKey = 0;
    d.subdirs[1].sortKey = 3;
    d.subdirs[2].sortKey = -1;
    return Tree(std::move(d));
}

std::vector<std::string> Ordered(const DirInfo& d, int order, bool group) {
    std::vector<pie::Item> items;
    pie::ListItems(d, items);
    pie::OrderItems(items, order, group, {model::kLogicalSize, 0});
    std::vector<std::string> names;
    for (const auto& i : items) names.emplace_back(i.Name());
    return names;
}

TEST(OrderItems, AllSixCases) {
    const DirInfo d = OrderTree();
    using V = std::vector<std::string>;
    EXPECT_EQ(Ordered(d, pie::kUnordered, true), (V{"beta", "Alpha", "gamma", "b.txt", "C.txt", "a.txt"}));
    EXPECT_EQ(Ordered(d, pie::kByName, true), (V{"Alpha", "beta", "gamma", "a.txt", "b.txt", "C.txt"}));
    EXPECT_EQ(Ordered(d, pie::kBySize, true), (V{"Alpha", "gamma", "beta", "C.txt", "a.txt", "b.txt"}));
    EXPECT_EQ(Ordered(d, pie::kUnordered, false), (V{"C.txt", "gamma", "beta", "b.txt", "a.txt", "Alpha"}));
    EXPECT_EQ(Ordered(d, pie::kByName, false), (V{"a.txt", "Alpha", "b.txt", "beta", "C.txt", "gamma"}));
    EXPECT_EQ(Ordered(d, pie::kBySize, false), (V{"C.txt", "Alpha", "gamma", "a.txt", "beta", "b.txt"}));
}

struct Rendered {
    pie_test::RecordingPainter painter;
    test_support::FakePieHost host;
    pie::PieRenderer renderer;
};

void Render(Rendered& r, const DirInfo* current, const pie::PieSettings& s, int size = 400) {
    r.renderer.settings = s;
    r.painter.calls.clear();
    r.renderer.Rebuild(current, size, size, r.host, r.painter);
}

TEST(DrawDir, HiddenItemsLeaveGapsAndShownOnesKeepTheirAngles) {
    const DirInfo root = Tree(Dir("R", {}, {FileInfo("a", 1000), FileInfo("tiny", 1), FileInfo("b", 999)}));
    Rendered r;
    Render(r, &root, Logical(2));
    ASSERT_EQ(r.renderer.RingCount(), 1);
    const auto& areas = r.renderer.Areas();
    const auto& ring = areas.Ring(0);
    ASSERT_EQ(ring.size(), 2u);
    EXPECT_EQ(areas.PathOf(0, 0), "a");
    EXPECT_DOUBLE_EQ(ring[0].start, kTop);
    EXPECT_DOUBLE_EQ(ring[0].end, kTop + 2 * kPi * 1000 / 2000);
    EXPECT_EQ(areas.PathOf(0, 1), "b");
    EXPECT_DOUBLE_EQ(ring[1].start, kTop + 2 * kPi * 1001 / 2000);
    EXPECT_DOUBLE_EQ(ring[1].end, kTop + 2 * kPi);
    EXPECT_FALSE(r.renderer.Areas().Find(150, kTop + 2 * kPi * 1000.5 / 2000));  // the gap
}

TEST(DrawDir, ChildrenBeforeParentAndPathsPerRing) {
    const DirInfo root = Tree(
        Dir("R", {Dir("d", {Dir("e", {}, {FileInfo("f2", 100)})}, {FileInfo("f1", 100)})}, {FileInfo("top", 200)}));
    Rendered r;
    pie::PieSettings s = Logical(2);
    s.colourMethod = pie::kFixedColour;
    s.showStatistics = true;
    Render(r, &root, s);
    ASSERT_EQ(r.renderer.RingCount(), 3);
    const auto& areas = r.renderer.Areas();
    ASSERT_EQ(areas.Ring(0).size(), 2u);
    EXPECT_EQ(areas.PathOf(0, 0), "d\\");
    EXPECT_EQ(areas.PathOf(0, 1), "top");
    ASSERT_EQ(areas.Ring(1).size(), 2u);
    EXPECT_EQ(areas.PathOf(1, 0), "d\\e\\");
    EXPECT_EQ(areas.PathOf(1, 1), "d\\f1");
    ASSERT_EQ(areas.Ring(2).size(), 1u);
    EXPECT_EQ(areas.PathOf(2, 0), "d\\e\\f2");
    // Order of painting: background, guides, then f2, e, f1, d, top, centre; overlay and label last.
    const auto& c = r.painter.calls;
    ASSERT_EQ(c.size(), 10u);
    EXPECT_EQ(c[0].kind, PaintCall::kBackground);
    EXPECT_EQ(c[1].kind, PaintCall::kGuides);
    EXPECT_EQ(c[1].radii, r.renderer.Areas().Radii());
    const auto& radii = r.renderer.Areas().Radii();
    const bool files[] = {true, false, true, false, true};
    const int ringOf[] = {2, 1, 1, 0, 0};
    for (int i = 0; i < 5; ++i) {
        const PaintCall& seg = c[2 + i];
        ASSERT_EQ(seg.kind, PaintCall::kSegment) << i;
        EXPECT_EQ(seg.asFile, files[i]) << i;
        EXPECT_EQ(seg.outer, pie::SquareAround(200, 200, radii[ringOf[i] + 1])) << i;
        EXPECT_EQ(seg.inner, pie::SquareAround(200, 200, radii[ringOf[i]])) << i;
    }
    EXPECT_DOUBLE_EQ(c[2].start, kTop);
    EXPECT_DOUBLE_EQ(c[2].end, kTop + kPi / 2);  // f2 is a quarter of the whole
    EXPECT_EQ(c[7].kind, PaintCall::kCentre);
    EXPECT_EQ(c[7].outer, (fw::Rect{134, 134, 266, 266}));
    EXPECT_EQ(c[8].kind, PaintCall::kStats);
    EXPECT_NE(c[8].text.find("Rings:\t         3\r\nSegs:\t         5\r\n"), std::string::npos) << c[8].text;
    EXPECT_EQ(c[9].kind, PaintCall::kLabel);
    EXPECT_EQ(c[9].text, "R");
    EXPECT_EQ(r.host.statuses, std::vector<std::string>{"folder "});
}

TEST(DrawDir, SizeColoursUseTheLargestSibling) {
    const DirInfo root =
        Tree(Dir("R", {Dir("d", {}, {FileInfo("big", 300), FileInfo("small", 100)})}, {FileInfo("f", 100)}));
    Rendered r;
    Render(r, &root, Logical(2, pie::kBySize));
    const auto segs = r.painter.Segments();
    ASSERT_EQ(segs.size(), 4u);  // big, small, d, f
    // "big" is the largest of its siblings on ring 1 of 2: SizeClr1 at half saturation.
    EXPECT_EQ(segs[0].colour, fw::HlsToRgb({0, 120, 120}));
    EXPECT_NE(segs[1].colour, segs[0].colour);
    EXPECT_EQ(segs[2].colour, fw::HlsToRgb(fw::RgbToHls(fw::MakeColour(255, 0, 0))));  // d is the largest on ring 0
    EXPECT_NE(segs[3].colour, segs[2].colour);
    EXPECT_EQ(r.painter.calls[r.painter.calls.size() - 2].colour, pie::kCentreGrey);
}

TEST(DrawDir, ZeroValuesAreRecordedButNotCounted) {
    const DirInfo root =
        Tree(Dir("R", {Dir("empty", {}, {})}, {FileInfo("zero", 0), FileInfo("one", 1), FileInfo("big", 1'000'000)}));
    Rendered r;
    Render(r, &root, Logical(0));
    ASSERT_EQ(r.renderer.RingCount(), 1);
    EXPECT_EQ(r.renderer.Areas().Ring(0).size(), 4u);
    // "empty" draws nothing (value 0); "zero" and "one" have both ends on one pixel and reach no painter.
    EXPECT_EQ(r.painter.Segments().size(), 1u);
    EXPECT_EQ(r.renderer.SegmentCount(), 1);
}

TEST(DrawDir, LoneChildFillsTheWholeRing) {
    const DirInfo root = Tree(Dir("R", {Dir("only", {}, {FileInfo("f", 10)})}, {}));
    Rendered r;
    Render(r, &root, Logical(2));
    EXPECT_EQ(r.renderer.RingCount(), 2);
    EXPECT_EQ(r.renderer.SegmentCount(), 2);
    EXPECT_EQ(r.renderer.Areas().Find(100, 1.0), "only\\");
    EXPECT_EQ(r.renderer.Areas().Find(190, 1.0), "only\\f");
}

TEST(Rebuild, ZeroRootEmptySizeAndMissingFolder) {
    const DirInfo zero = Tree(Dir("Z", {Dir("a", {}, {FileInfo("f", 0)})}, {}));
    Rendered r;
    Render(r, &zero, Logical(2));
    EXPECT_EQ(r.renderer.SegmentCount(), 0);
    // No rings, but the disk of the usual size under the name, as for any other folder.
    ASSERT_EQ(r.painter.calls.size(), 3u);
    EXPECT_EQ(r.painter.calls[0].kind, PaintCall::kBackground);
    EXPECT_EQ(r.painter.calls[1].kind, PaintCall::kCentre);
    EXPECT_EQ(r.painter.calls[1].outer, (fw::Rect{134, 134, 266, 266}));
    EXPECT_EQ(r.painter.calls[1].colour, pie::kCentreGrey);
    EXPECT_EQ(r.painter.calls[2].kind, PaintCall::kLabel);
    EXPECT_EQ(r.renderer.Areas().Find(10, 0), "");
    // A zero-size surface draws nothing and leaves nothing to hit.
    const DirInfo root = Tree(Dir("R", {}, {FileInfo("f", 10)}));
    Render(r, &root, Logical(2));
    ASSERT_TRUE(r.renderer.Areas().Find(190, 1.0));
    r.painter.calls.clear();
    r.renderer.Rebuild(&root, 0, 300, r.host, r.painter);
    EXPECT_TRUE(r.painter.calls.empty());
    EXPECT_FALSE(r.renderer.Areas().Find(190, 1.0));
    EXPECT_EQ(r.renderer.RingCount(), 0);
    // No folder: background only, and nothing left to hit.
    Render(r, nullptr, Logical(2));
    ASSERT_EQ(r.painter.calls.size(), 1u);
    EXPECT_FALSE(r.renderer.Areas().Find(0, 0));
}

// The pane collapsed to nothing, the tree replaced (its names freed), the pane dragged back: the mouse may
// move before the delayed rendering, and must find nothing rather than the old tree's names.
TEST(Rebuild, ASurfaceWithoutPixelsForgetsTheReplacedTree) {
    Rendered r;
    auto old =
        std::make_unique<DirInfo>(Tree(Dir("R", {Dir("a rather long folder name", {}, {FileInfo("f", 10)})}, {})));
    Render(r, old.get(), Logical(2));
    ASSERT_EQ(r.renderer.Areas().FindPoint(190, 0), "a rather long folder name\\f");
    const DirInfo replacement = Tree(Dir("N", {Dir("new", {}, {FileInfo("g", 10)})}, {}));
    for (const auto& [width, height] : {std::pair{0, 300}, std::pair{300, 0}, std::pair{0, 0}}) {
        Render(r, old.get(), Logical(2));
        old.reset();
        r.renderer.Rebuild(&replacement, width, height, r.host, r.painter);
        EXPECT_FALSE(r.renderer.Areas().FindPoint(190, 0)) << width << " x " << height;
        EXPECT_FALSE(r.renderer.Areas().FindPoint(100, 0)) << width << " x " << height;
        old =
            std::make_unique<DirInfo>(Tree(Dir("R", {Dir("a rather long folder name", {}, {FileInfo("f", 10)})}, {})));
    }
}

TEST(Rebuild, DegenerateSquareShowsNoChildren) {
    // One pixel: every ring radius is 0, so the visibility threshold admits nothing.
    const DirInfo root = Tree(Dir("R", {}, {FileInfo("f", 10)}));
    Rendered r;
    Render(r, &root, Logical(0), 1);
    EXPECT_EQ(r.renderer.RingCount(), 1);
    EXPECT_TRUE(r.renderer.Areas().Ring(0).empty());
}

// A scan can nest folders 16,384 deep; with "MinVisSize" 0 that is a ring per level, and neither the ring
// count nor the layout may walk it on the call stack.
TEST(Rebuild, DeepestTreesGetARingPerLevel) {
    constexpr int kDepth = 16'384;
    DirInfo chain = Dir("leaf", {}, {FileInfo("f", 1)});
    for (int level = kDepth - 1; level > 0; --level) {
        DirInfo parent("d" + std::to_string(level));
        parent.subdirs.push_back(std::move(chain));
        chain = std::move(parent);
    }
    DirInfo root("R");
    root.subdirs.push_back(std::move(chain));
    model::RecomputeTotals(root, 0);
    Rendered r;
    Render(r, &root, Logical(0), 1000);
    ASSERT_EQ(r.renderer.RingCount(), kDepth + 1);
    const auto& areas = r.renderer.Areas();
    EXPECT_EQ(areas.SegmentCount(), static_cast<std::size_t>(kDepth + 1));
    EXPECT_EQ(areas.Ring(kDepth).size(), 1u);
    const std::string path = areas.PathOf(kDepth, 0);
    EXPECT_EQ(path.substr(0, 4), "d1\\d");
    EXPECT_EQ(path.substr(path.size() - 14), "\\d16383\\leaf\\f");
}

TEST(PieStats, FieldsAreRightAlignedInTen) {
    EXPECT_EQ(pie::FormatPieStats(3, 1234, 12.5, 0.25),
              "Rings:\t         3\r\nSegs:\t      1234\r\nRendr:\t    12.500 msec\r\nSort:\t     0.250 msec");
}

}  // namespace

// The segments of a rendering borrow the names of the tree they show. Once that tree is replaced the pie
// forgets them: nothing is found where they were, and nothing reads a freed name (the address sanitizer of
// the native build stops any look-up that does).
TEST(DrawDir, AForgottenRenderingFindsNothingOfTheReplacedTree) {
    auto tree = std::make_unique<DirInfo>(
        Tree(Dir("R", {Dir("a long folder name", {}, {FileInfo("a long file name.txt", 300)})}, {FileInfo("b", 100)})));
    Rendered r;
    Render(r, tree.get(), Logical(0));
    const auto& areas = r.renderer.Areas();
    ASSERT_EQ(areas.RingCount(), 2);
    const pie::Segment& folder = areas.Ring(0)[0];
    const double angle = (folder.start + folder.end) / 2, radius = (areas.Radii()[0] + areas.Radii()[1]) / 2.0;
    const int dx = static_cast<int>(radius * std::cos(angle)), dy = static_cast<int>(radius * std::sin(angle));
    ASSERT_EQ(areas.FindPoint(dx, dy), "a long folder name\\");

    tree.reset();
    r.renderer.Forget();
    EXPECT_EQ(areas.FindPoint(dx, dy), std::nullopt);
    EXPECT_EQ(areas.FindPoint(0, 0), std::nullopt) << "not even the centre";
    EXPECT_EQ(areas.SegmentCount(), 0u);
}
