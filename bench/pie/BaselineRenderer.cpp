// Frozen copy of the earlier renderer; see BaselineRenderer.h.
#include "BaselineRenderer.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <numbers>

#include "fw/Handles.h"
#include "pie/ArcPolygon.h"
#include "pie/RingAreas.h"
#include "pie/SegmentColour.h"

namespace baseline {

using pie::Item;
using pie::SizeContext;
using pie::ValueOf;

void RingAreas::Reset(int n, int outerRadius, int centreRadius) {
    rings_.assign(static_cast<std::size_t>(n > 0 ? n : 0), {});
    radii_.clear();
    if (n <= 0) {
        radii_.push_back(outerRadius);
        return;
    }
    const std::int64_t r2 = static_cast<std::int64_t>(outerRadius) * outerRadius;
    const std::int64_t c2 = static_cast<std::int64_t>(centreRadius) * centreRadius;
    for (int k = 0; k <= n; ++k)
        radii_.push_back(static_cast<int>(std::sqrt(static_cast<double>(r2 * k + c2 * (n - k)) / n)));
}

void RingAreas::Add(int ring, double start, double end, std::string path) {
    rings_[static_cast<std::size_t>(ring)].push_back({start, end, std::move(path)});
}

std::optional<std::string> RingAreas::Find(int distance, double angle) const {
    const auto it = std::lower_bound(radii_.begin(), radii_.end(), distance);
    if (it == radii_.end()) return std::nullopt;
    const auto k = static_cast<std::size_t>(it - radii_.begin());
    if (k == 0) return std::string();
    for (const Segment& s : rings_[k - 1])
        if (s.start <= angle && angle < s.end) return s.path;
    return std::nullopt;
}

bool WedgePainter::DrawSegment(const fw::Rect& outer, const fw::Rect& inner, fw::Colour colour, double start,
                               double end, bool asFile) {
    if (!pie::SegmentIsVisible(outer, start, end)) return false;
    HDC dc = Dc();
    fw::SelectGuard penGuard(dc, GetStockObject(BLACK_PEN));
    fw::SelectGuard brushGuard(dc, GetStockObject(DC_BRUSH));
    SetDCBrushColor(dc, colour);
    if (!asFile) {
        const pie::Point p1 = pie::RadialPoint(outer, start);
        const pie::Point p2 = pie::RadialPoint(outer, end);
        if (p1 == p2) {
            Ellipse(dc, outer.left, outer.top, outer.right, outer.bottom);
        } else if (thinAsPolygon_ && std::abs(p1.x - p2.x) <= 1 && std::abs(p1.y - p2.y) <= 1) {
            const auto points = pie::FolderWedgePolygon(outer, start, end);
            Polygon(dc, reinterpret_cast<const POINT*>(points.data()), static_cast<int>(points.size()));
        } else {
            Pie(dc, outer.left, outer.top, outer.right, outer.bottom, p2.x, p2.y, p1.x, p1.y);
        }
        return true;
    }
    const auto points = pie::FileSegmentPolygon(outer, inner, start, end);
    Polygon(dc, reinterpret_cast<const POINT*>(points.data()), static_cast<int>(points.size()));
    return true;
}

namespace {

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
void SortRanges(std::vector<Item>& items, bool groupFolders, Less less) {
    if (!groupFolders) {
        std::sort(items.begin(), items.end(), less);
        return;
    }
    const auto firstFile = std::find_if(items.begin(), items.end(), [](const Item& i) { return !i.isDir; });
    std::sort(items.begin(), firstFile, less);
    std::sort(firstFile, items.end(), less);
}

void OrderItemsAsBefore(std::vector<Item>& items, int sortOrder, bool groupFolders, const SizeContext& ctx) {
    switch (sortOrder) {
    case pie::kByName:
        SortRanges(items, groupFolders, [](const Item& a, const Item& b) { return NameLess(a.Name(), b.Name()); });
        break;
    case pie::kBySize: {
        std::vector<std::pair<std::uint64_t, Item>> keyed;
        keyed.reserve(items.size());
        for (const Item& item : items) keyed.emplace_back(ValueOf(item, ctx), item);
        const auto byValue = [](const auto& a, const auto& b) { return a.first > b.first; };
        if (groupFolders) {
            const auto firstFile =
                std::find_if(keyed.begin(), keyed.end(), [](const auto& k) { return !k.second.isDir; });
            std::sort(keyed.begin(), firstFile, byValue);
            std::sort(firstFile, keyed.end(), byValue);
        } else {
            std::sort(keyed.begin(), keyed.end(), byValue);
        }
        for (std::size_t i = 0; i < items.size(); ++i) items[i] = keyed[i].second;
        break;
    }
    default:
        if (!groupFolders)
            std::sort(items.begin(), items.end(),
                      [](const Item& a, const Item& b) { return SortKeyOf(a) < SortKeyOf(b); });
        break;
    }
}

class RingCounter {
public:
    RingCounter(const model::DirInfo& current, int side, const pie::PieSettings& settings, std::uint32_t clusterSize)
        : ctx_{settings.sizeKind, clusterSize}, minVis_(settings.minimumVisibleSize), outer_(side / 2.0),
          centre_(outer_ * settings.centreRatio), rootValue_(ValueOf(current, ctx_)) {
        stack_.push_back(rootValue_);
        Visit(current, 0);
    }
    int Rings() const noexcept { return n_; }

private:
    bool Passes(std::uint64_t value, int boundary, int rings) const {
        double arc = 0;
        if (rootValue_ != 0) {
            const double r = std::trunc(pie::RingBoundary(outer_, centre_, rings, boundary));
            arc = r * 2 * std::numbers::pi * static_cast<double>(value) / static_cast<double>(rootValue_);
        }
        return arc >= minVis_;
    }
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

class RingLayout {
public:
    RingLayout(const pie::PieSettings& settings, std::uint32_t clusterSize, const pie::PieGeometry& geometry, int n,
               tv::Crc& crc, pie::PiePainter& painter, RingAreas& areas, pie::Clock clock)
        : settings_(settings), ctx_{settings.sizeKind, clusterSize}, geometry_(geometry), n_(n), crc_(crc),
          painter_(painter), areas_(areas), clock_(clock), itemsPerRing_(static_cast<std::size_t>(std::max(n, 0))) {}

