// The file table of one NTFS volume gathered record by record, and the folder tree built from it.
//
// Calling protocol: construct over the volume's geometry; ExpectInUse once if the table's allocation bitmap
// is known; AddRecord for every record of the file table in any order (each number at most once); Finish
// once (reads what lies outside the records: non-resident attribute lists and reparse data); then FindFolder
// and BuildTree as often as needed. Single-threaded.
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
// extension record that is not there) is dropped whole, with what lies below it; the rest is kept. The table as a whole is not trusted, and the tree is
// unavailable, when positions do not hold their own records (an in-use record, or a position the bitmap
// has in use, holding another record's number or no record at all: the table's runs are wrong), when the
// root folder does not name itself with its own sequence number (nothing below it would match), or when a
// value outside the records cannot be read (read errors, a volume cut short).
#pragma once

#include "model/DirInfo.h"
#include "scan/Walk.h"
#include "scan/ntfs/NtfsFormat.h"
#include "scan/ntfs/Volume.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace scan::ntfs {

enum class ReadResult {
    kComplete,     // the tree is the whole folder
    kStopped,      // stopped on request; the tree is partial
    kUnavailable,  // the volume cannot be read this way (or is inconsistent): walk the folders instead
};

class FileTable {
public:
    // `countingClusterSize` rounds the sizes added to BytesSeen (0: logical sizes), as the walk's counter.
    FileTable(std::uint32_t clusterSize, std::uint64_t totalClusters, std::uint32_t countingClusterSize = 0) noexcept
        : clusterSize_(clusterSize), totalClusters_(totalClusters), countingClusterSize_(countingClusterSize) {}

    // Positions the table's allocation bitmap has in use: bit n % 8 of byte n / 8 for record n.
    void ExpectInUse(std::vector<std::uint8_t> bitmap) { inUse_ = std::move(bitmap); }
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
    // a reparse point (whose target lies elsewhere), or when the table is untrusted or its root unsound.
    std::int64_t FindFolder(std::span<const std::u16string> path, std::span<const std::uint16_t> upcase);

    // Fills `root` (named by the caller, expected empty) with the tree below folder `start`, children
    // sorted as the folder index lists them, logical totals as the folder walk leaves them. Counters are
    // set to the walk's values for this tree. kStopped when the control asked to stop; kUnavailable when the
    // table is untrusted or its root unsound.
    ReadResult BuildTree(std::uint32_t start, std::span<const std::uint16_t> upcase, model::DirInfo& root,
                         ScanCounters& counters, WalkControl& control, std::uint32_t clusterSize);

private:
    enum Flag : std::uint8_t {
        kInUse = 1,
        kDirectory = 2,
        kHasData = 4,
        kReparseAttribute = 8,  // $STANDARD_INFORMATION says reparse point
        kHasReparseTag = 16,
        kExtension = 32,
        kPlaced = 64,  // a folder already given a place in the tree (or a name)
    };
    struct Record {
        std::uint64_t dataSize = 0;
        std::uint32_t reparseTag = 0;
        std::uint16_t sequence = 0;
        std::uint8_t flags = 0;
    };
    struct Name {
        std::uint64_t parent;
        std::uint32_t record;
        std::uint32_t text;  // offset into text_
        std::uint16_t length;
    };
    struct Extension {  // an extension record and the base record it names
        std::uint32_t record;
        std::uint64_t base;
    };
    struct Claim {  // an attribute-list entry: base record `base` keeps attributes in `reference`
        std::uint32_t base;
        bool needed;     // an attribute the tree is made of: without it the base record is incomplete
        bool satisfied;  // `reference` turned out to be an extension record of `base`
        std::uint64_t reference;
    };
    struct PendingName {  // a name of the record being added, kept once the record proves sound
        std::uint64_t parent;
        std::span<const std::uint8_t> text;
    };
    struct Deferred {  // a non-resident attribute list or reparse value, read in Finish
        std::uint32_t record;
        std::uint32_t type;
        std::uint64_t size;
        std::vector<Run> runs;
    };

    Record& At(std::uint32_t number);
    bool Allocated(std::uint32_t number) const {
        return number / 8 < inUse_.size() && (inUse_[number / 8] >> (number % 8) & 1) != 0;
    }
    void AddClaims(std::uint32_t base, std::span<const AttributeListEntry> entries);
    bool RootSound() const;
    bool IsListedFolder(std::uint64_t reference) const;
    bool IsNameSurrogateFolder(std::uint32_t record) const;
    std::u16string_view TextOf(const Name& name) const {
        return {text_.data() + name.text, name.length};
    }
    void IndexChildren();
    void SortChildren(std::uint32_t folder, std::span<const std::uint16_t> upcase);
    void ClearPlaced();

    std::uint32_t clusterSize_;
    std::uint64_t totalClusters_;
    std::uint32_t countingClusterSize_;
    std::vector<Record> records_;
    std::vector<Name> names_;
    std::u16string text_;
    std::vector<Extension> extensions_;
    std::vector<Claim> claims_;
    std::vector<Deferred> deferred_;
    std::vector<PendingName> pendingNames_;
    std::vector<std::uint8_t> inUse_;
    bool untrusted_ = false;
    std::uint64_t rootSelf_ = 0;  // the parent its name gives the root folder: itself
    std::uint32_t foldersSeen_ = 0, filesSeen_ = 0;
    std::uint64_t bytesSeen_ = 0;

    // Children of each folder as indexes into names_, built by IndexChildren.
    std::vector<std::uint32_t> childStart_;
    std::vector<std::uint32_t> children_;
    std::vector<std::uint8_t> sorted_;
    bool indexed_ = false;
    // BuildTree's scratch: where each child's UTF-8 name ends in its buffer.
    std::vector<std::size_t> utf8Ends_;
};

}  // namespace scan::ntfs
