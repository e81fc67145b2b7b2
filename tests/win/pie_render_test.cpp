// The GDI painter and back buffer under Wine: a known tree rendered at 400 x 400 with every colouring
// method into a DIB, checked pixel by pixel, and saved under build/gui-artifacts/ for people to look at.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <numbers>
#include <string>

#include "common/FakePieHost.h"
#include "fw/Dib.h"
#include "fw/Handles.h"
#include "model/DirInfo.h"
#include "pie/ArcPolygon.h"
#include "pie/PieCanvas.h"
#include "pie/PieLayout.h"
#include "pie/SegmentColour.h"

namespace {

using model::DirInfo;
using model::FileInfo;

constexpr int kSize = 400;

DirInfo Folder(std::string name, model::RecordList<DirInfo> subdirs, model::RecordList<FileInfo> files) {
    DirInfo d(std::move(name));
    d.subdirs = std::move(subdirs);
    d.files = std::move(files);
    return d;
}

DirInfo KnownTree() {
    DirInfo root = Folder("Root",
                          {Folder("docs", {Folder("old", {}, {FileInfo("a.doc", 150)})}, {FileInfo("b.doc", 250)}),
                           Folder("media", {}, {FileInfo("song.mp3", 200), FileInfo("clip.avi", 100)})},
                          {FileInfo("big.iso", 250), FileInfo("zero.txt", 0), FileInfo("crumb", 1)});
    model::RecomputeTotals(root, 0);
    return root;
}

std::string ArtifactsDir() {
    if (const char* dir = std::getenv("KELVARAN_ARTIFACTS_DIR"); dir && *dir) return dir;
    // The test runs from build/<dir>/tests/win; the artifacts live in build/gui-artifacts.
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string dir = path;
    for (int up = 0; up < 4; ++up) dir = dir.substr(0, dir.find_last_of("\\/"));
    return dir + "\\gui-artifacts";
}

// 32-bit top-down BMP straight from a DIB's bits.
bool SaveBmp(const fw::Dib& dib, const std::string& file) {
    BITMAPFILEHEADER fh{};
    BITMAPINFOHEADER ih = dib.Info()->bmiHeader;
    const DWORD bytes = static_cast<DWORD>(dib.BytesPerRow()) * static_cast<DWORD>(dib.Height());
    fh.bfType = 0x4D42;
    fh.bfOffBits = sizeof fh + sizeof ih;
    fh.bfSize = fh.bfOffBits + bytes;
    ih.biSizeImage = bytes;
    std::FILE* f = std::fopen(file.c_str(), "wb");
    if (!f) return false;
    const bool ok = std::fwrite(&fh, sizeof fh, 1, f) == 1 && std::fwrite(&ih, sizeof ih, 1, f) == 1 &&
                    std::fwrite(dib.Bits(), 1, bytes, f) == bytes;
    return std::fclose(f) == 0 && ok;
}

struct Surface {
    fw::Dib dib{kSize, -kSize, 32};
    fw::MemoryDC dc{CreateCompatibleDC(nullptr)};
    HGDIOBJ old = nullptr;
    Surface() { old = SelectObject(dc.Get(), dib.Handle()); }
    ~Surface() { SelectObject(dc.Get(), old); }

