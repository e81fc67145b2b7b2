// The scan progress dialog, run modally on the test thread over real generated trees while a second
// thread drives it with messages and watches its controls, as a user would.
#include "ScanTestTree.h"
#include "Screen.h"
#include "fw/Handles.h"
#include "fw/PendingException.h"
#include "fw/TDialog.h"
#include "resource.h"
#include "scan/TThreadDlg.h"
#include "scan/Win32Lister.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

std::string TempFolder() {
    char path[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, path);
    return path;
}

// A tree of 16 x 16 x 12 folders with two 1000-byte files in each middle folder (3,344 folders), read
// through the real lister slowed by 3 ms per folder, so that the scan lasts about ten seconds whatever
// the machine's load. Without the delay the walk's speed under Wine varied threefold between runs, and a
// tree that lasts several seconds at the fast end took half a minute to make and remove.
constexpr int kFanOut = 16, kLeaves = 12;
constexpr std::uint32_t kBigTreeFolders = kFanOut + kFanOut * kFanOut + kFanOut * kFanOut * kLeaves;

class SlowLister : public scan::DirLister {
public:
    std::unique_ptr<scan::DirListing> Open(const std::string& path) override {
        Sleep(3);
        return real_.Open(path);
    }
    char Separator() const override { return real_.Separator(); }

private:
    scan::Win32Lister real_;
};

class BigTree {
public:
    BigTree() {
        char name[8];
        for (int a = 0; a < kFanOut; ++a) {
            std::snprintf(name, sizeof name, "a%02d", a);
            const std::string pa = name;
            tree_.Dir(pa);
            for (int b = 0; b < kFanOut; ++b) {
                std::snprintf(name, sizeof name, "b%02d", b);
                const std::string pb = pa + "\\" + name;
                tree_.Dir(pb);
                tree_.File(pb + "\\x.dat", 1000);
                tree_.File(pb + "\\y.dat", 1000);
                for (int c = 0; c < kLeaves; ++c) {
                    std::snprintf(name, sizeof name, "c%02d", c);
                    tree_.Dir(pb + "\\" + name);
                }
            }
        }
    }

    // The root folder with its trailing backslash.
    std::string Root() const { return tree_.Root() + "\\"; }

private:
    scantest::TempTree tree_;
};

// The real dialog, with its window handle published to the driver and its last control texts kept.
class WatchedThreadDlg : public scan::TThreadDlg {
public:
    using scan::TThreadDlg::TThreadDlg;

    std::atomic<HWND> window{nullptr};
    std::string finalCounters, finalElapsed;

    const scan::TScanThread* Worker() const noexcept { return thread_.get(); }

protected:
    void SetupWindow() override {
        scan::TThreadDlg::SetupWindow();
        window.store(GetHandle());
    }
    void CleanupWindow() override {
        finalCounters = GetItemText(IDC_THREAD_COUNTERS);
        finalElapsed = GetItemText(IDC_THREAD_ELAPSED);
        scan::TThreadDlg::CleanupWindow();
    }
};

// Runs the dialog modally here while `drive` runs on a second thread with the dialog's window.
INT_PTR RunDriven(WatchedThreadDlg& dialog, const std::function<void(HWND)>& drive) {
    std::thread driver([&] {
        HWND window = nullptr;
        const auto deadline = Clock::now() + std::chrono::seconds(30);
        while (!(window = dialog.window.load()) && Clock::now() < deadline)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        if (window) drive(window);
    });
    const INT_PTR result = dialog.Execute();
    driver.join();
    return result;
}

