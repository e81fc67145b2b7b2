// How settings are written as text: integers and flags in decimal, colours as "red green blue". Portable;
// the registry store (Config.h) and tests use these rules directly.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace config {

// Colours are 0x00BBGGRR values. A value with kSystemColorFlag set names a system colour by its index in
// the low byte; the store resolves it to its current components before writing.
inline constexpr std::uint32_t kSystemColorFlag = 0x80000000u;
constexpr std::uint32_t Rgb(unsigned red, unsigned green, unsigned blue) {
    return (red & 0xFFu) | ((green & 0xFFu) << 8) | ((blue & 0xFFu) << 16);
}
constexpr unsigned RedOf(std::uint32_t color) { return color & 0xFFu; }
constexpr unsigned GreenOf(std::uint32_t color) { return (color >> 8) & 0xFFu; }
constexpr unsigned BlueOf(std::uint32_t color) { return (color >> 16) & 0xFFu; }

// The C library's atoi: leading white space, an optional sign, digits up to the first other character; no
// digits gives 0. Values beyond the int range saturate at its ends instead of overflowing.
int ParseInt(std::string_view text) noexcept;

std::string IntText(int value);

// Three numbers separated by blanks; true and `color` set when all three were read and each is 0..255.
bool ParseColor(std::string_view text, std::uint32_t& color) noexcept;

// "red green blue" of an RGB value (the system-colour flag must already be resolved).
std::string ColorText(std::uint32_t color);

}  // namespace config
