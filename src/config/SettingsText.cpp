#include "config/SettingsText.h"

#include <climits>

namespace config {
namespace {

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Optional sign and digits from `pos`, saturating at `limit` in magnitude. False when no digit follows.
bool ReadNumber(std::string_view text, std::size_t& pos, bool& negative, unsigned long long& magnitude,
                unsigned long long limit) {
    while (pos < text.size() && IsSpace(text[pos])) ++pos;
    negative = false;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) negative = text[pos++] == '-';
    if (pos >= text.size() || !IsDigit(text[pos])) return false;
    magnitude = 0;
    for (; pos < text.size() && IsDigit(text[pos]); ++pos) {
        magnitude = magnitude * 10 + static_cast<unsigned>(text[pos] - '0');
        if (magnitude > limit) magnitude = limit;
    }
    return true;
}

}  // namespace

int ParseInt(std::string_view text) noexcept {
    std::size_t pos = 0;
    bool negative = false;
    unsigned long long magnitude = 0;
    constexpr unsigned long long limit = static_cast<unsigned long long>(INT_MAX) + 1;
    if (!ReadNumber(text, pos, negative, magnitude, limit)) return 0;
    if (negative) return magnitude >= limit ? INT_MIN : -static_cast<int>(magnitude);
    return magnitude >= limit ? INT_MAX : static_cast<int>(magnitude);
}

std::string IntText(int value) { return std::to_string(value); }

bool ParseColor(std::string_view text, std::uint32_t& color) noexcept {
    unsigned parts[3] = {};
    std::size_t pos = 0;
    for (unsigned& part : parts) {
        bool negative = false;
        unsigned long long magnitude = 0;
        if (!ReadNumber(text, pos, negative, magnitude, 0xFFFF)) return false;
        if (magnitude > 255 || (negative && magnitude != 0)) return false;
        part = static_cast<unsigned>(magnitude);
    }
    color = Rgb(parts[0], parts[1], parts[2]);
    return true;
}

std::string ColorText(std::uint32_t color) {
    return std::to_string(RedOf(color)) + ' ' + std::to_string(GreenOf(color)) + ' ' + std::to_string(BlueOf(color));
}

}  // namespace config
