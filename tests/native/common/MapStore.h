// The settings store of every test: values live in a map, the store's own or one shared by several stores
// (code that opens a new store for each batch, like the recent roots, sees what the last one wrote).
//
//   native_test::MapStore store;                 // its own map
//   store.values["Autoscan"] = "yes";
//   store.otherType.insert("Binary");            // stored with another registry type: reads as missing
//   ... code under test ...
//   EXPECT_EQ(store.written, (std::vector<std::string>{"A", "B"}));   // the names in the order written
//
//   native_test::MapStore::Values shared;
//   auto open = [&] { return std::make_unique<native_test::MapStore>(shared); };
#pragma once

#include "config/SettingsStore.h"

#include <map>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace native_test {

class MapStore : public config::SettingsStore {
public:
    using Values = std::map<std::string, std::string, std::less<>>;

    MapStore() : values(own_) {}
    explicit MapStore(Values& shared) : values(shared) {}
    MapStore(const MapStore&) = delete;
    MapStore& operator=(const MapStore&) = delete;

    std::string ReadString(std::string_view name, std::string_view fallback) const override {
        const auto it = values.find(name);
        if (it == values.end() || otherType.count(name)) return std::string(fallback);
        return it->second;
    }
    void WriteString(std::string_view name, std::string_view text) override {
        values[std::string(name)] = std::string(text);
        if (const auto it = otherType.find(name); it != otherType.end()) otherType.erase(it);
        written.emplace_back(name);
    }

private:
    Values own_;  // before `values`, which may refer to it

public:
    Values& values;
    std::set<std::string, std::less<>> otherType;  // names held with another registry type than text
    std::vector<std::string> written;              // the names written, in order
};

}  // namespace native_test
