// The file types list: its rows from a scope's table, the pie's colour ranks, sorting by every column,
// shares (an empty scope included), cell texts and the text Copy puts on the clipboard.
#include "info/FileTypeList.h"

#include "common/PathTree.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

using info::TypeSort;

// jpg 3,000,000 bytes in 2 files, (none) 600,000 in 2, txt 400,000 in 3, iso 0 in 1.
model::DirInfo Sample() {
    return test_support::PathTree("C:",
                                  {{"a.jpg", 1000000},
                                   {"Photos\\b.JPG", 2000000},
                                   {"README", 500000},
                                   {"Makefile", 100000},
                                   {"x.txt", 200000},
                                   {"Docs\\y.txt", 150000},
                                   {"Docs\\z.TXT", 50000},
                                   {"Docs\\empty.iso", 0}},
                                  4096);
}

std::vector<std::string> Types(const info::TypeList& list) {
    std::vector<std::string> types;
    for (std::size_t row = 0; row < list.Size(); ++row) types.emplace_back(list.Row(row).type);
    return types;
}

TEST(FileTypeList, RowsComeSortedByBytesWithThePiesColourRanks) {
    const model::DirInfo tree = Sample();
    // The pie's colours come from the whole tree; the list here shows a part of it.
    const pie::TypeColours colours = pie::TypeColours::OfTree(tree);
    const info::TypeList all = info::MakeTypeList(model::ComputeTypeTable(tree, true, 4096), colours);
    EXPECT_EQ(Types(all), (std::vector<std::string>{"jpg", "", "txt", "iso"}));
    EXPECT_EQ(all.Row(0).colourRank, 0);
    EXPECT_EQ(all.Row(1).colourRank, 1);
    EXPECT_EQ(all.Total(), (model::TypeTotals{4000000, all.Total().allocated, 8}));
    const info::TypeList docs = info::MakeTypeList(model::ComputeTypeTable(tree.subdirs[1], true, 4096), colours);
    EXPECT_EQ(Types(docs), (std::vector<std::string>{"txt", "iso"}));
    EXPECT_EQ(docs.Row(0).colourRank, 2);  // the same colour as in the whole tree's list
    EXPECT_EQ(info::RowOfType(docs, "iso"), 1);
    EXPECT_EQ(info::RowOfType(docs, "jpg"), -1);
}

TEST(FileTypeList, AHeaderClickSortsByItsColumnAndASecondClickTurnsItRound) {
    const model::DirInfo tree = Sample();
    info::TypeList list = info::MakeTypeList(model::ComputeTypeTable(tree, true, 4096), pie::TypeColours::OfTree(tree));
    const struct {
        int clicked;
        TypeSort sort;
        std::vector<std::string> order;
    } steps[] = {
        {info::kFilesColumn, {info::kFilesColumn, false}, {"txt", "", "jpg", "iso"}},  // 2 and 2: by the text
        {info::kFilesColumn, {info::kFilesColumn, true}, {"iso", "", "jpg", "txt"}},
        {info::kTypeColumn, {info::kTypeColumn, true}, {"", "iso", "jpg", "txt"}},
        {info::kTypeColumn, {info::kTypeColumn, false}, {"txt", "jpg", "iso", ""}},
        {info::kAllocatedColumn, {info::kAllocatedColumn, false}, {"jpg", "", "txt", "iso"}},
        {info::kShareColumn, {info::kShareColumn, false}, {"jpg", "", "txt", "iso"}},
        {info::kSwatchColumn, {info::kSwatchColumn, true}, {"jpg", "", "txt", "iso"}},
        {info::kSwatchColumn, {info::kSwatchColumn, false}, {"iso", "txt", "", "jpg"}},
        {info::kBytesColumn, {info::kBytesColumn, false}, {"jpg", "", "txt", "iso"}},
        {info::kBytesColumn, {info::kBytesColumn, true}, {"iso", "txt", "", "jpg"}},
        {99, {info::kBytesColumn, true}, {"iso", "txt", "", "jpg"}},  // no such column: nothing changes
    };
    TypeSort sort;
    for (const auto& step : steps) {
        sort = info::NextSort(sort, step.clicked);
        EXPECT_EQ(sort, step.sort) << step.clicked;
        info::SortTypeList(list, sort);
        EXPECT_EQ(Types(list), step.order) << step.clicked;
    }
}