std::string Text(HWND dialog, int id) {
    char text[256] = {};
    SendMessageA(GetDlgItem(dialog, id), WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
    return text;
}

void Command(HWND dialog, int id) {
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

int Seconds(const std::string& elapsed) {
    unsigned minutes = 0, seconds = 0;
    return std::sscanf(elapsed.c_str(), "%u:%u", &minutes, &seconds) == 2 ? static_cast<int>(minutes * 60 + seconds)
                                                                          : -1;
}

// What the driver saw of the two texts while watching for a while.
struct Watch {
    std::vector<std::string> counterTexts;  // every distinct text, in order
    std::vector<std::string> elapsedTexts;  // the elapsed text at each counter change
    std::vector<double> changeTimes;        // seconds since the watch began, at each counter change
    int distinctFolderCounts = 0;           // distinct values of the worker's own folder counter
};

Watch WatchFor(HWND dialog, const scan::TScanThread* thread, std::chrono::milliseconds duration) {
    Watch watch;
    const auto begin = Clock::now();
    std::uint32_t lastFolders = ~0u;
    do {
        const std::string counters = Text(dialog, IDC_THREAD_COUNTERS);
        if (watch.counterTexts.empty() || counters != watch.counterTexts.back()) {
            if (!watch.counterTexts.empty())
                watch.changeTimes.push_back(std::chrono::duration<double>(Clock::now() - begin).count());
            watch.counterTexts.push_back(counters);
            watch.elapsedTexts.push_back(Text(dialog, IDC_THREAD_ELAPSED));
        }
        const std::uint32_t folders = thread->FoldersFound();
        if (folders != lastFolders) ++watch.distinctFolderCounts;
        lastFolders = folders;
        std::this_thread::sleep_for(std::chrono::milliseconds(15));
    } while (Clock::now() - begin < duration);
    return watch;
}

}  // namespace

TEST(ThreadDlg, AccessorsThrowBeforeAnyScan) {
    scan::TThreadDlg dialog(nullptr, "C:\\");
    try {
        dialog.GetInfo();
        ADD_FAILURE() << "GetInfo did not throw";
    } catch (const std::exception& error) {
        EXPECT_STREQ(error.what(), "TThreadDlg::GetInfo() called when thread == 0");
    }
    try {
        dialog.GetClusterSize();
        ADD_FAILURE() << "GetClusterSize did not throw";
    } catch (const std::exception& error) {
        EXPECT_STREQ(error.what(), "TThreadDlg::GetClusterSize() called when thread == 0");
    }
}

TEST(ThreadDlg, ScanEndingWithinTheFirstSecondClosesWithCountersStillZero) {
    scantest::TempTree disk;
    disk.Dir("sub");
    disk.Dir("sub\\deeper");
    disk.File("one.txt", 5);
    disk.File("sub\\two.txt", 7000);
    const std::string root = disk.Root() + "\\";

    // Only a scan that ended within the first second says anything about the first refresh; a machine
    // busy with other work (the test tier starts beside the building of disk images) may take longer for
    // several seconds, so a slow run is tried again for up to a minute.
    std::unique_ptr<WatchedThreadDlg> ran;
    INT_PTR result = 0;
    double seconds = 0;
    std::string rootText;
    bool gaugeVisible = true;
    const auto giveUp = Clock::now() + std::chrono::minutes(1);
    while (!ran || (seconds >= 1.0 && Clock::now() < giveUp)) {
        ran = std::make_unique<WatchedThreadDlg>(nullptr, root);
        const auto begin = Clock::now();
        result = RunDriven(*ran, [&](HWND window) {
            rootText = Text(window, IDC_THREAD_ROOT);
            gaugeVisible = IsWindowVisible(GetDlgItem(window, IDC_THREAD_GAUGE));
        });
        seconds = std::chrono::duration<double>(Clock::now() - begin).count();
    }
    WatchedThreadDlg& dialog = *ran;

    EXPECT_EQ(result, IDOK);
    ASSERT_LT(seconds, 1.0) << "too slow to say anything about the first refresh";
    EXPECT_EQ(dialog.finalCounters, "0\r\n0\r\n0");
    EXPECT_EQ(dialog.finalElapsed, "0:00.000");
    EXPECT_EQ(rootText, root.substr(0, root.size() - 1));
    EXPECT_FALSE(gaugeVisible) << "a folder below a root has no progress bar";

    const model::DirInfo& info = dialog.GetInfo();
    EXPECT_EQ(info.name, root.substr(0, root.size() - 1));
    EXPECT_EQ(info.deepDirs, 2u);
    EXPECT_EQ(info.deepFiles, 2u);
    EXPECT_EQ(info.deepSize, 7005u);
    EXPECT_EQ(dialog.GetClusterSize(), dialog.Worker()->GetClusterSize());
    EXPECT_EQ(dialog.Worker()->GetStatus(), fw::TThread::Status::Finished);
}

TEST(ThreadDlg, RootThatCannotBeListedCompletesEmpty) {
    const std::string root = TempFolder() + "kelvaran-no-such-folder-" + std::to_string(GetCurrentProcessId()) + "\\";
    WatchedThreadDlg dialog(nullptr, root);
    EXPECT_EQ(RunDriven(dialog, [](HWND) {}), IDOK);
    EXPECT_TRUE(dialog.GetInfo().subdirs.empty());
    EXPECT_TRUE(dialog.GetInfo().files.empty());
}

// One long scan: the display before and after the first refresh, Enter and Esc, pause and resume, the
// priority commands, and Cancel while paused.
TEST(ThreadDlg, LongScanRefreshesPausesResumesAndCancels) {
    const BigTree tree;
    WatchedThreadDlg dialog(nullptr, tree.Root(), std::make_unique<SlowLister>());

    Watch beforeRefresh, running, paused, resumed;
    bool aliveAfterEnterEsc = false, gaugeVisible = true, pauseChecked = false, screenshot = false;
    bool belowNormalChecked = false, normalClassChecked = false;
    std::string pauseLabel, resumeLabel, elapsedAtPause;
    fw::TThread::Status statusAfterEnterEsc{}, statusPaused{}, statusResumed{};
    std::uint32_t foldersEarly = 0, foldersPausedA = 0, foldersPausedB = 0;
    int priorityAbove = 0, priorityIdle = 0;

    const INT_PTR result = RunDriven(dialog, [&](HWND window) {
        const scan::TScanThread* thread = dialog.Worker();
        gaugeVisible = IsWindowVisible(GetDlgItem(window, IDC_THREAD_GAUGE));
        belowNormalChecked = IsDlgButtonChecked(window, IDC_THREAD_PRIO_BELOW) == BST_CHECKED;
        normalClassChecked = IsDlgButtonChecked(window, IDC_THREAD_CLASS_NORMAL) == BST_CHECKED;

        beforeRefresh = WatchFor(window, thread, std::chrono::milliseconds(600));
        foldersEarly = thread->FoldersFound();

        // Enter and Esc, as commands and as a key the dialog manager turns into IDCANCEL.
        SendMessageA(window, WM_COMMAND, IDOK, 0);
        SendMessageA(window, WM_COMMAND, IDCANCEL, 0);
        PostMessageA(GetDlgItem(window, IDC_THREAD_PAUSE), WM_KEYDOWN, VK_ESCAPE, 0);
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        aliveAfterEnterEsc = IsWindow(window) && IsWindowVisible(window);
        statusAfterEnterEsc = thread->GetStatus();

        running = WatchFor(window, thread, std::chrono::milliseconds(1600));
        screenshot = screentest::SaveScreenshot(window, "thread-dialog.bmp");

        Command(window, IDC_THREAD_PAUSE);
        pauseLabel = Text(window, IDC_THREAD_PAUSE);
        statusPaused = thread->GetStatus();
        elapsedAtPause = Text(window, IDC_THREAD_ELAPSED);
        std::this_thread::sleep_for(std::chrono::milliseconds(300));  // the walk reaches its pause point
        foldersPausedA = thread->FoldersFound();
        paused = WatchFor(window, thread, std::chrono::milliseconds(2300));
        foldersPausedB = thread->FoldersFound();

        Command(window, IDC_THREAD_PRIO_ABOVE);
        priorityAbove = GetThreadPriority(thread->GetHandle());
        Command(window, IDC_THREAD_PRIO_IDLE);
        priorityIdle = GetThreadPriority(thread->GetHandle());
        Command(window, IDC_THREAD_PRIO_BELOW);

        Command(window, IDC_THREAD_PAUSE);
        resumeLabel = Text(window, IDC_THREAD_PAUSE);
        statusResumed = thread->GetStatus();
        resumed = WatchFor(window, thread, std::chrono::milliseconds(1300));

        Command(window, IDC_THREAD_PAUSE);
        pauseChecked = thread->GetStatus() == fw::TThread::Status::Suspended;
        Command(window, IDC_THREAD_CANCEL);
    });

    EXPECT_EQ(result, IDCANCEL) << "Cancel while paused returns Cancel";
    EXPECT_FALSE(gaugeVisible);
    EXPECT_TRUE(belowNormalChecked);
    EXPECT_TRUE(normalClassChecked);

    // Before the first second nothing is shown although the worker is busy.
    EXPECT_EQ(beforeRefresh.counterTexts, std::vector<std::string>{"0\r\n0\r\n0"});
    EXPECT_EQ(beforeRefresh.elapsedTexts, std::vector<std::string>{"0:00.000"});
    EXPECT_GT(foldersEarly, 0u);

    EXPECT_TRUE(aliveAfterEnterEsc) << "Enter and Esc must not close the dialog";
    EXPECT_EQ(statusAfterEnterEsc, fw::TThread::Status::Running) << "nor stop the scan";

    // Running: the texts change about once a second while the worker's counter changes all the time.
    ASSERT_GE(running.changeTimes.size(), 1u);
    EXPECT_LE(running.changeTimes.size(), 3u);
    for (std::size_t i = 1; i < running.changeTimes.size(); ++i)
        EXPECT_GT(running.changeTimes[i] - running.changeTimes[i - 1], 0.7) << "refreshed more than once a second";
    EXPECT_GE(running.distinctFolderCounts, 10);
    EXPECT_NE(running.counterTexts.back(), "0\r\n0\r\n0");
    EXPECT_EQ(std::count(running.counterTexts.back().begin(), running.counterTexts.back().end(), '\n'), 2);
    EXPECT_GE(Seconds(running.elapsedTexts.back()), 1);
    EXPECT_LE(Seconds(running.elapsedTexts.back()), 3);
    EXPECT_TRUE(screenshot);

    // Paused: the worker stops, and neither text moves.
    EXPECT_EQ(pauseLabel, "Resume");
    EXPECT_EQ(statusPaused, fw::TThread::Status::Suspended);
    EXPECT_EQ(paused.counterTexts.size(), 1u);
    EXPECT_EQ(paused.elapsedTexts.front(), elapsedAtPause);
    EXPECT_EQ(foldersPausedA, foldersPausedB) << "the walk must wait while paused";
    EXPECT_EQ(priorityAbove, THREAD_PRIORITY_ABOVE_NORMAL);
    EXPECT_EQ(priorityIdle, THREAD_PRIORITY_IDLE);

    // Resumed: the elapsed time continues from the paused value, not from the wall clock (about 2.6 s of
    // pause lie between).
    EXPECT_EQ(resumeLabel, "Pause");
    EXPECT_EQ(statusResumed, fw::TThread::Status::Running);
    ASSERT_GE(resumed.changeTimes.size(), 1u) << "the display moves again after Resume";
    const int atPause = Seconds(elapsedAtPause);
    const int afterResume = Seconds(resumed.elapsedTexts.back());
    EXPECT_GE(afterResume, atPause);
    EXPECT_LE(afterResume, atPause + 2) << "elapsed " << elapsedAtPause << " then " << resumed.elapsedTexts.back();

    // Cancelled from a pause: the worker was resumed, stopped at its next folder and has finished.
    EXPECT_TRUE(pauseChecked);
    EXPECT_EQ(dialog.Worker()->GetStatus(), fw::TThread::Status::Finished);
    EXPECT_LT(dialog.Worker()->FoldersFound(), kBigTreeFolders) << "the scan ended before the tree did";
    std::printf("cancelled after %u of %u folders; display showed %s at the pause\n", dialog.Worker()->FoldersFound(),
                kBigTreeFolders, elapsedAtPause.c_str());
}

namespace {

// The template alone, opened modeless without the scan behind it.
class TemplateOnly : public fw::TDialog {
public:
    TemplateOnly() : fw::TDialog(nullptr, IDD_THREAD) {}
};

struct ChildInfo {
    HWND window = nullptr;
    std::string className, text;
    RECT rect{};  // client coordinates of the dialog
    LONG style = 0;
};

std::vector<ChildInfo> Children(HWND dialog) {
    std::vector<ChildInfo> children;
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        ChildInfo info;
        info.window = child;
        char buffer[128] = {};
        GetClassNameA(child, buffer, sizeof buffer);
        info.className = buffer;
        GetWindowTextA(child, buffer, sizeof buffer);
        info.text = buffer;
        GetWindowRect(child, &info.rect);
        MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&info.rect), 2);
        info.style = GetWindowLongA(child, GWL_STYLE);
        children.push_back(info);
    }
    return children;
}

