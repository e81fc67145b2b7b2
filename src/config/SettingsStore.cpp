#include "config/SettingsStore.h"

#include "config/SettingsText.h"

namespace config {

int SettingsStore::ReadInt(std::string_view name, int fallback) const {
    return ParseInt(ReadString(name, IntText(fallback)));
}

void SettingsStore::WriteInt(std::string_view name, int value) { WriteString(name, IntText(value)); }

std::uint32_t SettingsStore::ReadColor(std::string_view name, std::uint32_t fallback) const {
    std::uint32_t color = 0;
    return ParseColor(ReadString(name, ColorText(ResolveColor(fallback))), color) ? color : fallback;
}

void SettingsStore::WriteColor(std::string_view name, std::uint32_t color) {
    WriteString(name, ColorText(ResolveColor(color)));
}

std::uint32_t SettingsStore::ResolveColor(std::uint32_t color) const { return color & 0x00FFFFFFu; }

}  // namespace config
