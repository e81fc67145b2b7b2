// FindFirstFileW-based lister (see Win32Lister.h).
#include "scan/Win32Lister.h"

#include "fw/Handles.h"
#include "fw/Utf8.h"
#include "scan/ReparsePoint.h"

#include <cwchar>

namespace scan {

std::wstring SearchPattern(const std::string& folderPath) {
    std::wstring path = fw::Utf8ToWide(folderPath);
    for (wchar_t& c : path)
        if (c == L'/') c = L'\\';
    std::wstring pattern;
    const bool drivePath = path.size() >= 2 && path[1] == L':' && (path.size() == 2 || path[2] == L'\\');
    if (path.starts_with(L"\\\\?\\"))
        pattern = path;
    else if (path.starts_with(L"\\\\.\\"))
        pattern = path;
    else if (path.starts_with(L"\\\\"))
        pattern = L"\\\\?\\UNC\\" + path.substr(2);
    else if (drivePath)
        pattern = L"\\\\?\\" + path;
    else
        pattern = path;
    pattern += L"\\*.*";
    return pattern;
}

std::string FullFolderPath(const std::string& folderPath) {
    const std::wstring path = fw::Utf8ToWide(folderPath);
    if (path.empty()) return folderPath;
    std::wstring full(MAX_PATH, L'\0');
    DWORD length = GetFullPathNameW(path.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
    if (length >= full.size()) {  // too small: the length needed, terminator included
        full.resize(length);
        length = GetFullPathNameW(path.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
    }
    if (length == 0 || length >= full.size()) return folderPath;
    full.resize(length);
    if ((path.back() == L'\\' || path.back() == L'/') && full.back() != L'\\') full += L'\\';
    return fw::WideToUtf8(full.c_str());
}

namespace {
class Win32Listing final : public DirListing {
public:
    Win32Listing(fw::FindHandle find, const WIN32_FIND_DATAW& first) noexcept : find_(std::move(find)), data_(first) {}

    bool Next(DirEntry& entry) override {
        if (pending_) {
            pending_ = false;
        } else if (!FindNextFileW(find_.Get(), &data_)) {
            return false;
        }
        entry.name = fw::WideToUtf8(data_.cFileName);
        entry.isDirectory = (data_.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        entry.isReparsePoint = IsLinkReparsePoint(data_.dwFileAttributes, data_.dwReserved0);
        entry.size = (std::uint64_t{data_.nFileSizeHigh} << 32) | data_.nFileSizeLow;
        return true;
    }

private:
    fw::FindHandle find_;
    WIN32_FIND_DATAW data_;
    bool pending_ = true;  // FindFirstFileW already delivered the first entry
};
}  // namespace

std::unique_ptr<DirListing> Win32Lister::Open(const std::string& path) {
    WIN32_FIND_DATAW data;
    fw::FindHandle find(FindFirstFileW(SearchPattern(path).c_str(), &data));
    if (!find) return nullptr;
    return std::make_unique<Win32Listing>(std::move(find), data);
}

}  // namespace scan
