// A window's settings described once: one row per stored value, {value name, member, range}, listed in the
// order the values are written. Reading (each number clamped into its range, a text cleaned), writing and
// the settings dialog's checks all walk the same rows. The record's default member values are the
// defaults: reading starts from a record that holds them, so a missing value leaves its member as it was.
//
//   struct ViewSettings { int delay = 100; bool look = true; };
//   using Row = config::Rows<ViewSettings>;
//   inline constexpr config::Setting<ViewSettings> kViewSettings[] = {
//       Row::Number<&ViewSettings::delay>("Delay", {0, 1000}),
//       Row::Flag<&ViewSettings::look>("Look"),
//   };
//   ViewSettings s;                                  // the defaults
//   config::ReadSettings(kViewSettings, store, s);   // ... and when the window goes:
//   config::WriteSettings(kViewSettings, s, store);
//   constexpr const auto& delay = config::SettingOf<&ViewSettings::delay>(kViewSettings);  // its range
//
// Header only: the rows are constant expressions, so a dialog finds its rows while being compiled.
#pragma once

#include "config/SettingsStore.h"

#include <cmath>
#include <cstdint>
#include <limits>
#include <source_location>
#include <stdexcept>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>

namespace config {

// The whole numbers a value may take, both ends included.
struct Range {
    int low = 0;
    int high = 0;
    constexpr bool Holds(int value) const noexcept { return low <= value && value <= high; }
    constexpr int Clamp(int value) const noexcept { return value < low ? low : value > high ? high : value; }
};

enum class SettingKind { kNumber, kFlag, kColour, kText };

template <class Record>
struct Setting {
    std::string_view name;  // the value's name in the store
    SettingKind kind = SettingKind::kNumber;
    Range range;                             // kNumber: where a number read from the store is clamped to
    std::string_view member;                 // which member the row holds (SettingOf)
    int (*number)(const Record&) = nullptr;  // kNumber: the member as it is stored
    void (*assign)(Record&, int) = nullptr;  // kNumber: the member from a stored number
    bool Record::*flag = nullptr;
    std::uint32_t Record::*colour = nullptr;
    std::string Record::*text = nullptr;
    std::string (*clean)(std::string_view) = nullptr;  // kText: what reading makes of the stored text, if any

    // kNumber: the member from a number, clamped into the range first.
    void AssignClamped(Record& record, int value) const { assign(record, range.Clamp(value)); }

    // A missing value keeps the member's value: the default goes through the store's text rules.
    void Read(const SettingsStore& store, Record& record) const {
        switch (kind) {
        case SettingKind::kNumber: AssignClamped(record, store.ReadInt(name, number(record))); break;
        case SettingKind::kFlag: record.*flag = store.ReadFlag(name, record.*flag); break;
        case SettingKind::kColour: record.*colour = store.ReadColour(name, record.*colour); break;
        case SettingKind::kText: {
            std::string stored = store.ReadString(name, record.*text);
            record.*text = clean ? clean(stored) : std::move(stored);
            break;
        }
        }
    }

    void Write(const Record& record, SettingsStore& store) const {
        switch (kind) {
        case SettingKind::kNumber: store.WriteInt(name, number(record)); break;
        case SettingKind::kFlag: store.WriteFlag(name, record.*flag); break;
        case SettingKind::kColour: store.WriteColour(name, record.*colour); break;
        case SettingKind::kText: store.WriteString(name, record.*text); break;
        }
    }
};

namespace detail {
// A text that names the member: the signature of this function's instance for it, which spells out the
// template argument. (Addresses of per-member objects would do, but the compiler does not compare them
// in constant expressions once the sanitizers are on.)
template <auto Member>
consteval std::string_view MemberKey() {
    return std::source_location::current().function_name();
}

// `value` rounded to the nearest int (halves away from zero) or truncated, saturating at the ends of the
// int range instead of overflowing; NaN gives 0.
inline int SaturatedInt(double value, bool round) noexcept {
    constexpr int lowest = std::numeric_limits<int>::min();
    constexpr int highest = std::numeric_limits<int>::max();
    if (std::isnan(value)) return 0;
    if (value <= lowest) return lowest;
    if (value >= highest) return highest;
    return round ? static_cast<int>(std::lround(value)) : static_cast<int>(value);
}

template <class Record, auto Member>
using MemberType = std::remove_cvref_t<decltype(std::declval<Record&>().*Member)>;
}  // namespace detail

// The rows of one record: `Row::Number<&Record::member>("Name", {low, high})`. Members of a base class are
// named through the record (`&Derived::baseMember`).
template <class Record>
struct Rows {
    // An int or an enum, stored as its number.
    template <auto Member>
    static constexpr Setting<Record> Number(std::string_view name, Range range) {
        using T = detail::MemberType<Record, Member>;
        static_assert(std::is_integral_v<T> || std::is_enum_v<T>, "Number holds ints and enums");
        Setting<Record> row = Start<Member>(name, SettingKind::kNumber);
        row.range = range;
        row.number = [](const Record& r) { return static_cast<int>(r.*Member); };
        row.assign = [](Record& r, int value) { r.*Member = static_cast<T>(value); };
        return row;
    }