    fw::Colour At(int x, int y) const {
        GdiFlush();
        const std::uint32_t bgrx = static_cast<const std::uint32_t*>(dib.Bits())[y * kSize + x];
        return fw::MakeColour((bgrx >> 16) & 0xFF, (bgrx >> 8) & 0xFF, bgrx & 0xFF);
    }
    fw::Colour AtPolar(const pie::PieRenderer& r, double angle, double radius) const {
        return At(static_cast<int>(r.CentreX() + radius * std::cos(angle)),
                  static_cast<int>(r.CentreY() + radius * std::sin(angle)));
    }
};

const pie::Segment& FindSegment(const pie::RingAreas& areas, const std::string& path, int& ring) {
    for (int k = 0; k < areas.RingCount(); ++k)
        for (std::size_t i = 0; i < areas.Ring(k).size(); ++i)
            if (areas.PathOf(k, i) == path) {
                ring = k;
                return areas.Ring(k)[i];
            }
    throw std::runtime_error("no segment " + path);
}

std::string Hex(fw::Colour c) {
    char text[16];
    std::snprintf(text, sizeof text, "#%02x%02x%02x", fw::RedOf(c), fw::GreenOf(c), fw::BlueOf(c));
    return text;
}

class PieRenderTest : public ::testing::TestWithParam<int> {};

TEST_P(PieRenderTest, KnownTreeAt400) {
    const int method = GetParam();
    const DirInfo root = KnownTree();
    test_support::FakePieHost host(root);
    pie::PieCanvas canvas;
    pie::PieRenderer& r = canvas.Renderer();
    r.settings.sizeKind = model::kLogicalSize;
    r.settings.colourMethod = static_cast<pie::ColourMethod>(method);
    r.settings.showStatistics = method == pie::kNameEncoded;
    Surface s;
    ASSERT_TRUE(s.dib);
    canvas.RenderInto(s.dc.Get(), kSize, kSize, &root, host);
    EXPECT_EQ(host.statuses.size(), 1u);

    const std::string dir = ArtifactsDir();
    CreateDirectoryA(dir.c_str(), nullptr);
    const char* names[] = {"fixed", "size", "rainbow", "name"};
    EXPECT_TRUE(SaveBmp(s.dib, dir + "\\pie_" + names[method] + ".bmp")) << dir;

    const int n = r.RingCount();
    ASSERT_EQ(n, 3);
    const auto& radii = r.Areas().Radii();
    tv::CrcEngine engine(tv::kCrc32);
    tv::Crc crc(engine);
    const pie::SizeContext ctx{model::kLogicalSize, 0};
    const auto expected = [&](const std::string& name, const pie::Segment& seg, int ring, std::uint64_t value,
                              std::uint64_t largest) {
        return pie::SegmentColour(r.settings, crc, name, seg.start, seg.end, ring, n, value, largest);
    };
    const fw::Colour background = GetSysColor(COLOR_WINDOW);
    const fw::Colour guide = GetSysColor(COLOR_BTNFACE);

    // Centre disk, away from the label.
    const pie::Segment whole{-std::numbers::pi / 2, 1.5 * std::numbers::pi};
    const fw::Colour centre = expected("Root", whole, -1, pie::ValueOf(root, ctx), 0);
    EXPECT_EQ(Hex(s.At(r.CentreX(), r.CentreY() + 45)), Hex(centre));
    EXPECT_EQ(Hex(s.At(r.CentreX() - 50, r.CentreY())), Hex(centre));

    // Folder wedges at their middle angle, mid-ring.
    int ring = 0;
    const pie::Segment& docs = FindSegment(r.Areas(), "docs\\", ring);
    ASSERT_EQ(ring, 0);
    const std::uint64_t rootLargest = pie::LargestChild(root, ctx);
    EXPECT_EQ(Hex(s.AtPolar(r, (docs.start + docs.end) / 2, (radii[0] + radii[1]) / 2.0)),
              Hex(expected("docs", docs, 0, pie::ValueOf(root.subdirs[0], ctx), rootLargest)));
    const pie::Segment& old = FindSegment(r.Areas(), "docs\\old\\", ring);
    ASSERT_EQ(ring, 1);
    EXPECT_EQ(Hex(s.AtPolar(r, (old.start + old.end) / 2, (radii[1] + radii[2]) / 2.0)),
              Hex(expected("old", old, 1, 150, pie::LargestChild(root.subdirs[0], ctx))));

    // A file ring: background in the inner third, the file's colour in the outer two thirds.
    const pie::Segment& song = FindSegment(r.Areas(), "media\\song.mp3", ring);
    ASSERT_EQ(ring, 1);
    const double mid = (song.start + song.end) / 2;
    const int fileInner = (radii[2] + 2 * radii[1]) / 3;
    for (int rad = radii[1] + 2; rad < fileInner - 1; ++rad) {
        const fw::Colour c = s.AtPolar(r, mid, rad);
        EXPECT_TRUE(c == background || c == guide) << rad << " " << Hex(c);
    }
    EXPECT_EQ(Hex(s.AtPolar(r, mid, (radii[1] + fileInner) / 2.0)), Hex(background));
    EXPECT_EQ(Hex(s.AtPolar(r, mid, (fileInner + radii[2]) / 2.0)),
              Hex(expected("song.mp3", song, 1, 200, pie::LargestChild(root.subdirs[1], ctx))));

    // Beyond a root file nothing is drawn on the outer rings: the guide circles show there.
    const pie::Segment& iso = FindSegment(r.Areas(), "big.iso", ring);
    const double isoMid = (iso.start + iso.end) / 2;
    EXPECT_EQ(Hex(s.AtPolar(r, isoMid, (radii[2] + radii[3]) / 2.0)), Hex(background));
    bool guideSeen = false;
    const int gx = static_cast<int>(r.CentreX() + radii[2] * std::cos(isoMid));
    const int gy = static_cast<int>(r.CentreY() + radii[2] * std::sin(isoMid));
    for (int y = gy - 2; y <= gy + 2; ++y)
        for (int x = gx - 2; x <= gx + 2; ++x) guideSeen |= s.At(x, y) == guide;
    EXPECT_TRUE(guideSeen);

    // The label: white letters with a black outline around the centre.
    int white = 0, black = 0;
    for (int y = r.CentreY() - 15; y < r.CentreY() + 15; ++y)
        for (int x = r.CentreX() - 40; x < r.CentreX() + 40; ++x) {
            white += s.At(x, y) == fw::MakeColour(255, 255, 255);
            black += s.At(x, y) == 0;
        }
    EXPECT_GT(white, 30);
    EXPECT_GT(black, 30);

    // The overlay paints its text on the guide colour in the top left corner.
    int overlay = 0;
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 70; ++x) overlay += s.At(x, y) == guide;
    if (r.settings.showStatistics)
        EXPECT_GT(overlay, 1500);
    else
        EXPECT_EQ(overlay, 0);
}

