// The settings dialog's values and the checks of its OK.
#include "config/DispOptData.h"

#include "frame/CommandLine.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <string>

namespace config {
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
    DispOptData d;
    d.centerPercent = std::clamp(static_cast<int>(std::lround(pie.pie.centerRatio * 100)), 10, 90);
    d.minVisSize = std::clamp(static_cast<int>(pie.pie.minVisSize), 0, 100);
    d.showGuideLines = pie.pie.showGuideLines;
    d.dialogLook = dialogLook;
    d.clrMeth = pie.pie.clrMeth;
    d.fixedClr = pie.pie.fixedClr;
    d.sizeClr1 = pie.pie.sizeClr1;
    d.sizeClr2 = pie.pie.sizeClr2;
    d.flyTransp = std::clamp(pie.flyTransp, 0, 255);
    d.srtOrder = pie.pie.srtOrder;
    d.groupDirs = pie.pie.groupDirs;
    d.largeToolbar = largeToolbar;
    d.resizeDelay = pie.resizeDelay;
    d.autoscan = autoscan;
    d.autoscanFolder = std::string(autoscanFolder);
    d.tipShowName = pie.tipShowName;
    d.tipShowInfo = pie.tipShowInfo;
    d.tipTextDir = pie.tipTextDir;
    d.tipTextFile = pie.tipTextFile;
    return d;
}

void ApplyDispOptData(const DispOptData& d, pie::PieViewSettings& pie) {
    pie.pie.centerRatio = d.centerPercent * 0.01;
    pie.pie.minVisSize = d.minVisSize;
    pie.pie.showGuideLines = d.showGuideLines;
    pie.pie.clrMeth = d.clrMeth;
    pie.pie.fixedClr = d.fixedClr;
    pie.pie.sizeClr1 = d.sizeClr1;
    pie.pie.sizeClr2 = d.sizeClr2;
    pie.flyTransp = d.flyTransp;
    pie.pie.srtOrder = d.srtOrder;
    pie.pie.groupDirs = d.groupDirs;
    pie.resizeDelay = d.resizeDelay;
    pie.tipShowName = d.tipShowName;
    pie.tipShowInfo = d.tipShowInfo;
    pie.tipTextDir = d.tipTextDir;
    pie.tipTextFile = d.tipTextFile;
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
    const int centerPercent = ReadDialogNumber(texts.centerPercent);
    const int minVisSize = ReadDialogNumber(texts.minVisSize);
    const int resizeDelay = ReadDialogNumber(texts.resizeDelay);
    if (centerPercent < 10 || centerPercent > 90)
        return {DispOptField::kCenterPercent, "Central disk radius must be 10..90"};
    if (minVisSize < 0 || minVisSize > 100)
        return {DispOptField::kMinVisSize, "Maximum size of visible sectors must be 0..100"};
    if (resizeDelay < 0 || resizeDelay > 1000)
        return {DispOptField::kResizeDelay, "Resize delay milliseconds must be 0..1000"};
    const std::string folder = frame::CleanAutoscanFolder(texts.autoscanFolder);
    const bool tooLong = Utf8CharacterCount(TrimBlanks(texts.autoscanFolder)) > kMaxAutoscanFolderCharacters;
    if (tooLong && folder != data.autoscanFolder)
        return {DispOptField::kAutoscanFolder, "The autoscan directory path must be at most " +
                                                   std::to_string(kMaxAutoscanFolderCharacters) + " characters."};
    if (texts.autoscan && folder.empty()) return {DispOptField::kAutoscanFolder, "Must specify a directory path."};
    data.centerPercent = centerPercent;
    data.minVisSize = minVisSize;
    data.resizeDelay = resizeDelay;
    data.autoscan = texts.autoscan;
    data.autoscanFolder = folder;
    return {};
}

}  // namespace config
