#include "info/TSysDrivesInfoDlg.h"

#include "fw/TErrorMode.h"
#include "info/DialogPlacement.h"
#include "resource.h"

#include <algorithm>
#include <string>
#include <vector>

namespace info {
namespace {

// Asks the drives in priority order and writes each answer into the list. The list's handle is the only
// way it reaches the user interface: every cell is a message sent to the list, so the list is only ever
// touched on its own thread.
class TDriveInfoThread : public fw::TThread {
public:
    TDriveInfoThread(const std::vector<char>& letters, HWND list, const scan::VolumeQueries& queries)
        : list_(list), queries_(queries) {
        std::vector<DriveToQuery> drives;
        for (char letter : letters) drives.push_back({letter, queries.DriveType(std::string{letter, ':', '\\'})});
        drives_ = QueryOrder(std::move(drives));
    }
    ~TDriveInfoThread() override {
        Terminate();
        WaitForExit();
    }

protected:
    int Run() override {
        for (const DriveToQuery& drive : drives_) {
            if (ShouldTerminate()) break;
            const int row = FindRow(drive.letter);
            if (row < 0) continue;
            const fw::TErrorMode quiet(SEM_FAILCRITICALERRORS);
            QueryDrive(
                queries_, drive.letter, [this] { return ShouldTerminate(); },
                [&](const Cell& cell) { fw::TListView::SetCellText(list_, row, cell.column, cell.text); });
        }
        return 0;
    }

private:
    int FindRow(char letter) const {
        const int rows = fw::TListView::RowCount(list_);
        for (int row = 0; row < rows; ++row) {
            const std::string text = fw::TListView::CellText(list_, row, kColDrive, 100);
            if (!text.empty() && text[0] == letter) return row;
        }
        return -1;
    }

    std::vector<DriveToQuery> drives_;
    HWND list_;
    const scan::VolumeQueries& queries_;
};

int ColumnFormat(DriveColumnInfo::Align align) {
    switch (align) {
    case DriveColumnInfo::Right: return LVCFMT_RIGHT;
    case DriveColumnInfo::Centre: return LVCFMT_CENTER;
    default: return LVCFMT_LEFT;
    }
}

}  // namespace

TSysDrivesInfoDlg::TSysDrivesInfoDlg(fw::TWindow* parent, SysDrivesDlgData& data, const scan::VolumeQueries& queries)
    : TStretchDlg(parent, IDD_SYS_DRIVES), data_(data), queries_(queries), list_(this) {}

TSysDrivesInfoDlg::~TSysDrivesInfoDlg() = default;

void TSysDrivesInfoDlg::SetupWindow() {
    TStretchDlg::SetupWindow();
    list_.AttachItem(GetHandle(), IDC_SYS_DRIVES_LIST);
    list_.SetExtendedStyle(LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
    SetControlAnchor(list_.GetHandle(), kAnchorStretch, kAnchorStretch);
    SetControlAnchor(IDOK, kAnchorFar, kAnchorFar);

    for (int column = 0; column < kDriveColumnCount; ++column) {
        const DriveColumnInfo& info = DriveColumnAt(column);
        list_.InsertColumn(column, info.header, info.width, ColumnFormat(info.align));
    }

    std::vector<char> letters;
    const std::uint32_t mask = queries_.LogicalDrives();
    for (int bit = 0; bit < 26; ++bit) {
        if (!(mask & (std::uint32_t{1} << bit))) continue;
        const char letter = static_cast<char>('A' + bit);
        const int row = list_.AppendRow(std::string{letter, ':'});
        if (row < 0) continue;
        list_.SetCellText(row, kColType, DriveTypeText(queries_.DriveType(std::string{letter, ':', '\\'})));
        letters.push_back(letter);
    }

    worker_ = std::make_unique<TDriveInfoThread>(letters, list_.GetHandle(), queries_);
    worker_->Start();

    PlaceAtRemembered(GetHandle(), data_.rect);
}

void TSysDrivesInfoDlg::StopWorker() {
    std::unique_ptr<fw::TThread> worker = std::move(worker_);
    if (!worker) return;
    worker->Terminate();
    // The worker may be blocked in a message sent to the list: handle sent messages while waiting, or
    // neither side would ever go on. Only sent messages are handled; input waits for the dialog to go.
    HANDLE thread = worker->GetHandle();
    for (;;) {
        MSG msg;
        PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
        const DWORD woke = MsgWaitForMultipleObjectsEx(1, &thread, INFINITE, QS_SENDMESSAGE, MWMO_INPUTAVAILABLE);
        if (woke != WAIT_OBJECT_0 + 1) break;  // the thread ended, or the wait failed
    }
    worker->WaitForExit();
    worker->RethrowFailure();
}

void TSysDrivesInfoDlg::CleanupWindow() {
    RECT r{};
    if (GetWindowRect(GetHandle(), &r)) data_.rect = RectToRemember(GetHandle());
    StopWorker();
    TStretchDlg::CleanupWindow();
}

}  // namespace info
