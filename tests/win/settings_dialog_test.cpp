// The settings dialog and its tip editor on real windows: enabling, the refusals of OK with the focus on
// the offending edit, Help only from its button, the slider and the preview it drives, the colour
// buttons with Cancel and OK, and the editor's symbol list and long templates.
#include "WindowTestSupport.h"
#include "about/Help.h"
#include "fw/Interaction.h"
#include "model/DirInfo.h"
#include "options/ColourChooser.h"
#include "options/TDispOptDlg.h"
#include "options/TTipTextDlg.h"
#include "options/TransWash.h"
#include "pie/TipParser.h"
#include "resource.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <functional>
#include <string>
#include <vector>

namespace {

using test_support::Pixels;

struct Box {
    std::string text, caption;
    UINT flags;
};

options::DispOptData Sample() {
    pie::PieViewSettings pie;
    return options::MakeDispOptData(pie, true, false, true, "C:\\");
}

// What a window paints, drawn into memory (WM_PRINTCLIENT), so that nothing on screen can cover it.
Pixels Printed(HWND window) {
    RECT client{};
    GetClientRect(window, &client);
    fw::ClientDC screen(nullptr);
    fw::MemoryDC dc(CreateCompatibleDC(screen.Get()));
    fw::Bitmap bitmap(CreateCompatibleBitmap(screen.Get(), client.right, client.bottom));
    {
        fw::SelectGuard select(dc.Get(), bitmap.Get());
        SendMessageA(window, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc.Get()), PRF_CLIENT);
    }
    Pixels p;
    p.width = client.right;
    p.height = client.bottom;
    p.data.resize(static_cast<std::size_t>(p.width) * p.height);
    BITMAPINFOHEADER info{sizeof info, p.width, -p.height, 1, 32, BI_RGB};
    GetDIBits(dc.Get(), bitmap.Get(), 0, static_cast<UINT>(p.height), p.data.data(),
              reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS);
    return p;
}

// 0x00RRGGBB, as Pixels holds them.
std::uint32_t Rrggbb(std::uint32_t colorref) {
    return (colorref & 0xFF) << 16 | (colorref & 0xFF00) | (colorref >> 16 & 0xFF);
}

class SettingsDialogTest : public testing::Test {
protected:
    void SetUp() override { InitCommonControls(); }
    void TearDown() override {
        if (dialog && dialog->GetHandle()) DestroyWindow(dialog->GetHandle());
    }
    HWND Open(const options::DispOptData& data) {
        dialog = std::make_unique<options::TDispOptDlg>(nullptr, data, ui);
        dialog->CreateModeless();
        return dialog->GetHandle();
    }
    void Click(int id) { SendMessageA(dialog->Item(id), BM_CLICK, 0, 0); }
    bool Enabled(int id) { return IsWindowEnabled(dialog->Item(id)) != FALSE; }
    // Help requests: handed to the viewer, or refused for want of a help file beside the test.
    std::size_t HelpRequests() const {
        std::size_t missing = 0;
        for (const Box& box : boxes) missing += box.text == "Could not locate help file";
        return helps.size() + missing;
    }

    std::vector<Box> boxes;
    std::vector<std::string> helps;
    const fw::Interaction ui{[this](HWND, const std::string& text, const std::string& caption, UINT flags) {
                                 boxes.push_back({text, caption, flags});
                                 return IDOK;
                             },
                             [this](HWND, const std::string& fileAndTopic) { helps.push_back(fileAndTopic); }};
    std::unique_ptr<options::TDispOptDlg> dialog;
};

