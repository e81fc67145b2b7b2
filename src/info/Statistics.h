// The statistics queries: eight top-N rankings over a scanned tree (largest files, longest and deepest
// folder paths, folders with most entries, bytes or waste), four more over a comparison with an earlier
// scan, offered only while one is on (largest growth, shrink, new files, removed items), the checks that come before
// one runs, and the texts of its result rows. Portable; TStatisticsDlg shows the rows.
//
// Calling order: PlanQuery (the form as the user left it) -> on success RunQuery -> rows shown by index
// through StatResults::Path and ValueText. The results keep the base path they were walked from, so
// relative and absolute display, copying and navigation never depend on what the dialog shows.
//
// A collector visits its start folder's files (largest files only) and its subfolders in stored order,
// descending when asked, with an explicit stack: no recursion however deep the tree. Candidates are held
// as (key, folder, file) and ranked by key alone; no path text exists until a row is read, and a folder
// gets an entry in the results' path table only once a candidate in or below it is held, so a walk over
// millions of folders keeps a table of the few that matter.
#pragma once

#include "compare/ChangeRanking.h"
#include "model/DirInfo.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace info {

enum StatsQuery : int {
    kLargestFiles = 0,
    kLongestPaths,
    kDeepestPaths,
    kMostFilesLocal,
    kMostFilesDeep,
    kMostBytesLocal,
    kMostBytesDeep,
    kMostWasteLocal,
    kLargestTypes,
    kLargestGrowth,  // the comparison's: folders and files by change of logical size
    kLargestShrink,
    kLargestNewFiles,
    kLargestRemoved,  // paths of the earlier tree
    kQueryCount
};
inline constexpr int kTreeQueryCount = kLargestGrowth;

// The queries the list offers: the first kTreeQueryCount, and the comparison's while one is on.
inline int OfferedQueryCount(bool comparing) noexcept { return comparing ? kQueryCount : kTreeQueryCount; }
inline bool IsChangeQuery(int query) noexcept { return query >= kLargestGrowth && query < kQueryCount; }

const char* QueryText(int query) noexcept;  // "" for an index outside the list
int FieldWidth(int query) noexcept;         // value column width in characters

// The largest "Max items" honoured; a larger number is taken as this one.
inline constexpr int kMaxItemsLimit = 2147483647;

// The folders a walk met, each by its parent and its name in the tree (node 0 is the start folder, whose
// path is the base path). Paths are built from it only for the rows someone reads, so neither a deep tree
// nor a ranking whose every candidate is accepted builds a path per candidate.
class PathTable {
public:
    static constexpr std::uint32_t kStart = 0;

    PathTable() = default;
    explicit PathTable(std::string basePath) : basePath_(std::move(basePath)), nodes_{{kStart, nullptr}} {}

    std::uint32_t Add(std::uint32_t parent, const model::Name& name);
    const std::string& BasePath() const noexcept { return basePath_; }
    // The folder's path ending in a backslash, with or without the base path in front; then `file`.
    std::string Path(std::uint32_t folder, const model::Name* file, bool absolute) const;

private:
    struct Node {
        std::uint32_t parent;
        const model::Name* name;
    };
    std::string basePath_;
    std::vector<Node> nodes_;
};

// One result: a folder, or a file in a folder, and its key. Rows point into the tree, which must not
// change while they are shown (the statistics dialog is modal). A row that names no place in the tree (a
// file type) has a label instead.
struct StatRow {
    std::uint64_t key = 0;
    std::uint32_t folder = PathTable::kStart;
    const model::FileInfo* file = nullptr;
    std::int32_t label = -1;  // index in StatResults::labels, -1 for a path
};

struct StatResults {
    int fieldWidth = 0;
    std::vector<StatRow> rows;  // largest key first; among equal keys the later visited first
    PathTable paths;
    // The comparison's queries hold their rows here instead, with paths of their own (removed items: of
    // the earlier tree, whose root may be named otherwise); growth and shrink values are signed.
    std::vector<compare::RankedItem> changes;
    bool signedValues = false;
    std::size_t changesCut = 0;  // characters of the changes' paths before the part below the base path

    const std::string& BasePath() const noexcept { return paths.BasePath(); }
    std::size_t Count() const noexcept { return changes.empty() ? rows.size() : changes.size(); }
    // The "Name" text of a row: its full path text, or the part below the base path.
    std::string Path(std::size_t row, bool absolute) const;
    // The "Value" text of a row.
    std::string Value(std::size_t row) const;
    std::vector<std::string> labels;

