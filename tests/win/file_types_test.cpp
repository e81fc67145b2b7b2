// The file types dialog with the program's main view on a scanned temporary tree of known types: its list
// against the tree, sorting by a header click, Copy, a type shown in the pie (pixels on the screen) and in
// the status row, the scope following navigation, and the highlight ending when nothing is selected or the
// dialog closes. Screenshots of the dialog and of the pie by type and highlighted.
#include "ScanTestTree.h"
#include "Screen.h"
#include "StatusRows.h"
#include "WindowTestSupport.h"
#include "frame/TDiskView.h"
#include "fw/TFrameWindow.h"
#include "fw/Utf8.h"
#include "info/FileTypeList.h"
#include "model/SizeText.h"
#include "pie/TPieView.h"
#include "resource.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <chrono>
#include <map>
#include <string>
#include <vector>

namespace {

using namespace std::chrono_literals;

class TViewFrame : public fw::TFrameWindow {
public:
    explicit TViewFrame(std::unique_ptr<frame::TDiskView> view) : TFrameWindow("Kelvaran test", std::move(view)) {
        SetInitialRect(0, 0, 900, 560);
    }
    frame::TDiskView& View() const { return *static_cast<frame::TDiskView*>(GetClient()); }
};

std::string Text(HWND window) {
    char text[512] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
}

std::string Cell(HWND list, int row, int column) {
    char buffer[256] = {};
    LVITEMA item{};
    item.iSubItem = column;
    item.pszText = buffer;
    item.cchTextMax = sizeof buffer;
    SendMessageA(list, LVM_GETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
    return buffer;
}

std::vector<std::string> Column(HWND list, int column) {
    std::vector<std::string> texts;
    const int rows = static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
    for (int row = 0; row < rows; ++row) texts.push_back(Cell(list, row, column));
    return texts;
}

std::vector<int> Selected(HWND list) {
    std::vector<int> rows;
    for (int row = -1;
         (row = static_cast<int>(SendMessageA(list, LVM_GETNEXTITEM, static_cast<WPARAM>(row), LVNI_SELECTED))) >= 0;)
        rows.push_back(row);
    return rows;
}

// A press and release of the left button at a client point of a control, as the mouse would send them.
void ClickAt(HWND window, POINT at, bool twice = false) {
    const LPARAM where = MAKELPARAM(at.x, at.y);
    PostMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, where);
    PostMessageA(window, WM_LBUTTONUP, 0, where);
    if (twice) {
        PostMessageA(window, WM_LBUTTONDBLCLK, MK_LBUTTON, where);
        PostMessageA(window, WM_LBUTTONUP, 0, where);
    }
    test_support::Pump(100ms);
}

void ClickHeader(HWND list, int column) {
    HWND header = ListView_GetHeader(list);
    RECT r{};
    SendMessageA(header, HDM_GETITEMRECT, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&r));
    ClickAt(header, {(r.left + r.right) / 2, (r.top + r.bottom) / 2});
}

void DoubleClickRow(HWND list, int row) {
    RECT r{};
    r.left = LVIR_LABEL;
    SendMessageA(list, LVM_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&r));
    ClickAt(list, {(r.left + r.right) / 2, (r.top + r.bottom) / 2}, true);
}

// How many pixels of the pie on the screen have each of the given colours.
std::map<COLORREF, int> CountColours(HWND pie, const std::vector<COLORREF>& colours) {
    test_support::Pump(50ms);  // the pie paints what it rendered
    const test_support::Pixels shown = test_support::CaptureClient(pie);
    std::map<COLORREF, int> counts;
    for (COLORREF colour : colours) counts[colour] = 0;
    for (std::uint32_t pixel : shown.data) {
        const COLORREF colour = RGB((pixel >> 16) & 0xFF, (pixel >> 8) & 0xFF, pixel & 0xFF);
        if (auto found = counts.find(colour); found != counts.end()) ++found->second;
    }
    return counts;
}