TEST_F(SettingsDialogTest, TicksEnableTheTipEditorsAndTheAutoscanFolder) {
    Open(Sample());
    EXPECT_TRUE(Enabled(IDC_SET_EDIT_DIR_TIP));
    EXPECT_TRUE(Enabled(IDC_SET_EDIT_FILE_TIP));
    EXPECT_TRUE(Enabled(IDC_SET_AUTOSCAN_DIR));
    Click(IDC_SET_TIP_INFO);
    EXPECT_FALSE(Enabled(IDC_SET_EDIT_DIR_TIP));
    EXPECT_FALSE(Enabled(IDC_SET_EDIT_FILE_TIP));
    EXPECT_TRUE(Enabled(IDC_SET_AUTOSCAN_DIR));
    Click(IDC_SET_AUTOSCAN);
    EXPECT_FALSE(Enabled(IDC_SET_AUTOSCAN_DIR));
    Click(IDC_SET_TIP_INFO);
    Click(IDC_SET_AUTOSCAN);
    EXPECT_TRUE(Enabled(IDC_SET_EDIT_FILE_TIP));
    EXPECT_TRUE(Enabled(IDC_SET_AUTOSCAN_DIR));

    // Set up unticked: greyed from the start.
    options::DispOptData data = Sample();
    data.autoscan = false;
    data.pie.tipShowsInfo = false;
    DestroyWindow(dialog->GetHandle());
    Open(data);
    EXPECT_FALSE(Enabled(IDC_SET_AUTOSCAN_DIR));
    EXPECT_FALSE(Enabled(IDC_SET_EDIT_DIR_TIP));
}

