// The system drives table without windows: type texts and the order drives are asked in, cell texts of
// the answers, the query sequence of one drive against faked volumes, the remembered rectangle's text and
// the pull of a placement back into the work area.
#include "info/SysDrives.h"

#include "common/MapStore.h"

#include <gtest/gtest.h>

#include <map>

namespace {

using info::Cell;
}  // namespace

namespace info {
void PrintTo(const Cell& cell, std::ostream* out) { *out << cell.column << ":\"" << cell.text << '"'; }
}  // namespace info

namespace {
using info::Cell;

TEST(SysDrives, TypeTextsAndQueryPriorities) {
    struct Case {
        unsigned type;
        const char* text;
        int priority;
    };
    const Case cases[] = {{0, "", 0},       {1, "", 0},       {2, "Removable", 2}, {3, "Fixed", 4},
                          {4, "Remote", 1}, {5, "CD-ROM", 3}, {6, "RAM Disk", 5},  {7, "", 0}};
    for (const Case& c : cases) {
        EXPECT_STREQ(info::DriveTypeText(c.type), c.text) << c.type;
        EXPECT_EQ(info::DriveQueryPriority(c.type), c.priority) << c.type;
    }
}

std::string Letters(const std::vector<info::DriveToQuery>& drives) {
    std::string letters;
    for (const auto& drive : drives) letters += drive.letter;
    return letters;
}

TEST(SysDrives, FastestKindsAreAskedFirstAndEqualKindsInLetterOrder) {
    EXPECT_EQ(Letters(info::QueryOrder({{'C', 3}, {'D', 5}, {'E', 6}, {'Z', 4}})), "ECDZ");
    EXPECT_EQ(Letters(info::QueryOrder({{'A', 2}, {'B', 0}, {'C', 3}, {'D', 3}, {'F', 4}, {'G', 2}, {'H', 6}})),
              "HCDAGFB");
    EXPECT_EQ(Letters(info::QueryOrder({})), "");
}

TEST(SysDrives, SpaceCellsShowSharesOfTheTotal) {
    struct Case {
        scan::DiskSpace space;  // available to caller, total, total free
        std::vector<Cell> cells;
    };
    const Case cases[] = {
        {{250, 1000, 250}, {{2, "1.0 KB"}, {3, "750 bytes (75%)"}, {4, "250 bytes (25%)"}, {5, "250 bytes (25%)"}}},
        {{100, 3000, 1000},  // 66.67% used is truncated
         {{2, "2.9 KB"}, {3, "2.0 KB (66%)"}, {4, "1.0 KB (33%)"}, {5, "100 bytes (3%)"}}},
        // A pseudo file system reports nothing at all: no division by zero, sizes without a share.
        {{0, 0, 0}, {{2, "0 bytes"}, {3, "0 bytes"}, {4, "0 bytes"}, {5, "0 bytes"}}},
        // Free above total: nothing used, the shares clamped.
        {{5000, 1000, 2000}, {{2, "1.0 KB"}, {3, "0 bytes (0%)"}, {4, "2.0 KB (100%)"}, {5, "4.9 KB (100%)"}}},
    };
    for (const Case& c : cases) EXPECT_EQ(info::SpaceCells(c.space), c.cells) << c.space.total;
}

TEST(SysDrives, ClusterAndSerialTexts) {
    const std::pair<std::uint32_t, const char*> clusters[] = {{0, ""},      {512, "512"}, {1023, "1023"},
                                                              {1024, "1K"}, {4096, "4K"}, {65536, "64K"},
                                                              {1536, "1K"}};
    for (const auto& [bytes, text] : clusters) EXPECT_EQ(info::ClusterText(bytes), text) << bytes;
    const std::pair<std::uint32_t, const char*> serials[] = {
        {0x1A2B, "00001A2B"}, {0, "00000000"}, {0xFFFFFFFFu, "FFFFFFFF"}, {0xabcdef12u, "ABCDEF12"}};
    for (const auto& [serial, text] : serials) EXPECT_EQ(info::SerialText(serial), text) << serial;
}

TEST(SysDrives, VolumeCellsMapEachFlagToItsColumn) {
    const scan::VolumeInformation volume{"DATA", "NTFS", 0x1A2B, 255, 0x2 | 0x10 | 0x8000};
    const std::vector<Cell> expected = {{7, "DATA"}, {8, "00001A2B"}, {9, "255"}, {10, "NTFS"}, {11, "Yes"},
                                        {12, "No"},  {13, "No"},      {14, "No"}, {15, "Yes"},  {16, "Yes"}};
    EXPECT_EQ(info::VolumeCells(volume), expected);
    for (int column = 0; column < info::kDriveColumnCount; ++column)
        EXPECT_NE(std::string(info::DriveColumnAt(column).header), "") << column;
    EXPECT_STREQ(info::DriveColumnAt(info::kColCompressedVolume).header, "ComprVol");
}

// Volumes answered from tables; every question is counted by root.
class FakeVolumes : public scan::VolumeQueries {
public:
    std::map<std::string, scan::DiskSpace> spaces;
    std::map<std::string, scan::VolumeInformation> volumes;
    std::uint32_t sectorsPerCluster = 8;
    mutable std::vector<std::string> asked;

