// What the three status bars show: the texts of the six cells (Dirs, Files, Size, Alloc, Waste, Name) for
// a folder or a file in the deep or the shallow row, and the cell marks kept as "SBar<n>Flags" (bit i
// marks cell i + 1). Pure functions; the bars (TMyStatusBar and its kin) call them.
#pragma once

#include "compare/TreeComparison.h"
#include "config/SettingsStore.h"
#include "model/DirInfo.h"

#include <array>
#include <cstdint>
#include <string>

namespace frame {

inline constexpr int kStatusCellCount = 6;
using StatusCells = std::array<std::string, kStatusCellCount>;
using StatusMarks = std::array<bool, kStatusCellCount>;

// Deep: a folder with everything below it; shallow: only the entries directly in it.
enum class StatusRow { Deep, Shallow };

// Allocated and wasted sizes read "n/a" while the cluster size is 0.
StatusCells FolderCells(StatusRow row, const std::string& name, const model::DirInfo& folder,
                        std::uint32_t clusterSize);
// The deep row of a file shows only the name.
StatusCells FileCells(StatusRow row, const std::string& name, const model::FileInfo& file, std::uint32_t clusterSize);
const StatusCells& HeaderCells();
// While a comparison is on, a row's name cell carries the change of the figures the row shows:
// "Photos\  (+1.9 MB)", "(-60 bytes)" beside an empty name, "(new, +781.2 KB)" for an item the earlier
// scan did not have.
std::string NameWithChange(const std::string& name, compare::SizeChange change, bool isNew);

// The texts a count cell and a size cell must hold whole: their widths are measured on these. Digits are
// equally wide in the bars' fonts, so a sample stands for every text that matches its end: the counts up
// to ten digits (a system drive holds millions of files) and every size up to the largest, "16384.0 PB".
inline constexpr const char* kWidestCountText = "9,999,999,999";
inline constexpr std::array<const char*, 7> kWidestSizeTexts = {"n/a",       "999 bytes", "9999.9 KB", "9999.9 MB",
                                                                "9999.9 GB", "9999.9 TB", "99999.9 PB"};

std::string StatusMarksValueName(int barNumber);
StatusMarks MarksFromFlags(int flags);
int FlagsFromMarks(const StatusMarks& marks);
// Missing or unreadable values leave every cell unmarked.
StatusMarks ReadStatusMarks(const config::SettingsStore& store, int barNumber);
void WriteStatusMarks(config::SettingsStore& store, int barNumber, const StatusMarks& marks);

}  // namespace frame