// Many types whose keys tie and whose texts share their first eight bytes or are shorter than eight, sorted
// by every column both ways, against a plain sort of their rows by the rule the list states.
TEST(FileTypeList, ManyTypesSortAsTheirKeysAndTextsSay) {
    model::DirInfo tree("C:");
    for (int i = 0; i < 3000; ++i) {
        const std::string type = i % 3 == 0   ? "longprefix" + std::to_string(i % 700)
                                 : i % 3 == 1 ? std::to_string(i % 500)
                                              : "longpref" + std::string(1, static_cast<char>('a' + i % 26));
        tree.files.emplace_back("f" + std::to_string(i) + "." + type, static_cast<std::uint64_t>(i % 7) * 1000);
    }
    model::RecomputeTotals(tree, 4096);
    const pie::TypeColours colours = pie::TypeColours::OfTree(tree);
    info::TypeList list = info::MakeTypeList(model::ComputeTypeTable(tree, true, 4096), colours);
    std::vector<info::TypeListRow> plain;
    const model::TypeTable table = model::ComputeTypeTable(tree, true, 4096);
    for (const model::FileType& type : table.Types())
        plain.push_back({type.type, type.totals, colours.RankOf(type.type)});
    ASSERT_EQ(list.Size(), plain.size());
    for (int column = 0; column < info::kTypeColumnCount; ++column) {
        for (bool ascending : {false, true}) {
            const TypeSort sort{column, ascending};
            info::SortTypeList(list, sort);
            const auto key = [column](const info::TypeListRow& row) -> std::uint64_t {
                switch (column) {
                case info::kSwatchColumn: return row.colourRank < 0 ? 12u : static_cast<std::uint64_t>(row.colourRank);
                case info::kTypeColumn: return 0;
                case info::kAllocatedColumn: return row.totals.allocated;
                case info::kFilesColumn: return row.totals.files;
                default: return row.totals.bytes;
                }
            };
            std::sort(plain.begin(), plain.end(), [&](const info::TypeListRow& a, const info::TypeListRow& b) {
                if (key(a) != key(b)) return ascending ? key(a) < key(b) : key(a) > key(b);
                return column == info::kTypeColumn && !ascending ? a.type > b.type : a.type < b.type;
            });
            for (std::size_t row = 0; row < plain.size(); ++row) {
                ASSERT_EQ(list.Row(row).type, plain[row].type) << "column " << column << " ascending " << ascending;
                EXPECT_EQ(list.Row(row).totals, plain[row].totals);
                EXPECT_EQ(list.Row(row).colourRank, plain[row].colourRank);
                EXPECT_EQ(info::RowOfType(list, plain[row].type), static_cast<int>(row));
            }
        }
    }
}

