#include "frame/ShellDialogs.h"

#include "fw/Utf8.h"

#include <commdlg.h>
#include <shlobj.h>

#include <vector>

namespace frame {
namespace {

// What the browser's callback is given.
struct BrowseData {
    std::wstring start;  // empty: none
    const fw::Interaction& ui;
};

int CALLBACK BrowseCallback(HWND browser, UINT msg, LPARAM lParam, LPARAM data) {
    const BrowseData& browse = *reinterpret_cast<const BrowseData*>(data);
    switch (msg) {
    case BFFM_INITIALIZED:
        if (!browse.start.empty())
            SendMessageW(browser, BFFM_SETSELECTIONW, TRUE, reinterpret_cast<LPARAM>(browse.start.c_str()));
        break;
    case BFFM_SELCHANGED:
        SendMessageW(browser, BFFM_ENABLEOK, 0, PathOfIdList(reinterpret_cast<PCIDLIST_ABSOLUTE>(lParam)).has_value());
        break;
    case BFFM_VALIDATEFAILEDW:
        browse.ui.ShowMessage(browser, "The specified folder does not exist.", "Kelvaran", MB_OK | MB_ICONEXCLAMATION);
        return 1;  // keep the browser open
    }
    return 0;
}

std::optional<std::string> AskDataFile(HWND owner, bool save) {
    static const wchar_t kFilter[] = L"Kelvaran data files (*.klv)\0*.klv\0All Files (*.*)\0*.*\0";
    std::vector<wchar_t> name(32768, L'\0');
    OPENFILENAMEW dialog{sizeof dialog};
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = kFilter;
    dialog.lpstrFile = name.data();
    dialog.nMaxFile = static_cast<DWORD>(name.size());
    dialog.lpstrDefExt = L"klv";
    dialog.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_ENABLESIZING | OFN_PATHMUSTEXIST |
                   (save ? OFN_OVERWRITEPROMPT : OFN_FILEMUSTEXIST);
    const BOOL chosen = save ? GetSaveFileNameW(&dialog) : GetOpenFileNameW(&dialog);
    if (!chosen) return std::nullopt;
    return fw::WideToUtf8(name.data());
}

}  // namespace

std::optional<std::string> BrowseForFolder(HWND owner, const std::string& startFolder, const fw::Interaction& ui) {
    const BrowseData data{fw::Utf8ToWide(startFolder), ui};
    BROWSEINFOW info{};
    info.hwndOwner = owner;
    info.lpszTitle = L"Select a folder:";
    info.ulFlags = BIF_RETURNONLYFSDIRS | BIF_EDITBOX | BIF_VALIDATE | BIF_NEWDIALOGSTYLE;
    info.lpfn = &BrowseCallback;
    info.lParam = reinterpret_cast<LPARAM>(&data);
    PIDLIST_ABSOLUTE chosen = SHBrowseForFolderW(&info);
    if (!chosen) return std::nullopt;
    std::optional<std::string> folder = TakeChosenFolder(owner, chosen, ui);
    CoTaskMemFree(chosen);
    return folder;
}

std::optional<std::string> PathOfIdList(PCIDLIST_ABSOLUTE item, IdListPathReader read) {
    // The longest path the system's wide functions take.
    std::vector<wchar_t> path(32768, L'\0');
    if (!item || !read(item, path.data(), static_cast<DWORD>(path.size()), GPFIDL_DEFAULT) || path[0] == L'\0')
        return std::nullopt;
    return fw::WideToUtf8(path.data());
}

std::optional<std::string> TakeChosenFolder(HWND owner, PCIDLIST_ABSOLUTE chosen, const fw::Interaction& ui,
                                            IdListPathReader read) {
    std::optional<std::string> folder = PathOfIdList(chosen, read);
    if (!folder) {
        ui.ShowMessage(owner, "The path of the chosen folder could not be read.", "Kelvaran",
                       MB_OK | MB_ICONEXCLAMATION);
        return std::nullopt;
    }
    if (folder->back() == '\\') folder->pop_back();
    return folder;
}

std::string BrowseStartFolder(const std::string& currentFolder, const std::string& firstFixedDrive) {
    std::string folder = currentFolder;
    if (!folder.empty() && folder.back() == '\\') folder.pop_back();
    if (!folder.empty() && GetFileAttributesW(fw::Utf8ToWide(folder + "\\NUL").c_str()) != INVALID_FILE_ATTRIBUTES)
        return folder;
    return firstFixedDrive;
}

std::optional<std::string> AskDataFileToOpen(HWND owner) { return AskDataFile(owner, false); }

std::optional<std::string> AskDataFileToSave(HWND owner) { return AskDataFile(owner, true); }

void StartExplorer(HWND owner, const std::string& folder, ExplorerKind kind, const fw::Interaction& ui) {
    wchar_t windows[MAX_PATH] = {};
    const UINT length = GetWindowsDirectoryW(windows, MAX_PATH);
    const ExplorerCommand command =
        MakeExplorerCommand(length && length < MAX_PATH ? fw::WideToUtf8(windows) : "C:\\Windows", folder, kind);
    std::wstring commandLine = fw::Utf8ToWide(command.commandLine);
    STARTUPINFOW startup{sizeof startup};
    PROCESS_INFORMATION process{};
    if (CreateProcessW(fw::Utf8ToWide(command.program).c_str(), commandLine.data(), nullptr, nullptr, FALSE,
                       CREATE_DEFAULT_ERROR_MODE, nullptr, nullptr, &startup, &process)) {
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
        return;
    }
    const DWORD error = GetLastError();
    wchar_t* text = nullptr;
    FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                   error, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    const std::string message = text ? fw::WideToUtf8(text) : "Error " + std::to_string(error);
    LocalFree(text);
    ui.ShowMessage(owner, message, "GetLastError", MB_OK | MB_ICONINFORMATION);
}

}  // namespace frame
