// FileTable: records in, folder tree out (see FileTable.h).
#include "scan/ntfs/FileTable.h"

#include "scan/ReparsePoint.h"

#include "scan/ntfs/NtfsReader.h"

#include <algorithm>
#include <limits>
#include <unordered_map>

namespace scan::ntfs {

namespace {
constexpr std::uint32_t kNoRecord = std::numeric_limits<std::uint32_t>::max();
// Attribute lists hold at most 256 KiB; reparse data at most 16 KiB, of which only the tag is needed.
constexpr std::uint64_t kMaxAttributeList = 256 * 1024;
// How many entries the tree building adds between two looks at the control.
constexpr std::uint32_t kEntriesPerCheck = 4096;

bool EqualIgnoringCase(std::u16string_view a, std::u16string_view b, std::span<const std::uint16_t> upcase) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        const char16_t x = a[i], y = b[i];
        if (x == y) continue;
        const std::uint16_t ux = x < upcase.size() ? upcase[x] : x, uy = y < upcase.size() ? upcase[y] : y;
        if (ux != uy) return false;
    }
    return true;
}

// Whether runs decoded from one list (starting at cluster 0) hold `bytes` bytes.
bool Covers(const std::vector<Run>& runs, std::uint64_t bytes, std::uint32_t clusterSize) {
    const std::uint64_t clusters = runs.empty() ? 0 : runs.back().vcn + runs.back().length;
    return clusterSize != 0 && bytes / clusterSize + (bytes % clusterSize != 0) <= clusters;
}
}  // namespace

FileTable::Record& FileTable::At(std::uint32_t number) {
    if (number >= records_.size()) records_.resize(std::size_t{number} + 1);
    return records_[number];
}

void FileTable::AddRecord(std::uint32_t number, std::span<std::uint8_t> bytes) {
    if (number == kNoRecord) return;
    switch (PlaceOf(bytes, number)) {
        case RecordPlace::kNone:
            if (Allocated(number)) untrusted_ = true;
            return;
        case RecordPlace::kOther:
            // Another record where this one should be: the table's runs lead astray. A free record that
            // never had its number written (formatters leave the reserved ones at 0) misleads nobody.
            if (Allocated(number) || (Le16(bytes.data() + 22) & 1) != 0) untrusted_ = true;
            return;
        case RecordPlace::kThis:
            break;
    }
    if (!ApplyFixups(bytes)) return;

    // Gathered while the attributes are walked and kept only when the whole record is sound.
    pendingNames_.clear();
    std::uint32_t siFlags = 0;
    bool hasData = false, hasTag = false, folderNames = false, malformed = false;
    std::uint64_t dataSize = 0;
    std::uint32_t tag = 0;
    std::span<const std::uint8_t> residentList;
    Deferred list{number, kAttributeList, 0, {}}, reparse{number, kReparsePoint, 0, {}};

    RecordHeader header;
    const bool sound = ForEachAttribute(bytes, header, [&](const Attribute& a) {
        switch (a.type) {
            case kStandardInformation:
                if (!a.nonResident && a.value.size() >= 36) siFlags = Le32(a.value.data() + 32);
                break;
            case kFileName: {
                FileName name;
                if (a.nonResident || !ParseFileName(a.value, name)) break;
                if (name.attributes & kNameOfFolder) folderNames = true;
                if (name.nameSpace != kDosName) pendingNames_.push_back({name.parent, name.name});
                break;
            }
            case kData:
                if (!a.name.empty() || hasData) break;
                if (!a.nonResident) {
                    hasData = true;
                    dataSize = a.value.size();
                } else if (a.lowestVcn == 0) {
                    hasData = true;
                    dataSize = a.dataSize;
                }
                break;
            case kReparsePoint:
                // Without its tag a reparse point counts as a link, and a folder's contents would drop out.
                if (!a.nonResident) {
                    hasTag = a.value.size() >= 4;
                    if (hasTag) tag = Le32(a.value.data());
                    else malformed = true;
                } else if (a.lowestVcn == 0) {
                    if (a.dataSize >= 4 && DecodeRunList(a.mappingPairs, 0, totalClusters_, reparse.runs) &&
                        Covers(reparse.runs, 4, clusterSize_))
                        reparse.size = 4;
                    else
                        malformed = true;
                }
                break;
            case kAttributeList:
                // The list says where the rest of the record is; without it names and sizes would be lost.
                if (!a.nonResident)
                    residentList = a.value;
                else if (a.lowestVcn == 0 && a.dataSize <= kMaxAttributeList &&
                         DecodeRunList(a.mappingPairs, 0, totalClusters_, list.runs) &&
                         Covers(list.runs, a.dataSize, clusterSize_))
                    list.size = a.dataSize;
                else
                    malformed = true;
                break;
            default:
                break;
        }
    });
    if (!sound || malformed || !header.inUse) return;
    // Folders have names marked as a folder's and no unnamed data: a record saying otherwise has a
    // damaged flag, and would show a folder as an empty file or a file as an empty folder. (Extension
    // records carry no folder flag of their own.)
    if (header.baseReference == 0 && number >= kFirstUserRecord &&
        ((folderNames && !header.directory) || (header.directory && hasData)))
        return;
    std::vector<AttributeListEntry> entries;
    if (header.baseReference == 0 && !residentList.empty() && !ParseAttributeList(residentList, entries)) return;

    Record& record = At(number);
    record.sequence = header.sequence;
    record.flags = kInUse;
    if (header.directory) record.flags |= kDirectory;
    if (siFlags & kAttributeReparsePoint) record.flags |= kReparseAttribute;
    if (hasData) {
        record.flags |= kHasData;
        record.dataSize = dataSize;
    }
    if (hasTag) {
        record.flags |= kHasReparseTag;
        record.reparseTag = tag;
    }
    if (header.baseReference != 0) {
        record.flags |= kExtension;
        extensions_.push_back({number, header.baseReference});
    } else if (number >= kFirstUserRecord) {
        if (header.directory) {
            ++foldersSeen_;
        } else {
            ++filesSeen_;
            bytesSeen_ += countingClusterSize_ != 0 ? model::AllocatedSize(dataSize, countingClusterSize_) : dataSize;
        }
    }
    if (number == kRootRecord && !pendingNames_.empty()) rootSelf_ = pendingNames_.front().parent;
    for (const PendingName& pending : pendingNames_) {
        const std::size_t length = pending.text.size() / 2;
        names_.push_back({pending.parent, number, static_cast<std::uint32_t>(text_.size()),
                          static_cast<std::uint16_t>(length)});
        for (std::size_t k = 0; k < length; ++k) text_ += static_cast<char16_t>(Le16(pending.text.data() + 2 * k));
    }
    if (header.baseReference == 0) {
        if (!entries.empty()) AddClaims(number, entries);
        if (list.size != 0) deferred_.push_back(std::move(list));
    }
    if (reparse.size != 0) deferred_.push_back(std::move(reparse));
}

