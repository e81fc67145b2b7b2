// What kind of file a name is: its type is its extension, lower-cased, and the totals of a tree's files by
// type. Portable; the file types dialog, the pie's type colours and highlight, the tips and the statistics
// query read it.
//
//   model::FileTypeOf("Movie.MKV") == "mkv";  model::FileTypeOf("README") == "" (no extension)
//   model::TypeTable table = model::ComputeTypeTable(folder, true, clusterSize);   // one pass
//   model::TypeTableWalk walk(folder, true, clusterSize);   // the same, a slice at a time:
//   while (!walk.Step(50000)) { ... let the window breathe ... }
//
// The extension is the text after the name's last dot when that dot is neither the first character (a
// name such as ".gitignore" has none) nor the last ("x." has none): "a.tar.gz" is "gz". Lower-casing folds
// ASCII letters and the two-byte UTF-8 capitals of Latin-1, Greek and Cyrillic, so "ÉTÉ" and "été" are one
// type; other bytes stay as they are.
//
// Counting allocates nothing per file or per type (the table keeps its texts and entries in blocks). A walk
// holds pointers into the tree: whoever keeps one drops it when records of the tree go.
#pragma once

#include "model/DirInfo.h"

#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace model {

// How the list and the tips name the type "" of names without an extension.
inline constexpr std::string_view kNoExtension = "(no extension)";

// The extension of a name as it is written (not lower-cased); empty for none.
std::string_view RawExtension(std::string_view name) noexcept;
// `text` lower-cased into `out`, which has room for text.size() bytes (folding never changes a length);
// returns the folded view of `out`.
std::string_view FoldTypeCase(std::string_view text, char* out) noexcept;
// The type of a file name: its extension lower-cased, "" for none.
std::string FileTypeOf(std::string_view name);
// Whether a file of this name is of `type` (lower-cased), without a copy of the name.
bool HasType(std::string_view name, std::string_view type);
// The type as the user reads it: the extension, or kNoExtension.
std::string TypeDisplayName(std::string_view type);

// `part` as a percentage of `whole` with one decimal, "12.5%"; "0.0%" when the whole is 0.
std::string ShareText(std::uint64_t part, std::uint64_t whole);

struct TypeTotals {
    std::uint64_t bytes = 0;      // logical
    std::uint64_t allocated = 0;  // for the table's cluster size; 0 while it is unknown
    std::uint64_t files = 0;

    void Add(std::uint64_t size, std::uint32_t clusterSize) noexcept {
        bytes += size;
        allocated += AllocatedSize(size, clusterSize);
        ++files;
    }
    friend bool operator==(const TypeTotals&, const TypeTotals&) = default;
};

// What the status bar says of a type's totals: "Type jpg: 2.9 MB in 12 files".
std::string TypeTotalsText(std::string_view type, const TypeTotals& totals);

// One type of a table: its text (lower-cased, "" for none) kept by the table, and its totals.
struct FileType {
    std::string_view type;
    TypeTotals totals;
    friend bool operator==(const FileType&, const FileType&) = default;
};

// The files added so far, totalled by type. The types' texts lie back to back in one block, their entries
// in blocks that never move, and a type is found through a table of its hash's high half and its entry:
// neither a file nor a new type costs an allocation of its own, and growing the table reads only the table.
// A tree whose random names make millions of "types" is counted in a few times the time of one of forty.
class TypeTable {
public:
    explicit TypeTable(std::uint32_t clusterSize = 0) : clusterSize_(clusterSize) {}

    void Add(const FileInfo& file);
    // The files directly in `folder`.
    void AddFiles(const DirInfo& folder);
    void AddFiles(const FileInfo* files, std::size_t count);

