// FindFirstFileW-based lister (see Win32Lister.h).
#include "scan/Win32Lister.h"

#include "fw/Handles.h"
#include "scan/ReparsePoint.h"

#include <cwchar>

namespace scan {

std::wstring Utf8ToWide(const std::string& text) {
    if (text.empty()) return {};
    const int length = MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), wide.data(), length);
    return wide;
}

std::string WideToUtf8(const wchar_t* text) {
    const int length = static_cast<int>(std::wcslen(text));
    if (length == 0) return {};
    const int bytes = WideCharToMultiByte(CP_UTF8, 0, text, length, nullptr, 0, nullptr, nullptr);
    std::string narrow(static_cast<std::size_t>(bytes), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, length, narrow.data(), bytes, nullptr, nullptr);
    return narrow;
}

std::wstring SearchPattern(const std::string& folderPath) {
    std::wstring path = Utf8ToWide(folderPath);
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
    const std::wstring path = Utf8ToWide(folderPath);
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
    return WideToUtf8(full.c_str());
}

namespace {
class Win32Listing final : public DirListing {
public:
    Win32Listing(fw::FindHandle find, const WIN32_FIND_DATAW& first) noexcept
        : find_(std::move(find)), data_(first) {}

    bool Next(DirEntry& entry) override {
        if (pending_) {
            pending_ = false;
        } else if (!FindNextFileW(find_.Get(), &data_)) {
            return false;
        }
        entry.name = WideToUtf8(data_.cFileName);
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
