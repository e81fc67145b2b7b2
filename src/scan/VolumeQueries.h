// The drive and volume questions LogDrives and the cluster-size detection ask of the system, behind an
// interface so their logic can be checked against faked answers. SystemVolumeQueries() (Win32 builds)
// answers from the real system; it keeps no state apart from the platform id, queried once.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

namespace scan {

// GetDiskFreeSpaceExA's three counts.
struct DiskSpace {
    std::uint64_t availableToCaller = 0;  // quotas applied
    std::uint64_t total = 0;
    std::uint64_t totalFree = 0;
};

// GetVolumeInformationA's answers.
struct VolumeInformation {
    std::string label;
    std::string fileSystem;
    std::uint32_t serialNumber = 0;
    std::uint32_t maxComponentLength = 0;
    std::uint32_t flags = 0;  // FS_* bits
};

class VolumeQueries {
public:
    enum Platform : int { kPlatformWin32s = 0, kPlatformWindows9x = 1, kPlatformNT = 2 };

    // GetLogicalDrives: bit 0 for A, bit 1 for B, ...
    virtual std::uint32_t LogicalDrives() const = 0;
    // GetDriveTypeA on a root such as "C:\".
    virtual unsigned DriveType(const std::string& root) const = 0;
    // GetVolumePathNameW: the root of the volume holding `path` ("C:\", "\\server\share\", or a mounted
    // folder such as "C:\mnt\disk\"), a relative path resolved against the current folder; empty when the
    // call fails.
    virtual std::string VolumePathName(const std::string& path) const = 0;
    // GetVolumeInformationA's label; false when the call fails.
    virtual bool VolumeLabel(const std::string& root, std::string& label) const = 0;
    // GetVolumeInformationA's file-system name; empty when the call fails.
    virtual std::string FileSystemName(const std::string& root) const = 0;
    // GetDiskFreeSpaceA's sectors per cluster and bytes per sector; false when the call fails.
    virtual bool DiskFreeSpace(const std::string& root, std::uint32_t& sectorsPerCluster,
                               std::uint32_t& bytesPerSector) const = 0;
    // Opens "\\.\X:" and reads its first 512 bytes into `sector`; false when the volume cannot be opened
    // or the read fails. `bytesRead` tells how many bytes arrived.
    virtual bool ReadBootSector(char driveLetter, std::array<std::uint8_t, 512>& sector,
                                std::size_t& bytesRead) const = 0;
    // The Windows 95 family's drive service (vwin32, function 0x7303): false when unavailable or failed.
    virtual bool Win9xFreeSpace(const std::string& root, std::uint32_t& sectorsPerCluster,
                                std::uint32_t& bytesPerSector) const = 0;
    // GetVersionExA's dwPlatformId.
    virtual int PlatformId() const = 0;

    // The drives table's questions. They answer "failed" unless overridden, so that fakes written for the
    // drive list and the cluster size need not know them.
    // GetDiskFreeSpaceExA; false when the call fails.
    virtual bool DiskSpaceEx(const std::string& /*root*/, DiskSpace& /*space*/) const { return false; }
    // GetVolumeInformationA with label and file-system name; false when the call fails.
    virtual bool VolumeInfo(const std::string& /*root*/, VolumeInformation& /*info*/) const { return false; }

protected:
    ~VolumeQueries() = default;
};

#ifdef _WIN32
const VolumeQueries& SystemVolumeQueries();
#endif

}  // namespace scan
