// Ring count, item order and the layout traversal.
#include "pie/PieLayout.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

#include "pie/SegmentColor.h"

namespace pie {

std::uint64_t ValueOf(const model::DirInfo& dir, const SizeContext& ctx) {
    return model::SizeOf(dir, ctx.mode, ctx.clusterSize);
}
std::uint64_t ValueOf(const model::FileInfo& file, const SizeContext& ctx) {
    return model::SizeOf(file, ctx.mode, ctx.clusterSize);
}
std::uint64_t ValueOf(const Item& item, const SizeContext& ctx) {
    return item.isDir ? ValueOf(item.Dir(), ctx) : ValueOf(item.File(), ctx);
}

std::uint64_t LargestChild(const model::DirInfo& dir, const SizeContext& ctx) {
    std::uint64_t largest = 0;
    for (const auto& sub : dir.subdirs) largest = std::max(largest, ValueOf(sub, ctx));
    for (const auto& file : dir.files) largest = std::max(largest, ValueOf(file, ctx));
    return largest;
}

void ListItems(const model::DirInfo& dir, std::vector<Item>& items) {
    items.clear();
    items.reserve(dir.subdirs.size() + dir.files.size());
    for (const auto& sub : dir.subdirs) items.push_back({true, &sub});
    for (const auto& file : dir.files) items.push_back({false, &file});
}

namespace {

// Case-insensitive over ASCII letters, bytes compared unsigned.
bool NameLess(const std::string& a, const std::string& b) {
    const std::size_t len = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < len; ++i) {
        int ca = static_cast<unsigned char>(a[i]), cb = static_cast<unsigned char>(b[i]);
        if (ca >= 'a' && ca <= 'z') ca -= 'a' - 'A';
        if (cb >= 'a' && cb <= 'z') cb -= 'a' - 'A';
        if (ca != cb) return ca < cb;
    }
    return a.size() < b.size();
}

std::int32_t SortKeyOf(const Item& item) { return item.isDir ? item.Dir().sortKey : item.File().sortKey; }

template <class Less>
void SortRanges(std::vector<Item>& items, bool groupDirs, Less less) {
    if (!groupDirs) {
        std::sort(items.begin(), items.end(), less);
        return;
    }
    // ListItems puts the subfolders first, so each group is a contiguous range.
    const auto firstFile = std::find_if(items.begin(), items.end(), [](const Item& i) { return !i.isDir; });
    std::sort(items.begin(), firstFile, less);
    std::sort(firstFile, items.end(), less);
}

}  // namespace

void OrderItems(std::vector<Item>& items, int srtOrder, bool groupDirs, const SizeContext& ctx) {
    switch (srtOrder) {
        case kByName:
            SortRanges(items, groupDirs, [](const Item& a, const Item& b) { return NameLess(a.Name(), b.Name()); });
            break;
        case kBySize: {
            // Values are looked up once: a folder's value is cheap but a file's needs the cluster rounding.
            std::vector<std::pair<std::uint64_t, Item>> keyed;
            keyed.reserve(items.size());
            for (const Item& item : items) keyed.emplace_back(ValueOf(item, ctx), item);
            const auto byValue = [](const auto& a, const auto& b) { return a.first > b.first; };
            if (groupDirs) {
                const auto firstFile = std::find_if(keyed.begin(), keyed.end(), [](const auto& k) { return !k.second.isDir; });
                std::sort(keyed.begin(), firstFile, byValue);
                std::sort(firstFile, keyed.end(), byValue);
            } else {
                std::sort(keyed.begin(), keyed.end(), byValue);
            }
            for (std::size_t i = 0; i < items.size(); ++i) items[i] = keyed[i].second;
            break;
        }
        default:
            if (!groupDirs)
                std::sort(items.begin(), items.end(),
                          [](const Item& a, const Item& b) { return SortKeyOf(a) < SortKeyOf(b); });
            break;
    }
}

PieGeometry ComputeGeometry(int width, int height, double centerRatio) {
    PieGeometry g;
    if (width < height) {
        const int t = (height - width) / 2;
        g.square = {0, t, width, t + width};
    } else if (width > height) {
        const int l = (width - height) / 2;
        g.square = {l, 0, l + height, height};
    } else {
        g.square = {0, 0, width, height};
    }
    g.outer = (g.square.right - g.square.left) / 2;
    g.centre = static_cast<int>(g.outer * centerRatio);
    g.cx = g.square.CentreX();
    g.cy = g.square.CentreY();
    return g;
}

namespace {

class RingCounter {
public:
    RingCounter(const model::DirInfo& current, int side, const PieSettings& settings, std::uint32_t clusterSize)
        : ctx_{settings.pieMode, clusterSize}, minVis_(settings.minVisSize), outer_(side / 2.0),
          centre_(outer_ * settings.centerRatio), rootValue_(ValueOf(current, ctx_)) {
        stack_.push_back(rootValue_);
        Visit(current, 0);
    }
    int Rings() const noexcept { return n_; }

private:
    bool Passes(std::uint64_t value, int boundary, int rings) const {
        double arc = 0;
        if (rootValue_ != 0) {
            const double r = std::trunc(RingBoundary(outer_, centre_, rings, boundary));
            arc = r * 2 * std::numbers::pi * static_cast<double>(value) / static_cast<double>(rootValue_);
        }
        return arc >= minVis_;
    }

    // Whether the path on the stack with `value` appended fits in d + 1 rings.
    bool FitsWithOneMore(std::uint64_t value, int d) const {
        const int m = d + 1;
        for (int i = 1; i <= m; ++i)
            if (!Passes(i <= d ? stack_[static_cast<std::size_t>(i)] : value, i, m)) return false;
        return true;
    }

