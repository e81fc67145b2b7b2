// The "System Drives Info" dialog: one row per logical drive, shown at once with its letter and type; a
// worker thread then asks the drives, fastest kinds first, and fills in the other cells as answers come.
// Closing waits for the worker (the query in flight finishes; later drives are not asked) while still
// handling the list messages the worker sends, then remembers the dialog's rectangle.
//
// The main frame's "System &Drives Info..." command runs it through info::ShowSystemDrivesInfo
// (InfoCommands.h) with the placement kept for the run ("DlgDataSysDrives", DialogData.h).
#pragma once

#include "fw/TListView.h"
#include "fw/TThread.h"
#include "info/SysDrives.h"
#include "info/TStretchDlg.h"
#include "scan/VolumeQueries.h"

#include <memory>

namespace info {

class TSysDrivesInfoDlg : public TStretchDlg {
public:
    // `queries` answer on the worker thread as well and must outlive the dialog.
    TSysDrivesInfoDlg(fw::TWindow* parent, SysDrivesDlgData& data, const scan::VolumeQueries& queries);
    ~TSysDrivesInfoDlg() override;

protected:
    void SetupWindow() override;
    void CleanupWindow() override;

private:
    void StopWorker();

    SysDrivesDlgData& data_;
    const scan::VolumeQueries& queries_;
    fw::TListView list_;
    std::unique_ptr<fw::TThread> worker_;
};

}  // namespace info
