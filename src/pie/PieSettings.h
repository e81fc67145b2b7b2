// The pie's layout and colour settings as plain values with their defaults. The pie window reads and
// writes them in the settings store (PieViewSettings.h holds their ranges); the renderer only reads them.
#pragma once

#include "fw/Colour.h"
#include "model/DirInfo.h"

namespace pie {

// kGrowth colours a comparison with an earlier scan (GrowthColour.h); without one every item is grey.
enum ColourMethod : int {
    kFixedColour = 0,
    kSizeEncoded = 1,
    kRainbowWash = 2,
    kNameEncoded = 3,
    kTypeEncoded = 4,
    kGrowth = 5
};
enum SortOrder : int { kUnordered = 0, kByName = 1, kBySize = 2 };

struct PieSettings {
    double centreRatio = 0.33;      // centre disk radius / pie radius
    double minimumVisibleSize = 2;  // minimum outer arc in pixels for an item to be shown
    SortOrder sortOrder = kBySize;
    bool groupFolders = true;  // subfolders before files
    model::SizeKind sizeKind = model::kPhysicalSize;
    ColourMethod colourMethod = kSizeEncoded;
    fw::Colour fixedColour = fw::MakeColour(128, 192, 255);
    fw::Colour largestColour = fw::MakeColour(255, 0, 0);     // size-encoded: the largest sibling
    fw::Colour smallestColour = fw::MakeColour(255, 255, 0);  // size-encoded: the smallest sibling
    bool showGuideLines = true;
    bool showStatistics = false;  // the overlay of ring, segment and timing figures

    friend bool operator==(const PieSettings&, const PieSettings&) = default;
};

}  // namespace pie
