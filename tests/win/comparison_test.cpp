// A comparison in the program's main view, end to end: a generated tree scanned and written to a data file,
// then changed (files grown, shrunk, added, removed) and scanned again; "Compare With Data File..." through
// its command, the pie in Growth (centre label, red, green and blue segments), a statistics query's rows,
// and the colouring method from before back after "End Comparison" and after a rescan.
#include "BoxWatch.h"
#include "PiePoints.h"
#include "ScanTestTree.h"
#include "StatusRows.h"
#include "WindowTestSupport.h"

#include "compare/TreeComparison.h"
#include "frame/TDiskView.h"
#include "fw/TFrameWindow.h"
#include "info/Statistics.h"
#include "model/DataFile.h"
#include "pie/PieRenderer.h"
#include "pie/TPieView.h"
#include "resource.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using namespace test_support;

class TViewFrame : public fw::TFrameWindow {
public:
    explicit TViewFrame(std::unique_ptr<frame::TDiskView> view) : TFrameWindow("Kelvaran comparison", std::move(view)) {
        SetInitialRect(0, 0, 900, 560);
    }
    frame::TDiskView& View() const { return *static_cast<frame::TDiskView*>(GetClient()); }
};

struct Hues {
    int red = 0, green = 0, blue = 0;
};
Hues CountHues(const Pixels& p) {
    Hues hues;
    for (std::uint32_t pixel : p.data) {
        const int r = (pixel >> 16) & 0xFF, g = (pixel >> 8) & 0xFF, b = pixel & 0xFF;
        if (r > 180 && g < 60 && b < 60) ++hues.red;
        if (g > 140 && r < 100 && b < 100) ++hues.green;
        if (b > 200 && r < 120 && g < 160) ++hues.blue;
    }
    return hues;
}

std::vector<std::string> QueryRows(const frame::TDiskView& view, int query) {
    info::StatsForm form;
    form.maxItems = "10";
    form.rootScope = true;
    form.query = query;
    const info::StatsPlan plan = info::PlanQuery(form, view.Root(), view.ClusterSize(), view.Comparison());
    std::vector<std::string> rows;
    if (plan.problem != info::StatsProblem::kNone) return {info::ProblemText(plan.problem)};
    const info::StatResults results = info::RunQuery(plan, view.ClusterSize(), &view.Root(), view.Comparison());
    for (std::size_t row = 0; row < results.Count(); ++row) {
        const std::string value = results.Value(row);
        rows.push_back(results.Path(row, false) + " " + value.substr(value.find_first_not_of(' ')));
    }
    return rows;
}