void FileTable::AddClaims(std::uint32_t base, std::span<const AttributeListEntry> entries) {
    for (const AttributeListEntry& entry : entries) {
        if (RecordOf(entry.reference) == base) continue;
        const bool needed = entry.type == kFileName || entry.type == kReparsePoint ||
                            (entry.type == kData && !entry.named && entry.lowestVcn == 0);
        claims_.push_back({base, needed, false, entry.reference});
    }
}

void FileTable::Finish(Volume* volume) {
    // Values that live outside the records. One that cannot be read is no damage of its record but of
    // the volume (or the reading): the records already taken would give a tree with holes.
    std::vector<AttributeListEntry> entries;
    for (Deferred& item : deferred_) {
        std::vector<std::uint8_t> bytes(static_cast<std::size_t>(item.size));
        if (!volume || !ReadAttributeBytes(*volume, item.runs, clusterSize_, 0, bytes.data(), bytes.size())) {
            untrusted_ = true;
            break;
        }
        Record& record = records_[item.record];
        if (item.type == kReparsePoint) {
            record.flags |= kHasReparseTag;
            record.reparseTag = Le32(bytes.data());
        } else {
            entries.clear();
            if (ParseAttributeList(bytes, entries))
                AddClaims(item.record, entries);
            else
                record.flags = 0;  // dropped whole, as a malformed resident list drops it
        }
    }
    deferred_.clear();

    // An extension record counts only when its base record is in use and lists it; its attributes then
    // belong to the base record. A base record missing an extension its list names is dropped.
    std::sort(claims_.begin(), claims_.end(), [](const Claim& a, const Claim& b) {
        return RecordOf(a.reference) < RecordOf(b.reference);
    });
    std::unordered_map<std::uint32_t, std::uint32_t> owner;
    for (const Extension& ext : extensions_) {
        std::uint32_t resolved = kNoRecord;
        const std::uint64_t base = RecordOf(ext.base);
        if (base < records_.size() && base != ext.record) {
            const Record& b = records_[base];
            const Record& e = records_[ext.record];
            const bool baseSound = (b.flags & kInUse) && !(b.flags & kExtension) && b.sequence == SequenceOf(ext.base);
            const auto first = std::lower_bound(claims_.begin(), claims_.end(), std::uint64_t{ext.record},
                                                [](const Claim& c, std::uint64_t r) { return RecordOf(c.reference) < r; });
            auto it = first;
            bool claimed = false;
            for (; it != claims_.end() && RecordOf(it->reference) == ext.record; ++it)
                if (it->base == base && SequenceOf(it->reference) == e.sequence) claimed = true;
            if (baseSound && claimed) {
                resolved = static_cast<std::uint32_t>(base);
                for (it = first; it != claims_.end() && RecordOf(it->reference) == ext.record; ++it)
                    if (it->base == base && SequenceOf(it->reference) == e.sequence) it->satisfied = true;
            }
        }
        owner[ext.record] = resolved;
        if (resolved == kNoRecord) continue;
        Record& b = records_[resolved];
        const Record& e = records_[ext.record];
        if ((e.flags & kHasData) && !(b.flags & kHasData)) {
            b.flags |= kHasData;
            b.dataSize = e.dataSize;
        }
        if ((e.flags & kHasReparseTag) && !(b.flags & kHasReparseTag)) {
            b.flags |= kHasReparseTag;
            b.reparseTag = e.reparseTag;
        }
    }
    for (const Claim& claim : claims_)
        if (claim.needed && !claim.satisfied) records_[claim.base].flags = 0;
    if (!owner.empty()) {
        for (Name& name : names_) {
            if (!(records_[name.record].flags & kExtension)) continue;
            const auto it = owner.find(name.record);
            name.record = it == owner.end() ? kNoRecord : it->second;
        }
    }
    extensions_.clear();
    claims_.clear();
}

