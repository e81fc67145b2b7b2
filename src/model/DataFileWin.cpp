// Win32 reporting for the data file writer and reader.
#include "model/DataFileWin.h"

#include "fw/Utf8.h"

namespace model {

ErrorReporter MessageBoxReporter(const fw::Interaction& ui, HWND owner) {
    return [ui, owner](const std::string& text) { ui.ShowMessage(owner, text, "Error", MB_OK | MB_ICONERROR); };
}

bool ReplaceFileWin32(const std::string& from, const std::string& to) {
    const std::wstring target = fw::Utf8ToWide(to);
    // A read-only file is the user's protection; some systems would replace it anyway.
    const DWORD attributes = GetFileAttributesW(target.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) return false;
    return MoveFileExW(fw::Utf8ToWide(from).c_str(), target.c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_COPY_ALLOWED | MOVEFILE_WRITE_THROUGH) != FALSE;
}

bool WriteDataFile(const std::string& path, std::uint32_t clusterSize, const DirInfo& root, const fw::Interaction& ui,
                   HWND owner) {
    return WriteDataFile(path, clusterSize, root, MessageBoxReporter(ui, owner), ReplaceFileWin32);
}

bool ReadDataFile(const std::string& path, DirInfo& root, std::uint32_t& clusterSize, const fw::Interaction& ui,
                  HWND owner) {
    return ReadDataFile(path, root, clusterSize, MessageBoxReporter(ui, owner));
}

}  // namespace model
