// Opens one of the dialogs of this package in the real program's code, so a script can look at it and
// take its picture, then closes it when told to.
//
//   dialog_shots drives <ready file> <done file>   the system drives table over the real drives; prints
//                                                  its rows (cells separated by '|') once they are filled
//   dialog_shots about <ready file> <done file>    the About box
//   dialog_shots help <ready file> <done file>     the help viewer at the start page (Kelvaran.chm must lie
//                                                  beside this program)
// The ready file is created when the window is up; the window closes once the done file exists (or after
// 60 s). Exit status 0 when the window came up.
#include "about/Help.h"
#include "about/TAboutDlg.h"
#include "fw/TListView.h"
#include "info/TSysDrivesInfoDlg.h"
#include "resource.h"

#include <windows.h>

#include <commctrl.h>

#include <atomic>
#include <cstdio>
#include <string>
#include <thread>

namespace {

std::string readyFile, doneFile;

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

void SignalReady() {
    HANDLE file = CreateFileA(readyFile.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
}

void WaitForDone() {
    for (int i = 0; i < 600 && !Exists(doneFile); ++i) Sleep(100);
}

class TShotDrivesDlg : public info::TSysDrivesInfoDlg {
public:
    using TSysDrivesInfoDlg::TSysDrivesInfoDlg;
    std::atomic<HWND> window{nullptr};

protected:
    void SetupWindow() override {
        TSysDrivesInfoDlg::SetupWindow();
        window = GetHandle();
    }
};

class TShotAboutDlg : public about::TAboutDlg {
public:
    using TAboutDlg::TAboutDlg;
    std::atomic<HWND> window{nullptr};

protected:
    void SetupWindow() override {
        TAboutDlg::SetupWindow();
        window = GetHandle();
    }
};

template <class Dialog>
void CloseWhenDone(Dialog& dialog, const std::function<void(HWND)>& whenUp) {
    while (!dialog.window.load()) Sleep(20);
    whenUp(dialog.window);
    SignalReady();
    WaitForDone();
    PostMessageA(dialog.window, WM_COMMAND, IDOK, 0);
}

int Drives() {
    info::SysDrivesDlgData data;
    TShotDrivesDlg dialog(nullptr, data, scan::SystemVolumeQueries());
    std::thread user([&] {
        CloseWhenDone(dialog, [](HWND wnd) {
            HWND list = GetDlgItem(wnd, IDC_SYS_DRIVES_LIST);
            // Every drive here answers at once; wait until the last column of each row is in.
            for (int i = 0; i < 200; ++i) {
                bool filled = true;
                for (int row = 0; row < fw::TListView::RowCount(list); ++row)
                    filled = filled && !fw::TListView::CellText(list, row, info::kColCompressedVolume).empty();
                if (filled) break;
                Sleep(50);
            }
            for (int row = 0; row < fw::TListView::RowCount(list); ++row) {
                std::string line;
                for (int column = 0; column < info::kDriveColumnCount; ++column) {
                    if (column) line += '|';
                    line += fw::TListView::CellText(list, row, column);
                }
                std::printf("%s\n", line.c_str());
            }
            std::fflush(stdout);
        });
    });
    dialog.Execute();
    user.join();
    return 0;
}

int About() {
    TShotAboutDlg dialog(nullptr);
    std::thread user([&] { CloseWhenDone(dialog, [](HWND) { Sleep(300); }); });
    dialog.Execute();
    user.join();
    return 0;
}

int Help() {
    about::ShowHelp(nullptr, "", fw::Interaction{});
    const DWORD start = GetTickCount();
    bool signalled = false;
    MSG msg;
    while (!Exists(doneFile) && GetTickCount() - start < 60000) {
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        if (!signalled && GetTickCount() - start > 3000) {
            SignalReady();
            signalled = true;
        }
        Sleep(20);
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: dialog_shots drives|about|help <ready file> <done file>\n");
        return 2;
    }
    InitCommonControls();
    readyFile = argv[2];
    doneFile = argv[3];
    const std::string what = argv[1];
    if (what == "drives") return Drives();
    if (what == "about") return About();
    if (what == "help") return Help();
    return 2;
}
