// Benchmarks of the questions about the tree, on the synthetic tree of 1,000,000 files in 50,000 folders,
// each beside a baseline measured in the same run: the cluster table in one pass against one pass per
// cluster size; the histogram's bins against per-file logarithms into a map; the statistics rankings
// against a walk that builds every candidate's path and keeps a multimap of them; the statistics dialog
// showing 100,000 rows in its owner-data list against filling a plain list with them. Built with
// mingw-w64 and run under Wine (tools/bench.sh info). Usage: info_bench [files folders [goals]]; with
// "goals" only the program's own figures (cluster table, histogram, statistics N = 100, the File Types
// dialog), for large trees.
#include "../common/RootQuery.h"
#include "../common/SyntheticTree.h"
#include "info/ClusterTable.h"
#include "info/SizeHistogram.h"
#include "info/Statistics.h"
#include "info/TClusterDlg.h"
#include "info/TFileTypesDlg.h"
#include "info/TStatisticsDlg.h"
#include "resource.h"

#include <commctrl.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <map>
#include <optional>
#include <string>

namespace {

using Clock = std::chrono::steady_clock;
using model::DirInfo;

double Millis(Clock::time_point since) {
    return std::chrono::duration<double, std::milli>(Clock::now() - since).count();
}

double BestOf(int runs, const std::function<void()>& work) {
    double best = 1e30;
    for (int run = 0; run < runs; ++run) {
        const auto start = Clock::now();
        work();
        best = std::min(best, Millis(start));
    }
    return best;
}

// Baseline: one walk over all files per cluster size.
info::ClusterTable EightPasses(const DirInfo& root, std::uint32_t current) {
    info::ClusterTable table;
    table.currentRow = info::ClusterRowOf(current);
    for (int row = 0; row < info::kClusterRows; ++row) {
        const std::uint32_t c = info::ClusterOfRow(row);
        std::vector<const DirInfo*> pending{&root};
        while (!pending.empty()) {
            const DirInfo* dir = pending.back();
            pending.pop_back();
            for (const model::FileInfo& f : dir->files) {
                const std::uint64_t a = model::AllocatedSize(f.size, c);
                table.used[row] += a;
                table.wasted[row] += a - f.size;
            }
            for (const DirInfo& sub : dir->subdirs) pending.push_back(&sub);
        }
    }
    return table;
}

// Baseline: a map of bins, each file's bin from its logarithm.
std::map<int, int> LogBins(const DirInfo& root, int detail) {
    std::map<int, int> bins;
    for (int k = -1; k < 20 * detail; ++k) bins[k] = 0;
    std::vector<const DirInfo*> pending{&root};
    while (!pending.empty()) {
        const DirInfo* dir = pending.back();
        pending.pop_back();
        for (const model::FileInfo& f : dir->files)
            ++bins[f.size == 0 ? -1 : static_cast<int>(std::log10(static_cast<double>(f.size)) * detail)];
        for (const DirInfo& sub : dir->subdirs) pending.push_back(&sub);
    }
    while (!bins.empty() && std::prev(bins.end())->second == 0) bins.erase(std::prev(bins.end()));
    return bins;
}

// Baseline: every candidate's path built first (one path text per level of the walk), then offered to a
// multimap that keeps the N largest keys.
struct PathFirst {
    std::size_t n;
    std::multimap<std::uint64_t, std::string> held;

