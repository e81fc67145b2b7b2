// Decoding of NTFS structures from untrusted bytes (see NtfsFormat.h). All arithmetic on offsets and
// lengths is done in 64 bits after each field has been checked against the span it came from.
#include "scan/ntfs/NtfsFormat.h"

#include <algorithm>
#include <cstring>

namespace scan::ntfs {

namespace {
bool IsPowerOfTwo(std::uint64_t value) { return value != 0 && (value & (value - 1)) == 0; }
}  // namespace

bool ParseBootSector(std::span<const std::uint8_t> sector, BootSector& boot) {
    if (sector.size() < 512) return false;
    const std::uint8_t* p = sector.data();
    if (std::memcmp(p + 3, "NTFS    ", 8) != 0 || p[510] != 0x55 || p[511] != 0xAA) return false;

    const std::uint32_t bytesPerSector = Le16(p + 11);
    if (!IsPowerOfTwo(bytesPerSector) || bytesPerSector < 256 || bytesPerSector > 4096) return false;
    // Above 0x80 the byte is a negative power of two, for clusters of more than 128 sectors.
    const std::uint8_t spcCode = p[13];
    std::uint64_t sectorsPerCluster = 0;
    if (spcCode <= 0x80)
        sectorsPerCluster = spcCode;
    else if (256 - spcCode <= 24)
        sectorsPerCluster = std::uint64_t{1} << (256 - spcCode);
    if (!IsPowerOfTwo(sectorsPerCluster)) return false;
    const std::uint64_t clusterSize = sectorsPerCluster * bytesPerSector;
    if (clusterSize < 512 || clusterSize > (2u << 20)) return false;

    const std::uint64_t totalSectors = Le64(p + 40);
    const std::uint64_t totalClusters = totalSectors / sectorsPerCluster;
    const std::uint64_t mftCluster = Le64(p + 48);
    if (totalClusters == 0 || mftCluster >= totalClusters) return false;

    const auto recordCode = static_cast<std::int8_t>(p[64]);
    std::uint64_t recordSize = 0;
    if (recordCode > 0)
        recordSize = static_cast<std::uint64_t>(recordCode) * clusterSize;
    else if (recordCode < 0 && -recordCode <= 16)
        recordSize = std::uint64_t{1} << -recordCode;
    if (!IsPowerOfTwo(recordSize) || recordSize < kFixupStride || recordSize > 65536) return false;

    boot.bytesPerSector = bytesPerSector;
    boot.clusterSize = static_cast<std::uint32_t>(clusterSize);
    boot.totalClusters = totalClusters;
    boot.mftCluster = mftCluster;
    boot.recordSize = static_cast<std::uint32_t>(recordSize);
    return true;
}

bool ApplyFixups(std::span<std::uint8_t> record) {
    if (record.size() < kFixupStride || record.size() % kFixupStride != 0) return false;
    std::uint8_t* p = record.data();
    const std::size_t offset = Le16(p + 4);
    const std::size_t count = Le16(p + 6);
    if (count != record.size() / kFixupStride + 1 || offset % 2 != 0 || offset < 8 ||
        offset + 2 * count > kFixupStride - 2)
        return false;
    const std::uint8_t* usa = p + offset;
    for (std::size_t i = 1; i < count; ++i) {
        std::uint8_t* end = p + i * kFixupStride - 2;
        if (end[0] != usa[0] || end[1] != usa[1]) return false;
    }
    for (std::size_t i = 1; i < count; ++i) {
        std::uint8_t* end = p + i * kFixupStride - 2;
        end[0] = usa[2 * i];
        end[1] = usa[2 * i + 1];
    }
    return true;
}

bool DecodeRunList(std::span<const std::uint8_t> bytes, std::uint64_t firstVcn, std::uint64_t totalClusters,
                   std::vector<Run>& runs) {
    runs.clear();
    std::uint64_t vcn = firstVcn;
    std::int64_t lcn = 0;
    std::size_t i = 0;
    while (i < bytes.size()) {
        const std::uint8_t head = bytes[i];
        if (head == 0) return true;
        const std::size_t lengthBytes = head & 0x0F, offsetBytes = head >> 4;
        if (lengthBytes == 0 || lengthBytes > 8 || offsetBytes > 8) return false;
        if (bytes.size() - i - 1 < lengthBytes + offsetBytes) return false;
        const std::uint8_t* field = bytes.data() + i + 1;

        std::uint64_t length = 0;
        for (std::size_t k = 0; k < lengthBytes; ++k) length |= std::uint64_t{field[k]} << (8 * k);
        // Lengths are stored signed; a negative or zero one is damage.
        if (length == 0 || length > (std::uint64_t{1} << 62) || length > (std::uint64_t{1} << 63) - vcn) return false;

        Run run{vcn, 0, length, offsetBytes == 0};
        if (!run.sparse) {
            std::uint64_t raw = 0;
            for (std::size_t k = 0; k < offsetBytes; ++k) raw |= std::uint64_t{field[lengthBytes + k]} << (8 * k);
            if (offsetBytes < 8 && (raw >> (8 * offsetBytes - 1)) & 1) raw |= ~std::uint64_t{0} << (8 * offsetBytes);
            const auto delta = static_cast<std::int64_t>(raw);
            // lcn stays within [0, totalClusters), so one bound check on each side cannot overflow.
            if (delta < -lcn || (delta > 0 && static_cast<std::uint64_t>(delta) >= totalClusters - lcn)) return false;
            lcn += delta;
            if (length > totalClusters - static_cast<std::uint64_t>(lcn)) return false;
            run.lcn = static_cast<std::uint64_t>(lcn);
        }
        runs.push_back(run);
        vcn += length;
        i += 1 + lengthBytes + offsetBytes;
    }
    return true;  // the attribute ended where its list did
}

bool ReadRecordHeader(std::span<const std::uint8_t> record, RecordHeader& header, std::size_t& firstAttribute,
                      std::size_t& bytesInUse) {
    if (record.size() < 48 || std::memcmp(record.data(), "FILE", 4) != 0) return false;
    const std::uint8_t* p = record.data();
    header.sequence = Le16(p + 16);
    const std::uint16_t flags = Le16(p + 22);
    header.inUse = (flags & 1) != 0;
    header.directory = (flags & 2) != 0;
    header.baseReference = Le64(p + 32);
    firstAttribute = Le16(p + 20);
    bytesInUse = Le32(p + 24);
    return bytesInUse <= record.size() && firstAttribute >= 24 && firstAttribute % 8 == 0 &&
           firstAttribute < bytesInUse;
}

bool ReadAttribute(std::span<const std::uint8_t> record, std::size_t offset, std::size_t bytesInUse,
                   Attribute& attribute, std::size_t& length) {
    if (offset % 8 != 0 || bytesInUse - offset < 16) return false;
    const std::uint8_t* p = record.data() + offset;
    attribute.type = Le32(p);
    length = Le32(p + 4);
    if (length < 24 || length % 8 != 0 || length > bytesInUse - offset) return false;
    const std::span<const std::uint8_t> whole = record.subspan(offset, length);

    const std::uint8_t formCode = p[8];
    const std::size_t nameLength = p[9];
    const std::size_t nameOffset = Le16(p + 10);
    attribute.flags = Le16(p + 12);
    if (formCode > 1) return false;
    attribute.nonResident = formCode == 1;
    if (nameLength != 0) {
        if (nameOffset + 2 * nameLength > length) return false;
        attribute.name = whole.subspan(nameOffset, 2 * nameLength);
    }
    if (!attribute.nonResident) {
        const std::uint64_t valueLength = Le32(p + 16);
        const std::size_t valueOffset = Le16(p + 20);
        if (valueOffset + valueLength > length) return false;
        attribute.value = whole.subspan(valueOffset, static_cast<std::size_t>(valueLength));
        return true;
    }
    if (length < 64) return false;
    attribute.lowestVcn = Le64(p + 16);
    const std::size_t pairsOffset = Le16(p + 32);
    attribute.allocatedSize = Le64(p + 40);
    attribute.dataSize = Le64(p + 48);
    if (pairsOffset < 64 || pairsOffset > length) return false;
    if (attribute.lowestVcn == 0 && attribute.dataSize > attribute.allocatedSize) return false;
    attribute.mappingPairs = whole.subspan(pairsOffset);
    return true;
}

bool ParseFileName(std::span<const std::uint8_t> value, FileName& name) {
    if (value.size() < 66) return false;
    const std::size_t length = value[64];
    name.nameSpace = value[65];
    if (length == 0 || name.nameSpace > kWin32AndDosName || 66 + 2 * length > value.size()) return false;
    name.parent = Le64(value.data());
    name.attributes = Le32(value.data() + 56);
    name.name = value.subspan(66, 2 * length);
    return true;
}

bool ParseAttributeList(std::span<const std::uint8_t> value, std::vector<AttributeListEntry>& entries) {
    std::size_t pos = 0;
    while (pos < value.size()) {
        if (value.size() - pos < 26) return false;
        const std::uint8_t* p = value.data() + pos;
        const std::size_t length = Le16(p + 4);
        const std::size_t nameLength = p[6], nameOffset = p[7];
        if (length < 26 || length > value.size() - pos) return false;
        if (nameLength != 0 && nameOffset + 2 * nameLength > length) return false;
        entries.push_back({Le32(p), Le64(p + 8), Le64(p + 16), nameLength != 0});
        pos += length;
    }
    return true;
}

int CollateNames(std::u16string_view a, std::u16string_view b, std::span<const std::uint16_t> upcase) {
    auto up = [upcase](char16_t c) -> std::uint16_t { return c < upcase.size() ? upcase[c] : c; };
    const std::size_t common = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < common; ++i) {
        const std::uint16_t ua = up(a[i]), ub = up(b[i]);
        if (ua != ub) return ua < ub ? -1 : 1;
    }
    if (a.size() != b.size()) return a.size() < b.size() ? -1 : 1;
    for (std::size_t i = 0; i < common; ++i)
        if (a[i] != b[i]) return a[i] < b[i] ? -1 : 1;
    return 0;
}