TEST_F(SettingsDialogTest, ARefusalFocusesAndSelectsTheOffendingEditAndKeepsTheDialogOpen) {
    const struct {
        int edit;
        std::string text;
        const char* message;
    } cases[] = {
        {IDC_SET_CENTRE, "91", "Central disk radius must be 10..90"},
        {IDC_SET_MIN_VIS, "101", "Maximum size of visible sectors must be 0..100"},
        {IDC_SET_RESIZE_DELAY, "1001", "Resize delay milliseconds must be 0..1000"},
        {IDC_SET_AUTOSCAN_DIR, "   ", "Must specify a directory path."},
        {IDC_SET_AUTOSCAN_DIR, "C:\\" + std::string(258, 'a'),
         "The autoscan directory path must be at most 260 characters."},
    };
    for (const auto& c : cases) {
        HWND window = Open(Sample());
        dialog->SetItemText(c.edit, c.text);
        boxes.clear();
        SendMessageA(window, WM_COMMAND, IDOK, 0);
        ASSERT_TRUE(IsWindow(window)) << c.message;
        ASSERT_EQ(boxes.size(), 1u) << c.message;
        EXPECT_EQ(boxes[0].text, c.message);
        EXPECT_EQ(boxes[0].caption, "Range Error");
        EXPECT_EQ(boxes[0].flags & MB_ICONMASK, static_cast<UINT>(MB_ICONSTOP));
        HWND edit = dialog->Item(c.edit);
        EXPECT_EQ(GetFocus(), edit) << c.message;
        DWORD start = 1, end = 0;
        SendMessageA(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
        EXPECT_EQ(start, 0u) << c.message;
        EXPECT_EQ(end, static_cast<DWORD>(c.text.size())) << c.message;
        DestroyWindow(window);
    }
}

// Each colouring method opens on its own button and comes back from it; Type-encoded is the fifth.
TEST_F(SettingsDialogTest, EveryColouringMethodHasItsButton) {
    const std::pair<pie::ColourMethod, int> buttons[] = {{pie::kFixedColour, IDC_SET_CLR_FIXED},
                                                         {pie::kSizeEncoded, IDC_SET_CLR_SIZE},
                                                         {pie::kRainbowWash, IDC_SET_CLR_RAINBOW},
                                                         {pie::kNameEncoded, IDC_SET_CLR_NAME},
                                                         {pie::kTypeEncoded, IDC_SET_CLR_TYPE}};
    for (const auto& [method, button] : buttons) {
        options::DispOptData data = Sample();
        data.pie.colourMethod = method;
        HWND window = Open(data);
        for (const auto& [other, otherButton] : buttons)
            EXPECT_EQ(IsDlgButtonChecked(window, otherButton), other == method ? BST_CHECKED : BST_UNCHECKED) << method;
        SendMessageA(window, WM_COMMAND, IDOK, 0);
        EXPECT_EQ(dialog->Data().pie.colourMethod, method);
    }
    HWND window = Open(Sample());
    Click(IDC_SET_CLR_TYPE);
    EXPECT_EQ(IsDlgButtonChecked(window, IDC_SET_CLR_SIZE), BST_UNCHECKED);  // one group with the other four
    SendMessageA(window, WM_COMMAND, IDOK, 0);
    EXPECT_EQ(dialog->Data().pie.colourMethod, pie::kTypeEncoded);
}

TEST_F(SettingsDialogTest, OkReadsEveryControlAndCleansTheFolder) {
    HWND window = Open(Sample());
    dialog->SetItemText(IDC_SET_CENTRE, "90");
    dialog->SetItemText(IDC_SET_MIN_VIS, "0");
    dialog->SetItemText(IDC_SET_RESIZE_DELAY, "");
    dialog->SetItemText(IDC_SET_AUTOSCAN_DIR, "  d ");
    Click(IDC_SET_CLR_RAINBOW);
    Click(IDC_SET_SORT_NAME);
    Click(IDC_SET_GROUP_DIRS);
    Click(IDC_SET_LARGE_TOOLBAR);
    Click(IDC_SET_DIALOG_LOOK);
    Click(IDC_SET_TIP_NAME);
    SendMessageA(window, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(boxes.empty());
    EXPECT_FALSE(IsWindow(window));
    const options::DispOptData& d = dialog->Data();
    EXPECT_EQ(d.pie.centreRatio, 0.9);
    EXPECT_EQ(d.pie.minimumVisibleSize, 0);
    EXPECT_EQ(d.pie.resizeDelay, 0);
    EXPECT_EQ(d.autoscanFolder, "d:\\");
    EXPECT_EQ(d.pie.colourMethod, pie::kRainbowWash);
    EXPECT_EQ(d.pie.sortOrder, pie::kByName);
    EXPECT_FALSE(d.pie.groupFolders);
    EXPECT_TRUE(d.largeToolbar);
    EXPECT_FALSE(d.dialogLook);
    EXPECT_FALSE(d.pie.tipShowsName);
    EXPECT_TRUE(d.pie.tipShowsInfo);
}

// A folder outside ASCII as the edit gives it back: counted in characters, kept whole; one already kept
// that is longer than the dialog takes survives an OK for another change.
TEST_F(SettingsDialogTest, OkKeepsAFolderOutsideAsciiWholeAndALongKeptOneAsItWas) {
    std::string cjk;
    for (int i = 0; i < 100; ++i) cjk += "\xE6\x97\xA5";
    const std::string typed = "C:\\" + cjk + "\\";  // 104 characters, 304 bytes
    std::string kept = "D:\\";
    for (int i = 0; i < 3; ++i) kept += std::string(100, 'k') + "\xE6\x97\xA5\\";  // 307 characters
    const struct {
        std::string start, typed, expected;
    } cases[] = {
        {"C:\\", typed, typed}, {kept, "", kept},  // untouched: only the centre size changes
    };
    for (const auto& c : cases) {
        options::DispOptData data = Sample();
        data.autoscanFolder = c.start;
        HWND window = Open(data);
        EXPECT_EQ(dialog->GetItemText(IDC_SET_AUTOSCAN_DIR), c.start) << "shown whole";
        if (!c.typed.empty()) dialog->SetItemText(IDC_SET_AUTOSCAN_DIR, c.typed);
        dialog->SetItemText(IDC_SET_CENTRE, "40");
        boxes.clear();
        SendMessageA(window, WM_COMMAND, IDOK, 0);
        EXPECT_TRUE(boxes.empty()) << (boxes.empty() ? "" : boxes[0].text);
        EXPECT_FALSE(IsWindow(window));
        EXPECT_EQ(dialog->Data().autoscanFolder, c.expected);
        EXPECT_EQ(dialog->Data().pie.centreRatio, 0.4);
    }
}

TEST_F(SettingsDialogTest, TypingInTheCentralDiskSizeNeverOpensHelpAndTheHelpButtonDoes) {
    HWND window = Open(Sample());
    HWND edit = dialog->Item(IDC_SET_CENTRE);
    ASSERT_NE(dialog->HelpButton(), nullptr);
    ASSERT_NE(dialog->HelpButton(), edit);
    SetFocus(edit);
    SendMessageA(edit, EM_SETSEL, 0, -1);
    for (char c : std::string("45")) SendMessageA(edit, WM_CHAR, static_cast<WPARAM>(c), 1);
    SetWindowTextA(edit, "50");
    SetFocus(dialog->Item(IDC_SET_MIN_VIS));
    SetFocus(edit);
    EXPECT_EQ(dialog->GetItemText(IDC_SET_CENTRE), "50");
    EXPECT_EQ(HelpRequests(), 0u);

    SendMessageA(dialog->HelpButton(), BM_CLICK, 0, 0);
    EXPECT_EQ(HelpRequests(), 1u);
    for (const std::string& shown : helps) EXPECT_EQ(shown.substr(shown.size() - 13), "::/setdlg.htm");
    EXPECT_TRUE(IsWindow(window));
}

TEST_F(SettingsDialogTest, SliderRunsFromSolidAtTheTopToInvisibleAtTheBottomAndThePreviewFollows) {
    options::DispOptData data = Sample();
    data.pie.tipTransparency = 64;
    HWND window = Open(data);
    HWND slider = dialog->Item(IDC_SET_TRANSPARENCY);
    EXPECT_EQ(SendMessageA(slider, TBM_GETRANGEMIN, 0, 0), 0);
    EXPECT_EQ(SendMessageA(slider, TBM_GETRANGEMAX, 0, 0), 255);
    EXPECT_EQ(SendMessageA(slider, TBM_GETPOS, 0, 0), 64);
    EXPECT_TRUE(GetWindowLongA(slider, GWL_STYLE) & TBS_VERT);

    options::TTransPreview* preview = dialog->Preview();
    ASSERT_NE(preview, nullptr);
    RECT placeholder{}, shown{};
    GetWindowRect(dialog->Item(IDC_SET_PREVIEW), &placeholder);
    GetWindowRect(preview->GetHandle(), &shown);
    EXPECT_TRUE(EqualRect(&placeholder, &shown));

    const Pixels before = Printed(preview->GetHandle());
    const int x = before.width / 2, y = before.height / 2;
    const std::uint32_t tip = Rrggbb(GetSysColor(COLOR_INFOBK));
    const std::uint32_t wash = Rrggbb(options::WashColour(x, y, before.width, before.height));
    auto blend = [&](int t) {
        std::uint32_t out = 0;
        for (int shift : {0, 8, 16}) {
            const std::uint32_t p = wash >> shift & 0xFF, q = tip >> shift & 0xFF;
            out |= (p == q ? p : (t * p + (255 - t) * q) / 255) << shift;
        }
        return out;
    };
    EXPECT_EQ(before.At(x, y), blend(64));

    // Home and End are the two ends; a drag reports every position it passes.
    SendMessageA(slider, WM_KEYDOWN, VK_HOME, 0);
    EXPECT_EQ(preview->Transparency(), 0);
    EXPECT_EQ(Printed(preview->GetHandle()).At(x, y), tip);
    RECT thumbTop{};
    SendMessageA(slider, TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&thumbTop));

    SendMessageA(slider, TBM_SETPOS, TRUE, 128);
    SendMessageA(window, WM_VSCROLL, MAKEWPARAM(TB_THUMBTRACK, 128), reinterpret_cast<LPARAM>(slider));
    EXPECT_EQ(preview->Transparency(), 128);
    EXPECT_EQ(Printed(preview->GetHandle()).At(x, y), blend(128));

    SendMessageA(slider, WM_KEYDOWN, VK_END, 0);
    EXPECT_EQ(preview->Transparency(), 255);
    EXPECT_EQ(Printed(preview->GetHandle()).At(x, y), wash);
    RECT thumbBottom{};
    SendMessageA(slider, TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&thumbBottom));
    EXPECT_LT(thumbTop.top, thumbBottom.top);  // 0 at the top, under "Solid"

    SendMessageA(window, WM_COMMAND, IDOK, 0);
    EXPECT_EQ(dialog->Data().pie.tipTransparency, 255);
}

