// Value semantics of DirInfo without recursion, and the totals. A file may nest folders thousands of levels
// deep, and the defaulted members would recurse once per level on whatever thread touches the tree; here
// every deep walk keeps its own stack of (record, next child) frames on the heap.
#include "model/DirInfo.h"

#include <utility>

namespace model {
namespace {

// Copies a record's own fields and files, not its name or subfolders.
void CopyShallow(DirInfo& to, const DirInfo& from) {
    to.files = from.files;
    to.sortKey = from.sortKey;
    to.deepFiles = from.deepFiles;
    to.deepDirs = from.deepDirs;
    to.localSize = from.localSize;
    to.deepSize = from.deepSize;
    to.localAlloc = from.localAlloc;
    to.deepAlloc = from.deepAlloc;
}

bool EqualShallow(const DirInfo& a, const DirInfo& b) {
    return a.name == b.name && a.sortKey == b.sortKey && a.deepFiles == b.deepFiles && a.deepDirs == b.deepDirs &&
           a.localSize == b.localSize && a.deepSize == b.deepSize && a.localAlloc == b.localAlloc &&
           a.deepAlloc == b.deepAlloc && a.subdirs.size() == b.subdirs.size() && a.files == b.files;
}

// Copies everything below `from` into `to`, which has its own fields already.
void CopySubtree(DirInfo& to, const DirInfo& from) {
    struct Frame {
        const DirInfo* from;
        DirInfo* to;
        std::size_t next;
    };
    std::vector<Frame> stack{{&from, &to, 0}};
    while (!stack.empty()) {
        Frame& top = stack.back();
        if (top.next == top.from->subdirs.size()) {
            stack.pop_back();
            continue;
        }
        // The exact reserve keeps `to` in place while its siblings are appended later.
        if (top.next == 0) top.to->subdirs.reserve(top.from->subdirs.size(), top.from->subdirs.name_bytes());
        const DirInfo& child = top.from->subdirs[top.next++];
        DirInfo& copy = top.to->subdirs.emplace_back(child.name);
        CopyShallow(copy, child);
        stack.push_back({&child, &copy, 0});
    }
}

}  // namespace

DirInfo::DirInfo(const DirInfo& other) : name(other.name) {
    CopyShallow(*this, other);
    CopySubtree(*this, other);
}

DirInfo::DirInfo(CopyAllButName, const DirInfo& other) {
    CopyShallow(*this, other);
    CopySubtree(*this, other);
}

DirInfo::DirInfo(MoveAllButName, DirInfo& other) noexcept
    : sortKey(other.sortKey), deepFiles(other.deepFiles), deepDirs(other.deepDirs), subdirs(std::move(other.subdirs)),
      files(std::move(other.files)), localSize(other.localSize), deepSize(other.deepSize), localAlloc(other.localAlloc),
      deepAlloc(other.deepAlloc) {}

DirInfo& DirInfo::operator=(const DirInfo& other) {
    if (this != &other) *this = DirInfo(other);
    return *this;
}

DirInfo& DirInfo::operator=(DirInfo&& other) noexcept {
    if (this == &other) return *this;
    // `other` may live inside this record's subtree, which member-wise assignment frees while still reading
    // from it: take it out whole first, and let the old subtree go with `taken`.
    DirInfo taken(std::move(other));
    std::swap(name, taken.name);
    subdirs.swap(taken.subdirs);
    files.swap(taken.files);
    sortKey = taken.sortKey;
    deepFiles = taken.deepFiles;
    deepDirs = taken.deepDirs;
    localSize = taken.localSize;
    deepSize = taken.deepSize;
    localAlloc = taken.localAlloc;
    deepAlloc = taken.deepAlloc;
    return *this;
}

DirInfo::~DirInfo() {
    if (subdirs.empty()) return;
    // Detach each level's children before their parent goes, so every record is destroyed childless.
    std::vector<RecordList<DirInfo>> pending;
    pending.push_back(std::move(subdirs));
    while (!pending.empty()) {
        RecordList<DirInfo>& level = pending.back();
        if (level.empty()) {
            pending.pop_back();
            continue;
        }
        DirInfo& last = level.back();
        if (last.subdirs.empty()) {
            level.pop_back();
            continue;
        }
        RecordList<DirInfo> children = std::move(last.subdirs);
        pending.push_back(std::move(children));
    }
}

bool operator==(const DirInfo& a, const DirInfo& b) {
    if (!EqualShallow(a, b)) return false;
    struct Frame {
        const DirInfo* a;
        const DirInfo* b;
        std::size_t next;
    };
    std::vector<Frame> stack{{&a, &b, 0}};
    while (!stack.empty()) {
        Frame& top = stack.back();
        if (top.next == top.a->subdirs.size()) {
            stack.pop_back();
            continue;
        }
        const DirInfo& childA = top.a->subdirs[top.next];
        const DirInfo& childB = top.b->subdirs[top.next];
        ++top.next;
        if (!EqualShallow(childA, childB)) return false;
        stack.push_back({&childA, &childB, 0});
    }
    return true;
}

std::uint64_t AllocatedSize(std::uint64_t size, std::uint32_t clusterSize) {
    // The complement of (c - 1) sign-extended: for c up to 2^31 the upper word of the mask is all ones, and
    // c = 0 gives a zero mask, so nothing is allocated while the cluster size is unknown.
    const auto mask =
        static_cast<std::uint64_t>(static_cast<std::int64_t>(static_cast<std::int32_t>(~(clusterSize - 1u))));
    return ((size - 1) & mask) + clusterSize;
}

std::uint64_t WastedSize(std::uint64_t size, std::uint32_t clusterSize) {
    if (clusterSize == 0) return 0;
    if ((clusterSize & (clusterSize - 1)) == 0) {
        const std::uint64_t partial = size & (clusterSize - 1);
        return partial == 0 ? 0 : clusterSize - partial;
    }
    const std::uint64_t allocated = AllocatedSize(size, clusterSize);
    return allocated > size ? allocated - size : 0;
}

void RecomputeTotals(DirInfo& dir, std::uint32_t clusterSize) {
    auto startRecord = [clusterSize](DirInfo& d) {
        d.localSize = 0;
        d.localAlloc = 0;
        for (const FileInfo& f : d.files) {
            d.localSize += f.size;
            d.localAlloc += AllocatedSize(f.size, clusterSize);
        }
        d.deepSize = d.localSize;
        d.deepAlloc = d.localAlloc;
        d.deepFiles = static_cast<std::uint32_t>(d.files.size());
        d.deepDirs = static_cast<std::uint32_t>(d.subdirs.size());
    };
    struct Frame {
        DirInfo* dir;
        std::size_t next;
    };
    startRecord(dir);
    std::vector<Frame> stack{{&dir, 0}};
    while (!stack.empty()) {
        Frame& top = stack.back();
        if (top.next < top.dir->subdirs.size()) {
            DirInfo& child = top.dir->subdirs[top.next++];
            startRecord(child);
            stack.push_back({&child, 0});
            continue;
        }
        const DirInfo& done = *top.dir;
        stack.pop_back();
        if (stack.empty()) break;
        DirInfo& parent = *stack.back().dir;
        parent.deepFiles += done.deepFiles;
        parent.deepDirs += done.deepDirs;
        parent.deepSize += done.deepSize;
        parent.deepAlloc += done.deepAlloc;
    }
}

namespace {
std::uint64_t Wasted(std::uint64_t allocated, std::uint64_t logical) {
    return allocated > logical ? allocated - logical : 0;
}
}  // namespace

std::uint64_t SizeOf(const DirInfo& dir, int mode, std::uint32_t) {
    switch (mode) {
    case kLogicalSize: return dir.deepSize;
    case kPhysicalSize: return dir.deepAlloc;
    case kWastedSpace: return Wasted(dir.deepAlloc, dir.deepSize);
    default: return 0;
    }
}

std::uint64_t SizeOf(const FileInfo& file, int mode, std::uint32_t clusterSize) {
    switch (mode) {
    case kLogicalSize: return file.size;
    case kPhysicalSize: return AllocatedSize(file.size, clusterSize);
    case kWastedSpace: return WastedSize(file.size, clusterSize);
    default: return 0;
    }
}

}  // namespace model
