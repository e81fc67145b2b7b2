#include "config/SettingsText.h"

#include <climits>

namespace config {
namespace {

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsBlank(char c) { return c == ' ' || c == '\t'; }

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

bool ParseColour(std::string_view text, std::uint32_t& colour) noexcept {
    unsigned parts[3] = {};
    std::size_t pos = 0;
    for (unsigned& part : parts) {
        bool negative = false;
        unsigned long long magnitude = 0;
        if (!ReadNumber(text, pos, negative, magnitude, 0xFFFF)) return false;
        if (magnitude > 255 || (negative && magnitude != 0)) return false;
        part = static_cast<unsigned>(magnitude);
    }
    colour = Rgb(parts[0], parts[1], parts[2]);
    return true;
}

std::string ColourText(std::uint32_t colour) {
    return std::to_string(RedOf(colour)) + ' ' + std::to_string(GreenOf(colour)) + ' ' + std::to_string(BlueOf(colour));
}

std::string CleanFolder(std::string_view stored) {
    while (!stored.empty() && IsBlank(stored.front())) stored.remove_prefix(1);
    while (!stored.empty() && IsBlank(stored.back())) stored.remove_suffix(1);
    std::string folder(stored);
    if (folder.size() == 1) folder += ':';
    if (!folder.empty() && folder.back() != '\\') folder += '\\';
    return folder;
}

}  // namespace config
