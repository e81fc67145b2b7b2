#include "info/FileTypeList.h"

#include "model/SizeText.h"

#include <algorithm>
#include <tuple>

namespace info {

const char* TypeColumnTitle(int column) noexcept {
    static const char* const titles[kTypeColumnCount] = {"", "Type", "Bytes", "Allocated", "Share", "Files"};
    return column >= 0 && column < kTypeColumnCount ? titles[column] : "";
}

bool IsRightAligned(int column) noexcept { return column >= kBytesColumn && column < kTypeColumnCount; }

TypeSort NextSort(TypeSort current, int clicked) noexcept {
    if (clicked < 0 || clicked >= kTypeColumnCount) return current;
    if (clicked == current.column) return {clicked, !current.ascending};
    return {clicked, clicked == kTypeColumn || clicked == kSwatchColumn};
}

TypeList MakeTypeList(const model::TypeTable& table, const pie::TypeColours& colours) {
    TypeList list;
    list.total = table.Total();
    list.clusterSize = table.ClusterSize();
    list.rows.reserve(table.TypeCount());
    for (const model::FileType& type : table.Types())
        list.rows.push_back({std::string(type.type), type.totals, colours.RankOf(type.type)});
    SortTypeList(list, {});
    return list;
}

void SortTypeList(TypeList& list, TypeSort sort) {
    // The swatch runs in the pie's order: ranks 0..11, then the neutral colour.
    const auto rank = [](const TypeListRow& row) {
        return row.colourRank < 0 ? pie::kTypeColourCount : row.colourRank;
    };
    const auto key = [&](const TypeListRow& row) -> std::uint64_t {
        switch (sort.column) {
        case kSwatchColumn: return static_cast<std::uint64_t>(rank(row));
        case kAllocatedColumn: return row.totals.allocated;
        case kFilesColumn: return row.totals.files;
        default: return row.totals.bytes;  // bytes, and the share of them
        }
    };
    std::sort(list.rows.begin(), list.rows.end(), [&](const TypeListRow& a, const TypeListRow& b) {
        if (sort.column != kTypeColumn) {
            const std::uint64_t ka = key(a), kb = key(b);
            if (ka != kb) return sort.ascending ? ka < kb : ka > kb;
            return a.type < b.type;
        }
        return sort.ascending ? a.type < b.type : a.type > b.type;
    });
}

int RowOfType(const TypeList& list, std::string_view type) noexcept {
    for (std::size_t row = 0; row < list.rows.size(); ++row)
        if (list.rows[row].type == type) return static_cast<int>(row);
    return -1;
}

namespace {
std::string CellText(const TypeList& list, const TypeListRow& row, int column, bool commas) {
    const auto number = [commas](std::uint64_t value) {
        return commas ? model::FormatCount(value) : std::to_string(value);
    };
    switch (column) {
    case kTypeColumn: return model::TypeDisplayName(row.type);
    case kBytesColumn: return number(row.totals.bytes);
    case kAllocatedColumn: return list.clusterSize == 0 ? std::string("n/a") : number(row.totals.allocated);
    case kShareColumn: return model::ShareText(row.totals.bytes, list.total.bytes);
    case kFilesColumn: return number(row.totals.files);
    default: return {};
    }
}
}  // namespace

std::string TypeCellText(const TypeList& list, std::size_t row, int column) {
    if (row >= list.rows.size()) return {};
    return CellText(list, list.rows[row], column, true);
}

std::string TypeListText(const TypeList& list, const std::vector<std::size_t>& rows) {
    std::string text;
    for (int column = kTypeColumn; column < kTypeColumnCount; ++column)
        text.append(column > kTypeColumn ? "\t" : "").append(TypeColumnTitle(column));
    text += "\r\n";
    for (std::size_t row : rows) {
        if (row >= list.rows.size()) continue;
        for (int column = kTypeColumn; column < kTypeColumnCount; ++column)
            text.append(column > kTypeColumn ? "\t" : "").append(CellText(list, list.rows[row], column, false));
        text += "\r\n";
    }
    return text;
}

std::string ScopeText(std::string_view folder, bool recurse, const TypeList* done, std::uint64_t filesDone,
                      std::uint64_t filesInScope) {
    std::string text(folder);
    text += recurse ? " and its subfolders: " : " alone: ";
    if (!done) {
        const std::uint64_t percent =
            filesInScope == 0 ? 0 : std::min<std::uint64_t>(filesDone, filesInScope) * 100 / filesInScope;
        return text + "counting the files... " + std::to_string(percent) + "%";
    }
    const std::uint64_t files = done->total.files;
    return text + model::FormatCount(files) + (files == 1 ? " file, " : " files, ") +
           model::FormatCount(done->rows.size()) + (done->rows.size() == 1 ? " type, " : " types, ") +
           model::FormatSize(done->total.bytes);
}

}  // namespace info
