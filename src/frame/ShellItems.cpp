#include "frame/ShellItems.h"

#include "fw/Utf8.h"
#include "scan/ReparsePoint.h"

#include <shellapi.h>
#include <shlobj.h>

#include <utility>

namespace frame {
namespace {

// The path as the calls take it: no trailing backslash, except for a drive root ("C:\"), which names the
// drive's folder only so.
std::wstring PlainPath(const std::string& path) {
    std::string plain = path;
    if (plain.size() > 1 && plain.back() == '\\' && !IsDriveRootPath(plain)) plain.pop_back();
    return fw::Utf8ToWide(plain);
}

// The long form for the calls that take it, so that paths past MAX_PATH are reached too.
std::wstring LongPath(const std::wstring& plain) {
    if (plain.size() < MAX_PATH - 12 || plain.rfind(L"\\\\?\\", 0) == 0) return plain;
    if (plain.rfind(L"\\\\", 0) == 0) return L"\\\\?\\UNC\\" + plain.substr(2);
    return L"\\\\?\\" + plain;
}

bool IsLink(DWORD attributes, DWORD tag) { return scan::IsLinkReparsePoint(attributes, tag); }

struct Entry {
    std::wstring path;  // plain
    DWORD attributes = 0;
    DWORD tag = 0;
    bool IsFolder() const noexcept { return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0; }
    // A folder the walks go into: a link is an entry of its own, never entered.
    bool Entered() const noexcept { return IsFolder() && !IsLink(attributes, tag); }
};

// The entries of a folder; false (with the system's error) when it could not be listed.
bool List(const std::wstring& folder, std::vector<Entry>& entries, DWORD& error) {
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW((LongPath(folder) + L"\\*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) {
        error = GetLastError();
        return error == ERROR_FILE_NOT_FOUND || error == ERROR_NO_MORE_FILES;
    }
    do {
        const std::wstring name = data.cFileName;
        if (name == L"." || name == L"..") continue;
        const DWORD tag = (data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) ? data.dwReserved0 : 0;
        entries.push_back({folder + L"\\" + name, data.dwFileAttributes, tag});
    } while (FindNextFileW(find, &data));
    FindClose(find);
    return true;
}

// Removes one entry that is not entered: a file, a link (as the link), or a folder left empty. A read-only
// one loses that attribute first, as the shell's delete does; it gets it back when the removal fails.
DWORD RemoveEntry(const Entry& entry) {
    const std::wstring path = LongPath(entry.path);
    auto remove = [&] { return entry.IsFolder() ? RemoveDirectoryW(path.c_str()) : DeleteFileW(path.c_str()); };
    if (remove()) return 0;
    DWORD error = GetLastError();
    const bool readOnly =
        (entry.attributes & FILE_ATTRIBUTE_READONLY) && !(entry.attributes & FILE_ATTRIBUTE_REPARSE_POINT);
    if (error == ERROR_ACCESS_DENIED && readOnly &&
        SetFileAttributesW(path.c_str(), entry.attributes & ~static_cast<DWORD>(FILE_ATTRIBUTE_READONLY))) {
        if (remove()) return 0;
        error = GetLastError();
        SetFileAttributesW(path.c_str(), entry.attributes);
    }
    return error;
}

// Removes a folder and everything below it, children first, with an explicit stack (any depth). Links are
// removed as links. Goes on past failures; the first error is the answer.
DWORD RemoveTree(const Entry& top) {
    struct Pending {
        Entry entry;
        bool listed;
    };
    DWORD first = 0;
    auto note = [&first](DWORD error) {
        if (error && !first) first = error;
    };
    std::vector<Pending> stack{{top, false}};
    while (!stack.empty()) {
        if (stack.back().listed) {
            note(RemoveEntry(stack.back().entry));
            stack.pop_back();
            continue;
        }
        stack.back().listed = true;
        const std::wstring folder = stack.back().entry.path;
        std::vector<Entry> children;
        DWORD error = 0;
        if (!List(folder, children, error)) note(error);
        for (Entry& child : children) {
            if (child.Entered())
                stack.push_back({std::move(child), false});
            else
                note(RemoveEntry(child));
        }
    }
    return first;
}

DWORD Recycle(HWND owner, const std::wstring& plain) {
    std::wstring from = plain;
    from.push_back(L'\0');  // the list ends with an empty name
    SHFILEOPSTRUCTW operation{};
    operation.hwnd = owner;
    operation.wFunc = FO_DELETE;
    operation.pFrom = from.c_str();
    // No questions of the shell's own, as the program asked already; but where the Recycle Bin cannot take
    // the item the shell asks before it destroys it instead.
    operation.fFlags = FOF_ALLOWUNDO | FOF_NOCONFIRMATION | FOF_NOERRORUI | FOF_SILENT | FOF_WANTNUKEWARNING;
    const int result = SHFileOperationW(&operation);
    if (result) return static_cast<DWORD>(result);
    return operation.fAnyOperationsAborted ? ERROR_CANCELLED : 0;
}

std::string Reason(const std::wstring& plain, unsigned long operationError) {
    HANDLE probe =
        CreateFileW(LongPath(plain).c_str(), DELETE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                    OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (probe == INVALID_HANDLE_VALUE) return SystemErrorText(GetLastError());
    CloseHandle(probe);
    return operationError ? SystemErrorText(operationError) : "It is still there.";
}

}  // namespace

DiskLook LookAtDisk(const std::string& path) {
    DiskLook look;
    if (path.empty()) return look;
    const std::wstring plain = PlainPath(path);
    const std::wstring wide = LongPath(plain);
    DWORD attributes = INVALID_FILE_ATTRIBUTES;
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (GetFileAttributesExW(wide.c_str(), GetFileExInfoStandard, &data)) attributes = data.dwFileAttributes;
    DWORD tag = 0;
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
        // A file in use may refuse its attributes, and only a listing tells a reparse point's tag.
        WIN32_FIND_DATAW find;
        HANDLE handle = FindFirstFileW(wide.c_str(), &find);
        if (handle != INVALID_HANDLE_VALUE) {
            FindClose(handle);
            if (attributes == INVALID_FILE_ATTRIBUTES) attributes = find.dwFileAttributes;
            if (attributes & FILE_ATTRIBUTE_REPARSE_POINT) tag = find.dwReserved0;
        }
    }
    if (attributes == INVALID_FILE_ATTRIBUTES) return look;
    look.kind = (attributes & FILE_ATTRIBUTE_DIRECTORY) ? PathKind::kFolder : PathKind::kFile;
    look.link = IsLink(attributes, tag);
    if (look.kind == PathKind::kFolder && ((attributes & FILE_ATTRIBUTE_REPARSE_POINT) || IsDriveRootPath(path))) {
        // A mount point is a reparse point too: the system names its volume's root.
        const std::wstring folder = plain.back() == L'\\' ? plain : plain + L"\\";
        wchar_t volume[MAX_PATH + 1] = {};
        look.volumeRoot = GetVolumePathNameW(folder.c_str(), volume, MAX_PATH + 1) &&
                          CompareStringOrdinal(volume, -1, folder.c_str(), -1, TRUE) == CSTR_EQUAL;
    }
    return look;
}

PathKind KindOnDisk(const std::string& path) { return LookAtDisk(path).kind; }

std::string SystemErrorText(unsigned long error) {
    wchar_t* text = nullptr;
    FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                   error, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::string message = text ? fw::WideToUtf8(text) : std::string();
    LocalFree(text);
    for (char& c : message)
        if (c == '\r' || c == '\n') c = ' ';
    while (!message.empty() && message.back() == ' ') message.pop_back();
    return message.empty() ? "Error " + std::to_string(error) : message;
}

unsigned long SystemOpenItem(HWND owner, const std::string& path) {
    const std::wstring plain = PlainPath(path);
    SHELLEXECUTEINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = SEE_MASK_FLAG_NO_UI | SEE_MASK_NOASYNC;
    info.hwnd = owner;
    info.lpFile = plain.c_str();
    info.nShow = SW_SHOWNORMAL;
    if (ShellExecuteExW(&info)) return 0;
    const DWORD error = GetLastError();
    return error ? error : ERROR_NO_ASSOCIATION;
}

unsigned long SystemItemProperties(HWND owner, const std::string& path) {
    const std::wstring plain = PlainPath(path);
    if (SHObjectProperties(owner, SHOP_FILEPATH, plain.c_str(), nullptr)) return 0;
    const DWORD error = GetLastError();
    return error ? error : ERROR_NOT_SUPPORTED;
}

unsigned long SystemDeleteItem(HWND owner, const std::string& path, bool toRecycleBin) {
    const DiskLook look = LookAtDisk(path);
    if (look.kind == PathKind::kMissing) return ERROR_FILE_NOT_FOUND;
    if (IsDriveRootPath(path) || look.volumeRoot) return ERROR_ACCESS_DENIED;  // never, whoever asks
    const std::wstring plain = PlainPath(path);
    Entry entry{plain, look.kind == PathKind::kFolder ? static_cast<DWORD>(FILE_ATTRIBUTE_DIRECTORY) : 0u, 0};
    {
        const DWORD attributes = GetFileAttributesW(LongPath(plain).c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES) entry.attributes = attributes;
    }
    if (look.link) return RemoveEntry(entry);  // the link alone, whatever it points to
    if (toRecycleBin) return Recycle(owner, plain);
    return look.kind == PathKind::kFolder ? RemoveTree(entry) : RemoveEntry(entry);
}

unsigned long OpenItem(HWND owner, const std::string& path, const fw::Interaction& ui) {
    return ui.openItem ? ui.openItem(owner, path) : SystemOpenItem(owner, path);
}

unsigned long ShowItemProperties(HWND owner, const std::string& path, const fw::Interaction& ui) {
    return ui.showProperties ? ui.showProperties(owner, path) : SystemItemProperties(owner, path);
}

unsigned long DeleteItem(HWND owner, const std::string& path, bool toRecycleBin, const fw::Interaction& ui) {
    return ui.deleteItem ? ui.deleteItem(owner, path, toRecycleBin) : SystemDeleteItem(owner, path, toRecycleBin);
}

std::vector<RemovalFailure> WhatRemains(const std::string& path, unsigned long operationError, std::size_t limit,
                                        std::size_t& more) {
    more = 0;
    std::vector<RemovalFailure> left;
    const DiskLook look = LookAtDisk(path);
    if (look.kind == PathKind::kMissing) return left;
    auto add = [&](const std::wstring& plain, bool folder) {
        if (left.size() >= limit) {
            ++more;
            return;
        }
        left.push_back({fw::WideToUtf8(plain) + (folder ? "\\" : ""), Reason(plain, operationError)});
    };
    const std::wstring top = PlainPath(path);
    if (look.kind != PathKind::kFolder || look.link) {
        add(top, false);
        return left;
    }
    std::vector<std::wstring> folders{top};
    while (!folders.empty()) {
        const std::wstring folder = std::move(folders.back());
        folders.pop_back();
        std::vector<Entry> children;
        DWORD error = 0;
        List(folder, children, error);
        if (children.empty()) add(folder, true);  // a folder that stayed with nothing in it (or unreadable)
        for (Entry& child : children) {
            if (child.Entered())
                folders.push_back(std::move(child.path));
            else
                add(child.path, false);
        }
    }
    return left;
}

}  // namespace frame
