// The rules every walk shares, and the one-worker walk (see Walk.h).
#include "scan/Walk.h"

#include "scan/ParallelWalk.h"

namespace scan {

bool IsDotOrDotDot(const std::string& name) noexcept { return name == "." || name == ".."; }

std::uint64_t CountedBytes(std::uint64_t size, std::uint32_t clusterSize) noexcept {
    return clusterSize != 0 ? model::AllocatedSize(size, clusterSize) : size;
}

void FinishTotals(model::DirInfo& dir) {
    dir.deepSize = dir.localSize;
    dir.deepFiles = static_cast<std::uint32_t>(dir.files.size());
    dir.deepDirs = static_cast<std::uint32_t>(dir.subdirs.size());
    for (const model::DirInfo& sub : dir.subdirs) {
        dir.deepSize += sub.deepSize;
        dir.deepFiles += sub.deepFiles;
        dir.deepDirs += sub.deepDirs;
    }
}

bool Walker::Walk(model::DirInfo& dir, std::string& path) {
    return WalkTree(lister_, clusterSize_, counters_, control_, 1, dir, path);
}

std::string RootName(std::string_view rootPath) {
    if (rootPath.empty()) return {};
    return std::string(rootPath.substr(0, rootPath.size() - 1));
}

}  // namespace scan
