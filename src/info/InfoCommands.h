// The main window's commands that ask questions about its tree, one call each, and the remembered dialog
// data that lives for the whole run. The main window passes itself (or its client) as `parent` and the
// narrow view of its tree as `source`:
//
//   case CM_CLUSTER_INFO:       info::ShowClusterInfo(this, *this);
//   case CM_FORCE_CLUSTER_SIZE: info::ForceClusterSize(this, *this);
//   case CM_STATISTICS:         info::ShowStatistics(this, *this);
//   case CM_HISTOGRAM:          info::OpenSizeHistogram(this, *this);
//
//   info::LoadDialogData(store);   // while the main window is built
//   info::SaveDialogData(store);   // in the application's close query
#pragma once

#include "config/SettingsStore.h"
#include "fw/TWindow.h"
#include "info/DialogData.h"
#include "info/TreeSource.h"

namespace info {

// The remembered choices of the statistics and histogram dialogs for this run.
InfoDialogData& RememberedDialogData() noexcept;
void LoadDialogData(const config::SettingsStore& store);
void SaveDialogData(config::SettingsStore& store);

// "Cluster info...": the modal cluster table.
void ShowClusterInfo(fw::TWindow* parent, const TreeSource& source);
// "Force Cluster Size...": the modal dialog, then the new size to the main window when it differs. True
// when the size changed.
bool ForceClusterSize(fw::TWindow* parent, TreeSource& source);
// "Statistics...": the modal statistics dialog.
void ShowStatistics(fw::TWindow* parent, TreeSource& source);
// "File Sizes Histogram...": opens the histogram window and returns at once; the main window stays
// disabled until it closes.
void OpenSizeHistogram(fw::TWindow* parent, const TreeSource& source);

}  // namespace info
