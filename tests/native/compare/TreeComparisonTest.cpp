#include "compare/TreeComparison.h"

#include "common/PathTree.h"
#include "model/DataFile.h"

#include <gtest/gtest.h>

#include <functional>
#include <limits>

namespace {

using compare::Gone;
using compare::ItemState;
using compare::SizeChange;
using compare::TreeComparison;
using model::DirInfo;
using test_support::PathTree;

constexpr std::uint64_t kMax = std::numeric_limits<std::uint64_t>::max();
constexpr std::uint32_t kCluster = 4096;

// The state of the item at a relative path ("" the root, "A\" a folder, "A\f" a file).
ItemState At(const TreeComparison& comparison, const DirInfo& live, const std::string& path) {
    const auto index = compare::IndexOf(live, path);
    EXPECT_TRUE(index) << path;
    if (!index) return {};
    return path.empty() || path.back() == '\\' ? comparison.Folder(*index) : comparison.File(*index);
}

// Every item of `root` with its relative path, in pre-order.
void ForEachItem(const DirInfo& root, const std::function<void(const std::string&, bool)>& visit) {
    // Pre-order: a folder, its files, then each subfolder whole, as IndexOf counts.
    std::function<void(const DirInfo&, const std::string&)> walk = [&](const DirInfo& dir, const std::string& path) {
        visit(path, true);
        for (const auto& file : dir.files) visit(path + file.name, false);
        for (const auto& sub : dir.subdirs) walk(sub, path + sub.name + "\\");
    };
    walk(root, "");
}

TEST(TreeComparison, IndexFollowsPreOrderAndFindsNamesIgnoringCase) {
    const DirInfo live =
        PathTree("C:", {{"a.txt", 1}, {"Data\\x", 2}, {"Data\\Sub\\y", 3}, {"Data\\z", 4}, {"Other\\w", 5}});
    std::size_t expected = 0;
    ForEachItem(live,
                [&](const std::string& path, bool) { EXPECT_EQ(compare::IndexOf(live, path), expected++) << path; });
    EXPECT_EQ(expected, compare::EntriesIn(live));
    EXPECT_EQ(compare::IndexOf(live, "data\\SUB\\Y"), compare::IndexOf(live, "Data\\Sub\\y"));
    EXPECT_FALSE(compare::IndexOf(live, "Data\\missing\\"));
    EXPECT_FALSE(compare::IndexOf(live, "Data\\missing"));
}

struct Case {
    const char* what;
    DirInfo earlier;
    DirInfo live;
    // path, isNew, earlier size, change of logical size (signed), what went below (folders)
    struct Expect {
        std::string path;
        bool isNew;
        std::uint64_t earlierSize;
        SizeChange change;
        Gone gone;
    };
    std::vector<Expect> expect;
};

SizeChange Up(std::uint64_t amount) { return {amount, false}; }
SizeChange Down(std::uint64_t amount) { return {amount, true}; }

TEST(TreeComparison, MatchesByPathAndCountsWhatIsNewAndGone) {
    std::vector<Case> cases;
    cases.push_back({"names match ignoring ASCII case, other bytes exactly",
                     PathTree("C:", {{"DATA\\Photo.JPG", 10}, {"DATA\\\xC3\x89t\xC3\xA9.txt", 7}}),
                     PathTree("C:", {{"data\\photo.jpg", 15}, {"data\\\xC3\xA9t\xC3\xA9.txt", 7}}),
                     {{"data\\", false, 17, Up(5), {7, 1, 0}},
                      {"data\\photo.jpg", false, 10, Up(5), {}},
                      {"data\\\xC3\xA9t\xC3\xA9.txt", true, 0, Up(7), {}}}});
    cases.push_back({"a renamed folder is gone at its old path and new at its new one",
                     PathTree("C:", {{"Old\\f", 100}, {"Old\\Deep\\g", 5}, {"keep", 1}}),
                     PathTree("C:", {{"New\\f", 100}, {"New\\Deep\\g", 5}, {"keep", 1}}),
                     {{"", false, 106, Up(0), {105, 2, 2}},
                      {"New\\", true, 0, Up(105), {}},
                      {"New\\Deep\\", true, 0, Up(5), {}},
                      {"New\\f", true, 0, Up(100), {}},
                      {"keep", false, 1, Up(0), {}}}});
    cases.push_back({"new and gone counts and bytes add up through the folders",
                     PathTree("C:", {{"A\\a1", 10}, {"A\\a2", 20}, {"A\\B\\b1", 30}, {"A\\B\\C\\c1", 40}, {"A\\E\\"}}),
                     PathTree("C:", {{"A\\a1", 11}, {"A\\B\\b2", 3}, {"A\\D\\d1", 9}}),
                     {{"", false, 100, Down(77), {90, 3, 2}},
                      {"A\\", false, 100, Down(77), {90, 3, 2}},
                      {"A\\a1", false, 10, Up(1), {}},
                      {"A\\B\\", false, 70, Down(67), {70, 2, 1}},
                      {"A\\B\\b2", true, 0, Up(3), {}},
                      {"A\\D\\", true, 0, Up(9), {}}}});
    cases.push_back({"a renamed root still matches the earlier root",
                     PathTree("D:", {{"x", 5}, {"Sub\\y", 6}}),
                     PathTree("E:", {{"x", 5}, {"Sub\\y", 6}}),
                     {{"", false, 11, Up(0), {}}, {"x", false, 5, Up(0), {}}, {"Sub\\", false, 6, Up(0), {}}}});
    cases.push_back({"an empty earlier tree: everything below the root is new",
                     PathTree("C:", {}),
                     PathTree("C:", {{"x", 5}, {"Sub\\y", 6}}),
                     {{"", false, 0, Up(11), {}}, {"x", true, 0, Up(5), {}}, {"Sub\\", true, 0, Up(6), {}}}});
    cases.push_back({"siblings equal ignoring case pair in listing order",
                     PathTree("C:", {{"a", 1}, {"A", 2}}),
                     PathTree("C:", {{"A", 3}, {"a", 4}, {"a", 5}}),
                     {{"", false, 3, Up(9), {}}}});
    cases.push_back({"sizes at the ends of the 64-bit range, both ways",
                     PathTree("C:", {{"grew", 0}, {"fell", kMax}, {"G\\a", kMax / 2 + 1}, {"G\\b", kMax / 2 + 1}}),
                     PathTree("C:", {{"grew", kMax}, {"fell", 0}, {"G\\"}}),
                     {{"grew", false, 0, Up(kMax), {}},
                      {"fell", false, kMax, Down(kMax), {}},
                      {"G\\", false, 0, Up(0), {kMax, 2, 0}}}});

    for (Case& c : cases) {
        SCOPED_TRACE(c.what);
        const TreeComparison comparison(c.live, c.earlier, 0);
        ASSERT_EQ(comparison.EntryCount(), compare::EntriesIn(c.live));
        for (const auto& e : c.expect) {
            SCOPED_TRACE(e.path);
            const auto index = compare::IndexOf(c.live, e.path);
            ASSERT_TRUE(index);
            const bool isDir = e.path.empty() || e.path.back() == '\\';
            const ItemState state = At(comparison, c.live, e.path);
            EXPECT_EQ(state.isNew, e.isNew);
            EXPECT_EQ(state.earlierSize, e.earlierSize);
            EXPECT_EQ(state.gone, e.gone);
            const SizeChange change =
                isDir ? comparison.Change(*index, *model::FindDir(c.live, e.path), model::kLogicalSize, 0)
                      : comparison.Change(*index, *model::FindFileByPath(c.live, c.live.name + "\\" + e.path),
                                          model::kLogicalSize, 0);
            EXPECT_EQ(change, e.change);
        }
    }
}

TEST(TreeComparison, PairsDuplicateNamesOneToOne) {
    const DirInfo earlier = PathTree("C:", {{"a", 1}, {"A", 2}});
    const DirInfo live = PathTree("C:", {{"A", 3}, {"a", 4}, {"a", 5}});
    const TreeComparison comparison(live, earlier, 0);
    // The first "a" of the live list takes the first of the earlier list, the second the second.
    EXPECT_EQ(comparison.File(1).earlierSize, 1u);
    EXPECT_EQ(comparison.File(2).earlierSize, 2u);
    EXPECT_TRUE(comparison.File(3).isNew);
}

TEST(TreeComparison, IdenticalTreesChangeNothing) {
    const DirInfo live = PathTree("C:",
                                  {{"a.txt", 100},
                                   {"Data\\x.bin", 5000},
                                   {"Data\\Photos\\p.jpg", 4097},
                                   {"Data\\empty\\"},
                                   {"Dup\\one", 1},
                                   {"Other\\two", 2}},
                                  kCluster);
    const TreeComparison comparison(live, live, kCluster);
    ForEachItem(live, [&](const std::string& path, bool isDir) {
        SCOPED_TRACE(path);
        const std::size_t index = *compare::IndexOf(live, path);
        const ItemState state = isDir ? comparison.Folder(index) : comparison.File(index);
        EXPECT_FALSE(state.isNew);
        EXPECT_EQ(state.gone, Gone{});
        for (int mode : {model::kLogicalSize, model::kPhysicalSize, model::kWastedSpace}) {
            const SizeChange change =
                isDir ? comparison.Change(index, *model::FindDir(live, path), mode, kCluster)
                      : comparison.Change(index, *model::FindFileByPath(live, "C:\\" + path), mode, kCluster);
            EXPECT_TRUE(change.Zero()) << mode;
        }
    });
}

TEST(TreeComparison, UsesEachTreesOwnClusterSize) {
    const DirInfo earlier = PathTree("C:", {{"f", 1}});
    const DirInfo live = PathTree("C:", {{"f", 1}}, 8192);
    const TreeComparison comparison(live, earlier, 4096);
    EXPECT_EQ(comparison.File(1).earlierAlloc, 4096u);
    EXPECT_EQ(comparison.Change(0, live, model::kPhysicalSize, 8192), Up(4096));
    EXPECT_EQ(comparison.Change(0, live, model::kLogicalSize, 8192), Up(0));
}

TEST(TreeComparison, ADamagedEarlierFileComparesWhatWasRead) {
    const DirInfo tree = PathTree("C:", {{"A\\a1", 10}, {"A\\a2", 20}, {"B\\b1", 30}, {"B\\Deep\\d1", 40}, {"c", 50}});
    std::string bytes;
    ASSERT_TRUE(model::EncodeDataFile(kCluster, tree, bytes));
    DirInfo partial;
    std::uint32_t cluster = 0;
    ASSERT_EQ(model::DecodeDataFile(std::string_view(bytes).substr(0, bytes.size() / 2), partial, cluster),
              model::DecodeResult::kDamaged);
    const TreeComparison comparison(tree, partial, cluster);
    int read = 0, missing = 0;
    ForEachItem(tree, [&](const std::string& path, bool isDir) {
        if (path.empty()) return;
        const bool wasRead =
            isDir ? model::FindDir(partial, path) != nullptr : model::FindFileByPath(partial, "C:\\" + path) != nullptr;
        EXPECT_EQ(At(comparison, tree, path).isNew, !wasRead) << path;
        ++(wasRead ? read : missing);
    });
    EXPECT_GT(read, 0);
    EXPECT_GT(missing, 0);
    // What was read and is still there did not change.
    EXPECT_EQ(comparison.File(*compare::IndexOf(tree, "c")).earlierSize, 50u);
    EXPECT_EQ(comparison.Folder(0).gone, Gone{});
}

TEST(TreeComparison, RematchAfterTheLiveTreeChangedGivesTheSameAsAFreshMatch) {
    const DirInfo earlier = PathTree("C:", {{"A\\a1", 10}, {"A\\B\\b1", 30}, {"c", 50}});
    DirInfo live = PathTree("C:", {{"A\\a1", 12}, {"A\\B\\b1", 30}, {"c", 50}, {"d", 1}});
    TreeComparison comparison(live, earlier, 0);
    live.subdirs[0].subdirs.clear();  // A\B\ went
    model::RecomputeTotals(live, 0);
    comparison.Rematch(live);
    const TreeComparison fresh(live, earlier, 0);
    ASSERT_EQ(comparison.EntryCount(), fresh.EntryCount());
    ForEachItem(live,
                [&](const std::string& path, bool) { EXPECT_EQ(At(comparison, live, path), At(fresh, live, path)); });
    EXPECT_EQ(comparison.Folder(0).gone, (Gone{30, 1, 1}));
}

TEST(TreeComparison, ChangesSaturateOnlyWhereANumberHasToFit) {
    EXPECT_EQ(Up(kMax).Clamped(), std::numeric_limits<std::int64_t>::max());
    EXPECT_EQ(Down(kMax).Clamped(), std::numeric_limits<std::int64_t>::min());
    EXPECT_EQ(Down(5).Clamped(), -5);
    EXPECT_EQ(SizeChange::Between(7, 7), Up(0));
    EXPECT_FALSE(SizeChange::Between(7, 7).shrunk);
    EXPECT_EQ(compare::FormatChange(Up(0)), "0 bytes");
    EXPECT_EQ(compare::FormatChange(Up(13314398618ull)), "+12.4 GB");
    EXPECT_EQ(compare::FormatChange(Down(512)), "-512 bytes");
}

}  // namespace
