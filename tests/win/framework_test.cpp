// The window framework's lifetime and reflection rules, a worker's exception handed to its owner, the
// clipboard's text as other programs read it, and the header and failure of a DIB section.
#include "WindowTestSupport.h"
#include "fw/Clipboard.h"
#include "fw/Dib.h"
#include "fw/Interaction.h"
#include "fw/Reflection.h"
#include "fw/TControl.h"
#include "fw/TDialog.h"
#include "fw/TStatusBar.h"
#include "fw/TThread.h"
#include "resource.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <algorithm>
#include <cstring>
#include <new>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

class THost : public fw::TWindow {
public:
    THost() {
        Attr().style = WS_OVERLAPPEDWINDOW;
        Attr().x = Attr().y = 0;
        Attr().width = Attr().height = 200;
    }

protected:
    const char* ClassName() const override { return "KelvaranTestHost"; }
};

// A button that records the notifications reflected to it and answers each with its own result.
class TProbe : public fw::TControl {
public:
    static constexpr UINT kId = 77;
    explicit TProbe(fw::TWindow* parent) : TControl(parent, kId) {}

    std::vector<UINT> heard;

    static LRESULT AnswerTo(UINT msg) { return 0x1000 + msg; }

protected:
    const char* ClassName() const override { return "BUTTON"; }
    bool HandleReflected(UINT msg, WPARAM, LPARAM, LRESULT& result) override {
        heard.push_back(msg);
        result = AnswerTo(msg);
        return true;
    }
};

// Sends each kind of child notification to `parent` as if `child` had sent it; returns what each answered.
std::vector<LRESULT> SendEveryNotification(HWND parent, HWND child) {
    std::vector<LRESULT> answers;
    answers.push_back(
        SendMessageA(parent, WM_COMMAND, MAKEWPARAM(TProbe::kId, BN_CLICKED), reinterpret_cast<LPARAM>(child)));
    NMHDR header{child, TProbe::kId, NM_CLICK};
    answers.push_back(SendMessageA(parent, WM_NOTIFY, TProbe::kId, reinterpret_cast<LPARAM>(&header)));
    answers.push_back(SendMessageA(parent, WM_HSCROLL, SB_LINERIGHT, reinterpret_cast<LPARAM>(child)));
    answers.push_back(SendMessageA(parent, WM_VSCROLL, SB_LINEDOWN, reinterpret_cast<LPARAM>(child)));
    DRAWITEMSTRUCT draw{ODT_BUTTON, TProbe::kId};
    draw.hwndItem = child;
    answers.push_back(SendMessageA(parent, WM_DRAWITEM, TProbe::kId, reinterpret_cast<LPARAM>(&draw)));
    MEASUREITEMSTRUCT measure{ODT_BUTTON, static_cast<UINT>(GetDlgCtrlID(child))};
    answers.push_back(SendMessageA(parent, WM_MEASUREITEM, TProbe::kId, reinterpret_cast<LPARAM>(&measure)));
    HDC dc = GetDC(child);
    answers.push_back(
        SendMessageA(parent, WM_CTLCOLORBTN, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(child)));
    answers.push_back(
        SendMessageA(parent, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(child)));
    ReleaseDC(child, dc);
    return answers;
}

const std::vector<UINT> kReflected = {WM_COMMAND,  WM_NOTIFY,      WM_HSCROLL,     WM_VSCROLL,
                                      WM_DRAWITEM, WM_MEASUREITEM, WM_CTLCOLORBTN, WM_CTLCOLORSTATIC};

std::vector<LRESULT> ExpectedAnswers() {
    std::vector<LRESULT> answers;
    for (UINT msg : kReflected) answers.push_back(TProbe::AnswerTo(msg));
    return answers;
}

TEST(ControlLifetime, AControlThatDiesWithItsParentLeavesNoHandleBehind) {
    THost host;
    host.Create();
    fw::TStatusBar bar(&host, false, 200);
    bar.Create();
    HWND control = bar.GetHandle();
    ASSERT_TRUE(IsWindow(control));
    EXPECT_EQ(fw::TWindow::FromHandle(control), &bar);

    DestroyWindow(host.GetHandle());
    EXPECT_EQ(host.GetHandle(), nullptr);
    EXPECT_EQ(bar.GetHandle(), nullptr) << "the wrapper must not keep the dead control's handle";
    EXPECT_FALSE(IsWindow(control));
}

TEST(ControlLifetime, AnOwnedControlDiesWithItsWrapperAndABorrowedOneDoesNot) {
    THost host;
    host.Create();
    HWND owned = nullptr;
    {
        fw::TStatusBar bar(&host, false, 200);
        bar.Create();
        owned = bar.GetHandle();
    }
    EXPECT_FALSE(IsWindow(owned));

    HWND borrowed = CreateWindowA("BUTTON", "b", WS_CHILD, 0, 0, 10, 10, host.GetHandle(),
                                  reinterpret_cast<HMENU>(TProbe::kId), nullptr, nullptr);
    {
        TProbe probe(nullptr);
        ASSERT_TRUE(probe.AttachItem(host.GetHandle(), TProbe::kId));
        EXPECT_EQ(probe.GetHandle(), borrowed);
    }
    EXPECT_TRUE(IsWindow(borrowed)) << "a borrowed control belongs to its parent";
    EXPECT_EQ(fw::TWindow::FromHandle(borrowed), nullptr) << "the dead wrapper must be unbound";

    TProbe probe(nullptr);
    ASSERT_TRUE(probe.Attach(borrowed));
    DestroyWindow(host.GetHandle());
    EXPECT_EQ(probe.GetHandle(), nullptr);
}

