#include "config/SettingsStore.h"

#include "config/SettingsText.h"

namespace config {

int SettingsStore::ReadInt(std::string_view name, int fallback) const {
    return ParseInt(ReadString(name, IntText(fallback)));
}

void SettingsStore::WriteInt(std::string_view name, int value) { WriteString(name, IntText(value)); }

std::uint32_t SettingsStore::ReadColour(std::string_view name, std::uint32_t fallback) const {
    std::uint32_t colour = 0;
    return ParseColour(ReadString(name, ColourText(ResolveColour(fallback))), colour) ? colour : fallback;
}

void SettingsStore::WriteColour(std::string_view name, std::uint32_t colour) {
    WriteString(name, ColourText(ResolveColour(colour)));
}

std::uint32_t SettingsStore::ResolveColour(std::uint32_t colour) const { return colour & 0x00FFFFFFu; }

}  // namespace config
