#include "config/Config.h"

#include "config/SettingsText.h"

#include <algorithm>
#include <utility>

namespace config {

Config::Config(HKEY root, std::string path) : path_(std::move(path)) {
    HKEY key = nullptr;
    if (RegCreateKeyExA(root, path_.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr, &key,
                        nullptr) == ERROR_SUCCESS)
        key_.Reset(key);
}

std::string Config::ReadString(std::string_view name, std::string_view fallback) const {
    if (!key_) return std::string(fallback);
    const std::string valueName(name);
    DWORD type = 0;
    DWORD size = 0;
    if (RegQueryValueExA(key_.Get(), valueName.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS ||
        type != REG_SZ)
        return std::string(fallback);
    std::string data(size, '\0');
    if (size > 0 && RegQueryValueExA(key_.Get(), valueName.c_str(), nullptr, &type,
                                     reinterpret_cast<BYTE*>(data.data()), &size) != ERROR_SUCCESS)
        return std::string(fallback);
    // The stored bytes need not end in a zero; the text is what precedes the first one.
    data.resize(std::min<std::size_t>(size, data.size()));
    if (const auto end = data.find('\0'); end != std::string::npos) data.resize(end);
    return data;
}

void Config::WriteString(std::string_view name, std::string_view text) {
    if (!key_) return;
    const std::string valueName(name);
    const std::string value(text);
    RegSetValueExA(key_.Get(), valueName.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                   static_cast<DWORD>(value.size() + 1));
}

std::uint32_t Config::ResolveColour(std::uint32_t colour) const {
    if (colour & kSystemColourFlag) return GetSysColor(static_cast<int>(colour & 0xFFu)) & 0x00FFFFFFu;
    return colour & 0x00FFFFFFu;
}

UserConfig::UserConfig() : Config(HKEY_CURRENT_USER, kKeyPath) {}

MachConfig::MachConfig() : Config(HKEY_LOCAL_MACHINE, kKeyPath) {}

}  // namespace config
