#include "info/FileTypeList.h"

#include "model/SizeText.h"

#include <algorithm>
#include <optional>

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

namespace {
constexpr std::uint32_t kNoType = 0xFFFFFFFFu;

// The first eight bytes of a text as a number that orders as the texts do (no name holds a zero byte).
std::uint64_t Prefix(std::string_view text) noexcept {
    std::uint64_t prefix = 0;
    for (std::size_t i = 0; i < 8; ++i)
        prefix = prefix << 8 | (i < text.size() ? static_cast<unsigned char>(text[i]) : 0u);
    return prefix;
}
}  // namespace

TypeList::TypeList(model::TypeTable table, const pie::TypeColours& colours, TypeSort sort) : table_(std::move(table)) {
    for (const std::string& type : colours.Ranked()) coloured_.push_back(table_.IndexOfType(type).value_or(kNoType));
    Sort(sort);
}

int TypeList::RankOf(std::uint32_t index) const noexcept {
    for (std::size_t rank = 0; rank < coloured_.size(); ++rank)
        if (coloured_[rank] == index) return static_cast<int>(rank);
    return -1;
}

TypeListRow TypeList::Row(std::size_t row) const noexcept {
    const std::uint32_t index = order_[row];
    const model::FileType type = table_.TypeAt(index);
    return {type.type, type.totals, RankOf(index)};
}

void TypeList::Sort(TypeSort sort) {
    // Each type's key and the start of its text side by side, so that sorting millions of types seldom
    // reads the table.
    struct Keyed {
        std::uint64_t key, prefix;
        std::uint32_t index;
    };
    const auto count = static_cast<std::uint32_t>(table_.TypeCount());
    std::vector<Keyed> keyed(count);
    for (std::uint32_t index = 0; index < count; ++index) {
        const model::FileType type = table_.TypeAt(index);
        std::uint64_t key = 0;
        switch (sort.column) {
        case kSwatchColumn: {
            // The swatch runs in the pie's order: ranks 0..11, then the neutral colour.
            const int rank = RankOf(index);
            key = static_cast<std::uint64_t>(rank < 0 ? pie::kTypeColourCount : rank);
            break;
        }
        case kTypeColumn: break;
        case kAllocatedColumn: key = type.totals.allocated; break;
        case kFilesColumn: key = type.totals.files; break;
        default: key = type.totals.bytes;  // bytes, and the share of them
        }
        keyed[index] = {key, Prefix(type.type), index};
    }
    // Equal keys go by the text A to Z, unless the text is the column and runs the other way.
    const bool textDown = sort.column == kTypeColumn && !sort.ascending;
    std::sort(keyed.begin(), keyed.end(), [&](const Keyed& a, const Keyed& b) {
        if (a.key != b.key) return sort.ascending ? a.key < b.key : a.key > b.key;
        if (a.prefix != b.prefix) return textDown ? a.prefix > b.prefix : a.prefix < b.prefix;
        const std::string_view textA = table_.TypeAt(a.index).type, textB = table_.TypeAt(b.index).type;
        return textDown ? textA > textB : textA < textB;
    });
    order_.resize(count);
    for (std::uint32_t row = 0; row < count; ++row) order_[row] = keyed[row].index;
}

int TypeList::RowOf(std::string_view type) const noexcept {
    const std::optional<std::uint32_t> index = table_.IndexOfType(type);
    if (!index) return -1;
    const auto row = std::find(order_.begin(), order_.end(), *index);
    return row == order_.end() ? -1 : static_cast<int>(row - order_.begin());
}

TypeList MakeTypeList(model::TypeTable table, const pie::TypeColours& colours, TypeSort sort) {
    return TypeList(std::move(table), colours, sort);
}

namespace {
std::string CellText(const TypeList& list, const TypeListRow& row, int column, bool commas) {
    const auto number = [commas](std::uint64_t value) {
        return commas ? model::FormatCount(value) : std::to_string(value);
    };
    switch (column) {
    case kTypeColumn: return model::TypeDisplayName(row.type);
    case kBytesColumn: return number(row.totals.bytes);
    case kAllocatedColumn: return list.ClusterSize() == 0 ? std::string("n/a") : number(row.totals.allocated);
    case kShareColumn: return model::ShareText(row.totals.bytes, list.Total().bytes);
    case kFilesColumn: return number(row.totals.files);
    default: return {};
    }
}
}  // namespace

std::string TypeCellText(const TypeList& list, std::size_t row, int column) {
    if (row >= list.Size()) return {};
    return CellText(list, list.Row(row), column, true);
}

std::string TypeListText(const TypeList& list, const std::vector<std::size_t>& rows) {
    std::string text;
    for (int column = kTypeColumn; column < kTypeColumnCount; ++column)
        text.append(column > kTypeColumn ? "\t" : "").append(TypeColumnTitle(column));
    text += "\r\n";
    for (std::size_t row : rows) {
        if (row >= list.Size()) continue;
        const TypeListRow shown = list.Row(row);
        for (int column = kTypeColumn; column < kTypeColumnCount; ++column)
            text.append(column > kTypeColumn ? "\t" : "").append(CellText(list, shown, column, false));
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
    const std::uint64_t files = done->Total().files;
    return text + model::FormatCount(files) + (files == 1 ? " file, " : " files, ") + model::FormatCount(done->Size()) +
           (done->Size() == 1 ? " type, " : " types, ") + model::FormatSize(done->Total().bytes);
}

}  // namespace info
