// The live tree compared with an earlier scan of it: every folder and file of the live tree matched by path
// with the earlier tree (names compared as look-ups compare them, ASCII letters without regard to case),
// with its earlier sizes, and for every folder what was below it then and is gone now.
//
//   model::DirInfo earlier;  std::uint32_t cluster = 0;
//   ... read it aside (model::ReadDataFileWhole) ...
//   compare::TreeComparison comparison(document.Root(), std::move(earlier), cluster);
//   auto index = compare::IndexOf(document.Root(), "Data\\Photos\\");   // the entry's place
//   compare::ItemState then = comparison.Folder(*index);
//   compare::SizeChange change = comparison.Change(*index, folder, model::kLogicalSize, liveClusterSize);
//
// Matching: the two roots always match whatever their names (a drive letter changes when a disk moves).
// Below a matched folder, a file matches a file and a folder a folder of the same name; where several
// siblings share a name ignoring case, the first live one takes the first earlier one, and so on in
// listing order. A folder renamed or moved is therefore gone at its old path and new at its new one.
//
// Memory: the earlier tree, plus 16 bytes per entry of the live tree, in one array indexed in the live
// tree's depth-first pre-order (IndexOf): the entry's earlier record, and for a folder the bytes gone
// below it. The counts of what is gone are kept in the earlier tree itself: once matched, each earlier
// folder's deepFiles and deepDirs count the files and folders below it that have no live counterpart (for
// a folder that is gone itself that is all of them, as before). Its sizes keep their meaning.
//
// The live tree is only read, never changed. The comparison holds no pointer into it, but its indices
// follow its shape: after any change of the live tree, Rematch (or drop the comparison) before asking.
#pragma once

#include "model/DirInfo.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace compare {

// A change of size, exact over the whole 64-bit range: how much, and which way.
struct SizeChange {
    std::uint64_t amount = 0;
    bool shrunk = false;  // smaller now than then; never set with amount 0

    static SizeChange Between(std::uint64_t then, std::uint64_t now) noexcept {
        return now >= then ? SizeChange{now - then, false} : SizeChange{then - now, true};
    }
    bool Zero() const noexcept { return amount == 0; }
    // Saturated at the bounds of a signed 64-bit number, for ordering and for files that want a number.
    std::int64_t Clamped() const noexcept;
    friend bool operator==(const SizeChange&, const SizeChange&) = default;
};

// "+12.4 GB", "-512 bytes", "0 bytes": a sign, then the amount as model::FormatSize writes sizes.
std::string FormatChange(SizeChange change);

// What went below a folder: its bytes (logical; saturated at 2^64 - 1) and how many files and folders.
struct Gone {
    std::uint64_t bytes = 0;
    std::uint32_t files = 0;
    std::uint32_t folders = 0;
    friend bool operator==(const Gone&, const Gone&) = default;
};

// One live item seen against the earlier tree.
struct ItemState {
    bool isNew = false;              // no earlier counterpart: every earlier figure is 0
    std::uint64_t earlierSize = 0;   // logical: deep for a folder, its own for a file
    std::uint64_t earlierAlloc = 0;  // allocated, with the earlier tree's cluster size
    std::uint64_t earlierLocal = 0;  // a folder's files directly in it; a file's own size
    Gone gone;                       // folders only
    friend bool operator==(const ItemState&, const ItemState&) = default;
};

// Entries of the subtree of `folder`: itself, its files and folders below it (from its deep counts).
inline std::size_t EntriesIn(const model::DirInfo& folder) noexcept {
    return std::size_t{1} + folder.deepDirs + folder.deepFiles;
}

// The place of an item in the pre-order of `root` (the root is 0; a folder comes before its files, they
// before its subfolders, each subfolder with its whole subtree before the next). `relativePath` as FindDir
// takes it: "" the root, "Data\Photos\" a folder, "Data\notes.txt" a file. Nothing when there is no such
// item. The root's deep counts must be right (RecomputeTotals), as they are for every tree of a document.
std::optional<std::size_t> IndexOf(const model::DirInfo& root, std::string_view relativePath);

class TreeComparison {
public:
    // Matches `live` against `earlier`, whose totals are computed here for `earlierClusterSize`.
    TreeComparison(const model::DirInfo& live, model::DirInfo earlier, std::uint32_t earlierClusterSize);

    // Matches again after the live tree changed (an item removed, a folder rescanned).
    void Rematch(const model::DirInfo& live);

    const model::DirInfo& Earlier() const noexcept { return earlier_; }
    std::uint32_t EarlierClusterSize() const noexcept { return earlierCluster_; }
    // Entries of the live tree matched (the length of the index).
    std::size_t EntryCount() const noexcept { return slots_.size(); }
    // Bytes the comparison adds beyond the earlier tree.
    std::size_t ExtraBytes() const noexcept { return slots_.capacity() * sizeof(Slot); }

    // The live folder or file at `index` (which must be one of that kind).
    ItemState Folder(std::size_t index) const;
    ItemState File(std::size_t index) const;
    // The earlier record matched with the item at `index`; null when it is new.
    const model::DirInfo* EarlierFolder(std::size_t index) const noexcept {
        return static_cast<const model::DirInfo*>(slots_[index].earlier);
    }
    const model::FileInfo* EarlierFile(std::size_t index) const noexcept {
        return static_cast<const model::FileInfo*>(slots_[index].earlier);
    }

    // How the value of the item at `index` under size kind `mode` changed (model::SizeOf then and now,
    // each with its tree's cluster size).
    SizeChange Change(std::size_t index, const model::DirInfo& live, int mode, std::uint32_t liveClusterSize) const;
    SizeChange Change(std::size_t index, const model::FileInfo& live, int mode, std::uint32_t liveClusterSize) const;
    std::uint64_t EarlierValue(std::size_t index, bool isDir, int mode) const;

private:
    struct Slot {
        const void* earlier = nullptr;  // model::DirInfo or model::FileInfo; null: new
        std::uint64_t goneBytes = 0;    // folders
    };
    static_assert(sizeof(Slot) == 16);

    void Match(const model::DirInfo& live);

    model::DirInfo earlier_;
    std::uint32_t earlierCluster_ = 0;
    std::vector<Slot> slots_;
};

}  // namespace compare