TEST(Comparison, CommandShowsGrowthAndEndingItBringsTheMethodBack) {
    SetCursorPos(1270, 1010);
    scantest::TempTree disk;
    for (const char* dir : {"Grow", "Shrink", "Same", "Gone"}) disk.Dir(dir);
    disk.File("Grow\\g.bin", 100000);
    disk.File("Shrink\\s.bin", 200000);
    disk.File("Same\\x.bin", 5000);
    disk.File("Gone\\old.bin", 50000);
    disk.File("keep.txt", 1000);

    test_support::StatusRows rows;
    frame::TMyStatusData& deep = rows.deep;
    frame::TMyStatusData& shallow = rows.shallow;
    TViewFrame frame(std::make_unique<frame::TDiskView>());
    frame::TDiskView& view = frame.View();
    view.SetStatusBars(&deep, &shallow);
    frame.Create();
    ShowWindow(frame.GetHandle(), SW_SHOWNA);
    const std::string root = disk.Root() + "\\";
    ASSERT_TRUE(view.ScanRoot(root, false, true));
    SendMessageA(view.GetHandle(), WM_COMMAND, CM_MODE_LOGICAL, 0);
    view.Pie()->Settings().colourMethod = pie::kRainbowWash;

    scantest::TempTree files;  // the data file lives outside the tree being compared
    const std::string dataFile = files.Path("earlier.klv");
    ASSERT_TRUE(model::WriteDataFile(dataFile, view.ClusterSize(), view.Root(),
                                     [](const std::string& text) { ADD_FAILURE() << text; }));

    disk.File("Grow\\g.bin", 400000);
    disk.File("Shrink\\s.bin", 20000);
    disk.Dir("New");
    disk.File("New\\n.bin", 150000);
    ASSERT_TRUE(DeleteFileW(scantest::Long(disk.Path("Gone\\old.bin")).c_str()));
    ASSERT_TRUE(RemoveDirectoryW(scantest::Long(disk.Path("Gone")).c_str()));
    ASSERT_TRUE(view.ScanRoot(root, false, true));
    EXPECT_FALSE(view.Commands().IsEnabled(CM_END_COMPARISON)) << "nothing to end yet";

    view.SetDataFileChooser([&](HWND) { return std::optional<std::string>(dataFile); });
    {
        test_support::BoxWatch boxes;
        SendMessageA(view.GetHandle(), WM_COMMAND, CM_COMPARE, 0);
        EXPECT_EQ(boxes.Count(), 0) << "a whole file of the same root asks nothing";
    }
    Pump(std::chrono::milliseconds(200));
    ASSERT_NE(view.Comparison(), nullptr);
    EXPECT_TRUE(view.Commands().IsEnabled(CM_END_COMPARISON));
    EXPECT_EQ(view.Pie()->Settings().colourMethod, pie::kGrowth);
    // 356,000 bytes then, 576,000 now.
    EXPECT_EQ(view.Pie()->Renderer().CentreText(), compare::FormatChange({220000, false}));

    // The status rows' name cells carry the change of what they show: the current folder, then the item
    // under the mouse (deep change in the deep row, local change in the shallow row).
    constexpr int kName = frame::kStatusCellCount - 1;
    EXPECT_EQ(deep.Texts()[kName], root + "  (+214.8 KB)");
    EXPECT_EQ(shallow.Texts()[kName], "(0 bytes)") << "keep.txt stayed as it was";
    const auto hover = [&view](const std::string& relative) {
        const POINT at = SegmentMiddle(view.Pie()->Renderer(), relative);
        SendMessageA(view.Pie()->GetHandle(), WM_MOUSEMOVE, MK_CONTROL, MAKELPARAM(at.x, at.y));
    };
    hover("Grow\\");
    EXPECT_EQ(deep.Texts()[kName], root + "  (+293.0 KB)");
    EXPECT_EQ(shallow.Texts()[kName], "Grow\\  (+293.0 KB)");
    hover("Shrink\\s.bin");
    EXPECT_EQ(shallow.Texts()[kName], "Shrink\\s.bin  (-175.8 KB)");
    hover("New\\");
    EXPECT_EQ(shallow.Texts()[kName], "New\\  (new, +146.5 KB)");

    const Pixels pie = CaptureClient(view.Pie()->GetHandle());
    SaveBmp(pie, "comparison-growth.bmp");
    const Hues hues = CountHues(pie);
    EXPECT_GT(hues.red, 200) << "Grow grew";
    EXPECT_GT(hues.green, 200) << "Shrink shrank";
    EXPECT_GT(hues.blue, 200) << "New is new";

    EXPECT_EQ(QueryRows(view, info::kLargestGrowth),
              (std::vector<std::string>{"Grow\\ +300,000", "Grow\\g.bin +300,000", "New\\ +150,000",
                                        "New\\n.bin +150,000"}));
    EXPECT_EQ(QueryRows(view, info::kLargestRemoved), (std::vector<std::string>{"Gone\\ 50,000"}));

    SendMessageA(view.GetHandle(), WM_COMMAND, CM_END_COMPARISON, 0);
    EXPECT_EQ(view.Comparison(), nullptr);
    EXPECT_EQ(view.Pie()->Settings().colourMethod, pie::kRainbowWash);
    EXPECT_FALSE(view.Commands().IsEnabled(CM_END_COMPARISON));
    EXPECT_EQ(view.Pie()->Renderer().CentreText(), disk.Root()) << "the folder's name again";
    EXPECT_EQ(QueryRows(view, info::kLargestGrowth),
              (std::vector<std::string>{info::ProblemText(info::StatsProblem::kNoQuery)}));

    // A rescan ends a comparison too, and the method comes back.
    SendMessageA(view.GetHandle(), WM_COMMAND, CM_COMPARE, 0);
    ASSERT_NE(view.Comparison(), nullptr);
    EXPECT_EQ(view.Pie()->Settings().colourMethod, pie::kGrowth);
    ASSERT_TRUE(view.ScanRoot(root, false, true));
    EXPECT_EQ(view.Comparison(), nullptr);
    EXPECT_EQ(view.Pie()->Settings().colourMethod, pie::kRainbowWash);
    DestroyWindow(frame.GetHandle());
}

}  // namespace
