// The sizes histogram: exact bins at every detail, the bars a tree makes, the boundary labels, and the
// columns' geometry and colours.
#include "info/SizeHistogram.h"
#include "model/SizeText.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace {

using model::DirInfo;

constexpr std::uint64_t kMax = ~std::uint64_t{0};

std::uint64_t PowerOfTen(int k) {
    std::uint64_t p = 1;
    while (k-- > 0) p *= 10;
    return p;
}

TEST(SizeHistogram, ExactPowersOfTenOpenTheirBinAtEveryDetail) {
    for (int detail = 1; detail <= 5; ++detail) {
        for (int k = 0; k <= 19; ++k) {
            EXPECT_EQ(info::SizeBin(PowerOfTen(k), detail), k * detail) << "10^" << k << " detail " << detail;
            if (k > 0) {
                EXPECT_EQ(info::SizeBin(PowerOfTen(k) - 1, detail), k * detail - 1) << "10^" << k << "-1";
            }
        }
        EXPECT_EQ(info::SizeBin(0, detail), -1);
    }
}

TEST(SizeHistogram, BinsBetweenThePowers) {
    struct Case {
        std::uint64_t size;
        int detail, bin;
    } const cases[] = {
        {5, 1, 0}, {50, 1, 1}, {500, 1, 2},   {3, 2, 0},     {4, 2, 1}, {5, 2, 1}, {31, 2, 2}, {32, 2, 3},
        {2, 3, 0}, {3, 3, 1},  {kMax, 1, 19}, {kMax, 5, 96}, {5, 0, 0}, {5, 9, 3},  // detail clamped to 1 and to 5
                                                                                    // (10^(3/5) = 3.98 <= 5 < 10^(4/5)
                                                                                    // = 6.3)
    };
    for (const Case& c : cases) EXPECT_EQ(info::SizeBin(c.size, c.detail), c.bin) << c.size << " at " << c.detail;
}

// Every size next to a bin boundary and random sizes of every bit length land in the bin whose boundaries
// (read back from the labels) bracket them, and a tree's bars count the same bins.
TEST(SizeHistogram, BinsAgreeWithTheBoundariesForSizesOfEveryBitLength) {
    std::uint64_t state = 99;
    auto next = [&state] { return state = state * 6364136223846793005ull + 1442695040888963407ull; };
    for (int detail = 1; detail <= 5; ++detail) {
        std::vector<std::uint64_t> smallest{1};  // of each bin, from the label at its foot
        for (int bar = 1; info::BarLabel(bar, detail) != kMax; ++bar) {
            const std::uint64_t label = info::BarLabel(bar, detail);
            smallest.push_back(bar % detail == 0 ? label : label + 1);
        }
        auto expected = [&](std::uint64_t size) {
            return size == 0
                       ? -1
                       : static_cast<int>(std::upper_bound(smallest.begin(), smallest.end(), size) - smallest.begin()) -
                             1;
        };
        std::vector<std::uint64_t> sizes{0, 1, kMax, kMax - 1};
        for (std::uint64_t t : smallest)
            for (std::uint64_t near : {t - 1, t, t + 1}) sizes.push_back(near);
        for (int bits = 1; bits <= 64; ++bits) {
            for (int i = 0; i < 200; ++i) {
                const std::uint64_t top = std::uint64_t{1} << (bits - 1);
                sizes.push_back(top | (next() & (top - 1)));
            }
        }
        DirInfo root("C:");
        std::vector<std::uint32_t> bars;
        for (std::uint64_t size : sizes) {
            ASSERT_EQ(info::SizeBin(size, detail), expected(size)) << size << " at detail " << detail;
            root.files.emplace_back("f", size);
            const std::size_t bar = static_cast<std::size_t>(expected(size) + 1);
            if (bars.size() <= bar) bars.resize(bar + 1, 0);
            ++bars[bar];
        }
        EXPECT_EQ(info::ComputeHistogram(root, detail).bars, bars) << "detail " << detail;
    }
}

DirInfo TreeWithFiles(std::initializer_list<std::uint64_t> sizes) {
    DirInfo root("C:");
    DirInfo& sub = root.subdirs.emplace_back("s");
    bool here = true;
    for (std::uint64_t size : sizes) {
        (here ? root : sub).files.emplace_back("f", size);
        here = !here;
    }
    return root;
}

