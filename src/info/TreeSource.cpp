#include "info/TreeSource.h"

namespace info {

bool ApplyClusterSize(TreeSource& source, std::uint32_t chosen) {
    if (chosen == source.ClusterSize()) return false;
    source.SetClusterSize(chosen);
    // Physical size and wasted space mean nothing without a cluster size.
    if (chosen == 0) source.SetLogicalMode();
    source.NavigateTo(source.CurrentPath(), false);
    return true;
}

}  // namespace info
