// Writing a data file as the scan goes (see DataFileOutput.h).
#include "scan/DataFileOutput.h"

#include <vector>

namespace scan {

std::string_view DataFileOutput::Stored(std::string_view listed, std::string& scratch) const {
    if (filter_ && filter_(listed, scratch)) return scratch;
    return listed;
}

void DataFileOutput::Write(std::string_view name, const model::RecordList<model::FileInfo>& files,
                           std::size_t subfolders, std::int32_t sortKey) {
    // The root keeps the name its caller gave it.
    writer_.Folder(started_ ? Stored(name, folderName_) : name, files.size(), subfolders, sortKey);
    started_ = true;
    for (const model::FileInfo& file : files) {
        writer_.File(Stored(file.name, fileName_), file.size, file.sortKey);
        totals_.bytes += file.size;
        totals_.allocated += model::AllocatedSize(file.size, clusterSize_);
    }
    totals_.files += static_cast<std::uint32_t>(files.size());
    totals_.folders += static_cast<std::uint32_t>(subfolders);
    if (!writer_.ok()) failed_.store(true, std::memory_order_relaxed);
}

void DataFileOutput::Folder(std::string_view name, model::DirInfo& listing) {
    Write(name, listing.files, listing.subdirs.size(), listing.sortKey);
}

void DataFileOutput::WholeTree(model::DirInfo& tree) {
    struct Frame {
        const model::DirInfo* dir;
        std::size_t next;
    };
    Write(tree.name, tree.files, tree.subdirs.size(), tree.sortKey);
    std::vector<Frame> stack{{&tree, 0}};
    while (!stack.empty()) {
        Frame& top = stack.back();
        if (top.next == top.dir->subdirs.size()) {
            stack.pop_back();
            continue;
        }
        const model::DirInfo& child = top.dir->subdirs[top.next++];
        Write(child.name, child.files, child.subdirs.size(), child.sortKey);
        stack.push_back({&child, 0});
    }
}

}  // namespace scan
