// The remembered placement and choices of the information dialogs, one settings text per dialog: the
// format version 1, the window rectangle (left, top, right, bottom, screen coordinates), then the dialog's
// own numbers, all in decimal separated by blanks ("1 120 80 700 560 0 1 100 0").
//
// Reading: an empty or missing value, another version or a rectangle that cannot be read change nothing;
// the dialog's own numbers are read in order up to the first that cannot be read, and the rest keep their
// values. Shared by every dialog with such a value: the statistics ("DlgDataStats"), histogram
// ("DlgDataHistogram"), system drives ("DlgDataSysDrives") and file types ("DlgDataFileTypes") records
// here.
#pragma once

#include "config/SettingsStore.h"
#include "fw/Rect.h"
#include "info/SizeHistogram.h"

#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>

namespace info {

// A remembered coordinate further out than this is brought back to it when read: far beyond any screen,
// and near enough that the widths and sums of placing a window stay within int.
inline constexpr int kMaxRememberedCoordinate = 1'000'000;

class DialogDataReader {
public:
    explicit DialogDataReader(std::string_view text) noexcept : text_(text) {}
    // True, with the rectangle, when the text begins with version 1 and four readable numbers; each is
    // clamped to +-kMaxRememberedCoordinate.
    bool ReadHeader(fw::Rect& rect) noexcept;
    // The next number; false, and `value` unchanged, once a number could not be read.
    bool Next(int& value) noexcept;

private:
    std::string_view text_;
    bool failed_ = false;
};

std::string FormatDialogData(const fw::Rect& rect, std::initializer_list<int> own);

// Where a dialog goes when it opens with a remembered rectangle: its top-left corner, at least its current
// size, pulled into the work area at that size. Nothing when the remembered rectangle is empty (never saved).
std::optional<fw::Rect> RememberedPlacement(const fw::Rect& remembered, int currentWidth, int currentHeight,
                                            const fw::Rect& workArea);

struct StatsChoices {
    fw::Rect rect;
    int query = -1;  // the last query run, -1 for none
    bool recurse = true;
    int maxItems = 100;
    bool absolutePaths = false;
    friend bool operator==(const StatsChoices&, const StatsChoices&) = default;
};
// A stored max-items below 1 is not taken; the query index is checked when the dialog opens.
void ReadStatsChoices(std::string_view text, StatsChoices& choices);
std::string FormatStatsChoices(const StatsChoices& choices);

struct HistogramChoices {
    fw::Rect rect;
    int detail = kDefaultDetail;
    friend bool operator==(const HistogramChoices&, const HistogramChoices&) = default;
};
// The detail is clamped to 1..5: anything else would make millions of bins or divide by zero.
void ReadHistogramChoices(std::string_view text, HistogramChoices& choices);
std::string FormatHistogramChoices(const HistogramChoices& choices);

inline constexpr const char* kStatsValueName = "DlgDataStats";
inline constexpr const char* kHistogramValueName = "DlgDataHistogram";

// The remembered placement of the dialog, in screen coordinates; all 0 until it has been closed once.
struct SysDrivesDlgData {
    fw::Rect rect;
    bool IsValid() const noexcept { return rect.left < rect.right && rect.top < rect.bottom; }
};

// "1 <left> <top> <right> <bottom>". Reading takes the rectangle only from version 1 with all four numbers
// readable; anything else changes nothing (false).
std::string FormatSysDrivesDlgData(const SysDrivesDlgData& data);
bool ParseSysDrivesDlgData(std::string_view text, SysDrivesDlgData& data);

inline constexpr const char* kSysDrivesValueName = "DlgDataSysDrives";
void LoadSysDrivesDlgData(const config::SettingsStore& store, SysDrivesDlgData& data);
void SaveSysDrivesDlgData(config::SettingsStore& store, const SysDrivesDlgData& data);

// The file types dialog: its place, its scope (the root or the current folder, with or without the
// subfolders) and the column the list is sorted by. It keeps the record up to date while it is open, so
// that a program ended with the dialog open saves where it was.
struct FileTypesChoices {
    fw::Rect rect;
    bool rootScope = false;
    bool recurse = true;
    int sortColumn = 2;  // bytes (FileTypeList.h)
    bool ascending = false;
    friend bool operator==(const FileTypesChoices&, const FileTypesChoices&) = default;
};
// "1 <left> <top> <right> <bottom> <root> <recurse> <column> <ascending>"; a column outside 0..5 is not taken.
void ReadFileTypesChoices(std::string_view text, FileTypesChoices& choices);
std::string FormatFileTypesChoices(const FileTypesChoices& choices);
inline constexpr const char* kFileTypesValueName = "DlgDataFileTypes";

// The records of all the dialogs, kept in one place for the whole run (the main view holds them), loaded
// when the main window is built and saved by the application's close query.
struct InfoDialogData {
    StatsChoices stats;
    HistogramChoices histogram;
    SysDrivesDlgData sysDrives;
    FileTypesChoices fileTypes;
};
void LoadInfoDialogData(const config::SettingsStore& store, InfoDialogData& data);
void SaveInfoDialogData(config::SettingsStore& store, const InfoDialogData& data);

}  // namespace info
