#include "info/InfoCommands.h"

#include "info/TClusterDlg.h"
#include "info/TFileTypesDlg.h"
#include "info/TForceClusterSizeDlg.h"
#include "info/TSizeHistogramDlg.h"
#include "info/TStatisticsDlg.h"
#include "info/TSysDrivesInfoDlg.h"
#include "scan/VolumeQueries.h"

namespace info {

void ShowStatistics(fw::TWindow* parent, TreeSource& source, StatsChoices& remembered, const fw::Interaction& ui) {
    TStatisticsDlg(parent, source, remembered, ui).Execute();
}

void OpenSizeHistogram(fw::TWindow* parent, TreeSource& source, HistogramChoices& remembered) {
    TSizeHistogramDlg::Open(parent, source, remembered);
}

void ShowClusterInfo(fw::TWindow* parent, const TreeSource& source) {
    TClusterDlg(parent, source.Root(), source.ClusterSize()).Execute();
}

bool ForceClusterSize(fw::TWindow* parent, TreeSource& source) {
    TForceClusterSizeDlg dialog(parent, source.ClusterSize());
    if (dialog.Execute() != IDOK) return false;
    return ApplyClusterSize(source, dialog.ChosenSize());
}

void ShowSystemDrivesInfo(fw::TWindow& owner, SysDrivesDlgData& remembered) {
    TSysDrivesInfoDlg dialog(&owner, remembered, scan::SystemVolumeQueries());
    dialog.Execute();
}

void ShowFileTypes(std::unique_ptr<TFileTypesDlg>& dialog, fw::TWindow* parent, TreeSource& source,
                   FileTypesChoices& remembered, const fw::Interaction& ui) {
    if (dialog && dialog->GetHandle()) {
        ShowWindow(dialog->GetHandle(), SW_SHOWNORMAL);
        SetForegroundWindow(dialog->GetHandle());
        return;
    }
    dialog.reset();
    dialog = std::make_unique<TFileTypesDlg>(parent, source, remembered, ui);
    dialog->CreateModeless();
    ShowWindow(dialog->GetHandle(), SW_SHOW);
}

}  // namespace info
