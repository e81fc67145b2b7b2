// How the settings dialog asks the user for a colour: the system's colour chooser, opened over `owner`
// with the colour preselected, the full dialog open and a fresh set of custom colours. Tests put their
// own answer in place of the system's with SetColourChooser.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <optional>

namespace config {

// The chosen colour (0x00BBGGRR), or nothing when the user cancelled.
std::optional<std::uint32_t> ChooseColour(HWND owner, std::uint32_t initial);

using ColourChooser = std::function<std::optional<std::uint32_t>(HWND owner, std::uint32_t initial)>;
// An empty chooser restores the system's; returns the previous one.
ColourChooser SetColourChooser(ColourChooser chooser);

}  // namespace config
