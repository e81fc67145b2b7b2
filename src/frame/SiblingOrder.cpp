#include "frame/SiblingOrder.h"

#include <windows.h>

#include <algorithm>
#include <numeric>

namespace frame {

std::string SiblingSortKey(const std::wstring& text) {
    // The control compares with lstrcmpW, that is CompareStringW of the user's locale without flags; sort
    // keys of the same locale and flags order exactly as that compare does, and cost one call per name
    // instead of one per comparison.
    char buffer[512];
    int length = LCMapStringW(LOCALE_USER_DEFAULT, LCMAP_SORTKEY, text.c_str(), -1, reinterpret_cast<LPWSTR>(buffer),
                              static_cast<int>(sizeof buffer));
    if (length > 0) return std::string(buffer, static_cast<std::size_t>(length));
    length = LCMapStringW(LOCALE_USER_DEFAULT, LCMAP_SORTKEY, text.c_str(), -1, nullptr, 0);
    if (length <= 0) return {};
    std::string key(static_cast<std::size_t>(length), '\0');
    LCMapStringW(LOCALE_USER_DEFAULT, LCMAP_SORTKEY, text.c_str(), -1, reinterpret_cast<LPWSTR>(key.data()), length);
    return key;
}

std::vector<std::size_t> SiblingOrder(const std::vector<std::wstring>& names) {
    std::vector<std::string> keys;
    keys.reserve(names.size());
    for (const std::wstring& name : names) keys.push_back(SiblingSortKey(name));
    std::vector<std::size_t> order(names.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::stable_sort(order.begin(), order.end(), [&keys](std::size_t a, std::size_t b) { return keys[a] < keys[b]; });
    // The control puts an item equal to earlier ones right after the first of them, so a run of equal
    // names shows its first member and then the others in reverse.
    for (auto run = order.begin(); run != order.end();) {
        auto end = std::find_if(run, order.end(), [&](std::size_t i) { return keys[i] != keys[*run]; });
        if (end - run > 2) std::reverse(run + 1, end);
        run = end;
    }
    return order;
}

}  // namespace frame
