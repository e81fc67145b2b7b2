// The main view's navigation decisions, apart from the windows that act on them: which folder is the
// parent, how the folder tree's names become a path, which size mode a choice may take, what the system
// file view is started with, whether a folder can be rescanned, and how a scan's tree replaces the old
// one. TDiskView calls these and moves the pixels.
#pragma once

#include "frame/CommandLine.h"
#include "model/DirInfo.h"
#include "pie/PieHost.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace frame {

// The parent of the current folder (both ending in a backslash), or nothing at the root.
std::optional<std::string> ParentFolder(std::string_view rootName, std::string_view current);

// The folder tree's names from the root down, each followed by a backslash.
std::string PathFromNames(const std::vector<std::string>& names);

// Physical size and wasted space need a known cluster size; logical size is always there.
bool ModeAvailable(int mode, std::uint32_t clusterSize) noexcept;

// A choice in the mode box (entry 0..2): the mode it sets, or nothing when that mode is unavailable, in
// which case the box goes back to entry 0.
struct ModeChoice {
    std::optional<int> mode;
    int boxEntry = 0;
};
ModeChoice ChooseModeEntry(int entry, std::uint32_t clusterSize) noexcept;

using ExplorerKind = pie::ExplorerKind;

// The system file view's program and command line for a folder: windowsFolder (with or without its
// trailing backslash) + "\Explorer.exe", and " ", the kind's switch, the path without its trailing
// backslash in double quotes (the view splits its command line at commas, which names may hold).
struct ExplorerCommand {
    std::string program;
    std::string commandLine;
};
ExplorerCommand MakeExplorerCommand(std::string_view windowsFolder, std::string_view folder, ExplorerKind kind);

// What is said instead of rescanning `folder` (ending in a backslash) when it is no folder on this
// computer, as for a tree imported from another one, whose live tree must stay: nothing when it is one.
std::optional<std::string> MissingFolderMessage(std::string_view folder, PathKind kind);

// A completed scan of the whole root: its tree replaces the old one, totals recomputed for the new cluster
// size.
void AdoptScannedTree(model::DirInfo& root, model::DirInfo&& scanned, std::uint32_t clusterSize);

// A completed rescan of one folder (its path relative to the root, "" for the root itself): the folder
// keeps its name and sort key and takes the scanned subfolders, files and totals; then all totals are recomputed.
// False, with nothing changed, when the folder is no longer in the tree.
bool ReplaceFolderContents(model::DirInfo& root, std::string_view relativePath, model::DirInfo&& scanned,
                           std::uint32_t clusterSize);

}  // namespace frame
