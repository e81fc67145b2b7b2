// VolumeQueries answered by the running Windows system, and the parameterless LogDrives and
// DetectClusterSize that use it.
#include "scan/ClusterSize.h"
#include "scan/LogDrives.h"
#include "scan/VolumeQueries.h"
#include "scan/Win32Lister.h"

#include "fw/Handles.h"
#include "fw/Utf8.h"

#include <cstring>

namespace scan {

namespace {
class SystemQueries final : public VolumeQueries {
public:
    std::uint32_t LogicalDrives() const override { return GetLogicalDrives(); }

    unsigned DriveType(const std::string& root) const override { return GetDriveTypeA(root.c_str()); }

    std::string VolumePathName(const std::string& path) const override {
        const std::wstring wide = fw::Utf8ToWide(path);
        if (wide.empty()) return {};
        std::wstring volume(32768, L'\0');  // the longest path there is
        if (!GetVolumePathNameW(wide.c_str(), volume.data(), static_cast<DWORD>(volume.size()))) return {};
        return fw::WideToUtf8(volume.c_str());
    }

    bool VolumeLabel(const std::string& root, std::string& label) const override {
        char buffer[MAX_PATH] = {};
        if (!GetVolumeInformationA(root.c_str(), buffer, sizeof buffer, nullptr, nullptr, nullptr, nullptr, 0))
            return false;
        label = buffer;
        return true;
    }

    std::string FileSystemName(const std::string& root) const override {
        char name[32] = {};
        GetVolumeInformationA(root.c_str(), nullptr, 0, nullptr, nullptr, nullptr, name, sizeof name);
        name[sizeof name - 1] = '\0';
        return name;
    }

    bool DiskFreeSpace(const std::string& root, std::uint32_t& sectorsPerCluster,
                       std::uint32_t& bytesPerSector) const override {
        DWORD spc = 0, bps = 0, freeClusters = 0, totalClusters = 0;
        if (!GetDiskFreeSpaceA(root.c_str(), &spc, &bps, &freeClusters, &totalClusters)) return false;
        sectorsPerCluster = spc;
        bytesPerSector = bps;
        return true;
    }

    bool ReadBootSector(char driveLetter, std::array<std::uint8_t, 512>& sector,
                        std::size_t& bytesRead) const override {
        const char device[] = {'\\', '\\', '.', '\\', driveLetter, ':', '\0'};
        fw::FileHandle volume(
            CreateFileA(device, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr));
        if (!volume) return false;
        DWORD read = 0;
        sector.fill(0);
        const bool ok = ReadFile(volume.Get(), sector.data(), static_cast<DWORD>(sector.size()), &read, nullptr);
        bytesRead = read;
        return ok;
    }

    bool Win9xFreeSpace(const std::string& root, std::uint32_t& sectorsPerCluster,
                        std::uint32_t& bytesPerSector) const override {
        fw::FileHandle vwin32(CreateFileA("\\\\.\\vwin32", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                          OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!vwin32) return false;
        // The DOS extended free-space service through the 32-bit register block of the vwin32 device; the
        // register fields are 32-bit on that platform, so the addresses are truncated on purpose.
        struct Registers {
            std::uint32_t ebx, edx, ecx, eax, edi, esi, flags;
        };
        std::uint8_t result[44] = {};  // second 16-bit word: structure level 0
        Registers regs{};
        regs.edx = static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(root.c_str()));
        regs.ecx = sizeof result;
        regs.eax = 0x7303;
        regs.edi = static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(result));
        regs.flags = 1;
        DWORD returned = 0;
        constexpr DWORD kDriveInfoService = 6;
        const bool ok = DeviceIoControl(vwin32.Get(), kDriveInfoService, &regs, sizeof regs, &regs, sizeof regs,
                                        &returned, nullptr);
        if (!ok || (regs.flags & 1)) return false;
        std::memcpy(&sectorsPerCluster, result + 4, 4);
        std::memcpy(&bytesPerSector, result + 8, 4);
        return true;
    }

    bool DiskSpaceEx(const std::string& root, DiskSpace& space) const override {
        ULARGE_INTEGER available{}, total{}, totalFree{};
        if (!GetDiskFreeSpaceExA(root.c_str(), &available, &total, &totalFree)) return false;
        space = {available.QuadPart, total.QuadPart, totalFree.QuadPart};
        return true;
    }

    bool VolumeInfo(const std::string& root, VolumeInformation& info) const override {
        char label[MAX_PATH + 1] = {}, fileSystem[MAX_PATH + 1] = {};
        DWORD serial = 0, maxComponent = 0, flags = 0;
        if (!GetVolumeInformationA(root.c_str(), label, MAX_PATH, &serial, &maxComponent, &flags, fileSystem, MAX_PATH))
            return false;
        info = {label, fileSystem, serial, maxComponent, flags};
        return true;
    }

    int PlatformId() const override {
        static const int platform = [] {
            OSVERSIONINFOA info{sizeof info};
            return GetVersionExA(&info) ? static_cast<int>(info.dwPlatformId) : kPlatformNT;
        }();
        return platform;
    }
};
}  // namespace

const VolumeQueries& SystemVolumeQueries() {
    static const SystemQueries queries;
    return queries;
}

LogDrives::LogDrives() : LogDrives(SystemVolumeQueries()) {}

std::uint32_t DetectClusterSize(const std::string& root) { return DetectClusterSize(root, SystemVolumeQueries()); }

}  // namespace scan