    // Whether the row is a folder or a file, which can be shown in the main window (not a type's label).
    bool IsPlace(std::size_t row) const noexcept {
        return changes.empty() ? row < rows.size() && rows[row].label < 0 : row < changes.size();
    }
};

// A folder met by a walk: its level below the start folder (which is level 0; the collector knows the
// folders on the way) and the number of characters and of backslashes in its path text (which ends in a
// backslash).
struct FolderRef {
    std::size_t level = 0;
    std::size_t characters = 0;
    std::size_t backslashes = 0;
};

// The walk of one query, keeping the N largest keys: an entry is held when fewer than N are, or when its
// key is strictly greater than the smallest held key, which then goes (the earliest held of equal keys
// first). The key type: unsigned 64-bit for byte counts, int for lengths, depths and entry counts.
template <class Key>
class GenericCollector {
public:
    GenericCollector(const model::DirInfo& start, int maxItems, bool visitFiles, bool recurse, std::string basePath);
    virtual ~GenericCollector() = default;
    GenericCollector(const GenericCollector&) = delete;
    GenericCollector& operator=(const GenericCollector&) = delete;

    void Walk();
    // The held entries, largest first; the collector is empty afterwards.
    StatResults TakeResults(int fieldWidth);

    // A folder candidate (file null) or a file in `folder`, a node of the results' path table.
    void Offer(Key key, std::uint32_t folder, const model::FileInfo* file);

protected:
    // A subfolder of a folder the walk is in (the start folder is never offered).
    virtual void VisitDir(const model::DirInfo&, const FolderRef&) {}
    // The files of a folder the walk is in.
    virtual void VisitFiles(const model::DirInfo&, const FolderRef&) {}

    // Whether an entry of this key would be held now: a cheap test before OfferAt.
    bool Wants(Key key) const noexcept {
        return heap_.size() < maxItems_ || (!heap_.empty() && key > heap_.front().key);
    }
    // Offer for a folder of the walk under way (the folder itself, or the folder of `file`).
    void OfferAt(Key key, const FolderRef& folder, const model::FileInfo* file) {
        if (Wants(key)) Offer(key, NodeOf(folder.level), file);
    }

private:
    struct Frame {
        const model::DirInfo* dir;
        std::size_t next;
        FolderRef ref;
        std::uint32_t node;  // kUnmade until a candidate in or below it is held
    };
    static constexpr std::uint32_t kUnmade = 0xFFFFFFFFu;
    // The path table's node of the walk's folder at `level`, made with its ancestors' when missing.
    std::uint32_t NodeOf(std::size_t level);

    struct Entry {
        Key key;
        std::uint64_t order;
        std::uint32_t folder;
        const model::FileInfo* file;
    };
    static bool Later(const Entry& a, const Entry& b) noexcept {
        return a.key != b.key ? a.key > b.key : a.order > b.order;
    }

    const model::DirInfo& start_;
    std::size_t maxItems_;
    bool visitFiles_;
    bool recurse_;
    PathTable paths_;
    std::vector<Frame> stack_;  // the walk's folders from the start folder down
    std::vector<Entry> heap_;   // smallest (key, order) at the front
    std::uint64_t offered_ = 0;
};

extern template class GenericCollector<std::uint64_t>;
extern template class GenericCollector<int>;

// Characters of a UTF-8 text (code points, not bytes).
std::size_t CharacterCount(std::string_view text) noexcept;

class CollectLargeFiles : public GenericCollector<std::uint64_t> {
public:
    CollectLargeFiles(const model::DirInfo& start, int maxItems, bool recurse, std::string basePath)
        : GenericCollector(start, maxItems, true, recurse, std::move(basePath)) {}

protected:
    void VisitFiles(const model::DirInfo& dir, const FolderRef& folder) override {
        for (const model::FileInfo& file : dir.files) OfferAt(file.size, folder, &file);
    }
};

// The seven folder rankings share one shape: a key of the folder.
template <class Key, Key (*KeyOf)(const model::DirInfo&, const FolderRef&, std::uint32_t)>
class CollectDirs : public GenericCollector<Key> {
public:
    CollectDirs(const model::DirInfo& start, int maxItems, bool recurse, std::string basePath,
                std::uint32_t clusterSize = 0)
        : GenericCollector<Key>(start, maxItems, false, recurse, std::move(basePath)), clusterSize_(clusterSize) {}

protected:
    void VisitDir(const model::DirInfo& dir, const FolderRef& self) override {
        this->OfferAt(KeyOf(dir, self, clusterSize_), self, nullptr);
    }

private:
    std::uint32_t clusterSize_;
};