INSTANTIATE_TEST_SUITE_P(ColourMethods, PieRenderTest, ::testing::Values(0, 1, 2, 3));

TEST(PieRender, SegmentsOnOnePixelAreNotCounted) {
    const DirInfo root = KnownTree();
    test_support::FakePieHost host(root);
    pie::PieCanvas canvas;
    auto& r = canvas.Renderer();
    r.settings.sizeKind = model::kLogicalSize;
    r.settings.minimumVisibleSize = 0;
    Surface s;
    canvas.RenderInto(s.dc.Get(), kSize, kSize, &root, host);
    const std::size_t recorded = r.Areas().SegmentCount();
    // Both "zero.txt" (empty span) and "crumb" (1/951 of the turn) are recorded but not drawn.
    int ring = 0;
    FindSegment(r.Areas(), "crumb", ring);
    FindSegment(r.Areas(), "zero.txt", ring);
    EXPECT_EQ(recorded, 10u);
    EXPECT_EQ(r.SegmentCount(), 8);
}

// A folder whose radial end points fall on neighbouring pixels must not paint beyond its own span: "B" is
// 1/4000 of the turn and starts at three o'clock, with end points (348,200) and (347,200).
TEST(PieRender, ThinFolderStaysInsideItsSpan) {
    DirInfo root = Folder("Root",
                          {Folder("A", {}, {FileInfo("a", 1000)}), Folder("B", {}, {FileInfo("b", 1)}),
                           Folder("C", {}, {FileInfo("c", 2999)})},
                          {});
    model::RecomputeTotals(root, 0);
    test_support::FakePieHost host(root);
    pie::PieCanvas canvas;
    auto& r = canvas.Renderer();
    r.settings.sizeKind = model::kLogicalSize;
    r.settings.minimumVisibleSize = 0;
    r.settings.sortOrder = pie::kUnordered;
    r.settings.colourMethod = pie::kNameEncoded;
    Surface s;
    canvas.RenderInto(s.dc.Get(), kSize, kSize, &root, host);
    int ring = 0;
    const pie::Segment& b = FindSegment(r.Areas(), "B\\", ring);
    ASSERT_EQ(ring, 0);
    const fw::Rect outer = pie::SquareAround(r.CentreX(), r.CentreY(), r.Areas().Radii()[1]);
    ASSERT_EQ(pie::RadialPoint(outer, b.start), (pie::Point{348, 200}));
    ASSERT_EQ(pie::RadialPoint(outer, b.end), (pie::Point{347, 200}));
    tv::CrcEngine engine(tv::kCrc32);
    tv::Crc crc(engine);
    const fw::Colour thin = pie::SegmentColour(r.settings, crc, "B", b.start, b.end, 0, r.RingCount(), 1, 2999);
    int outside = 0;
    for (int y = 0; y < kSize; ++y)
        for (int x = 0; x < kSize; ++x) {
            if (s.At(x, y) != thin) continue;
            const double angle = std::atan2(y - r.CentreY(), x - r.CentreX());
            // Within a degree of the span's ray counts as inside: the wedge is thinner than a pixel there.
            if (std::abs(angle) > std::numbers::pi / 180) ++outside;
        }
    EXPECT_EQ(outside, 0);
}

