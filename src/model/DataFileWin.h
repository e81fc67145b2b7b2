// The data file commands' entry points on Windows: the portable writer and reader (DataFile.h) with their
// failures shown to the user in a box captioned "Error" with the error icon. Called by Export and Import.
#pragma once

#include "fw/Interaction.h"
#include "model/DataFile.h"

#include <windows.h>

namespace model {

// Shows a failure text in the Interaction's box.
ErrorReporter MessageBoxReporter(const fw::Interaction& ui, HWND owner = nullptr);

// MoveFileExW with MOVEFILE_REPLACE_EXISTING: the finished export takes the user's name in one step.
bool ReplaceFileWin32(const std::string& from, const std::string& to);

bool WriteDataFile(const std::string& path, std::uint32_t clusterSize, const DirInfo& root, const fw::Interaction& ui,
                   HWND owner = nullptr);
bool ReadDataFile(const std::string& path, DirInfo& root, std::uint32_t& clusterSize, const fw::Interaction& ui,
                  HWND owner = nullptr);

}  // namespace model
