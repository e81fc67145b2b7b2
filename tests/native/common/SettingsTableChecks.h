// Checks every window's settings table alike, row by row, against the map store:
//
//   native_test::CheckEveryRowRoundTrips(pie::kPieViewSettings, pie::PieViewSettings{});
//   native_test::CheckEveryNumberIsClampedOnReading(pie::kPieViewSettings, pie::PieViewSettings{});
//
// `defaults` is the record reading starts from (the window's defaults).
#pragma once

#include "common/MapStore.h"
#include "config/SettingsTable.h"
#include "config/SettingsText.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

namespace native_test {

// The names of a table's rows, in order.
template <class Table>
std::vector<std::string> NamesOf(const Table& rows) {
    std::vector<std::string> names;
    for (const auto& row : rows) names.emplace_back(row.name);
    return names;
}

// Records that differ from `defaults` in the row's member only, by values the row can hold: a number at
// both ends of its range, a flag flipped, colours and texts unlike the defaults.
template <class Record>
std::vector<Record> OtherValues(const config::Setting<Record>& row, const Record& defaults) {
    std::vector<Record> records;
    auto with = [&](auto change) {
        Record r = defaults;
        change(r);
        records.push_back(r);
    };
    switch (row.kind) {
    case config::SettingKind::kNumber:
        for (int value : {row.range.low, row.range.high, row.range.low + (row.range.high - row.range.low) / 2})
            with([&](Record& r) { row.assign(r, value); });
        break;
    case config::SettingKind::kFlag: with([&](Record& r) { r.*row.flag = !(defaults.*row.flag); }); break;
    case config::SettingKind::kColour:
        for (std::uint32_t colour : {config::Rgb(0, 0, 0), config::Rgb(255, 255, 255), config::Rgb(1, 2, 3)})
            with([&](Record& r) { r.*row.colour = colour; });
        break;
    case config::SettingKind::kText:
        for (std::string text : {std::string(), std::string("E:\\Some folder\\"),
                                 std::string(" #SIZE\r\n\t\xE6\x97\xA5 "), std::string(2000, 'x')})
            with([&](Record& r) { r.*row.text = row.clean ? row.clean(text) : text; });
        break;
    }
    return records;
}

// Written and read back, every value of every row comes back as it was, and writing stores every row once,
// in the table's order. The values are those reading gives (a text row's default cleaned, say).
template <class Table, class Record>
void CheckEveryRowRoundTrips(const Table& rows, const Record& defaults) {
    Record read = defaults;
    config::ReadSettings(rows, MapStore(), read);
    for (const auto& row : rows) {
        for (const Record& written : OtherValues(row, read)) {
            MapStore store;
            config::WriteSettings(rows, written, store);
            EXPECT_EQ(store.written, NamesOf(rows)) << row.name;
            Record back = defaults;
            config::ReadSettings(rows, store, back);
            EXPECT_TRUE(back == written) << row.name << " = " << store.values[std::string(row.name)];
        }
    }
}

// A number stored below, above or outside the int range reads as the nearest end of its range; a text that
// is no number, or an empty one, reads as 0 would, clamped; a missing one as the default. Nothing else of
// the record changes.
template <class Table, class Record>
void CheckEveryNumberIsClampedOnReading(const Table& rows, const Record& defaults) {
    Record base = defaults;  // as reading leaves the defaults
    config::ReadSettings(rows, MapStore(), base);
    for (const auto& row : rows) {
        if (row.kind != config::SettingKind::kNumber) continue;
        EXPECT_EQ(row.number(base), row.number(defaults)) << row.name << ": missing, it keeps its default";
        const config::Range range = row.range;
        const struct {
            std::string stored;
            int expected;
        } probes[] = {
            {std::to_string(range.low - 1), range.low},
            {std::to_string(range.high + 1), range.high},
            {"-99999999999", range.low},
            {"99999999999", range.high},
            {std::to_string(range.low), range.low},
            {std::to_string(range.high), range.high},
            {"not a number", range.Clamp(0)},
            {"", range.Clamp(0)},
            {" 7 apples", range.Clamp(7)},
        };
        for (const auto& probe : probes) {
            MapStore store;
            store.values[std::string(row.name)] = probe.stored;
            Record read = defaults;
            config::ReadSettings(rows, store, read);
            EXPECT_EQ(row.number(read), probe.expected) << row.name << " stored as \"" << probe.stored << '"';
            row.assign(read, row.number(base));
            EXPECT_TRUE(read == base) << row.name << ": only its own member changes";
        }
    }
}

}  // namespace native_test