TEST(FileTypesDialog, ListsTheTypesSortsCopiesAndShowsATypeInThePieAndTheStatusRow) {
    scantest::TempTree disk;
    for (const char* folder : {"Photos", "Photos\\2026", "Music", "Docs"}) disk.Dir(folder);
    const std::pair<const char*, std::uint64_t> files[] = {
        {"Photos\\a.jpg", 3000000},  {"Photos\\b.JPG", 1000000}, {"Photos\\2026\\c.png", 500000},
        {"Music\\d.ogg", 1500000},   {"Music\\e.ogg", 700000},   {"Docs\\f.pdf", 800000},
        {"Docs\\README", 90000},     {"notes.txt", 5000},        {".gitignore", 100},
        {"archive.tar.gz", 2000000},
    };
    for (const auto& [name, size] : files) disk.File(name, size);

    test_support::StatusRows rows;
    frame::TMyStatusData& deep = rows.deep;
    frame::TMyStatusData& shallow = rows.shallow;
    TViewFrame frame(std::make_unique<frame::TDiskView>());
    frame::TDiskView& view = frame.View();
    view.SetStatusBars(&deep, &shallow);
    frame.Create();
    ShowWindow(frame.GetHandle(), SW_SHOWNA);
    ASSERT_TRUE(view.ScanRoot(disk.Root() + "\\", false, true));
    const std::string root = disk.Root() + "\\";
    const std::uint32_t cluster = view.ClusterSize();
    pie::TPieView& pie = *view.Pie();
    const pie::ColourMethod storedMethod = pie.Settings().colourMethod;
    pie.Settings().colourMethod = pie::kTypeEncoded;
    pie.FollowFrame();

    SendMessageA(view.GetHandle(), WM_COMMAND, CM_FILE_TYPES, 0);
    HWND dialog = FindWindowA("#32770", "File Types");
    ASSERT_TRUE(dialog);
    // Below the main window, so that the pie stays in sight and the dialog on the screen.
    SetWindowPos(dialog, nullptr, 0, 570, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    HWND list = GetDlgItem(dialog, IDC_TYPES_LIST);
    HWND scope = GetDlgItem(dialog, IDC_TYPES_SCOPE_TEXT);
    const auto counted = [&] { return Text(scope).find("counting") == std::string::npos; };
    ASSERT_TRUE(test_support::PumpUntil(counted, 10s)) << Text(scope);

    // ---- the list against the tree: largest first, with the pie's colours
    EXPECT_EQ(Text(scope), root + " and its subfolders: 10 files, 7 types, 9.2 MB");
    EXPECT_EQ(Column(list, info::kTypeColumn),
              (std::vector<std::string>{"jpg", "ogg", "gz", "pdf", "png", "(no extension)", "txt"}));
    EXPECT_EQ(Column(list, info::kBytesColumn), (std::vector<std::string>{"4,000,000", "2,200,000", "2,000,000",
                                                                          "800,000", "500,000", "90,100", "5,000"}));
    EXPECT_EQ(Column(list, info::kFilesColumn), (std::vector<std::string>{"2", "2", "1", "1", "1", "2", "1"}));
    EXPECT_EQ(Column(list, info::kShareColumn),
              (std::vector<std::string>{"41.7%", "22.9%", "20.8%", "8.3%", "5.2%", "0.9%", "0.1%"}));
    const auto allocated = [cluster](std::initializer_list<std::uint64_t> sizes) {
        std::uint64_t sum = 0;
        for (std::uint64_t size : sizes) sum += model::AllocatedSize(size, cluster);
        return cluster == 0 ? std::string("n/a") : model::FormatCount(sum);
    };
    EXPECT_EQ(Cell(list, 0, info::kAllocatedColumn), allocated({3000000, 1000000}));
    EXPECT_EQ(Cell(list, 5, info::kAllocatedColumn), allocated({90000, 100}));
    const pie::TypeColours& colours = pie.TypeColoursOfTree();
    EXPECT_EQ(colours.Ranked(), (std::vector<std::string>{"jpg", "ogg", "gz", "pdf", "png", "", "txt"}));
    // The swatch of the first row on the screen is the colour of jpg files in the pie.
    RECT swatch{};
    swatch.left = LVIR_BOUNDS;
    SendMessageA(list, LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&swatch));
    test_support::Pump(100ms);
    EXPECT_EQ(screentest::ScreenPixel(list, swatch.left + 12, (swatch.top + swatch.bottom) / 2), colours.OfType("jpg"));
    EXPECT_TRUE(screentest::SaveScreenshot(dialog, "file-types-dialog.bmp"));

    // ---- the pie by type: every large type in its own colour
    const COLORREF jpg = colours.OfType("jpg"), ogg = colours.OfType("ogg"), gz = colours.OfType("gz");
    HWND pieWindow = pie.GetHandle();
    auto counts = CountColours(pieWindow, {jpg, ogg, gz, pie::Faded(ogg)});
    EXPECT_GT(counts[jpg], 100);
    EXPECT_GT(counts[ogg], 100);
    EXPECT_GT(counts[gz], 100);
    EXPECT_EQ(counts[pie::Faded(ogg)], 0);
    EXPECT_TRUE(screentest::SaveScreenshot(pieWindow, "pie-by-type.bmp"));

    // ---- sorting by a click on a header, and back
    ClickHeader(list, info::kFilesColumn);
    EXPECT_EQ(Column(list, info::kTypeColumn),
              (std::vector<std::string>{"(no extension)", "jpg", "ogg", "gz", "pdf", "png", "txt"}));
    ClickHeader(list, info::kFilesColumn);
    EXPECT_EQ(Column(list, info::kTypeColumn),
              (std::vector<std::string>{"gz", "pdf", "png", "txt", "(no extension)", "jpg", "ogg"}));
    ClickHeader(list, info::kBytesColumn);
    ASSERT_EQ(Cell(list, 0, info::kTypeColumn), "jpg");
    EXPECT_EQ(view.DialogData().fileTypes.sortColumn, info::kBytesColumn);

    // ---- Copy: a header line and the selected rows, tab-separated, as Unicode text
    HWND copy = GetDlgItem(dialog, IDC_TYPES_COPY);
    EXPECT_FALSE(IsWindowEnabled(copy));
    for (int row : {0, 1}) ListView_SetItemState(list, row, LVIS_SELECTED, LVIS_SELECTED);
    test_support::Pump(50ms);
    EXPECT_TRUE(IsWindowEnabled(copy));
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_TYPES_COPY, BN_CLICKED), reinterpret_cast<LPARAM>(copy));
    std::string expected = "Type\tBytes\tAllocated\tShare\tFiles\r\n";
    const auto plain = [&](std::initializer_list<std::uint64_t> sizes) {
        std::string text = allocated(sizes);
        std::erase(text, ',');
        return text;
    };
    expected += "jpg\t4000000\t" + plain({3000000, 1000000}) + "\t41.7%\t2\r\n";
    expected += "ogg\t2200000\t" + plain({1500000, 700000}) + "\t22.9%\t2\r\n";
    EXPECT_EQ(test_support::ReadClipboard(dialog).unicode, fw::Utf8ToWide(expected));
    ListView_SetItemState(list, -1, 0, LVIS_SELECTED);

    // ---- a double-click shows jpg in the pie: its files in its colour, everything else faded
    DoubleClickRow(list, 0);
    ASSERT_EQ(pie.HighlightedType(), std::optional<std::string>("jpg"));
    counts = CountColours(pieWindow, {jpg, ogg, gz, pie::Faded(ogg), pie::Faded(gz)});
    EXPECT_GT(counts[jpg], 100);
    EXPECT_EQ(counts[ogg], 0);
    EXPECT_EQ(counts[gz], 0);
    EXPECT_GT(counts[pie::Faded(ogg)], 100);
    EXPECT_GT(counts[pie::Faded(gz)], 100);
    EXPECT_TRUE(screentest::SaveScreenshot(pieWindow, "pie-highlighted.bmp"));
    // The lower status row names jpg's totals in the current folder.
    EXPECT_EQ(shallow.Texts()[5], "Type jpg: 3.8 MB in 2 files");
    EXPECT_EQ(deep.Texts()[5], root);

    // ---- the scope follows navigation, without the navigation waiting for the count
    view.NavigateTo(root + "Music\\", false);
    EXPECT_TRUE(Text(scope).find("counting") != std::string::npos) << Text(scope);
    ASSERT_TRUE(test_support::PumpUntil(counted, 10s)) << Text(scope);
    EXPECT_EQ(Column(list, info::kTypeColumn), (std::vector<std::string>{"ogg"}));
    EXPECT_EQ(Text(scope), root + "Music\\ and its subfolders: 2 files, 1 type, 2.1 MB");
    // jpg stays highlighted, though this folder has none: the status row says so, and ogg is faded.
    EXPECT_EQ(pie.HighlightedType(), std::optional<std::string>("jpg"));
    EXPECT_EQ(shallow.Texts()[5], "Type jpg: 0 bytes in 0 files");
    counts = CountColours(pieWindow, {ogg, pie::Faded(ogg)});
    EXPECT_EQ(counts[ogg], 0);
    EXPECT_GT(counts[pie::Faded(ogg)], 100);
    // Back at the root, the highlighted type's row is selected again.
    view.NavigateTo(root, false);
    ASSERT_TRUE(test_support::PumpUntil(counted, 10s)) << Text(scope);
    EXPECT_EQ(Selected(list), (std::vector<int>{0}));
    // The root scope does not follow.
    SendMessageA(GetDlgItem(dialog, IDC_TYPES_ROOT), BM_CLICK, 0, 0);
    view.NavigateTo(root + "Docs\\", false);
    ASSERT_TRUE(test_support::PumpUntil(counted, 10s)) << Text(scope);
    EXPECT_EQ(Column(list, info::kTypeColumn).size(), 7u);
    EXPECT_TRUE(view.DialogData().fileTypes.rootScope);

    // ---- selecting nothing ends the highlight
    ListView_SetItemState(list, -1, 0, LVIS_SELECTED);
    test_support::Pump(50ms);
    EXPECT_FALSE(pie.HighlightedType());
    EXPECT_EQ(shallow.Texts()[5], "");

    // ---- Enter on a row (the default button) shows it; closing the dialog ends it
    view.NavigateTo(root, false);
    test_support::Pump(50ms);
    ListView_SetItemState(list, 1, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    EXPECT_EQ(pie.HighlightedType(), std::optional<std::string>("ogg"));
    counts = CountColours(pieWindow, {ogg, jpg, pie::Faded(jpg)});
    EXPECT_GT(counts[ogg], 100);
    EXPECT_EQ(counts[jpg], 0);
    EXPECT_GT(counts[pie::Faded(jpg)], 100);
    RECT placed{};
    GetWindowRect(dialog, &placed);
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    test_support::Pump(50ms);
    EXPECT_FALSE(IsWindow(dialog));
    EXPECT_FALSE(pie.HighlightedType());
    EXPECT_EQ(view.DialogData().fileTypes.rect, (fw::Rect{placed.left, placed.top, placed.right, placed.bottom}));

    // The command opens it again with the remembered choices.
    SendMessageA(view.GetHandle(), WM_COMMAND, CM_FILE_TYPES, 0);
    dialog = FindWindowA("#32770", "File Types");
    ASSERT_TRUE(dialog);
    EXPECT_EQ(IsDlgButtonChecked(dialog, IDC_TYPES_ROOT), BST_CHECKED);
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);

    pie.Settings().colourMethod = storedMethod;  // the view writes its settings when it goes
    DestroyWindow(frame.GetHandle());
}

}  // namespace