// Lengths and depths are those of the folder's path without its final backslash.
int PathLengthKey(const model::DirInfo& dir, const FolderRef& self, std::uint32_t);
int PathDepthKey(const model::DirInfo& dir, const FolderRef& self, std::uint32_t);
int LocalFilesKey(const model::DirInfo& dir, const FolderRef&, std::uint32_t);
int DeepFilesKey(const model::DirInfo& dir, const FolderRef&, std::uint32_t);
std::uint64_t LocalBytesKey(const model::DirInfo& dir, const FolderRef&, std::uint32_t);
std::uint64_t DeepBytesKey(const model::DirInfo& dir, const FolderRef&, std::uint32_t);
std::uint64_t LocalWasteKey(const model::DirInfo& dir, const FolderRef&, std::uint32_t clusterSize);

using CollectLongPaths = CollectDirs<int, PathLengthKey>;
using CollectDeepPaths = CollectDirs<int, PathDepthKey>;
using CollectManyFileDirs = CollectDirs<int, LocalFilesKey>;
using CollectDeepManyFileDirs = CollectDirs<int, DeepFilesKey>;
using CollectManyByteDirs = CollectDirs<std::uint64_t, LocalBytesKey>;
using CollectDeepManyByteDirs = CollectDirs<std::uint64_t, DeepBytesKey>;
using CollectBigWasteDirs = CollectDirs<std::uint64_t, LocalWasteKey>;

// What the dialog's controls hold when Find is pressed.
struct StatsForm {
    std::string maxItems;  // the "Max items" text
    bool recurse = true;
    bool rootScope = false;  // "Root folder" rather than "Selected Folder"
    std::string folder;      // the typed folder
    int query = -1;          // the selected query, -1 for none
};

enum class StatsProblem { kNone, kMaxItems, kFolder, kNoClusterSize, kNoQuery };
const char* ProblemText(StatsProblem problem) noexcept;  // the message the user sees; "" for kNone

struct StatsPlan {
    StatsProblem problem = StatsProblem::kNone;
    int maxItems = 0;
    bool maxItemsClamped = false;  // the text named more than kMaxItemsLimit
    const model::DirInfo* start = nullptr;
    std::string basePath;
    int query = -1;
    bool recurse = true;
};

// "Max items" as a positive count: digits only (blanks around them allowed), above 0, at most
// kMaxItemsLimit (more is clamped to it). 0 when the text is not such a number.
int ParseMaxItems(std::string_view text, bool* clamped = nullptr) noexcept;

// The start folder and base path a typed folder names: "/" read as "\", a final backslash added, looked
// up below the root ignoring case. A null start when empty, outside the root or not found.
struct StatsScope {
    const model::DirInfo* start = nullptr;
    std::string basePath;
};
StatsScope ResolveFolder(const model::DirInfo& root, std::string_view typed);

// The checks before a query runs, in the order the user meets them: the count, the folder, then the query
// (the waste ranking needs a known cluster size; the comparison's queries are none without `comparison`).
StatsPlan PlanQuery(const StatsForm& form, const model::DirInfo& root, std::uint32_t clusterSize,
                    const compare::TreeComparison* comparison = nullptr);

// "Largest file types": the types of the scope's files by bytes, largest first (equal bytes by the type's
// text), at most N of them; the rows' labels are the types as the user reads them.
StatResults LargestTypes(const model::DirInfo& start, bool recurse, int maxItems);

// Runs a plan without a problem; the comparison's queries rank `comparison` of `root` (no rows without).
StatResults RunQuery(const StatsPlan& plan, std::uint32_t clusterSize, const model::DirInfo* root = nullptr,
                     const compare::TreeComparison* comparison = nullptr);

// The key right-aligned in `width` characters, with group commas.
std::string ValueText(std::uint64_t key, int width);
// The rows' "Name" texts in the given order, each ending in CR LF.
std::string SelectionText(const StatResults& results, const std::vector<std::size_t>& rows, bool absolute);
// The folder of a result: a file's path cut after its last backslash; a folder's path as it is.
std::string FolderOfResult(std::string_view path);

}  // namespace info
