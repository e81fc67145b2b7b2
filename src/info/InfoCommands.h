// The main window's five information commands, one call each. The main window passes itself (or its client)
// as `parent`, the narrow view of its tree as `source`, and the dialog's remembered record from the one
// InfoDialogData it keeps for the run (DialogData.h):
//
//   case CM_STATISTICS:         info::ShowStatistics(this, *this, dialogData.stats, ui);
//   case CM_HISTOGRAM:          info::OpenSizeHistogram(this, *this, dialogData.histogram);
//   case CM_CLUSTER_INFO:       info::ShowClusterInfo(this, *this);
//   case CM_FORCE_CLUSTER_SIZE: info::ForceClusterSize(this, *this);
//   case CM_SYSTEM_DRIVES:      info::ShowSystemDrivesInfo(*this, dialogData.sysDrives);
//   case CM_FILE_TYPES:         info::ShowFileTypes(fileTypesDialog, this, *this, dialogData.fileTypes, ui);
#pragma once

#include "fw/Interaction.h"
#include "fw/TWindow.h"
#include "info/DialogData.h"
#include "info/TreeSource.h"

#include <memory>

namespace info {

class TFileTypesDlg;

// "Statistics...": the modal statistics dialog, its messages and help through `ui`.
void ShowStatistics(fw::TWindow* parent, TreeSource& source, StatsChoices& remembered, const fw::Interaction& ui);
// "File Sizes Histogram...": opens the histogram window and returns at once; the main window stays
// disabled until it closes.
void OpenSizeHistogram(fw::TWindow* parent, TreeSource& source, HistogramChoices& remembered);
// "Cluster info...": the modal cluster table.
void ShowClusterInfo(fw::TWindow* parent, const TreeSource& source);
// "Force Cluster Size...": the modal dialog, then the new size to the main window when it differs. True
// when the size changed.
bool ForceClusterSize(fw::TWindow* parent, TreeSource& source);
// "System Drives Info...": the modal table of the system's drives, owned by `owner`.
void ShowSystemDrivesInfo(fw::TWindow& owner, SysDrivesDlgData& remembered);
// "File Types...": the modeless table of the file types, opened, or brought to the front when it is open;
// `dialog` keeps it between openings (its owner destroys it before `source` goes).
void ShowFileTypes(std::unique_ptr<TFileTypesDlg>& dialog, fw::TWindow* parent, TreeSource& source,
                   FileTypesChoices& remembered, const fw::Interaction& ui);

}  // namespace info
