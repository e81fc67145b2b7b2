// The on-disk structures of an NTFS volume that the file-table reader needs, decoded from untrusted bytes:
// the boot sector, the update-sequence fix-ups of a file record, data run lists, the attributes of one
// record and attribute-list entries; plus the name collation of folder indexes and UTF-16 to UTF-8.
//
// Every function here is pure and bounds-checked: it reads only inside the span it is given, allocates at
// most in proportion to that span, and reports malformed input by returning false or an empty result.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace scan::ntfs {

// Record numbers of the metadata files that the reader consults by number.
inline constexpr std::uint32_t kMftRecord = 0;
inline constexpr std::uint32_t kRootRecord = 5;
inline constexpr std::uint32_t kUpCaseRecord = 10;
// Records below this number are the volume's own metadata: a folder listing never shows them (nor what
// lies below $Extend, record 11), whatever folder their names sit in.
inline constexpr std::uint32_t kFirstUserRecord = 16;

// Fix-up strides are this many bytes whatever the sector size.
inline constexpr std::size_t kFixupStride = 512;

enum AttributeType : std::uint32_t {
    kStandardInformation = 0x10,
    kAttributeList = 0x20,
    kFileName = 0x30,
    kData = 0x80,
    kBitmap = 0xB0,
    kReparsePoint = 0xC0,
    kEndOfAttributes = 0xFFFFFFFF,
};

enum NameSpace : std::uint8_t { kPosixName = 0, kWin32Name = 1, kDosName = 2, kWin32AndDosName = 3 };

// The bit of a $FILE_NAME's attributes copied from its record's folder flag.
inline constexpr std::uint32_t kNameOfFolder = 0x10000000;

// A file reference: a 48-bit record number and the record's 16-bit sequence number.
inline constexpr std::uint64_t RecordOf(std::uint64_t reference) { return reference & 0xFFFFFFFFFFFFull; }
inline constexpr std::uint16_t SequenceOf(std::uint64_t reference) {
    return static_cast<std::uint16_t>(reference >> 48);
}

struct BootSector {
    std::uint32_t bytesPerSector = 0;
    std::uint32_t clusterSize = 0;
    std::uint64_t totalClusters = 0;
    std::uint64_t mftCluster = 0;
    std::uint32_t recordSize = 0;
};

// The geometry of a boot sector (at least 512 bytes). False unless it is an NTFS boot sector whose sizes
// are powers of two in range (sectors 256..4096 bytes, clusters up to 2 MiB, records 512..64 KiB and a
// whole number of fix-up strides) and whose file table starts inside the volume.
bool ParseBootSector(std::span<const std::uint8_t> sector, BootSector& boot);

// Checks the update sequence of a record or index block ("FILE"/"INDX" header at its start) and puts the
// saved words back in place. False (record unusable) when the array lies outside the header, its size does
// not match the record, or a stride does not end in the sequence value.
bool ApplyFixups(std::span<std::uint8_t> record);

struct Run {
    std::uint64_t vcn = 0;     // first virtual cluster of the run within the attribute
    std::uint64_t lcn = 0;     // first cluster on the volume; meaningless when sparse
    std::uint64_t length = 0;  // clusters
    bool sparse = false;
};

// Whether bytes read at position `number` of the file table hold that record: kNone when they are no file
// record at all (no "FILE" header, nor the "BAAD" the system puts on one it found torn), kOther when the
// record stores another number (records with the update sequence at 0x30 or later store their own, at
// 0x2C). Reads the first 48 bytes only, so it works before and whatever the fix-ups.
enum class RecordPlace { kNone, kThis, kOther };
RecordPlace PlaceOf(std::span<const std::uint8_t> record, std::uint32_t number);

// Decodes a mapping-pairs array starting at virtual cluster `firstVcn`. Stops at the terminating zero
// byte. False on a malformed pair (field sizes above 8, a zero length, cluster numbers that wrap or run
// past `totalClusters`); `runs` then holds nothing useful.
bool DecodeRunList(std::span<const std::uint8_t> bytes, std::uint64_t firstVcn, std::uint64_t totalClusters,
                   std::vector<Run>& runs);

// One attribute of a record, as located by the record walk. Offsets are into the record.
struct Attribute {
    std::uint32_t type = 0;
    bool nonResident = false;
    std::uint16_t flags = 0;
    std::span<const std::uint8_t> name;   // UTF-16LE bytes
    std::span<const std::uint8_t> value;  // resident value
    // Non-resident only; the sizes are those of the extent that starts at cluster 0, where the data size
    // never exceeds the allocated one.
    std::uint64_t lowestVcn = 0;
    std::uint64_t allocatedSize = 0;
    std::uint64_t dataSize = 0;
    std::span<const std::uint8_t> mappingPairs;
};

struct FileName {
    std::uint64_t parent = 0;
    std::uint32_t attributes = 0;
    std::uint8_t nameSpace = 0;
    std::span<const std::uint8_t> name;  // UTF-16LE bytes, at least one character
};

// A $FILE_NAME value; false when too short for the name it declares.
bool ParseFileName(std::span<const std::uint8_t> value, FileName& name);

struct RecordHeader {
    std::uint16_t sequence = 0;
    bool inUse = false;
    bool directory = false;
    std::uint64_t baseReference = 0;  // 0 for a base record
};