void AppendUtf8(std::u16string_view text, std::string& out) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        std::uint32_t c = text[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
            c = 0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            ++i;
        } else if (c >= 0xD800 && c <= 0xDFFF) {
            c = 0xFFFD;
        }
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0x800) {
            out += static_cast<char>(0xC0 | c >> 6);
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            out += static_cast<char>(0xE0 | c >> 12);
            out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | c >> 18);
            out += static_cast<char>(0x80 | (c >> 12 & 0x3F));
            out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
}

std::u16string Utf8ToUtf16(std::string_view text) {
    std::u16string out;
    std::size_t i = 0;
    while (i < text.size()) {
        const auto lead = static_cast<std::uint8_t>(text[i]);
        const std::size_t extra = lead < 0x80    ? 0
                                  : lead >= 0xF5 ? 9
                                  : lead >= 0xF0 ? 3
                                  : lead >= 0xE0 ? 2
                                  : lead >= 0xC2 ? 1
                                                 : 9;
        std::uint32_t c = extra == 0 ? lead : lead & (0x3F >> extra);
        bool ok = extra <= 3 && extra < text.size() - i;
        for (std::size_t k = 1; ok && k <= extra; ++k) {
            const auto next = static_cast<std::uint8_t>(text[i + k]);
            ok = (next & 0xC0) == 0x80;
            c = c << 6 | (next & 0x3F);
        }
        if (!ok || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) {
            out += u'\uFFFD';
            ++i;
            continue;
        }
        if (c >= 0x10000) {
            out += static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10));
            out += static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
        } else {
            out += static_cast<char16_t>(c);
        }
        i += extra + 1;
    }
    return out;
}

