// What the settings dialog edits, as plain values: filled from the running windows before the dialog
// opens, checked when the user presses OK, and copied back to the windows only after OK. The dialog moves
// values between its controls and this record; the ranges are the rows of the pie's settings table
// (kPieViewSettings), and the autoscan folder follows the store's folder rule.
//
//   DispOptData data = MakeDispOptData(pie.Settings(), dialogLook, largeToolbar, autoscan, folder);
//   ... the dialog runs on a copy of `data` ...
//   DispOptVerdict verdict = ValidateDispOpt(texts, data);   // on OK
//   if (verdict.Ok()) ApplyDispOptData(data, pie.Settings());
#pragma once

#include "pie/PieViewSettings.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace options {

struct DispOptData {
    pie::PieViewSettings pie;  // its numbers within their ranges and in their stored form
    bool dialogLook = true;
    bool largeToolbar = false;
    bool autoscan = false;
    std::string autoscanFolder;
};

// The dialog's starting values: the pie's settings with every number as the store would hold it (the
// centre ratio as the nearest whole percentage, the threshold truncated) and clamped into its range.
DispOptData MakeDispOptData(const pie::PieViewSettings& pie, bool dialogLook, bool largeToolbar, bool autoscan,
                            std::string_view autoscanFolder);

// Copies the pie's part of the data into its settings, all but the size kind and the statistics overlay,
// which the dialog does not offer (the tool bar, the dialog look and the autoscan values belong to the
// frame and the application, which take them themselves).
void ApplyDispOptData(const DispOptData& data, pie::PieViewSettings& pie);

// The colouring methods with a radio button in the dialog, in the buttons' order. Growth has none: it
// comes and goes with a comparison, and the dialog must not turn it into another method unasked.
inline constexpr pie::ColourMethod kOfferedColourMethods[] = {pie::kFixedColour, pie::kSizeEncoded, pie::kRainbowWash,
                                                              pie::kNameEncoded, pie::kTypeEncoded};
// The place of the button showing `method` among kOfferedColourMethods; nothing ticks none of them.
std::optional<std::size_t> ColourButtonOf(pie::ColourMethod method) noexcept;
// The method after OK: the ticked button's, or, with none ticked, the method the dialog opened with.
pie::ColourMethod ColourMethodOnOk(std::optional<std::size_t> tickedButton, pie::ColourMethod opened) noexcept;

// The edits of numbers, in the order the dialog checks them, and the settings rows they show.
enum class DispOptField { kNone, kCentre, kMinimumVisibleSize, kResizeDelay, kAutoscanFolder };

struct NumberEdit {
    DispOptField field;
    const config::Setting<pie::PieViewSettings>& setting;
    std::string_view what;  // the refusal reads "<what> must be <low>..<high>"
};
inline constexpr NumberEdit kNumberEdits[] = {
    {DispOptField::kCentre, config::SettingOf<&pie::PieViewSettings::centreRatio>(pie::kPieViewSettings),
     "Central disk radius"},
    {DispOptField::kMinimumVisibleSize,
     config::SettingOf<&pie::PieViewSettings::minimumVisibleSize>(pie::kPieViewSettings),
     "Maximum size of visible sectors"},
    {DispOptField::kResizeDelay, config::SettingOf<&pie::PieViewSettings::resizeDelay>(pie::kPieViewSettings),
     "Resize delay milliseconds"},
};

// The texts of the dialog's edits and the autoscan box at the moment OK is pressed.
struct DispOptTexts {
    std::string_view centre;
    std::string_view minimumVisibleSize;
    std::string_view resizeDelay;
    bool autoscan = false;
    std::string_view autoscanFolder;

    std::string_view Of(DispOptField field) const noexcept;
};

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

}  // namespace options
