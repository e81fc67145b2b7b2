#include "info/SizeHistogram.h"

#include "info/TreeWalk.h"

#include <algorithm>
#include <bit>
#include <limits>
#include <optional>
#include <stdexcept>

namespace info {
namespace {

constexpr std::uint64_t kMaxSize = std::numeric_limits<std::uint64_t>::max();

// Unsigned numbers of any size, little-endian 64-bit limbs: enough to compare s^detail with 10^k exactly.
using Big = std::vector<std::uint64_t>;

void Multiply(Big& x, std::uint64_t factor) {
    unsigned __int128 carry = 0;
    for (std::uint64_t& limb : x) {
        const unsigned __int128 product = static_cast<unsigned __int128>(limb) * factor + carry;
        limb = static_cast<std::uint64_t>(product);
        carry = product >> 64;
    }
    if (carry) x.push_back(static_cast<std::uint64_t>(carry));
}

int Compare(const Big& a, const Big& b) {
    if (a.size() != b.size()) return a.size() < b.size() ? -1 : 1;
    for (std::size_t i = a.size(); i-- > 0;)
        if (a[i] != b[i]) return a[i] < b[i] ? -1 : 1;
    return 0;
}

Big PowerOfTen(int exponent) {
    Big x{1};
    for (int i = 0; i < exponent; ++i) Multiply(x, 10);
    return x;
}

Big Power(std::uint64_t base, int exponent) {
    Big x{1};
    for (int i = 0; i < exponent; ++i) Multiply(x, base);
    return x;
}

// The smallest s >= 1 with s^detail >= 10^exponent, or nothing when no 64-bit s is.
std::optional<std::uint64_t> SmallestRoot(int detail, int exponent) {
    const Big target = PowerOfTen(exponent);
    auto enough = [&](std::uint64_t s) { return Compare(Power(s, detail), target) >= 0; };
    if (!enough(kMaxSize)) return std::nullopt;
    std::uint64_t low = 1, high = kMaxSize;  // enough(high) holds
    while (low < high) {
        const std::uint64_t middle = low + (high - low) / 2;
        if (enough(middle))
            high = middle;
        else
            low = middle + 1;
    }
    return low;
}

// thresholds[k] = the smallest size of bin k; only bins that some 64-bit size reaches.
std::vector<std::uint64_t> BinThresholds(int detail) {
    std::vector<std::uint64_t> thresholds;
    for (int k = 0;; ++k) {
        const auto smallest = SmallestRoot(detail, k);
        if (!smallest) break;
        thresholds.push_back(*smallest);
    }
    return thresholds;
}

const std::vector<std::uint64_t>& ThresholdsOf(int detail) {
    static const std::vector<std::uint64_t> table[kMaxDetail] = {BinThresholds(1), BinThresholds(2), BinThresholds(3),
                                                                 BinThresholds(4), BinThresholds(5)};
    return table[ClampDetail(detail) - 1];
}

// The bins by a size's bit length: all sizes of one bit length (one doubling) lie in the bin of the
// smallest of them or in one of the next few, since a bin spans at least 10^(1/5) = 1.58 of a doubling.
// A size's bin is then its row's first bin plus the boundaries it reaches, without a search per file.
class BinsByBitLength {
public:
    static constexpr int kSteps = 4;

    explicit BinsByBitLength(const std::vector<std::uint64_t>& thresholds) {
        // Row 0 is size 0: bin -1, and no boundary is passed (nothing exceeds the largest value).
        rows_[0].first = -1;
        for (std::uint64_t& last : rows_[0].lastBefore) last = kMaxSize;
        for (int bits = 1; bits <= 64; ++bits) {
            const std::uint64_t low = std::uint64_t{1} << (bits - 1);
            const std::uint64_t high = bits == 64 ? kMaxSize : (std::uint64_t{1} << bits) - 1;
            Row& row = rows_[bits];
            row.first =
                static_cast<int>(std::upper_bound(thresholds.begin(), thresholds.end(), low) - thresholds.begin()) - 1;
            int steps = 0;
            for (std::uint64_t t : thresholds) {
                if (t <= low || t > high) continue;
                if (steps == kSteps) throw std::logic_error("size bins narrower than a doubling allows");
                row.lastBefore[steps++] = t - 1;
            }
            for (; steps < kSteps; ++steps) row.lastBefore[steps] = kMaxSize;
        }
    }

