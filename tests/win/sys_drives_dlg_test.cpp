// The system drives dialog run modally on the test thread while a second thread watches its list and
// closes it, as a user would: rows at once, cells filled fastest drives first, a close that waits for a
// drive whose query hangs and asks no later drive, a worker's exception reaching the caller, a remembered
// placement pulled back on screen, and the real C: and Z: drives.
#include "fw/PendingException.h"
#include "fw/TListView.h"
#include "info/TSysDrivesInfoDlg.h"
#include "resource.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <functional>
#include <mutex>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

namespace {

using namespace std::chrono_literals;

// Drives answered from a table; the queries run on the dialog's worker thread.
class FakeDrives : public scan::VolumeQueries {
public:
    struct Drive {
        char letter;
        unsigned type;
    };
    explicit FakeDrives(std::vector<Drive> drives) : drives_(std::move(drives)) {}

    std::function<void(char)> onSpaceQuery;  // runs inside the space query (may block or throw)

    std::vector<char> SpaceQueries() const {
        std::lock_guard<std::mutex> lock(mutex_);
        return spaceQueries_;
    }

    std::uint32_t LogicalDrives() const override {
        std::uint32_t mask = 0;
        for (const Drive& d : drives_) mask |= 1u << (d.letter - 'A');
        return mask;
    }
    std::string VolumePathName(const std::string& path) const override { return path.substr(0, 3); }
    unsigned DriveType(const std::string& root) const override {
        for (const Drive& d : drives_)
            if (d.letter == root[0]) return d.type;
        return 0;
    }
    bool VolumeLabel(const std::string&, std::string&) const override { return false; }
    std::string FileSystemName(const std::string&) const override { return "FAT"; }
    bool DiskFreeSpace(const std::string&, std::uint32_t& spc, std::uint32_t& bps) const override {
        spc = 8;
        bps = 512;
        return true;
    }
    bool ReadBootSector(char, std::array<std::uint8_t, 512>&, std::size_t&) const override { return false; }
    bool Win9xFreeSpace(const std::string&, std::uint32_t&, std::uint32_t&) const override { return false; }
    int PlatformId() const override { return kPlatformNT; }
    bool DiskSpaceEx(const std::string& root, scan::DiskSpace& space) const override {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            spaceQueries_.push_back(root[0]);
        }
        if (onSpaceQuery) onSpaceQuery(root[0]);
        space = {250, 1000, 250};
        return true;
    }
    bool VolumeInfo(const std::string& root, scan::VolumeInformation& info) const override {
        info = {std::string("VOL_") + root[0], "FAT", 0x1A2B, 255, 0x2};
        return true;
    }

private:
    std::vector<Drive> drives_;
    mutable std::mutex mutex_;
    mutable std::vector<char> spaceQueries_;
};

// The dialog, telling the watching thread its window and list once set up.
class TWatchedDlg : public info::TSysDrivesInfoDlg {
public:
    using TSysDrivesInfoDlg::TSysDrivesInfoDlg;
    std::atomic<HWND> window{nullptr};
    std::atomic<HWND> list{nullptr};

protected:
    void SetupWindow() override {
        TSysDrivesInfoDlg::SetupWindow();
        list = GetDlgItem(GetHandle(), IDC_SYS_DRIVES_LIST);
        window = GetHandle();
    }
};

bool WaitFor(const std::function<bool()>& condition, std::chrono::milliseconds limit = 20s) {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > end) return false;
        std::this_thread::sleep_for(10ms);
    }
    return true;
}

// Ends the test program when a dialog hangs, instead of hanging the test run.
class Watchdog {
public:
    Watchdog()
        : thread_([this] {
              if (!WaitFor([this] { return done_.load(); }, 60s)) {
                  std::fprintf(stderr, "FAIL: the dialog did not close within 60 s\n");
                  std::fflush(stderr);
                  ExitProcess(3);
              }
          }) {}
    ~Watchdog() {
        done_ = true;
        thread_.join();
    }

private:
    std::atomic<bool> done_{false};
    std::thread thread_;
};

