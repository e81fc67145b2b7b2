// The modal dialog "Reading Disk Structure" that runs one scan: it starts a TScanThread on the root path,
// shows the counters and the elapsed time once a second and, for a drive root, a progress bar against
// the drive's used space; Pause/Resume and Cancel act on the worker. It closes itself when the worker's
// end message arrives: IDOK when the walk completed, IDCANCEL when it was stopped or could not start.
//
//   scan::TThreadDlg dialog(frame, "C:\\Data\\");
//   if (dialog.Execute() == IDOK) { take dialog.GetInfo() and dialog.GetClusterSize() }
//   // the scanned tree dies with the dialog
//
// Enter and Esc are ignored; Cancel only asks the worker to stop, so the dialog never disappears while
// the worker runs.
#pragma once

#include "fw/TDialog.h"
#include "fw/TGauge.h"
#include "fw/Timer.h"
#include "model/DirInfo.h"
#include "scan/TScanThread.h"

#include <cstdint>
#include <memory>
#include <string>

namespace scan {

class TThreadDlg : public fw::TDialog {
public:
    // rootPath: a full folder path ending in a backslash. `lister` replaces the worker's Win32 lister
    // (tests); null means the Win32 lister.
    TThreadDlg(fw::TWindow* parent, std::string rootPath, std::unique_ptr<DirLister> lister = nullptr);
    ~TThreadDlg() override;

    // The scanned tree and the volume's cluster size, valid once Execute returned IDOK. Throw
    // std::logic_error when the dialog never created its thread.
    model::DirInfo& GetInfo();
    std::uint32_t GetClusterSize() const;

    // Asks a running or paused worker to stop and stays open; closes only when there is no worker or
    // it has finished.
    void CloseWindow(INT_PTR result = IDCANCEL) override;

protected:
    void SetupWindow() override;
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    bool HandleCommand(int id, int notifyCode, HWND control) override;

private:
    void SetUpProgress();
    void Refresh();
    void TogglePause();
    void EndOfScan(bool completed);

    std::string rootPath_;
    std::unique_ptr<DirLister> lister_;  // handed to the worker when it is created

protected:
    // The worker, from the set-up on; null before.
    std::unique_ptr<TScanThread> thread_;

private:
    fw::TGauge gauge_;
    std::uint64_t divisor_ = 0;
    std::uint32_t startTick_ = 0;  // GetTickCount at the start, or the elapsed milliseconds while paused
    bool progressEnabled_ = false;
    UINT endMessage_ = 0;
    fw::WindowTimer timer_;
};

}  // namespace scan
