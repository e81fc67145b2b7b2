// The order in which the folder tree shows sibling folders: the order the tree-view control itself gives
// items inserted one by one in sorted position (the system's locale compare of the texts, letter case
// deciding only between otherwise equal names; an item equal to an earlier one goes right after the
// first of them). Computed here in one sort instead of by the control's walk over the siblings per item.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace frame {

// The sort key of a UTF-16 text under the user's locale: keys compare bytewise as the texts compare.
std::string SiblingSortKey(const std::wstring& text);

// Indexes of `names` (UTF-16) in the order the control would show them when inserted in this order.
std::vector<std::size_t> SiblingOrder(const std::vector<std::wstring>& names);

}  // namespace frame
