// The statistics rankings: which entries a top-N keeps, what each query ranks, the checks before a query
// runs, and the texts of the result rows.
#include "info/Statistics.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <set>

namespace {

using model::DirInfo;

std::vector<std::string> Paths(const info::StatResults& results, bool absolute = true) {
    std::vector<std::string> paths;
    for (std::size_t row = 0; row < results.rows.size(); ++row) paths.push_back(results.Path(row, absolute));
    return paths;
}

TEST(StatsCollector, KeepsTheLargestKeysAndAnEqualKeyNeverDisplacesAHeldOne) {
    const DirInfo root("C:");
    const model::FileInfo first5("first 5", 0), seven("7", 0), second5("second 5", 0), nine("9", 0),
        third5("third 5", 0);
    info::GenericCollector<int> collector(root, 3, false, true, "C:\\");
    for (auto [key, file] : {std::pair{5, &first5}, {7, &seven}, {5, &second5}, {9, &nine}, {5, &third5}})
        collector.Offer(key, info::PathTable::kStart, file);
    const info::StatResults results = collector.TakeResults(3);
    EXPECT_EQ(Paths(results, false), (std::vector<std::string>{"9", "7", "second 5"}));
    EXPECT_EQ(results.rows[2].key, 5u);

    const model::FileInfo earlier("earlier", 0), later("later", 0), six("six", 0);
    info::GenericCollector<std::uint64_t> ties(root, 10, false, true, "C:\\");
    ties.Offer(4, info::PathTable::kStart, &earlier);
    ties.Offer(4, info::PathTable::kStart, &later);
    ties.Offer(6, info::PathTable::kStart, &six);
    EXPECT_EQ(Paths(ties.TakeResults(20)), (std::vector<std::string>{"C:\\six", "C:\\later", "C:\\earlier"}));
}

// C:
//   Program Files\   (2 files: 100, 7000)
//     App\           (1 file: 1,000,000)
//   Windows\         (3 files: 1, 2, 3)
//     System32\      (no files)
//       Drivers\     (1 file: 0)
//   a.txt 50
DirInfo SampleTree() {
    DirInfo root("C:");
    root.files.emplace_back("a.txt", 50);
    DirInfo& programs = root.subdirs.emplace_back("Program Files");
    programs.files.emplace_back("p1", 100);
    programs.files.emplace_back("p2", 7000);
    programs.subdirs.emplace_back("App").files.emplace_back("app.exe", 1000000);
    DirInfo& windows = root.subdirs.emplace_back("Windows");
    for (std::uint64_t size : {1, 2, 3}) windows.files.emplace_back("w" + std::to_string(size), size);
    windows.subdirs.emplace_back("System32").subdirs.emplace_back("Drivers").files.emplace_back("d.sys", 0);
    model::RecomputeTotals(root, 4096);
    return root;
}

info::StatResults RunForm(const DirInfo& root, int query, std::string folder, bool recurse = true, int n = 10,
                          std::uint32_t cluster = 4096) {
    info::StatsForm form;
    form.maxItems = std::to_string(n);
    form.recurse = recurse;
    form.folder = std::move(folder);
    form.query = query;
    const info::StatsPlan plan = info::PlanQuery(form, root, cluster);
    EXPECT_EQ(plan.problem, info::StatsProblem::kNone);
    return info::RunQuery(plan, cluster);
}

TEST(StatsQueries, EachQueryRanksItsCandidatesLargestFirst) {
    const DirInfo root = SampleTree();
    struct Case {
        int query;
        std::vector<std::pair<std::string, std::uint64_t>> rows;
    } const cases[] = {
        {info::kLargestFiles,
         {{"C:\\Program Files\\App\\app.exe", 1000000},
          {"C:\\Program Files\\p2", 7000},
          {"C:\\Program Files\\p1", 100},
          {"C:\\a.txt", 50},
          {"C:\\Windows\\w3", 3},
          {"C:\\Windows\\w2", 2},
          {"C:\\Windows\\w1", 1},
          {"C:\\Windows\\System32\\Drivers\\d.sys", 0}}},
        {info::kLongestPaths,
         {{"C:\\Windows\\System32\\Drivers\\", 27},
          {"C:\\Program Files\\App\\", 20},
          {"C:\\Windows\\System32\\", 19},
          {"C:\\Program Files\\", 16},
          {"C:\\Windows\\", 10}}},
        {info::kDeepestPaths,
         {{"C:\\Windows\\System32\\Drivers\\", 3},
          {"C:\\Windows\\System32\\", 2},
          {"C:\\Program Files\\App\\", 2},
          {"C:\\Windows\\", 1},
          {"C:\\Program Files\\", 1}}},
        {info::kMostFilesLocal,
         {{"C:\\Windows\\", 3},
          {"C:\\Program Files\\", 2},
          {"C:\\Windows\\System32\\Drivers\\", 1},
          {"C:\\Program Files\\App\\", 1},
          {"C:\\Windows\\System32\\", 0}}},
        {info::kMostFilesDeep,
         {{"C:\\Windows\\", 4},
          {"C:\\Program Files\\", 3},
          {"C:\\Windows\\System32\\Drivers\\", 1},
          {"C:\\Windows\\System32\\", 1},
          {"C:\\Program Files\\App\\", 1}}},
        {info::kMostBytesLocal,
         {{"C:\\Program Files\\App\\", 1000000},
          {"C:\\Program Files\\", 7100},
          {"C:\\Windows\\", 6},
          {"C:\\Windows\\System32\\Drivers\\", 0},
          {"C:\\Windows\\System32\\", 0}}},
        {info::kMostBytesDeep,
         {{"C:\\Program Files\\", 1007100},
          {"C:\\Program Files\\App\\", 1000000},
          {"C:\\Windows\\", 6},
          {"C:\\Windows\\System32\\Drivers\\", 0},
          {"C:\\Windows\\System32\\", 0}}},
        {info::kMostWasteLocal,
         {{"C:\\Windows\\", 3 * 4096 - 6},
          {"C:\\Program Files\\", 3 * 4096 - 7100},
          {"C:\\Program Files\\App\\", 245 * 4096 - 1000000},
          {"C:\\Windows\\System32\\Drivers\\", 0},
          {"C:\\Windows\\System32\\", 0}}},
    };
    for (const Case& c : cases) {
        const info::StatResults results = RunForm(root, c.query, "C:\\");
        std::vector<std::pair<std::string, std::uint64_t>> rows;
        for (std::size_t row = 0; row < results.rows.size(); ++row)
            rows.emplace_back(results.Path(row, true), results.rows[row].key);
        EXPECT_EQ(rows, c.rows) << info::QueryText(c.query);
        EXPECT_EQ(results.fieldWidth, info::FieldWidth(c.query));
    }
}

TEST(StatsQueries, LargestFileTypesByBytesWithinTheScope) {
    DirInfo root = SampleTree();
    root.subdirs[0].files.emplace_back("setup.EXE", 3000);
    root.subdirs[1].files.emplace_back("notes.txt", 950);
    model::RecomputeTotals(root, 4096);
    const auto rows = [](const info::StatResults& results) {
        std::vector<std::pair<std::string, std::uint64_t>> out;
        for (std::size_t row = 0; row < results.rows.size(); ++row) {
            out.emplace_back(results.Path(row, false), results.rows[row].key);
            EXPECT_EQ(results.Path(row, true), results.Path(row, false));  // a type has no path to shorten
            EXPECT_FALSE(results.IsPlace(row));
        }
        return out;
    };
    using Rows = std::vector<std::pair<std::string, std::uint64_t>>;
    EXPECT_EQ(info::QueryText(info::kLargestTypes), std::string("Largest file types"));
    EXPECT_EQ(rows(RunForm(root, info::kLargestTypes, "C:\\")),
              (Rows{{"exe", 1003000}, {"(no extension)", 7106}, {"txt", 1000}, {"sys", 0}}));
    EXPECT_EQ(rows(RunForm(root, info::kLargestTypes, "C:\\", true, 2)),
              (Rows{{"exe", 1003000}, {"(no extension)", 7106}}));
    EXPECT_EQ(rows(RunForm(root, info::kLargestTypes, "C:\\", false)), (Rows{{"txt", 50}}));
    EXPECT_EQ(rows(RunForm(root, info::kLargestTypes, "C:\\Windows\\System32\\", false)), Rows{});
    EXPECT_EQ(info::SelectionText(RunForm(root, info::kLargestTypes, "C:\\"), {0, 2}, true), "exe\r\ntxt\r\n");
}

TEST(StatsQueries, WithoutRecursionOnlyTheStartFoldersOwnEntriesCount) {
    const DirInfo root = SampleTree();
    EXPECT_EQ(Paths(RunForm(root, info::kLongestPaths, "C:\\", false)),
              (std::vector<std::string>{"C:\\Program Files\\", "C:\\Windows\\"}))
        << "the root itself is never listed";
    EXPECT_EQ(Paths(RunForm(root, info::kLargestFiles, "C:\\", false)), (std::vector<std::string>{"C:\\a.txt"}));
    EXPECT_TRUE(RunForm(root, info::kLargestFiles, "c:\\windows\\system32", false).rows.empty());
}

TEST(StatsQueries, ATypedFolderIsFoundIgnoringCaseAndKeepsItsLettersInTheResults) {
    const DirInfo root = SampleTree();
    for (const char* typed : {"c:/WINDOWS", "c:/WINDOWS/", "c:\\WINDOWS\\"}) {
        const info::StatResults results = RunForm(root, info::kLongestPaths, typed);
        EXPECT_EQ(results.BasePath(), "c:\\WINDOWS\\") << typed;
        EXPECT_EQ(Paths(results),
                  (std::vector<std::string>{"c:\\WINDOWS\\System32\\Drivers\\", "c:\\WINDOWS\\System32\\"}));
        EXPECT_EQ(results.rows[1].key, 19u);
        EXPECT_EQ(results.Path(1, false), "System32\\") << "a folder right below the base";
    }
    EXPECT_EQ(Paths(RunForm(root, info::kMostFilesLocal, "C:\\", true, 1)),
              (std::vector<std::string>{"C:\\Windows\\"}));
}

TEST(StatsQueries, ATreeSixteenThousandLevelsDeepWithLongNamesIsRankedWhole) {
    // Every folder is longer than its parent, so a ranking of the longest paths accepts each one in turn:
    // a path built per candidate would copy some 27 GB here.
    DirInfo root("C:");
    const std::string name(200, 'n');
    DirInfo* current = &root;
    for (int level = 0; level < 16384; ++level) current = &current->subdirs.emplace_back(name);
    current->files.emplace_back("deepest", 1);
    const info::StatResults longest = RunForm(root, info::kLongestPaths, "C:\\", true, 3);
    ASSERT_EQ(longest.rows.size(), 3u);
    EXPECT_EQ(longest.rows[0].key, 2u + 16384u * 201u);
    EXPECT_EQ(longest.Path(0, true).size(), 3u + 16384u * 201u);
    EXPECT_EQ(longest.Path(2, false).size(), 16382u * 201u);
    const info::StatResults largest = RunForm(root, info::kLargestFiles, "C:\\", true, 5);
    ASSERT_EQ(largest.rows.size(), 1u);
    EXPECT_EQ(largest.Path(0, true).size(), 3u + 16384u * 201u + 7u);
    EXPECT_EQ(RunForm(root, info::kDeepestPaths, "C:\\", true, 1).rows.at(0).key, 16384u);
}

// Random trees: the largest files and the longest paths for several N, with and without descending, hold
// the N largest keys of all candidates sorted in full, each row a distinct candidate with its own key and
// path, equal keys the later visited first.
TEST(StatsQueries, TopNHoldsTheLargestKeysOfAFullSortOnRandomTrees) {
    std::uint64_t state = 2027;
    auto below = [&state](std::uint64_t n) {
        state = state * 6364136223846793005ull + 1442695040888963407ull;
        return (state >> 33) % n;
    };
    for (int round = 0; round < 8; ++round) {
        // Folder i hangs below a random earlier one; sizes and name lengths repeat often, so keys tie.
        const std::size_t folders = 1 + below(60);
        std::vector<std::vector<std::size_t>> children(folders);
        for (std::size_t i = 1; i < folders; ++i) children[below(i)].push_back(i);
        DirInfo root("C:");
        std::vector<DirInfo*> at(folders, nullptr);
        at[0] = &root;
        for (std::size_t i = 0; i < folders; ++i) {
            at[i]->subdirs.reserve(children[i].size(), 64 * children[i].size());  // records stay in place
            for (std::size_t k = 0; k < children[i].size(); ++k)
                at[children[i][k]] = &at[i]->subdirs.emplace_back(
                    std::string(1 + below(3), static_cast<char>('a' + below(3))) + std::to_string(k));
            const std::size_t files = below(6);
            for (std::size_t f = 0; f < files; ++f) at[i]->files.emplace_back("f" + std::to_string(f), below(5) * 1000);
        }
        model::RecomputeTotals(root, 4096);

        for (const bool recurse : {true, false}) {
            // Every candidate's path -> (key, place in the walk: a folder's files, then each subfolder and
            // what is below it).
            std::map<std::string, std::pair<std::uint64_t, std::size_t>> files, paths;
            auto visit = [&](auto&& self, const DirInfo& dir, const std::string& path) -> void {
                for (const model::FileInfo& file : dir.files)
                    files.emplace(path + file.name, std::pair{file.size, files.size()});
                for (const DirInfo& sub : dir.subdirs) {
                    const std::string own = path + sub.name + "\\";
                    paths.emplace(own, std::pair{own.size() - 1, paths.size()});
                    if (recurse) self(self, sub, own);
                }
            };
            visit(visit, root, "C:\\");
            for (const int n : {1, 3, 10, 1000}) {
                for (const auto& [query, candidates] :
                     {std::pair{info::kLargestFiles, &files}, {info::kLongestPaths, &paths}}) {
                    std::vector<std::uint64_t> keys;
                    for (const auto& [path, entry] : *candidates) keys.push_back(entry.first);
                    std::sort(keys.begin(), keys.end(), std::greater<>());
                    keys.resize(std::min<std::size_t>(n, keys.size()));

                    const info::StatResults results = RunForm(root, query, "C:\\", recurse, n);
                    const std::string what = std::string(info::QueryText(query)) + " N=" + std::to_string(n) +
                                             " round " + std::to_string(round) + (recurse ? "" : " flat");
                    std::vector<std::uint64_t> held;
                    std::set<std::string> seen;
                    std::size_t previous = 0;
                    for (std::size_t row = 0; row < results.rows.size(); ++row) {
                        const std::string path = results.Path(row, true);
                        const std::uint64_t key = results.rows[row].key;
                        held.push_back(key);
                        const auto found = candidates->find(path);
                        ASSERT_NE(found, candidates->end()) << path << ": " << what;
                        EXPECT_EQ(found->second.first, key) << path << ": " << what;
                        EXPECT_TRUE(seen.insert(path).second) << path << " twice: " << what;
                        if (row > 0 && key == results.rows[row - 1].key) {
                            EXPECT_LT(found->second.second, previous) << path << ": " << what;
                        }
                        previous = found->second.second;
                    }
                    EXPECT_EQ(held, keys) << what;
                }
            }
        }
    }
}

TEST(StatsQueries, PathLengthsCountCharactersNotBytes) {
    DirInfo root("C:");
    root.subdirs.emplace_back("\xE6\x97\xA5\xE6\x9C\xAC");  // two characters, six bytes
    EXPECT_EQ(RunForm(root, info::kLongestPaths, "C:\\").rows.at(0).key, 5u);
}

TEST(StatsPlan, ChecksTheCountThenTheFolderThenTheQuery) {
    const DirInfo root = SampleTree();
    using info::StatsProblem;
    struct Case {
        const char* maxItems;
        bool rootScope;
        const char* folder;
        int query;
        std::uint32_t cluster;
        StatsProblem problem;
    } const cases[] = {
        {"0", false, "C:\\", 0, 4096, StatsProblem::kMaxItems},
        {"", false, "C:\\", 0, 4096, StatsProblem::kMaxItems},
        {"12a", false, "C:\\", 0, 4096, StatsProblem::kMaxItems},
        {"-4", false, "C:\\", 0, 4096, StatsProblem::kMaxItems},
        {"5", false, "", 0, 4096, StatsProblem::kFolder},
        {"5", false, "D:\\Windows", 0, 4096, StatsProblem::kFolder},
        {"5", false, "C:\\Nowhere", -1, 0, StatsProblem::kFolder},
        {"5", false, "C:", 0, 4096, StatsProblem::kNone},
        {"5", true, "", 0, 4096, StatsProblem::kNone},
        {"5", true, "", info::kMostWasteLocal, 0, StatsProblem::kNoClusterSize},
        {"5", true, "", info::kMostWasteLocal, 512, StatsProblem::kNone},
        {"5", true, "", -1, 4096, StatsProblem::kNoQuery},
        {"5", true, "", info::kQueryCount, 4096, StatsProblem::kNoQuery},
    };
    for (const Case& c : cases) {
        const info::StatsPlan plan =
            info::PlanQuery({c.maxItems, true, c.rootScope, c.folder, c.query}, root, c.cluster);
        EXPECT_EQ(plan.problem, c.problem) << c.maxItems << " / " << c.folder << " / " << c.query;
    }
    const info::StatsPlan rootScope = info::PlanQuery({"5", false, true, "ignored", 0}, root, 0);
    EXPECT_EQ(rootScope.start, &root);
    EXPECT_EQ(rootScope.basePath, "C:\\");
}

TEST(StatsPlan, MaxItemsIsAPositiveCountAndTooManyIsClampedNotNegative) {
    struct Case {
        const char* text;
        int value;
        bool clamped;
    } const cases[] = {
        {"100", 100, false},
        {" 7 ", 7, false},
        {"0", 0, false},
        {"", 0, false},
        {"1e3", 0, false},
        {"+5", 0, false},
        {"2147483647", info::kMaxItemsLimit, false},
        {"3000000000", info::kMaxItemsLimit, true},
        {"99999999999999999999999", info::kMaxItemsLimit, true},
    };
    for (const Case& c : cases) {
        bool clamped = false;
        EXPECT_EQ(info::ParseMaxItems(c.text, &clamped), c.value) << c.text;
        EXPECT_EQ(clamped, c.clamped) << c.text;
    }
    const DirInfo root = SampleTree();
    EXPECT_EQ(RunForm(root, info::kLargestFiles, "C:\\", true, info::ParseMaxItems("3000000000")).rows.size(), 8u);
}

TEST(StatsRows, ValueTextsSelectionAndTheFolderOfAResult) {
    EXPECT_EQ(info::ValueText(1234567, 20), std::string(13, ' ') + "1,234,567");
    EXPECT_EQ(info::ValueText(5, 3), "  5");
    EXPECT_EQ(info::ValueText(123456, 3), "123,456");

    DirInfo data("C:\\Data");
    data.files.emplace_back("b.txt", 2);
    data.subdirs.emplace_back("a");
    data.subdirs.emplace_back("c").subdirs.emplace_back("d");
    info::StatResults results{20, {}, info::PathTable("C:\\Data\\")};
    const std::uint32_t a = results.paths.Add(info::PathTable::kStart, data.subdirs[0].name);
    const std::uint32_t c = results.paths.Add(info::PathTable::kStart, data.subdirs[1].name);
    const std::uint32_t d = results.paths.Add(c, data.subdirs[1].subdirs[0].name);
    results.rows = {{3, a, nullptr}, {2, info::PathTable::kStart, &data.files[0]}, {1, d, nullptr}};
    EXPECT_EQ(info::SelectionText(results, {0, 1, 2}, false), "a\\\r\nb.txt\r\nc\\d\\\r\n");
    EXPECT_EQ(info::SelectionText(results, {2}, true), "C:\\Data\\c\\d\\\r\n");
    EXPECT_EQ(info::FolderOfResult("C:\\Data\\b.txt"), "C:\\Data\\");
    EXPECT_EQ(info::FolderOfResult("C:\\Data\\a\\"), "C:\\Data\\a\\");
}

}  // namespace

