#include "frame/Navigation.h"

#include <utility>

namespace frame {

std::optional<std::string> ParentFolder(std::string_view rootName, std::string_view current) {
    if (rootName.size() + 1 >= current.size()) return std::nullopt;
    std::string_view folder = current.substr(0, current.size() - 1);
    return std::string(folder.substr(0, folder.rfind('\\') + 1));
}

std::string PathFromNames(const std::vector<std::string>& names) {
    std::string path;
    for (const std::string& name : names) (path += name) += '\\';
    return path;
}

bool ModeAvailable(int mode, std::uint32_t clusterSize) noexcept {
    return mode == model::kLogicalSize ||
           ((mode == model::kPhysicalSize || mode == model::kWastedSpace) && clusterSize != 0);
}

ModeChoice ChooseModeEntry(int entry, std::uint32_t clusterSize) noexcept {
    if (entry < 0 || entry > 2 || !ModeAvailable(entry, clusterSize)) return {std::nullopt, 0};
    return {entry, entry};
}

ExplorerCommand MakeExplorerCommand(std::string_view windowsFolder, std::string_view folder, ExplorerKind kind) {
    if (!windowsFolder.empty() && windowsFolder.back() == '\\') windowsFolder.remove_suffix(1);
    if (!folder.empty() && folder.back() == '\\') folder.remove_suffix(1);
    ExplorerCommand command{std::string(windowsFolder), " "};
    command.program += "\\Explorer.exe";
    command.commandLine += kind == ExplorerKind::kExplore ? "/e," : kind == ExplorerKind::kRooted ? "/e,/root," : "";
    ((command.commandLine += '"') += folder) += '"';
    return command;
}

std::optional<std::string> MissingFolderMessage(std::string_view folder, PathKind kind) {
    if (kind == PathKind::kFolder) return std::nullopt;
    // "srv01:\srv\data", but a root such as "D:\" or "srv01:\" keeps its backslash.
    if (folder.size() > 1 && folder.back() == '\\' && folder[folder.size() - 2] != ':') folder.remove_suffix(1);
    return "The folder " + std::string(folder) + " does not exist on this computer.";
}

void AdoptScannedTree(model::DirInfo& root, model::DirInfo&& scanned, std::uint32_t clusterSize) {
    root = std::move(scanned);
    model::RecomputeTotals(root, clusterSize);
}

bool ReplaceFolderContents(model::DirInfo& root, std::string_view relativePath, model::DirInfo&& scanned,
                           std::uint32_t clusterSize) {
    model::DirInfo* folder = model::FindDir(root, relativePath);
    if (!folder) return false;
    // The folder's place among its siblings (name and stored order key) is its parent's business.
    const std::string name(folder->name);
    const std::int32_t sortKey = folder->sortKey;
    *folder = std::move(scanned);
    folder->name = name;
    folder->sortKey = sortKey;
    model::RecomputeTotals(root, clusterSize);
    return true;
}

}  // namespace frame
