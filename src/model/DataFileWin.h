// The data file commands' entry points on Windows: the portable writer and reader (DataFile.h) with their
// failures shown to the user in a box captioned "Error" with the error icon. Called by Export and Import.
#pragma once

#include "model/DataFile.h"

#include <windows.h>

namespace model {

// Shows a failure text through fw::ShowMessageBox (so tests can answer it).
ErrorReporter MessageBoxReporter(HWND owner = nullptr);

// MoveFileExW with MOVEFILE_REPLACE_EXISTING: the finished export takes the user's name in one step.
bool ReplaceFileWin32(const std::string& from, const std::string& to);

bool WriteDataFile(const std::string& path, std::uint32_t clusterSize, const DirInfo& root, HWND owner = nullptr);
bool ReadDataFile(const std::string& path, DirInfo& root, std::uint32_t& clusterSize, HWND owner = nullptr);

}  // namespace model
