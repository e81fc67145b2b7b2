// The cluster table: how much space the files of a tree would use and waste with each cluster size from
// 512 bytes to 64 KB, and the texts of its rows in a chosen unit. Portable; TClusterDlg shows it.
#pragma once

#include "model/DirInfo.h"

#include <array>
#include <cstdint>
#include <string>

namespace info {

inline constexpr int kClusterRows = 8;   // 512 << row, row 0..7
inline constexpr int kClusterUnits = 7;  // bytes, KB, MB, GB, TB, PB, EB
inline constexpr std::uint32_t ClusterOfRow(int row) noexcept { return 512u << row; }

// The row of a cluster size, or -1 when it is not one of the eight (0 included).
int ClusterRowOf(std::uint32_t clusterSize) noexcept;

struct ClusterTable {
    std::array<std::uint64_t, kClusterRows> used{};
    std::array<std::uint64_t, kClusterRows> wasted{};
    int currentRow = -1;  // the row of the tree's cluster size; -1 when unknown or not among the eight
};

// One pass over every file below `root`, whatever its depth.
ClusterTable ComputeClusterTable(const model::DirInfo& root, std::uint32_t currentClusterSize);

// The texts of the five columns of one row in unit `unit` (0 bytes .. 6 EB, each 1024 times the last):
// ">>" on the current row; "512", "1K" .. "64K"; used and wasted truncated to the unit with group commas;
// wasted minus the current row's, signed ("+0" on the current row), empty without a current row.
struct ClusterRowText {
    std::string current, cluster, used, wasted, difference;
    friend bool operator==(const ClusterRowText&, const ClusterRowText&) = default;
};
ClusterRowText FormatClusterRow(const ClusterTable& table, int row, int unit);

// "bytes", "KB", ... "EB".
const char* ClusterUnitName(int unit) noexcept;

}  // namespace info
