// Folder tree benchmark, run under Wine on a virtual display: TTreeStruct::Rebuild of two trees and
// SelectCurrent of a folder 12 levels deep, each the median of several runs, beside the baseline of
// inserting every folder at once in sorted position (the control walking the siblings per item; a
// recursion-free walk), measured in the same run. The folder of 20,000 subfolders is too slow for that
// baseline in full, so its baseline is measured on 2,000 and 5,000 subfolders, where the quadratic growth
// already shows.
//
//   tree  A: 1,000,000 files in 60,000 folders (fixed seed), bushy, with a chain 12 levels down
//   tree  B: a root holding 20,000 subfolders, one of which leads 11 levels further down
//   tree  C: a root holding 1,000,000 empty subfolders: Rebuild, SelectCurrent of the subfolder last in the
//            tree's order, and destroying the tree window, beside the baseline of the same control holding
//            every subfolder as an item (inserted in the tree's order, then destroyed)
//
// `tree_bench wide` measures only tree C; `tree_bench file <data file>` measures Rebuild and SelectCurrent of
// the first folder 12 levels deep on the tree read from a data file (bench/ten-million/run.sh).
#include "PartsHost.h"

#include "frame/SiblingOrder.h"
#include "fw/Utf8.h"
#include "model/DataFile.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr int kRuns = 7;

double Ms(std::chrono::steady_clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

// Best and median of the runs: the machine is shared, and the best run shows the cost without the others.
struct Times {
    double best, median;
};

Times Summary(std::vector<double> times) {
    std::sort(times.begin(), times.end());
    return {times.front(), times[times.size() / 2]};
}

template <class F>
Times Measured(F&& run, int runs = kRuns) {
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        const auto start = std::chrono::steady_clock::now();
        run();
        times.push_back(Ms(std::chrono::steady_clock::now() - start));
    }
    return Summary(times);
}

// Hangs a chain below `from` until the deepest folder is `levels` below the root; returns its path.
std::string Chain(model::DirInfo* from, std::string path, int level, int levels) {
    for (; level < levels; ++level) {
        model::DirInfo& next =
            from->subdirs.empty() ? from->subdirs.emplace_back("chain" + std::to_string(level)) : from->subdirs.back();
        path += next.name + "\\";
        from = &next;
    }
    return path;
}

model::DirInfo BushyTree(std::string& deepPath) {
    constexpr int kFolders = 60'000, kFiles = 1'000'000;
    std::mt19937_64 rng(20240611);
    std::vector<model::DirInfo> dirs(kFolders);
    std::vector<int> parent(kFolders, -1);
    dirs[0].name = "C:";
    for (int i = 1; i < kFolders; ++i) {
        parent[i] = (rng() % 4 == 0) ? static_cast<int>(rng() % static_cast<std::uint64_t>(i)) : (i - 1) / 6;
        dirs[i].name = "Folder " + std::to_string(rng() % 1'000'000);
    }
    std::uniform_int_distribution<int> perFolder(0, 2 * kFiles / kFolders);
    int placed = 0;
    for (int i = 0; i < kFolders && placed < kFiles; ++i) {
        const int count = i == kFolders - 1 ? kFiles - placed : std::min(perFolder(rng), kFiles - placed);
        for (int f = 0; f < count; ++f) dirs[i].files.emplace_back("file" + std::to_string(f) + ".dat", rng() % 100000);
        placed += count;
    }
    for (int i = kFolders - 1; i > 0; --i) dirs[parent[i]].subdirs.push_back(std::move(dirs[i]));
    model::DirInfo root = std::move(dirs[0]);
    deepPath = Chain(&root, "C:\\", 0, 12);
    model::RecomputeTotals(root, 4096);
    return root;
}

model::DirInfo WideFolder(int subfolders, std::string& deepPath) {
    std::mt19937_64 rng(7);
    model::DirInfo root("C:");
    for (int i = 0; i < subfolders; ++i) root.subdirs.emplace_back("Folder " + std::to_string(rng() % 1'000'000));
    model::DirInfo& first = root.subdirs[0];
    deepPath = Chain(&first, "C:\\" + first.name + "\\", 1, 12);
    return root;
}

int Depth(const std::string& path) { return static_cast<int>(std::count(path.begin(), path.end(), '\\')) - 1; }

