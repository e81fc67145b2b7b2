// Visiting every file of a tree in no particular order, without recursion: a tree may be thousands of
// folders deep. The stack holds the folders still to open, never a path.
#pragma once

#include "model/DirInfo.h"

#include <vector>

namespace info {

template <class OnFile>
void ForEachFile(const model::DirInfo& root, OnFile&& onFile) {
    std::vector<const model::DirInfo*> pending{&root};
    while (!pending.empty()) {
        const model::DirInfo* dir = pending.back();
        pending.pop_back();
        for (const model::FileInfo& file : dir->files) onFile(file);
        for (const model::DirInfo& sub : dir->subdirs) pending.push_back(&sub);
    }
}

}  // namespace info