RECT DialogUnits(HWND dialog, int x, int y, int width, int height) {
    // The dialog manager converts the origin and the size separately, so must the comparison.
    RECT units{x, y, width, height};
    MapDialogRect(dialog, &units);
    return RECT{units.left, units.top, units.left + units.right, units.top + units.bottom};
}

}  // namespace

TEST(ThreadDlgTemplate, ControlsAsDesigned) {
    TemplateOnly dialog;
    dialog.CreateModeless();
    HWND window = dialog.GetHandle();
    ASSERT_NE(window, nullptr);

    char caption[64] = {};
    GetWindowTextA(window, caption, sizeof caption);
    EXPECT_STREQ(caption, "Reading Disk Structure");
    const LONG style = GetWindowLongA(window, GWL_STYLE);
    EXPECT_TRUE(style & WS_CAPTION);
    EXPECT_TRUE(style & WS_SYSMENU);
    EXPECT_FALSE(style & WS_THICKFRAME) << "not resizable";
    RECT client{};
    GetClientRect(window, &client);
    const RECT size = DialogUnits(window, 0, 0, 168, 108);
    EXPECT_EQ(client.right, size.right);
    EXPECT_EQ(client.bottom, size.bottom);

    struct Expected {
        int id;  // -1: found by its text
        const char* className;
        const char* text;
        int x, y, width, height;
        bool enabled;
    };
    const Expected expected[] = {
        {-1, "Static", "Root:", 4, 4, 20, 8, true},
        {IDC_THREAD_ROOT, "Static", "", 28, 4, 136, 8, true},
        {-1, "Static", "Folders:\nFiles:\nBytes:", 12, 24, 44, 24, true},
        {IDC_THREAD_COUNTERS, "Static", "0\n0\n0", 60, 24, 96, 24, true},
        {-1, "Static", "Elapsed time", 12, 52, 44, 8, true},
        {IDC_THREAD_ELAPSED, "Static", "0:00.000", 60, 52, 96, 8, true},
        {IDC_THREAD_GAUGE, "msctls_progress32", "", 12, 64, 144, 8, true},
        {IDC_THREAD_PAUSE, "Button", "&Pause", 30, 88, 50, 14, true},
        {IDC_THREAD_CANCEL, "Button", "&Cancel", 88, 88, 50, 14, true},
        {-1, "Static", "Priority", 10, 120, 24, 8, false},
        {IDC_THREAD_PRIO_IDLE, "Button", "-3", 39, 116, 20, 16, false},
        {IDC_THREAD_PRIO_LOWEST, "Button", "-2", 59, 116, 20, 16, false},
        {IDC_THREAD_PRIO_BELOW, "Button", "-1", 79, 116, 20, 16, false},
        {IDC_THREAD_PRIO_NORMAL, "Button", "0", 99, 116, 20, 16, false},
        {IDC_THREAD_PRIO_ABOVE, "Button", "1", 119, 116, 20, 16, false},
        {IDC_THREAD_PRIO_HIGHEST, "Button", "2", 139, 116, 20, 16, false},
        {IDC_THREAD_PRIO_CRITICAL, "Button", "3", 159, 116, 20, 16, false},
        {-1, "Static", "Class", 10, 136, 24, 8, false},
        {IDC_THREAD_CLASS_IDLE, "Button", "-1", 79, 132, 20, 16, false},
        {IDC_THREAD_CLASS_NORMAL, "Button", "0", 99, 132, 20, 16, false},
        {IDC_THREAD_CLASS_HIGH, "Button", "1", 119, 132, 20, 16, false},
        {IDC_THREAD_CLASS_REALTIME, "Button", "2", 139, 132, 20, 16, false},
        {IDC_THREAD_LOWER_PROCESS, "Button", "Lower Process Priority", 41, 156, 108, 14, false},
    };
    const auto children = Children(window);
    for (const Expected& want : expected) {
        const ChildInfo* found = nullptr;
        for (const ChildInfo& child : children)
            if (want.id >= 0 ? GetDlgCtrlID(child.window) == want.id : child.text == want.text) found = &child;
        ASSERT_NE(found, nullptr) << want.text;
        EXPECT_EQ(found->className, want.className) << want.text;
        EXPECT_EQ(found->text, want.text) << want.id;
        const RECT rect = DialogUnits(window, want.x, want.y, want.width, want.height);
        EXPECT_EQ(found->rect.left, rect.left) << want.text;
        EXPECT_EQ(found->rect.top, rect.top) << want.text;
        EXPECT_EQ(found->rect.right, rect.right) << want.text;
        EXPECT_EQ(found->rect.bottom, rect.bottom) << want.text;
        EXPECT_EQ(IsWindowEnabled(found->window) != FALSE, want.enabled) << want.text;
        if (!want.enabled) {
            EXPECT_GE(found->rect.top, client.bottom) << want.text << " lies below the dialog";
        }
        if (found->className == "Button" && want.id >= IDC_THREAD_PRIO_IDLE && want.id != IDC_THREAD_PAUSE &&
            want.id != IDC_THREAD_LOWER_PROCESS && want.id != IDC_THREAD_CANCEL) {
            EXPECT_EQ(found->style & BS_TYPEMASK, BS_AUTORADIOBUTTON) << want.text;
            EXPECT_TRUE(found->style & BS_PUSHLIKE) << want.text;
        }
    }
    const ChildInfo* gauge = nullptr;
    for (const ChildInfo& child : children)
        if (GetDlgCtrlID(child.window) == IDC_THREAD_GAUGE) gauge = &child;
    ASSERT_NE(gauge, nullptr);
    EXPECT_TRUE(gauge->style & PBS_SMOOTH);
    // The two radio groups start at "-3" and at the class's "-1".
    EXPECT_TRUE(GetWindowLongA(GetDlgItem(window, IDC_THREAD_PRIO_IDLE), GWL_STYLE) & WS_GROUP);
    EXPECT_FALSE(GetWindowLongA(GetDlgItem(window, IDC_THREAD_PRIO_LOWEST), GWL_STYLE) & WS_GROUP);
    EXPECT_TRUE(GetWindowLongA(GetDlgItem(window, IDC_THREAD_CLASS_IDLE), GWL_STYLE) & WS_GROUP);
}

