// The pie view's stored settings: read once when the view is built (each value clamped into its range after
// all are read) and written back, in a fixed order, when it is destroyed. The settings dialog changes the
// record in between.
#pragma once

#include <string>

#include "config/SettingsStore.h"
#include "pie/PieSettings.h"

namespace pie {

inline constexpr const char* kDefaultTipTextDir = "#DSIZE (#DALLOC)\r\nDirs: #DDIRS\r\nFiles: #DFILES";
inline constexpr const char* kDefaultTipTextFile = "#SIZE (#ALLOC)";

struct PieViewSettings {
    PieSettings pie;          // layout and colours, read by the renderer
    int flyTransp = 64;       // tip transparency: 0 opaque .. 255 no tip at all
    int resizeDelay = 100;    // ms before re-rendering after a size change; 0 at once
    bool tipShowName = true;
    bool tipShowInfo = true;
    std::string tipTextDir = kDefaultTipTextDir;
    std::string tipTextFile = kDefaultTipTextFile;
};

PieViewSettings LoadPieViewSettings(const config::SettingsStore& store);
// "CenterRatio" goes back as the nearest whole percentage, so a stored value survives any number of runs;
// "MinVisSize" as its integer part.
void SavePieViewSettings(const PieViewSettings& settings, config::SettingsStore& store);

}  // namespace pie
