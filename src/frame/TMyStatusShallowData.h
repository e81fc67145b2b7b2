// Status bar 3, the lowest, with the size grip: the local totals of an item (the entries directly in a
// folder; a file's own sizes).
#pragma once

#include "frame/TMyStatusData.h"

namespace frame {

class TMyStatusShallowData : public TMyStatusData {
public:
    explicit TMyStatusShallowData(fw::TWindow* parent, StoreFactory openStore = &OpenUserSettings);

    void ShowFolder(const std::string& name, const model::DirInfo& folder, std::uint32_t clusterSize) override;
    void ShowFile(const std::string& name, const model::FileInfo& file, std::uint32_t clusterSize) override;
};

}  // namespace frame
