// FileTable: records in, folder tree out (see FileTable.h).
#include "scan/ntfs/FileTable.h"

#include "scan/ReparsePoint.h"

#include "scan/ntfs/NtfsReader.h"

#include <algorithm>
#include <limits>
#include <type_traits>
#include <utility>

namespace scan::ntfs {

namespace {
constexpr std::uint32_t kNoRecord = std::numeric_limits<std::uint32_t>::max();
// Attribute lists hold at most 256 KiB; reparse data at most 16 KiB, of which only the tag is needed.
constexpr std::uint64_t kMaxAttributeList = 256 * 1024;
// How many entries the tree building takes between two looks at the control.
constexpr std::uint32_t kEntriesPerCheck = 4096;

// Whether runs decoded from one list (starting at cluster 0) hold `bytes` bytes.
bool Covers(const std::vector<Run>& runs, std::uint64_t bytes, std::uint32_t clusterSize) {
    const std::uint64_t clusters = runs.empty() ? 0 : runs.back().vcn + runs.back().length;
    return clusterSize != 0 && bytes / clusterSize + (bytes % clusterSize != 0) <= clusters;
}

// The block size a list being gathered takes for at least `bytes`: one of six sizes per doubling
// (... 88, 96, 112, 128, ... 192, 224, 256, ...). A block a list outgrows is then just what another list
// growing through the same size asks for, so heaps keep few odd free blocks to search through. (Wine's
// heap took 25 s instead of 2 to read a million files with blocks of any size; eight sizes per doubling
// took 4 s, and four cost more memory.)
std::size_t BlockClass(std::size_t bytes) {
    std::size_t step = 8;
    while (bytes > 12 * step) step *= 2;
    return (bytes + step - 1) / step * step;
}

// Makes room in a list being gathered for one more record whose name takes `stored` bytes. Lists grow by
// about an eighth, not double: at the end of the reading every list holds its slack at once, and that
// slack is most of what the reading costs above the tree itself. Room left in the block goes to names.
template <class T>
void MakeRoom(model::RecordList<T>& list, std::size_t nameBytes, std::size_t stored) {
    const std::size_t count = list.size() + 1, names = nameBytes + stored;
    if (count <= list.capacity() && names <= list.name_capacity()) return;
    const std::size_t records = std::max(list.capacity(), count + count / 8);
    const std::size_t least =
        model::RecordList<T>::kHeaderSize + records * sizeof(T) + std::max(list.name_capacity(), names + names / 8);
    list.reserve(records, BlockClass(least) - model::RecordList<T>::kHeaderSize - records * sizeof(T));
}

std::int32_t AsKey(std::uint32_t record) { return static_cast<std::int32_t>(record); }
std::uint32_t RecordIn(std::int32_t key) { return static_cast<std::uint32_t>(key); }
}  // namespace

void FileTable::ExpectInUse(std::vector<std::uint8_t> bitmap) {
    inUse_ = std::move(bitmap);
    remembered_.reserve(inUse_.size() * 8);
}

void FileTable::Remember(std::uint32_t number, std::uint16_t sequence, std::uint16_t flags) {
    Record& record = records_.Insert(number);
    record.sequence = sequence;
    record.flags = flags;
    if (number >= remembered_.size()) remembered_.resize(std::size_t{number} + 1);
    remembered_[number] = true;
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
    case RecordPlace::kThis: break;
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
                if (hasTag)
                    tag = Le32(a.value.data());
                else
                    malformed = true;
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
        default: break;
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

    const bool base = header.baseReference == 0;
    std::uint16_t flags = kInUse;
    if (header.directory) flags |= kDirectory;
    if (siFlags & kAttributeReparsePoint) flags |= kReparseAttribute;
    if (hasData) flags |= kHasData;
    if (hasTag) {
        flags |= kHasReparseTag;
        tags_[number] = tag;
    }
    if (!base) {
        flags |= kExtension;
        extensions_.push_back({number, header.baseReference, dataSize, tag});
    } else if (number >= kFirstUserRecord) {
        if (header.directory) {
            ++foldersSeen_;
        } else {
            ++filesSeen_;
            bytesSeen_ += countingClusterSize_ != 0 ? model::AllocatedSize(dataSize, countingClusterSize_) : dataSize;
        }
    }
    // Its size for the names extension records may hold (see Finish).
    if (base && (!residentList.empty() || list.size != 0)) {
        flags |= kListed;
        sizes_[number] = dataSize;
    }
    const bool many = header.directory && pendingNames_.size() > 1;
    if (many) flags |= kManyNames;
    // A plain file is all in its entries: nothing found later can change them.
    bool remembered = header.directory || !base || (flags & (kListed | kHasReparseTag | kReparseAttribute)) ||
                      reparse.size != 0 || number < kFirstUserRecord;
    if (remembered) Remember(number, header.sequence, flags);
    if (number == kRootRecord && !pendingNames_.empty()) rootSelf_ = pendingNames_.front().parent;
    if (!untrusted_) {
        for (const PendingName& pending : pendingNames_) {
            const std::uint32_t order = nameOrder_++;
            if (!base) {
                std::u16string text(pending.text.size() / 2, u'\0');
                for (std::size_t k = 0; k < text.size(); ++k)
                    text[k] = static_cast<char16_t>(Le16(pending.text.data() + 2 * k));
                extensionNames_.push_back({pending.parent, number, order, std::move(text)});
                continue;
            }
            if (number < kFirstUserRecord) continue;
            if (!Utf16LeToUtf8(pending.text, utf8_)) {
                if (!remembered) Remember(number, header.sequence, flags);
                remembered = true;
                records_.Find(number)->flags |= kLossyName;
                std::u16string text(pending.text.size() / 2, u'\0');
                for (std::size_t k = 0; k < text.size(); ++k)
                    text[k] = static_cast<char16_t>(Le16(pending.text.data() + 2 * k));
                lossy_.push_back({pending.parent, number, std::move(text)});
            }
            Place(pending.parent, number, utf8_, header.directory, dataSize);
            if (header.directory && (flags & (kManyNames | kListed)))
                folderNames_.push_back({pending.parent, number, order});
        }
    }
    if (base) {
        if (!entries.empty()) AddClaims(number, entries);
        if (list.size != 0) deferred_.push_back(std::move(list));
    }
    if (reparse.size != 0) deferred_.push_back(std::move(reparse));
}

void FileTable::Place(std::uint64_t parent, std::uint32_t number, std::string_view text, bool directory,
                      std::uint64_t size) {
    // Names that can never be entries need no room: a record its own parent, parents past any table, and
    // metadata folders other than the root.
    const std::uint64_t parentNumber = RecordOf(parent);
    if (parentNumber == number || parentNumber >= kNoRecord ||
        (parentNumber < kFirstUserRecord && parentNumber != kRootRecord))
        return;
    Folder& folder = folders_[FolderFor(parent)];
    const std::size_t stored = model::Name::StoredSize(text.size());
    if (directory) {
        MakeRoom(folder.subdirs, folder.dirNameBytes, stored);
        folder.subdirs.emplace_back(text).sortKey = AsKey(number);
        folder.dirNameBytes += static_cast<std::uint32_t>(stored);
    } else {
        MakeRoom(folder.files, folder.fileNameBytes, stored);
        folder.files.emplace_back(text, size, AsKey(number));
        folder.fileNameBytes += static_cast<std::uint32_t>(stored);
    }
}

std::uint32_t FileTable::FolderFor(std::uint64_t parent) {
    Record& record = records_.Insert(static_cast<std::uint32_t>(RecordOf(parent)));
    if (record.folder != kNoFolder && folders_[record.folder].parent == parent) return record.folder;
    const auto index = static_cast<std::uint32_t>(folders_.size());
    if (record.folder == kNoFolder) {
        record.folder = index;
    } else {
        // Another sequence of a record already named as a parent: kept aside.
        const auto [it, added] = otherFolders_.emplace(parent, index);
        if (!added) return it->second;
    }
    folders_.push_back(Folder{parent, {}, {}});
    return index;
}

std::uint32_t FileTable::FolderOfRecord(std::uint32_t number) const {
    const Record* record = records_.Find(number);
    if (!record || record->folder == kNoFolder) return kNoFolder;
    const std::uint64_t reference = number | std::uint64_t{record->sequence} << 48;
    if (folders_[record->folder].parent == reference) return record->folder;
    const auto it = otherFolders_.find(reference);
    return it == otherFolders_.end() ? kNoFolder : it->second;
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
        Record& record = *records_.Find(item.record);  // remembered: it has a value elsewhere
        if (item.type == kReparsePoint) {
            record.flags |= kHasReparseTag;
            tags_[item.record] = Le32(bytes.data());
        } else {
            entries.clear();
            if (ParseAttributeList(bytes, entries))
                AddClaims(item.record, entries);
            else
                record.flags = 0;  // dropped whole, as a malformed resident list drops it
        }
    }
    deferred_.clear();
    deferred_.shrink_to_fit();