// Walks the attributes of a record whose fix-ups are applied, calling `visit(const Attribute&)` for each.
// False when the header or any attribute header is malformed (lengths past the bytes in use, overlapping
// fields, no end marker); the caller then drops the whole record, including attributes already visited.
template <class Visit>
bool ForEachAttribute(std::span<const std::uint8_t> record, RecordHeader& header, Visit&& visit);

struct AttributeListEntry {
    std::uint32_t type = 0;
    std::uint64_t lowestVcn = 0;
    std::uint64_t reference = 0;  // the record holding the attribute
    bool named = false;
};

// Decodes the entries of an $ATTRIBUTE_LIST value, stopping at the first malformed entry (the entries
// before it are kept). False when it stopped early.
bool ParseAttributeList(std::span<const std::uint8_t> value, std::vector<AttributeListEntry>& entries);

// Folder index order: names compared code unit by code unit after mapping through the volume's up-case
// table (units past its end map to themselves), a shorter name first when one is a prefix of the other,
// and names equal that way ordered by their own code units. Negative, zero or positive like strcmp.
int CollateNames(std::u16string_view a, std::u16string_view b, std::span<const std::uint16_t> upcase);

// UTF-8 of a UTF-16 name; unpaired surrogates become U+FFFD, as the system's own conversion does.
void AppendUtf8(std::u16string_view text, std::string& out);
std::u16string Utf8ToUtf16(std::string_view text);
// The same UTF-8 into `out` (replaced), from UTF-16 units or from UTF-16LE bytes (an odd last byte is
// ignored). False when an unpaired surrogate became U+FFFD: the UTF-8 then no longer gives the name back.
bool Utf16ToUtf8(std::u16string_view text, std::string& out);
bool Utf16LeToUtf8(std::span<const std::uint8_t> bytes, std::string& out);

// The UTF-16 units of a name kept as UTF-8 (as the functions above make it), one at a time, or the
// name's own units where that UTF-8 lost some: lets names be collated without converting them back.
class NameUnits {
public:
    explicit NameUnits(std::string_view utf8, const std::u16string* original = nullptr) noexcept
        : p_(reinterpret_cast<const std::uint8_t*>(utf8.data())), end_(p_ + utf8.size()), original_(original) {}

    // False past the end. A sequence cut short (never made above) reads as one U+FFFD.
    bool Next(char16_t& unit) noexcept {
        if (original_) {
            if (at_ == original_->size()) return false;
            unit = (*original_)[at_++];
            return true;
        }
        if (low_ != 0) {
            unit = low_;
            low_ = 0;
            return true;
        }
        if (p_ == end_) return false;
        const std::uint8_t lead = *p_;
        if (lead < 0x80) {
            unit = lead;
            ++p_;
            return true;
        }
        return NextLong(unit);
    }

private:
    bool NextLong(char16_t& unit) noexcept;

    const std::uint8_t* p_;
    const std::uint8_t* end_;
    const std::u16string* original_;
    std::size_t at_ = 0;
    char16_t low_ = 0;
};

// CollateNames on names given as units; whether a name equals `b` unit for unit, and whether it does after
// the up-case table.
int CollateNames(NameUnits a, NameUnits b, std::span<const std::uint16_t> upcase);
bool SameName(NameUnits a, std::u16string_view b);
bool SameNameIgnoringCase(NameUnits a, std::u16string_view b, std::span<const std::uint16_t> upcase);

// Little-endian field access inside a span (the caller checks the bounds).
inline std::uint16_t Le16(const std::uint8_t* p) { return static_cast<std::uint16_t>(p[0] | p[1] << 8); }
inline std::uint32_t Le32(const std::uint8_t* p) {
    return std::uint32_t{p[0]} | std::uint32_t{p[1]} << 8 | std::uint32_t{p[2]} << 16 | std::uint32_t{p[3]} << 24;
}
inline std::uint64_t Le64(const std::uint8_t* p) { return Le32(p) | std::uint64_t{Le32(p + 4)} << 32; }

// Inline: it runs once per record of the table.
inline RecordPlace PlaceOf(std::span<const std::uint8_t> record, std::uint32_t number) {
    if (record.size() < 48) return RecordPlace::kNone;
    const std::uint8_t* p = record.data();
    const std::uint32_t magic = Le32(p);
    if (magic != 0x454C4946 && magic != 0x44414142) return RecordPlace::kNone;  // "FILE", "BAAD"
    if (Le16(p + 4) < 0x30) return RecordPlace::kThis;  // an older record, which stores no number
    return Le32(p + 44) == number ? RecordPlace::kThis : RecordPlace::kOther;
}

// Implementation of ForEachAttribute, kept here because it is a template.
bool ReadRecordHeader(std::span<const std::uint8_t> record, RecordHeader& header, std::size_t& firstAttribute,
                      std::size_t& bytesInUse);
bool ReadAttribute(std::span<const std::uint8_t> record, std::size_t offset, std::size_t bytesInUse,
                   Attribute& attribute, std::size_t& length);

template <class Visit>
bool ForEachAttribute(std::span<const std::uint8_t> record, RecordHeader& header, Visit&& visit) {
    std::size_t offset = 0, bytesInUse = 0;
    if (!ReadRecordHeader(record, header, offset, bytesInUse)) return false;
    while (offset + 4 <= bytesInUse) {
        if (Le32(record.data() + offset) == kEndOfAttributes) return true;
        Attribute attribute;
        std::size_t length = 0;
        if (!ReadAttribute(record, offset, bytesInUse, attribute, length)) return false;
        visit(static_cast<const Attribute&>(attribute));
        offset += length;
    }
    return false;
}

}  // namespace scan::ntfs
