// What the file types dialog shows, as plain values: one row per type of the scope (its colour rank in
// the pie, its bytes, allocated bytes and files), how a click on a column header sorts them, the texts of
// the cells, the scope line above the list and the text that Copy puts on the clipboard. Portable;
// TFileTypesDlg shows it.
//
//   TypeList list = MakeTypeList(walk.TakeTable(), colours);   // sorted by bytes, largest first
//   SortTypeList(list, sort = NextSort(sort, clickedColumn));   // list.Row(0).type, list.Size()
//   list_.SetTextSource([&](int row, int column) { return TypeCellText(list, row, column); });
#pragma once

#include "model/FileTypes.h"
#include "pie/TypeColours.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace info {

enum TypeColumn : int {
    kSwatchColumn = 0,  // the type's colour in the pie
    kTypeColumn,
    kBytesColumn,
    kAllocatedColumn,
    kShareColumn,
    kFilesColumn,
    kTypeColumnCount
};
const char* TypeColumnTitle(int column) noexcept;  // "" for the swatch and outside the columns
bool IsRightAligned(int column) noexcept;

struct TypeListRow {
    std::string_view type;  // lower-cased extension, "" for none; the list's own text
    model::TypeTotals totals;
    int colourRank = -1;  // 0..11 in the pie's colours, -1 for the neutral colour
};

struct TypeSort {
    int column = kBytesColumn;
    bool ascending = false;
    friend bool operator==(const TypeSort&, const TypeSort&) = default;
};

// The rows of a scope's types in the order shown. It keeps the counted table, whose texts the rows show, and
// one number per row: a scope of millions of types costs little more than its table. Moved, not copied.
class TypeList {
public:
    TypeList() = default;
    TypeList(model::TypeTable table, const pie::TypeColours& colours, TypeSort sort);
    TypeList(TypeList&&) noexcept = default;
    TypeList& operator=(TypeList&&) noexcept = default;
    TypeList(const TypeList&) = delete;
    TypeList& operator=(const TypeList&) = delete;

    std::size_t Size() const noexcept { return order_.size(); }
    // row < Size().
    TypeListRow Row(std::size_t row) const noexcept;
    const model::TypeTotals& Total() const noexcept { return table_.Total(); }  // the scope's files
    std::uint32_t ClusterSize() const noexcept { return table_.ClusterSize(); }
    // Rows of equal keys stay in the order of their types' texts, whichever way the column runs.
    void Sort(TypeSort sort);
    // The row of a (lower-cased) type, -1 when the scope has none.
    int RowOf(std::string_view type) const noexcept;

private:
    int RankOf(std::uint32_t index) const noexcept;

    model::TypeTable table_;
    std::vector<std::uint32_t> order_;     // the table's number of the type shown in each row
    std::vector<std::uint32_t> coloured_;  // the numbers of the types the pie colours, by colour rank
};

// The sort after a click on `clicked`'s header: the same column turns round; another column starts in its
// natural order (the type by its text A to Z, the swatch in the pie's order, numbers largest first).
TypeSort NextSort(TypeSort current, int clicked) noexcept;

// Sorted by bytes, largest first, unless told otherwise.
TypeList MakeTypeList(model::TypeTable table, const pie::TypeColours& colours, TypeSort sort = {});
inline void SortTypeList(TypeList& list, TypeSort sort) { list.Sort(sort); }
inline int RowOfType(const TypeList& list, std::string_view type) noexcept { return list.RowOf(type); }

// The list's cell texts: counts with group commas, the share of the scope's bytes with one decimal,
// "n/a" for allocated bytes while the cluster size is unknown.
std::string TypeCellText(const TypeList& list, std::size_t row, int column);
// Copy: a header line, then one line per row in the order given, cells separated by tabs, lines ending in
// CR LF; numbers without group commas so that other programs read them as numbers.
std::string TypeListText(const TypeList& list, const std::vector<std::size_t>& rows);

// The line above the list: what the scope is and what it holds, or how far counting has come.
std::string ScopeText(std::string_view folder, bool recurse, const TypeList* done, std::uint64_t filesDone,
                      std::uint64_t filesInScope);

}  // namespace info