    // An extension record counts only when its base record is in use and lists it; its attributes then
    // belong to the base record. A base record missing an extension its list names is dropped.
    std::sort(claims_.begin(), claims_.end(),
              [](const Claim& a, const Claim& b) { return RecordOf(a.reference) < RecordOf(b.reference); });
    std::unordered_map<std::uint32_t, std::uint32_t> owner;
    for (const Extension& ext : extensions_) {
        std::uint32_t resolved = kNoRecord;
        const std::uint64_t base = RecordOf(ext.base);
        const Record* b = base < kNoRecord ? records_.Find(static_cast<std::uint32_t>(base)) : nullptr;
        const Record* e = records_.Find(ext.record);
        if (b && base != ext.record) {
            const bool baseSound =
                (b->flags & kInUse) && !(b->flags & kExtension) && b->sequence == SequenceOf(ext.base);
            const auto first =
                std::lower_bound(claims_.begin(), claims_.end(), std::uint64_t{ext.record},
                                 [](const Claim& c, std::uint64_t r) { return RecordOf(c.reference) < r; });
            auto it = first;
            bool claimed = false;
            for (; it != claims_.end() && RecordOf(it->reference) == ext.record; ++it)
                if (it->base == base && SequenceOf(it->reference) == e->sequence) claimed = true;
            if (baseSound && claimed) {
                resolved = static_cast<std::uint32_t>(base);
                for (it = first; it != claims_.end() && RecordOf(it->reference) == ext.record; ++it)
                    if (it->base == base && SequenceOf(it->reference) == e->sequence) it->satisfied = true;
            }
        }
        owner[ext.record] = resolved;
        if (resolved == kNoRecord) continue;
        Record& into = *records_.Find(resolved);
        if ((e->flags & kHasData) && !(into.flags & kHasData)) {
            into.flags |= kHasData | kSizeElsewhere;
            sizes_[resolved] = ext.dataSize;
        }
        if ((e->flags & kHasReparseTag) && !(into.flags & kHasReparseTag)) {
            into.flags |= kHasReparseTag;
            tags_[resolved] = ext.reparseTag;
        }
    }
    for (const Claim& claim : claims_)
        if (claim.needed && !claim.satisfied) records_.Find(claim.base)->flags = 0;

