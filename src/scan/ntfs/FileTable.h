// The file table of one NTFS volume gathered record by record, and the folder tree built from it.
//
// Calling protocol: construct over the volume's geometry; ExpectInUse once if the table's allocation bitmap
// is known; AddRecord for every record of the file table in any order (each number at most once); Finish
// once (reads what lies outside the records: non-resident attribute lists and reparse data); then FindFolder
// as often as needed, and BuildTree until it completes: a complete tree takes the table's folder lists
// over, so the table is spent after it (FindFolder finds nothing, BuildTree gives kUnavailable).
// Single-threaded.
//
// Memory: a tree of millions of entries should not need several times its own size to be read. Names go
// straight into the lists the tree will hold, one pair of lists per parent folder named, in their final
// UTF-8 form, as records arrive, sizes and record numbers riding in the entries. Only records that matter
// beyond their names are remembered (folders, records named as parents, metadata, extension records and
// those with an attribute list, a reparse point or a name UTF-8 cannot keep): a plain file costs its entry
// and a bit. BuildTree then checks, sorts and compacts the lists of the folders it reaches, one folder at
// a time, and moves them into the tree; a stop on the way leaves `root` empty and the table as it was.
//
// What becomes an entry: every name that is not a DOS-only name, of an in-use record that is no metadata
// file, in a folder that is in use and a folder, with a matching sequence number. A folder keeps only its
// first name (folders cannot be hard-linked, so a second one is damage). Parent chains are never followed
// upwards: the tree grows from the start folder down, each folder placed once, so cycles and folders that
// never reach the root are left out.
//
// Damage is judged at two levels. A record that is this position's own but torn or malformed (bad fix-ups,
// attributes past their bounds, a folder flag its names or an unnamed data stream contradict, a size above
// its allocation, a reparse point without a tag, an attribute list that cannot be decoded or names an
// extension record that is not there) is dropped whole, with what lies below it; the rest is kept. The table as a whole
// is not trusted, and the tree is unavailable, when positions do not hold their own records (an in-use record, or a
// position the bitmap has in use, holding another record's number or no record at all: the table's runs are wrong),
// when the root folder does not name itself with its own sequence number (nothing below it would match), or when a
// value outside the records cannot be read (read errors, a volume cut short).
#pragma once

