// The three status bars in a test host window under Wine: their cells and layout, marks by click and
// their "SBar<n>Flags" values, and names outside ASCII drawn as they are.
#include "PartsHost.h"

#include "fw/Utf8.h"

#include <gtest/gtest.h>

namespace {

using partstest::Pump;
using partstest::THost;

model::DirInfo SampleTree() {
    model::DirInfo root = partstest::TreeOf("C:", {"Data\\Old", "Data\\New"});
    model::DirInfo& data = root.subdirs[0];
    data.files = {{"a", 1}, {"b", 5000}};
    data.subdirs[0].files = {{"c", 10000}};
    model::RecomputeTotals(root, 0);
    return root;
}

TEST(StatusBars, StackedRowsOfSixCellsFilledForAFolderAndAFile) {
    THost host(SampleTree());
    host.Open();
    const model::DirInfo& data = host.root.subdirs[0];
    EXPECT_EQ(host.header.Texts(), frame::HeaderCells());
    host.deep.ShowFolder("C:\\Data\\", data, 0);
    host.shallow.ShowFile("b", data.files[1], 0);
    EXPECT_EQ(host.deep.Texts(), (frame::StatusCells{"2", "3", "14.6 KB", "n/a", "n/a", "C:\\Data\\"}));
    EXPECT_EQ(host.shallow.Texts(), (frame::StatusCells{"", "", "4.9 KB", "n/a", "n/a", "b"}));

    // Header above deep above shallow, touching, the shallow one at the bottom.
    RECT client{}, header{}, deep{}, shallow{};
    GetClientRect(host.GetHandle(), &client);
    GetWindowRect(host.header.GetHandle(), &header);
    GetWindowRect(host.deep.GetHandle(), &deep);
    GetWindowRect(host.shallow.GetHandle(), &shallow);
    EXPECT_EQ(header.bottom, deep.top);
    EXPECT_EQ(deep.bottom, shallow.top);
    MapWindowPoints(nullptr, host.GetHandle(), reinterpret_cast<POINT*>(&shallow), 2);
    EXPECT_EQ(shallow.bottom, client.bottom);
    EXPECT_EQ(GetDlgCtrlID(host.header.GetHandle()), IDC_STATUS_HEADER);
    EXPECT_EQ(GetDlgCtrlID(host.shallow.GetHandle()), IDC_STATUS_SHALLOW);

    // Cells of the lowest bar: the counts alike, the sizes alike; 2-pixel gaps, 4 before the name, which
    // takes the rest short of the size grip.
    auto cell = [&](int i) { return host.shallow.Cell(i).Bounds(); };
    EXPECT_EQ(cell(0).right - cell(0).left, cell(1).right - cell(1).left);
    EXPECT_EQ(cell(2).right - cell(2).left, cell(3).right - cell(3).left);
    EXPECT_EQ(cell(2).right - cell(2).left, cell(4).right - cell(4).left);
    for (int i = 0; i < 4; ++i) EXPECT_EQ(cell(i + 1).left - cell(i).right, 2) << i;
    EXPECT_EQ(cell(5).left - cell(4).right, 4);
    RECT bounds{};
    GetClientRect(host.shallow.GetHandle(), &bounds);
    EXPECT_EQ(cell(5).right, bounds.right - GetSystemMetrics(SM_CXVSCROLL));
}

// The data rows describe an item of the tree; once records of the tree went they show nothing until the
// main view shows the next item, never the figures of one that may be gone. The header row stays.
TEST(StatusBars, DataRowsEmptyWhenRecordsOfTheTreeGo) {
    THost host(SampleTree());
    host.Open();
    const model::DirInfo& data = host.root.subdirs[0];
    for (int event = 0; event < 3; ++event) {
        host.deep.ShowFolder("C:\\Data\\", data, 0);
        host.shallow.ShowFile("b", data.files[1], 0);
        model::DocumentObserver& deep = host.deep;
        model::DocumentObserver& shallow = host.shallow;
        for (model::DocumentObserver* bar : {&deep, &shallow}) {
            if (event == 0) bar->TreeReplaced();
            if (event == 1) bar->FolderReplaced("C:\\Data\\");
            if (event == 2) bar->ItemRemoved("C:\\Data\\b", "C:\\Data\\");
        }
        EXPECT_EQ(host.deep.Texts(), frame::StatusCells{}) << event;
        EXPECT_EQ(host.shallow.Texts(), frame::StatusCells{}) << event;
        EXPECT_EQ(host.header.Texts(), frame::HeaderCells()) << event;
    }
}

TEST(StatusBars, MarksAreReadAtSetUpToggledByAClickAndWrittenAtCleanUp) {
    THost host(SampleTree());
    host.settings["SBar2Flags"] = "5";
    host.Open();
    EXPECT_EQ(host.deep.Marks(), (frame::StatusMarks{true, false, true, false, false, false}))
        << "5 marks the Dirs and Size cells";
    EXPECT_EQ(host.header.Marks(), frame::StatusMarks{});

    const RECT files = host.deep.Cell(1).Bounds();
    const RECT dirs = host.deep.Cell(0).Bounds();
    SendMessageA(host.deep.GetHandle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(files.left + 3, files.top + 3));
    SendMessageA(host.deep.GetHandle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(dirs.left + 3, dirs.top + 3));
    UpdateWindow(host.deep.GetHandle());
    EXPECT_EQ(host.deep.Marks(), (frame::StatusMarks{false, true, true, false, false, false}));
    EXPECT_EQ(screentest::ScreenPixel(host.deep.GetHandle(), files.left + 3, files.top + 3), GetSysColor(COLOR_INFOBK))
        << "a marked cell on the tool tip colour";
    EXPECT_EQ(screentest::ScreenPixel(host.deep.GetHandle(), dirs.left + 3, dirs.top + 3), GetSysColor(COLOR_BTNFACE));

    DestroyWindow(host.GetHandle());
    EXPECT_EQ(host.settings["SBar2Flags"], "6");
    EXPECT_EQ(host.settings["SBar1Flags"], "0");
    EXPECT_EQ(host.settings["SBar3Flags"], "0");
}

// Columns of the cell that carry text in the bar's text colour.
std::pair<int, int> InkColumns(HWND bar, const RECT& cell) {
    const screentest::ScreenCapture screen(bar, cell);
    int first = -1, last = -1;
    for (int x = cell.left; x < cell.right; ++x)
        for (int y = cell.top; y < cell.bottom; ++y)
            if (screen.At(x, y) == GetSysColor(COLOR_BTNTEXT)) {
                if (first < 0) first = x;
                last = x;
                break;
            }
    return {first, last};
}

int TextWidth(HWND bar, const std::wstring& text) {
    fw::ClientDC dc(bar);
    fw::SelectGuard font(dc.Get(), reinterpret_cast<HFONT>(SendMessageW(bar, WM_GETFONT, 0, 0)));
    SIZE size{};
    GetTextExtentPoint32W(dc.Get(), text.c_str(), static_cast<int>(text.size()), &size);
    return size.cx;
}

// A system drive holds millions of files: no count or size is ever cut, the widest ones included.
TEST(StatusBars, MillionsOfFilesAndTheLargestSizesShowWhole) {
    THost host(SampleTree());
    host.Open();
    model::DirInfo drive("C:");
    drive.deepDirs = 1'000'000;
    drive.deepFiles = 4'294'967'295u;
    drive.deepSize = 1024ull * 1024 * 1000 - 1;  // "1000.0 MB"
    drive.deepAlloc = UINT64_MAX;                // "16384.0 PB"
    host.deep.ShowFolder("C:\\", drive, 4096);
    const frame::StatusCells texts = host.deep.Texts();
    ASSERT_EQ(texts[1], "4,294,967,295");
    ASSERT_EQ(texts[2], "1000.0 MB");
    ASSERT_EQ(texts[3], "16384.0 PB");
    for (int i = 0; i < 5; ++i) {
        const RECT cell = host.deep.Cell(i).Bounds();
        const int room = cell.right - cell.left - 2 * (1 + 3);  // the recessed edge and the margins
        EXPECT_LE(TextWidth(host.deep.GetHandle(), fw::Utf8ToWide(texts[static_cast<std::size_t>(i)])), room)
            << texts[static_cast<std::size_t>(i)];
    }
    UpdateWindow(host.deep.GetHandle());
    EXPECT_TRUE(screentest::SaveScreenshot(host.GetHandle(), "status-bars-millions.bmp"));
}

TEST(StatusBars, NamesOutsideAsciiShowAsTheyAre) {
    THost host(SampleTree());
    host.Open();
    const std::string name = "C:\\Größe\\Фото\\";
    host.deep.ShowFolder(name, host.root.subdirs[0], 0);
    UpdateWindow(host.deep.GetHandle());
    const auto [first, last] = InkColumns(host.deep.GetHandle(), host.deep.Cell(5).Bounds());
    ASSERT_GE(first, 0) << "no text drawn";
    const int drawn = last - first + 1;
    const int expected = TextWidth(host.deep.GetHandle(), fw::Utf8ToWide(name));
    // The same bytes read in a Western code page would be drawn as "GrÃ¶ÃŸe" and so on: much wider.
    wchar_t misread[64] = {};
    MultiByteToWideChar(1252, 0, name.c_str(), -1, misread, 64);
    ASSERT_GT(TextWidth(host.deep.GetHandle(), misread) - expected, 10) << "the check tells the two apart";
    EXPECT_NEAR(drawn, expected, 3);
}

}  // namespace