    void Offer(std::uint64_t key, std::string path) {
        if (held.size() < n) {
            held.emplace(key, std::move(path));
            return;
        }
        if (key <= held.begin()->first) return;
        while (held.size() >= n) held.erase(held.begin());
        held.emplace(key, std::move(path));
    }
    void LargestFiles(const DirInfo& dir, const std::string& path) {
        for (const model::FileInfo& f : dir.files) Offer(f.size, path + f.name);
        for (const DirInfo& sub : dir.subdirs) LargestFiles(sub, path + sub.name + "\\");
    }
    void LongestPaths(const DirInfo& dir, const std::string& path) {
        for (const DirInfo& sub : dir.subdirs) {
            const std::string own = path + sub.name + "\\";
            Offer(own.size() - 1, own);
            LongestPaths(sub, own);
        }
    }
    std::vector<std::string> Rows() const {
        std::vector<std::string> rows;
        rows.reserve(held.size());
        for (auto it = held.rbegin(); it != held.rend(); ++it) rows.push_back(it->second);
        return rows;
    }
};

class Source : public info::TreeSource {
public:
    explicit Source(const DirInfo& root) : root_(root) {}
    const DirInfo& Root() const override { return root_; }
    std::uint32_t ClusterSize() const override { return 4096; }
    std::string CurrentPath() const override { return root_.name + "\\"; }
    bool NavigateTo(const std::string&, bool) override { return true; }
    void SetClusterSize(std::uint32_t) override {}
    void SetLogicalMode() override {}
    // Ranked once per tree on first use, as the pie does.
    const pie::TypeColours& TypeColours() override {
        if (!colours_) colours_ = pie::TypeColours::OfTree(root_);
        return *colours_;
    }
    void HighlightType(std::optional<std::string>) override {}
    void Watch(model::DocumentObserver&) override {}
    void Unwatch(model::DocumentObserver&) override {}
    void ActOnItems(int, const std::vector<std::string>&) override {}

private:
    const DirInfo& root_;
    std::optional<pie::TypeColours> colours_;
};

void Pump() {
    for (MSG msg; PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE);) DispatchMessageA(&msg);
}

// The dialog as a user meets it: Find with N rows until the list has painted.
double FindShown(info::TStatisticsDlg& dialog, int n) {
    HWND wnd = dialog.GetHandle();
    SetDlgItemTextA(wnd, IDC_STATS_MAX_ITEMS, std::to_string(n).c_str());
    const auto start = Clock::now();
    SendMessageA(wnd, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(wnd, IDOK)));
    UpdateWindow(GetDlgItem(wnd, IDC_STATS_LIST));
    Pump();
    return Millis(start);
}

// The File Types dialog as a user meets it: opened on the whole tree until the list shows the count.
double FileTypesShown(Source& source, std::size_t& types) {
    info::FileTypesChoices remembered;
    remembered.rootScope = true;
    const auto start = Clock::now();
    info::TFileTypesDlg dialog(nullptr, source, remembered);
    dialog.CreateModeless();
    ShowWindow(dialog.GetHandle(), SW_SHOW);
    for (MSG msg; dialog.Counting() && GetMessageA(&msg, nullptr, 0, 0);) DispatchMessageA(&msg);
    UpdateWindow(GetDlgItem(dialog.GetHandle(), IDC_TYPES_LIST));
    Pump();
    types = dialog.List().Size();
    return Millis(start);
}

