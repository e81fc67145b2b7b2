// The commands on files and folders of the live tree, whoever sends them (the Commands menu, the tool bar
// and the keys for the folder tree's selection, the pie's menu for the item under the mouse, the statistics
// rows): "&Open", "&Properties", "&Delete" (to the Recycle Bin), "Delete &Permanently" and "Copy &Path".
// The decisions are ItemRules'; this class looks at the disk, asks, acts through the system (or the answers
// of its fw::Interaction) and brings the document up to what the disk holds afterwards.
//
//   ItemCommands items(document, ui, {[&] { return scanning; }, [&](const std::string& f) { Rescan(f); }});
//   items.Run(owner, CM_DELETE, {"C:\\Data\\Old\\"});    // nothing is deleted without the user's Yes
//
// A delete goes: every item checked (ItemRules::CheckItem; a refusal is told, a stale item offers a rescan
// of its folder, and nothing is deleted), one confirmation for all, then each item deleted and its path
// looked at: gone, its record leaves the tree and its ancestors' totals shrink in place (no rescan); a
// folder partly left is rescanned; what stayed is reported with the system's reasons.
#pragma once

#include "frame/DiskDocument.h"
#include "frame/ItemRules.h"
#include "fw/Interaction.h"

#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace frame {

class ItemCommands {
public:
    struct Host {
        std::function<bool()> scanRunning;                      // empty: never
        std::function<void(const std::string& folder)> rescan;  // a folder path ending in a backslash
    };

    ItemCommands(DiskDocument& document, fw::Interaction ui, Host host);

    // CM_OPEN_ITEM, CM_PROPERTIES, CM_DELETE, CM_DELETE_PERMANENTLY and CM_COPY_PATH.
    static bool Knows(unsigned command) noexcept;
    // Whether the Commands menu and the tool bar offer `command` for the selection `path` (none: nothing
    // selected), judged without the disk.
    bool Offered(unsigned command, const std::optional<std::string>& path) const;
    // Runs one of the commands on items of the tree (full paths; a folder's ends in a backslash), with the
    // boxes owned by `owner`.
    void Run(HWND owner, unsigned command, const std::vector<std::string>& paths);

    void Open(HWND owner, const std::vector<std::string>& paths, bool properties);
    void Delete(HWND owner, const std::vector<std::string>& paths, bool permanent);
    void CopyPaths(HWND owner, const std::vector<std::string>& paths);

private:
    bool ScanRunning() const { return host_.scanRunning && host_.scanRunning(); }
    // False after telling the user why the item may not be acted on (and maybe rescanning its folder).
    bool Allowed(HWND owner, ItemAction action, const std::string& path);

    DiskDocument& document_;
    fw::Interaction ui_;
    Host host_;
};

}  // namespace frame
