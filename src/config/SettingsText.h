// How settings are written as text: integers and flags in decimal, colours as "red green blue". Portable;
// the registry store (Config.h) and tests use these rules directly.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace config {

// Colours are 0x00BBGGRR values. A value with kSystemColourFlag set names a system colour by its index in
// the low byte; the store resolves it to its current components before writing.
inline constexpr std::uint32_t kSystemColourFlag = 0x80000000u;
constexpr std::uint32_t Rgb(unsigned red, unsigned green, unsigned blue) {
    return (red & 0xFFu) | ((green & 0xFFu) << 8) | ((blue & 0xFFu) << 16);
}
constexpr unsigned RedOf(std::uint32_t colour) { return colour & 0xFFu; }
constexpr unsigned GreenOf(std::uint32_t colour) { return (colour >> 8) & 0xFFu; }
constexpr unsigned BlueOf(std::uint32_t colour) { return (colour >> 16) & 0xFFu; }

// The C library's atoi: leading white space, an optional sign, digits up to the first other character; no
// digits gives 0. Values beyond the int range saturate at its ends instead of overflowing.
int ParseInt(std::string_view text) noexcept;

std::string IntText(int value);

// Three numbers separated by blanks; true and `colour` set when all three were read and each is 0..255.
bool ParseColour(std::string_view text, std::uint32_t& colour) noexcept;

// "red green blue" of an RGB value (the system-colour flag must already be resolved).
std::string ColourText(std::uint32_t colour);

// A folder as the settings hold it, made usable: blanks and tabs trimmed at both ends, a lone drive letter
// gets ":", and a non-empty folder ends in a backslash ("d" becomes "d:\").
std::string CleanFolder(std::string_view stored);

}  // namespace config
