// What a view that borrows records of the live tree (pointers to folders, files or names) is told when
// records go away. The document tells its observers after the change, once its own state (tree, totals,
// current folder, history) is the new one; an observer drops what it borrowed and must not read it any
// more, since it may already be freed. It may read the new tree.
//
// Every event is at least as wide as what went away, so an observer that drops everything it holds needs
// only TreeReplaced: the others default to it.
#pragma once

#include <string>

namespace model {

class DocumentObserver {
public:
    virtual ~DocumentObserver() = default;

    // The whole tree was replaced (a scan of a root, an import): nothing of the old one is left.
    virtual void TreeReplaced() = 0;
    // The contents of the folder `folderPath` (a full path ending in a backslash) were replaced: every record
    // below that folder is gone; the folder's own record and everything outside it stay where they were.
    virtual void FolderReplaced(const std::string& folderPath) {
        (void)folderPath;
        TreeReplaced();
    }
    // The file or folder `itemPath` was taken out of the folder `folderPath`. The folder's other children may
    // have moved within its lists, so, as for FolderReplaced(folderPath), every record below that folder is
    // void; the totals of the folder and its ancestors changed in place.
    virtual void ItemRemoved(const std::string& itemPath, const std::string& folderPath) {
        (void)itemPath;
        FolderReplaced(folderPath);
    }
    // A comparison with an earlier scan began or was ended on request; a change of the tree that ends one
    // is told as that change.
    virtual void ComparisonChanged() {}
    // The current folder changed (a navigation, or a new cluster size shown again): no record went, so only
    // those who show something of the current folder act on it.
    virtual void CurrentFolderChanged() {}
};

}  // namespace model
