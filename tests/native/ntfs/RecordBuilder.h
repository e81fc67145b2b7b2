// Builds raw file records (1 KiB, two fix-up strides) for the file-table tests: header, attributes in the
// order added, end marker, update sequence applied last as the file system writes it. The record's own
// number (at 0x2C) is left 0; Numbered() writes it, as the file system does, once the position is known.
#pragma once

#include "scan/ReparsePoint.h"
#include "scan/ntfs/NtfsFormat.h"

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace ntfstest {

inline void Put16(std::vector<std::uint8_t>& b, std::size_t at, std::uint16_t v) {
    b[at] = static_cast<std::uint8_t>(v);
    b[at + 1] = static_cast<std::uint8_t>(v >> 8);
}
inline void Put32(std::vector<std::uint8_t>& b, std::size_t at, std::uint32_t v) {
    Put16(b, at, static_cast<std::uint16_t>(v));
    Put16(b, at + 2, static_cast<std::uint16_t>(v >> 16));
}
inline void Put64(std::vector<std::uint8_t>& b, std::size_t at, std::uint64_t v) {
    Put32(b, at, static_cast<std::uint32_t>(v));
    Put32(b, at + 4, static_cast<std::uint32_t>(v >> 32));
}

inline std::uint16_t Le16Of(const std::vector<std::uint8_t>& b, std::size_t at) {
    return static_cast<std::uint16_t>(b[at] | b[at + 1] << 8);
}

inline std::uint64_t Ref(std::uint64_t record, std::uint16_t sequence) {
    return record | std::uint64_t{sequence} << 48;
}

inline std::vector<std::uint8_t> Utf16(const std::u16string& text) {
    std::vector<std::uint8_t> out;
    for (char16_t c : text) {
        out.push_back(static_cast<std::uint8_t>(c));
        out.push_back(static_cast<std::uint8_t>(c >> 8));
    }
    return out;
}

// A boot sector (512 bytes) of the given geometry.
inline std::vector<std::uint8_t> Boot(std::uint16_t bytesPerSector, std::uint8_t sectorsPerCluster,
                                      std::int8_t recordCode, std::uint64_t totalSectors = 1 << 20,
                                      std::uint64_t mftCluster = 4) {
    std::vector<std::uint8_t> s(512, 0);
    std::memcpy(s.data() + 3, "NTFS    ", 8);
    Put16(s, 11, bytesPerSector);
    s[13] = sectorsPerCluster;
    Put64(s, 40, totalSectors);
    Put64(s, 48, mftCluster);
    s[64] = static_cast<std::uint8_t>(recordCode);
    s[510] = 0x55;
    s[511] = 0xAA;
    return s;
}

struct ListEntry {
    std::uint32_t type;
    std::uint64_t reference;  // the record holding the attribute
    std::uint64_t lowestVcn = 0;
};

// Attribute-list entries naming where each attribute lives, as an $ATTRIBUTE_LIST value.
inline std::vector<std::uint8_t> AttributeList(const std::vector<ListEntry>& entries) {
    std::vector<std::uint8_t> value;
    for (const ListEntry& e : entries) {
        std::vector<std::uint8_t> entry(32, 0);
        Put32(entry, 0, e.type);
        Put16(entry, 4, 32);
        Put64(entry, 8, e.lowestVcn);
        Put64(entry, 16, e.reference);
        value.insert(value.end(), entry.begin(), entry.end());
    }
    return value;
}

class RecordBuilder {
public:
    static constexpr std::size_t kSize = 1024;
    static constexpr std::size_t kFirstAttribute = 56;

    explicit RecordBuilder(std::uint16_t sequence = 1, bool inUse = true, bool directory = false)
        : bytes_(kSize, 0), directory_(directory) {
        std::memcpy(bytes_.data(), "FILE", 4);
        Put16(bytes_, 4, 48);  // update sequence array
        Put16(bytes_, 6, 3);
        Put16(bytes_, 16, sequence);
        Put16(bytes_, 20, kFirstAttribute);
        Put16(bytes_, 22, static_cast<std::uint16_t>((inUse ? 1 : 0) | (directory ? 2 : 0)));
        Put32(bytes_, 28, kSize);
    }

    // The update sequence at 0x2A, where records of older volumes keep it: they store no number.
    RecordBuilder& OlderHeader() {
        usa_ = 42;
        Put16(bytes_, 4, 42);
        return *this;
    }

    RecordBuilder& Base(std::uint64_t reference) {
        Put64(bytes_, 32, reference);
        return *this;
    }

    RecordBuilder& Resident(std::uint32_t type, const std::vector<std::uint8_t>& value,
                            const std::u16string& name = u"") {
        const std::size_t nameBytes = name.size() * 2, valueOffset = Align(24 + nameBytes);
        const std::size_t length = Align(valueOffset + value.size());
        const std::size_t at = Grow(length);
        Put32(bytes_, at, type);
        Put32(bytes_, at + 4, static_cast<std::uint32_t>(length));
        bytes_[at + 9] = static_cast<std::uint8_t>(name.size());
        Put16(bytes_, at + 10, 24);
        Put32(bytes_, at + 16, static_cast<std::uint32_t>(value.size()));
        Put16(bytes_, at + 20, static_cast<std::uint16_t>(valueOffset));
        const auto n = Utf16(name);
        std::copy(n.begin(), n.end(), bytes_.begin() + static_cast<long>(at + 24));
        std::copy(value.begin(), value.end(), bytes_.begin() + static_cast<long>(at + valueOffset));
        return *this;
    }

    RecordBuilder& NonResident(std::uint32_t type, const std::vector<std::uint8_t>& runs, std::uint64_t dataSize,
                               std::uint64_t lowestVcn = 0, const std::u16string& name = u"") {
        const std::size_t nameBytes = name.size() * 2, pairsOffset = Align(64 + nameBytes);
        const std::size_t length = Align(pairsOffset + runs.size() + 1);
        const std::size_t at = Grow(length);
        lastNonResident_ = at;
        Put32(bytes_, at, type);
        Put32(bytes_, at + 4, static_cast<std::uint32_t>(length));
        bytes_[at + 8] = 1;
        bytes_[at + 9] = static_cast<std::uint8_t>(name.size());
        Put16(bytes_, at + 10, 64);
        Put64(bytes_, at + 16, lowestVcn);
        Put16(bytes_, at + 32, static_cast<std::uint16_t>(pairsOffset));
        Put64(bytes_, at + 40, dataSize);
        Put64(bytes_, at + 48, dataSize);
        Put64(bytes_, at + 56, dataSize);
        const auto n = Utf16(name);
        std::copy(n.begin(), n.end(), bytes_.begin() + static_cast<long>(at + 64));
        std::copy(runs.begin(), runs.end(), bytes_.begin() + static_cast<long>(at + pairsOffset));
        return *this;
    }

    // The allocated size of the last non-resident attribute added (otherwise its data size).
    RecordBuilder& Allocated(std::uint64_t size) {
        Put64(bytes_, lastNonResident_ + 40, size);
        return *this;
    }

    RecordBuilder& Info(std::uint32_t attributes) {
        std::vector<std::uint8_t> value(48, 0);
        Put32(value, 32, attributes);
        return Resident(scan::ntfs::kStandardInformation, value);
    }

    RecordBuilder& Name(std::uint64_t parent, const std::u16string& name,
                        std::uint8_t nameSpace = scan::ntfs::kWin32Name) {
        std::vector<std::uint8_t> value(66, 0);
        Put64(value, 0, parent);
        if (directory_) Put32(value, 56, scan::ntfs::kNameOfFolder);
        value[64] = static_cast<std::uint8_t>(name.size());
        value[65] = nameSpace;
        const auto n = Utf16(name);
        value.insert(value.end(), n.begin(), n.end());
        return Resident(scan::ntfs::kFileName, value);
    }

    RecordBuilder& Data(std::size_t size) { return Resident(scan::ntfs::kData, std::vector<std::uint8_t>(size, 0x5A)); }

    RecordBuilder& Reparse(std::uint32_t tag) {
        std::vector<std::uint8_t> value(8, 0);
        Put32(value, 0, tag);
        return Info(scan::kAttributeReparsePoint).Resident(scan::ntfs::kReparsePoint, value);
    }

    // Attribute-list entries naming where each attribute lives.
    RecordBuilder& List(const std::vector<ListEntry>& entries) {
        return Resident(scan::ntfs::kAttributeList, AttributeList(entries));
    }

    // The finished record, update sequence applied.
    std::vector<std::uint8_t> Bytes() const {
        std::vector<std::uint8_t> out = bytes_;
        Put32(out, end_, scan::ntfs::kEndOfAttributes);
        Put32(out, 24, static_cast<std::uint32_t>(end_ + 8));
        const std::uint16_t usn = 0x0107;
        Put16(out, usa_, usn);
        for (std::size_t i = 1; i <= 2; ++i) {
            const std::size_t tail = i * 512 - 2;
            out[usa_ + 2 * i] = out[tail];
            out[usa_ + 2 * i + 1] = out[tail + 1];
            Put16(out, tail, usn);
        }
        return out;
    }

private:
    static std::size_t Align(std::size_t n) { return (n + 7) & ~std::size_t{7}; }
    std::size_t Grow(std::size_t length) {
        const std::size_t at = end_;
        end_ += length;
        return at;
    }

    std::vector<std::uint8_t> bytes_;
    bool directory_;
    std::size_t usa_ = 48;
    std::size_t end_ = kFirstAttribute;
    std::size_t lastNonResident_ = 0;
};

// Records by position, each given its own number as the file system writes it (those of older volumes,
// which store none, are left as they are).
template <class Records>
Records Numbered(Records records) {
    for (auto& [number, bytes] : records)
        if (bytes.size() >= 48 && Le16Of(bytes, 4) >= 0x30) Put32(bytes, 44, number);
    return records;
}

}  // namespace ntfstest
