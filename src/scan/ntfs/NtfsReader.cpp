// The volume-level part of the file-table reader (see NtfsReader.h).
#include "scan/ntfs/NtfsReader.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace scan::ntfs {

namespace {

// Bytes of the file table read at once: large enough for sequential speed, small enough to stay
// responsive to pause and cancel and to add little to the reading's peak memory.
constexpr std::size_t kChunkBytes = 1u << 20;
constexpr std::uint64_t kUpCaseBytes = 65536 * 2;

bool Multiply(std::uint64_t a, std::uint64_t b, std::uint64_t& product) {
    if (b != 0 && a > std::numeric_limits<std::uint64_t>::max() / b) return false;
    product = a * b;
    return true;
}

// One unnamed stream of a record ($DATA or $BITMAP): its runs (with their first virtual cluster), its
// sizes from the extent that starts at cluster 0, or its value when resident.
struct Stream {
    std::vector<Run> runs;
    bool sized = false;
    std::uint64_t size = 0;
    bool resident = false;
    std::vector<std::uint8_t> value;
};

// The unnamed $DATA and $BITMAP of one record, plus its attribute list: the entries when resident, else
// where the list lies.
struct DataExtents {
    Stream data, bitmap;
    bool hasList = false;
    std::vector<AttributeListEntry> list;
    std::vector<Run> listRuns;
    std::uint64_t listSize = 0;
};

// False unless the bytes are record `number` itself, sound and in use.
bool ReadDataExtents(std::span<std::uint8_t> record, std::uint64_t number, std::uint64_t totalClusters,
                     DataExtents& out) {
    if (PlaceOf(record, static_cast<std::uint32_t>(number)) != RecordPlace::kThis || !ApplyFixups(record)) return false;
    RecordHeader header;
    bool runsSound = true;
    std::vector<Run> runs;
    const bool sound = ForEachAttribute(record, header, [&](const Attribute& a) {
        if (a.type == kAttributeList) {
            out.hasList = true;
            if (!a.nonResident)
                runsSound = ParseAttributeList(a.value, out.list) && runsSound;
            else if (a.lowestVcn == 0 && DecodeRunList(a.mappingPairs, 0, totalClusters, out.listRuns))
                out.listSize = a.dataSize;
            else
                runsSound = false;
        }
        if ((a.type != kData && a.type != kBitmap) || !a.name.empty()) return;
        Stream& stream = a.type == kData ? out.data : out.bitmap;
        if (!a.nonResident) {
            stream.resident = true;
            stream.value.assign(a.value.begin(), a.value.end());
            stream.sized = true;
            stream.size = a.value.size();
            return;
        }
        if (!DecodeRunList(a.mappingPairs, a.lowestVcn, totalClusters, runs)) {
            runsSound = false;
            return;
        }
        stream.runs.insert(stream.runs.end(), runs.begin(), runs.end());
        if (a.lowestVcn == 0) {
            stream.sized = true;
            stream.size = a.dataSize;
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

// The file table's own data and allocation bitmap, from record 0 and, for a table fragmented enough to
// need an attribute list, the extension records that hold the rest of their runs.
bool ReadTableStreams(Volume& volume, const BootSector& boot, std::uint64_t totalClusters, Stream& data,
                      Stream& bitmap) {
    std::vector<std::uint8_t> record(boot.recordSize);
    std::uint64_t offset = 0;
    if (!Multiply(boot.mftCluster, boot.clusterSize, offset) || !volume.Read(offset, record.data(), record.size()))
        return false;
    DataExtents base;
    if (!ReadDataExtents(record, kMftRecord, totalClusters, base) || !base.data.sized || base.data.resident)
        return false;
    data = std::move(base.data);
    bitmap = std::move(base.bitmap);
    if (!base.hasList) return SortContiguous(data.runs);

    std::vector<AttributeListEntry> list = base.list;
    if (base.listSize != 0) {
        if (base.listSize > 256 * 1024) return false;
        std::vector<std::uint8_t> bytes(static_cast<std::size_t>(base.listSize));
        if (!ReadAttributeBytes(volume, base.listRuns, boot.clusterSize, 0, bytes.data(), bytes.size()) ||
            !ParseAttributeList(bytes, list))
            return false;
    }
    std::sort(list.begin(), list.end(),
              [](const AttributeListEntry& a, const AttributeListEntry& b) { return a.lowestVcn < b.lowestVcn; });
    std::vector<std::uint64_t> read{kMftRecord};  // each extension record once, whatever it holds
    for (const AttributeListEntry& entry : list) {
        const std::uint64_t number = RecordOf(entry.reference);
        if ((entry.type != kData && entry.type != kBitmap) || entry.named ||
            std::find(read.begin(), read.end(), number) != read.end())
            continue;
        read.push_back(number);
        // Each extension record must lie in the part of the table already mapped.
        if (!SortContiguous(data.runs)) return false;
        std::uint64_t at = 0;
        if (!Multiply(number, boot.recordSize, at)) return false;
        if (!ReadAttributeBytes(volume, data.runs, boot.clusterSize, at, record.data(), record.size())) return false;
        DataExtents extension;
        if (!ReadDataExtents(record, number, totalClusters, extension)) return false;
        for (Stream* stream : {&data, &bitmap}) {
            Stream& more = stream == &data ? extension.data : extension.bitmap;
            stream->runs.insert(stream->runs.end(), more.runs.begin(), more.runs.end());
            if (more.sized && !stream->sized) {
                stream->sized = true;
                stream->size = more.size;
                stream->resident = more.resident;
                stream->value = std::move(more.value);
            }
        }
    }
    return !data.resident && SortContiguous(data.runs);
}

// The table's allocation bitmap for its first `records` records (a shorter bitmap leaves the rest free).
bool ReadTableBitmap(Volume& volume, const BootSector& boot, Stream& bitmap, std::uint64_t records,
                     std::vector<std::uint8_t>& bits) {
    if (!bitmap.sized) return false;
    const std::uint64_t wanted = std::min(bitmap.size, records / 8 + 1);
    if (bitmap.resident) {
        bits.assign(bitmap.value.begin(), bitmap.value.begin() + static_cast<std::ptrdiff_t>(wanted));
        return true;
    }
    bits.resize(static_cast<std::size_t>(wanted));
    return SortContiguous(bitmap.runs) &&
           ReadAttributeBytes(volume, bitmap.runs, boot.clusterSize, 0, bits.data(), bits.size());
}

// The volume's up-case table (record 10): 65536 code units, or fewer, the rest mapping to themselves.
bool ReadUpCase(Volume& volume, const BootSector& boot, std::uint64_t totalClusters, const std::vector<Run>& table,
                std::vector<std::uint16_t>& upcase) {
    std::vector<std::uint8_t> record(boot.recordSize);
    if (!ReadAttributeBytes(volume, table, boot.clusterSize, std::uint64_t{kUpCaseRecord} * boot.recordSize,
                            record.data(), record.size()))
        return false;
    DataExtents extents;
    Stream& data = extents.data;
    if (!ReadDataExtents(record, kUpCaseRecord, totalClusters, extents) || !data.sized || data.size > kUpCaseBytes ||
        data.size % 2 != 0)
        return false;
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(data.size));
    if (data.resident) {
        bytes = data.value;
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
        const auto run =
            std::upper_bound(runs.begin(), runs.end(), vcn, [](std::uint64_t v, const Run& r) { return v < r.vcn; });
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

    Stream table, bitmap;
    std::uint64_t mapped = 0;
    if (!ReadTableStreams(volume, boot, totalClusters, table, bitmap) ||
        !Multiply(CoveredClusters(table.runs), boot.clusterSize, mapped) || table.size > mapped)
        return ReadResult::kUnavailable;
    const std::vector<Run>& tableRuns = table.runs;
    for (const Run& run : tableRuns)
        if (run.sparse) return ReadResult::kUnavailable;
    const std::uint64_t recordCount = table.size / boot.recordSize;
    if (recordCount <= kFirstUserRecord || recordCount > std::numeric_limits<std::uint32_t>::max())
        return ReadResult::kUnavailable;

    std::vector<std::uint16_t> upcase;
    std::vector<std::uint8_t> inUse;
    if (!ReadUpCase(volume, boot, totalClusters, tableRuns, upcase) ||
        !ReadTableBitmap(volume, boot, bitmap, recordCount, inUse))
        return ReadResult::kUnavailable;

    // Runs of the records' own values are checked against the volume's stated size, not the readable one:
    // a value past the readable end is a read failure (the table is then untrusted), not a damaged record.
    FileTable records(boot.clusterSize, boot.totalClusters, clusterSize);
    records.ExpectInUse(std::move(inUse));
    const std::size_t perChunk = std::max<std::size_t>(1, kChunkBytes / boot.recordSize);
    std::vector<std::uint8_t> chunk(perChunk * boot.recordSize);
    for (std::uint64_t first = 0; first < recordCount; first += perChunk) {
        const std::size_t count = static_cast<std::size_t>(std::min<std::uint64_t>(perChunk, recordCount - first));
        if (!ReadAttributeBytes(volume, tableRuns, boot.clusterSize, first * boot.recordSize, chunk.data(),
                                count * boot.recordSize))
            return ReadResult::kUnavailable;
        for (std::size_t i = 0; i < count; ++i)
            records.AddRecord(static_cast<std::uint32_t>(first + i),
                              std::span<std::uint8_t>(chunk.data() + i * boot.recordSize, boot.recordSize));
        if (records.Untrusted()) return ReadResult::kUnavailable;
        counters.filesFound.store(records.FilesSeen(), std::memory_order_relaxed);
        counters.foldersFound.store(records.FoldersSeen(), std::memory_order_relaxed);
        counters.bytesFound.store(records.BytesSeen(), std::memory_order_relaxed);
        control.PausePoint();
        if (control.StopRequested()) return ReadResult::kStopped;
    }
    records.Finish(&volume);

    const std::int64_t start = records.FindFolder(path, upcase);
    if (start < 0) return ReadResult::kUnavailable;
    return records.BuildTree(static_cast<std::uint32_t>(start), upcase, root, counters, control, clusterSize);
}

}  // namespace scan::ntfs
