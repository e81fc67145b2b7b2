// Ring count, item order and the layout traversal.
#include "pie/PieLayout.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

#include "pie/GrowthColour.h"
#include "pie/SegmentColour.h"

namespace pie {

using fw::Colour;

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

void ListItems(const model::DirInfo& dir, const SizeContext& ctx, std::vector<ValuedItem>& items) {
    items.clear();
    items.reserve(dir.subdirs.size() + dir.files.size());
    for (const auto& sub : dir.subdirs) items.push_back({{true, &sub}, ValueOf(sub, ctx)});
    for (const auto& file : dir.files) items.push_back({{false, &file}, ValueOf(file, ctx)});
}

namespace {

// Case-insensitive over ASCII letters, bytes compared unsigned.
bool NameLess(std::string_view a, std::string_view b) {
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
void SortRanges(std::vector<ValuedItem>& items, bool groupFolders, Less less) {
    if (!groupFolders) {
        std::sort(items.begin(), items.end(), less);
        return;
    }
    // ListItems puts the subfolders first, so each group is a contiguous range.
    const auto firstFile = std::find_if(items.begin(), items.end(), [](const ValuedItem& i) { return !i.item.isDir; });
    std::sort(items.begin(), firstFile, less);
    std::sort(firstFile, items.end(), less);
}

}  // namespace

void OrderItems(std::vector<ValuedItem>& items, int sortOrder, bool groupFolders) {
    switch (sortOrder) {
    case kByName:
        SortRanges(items, groupFolders,
                   [](const ValuedItem& a, const ValuedItem& b) { return NameLess(a.item.Name(), b.item.Name()); });
        break;
    case kBySize:
        SortRanges(items, groupFolders, [](const ValuedItem& a, const ValuedItem& b) { return a.value > b.value; });
        break;
    default:
        if (!groupFolders)
            std::sort(items.begin(), items.end(),
                      [](const ValuedItem& a, const ValuedItem& b) { return SortKeyOf(a.item) < SortKeyOf(b.item); });
        break;
    }
}

void OrderItems(std::vector<Item>& items, int sortOrder, bool groupFolders, const SizeContext& ctx) {
    std::vector<ValuedItem> valued;
    valued.reserve(items.size());
    for (const Item& item : items) valued.push_back({item, ValueOf(item, ctx)});
    OrderItems(valued, sortOrder, groupFolders);
    for (std::size_t i = 0; i < items.size(); ++i) items[i] = valued[i].item;
}

PieGeometry ComputeGeometry(int width, int height, double centreRatio) {
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
    g.centre = static_cast<int>(g.outer * centreRatio);
    g.cx = g.square.CentreX();
    g.cy = g.square.CentreY();
    return g;
}

namespace {

// The greedy ring count, depth first over the stored order of subfolders with an explicit stack.
class RingCounter {
public:
    RingCounter(const model::DirInfo& current, int side, const PieSettings& settings, std::uint32_t clusterSize)
        : ctx_{settings.sizeKind, clusterSize}, minVis_(settings.minimumVisibleSize), outer_(side / 2.0),
          centre_(outer_ * settings.centreRatio), rootValue_(ValueOf(current, ctx_)) {
        values_.push_back(rootValue_);
        Walk(current);
    }
    int Rings() const noexcept { return n_; }

private:
    struct Visit {
        const model::DirInfo* folder;
        int depth;
        std::size_t next;
        bool expandedAny;
    };

    bool Passes(std::uint64_t value, int boundary, int rings) const {
        double arc = 0;
        if (rootValue_ != 0) {
            const double r = std::trunc(RingBoundary(outer_, centre_, rings, boundary));
            arc = r * 2 * std::numbers::pi * static_cast<double>(value) / static_cast<double>(rootValue_);
        }
        return arc >= minVis_;
    }

    // Whether the path of values with `value` appended fits in d + 1 rings.
    bool FitsWithOneMore(std::uint64_t value, int d) const {
        if (minVis_ <= 0) return true;  // every arc passes, and deep trees would make this quadratic
        const int m = d + 1;
        for (int i = 1; i <= m; ++i)
            if (!Passes(i <= d ? values_[static_cast<std::size_t>(i)] : value, i, m)) return false;
        return true;
    }

    void Walk(const model::DirInfo& current) {
        std::vector<Visit> visits{{&current, 0, 0, false}};
        while (!visits.empty()) {
            Visit& v = visits.back();
            const int d = v.depth;
            if (v.next < v.folder->subdirs.size()) {
                const model::DirInfo& sub = v.folder->subdirs[v.next++];
                const std::uint64_t value = ValueOf(sub, ctx_);
                bool expand;
                if (d < n_) {
                    expand = Passes(value, d + 1, n_);
                } else {
                    expand = FitsWithOneMore(value, d);
                    if (expand) n_ = d + 1;
                }
                if (!expand) continue;
                v.expandedAny = true;
                values_.push_back(value);
                visits.push_back({&sub, d + 1, 0, false});  // v is not used past this point
                continue;
            }
            if (!v.expandedAny && d == n_) {
                for (const auto& file : v.folder->files) {
                    if (FitsWithOneMore(ValueOf(file, ctx_), d)) {
                        n_ = d + 1;
                        break;
                    }
                }
            }
            visits.pop_back();
            if (d > 0) values_.pop_back();
        }
    }