bool FileTable::RootSound() const {
    if (untrusted_ || kRootRecord >= records_.size()) return false;
    const Record& root = records_[kRootRecord];
    return (root.flags & (kInUse | kDirectory | kExtension)) == (kInUse | kDirectory) &&
           rootSelf_ == (kRootRecord | std::uint64_t{root.sequence} << 48);
}

bool FileTable::IsListedFolder(std::uint64_t reference) const {
    const std::uint64_t number = RecordOf(reference);
    if (number >= records_.size() || (number < kFirstUserRecord && number != kRootRecord)) return false;
    const Record& r = records_[number];
    return (r.flags & (kInUse | kDirectory | kExtension)) == (kInUse | kDirectory) &&
           r.sequence == SequenceOf(reference);
}

bool FileTable::IsNameSurrogateFolder(std::uint32_t number) const {
    // The folder walk's rule, on the record's own flags: the two never disagree about what is a link.
    const Record& r = records_[number];
    return IsLinkReparsePoint((r.flags & kReparseAttribute) ? kAttributeReparsePoint : 0,
                              (r.flags & kHasReparseTag) ? r.reparseTag : 0);
}

void FileTable::IndexChildren() {
    if (indexed_) return;
    indexed_ = true;
    std::vector<std::uint32_t> parentOf(names_.size(), kNoRecord);
    childStart_.assign(records_.size() + 1, 0);
    for (std::size_t i = 0; i < names_.size(); ++i) {
        const Name& name = names_[i];
        if (name.record == kNoRecord || name.record < kFirstUserRecord) continue;
        Record& r = records_[name.record];
        if (!(r.flags & kInUse) || (r.flags & kExtension)) continue;
        if (RecordOf(name.parent) == name.record || !IsListedFolder(name.parent)) continue;
        if (r.flags & kDirectory) {
            if (r.flags & kPlaced) continue;
            r.flags |= kPlaced;
        }
        parentOf[i] = static_cast<std::uint32_t>(RecordOf(name.parent));
        ++childStart_[parentOf[i]];
    }
    ClearPlaced();
    // Counts to start offsets, then fill.
    std::uint32_t total = 0;
    for (std::uint32_t& start : childStart_) {
        const std::uint32_t count = start;
        start = total;
        total += count;
    }
    children_.resize(total);
    std::vector<std::uint32_t> next(childStart_.begin(), childStart_.end() - 1);
    for (std::size_t i = 0; i < names_.size(); ++i)
        if (parentOf[i] != kNoRecord) children_[next[parentOf[i]]++] = static_cast<std::uint32_t>(i);
    sorted_.assign(records_.size(), 0);
}

void FileTable::ClearPlaced() {
    for (Record& r : records_) r.flags &= static_cast<std::uint8_t>(~kPlaced);
}

void FileTable::SortChildren(std::uint32_t folder, std::span<const std::uint16_t> upcase) {
    if (sorted_[folder]) return;
    sorted_[folder] = 1;
    std::sort(children_.begin() + childStart_[folder], children_.begin() + childStart_[folder + 1],
              [&](std::uint32_t a, std::uint32_t b) {
                  return CollateNames(TextOf(names_[a]), TextOf(names_[b]), upcase) < 0;
              });
}