    void DrawCurrent(const model::DirInfo& current) {
        rootValue_ = ValueOf(current, ctx_);
        std::string path;
        DrawDir(current, -1, -std::numbers::pi / 2, 2 * std::numbers::pi - std::numbers::pi / 2, path, 0);
    }
    int SegmentsDrawn() const noexcept { return segmentsDrawn_; }
    std::uint64_t SortTicks() const noexcept { return sortTicks_; }

private:
    std::uint64_t Threshold(int childRing) const {
        constexpr std::uint64_t kNever = std::numeric_limits<std::uint64_t>::max();
        const double r = pie::RingBoundary(geometry_.outer, geometry_.centre, n_, childRing + 1);
        const auto k = static_cast<std::uint64_t>(2.0 * r * std::numbers::pi);
        if (k == 0) return kNever;
        const double threshold =
            static_cast<double>(rootValue_) * settings_.minimumVisibleSize / static_cast<double>(k);
        if (!(threshold < 18446744073709551616.0)) return kNever;
        return static_cast<std::uint64_t>(threshold);
    }

    void DrawDir(const model::DirInfo& folder, int ring, double start, double end, std::string& path,
                 std::uint64_t parentLargest) {
        const std::uint64_t v = ValueOf(folder, ctx_);
        if (v == 0) return;
        const int childRing = ring + 1;
        if (n_ > 0 && ring < n_ - 1) {
            std::vector<Item>& items = itemsPerRing_[static_cast<std::size_t>(childRing)];
            pie::ListItems(folder, items);
            const std::uint64_t t0 = clock_.now();
            OrderItemsAsBefore(items, settings_.sortOrder, settings_.groupFolders, ctx_);
            sortTicks_ += clock_.now() - t0;
            const std::uint64_t threshold = Threshold(childRing);
            const std::uint64_t largest = pie::LargestChild(folder, ctx_);
            const auto& radii = areas_.Radii();
            const auto childIndex = static_cast<std::size_t>(childRing);
            const fw::Rect outer = pie::SquareAround(geometry_.cx, geometry_.cy, radii[childIndex + 1]);
            const fw::Rect inner = pie::SquareAround(geometry_.cx, geometry_.cy, radii[childIndex]);
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
                        const fw::Colour colour =
                            pie::SegmentColour(settings_, crc_, item.Name(), s, e, childRing, n_, x, largest);
                        if (painter_.DrawSegment(outer, inner, colour, s, e, true)) ++segmentsDrawn_;
                        areas_.Add(childRing, s, e, path);
                    }
                    path.resize(pathLength);
                }
                cum += x;
            }
        }
        const fw::Colour colour =
            pie::SegmentColour(settings_, crc_, folder.name, start, end, ring, n_, v, parentLargest);
        if (ring < 0) {
            const int inset = geometry_.outer - geometry_.centre;
            const fw::Rect& sq = geometry_.square;
            painter_.CentreDisk({sq.left + inset, sq.top + inset, sq.right - inset, sq.bottom - inset}, colour);
            return;
        }
        const auto& radii = areas_.Radii();
        const fw::Rect outer = pie::SquareAround(geometry_.cx, geometry_.cy, radii[static_cast<std::size_t>(ring) + 1]);
        const fw::Rect inner = pie::SquareAround(geometry_.cx, geometry_.cy, radii[static_cast<std::size_t>(ring)]);
        if (painter_.DrawSegment(outer, inner, colour, start, end, false)) ++segmentsDrawn_;
    }