    // Names in extension records belong to their base record, whose kind and size are known only now.
    bool folderNamesAdded = false;
    std::string text;
    for (const ExtensionName& name : extensionNames_) {
        const auto it = owner.find(name.record);
        if (it == owner.end() || it->second == kNoRecord || it->second < kFirstUserRecord) continue;
        const std::uint32_t number = it->second;
        const std::uint16_t flags = FlagsOf(number);
        if (!(flags & kInUse)) continue;
        if (!Utf16ToUtf8(name.text, text)) {
            records_.Find(number)->flags |= kLossyName;
            lossy_.push_back({name.parent, number, name.text});
        }
        const bool directory = (flags & kDirectory) != 0;
        Place(name.parent, number, text, directory, (flags & kHasData) ? sizes_[number] : 0);
        if (directory) {
            // Its own names are in folderNames_ already: it has an attribute list.
            records_.Find(number)->flags |= kManyNames;
            folderNames_.push_back({name.parent, number, name.order});
            folderNamesAdded = true;
        }
    }
    if (folderNamesAdded)
        std::stable_sort(folderNames_.begin(), folderNames_.end(),
                         [](const FolderName& a, const FolderName& b) { return a.order < b.order; });
    extensionNames_ = {};
    extensions_ = {};
    claims_ = {};
}

