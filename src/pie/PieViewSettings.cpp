// Reading, clamping and writing the pie view's settings.
#include "pie/PieViewSettings.h"

#include <algorithm>
#include <cmath>

namespace pie {

PieViewSettings LoadPieViewSettings(const config::SettingsStore& store) {
    const PieViewSettings d;
    PieViewSettings s;
    const int centerRatio = store.ReadInt("CenterRatio", 33);
    s.pie.showGuideLines = store.ReadFlag("ShowGuideLines", d.pie.showGuideLines);
    const int minVisSize = store.ReadInt("MinVisSize", 2);
    s.pie.clrMeth = store.ReadInt("ClrMeth", d.pie.clrMeth);
    s.pie.fixedClr = store.ReadColor("FixedClr", d.pie.fixedClr);
    s.pie.sizeClr1 = store.ReadColor("SizeClr1", d.pie.sizeClr1);
    s.pie.sizeClr2 = store.ReadColor("SizeClr2", d.pie.sizeClr2);
    s.flyTransp = store.ReadInt("FlyTransp", d.flyTransp);
    s.pie.srtOrder = store.ReadInt("SrtOrder", d.pie.srtOrder);
    s.pie.groupDirs = store.ReadFlag("GroupDirs", d.pie.groupDirs);
    s.pie.showPieStats = store.ReadFlag("ShowPieStats", d.pie.showPieStats);
    s.resizeDelay = store.ReadInt("ResizeDelay", d.resizeDelay);
    s.pie.pieMode = store.ReadInt("PieMode", d.pie.pieMode);
    s.tipShowName = store.ReadFlag("TipShowName", d.tipShowName);
    s.tipShowInfo = store.ReadFlag("TipShowInfo", d.tipShowInfo);
    s.tipTextDir = store.ReadString("TipTextDir", d.tipTextDir);
    s.tipTextFile = store.ReadString("TipTextFile", d.tipTextFile);

    s.pie.centerRatio = std::clamp(centerRatio / 100.0, 0.1, 0.9);
    s.pie.minVisSize = std::clamp(minVisSize, 0, 100);
    s.pie.clrMeth = std::clamp(s.pie.clrMeth, 0, 3);
    s.flyTransp = std::clamp(s.flyTransp, 0, 255);
    s.pie.srtOrder = std::clamp(s.pie.srtOrder, 0, 2);
    s.resizeDelay = std::clamp(s.resizeDelay, 0, 1000);
    s.pie.pieMode = std::clamp(s.pie.pieMode, 0, 2);
    return s;
}

void SavePieViewSettings(const PieViewSettings& s, config::SettingsStore& store) {
    store.WriteInt("CenterRatio", static_cast<int>(std::lround(s.pie.centerRatio * 100)));
    store.WriteFlag("ShowGuideLines", s.pie.showGuideLines);
    store.WriteInt("MinVisSize", static_cast<int>(s.pie.minVisSize));
    store.WriteInt("ClrMeth", s.pie.clrMeth);
    store.WriteColor("FixedClr", s.pie.fixedClr);
    store.WriteColor("SizeClr1", s.pie.sizeClr1);
    store.WriteColor("SizeClr2", s.pie.sizeClr2);
    store.WriteInt("FlyTransp", s.flyTransp);
    store.WriteInt("SrtOrder", s.pie.srtOrder);
    store.WriteFlag("GroupDirs", s.pie.groupDirs);
    store.WriteFlag("ShowPieStats", s.pie.showPieStats);
    store.WriteInt("ResizeDelay", s.resizeDelay);
    store.WriteInt("PieMode", s.pie.pieMode);
    store.WriteFlag("TipShowName", s.tipShowName);
    store.WriteFlag("TipShowInfo", s.tipShowInfo);
    store.WriteString("TipTextDir", s.tipTextDir);
    store.WriteString("TipTextFile", s.tipTextFile);
}

}  // namespace pie