// A procedure another party hooks in front of a wrapped control, counting what passes through it.
WNDPROC outerPrevious = nullptr;
int outerMessages = 0;
LRESULT CALLBACK OuterHook(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    ++outerMessages;
    return CallWindowProcA(outerPrevious, hwnd, msg, wParam, lParam);
}

TEST(ControlLifetime, AWrapperLetsGoOfAControlHookedAgainAfterItWithoutBreakingTheChain) {
    THost host;
    host.Create();
    HWND button = nullptr;
    {
        TProbe probe(&host);
        probe.Create();
        button = probe.GetHandle();
        outerPrevious =
            reinterpret_cast<WNDPROC>(SetWindowLongPtrA(button, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&OuterHook)));
        EXPECT_EQ(fw::TWindow::FromHandle(button), &probe) << "found behind the other procedure";
        SendMessageA(host.GetHandle(), WM_COMMAND, MAKEWPARAM(TProbe::kId, BN_CLICKED),
                     reinterpret_cast<LPARAM>(button));
        EXPECT_EQ(probe.heard, std::vector<UINT>{WM_COMMAND}) << "still reflected";
    }
    EXPECT_FALSE(IsWindow(button)) << "an owned control goes with its wrapper";

    HWND borrowed = CreateWindowA("BUTTON", "text", WS_CHILD, 0, 0, 10, 10, host.GetHandle(),
                                  reinterpret_cast<HMENU>(TProbe::kId), nullptr, nullptr);
    {
        TProbe probe(nullptr);
        ASSERT_TRUE(probe.Attach(borrowed));
        outerPrevious = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrA(borrowed, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&OuterHook)));
    }
    EXPECT_EQ(fw::TWindow::FromHandle(borrowed), nullptr);
    outerMessages = 0;
    char text[16] = {};
    GetWindowTextA(borrowed, text, sizeof text);
    EXPECT_STREQ(text, "text") << "messages still reach the control through both procedures";
    EXPECT_GT(outerMessages, 0);
    TProbe again(nullptr);
    ASSERT_TRUE(again.Attach(borrowed)) << "a new wrapper takes the control over";
    EXPECT_EQ(fw::TWindow::FromHandle(borrowed), &again);
    DestroyWindow(host.GetHandle());
    EXPECT_EQ(again.GetHandle(), nullptr);
}

TEST(Reflection, EveryKindOfNotificationReachesTheChildInAWindow) {
    THost host;
    host.Create();
    TProbe probe(&host);
    probe.Create();
    EXPECT_EQ(SendEveryNotification(host.GetHandle(), probe.GetHandle()), ExpectedAnswers());
    EXPECT_EQ(probe.heard, kReflected);
}

// The scan progress template serves as any dialog; its Cancel button is borrowed by the probe.
class TProbeDialog : public fw::TDialog {
public:
    TProbeDialog() : TDialog(nullptr, IDD_THREAD), probe(nullptr) {}
    TProbe probe;
    std::vector<LRESULT> answers;
    std::vector<UINT> heardBeforeClose;

protected:
    void SetupWindow() override {
        probe.AttachItem(GetHandle(), IDC_THREAD_CANCEL);
        answers = SendEveryNotification(GetHandle(), probe.GetHandle());
        heardBeforeClose = probe.heard;
        Destroy(IDOK);
    }
};

TEST(Reflection, EveryKindOfNotificationReachesABorrowedControlInADialog) {
    TProbeDialog dialog;
    EXPECT_EQ(dialog.Execute(), IDOK);
    EXPECT_EQ(dialog.answers, ExpectedAnswers());
    EXPECT_EQ(dialog.heardBeforeClose, kReflected);
    EXPECT_EQ(dialog.probe.GetHandle(), nullptr);
}

TEST(Reflection, MenuCommandsAndMenuOwnerDrawAreNotNotifications) {
    EXPECT_EQ(fw::NotificationSender(nullptr, WM_COMMAND, CM_EXIT, 0), nullptr);
    DRAWITEMSTRUCT menuItem{ODT_MENU};
    menuItem.hwndItem = reinterpret_cast<HWND>(0x1234);
    EXPECT_EQ(fw::NotificationSender(nullptr, WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&menuItem)), nullptr);
    EXPECT_EQ(fw::NotificationSender(nullptr, WM_PAINT, 0, 0), nullptr);
}

