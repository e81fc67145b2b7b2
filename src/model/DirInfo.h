// The in-memory picture of one scanned folder tree: one DirInfo per folder, one FileInfo per file, held by
// value in listing order, with no parent links. Paths are composed top-down; a folder path ends in a
// backslash and the root record's name has none ("C:", "C:\Data"). Names are UTF-8 bytes.
//
// Size: a tree may hold millions of records, so each is kept small. A folder's children sit in one
// RecordList per kind together with their names (see Name.h); builders that know a folder's final figures
// reserve them up front, others call shrink_to_fit once the folder is complete.
//
// Totals: the scanner fills the logical totals while it walks; RecomputeTotals is the only producer of the
// allocated totals and runs over the whole tree after every scan, import and change of cluster size.
//
// Depth: every walk in this module (destruction, copy, comparison, totals, data file) is iterative, so any
// depth is safe here. Trees from a scan or a data file reach kMaxTreeDepth levels (see there).
#pragma once

#include "model/Name.h"
#include "model/RecordList.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace model {

// Deepest folder level the data-file reader accepts (the root is level 0): every tree a scan can produce,
// since a path of 32,767 UTF-16 units holds at most 16,383 nested one-character names. Any walk over a
// tree that recurses once per level (layouts, the folder tree, statistics) must survive
// this depth on the thread it runs on: the main thread reserves 256 MiB of stack and TThread workers
// 64 MiB, so such a walk may spend up to about 4 KiB of stack per level. Prefer an explicit stack.
inline constexpr std::size_t kMaxTreeDepth = 16384;

struct FileInfo {
    FileInfo() = default;
    FileInfo(std::string_view name_, std::uint64_t size_, std::int32_t sortKey_ = 0)
        : name(name_), sortKey(sortKey_), size(size_) {}
    FileInfo(CopyAllButName, const FileInfo& other) noexcept : sortKey(other.sortKey), size(other.size) {}
    FileInfo(MoveAllButName, FileInfo& other) noexcept : sortKey(other.sortKey), size(other.size) {}

    Name name;
    std::int32_t sortKey = 0;
    std::uint64_t size = 0;

    friend bool operator==(const FileInfo&, const FileInfo&) = default;
};

struct DirInfo {
    DirInfo() = default;
    explicit DirInfo(std::string_view name_) : name(name_) {}

    // Deep copies, comparisons and destruction walk the subtree with an explicit stack, never the call stack.
    // Both assignments accept a folder of this record's own subtree (`root = std::move(root.subdirs[0])`).
    DirInfo(const DirInfo& other);
    DirInfo(DirInfo&&) noexcept = default;
    DirInfo& operator=(const DirInfo& other);
    DirInfo& operator=(DirInfo&& other) noexcept;
    ~DirInfo();
    // For RecordList, which keeps the names of its records itself.
    DirInfo(CopyAllButName, const DirInfo& other);
    DirInfo(MoveAllButName, DirInfo& other) noexcept;

    Name name;
    std::int32_t sortKey = 0;
    std::uint32_t deepFiles = 0;
    std::uint32_t deepDirs = 0;
    RecordList<DirInfo> subdirs;
    RecordList<FileInfo> files;
    std::uint64_t localSize = 0;
    std::uint64_t deepSize = 0;
    std::uint64_t localAlloc = 0;
    std::uint64_t deepAlloc = 0;

    // Every field of every record in the two subtrees, children in order.
    friend bool operator==(const DirInfo& a, const DirInfo& b);
};

static_assert(sizeof(FileInfo) == 16 && sizeof(DirInfo) == 48 + 2 * sizeof(void*), "records stay free of padding");

// Size kind (view mode): 0 logical, 1 physical (allocated), 2 wasted.
enum SizeKind : int { kLogicalSize = 0, kPhysicalSize = 1, kWastedSpace = 2 };

// s rounded up to whole clusters of c bytes (c a power of two; 0 gives 0 for every s; s = 0 gives 0).
std::uint64_t AllocatedSize(std::uint64_t size, std::uint32_t clusterSize);

// Allocated minus logical size of one file. Unlike AllocatedSize minus the size, it does not collapse for
// a size within one cluster of 2^64, whose rounded-up allocation no longer fits in 64 bits.
std::uint64_t WastedSize(std::uint64_t size, std::uint32_t clusterSize);

// Recomputes the local and deep totals of `dir` and everything below it from the files alone.
void RecomputeTotals(DirInfo& dir, std::uint32_t clusterSize);

// The value of an item under a size kind: a folder's deep totals, a file's own size. Wasted space is never
// below 0 (with cluster size 0 nothing is allocated, so nothing is wasted); an unknown mode gives 0.
std::uint64_t SizeOf(const DirInfo& dir, int mode, std::uint32_t clusterSize);
std::uint64_t SizeOf(const FileInfo& file, int mode, std::uint32_t clusterSize);

// Components of a path: only components followed by a backslash count; with rootLength n > 0 the first n
// characters form the first component.
std::vector<std::string> SplitPath(std::string_view text, std::size_t rootLength);

// Look-ups ignore ASCII letter case and take the first match in listing order; null when not found.
// The ...ByPath forms take full paths, which must start with the root's name and a backslash (compared
// ignoring case); any other path is not found.
const DirInfo* FindDir(const DirInfo& root, std::string_view relativePath);
DirInfo* FindDir(DirInfo& root, std::string_view relativePath);
const DirInfo* FindDirByPath(const DirInfo& root, std::string_view fullPath);
DirInfo* FindDirByPath(DirInfo& root, std::string_view fullPath);
const FileInfo* FindFileByPath(const DirInfo& root, std::string_view fullPath);

}  // namespace model
