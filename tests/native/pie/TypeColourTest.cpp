// Colouring by file type: which types get the 12 colours, how far apart those are, type-encoded segments,
// and the highlight of one type under every colouring method, down to what the renderer hands the painter.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "PieTestSupport.h"
#include "common/FakePieHost.h"
#include "common/PathTree.h"
#include "pie/PieRenderer.h"
#include "pie/TypeColours.h"

namespace {

using fw::Colour;
using fw::MakeColour;

// A perceptual distance of two colours (a weighted RGB distance; 0..~765).
double Distance(Colour a, Colour b) {
    const double mean = (fw::RedOf(a) + fw::RedOf(b)) / 2.0;
    const double dr = fw::RedOf(a) - fw::RedOf(b), dg = fw::GreenOf(a) - fw::GreenOf(b),
                 db = fw::BlueOf(a) - fw::BlueOf(b);
    return std::sqrt((2 + mean / 256) * dr * dr + 4 * dg * dg + (2 + (255 - mean) / 256) * db * db);
}

TEST(TypeColours, TwelveColoursFarApartAndUnlikeAnythingFadedOrNeutral) {
    for (int a = 0; a < pie::kTypeColourCount; ++a) {
        const Colour ca = pie::TypeColourAt(a);
        EXPECT_GT(Distance(ca, pie::kOtherTypesColour), 120) << a;
        EXPECT_LE(std::min({fw::RedOf(ca), fw::GreenOf(ca), fw::BlueOf(ca)}), 150) << a;
        for (int b = a + 1; b < pie::kTypeColourCount; ++b)
            EXPECT_GT(Distance(ca, pie::TypeColourAt(b)), 120) << a << " " << b;
    }
    EXPECT_EQ(pie::TypeColourAt(-1), pie::kOtherTypesColour);
    EXPECT_EQ(pie::TypeColourAt(12), pie::kOtherTypesColour);
    // Anything faded, a type's colour or black, has no channel below 191: it cannot pass for a type.
    for (Colour c : {MakeColour(0, 0, 0), pie::TypeColourAt(10), pie::kOtherTypesColour}) {
        const Colour faded = pie::Faded(c);
        EXPECT_GE(std::min({fw::RedOf(faded), fw::GreenOf(faded), fw::BlueOf(faded)}), 191);
    }
    EXPECT_EQ(pie::Paler(MakeColour(255, 0, 100)), MakeColour(255, 127, 177));
}

// 14 types with distinct byte counts, and two more tied with the 12th.
model::DirInfo ManyTypes(bool reversed) {
    std::vector<test_support::PathEntry> entries;
    for (int i = 0; i < 14; ++i) {
        const std::string type = "t" + std::string(1, static_cast<char>('a' + i));
        // Half of each type's bytes in a subfolder, names in mixed case.
        entries.push_back({"f" + std::to_string(i) + "." + type, static_cast<std::uint64_t>(1000 - 50 * i)});
        entries.push_back({"Sub\\g" + std::to_string(i) + "." + (i % 2 ? type : "T" + type.substr(1)),
                           static_cast<std::uint64_t>(1000 - 50 * i)});
    }
    entries.push_back({"Sub\\tie.zz", 2 * (1000 - 50 * 11)});
    entries.push_back({"tie.aa", 2 * (1000 - 50 * 11)});
    if (reversed) std::reverse(entries.begin(), entries.end());
    model::DirInfo root("C:");
    for (const auto& e : entries) {
        const auto slash = e.path.find('\\');
        model::DirInfo* at = &root;
        if (slash != std::string::npos) {
            if (root.subdirs.empty()) root.subdirs.emplace_back("Sub");
            at = &root.subdirs[0];
        }
        at->files.emplace_back(slash == std::string::npos ? e.path : e.path.substr(slash + 1), e.size);
    }
    model::RecomputeTotals(root, 0);
    return root;
}

TEST(TypeColours, TheTwelveLargestTypesOfTheTreeStableForAGivenTree) {
    const pie::TypeColours colours = pie::TypeColours::OfTree(ManyTypes(false));
    // ta..tk by bytes; then "aa", "tl" and "zz" tie at 900 bytes: by their text, "aa" takes the 12th colour.
    const std::vector<std::string> expected{"ta", "tb", "tc", "td", "te", "tf", "tg", "th", "ti", "tj", "tk", "aa"};
    EXPECT_EQ(colours.Ranked(), expected);
    EXPECT_EQ(pie::TypeColours::OfTree(ManyTypes(true)), colours);  // the order of the listing does not matter
    EXPECT_EQ(colours.RankOf("ta"), 0);
    EXPECT_EQ(colours.RankOf("tl"), -1);
    EXPECT_EQ(colours.OfType("tb"), pie::TypeColourAt(1));
    EXPECT_EQ(colours.OfName("Clip.TB"), pie::TypeColourAt(1));
    EXPECT_EQ(colours.OfName("x.tl"), pie::kOtherTypesColour);
    EXPECT_EQ(colours.OfName("README"), pie::kOtherTypesColour);
    EXPECT_EQ(pie::TypeColours().OfName("a.ta"), pie::kOtherTypesColour);  // no types known

    // Files without an extension are a type like any other.
    const model::DirInfo plain = test_support::PathTree("C:", {{"README", 10}, {"x.txt", 5}});
    const pie::TypeColours few = pie::TypeColours::OfTree(plain);
    EXPECT_EQ(few.Ranked(), (std::vector<std::string>{"", "txt"}));
    EXPECT_EQ(few.OfName("LICENSE"), pie::TypeColourAt(0));
    EXPECT_EQ(few.OfName(".gitignore"), pie::TypeColourAt(0));
}

class TypeShadingTest : public ::testing::Test {
protected:
    tv::CrcEngine engine{tv::kCrc32};
    tv::Crc crc{engine};
    pie::PieSettings settings;
    pie::TypeColours colours = pie::TypeColours::OfTree(test_support::PathTree("C:", {{"a.jpg", 100}, {"b.txt", 50}}));

