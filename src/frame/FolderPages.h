// Which of a folder's subfolders the folder tree shows as items. A folder with more subfolders than one
// page shows them in pages of the sibling order: the first page, then one "more" item standing for the
// hidden rest ("... 999,000 more folders"). Choosing that item reveals the next page in its place; revealing
// a folder further down (the tree selects the current folder) reveals the page that holds it, and the
// hidden stretches before and after it keep "more" items of their own. So a folder of a million subfolders
// costs the tree one page of items, not a million.
//
//   std::vector<PageRow> rows = FirstRows(total);             // what a folder shows when first filled
//   rows = RevealRows(moreRow, position);                     // replaces one "more" row: its page shown
//   MoreFoldersText(row.count);                               // the text of a "more" item
//
// Positions are indexes into the sibling order (the order the tree shows siblings in), not into the stored
// order. Pages start at multiples of the page size.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace frame {

inline constexpr std::size_t kFolderPageSize = 1000;

// One stretch of a folder's rows: `count` folders from position `first` of the sibling order, shown as
// items, or hidden behind one "more" item.
struct PageRow {
    bool more = false;
    std::size_t first = 0;
    std::size_t count = 0;

    std::size_t End() const noexcept { return first + count; }
    bool operator==(const PageRow&) const = default;
};

// The rows of a folder of `total` subfolders before anything was revealed: the first page and a "more" row
// for the rest; no rows for none.
std::vector<PageRow> FirstRows(std::size_t total, std::size_t pageSize = kFolderPageSize);

// The rows that replace the "more" row `hidden` so that the page holding `position` is shown: the hidden
// stretch before that page, the page (as far as `hidden` reaches), the hidden stretch after it; empty
// stretches are left out. A position outside `hidden` reveals its first page.
std::vector<PageRow> RevealRows(const PageRow& hidden, std::size_t position, std::size_t pageSize = kFolderPageSize);

// "... 1 more folder", "... 999,000 more folders".
std::string MoreFoldersText(std::size_t count);

}  // namespace frame