TEST(SizeHistogram, BarsOfATreeAndTheirLabels) {
    const info::SizeHistogram h = info::ComputeHistogram(TreeWithFiles({5, 50, 500}), 1);
    EXPECT_EQ(h.bars, (std::vector<std::uint32_t>{0, 1, 1, 1}));
    EXPECT_EQ(h.maxCount, 1u);
    const char* labels[] = {"0 bytes", "10 bytes", "100 bytes", "1.0 KB"};
    for (int bar = 0; bar < 4; ++bar) EXPECT_EQ(model::FormatSize(info::BarLabel(bar, 1)), labels[bar]) << bar;

    const info::SizeHistogram two = info::ComputeHistogram(TreeWithFiles({5}), 2);
    EXPECT_EQ(two.bars, (std::vector<std::uint32_t>{0, 0, 1}));
    EXPECT_EQ(info::BarLabel(1, 2), 3u);
    EXPECT_EQ(info::BarLabel(2, 2), 10u);
}

TEST(SizeHistogram, OnlyEmptyFilesMakeOneBarAndNoFilesNone) {
    const info::SizeHistogram empties = info::ComputeHistogram(TreeWithFiles({0, 0, 0}), 3);
    EXPECT_EQ(empties.bars, (std::vector<std::uint32_t>{3}));
    EXPECT_EQ(empties.maxCount, 3u);
    const info::SizeHistogram none = info::ComputeHistogram(DirInfo("C:"), 3);
    EXPECT_TRUE(none.bars.empty());
    EXPECT_EQ(none.maxCount, 1u);
    EXPECT_TRUE(info::LayoutHistogram(none, {0, 0, 400, 300}).empty());
}

TEST(SizeHistogram, LabelsPastTwoToThe64Saturate) {
    EXPECT_EQ(info::BarLabel(19, 1), PowerOfTen(19));
    EXPECT_EQ(info::BarLabel(20, 1), kMax);
    EXPECT_EQ(info::BarLabel(96, 5), 15848931924611134852u);  // 10^19.2
    EXPECT_EQ(info::BarLabel(97, 5), kMax);
    const info::SizeHistogram top = info::ComputeHistogram(TreeWithFiles({kMax, 1}), 1);
    ASSERT_EQ(top.bars.size(), 21u);
    EXPECT_EQ(top.bars[20], 1u);
    EXPECT_EQ(info::LayoutHistogram(top, {0, 0, 900, 300}).back().label, kMax);
}

TEST(SizeHistogram, ColumnsFillTheChartFromGreenToRed) {
    info::SizeHistogram h;
    h.detail = 1;
    h.bars = {4, 0, 2};
    h.maxCount = 4;
    const fw::Rect client{0, 0, 350, 250};
    const std::vector<info::HistogramBar> bars = info::LayoutHistogram(h, client);
    ASSERT_EQ(bars.size(), 3u);
    const int depth = 300 / 3 / 3;  // chart 300 x 200
    EXPECT_EQ(bars[0].depth, depth);
    EXPECT_EQ(bars[0].front, (fw::Rect{0, depth, (300 - depth) / 3 - depth / 2, 200}));
    EXPECT_EQ(bars[1].front.top, 200) << "an empty bin has no height";
    EXPECT_EQ(bars[2].front.top, (200 - depth) / 2 + depth);
    EXPECT_EQ(bars[2].front.left, 2 * (300 - depth) / 3);
    EXPECT_EQ(bars[0].frontColour, fw::MakeColour(255, 0, 0));
    EXPECT_EQ(bars[1].frontColour, fw::MakeColour(0, 255, 0));
    EXPECT_EQ(bars[0].topColour, fw::HlsToRgb({0, 100, 240}));
    EXPECT_EQ(bars[0].sideColour, fw::HlsToRgb({0, 75, 240}));
    EXPECT_EQ(bars[2].labelX, bars[2].front.right + 1);
    EXPECT_EQ(bars[2].labelY, 201);
    EXPECT_EQ(bars[1].label, 10u);
}

}  // namespace