namespace {
// UTF-8 of `count` units, `unit(i)` giving unit i; a unit becomes at most three bytes.
template <class Unit>
bool ToUtf8(std::size_t count, Unit unit, std::string& out) {
    out.resize(count * 3);
    char* o = out.data();
    bool lossless = true;
    for (std::size_t i = 0; i < count; ++i) {
        std::uint32_t c = unit(i);
        if (c < 0x80) {
            *o++ = static_cast<char>(c);
            continue;
        }
        if (c >= 0xD800 && c <= 0xDFFF) {
            const std::uint32_t next = i + 1 < count ? unit(i + 1) : 0;
            if (c <= 0xDBFF && next >= 0xDC00 && next <= 0xDFFF) {
                c = 0x10000 + ((c - 0xD800) << 10) + (next - 0xDC00);
                ++i;
            } else {
                c = 0xFFFD;
                lossless = false;
            }
        }
        if (c < 0x800) {
            *o++ = static_cast<char>(0xC0 | c >> 6);
        } else if (c < 0x10000) {
            *o++ = static_cast<char>(0xE0 | c >> 12);
            *o++ = static_cast<char>(0x80 | (c >> 6 & 0x3F));
        } else {
            *o++ = static_cast<char>(0xF0 | c >> 18);
            *o++ = static_cast<char>(0x80 | (c >> 12 & 0x3F));
            *o++ = static_cast<char>(0x80 | (c >> 6 & 0x3F));
        }
        *o++ = static_cast<char>(0x80 | (c & 0x3F));
    }
    out.resize(static_cast<std::size_t>(o - out.data()));
    return lossless;
}

std::uint16_t Up(char16_t c, std::span<const std::uint16_t> upcase) { return c < upcase.size() ? upcase[c] : c; }
}  // namespace

