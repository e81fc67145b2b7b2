// The program's one case-insensitive comparison of names and paths: ASCII letters match without regard
// to case; every other byte (UTF-8 included) must match exactly. Folder look-ups, the history and the
// recent roots, and the tip template symbols all compare this way.
#pragma once

#include <string_view>

namespace model {

constexpr char AsciiLower(char c) noexcept { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

constexpr bool EqualIgnoringAsciiCase(std::string_view a, std::string_view b) noexcept {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (AsciiLower(a[i]) != AsciiLower(b[i])) return false;
    return true;
}

}  // namespace model
