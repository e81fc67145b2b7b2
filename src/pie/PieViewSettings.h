// The pie view's stored settings: read once when the view is built (each number clamped into its range)
// and written back, in the order of kPieViewSettings, when it is destroyed. The settings dialog changes the
// record in between and checks what the user types against the same rows.
//
//   PieViewSettings s = LoadPieViewSettings(store);
//   ...
//   SavePieViewSettings(s, store);
#pragma once

#include <string>

#include "config/SettingsTable.h"
#include "pie/PieSettings.h"
#include "pie/TipCompose.h"

namespace pie {

// The renderer's settings and the view's own.
struct PieViewSettings : PieSettings {
    int tipTransparency = 64;  // kSolidTip .. kInvisibleTip
    int resizeDelay = 100;     // ms before re-rendering after a size change; 0 at once
    bool tipShowsName = true;
    bool tipShowsInfo = true;
    std::string folderTip = "#DSIZE (#DALLOC)\r\nDirs: #DDIRS\r\nFiles: #DFILES";
    std::string fileTip = "#SIZE (#ALLOC)";

    friend bool operator==(const PieViewSettings&, const PieViewSettings&) = default;
};

// "CenterRatio" is stored as the nearest whole percentage, so a stored value survives any number of runs;
// "MinVisSize" as its integer part.
using PieViewRow = config::Rows<PieViewSettings>;
inline constexpr config::Setting<PieViewSettings> kPieViewSettings[] = {
    PieViewRow::Percent<&PieViewSettings::centreRatio>("CenterRatio", {10, 90}),
    PieViewRow::Flag<&PieViewSettings::showGuideLines>("ShowGuideLines"),
    PieViewRow::Whole<&PieViewSettings::minimumVisibleSize>("MinVisSize", {0, 100}),
    PieViewRow::Number<&PieViewSettings::colourMethod>("ClrMeth", {kFixedColour, kGrowth}),
    PieViewRow::Colour<&PieViewSettings::fixedColour>("FixedClr"),
    PieViewRow::Colour<&PieViewSettings::largestColour>("SizeClr1"),
    PieViewRow::Colour<&PieViewSettings::smallestColour>("SizeClr2"),
    PieViewRow::Number<&PieViewSettings::tipTransparency>("FlyTransp", {kSolidTip, kInvisibleTip}),
    PieViewRow::Number<&PieViewSettings::sortOrder>("SrtOrder", {kUnordered, kBySize}),
    PieViewRow::Flag<&PieViewSettings::groupFolders>("GroupDirs"),
    PieViewRow::Flag<&PieViewSettings::showStatistics>("ShowPieStats"),
    PieViewRow::Number<&PieViewSettings::resizeDelay>("ResizeDelay", {0, 1000}),
    PieViewRow::Number<&PieViewSettings::sizeKind>("PieMode", {model::kLogicalSize, model::kWastedSpace}),
    PieViewRow::Flag<&PieViewSettings::tipShowsName>("TipShowName"),
    PieViewRow::Flag<&PieViewSettings::tipShowsInfo>("TipShowInfo"),
    PieViewRow::Text<&PieViewSettings::folderTip>("TipTextDir"),
    PieViewRow::Text<&PieViewSettings::fileTip>("TipTextFile"),
};

PieViewSettings LoadPieViewSettings(const config::SettingsStore& store);
void SavePieViewSettings(const PieViewSettings& settings, config::SettingsStore& store);

}  // namespace pie
