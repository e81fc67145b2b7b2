// Ring layout of the pie: the centred square and radii, the ring count that fits the minimum visible
// size (CountRings), the order of one folder's items, and the traversal (RingLayout::DrawDir) that hands
// every shown segment to a painter, children before their parent, and records it in RingAreas.
// Called once per rendering by PieRenderer; nothing here is kept between renderings.
//
// Only segments whose end points fall on different pixels are painted (and coloured); every shown segment
// is recorded, however thin.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "compare/TreeComparison.h"
#include "model/DirInfo.h"
#include "pie/ArcPolygon.h"
#include "pie/Crc.h"
#include "pie/PiePainter.h"
#include "pie/PieSettings.h"
#include "pie/RingAreas.h"
#include "pie/SegmentColour.h"

namespace pie {

// Size kind and cluster size under which items are valued.
struct SizeContext {
    int mode = 1;
    std::uint32_t clusterSize = 0;
};

// One entry of a folder's ordered child list; `info` points at a model::DirInfo or model::FileInfo.
struct Item {
    bool isDir = false;
    const void* info = nullptr;

    const model::DirInfo& Dir() const noexcept { return *static_cast<const model::DirInfo*>(info); }
    const model::FileInfo& File() const noexcept { return *static_cast<const model::FileInfo*>(info); }
    const model::Name& Name() const noexcept { return isDir ? Dir().name : File().name; }
};

std::uint64_t ValueOf(const model::DirInfo& dir, const SizeContext& ctx);
std::uint64_t ValueOf(const model::FileInfo& file, const SizeContext& ctx);
std::uint64_t ValueOf(const Item& item, const SizeContext& ctx);

// The largest value among the folder's subfolders and files; 0 for an empty folder.
std::uint64_t LargestChild(const model::DirInfo& dir, const SizeContext& ctx);

// Subfolders in stored order, then files in stored order.
void ListItems(const model::DirInfo& dir, std::vector<Item>& items);
// Orders the list by "SrtOrder" (0 unordered, 1 name, 2 value descending) and "GroupDirs".
void OrderItems(std::vector<Item>& items, int sortOrder, bool groupFolders, const SizeContext& ctx);

// An item with its value, looked up once per rendering.
struct ValuedItem {
    Item item;
    std::uint64_t value = 0;
};
void ListItems(const model::DirInfo& dir, const SizeContext& ctx, std::vector<ValuedItem>& items);
void OrderItems(std::vector<ValuedItem>& items, int sortOrder, bool groupFolders);

// The largest centred square of a client area and the pie's integer radii and centre.
struct PieGeometry {
    fw::Rect square;
    int outer = 0;   // R
    int centre = 0;  // c
    int cx = 0, cy = 0;
};
PieGeometry ComputeGeometry(int width, int height, double centreRatio);

// Number of rings for the current folder in a square of the given side.
int CountRings(const model::DirInfo& current, int side, const PieSettings& settings, std::uint32_t clusterSize);

// Time source for the sort accounting: ticks and ticks per second (0 when there is no counter).
struct Clock {
    std::uint64_t (*now)() = nullptr;
    std::uint64_t frequency = 0;
};

// The layout traversal. It walks with an explicit stack, so the depth of the tree (a ring per level when
// "MinVisSize" is 0) never reaches the call stack.
class RingLayout {
public:
    RingLayout(const PieSettings& settings, std::uint32_t clusterSize, const PieGeometry& geometry, int n, tv::Crc& crc,
               PiePainter& painter, RingAreas& areas, Clock clock, TypeShading types = {});

    // Colours by "Growth" from `comparison`, in which the current folder has the index `currentIndex`
    // (compare::IndexOf); without a call, or with null, that method colours everything grey.
    void CompareWith(const compare::TreeComparison* comparison, std::size_t currentIndex) noexcept {
        comparison_ = comparison;
        currentIndex_ = currentIndex;
    }

    // Lays out the current folder: the centre disk and every ring below it.
    void DrawCurrent(const model::DirInfo& current);

    int SegmentsDrawn() const noexcept { return segmentsDrawn_; }
    std::uint64_t SortTicks() const noexcept { return sortTicks_; }

private:
    struct Frame {
        const model::DirInfo* folder;
        int ring;  // the folder's own ring; -1 for the current folder
        double start, end;
        std::uint64_t value;
        std::uint64_t parentLargest;
        std::int32_t index;  // the folder's segment on its ring
        bool expanded;       // its items are listed in ItemsAt(ring + 1)
        std::size_t next;
        std::uint64_t cum;
        std::uint64_t threshold;
        std::uint64_t largest;
        std::size_t entry;  // the folder's index in a comparison
    };
    // The last end point computed with trigonometry on a ring's outer circle, and how far (in pixels along
    // the circle) an angle may stray from it before its truncated coordinates could change. Most segments
    // of a large tree lie well inside one pixel and need no sine or cosine at all.
    struct EndPoint {
        double angle = 0;
        Point point;
        double margin = -1;  // negative: nothing computed yet
    };

    void Enter(const model::DirInfo& folder, int ring, double start, double end, std::uint64_t value,
               std::uint64_t parentLargest, std::int32_t index, std::size_t entry);
    bool Growth() const noexcept { return comparison_ && settings_.colourMethod == kGrowth; }
    fw::Colour GrowthOf(const Item& item, std::size_t entry) const;
    void PaintFolder(const Frame& frame);
    bool Visible(int ring, double start, double end);
    Point EndPointAt(int ring, double angle);
    fw::Rect OuterSquare(int ring) const;
    fw::Rect InnerSquare(int ring) const;
    std::uint64_t Threshold(int childRing) const;
    std::vector<ValuedItem>& ItemsAt(int ring);

    const PieSettings& settings_;
    SizeContext ctx_;
    PieGeometry geometry_;
    int n_;
    tv::Crc& crc_;
    PiePainter& painter_;
    RingAreas& areas_;
    Clock clock_;
    TypeShading types_;
    std::uint64_t rootValue_ = 0;
    int segmentsDrawn_ = 0;
    std::uint64_t sortTicks_ = 0;
    std::vector<Frame> stack_;
    std::vector<std::vector<ValuedItem>> itemsPerRing_;  // one list per depth, reused
    std::vector<EndPoint> endPoints_;                    // one per ring
    const compare::TreeComparison* comparison_ = nullptr;
    std::size_t currentIndex_ = 0;
    std::uint64_t growthReference_ = 0;                 // the current folder's change
    std::vector<std::vector<std::size_t>> subOffsets_;  // per ring: the listed folder's subfolders' offsets
};

}  // namespace pie