    Colour Of(pie::ColourMethod method, const char* name, bool isFile, int ring,
              const std::string* highlight = nullptr) {
        settings.colourMethod = method;
        return pie::SegmentColour(settings, {&colours, highlight}, crc, name, isFile, 0, 1, ring, 3, 50, 100);
    }
};

TEST_F(TypeShadingTest, TypeEncodedFilesByTypeFoldersPalerSizeShades) {
    EXPECT_EQ(Of(pie::kTypeEncoded, "x.JPG", true, 1), pie::TypeColourAt(0));
    EXPECT_EQ(Of(pie::kTypeEncoded, "y.txt", true, 2), pie::TypeColourAt(1));
    EXPECT_EQ(Of(pie::kTypeEncoded, "z.doc", true, 0), pie::kOtherTypesColour);
    // A folder named like a file is still a folder.
    EXPECT_EQ(Of(pie::kTypeEncoded, "x.jpg", false, 1), pie::Paler(Of(pie::kSizeEncoded, "x.jpg", false, 1)));
    EXPECT_EQ(Of(pie::kTypeEncoded, "C:", false, -1), pie::Paler(pie::kCentreGrey));
    // Without the tree's colours every file is neutral.
    settings.colourMethod = pie::kTypeEncoded;
    EXPECT_EQ(pie::SegmentColour(settings, {}, crc, "x.jpg", true, 0, 1, 0, 3, 1, 1), pie::kOtherTypesColour);
}

TEST_F(TypeShadingTest, AHighlightedTypeStandsOutUnderEveryMethod) {
    const std::string jpg = "jpg", doc = "doc";
    for (pie::ColourMethod method :
         {pie::kFixedColour, pie::kSizeEncoded, pie::kRainbowWash, pie::kNameEncoded, pie::kTypeEncoded}) {
        EXPECT_EQ(Of(method, "Photo.JPG", true, 1, &jpg), pie::TypeColourAt(0)) << method;
        EXPECT_EQ(Of(method, "b.txt", true, 1, &jpg), pie::Faded(Of(method, "b.txt", true, 1))) << method;
        EXPECT_EQ(Of(method, "jpg.d", false, 0, &jpg), pie::Faded(Of(method, "jpg.d", false, 0))) << method;
        EXPECT_EQ(Of(method, "C:", false, -1, &jpg), pie::Faded(Of(method, "C:", false, -1))) << method;
        // A type outside the twelve shows in the neutral colour, which nothing faded can match.
        EXPECT_EQ(Of(method, "a.doc", true, 1, &doc), pie::kOtherTypesColour) << method;
    }
}

TEST(TypeShading, TheRendererHandsThePainterTheHighlight) {
    const model::DirInfo root =
        test_support::PathTree("R", {{"a.jpg", 400}, {"b.txt", 300}, {"Sub\\c.JPG", 200}, {"Sub\\d.txt", 100}});
    const pie::TypeColours colours = pie::TypeColours::OfTree(root);
    const std::string jpg = "jpg";
    pie_test::RecordingPainter painter;
    test_support::FakePieHost host(root);
    pie::PieRenderer renderer;
    renderer.settings.sizeKind = model::kLogicalSize;
    renderer.types = {&colours, &jpg};
    renderer.currentStatusName = "jpg: 600 bytes in 2 files";
    renderer.Rebuild(&root, 400, 400, host, painter);
    int highlighted = 0, faded = 0;
    for (const auto& call : painter.calls) {
        if (call.kind != pie_test::PaintCall::kSegment && call.kind != pie_test::PaintCall::kCentre) continue;
        if (call.colour == colours.OfType("jpg")) {
            ++highlighted;
            EXPECT_TRUE(call.asFile);
        } else {
            ++faded;
            EXPECT_GE(std::min({fw::RedOf(call.colour), fw::GreenOf(call.colour), fw::BlueOf(call.colour)}), 191);
        }
    }
    EXPECT_EQ(highlighted, 2);
    EXPECT_EQ(faded, 4);  // two files, the folder and the centre
    // The shallow row shows what the owner put there for the current folder.
    ASSERT_FALSE(host.statuses.empty());
    EXPECT_EQ(host.statuses.back(), "folder jpg: 600 bytes in 2 files");
}

}  // namespace
