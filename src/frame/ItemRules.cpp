#include "frame/ItemRules.h"

#include "model/AsciiCase.h"
#include "model/SizeText.h"

namespace frame {
namespace {

constexpr std::size_t kListedItems = 10;

// Appended piece by piece: GCC 12 takes "'" + std::string(...) for an overlapping copy.
std::string Quoted(std::string_view path) {
    std::string quoted;
    quoted.reserve(path.size() + 2);
    quoted += '\'';
    quoted += path;
    quoted += '\'';
    return quoted;
}

std::string Counted(std::uint64_t count, const char* one, const char* many) {
    return model::FormatCount(count) + " " + (count == 1 ? one : many);
}

bool IsFolderPath(std::string_view path) noexcept { return !path.empty() && path.back() == '\\'; }

// "is no longer there" and its kin, with the offer of a rescan when the item's folder is there to scan.
ItemCheck NotAsInTheTree(ItemVerdict verdict, const ItemFacts& facts) {
    ItemCheck check{verdict, Quoted(facts.path), std::nullopt};
    const bool folder = IsFolderPath(facts.path);
    if (verdict == ItemVerdict::kMissing)
        check.message += facts.fromDataFile ? " is not on this computer." : " is no longer there.";
    else
        check.message += folder ? " is no longer a folder." : " is a folder now.";
    const std::string holder = FolderOfPath(facts.path);
    if (!holder.empty() && facts.folderOnDisk == PathKind::kFolder) {
        check.message += " Rescan " + Quoted(holder) + "?";
        check.rescanFolder = holder;
    }
    return check;
}

}  // namespace

bool IsDriveRootPath(std::string_view path) noexcept {
    if (path.size() == 3 && path[1] == ':' && path[2] == '\\')
        return (path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z');
    // \\server\share\ : two names after the leading pair of backslashes, the path ending after the second.
    if (path.size() < 6 || path.substr(0, 2) != "\\\\" || path.back() != '\\') return false;
    const std::string_view rest = path.substr(2, path.size() - 3);
    const std::size_t between = rest.find('\\');
    return between != std::string_view::npos && between > 0 && between + 1 < rest.size() &&
           rest.find('\\', between + 1) == std::string_view::npos;
}

bool DeleteOffered(std::string_view path, std::string_view rootName, bool scanRunning) noexcept {
    if (scanRunning || path.empty() || IsDriveRootPath(path)) return false;
    const bool isRoot = path.size() == rootName.size() + 1 && path.back() == '\\' &&
                        model::EqualIgnoringAsciiCase(path.substr(0, rootName.size()), rootName);
    return !isRoot;
}

ItemCheck CheckItem(ItemAction action, const ItemFacts& facts) {
    if (action == ItemAction::kDelete) {
        if (facts.scanRunning) return {ItemVerdict::kScanRunning, "Nothing can be deleted while a scan runs.", {}};
        if (IsDriveRootPath(facts.path) || facts.volumeRoot)
            return {ItemVerdict::kDriveRoot,
                    Quoted(facts.path) + " is the root of a drive: Kelvaran does not delete it.",
                    {}};
        if (!DeleteOffered(facts.path, facts.rootName, false))
            return {ItemVerdict::kScanRoot,
                    Quoted(facts.path) + " is the root of the scanned tree: Kelvaran does not delete it.",
                    {}};
    }
    if (facts.fromDataFile && facts.rootOnDisk != PathKind::kFolder)
        return {ItemVerdict::kForeignTree,
                Quoted(facts.path) + " belongs to a tree read from a data file, and its root " +
                    Quoted(facts.rootName + "\\") + " is not on this computer.",
                {}};
    if (facts.itemOnDisk == PathKind::kMissing) return NotAsInTheTree(ItemVerdict::kMissing, facts);
    if ((facts.itemOnDisk == PathKind::kFolder) != IsFolderPath(facts.path))
        return NotAsInTheTree(ItemVerdict::kChanged, facts);
    return {};
}

std::string FolderOfPath(std::string_view itemPath) {
    std::string_view path = itemPath;
    if (IsFolderPath(path)) path.remove_suffix(1);
    const std::size_t backslash = path.rfind('\\');
    return backslash == std::string_view::npos ? std::string() : std::string(path.substr(0, backslash + 1));
}

std::vector<std::string> OutermostItems(const std::vector<std::string>& paths) {
    auto same = [](std::string_view a, std::string_view b) {
        return a.size() == b.size() && model::EqualIgnoringAsciiCase(a, b);
    };
    auto within = [](std::string_view item, std::string_view folder) {
        return IsFolderPath(folder) && item.size() > folder.size() &&
               model::EqualIgnoringAsciiCase(item.substr(0, folder.size()), folder);
    };
    std::vector<std::string> kept;
    for (std::size_t i = 0; i < paths.size(); ++i) {
        bool covered = paths[i].empty();
        for (std::size_t j = 0; j < paths.size() && !covered; ++j)
            covered = j != i && (within(paths[i], paths[j]) || (j < i && same(paths[i], paths[j])));
        if (!covered) kept.push_back(paths[i]);
    }
    return kept;
}

Confirmation DeleteConfirmation(const std::vector<DeleteTarget>& targets, bool permanent) {
    Confirmation ask;
    ask.caption = permanent ? "Delete Permanently" : "Delete";
    ask.defaultNo = permanent;
    if (targets.empty()) return ask;
    std::uint64_t size = 0, files = 0, folders = 0;
    for (const DeleteTarget& target : targets) {
        size += target.size;
        files += target.files;
        folders += target.folders + (targets.size() > 1 && target.folder ? 1 : 0);
    }
    const bool one = targets.size() == 1;
    const std::string what =
        one ? Quoted(targets.front().path) : "these " + model::FormatCount(targets.size()) + " items";
    ask.text = permanent ? "Delete " + what + " permanently? " : "Move " + what + " to the Recycle Bin? ";
    ask.text += model::FormatSize(size);
    if (!one || targets.front().folder)
        ask.text += " in " + Counted(files, "file", "files") + " and " + Counted(folders, "folder", "folders");
    ask.text += ".";
    if (permanent) ask.text += " This cannot be undone.";
    if (!one) {
        ask.text += "\n";
        for (std::size_t i = 0; i < targets.size() && i < kListedItems; ++i) ask.text += "\n" + targets[i].path;
        if (targets.size() > kListedItems)
            ask.text += "\nand " + model::FormatCount(targets.size() - kListedItems) + " more";
    }
    return ask;
}

AfterDelete DecideAfterDelete(bool wasFolder, bool wasLink, PathKind now) noexcept {
    // A link that stayed is whole, and a rescan of it would walk what it points to.
    if (wasLink && now != PathKind::kMissing && (now == PathKind::kFolder) == wasFolder)
        return AfterDelete::kKeepRecord;
    switch (now) {
    case PathKind::kMissing: return AfterDelete::kRemoveRecord;
    case PathKind::kFolder: return wasFolder ? AfterDelete::kRescanItem : AfterDelete::kRescanFolder;
    case PathKind::kFile: return wasFolder ? AfterDelete::kRescanFolder : AfterDelete::kKeepRecord;
    }
    return AfterDelete::kRescanFolder;
}

std::string FailureReport(const std::vector<RemovalFailure>& failures, std::size_t more) {
    std::string text = "These could not be removed:\n";
    for (const RemovalFailure& failure : failures) text += "\n" + failure.path + ": " + failure.error;
    if (more) text += "\nand " + model::FormatCount(more) + " more.";
    return text;
}

}  // namespace frame
