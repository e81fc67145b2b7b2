// The volume-level part of the file-table reader (see NtfsReader.h).
#include "scan/ntfs/NtfsReader.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace scan::ntfs {

namespace {

// Bytes of the file table read at once: large enough for sequential speed, small enough to stay
// responsive to pause and cancel.
constexpr std::size_t kChunkBytes = 4u << 20;
constexpr std::uint64_t kUpCaseBytes = 65536 * 2;

bool Multiply(std::uint64_t a, std::uint64_t b, std::uint64_t& product) {
    if (b != 0 && a > std::numeric_limits<std::uint64_t>::max() / b) return false;
    product = a * b;
    return true;
}

// The unnamed $DATA of one record: its runs (with their first virtual cluster) and, from the extent that
// starts at cluster 0, its size; plus the attribute list entries, when the record has a resident list.
struct DataExtents {
    std::vector<Run> runs;
    bool sized = false;
    std::uint64_t dataSize = 0;
    bool resident = false;
    std::vector<std::uint8_t> residentValue;
    bool hasList = false;
    std::vector<AttributeListEntry> list;
    std::vector<Run> listRuns;
    std::uint64_t listSize = 0;
};

bool ReadDataExtents(std::span<std::uint8_t> record, std::uint64_t totalClusters, DataExtents& out) {
    if (!ApplyFixups(record)) return false;
    RecordHeader header;
    bool runsSound = true;
    std::vector<Run> runs;
    const bool sound = ForEachAttribute(record, header, [&](const Attribute& a) {
        if (a.type == kAttributeList) {
            out.hasList = true;
            if (!a.nonResident)
                ParseAttributeList(a.value, out.list);
            else if (a.lowestVcn == 0 && DecodeRunList(a.mappingPairs, 0, totalClusters, out.listRuns))
                out.listSize = a.dataSize;
            else
                runsSound = false;
        }
        if (a.type != kData || !a.name.empty()) return;
        if (!a.nonResident) {
            out.resident = true;
            out.residentValue.assign(a.value.begin(), a.value.end());
            out.sized = true;
            out.dataSize = a.value.size();
            return;
        }
        if (!DecodeRunList(a.mappingPairs, a.lowestVcn, totalClusters, runs)) {
            runsSound = false;
            return;
        }
        out.runs.insert(out.runs.end(), runs.begin(), runs.end());
        if (a.lowestVcn == 0) {
            out.sized = true;
            out.dataSize = a.dataSize;
        }
    });
    return sound && runsSound && header.inUse;
}

// Runs sorted by virtual cluster, starting at 0, without gaps or overlaps.
bool SortContiguous(std::vector<Run>& runs) {
    std::sort(runs.begin(), runs.end(), [](const Run& a, const Run& b) { return a.vcn < b.vcn; });
    std::uint64_t next = 0;
    for (const Run& run : runs) {
        if (run.vcn != next) return false;
        next += run.length;
    }
    return true;
}

std::uint64_t CoveredClusters(const std::vector<Run>& runs) {
    return runs.empty() ? 0 : runs.back().vcn + runs.back().length;
}

// The file table's own runs and size, from record 0 and, for a table fragmented enough to need an
// attribute list, the extension records that hold the rest of its runs.
bool ReadTableRuns(Volume& volume, const BootSector& boot, std::uint64_t totalClusters, std::vector<Run>& runs,
                   std::uint64_t& tableSize) {
    std::vector<std::uint8_t> record(boot.recordSize);
    std::uint64_t offset = 0;
    if (!Multiply(boot.mftCluster, boot.clusterSize, offset) || !volume.Read(offset, record.data(), record.size()))
        return false;
    DataExtents base;
    if (!ReadDataExtents(record, totalClusters, base) || !base.sized || base.resident) return false;
    runs = base.runs;
    tableSize = base.dataSize;
    if (!base.hasList) return SortContiguous(runs);

    std::vector<AttributeListEntry> list = base.list;
    if (base.listSize != 0) {
        if (base.listSize > 256 * 1024) return false;
        std::vector<std::uint8_t> bytes(static_cast<std::size_t>(base.listSize));
        if (!ReadAttributeBytes(volume, base.listRuns, boot.clusterSize, 0, bytes.data(), bytes.size())) return false;
        ParseAttributeList(bytes, list);
    }
    std::sort(list.begin(), list.end(),
              [](const AttributeListEntry& a, const AttributeListEntry& b) { return a.lowestVcn < b.lowestVcn; });
    for (const AttributeListEntry& entry : list) {
        if (entry.type != kData || entry.named || RecordOf(entry.reference) == kMftRecord) continue;
        // Each extension record must lie in the part of the table already mapped.
        if (!SortContiguous(runs)) return false;
        std::uint64_t at = 0;
        if (!Multiply(RecordOf(entry.reference), boot.recordSize, at)) return false;
        if (!ReadAttributeBytes(volume, runs, boot.clusterSize, at, record.data(), record.size())) return false;
        DataExtents extension;
        if (!ReadDataExtents(record, totalClusters, extension)) return false;
        runs.insert(runs.end(), extension.runs.begin(), extension.runs.end());
    }
    return SortContiguous(runs);
}

// The volume's up-case table (record 10): 65536 code units, or fewer, the rest mapping to themselves.
bool ReadUpCase(Volume& volume, const BootSector& boot, std::uint64_t totalClusters, const std::vector<Run>& table,
                std::vector<std::uint16_t>& upcase) {
    std::vector<std::uint8_t> record(boot.recordSize);
    if (!ReadAttributeBytes(volume, table, boot.clusterSize, std::uint64_t{kUpCaseRecord} * boot.recordSize,
                            record.data(), record.size()))
        return false;
    DataExtents data;
    if (!ReadDataExtents(record, totalClusters, data) || !data.sized || data.dataSize > kUpCaseBytes ||
        data.dataSize % 2 != 0)
        return false;
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(data.dataSize));
    if (data.resident) {
        bytes = data.residentValue;
    } else if (!SortContiguous(data.runs) ||
               !ReadAttributeBytes(volume, data.runs, boot.clusterSize, 0, bytes.data(), bytes.size())) {
        return false;
    }
    upcase.resize(bytes.size() / 2);
    for (std::size_t i = 0; i < upcase.size(); ++i) upcase[i] = Le16(bytes.data() + 2 * i);
    return true;
}

}  // namespace