    // A fraction held as a double, stored as the nearest whole per cent; `range` is in per cent.
    template <auto Member>
    static constexpr Setting<Record> Percent(std::string_view name, Range range) {
        static_assert(std::is_same_v<detail::MemberType<Record, Member>, double>, "Percent holds doubles");
        Setting<Record> row = Start<Member>(name, SettingKind::kNumber);
        row.range = range;
        row.number = [](const Record& r) { return detail::SaturatedInt(r.*Member * 100, true); };
        row.assign = [](Record& r, int value) { r.*Member = value / 100.0; };
        return row;
    }

    // A double stored as its integer part.
    template <auto Member>
    static constexpr Setting<Record> Whole(std::string_view name, Range range) {
        static_assert(std::is_same_v<detail::MemberType<Record, Member>, double>, "Whole holds doubles");
        Setting<Record> row = Start<Member>(name, SettingKind::kNumber);
        row.range = range;
        row.number = [](const Record& r) { return detail::SaturatedInt(r.*Member, false); };
        row.assign = [](Record& r, int value) { r.*Member = value; };
        return row;
    }

    // A flag, stored as "0" or "1".
    template <auto Member>
    static constexpr Setting<Record> Flag(std::string_view name) {
        Setting<Record> row = Start<Member>(name, SettingKind::kFlag);
        row.flag = Member;
        return row;
    }

    // A colour, stored as "red green blue".
    template <auto Member>
    static constexpr Setting<Record> Colour(std::string_view name) {
        Setting<Record> row = Start<Member>(name, SettingKind::kColour);
        row.colour = Member;
        return row;
    }

    // A text, stored as it is; `clean`, when given, is applied to what is read.
    template <auto Member>
    static constexpr Setting<Record> Text(std::string_view name, std::string (*clean)(std::string_view) = nullptr) {
        Setting<Record> row = Start<Member>(name, SettingKind::kText);
        row.text = Member;
        row.clean = clean;
        return row;
    }

private:
    template <auto Member>
    static constexpr Setting<Record> Start(std::string_view name, SettingKind kind) {
        Setting<Record> row;
        row.name = name;
        row.kind = kind;
        row.member = detail::MemberKey<Member>();
        return row;
    }
};

template <class Table, class Record>
void ReadSettings(const Table& rows, const SettingsStore& store, Record& record) {
    for (const auto& row : rows) row.Read(store, record);
}

template <class Table, class Record>
void WriteSettings(const Table& rows, const Record& record, SettingsStore& store) {
    for (const auto& row : rows) row.Write(record, store);
}

// Every number of the record as reading would leave it: within its range and in its stored form (a
// fraction becomes its whole per cent, a double its integer part).
template <class Table, class Record>
void ClampSettings(const Table& rows, Record& record) {
    for (const auto& row : rows)
        if (row.kind == SettingKind::kNumber) row.AssignClamped(record, row.number(record));
}

// The row of `Member`; naming a member the table lacks fails to compile where the result is constexpr.
template <auto Member, class Table>
constexpr const auto& SettingOf(const Table& rows) {
    for (const auto& row : rows)
        if (row.member == detail::MemberKey<Member>()) return row;
    throw std::logic_error("no settings row for this member");
}

}  // namespace config
