// The three text forms of numbers shown everywhere (status bars, tips, dialogs): counts with digit-group
// commas, sizes in bytes or one-decimal binary units, and commas added to a text ending in a number.
// Independent of the user's locale (always "," and "."); pure functions, callable from any thread.
#pragma once

#include <cstdint>
#include <string>

namespace model {

// 1234567 -> "1,234,567".
std::string FormatCount(std::uint64_t value);

// Below 1000: "999 bytes"; otherwise one decimal and the first of K, M, G, T below 1000, else P:
// "1.0 KB", "1000.0 KB", "16384.0 PB".
std::string FormatSize(std::uint64_t bytes);

// Inserts a comma before every group of three characters counted from the end whose preceding character is
// a digit; leading blanks and a decimal point stay where they are ("  1234" -> "  1,234", "12.345" unchanged).
void InsertGroupCommas(std::string& text);

}  // namespace model
