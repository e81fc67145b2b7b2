// How the settings dialog asks the user for a colour: through the chooser it was handed. The program hands
// it SystemColourChooser; tests hand it their own answer.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <optional>

namespace options {

// The chosen colour (0x00BBGGRR), or nothing when the user cancelled.
using ColourChooser = std::function<std::optional<std::uint32_t>(HWND owner, std::uint32_t initial)>;

// The system's colour chooser, opened over `owner` with the colour preselected, the full dialog open and a
// fresh set of custom colours.
std::optional<std::uint32_t> SystemColourChooser(HWND owner, std::uint32_t initial);

}  // namespace options
