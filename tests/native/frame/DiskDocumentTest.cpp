#include "frame/DiskDocument.h"

#include "common/PathTree.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <memory>

namespace {

using frame::DiskDocument;
using model::DirInfo;
using test_support::PathTree;

constexpr unsigned kFirstRecentId = 29100;

// As a scan leaves it: logical totals only.
DirInfo Scanned() {
    return PathTree("C:", {{"a.txt", 100},
                           {"Data\\x.bin", 5000},
                           {"Data\\Photos\\p1.jpg", 4097},
                           {"Data\\Photos\\Raw\\r.raw", 1},
                           {"Data2\\z.txt", 7}});
}

DirInfo WithTotals(DirInfo tree, std::uint32_t clusterSize) {
    model::RecomputeTotals(tree, clusterSize);
    return tree;
}

// Everything observers are told, as text.
class Recorder : public model::DocumentObserver {
public:
    std::vector<std::string> events;
    void TreeReplaced() override { events.push_back("tree"); }
    void FolderReplaced(const std::string& folder) override { events.push_back("folder " + folder); }
    void ItemRemoved(const std::string& item, const std::string& folder) override {
        events.push_back("removed " + item + " from " + folder);
    }
    void ComparisonChanged() override { events.push_back("comparison"); }
};

// An observer that drops everything it holds on any event: it hears of each as a whole new tree.
class DropsAll : public model::DocumentObserver {
public:
    int trees = 0;
    void TreeReplaced() override { ++trees; }
};

class Document : public ::testing::Test {
protected:
    Document() { document.AddObserver(recorder); }
    ~Document() override { document.RemoveObserver(recorder); }

    // A scanned tree with 4096-byte clusters, and a walk to C:\Data\Photos\.
    void Load() {
        document.AdoptTree(Scanned(), 4096, true);
        document.NavigateTo("C:\\Data\\");
        document.NavigateTo("C:\\Data\\Photos\\");
        recorder.events.clear();
    }

