#include "scan/TThreadDlg.h"

#include "resource.h"
#include "scan/ScanProgress.h"

#include <stdexcept>
#include <utility>

namespace scan {
namespace {

constexpr UINT_PTR kRefreshTimer = 1;
constexpr UINT kRefreshMs = 1000;

struct PriorityChoice {
    int command;
    int value;
};
constexpr PriorityChoice kThreadPriorities[] = {{IDC_THREAD_PRIO_IDLE, THREAD_PRIORITY_IDLE},
                                                {IDC_THREAD_PRIO_LOWEST, THREAD_PRIORITY_LOWEST},
                                                {IDC_THREAD_PRIO_BELOW, THREAD_PRIORITY_BELOW_NORMAL},
                                                {IDC_THREAD_PRIO_NORMAL, THREAD_PRIORITY_NORMAL},
                                                {IDC_THREAD_PRIO_ABOVE, THREAD_PRIORITY_ABOVE_NORMAL},
                                                {IDC_THREAD_PRIO_HIGHEST, THREAD_PRIORITY_HIGHEST},
                                                {IDC_THREAD_PRIO_CRITICAL, THREAD_PRIORITY_TIME_CRITICAL}};
constexpr PriorityChoice kProcessClasses[] = {{IDC_THREAD_CLASS_IDLE, IDLE_PRIORITY_CLASS},
                                              {IDC_THREAD_CLASS_NORMAL, NORMAL_PRIORITY_CLASS},
                                              {IDC_THREAD_CLASS_HIGH, HIGH_PRIORITY_CLASS},
                                              {IDC_THREAD_CLASS_REALTIME, REALTIME_PRIORITY_CLASS}};

bool IsLive(const TScanThread* thread) {
    if (!thread) return false;
    const auto status = thread->GetStatus();
    return status == fw::TThread::Status::Running || status == fw::TThread::Status::Suspended;
}

}  // namespace

TThreadDlg::TThreadDlg(fw::TWindow* parent, std::string rootPath, std::unique_ptr<DirLister> lister)
    : fw::TDialog(parent, IDD_THREAD), rootPath_(std::move(rootPath)), lister_(std::move(lister)) {}

TThreadDlg::~TThreadDlg() = default;

model::DirInfo& TThreadDlg::GetInfo() {
    if (!thread_) throw std::logic_error("TThreadDlg::GetInfo() called when thread == 0");
    return thread_->GetInfo();
}

std::uint32_t TThreadDlg::GetClusterSize() const {
    if (!thread_) throw std::logic_error("TThreadDlg::GetClusterSize() called when thread == 0");
    return thread_->GetClusterSize();
}

void TThreadDlg::SetUpProgress() {
    std::optional<std::uint64_t> used;
    ULARGE_INTEGER available{}, total{}, free{};
    if (IsDriveRoot(rootPath_) && GetDiskFreeSpaceExA(rootPath_.c_str(), &available, &total, &free))
        used = total.QuadPart >= free.QuadPart ? total.QuadPart - free.QuadPart : 0;
    const ProgressPlan plan = PlanProgress(used);
    divisor_ = plan.divisor;
    progressEnabled_ = plan.enabled;
    gauge_.SetRange(0, plan.rangeMax);
    if (!plan.enabled) {
        gauge_.SetStep(plan.step);
        gauge_.Show(false);
    }
}

void TThreadDlg::SetupWindow() {
    fw::TDialog::SetupWindow();
    gauge_.AttachItem(GetHandle(), IDC_THREAD_GAUGE);
    SetUpProgress();
    SetItemText(IDC_THREAD_ROOT, rootPath_.empty() ? rootPath_ : rootPath_.substr(0, rootPath_.size() - 1));
    SetItemText(IDC_THREAD_COUNTERS, "0\r\n0\r\n0");

    endMessage_ = RegisterWindowMessageA("THREAD_END_MSG");
    thread_ = std::make_unique<TScanThread>(GetHandle(), rootPath_, endMessage_, std::move(lister_));
    // Judged by Start itself, not by the status afterwards: a tiny tree may already be finished by then.
    bool started = true;
    try {
        thread_->Start();
    } catch (const std::runtime_error&) {
        started = false;
    }
    startTick_ = GetTickCount();
    if (!started) {
        CloseWindow(IDCANCEL);
        return;
    }
    thread_->SetPriority(THREAD_PRIORITY_BELOW_NORMAL);
    CheckRadioButton(GetHandle(), IDC_THREAD_PRIO_IDLE, IDC_THREAD_PRIO_CRITICAL, IDC_THREAD_PRIO_BELOW);
    CheckRadioButton(GetHandle(), IDC_THREAD_CLASS_IDLE, IDC_THREAD_CLASS_REALTIME, IDC_THREAD_CLASS_NORMAL);
    timer_.Start(GetHandle(), kRefreshTimer, kRefreshMs);
}

void TThreadDlg::Refresh() {
    if (!thread_ || thread_->GetStatus() != fw::TThread::Status::Running) return;
    const std::uint64_t bytes = thread_->BytesFound();
    SetItemText(IDC_THREAD_COUNTERS, CountersText(thread_->FoldersFound(), thread_->FilesFound(), bytes));
    SetItemText(IDC_THREAD_ELAPSED, ElapsedText(GetTickCount() - startTick_));
    if (progressEnabled_) gauge_.SetValue(ProgressPosition(bytes, divisor_));
}

void TThreadDlg::TogglePause() {
    if (!thread_) return;
    switch (thread_->GetStatus()) {
    case fw::TThread::Status::Running:
        thread_->Suspend();
        SetItemText(IDC_THREAD_PAUSE, "Resume");
        break;
    case fw::TThread::Status::Suspended:
        thread_->Resume();
        SetItemText(IDC_THREAD_PAUSE, "Pause");
        break;
    default: return;
    }
    // Paused, the field holds the elapsed time; running again, a start tick that many milliseconds back.
    startTick_ = GetTickCount() - startTick_;
}

void TThreadDlg::CloseWindow(INT_PTR result) {
    if (IsLive(thread_.get())) {
        // Resumed through the pause toggle, so the elapsed time and the button stay consistent while
        // the worker unwinds to its next folder.
        if (thread_->GetStatus() == fw::TThread::Status::Suspended) TogglePause();
        thread_->Terminate();
        return;
    }
    fw::TDialog::CloseWindow(result);
}

void TThreadDlg::EndOfScan(bool completed) {
    EnableWindow(Item(IDC_THREAD_PAUSE), FALSE);
    EnableWindow(Item(IDC_THREAD_CANCEL), FALSE);
    timer_.Stop();
    if (thread_) {
        thread_->SetPriority(THREAD_PRIORITY_NORMAL);
        thread_->WaitForExit();
        thread_->RethrowFailure();  // ends the dialog; Execute hands the exception to its caller
    }
    CloseWindow(completed ? IDOK : IDCANCEL);
}

bool TThreadDlg::HandleCommand(int id, int notifyCode, HWND control) {
    switch (id) {
    case IDOK:
    case IDCANCEL: return true;  // Enter and Esc must not end a scan
    case IDC_THREAD_PAUSE: TogglePause(); return true;
    case IDC_THREAD_CANCEL: CloseWindow(IDCANCEL); return true;
    }
    for (const PriorityChoice& choice : kThreadPriorities)
        if (choice.command == id) {
            if (IsLive(thread_.get())) thread_->SetPriority(choice.value);
            return true;
        }
    for (const PriorityChoice& choice : kProcessClasses)
        if (choice.command == id) {
            SetPriorityClass(GetCurrentProcess(), static_cast<DWORD>(choice.value));
            return true;
        }
    return fw::TDialog::HandleCommand(id, notifyCode, control);
}

LRESULT TThreadDlg::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (endMessage_ != 0 && msg == endMessage_) {
        EndOfScan(wParam != 0);
        return TRUE;
    }
    if (msg == WM_TIMER) {
        if (wParam != kRefreshTimer) return FALSE;
        Refresh();
        return TRUE;
    }
    return fw::TDialog::HandleMessage(msg, wParam, lParam);
}

}  // namespace scan