TEST(FileTypeList, CellTextsSharesOfAnEmptyScopeAndUnknownClusterSizes) {
    const model::DirInfo tree = Sample();
    const info::TypeList list =
        info::MakeTypeList(model::ComputeTypeTable(tree, true, 4096), pie::TypeColours::OfTree(tree));
    EXPECT_EQ(info::TypeCellText(list, 0, info::kTypeColumn), "jpg");
    EXPECT_EQ(info::TypeCellText(list, 1, info::kTypeColumn), "(no extension)");
    EXPECT_EQ(info::TypeCellText(list, 0, info::kBytesColumn), "3,000,000");
    EXPECT_EQ(info::TypeCellText(list, 0, info::kAllocatedColumn), "3,006,464");
    EXPECT_EQ(info::TypeCellText(list, 0, info::kShareColumn), "75.0%");
    EXPECT_EQ(info::TypeCellText(list, 3, info::kShareColumn), "0.0%");
    EXPECT_EQ(info::TypeCellText(list, 2, info::kFilesColumn), "3");
    EXPECT_EQ(info::TypeCellText(list, 0, info::kSwatchColumn), "");
    EXPECT_EQ(info::TypeCellText(list, 9, info::kTypeColumn), "");

    // Nothing but empty files: every share is 0, not a division by nothing.
    const model::DirInfo empty = test_support::PathTree("C:", {{"a.log", 0}, {"b.log", 0}, {"c", 0}});
    const info::TypeList zeros =
        info::MakeTypeList(model::ComputeTypeTable(empty, true, 0), pie::TypeColours::OfTree(empty));
    ASSERT_EQ(zeros.Size(), 2u);
    EXPECT_EQ(info::TypeCellText(zeros, 0, info::kShareColumn), "0.0%");
    EXPECT_EQ(info::TypeCellText(zeros, 0, info::kAllocatedColumn), "n/a");
    // A folder without files: no rows at all.
    const model::DirInfo none = test_support::PathTree("C:", {{"Sub\\", 0}});
    EXPECT_TRUE(info::MakeTypeList(model::ComputeTypeTable(none, true, 0), {}).Size() == 0);
    // A share is of the bytes of the whole scope.
    EXPECT_EQ(model::ShareText(1, 3), "33.3%");
    EXPECT_EQ(model::ShareText(2, 3), "66.7%");
    EXPECT_EQ(model::ShareText(~0ull, ~0ull), "100.0%");
}

TEST(FileTypeList, CopyIsAHeaderAndTabSeparatedRowsInTheOrderGiven) {
    const model::DirInfo tree = Sample();
    const info::TypeList list =
        info::MakeTypeList(model::ComputeTypeTable(tree, true, 0), pie::TypeColours::OfTree(tree));
    EXPECT_EQ(info::TypeListText(list, {2, 0, 7}),
              "Type\tBytes\tAllocated\tShare\tFiles\r\n"
              "txt\t400000\tn/a\t10.0%\t3\r\n"
              "jpg\t3000000\tn/a\t75.0%\t2\r\n");
    EXPECT_EQ(info::TypeListText(list, {}), "Type\tBytes\tAllocated\tShare\tFiles\r\n");
}

TEST(FileTypeList, TheScopeLineSaysWhatIsCountedAndHowFarCountingHasCome) {
    const model::DirInfo tree = Sample();
    const info::TypeList list = info::MakeTypeList(model::ComputeTypeTable(tree, true, 0), {});
    EXPECT_EQ(info::ScopeText("C:\\", true, &list, 8, 8), "C:\\ and its subfolders: 8 files, 4 types, 3.8 MB");
    EXPECT_EQ(info::ScopeText("C:\\Docs\\", false, nullptr, 250, 1000), "C:\\Docs\\ alone: counting the files... 25%");
    EXPECT_EQ(info::ScopeText("C:\\", true, nullptr, 0, 0), "C:\\ and its subfolders: counting the files... 0%");
    const info::TypeList one =
        info::MakeTypeList(model::ComputeTypeTable(test_support::PathTree("C:", {{"a", 5}}), true, 0), {});
    EXPECT_EQ(info::ScopeText("C:\\", true, &one, 1, 1), "C:\\ and its subfolders: 1 file, 1 type, 5 bytes");
    EXPECT_EQ(model::TypeTotalsText("jpg", {3000000, 0, 2}), "Type jpg: 2.9 MB in 2 files");
    EXPECT_EQ(model::TypeTotalsText("", {0, 0, 1}), "Type (no extension): 0 bytes in 1 file");
}

}  // namespace
