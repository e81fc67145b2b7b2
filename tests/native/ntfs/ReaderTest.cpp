// The volume-level reader on a hand-made volume whose file table lies in three runs kept partly in an
// extension record of its own, as a table fragmented beyond one record keeps them (mkntfs never makes
// one): two of the runs and the table's allocation bitmap sit in the same extension record.
#include "RecordBuilder.h"

#include "scan/ntfs/NtfsReader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <string>
#include <vector>

using namespace scan::ntfs;
using ntfstest::RecordBuilder;
using ntfstest::Ref;

namespace {

struct NoControl final : scan::WalkControl {
    bool StopRequested() const override { return false; }
    void PausePoint() override {}
};

constexpr std::uint32_t kCluster = 4096, kRecord = 1024, kClusters = 64;
// Where the table's clusters lie: 0-1 at 4 (records 0-7), 2 at 10 (records 8-11), 3-5 at 20 (12-23).
constexpr std::uint64_t kTableRecords = 24;
std::uint64_t ClusterOf(std::uint64_t vcn) { return vcn < 2 ? 4 + vcn : vcn == 2 ? 10 : 20 + vcn - 3; }

using Records = std::map<std::uint32_t, std::vector<std::uint8_t>>;

Records TableRecords(bool bitmapInExtension = true) {
    std::vector<std::uint8_t> bitmap(3, 0);
    for (std::uint32_t n : {0, 5, 7, 10, 16, 17, 20}) bitmap[n / 8] |= static_cast<std::uint8_t>(1 << n % 8);
    std::vector<std::uint8_t> upcase;
    for (std::uint16_t c = 0; c < 128; ++c) {
        const std::uint16_t up = c >= 'a' && c <= 'z' ? c - 32 : c;
        upcase.push_back(static_cast<std::uint8_t>(up));
        upcase.push_back(0);
    }
    RecordBuilder extension = RecordBuilder().Base(Ref(0, 1));
    extension.NonResident(kData, {0x11, 0x01, 0x0A}, 0, 2).NonResident(kData, {0x11, 0x03, 0x14}, 0, 3);
    if (bitmapInExtension) extension.Resident(kBitmap, bitmap);
    Records r;
    r[0] = RecordBuilder()
               .Name(Ref(5, 5), u"$MFT")
               .NonResident(kData, {0x11, 0x02, 0x04}, kTableRecords * kRecord)
               .List({{kData, Ref(0, 1), 0}, {kData, Ref(7, 1), 2}, {kData, Ref(7, 1), 3}, {kBitmap, Ref(7, 1)}})
               .Bytes();
    r[5] = RecordBuilder(5, true, true).Name(Ref(5, 5), u".").Bytes();
    r[7] = extension.Bytes();
    r[10] = RecordBuilder().Name(Ref(5, 5), u"$UpCase").Resident(kData, upcase).Bytes();
    r[16] = RecordBuilder().Name(Ref(5, 5), u"one").Data(1).Bytes();
    r[17] = RecordBuilder().Name(Ref(5, 5), u"two").Data(2).Bytes();
    r[20] = RecordBuilder().Name(Ref(5, 5), u"far").Data(3).Bytes();  // in the last run
    return ntfstest::Numbered(r);
}

std::vector<std::uint8_t> VolumeOf(const Records& records) {
    std::vector<std::uint8_t> volume(std::size_t{kClusters} * kCluster, 0);
    const auto boot = ntfstest::Boot(512, kCluster / 512, -10, kClusters * (kCluster / 512), 4);
    std::copy(boot.begin(), boot.end(), volume.begin());
    for (const auto& [number, bytes] : records) {
        const std::uint64_t at = ClusterOf(number * kRecord / kCluster) * kCluster + number * kRecord % kCluster;
        std::copy(bytes.begin(), bytes.end(), volume.begin() + static_cast<std::ptrdiff_t>(at));
    }
    return volume;
}

TEST(NtfsReader, TableKeptPartlyInAnExtensionRecord) {
    struct Case {
        const char* what;
        Records records;
        std::function<void(Records&)> damage;
        bool available;
    };
    const std::vector<Case> cases{
        {"sound", TableRecords(), [](Records&) {}, true},
        {"the extension record storing another number", TableRecords(),
         [](Records& r) { ntfstest::Put32(r[7], 44, 8); }, false},
        {"no allocation bitmap", TableRecords(false), [](Records&) {}, false},
        {"a record the bitmap has in use missing from the last run", TableRecords(),
         [](Records& r) { r[20] = std::vector<std::uint8_t>(kRecord, 0); }, false},
    };
    for (const Case& c : cases) {
        Records records = c.records;
        c.damage(records);
        const auto bytes = VolumeOf(records);
        MemoryVolume volume(bytes);
        model::DirInfo root("X:");
        scan::ScanCounters counters;
        NoControl control;
        const ReadResult result = ReadVolume(volume, {}, root, counters, control, 0);
        EXPECT_EQ(result, c.available ? ReadResult::kComplete : ReadResult::kUnavailable) << c.what;
        if (!c.available) continue;
        std::vector<std::string> names;
        for (const model::FileInfo& f : root.files) names.push_back(std::string(f.name) + " " + std::to_string(f.size));
        EXPECT_EQ(names, (std::vector<std::string>{"far 3", "one 1", "two 2"})) << c.what;
    }
}

}  // namespace