    void Visit(const model::DirInfo& folder, int d) {
        bool expandedAny = false;
        for (const auto& sub : folder.subdirs) {
            const std::uint64_t value = ValueOf(sub, ctx_);
            bool expand;
            if (d < n_) {
                expand = Passes(value, d + 1, n_);
            } else {
                expand = FitsWithOneMore(value, d);
                if (expand) n_ = d + 1;
            }
            if (!expand) continue;
            expandedAny = true;
            stack_.push_back(value);
            Visit(sub, d + 1);
            stack_.pop_back();
        }
        if (expandedAny || d != n_) return;
        for (const auto& file : folder.files) {
            if (FitsWithOneMore(ValueOf(file, ctx_), d)) {
                n_ = d + 1;
                return;
            }
        }
    }

    SizeContext ctx_;
    double minVis_;
    double outer_;
    double centre_;
    std::uint64_t rootValue_;
    std::vector<std::uint64_t> stack_;
    int n_ = 0;
};

}  // namespace

int CountRings(const model::DirInfo& current, int side, const PieSettings& settings, std::uint32_t clusterSize) {
    return RingCounter(current, side, settings, clusterSize).Rings();
}

RingLayout::RingLayout(const PieSettings& settings, std::uint32_t clusterSize, const PieGeometry& geometry, int n,
                       tv::Crc& crc, PiePainter& painter, RingAreas& areas, Clock clock)
    : settings_(settings), ctx_{settings.pieMode, clusterSize}, geometry_(geometry), n_(n), crc_(crc),
      painter_(painter), areas_(areas), clock_(clock), itemsPerRing_(static_cast<std::size_t>(std::max(n, 0))) {}

void RingLayout::DrawCurrent(const model::DirInfo& current) {
    rootValue_ = ValueOf(current, ctx_);
    std::string path;
    DrawDir(current, -1, -std::numbers::pi / 2, 2 * std::numbers::pi - std::numbers::pi / 2, path, 0);
}

std::uint64_t RingLayout::Threshold(int childRing) const {
    constexpr std::uint64_t kNever = std::numeric_limits<std::uint64_t>::max();
    const double r = RingBoundary(geometry_.outer, geometry_.centre, n_, childRing + 1);
    const auto k = static_cast<std::uint64_t>(2.0 * r * std::numbers::pi);
    if (k == 0) return kNever;
    const double threshold = static_cast<double>(rootValue_) * settings_.minVisSize / static_cast<double>(k);
    // 2^64 and above does not fit; nothing but the largest value could pass such a threshold anyway.
    if (!(threshold < 18446744073709551616.0)) return kNever;
    return static_cast<std::uint64_t>(threshold);
}

std::vector<Item>& RingLayout::ItemsAt(int ring) { return itemsPerRing_[static_cast<std::size_t>(ring)]; }

void RingLayout::DrawDir(const model::DirInfo& folder, int ring, double start, double end, std::string& path,
                         std::uint64_t parentLargest) {
    const std::uint64_t v = ValueOf(folder, ctx_);
    if (v == 0) return;
    const int childRing = ring + 1;
    if (n_ > 0 && ring < n_ - 1) {
        std::vector<Item>& items = ItemsAt(childRing);
        ListItems(folder, items);
        if (clock_.now) {
            const std::uint64_t t0 = clock_.now();
            OrderItems(items, settings_.srtOrder, settings_.groupDirs, ctx_);
            sortTicks_ += clock_.now() - t0;
        } else {
            OrderItems(items, settings_.srtOrder, settings_.groupDirs, ctx_);
        }
        const std::uint64_t threshold = Threshold(childRing);
        const std::uint64_t largest = LargestChild(folder, ctx_);
        const auto& radii = areas_.Radii();
        const Square outer = SquareAround(geometry_.cx, geometry_.cy, radii[static_cast<std::size_t>(childRing) + 1]);
        const Square inner = SquareAround(geometry_.cx, geometry_.cy, radii[static_cast<std::size_t>(childRing)]);
        const double span = end - start;
        const auto dv = static_cast<double>(v);
        const std::size_t pathLength = path.size();
        std::uint64_t cum = 0;
        for (const Item& item : items) {
            const std::uint64_t x = ValueOf(item, ctx_);
            if (x >= threshold) {
                const double s = start + (static_cast<double>(cum) / dv) * span;
                const double e = start + (static_cast<double>(cum + x) / dv) * span;
                path += item.Name();
                if (item.isDir) {
                    path += '\\';
                    areas_.Add(childRing, s, e, path);
                    DrawDir(item.Dir(), childRing, s, e, path, largest);
                } else {
                    const Colour colour = SegmentColor(settings_, crc_, item.Name(), s, e, childRing, n_, x, largest);
                    if (painter_.DrawSegment(outer, inner, colour, s, e, true)) ++segmentsDrawn_;
                    areas_.Add(childRing, s, e, path);
                }
                path.resize(pathLength);
            }
            cum += x;
        }
    }
    const Colour colour = SegmentColor(settings_, crc_, folder.name, start, end, ring, n_, v, parentLargest);
    if (ring < 0) {
        const int inset = geometry_.outer - geometry_.centre;
        const Square& sq = geometry_.square;
        painter_.CentreDisk({sq.left + inset, sq.top + inset, sq.right - inset, sq.bottom - inset}, colour);
        return;
    }
    const auto& radii = areas_.Radii();
    const Square outer = SquareAround(geometry_.cx, geometry_.cy, radii[static_cast<std::size_t>(ring) + 1]);
    const Square inner = SquareAround(geometry_.cx, geometry_.cy, radii[static_cast<std::size_t>(ring)]);
    if (painter_.DrawSegment(outer, inner, colour, start, end, false)) ++segmentsDrawn_;
}

}  // namespace pie