    DiskDocument document{"D:", kFirstRecentId};
    Recorder recorder;
};

TEST_F(Document, StartsWithAnEmptyRootThatIsCurrent) {
    EXPECT_EQ(document.Root(), DirInfo("D:"));
    EXPECT_EQ(document.ClusterSize(), 0u);
    EXPECT_EQ(document.CurrentPath(), "D:\\");
    EXPECT_EQ(document.GetHistory().Current(), "D:\\");
    EXPECT_TRUE(document.GetHistory().BackEmpty());
    EXPECT_EQ(document.Recent().Count(), 0);
}

TEST_F(Document, AnAdoptedTreeGetsItsTotalsTheRootAndMaybeAFreshHistory) {
    for (bool resetHistory : {true, false}) {
        Load();
        document.AdoptTree(PathTree("E:\\Stuff", {{"s\\t.txt", 3}}), 512, resetHistory);
        EXPECT_EQ(document.Root(), WithTotals(PathTree("E:\\Stuff", {{"s\\t.txt", 3}}), 512));
        EXPECT_EQ(document.Root().deepAlloc, 512u) << "allocated totals computed";
        EXPECT_EQ(document.ClusterSize(), 512u);
        EXPECT_EQ(document.CurrentPath(), "E:\\Stuff\\");
        EXPECT_EQ(recorder.events, (std::vector<std::string>{"tree"}));
        if (resetHistory) {
            EXPECT_EQ(document.GetHistory().Current(), "E:\\Stuff\\");
            EXPECT_TRUE(document.GetHistory().BackEmpty());
        } else {
            // Rescan All keeps the history, which may now name folders the tree no longer has.
            EXPECT_EQ(document.GetHistory().Current(), "C:\\Data\\Photos\\");
            EXPECT_FALSE(document.GetHistory().BackEmpty());
        }
    }
}

TEST_F(Document, AnImportIsReadAsideAndTakenOnlyWhenTheReadSucceeded) {
    struct Case {
        const char* name;
        bool succeeds;
    } cases[] = {{"read", true}, {"not a data file", false}};
    for (const Case& c : cases) {
        Load();
        const DirInfo before = document.Root();
        std::string readPath;
        const bool taken =
            document.Import("Z:\\saved.klv", [&](const std::string& path, DirInfo& tree, std::uint32_t& clusters) {
                readPath = path;
                // Even a reader that fails after it began writing leaves the live tree alone.
                tree = PathTree("F:", {{"f.txt", 70000}});
                clusters = 65536;
                return c.succeeds;
            });
        EXPECT_EQ(taken, c.succeeds) << c.name;
        EXPECT_EQ(document.FromDataFile(), c.succeeds) << "a failed read leaves the scanned tree a scanned one";
        EXPECT_EQ(readPath, "Z:\\saved.klv");
        if (c.succeeds) {
            EXPECT_EQ(document.Root(), WithTotals(PathTree("F:", {{"f.txt", 70000}}), 65536)) << c.name;
            EXPECT_EQ(document.ClusterSize(), 65536u);
            EXPECT_EQ(document.CurrentPath(), "F:\\");
            EXPECT_TRUE(document.GetHistory().BackEmpty());
            EXPECT_EQ(recorder.events, (std::vector<std::string>{"tree"}));
            // A rescan of a folder leaves the rest as read; a new tree of its own is no data file's.
            EXPECT_TRUE(document.ReplaceFolder("F:\\", PathTree("F:", {{"g.txt", 1}}), 65536));
            EXPECT_TRUE(document.FromDataFile());
            document.AdoptTree(Scanned(), 4096, false);
            EXPECT_FALSE(document.FromDataFile());
        } else {
            EXPECT_EQ(document.Root(), before) << c.name;
            EXPECT_EQ(document.ClusterSize(), 4096u);
            EXPECT_EQ(document.CurrentPath(), "C:\\Data\\Photos\\");
            EXPECT_TRUE(recorder.events.empty());
        }
    }
}

TEST_F(Document, ARescannedFolderTakesTheNewContentsAndKeepsItsPlace) {
    struct Case {
        const char* path;
        const char* relative;  // where the contents land in the expected tree; null: nothing changes
    } cases[] = {
        {"C:\\Data\\", "Data\\"},
        {"c:\\DATA\\photos\\", "Data\\Photos\\"},  // letter case of the path does not matter
        {"C:\\", ""},                              // the root: it keeps its name
        {"C:\\Data\\Gone\\", nullptr},
        {"E:\\Data\\", nullptr},  // another root
        {"C:", nullptr},
    };
    for (const Case& c : cases) {
        Load();
        const DirInfo before = document.Root();
        DirInfo rescanned = PathTree("C:\\Whatever\\Full\\Path", {{"new.txt", 10}, {"sub\\deep.txt", 20}});
        rescanned.sortKey = 99;
        const bool replaced = document.ReplaceFolder(c.path, std::move(rescanned), 512);
        EXPECT_EQ(replaced, c.relative != nullptr) << c.path;
        // The current folder and the history stay, even where the current folder went.
        EXPECT_EQ(document.CurrentPath(), "C:\\Data\\Photos\\") << c.path;
        EXPECT_EQ(document.GetHistory().Current(), "C:\\Data\\Photos\\") << c.path;
        if (!c.relative) {
            EXPECT_EQ(document.Root(), before) << c.path;
            EXPECT_EQ(document.ClusterSize(), 4096u) << c.path;
            EXPECT_TRUE(recorder.events.empty()) << c.path;
            continue;
        }
        DirInfo expected = Scanned();
        DirInfo* folder = model::FindDir(expected, c.relative);
        const std::string name = folder->name;
        *folder = PathTree(name, {{"new.txt", 10}, {"sub\\deep.txt", 20}});
        model::RecomputeTotals(expected, 512);
        EXPECT_EQ(document.Root(), expected) << c.path;
        EXPECT_EQ(document.ClusterSize(), 512u);
        EXPECT_EQ(recorder.events, (std::vector<std::string>{std::string("folder ") + c.path}));
    }
}

TEST_F(Document, AClusterSizeRecomputesTheTotalsAndDecidesWhichModesStay) {
    Load();
    for (std::uint32_t clusters : {0u, 512u, 65536u}) {
        document.SetClusterSize(clusters);
        EXPECT_EQ(document.Root(), WithTotals(Scanned(), clusters)) << clusters;
        EXPECT_EQ(document.ClusterSize(), clusters);
    }
    EXPECT_TRUE(recorder.events.empty()) << "no record moved";

    const struct {
        std::uint32_t clusters;
        int mode;
        int allowed;
    } cases[] = {{4096, 0, 0}, {4096, 1, 1}, {4096, 2, 2}, {0, 0, 0},
                 {0, 1, 0},    {0, 2, 0},    {4096, 3, 0}, {4096, -1, 0}};
    for (const auto& c : cases) {
        document.SetClusterSize(c.clusters);
        EXPECT_EQ(document.AllowedMode(static_cast<model::SizeKind>(c.mode)), c.allowed) << c.clusters << " " << c.mode;
    }
}

TEST_F(Document, NavigationMovesTheCurrentFolderThroughTheHistory) {
    Load();
    EXPECT_TRUE(document.Back());
    EXPECT_EQ(document.CurrentPath(), "C:\\Data\\");
    EXPECT_TRUE(document.Back());
    EXPECT_EQ(document.CurrentPath(), "C:\\");
    EXPECT_FALSE(document.Back());
    EXPECT_EQ(document.CurrentPath(), "C:\\");
    EXPECT_FALSE(document.GoParent()) << "the root has none";
    EXPECT_TRUE(document.Forward());
    EXPECT_TRUE(document.Forward());
    EXPECT_FALSE(document.Forward());
    EXPECT_EQ(document.CurrentPath(), "C:\\Data\\Photos\\");
    EXPECT_EQ(document.ParentPath(), "C:\\Data\\");
    EXPECT_TRUE(document.GoParent());
    EXPECT_EQ(document.CurrentPath(), "C:\\Data\\");
    EXPECT_TRUE(document.GetHistory().ForwardEmpty()) << "going to the parent is a new step";
    document.ShowRoot();
    EXPECT_EQ(document.CurrentPath(), "C:\\");
    EXPECT_EQ(document.GetHistory().Current(), "C:\\Data\\") << "the history is not told";
    EXPECT_TRUE(recorder.events.empty());
}

TEST_F(Document, ARemovedItemLeavesExactTotalsAndNoCurrentFolderInsideIt) {
    struct Case {
        const char* item;
        const char* current;  // before the removal
        const char* folder;   // told as the folder that lost the item
        const char* currentAfter;
    } cases[] = {
        {"C:\\a.txt", "C:\\Data\\Photos\\", "C:\\", "C:\\Data\\Photos\\"},
        {"C:\\Data\\x.bin", "C:\\Data\\", "C:\\Data\\", "C:\\Data\\"},
        {"C:\\Data\\Photos\\", "C:\\Data\\Photos\\", "C:\\Data\\", "C:\\Data\\"},       // the current folder
        {"C:\\Data\\", "C:\\Data\\Photos\\Raw\\", "C:\\", "C:\\"},                      // one above it
        {"c:\\data\\PHOTOS\\", "C:\\Data\\Photos\\Raw\\", "c:\\data\\", "c:\\data\\"},  // spelt otherwise
        {"C:\\Data\\", "C:\\Data2\\", "C:\\", "C:\\Data2\\"},                           // a name it begins
        {"C:\\Data\\Photos\\Raw\\", "C:\\Data\\", "C:\\Data\\Photos\\", "C:\\Data\\"},  // below the current
    };
    for (const Case& c : cases) {
        document.AdoptTree(Scanned(), 4096, true);
        document.NavigateTo(c.current);
        recorder.events.clear();
        ASSERT_TRUE(document.RemoveItem(c.item)) << c.item;
        DirInfo expected = document.Root();
        model::RecomputeTotals(expected, 4096);
        EXPECT_EQ(document.Root(), expected) << c.item;
        const std::string item = c.item;
        if (item.back() == '\\')
            EXPECT_EQ(model::FindDirByPath(document.Root(), item), nullptr) << item;
        else
            EXPECT_EQ(model::FindFileByPath(document.Root(), item), nullptr) << item;
        EXPECT_EQ(document.CurrentPath(), c.currentAfter) << c.item;
        EXPECT_EQ(recorder.events, (std::vector<std::string>{std::string("removed ") + c.item + " from " + c.folder}));
        if (std::string(c.current) != c.currentAfter) {
            // The move is a step: Back returns to the removed folder's path, which the views then do not find,
            // as after a rescan that removed it.
            ASSERT_TRUE(document.Back());
            EXPECT_EQ(document.CurrentPath(), c.current);
        }
    }
}

TEST_F(Document, RemovingTheRootOrNothingChangesNothing) {
    Load();
    const DirInfo before = document.Root();
    for (const char* item : {"C:\\", "C:", "", "C:\\Nothing\\", "C:\\Data\\nothing.txt", "E:\\a.txt"}) {
        EXPECT_FALSE(document.RemoveItem(item)) << item;
        EXPECT_EQ(document.Root(), before) << item;
    }
    EXPECT_EQ(document.CurrentPath(), "C:\\Data\\Photos\\");
    EXPECT_TRUE(recorder.events.empty());
}

TEST_F(Document, ChangesAlongAPathTellNobody) {
    Load();
    const model::TotalsDelta delta{1, 0, 4097, 8192};
    EXPECT_TRUE(document.AddToTotals("C:\\Data\\Photos\\", delta, true));
    EXPECT_EQ(document.Root().deepSize, Scanned().deepSize + 4097);
    EXPECT_EQ(model::FindDir(document.Root(), "Data\\Photos\\")->localAlloc, 8192u + 8192u)
        << "p1.jpg's clusters and the new ones";
    EXPECT_FALSE(document.AddToTotals("C:\\Nowhere\\", delta, true));
    EXPECT_FALSE(document.AddToTotals("E:\\", delta, true));
    EXPECT_TRUE(recorder.events.empty());
}

TEST_F(Document, ObserversThatDropEverythingHearOfEveryChangeAsANewTree) {
    DropsAll drops;
    document.AddObserver(drops);
    Load();
    ASSERT_TRUE(document.ReplaceFolder("C:\\Data\\", PathTree("x", {}), 0));
    ASSERT_TRUE(document.RemoveItem("C:\\a.txt"));
    EXPECT_EQ(drops.trees, 3);
    document.RemoveObserver(drops);
    document.AdoptTree(Scanned(), 0, true);
    EXPECT_EQ(drops.trees, 3) << "a removed observer is not told";
}

TEST_F(Document, AnObserverMayLeaveWhileItIsTold) {
    // A dialog that closes as it hears of a new tree; the observers after it are still told.
    class Leaving : public model::DocumentObserver {
    public:
        explicit Leaving(DiskDocument& document) : document_(document) {}
        void TreeReplaced() override { document_.RemoveObserver(*this); }

    private:
        DiskDocument& document_;
    };
    auto leaving = std::make_unique<Leaving>(document);
    document.RemoveObserver(recorder);
    document.AddObserver(*leaving);
    document.AddObserver(recorder);
    document.AdoptTree(Scanned(), 0, true);
    EXPECT_EQ(recorder.events, (std::vector<std::string>{"tree"}));
    leaving.reset();
    document.AdoptTree(Scanned(), 0, true);
    EXPECT_EQ(recorder.events, (std::vector<std::string>{"tree", "tree"}));
}

// Each store opened on the same values, as each opening of the registry key sees the same values.
class SharedStore : public config::SettingsStore {
public:
    using Values = std::map<std::string, std::string, std::less<>>;
    explicit SharedStore(Values& values) : values_(values) {}
    std::string ReadString(std::string_view name, std::string_view fallback) const override {
        const auto it = values_.find(name);
        return it != values_.end() ? it->second : std::string(fallback);
    }
    void WriteString(std::string_view name, std::string_view text) override { values_[std::string(name)] = text; }

private:
    Values& values_;
};

TEST(DocumentRecentRoots, AreReadWhenMadeAndWrittenWhenGone) {
    SharedStore::Values values{{"MruPathCount", "1"}, {"MruPath0", "D:\\Old\\"}};
    auto open = [&values] { return std::make_unique<SharedStore>(values); };
    {
        DiskDocument document("C:", kFirstRecentId, open);
        EXPECT_EQ(document.Recent().Entries(), (std::vector<std::string>{"D:\\Old\\"}));
        document.Recent().Add("E:\\New\\");
        EXPECT_EQ(values.at("MruPathCount"), "1") << "nothing written in between";
    }
    EXPECT_EQ(values.at("MruPathCount"), "2");
    EXPECT_EQ(values.at("MruPath0"), "E:\\New\\");
}

// What a window that borrows from the comparison sees when it is told of a change.
class ComparisonProbe : public model::DocumentObserver {
public:
    explicit ComparisonProbe(const DiskDocument& document) : document_(document) {}
    std::vector<bool> seen;  // whether a comparison was there at each event
    void TreeReplaced() override { seen.push_back(document_.Comparison() != nullptr); }
    void ComparisonChanged() override { seen.push_back(document_.Comparison() != nullptr); }

private:
    const DiskDocument& document_;
};

TEST_F(Document, AComparisonLivesBesideTheTreeUntilEndedOrTheTreeIsReplaced) {
    struct Case {
        const char* name;
        std::function<void(DiskDocument&)> end;
        std::vector<std::string> events;
    } cases[] = {
        {"ended", [](DiskDocument& d) { d.EndComparison(); }, {"comparison"}},
        {"a new tree", [](DiskDocument& d) { d.AdoptTree(Scanned(), 4096, false); }, {"tree"}},
        {"a folder rescan",
         [](DiskDocument& d) {
             d.ReplaceFolder("C:\\Data\\", PathTree("C:\\Data", {{"y", 1}}), 4096);
         },
         {"folder C:\\Data\\"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Load();
        const DirInfo before = document.Root();
        ComparisonProbe probe(document);
        document.AddObserver(probe);
        document.StartComparison(PathTree("C:", {{"a.txt", 50}, {"Old\\o", 9}}), 512);
        ASSERT_NE(document.Comparison(), nullptr);
        EXPECT_EQ(document.Root(), before) << "the live records stay as they were";
        EXPECT_EQ(document.Comparison()->Folder(0).gone, (compare::Gone{9, 1, 1}));
        EXPECT_EQ(document.Comparison()->File(1).earlierSize, 50u);
        EXPECT_EQ(recorder.events, (std::vector<std::string>{"comparison"}));
        recorder.events.clear();
        c.end(document);
        EXPECT_EQ(document.Comparison(), nullptr);
        EXPECT_EQ(recorder.events, c.events);
        // Told once as it began, then once more with the comparison already gone.
        EXPECT_EQ(probe.seen, (std::vector<bool>{true, false}));
        document.RemoveObserver(probe);
    }
    recorder.events.clear();
    document.EndComparison();
    EXPECT_TRUE(recorder.events.empty()) << "nothing to end: nobody is told";
}

TEST_F(Document, TakingAnItemOutMatchesTheComparisonAgain) {
    Load();
    document.StartComparison(PathTree("C:", {{"a.txt", 50}, {"Old\\o", 9}}), 512);
    ASSERT_TRUE(document.RemoveItem("C:\\a.txt"));
    ASSERT_NE(document.Comparison(), nullptr);
    EXPECT_EQ(document.Comparison()->EntryCount(), compare::EntriesIn(document.Root()));
    EXPECT_EQ(document.Comparison()->Folder(0).gone, (compare::Gone{59, 2, 1}));
}

TEST_F(Document, ChangeOfAnItemAgainstTheEarlierScan) {
    using compare::SizeChange;
    Load();
    EXPECT_FALSE(document.ChangeOf("C:\\a.txt")) << "no comparison yet";
    // Earlier: a.txt was 40 bytes larger, Data held only x.bin at 4000, Photos did not exist.
    document.StartComparison(PathTree("C:", {{"a.txt", 140}, {"Data\\x.bin", 4000}, {"Data2\\z.txt", 7}}), 512);
    const struct Case {
        const char* path;
        std::optional<frame::ItemChange> expected;
    } cases[] = {
        {"C:\\", frame::ItemChange{SizeChange{5058, false}, SizeChange{40, true}, false}},
        {"c:\\DATA\\", frame::ItemChange{SizeChange{5098, false}, SizeChange{1000, false}, false}},
        {"C:\\Data\\Photos\\", frame::ItemChange{SizeChange{4098, false}, SizeChange{4097, false}, true}},
        {"C:\\Data\\Photos\\Raw\\r.raw", frame::ItemChange{SizeChange{1, false}, SizeChange{1, false}, true}},
        {"C:\\a.txt", frame::ItemChange{SizeChange{40, true}, SizeChange{40, true}, false}},
        {"C:\\Data2\\z.txt", frame::ItemChange{SizeChange{}, SizeChange{}, false}},
        {"C:\\Data\\gone.txt", std::nullopt},
        {"C:\\Data", std::nullopt},  // a folder's path ends in a backslash
        {"E:\\a.txt", std::nullopt},
    };
    for (const Case& c : cases) EXPECT_EQ(document.ChangeOf(c.path), c.expected) << c.path;
    // After an item is taken out the comparison matches again: its parent's figures follow.
    ASSERT_TRUE(document.RemoveItem("C:\\Data\\Photos\\"));
    EXPECT_EQ(document.ChangeOf("C:\\Data\\"),
              (frame::ItemChange{SizeChange{1000, false}, SizeChange{1000, false}, false}));
    document.EndComparison();
    EXPECT_FALSE(document.ChangeOf("C:\\Data\\"));
}

}  // namespace
