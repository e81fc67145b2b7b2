// What the system drives table shows and in which order it asks: type texts and query priorities, the
// cell texts of a drive's answers, the query sequence of one drive, and the remembered dialog rectangle
// ("DlgDataSysDrives"). Portable: the dialog (TSysDrivesInfoDlg) and its worker call these, and tests run
// them against faked volume queries.
#pragma once

#include "fw/Rect.h"
#include "info/DialogData.h"
#include "scan/VolumeQueries.h"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace config {
class SettingsStore;
}

namespace info {

// Columns of the table, in order.
enum DriveColumn : int {
    kColDrive,
    kColType,
    kColTotal,
    kColUsed,
    kColFree,
    kColUserFree,
    kColCluster,
    kColLabel,
    kColSerial,
    kColMaxPath,
    kColFileSystem,
    kColCasePreserved,
    kColCaseSensitive,
    kColUnicode,
    kColAcls,
    kColCompressedFiles,
    kColCompressedVolume,
    kDriveColumnCount
};

struct DriveColumnInfo {
    const char* header;
    int width;  // pixels
    enum Align { Left, Right, Centre } align;
};
const DriveColumnInfo& DriveColumnAt(int column);

// "Removable", "Fixed", "Remote", "CD-ROM", "RAM Disk"; empty for other types.
const char* DriveTypeText(unsigned type) noexcept;
// Higher is asked first: RAM disk 5, fixed 4, CD-ROM 3, removable 2, remote 1, others 0.
int DriveQueryPriority(unsigned type) noexcept;

struct DriveToQuery {
    char letter = 0;
    unsigned type = 0;
};
// Stable: drives of one priority keep their order.
std::vector<DriveToQuery> QueryOrder(std::vector<DriveToQuery> drives);

// "<size> (<percent>%)"; the percentage is truncated and at most 100. A volume of total 0 has no share:
// the size alone.
std::string ShareText(std::uint64_t part, std::uint64_t total);
// 0 empty, below 1024 the bytes, else the kilobytes followed by "K".
std::string ClusterText(std::uint32_t bytes);
// Eight upper-case hexadecimal digits.
std::string SerialText(std::uint32_t serial);

struct Cell {
    int column;
    std::string text;
    friend bool operator==(const Cell&, const Cell&) = default;
};
// Total, Used, Free and UsrFree. Free space above the total counts as the total (nothing used).
std::vector<Cell> SpaceCells(const scan::DiskSpace& space);
// Label, S/N, MaxPath, FileSys and the six flag columns.
std::vector<Cell> VolumeCells(const scan::VolumeInformation& volume);

// Asks the three queries of one drive (space, cluster size, volume information) in that order, handing
// each answer's cells to `put` as it arrives. `stop` is asked before every query; once it says true,
// nothing more is asked. Failed queries leave their cells out.
void QueryDrive(const scan::VolumeQueries& queries, char letter, const std::function<bool()>& stop,
                const std::function<void(const Cell&)>& put);

}  // namespace info
