// The typed face of a settings store: every value is text, and integers, flags and colours go through the
// rules of SettingsText.h. Config (the registry) implements the two text operations; tests and portable
// code such as the recent roots list can use any other implementation.
//
// No operation reports an error: a read that fails yields its default, a write that fails does nothing.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace config {

class SettingsStore {
public:
    virtual ~SettingsStore() = default;

    // The stored text, or `fallback` when the value is missing or unreadable. A stored empty text is empty.
    virtual std::string ReadString(std::string_view name, std::string_view fallback) const = 0;
    virtual void WriteString(std::string_view name, std::string_view text) = 0;

    // The default goes through the text, so a stored text without digits reads 0, not the default.
    int ReadInt(std::string_view name, int fallback) const;
    void WriteInt(std::string_view name, int value);

    // Flags are integers "0" or "1"; any non-zero reading counts as set.
    bool ReadFlag(std::string_view name, bool fallback) const { return ReadInt(name, fallback ? 1 : 0) != 0; }
    void WriteFlag(std::string_view name, bool value) { WriteInt(name, value ? 1 : 0); }

    // A malformed colour or a component above 255 reads as the default.
    std::uint32_t ReadColour(std::string_view name, std::uint32_t fallback) const;
    void WriteColour(std::string_view name, std::uint32_t colour);

protected:
    // The RGB value behind a colour that may carry kSystemColourFlag. Without a window system: flag removed.
    virtual std::uint32_t ResolveColour(std::uint32_t colour) const;
};

}  // namespace config
