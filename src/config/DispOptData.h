// What the settings dialog edits, as plain values: filled from the running windows before the dialog
// opens, checked when the user presses OK, and copied back to the windows only after OK. The dialog moves
// values between its controls and this record; every rule (ranges, the autoscan folder) is here.
//
//   DispOptData data = MakeDispOptData(pie.Settings(), dialogLook, largeToolbar, autoscan, folder);
//   ... the dialog runs on a copy of `data` ...
//   DispOptVerdict verdict = ValidateDispOpt(texts, data);   // on OK
//   if (verdict.Ok()) ApplyDispOptData(data, pie.Settings());
#pragma once

#include "pie/PieViewSettings.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace config {

struct DispOptData {
    int centerPercent = 33;     // centre disk radius in per cent of the pie radius, 10..90
    int minVisSize = 2;         // visibility threshold in pixels, 0..100
    bool showGuideLines = true;
    bool dialogLook = true;
    int clrMeth = pie::kSizeEncoded;
    std::uint32_t fixedClr = 0;
    std::uint32_t sizeClr1 = 0;
    std::uint32_t sizeClr2 = 0;
    int flyTransp = 64;         // 0 solid .. 255 invisible
    int srtOrder = pie::kBySize;
    bool groupDirs = true;
    bool largeToolbar = false;
    int resizeDelay = 100;      // milliseconds, 0..1000
    bool autoscan = false;
    std::string autoscanFolder;
    bool tipShowName = true;
    bool tipShowInfo = true;
    std::string tipTextDir;
    std::string tipTextFile;
};

// The dialog's starting values: the centre ratio as the nearest whole percentage, the threshold truncated,
// and the three numbers the dialog shows clamped into their ranges.
DispOptData MakeDispOptData(const pie::PieViewSettings& pie, bool dialogLook, bool largeToolbar, bool autoscan,
                            std::string_view autoscanFolder);

// Copies the pie's part of the data into its settings (the tool bar, the dialog look and the autoscan
// values belong to the frame and the application, which take them themselves).
void ApplyDispOptData(const DispOptData& data, pie::PieViewSettings& pie);

// The texts of the dialog's edits and the autoscan box at the moment OK is pressed.
struct DispOptTexts {
    std::string_view centerPercent;
    std::string_view minVisSize;
    std::string_view resizeDelay;
    bool autoscan = false;
    std::string_view autoscanFolder;
};

// Which edit a refusal points at.
enum class DispOptField { kNone, kCenterPercent, kMinVisSize, kResizeDelay, kAutoscanFolder };

struct DispOptVerdict {
    DispOptField field = DispOptField::kNone;
    std::string message;  // shown with the caption "Range Error"
    bool Ok() const noexcept { return field == DispOptField::kNone; }
};

// The longest autoscan folder the dialog takes in, in characters (blanks around it not counted).
inline constexpr std::size_t kMaxAutoscanFolderCharacters = 260;

// Reads the edits (a text that is not a whole number reads 0), checks the ranges in the order the dialog
// shows them, then cleans the autoscan folder (blanks trimmed, a lone letter becomes that drive's root,
// a trailing backslash added). A folder longer than kMaxAutoscanFolderCharacters is refused, never cut,
// unless it is the folder `data` already holds: an OK for another change keeps that one as it was. The
// values are written into `data` only when everything is accepted.
DispOptVerdict ValidateDispOpt(const DispOptTexts& texts, DispOptData& data);

// The number of characters in a UTF-8 text: a lead byte and the continuation bytes it announces count one;
// every byte that belongs to no well-formed sequence counts one of its own.
std::size_t Utf8CharacterCount(std::string_view text) noexcept;

// A signed whole number with optional blanks around it; anything else reads 0. Values past the int range
// saturate, so that they fail the range checks instead of wrapping into them.
int ReadDialogNumber(std::string_view text) noexcept;

}  // namespace config
