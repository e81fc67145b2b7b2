#include "frame/StatusCells.h"

#include "common/MapStore.h"

#include <gtest/gtest.h>

namespace {

using frame::StatusCells;
using frame::StatusRow;

// A folder with two files (1 and 5000 bytes) and one subfolder holding a 10000-byte file.
model::DirInfo SampleFolder(std::uint32_t clusterSize) {
    model::DirInfo folder("Data");
    folder.files = {{"a", 1}, {"b", 5000}};
    folder.subdirs.emplace_back("Sub").files = {{"c", 10000}};
    model::RecomputeTotals(folder, clusterSize);
    return folder;
}

TEST(StatusCells, FolderAndFileRowsWithAndWithoutClusterSize) {
    const model::FileInfo file("c", 10000);
    struct Case {
        const char* what;
        StatusCells cells;
        StatusCells expected;
    };
    const Case cases[] = {
        {"deep folder, cluster 0", frame::FolderCells(StatusRow::Deep, "C:\\Data\\", SampleFolder(0), 0),
         {"1", "3", "14.6 KB", "n/a", "n/a", "C:\\Data\\"}},
        {"shallow folder, cluster 0", frame::FolderCells(StatusRow::Shallow, "", SampleFolder(0), 0),
         {"1", "2", "4.9 KB", "n/a", "n/a", ""}},
        {"deep folder, 4 KB clusters", frame::FolderCells(StatusRow::Deep, "C:\\Data\\", SampleFolder(4096), 4096),
         {"1", "3", "14.6 KB", "24.0 KB", "9.4 KB", "C:\\Data\\"}},
        {"shallow folder, 4 KB clusters", frame::FolderCells(StatusRow::Shallow, "", SampleFolder(4096), 4096),
         {"1", "2", "4.9 KB", "12.0 KB", "7.1 KB", ""}},
        {"deep file, cluster 0", frame::FileCells(StatusRow::Deep, "C:\\Data\\", file, 0),
         {"", "", "", "", "", "C:\\Data\\"}},
        {"deep file, 4 KB clusters", frame::FileCells(StatusRow::Deep, "C:\\Data\\", file, 4096),
         {"", "", "", "", "", "C:\\Data\\"}},
        {"shallow file, cluster 0", frame::FileCells(StatusRow::Shallow, "Sub\\c", file, 0),
         {"", "", "9.8 KB", "n/a", "n/a", "Sub\\c"}},
        {"shallow file, 4 KB clusters", frame::FileCells(StatusRow::Shallow, "Sub\\c", file, 4096),
         {"", "", "9.8 KB", "12.0 KB", "2.2 KB", "Sub\\c"}},
        {"empty file wastes nothing", frame::FileCells(StatusRow::Shallow, "e", model::FileInfo("e", 0), 512),
         {"", "", "0 bytes", "0 bytes", "0 bytes", "e"}},
    };
    for (const Case& c : cases) EXPECT_EQ(c.cells, c.expected) << c.what;
}

using native_test::MapStore;

TEST(StatusMarks, ReadFromTheBarsOwnValue) {
    MapStore store;
    store.values = {{"SBar2Flags", "5"}, {"SBar1Flags", "yes"}, {"SBar3Flags", "63"}};
    EXPECT_EQ(frame::ReadStatusMarks(store, 2), (frame::StatusMarks{true, false, true, false, false, false}))
        << "5 marks the Dirs and Size cells";
    EXPECT_EQ(frame::ReadStatusMarks(store, 1), frame::StatusMarks{}) << "no digits read as 0";
    EXPECT_EQ(frame::ReadStatusMarks(store, 3), (frame::StatusMarks{true, true, true, true, true, true}));
    store.values.clear();
    EXPECT_EQ(frame::ReadStatusMarks(store, 2), frame::StatusMarks{}) << "missing: nothing marked";
}

TEST(StatusMarks, WrittenAsTheBitsOfTheMarkedCells) {
    MapStore store;
    frame::WriteStatusMarks(store, 3, {false, true, false, false, false, true});
    EXPECT_EQ(store.values.at("SBar3Flags"), "34");
    for (int flags = 0; flags < 64; ++flags) EXPECT_EQ(frame::FlagsFromMarks(frame::MarksFromFlags(flags)), flags);
    EXPECT_EQ(frame::FlagsFromMarks(frame::MarksFromFlags(64 + 5)), 5) << "bits beyond the six cells are dropped";
}

}  // namespace
