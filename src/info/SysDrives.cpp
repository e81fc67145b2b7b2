#include "info/SysDrives.h"

#include "config/SettingsStore.h"
#include "model/SizeText.h"
#include "scan/ClusterSize.h"

#include <algorithm>
#include <cstdio>

namespace info {
namespace {
constexpr unsigned kRemovable = 2, kFixed = 3, kRemote = 4, kCdRom = 5, kRamDisk = 6;

constexpr DriveColumnInfo kColumns[kDriveColumnCount] = {
    {"Drive", 40, DriveColumnInfo::Left},      {"Type", 80, DriveColumnInfo::Left},
    {"Total", 70, DriveColumnInfo::Right},     {"Used", 90, DriveColumnInfo::Right},
    {"Free", 90, DriveColumnInfo::Right},      {"UsrFree", 90, DriveColumnInfo::Right},
    {"Cluster", 50, DriveColumnInfo::Right},   {"Label", 60, DriveColumnInfo::Left},
    {"S/N", 70, DriveColumnInfo::Right},       {"MaxPath", 60, DriveColumnInfo::Right},
    {"FileSys", 60, DriveColumnInfo::Left},    {"CasePres", 60, DriveColumnInfo::Centre},
    {"CaseSens", 60, DriveColumnInfo::Centre}, {"Unicode", 60, DriveColumnInfo::Centre},
    {"ACLs", 60, DriveColumnInfo::Centre},     {"ComprFS", 60, DriveColumnInfo::Centre},
    {"ComprVol", 60, DriveColumnInfo::Centre},
};

// The file-system flag of each flag column, from "CasePres" on.
constexpr std::uint32_t kFlagBits[] = {0x2, 0x1, 0x4, 0x8, 0x10, 0x8000};
}  // namespace

const DriveColumnInfo& DriveColumnAt(int column) { return kColumns[std::clamp(column, 0, kDriveColumnCount - 1)]; }

const char* DriveTypeText(unsigned type) noexcept {
    switch (type) {
    case kRemovable: return "Removable";
    case kFixed: return "Fixed";
    case kRemote: return "Remote";
    case kCdRom: return "CD-ROM";
    case kRamDisk: return "RAM Disk";
    default: return "";
    }
}

int DriveQueryPriority(unsigned type) noexcept {
    switch (type) {
    case kRamDisk: return 5;
    case kFixed: return 4;
    case kCdRom: return 3;
    case kRemovable: return 2;
    case kRemote: return 1;
    default: return 0;
    }
}

std::vector<DriveToQuery> QueryOrder(std::vector<DriveToQuery> drives) {
    std::stable_sort(drives.begin(), drives.end(), [](const DriveToQuery& a, const DriveToQuery& b) {
        return DriveQueryPriority(a.type) > DriveQueryPriority(b.type);
    });
    return drives;
}

std::string ShareText(std::uint64_t part, std::uint64_t total) {
    std::string text = model::FormatSize(part);
    if (total == 0) return text;
    const double share = static_cast<double>(part) * 100.0 / static_cast<double>(total);
    const int percent = share >= 100.0 ? 100 : static_cast<int>(share);
    return text + " (" + std::to_string(percent) + "%)";
}

std::string ClusterText(std::uint32_t bytes) {
    if (bytes == 0) return {};
    if (bytes >= 1024) return std::to_string(bytes / 1024) + "K";
    return std::to_string(bytes);
}

std::string SerialText(std::uint32_t serial) {
    char text[9];
    std::snprintf(text, sizeof text, "%08X", static_cast<unsigned>(serial));
    return text;
}

std::vector<Cell> SpaceCells(const scan::DiskSpace& space) {
    const std::uint64_t used = space.totalFree < space.total ? space.total - space.totalFree : 0;
    return {{kColTotal, model::FormatSize(space.total)},
            {kColUsed, ShareText(used, space.total)},
            {kColFree, ShareText(space.totalFree, space.total)},
            {kColUserFree, ShareText(space.availableToCaller, space.total)}};
}

std::vector<Cell> VolumeCells(const scan::VolumeInformation& volume) {
    std::vector<Cell> cells = {{kColLabel, volume.label},
                               {kColSerial, SerialText(volume.serialNumber)},
                               {kColMaxPath, std::to_string(volume.maxComponentLength)},
                               {kColFileSystem, volume.fileSystem}};
    int column = kColCasePreserved;
    for (std::uint32_t bit : kFlagBits) cells.push_back({column++, (volume.flags & bit) ? "Yes" : "No"});
    return cells;
}

void QueryDrive(const scan::VolumeQueries& queries, char letter, const std::function<bool()>& stop,
                const std::function<void(const Cell&)>& put) {
    const std::string root{letter, ':', '\\'};
    if (stop()) return;
    scan::DiskSpace space;
    if (queries.DiskSpaceEx(root, space))
        for (const Cell& cell : SpaceCells(space)) put(cell);
    if (stop()) return;
    if (const std::uint32_t cluster = scan::DetectClusterSize(root, queries)) put({kColCluster, ClusterText(cluster)});
    if (stop()) return;
    scan::VolumeInformation volume;
    if (queries.VolumeInfo(root, volume))
        for (const Cell& cell : VolumeCells(volume)) put(cell);
}

}  // namespace info
