// The pie's layout and colour settings as plain values with their defaults. The pie window reads and
// writes them in the settings store; the renderer only reads them.
#pragma once

#include "pie/Colour.h"

namespace pie {

enum ColourMethod : int { kFixedColour = 0, kSizeEncoded = 1, kRainbowWash = 2, kNameEncoded = 3 };
enum SortOrder : int { kUnordered = 0, kByName = 1, kBySize = 2 };

struct PieSettings {
    double centerRatio = 0.33;  // centre disk radius / pie radius, 0.1..0.9
    double minVisSize = 2;      // minimum outer arc in pixels for an item to be shown, 0..100
    int srtOrder = kBySize;
    bool groupDirs = true;
    int pieMode = 1;            // size kind: 0 logical, 1 physical, 2 wasted
    int clrMeth = kSizeEncoded;
    Colour fixedClr = MakeColour(128, 192, 255);
    Colour sizeClr1 = MakeColour(255, 0, 0);    // largest sibling
    Colour sizeClr2 = MakeColour(255, 255, 0);  // smallest sibling
    bool showGuideLines = true;
    bool showPieStats = false;
};

}  // namespace pie
