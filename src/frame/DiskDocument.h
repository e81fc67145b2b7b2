// The live tree of the main window and everything kept beside it: the root record, the cluster size, the
// current folder, the folder history and the recent roots, with the operations that change them. Portable:
// TDiskView owns one for the whole run, routes the commands to it and moves the pixels; the views borrow
// records of Root() and are told through model::DocumentObserver when those go.
//
//   DiskDocument document("C:", CM_RECENT_ROOT_FIRST, &OpenUserSettings);   // "C:" with nothing in it
//   document.AddObserver(view);
//   document.AdoptTree(std::move(scanned), clusterSize, true);              // a scan of a new root
//   document.ReplaceFolder("C:\\Data\\", std::move(rescanned), clusterSize); // a rescan of one folder
//   document.NavigateTo("C:\\Data\\");  document.Back();  document.GoParent();
//
// Every change of the tree ends with right totals: a whole recomputation after a new tree, a rescan or a
// new cluster size; an edit along one path for the removal of an item (model/TreeEdit.h). Observers are
// told after the change, once the current folder and the history are the new ones too.
#pragma once

#include "compare/TreeComparison.h"
#include "frame/History.h"
#include "frame/MRUPaths.h"
#include "model/DirInfo.h"
#include "model/DocumentObserver.h"
#include "model/TreeEdit.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace frame {

// An item seen against the earlier scan: everything below it and only what lies directly in it (for a
// file both are its own size).
struct ItemChange {
    compare::SizeChange deep;
    compare::SizeChange local;
    bool isNew = false;
    friend bool operator==(const ItemChange&, const ItemChange&) = default;
};

class DiskDocument {
public:
    // Reads a data file into `tree` and `clusterSize`; false, with both as they were, when it could not (the
    // reader has told the user why).
    using DataFileReader =
        std::function<bool(const std::string& path, model::DirInfo& tree, std::uint32_t& clusterSize)>;

    // A root named `rootName` with no children, cluster size 0, the root current, an empty history. The
    // recent roots (command ids from `firstRecentId`) are read through `openRecentStore` now and written
    // through it when the document goes; without one they are not kept.
    DiskDocument(std::string rootName, unsigned firstRecentId, MRUPaths::StoreFactory openRecentStore = {});
    DiskDocument(const DiskDocument&) = delete;
    DiskDocument& operator=(const DiskDocument&) = delete;

    // Observers are told in the order they were added; each must be removed before it goes.
    void AddObserver(model::DocumentObserver& observer);
    void RemoveObserver(model::DocumentObserver& observer) noexcept;

    const model::DirInfo& Root() const noexcept { return root_; }
    std::uint32_t ClusterSize() const noexcept { return clusterSize_; }
    // The full path of the current folder, ending in a backslash.
    const std::string& CurrentPath() const noexcept { return current_; }
    // The root's name with a backslash ("C:\").
    std::string RootPath() const;
    const History& GetHistory() const noexcept { return history_; }
    // True from an Import until the next tree is adopted: the tree may come from another computer, whose
    // paths name other things here or nothing at all. A rescan of one folder leaves the rest as read.
    bool FromDataFile() const noexcept { return fromDataFile_; }
    MRUPaths& Recent() noexcept { return recent_; }
    const MRUPaths& Recent() const noexcept { return recent_; }

    // ---- changes of the tree ----

    // The one way a whole new tree comes in (a scan of a root, an import): it replaces the old one, its
    // totals recomputed for `clusterSize`; the root becomes the current folder, and the history starts over
    // there when asked (else it keeps folders the new tree may not have). Tells TreeReplaced.
    void AdoptTree(model::DirInfo&& tree, std::uint32_t clusterSize, bool resetHistory);
    // Reads a data file aside with `read` and adopts its tree, history reset, only when the read succeeded:
    // a file that is no data file leaves everything as it was. True when the tree was adopted.
    bool Import(const std::string& path, const DataFileReader& read);
    // A completed rescan of the folder `folderPath` (a full path ending in a backslash): the folder keeps its
    // name and sort key (its place among its siblings) and takes the scanned subfolders and files; every
    // total is recomputed for `clusterSize`. The current folder and the history stay, even when the current
    // folder went. False, with nothing changed, when the folder is not in the tree. Tells FolderReplaced.
    bool ReplaceFolder(const std::string& folderPath, model::DirInfo&& scanned, std::uint32_t clusterSize);
    // A new cluster size for the tree as it is, every total recomputed. No record moves: nobody is told.
    void SetClusterSize(std::uint32_t clusterSize);
    // The size kind (0..2) a view may show now: physical and wasted sizes need a known cluster size, so
    // they fall back to logical while it is 0; anything else is logical too.
    model::SizeKind AllowedMode(model::SizeKind mode) const noexcept;
    // Takes the file or folder `itemPath` (a full path; a folder's ends in a backslash) out of the tree and
    // its sizes and counts off every folder above it. When it was the current folder or held it, its folder
    // becomes the current one (a step in the history); history entries inside it stay, as after a rescan
    // that removed them. False, with nothing changed, for the root or a path that names nothing. Tells
    // ItemRemoved.
    bool RemoveItem(const std::string& itemPath);
    // Adds `delta` to the folder `folderPath` (a full path ending in a backslash) and to every folder above
    // it (model::AddToTotals). No record moves: nobody is told. False when there is no such folder.
    bool AddToTotals(const std::string& folderPath, const model::TotalsDelta& delta, bool local);

    // ---- comparison with an earlier scan ----

    // Matches the tree with `earlier` (a tree read aside from a data file, of any root name) and keeps the
    // comparison beside the tree, replacing any earlier one, until EndComparison. A new tree (a scan, an
    // import) or a folder rescan ends it before observers hear of the change; taking an item out matches
    // again. The tree's own records never change. Tells ComparisonChanged.
    void StartComparison(model::DirInfo&& earlier, std::uint32_t earlierClusterSize);
    // Tells ComparisonChanged when there was one.
    void EndComparison();
    // The comparison of the tree as it is now; null when there is none. Valid until the next change.
    const compare::TreeComparison* Comparison() const noexcept { return comparison_.get(); }
    // How the item at `itemPath` (a full path, a folder's ending in a backslash) changed since the earlier
    // scan, in logical bytes as the status rows count: nothing without a comparison or such an item.
    std::optional<ItemChange> ChangeOf(std::string_view itemPath) const;

    // ---- navigation ----

    // The current folder becomes `path` (a full path ending in a backslash), a step in the history.
    void NavigateTo(const std::string& path);
    // Steps through the history; false, with nothing changed, when there is nowhere to go.
    bool Back();
    bool Forward();
    // The current folder's parent, or nothing at the root.
    std::optional<std::string> ParentPath() const;
    // NavigateTo the parent; false at the root.
    bool GoParent();
    // The root becomes the current folder; the history is not told.
    void ShowRoot();

private:
    // The path below the root, or nothing when `fullPath` does not start with the root's name and a backslash.
    std::optional<std::string_view> RelativeOf(std::string_view fullPath) const;
    template <class Event>
    void Tell(Event event);
    void Adopt(model::DirInfo&& tree, std::uint32_t clusterSize, bool resetHistory, bool fromDataFile);

    model::DirInfo root_;
    std::uint32_t clusterSize_ = 0;
    bool fromDataFile_ = false;
    std::string current_;
    History history_;
    MRUPaths recent_;
    std::vector<model::DocumentObserver*> observers_;
    std::unique_ptr<compare::TreeComparison> comparison_;
};

}  // namespace frame
