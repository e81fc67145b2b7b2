// LogDrives and the cluster-size detection against faked system answers.
#include "scan/ClusterSize.h"
#include "scan/LogDrives.h"

#include <gtest/gtest.h>

#include <map>

namespace {

struct FakeVolumes final : scan::VolumeQueries {
    std::uint32_t mask = 0;
    std::map<char, unsigned> types;
    std::map<char, std::string> labels;  // absent: the label query fails
    mutable std::vector<std::string> labelQueries;
    std::string fileSystem = "NTFS";
    bool freeSpaceOk = true;
    std::uint32_t sectorsPerCluster = 8, bytesPerSector = 512;
    bool bootOpens = true;
    std::size_t bootBytes = 512;
    std::uint16_t bootBytesPerSector = 512;
    std::uint8_t bootSectorsPerCluster = 8;
    mutable int bootReads = 0, freeSpaceCalls = 0;
    int platform = kPlatformNT;
    bool win9xOk = true;
    // The volume of a path; a path not listed lies on the drive its first three characters name.
    std::map<std::string, std::string> volumes;
    mutable std::vector<std::string> volumeQueries;  // every root the volume queries were asked about
    mutable std::string bootLetters;

    std::string VolumePathName(const std::string& path) const override {
        const auto it = volumes.find(path);
        return it != volumes.end() ? it->second : path.substr(0, 3);
    }

    std::uint32_t LogicalDrives() const override { return mask; }
    unsigned DriveType(const std::string& root) const override {
        EXPECT_EQ(root.substr(1), ":\\");
        const auto it = types.find(root[0]);
        return it == types.end() ? 0 : it->second;
    }
    bool VolumeLabel(const std::string& root, std::string& label) const override {
        labelQueries.push_back(root);
        const auto it = labels.find(root[0]);
        if (it == labels.end()) {
            label = "garbage from a failed call";
            return false;
        }
        label = it->second;
        return true;
    }
    std::string FileSystemName(const std::string& root) const override {
        volumeQueries.push_back(root);
        return fileSystem;
    }
    bool DiskFreeSpace(const std::string& root, std::uint32_t& spc, std::uint32_t& bps) const override {
        volumeQueries.push_back(root);
        ++freeSpaceCalls;
        spc = sectorsPerCluster;
        bps = bytesPerSector;
        return freeSpaceOk;
    }
    bool ReadBootSector(char letter, std::array<std::uint8_t, 512>& sector, std::size_t& read) const override {
        ++bootReads;
        bootLetters += letter;
        if (!bootOpens) return false;
        sector.fill(0);
        sector[11] = static_cast<std::uint8_t>(bootBytesPerSector & 0xFF);
        sector[12] = static_cast<std::uint8_t>(bootBytesPerSector >> 8);
        sector[13] = bootSectorsPerCluster;
        read = bootBytes;
        return true;
    }
    bool Win9xFreeSpace(const std::string& root, std::uint32_t& spc, std::uint32_t& bps) const override {
        volumeQueries.push_back(root);
        spc = 4;
        bps = 512;
        return win9xOk;
    }
    int PlatformId() const override { return platform; }
};

std::uint32_t Bit(char letter) { return std::uint32_t{1} << (letter - 'A'); }

}  // namespace

