// The order in which the folder tree shows sibling folders: the order the tree-view control itself gives
// items inserted one by one in sorted position (the system's locale compare of the texts, letter case
// deciding only between otherwise equal names; an item equal to an earlier one goes right after the
// first of them). Computed here in one sort instead of by the control's walk over the siblings per item.
// A folder of a million subfolders is ordered in one pass of sort keys kept in a single buffer.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace frame {

// The sort key of a UTF-16 text under the user's locale: keys compare bytewise as the texts compare.
std::string SiblingSortKey(const std::wstring& text);

// Indexes 0..count-1 in the order the control would show the texts when inserted in index order;
// `nameOf(i)` is text i in UTF-8 (valid until the next call).
std::vector<std::size_t> SiblingOrder(std::size_t count, const std::function<std::string_view(std::size_t)>& nameOf);

// The same for texts in UTF-16.
std::vector<std::size_t> SiblingOrder(const std::vector<std::wstring>& names);

}  // namespace frame
