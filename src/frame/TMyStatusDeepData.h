// Status bar 2: the deep totals of an item (a folder with everything below it; a file shows its name only).
#pragma once

#include "frame/TMyStatusData.h"

namespace frame {

class TMyStatusDeepData : public TMyStatusData {
public:
    explicit TMyStatusDeepData(fw::TWindow* parent, StoreFactory openStore = &OpenUserSettings);

    void ShowFolder(const std::string& name, const model::DirInfo& folder, std::uint32_t clusterSize) override;
    void ShowFile(const std::string& name, const model::FileInfo& file, std::uint32_t clusterSize) override;
};

}  // namespace frame
