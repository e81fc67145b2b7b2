// The recursive directory walk over a DirLister (see Walk.h for the protocol).
#include "scan/Walk.h"

#include <utility>

namespace scan {

bool IsDotOrDotDot(const std::string& name) noexcept {
    return name == "." || name == "..";
}

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
    control_.PausePoint();
    if (control_.StopRequested()) return false;

    if (std::unique_ptr<DirListing> listing = lister_.Open(path)) {
        const std::size_t pathLength = path.size();
        DirEntry entry;
        while (listing->Next(entry)) {
            if (IsDotOrDotDot(entry.name)) continue;
            if (entry.isDirectory) {
                counters_.foldersFound.fetch_add(1, std::memory_order_relaxed);
                model::DirInfo& sub = dir.subdirs.emplace_back(std::move(entry.name));
                if (!entry.isReparsePoint) {
                    path += lister_.Separator();
                    path += sub.name;
                    const bool complete = Walk(sub, path);
                    path.resize(pathLength);
                    if (!complete) return false;  // `listing` closes on the way out
                }
            } else {
                counters_.filesFound.fetch_add(1, std::memory_order_relaxed);
                counters_.bytesFound.fetch_add(CountedBytes(entry.size, clusterSize_), std::memory_order_relaxed);
                dir.localSize += entry.size;
                dir.files.emplace_back(std::move(entry.name), entry.size, 0);
            }
            control_.PausePoint();
        }
        // Growth leaves up to half of each array unused for the whole life of the tree; one move per
        // folder gives it back (about an eighth of the tree's memory).
        dir.files.shrink_to_fit();
        dir.subdirs.shrink_to_fit();
    }
    FinishTotals(dir);
    return true;
}

std::string RootName(std::string_view rootPath) {
    if (rootPath.empty()) return {};
    return std::string(rootPath.substr(0, rootPath.size() - 1));
}

}  // namespace scan
