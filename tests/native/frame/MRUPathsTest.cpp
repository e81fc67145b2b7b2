#include "frame/MRUPaths.h"

#include "common/MapStore.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

using native_test::MapStore;
using Values = MapStore::Values;

frame::MRUPaths::StoreFactory FactoryOver(Values& values, int* opened = nullptr) {
    return [&values, opened]() -> std::unique_ptr<config::SettingsStore> {
        if (opened) ++*opened;
        return std::make_unique<MapStore>(values);
    };
}

std::vector<std::string> Read(Values values) {
    frame::MRUPaths paths(29100, FactoryOver(values));
    return paths.Entries();
}

}  // namespace

TEST(MRUPaths, FifthRootDropsTheOldest) {
    frame::MRUPaths paths(29100);
    int rewrites = 0;
    paths.SetMenuWriter([&](const frame::MRUPaths&) { ++rewrites; });
    for (const char* root : {"A:\\", "B:\\", "C:\\", "D:\\", "E:\\"}) paths.Add(root);
    EXPECT_EQ(paths.Entries(), (std::vector<std::string>{"E:\\", "D:\\", "C:\\", "B:\\"}));
    EXPECT_EQ(rewrites, 5) << "every Add rewrites the menu";
}

TEST(MRUPaths, ReaddingMovesToTheFrontWithTheNewLetterCase) {
    frame::MRUPaths paths(29100);
    for (const char* root : {"C:\\Data\\", "D:\\", "E:\\"}) paths.Add(root);
    paths.Add("c:\\DATA\\");
    EXPECT_EQ(paths.Entries(), (std::vector<std::string>{"c:\\DATA\\", "E:\\", "D:\\"}));
    paths.Add("E:\\");
    EXPECT_EQ(paths.Entries(), (std::vector<std::string>{"E:\\", "c:\\DATA\\", "D:\\"}));
}

TEST(MRUPaths, EntryOutOfRangeIsEmpty) {
    frame::MRUPaths paths(29100);
    paths.Add("C:\\");
    EXPECT_EQ(paths.Entry(0), "C:\\");
    EXPECT_EQ(paths.Entry(-1), "");
    EXPECT_EQ(paths.Entry(1), "");
    EXPECT_EQ(paths.FirstId(), 29100u);
}

TEST(MRUPaths, ReadingClampsTheCountAndSkipsEmptyValues) {
    Values nine{{"MruPathCount", "9"}, {"MruPath0", "A:\\"}, {"MruPath1", "B:\\"},
                {"MruPath2", "C:\\"},  {"MruPath3", "D:\\"}, {"MruPath4", "E:\\"}};
    EXPECT_EQ(Read(nine), (std::vector<std::string>{"A:\\", "B:\\", "C:\\", "D:\\"}));

    Values gaps{{"MruPathCount", "3"}, {"MruPath0", ""}, {"MruPath2", "C:\\"}};
    EXPECT_EQ(Read(gaps), (std::vector<std::string>{"C:\\"}));

    EXPECT_TRUE(Read(Values{{"MruPathCount", "-3"}, {"MruPath0", "A:\\"}}).empty());
    EXPECT_TRUE(Read(Values{{"MruPathCount", "99999999999999999999"}}).empty()) << "clamped count, no values";
    EXPECT_TRUE(Read(Values{}).empty());
}

TEST(MRUPaths, WrittenOnceAtDestructionLeavingValuesBeyondTheCount) {
    Values values{
        {"MruPathCount", "4"}, {"MruPath0", "W:\\"}, {"MruPath1", "X:\\"}, {"MruPath2", "Y:\\"}, {"MruPath3", "Z:\\"}};
    int opened = 0;
    {
        frame::MRUPaths paths(29100, FactoryOver(values, &opened));
        EXPECT_EQ(opened, 1);
        paths.Add("Q:\\");
        paths.Add("x:\\");
        EXPECT_EQ(values["MruPath0"], "W:\\") << "nothing is written before the end";
    }
    EXPECT_EQ(opened, 2);
    EXPECT_EQ(values["MruPathCount"], "4");
    EXPECT_EQ(values["MruPath0"], "x:\\");
    EXPECT_EQ(values["MruPath1"], "Q:\\");
    EXPECT_EQ(values["MruPath2"], "W:\\");
    EXPECT_EQ(values["MruPath3"], "Y:\\");

    Values shrink{{"MruPathCount", "3"}, {"MruPath0", ""}, {"MruPath1", "B:\\"}, {"MruPath2", "C:\\"}};
    { frame::MRUPaths paths(29100, FactoryOver(shrink)); }
    EXPECT_EQ(shrink["MruPathCount"], "2");
    EXPECT_EQ(shrink["MruPath0"], "B:\\");
    EXPECT_EQ(shrink["MruPath1"], "C:\\");
    EXPECT_EQ(shrink["MruPath2"], "C:\\") << "values beyond the count are left as they are";
}

// The recent-root command passes a view of one of the list's own entries. Paths longer than the small
// string buffer live on the heap, so ASan sees any read of an entry after it was erased.
TEST(MRUPaths, AddingAViewOfItsOwnEntryMovesItToTheFront) {
    const std::vector<std::string> roots{"C:\\Users\\Someone\\Documents\\", "D:\\Archive\\Photographs\\2020\\",
                                         "E:\\Projects\\Long Folder Name\\", "F:\\Backups\\Nightly Copies\\"};
    for (std::size_t index = 0; index < roots.size(); ++index) {
        SCOPED_TRACE(index);
        frame::MRUPaths paths(29100);
        for (auto it = roots.rbegin(); it != roots.rend(); ++it) paths.Add(*it);
        ASSERT_EQ(paths.Entries(), roots);
        paths.Add(std::string_view(paths.Entries()[index]));
        std::vector<std::string> expected = roots;
        expected.erase(expected.begin() + static_cast<std::ptrdiff_t>(index));
        expected.insert(expected.begin(), roots[index]);
        EXPECT_EQ(paths.Entries(), expected);
    }
}
