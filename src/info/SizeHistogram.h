// The file sizes histogram: files counted in bins on a logarithmic scale (`detail` bins per power of ten,
// empty files apart), the labels of the bin boundaries, and where each 3-D column goes in a window.
// Portable; TSizeHistogramDlg paints what LayoutHistogram returns.
//
// Bin boundaries are exact: a size s > 0 is in bin k when 10^(k/detail) <= s < 10^((k+1)/detail), decided in
// integers (s^detail against 10^k), so exact powers of ten land in their own bin on every runtime.
#pragma once

#include "fw/Colour.h"
#include "fw/Rect.h"
#include "model/DirInfo.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace info {

inline constexpr int kMinDetail = 1, kMaxDetail = 5, kDefaultDetail = 2;
constexpr int ClampDetail(int detail) noexcept { return std::clamp(detail, kMinDetail, kMaxDetail); }

// -1 for an empty file, else the bin above (detail is clamped to 1..5).
int SizeBin(std::uint64_t size, int detail);

struct SizeHistogram {
    int detail = kDefaultDetail;
    // bars[0] counts the empty files (bin -1), bars[i] the files of bin i - 1. Empty bins at the top are
    // dropped, lower ones stay; no bars at all when the tree has no files.
    std::vector<std::uint32_t> bars;
    std::uint32_t maxCount = 1;  // the tallest bar, at least 1
};

// One pass over every file below `root`.
SizeHistogram ComputeHistogram(const model::DirInfo& root, int detail);

// The boundary at the right foot of bar `bar`: 0 for the first, else 10^(bar/detail) truncated to a whole
// number; the largest 64-bit value where that no longer fits.
std::uint64_t BarLabel(int bar, int detail);

// One 3-D column: the front face, the depth of the top and side faces, the three colours (green for an
// empty bar, red for the tallest) and where the slanted label starts.
struct HistogramBar {
    fw::Rect front;
    int depth = 0;
    fw::Colour frontColour = 0, topColour = 0, sideColour = 0;
    std::uint64_t label = 0;
    int labelX = 0, labelY = 0;
    friend bool operator==(const HistogramBar&, const HistogramBar&) = default;
};

// Columns for a client area; the chart leaves 50 pixels right and below for the labels.
std::vector<HistogramBar> LayoutHistogram(const SizeHistogram& histogram, const fw::Rect& client);
fw::Rect HistogramChart(const fw::Rect& client);

}  // namespace info
