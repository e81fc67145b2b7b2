// Tip templates, tip layout and placement, and the blend.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "PieTestSupport.h"
#include "pie/TipCompose.h"
#include "pie/TipParser.h"

namespace {

using model::DirInfo;
using model::FileInfo;
using pie::TipSize;

// Name font: 10 x 20 per character; info font: 7 x 13; an empty line is as high as any other.
class FakeMeasure : public pie::TextMeasure {
public:
    std::size_t measured = 0;  // characters measured in all
    TipSize LineSize(pie::TipFont font, std::string_view line) override {
        measured += line.size();
        const int n = static_cast<int>(line.size());
        return font == pie::TipFont::kName ? TipSize{10 * n, 20} : TipSize{7 * n, 13};
    }
};

DirInfo Folder() {
    // 1,500 bytes in two files here, 3 folders and 2,000 bytes more below.
    return pie_test::Tree(pie_test::Dir(
        "Docs", {pie_test::Dir("a", {pie_test::Dir("b", {}, {FileInfo("x", 2000)})}, {}), pie_test::Dir("c", {}, {})},
        {FileInfo("p", 1000), FileInfo("q", 500)}));
}

struct Case {
    const char* text;
    const char* info;  // the formatted template
    std::size_t lines;
};

TEST(TipParser, FolderTemplates) {
    const Case cases[] = {
        {"#DSIZE (#DALLOC)\r\nDirs: #DDIRS\r\nFiles: #DFILES", "3.4 KB (0 bytes)\r\nDirs: 3\r\nFiles: 3", 3},
        {"#dsize", "3.4 KB", 1},                    // names ignore case
        {"#FOO and #DSIZEx", "FOO and DSIZEx", 1},  // unknown symbols show their names
        {"100# # DSIZE #", "100# # DSIZE #", 1},    // a # before a non-letter is text
        {"(#LSIZE)", "(1.5 KB)", 1},                // the name stops at the first non-letter
        {"#LDIRS/#LFILES #LALLOC", "2/2 0 bytes", 1},
        {"#DWASTE #LWASTE", "0 bytes 0 bytes", 1},    // nothing allocated, nothing wasted: never below 0
        {"a\r\n", "a", 1},                            // a final break adds no line
        {"a\r\n\r\nb", "a\r\n\r\nb", 3},              // an empty line in the middle stays
        {"a\rb\nc\n\rd", "a\r\nb\r\nc\r\n\r\nd", 5},  // lone CR and LF break too; LF CR is two breaks
        {"", "", 0},
    };
    const DirInfo folder = Folder();
    FakeMeasure measure;
    for (const Case& c : cases) {
        pie::TipParser<DirInfo> parser;
        parser.Parse(c.text);
        EXPECT_EQ(parser.Lines().size(), c.lines) << c.text;
        parser.Format(folder, 0, measure);
        EXPECT_EQ(parser.Info(), c.info) << c.text;
        EXPECT_EQ(parser.Name(), "Docs");
    }
}

// The comparison's symbols: signed changes against the earlier sizes, their names without a comparison.
TEST(TipParser, ComparisonSymbols) {
    const DirInfo folder = Folder();  // 3,500 bytes deep, 1,500 here
    compare::ItemState shrunk;
    shrunk.earlierSize = 5000;
    shrunk.earlierLocal = 1000;
    shrunk.gone.bytes = 2500;
    const compare::ItemState fresh{true};
    compare::ItemState same;
    same.earlierSize = 3500;
    same.earlierLocal = 1500;
    const struct {
        const compare::ItemState* then;
        const char* info;
    } cases[] = {
        {&shrunk, "-1.5 KB / +500 bytes / 4.9 KB / 2.4 KB / 3.4 KB"},
        {&fresh, "+3.4 KB / +1.5 KB / 0 bytes / 0 bytes / 3.4 KB"},
        {&same, "0 bytes / 0 bytes / 3.4 KB / 0 bytes / 3.4 KB"},
        {nullptr, "DDELTA / LDELTA / DOLD / dremoved / 3.4 KB"},  // as written, like unknown names
    };
    FakeMeasure measure;
    pie::TipParser<DirInfo> parser;
    parser.Parse("#DDELTA / #LDELTA / #DOLD / #dremoved / #DSIZE");
    for (const auto& c : cases) {
        parser.Format(folder, pie::TipContext{4096, c.then}, measure);
        EXPECT_EQ(parser.Info(), c.info);
    }
    pie::TipParser<FileInfo> fileParser;
    fileParser.Parse("#DDELTA #SIZE");
    fileParser.Format(FileInfo("f", 10), pie::TipContext{0, &shrunk}, measure);
    EXPECT_EQ(fileParser.Info(), "DDELTA 10 bytes") << "a folder's symbol is unknown in a file's tip";
}

TEST(TipParser, FileSymbolsAndUnknownClusterSize) {
    const FileInfo file("movie.avi", 100);
    FakeMeasure measure;
    pie::TipParser<FileInfo> parser;
    parser.Parse("#SIZE (#ALLOC) #WASTE #DSIZE");
    parser.Format(file, 0, measure);
    EXPECT_EQ(parser.Info(), "100 bytes (n/a) n/a DSIZE");
    parser.Format(file, 4096, measure);
    EXPECT_EQ(parser.Info(), "100 bytes (4.0 KB) 3.9 KB DSIZE");
    EXPECT_EQ(pie::TipParser<FileInfo>::EditorTexts(),
              (std::vector<std::string>{"#SIZE -- Logical size", "#ALLOC -- Allocated size", "#WASTE -- Wasted space",
                                        "#TYPE -- File type"}));
    const auto dirTexts = pie::TipParser<DirInfo>::EditorTexts();
    ASSERT_EQ(dirTexts.size(), 15u);
    EXPECT_EQ(dirTexts.front(), "#DSIZE -- Deep logical size");
    EXPECT_EQ(dirTexts[9], "#LFILES -- Local files");
    EXPECT_EQ(dirTexts[13], "#DREMOVED -- Logical size removed below");
    EXPECT_EQ(dirTexts.back(), "#TOPTYPE -- Largest file type below");
}

TEST(TipParser, TypeSymbols) {
    FakeMeasure measure;
    pie::TipParser<FileInfo> files;
    files.Parse("#type|#TOPTYPE");  // a folder symbol is unknown to files
    for (const auto& [name, shown] : {std::pair{"Movie.MKV", "mkv|TOPTYPE"},
                                      {"README", "(no extension)|TOPTYPE"},
                                      {".gitignore", "(no extension)|TOPTYPE"},
                                      {"a.tar.gz", "gz|TOPTYPE"}}) {
        files.Format(FileInfo(name, 1), 0, measure);
        EXPECT_EQ(files.Info(), shown) << name;
    }

    // Photos: 3,000 bytes of jpg below it against 1,000 of png and 0 of anything else.
    DirInfo photos = pie_test::Tree(
        pie_test::Dir("Photos", {pie_test::Dir("2026", {}, {FileInfo("a.JPG", 2000), FileInfo("b.png", 1000)})},
                      {FileInfo("c.jpg", 1000), FileInfo("empty", 0)}));
    pie::TipParser<DirInfo> folders;
    folders.Parse("#TOPTYPE #TYPE");
    folders.Format(photos, 0, measure);
    EXPECT_EQ(folders.Info(), "jpg (75.0%) TYPE");
    const DirInfo bare = pie_test::Tree(pie_test::Dir("bare", {pie_test::Dir("sub", {}, {})}, {}));
    folders.Format(bare, 0, measure);
    EXPECT_EQ(folders.Info(), "none TYPE");
    // Only empty files: the type is there, with no share of nothing.
    const DirInfo zeros = pie_test::Tree(pie_test::Dir("z", {}, {FileInfo("x.log", 0)}));
    folders.Format(zeros, 0, measure);
    EXPECT_EQ(folders.Info(), "log (0.0%) TYPE");

    // The walk below a folder is kept for the next mouse movement over it, until the pie says to forget.
    folders.Format(photos, 0, measure);
    photos.subdirs[0].files.emplace_back("huge.png", 10000);
    model::RecomputeTotals(photos, 0);
    folders.Format(photos, 0, measure);
    EXPECT_EQ(folders.Info(), "jpg (75.0%) TYPE");
    folders.Forget();
    folders.Format(photos, 0, measure);
    EXPECT_EQ(folders.Info(), "png (78.6%) TYPE");
}

TEST(TipParser, TipSizeFromNameAndLines) {
    const DirInfo folder = Folder();  // name "Docs": 40 x 20
    struct SizeCase {
        const char* text;
        bool showName, showInfo;
        TipSize size;
    };
    const SizeCase cases[] = {
        {"ab\r\nabcdefgh\r\n\r\n", true, true, {std::max(40, 56) + 4, 20 + 3 * 13 + 4}},
        {"abcdefghijk", true, false, {44, 24}},
        {"abcdefghijk", false, true, {81, 17}},
        {"abcdefghijk", false, false, {4, 4}},  // an empty box
        {"", true, true, {0, 0}},               // no template, no tip
    };
    for (const SizeCase& c : cases) {
        pie::TipParser<DirInfo> parser;
        parser.SetFlags(c.showName, c.showInfo);
        parser.Parse(c.text);
        FakeMeasure measure;
        EXPECT_EQ(parser.Format(folder, 0, measure), c.size) << c.text;
    }
    pie::TipParser<DirInfo> parser;
    parser.Parse("ab\r\n\r\nabc");
    FakeMeasure measure;
    parser.Format(folder, 0, measure);
    EXPECT_EQ(parser.LineTops(), (std::vector<int>{0, 13, 26, 39}));
}

// A huge template formats and measures in one pass over its text: a quadratic step would not finish here.
TEST(TipParser, MegabyteTemplateWithManySymbols) {
    std::string text;
    for (int i = 0; i < 100'000; ++i) text += "#DFILES  #nope\r\n";
    text.append(1'000'000 - text.size() % 1'000'000, 'x');
    ASSERT_GE(text.size(), 1'000'000u);
    pie::TipParser<DirInfo> parser;
    parser.Parse(text);
    ASSERT_EQ(parser.Lines().size(), 100'001u);
    FakeMeasure measure;
    const TipSize size = parser.Format(Folder(), 0, measure);
    EXPECT_EQ(parser.Info().substr(0, 20), "3  nope\r\n3  nope\r\n3 ");
    EXPECT_EQ(measure.measured, parser.Info().size() - 2 * 100'000 + 4);  // every character once, and the name
    EXPECT_EQ(size.height, 20 + 100'001 * 13 + 4);
}

TEST(TipPlacement, NearEachEdge) {
    struct PlaceCase {
        const char* what;
        int x, y, clientWidth, clientHeight;
        fw::Rect expected;
    };
    const TipSize tip{80, 40};
    const PlaceCase cases[] = {
        {"middle: centred, 32 below", 200, 100, 400, 400, {160, 132, 240, 172}},
        {"bottom: above the cursor", 200, 380, 400, 400, {160, 324, 240, 364}},
        {"left: shifted inside", 10, 100, 400, 400, {0, 132, 80, 172}},
        {"right: shifted inside", 390, 100, 400, 400, {320, 132, 400, 172}},
        {"view narrower than the tip: not shifted", 50, 10, 60, 400, {10, 42, 90, 82}},
        {"narrower, and past the left edge", 20, 10, 60, 400, {0, 42, 80, 82}},
        {"top: the vertical place is not clamped", 200, 10, 400, 60, {160, -46, 240, -6}},
    };
    for (const PlaceCase& c : cases)
        EXPECT_EQ(pie::PlaceTip(c.x, c.y, tip, c.clientWidth, c.clientHeight), c.expected) << c.what;
    // At 150 % and 200 % the tip keeps clear of the larger pointer: 48 and 64 below, 24 and 32 above.
    EXPECT_EQ(pie::PlaceTip(200, 100, tip, 400, 400, 144), (fw::Rect{160, 148, 240, 188}));
    EXPECT_EQ(pie::PlaceTip(200, 100, tip, 400, 400, 192), (fw::Rect{160, 164, 240, 204}));
    EXPECT_EQ(pie::PlaceTip(200, 380, tip, 400, 400, 144), (fw::Rect{160, 316, 240, 356}));
    EXPECT_EQ(pie::PlaceTip(200, 380, tip, 400, 400, 192), (fw::Rect{160, 308, 240, 348}));
}

TEST(TipPlacement, UnionOnlyWithAnOverlappingPreviousTip) {
    const fw::Rect next{100, 100, 180, 140};
    auto c = pie::ComposeTip({}, next);
    EXPECT_EQ(c.area, next);
    EXPECT_FALSE(c.previousCovered);
    c = pie::ComposeTip({90, 120, 170, 160}, next);
    EXPECT_EQ(c.area, (fw::Rect{90, 100, 180, 160}));
    EXPECT_EQ(c.originX, 10);
    EXPECT_EQ(c.originY, 0);
    EXPECT_TRUE(c.previousCovered);
    c = pie::ComposeTip({180, 100, 260, 140}, next);  // touching edges: two separate areas
    EXPECT_EQ(c.area, next);
    EXPECT_FALSE(c.previousCovered);
    EXPECT_EQ(pie::ClipToClient({-10, 380, 70, 420}, 400, 400), (fw::Rect{0, 380, 70, 400}));
    EXPECT_TRUE(pie::ClipToClient({-90, 10, -10, 50}, 400, 400).IsZero());
}

TEST(TipBlend, EqualBytesKeptFormulaOtherwise) {
    struct BlendCase {
        int transparency;
        std::uint8_t pie, tip, result;
    };
    const BlendCase cases[] = {
        {64, 200, 100, (64 * 200 + 191 * 100) / 255},
        {64, 7, 7, 7},
        {0, 200, 100, 100},
        {255, 200, 100, 200},
        {128, 0, 255, 127},
        {1, 255, 0, 1},
    };
    for (const BlendCase& c : cases) {
        std::uint8_t pie[3] = {c.pie, c.pie, c.pie};
        const std::uint8_t tip[3] = {c.tip, c.tip, c.tip};
        pie::BlendTip(pie, tip, 1, 1, 4, c.transparency);
        EXPECT_EQ(pie[1], c.result) << c.transparency << " " << int(c.pie) << " " << int(c.tip);
    }
    // Two rows of two pixels, padded to 8 bytes: the memo must follow each channel's own pair of inputs, and
    // the padding stays as it was.
    std::uint8_t pie[16] = {10, 20, 30, 10, 20, 30, 0xEE, 0xEE, 10, 20, 30, 99, 20, 30, 0xEE, 0xEE};
    const std::uint8_t tip[16] = {20, 20, 40, 30, 20, 40, 0, 0, 20, 20, 40, 20, 20, 40, 0, 0};
    pie::BlendTip(pie, tip, 2, 2, 8, 51);
    const auto mix = [](int p, int q) { return static_cast<std::uint8_t>((51 * p + 204 * q) / 255); };
    const std::uint8_t expected[16] = {mix(10, 20), 20, mix(30, 40), mix(10, 30), 20, mix(30, 40), 0xEE, 0xEE,
                                       mix(10, 20), 20, mix(30, 40), mix(99, 20), 20, mix(30, 40), 0xEE, 0xEE};
    for (int i = 0; i < 16; ++i) EXPECT_EQ(pie[i], expected[i]) << i;
}

}  // namespace