bool Utf16ToUtf8(std::u16string_view text, std::string& out) {
    return ToUtf8(
        text.size(), [text](std::size_t i) -> std::uint32_t { return text[i]; }, out);
}

bool Utf16LeToUtf8(std::span<const std::uint8_t> bytes, std::string& out) {
    return ToUtf8(
        bytes.size() / 2, [p = bytes.data()](std::size_t i) -> std::uint32_t { return Le16(p + 2 * i); }, out);
}

bool NameUnits::NextLong(char16_t& unit) noexcept {
    const std::uint8_t lead = *p_;
    const std::size_t extra = lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : 1;
    if (static_cast<std::size_t>(end_ - p_) <= extra) {
        unit = u'\uFFFD';
        p_ = end_;
        return true;
    }
    std::uint32_t c = lead & (0x3F >> extra);
    for (std::size_t k = 1; k <= extra; ++k) c = c << 6 | (p_[k] & 0x3F);
    p_ += extra + 1;
    if (c >= 0x10000) {
        c -= 0x10000;
        unit = static_cast<char16_t>(0xD800 + (c >> 10));
        low_ = static_cast<char16_t>(0xDC00 + (c & 0x3FF));
    } else {
        unit = static_cast<char16_t>(c);
    }
    return true;
}

int CollateNames(NameUnits a, NameUnits b, std::span<const std::uint16_t> upcase) {
    const NameUnits aStart = a, bStart = b;
    for (;;) {
        char16_t x = 0, y = 0;
        const bool moreA = a.Next(x), moreB = b.Next(y);
        if (!moreA || !moreB) {
            if (moreA != moreB) return moreA ? 1 : -1;  // a prefix of the other, ignoring case
            break;
        }
        const std::uint16_t ux = Up(x, upcase), uy = Up(y, upcase);
        if (ux != uy) return ux < uy ? -1 : 1;
    }
    a = aStart;
    b = bStart;
    for (char16_t x = 0, y = 0; a.Next(x) && b.Next(y);)
        if (x != y) return x < y ? -1 : 1;
    return 0;
}

bool SameName(NameUnits a, std::u16string_view b) {
    std::size_t i = 0;
    for (char16_t x = 0; a.Next(x); ++i)
        if (i == b.size() || x != b[i]) return false;
    return i == b.size();
}

bool SameNameIgnoringCase(NameUnits a, std::u16string_view b, std::span<const std::uint16_t> upcase) {
    std::size_t i = 0;
    for (char16_t x = 0; a.Next(x); ++i)
        if (i == b.size() || Up(x, upcase) != Up(b[i], upcase)) return false;
    return i == b.size();
}

}  // namespace scan::ntfs