std::int64_t FileTable::FindFolder(std::span<const std::u16string> path, std::span<const std::uint16_t> upcase) {
    IndexChildren();
    // The root's children name it with the sequence its own name gives it: with another, none would match.
    if (!RootSound()) return -1;
    std::uint32_t folder = kRootRecord;
    for (const std::u16string& component : path) {
        std::uint32_t exact = kNoRecord, loose = kNoRecord;
        SortChildren(folder, upcase);  // so that a loose match is the first the index lists
        for (std::uint32_t i = childStart_[folder]; i < childStart_[folder + 1]; ++i) {
            const Name& name = names_[children_[i]];
            const std::u16string_view text = TextOf(name);
            if (text == component) {
                exact = name.record;
                break;
            }
            if (loose == kNoRecord && EqualIgnoringCase(text, component, upcase)) loose = name.record;
        }
        const std::uint32_t found = exact != kNoRecord ? exact : loose;
        if (found == kNoRecord) return -1;
        const Record& r = records_[found];
        if (!(r.flags & kDirectory) || (r.flags & (kReparseAttribute | kHasReparseTag))) return -1;
        folder = found;
    }
    return folder;
}

ReadResult FileTable::BuildTree(std::uint32_t start, std::span<const std::uint16_t> upcase, model::DirInfo& root,
                                ScanCounters& counters, WalkControl& control, std::uint32_t clusterSize) {
    IndexChildren();
    if (!RootSound() || start >= records_.size()) return ReadResult::kUnavailable;
    std::uint32_t files = 0, folders = 0, sinceCheck = 0;
    std::uint64_t bytes = 0;
    auto publish = [&] {
        counters.filesFound.store(files, std::memory_order_relaxed);
        counters.foldersFound.store(folders, std::memory_order_relaxed);
        counters.bytesFound.store(bytes, std::memory_order_relaxed);
    };

    struct Pending {
        model::DirInfo* dir;
        std::uint32_t folder;
    };
    std::vector<Pending> stack{{&root, start}};
    records_[start].flags |= kPlaced;
    std::string utf8;
    while (!stack.empty()) {
        const Pending top = stack.back();
        stack.pop_back();
        SortChildren(top.folder, upcase);
        const std::uint32_t first = childStart_[top.folder], last = childStart_[top.folder + 1];
        // The children's names in UTF-8 first, so that both lists are made at their exact sizes: pointers
        // to the subfolders stay valid while they wait on the stack.
        utf8.clear();
        utf8Ends_.clear();
        std::size_t folderCount = 0, folderBytes = 0, fileBytes = 0;
        for (std::uint32_t i = first; i < last; ++i) {
            const Name& name = names_[children_[i]];
            const std::size_t begin = utf8.size();
            AppendUtf8(TextOf(name), utf8);
            utf8Ends_.push_back(utf8.size());
            const std::size_t stored = model::Name::StoredSize(utf8.size() - begin);
            if (records_[name.record].flags & kDirectory) {
                ++folderCount;
                folderBytes += stored;
            } else {
                fileBytes += stored;
            }
        }
        top.dir->subdirs.reserve(folderCount, folderBytes);
        top.dir->files.reserve(last - first - folderCount, fileBytes);
        for (std::uint32_t i = first; i < last; ++i) {
            const Name& name = names_[children_[i]];
            Record& r = records_[name.record];
            const std::size_t begin = i == first ? 0 : utf8Ends_[i - first - 1];
            const std::string_view text = std::string_view(utf8).substr(begin, utf8Ends_[i - first] - begin);
            if (r.flags & kDirectory) {
                ++folders;
                model::DirInfo& sub = top.dir->subdirs.emplace_back(text);
                if (!(r.flags & kPlaced) && !IsNameSurrogateFolder(name.record)) {
                    r.flags |= kPlaced;
                    stack.push_back({&sub, name.record});
                }
            } else {
                ++files;
                const std::uint64_t size = (r.flags & kHasData) ? r.dataSize : 0;
                bytes += clusterSize != 0 ? model::AllocatedSize(size, clusterSize) : size;
                top.dir->files.emplace_back(text, size, 0);
            }
            if (++sinceCheck == kEntriesPerCheck) {
                sinceCheck = 0;
                publish();
                control.PausePoint();
                if (control.StopRequested()) {
                    ClearPlaced();
                    return ReadResult::kStopped;
                }
            }
        }
    }
    ClearPlaced();
    model::RecomputeTotals(root, 0);  // the logical totals the walk fills, allocated ones left at 0
    publish();
    return ReadResult::kComplete;
}

}  // namespace scan::ntfs
