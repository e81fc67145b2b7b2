// The settings store in the registry: one key, every value a REG_SZ text. Objects are short-lived: create
// one on the stack for a batch of reads or writes; destroying it closes the key, and nothing is cached.
//
//   config::UserConfig cfg;
//   bool autoscan = cfg.ReadFlag("Autoscan", false);
//
// The key is opened with full access and created when missing. When that fails every read yields its
// default and every write does nothing.
#pragma once

#include "config/SettingsStore.h"
#include "fw/Handles.h"

#include <windows.h>

#include <string>

namespace config {

inline constexpr const char* kKeyPath = "SOFTWARE\\Tervanic\\Kelvaran";

class Config : public SettingsStore {
public:
    Config(HKEY root, std::string path);

    bool IsOpen() const noexcept { return static_cast<bool>(key_); }
    const std::string& KeyPath() const noexcept { return path_; }

    // A value of another registry type than REG_SZ counts as missing.
    std::string ReadString(std::string_view name, std::string_view fallback) const override;
    void WriteString(std::string_view name, std::string_view text) override;

protected:
    std::uint32_t ResolveColour(std::uint32_t colour) const override;

private:
    fw::RegKey key_;
    std::string path_;
};

// The program's settings: kKeyPath under HKEY_CURRENT_USER.
class UserConfig : public Config {
public:
    UserConfig();
};

// The same path under HKEY_LOCAL_MACHINE; the program itself never creates one.
class MachConfig : public Config {
public:
    MachConfig();
};

}  // namespace config
