// Deleting one file's record from the live tree, run under Wine on a virtual display: the benchmarks'
// synthetic tree of 1,000,000 files in 50,000 folders (fixed seed; other sizes as arguments:
// item_delete_bench [files folders]) in a DiskDocument, the pie view showing
// the root at 1000 x 1000 and at 700 x 700 in a window. For files spread over the tree, one at a time:
//   - DiskDocument::RemoveItem alone (the record out, its ancestors' totals shrunk in place);
//   - RemoveItem with what the main view does when it hears of it: the pie drops what it held, follows the
//     document again and repaints (the whole root, the most the pie ever draws);
// beside the full recomputation of every total (model::RecomputeTotals) measured in the same run, which is
// what the tree would cost without the edit in place. The shell's own delete is not part of it.
#include "WindowTestSupport.h"
#include "common/FakePieHost.h"
#include "common/SyntheticTree.h"

#include "frame/DiskDocument.h"
#include "model/DocumentObserver.h"
#include "pie/PieCanvas.h"
#include "pie/TPieView.h"
#include "resource.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

constexpr std::uint32_t kCluster = 4096;
constexpr int kSide = 1000;
constexpr int kRemovals = 40;

using Clock = std::chrono::steady_clock;
double Ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

struct Times {
    double median, worst;
};
Times Summary(std::vector<double> times) {
    std::sort(times.begin(), times.end());
    return {times[times.size() / 2], times.back()};
}

// What the main view does when the document took a record out: the pie lets go and follows again.
class PieFollower : public model::DocumentObserver {
public:
    explicit PieFollower(pie::TPieView& pie) : pie_(pie) {}
    bool follow = false;
    void TreeReplaced() override {
        pie_.TreeReplaced();
        if (follow) pie_.Refresh();
    }

private:
    pie::TPieView& pie_;
};

// Full paths of files spread over the tree: the first file of every folder that has one, then every
// n-th of them.
std::vector<std::string> SpreadFiles(const model::DirInfo& root, std::size_t count) {
    std::vector<std::string> all;
    std::vector<std::pair<const model::DirInfo*, std::string>> stack{{&root, root.name + "\\"}};
    while (!stack.empty()) {
        const auto [folder, path] = stack.back();
        stack.pop_back();
        if (!folder->files.empty()) all.push_back(path + std::string(folder->files[0].name));
        for (const model::DirInfo& sub : folder->subdirs) stack.push_back({&sub, path + std::string(sub.name) + "\\"});
    }
    std::vector<std::string> chosen;
    const std::size_t step = std::max<std::size_t>(1, all.size() / count);
    for (std::size_t i = 0; i < all.size() && chosen.size() < count; i += step) chosen.push_back(all[i]);
    return chosen;
}

}  // namespace

int main(int argc, char** argv) {
    const std::size_t fileCount = argc > 2 ? std::strtoull(argv[1], nullptr, 10) : 1'000'000;
    const std::size_t folderCount = argc > 2 ? std::strtoull(argv[2], nullptr, 10) : 50'000;
    frame::DiskDocument document("C:", CM_RECENT_ROOT_FIRST);
    document.AdoptTree(bench_tree::BuildTree(fileCount, folderCount), kCluster, true);
    constexpr int kSides[] = {kSide, 700};
    const std::vector<std::string> files = SpreadFiles(document.Root(), 2 * kRemovals * std::size(kSides));

    test_support::HostWindow window(kSide, kSide);
    window.Create();
    test_support::FakePieHost host(document.Root());
    host.clusterSize = kCluster;
    pie::TPieView pie(&window, 102, host);
    pie.Create();
    window.SetChild(pie.GetHandle());
    PieFollower follower(pie);
    document.AddObserver(follower);

    bool ok = true;
    std::size_t next = 0;
    std::printf("item delete bench: %zu files in %zu folders, %d files removed one at a time per pie size\n", fileCount,
                folderCount, 2 * kRemovals);
    for (int side : kSides) {
        window.Resize(side, side + 1);
        window.Resize(side, side);
        test_support::Pump(std::chrono::milliseconds(300));
        pie.Refresh();
        std::vector<double> alone, withPie, refreshOnly, renderOnly;
        pie::PieCanvas canvas;
        canvas.Resize(side, side);
        for (int i = 0; i < kRemovals; ++i) {
            follower.follow = false;
            auto start = Clock::now();
            ok = document.RemoveItem(files[next++]) && ok;
            alone.push_back(Ms(Clock::now() - start));
            pie.Refresh();

            follower.follow = true;
            start = Clock::now();
            ok = document.RemoveItem(files[next++]) && ok;
            withPie.push_back(Ms(Clock::now() - start));

            start = Clock::now();
            pie.Refresh();
            refreshOnly.push_back(Ms(Clock::now() - start));
            start = Clock::now();
            canvas.Rebuild(&document.Root(), host);
            renderOnly.push_back(Ms(Clock::now() - start));
        }
        const Times a = Summary(alone), p = Summary(withPie), f = Summary(refreshOnly), r = Summary(renderOnly);
        std::printf(
            "item delete bench: %d x %d: the record and its ancestors' totals: median %.3f ms, worst %.3f ms; "
            "with the pie's refresh (the root shown): median %.1f ms, worst %.1f ms (goal: at most 20 ms); the "
            "refresh alone %.1f ms, of which rendering into the back buffer %.1f ms\n",
            side, side, a.median, a.worst, p.median, p.worst, f.median, r.median);
    }
    document.RemoveObserver(follower);
    model::DirInfo copy = document.Root();
    std::vector<double> recompute;
    for (int i = 0; i < 7; ++i) {
        const auto start = Clock::now();
        model::RecomputeTotals(copy, kCluster);
        recompute.push_back(Ms(Clock::now() - start));
    }
    // The edits in place must leave what a recomputation gives.
    ok = ok && copy == document.Root();
    const Times r = Summary(recompute);
    std::printf(
        "item delete bench: baseline, full recomputation (model::RecomputeTotals): median %.1f ms, worst %.1f ms%s\n",
        r.median, r.worst, ok ? "" : " (FAILED: a removal was refused or the totals differ from a recomputation)");
    return ok ? 0 : 1;
}