TEST(LogDrives, ListsDrivesInLetterOrderWithTypeSuffixAndFixedLabels) {
    FakeVolumes v;
    v.mask = Bit('A') | Bit('C') | Bit('D') | Bit('E') | Bit('F') | Bit('G') | Bit('Q') | Bit('Z');
    v.types = {{'A', 2}, {'C', 3}, {'D', 5}, {'E', 1}, {'F', 4}, {'G', 6}, {'Q', 0}, {'Z', 3}};
    v.labels = {{'C', "SYSTEM"}, {'D', "DVD LABEL"}};  // Z's label query fails

    const scan::LogDrives drives(v);
    ASSERT_EQ(drives.Count(), 6);
    const std::vector<std::string> texts{"A: [Removable]", "C: [Fixed] SYSTEM", "D: [CD-ROM]",
                                         "F: [Remote]",    "G: [RAM Disk]",     "Z: [Fixed]"};
    for (int i = 0; i < drives.Count(); ++i) EXPECT_EQ(drives.DisplayTextAt(i), texts[i]);
    EXPECT_EQ(drives.LetterAt(1), "C");
    EXPECT_EQ(drives.TypeAt(2), 5);
    // Only fixed volumes are asked for their label.
    EXPECT_EQ(v.labelQueries, (std::vector<std::string>{"C:\\", "Z:\\"}));
    EXPECT_TRUE(drives.Drives()[5].label.empty());
}

TEST(LogDrives, ContainsIgnoresCaseAndIndexGuards) {
    FakeVolumes v;
    v.mask = Bit('C') | Bit('E');
    v.types = {{'C', 3}, {'E', 1}};
    const scan::LogDrives drives(v);
    EXPECT_TRUE(drives.Contains('c'));
    EXPECT_TRUE(drives.Contains('C'));
    EXPECT_FALSE(drives.Contains('e'));
    EXPECT_FALSE(drives.Contains('x'));
    for (const int index : {-1, drives.Count(), 1000}) {
        EXPECT_EQ(drives.LetterAt(index), "");
        EXPECT_EQ(drives.TypeAt(index), 0);
        EXPECT_EQ(drives.DisplayTextAt(index), "");
    }

    FakeVolumes none;
    EXPECT_EQ(scan::LogDrives(none).Count(), 0);
    EXPECT_TRUE(none.labelQueries.empty());
}

TEST(ClusterSize, BootSectorArithmetic) {
    std::array<std::uint8_t, 512> sector{};
    auto with = [&](std::uint16_t bytesPerSector, std::uint8_t sectorsPerCluster) {
        sector[11] = static_cast<std::uint8_t>(bytesPerSector & 0xFF);
        sector[12] = static_cast<std::uint8_t>(bytesPerSector >> 8);
        sector[13] = sectorsPerCluster;
        return scan::ClusterSizeFromBootSector(sector);
    };
    EXPECT_EQ(with(512, 8), 4096u);
    EXPECT_EQ(with(256, 1), 0u);
    EXPECT_EQ(with(4096, 128), 524288u);
    EXPECT_EQ(with(512, 3), 0u);  // a multiple of 512 that the tree cannot round with
    EXPECT_EQ(with(0, 0), 0u);
}

TEST(ClusterSize, ReadsTheBootSectorOnOtherFileSystems) {
    FakeVolumes v;
    v.bootBytesPerSector = 512;
    v.bootSectorsPerCluster = 64;
    v.sectorsPerCluster = 1;  // GetDiskFreeSpace would say 512
    for (const char* fs : {"NTFS", "FAT32", "", "fat"}) {
        v.fileSystem = fs;
        EXPECT_EQ(scan::DetectClusterSize("C:\\", v), 32768u) << fs;
    }
    EXPECT_EQ(v.freeSpaceCalls, 0);
}

TEST(ClusterSize, FatAndCdfsAskTheFreeSpaceCallFirst) {
    FakeVolumes v;
    v.sectorsPerCluster = 4;
    v.bytesPerSector = 2048;
    for (const char* fs : {"FAT", "CDFS"}) {
        v.fileSystem = fs;
        EXPECT_EQ(scan::DetectClusterSize("D:\\", v), 8192u) << fs;
    }
    EXPECT_EQ(v.bootReads, 0);
    v.bytesPerSector = 200;
    EXPECT_EQ(scan::DetectClusterSize("D:\\", v), 0u);
    v.bytesPerSector = 2048;
    v.freeSpaceOk = false;
    EXPECT_EQ(scan::DetectClusterSize("D:\\", v), 0u);
    EXPECT_EQ(v.bootReads, 0);
}