    std::size_t TypeCount() const noexcept { return count_; }
    // Calls f(FileType) once per type, in the order first met; the texts are the table's, valid until the
    // next Add.
    template <class F>
    void ForEachType(F&& f) const {
        for (std::uint32_t index = 0; index < count_; ++index) f(TypeAt(index));
    }
    // The same as a list.
    std::vector<FileType> Types() const;
    // Types are numbered 0 .. TypeCount() - 1 in the order first met.
    FileType TypeAt(std::uint32_t index) const noexcept {
        const Entry& entry = At(index);
        return {std::string_view(texts_.data() + entry.offset, entry.length),
                TypeTotals{entry.bytes, entry.allocated, entry.files}};
    }
    std::optional<std::uint32_t> IndexOfType(std::string_view type) const noexcept;
    // Nothing when no file of that (lower-cased) type was added.
    std::optional<FileType> Find(std::string_view type) const;
    const TypeTotals& Total() const noexcept { return total_; }
    std::uint32_t ClusterSize() const noexcept { return clusterSize_; }

private:
    // Left uninitialised when its block is made: the part of a block not yet used is never touched.
    struct Entry {
        std::uint32_t offset;  // of the text in texts_
        std::uint32_t length;
        std::uint64_t bytes, allocated, files;
    };
    static constexpr std::uint32_t kNone = 0xFFFFFFFFu;
    // Block b holds entries 64 * (2^b - 1) to 64 * (2^(b+1) - 1) - 1: a small table stays small.
    static constexpr unsigned kFirstBlockBits = 6;

    const Entry& At(std::uint32_t index) const noexcept {
        const std::uint64_t shifted = std::uint64_t{index} + (1u << kFirstBlockBits);
        const unsigned block = static_cast<unsigned>(std::bit_width(shifted)) - 1 - kFirstBlockBits;
        return blocks_[block][shifted - (std::uint64_t{1} << (block + kFirstBlockBits))];
    }
    Entry& At(std::uint32_t index) noexcept { return const_cast<Entry&>(std::as_const(*this).At(index)); }
    std::uint32_t IndexOf(std::string_view rawExtension);
    // The same with the extension already folded and its tag known.
    std::uint32_t IndexOf(std::string_view rawExtension, std::string_view folded, std::uint32_t tag);
    void AddTo(std::uint32_t index, std::uint64_t size) noexcept;
    // The entry of a folded text with this tag (its hash's high half), kNone when there is none; `slot` is
    // where it is or would go.
    std::uint32_t Lookup(std::string_view folded, std::uint32_t tag, std::size_t& slot) const noexcept;
    std::uint32_t Append(std::string_view folded);
    void Grow();

    std::uint32_t clusterSize_;
    std::vector<std::unique_ptr<Entry[]>> blocks_;
    std::uint32_t count_ = 0;
    std::vector<char> texts_;
    // The tag in the high half and the entry's index + 1 in the low, 0 for an empty slot. A tag's first
    // slot is its top bits, so that a table twice the size takes the slots over in nearly the same order.
    std::vector<std::uint64_t> slots_;
    unsigned slotBits_ = 0;
    TypeTotals total_;
    // Neighbouring files mostly share their extension: the last one as written, and its entry.
    std::array<char, 16> lastRaw_{};
    std::size_t lastRawSize_ = 0;
    std::uint32_t lastIndex_ = kNone;
};

// The files of `start` (and of every folder below it when `recurse`) added to a table a slice at a time.
class TypeTableWalk {
public:
    TypeTableWalk(const DirInfo& start, bool recurse, std::uint32_t clusterSize);

    // Adds up to `files` more files (at least one folder's worth of progress when a folder has none);
    // true once every file of the scope is in.
    bool Step(std::size_t files);
    bool Done() const noexcept { return !current_ && pending_.empty(); }
    std::uint64_t FilesDone() const noexcept { return table_.Total().files; }
    // The number of files the scope holds, from the folders' totals.
    std::uint64_t FilesInScope() const noexcept { return filesInScope_; }
    const TypeTable& Table() const noexcept { return table_; }
    TypeTable TakeTable() { return std::move(table_); }

private:
    TypeTable table_;
    bool recurse_;
    std::uint64_t filesInScope_;
    std::vector<const DirInfo*> pending_;
    const DirInfo* current_ = nullptr;
    std::size_t nextFile_ = 0;
};

TypeTable ComputeTypeTable(const DirInfo& start, bool recurse, std::uint32_t clusterSize);

// The totals of one (lower-cased) type in `start` and everything below it.
TypeTotals TotalsOfType(const DirInfo& start, std::string_view type, std::uint32_t clusterSize);

}  // namespace model