namespace {

// A plain dialog on the same template that refuses to close until told, and can be made to throw.
class Refusing : public fw::TDialog {
public:
    static constexpr UINT kAllow = WM_APP + 1;
    static constexpr UINT kThrow = WM_APP + 2;
    Refusing() : fw::TDialog(nullptr, IDD_THREAD) {}

    bool allow = false;
    int closeRequests = 0;
    std::string cleanupText;

    bool CanClose() override {
        ++closeRequests;
        return allow;
    }

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override {
        if (msg == kAllow) {
            allow = true;
            return TRUE;
        }
        if (msg == kThrow) throw std::runtime_error("thrown in a dialog handler");
        return fw::TDialog::HandleMessage(msg, wParam, lParam);
    }
    void CleanupWindow() override { cleanupText = GetItemText(IDC_THREAD_ELAPSED); }
};

}  // namespace

TEST(TDialog, CloseRequestsCanBeRefused) {
    Refusing dialog;
    int firstRequests = -1;
    std::atomic<HWND> window{nullptr};
    std::thread driver([&] {
        HWND hwnd = nullptr;
        const auto deadline = Clock::now() + std::chrono::seconds(10);
        while (!(hwnd = dialog.GetHandle()) && Clock::now() < deadline)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        window = hwnd;
        SendMessageA(hwnd, WM_COMMAND, IDOK, 0);  // refused
        firstRequests = dialog.closeRequests;
        SendMessageA(hwnd, Refusing::kAllow, 0, 0);
        PostMessageA(hwnd, WM_COMMAND, IDOK, 0);
    });
    const INT_PTR result = dialog.Execute();
    driver.join();
    EXPECT_EQ(firstRequests, 1);
    EXPECT_TRUE(window.load() != nullptr && !IsWindow(window.load())) << "ended and destroyed";
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(dialog.cleanupText, "0:00.000") << "clean-up runs while the controls still exist";
    EXPECT_EQ(dialog.GetHandle(), nullptr);
}

