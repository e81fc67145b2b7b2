#include "frame/StatusCells.h"

#include "common/MapStore.h"
#include "model/SizeText.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string_view>
#include <vector>

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
        {"deep folder, cluster 0",
         frame::FolderCells(StatusRow::Deep, "C:\\Data\\", SampleFolder(0), 0),
         {"1", "3", "14.6 KB", "n/a", "n/a", "C:\\Data\\"}},
        {"shallow folder, cluster 0",
         frame::FolderCells(StatusRow::Shallow, "", SampleFolder(0), 0),
         {"1", "2", "4.9 KB", "n/a", "n/a", ""}},
        {"deep folder, 4 KB clusters",
         frame::FolderCells(StatusRow::Deep, "C:\\Data\\", SampleFolder(4096), 4096),
         {"1", "3", "14.6 KB", "24.0 KB", "9.4 KB", "C:\\Data\\"}},
        {"shallow folder, 4 KB clusters",
         frame::FolderCells(StatusRow::Shallow, "", SampleFolder(4096), 4096),
         {"1", "2", "4.9 KB", "12.0 KB", "7.1 KB", ""}},
        {"deep file, cluster 0",
         frame::FileCells(StatusRow::Deep, "C:\\Data\\", file, 0),
         {"", "", "", "", "", "C:\\Data\\"}},
        {"deep file, 4 KB clusters",
         frame::FileCells(StatusRow::Deep, "C:\\Data\\", file, 4096),
         {"", "", "", "", "", "C:\\Data\\"}},
        {"shallow file, cluster 0",
         frame::FileCells(StatusRow::Shallow, "Sub\\c", file, 0),
         {"", "", "9.8 KB", "n/a", "n/a", "Sub\\c"}},
        {"shallow file, 4 KB clusters",
         frame::FileCells(StatusRow::Shallow, "Sub\\c", file, 4096),
         {"", "", "9.8 KB", "12.0 KB", "2.2 KB", "Sub\\c"}},
        {"empty file wastes nothing",
         frame::FileCells(StatusRow::Shallow, "e", model::FileInfo("e", 0), 512),
         {"", "", "0 bytes", "0 bytes", "0 bytes", "e"}},
    };
    for (const Case& c : cases) EXPECT_EQ(c.cells, c.expected) << c.what;
}

// A sample holds a text whole when the text matches the sample's end, digit for digit and the rest
// character for character: digits are equally wide, so the text is at most as wide as the sample.
bool Holds(std::string_view sample, std::string_view text) {
    if (text.size() > sample.size()) return false;
    sample.remove_prefix(sample.size() - text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const bool digit = text[i] >= '0' && text[i] <= '9';
        if (digit ? !(sample[i] >= '0' && sample[i] <= '9') : sample[i] != text[i]) return false;
    }
    return true;
}

bool AnySampleHolds(std::string_view text) {
    for (const char* sample : frame::kWidestSizeTexts)
        if (Holds(sample, text)) return true;
    return false;
}

TEST(StatusCells, WidthSamplesHoldEveryCountAndSize) {
    // Around every power of two and of ten: where each unit starts, where it is about to roll over (the
    // rounded "1000.0 KB"), and the largest values there are.
    std::vector<std::uint64_t> values = {0,
                                         999,
                                         1000,
                                         1024 * 1000 - 1,
                                         1024ull * 1024 * 1000 - 1,
                                         (1ull << 30) * 1000 - 1,
                                         (1ull << 40) * 1000 - 1,
                                         UINT64_MAX};
    for (int bit = 0; bit < 64; ++bit) values.insert(values.end(), {(1ull << bit) - 1, 1ull << bit, (1ull << bit) + 1});
    for (std::uint64_t ten = 10;; ten *= 10) {
        values.insert(values.end(), {ten - 1, ten, ten / 100 * 99});
        if (ten > UINT64_MAX / 10) break;
    }
    for (std::uint64_t value : values)
        EXPECT_TRUE(AnySampleHolds(model::FormatSize(value))) << model::FormatSize(value);
    EXPECT_TRUE(AnySampleHolds("n/a"));
    EXPECT_TRUE(Holds(frame::kWidestSizeTexts[6], "16384.0 PB")) << "the largest size there is";

    // Counts are 32-bit: every one of them up to 4,294,967,295 files or folders.
    for (std::uint64_t count : {0ull, 999'999ull, 1'000'000ull, 9'999'999ull, 12'345'678ull, 999'999'999ull,
                                1'000'000'000ull, 4'294'967'295ull})
        EXPECT_TRUE(Holds(frame::kWidestCountText, model::FormatCount(count))) << model::FormatCount(count);
    EXPECT_FALSE(Holds(frame::kWidestCountText, "10,000,000,000")) << "the check can fail";
    EXPECT_FALSE(AnySampleHolds("1000.0 XB")) << "the check can fail";
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

TEST(StatusCells, NameCellCarriesTheChange) {
    using compare::SizeChange;
    EXPECT_EQ(frame::NameWithChange("Photos\\", SizeChange{2000000, false}, false), "Photos\\  (+1.9 MB)");
    EXPECT_EQ(frame::NameWithChange("", SizeChange{60, true}, false), "(-60 bytes)");
    EXPECT_EQ(frame::NameWithChange("new.bin", SizeChange{800000, false}, true), "new.bin  (new, +781.2 KB)");
    EXPECT_EQ(frame::NameWithChange("C:\\", SizeChange{}, false), "C:\\  (0 bytes)");
}

}  // namespace
