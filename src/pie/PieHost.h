// What the pie renderer needs from the main frame, kept narrow so the renderer never sees a frame class.
#pragma once

#include <cstdint>
#include <string>

#include "model/DirInfo.h"

namespace pie {

class PieHost {
public:
    virtual ~PieHost() = default;

    virtual const model::DirInfo* RootFolder() const = 0;
    virtual std::string CurrentPath() const = 0;  // full path of the current folder, ending in a backslash
    virtual std::uint32_t ClusterSize() const = 0;
    virtual bool DialogLook() const = 0;
    // Status-bar figures of a folder; relativePath is "" for the current folder itself.
    virtual void ShowFolderStatus(const std::string& currentPath, const std::string& relativePath,
                                  const model::DirInfo& folder) = 0;
};

}  // namespace pie
