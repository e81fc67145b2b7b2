#include "info/InfoCommands.h"

#include "info/TClusterDlg.h"
#include "info/TForceClusterSizeDlg.h"
#include "info/TSizeHistogramDlg.h"
#include "info/TStatisticsDlg.h"

namespace info {

InfoDialogData& RememberedDialogData() noexcept {
    static InfoDialogData data;
    return data;
}

void LoadDialogData(const config::SettingsStore& store) { LoadInfoDialogData(store, RememberedDialogData()); }

void SaveDialogData(config::SettingsStore& store) { SaveInfoDialogData(store, RememberedDialogData()); }

void ShowClusterInfo(fw::TWindow* parent, const TreeSource& source) {
    TClusterDlg(parent, source.Root(), source.ClusterSize()).Execute();
}

bool ForceClusterSize(fw::TWindow* parent, TreeSource& source) {
    TForceClusterSizeDlg dialog(parent, source.ClusterSize());
    if (dialog.Execute() != IDOK) return false;
    return ApplyClusterSize(source, dialog.ChosenSize());
}

void ShowStatistics(fw::TWindow* parent, TreeSource& source) {
    TStatisticsDlg(parent, source, RememberedDialogData().stats).Execute();
}

void OpenSizeHistogram(fw::TWindow* parent, const TreeSource& source) {
    TSizeHistogramDlg::Open(parent, source, RememberedDialogData().histogram);
}

}  // namespace info
