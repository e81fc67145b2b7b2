// Size and count texts. std::to_chars gives locale-free, correctly rounded output on every toolchain.
#include "model/SizeText.h"

#include <charconv>

namespace model {

std::string FormatCount(std::uint64_t value) {
    std::string text = std::to_string(value);
    InsertGroupCommas(text);
    return text;
}

std::string FormatSize(std::uint64_t bytes) {
    if (bytes < 1000) return std::to_string(bytes) + " bytes";
    double x = static_cast<double>(bytes);
    char unit = 'P';
    for (char candidate : {'K', 'M', 'G', 'T'}) {
        x /= 1024;
        if (x < 1000) {
            unit = candidate;
            break;
        }
    }
    if (unit == 'P') x /= 1024;
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, x, std::chars_format::fixed, 1);
    std::string text(buffer, result.ptr);
    text += ' ';
    text += unit;
    text += 'B';
    return text;
}

void InsertGroupCommas(std::string& text) {
    // Positions count on the text before this pass; inserting from the end keeps earlier positions valid.
    for (std::ptrdiff_t n = static_cast<std::ptrdiff_t>(text.size()) - 3; n > 0; n -= 3) {
        const char before = text[static_cast<std::size_t>(n - 1)];
        if (before >= '0' && before <= '9') text.insert(static_cast<std::size_t>(n), 1, ',');
    }
}

}  // namespace model
