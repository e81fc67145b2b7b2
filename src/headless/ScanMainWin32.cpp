// kelvaran-scan.exe, the console scanner for Windows: the portable run (HeadlessScan.h) over what the
// program's own scan uses (the Win32 lister, the volume's cluster size, the NTFS file table when this
// process may read the volume raw), roots named as the program names them (the full path less its last
// backslash), and Ctrl+C, Ctrl+Break and a closing console taken as a request to stop (a second Ctrl+C
// ends the process at once). Arguments are read as UTF-16 and used as UTF-8, whatever the code page.
#include "fw/Utf8.h"
#include "headless/HeadlessScan.h"
#include "model/DataFileWin.h"
#include "model/OutOfMemory.h"
#include "scan/ClusterSize.h"
#include "scan/Walk.h"
#include "scan/Win32Lister.h"
#include "scan/ntfs/Win32Volume.h"

#include <windows.h>

#include <shellapi.h>

#include <exception>

namespace {

std::atomic<bool> interrupted{false};

BOOL WINAPI OnConsoleEvent(DWORD event) {
    if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT && event != CTRL_CLOSE_EVENT) return FALSE;
    // The second request goes to the system's handler, which ends the process.
    return interrupted.exchange(true) ? FALSE : TRUE;
}

std::string SystemErrorText(DWORD error) {
    wchar_t* text = nullptr;
    FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                   error, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::string message = text ? fw::WideToUtf8(text) : "";
    LocalFree(text);
    while (!message.empty() && (message.back() == '\n' || message.back() == '\r' || message.back() == ' '))
        message.pop_back();
    if (message.empty()) message = "system error " + std::to_string(error);
    return message;
}

std::vector<std::string> Arguments() {
    int count = 0;
    wchar_t** words = CommandLineToArgvW(GetCommandLineW(), &count);
    std::vector<std::string> arguments;
    for (int i = 1; words && i < count; ++i) arguments.push_back(fw::WideToUtf8(words[i]));
    LocalFree(words);
    return arguments;
}

class Win32System final : public headless::ScanSystem {
public:
    scan::DirLister& Lister() override { return lister_; }

    headless::ResolvedRoot ResolveRoot(const std::string& root) override {
        // "D:" alone names the drive's root, as on the program's command line, not its current folder.
        std::string path = root;
        if (path.back() != '\\' && path.back() != '/') path += '\\';
        const std::string full = scan::FullFolderPath(path);
        headless::ResolvedRoot resolved;
        resolved.walkPath = resolved.rootName = scan::RootName(full);
        // A file's name followed by a backslash is no name at all: ask about the path without it.
        const bool driveRoot = resolved.walkPath.size() == 2 && resolved.walkPath[1] == ':';
        const DWORD attributes = GetFileAttributesW(fw::Utf8ToWide(driveRoot ? full : resolved.walkPath).c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
            resolved.error = "not a folder";
        } else if (!lister_.Open(resolved.walkPath)) {
            resolved.error = SystemErrorText(GetLastError());
        }
        return resolved;
    }

    std::uint32_t DetectClusterSize(const headless::ResolvedRoot& root) override {
        return scan::DetectClusterSize(root.walkPath + "\\");
    }

    scan::ntfs::ReadResult ReadFileTable(const headless::ResolvedRoot& root, model::DirInfo& tree,
                                         scan::ScanCounters& counters, scan::WalkControl& control,
                                         std::uint32_t clusterSize) override {
        return scan::ntfs::ScanFromFileTable(root.walkPath + "\\", tree, counters, control, clusterSize);
    }

    bool ReplaceTarget(const std::string& from, const std::string& to) override {
        return model::ReplaceFileWin32(from, to);
    }

    bool ErrorStreamIsTerminal() override {
        DWORD mode = 0;
        return GetConsoleMode(GetStdHandle(STD_ERROR_HANDLE), &mode) != 0;
    }

private:
    scan::Win32Lister lister_;
};

}  // namespace

int main() {
    model::InstallOutOfMemoryHandler();
    SetConsoleCtrlHandler(OnConsoleEvent, TRUE);
    // Names are printed as UTF-8; the console keeps its code page after the program, so it gets its own back.
    struct ConsoleCodePage {
        UINT previous = GetConsoleOutputCP();
        ConsoleCodePage() { SetConsoleOutputCP(CP_UTF8); }
        ~ConsoleCodePage() {
            if (previous != 0) SetConsoleOutputCP(previous);
        }
    } codePage;
    Win32System system;
    try {
        return headless::RunScan(Arguments(), system, interrupted, stdout, stderr);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "kelvaran-scan: %s\n", error.what());
        return headless::kExitFailed;
    }
}
