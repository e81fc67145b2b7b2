// A settings store whose values live in a map, for tests of code that reads and writes settings.
#pragma once

#include "config/SettingsStore.h"

#include <map>
#include <string>
#include <string_view>

namespace native_test {

class MapStore : public config::SettingsStore {
public:
    std::map<std::string, std::string, std::less<>> values;

    std::string ReadString(std::string_view name, std::string_view fallback) const override {
        auto it = values.find(name);
        return it != values.end() ? it->second : std::string(fallback);
    }
    void WriteString(std::string_view name, std::string_view text) override { values[std::string(name)] = std::string(text); }
};

}  // namespace native_test