    int Bin(std::uint64_t size) const noexcept {
        const Row& row = rows_[std::bit_width(size)];
        int bin = row.first;
        for (int i = 0; i < kSteps; ++i) bin += size > row.lastBefore[i];
        return bin;
    }

private:
    struct Row {
        int first = 0;  // the bin of the row's smallest size
        // The last size before each boundary inside the row, ascending; the largest value where none.
        std::uint64_t lastBefore[kSteps];
    };
    Row rows_[65];
};

const BinsByBitLength& BinsOf(int detail) {
    static const BinsByBitLength table[kMaxDetail] = {
        BinsByBitLength(ThresholdsOf(1)), BinsByBitLength(ThresholdsOf(2)), BinsByBitLength(ThresholdsOf(3)),
        BinsByBitLength(ThresholdsOf(4)), BinsByBitLength(ThresholdsOf(5))};
    return table[ClampDetail(detail) - 1];
}

}  // namespace

int SizeBin(std::uint64_t size, int detail) { return BinsOf(detail).Bin(size); }

SizeHistogram ComputeHistogram(const model::DirInfo& root, int detail) {
    SizeHistogram histogram;
    histogram.detail = ClampDetail(detail);
    const BinsByBitLength& bins = BinsOf(histogram.detail);
    std::vector<std::uint32_t> bars(ThresholdsOf(histogram.detail).size() + 1, 0);
    ForEachFile(root, [&](const model::FileInfo& file) { ++bars[static_cast<std::size_t>(bins.Bin(file.size) + 1)]; });
    while (!bars.empty() && bars.back() == 0) bars.pop_back();
    histogram.bars = std::move(bars);
    for (std::uint32_t count : histogram.bars) histogram.maxCount = std::max(histogram.maxCount, count);
    return histogram;
}

std::uint64_t BarLabel(int bar, int detail) {
    if (bar <= 0) return 0;
    // 10^(bar/detail) is a whole number only when detail divides bar; otherwise the smallest s reaching it
    // lies just above, and its truncation is one less.
    const std::vector<std::uint64_t>& thresholds = ThresholdsOf(detail);
    if (static_cast<std::size_t>(bar) >= thresholds.size()) return kMaxSize;
    const std::uint64_t smallest = thresholds[static_cast<std::size_t>(bar)];
    return bar % ClampDetail(detail) == 0 ? smallest : smallest - 1;
}

fw::Rect HistogramChart(const fw::Rect& client) {
    return {client.left, client.top, client.right - 50, client.bottom - 50};
}

std::vector<HistogramBar> LayoutHistogram(const SizeHistogram& histogram, const fw::Rect& client) {
    std::vector<HistogramBar> columns;
    const int n = static_cast<int>(histogram.bars.size());
    if (n == 0) return columns;
    fw::Rect chart = HistogramChart(client);
    const int depth = chart.Width() / n / 3;
    const int height = chart.Height() - depth;
    chart.right -= depth;
    const int width = chart.Width();
    columns.reserve(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i) {
        HistogramBar bar;
        const double f = static_cast<double>(histogram.bars[static_cast<std::size_t>(i)]) / histogram.maxCount;
        bar.front.left = static_cast<int>(static_cast<long long>(width) * i / n) + chart.left;
        bar.front.right = static_cast<int>(static_cast<long long>(width) * (i + 1) / n) + chart.left - depth / 2;
        bar.front.bottom = chart.bottom;
        bar.front.top = static_cast<int>((1 - f) * height + chart.top + depth);
        bar.depth = depth;
        const int shade = static_cast<int>((1 - f) * 80);
        bar.frontColour = fw::HlsToRgb({shade, 120, 240});
        bar.topColour = fw::HlsToRgb({shade, 100, 240});
        bar.sideColour = fw::HlsToRgb({shade, 75, 240});
        bar.label = BarLabel(i, histogram.detail);
        bar.labelX = bar.front.right - 1 + 2;
        bar.labelY = bar.front.bottom - 1 + 2;
        columns.push_back(bar);
    }
    return columns;
}

}  // namespace info