std::string Cell(HWND list, int row, int column) { return fw::TListView::CellText(list, row, column); }

void Close(HWND dialog) { PostMessageA(dialog, WM_COMMAND, IDOK, 0); }

TEST(SysDrivesDlg, RowsStandInLetterOrderAndAreFilledFastestKindsFirst) {
    FakeDrives drives({{'C', DRIVE_FIXED}, {'D', DRIVE_CDROM}, {'E', DRIVE_RAMDISK}, {'Z', DRIVE_REMOTE}});
    info::SysDrivesDlgData data;
    TWatchedDlg dialog(nullptr, data, drives);
    std::vector<std::vector<std::string>> rows;
    Watchdog watchdog;
    std::thread user([&] {
        ASSERT_TRUE(WaitFor([&] { return dialog.window.load() != nullptr; }));
        HWND list = dialog.list;
        ASSERT_TRUE(WaitFor([&] { return Cell(list, 3, info::kColCompressedVolume) != ""; }));
        for (int row = 0; row < fw::TListView::RowCount(list); ++row) {
            rows.emplace_back();
            for (int column = 0; column < info::kDriveColumnCount; ++column)
                rows.back().push_back(Cell(list, row, column));
        }
        Close(dialog.window);
    });
    dialog.Execute();
    user.join();

    EXPECT_EQ(drives.SpaceQueries(), (std::vector<char>{'E', 'C', 'D', 'Z'}));
    ASSERT_EQ(rows.size(), 4u);
    const char* types[] = {"Fixed", "CD-ROM", "RAM Disk", "Remote"};
    for (int row = 0; row < 4; ++row) {
        const char letter = "CDEZ"[row];
        EXPECT_EQ(rows[row][0], (std::string{letter, ':'}));
        EXPECT_EQ(rows[row][1], types[row]);
        EXPECT_EQ(rows[row][2], "1.0 KB");
        EXPECT_EQ(rows[row][3], "750 bytes (75%)");
        EXPECT_EQ(rows[row][6], "4K");
        EXPECT_EQ(rows[row][7], std::string("VOL_") + letter);
        EXPECT_EQ(rows[row][8], "00001A2B");
        EXPECT_EQ(rows[row][11], "Yes");
        EXPECT_EQ(rows[row][12], "No");
    }
    EXPECT_TRUE(data.IsValid());  // the rectangle is remembered at close
}

TEST(SysDrivesDlg, ClosingWhileADriveHangsReturnsOnceItAnswersAndAsksNoLaterDrive) {
    FakeDrives drives({{'C', DRIVE_FIXED}, {'N', DRIVE_REMOTE}, {'P', DRIVE_REMOTE}});
    HANDLE release = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    std::atomic<bool> hanging{false}, released{false}, returned{false};
    drives.onSpaceQuery = [&](char letter) {
        if (letter != 'N') return;
        hanging = true;
        WaitForSingleObject(release, INFINITE);
    };
    info::SysDrivesDlgData data;
    TWatchedDlg dialog(nullptr, data, drives);
    Watchdog watchdog;
    std::thread user([&] {
        ASSERT_TRUE(WaitFor([&] { return hanging.load(); }));
        EXPECT_EQ(Cell(dialog.list, 0, info::kColLabel), "VOL_C");
        Close(dialog.window);
        std::this_thread::sleep_for(300ms);
        EXPECT_FALSE(returned.load()) << "the dialog closed before its worker ended";
        released = true;
        SetEvent(release);
    });
    dialog.Execute();
    returned = true;
    user.join();
    CloseHandle(release);
    // The hanging drive's answer was still written (its cells are sent to the list while the dialog
    // waits), then the worker stopped before the next query of that drive and before drive P.
    EXPECT_TRUE(released.load());
    EXPECT_EQ(drives.SpaceQueries(), (std::vector<char>{'C', 'N'}));
}

