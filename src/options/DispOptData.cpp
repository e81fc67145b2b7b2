// The settings dialog's values and the checks of its OK.
#include "options/DispOptData.h"

#include "config/SettingsText.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <iterator>
#include <string>

namespace options {
namespace {
bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view TrimBlanks(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
    return text;
}

bool IsContinuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }

// How many bytes a sequence starting with `lead` has; 1 for a byte that starts none.
std::size_t SequenceLength(unsigned char lead) {
    if (lead >= 0xC2 && lead <= 0xDF) return 2;
    if (lead >= 0xE0 && lead <= 0xEF) return 3;
    if (lead >= 0xF0 && lead <= 0xF4) return 4;
    return 1;
}
}  // namespace

std::size_t Utf8CharacterCount(std::string_view text) noexcept {
    std::size_t count = 0;
    for (std::size_t i = 0; i < text.size(); ++count) {
        const std::size_t length = SequenceLength(static_cast<unsigned char>(text[i]));
        std::size_t next = i + 1;
        while (next < text.size() && next - i < length && IsContinuation(static_cast<unsigned char>(text[next])))
            ++next;
        // A sequence cut short counts as bytes of their own, as a stray continuation byte does.
        if (next - i != length) next = i + 1;
        i = next;
    }
    return count;
}

DispOptData MakeDispOptData(const pie::PieViewSettings& pie, bool dialogLook, bool largeToolbar, bool autoscan,
                            std::string_view autoscanFolder) {
    DispOptData d{pie, dialogLook, largeToolbar, autoscan, std::string(autoscanFolder)};
    config::ClampSettings(pie::kPieViewSettings, d.pie);
    return d;
}

std::optional<std::size_t> ColourButtonOf(pie::ColourMethod method) noexcept {
    for (std::size_t i = 0; i < std::size(kOfferedColourMethods); ++i)
        if (kOfferedColourMethods[i] == method) return i;
    return std::nullopt;
}

pie::ColourMethod ColourMethodOnOk(std::optional<std::size_t> tickedButton, pie::ColourMethod opened) noexcept {
    if (tickedButton && *tickedButton < std::size(kOfferedColourMethods)) return kOfferedColourMethods[*tickedButton];
    return opened;
}

void ApplyDispOptData(const DispOptData& d, pie::PieViewSettings& pie) {
    const model::SizeKind sizeKind = pie.sizeKind;
    const bool showStatistics = pie.showStatistics;
    pie = d.pie;
    pie.sizeKind = sizeKind;
    pie.showStatistics = showStatistics;
}

std::string_view DispOptTexts::Of(DispOptField field) const noexcept {
    switch (field) {
    case DispOptField::kCentre: return centre;
    case DispOptField::kMinimumVisibleSize: return minimumVisibleSize;
    case DispOptField::kResizeDelay: return resizeDelay;
    case DispOptField::kAutoscanFolder: return autoscanFolder;
    case DispOptField::kNone: break;
    }
    return {};
}

int ReadDialogNumber(std::string_view text) noexcept {
    text = TrimBlanks(text);
    bool negative = false;
    if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    if (text.empty()) return 0;
    long long value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return 0;
        value = std::min(value * 10 + (c - '0'), static_cast<long long>(INT_MAX) + 1);
    }
    if (negative) value = -value;
    return static_cast<int>(std::clamp(value, static_cast<long long>(INT_MIN), static_cast<long long>(INT_MAX)));
}

DispOptVerdict ValidateDispOpt(const DispOptTexts& texts, DispOptData& data) {
    int values[std::size(kNumberEdits)] = {};
    for (std::size_t i = 0; i < std::size(kNumberEdits); ++i) {
        const NumberEdit& edit = kNumberEdits[i];
        values[i] = ReadDialogNumber(texts.Of(edit.field));
        const config::Range range = edit.setting.range;
        if (!range.Holds(values[i]))
            return {edit.field, std::string(edit.what) + " must be " + std::to_string(range.low) + ".." +
                                    std::to_string(range.high)};
    }
    const std::string folder = config::CleanFolder(texts.autoscanFolder);
    const bool tooLong = Utf8CharacterCount(TrimBlanks(texts.autoscanFolder)) > kMaxAutoscanFolderCharacters;
    if (tooLong && folder != data.autoscanFolder)
        return {DispOptField::kAutoscanFolder, "The autoscan directory path must be at most " +
                                                   std::to_string(kMaxAutoscanFolderCharacters) + " characters."};
    if (texts.autoscan && folder.empty()) return {DispOptField::kAutoscanFolder, "Must specify a directory path."};
    for (std::size_t i = 0; i < std::size(kNumberEdits); ++i) kNumberEdits[i].setting.assign(data.pie, values[i]);
    data.autoscan = texts.autoscan;
    data.autoscanFolder = folder;
    return {};
}

}  // namespace options