bool FileTable::RootSound() const {
    if (untrusted_) return false;
    const Record* root = records_.Find(kRootRecord);
    return root && (root->flags & (kInUse | kDirectory | kExtension)) == (kInUse | kDirectory) &&
           rootSelf_ == (kRootRecord | std::uint64_t{root->sequence} << 48);
}

bool FileTable::IsListedFolder(std::uint64_t reference) const {
    const std::uint64_t number = RecordOf(reference);
    if (number >= kNoRecord || (number < kFirstUserRecord && number != kRootRecord)) return false;
    const Record* r = records_.Find(static_cast<std::uint32_t>(number));
    return r && (r->flags & (kInUse | kDirectory | kExtension)) == (kInUse | kDirectory) &&
           r->sequence == SequenceOf(reference);
}

bool FileTable::IsNameSurrogateFolder(std::uint32_t number) const {
    // The folder walk's rule, on the record's own flags: the two never disagree about what is a link.
    const std::uint16_t flags = FlagsOf(number);
    std::uint32_t tag = 0;
    if (flags & kHasReparseTag) {
        const auto it = tags_.find(number);
        if (it != tags_.end()) tag = it->second;
    }
    return IsLinkReparsePoint((flags & kReparseAttribute) ? kAttributeReparsePoint : 0, tag);
}

bool FileTable::Enterable(std::uint32_t record) const {
    return !(FlagsOf(record) & kPlaced) && !IsNameSurrogateFolder(record);
}

void FileTable::ChooseFolderNames() {
    // A folder keeps the first of its names (in table order) whose parent is a listed folder.
    if (chosen_) return;
    chosen_ = true;
    for (const FolderName& name : folderNames_) {
        const std::uint16_t flags = FlagsOf(name.record);
        if (!(flags & kManyNames) || (flags & (kInUse | kDirectory | kExtension)) != (kInUse | kDirectory) ||
            chosenParent_.count(name.record) != 0)
            continue;
        if (RecordOf(name.parent) != name.record && IsListedFolder(name.parent))
            chosenParent_.emplace(name.record, name.parent);
    }
    folderNames_ = {};
}

const std::u16string* FileTable::OriginalOf(std::uint64_t parent, std::uint32_t record, std::string_view utf8) const {
    if (!(FlagsOf(record) & kLossyName)) return nullptr;
    std::string text;
    for (const LossyName& name : lossy_) {
        if (name.record != record || name.parent != parent) continue;
        text.clear();
        AppendUtf8(name.text, text);
        if (text == utf8) return &name.text;
    }
    return nullptr;
}