TEST(SysDrivesDlg, AnExceptionInTheWorkerReachesTheCaller) {
    FakeDrives drives({{'C', DRIVE_FIXED}});
    std::atomic<bool> thrown{false};
    drives.onSpaceQuery = [&](char) {
        thrown = true;
        throw std::runtime_error("drive query failed");
    };
    info::SysDrivesDlgData data;
    TWatchedDlg dialog(nullptr, data, drives);
    Watchdog watchdog;
    std::thread user([&] {
        ASSERT_TRUE(WaitFor([&] { return thrown.load() && dialog.window.load() != nullptr; }));
        Close(dialog.window);
    });
    try {
        dialog.Execute();
        ADD_FAILURE() << "no exception";
    } catch (const std::runtime_error& e) {
        EXPECT_STREQ(e.what(), "drive query failed");
    }
    fw::DiscardQuitRequest();  // the program would end here; the next test's dialog must not
    user.join();
}

TEST(SysDrivesDlg, ARememberedPlacementOffScreenIsPulledBackWithItsSize) {
    FakeDrives drives({{'C', DRIVE_FIXED}});
    RECT work{};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    for (const fw::Rect remembered :
         {fw::Rect{5000, 4000, 5900, 4500}, fw::Rect{-3000, -2000, -2100, -1500}, fw::Rect{40, 30, 940, 530}}) {
        info::SysDrivesDlgData data{remembered};
        TWatchedDlg dialog(nullptr, data, drives);
        RECT shown{};
        Watchdog watchdog;
        std::thread user([&] {
            ASSERT_TRUE(WaitFor([&] { return dialog.window.load() != nullptr; }));
            GetWindowRect(dialog.window, &shown);
            Close(dialog.window);
        });
        dialog.Execute();
        user.join();
        SCOPED_TRACE(testing::Message() << remembered.left << "," << remembered.top);
        EXPECT_GE(shown.left, work.left);
        EXPECT_GE(shown.top, work.top);
        EXPECT_LE(shown.right, work.right);
        EXPECT_LE(shown.bottom, work.bottom);
        EXPECT_GE(shown.right - shown.left, remembered.Width());
        EXPECT_GE(shown.bottom - shown.top, remembered.Height());
        if (remembered.left == 40) {
            EXPECT_EQ(shown.left, 40);
            EXPECT_EQ(shown.top, 30);
        }
        EXPECT_EQ(data.rect, (fw::Rect{shown.left, shown.top, shown.right, shown.bottom}));
    }
}

TEST(SysDrivesDlg, TheRealFixedDrivesOfThisSystemAreListedAndFilled) {
    info::SysDrivesDlgData data;
    TWatchedDlg dialog(nullptr, data, scan::SystemVolumeQueries());
    std::vector<std::vector<std::string>> rows;
    Watchdog watchdog;
    std::thread user([&] {
        ASSERT_TRUE(WaitFor([&] { return dialog.window.load() != nullptr; }));
        HWND list = dialog.list;
        const int count = fw::TListView::RowCount(list);
        // Fixed drives are asked before the others; their file system arrives last.
        WaitFor([&] {
            for (int row = 0; row < count; ++row)
                if (Cell(list, row, info::kColType) == "Fixed" && Cell(list, row, info::kColFileSystem).empty())
                    return false;
            return true;
        });
        for (int row = 0; row < count; ++row) {
            rows.emplace_back();
            for (int column = 0; column < info::kDriveColumnCount; ++column)
                rows.back().push_back(Cell(list, row, column));
        }
        Close(dialog.window);
    });
    dialog.Execute();
    user.join();
    bool sawC = false, sawZ = false;
    for (const auto& row : rows) {
        SCOPED_TRACE(row[0]);
        if (row[0] == "C:" || row[0] == "Z:") {
            (row[0] == "C:" ? sawC : sawZ) = true;
            EXPECT_EQ(row[1], "Fixed");
            EXPECT_NE(row[2], "");
            EXPECT_NE(row[3].find("%)"), std::string::npos);
            EXPECT_EQ(row[10], "NTFS");
            EXPECT_EQ(row[8].size(), 8u);
        }
    }
    EXPECT_TRUE(sawC);
    EXPECT_TRUE(sawZ);
}

}  // namespace