    SizeContext ctx_;
    double minVis_;
    double outer_;
    double centre_;
    std::uint64_t rootValue_;
    std::vector<std::uint64_t> values_;  // root value, then the value of each folder on the current path
    int n_ = 0;
};

}  // namespace

int CountRings(const model::DirInfo& current, int side, const PieSettings& settings, std::uint32_t clusterSize) {
    return RingCounter(current, side, settings, clusterSize).Rings();
}

RingLayout::RingLayout(const PieSettings& settings, std::uint32_t clusterSize, const PieGeometry& geometry, int n,
                       tv::Crc& crc, PiePainter& painter, RingAreas& areas, Clock clock, TypeShading types)
    : settings_(settings), ctx_{settings.sizeKind, clusterSize}, geometry_(geometry), n_(n), crc_(crc),
      painter_(painter), areas_(areas), clock_(clock), types_(types),
      itemsPerRing_(static_cast<std::size_t>(std::max(n, 0))), endPoints_(static_cast<std::size_t>(std::max(n, 0))),
      subOffsets_(static_cast<std::size_t>(std::max(n, 0))) {}

Colour RingLayout::GrowthOf(const Item& item, std::size_t entry) const {
    const int mode = ctx_.mode;
    if (item.isDir)
        return GrowthColour(!comparison_->EarlierFolder(entry),
                            comparison_->Change(entry, item.Dir(), mode, ctx_.clusterSize), growthReference_);
    return GrowthColour(!comparison_->EarlierFile(entry),
                        comparison_->Change(entry, item.File(), mode, ctx_.clusterSize), growthReference_);
}

std::uint64_t RingLayout::Threshold(int childRing) const {
    constexpr std::uint64_t kNever = std::numeric_limits<std::uint64_t>::max();
    const double r = RingBoundary(geometry_.outer, geometry_.centre, n_, childRing + 1);
    const auto k = static_cast<std::uint64_t>(2.0 * r * std::numbers::pi);
    if (k == 0) return kNever;
    const double threshold = static_cast<double>(rootValue_) * settings_.minimumVisibleSize / static_cast<double>(k);
    // 2^64 and above does not fit; nothing but the largest value could pass such a threshold anyway.
    if (!(threshold < 18446744073709551616.0)) return kNever;
    return static_cast<std::uint64_t>(threshold);
}

std::vector<ValuedItem>& RingLayout::ItemsAt(int ring) { return itemsPerRing_[static_cast<std::size_t>(ring)]; }

fw::Rect RingLayout::OuterSquare(int ring) const {
    return SquareAround(geometry_.cx, geometry_.cy, areas_.Radii()[static_cast<std::size_t>(ring) + 1]);
}
fw::Rect RingLayout::InnerSquare(int ring) const {
    return SquareAround(geometry_.cx, geometry_.cy, areas_.Radii()[static_cast<std::size_t>(ring)]);
}

Point RingLayout::EndPointAt(int ring, double angle) {
    EndPoint& cached = endPoints_[static_cast<std::size_t>(ring)];
    const double radius = areas_.Radii()[static_cast<std::size_t>(ring) + 1];
    // Along the circle both coordinates move at most radius x |angle change|; inside the margin neither
    // can cross to another pixel.
    if (radius * std::abs(angle - cached.angle) < cached.margin) return cached.point;
    const fw::Rect outer = OuterSquare(ring);
    const double x = outer.CentreX() + radius * std::cos(angle);
    const double y = outer.CentreY() + radius * std::sin(angle);
    cached.angle = angle;
    cached.point = RadialPoint(outer, angle);
    // Truncation is the floor only for positive values; the rounding of cos and sin stays far below 1e-6.
    constexpr double kRounding = 1e-6;
    if (x >= 1 && y >= 1) {
        const double fx = x - std::floor(x), fy = y - std::floor(y);
        cached.margin = std::min({fx, 1 - fx, fy, 1 - fy}) - kRounding;
    } else {
        cached.margin = -1;
    }
    return cached.point;
}

// The painters' rule (SegmentIsVisible), with the end points shared between neighbours on a ring.
bool RingLayout::Visible(int ring, double start, double end) {
    if (!(end - start < std::numbers::pi)) return true;
    const Point p1 = EndPointAt(ring, start);
    return !(p1 == EndPointAt(ring, end));
}

void RingLayout::DrawCurrent(const model::DirInfo& current) {
    rootValue_ = ValueOf(current, ctx_);
    stack_.clear();
    if (Growth()) growthReference_ = comparison_->Change(currentIndex_, current, ctx_.mode, ctx_.clusterSize).amount;
    const double start = -std::numbers::pi / 2, end = 2 * std::numbers::pi - std::numbers::pi / 2;
    Enter(current, -1, start, end, rootValue_, 0, -1, currentIndex_);
    if (stack_.empty()) {
        // A folder of value 0 (an empty tree) has no rings, but keeps its disk: its name is drawn over the
        // centre, and would otherwise stand on the bare background.
        PaintFolder(Frame{&current, -1, start, end, 0, 0, -1, false, 0, 0, 0, 0, currentIndex_});
        return;
    }
    while (!stack_.empty()) {
        Frame& f = stack_.back();
        if (!f.expanded || f.next == ItemsAt(f.ring + 1).size()) {
            // Children are all painted: the folder itself goes over their inner parts.
            const Frame done = f;
            stack_.pop_back();
            PaintFolder(done);
            continue;
        }
        const int childRing = f.ring + 1;
        const ValuedItem& entry = ItemsAt(childRing)[f.next++];
        const std::uint64_t x = entry.value;
        const std::uint64_t cum = f.cum;
        f.cum += x;
        if (x < f.threshold) continue;
        const double span = f.end - f.start;
        const auto dv = static_cast<double>(f.value);
        const double s = f.start + (static_cast<double>(cum) / dv) * span;
        const double e = f.start + (static_cast<double>(cum + x) / dv) * span;
        const Item& item = entry.item;
        const std::int32_t index = areas_.Add(childRing, s, e, item.Name(), item.isDir, f.index);
        // The item's index in a comparison: a file's from its place in the list, a folder's from the sizes
        // of the subtrees before it.
        std::size_t childEntry = 0;
        if (Growth())
            childEntry = item.isDir
                             ? f.entry + subOffsets_[static_cast<std::size_t>(childRing)]
                                                    [static_cast<std::size_t>(&item.Dir() - f.folder->subdirs.data())]
                             : f.entry + 1 + static_cast<std::size_t>(&item.File() - f.folder->files.data());
        if (item.isDir) {
            // Enter may grow the stack: f is not used after this.
            Enter(item.Dir(), childRing, s, e, x, f.largest, index, childEntry);
        } else if (Visible(childRing, s, e)) {
            const Colour colour =
                Growth() ? GrowthOf(item, childEntry)
                         : SegmentColour(settings_, types_, crc_, item.Name(), true, s, e, childRing, n_, x, f.largest);
            if (painter_.DrawSegment(OuterSquare(childRing), InnerSquare(childRing), colour, s, e, true))
                ++segmentsDrawn_;
        }
    }
}

void RingLayout::Enter(const model::DirInfo& folder, int ring, double start, double end, std::uint64_t value,
                       std::uint64_t parentLargest, std::int32_t index, std::size_t entry) {
    if (value == 0) return;  // nothing is drawn for the folder or below it
    Frame f{&folder, ring, start, end, value, parentLargest, index, false, 0, 0, 0, 0, entry};
    const int childRing = ring + 1;
    if (n_ > 0 && ring < n_ - 1) {
        std::vector<ValuedItem>& items = ItemsAt(childRing);
        ListItems(folder, ctx_, items);
        if (Growth()) {
            std::vector<std::size_t>& offsets = subOffsets_[static_cast<std::size_t>(childRing)];
            offsets.clear();
            std::size_t offset = 1 + folder.files.size();
            for (const model::DirInfo& sub : folder.subdirs) {
                offsets.push_back(offset);
                offset += compare::EntriesIn(sub);
            }
        }
        if (items.size() < 2) {
            // Nothing to order.
        } else if (clock_.now) {
            const std::uint64_t t0 = clock_.now();
            OrderItems(items, settings_.sortOrder, settings_.groupFolders);
            sortTicks_ += clock_.now() - t0;
        } else {
            OrderItems(items, settings_.sortOrder, settings_.groupFolders);
        }
        f.expanded = true;
        f.threshold = Threshold(childRing);
        for (const ValuedItem& i : items) f.largest = std::max(f.largest, i.value);
    }
    stack_.push_back(f);
}

void RingLayout::PaintFolder(const Frame& f) {
    // Every folder entered ends here, most of them too thin to show: the colour only for those drawn.
    const auto colour = [this, &f] {
        return Growth() ? GrowthOf(Item{true, f.folder}, f.entry)
                        : SegmentColour(settings_, types_, crc_, f.folder->name, false, f.start, f.end, f.ring, n_,
                                        f.value, f.parentLargest);
    };
    if (f.ring < 0) {
        const int inset = geometry_.outer - geometry_.centre;
        const fw::Rect& sq = geometry_.square;
        painter_.CentreDisk({sq.left + inset, sq.top + inset, sq.right - inset, sq.bottom - inset}, colour());
        return;
    }
    if (!Visible(f.ring, f.start, f.end)) return;
    if (painter_.DrawSegment(OuterSquare(f.ring), InnerSquare(f.ring), colour(), f.start, f.end, false))
        ++segmentsDrawn_;
}

}  // namespace pie
