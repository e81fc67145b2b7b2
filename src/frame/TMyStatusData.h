// A status bar that shows the totals of an item: the deep row (TMyStatusDeepData) or the shallow row
// (TMyStatusShallowData). The main view hands both bars the same item and cluster size, each with its own
// name text, and tells them when the tree changed.
#pragma once

#include "frame/TMyStatusBar.h"
#include "model/DirInfo.h"
#include "model/DocumentObserver.h"

#include <cstdint>
#include <string>

namespace frame {

class TMyStatusData : public TMyStatusBar, public model::DocumentObserver {
public:
    using TMyStatusBar::TMyStatusBar;

    // The item shown may be gone: the cells stay empty until the view shows the next one.
    void TreeReplaced() override { SetCells({}); }

    virtual void ShowFolder(const std::string& name, const model::DirInfo& folder, std::uint32_t clusterSize) = 0;
    virtual void ShowFile(const std::string& name, const model::FileInfo& file, std::uint32_t clusterSize) = 0;
};

}  // namespace frame
