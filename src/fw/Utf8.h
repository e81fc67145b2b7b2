// The program's texts are UTF-8; the system's wide functions take UTF-16. The one conversion both ways.
#pragma once

#include <string>
#include <string_view>

namespace fw {

std::wstring Utf8ToWide(std::string_view text);
std::string WideToUtf8(std::wstring_view text);

}  // namespace fw