    std::uint32_t LogicalDrives() const override { return 0; }
    std::string VolumePathName(const std::string& path) const override { return path.substr(0, 3); }
    unsigned DriveType(const std::string&) const override { return 3; }
    bool VolumeLabel(const std::string&, std::string&) const override { return false; }
    std::string FileSystemName(const std::string& root) const override {
        asked.push_back("fs " + root);
        return "FAT";
    }
    bool DiskFreeSpace(const std::string& root, std::uint32_t& spc, std::uint32_t& bps) const override {
        asked.push_back("cluster " + root);
        spc = sectorsPerCluster;
        bps = 512;
        return spaces.count(root) > 0;
    }
    bool ReadBootSector(char, std::array<std::uint8_t, 512>&, std::size_t&) const override { return false; }
    bool Win9xFreeSpace(const std::string&, std::uint32_t&, std::uint32_t&) const override { return false; }
    int PlatformId() const override { return kPlatformNT; }
    bool DiskSpaceEx(const std::string& root, scan::DiskSpace& space) const override {
        asked.push_back("space " + root);
        auto it = spaces.find(root);
        if (it == spaces.end()) return false;
        space = it->second;
        return true;
    }
    bool VolumeInfo(const std::string& root, scan::VolumeInformation& info) const override {
        asked.push_back("volume " + root);
        auto it = volumes.find(root);
        if (it == volumes.end()) return false;
        info = it->second;
        return true;
    }
};

TEST(SysDrives, ADriveIsAskedSpaceClusterAndVolumeAndFailedQueriesLeaveCellsOut) {
    FakeVolumes fake;
    fake.spaces["C:\\"] = {250, 1000, 250};
    fake.volumes["C:\\"] = {"SYS", "FAT", 0x1A2B, 12, 0};
    std::vector<Cell> cells;
    info::QueryDrive(
        fake, 'C', [] { return false; }, [&](const Cell& cell) { cells.push_back(cell); });
    ASSERT_EQ(cells.size(), 4u + 1u + 10u);
    EXPECT_EQ(cells[1], (Cell{3, "750 bytes (75%)"}));
    EXPECT_EQ(cells[4], (Cell{6, "4K"}));
    EXPECT_EQ(cells[6], (Cell{8, "00001A2B"}));

    // A drive without media: every query fails, no cell is written.
    cells.clear();
    info::QueryDrive(
        fake, 'A', [] { return false; }, [&](const Cell& cell) { cells.push_back(cell); });
    EXPECT_TRUE(cells.empty());
}

TEST(SysDrives, ATerminationRequestStopsBetweenTheQueriesOfOneDrive) {
    for (int allowed = 0; allowed <= 3; ++allowed) {
        FakeVolumes fake;
        fake.spaces["D:\\"] = {1, 2, 1};
        fake.volumes["D:\\"] = {};
        int checks = 0;
        std::vector<Cell> cells;
        info::QueryDrive(
            fake, 'D', [&] { return checks++ >= allowed; }, [&](const Cell& c) { cells.push_back(c); });
        std::vector<std::string> expected;
        if (allowed >= 1) expected.push_back("space D:\\");
        if (allowed >= 2) expected.insert(expected.end(), {"fs D:\\", "cluster D:\\"});
        if (allowed >= 3) expected.push_back("volume D:\\");
        EXPECT_EQ(fake.asked, expected) << allowed;
        EXPECT_EQ(cells.size(), std::vector<std::size_t>({0, 4, 5, 15})[allowed]) << allowed;
    }
}

TEST(SysDrives, RememberedRectangleTextIsReadOnlyWhenWhole) {
    struct Case {
        const char* text;
        bool taken;
        fw::Rect rect;
    };
    const fw::Rect kept{1, 2, 3, 4};
    const Case cases[] = {
        {"1 120 80 700 560", true, {120, 80, 700, 560}},
        {"  1  -20 +5 300 400 ", true, {-20, 5, 300, 400}},
        {"1 0 0 0 0", true, {0, 0, 0, 0}},
        {"1 10 20 30 40 99", true, {10, 20, 30, 40}},
        {"2 120 80 700 560", false, kept},
        {"1 120 80 700", false, kept},
        {"1 120 80 x 560", false, kept},
        {"1 120 80 99999999999 560", false, kept},
        {"", false, kept},
        {"one", false, kept},
    };
    for (const Case& c : cases) {
        info::SysDrivesDlgData data{kept};
        EXPECT_EQ(info::ParseSysDrivesDlgData(c.text, data), c.taken) << c.text;
        EXPECT_EQ(data.rect, c.rect) << c.text;
    }
    info::SysDrivesDlgData data{{-8, 16, 1032, 700}};
    EXPECT_EQ(info::FormatSysDrivesDlgData(data), "1 -8 16 1032 700");
    info::SysDrivesDlgData back;
    ASSERT_TRUE(info::ParseSysDrivesDlgData(info::FormatSysDrivesDlgData(data), back));
    EXPECT_EQ(back.rect, data.rect);
    EXPECT_TRUE(data.IsValid());
    EXPECT_FALSE(info::SysDrivesDlgData{}.IsValid());
    EXPECT_FALSE((info::SysDrivesDlgData{{10, 10, 10, 50}}.IsValid()));
}

TEST(SysDrives, TheRectangleTravelsThroughTheSettingsValue) {
    native_test::MapStore store;
    info::SysDrivesDlgData data{{5, 6, 7, 8}};
    info::LoadSysDrivesDlgData(store, data);  // missing value: unchanged
    EXPECT_EQ(data.rect, (fw::Rect{5, 6, 7, 8}));
    info::SaveSysDrivesDlgData(store, {{100, 50, 900, 450}});
    EXPECT_EQ(store.values["DlgDataSysDrives"], "1 100 50 900 450");
    info::LoadSysDrivesDlgData(store, data);
    EXPECT_EQ(data.rect, (fw::Rect{100, 50, 900, 450}));
}

}  // namespace
