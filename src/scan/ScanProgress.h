// The arithmetic and texts of the scan progress dialog, apart from the dialog so they can be checked
// without a window system.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace scan {

// How the progress bar follows the bytes found.
struct ProgressPlan {
    bool enabled = false;       // false: the bar is hidden and never moved
    std::uint64_t divisor = 0;  // bytes per step; 0 means the byte count is the position itself
    int rangeMax = 10;          // the range is 0..rangeMax
    int step = 1;
};

// Only a drive root ("C:\", exactly three characters) gets a bar, and only when its used space is known.
bool IsDriveRoot(std::string_view rootPath) noexcept;

// Used space (total minus free) of the drive; nullopt when it is not known. Up to 0xFFFF bytes the range is
// the byte count itself, above that 1000 steps of used / 1000 bytes.
ProgressPlan PlanProgress(std::optional<std::uint64_t> usedBytes) noexcept;

// Bar position for the bytes found so far (not clamped to the range).
int ProgressPosition(std::uint64_t bytesFound, std::uint64_t divisor) noexcept;

// "m:ss" of elapsed milliseconds: 7 s gives "0:07", 750 s gives "12:30".
std::string ElapsedText(std::uint32_t elapsedMs);

// The three counter lines: folders, files, bytes as count texts joined with "\r\n".
std::string CountersText(std::uint32_t folders, std::uint32_t files, std::uint64_t bytes);

}  // namespace scan
