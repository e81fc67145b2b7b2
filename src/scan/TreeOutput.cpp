// Building the tree from the walk's folders (see TreeOutput.h).
#include "scan/TreeOutput.h"

#include "scan/Walk.h"

#include <utility>

namespace scan {

void TreeOutput::Folder(std::string_view, model::DirInfo& listing) {
    model::DirInfo* dir = &root_;
    if (started_) {
        Open& parent = open_.back();
        dir = &parent.dir->subdirs[parent.next++];
    }
    started_ = true;
    // The parent's list is complete, so the record stays where it is while its own lists are filled.
    dir->files = std::move(listing.files);
    dir->subdirs = std::move(listing.subdirs);
    dir->localSize = listing.localSize;
    open_.push_back({dir, 0});
    while (!open_.empty() && open_.back().next == open_.back().dir->subdirs.size()) {
        FinishTotals(*open_.back().dir);
        open_.pop_back();
    }
}

void TreeOutput::WholeTree(model::DirInfo& tree) {
    root_ = std::move(tree);
    open_.clear();
    started_ = true;
}

}  // namespace scan
