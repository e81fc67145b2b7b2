#include "info/DialogData.h"

#include <algorithm>
#include <cctype>
#include <charconv>

namespace info {

bool DialogDataReader::Next(int& value) noexcept {
    if (failed_) return false;
    while (!text_.empty() && std::isspace(static_cast<unsigned char>(text_.front()))) text_.remove_prefix(1);
    const char* first = text_.data();
    const char* last = text_.data() + text_.size();
    if (first != last && *first == '+') ++first;
    int read = 0;
    const auto [end, error] = std::from_chars(first, last, read);
    if (error != std::errc()) {
        failed_ = true;
        return false;
    }
    text_.remove_prefix(static_cast<std::size_t>(end - text_.data()));
    value = read;
    return true;
}

bool DialogDataReader::ReadHeader(fw::Rect& rect) noexcept {
    int version = 0;
    fw::Rect read;
    if (!Next(version) || version != 1) return false;
    if (!Next(read.left) || !Next(read.top) || !Next(read.right) || !Next(read.bottom)) return false;
    for (int* edge : {&read.left, &read.top, &read.right, &read.bottom})
        *edge = std::clamp(*edge, -kMaxRememberedCoordinate, kMaxRememberedCoordinate);
    rect = read;
    return true;
}

std::string FormatDialogData(const fw::Rect& rect, std::initializer_list<int> own) {
    std::string text = "1";
    for (int value : {rect.left, rect.top, rect.right, rect.bottom}) text += ' ' + std::to_string(value);
    for (int value : own) text += ' ' + std::to_string(value);
    return text;
}

std::optional<fw::Rect> RememberedPlacement(const fw::Rect& remembered, int currentWidth, int currentHeight,
                                            const fw::Rect& workArea) {
    if (remembered.left >= remembered.right || remembered.top >= remembered.bottom) return std::nullopt;
    const fw::Rect rect{remembered.left, remembered.top, remembered.left + std::max(remembered.Width(), currentWidth),
                        remembered.top + std::max(remembered.Height(), currentHeight)};
    return fw::PullIntoArea(rect, workArea, fw::Oversize::KeepSize);
}

void ReadStatsChoices(std::string_view text, StatsChoices& choices) {
    DialogDataReader reader(text);
    if (!reader.ReadHeader(choices.rect)) return;
    int recurse = 0, maxItems = 0, absolute = 0;
    if (!reader.Next(choices.query)) return;
    if (!reader.Next(recurse)) return;
    choices.recurse = recurse != 0;
    if (!reader.Next(maxItems)) return;
    if (maxItems > 0) choices.maxItems = maxItems;
    if (reader.Next(absolute)) choices.absolutePaths = absolute != 0;
}

std::string FormatStatsChoices(const StatsChoices& choices) {
    return FormatDialogData(choices.rect,
                            {choices.query, choices.recurse ? 1 : 0, choices.maxItems, choices.absolutePaths ? 1 : 0});
}

void ReadHistogramChoices(std::string_view text, HistogramChoices& choices) {
    DialogDataReader reader(text);
    if (!reader.ReadHeader(choices.rect)) return;
    int detail = 0;
    if (reader.Next(detail)) choices.detail = ClampDetail(detail);
}

std::string FormatHistogramChoices(const HistogramChoices& choices) {
    return FormatDialogData(choices.rect, {choices.detail});
}

std::string FormatSysDrivesDlgData(const SysDrivesDlgData& data) { return FormatDialogData(data.rect, {}); }

bool ParseSysDrivesDlgData(std::string_view text, SysDrivesDlgData& data) {
    return DialogDataReader(text).ReadHeader(data.rect);
}

void LoadSysDrivesDlgData(const config::SettingsStore& store, SysDrivesDlgData& data) {
    ParseSysDrivesDlgData(store.ReadString(kSysDrivesValueName, ""), data);
}

void SaveSysDrivesDlgData(config::SettingsStore& store, const SysDrivesDlgData& data) {
    store.WriteString(kSysDrivesValueName, FormatSysDrivesDlgData(data));
}

void ReadFileTypesChoices(std::string_view text, FileTypesChoices& choices) {
    DialogDataReader reader(text);
    if (!reader.ReadHeader(choices.rect)) return;
    int root = 0, recurse = 0, column = 0, ascending = 0;
    if (!reader.Next(root)) return;
    choices.rootScope = root != 0;
    if (!reader.Next(recurse)) return;
    choices.recurse = recurse != 0;
    if (!reader.Next(column)) return;
    if (column >= 0 && column <= 5) choices.sortColumn = column;
    if (reader.Next(ascending)) choices.ascending = ascending != 0;
}

std::string FormatFileTypesChoices(const FileTypesChoices& choices) {
    return FormatDialogData(choices.rect, {choices.rootScope ? 1 : 0, choices.recurse ? 1 : 0, choices.sortColumn,
                                           choices.ascending ? 1 : 0});
}

void LoadInfoDialogData(const config::SettingsStore& store, InfoDialogData& data) {
    ReadStatsChoices(store.ReadString(kStatsValueName, ""), data.stats);
    ReadHistogramChoices(store.ReadString(kHistogramValueName, ""), data.histogram);
    LoadSysDrivesDlgData(store, data.sysDrives);
    ReadFileTypesChoices(store.ReadString(kFileTypesValueName, ""), data.fileTypes);
}

void SaveInfoDialogData(config::SettingsStore& store, const InfoDialogData& data) {
    store.WriteString(kStatsValueName, FormatStatsChoices(data.stats));
    store.WriteString(kHistogramValueName, FormatHistogramChoices(data.histogram));
    SaveSysDrivesDlgData(store, data.sysDrives);
    store.WriteString(kFileTypesValueName, FormatFileTypesChoices(data.fileTypes));
}

}  // namespace info