void FileTable::Prepare(Folder& folder, std::span<const std::uint16_t> upcase) {
    if (folder.prepared) return;
    folder.prepared = true;
    if (!IsListedFolder(folder.parent)) {
        folder.files = {};
        folder.subdirs = {};
        return;
    }
    // Keeps the entries of records that stayed sound, in index order, in lists of their exact size.
    auto rebuild = [&](auto& list, auto keep, auto append) {
        using List = std::remove_reference_t<decltype(list)>;
        order_.clear();
        std::vector<const std::u16string*> originals;
        for (std::uint32_t i = 0; i < list.size(); ++i) {
            const std::uint32_t record = RecordIn(list[i].sortKey);
            if (!keep(record)) continue;
            if (Remembered(record) && (FlagsOf(record) & kLossyName)) {
                originals.resize(list.size(), nullptr);
                originals[i] = OriginalOf(folder.parent, record, list[i].name);
            }
            order_.push_back(i);
        }
        auto units = [&](std::uint32_t i) {
            return NameUnits(list[i].name, originals.empty() ? nullptr : originals[i]);
        };
        auto before = [&](std::uint32_t a, std::uint32_t b) { return CollateNames(units(a), units(b), upcase) < 0; };
        if (!std::is_sorted(order_.begin(), order_.end(), before)) std::sort(order_.begin(), order_.end(), before);
        std::size_t bytes = 0;
        for (const std::uint32_t i : order_) bytes += model::Name::StoredSize(list[i].name.size());
        List sorted;
        sorted.reserve(order_.size(), bytes);
        for (const std::uint32_t i : order_) append(sorted, list[i]);
        list.swap(sorted);
    };
    rebuild(
        folder.files,
        [&](std::uint32_t record) {
            return !Remembered(record) || (FlagsOf(record) & (kInUse | kDirectory | kExtension)) == kInUse;
        },
        [&](model::RecordList<model::FileInfo>& to, const model::FileInfo& file) {
            const std::uint32_t record = RecordIn(file.sortKey);
            const bool elsewhere = Remembered(record) && (FlagsOf(record) & kSizeElsewhere);
            to.emplace_back(file.name, elsewhere ? sizes_[record] : file.size, file.sortKey);
        });
    rebuild(
        folder.subdirs,
        [&](std::uint32_t record) {
            const std::uint16_t flags = FlagsOf(record);
            if ((flags & (kInUse | kDirectory | kExtension)) != (kInUse | kDirectory)) return false;
            if (!(flags & kManyNames)) return true;
            // Only the chosen name, once.
            const auto it = chosenParent_.find(record);
            if (it == chosenParent_.end() || it->second != folder.parent) return false;
            chosenParent_.erase(it);
            return true;
        },
        [](model::RecordList<model::DirInfo>& to, const model::DirInfo& dir) {
            to.emplace_back(dir.name).sortKey = dir.sortKey;
        });
    folder.fileNameBytes = folder.dirNameBytes = 0;
}

void FileTable::ClearPlaced() {
    records_.ForEach([](Record& r) { r.flags &= static_cast<std::uint16_t>(~kPlaced); });
}
std::int64_t FileTable::FindFolder(std::span<const std::u16string> path, std::span<const std::uint16_t> upcase) {
    // The root's children name it with the sequence its own name gives it: with another, none would match.
    if (!Usable()) return -1;
    ChooseFolderNames();
    std::uint32_t folder = kRootRecord;
    for (const std::u16string& component : path) {
        const std::uint32_t index = FolderOfRecord(folder);
        if (index == kNoFolder) return -1;
        Folder& f = folders_[index];
        Prepare(f, upcase);
        // As the index would be searched: an exact match, else the first in index order that differs in
        // case only; a file found that way ends the path.
        struct Match {
            std::string_view name;
            std::uint32_t record = kNoRecord;
            const std::u16string* original = nullptr;
        };
        Match exactDir, looseDir, exactFile, looseFile;
        auto search = [&](const auto& list, Match& exact, Match& loose) {
            for (const auto& entry : list) {
                const std::uint32_t record = RecordIn(entry.sortKey);
                const std::u16string* original = OriginalOf(f.parent, record, entry.name);
                if (SameName(NameUnits(entry.name, original), component)) {
                    exact = {entry.name, record, original};
                    return;
                }
                if (loose.record == kNoRecord &&
                    SameNameIgnoringCase(NameUnits(entry.name, original), component, upcase))
                    loose = {entry.name, record, original};
            }
        };
        search(f.subdirs, exactDir, looseDir);
        search(f.files, exactFile, looseFile);
        std::uint32_t found = kNoRecord;
        if (exactDir.record != kNoRecord)
            found = exactDir.record;
        else if (exactFile.record != kNoRecord)
            return -1;
        else if (looseDir.record != kNoRecord &&
                 (looseFile.record == kNoRecord ||
                  CollateNames(NameUnits(looseDir.name, looseDir.original),
                               NameUnits(looseFile.name, looseFile.original), upcase) <= 0))
            found = looseDir.record;
        if (found == kNoRecord) return -1;
        const std::uint16_t flags = FlagsOf(found);
        if (!(flags & kDirectory) || (flags & (kReparseAttribute | kHasReparseTag))) return -1;
        folder = found;
    }
    return folder;
}

