// Win32 reporting for the data file writer and reader.
#include "model/DataFileWin.h"

#include "fw/MessageBox.h"

namespace model {

ErrorReporter MessageBoxReporter(HWND owner) {
    return [owner](const std::string& text) { fw::ShowMessageBox(owner, text, "Error", MB_OK | MB_ICONERROR); };
}

bool WriteDataFile(const std::string& path, std::uint32_t clusterSize, const DirInfo& root, HWND owner) {
    return WriteDataFile(path, clusterSize, root, MessageBoxReporter(owner));
}

bool ReadDataFile(const std::string& path, DirInfo& root, std::uint32_t& clusterSize, HWND owner) {
    return ReadDataFile(path, root, clusterSize, MessageBoxReporter(owner));
}

}  // namespace model