TEST_F(SettingsDialogTest, APreviewWithoutPixelsDrawsNothingAndComplainsOfNothing) {
    Open(Sample());
    options::TTransPreview preview(dialog.get(), RECT{10, 10, 10, 10}, 64);
    preview.Create();
    preview.SetTransparency(200);
    UpdateWindow(preview.GetHandle());
    SendMessageA(preview.GetHandle(), WM_PRINTCLIENT, 0, PRF_CLIENT);
    EXPECT_EQ(preview.Transparency(), 200);
    EXPECT_TRUE(boxes.empty()) << boxes.front().caption;
}

// Runs `script` on the modal dialog once its loop is up.
std::function<void()> modalScript;
void CALLBACK RunModalScript(HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    if (modalScript) modalScript();
}

TEST_F(SettingsDialogTest, AChosenColourShowsOnItsButtonAndOnlyOkKeepsIt) {
    std::vector<std::uint32_t> offered;
    HWND chooserOwner = nullptr;
    const options::ColourChooser chooser = [&](HWND owner, std::uint32_t initial) -> std::optional<std::uint32_t> {
        offered.push_back(initial);
        chooserOwner = owner;
        return RGB(10, 200, 30);
    };
    const options::DispOptData original = Sample();
    for (int closing : {WM_CLOSE, IDOK}) {  // Cancel is WM_CLOSE's own path
        options::DispOptData data = original;
        HWND seen = nullptr;
        std::uint32_t painted = 0;
        modalScript = [&] {
            seen = FindWindowA("#32770", "Settings");
            if (!seen) return;
            HWND button = GetDlgItem(seen, IDC_SET_FIXED_CLR);
            SendMessageA(button, BM_CLICK, 0, 0);
            const Pixels p = Printed(button);
            painted = p.At(p.width / 2, p.height / 2);
            if (closing == WM_CLOSE)
                SendMessageA(seen, WM_CLOSE, 0, 0);
            else
                SendMessageA(seen, WM_COMMAND, static_cast<WPARAM>(closing), 0);
        };
        SetTimer(nullptr, 0, 50, RunModalScript);
        const bool ok = options::EditSettings(nullptr, data, ui, chooser);
        ASSERT_NE(seen, nullptr);
        EXPECT_EQ(chooserOwner, seen);
        EXPECT_EQ(painted, Rrggbb(RGB(10, 200, 30)));
        EXPECT_EQ(ok, closing == IDOK);
        EXPECT_EQ(data.pie.fixedColour, closing == IDOK ? RGB(10, 200, 30) : original.pie.fixedColour) << closing;
    }
    EXPECT_EQ(offered, std::vector<std::uint32_t>(2, original.pie.fixedColour));
    modalScript = nullptr;
}

