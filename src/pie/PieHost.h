// What the pie view needs from the main frame, kept narrow so the pie never sees a frame class. The frame
// implements it; tests drive the view through a host of their own that records the calls.
#pragma once

#include <cstdint>
#include <string>

#include "compare/TreeComparison.h"
#include "model/DirInfo.h"

namespace pie {

// How the system file view is started on a folder: plainly, as an explorer, or as an explorer rooted there.
enum class ExplorerKind { kOpen, kExplore, kRooted };

class PieHost {
public:
    virtual ~PieHost() = default;

    virtual const model::DirInfo* RootFolder() const = 0;
    virtual std::string CurrentPath() const = 0;  // full path of the current folder, ending in a backslash
    virtual std::uint32_t ClusterSize() const = 0;
    virtual bool DialogLook() const = 0;
    // The comparison of the tree with an earlier scan, while there is one; the pie reads it only while it
    // renders or answers the mouse.
    virtual const compare::TreeComparison* Comparison() const { return nullptr; }

    // Makes a folder current (history, pie, folder tree); true when the pie accepted it. The pie passes
    // fromTree false.
    virtual bool NavigateTo(const std::string& path, bool fromTree) = 0;
    // Runs a menu command as if the user had chosen it (the pie uses 11849 Parent and 11851 Rescan All).
    virtual void ExecuteCommand(int command) = 0;
    // Starts the system file view on a folder path (with its trailing backslash).
    virtual void Explore(const std::string& path, ExplorerKind kind) = 0;
    // The folder-rescan entry point of the pie's context menu, with the clicked folder's path.
    virtual void RescanFolder(const std::string& path) = 0;
    // Puts a UTF-8 text on the clipboard.
    virtual void CopyToClipboard(const std::string& text) = 0;
    // A command of the item menu (open, properties, delete, delete permanently, copy path) on the file or
    // folder under the mouse: its full path, a folder's ending in a backslash.
    virtual void ActOnItem(int command, const std::string& path) = 0;
    // The focused segment moved, or the view gained or lost the keyboard focus: what the commands on items
    // act on may have changed.
    virtual void PieFocusChanged() {}

    // Status-bar figures of a folder or a file: the current folder's path for the deep row, the item's path
    // relative to it for the shallow row ("" for the current folder itself).
    virtual void ShowFolderStatus(const std::string& currentPath, const std::string& relativePath,
                                  const model::DirInfo& folder) = 0;
    virtual void ShowFileStatus(const std::string& currentPath, const std::string& relativePath,
                                const model::FileInfo& file) = 0;
};

}  // namespace pie