namespace {

// The comparison's queries: offered only while one is on, limited to the chosen folder, the value column
// signed for growth and shrink, paths relative to the base path even for the earlier tree's other root.
TEST(StatsChangeQueries, RankTheComparisonWithinTheChosenFolder) {
    const DirInfo live = SampleTree();
    DirInfo earlier("E:");
    earlier.files.emplace_back("a.txt", 80);
    DirInfo& programs = earlier.subdirs.emplace_back("Program Files");
    programs.files.emplace_back("p1", 100);
    programs.files.emplace_back("old.dll", 3000);
    programs.subdirs.emplace_back("App").files.emplace_back("app.exe", 400000);
    earlier.subdirs.emplace_back("Temp").files.emplace_back("t", 5);
    const compare::TreeComparison comparison(live, earlier, 4096);

    auto run = [&](int query, std::string folder, bool recurse, const compare::TreeComparison* with) {
        info::StatsForm form;
        form.maxItems = "10";
        form.recurse = recurse;
        form.folder = std::move(folder);
        form.query = query;
        const info::StatsPlan plan = info::PlanQuery(form, live, 4096, with);
        std::vector<std::string> rows;
        if (plan.problem != info::StatsProblem::kNone) {
            rows.push_back(info::ProblemText(plan.problem));
            return rows;
        }
        const info::StatResults results = info::RunQuery(plan, 4096, &live, with);
        for (std::size_t row = 0; row < results.Count(); ++row) {
            const std::string value = results.Value(row);
            std::string digits;
            for (char ch : value)
                if (ch >= '0' && ch <= '9') digits += ch;
            EXPECT_EQ(value.size(), info::ValueText(std::stoull(digits), 20).size())
                << "signed values line up with the unsigned ones: " << value;
            rows.push_back(results.Path(row, true) + " | " + results.Path(row, false) + " | " +
                           value.substr(value.find_first_not_of(' ')));
        }
        return rows;
    };
    using Rows = std::vector<std::string>;
    struct Case {
        int query;
        const char* folder;
        bool recurse;
        Rows rows;
    } const cases[] = {
        {info::kLargestGrowth,
         "C:\\",
         true,
         {"C:\\Program Files\\ | Program Files\\ | +604,000",
          "C:\\Program Files\\App\\ | Program Files\\App\\ | +600,000",
          "C:\\Program Files\\App\\app.exe | Program Files\\App\\app.exe | +600,000",
          "C:\\Program Files\\p2 | Program Files\\p2 | +7,000", "C:\\Windows\\ | Windows\\ | +6",
          "C:\\Windows\\w3 | Windows\\w3 | +3", "C:\\Windows\\w2 | Windows\\w2 | +2",
          "C:\\Windows\\w1 | Windows\\w1 | +1"}},
        {info::kLargestGrowth,
         "c:\\program files",
         false,
         {"C:\\Program Files\\App\\ | App\\ | +600,000", "C:\\Program Files\\p2 | p2 | +7,000"}},
        {info::kLargestShrink, "C:\\", true, {"C:\\a.txt | a.txt | -30"}},
        {info::kLargestNewFiles, "c:\\program files", true, {"C:\\Program Files\\p2 | p2 | 7,000"}},
        {info::kLargestRemoved,
         "C:\\",
         true,
         {"E:\\Program Files\\old.dll | Program Files\\old.dll | 3,000", "E:\\Temp\\ | Temp\\ | 5"}},
        {info::kLargestRemoved, "C:\\Program Files\\", false, {"E:\\Program Files\\old.dll | old.dll | 3,000"}},
        {info::kLargestRemoved, "C:\\Windows\\", true, {}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(run(c.query, c.folder, c.recurse, &comparison), c.rows)
            << info::QueryText(c.query) << " " << c.folder;
        EXPECT_EQ(run(c.query, c.folder, c.recurse, nullptr), Rows{info::ProblemText(info::StatsProblem::kNoQuery)})
            << "not offered without a comparison";
    }

    // A folder scanned as the root has backslashes in its name, and so may the earlier tree's.
    DirInfo folderLive = SampleTree();
    folderLive.name = "C:\\Users\\Me";
    DirInfo folderEarlier = earlier;
    folderEarlier.name = "E:\\Old";
    const compare::TreeComparison folderComparison(folderLive, folderEarlier, 4096);
    auto runFolder = [&](int query, std::string folder) {
        info::StatsForm form;
        form.maxItems = "10";
        form.recurse = false;
        form.folder = std::move(folder);
        form.query = query;
        const info::StatsPlan plan = info::PlanQuery(form, folderLive, 4096, &folderComparison);
        const info::StatResults results = info::RunQuery(plan, 4096, &folderLive, &folderComparison);
        Rows rows;
        for (std::size_t row = 0; row < results.Count(); ++row)
            rows.push_back(results.Path(row, true) + " | " + results.Path(row, false));
        return rows;
    };
    EXPECT_EQ(runFolder(info::kLargestGrowth, "c:\\users\\me"),
              (Rows{"C:\\Users\\Me\\Program Files\\ | Program Files\\", "C:\\Users\\Me\\Windows\\ | Windows\\"}));
    EXPECT_EQ(runFolder(info::kLargestRemoved, "C:\\Users\\Me\\Program Files"),
              (Rows{"E:\\Old\\Program Files\\old.dll | old.dll"}));

    EXPECT_EQ(info::OfferedQueryCount(false), 9);
    EXPECT_EQ(info::OfferedQueryCount(true), 13);
    EXPECT_STREQ(info::QueryText(info::kLargestRemoved), "Largest removed");
}

}  // namespace
