// The About box (banner drawn at set-up and on paint, links fitted to their texts and opening their
// targets) and the help display (file beside the program, the missing-file message, the topic handed to
// the viewer).
#include "about/Help.h"
#include "about/TAboutDlg.h"
#include "fw/Interaction.h"
#include "resource.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

struct Box {
    std::string text, caption;
    UINT flags;
};

TEST(Help, MissingFileIsReportedThenTheViewerGetsTheFileWithItsTopic) {
    std::vector<Box> boxes;
    std::vector<std::string> shown;
    const fw::Interaction ui{[&](HWND, const std::string& text, const std::string& caption, UINT flags) {
                                 boxes.push_back({text, caption, flags});
                                 return IDOK;
                             },
                             [&](HWND, const std::string& fileAndTopic) { shown.push_back(fileAndTopic); }};

    const std::string module = about::ModulePath();
    ASSERT_NE(module.find("about_help_test.exe"), std::string::npos) << module;
    const std::string help = module.substr(0, module.find_last_of('\\') + 1) + "Kelvaran.chm";
    DeleteFileA(help.c_str());

    about::ShowHelp(nullptr, "::/statdlg.htm", ui);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "Could not locate help file");
    EXPECT_EQ(boxes[0].caption, "Kelvaran");
    EXPECT_TRUE(boxes[0].flags & MB_ICONERROR);
    EXPECT_TRUE(shown.empty());

    HANDLE file = CreateFileA(help.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    CloseHandle(file);
    about::ShowHelp(nullptr, "::/statdlg.htm", ui);
    about::ShowHelp(nullptr, "", ui);
    DeleteFileA(help.c_str());
    about::ShowHelp(nullptr, "::/setdlg.htm", ui);  // found once: still handed over
    EXPECT_EQ(shown, (std::vector<std::string>{help + "::/statdlg.htm", help, help + "::/setdlg.htm"}));
    EXPECT_EQ(boxes.size(), 1u);
}

class AboutTest : public testing::Test {
protected:
    void SetUp() override {
        InitCommonControls();
        dialog.CreateModeless();
    }
    void TearDown() override {
        if (dialog.GetHandle()) DestroyWindow(dialog.GetHandle());
    }
    std::vector<std::string> opened;  // what the links were asked to open
    about::TAboutDlg dialog{nullptr,
                            fw::Interaction{{}, {}, [this](const std::string& target) { opened.push_back(target); }}};
};

TEST_F(AboutTest, TheBannerReplacesItsPlaceholderAndShowsTheWholePictureAtOnce) {
    EXPECT_EQ(dialog.Item(IDC_ABOUT_BANNER), nullptr);
    about::TRotoWnd* banner = dialog.Banner();
    ASSERT_NE(banner, nullptr);
    ASSERT_NE(banner->GetHandle(), nullptr);
    RECT units{0, 0, 188, 56};
    MapDialogRect(dialog.GetHandle(), &units);
    RECT client{};
    GetClientRect(banner->GetHandle(), &client);
    EXPECT_EQ(client.right, units.right);
    EXPECT_EQ(client.bottom, units.bottom);
    EXPECT_EQ(banner->BannerWidth(), 281);
    EXPECT_EQ(banner->BannerHeight(), 106);

    // Upright and whole after set-up: the frame holds the picture itself, row for row.
    const fw::Dib* frame = banner->Frame();
    ASSERT_NE(frame, nullptr);
    HBITMAP bitmap = static_cast<HBITMAP>(
        LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDB_BANNER), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    ASSERT_NE(bitmap, nullptr);
    fw::Dib expected(281, 106, 16);
    HDC screen = GetDC(nullptr);
    HDC from = CreateCompatibleDC(screen), to = CreateCompatibleDC(screen);
    HGDIOBJ oldFrom = SelectObject(from, bitmap), oldTo = SelectObject(to, expected.Handle());
    BitBlt(to, 0, 0, 281, 106, from, 0, 0, SRCCOPY);
    GdiFlush();
    SelectObject(from, oldFrom);
    SelectObject(to, oldTo);
    DeleteDC(from);
    DeleteDC(to);
    ReleaseDC(nullptr, screen);
    DeleteObject(bitmap);
    EXPECT_EQ(std::memcmp(frame->Bits(), expected.Bits(), static_cast<std::size_t>(frame->BytesPerRow()) * 106), 0);

    // Painting copies the frame to the window: the centre of the window is the picture's centre pixel.
    ShowWindow(dialog.GetHandle(), SW_SHOWNORMAL);
    RedrawWindow(banner->GetHandle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    HDC dc = GetDC(banner->GetHandle());
    const COLORREF onScreen = GetPixel(dc, client.right / 2 - 140 + 20, client.bottom / 2 - 53 + 53);
    ReleaseDC(banner->GetHandle(), dc);
    EXPECT_NE(onScreen, GetSysColor(COLOR_3DFACE)) << "the banner area shows no picture";
}

TEST_F(AboutTest, LinksFitTheirTextsAndOpenTheirTargets) {
    struct Case {
        const about::TTVUrlLink& link;
        const char* text;
        const char* target;
    };
    for (const Case& c : {Case{dialog.HomeLink(), "www.tervanic.example", "https://www.tervanic.example/"},
                          Case{dialog.PageLink(), "Kelvaran page", "https://www.tervanic.example/kelvaran/"},
                          Case{dialog.MailLink(), "kelvaran@tervanic.example", "mailto:kelvaran@tervanic.example"}}) {
        HWND wnd = c.link.GetHandle();
        ASSERT_NE(wnd, nullptr);
        char text[100] = {};
        GetWindowTextA(wnd, text, sizeof text);
        EXPECT_STREQ(text, c.text);
        EXPECT_EQ(c.link.GetTarget(), c.target);
        HDC dc = GetDC(wnd);
        HGDIOBJ old = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageA(wnd, WM_GETFONT, 0, 0)));
        SIZE extent{};
        GetTextExtentPoint32A(dc, text, static_cast<int>(std::strlen(text)), &extent);
        SelectObject(dc, old);
        ReleaseDC(wnd, dc);
        RECT r{};
        GetWindowRect(wnd, &r);
        EXPECT_EQ(r.right - r.left, extent.cx) << c.text;
        EXPECT_EQ(r.bottom - r.top, extent.cy) << c.text;
        SendMessageA(wnd, WM_LBUTTONUP, 0, MAKELPARAM(1, 1));
    }
    EXPECT_EQ(opened,
              (std::vector<std::string>{"https://www.tervanic.example/", "https://www.tervanic.example/kelvaran/",
                                        "mailto:kelvaran@tervanic.example"}));
}

}  // namespace