TEST(PieRender, BackBufferFollowsSizeAndDialogLook) {
    const DirInfo root = KnownTree();
    test_support::FakePieHost host(root);
    host.dialogLook = true;
    pie::PieCanvas canvas;
    canvas.Renderer().settings.sizeKind = model::kLogicalSize;
    canvas.Resize(300, 200);
    canvas.Rebuild(&root, host);
    const auto& r = canvas.Renderer();
    EXPECT_EQ(r.CentreX(), 150);
    EXPECT_EQ(r.CentreY(), 100);
    EXPECT_EQ(r.Areas().Radii().back(), 100);
    // The margins beside the square show the dialog-look background.
    EXPECT_EQ(GetPixel(canvas.Dc(), 10, 100), GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(GetPixel(canvas.Dc(), 150, 100 + 25), pie::kCentreGrey);
    // Zero size: nothing is rendered, and nothing is left to hit (the tree may be replaced meanwhile).
    ASSERT_TRUE(r.Areas().FindPoint(0, 60));
    canvas.Resize(0, 200);
    canvas.Rebuild(&root, host);
    EXPECT_TRUE(r.Areas().Radii().empty());
    EXPECT_FALSE(r.Areas().FindPoint(0, 60));
    canvas.RecreateForDisplay(120, 120);
    canvas.Rebuild(&root, host);
    EXPECT_EQ(r.Areas().Radii().back(), 60);
    EXPECT_EQ(GetPixel(canvas.Dc(), 0, 0), GetSysColor(COLOR_BTNFACE));
}

// An empty tree (the start-up root before any scan) has its grey disk under the name, not the background.
TEST(PieRender, EmptyFolderKeepsItsDisk) {
    DirInfo root("C:");
    model::RecomputeTotals(root, 0);
    test_support::FakePieHost host(root);
    pie::PieCanvas canvas;
    auto& r = canvas.Renderer();
    Surface s;
    canvas.RenderInto(s.dc.Get(), kSize, kSize, &root, host);
    EXPECT_EQ(r.CentreRadius(), 66);
    EXPECT_EQ(Hex(s.AtPolar(r, 0, 60)), Hex(pie::kCentreGrey));
    EXPECT_EQ(Hex(s.AtPolar(r, std::numbers::pi / 2, 60)), Hex(pie::kCentreGrey));
    EXPECT_NE(Hex(s.AtPolar(r, 0, 72)), Hex(pie::kCentreGrey));
}

}  // namespace
