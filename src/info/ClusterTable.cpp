#include "info/ClusterTable.h"

#include "info/TreeWalk.h"
#include "model/SizeText.h"

namespace info {

int ClusterRowOf(std::uint32_t clusterSize) noexcept {
    for (int row = 0; row < kClusterRows; ++row)
        if (ClusterOfRow(row) == clusterSize) return row;
    return -1;
}

ClusterTable ComputeClusterTable(const model::DirInfo& root, std::uint32_t currentClusterSize) {
    ClusterTable table;
    table.currentRow = ClusterRowOf(currentClusterSize);
    // For a power of two c the waste of a file is (-size) mod c: no rounding up, so nothing wraps near 2^64.
    std::uint64_t logical = 0;
    ForEachFile(root, [&](const model::FileInfo& file) {
        logical += file.size;
        const std::uint64_t negated = 0 - file.size;
        for (int row = 0; row < kClusterRows; ++row) table.wasted[row] += negated & (ClusterOfRow(row) - 1);
    });
    for (int row = 0; row < kClusterRows; ++row) table.used[row] = logical + table.wasted[row];
    return table;
}

namespace {
std::string InUnit(std::uint64_t bytes, int unit) {
    std::string text = std::to_string(bytes >> (10 * unit));
    model::InsertGroupCommas(text);
    return text;
}
}  // namespace

ClusterRowText FormatClusterRow(const ClusterTable& table, int row, int unit) {
    ClusterRowText text;
    const std::uint32_t cluster = ClusterOfRow(row);
    if (row == table.currentRow) text.current = ">>";
    text.cluster = std::to_string(cluster >= 1024 ? cluster / 1024 : cluster);
    if (cluster >= 1024) text.cluster += 'K';
    text.used = InUnit(table.used[row], unit);
    text.wasted = InUnit(table.wasted[row], unit);
    if (table.currentRow >= 0) {
        const std::uint64_t mine = table.wasted[row], theirs = table.wasted[table.currentRow];
        text.difference.assign(1, mine >= theirs ? '+' : '-');
        text.difference += std::to_string((mine >= theirs ? mine - theirs : theirs - mine) >> (10 * unit));
        model::InsertGroupCommas(text.difference);
    }
    return text;
}

const char* ClusterUnitName(int unit) noexcept {
    static const char* const names[kClusterUnits] = {"bytes", "KB", "MB", "GB", "TB", "PB", "EB"};
    return unit >= 0 && unit < kClusterUnits ? names[unit] : "";
}

}  // namespace info