ReadResult FileTable::BuildTree(std::uint32_t start, std::span<const std::uint16_t> upcase, model::DirInfo& root,
                                ScanCounters& counters, WalkControl& control, std::uint32_t clusterSize) {
    if (!Usable() || !records_.Find(start)) return ReadResult::kUnavailable;
    ChooseFolderNames();
    std::uint32_t files = 0, folders = 0, sinceCheck = 0;
    std::uint64_t bytes = 0;
    auto publish = [&] {
        counters.filesFound.store(files, std::memory_order_relaxed);
        counters.foldersFound.store(folders, std::memory_order_relaxed);
        counters.bytesFound.store(bytes, std::memory_order_relaxed);
    };
    auto stopHere = [&] {
        if (++sinceCheck < kEntriesPerCheck) return false;
        sinceCheck = 0;
        publish();
        control.PausePoint();
        return control.StopRequested();
    };

    // First every folder the tree reaches is prepared and counted; a stop leaves them all in the table.
    std::vector<std::uint32_t> pending;
    records_.Find(start)->flags |= kPlaced;
    if (const std::uint32_t first = FolderOfRecord(start); first != kNoFolder) pending.push_back(first);
    while (!pending.empty()) {
        Folder& folder = folders_[pending.back()];
        pending.pop_back();
        Prepare(folder, upcase);
        for (const model::FileInfo& file : folder.files) {
            ++files;
            bytes += clusterSize != 0 ? model::AllocatedSize(file.size, clusterSize) : file.size;
            if (stopHere()) {
                ClearPlaced();
                return ReadResult::kStopped;
            }
        }
        for (const model::DirInfo& dir : folder.subdirs) {
            ++folders;
            const std::uint32_t record = RecordIn(dir.sortKey);
            if (Enterable(record)) {
                records_.Find(record)->flags |= kPlaced;
                if (const std::uint32_t sub = FolderOfRecord(record); sub != kNoFolder) pending.push_back(sub);
            }
            if (stopHere()) {
                ClearPlaced();
                return ReadResult::kStopped;
            }
        }
    }

    // Then their lists move into the tree, the same folders in the same way.
    ClearPlaced();
    auto take = [&](model::DirInfo& dir, std::uint32_t record) {
        records_.Find(record)->flags |= kPlaced;
        const std::uint32_t index = FolderOfRecord(record);
        if (index == kNoFolder) return false;
        dir.files = std::move(folders_[index].files);
        dir.subdirs = std::move(folders_[index].subdirs);
        for (model::FileInfo& file : dir.files) file.sortKey = 0;
        return true;
    };
    std::vector<model::DirInfo*> stack;
    if (take(root, start)) stack.push_back(&root);
    while (!stack.empty()) {
        model::DirInfo* dir = stack.back();
        stack.pop_back();
        for (model::DirInfo& sub : dir->subdirs) {
            const std::uint32_t record = RecordIn(std::exchange(sub.sortKey, 0));
            if (Enterable(record) && take(sub, record)) stack.push_back(&sub);
        }
    }
    ClearPlaced();
    spent_ = true;
    model::RecomputeTotals(root, 0);  // the logical totals the walk fills, allocated ones left at 0
    publish();
    return ReadResult::kComplete;
}

}  // namespace scan::ntfs