    const pie::PieSettings& settings_;
    SizeContext ctx_;
    pie::PieGeometry geometry_;
    int n_;
    tv::Crc& crc_;
    pie::PiePainter& painter_;
    RingAreas& areas_;
    pie::Clock clock_;
    std::uint64_t rootValue_ = 0;
    int segmentsDrawn_ = 0;
    std::uint64_t sortTicks_ = 0;
    std::vector<std::vector<Item>> itemsPerRing_;
};

}  // namespace

Result Rebuild(const model::DirInfo& current, int width, int height, const pie::PieSettings& settings,
               std::uint32_t clusterSize, pie::PiePainter& painter, RingAreas& areas, pie::Clock clock) {
    Result result;
    painter.Background(pie::SystemColour::kWindow, width, height);
    const pie::PieGeometry g = pie::ComputeGeometry(width, height, settings.centreRatio);
    result.cx = g.cx;
    result.cy = g.cy;
    result.rings = RingCounter(current, g.square.right - g.square.left, settings, clusterSize).Rings();
    areas.Reset(result.rings, g.outer, g.centre);
    if (settings.showGuideLines && result.rings > 0)
        painter.GuideCircles(g.cx, g.cy, areas.Radii(), pie::SystemColour::kButtonFace);
    static const tv::CrcEngine engine(tv::kCrc32);
    tv::Crc crc(engine);
    RingLayout layout(settings, clusterSize, g, result.rings, crc, painter, areas, clock);
    layout.DrawCurrent(current);
    result.segments = layout.SegmentsDrawn();
    result.sortMs =
        clock.frequency ? static_cast<double>(layout.SortTicks()) * 1000.0 / static_cast<double>(clock.frequency) : 0;
    painter.CentreLabel(current.name, g.cx, g.cy);
    return result;
}

}  // namespace baseline
