// Cluster-size detection logic over VolumeQueries; the system answers come from the platform files.
#include "scan/ClusterSize.h"

#include <cctype>

namespace scan {

std::uint32_t UsableClusterSize(std::uint64_t bytes) {
    // The tree's cluster size is 0 or a power of two; a damaged sector's 1536 must not get through.
    if (bytes < 512 || bytes > 0x80000000u || (bytes & (bytes - 1)) != 0) return 0;
    return static_cast<std::uint32_t>(bytes);
}

std::uint32_t ClusterSizeFromBootSector(const std::array<std::uint8_t, 512>& sector) {
    const std::uint32_t bytesPerSector = sector[11] | (std::uint32_t{sector[12]} << 8);
    const std::uint32_t sectorsPerCluster = sector[13];
    return UsableClusterSize(std::uint64_t{bytesPerSector} * sectorsPerCluster);
}

namespace {
bool IsDriveLetterRoot(const std::string& volume) {
    return volume.size() == 3 && std::isalpha(static_cast<unsigned char>(volume[0])) && volume[1] == ':' &&
           volume[2] == '\\';
}

std::uint32_t FromDiskFreeSpace(const std::string& root, const VolumeQueries& queries) {
    std::uint32_t sectorsPerCluster = 0, bytesPerSector = 0;
    if (!queries.DiskFreeSpace(root, sectorsPerCluster, bytesPerSector)) return 0;
    return UsableClusterSize(std::uint64_t{sectorsPerCluster} * bytesPerSector);
}
}  // namespace

std::uint32_t DetectClusterSize(const std::string& path, const VolumeQueries& queries) {
    // Only the volume that holds the path may answer: a share, a mounted folder or a relative path must
    // never get the current drive's answer, nor that of the drive their first letter happens to name.
    const std::string volume = queries.VolumePathName(path);
    if (volume.empty()) return 0;
    if (queries.PlatformId() == VolumeQueries::kPlatformWindows9x) {
        std::uint32_t sectorsPerCluster = 0, bytesPerSector = 0;
        if (!queries.Win9xFreeSpace(volume, sectorsPerCluster, bytesPerSector)) return 0;
        return sectorsPerCluster * bytesPerSector;
    }
    const std::string fileSystem = queries.FileSystemName(volume);
    if (fileSystem == "FAT" || fileSystem == "CDFS") return FromDiskFreeSpace(volume, queries);

    // "\\.\X:" is the volume only when the volume is the drive X:\ itself.
    if (IsDriveLetterRoot(volume)) {
        std::array<std::uint8_t, 512> sector{};
        std::size_t bytesRead = 0;
        if (queries.ReadBootSector(volume[0], sector, bytesRead) && bytesRead == sector.size())
            if (const std::uint32_t size = ClusterSizeFromBootSector(sector)) return size;
    }
    // Ordinary users cannot open the volume, and some systems cannot read it: ask the file system instead.
    return FromDiskFreeSpace(volume, queries);
}

}  // namespace scan