// Baseline: a plain report list filled with the same rows one by one, then emptied.
void PlainList(const info::StatResults& rows, double& fill, double& clear) {
    HWND list = CreateWindowExA(0, WC_LISTVIEWA, "", WS_OVERLAPPEDWINDOW | LVS_REPORT | WS_VISIBLE, 0, 0, 600, 400,
                                nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    LVCOLUMNA column{LVCF_TEXT | LVCF_WIDTH, 0, 300, const_cast<char*>("Name")};
    SendMessageA(list, LVM_INSERTCOLUMNA, 0, reinterpret_cast<LPARAM>(&column));
    column.pszText = const_cast<char*>("Value");
    SendMessageA(list, LVM_INSERTCOLUMNA, 1, reinterpret_cast<LPARAM>(&column));
    auto start = Clock::now();
    SendMessageA(list, WM_SETREDRAW, FALSE, 0);
    for (std::size_t row = 0; row < rows.rows.size(); ++row) {
        const std::string name = rows.Path(row, false), value = info::ValueText(rows.rows[row].key, rows.fieldWidth);
        LVITEMA item{LVIF_TEXT, static_cast<int>(row), 0, 0, 0, const_cast<char*>(name.c_str())};
        const auto index = SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
        item.iSubItem = 1;
        item.pszText = const_cast<char*>(value.c_str());
        SendMessageA(list, LVM_SETITEMTEXTA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
    }
    SendMessageA(list, WM_SETREDRAW, TRUE, 0);
    UpdateWindow(list);
    Pump();
    fill = Millis(start);
    start = Clock::now();
    SendMessageA(list, WM_SETREDRAW, FALSE, 0);
    SendMessageA(list, LVM_DELETEALLITEMS, 0, 0);
    clear = Millis(start);
    DestroyWindow(list);
}

}  // namespace

int main(int argc, char** argv) {
    const std::size_t files = argc > 2 ? std::strtoul(argv[1], nullptr, 10) : 1000000;
    const std::size_t folders = argc > 2 ? std::strtoul(argv[2], nullptr, 10) : 50000;
    InitCommonControls();
    DirInfo root = bench_tree::BuildTree(files, folders);
    model::RecomputeTotals(root, 4096);
    std::printf("tree: %zu files in %zu folders\n", files, folders);
    if (argc > 3 && std::string(argv[3]) == "goals") {
        info::ClusterTable table;
        const double cluster = BestOf(5, [&] { table = info::ComputeClusterTable(root, 4096); });
        const bool same = table.used == EightPasses(root, 4096).used;
        std::printf("cluster table: %.1f ms (totals %s)\n", cluster,
                    same ? "equal to a pass per cluster size" : "DIFFER");
        for (int detail = 1; detail <= 5; ++detail) {
            info::SizeHistogram histogram;
            const double ms = BestOf(5, [&] { histogram = info::ComputeHistogram(root, detail); });
            std::printf("histogram detail %d: %.1f ms (%zu bars)\n", detail, ms, histogram.bars.size());
        }
        for (const auto& [query, name] :
             {std::pair{info::kLargestFiles, "largest files"}, {info::kLongestPaths, "longest paths"}}) {
            info::StatResults rows;
            const double ms = BestOf(3, [&] { rows = bench_tree::RootQuery(root, query, 100); });
            std::printf("statistics %s N=100: %.1f ms (%zu rows)\n", name, ms, rows.rows.size());
        }
        // The first opening also ranks the tree's types for the list's colour swatches.
        Source source(root);
        for (const char* opening : {"first opening", "opened again"}) {
            std::size_t types = 0;
            const double ms = FileTypesShown(source, types);
            std::printf("file types dialog, %s: %.1f ms (%zu types)\n", opening, ms, types);
        }
        // The same shape named as a disk's files are.
        const DirInfo common = bench_tree::WithCommonNames(root);
        Source commonSource(common);
        std::size_t types = 0;
        const double ms = FileTypesShown(commonSource, types);
        std::printf("file types dialog, the tree with common extensions, first opening: %.1f ms (%zu types)\n", ms,
                    types);
        return 0;
    }

    // Cluster info.
    info::ClusterTable one, eight;
    const double onePass = BestOf(5, [&] { one = info::ComputeClusterTable(root, 4096); });
    const double eightPasses = BestOf(5, [&] { eight = EightPasses(root, 4096); });
    const double open = BestOf(3, [&] {
        info::TClusterDlg dialog(nullptr, root, 4096);
        dialog.CreateModeless();
        DestroyWindow(dialog.GetHandle());
    });
    std::printf(
        "cluster table: one pass %.1f ms vs eight passes %.1f ms, ratio %.2f (totals %s); dialog opened in %.1f ms\n",
        onePass, eightPasses, onePass / eightPasses,
        one.used == eight.used && one.wasted == eight.wasted ? "equal" : "DIFFER", open);

    // Histogram.
    for (int detail = 1; detail <= 5; ++detail) {
        info::SizeHistogram ours;
        std::map<int, int> theirs;
        const double exact = BestOf(5, [&] { ours = info::ComputeHistogram(root, detail); });
        const double logs = BestOf(5, [&] { theirs = LogBins(root, detail); });
        std::printf(
            "histogram detail %d: %.1f ms vs per-file log10 into a map %.1f ms, ratio %.2f (%zu bars vs %zu bins)\n",
            detail, exact, logs, exact / logs, ours.bars.size(), theirs.size());
    }

    // Statistics rankings.
    for (const auto& [query, name] :
         {std::pair{info::kLargestFiles, "largest files"}, {info::kLongestPaths, "longest paths"}}) {
        for (int n : {100, 10000, 100000}) {
            info::StatResults ours;
            PathFirst theirs{static_cast<std::size_t>(n), {}};
            std::vector<std::string> theirRows;
            const double keyFirst = BestOf(3, [&] { ours = bench_tree::RootQuery(root, query, n); });
            const double pathFirst = BestOf(n >= 10000 ? 1 : 3, [&] {
                theirs.held.clear();
                if (query == info::kLargestFiles)
                    theirs.LargestFiles(root, root.name + "\\");
                else
                    theirs.LongestPaths(root, root.name + "\\");
                theirRows = theirs.Rows();
            });
            const bool same = ours.rows.size() == theirRows.size() &&
                              (ours.rows.empty() || ours.Path(ours.rows.size() - 1, true).size() > 0);
            std::printf("statistics %s N=%d: key first %.1f ms vs paths first %.1f ms, ratio %.3f (%zu rows%s)\n", name,
                        n, keyFirst, pathFirst, keyFirst / pathFirst, ours.rows.size(), same ? "" : ", COUNTS DIFFER");
        }
    }

    // The statistics dialog: 100,000 rows shown, then a new Find, then Close; the Close of the same dialog
    // without rows, which is what removing a window from the screen costs here; and the Close of a dialog
    // with 100,000 rows that was never on screen, which is the dialog's own part.
    Source source(root);
    info::StatsChoices choices;
    double shownSmall = 0, shownLarge = 0, again = 0, close = 0, closeEmpty = 0, closeHidden = 0, rows = 0;
    for (int run = 0; run < 3; ++run) {
        const bool withRows = run != 1, visible = run != 2;
        info::TStatisticsDlg dialog(nullptr, source, choices);
        dialog.CreateModeless();
        HWND wnd = dialog.GetHandle();
        if (visible) ShowWindow(wnd, SW_SHOW);
        SendMessageA(GetDlgItem(wnd, IDC_STATS_QUERY), CB_SETCURSEL, info::kLargestFiles, 0);
        CheckRadioButton(wnd, IDC_STATS_ROOT, IDC_STATS_SELECTED, IDC_STATS_ROOT);
        Pump();
        if (!visible) {
            FindShown(dialog, 100000);
        } else if (withRows) {
            shownSmall = FindShown(dialog, 100);
            shownLarge = FindShown(dialog, 100000);
            rows = static_cast<double>(SendMessageA(GetDlgItem(wnd, IDC_STATS_LIST), LVM_GETITEMCOUNT, 0, 0));
            again = FindShown(dialog, 100);
            FindShown(dialog, 100000);
        }
        const auto start = Clock::now();
        DestroyWindow(wnd);
        (run == 0 ? close : run == 1 ? closeEmpty : closeHidden) = Millis(start);
    }
    double fill = 0, clear = 0;
    PlainList(bench_tree::RootQuery(root, info::kLargestFiles, 100000), fill, clear);
    std::printf(
        "statistics dialog: N=100 shown in %.1f ms; N=100,000 shown in %.1f ms (%.0f rows); a new Find %.1f ms; "
        "Close with 100,000 rows %.1f ms vs Close without rows %.1f ms (off screen with 100,000 rows %.1f ms); "
        "a plain list filled with the same rows %.1f ms and emptied %.1f ms\n",
        shownSmall, shownLarge, rows, again, close, closeEmpty, closeHidden, fill, clear);
    return 0;
}
