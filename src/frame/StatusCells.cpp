#include "frame/StatusCells.h"

#include "model/SizeText.h"

namespace frame {
namespace {

std::string AllocText(std::uint64_t allocated, std::uint32_t clusterSize) {
    return clusterSize == 0 ? "n/a" : model::FormatSize(allocated);
}

}  // namespace

StatusCells FolderCells(StatusRow row, const std::string& name, const model::DirInfo& folder,
                        std::uint32_t clusterSize) {
    const bool deep = row == StatusRow::Deep;
    const std::uint64_t dirs = deep ? folder.deepDirs : folder.subdirs.size();
    const std::uint64_t files = deep ? folder.deepFiles : folder.files.size();
    const std::uint64_t size = deep ? folder.deepSize : folder.localSize;
    const std::uint64_t alloc = deep ? folder.deepAlloc : folder.localAlloc;
    return {model::FormatCount(dirs),
            model::FormatCount(files),
            model::FormatSize(size),
            AllocText(alloc, clusterSize),
            AllocText(alloc - size, clusterSize),
            name};
}

StatusCells FileCells(StatusRow row, const std::string& name, const model::FileInfo& file, std::uint32_t clusterSize) {
    if (row == StatusRow::Deep) return {"", "", "", "", "", name};
    const std::uint64_t alloc = model::AllocatedSize(file.size, clusterSize);
    const std::uint64_t waste = alloc - file.size;
    return {"", "", model::FormatSize(file.size), AllocText(alloc, clusterSize), AllocText(waste, clusterSize), name};
}

const StatusCells& HeaderCells() {
    static const StatusCells cells = {"Dirs", "Files", "Size", "Alloc", "Waste", "Base/Rel Name"};
    return cells;
}

std::string NameWithChange(const std::string& name, compare::SizeChange change, bool isNew) {
    std::string text = name;
    if (!text.empty()) text += "  ";
    text += isNew ? "(new, " : "(";
    text += compare::FormatChange(change);
    text += ')';
    return text;
}

std::string StatusMarksValueName(int barNumber) { return "SBar" + std::to_string(barNumber) + "Flags"; }

StatusMarks MarksFromFlags(int flags) {
    StatusMarks marks{};
    for (int i = 0; i < kStatusCellCount; ++i) marks[static_cast<std::size_t>(i)] = (flags & (1 << i)) != 0;
    return marks;
}

int FlagsFromMarks(const StatusMarks& marks) {
    int flags = 0;
    for (int i = 0; i < kStatusCellCount; ++i)
        if (marks[static_cast<std::size_t>(i)]) flags |= 1 << i;
    return flags;
}

StatusMarks ReadStatusMarks(const config::SettingsStore& store, int barNumber) {
    return MarksFromFlags(store.ReadInt(StatusMarksValueName(barNumber), 0));
}

void WriteStatusMarks(config::SettingsStore& store, int barNumber, const StatusMarks& marks) {
    store.WriteInt(StatusMarksValueName(barNumber), FlagsFromMarks(marks));
}

}  // namespace frame
