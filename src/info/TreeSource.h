// What the information dialogs need of the main window: its tree, its cluster size, the folder it shows,
// navigation, and the one change they make (the cluster size). The main view implements it; tests fake it.
// Dialogs hold a reference for as long as they are open; one that keeps pointers into the tree watches it
// meanwhile, so that it is told, as the main window's views are, when records go.
#pragma once

#include "compare/TreeComparison.h"
#include "model/DirInfo.h"
#include "model/DocumentObserver.h"
#include "pie/TypeColours.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace info {

class TreeSource {
public:
    virtual ~TreeSource() = default;

    // The root record (name without a trailing backslash, "C:").
    virtual const model::DirInfo& Root() const = 0;
    // 0 when unknown.
    virtual std::uint32_t ClusterSize() const = 0;
    // The comparison of the tree with an earlier scan while there is one.
    virtual const compare::TreeComparison* Comparison() const { return nullptr; }
    // The folder the main window shows, a full path ending in a backslash.
    virtual std::string CurrentPath() const = 0;
    // Shows the folder (a full path ending in a backslash); false when the views refused it.
    virtual bool NavigateTo(const std::string& path, bool fromTree) = 0;
    // Stores the cluster size and recomputes every total of the tree from the root for it.
    virtual void SetClusterSize(std::uint32_t clusterSize) = 0;
    // Size kind back to logical size, in the pie view and in the mode box.
    virtual void SetLogicalMode() = 0;
    // A command on items (open, properties, delete, delete permanently, copy path: the ids of the item
    // menu) for full paths of the tree, a folder's ending in a backslash. A delete asks first and may take
    // records away, which watchers hear of before this returns.
    virtual void ActOnItems(int command, const std::vector<std::string>& paths) = 0;
    // The colours the pie gives the file types of the tree (the file types list shows them as swatches).
    virtual const pie::TypeColours& TypeColours() = 0;
    // The pie highlights the files of `type` (lower-cased, "" for names without an extension) and fades the
    // rest; nullopt ends the highlight.
    virtual void HighlightType(std::optional<std::string> type) = 0;
    // From Watch until Unwatch the observer is told when records of the tree go and when the current folder
    // changes (a dialog registers in its set-up and leaves in its clean-up).
    virtual void Watch(model::DocumentObserver& observer) = 0;
    virtual void Unwatch(model::DocumentObserver& observer) = 0;
};

// The main window's part of "Force Cluster Size" once the dialog chose `chosen`: nothing when it equals
// the current size; otherwise the size is set (with logical mode when it became unknown) and the current
// folder is shown again from the new totals. True when something changed.
bool ApplyClusterSize(TreeSource& source, std::uint32_t chosen);

}  // namespace info