// The baseline: every folder inserted up front in sorted position, the root expanded.
void EagerRebuild(HWND tree, const model::DirInfo& root) {
    SendMessageW(tree, WM_SETREDRAW, FALSE, 0);
    SendMessageW(tree, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(TVI_ROOT));
    struct Pending {
        const model::DirInfo* dir;
        HTREEITEM parent;
    };
    std::vector<Pending> stack{{&root, TVI_ROOT}};
    HTREEITEM top = nullptr;
    while (!stack.empty()) {
        const Pending p = stack.back();
        stack.pop_back();
        std::wstring text = fw::Utf8ToWide(p.dir->name);
        TVINSERTSTRUCTW insert{};
        insert.hParent = p.parent;
        insert.hInsertAfter = TVI_SORT;
        insert.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_PARAM;
        insert.item.pszText = text.data();
        insert.item.iSelectedImage = 1;
        insert.item.lParam = reinterpret_cast<LPARAM>(p.dir);
        auto item =
            reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&insert)));
        if (!top) top = item;
        for (auto it = p.dir->subdirs.rbegin(); it != p.dir->subdirs.rend(); ++it) stack.push_back({&*it, item});
    }
    SendMessageW(tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(top));
    SendMessageW(tree, WM_SETREDRAW, TRUE, 0);
}

void Measure(const char* name, model::DirInfo root, const std::string& deepPath, bool eager) {
    partstest::THost host(std::move(root));
    host.Open();
    frame::TTreeStruct& tree = host.treeWindow;
    bool ok = true;
    const Times rebuild = Measured([&] { ok = tree.Rebuild() && ok; });
    std::vector<double> selects, paints;
    for (int i = 0; i < kRuns; ++i) {
        host.current = host.root.name + "\\";
        tree.Rebuild();
        partstest::Pump();
        host.current = deepPath;
        auto start = std::chrono::steady_clock::now();
        ok = tree.SelectCurrent() && ok;
        selects.push_back(Ms(std::chrono::steady_clock::now() - start));
        // What the selection left to paint, which the user waits for too.
        start = std::chrono::steady_clock::now();
        UpdateWindow(tree.GetHandle());
        paints.push_back(Ms(std::chrono::steady_clock::now() - start));
    }
    const Times select = Summary(selects), paint = Summary(paints);
    std::printf(
        "tree bench: %s: Rebuild best %.1f ms, median %.1f ms; SelectCurrent %d levels down best %.1f ms, "
        "median %.1f ms, then painted in best %.1f ms, median %.1f ms; items made %d%s\n",
        name, rebuild.best, rebuild.median, Depth(deepPath), select.best, select.median, paint.best, paint.median,
        tree.Count(), ok ? "" : " (FAILED)");
    if (eager) {
        // A control of the same kind in the same place, so the tree window's own items stay as they are.
        RECT place{};
        GetWindowRect(tree.GetHandle(), &place);
        MapWindowPoints(nullptr, host.split.GetHandle(), reinterpret_cast<POINT*>(&place), 2);
        HWND plain = CreateWindowExW(0, WC_TREEVIEWW, L"",
                                     WS_CHILD | WS_VISIBLE | TVS_HASBUTTONS | TVS_HASLINES | TVS_SHOWSELALWAYS,
                                     place.left, place.top, place.right - place.left, place.bottom - place.top,
                                     host.split.GetHandle(), nullptr, nullptr, nullptr);
        const Times baseline = Measured([&] { EagerRebuild(plain, host.root); }, 1);
        std::printf("tree bench: %s: baseline, every folder inserted in sorted position: %.1f ms, items %d\n", name,
                    baseline.best, static_cast<int>(SendMessageW(plain, TVM_GETCOUNT, 0, 0)));
        DestroyWindow(plain);
    }
}

// The baseline of tree C: every subfolder an item, in the tree's sibling order.
void EveryChildInOrder(HWND tree, const model::DirInfo& root) {
    SendMessageW(tree, WM_SETREDRAW, FALSE, 0);
    std::vector<std::wstring> names;
    for (const model::DirInfo& sub : root.subdirs) names.push_back(fw::Utf8ToWide(sub.name));
    TVINSERTSTRUCTW insert{};
    insert.hParent = TVI_ROOT;
    insert.hInsertAfter = TVI_LAST;
    insert.item.mask = TVIF_TEXT | TVIF_PARAM;
    std::wstring rootName = fw::Utf8ToWide(root.name);
    insert.item.pszText = rootName.data();
    insert.hParent =
        reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&insert)));
    for (std::size_t index : frame::SiblingOrder(names)) {
        insert.item.pszText = names[index].data();
        insert.item.lParam = reinterpret_cast<LPARAM>(&root.subdirs[index]);
        SendMessageW(tree, TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&insert));
    }
    SendMessageW(tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(insert.hParent));
    SendMessageW(tree, WM_SETREDRAW, TRUE, 0);
}