TEST(TDialog, ExceptionInAHandlerEndsTheDialogAndIsRethrownAfterTheModalRun) {
    Refusing dialog;
    dialog.allow = false;  // the exception must end it even though closing is refused
    std::thread driver([&] {
        const auto deadline = Clock::now() + std::chrono::seconds(10);
        HWND hwnd = nullptr;
        while (!(hwnd = dialog.GetHandle()) && Clock::now() < deadline)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        PostMessageA(hwnd, Refusing::kThrow, 0, 0);
    });
    try {
        dialog.Execute();
        ADD_FAILURE() << "Execute did not rethrow";
    } catch (const std::runtime_error& error) {
        EXPECT_STREQ(error.what(), "thrown in a dialog handler");
    }
    driver.join();
    EXPECT_EQ(dialog.GetHandle(), nullptr);
    fw::DiscardQuitRequest();
}

// A lister that fails the way a broken file system driver or a logic error would: by throwing.
class ThrowingLister : public scan::DirLister {
public:
    std::unique_ptr<scan::DirListing> Open(const std::string&) override {
        throw std::runtime_error("the lister failed");
    }
    char Separator() const override { return '\\'; }
};

TEST(ThreadDlg, AnExceptionInTheWorkerEndsTheScanAndReachesTheCaller) {
    scan::TThreadDlg dialog(nullptr, TempFolder(), std::make_unique<ThrowingLister>());
    try {
        dialog.Execute();
        ADD_FAILURE() << "the worker's failure did not reach the caller";
    } catch (const std::runtime_error& error) {
        EXPECT_STREQ(error.what(), "the lister failed");
    }
    EXPECT_EQ(dialog.GetHandle(), nullptr);
    fw::DiscardQuitRequest();
}