bool ReadAttributeBytes(Volume& volume, std::span<const Run> runs, std::uint32_t clusterSize, std::uint64_t offset,
                        std::uint8_t* out, std::size_t length) {
    if (clusterSize == 0) return false;
    std::size_t done = 0;
    while (done < length) {
        const std::uint64_t position = offset + done;
        if (position < offset) return false;
        const std::uint64_t vcn = position / clusterSize;
        const auto run = std::upper_bound(runs.begin(), runs.end(), vcn,
                                          [](std::uint64_t v, const Run& r) { return v < r.vcn; });
        if (run == runs.begin()) return false;
        const Run& r = *(run - 1);
        if (vcn - r.vcn >= r.length) return false;
        std::uint64_t runStart = 0, runBytes = 0;
        if (!Multiply(r.vcn, clusterSize, runStart) || !Multiply(r.length, clusterSize, runBytes)) return false;
        const std::uint64_t within = position - runStart;
        const std::size_t count = static_cast<std::size_t>(std::min<std::uint64_t>(runBytes - within, length - done));
        if (r.sparse) {
            std::memset(out + done, 0, count);
        } else {
            std::uint64_t at = 0;
            if (!Multiply(r.lcn, clusterSize, at) || !volume.Read(at + within, out + done, count)) return false;
        }
        done += count;
    }
    return true;
}

bool SplitRelativePath(std::string_view path, std::vector<std::u16string>& components) {
    components.clear();
    std::size_t start = 0;
    while (start <= path.size()) {
        std::size_t end = path.find_first_of("\\/", start);
        if (end == std::string_view::npos) end = path.size();
        const std::string_view part = path.substr(start, end - start);
        if (part == "." || part == "..") return false;
        if (!part.empty()) components.push_back(Utf8ToUtf16(part));
        start = end + 1;
    }
    return true;
}

ReadResult ReadVolume(Volume& volume, std::span<const std::u16string> path, model::DirInfo& root,
                      ScanCounters& counters, WalkControl& control, std::uint32_t clusterSize) {
    std::uint8_t sector[512];
    BootSector boot;
    if (!volume.Read(0, sector, sizeof sector) || !ParseBootSector(sector, boot)) return ReadResult::kUnavailable;
    // Clusters past the end of what can be read count as damage in every run list.
    const std::uint64_t totalClusters = std::min(boot.totalClusters, volume.Size() / boot.clusterSize);

    std::vector<Run> tableRuns;
    std::uint64_t tableSize = 0;
    std::uint64_t mapped = 0;
    if (!ReadTableRuns(volume, boot, totalClusters, tableRuns, tableSize) ||
        !Multiply(CoveredClusters(tableRuns), boot.clusterSize, mapped) || tableSize > mapped)
        return ReadResult::kUnavailable;
    for (const Run& run : tableRuns)
        if (run.sparse) return ReadResult::kUnavailable;
    const std::uint64_t recordCount = tableSize / boot.recordSize;
    if (recordCount <= kFirstUserRecord || recordCount > std::numeric_limits<std::uint32_t>::max())
        return ReadResult::kUnavailable;

    std::vector<std::uint16_t> upcase;
    if (!ReadUpCase(volume, boot, totalClusters, tableRuns, upcase)) return ReadResult::kUnavailable;

    FileTable table(boot.clusterSize, totalClusters, clusterSize);
    const std::size_t perChunk = std::max<std::size_t>(1, kChunkBytes / boot.recordSize);
    std::vector<std::uint8_t> chunk(perChunk * boot.recordSize);
    for (std::uint64_t first = 0; first < recordCount; first += perChunk) {
        const std::size_t count = static_cast<std::size_t>(std::min<std::uint64_t>(perChunk, recordCount - first));
        if (!ReadAttributeBytes(volume, tableRuns, boot.clusterSize, first * boot.recordSize, chunk.data(),
                                count * boot.recordSize))
            return ReadResult::kUnavailable;
        for (std::size_t i = 0; i < count; ++i)
            table.AddRecord(static_cast<std::uint32_t>(first + i),
                            std::span<std::uint8_t>(chunk.data() + i * boot.recordSize, boot.recordSize));
        counters.filesFound.store(table.FilesSeen(), std::memory_order_relaxed);
        counters.foldersFound.store(table.FoldersSeen(), std::memory_order_relaxed);
        counters.bytesFound.store(table.BytesSeen(), std::memory_order_relaxed);
        control.PausePoint();
        if (control.StopRequested()) return ReadResult::kStopped;
    }
    table.Finish(&volume);

    const std::int64_t start = table.FindFolder(path, upcase);
    if (start < 0) return ReadResult::kUnavailable;
    return table.BuildTree(static_cast<std::uint32_t>(start), upcase, root, counters, control, clusterSize);
}

}  // namespace scan::ntfs