void MeasureMillion() {
    constexpr int kSubfolders = 1'000'000;
    model::DirInfo root("C:");
    std::uint64_t state = 20261208;
    char name[16];
    for (int i = 0; i < kSubfolders; ++i) {
        state = state * 6364136223846793005ull + 1442695040888963407ull;
        std::snprintf(name, sizeof name, "%08x", static_cast<unsigned>(state >> 33));
        root.subdirs.emplace_back(name);
    }
    std::string last;
    {
        std::vector<std::wstring> names;
        for (const model::DirInfo& sub : root.subdirs) names.push_back(fw::Utf8ToWide(sub.name));
        last = "C:\\" + root.subdirs[frame::SiblingOrder(names).back()].name + "\\";
    }
    double rebuild = 0, select = 0, destroy = 0;
    int items = 0;
    bool ok = true;
    {
        auto host = std::make_unique<partstest::THost>(std::move(root));
        auto start = std::chrono::steady_clock::now();
        host->Open();  // the tree's set-up builds its items
        rebuild = Ms(std::chrono::steady_clock::now() - start);
        host->current = last;
        start = std::chrono::steady_clock::now();
        ok = host->treeWindow.SelectCurrent();
        select = Ms(std::chrono::steady_clock::now() - start);
        items = host->treeWindow.Count();
        start = std::chrono::steady_clock::now();
        DestroyWindow(host->GetHandle());
        destroy = Ms(std::chrono::steady_clock::now() - start);
        root = std::move(host->root);
    }
    std::printf(
        "tree bench: C, 1,000,000 subfolders: build %.1f ms, SelectCurrent of the last %.1f ms, items made %d, "
        "destroying the window %.1f ms%s\n",
        rebuild, select, items, destroy, ok ? "" : " (FAILED)");
    std::fflush(stdout);
    HWND plain = CreateWindowExW(0, WC_TREEVIEWW, L"", WS_POPUP | WS_VISIBLE | TVS_HASBUTTONS | TVS_HASLINES, 0, 0, 300,
                                 500, nullptr, nullptr, nullptr, nullptr);
    const auto start = std::chrono::steady_clock::now();
    EveryChildInOrder(plain, root);
    const double fill = Ms(std::chrono::steady_clock::now() - start);
    const int plainItems = static_cast<int>(SendMessageW(plain, TVM_GETCOUNT, 0, 0));
    const auto destroying = std::chrono::steady_clock::now();
    DestroyWindow(plain);
    std::printf(
        "tree bench: C, 1,000,000 subfolders: baseline, every subfolder an item in the tree's order: build "
        "%.1f ms, items %d, destroying the window %.1f ms\n",
        fill, plainItems, Ms(std::chrono::steady_clock::now() - destroying));
}

// The path of the first folder, in the file's order, `levels` below the root; empty when there is none.
std::string FirstAtDepth(const model::DirInfo& root, int levels) {
    struct Step {
        const model::DirInfo* dir;
        std::string path;
        int depth;
    };
    std::vector<Step> stack{{&root, root.name + "\\", 0}};
    while (!stack.empty()) {
        Step step = std::move(stack.back());
        stack.pop_back();
        if (step.depth == levels) return step.path;
        for (auto it = step.dir->subdirs.rbegin(); it != step.dir->subdirs.rend(); ++it)
            stack.push_back({&*it, step.path + it->name + "\\", step.depth + 1});
    }
    return {};
}

int MeasureFile(const char* path) {
    model::DirInfo root;
    std::uint32_t cluster = 0;
    if (!model::ReadDataFile(path, root, cluster,
                             [](const std::string& text) { std::fprintf(stderr, "%s\n", text.c_str()); }))
        return 1;
    model::RecomputeTotals(root, cluster);
    const std::string deep = FirstAtDepth(root, 12);
    if (deep.empty()) {
        std::fprintf(stderr, "tree bench: no folder 12 levels down in %s\n", path);
        return 1;
    }
    const std::string name =
        std::to_string(root.deepFiles) + " files in " + std::to_string(root.deepDirs + 1) + " folders";
    Measure(name.c_str(), std::move(root), deep, false);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    frame::LoadCommonControls();
    if (argc > 1 && std::string(argv[1]) == "wide") {
        MeasureMillion();
        return 0;
    }
    if (argc > 2 && std::string(argv[1]) == "file") return MeasureFile(argv[2]);
    std::string deepA, deepB;
    model::DirInfo a = BushyTree(deepA);
    std::printf("tree bench: tree A of %u files in %u folders\n", a.deepFiles, a.deepDirs + 1);
    Measure("A, 60,000 folders", std::move(a), deepA, true);
    Measure("B, 20,000 subfolders", WideFolder(20'000, deepB), deepB, false);
    for (int n : {2'000, 5'000}) {
        std::string deep;
        const std::string name = "B at " + std::to_string(n) + " subfolders";
        Measure(name.c_str(), WideFolder(n, deep), deep, true);
    }
    MeasureMillion();
    return 0;
}