#include "model/DirInfo.h"
#include "scan/Walk.h"
#include "scan/ntfs/NtfsFormat.h"
#include "scan/ntfs/RecordIndex.h"
#include "scan/ntfs/Volume.h"

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace scan::ntfs {

enum class ReadResult {
    kComplete,     // the tree is the whole folder
    kStopped,      // stopped on request; the tree is partial (possibly empty)
    kUnavailable,  // the volume cannot be read this way (or is inconsistent): walk the folders instead
};

class FileTable {
public:
    // `countingClusterSize` rounds the sizes added to BytesSeen (0: logical sizes), as the walk's counter.
    FileTable(std::uint32_t clusterSize, std::uint64_t totalClusters, std::uint32_t countingClusterSize = 0) noexcept
        : clusterSize_(clusterSize), totalClusters_(totalClusters), countingClusterSize_(countingClusterSize) {}

    // Positions the table's allocation bitmap has in use: bit n % 8 of byte n / 8 for record n.
    void ExpectInUse(std::vector<std::uint8_t> bitmap);
    // Takes record `number` (raw, fix-ups not applied; the bytes are changed in place).
    void AddRecord(std::uint32_t number, std::span<std::uint8_t> bytes);
    // `volume` null: nothing outside the records can be read.
    void Finish(Volume* volume);
    // True once the table is known not to describe the volume: FindFolder finds nothing, BuildTree gives
    // kUnavailable. May turn true during AddRecord, so a reader can stop early.
    bool Untrusted() const noexcept { return untrusted_; }

    // Records taken so far that are in use and base records, split into folders and files (for progress).
    std::uint32_t FoldersSeen() const noexcept { return foldersSeen_; }
    std::uint32_t FilesSeen() const noexcept { return filesSeen_; }
    std::uint64_t BytesSeen() const noexcept { return bytesSeen_; }

    // The folder reached from the root folder along `path` (names compared as a folder index does; an
    // exact match wins over one that differs in case), or -1 when a component is missing, not a folder, or
    // a reparse point (whose target lies elsewhere), or when the table is untrusted, spent or its root unsound.
    std::int64_t FindFolder(std::span<const std::u16string> path, std::span<const std::uint16_t> upcase);

    // Fills `root` (named by the caller, expected empty) with the tree below folder `start`, children
    // sorted as the folder index lists them, logical totals as the folder walk leaves them. Counters are
    // set to the walk's values for this tree. kStopped when the control asked to stop (`root` is then left
    // empty and the table can build again); kUnavailable when the table is untrusted, spent or its root
    // unsound, or `start` is no folder or parent it took.
    ReadResult BuildTree(std::uint32_t start, std::span<const std::uint16_t> upcase, model::DirInfo& root,
                         ScanCounters& counters, WalkControl& control, std::uint32_t clusterSize);

private:
    enum Flag : std::uint16_t {
        kInUse = 1,
        kDirectory = 2,
        kHasData = 4,
        kReparseAttribute = 8,  // $STANDARD_INFORMATION says reparse point
        kHasReparseTag = 16,
        kExtension = 32,
        kPlaced = 64,          // a folder already given a place in the tree
        kSizeElsewhere = 128,  // its size came from an extension record: see sizes_
        kManyNames = 256,      // a folder with more than one name: see chosenParent_
        kLossyName = 512,      // a name with unpaired surrogates, which UTF-8 cannot keep: see lossy_
        kListed = 1024,        // has an attribute list: its size is kept in sizes_
    };
    using Record = RecordIndex::Entry;
    // The entries named in one parent folder, in the lists the tree will hold. While the table is read the
    // lists grow with modest slack and hold names of every kind of record; a record's number rides in
    // the entry's sortKey until the lists move into the tree.
    struct Folder {
        std::uint64_t parent;  // the reference the names give: record and sequence
        model::RecordList<model::FileInfo> files;
        model::RecordList<model::DirInfo> subdirs;
        std::uint32_t fileNameBytes = 0, dirNameBytes = 0;  // stored name bytes in use
        bool prepared = false;
    };
    struct Extension {  // an extension record, the base record it names, and what it holds for it
        std::uint32_t record;
        std::uint64_t base;
        std::uint64_t dataSize;
        std::uint32_t reparseTag;
    };
    struct Claim {  // an attribute-list entry: base record `base` keeps attributes in `reference`
        std::uint32_t base;
        bool needed;  // names, unnamed data or reparse data: without them the record reads wrong
        bool satisfied;
        std::uint64_t reference;
    };
    struct PendingName {
        std::uint64_t parent;
        std::span<const std::uint8_t> text;
    };
    struct ExtensionName {  // a name held by an extension record, placed once its base is known
        std::uint64_t parent;
        std::uint32_t record;
        std::uint32_t order;
        std::u16string text;
    };
    struct FolderName {  // a name of a folder that may have several (see kManyNames), in table order
        std::uint64_t parent;
        std::uint32_t record;
        std::uint32_t order;
    };
    struct LossyName {
        std::uint64_t parent;
        std::uint32_t record;
        std::u16string text;
    };
    struct Deferred {  // a non-resident attribute list or reparse value, read in Finish
        std::uint32_t record;
        std::uint32_t type;
        std::uint64_t size;
        std::vector<Run> runs;
    };
    static constexpr std::uint32_t kNoFolder = RecordIndex::kNone;

    // Whether record `number` was taken and remembered: only then can its entries have become invalid.
    bool Remembered(std::uint32_t number) const { return number < remembered_.size() && remembered_[number]; }
    bool Allocated(std::uint32_t number) const {
        return number / 8 < inUse_.size() && (inUse_[number / 8] >> (number % 8) & 1) != 0;
    }
    std::uint16_t FlagsOf(std::uint32_t number) const {
        const Record* r = records_.Find(number);
        return r ? r->flags : 0;
    }
    void Remember(std::uint32_t number, std::uint16_t sequence, std::uint16_t flags);
    void AddClaims(std::uint32_t base, std::span<const AttributeListEntry> entries);
    // Adds a name of record `number` to the lists of folder `parent` (kind and size as given).
    void Place(std::uint64_t parent, std::uint32_t number, std::string_view text, bool directory, std::uint64_t size);
    std::uint32_t FolderFor(std::uint64_t parent);
    std::uint32_t FolderOfRecord(std::uint32_t record) const;
    bool RootSound() const;
    bool Usable() const { return !spent_ && RootSound(); }
    bool IsListedFolder(std::uint64_t reference) const;
    bool IsNameSurrogateFolder(std::uint32_t record) const;
    bool Enterable(std::uint32_t record) const;
    // The UTF-16 name that `utf8` stands for where UTF-8 lost some of it (see kLossyName), else null.
    const std::u16string* OriginalOf(std::uint64_t parent, std::uint32_t record, std::string_view utf8) const;
    void ChooseFolderNames();
    void Prepare(Folder& folder, std::span<const std::uint16_t> upcase);
    void ClearPlaced();

    std::uint32_t clusterSize_;
    std::uint64_t totalClusters_;
    std::uint32_t countingClusterSize_;
    RecordIndex records_;
    std::vector<bool> remembered_;  // by record number: see Remembered
    std::vector<Folder> folders_;
    std::unordered_map<std::uint64_t, std::uint32_t> otherFolders_;  // parents named with another sequence
    std::unordered_map<std::uint32_t, std::uint64_t> sizes_;         // see kSizeElsewhere, kListed
    std::unordered_map<std::uint32_t, std::uint32_t> tags_;          // reparse tags
    std::unordered_map<std::uint32_t, std::uint64_t> chosenParent_;  // see kManyNames
    std::vector<FolderName> folderNames_;
    std::vector<ExtensionName> extensionNames_;
    std::vector<LossyName> lossy_;
    std::vector<Extension> extensions_;
    std::vector<Claim> claims_;
    std::vector<Deferred> deferred_;
    std::vector<PendingName> pendingNames_;
    std::vector<std::uint8_t> inUse_;
    std::string utf8_;                  // scratch of AddRecord
    std::vector<std::uint32_t> order_;  // scratch of Prepare
    bool untrusted_ = false;
    bool chosen_ = false;
    bool spent_ = false;
    std::uint64_t rootSelf_ = 0;  // the parent its name gives the root folder: itself
    std::uint32_t foldersSeen_ = 0, filesSeen_ = 0;
    std::uint32_t nameOrder_ = 0;
    std::uint64_t bytesSeen_ = 0;
};

}  // namespace scan::ntfs
