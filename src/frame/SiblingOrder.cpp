#include "frame/SiblingOrder.h"

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace frame {
namespace {

// The control compares with lstrcmpW, that is CompareStringW of the user's locale without flags; sort
// keys of the same locale and flags order exactly as that compare does, and cost one call per name
// instead of one per comparison. Appends the key of `text` (`length` units) to `keys`.
void AppendSortKey(const wchar_t* text, int length, std::string& keys) {
    char buffer[512];
    int bytes = LCMapStringW(LOCALE_USER_DEFAULT, LCMAP_SORTKEY, text, length, reinterpret_cast<LPWSTR>(buffer),
                             static_cast<int>(sizeof buffer));
    if (bytes > 0) {
        keys.append(buffer, static_cast<std::size_t>(bytes));
        return;
    }
    bytes = LCMapStringW(LOCALE_USER_DEFAULT, LCMAP_SORTKEY, text, length, nullptr, 0);
    if (bytes <= 0) return;
    const std::size_t at = keys.size();
    keys.resize(at + static_cast<std::size_t>(bytes));
    LCMapStringW(LOCALE_USER_DEFAULT, LCMAP_SORTKEY, text, length, reinterpret_cast<LPWSTR>(keys.data() + at), bytes);
}

// Bytewise compare of two keys, eight bytes at a time. The C library's memcmp, which string_view's
// compare calls, is a slow byte loop under some systems, and a million keys take twenty million compares.
int CompareKeys(std::string_view a, std::string_view b) noexcept {
    const std::size_t common = std::min(a.size(), b.size());
    std::size_t i = 0;
    for (; i + 8 <= common; i += 8) {
        std::uint64_t x, y;
        std::memcpy(&x, a.data() + i, 8);
        std::memcpy(&y, b.data() + i, 8);
        if (x != y) return __builtin_bswap64(x) < __builtin_bswap64(y) ? -1 : 1;
    }
    for (; i < common; ++i) {
        const auto x = static_cast<unsigned char>(a[i]), y = static_cast<unsigned char>(b[i]);
        if (x != y) return x < y ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

// All keys in one buffer: a million small strings would cost a million allocations.
class KeyTable {
public:
    void Add(const wchar_t* text, int length) {
        AppendSortKey(text, length, keys_);
        ends_.push_back(keys_.size());
    }
    std::size_t Size() const noexcept { return ends_.size(); }
    std::string_view Key(std::size_t i) const noexcept {
        const std::size_t begin = i == 0 ? 0 : ends_[i - 1];
        return std::string_view(keys_).substr(begin, ends_[i] - begin);
    }
    // Bytes [at, at + 8) of key i as a number, zero-padded: where two such numbers differ the keys order
    // as they do; where they are equal the rest of the keys decides.
    std::uint64_t Chunk(std::size_t i, std::size_t at) const noexcept {
        const std::string_view key = Key(i);
        if (at + 8 <= key.size()) {
            std::uint64_t chunk;
            std::memcpy(&chunk, key.data() + at, 8);
            return __builtin_bswap64(chunk);
        }
        std::uint64_t chunk = 0;
        for (std::size_t n = at; n < at + 8; ++n)
            chunk = chunk << 8 | (n < key.size() ? static_cast<unsigned char>(key[n]) : 0u);
        return chunk;
    }

    std::string keys_;
    std::vector<std::size_t> ends_;
};

std::vector<std::size_t> OrderOf(const KeyTable& table) {
    // The first 16 bytes of each key travel with it, so most compares never look at the key buffer.
    struct Entry {
        std::uint64_t head, next;
        std::size_t index;
    };
    std::vector<Entry> entries(table.Size());
    for (std::size_t i = 0; i < entries.size(); ++i) entries[i] = {table.Chunk(i, 0), table.Chunk(i, 8), i};
    auto compare = [&table](const Entry& a, const Entry& b) {
        if (a.head != b.head) return a.head < b.head ? -1 : 1;
        if (a.next != b.next) return a.next < b.next ? -1 : 1;
        return CompareKeys(table.Key(a.index), table.Key(b.index));
    };
    // Equal keys keep their stored order (the index decides last), as inserting one by one would.
    std::sort(entries.begin(), entries.end(), [&compare](const Entry& a, const Entry& b) {
        const int compared = compare(a, b);
        return compared != 0 ? compared < 0 : a.index < b.index;
    });
    // The control puts an item equal to earlier ones right after the first of them, so a run of equal
    // names shows its first member and then the others in reverse.
    for (auto run = entries.begin(); run != entries.end();) {
        auto end = std::find_if(run + 1, entries.end(), [&](const Entry& e) { return compare(e, *run) != 0; });
        if (end - run > 2) std::reverse(run + 1, end);
        run = end;
    }
    std::vector<std::size_t> order(entries.size());
    for (std::size_t i = 0; i < entries.size(); ++i) order[i] = entries[i].index;
    return order;
}

}  // namespace

std::string SiblingSortKey(const std::wstring& text) {
    std::string key;
    AppendSortKey(text.c_str(), -1, key);
    return key;
}

std::vector<std::size_t> SiblingOrder(std::size_t count, const std::function<std::string_view(std::size_t)>& nameOf) {
    KeyTable table;
    table.ends_.reserve(count);
    table.keys_.reserve(count * 24);
    std::wstring wide;
    for (std::size_t i = 0; i < count; ++i) {
        const std::string_view name = nameOf(i);
        // A UTF-8 text never has fewer bytes than its UTF-16 form has units.
        if (wide.size() < name.size() + 1) wide.resize(name.size() + 1);
        std::size_t length = 0;
        // Most names are ASCII, whose bytes are their UTF-16 units; the system's conversion costs a call.
        while (length < name.size() && static_cast<unsigned char>(name[length]) < 0x80) {
            wide[length] = static_cast<wchar_t>(name[length]);
            ++length;
        }
        if (length < name.size())
            length =
                static_cast<std::size_t>(MultiByteToWideChar(CP_UTF8, 0, name.data(), static_cast<int>(name.size()),
                                                             wide.data(), static_cast<int>(wide.size())));
        wide[length] = L'\0';
        table.Add(wide.c_str(), -1);
    }
    return OrderOf(table);
}

std::vector<std::size_t> SiblingOrder(const std::vector<std::wstring>& names) {
    KeyTable table;
    table.ends_.reserve(names.size());
    for (const std::wstring& name : names) table.Add(name.c_str(), -1);
    return OrderOf(table);
}

}  // namespace frame