TEST(TipTextDlg, ListsTheSymbolsInsertsOneAtTheCaretAndKeepsALongTemplateWhole) {
    const std::string longText = std::string(1500, 'x');
    options::TTipTextDlg editor(nullptr, longText, &pie::TipParser<model::DirInfo>::EditorTexts);
    editor.CreateModeless();
    HWND list = editor.Item(IDC_TIP_SYMBOLS);
    const auto texts = pie::TipParser<model::DirInfo>::EditorTexts();
    ASSERT_EQ(SendMessageA(list, LB_GETCOUNT, 0, 0), static_cast<LRESULT>(texts.size()));
    char first[64] = {};
    SendMessageA(list, LB_GETTEXT, 0, reinterpret_cast<LPARAM>(first));
    EXPECT_STREQ(first, "#DSIZE -- Deep logical size");
    EXPECT_EQ(editor.Symbols().front(), "#DSIZE");
    EXPECT_TRUE(editor.GetItemText(IDC_TIP_TEXT) == longText);

    // An untouched OK keeps all 1,500 characters.
    SendMessageA(editor.GetHandle(), WM_COMMAND, IDOK, 0);
    EXPECT_EQ(editor.Text().size(), longText.size());
    EXPECT_TRUE(editor.Text() == longText);

    options::TTipTextDlg files(nullptr, "ab: ", &pie::TipParser<model::FileInfo>::EditorTexts);
    files.CreateModeless();
    HWND edit = files.Item(IDC_TIP_TEXT);
    HWND fileList = files.Item(IDC_TIP_SYMBOLS);
    SendMessageA(edit, EM_SETSEL, 2, 3);  // the colon is replaced
    SendMessageA(fileList, LB_SETCURSEL, 1, 0);
    SendMessageA(files.GetHandle(), WM_COMMAND, MAKEWPARAM(IDC_TIP_SYMBOLS, LBN_DBLCLK),
                 reinterpret_cast<LPARAM>(fileList));
    EXPECT_EQ(files.GetItemText(IDC_TIP_TEXT), "ab#ALLOC ");
    SendMessageA(files.GetHandle(), WM_COMMAND, IDCANCEL, 0);
    EXPECT_EQ(files.Text(), "ab: ");
}

}  // namespace
