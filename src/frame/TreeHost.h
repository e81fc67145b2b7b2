// What the folder tree (TTreeStruct) needs from the main view, kept narrow so the tree never sees a frame
// class. The signatures of the facts match those the pie view asks for, so one implementation serves both.
#pragma once

#include "model/DirInfo.h"

#include <string>
#include <vector>

namespace frame {

class TreeHost {
public:
    virtual ~TreeHost() = default;

    // The live tree. The tree window keeps pointers to its folders until it is told that records went
    // (TreeReplaced) or rebuilt; the host tells it whenever it replaces the tree or a folder's contents.
    virtual const model::DirInfo* RootFolder() const = 0;
    virtual std::string CurrentPath() const = 0;  // full path of the current folder, ending in a backslash
    virtual bool DialogLook() const = 0;
    // Navigates to the folder named by `names`, the root's name first; the path is each name followed by a
    // backslash. The tree is not asked to select it again.
    virtual void NavigateByNames(const std::vector<std::string>& names) = 0;
};

}  // namespace frame
