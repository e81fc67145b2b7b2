// Temporary folder trees for the scan tests under Wine: made with the wide calls on the "\\?\" form (so
// names outside the code page and paths past 259 characters work), removed again at the end. Paths given
// to and returned by the helpers are UTF-8, as the program's own texts are.
#pragma once

#include "fw/Utf8.h"
#include "scan/DirLister.h"
#include "scan/Win32Lister.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <string>

namespace scantest {

inline std::wstring Long(const std::string& utf8Path) { return L"\\\\?\\" + fw::Utf8ToWide(utf8Path); }

// Removes a tree; folder links are removed as links, never followed.
inline void RemoveTree(const std::wstring& longPath) {
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW((longPath + L"\\*").c_str(), &data);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring name = data.cFileName;
            if (name == L"." || name == L"..") continue;
            const std::wstring child = longPath + L"\\" + name;
            if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
                !(data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT))
                RemoveTree(child);
            else if (!DeleteFileW(child.c_str()))
                RemoveDirectoryW(child.c_str());
        } while (FindNextFileW(find, &data));
        FindClose(find);
    }
    RemoveDirectoryW(longPath.c_str());
}

class TempTree {
public:
    TempTree() {
        wchar_t temp[MAX_PATH];
        GetTempPathW(MAX_PATH, temp);
        static std::atomic<int> serial{0};
        root_ = fw::WideToUtf8(temp) + "kelvaran-scan-" + std::to_string(GetCurrentProcessId()) + "-" +
                std::to_string(serial++);
        RemoveTree(Long(root_));
        EXPECT_TRUE(CreateDirectoryW(Long(root_).c_str(), nullptr)) << root_;
    }
    ~TempTree() {
        // Wine cannot delete the Unix links it lists as reparse points; rm removes them without following.
        const std::string unixRoot = madeUnixLinks_ ? UnixName(root_) : std::string();
        if (unixRoot.find("/kelvaran-scan-") != std::string::npos)
            RunUnix(L"Z:\\bin\\rm", "/bin/rm -rf \"" + unixRoot + "\"");
        RemoveTree(Long(root_));
    }
    TempTree(const TempTree&) = delete;
    TempTree& operator=(const TempTree&) = delete;

    // The root folder, without a trailing backslash.
    const std::string& Root() const { return root_; }
    std::string Path(const std::string& relative) const { return relative.empty() ? root_ : root_ + "\\" + relative; }

    void Dir(const std::string& relative) const {
        EXPECT_TRUE(CreateDirectoryW(Long(Path(relative)).c_str(), nullptr)) << relative << " " << GetLastError();
    }

    void File(const std::string& relative, std::uint64_t size) const {
        HANDLE file = CreateFileW(Long(Path(relative)).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
        ASSERT_NE(file, INVALID_HANDLE_VALUE) << relative << " " << GetLastError();
        LARGE_INTEGER end;
        end.QuadPart = static_cast<LONGLONG>(size);
        EXPECT_TRUE(SetFilePointerEx(file, end, nullptr, FILE_BEGIN));
        EXPECT_TRUE(SetEndOfFile(file));
        CloseHandle(file);
    }

    // A folder link at `relative` pointing to the folder `targetRelative`. Wine's CreateSymbolicLinkW does
    // nothing, but a Unix symbolic link lists as a reparse-point folder, so under Wine the link is made
    // with ln on the Unix side. Returns false when no link could be made.
    bool DirLink(const std::string& relative, const std::string& targetRelative) {
        if (!UnixNameFunction()) {
            return CreateSymbolicLinkW(Long(Path(relative)).c_str(), Long(Path(targetRelative)).c_str(),
                                       SYMBOLIC_LINK_FLAG_DIRECTORY);
        }
        madeUnixLinks_ = true;
        const std::string command =
            "/bin/ln -s \"" + UnixName(Path(targetRelative)) + "\" \"" + UnixName(Path(relative)) + "\"";
        if (!RunUnix(L"Z:\\bin\\ln", command)) return false;
        // Wine reports a Unix child as ended before it has run, so wait for the link to appear.
        for (int attempt = 0; attempt < 500; ++attempt, Sleep(10)) {
            const DWORD attributes = GetFileAttributesW(Long(Path(relative)).c_str());
            if (attributes != INVALID_FILE_ATTRIBUTES) return (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
        }
        return false;
    }

private:
    using UnixNameCall = char*(CDECL*)(LPCWSTR);
    static UnixNameCall UnixNameFunction() {
        return reinterpret_cast<UnixNameCall>(
            reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name")));
    }
    // The Unix name of a path whose last part may not exist yet.
    static std::string UnixName(const std::string& path) {
        const std::size_t slash = path.rfind('\\');
        char* parent = UnixNameFunction()(Long(path.substr(0, slash)).c_str());
        if (!parent) return {};
        std::string name = std::string(parent) + "/" + path.substr(slash + 1);
        HeapFree(GetProcessHeap(), 0, parent);
        return name;
    }
    // Starts a Unix program (Wine only); its end cannot be awaited reliably.
    static bool RunUnix(const wchar_t* program, const std::string& commandLine) {
        std::wstring wide = fw::Utf8ToWide(commandLine);
        STARTUPINFOW startup{sizeof startup};
        PROCESS_INFORMATION process{};
        if (!CreateProcessW(program, wide.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
            return false;
        WaitForSingleObject(process.hProcess, 10000);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
        return true;
    }

    bool madeUnixLinks_ = false;
    std::string root_;
};

// Wraps a real lister: counts the listings open now and at most, and calls a hook before each open.
class CountingLister final : public scan::DirLister {
public:
    explicit CountingLister(std::unique_ptr<scan::DirLister> inner) : inner_(std::move(inner)) {}

    std::unique_ptr<scan::DirListing> Open(const std::string& path) override {
        opens.fetch_add(1);
        if (beforeOpen) beforeOpen(path);
        std::unique_ptr<scan::DirListing> listing = inner_->Open(path);
        if (!listing) return nullptr;
        return std::make_unique<Counted>(*this, std::move(listing));
    }
    char Separator() const override { return inner_->Separator(); }

    std::function<void(const std::string&)> beforeOpen;  // called on the worker that opens
    std::atomic<int> opens{0};
    std::atomic<int> openNow{0};
    std::atomic<int> openMost{0};
    std::atomic<long> entries{0};  // read from all listings

private:
    class Counted final : public scan::DirListing {
    public:
        Counted(CountingLister& owner, std::unique_ptr<scan::DirListing> inner)
            : owner_(owner), inner_(std::move(inner)) {
            const int now = ++owner_.openNow;
            int most = owner_.openMost.load();
            while (now > most && !owner_.openMost.compare_exchange_weak(most, now)) {
            }
        }
        ~Counted() override { --owner_.openNow; }
        bool Next(scan::DirEntry& entry) override {
            if (!inner_->Next(entry)) return false;
            owner_.entries.fetch_add(1);
            return true;
        }

    private:
        CountingLister& owner_;
        std::unique_ptr<scan::DirListing> inner_;
    };

    std::unique_ptr<scan::DirLister> inner_;
};

}  // namespace scantest