TEST(ClusterSize, FallsBackToTheFreeSpaceCallWhenTheBootSectorFails) {
    struct Case {
        const char* what;
        bool opens;
        std::size_t bytes;
        std::uint16_t bytesPerSector;
        std::uint8_t sectorsPerCluster;
    };
    for (const Case& c : {Case{"volume cannot be opened", false, 512, 512, 8}, Case{"short read", true, 100, 512, 8},
                          Case{"not a multiple of 512", true, 512, 256, 1}, Case{"zero", true, 512, 0, 0}}) {
        FakeVolumes v;
        v.bootOpens = c.opens;
        v.bootBytes = c.bytes;
        v.bootBytesPerSector = c.bytesPerSector;
        v.bootSectorsPerCluster = c.sectorsPerCluster;
        v.sectorsPerCluster = 8;
        v.bytesPerSector = 512;
        EXPECT_EQ(scan::DetectClusterSize("C:\\", v), 4096u) << c.what;
        v.bytesPerSector = 100;
        EXPECT_EQ(scan::DetectClusterSize("C:\\", v), 0u) << c.what;
        v.freeSpaceOk = false;
        v.bytesPerSector = 512;
        EXPECT_EQ(scan::DetectClusterSize("C:\\", v), 0u) << c.what;
    }
}

TEST(ClusterSize, Windows9xUsesItsDriveServiceOnly) {
    FakeVolumes v;
    v.platform = scan::VolumeQueries::kPlatformWindows9x;
    EXPECT_EQ(scan::DetectClusterSize("C:\\", v), 2048u);
    v.win9xOk = false;
    EXPECT_EQ(scan::DetectClusterSize("C:\\", v), 0u);
    EXPECT_EQ(v.bootReads + v.freeSpaceCalls, 0);
}

// Only the volume that holds the path may answer: a share, a mounted folder or a relative path must not
// get the current drive's cluster size, nor that of a drive their first letter happens to name.
TEST(ClusterSize, AsksTheVolumeThatHoldsThePath) {
    struct Case {
        const char* what;
        std::string path;
        std::string volume;  // the volume query's answer; empty when it fails
        bool freeSpaceOk;
        std::string bootLetters;
        std::uint32_t expected;
    };
    for (const Case& c : {
             Case{"folder on a drive", "C:\\Data\\", "C:\\", true, "C", 32768},
             Case{"relative root", "Data\\", "E:\\", true, "E", 32768},
             Case{"share", "\\\\server\\share\\dir\\", "\\\\server\\share\\", true, "", 4096},
             Case{"share that gives no sizes", "\\\\server\\share\\dir\\", "\\\\server\\share\\", false, "", 0},
             Case{"share the volume query fails on", "\\\\server\\share\\", "", true, "", 0},
             Case{"mounted folder", "C:\\mnt\\disk\\sub\\", "C:\\mnt\\disk\\", true, "", 4096},
             Case{"mounted folder that gives no sizes", "C:\\mnt\\disk\\", "C:\\mnt\\disk\\", false, "", 0},
         }) {
        SCOPED_TRACE(c.what);
        FakeVolumes v;
        v.bootSectorsPerCluster = 64;  // the boot sector says 32768,
        v.sectorsPerCluster = 8;       // GetDiskFreeSpace 4096
        v.freeSpaceOk = c.freeSpaceOk;
        v.volumes[c.path] = c.volume;
        EXPECT_EQ(scan::DetectClusterSize(c.path, v), c.expected);
        EXPECT_EQ(v.bootLetters, c.bootLetters);
        for (const std::string& asked : v.volumeQueries) EXPECT_EQ(asked, c.volume);
        if (c.volume.empty()) {
            EXPECT_TRUE(v.volumeQueries.empty());
        }
    }
}
