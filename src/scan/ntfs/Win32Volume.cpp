// Win32Volume and ScanFromFileTable (see Win32Volume.h).
#include "scan/ntfs/Win32Volume.h"

#include "fw/Utf8.h"

#include "scan/Win32Lister.h"
#include "scan/ntfs/NtfsReader.h"

#include <winioctl.h>

#include <algorithm>
#include <cstring>
#include <cwctype>

namespace scan::ntfs {

namespace {
// Sector sizes go up to 4 KiB; reading in whole 4 KiB blocks suits all of them.
constexpr std::uint64_t kAlign = 4096;
constexpr std::size_t kPageBytes = 8u << 20;
}  // namespace

bool Win32Volume::Open(const std::wstring& path) {
    file_.Reset(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                            OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!file_) return false;
    GET_LENGTH_INFORMATION length{};
    DWORD returned = 0;
    LARGE_INTEGER fileSize{};
    if (DeviceIoControl(file_.Get(), IOCTL_DISK_GET_LENGTH_INFO, nullptr, 0, &length, sizeof length, &returned,
                        nullptr))
        size_ = static_cast<std::uint64_t>(length.Length.QuadPart);
    else if (GetFileSizeEx(file_.Get(), &fileSize))
        size_ = static_cast<std::uint64_t>(fileSize.QuadPart);
    else
        size_ = ~std::uint64_t{0};  // unknown: the boot sector's own size bounds the reads
    pages_.reset(
        static_cast<std::uint8_t*>(VirtualAlloc(nullptr, kPageBytes, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE)));
    pageBytes_ = pages_ ? kPageBytes : 0;
    return pages_ != nullptr;
}

bool Win32Volume::Read(std::uint64_t offset, void* buffer, std::size_t length) {
    if (!file_ || offset > size_ || length > size_ - offset) return false;
    auto* out = static_cast<std::uint8_t*>(buffer);
    while (length > 0) {
        const std::uint64_t start = offset & ~(kAlign - 1);
        const std::size_t skip = static_cast<std::size_t>(offset - start);
        const std::size_t want = std::min<std::size_t>(pageBytes_, (skip + length + kAlign - 1) & ~(kAlign - 1));
        OVERLAPPED at{};
        at.Offset = static_cast<DWORD>(start);
        at.OffsetHigh = static_cast<DWORD>(start >> 32);
        DWORD got = 0;
        if (!ReadFile(file_.Get(), pages_.get(), static_cast<DWORD>(want), &got, &at) || got <= skip) return false;
        // An image file may end inside the last block; a short read is fine while it covers the request.
        const std::size_t count = std::min<std::size_t>(got - skip, length);
        std::memcpy(out, pages_.get() + skip, count);
        out += count;
        offset += count;
        length -= count;
    }
    return true;
}

ReadResult ScanFromFileTable(const std::string& rootPath, model::DirInfo& root, ScanCounters& counters,
                             WalkControl& control, std::uint32_t clusterSize) {
    // Only folders named from a drive letter; network and long-path forms go to the walk.
    const bool drivePath = rootPath.size() >= 3 && std::iswalpha(static_cast<wint_t>(rootPath[0])) &&
                           rootPath[1] == ':' && rootPath[2] == '\\';
    if (!drivePath) return ReadResult::kUnavailable;
    const std::wstring wideRoot = fw::Utf8ToWide(rootPath);

    wchar_t volumePath[MAX_PATH + 1] = {};
    if (!GetVolumePathNameW(wideRoot.c_str(), volumePath, MAX_PATH)) return ReadResult::kUnavailable;
    const std::wstring volume = volumePath;
    const UINT type = GetDriveTypeW(volume.c_str());
    if (type != DRIVE_FIXED && type != DRIVE_REMOVABLE) return ReadResult::kUnavailable;
    wchar_t fileSystem[MAX_PATH + 1] = {};
    if (!GetVolumeInformationW(volume.c_str(), nullptr, 0, nullptr, nullptr, nullptr, fileSystem, MAX_PATH) ||
        std::wstring(fileSystem) != L"NTFS")
        return ReadResult::kUnavailable;
    if (volume.size() > wideRoot.size() + 1) return ReadResult::kUnavailable;

    // A drive root opens as "\\.\X:"; a volume mounted in a folder through its volume name.
    std::wstring device;
    if (volume.size() == 3 && volume[1] == L':') {
        device = L"\\\\.\\" + volume.substr(0, 2);
    } else {
        wchar_t name[MAX_PATH + 1] = {};
        if (!GetVolumeNameForVolumeMountPointW(volume.c_str(), name, MAX_PATH)) return ReadResult::kUnavailable;
        device = name;
        if (!device.empty() && device.back() == L'\\') device.pop_back();
    }
    Win32Volume raw;
    if (!raw.Open(device)) return ReadResult::kUnavailable;

    std::vector<std::u16string> path;
    const std::string relative =
        volume.size() < wideRoot.size() ? fw::WideToUtf8(wideRoot.c_str() + volume.size()) : "";
    if (!SplitRelativePath(relative, path)) return ReadResult::kUnavailable;
    return ReadVolume(raw, path, root, counters, control, clusterSize);
}

}  // namespace scan::ntfs