// Destroys itself when its window is gone, into storage the test watches: any write to the object after
// OnDestroyed shows as a changed byte.
class TSelfDestroying : public fw::TWindow {
public:
    static constexpr unsigned char kFreed = 0xAB;

protected:
    const char* ClassName() const override { return "KelvaranTestSelfDestroying"; }
    void OnDestroyed() override {
        this->~TSelfDestroying();
        std::memset(static_cast<void*>(this), kFreed, sizeof(TSelfDestroying));
    }
};

TEST(WindowLifetime, NothingTouchesAWindowObjectAfterItsLastHook) {
    THost host;
    host.Create();
    alignas(TSelfDestroying) unsigned char storage[sizeof(TSelfDestroying)];
    auto* window = new (storage) TSelfDestroying;
    window->SetParent(&host);
    window->Create();
    DestroyWindow(window->GetHandle());
    EXPECT_TRUE(std::all_of(std::begin(storage), std::end(storage), [](unsigned char byte) {
        return byte == TSelfDestroying::kFreed;
    })) << "the window procedure wrote into the object after OnDestroyed";
}

class TThrowingThread : public fw::TThread {
protected:
    int Run() override { throw std::runtime_error("the worker failed"); }
};

TEST(ThreadFailure, AnExceptionInRunIsHandedToTheOwnerOnce) {
    TThrowingThread thread;
    thread.Start();
    ASSERT_TRUE(thread.WaitForExit(10000));
    EXPECT_EQ(thread.GetStatus(), fw::TThread::Status::Finished);
    EXPECT_EQ(thread.ExitCode(), -1);
    try {
        thread.RethrowFailure();
        ADD_FAILURE() << "the failure was not handed over";
    } catch (const std::runtime_error& error) {
        EXPECT_STREQ(error.what(), "the worker failed");
    }
    EXPECT_NO_THROW(thread.RethrowFailure());
}

// A program reading the plain format gets the text in its ANSI code page (a letter the page lacks turns
// into its stand-in), one reading UTF-16 the exact text; neither sees the program's own UTF-8 bytes.
TEST(Clipboard, OtherProgramsReadTheAnsiTextAsPlainTextAndTheExactTextAsUnicode) {
    THost host;
    host.Create();
    const struct {
        std::string utf8;
        std::wstring wide;
    } cases[] = {
        {"C:\\Data\\", L"C:\\Data\\"},
        {"C:\\Caf\xC3\xA9\\", L"C:\\Caf\u00E9\\"},
        {"D:\\\xE6\x97\xA5\xE6\x9C\xAC\\na\xC3\xAFve", L"D:\\\u65E5\u672C\\na\u00EFve"},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(fw::CopyTextToClipboard(host.GetHandle(), c.utf8)) << c.utf8;
        const test_support::ClipboardTexts read = test_support::ReadClipboard(host.GetHandle());
        EXPECT_EQ(read.unicode, c.wide) << c.utf8;
        ASSERT_NE(read.plainCodePage, static_cast<UINT>(CP_UTF8)) << "the plain text would not differ";
        EXPECT_EQ(read.plain, test_support::InCodePage(c.wide, read.plainCodePage)) << c.utf8;
    }
    // With the usual Western page, an accented letter is one byte and a CJK name is stand-ins.
    const test_support::ClipboardTexts last = test_support::ReadClipboard(host.GetHandle());
    if (last.plainCodePage == 1252) {
        EXPECT_EQ(last.plain, "D:\\??\\na\xEFve");
    }
}

TEST(Dib, HeaderLayout) {
    fw::Dib mono(10, 4, 1);
    ASSERT_TRUE(mono);
    EXPECT_EQ(mono.ColourTableSize(), 2);
    EXPECT_EQ(mono.Padding(), 2);
    fw::Dib rgb(3, -5, 24);
    ASSERT_TRUE(rgb);
    EXPECT_EQ(rgb.Height(), 5);
    EXPECT_EQ(rgb.Padding(), 3);
    EXPECT_EQ(rgb.ColourTableSize(), 0);
    EXPECT_EQ(rgb.Info()->bmiHeader.biHeight, -5);
    EXPECT_NE(rgb.Bits(), nullptr);
    fw::Dib palette(5, 5, 8);
    EXPECT_EQ(palette.ColourTableSize(), 256);
    EXPECT_EQ(palette.Padding(), 3);
}

TEST(Dib, FailureIsShownAndLeavesAnEmptyDib) {
    std::string text, caption;
    UINT flags = 0;
    HWND owner = reinterpret_cast<HWND>(1);
    const fw::Interaction ui{[&](HWND o, const std::string& t, const std::string& c, UINT f) {
        owner = o;
        text = t;
        caption = c;
        flags = f;
        return IDOK;
    }};
    fw::Dib huge(100000, 100000, 32, ui);
    EXPECT_FALSE(huge);
    EXPECT_EQ(huge.Bits(), nullptr);
    EXPECT_EQ(caption, "Dib::Dib failed");
    EXPECT_EQ(owner, nullptr);
    EXPECT_TRUE(flags & MB_ICONERROR);
    ASSERT_FALSE(text.empty());
    EXPECT_EQ(text.find_first_not_of("0123456789"), std::string::npos) << text;
}

}  // namespace
