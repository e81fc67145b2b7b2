// The file table on hand-made records: which names become entries, in which order, with which sizes; how
// damaged references, cycles, extension records and reparse points are taken; path resolution; a chain
// far deeper than any call stack would allow, built on a small stack; stop requests.
#include "RecordBuilder.h"

#include "scan/ntfs/FileTable.h"

#include <gtest/gtest.h>

#include <pthread.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <map>
#include <random>
#include <string>
#include <vector>

using namespace scan::ntfs;
using ntfstest::Numbered;
using ntfstest::RecordBuilder;
using ntfstest::Ref;

namespace {

struct NoControl final : scan::WalkControl {
    bool StopRequested() const override { return stop; }
    void PausePoint() override {}
    bool stop = false;
};

std::vector<std::uint16_t> AsciiUpCase() {
    std::vector<std::uint16_t> upcase(65536);
    for (std::size_t c = 0; c < upcase.size(); ++c)
        upcase[c] = static_cast<std::uint16_t>(c >= 'a' && c <= 'z' ? c - 32 : c);
    return upcase;
}

using Records = std::map<std::uint32_t, std::vector<std::uint8_t>>;

// The root folder, record 5, and the metadata records a real table starts with.
Records Volume() {
    Records r;
    r[5] = RecordBuilder(5, true, true).Name(Ref(5, 5), u".").Bytes();
    r[0] = RecordBuilder(1).Name(Ref(5, 5), u"$MFT").Data(0).Bytes();
    r[11] = RecordBuilder(11, true, true).Name(Ref(5, 5), u"$Extend").Bytes();
    return r;
}

// Lines "path size" for files and "path/" for folders, depth first in the tree's order.
std::vector<std::string> Lines(const model::DirInfo& root) {
    std::vector<std::string> lines;
    struct Frame {
        const model::DirInfo* dir;
        std::string path;
    };
    std::vector<Frame> stack{{&root, ""}};
    while (!stack.empty()) {
        const Frame frame = stack.back();
        stack.pop_back();
        for (const model::FileInfo& f : frame.dir->files)
            lines.push_back(frame.path + f.name + " " + std::to_string(f.size));
        for (auto it = frame.dir->subdirs.rbegin(); it != frame.dir->subdirs.rend(); ++it)
            stack.push_back({&*it, frame.path + it->name + "/"});
        for (const model::DirInfo& d : frame.dir->subdirs) lines.push_back(frame.path + d.name + "/");
    }
    return lines;
}

struct Built {
    ReadResult result;
    model::DirInfo root{"X:"};
    scan::ScanCounters counters;
};

// Adds records as they are (see ntfstest::Numbered for records in their places).
void AddAll(FileTable& table, Records records) {
    for (auto& [number, bytes] : records) table.AddRecord(number, bytes);
}

void Build(Records records, Built& out, std::uint32_t start = 5, std::uint32_t cluster = 0,
           scan::ntfs::Volume* volume = nullptr) {
    FileTable table(4096, 1 << 20);
    AddAll(table, std::move(records));
    table.Finish(volume);
    NoControl control;
    const auto upcase = AsciiUpCase();
    out.result = table.BuildTree(start, upcase, out.root, out.counters, control, cluster);
}

TEST(NtfsFileTable, EntriesOrderSizesAndCounters) {
    Records r = Volume();
    r[40] = RecordBuilder(1).Name(Ref(5, 5), u"beta.txt").Data(700).Bytes();
    r[41] = RecordBuilder(1).Name(Ref(5, 5), u"Alpha").NonResident(kData, {0x11, 0x02, 0x30, 0}, 5000).Bytes();
    r[42] = RecordBuilder(3, true, true).Name(Ref(5, 5), u"docs").Bytes();
    // A long name with its short twin: one entry; a record with only a short name: none.
    r[43] = RecordBuilder(1)
                .Name(Ref(42, 3), u"Long Name.text")
                .Name(Ref(42, 3), u"LONGNA~1.TEX", kDosName)
                .Data(3)
                .Bytes();
    r[44] = RecordBuilder(1).Name(Ref(42, 3), u"SHORT~1", kDosName).Data(4).Bytes();
    // Hard links in two folders, a name in the POSIX name space, and one in both spaces at once.
    r[45] = RecordBuilder(1).Name(Ref(5, 5), u"link-a").Name(Ref(42, 3), u"link-b").Data(9).Bytes();
    r[46] = RecordBuilder(1).Name(Ref(42, 3), u"posix", kPosixName).Data(1).Bytes();
    r[47] = RecordBuilder(1).Name(Ref(42, 3), u"BOTH.TXT", kWin32AndDosName).Data(2).Bytes();
    // Metadata: below record 16, or below $Extend.
    r[12] = RecordBuilder(1).Name(Ref(5, 5), u"reserved").Data(1).Bytes();
    r[48] = RecordBuilder(1).Name(Ref(11, 11), u"$Quota").Data(1).Bytes();
    r[49] = RecordBuilder(1).Name(Ref(5, 5), u"$user file").Data(6).Bytes();
    // Not in use: no entry.
    r[50] = RecordBuilder(1, false).Name(Ref(5, 5), u"deleted").Data(8).Bytes();

    Built b;
    Build(Numbered(r), b, 5, 4096);
    ASSERT_EQ(b.result, ReadResult::kComplete);
    EXPECT_EQ(Lines(b.root),
              (std::vector<std::string>{"$user file 6", "Alpha 5000", "beta.txt 700", "link-a 9", "docs/",
                                        "docs/BOTH.TXT 2", "docs/link-b 9", "docs/Long Name.text 3", "docs/posix 1"}));
    EXPECT_EQ(b.root.deepFiles, 8u);
    EXPECT_EQ(b.root.deepDirs, 1u);
    EXPECT_EQ(b.root.deepSize, 6u + 5000 + 700 + 9 + 2 + 9 + 3 + 1);
    EXPECT_EQ(b.root.localAlloc, 0u);  // left to the recomputation, as the walk leaves it
    EXPECT_EQ(b.counters.filesFound.load(), 8u);
    EXPECT_EQ(b.counters.foldersFound.load(), 1u);
    EXPECT_EQ(b.counters.bytesFound.load(), 4096u * 7 + 8192);  // rounded to clusters like the walk's
}

TEST(NtfsFileTable, DamagedReferencesLoseOnlyTheirOwnEntries) {
    struct Case {
        const char* what;
        std::map<std::uint32_t, RecordBuilder> records;
        std::vector<std::string> lines;
    };
    auto dir = [](std::uint16_t seq = 1) { return RecordBuilder(seq, true, true); };
    auto file = [](std::uint16_t seq = 1) { return RecordBuilder(seq); };
    const std::vector<Case> cases{
        {"parent not in use",
         {{20, RecordBuilder(1, false, true).Name(Ref(5, 5), u"gone")}, {21, file().Name(Ref(20, 1), u"orphan")}},
         {}},
        {"parent reused (sequence differs)",
         {{20, dir(2).Name(Ref(5, 5), u"new")}, {21, file().Name(Ref(20, 1), u"stale")}},
         {"new/"}},
        {"parent is a file", {{20, file().Name(Ref(5, 5), u"f")}, {21, file().Name(Ref(20, 1), u"child")}}, {"f 0"}},
        {"parent past the table", {{20, file().Name(Ref(900000, 1), u"far")}}, {}},
        {"two folders that are each other's parent",
         {{20, dir().Name(Ref(21, 1), u"a")},
          {21, dir().Name(Ref(20, 1), u"b")},
          {22, file().Name(Ref(5, 5), u"kept")}},
         {"kept 0"}},
        {"folder that is its own parent", {{20, dir().Name(Ref(20, 1), u"self")}}, {}},
        {"chain that ends at a metadata folder",
         {{20, dir().Name(Ref(11, 11), u"x")}, {21, file().Name(Ref(20, 1), u"y")}},
         {}},
        {"folder with a second name", {{20, dir().Name(Ref(5, 5), u"first").Name(Ref(5, 5), u"second")}}, {"first/"}},
        {"name-surrogate folder: listed, never entered",
         {{20, dir().Name(Ref(5, 5), u"junction").Reparse(0xA0000003)}, {21, file().Name(Ref(20, 1), u"inside")}},
         {"junction/"}},
        {"other reparse folder: entered",
         {{20, dir().Name(Ref(5, 5), u"cloud").Reparse(0x9000001A)}, {21, file().Name(Ref(20, 1), u"inside")}},
         {"cloud/", "cloud/inside 0"}},
        {"extension record claimed by its base",
         {{20, file().Name(Ref(5, 5), u"base").List({{kFileName, Ref(21, 4)}})},
          {21, file(4).Base(Ref(20, 1)).Name(Ref(5, 5), u"more").Data(12)}},
         {"base 12", "more 12"}},
        {"extension record its base does not list",
         {{20, file().Name(Ref(5, 5), u"base").Data(1)}, {21, file(4).Base(Ref(20, 1)).Name(Ref(5, 5), u"more")}},
         {"base 1"}},
        // The base's list names an extension it then lacks: the base is incomplete, and dropped.
        {"extension record of a reused base",
         {{20, file(2).Name(Ref(5, 5), u"base").List({{kFileName, Ref(21, 4)}})},
          {21, file(4).Base(Ref(20, 1)).Name(Ref(5, 5), u"more")}},
         {}},
        {"listed extension with another sequence",
         {{20, file().Name(Ref(5, 5), u"base").List({{kFileName, Ref(21, 9)}})},
          {21, file(4).Base(Ref(20, 1)).Name(Ref(5, 5), u"more")}},
         {}},
    };
    for (const Case& c : cases) {
        Records r = Volume();
        for (const auto& [number, builder] : c.records) r[number] = builder.Bytes();
        Built b;
        Build(Numbered(r), b);
        EXPECT_EQ(b.result, ReadResult::kComplete) << c.what;
        EXPECT_EQ(Lines(b.root), c.lines) << c.what;
    }
}

TEST(NtfsFileTable, MalformedRecordsAreDroppedWhole) {
    Records r = Volume();
    r[20] = RecordBuilder().Name(Ref(5, 5), u"kept").Data(1).Bytes();
    r[21] = RecordBuilder().Name(Ref(5, 5), u"torn").Data(2).Bytes();
    r[21][1022] ^= 0xFF;  // a stride that was not written with the rest
    r[22] = RecordBuilder().Name(Ref(5, 5), u"overlong").Data(3).Bytes();
    r[22][RecordBuilder::kFirstAttribute + 112 + 4] = 0xF0;  // the $DATA attribute's length past the record
    r[23] = std::vector<std::uint8_t>(100, 0xFF);            // not even a record's size
    r[24] = RecordBuilder().Name(Ref(5, 5), u"kept too").Data(4).Bytes();
    Built b;
    Build(Numbered(r), b);
    EXPECT_EQ(Lines(b.root), (std::vector<std::string>{"kept 1", "kept too 4"}));
}

// A non-resident attribute list at cluster 1 of a small volume.
struct ListVolume {
    explicit ListVolume(const std::vector<std::uint8_t>& list) : bytes(8192, 0) {
        std::copy(list.begin(), list.end(), bytes.begin() + 4096);
    }
    std::vector<std::uint8_t> bytes;
    MemoryVolume volume{bytes};
};
const std::vector<std::uint8_t> kListAtCluster1{0x11, 0x01, 0x01};

TEST(NtfsFileTable, RecordsAtOddsWithThemselvesAreDroppedWhole) {
    struct Case {
        const char* what;
        Records records;
        std::vector<std::string> lines;
        std::vector<std::uint8_t> outside;  // cluster 1 of the volume
    };
    auto withFlags = [](std::vector<std::uint8_t> bytes, std::uint16_t flags) {
        ntfstest::Put16(bytes, 22, flags);
        return bytes;
    };
    auto torn = [](std::vector<std::uint8_t> bytes) {
        bytes[1022] ^= 0xFF;
        return bytes;
    };
    const auto toMore = ntfstest::AttributeList({{kFileName, Ref(21, 4)}});
    auto badList = toMore;
    ntfstest::Put16(badList, 4, 0);  // an entry of no length
    const RecordBuilder more = RecordBuilder(4).Base(Ref(20, 1)).Name(Ref(5, 5), u"more").Data(12);
    const std::vector<Case> cases{
        {"a folder whose folder flag is cleared (and what lies in it)",
         {{20, withFlags(RecordBuilder(1, true, true).Name(Ref(5, 5), u"dir").Bytes(), 1)},
          {21, RecordBuilder().Name(Ref(20, 1), u"inside").Bytes()}},
         {}},
        {"a file flagged as a folder",
         {{20, withFlags(RecordBuilder().Name(Ref(5, 5), u"file").Data(5).Bytes(), 3)}},
         {}},
        {"a data size above its allocation",
         {{20, RecordBuilder()
                   .Name(Ref(5, 5), u"big")
                   .NonResident(kData, {0x11, 0x02, 0x30}, 9000)
                   .Allocated(8192)
                   .Bytes()}},
         {}},
        {"a reparse point too short for its tag",
         {{20, RecordBuilder(1, true, true)
                   .Name(Ref(5, 5), u"dir")
                   .Info(scan::kAttributeReparsePoint)
                   .Resident(kReparsePoint, {0x0C, 0x00})
                   .Bytes()},
          {21, RecordBuilder().Name(Ref(20, 1), u"inside").Bytes()}},
         {}},
        {"an attribute list that cannot be decoded",
         {{20, RecordBuilder().Name(Ref(5, 5), u"base").Resident(kAttributeList, badList).Bytes()}},
         {}},
        {"an attribute list naming an extension record that is not there",
         {{20, RecordBuilder().Name(Ref(5, 5), u"base").List({{kFileName, Ref(21, 4)}}).Bytes()}},
         {}},
        {"an attribute list naming an extension record that is torn",
         {{20, RecordBuilder().Name(Ref(5, 5), u"base").List({{kData, Ref(21, 4)}}).Bytes()}, {21, torn(more.Bytes())}},
         {}},
        {"an extension record holding only what the tree does not need, torn",
         {{20, RecordBuilder().Name(Ref(5, 5), u"base").Data(3).List({{kStandardInformation, Ref(21, 4)}}).Bytes()},
          {21, torn(more.Bytes())}},
         {"base 3"}},
        {"a non-resident attribute list with runs past the volume",
         {{20, RecordBuilder()
                   .Name(Ref(5, 5), u"base")
                   .NonResident(kAttributeList, {0x31, 0x01, 0xFF, 0xFF, 0x7F}, 32)
                   .Bytes()},
          {21, more.Bytes()}},
         {}},
        {"a non-resident attribute list longer than its runs",
         {{20, RecordBuilder().Name(Ref(5, 5), u"base").NonResident(kAttributeList, kListAtCluster1, 5000).Bytes()},
          {21, more.Bytes()}},
         {}},
        {"a non-resident attribute list read from the volume",
         {{20, RecordBuilder().Name(Ref(5, 5), u"base").NonResident(kAttributeList, kListAtCluster1, 32).Bytes()},
          {21, more.Bytes()}},
         {"base 12", "more 12"},
         toMore},
        {"a non-resident attribute list that cannot be decoded",
         {{20, RecordBuilder().Name(Ref(5, 5), u"base").NonResident(kAttributeList, kListAtCluster1, 32).Bytes()},
          {21, more.Bytes()}},
         {},
         badList},
    };
    for (const Case& c : cases) {
        Records r = Volume();
        r.insert(c.records.begin(), c.records.end());
        r[30] = RecordBuilder().Name(Ref(5, 5), u"kept").Data(1).Bytes();
        ListVolume outside(c.outside);
        Built b;
        Build(Numbered(r), b, 5, 0, &outside.volume);
        EXPECT_EQ(b.result, ReadResult::kComplete) << c.what;
        std::vector<std::string> lines = c.lines;
        lines.insert(lines.begin(), "kept 1");
        std::sort(lines.begin(), lines.end());
        EXPECT_EQ(Lines(b.root), lines) << c.what;
    }
}

// Damage that no single record explains: positions holding other records or none, a root that does not
// name itself, values that cannot be read. Nothing of such a table is believed.
TEST(NtfsFileTable, TableThatMisleadsIsUnavailable) {
    struct Case {
        const char* what;
        std::function<void(Records&)> damage;  // after the records were given their numbers
        std::vector<std::uint32_t> allocated;  // positions the bitmap has in use besides the records'
        bool untrusted;
        std::vector<std::string> lines;  // the tree, when it is available
    };
    const std::vector<std::string> all{"a 1", "b 2", "d/", "d/c 3"};
    const std::vector<Case> cases{
        {"every record in its place", [](Records&) {}, {}, false, all},
        {"an in-use record storing another number", [](Records& r) { r[21] = r[23]; }, {}, true, {}},
        {"a torn record storing another number",
         [](Records& r) {
             r[21] = r[23];
             r[21][1022] ^= 0xFF;
         },
         {},
         true,
         {}},
        {"a free record left at number 0, as formatters leave reserved ones",
         [](Records& r) { r[24] = RecordBuilder(24, false).Bytes(); },
         {},
         false,
         all},
        {"the same where the bitmap has a record",
         [](Records& r) { r[24] = RecordBuilder(24, false).Bytes(); },
         {24},
         true,
         {}},
        {"no record where the bitmap has one",
         [](Records& r) { r[24] = std::vector<std::uint8_t>(1024, 0); },
         {24},
         true,
         {}},
        {"no record where the bitmap has none",
         [](Records& r) { r[24] = std::vector<std::uint8_t>(1024, 0xA5); },
         {},
         false,
         all},
        {"a torn record where the bitmap has one: that record dropped",
         [](Records& r) { r[21][1022] ^= 0xFF; },
         {},
         false,
         {"a 1", "d/", "d/c 3"}},
        {"a record the system marked bad: that record dropped",
         [](Records& r) { std::memcpy(r[21].data(), "BAAD", 4); },
         {},
         false,
         {"a 1", "d/", "d/c 3"}},
        {"a record of an older volume, which stores no number",
         [](Records& r) { r[21] = RecordBuilder().OlderHeader().Name(Ref(5, 5), u"b").Data(2).Bytes(); },
         {},
         false,
         all},
        {"the root's sequence number changed", [](Records& r) { ntfstest::Put16(r[5], 16, 6); }, {}, false, {}},
        {"the root's name naming another parent",
         [](Records& r) {
             r[5] = ntfstest::Numbered(Records{{5, RecordBuilder(5, true, true).Name(Ref(11, 11), u".").Bytes()}})[5];
         },
         {},
         false,
         {}},
        {"the root without a name",
         [](Records& r) {
             r[5] = ntfstest::Numbered(Records{{5, RecordBuilder(5, true, true).Bytes()}})[5];
         },
         {},
         false,
         {}},
        {"an attribute list that cannot be read",
         [](Records& r) {
             r[25] = ntfstest::Numbered(Records{
                 {25,
                  RecordBuilder().Name(Ref(5, 5), u"e").NonResident(kAttributeList, kListAtCluster1, 32).Bytes()}})[25];
         },
         {},
         true,
         {}},
        {"reparse data that cannot be read",
         [](Records& r) {
             r[25] = ntfstest::Numbered(Records{{25, RecordBuilder(1, true, true)
                                                         .Name(Ref(5, 5), u"e")
                                                         .Info(scan::kAttributeReparsePoint)
                                                         .NonResident(kReparsePoint, kListAtCluster1, 16)
                                                         .Bytes()}})[25];
         },
         {},
         true,
         {}},
    };
    for (const Case& c : cases) {
        Records r = Volume();
        r[20] = RecordBuilder().Name(Ref(5, 5), u"a").Data(1).Bytes();
        r[21] = RecordBuilder().Name(Ref(5, 5), u"b").Data(2).Bytes();
        r[22] = RecordBuilder(1, true, true).Name(Ref(5, 5), u"d").Bytes();
        r[23] = RecordBuilder().Name(Ref(22, 1), u"c").Data(3).Bytes();
        r = Numbered(r);
        c.damage(r);
        std::vector<std::uint8_t> bitmap(4, 0);
        std::vector<std::uint32_t> allocated = c.allocated;
        for (std::uint32_t n : {0, 5, 11, 20, 21, 22, 23}) allocated.push_back(n);
        for (std::uint32_t n : allocated) bitmap[n / 8] |= static_cast<std::uint8_t>(1 << n % 8);

        FileTable table(4096, 1 << 20);
        table.ExpectInUse(bitmap);
        AddAll(table, r);
        std::vector<std::uint8_t> cluster0(4096, 0);  // values at cluster 1 lie past its end
        MemoryVolume shortVolume(cluster0);
        table.Finish(&shortVolume);
        EXPECT_EQ(table.Untrusted(), c.untrusted) << c.what;
        const auto upcase = AsciiUpCase();
        const bool available = !c.lines.empty();
        EXPECT_EQ(table.FindFolder({}, upcase), available ? 5 : -1) << c.what;
        NoControl control;
        Built b;
        EXPECT_EQ(table.BuildTree(5, upcase, b.root, b.counters, control, 0),
                  available ? ReadResult::kComplete : ReadResult::kUnavailable)
            << c.what;
        if (available) {
            EXPECT_EQ(Lines(b.root), c.lines) << c.what;
        }
    }
}

TEST(NtfsFileTable, FindsFoldersAlongAPath) {
    Records r = Volume();
    r[20] = RecordBuilder(1, true, true).Name(Ref(5, 5), u"Data").Bytes();
    r[21] = RecordBuilder(1, true, true).Name(Ref(20, 1), u"photos").Bytes();
    r[22] = RecordBuilder(1, true, true).Name(Ref(20, 1), u"Photos").Bytes();
    r[23] = RecordBuilder(1).Name(Ref(20, 1), u"file").Bytes();
    r[24] = RecordBuilder(1, true, true).Name(Ref(20, 1), u"link").Reparse(0xA000000C).Bytes();
    r[25] = RecordBuilder(1).Name(Ref(22, 1), u"x").Data(5).Bytes();
    FileTable table(4096, 1 << 20);
    AddAll(table, Numbered(r));
    table.Finish(nullptr);
    const auto upcase = AsciiUpCase();
    struct Case {
        std::vector<std::u16string> path;
        std::int64_t record;
    };
    const Case cases[] = {
        {{}, 5},
        {{u"Data"}, 20},
        {{u"DATA"}, 20},
        {{u"Data", u"Photos"}, 22},
        {{u"data", u"photos"}, 21},
        {{u"Data", u"PHOTOS"}, 22},  // no exact match: the first in index order ("Photos" before "photos")
        {{u"Data", u"file"}, -1},
        {{u"Data", u"link"}, -1},
        {{u"Data", u"missing"}, -1},
        {{u"Nope"}, -1},
    };
    for (const Case& c : cases) EXPECT_EQ(table.FindFolder(c.path, upcase), c.record);

    NoControl control;
    scan::ScanCounters counters;
    model::DirInfo root("X:\\Data\\Photos");
    ASSERT_EQ(table.BuildTree(22, upcase, root, counters, control, 0), ReadResult::kComplete);
    EXPECT_EQ(Lines(root), (std::vector<std::string>{"x 5"}));
}

TEST(NtfsFileTable, RootNotAFolderIsUnavailable) {
    Records r;
    r[5] = RecordBuilder(5).Name(Ref(5, 5), u".").Bytes();
    FileTable table(4096, 1 << 20);
    AddAll(table, Numbered(r));
    table.Finish(nullptr);
    EXPECT_EQ(table.FindFolder({}, AsciiUpCase()), -1);
}

// 20,000 nested folders, built and destroyed on a thread with a 256 KiB stack: anything recursing once
// per level would overflow it.
void* BuildDeepChain(void* result) {
    constexpr std::uint32_t kLevels = 20000;
    FileTable table(4096, 1 << 20);
    AddAll(table, Numbered(Volume()));
    for (std::uint32_t level = 0; level < kLevels; ++level) {
        auto bytes = RecordBuilder(1, true, true).Name(level == 0 ? Ref(5, 5) : Ref(100 + level - 1, 1), u"d").Bytes();
        ntfstest::Put32(bytes, 44, 100 + level);
        table.AddRecord(100 + level, bytes);
    }
    auto bottom = RecordBuilder().Name(Ref(100 + kLevels - 1, 1), u"bottom").Data(42).Bytes();
    ntfstest::Put32(bottom, 44, 100 + kLevels);
    table.AddRecord(100 + kLevels, bottom);
    table.Finish(nullptr);
    NoControl control;
    scan::ScanCounters counters;
    const auto upcase = AsciiUpCase();
    {
        model::DirInfo root("X:");
        bool ok = table.BuildTree(5, upcase, root, counters, control, 0) == ReadResult::kComplete;
        std::uint32_t depth = 0;
        const model::DirInfo* at = &root;
        while (at->subdirs.size() == 1) {
            at = &at->subdirs[0];
            ++depth;
        }
        ok = ok && depth == kLevels && at->files.size() == 1 && root.deepSize == 42 && root.deepDirs == kLevels;
        *static_cast<bool*>(result) = ok;
    }
    return nullptr;
}

TEST(NtfsFileTable, DeepChainOnASmallStack) {
    pthread_attr_t attr;
    pthread_attr_init(&attr);
    pthread_attr_setstacksize(&attr, 256 * 1024);
    pthread_t thread;
    bool ok = false;
    ASSERT_EQ(pthread_create(&thread, &attr, BuildDeepChain, &ok), 0);
    pthread_join(thread, nullptr);
    pthread_attr_destroy(&attr);
    EXPECT_TRUE(ok);
}

TEST(NtfsFileTable, StopsOnRequest) {
    Records r = Volume();
    for (std::uint32_t i = 0; i < 5000; ++i)
        r[100 + i] = RecordBuilder()
                         .Name(Ref(5, 5), u"f" + std::u16string(1, char16_t(u'A' + i % 26)) +
                                              std::u16string(1, char16_t(u'0' + i / 26 % 10)))
                         .Bytes();
    FileTable table(4096, 1 << 20);
    AddAll(table, Numbered(r));
    table.Finish(nullptr);
    NoControl control;
    control.stop = true;
    scan::ScanCounters counters;
    model::DirInfo root("X:");
    EXPECT_EQ(table.BuildTree(5, AsciiUpCase(), root, counters, control, 0), ReadResult::kStopped);
    EXPECT_TRUE(root.files.empty());
    // A second build after the stop still sees every folder unvisited.
    control.stop = false;
    model::DirInfo again("X:");
    EXPECT_EQ(table.BuildTree(5, AsciiUpCase(), again, counters, control, 0), ReadResult::kComplete);
    EXPECT_EQ(again.files.size(), 5000u);
}

// Names in any script, arriving in any order, some in extension records and some that UTF-8 cannot keep
// (unpaired surrogates): each folder lists them as its index would, by their UTF-16 units.
TEST(NtfsFileTable, NamesOfAnyScriptInIndexOrder) {
    const std::u16string high(1, char16_t(0xD800)), low(1, char16_t(0xDC01));
    std::vector<std::u16string> names{u"\uFFFD",  high,       u"\uE000", low + u"x",    high + u"a",
                                      u"A\u00E9", u"a\u00C9", u"\u4E2D", u"\U0001F4C1", u"b",
                                      u"B",       u"ab",      u"_",      u"\u00FF",     u"Z"};
    std::mt19937 random(11);
    std::vector<std::size_t> order(names.size());
    for (std::size_t i = 0; i < order.size(); ++i) order[i] = i;
    std::shuffle(order.begin(), order.end(), random);
    Records r = Volume();
    r[20] = RecordBuilder(1, true, true).Name(Ref(5, 5), u"d\u00E9j\u00E0").Bytes();
    for (std::size_t k = 0; k < order.size(); ++k) {
        const std::size_t i = order[k];
        const std::uint32_t number = 30 + static_cast<std::uint32_t>(2 * k);
        if (i % 3 == 0) {  // the name sits in an extension record
            r[number] = RecordBuilder()
                            .Name(Ref(5, 5), u"base" + std::u16string(1, char16_t(u'A' + k)))
                            .Data(i)
                            .List({{kFileName, Ref(number + 1, 2)}})
                            .Bytes();
            r[number + 1] = RecordBuilder(2).Base(Ref(number, 1)).Name(Ref(20, 1), names[i]).Bytes();
        } else {
            r[number] = RecordBuilder().Name(Ref(20, 1), names[i]).Data(i).Bytes();
        }
    }
    Built b;
    Build(Numbered(r), b);
    ASSERT_EQ(b.result, ReadResult::kComplete);
    const auto upcase = AsciiUpCase();
    std::vector<std::size_t> sorted(names.size());
    for (std::size_t i = 0; i < sorted.size(); ++i) sorted[i] = i;
    std::sort(sorted.begin(), sorted.end(),
              [&](std::size_t x, std::size_t y) { return CollateNames(names[x], names[y], upcase) < 0; });
    std::vector<std::string> expected;
    for (const std::size_t i : sorted) {
        std::string name;
        AppendUtf8(names[i], name);
        expected.push_back("d\xC3\xA9j\xC3\xA0/" + name + " " + std::to_string(i));
    }
    const std::vector<std::string> lines = Lines(b.root);
    ASSERT_EQ(lines.size(), (names.size() + 2) / 3 + 1 + names.size());  // the bases, the folder, its names
    EXPECT_EQ(std::vector<std::string>(lines.end() - static_cast<std::ptrdiff_t>(names.size()), lines.end()), expected);
}

// A folder's names spread over its base record and an extension record: the first whose parent is a
// folder counts, the others are no entries.
TEST(NtfsFileTable, FolderNamesInExtensionRecords) {
    struct Case {
        const char* what;
        std::uint64_t baseParent;
        std::vector<std::string> lines;
    };
    const Case cases[] = {
        {"base name first", Ref(5, 5), {"first/", "first/inside 3"}},
        {"base name under no folder", Ref(900, 1), {"second/", "second/inside 3"}},
    };
    for (const Case& c : cases) {
        Records r = Volume();
        r[20] = RecordBuilder(1, true, true).Name(c.baseParent, u"first").List({{kFileName, Ref(21, 3)}}).Bytes();
        r[21] = RecordBuilder(3).Base(Ref(20, 1)).Name(Ref(5, 5), u"second").Bytes();
        r[22] = RecordBuilder().Name(Ref(20, 1), u"inside").Data(3).Bytes();
        Built b;
        Build(Numbered(r), b);
        EXPECT_EQ(b.result, ReadResult::kComplete) << c.what;
        EXPECT_EQ(Lines(b.root), c.lines) << c.what;
    }
}

// A complete tree takes the table's lists: the table answers no more rather than give an empty tree.
TEST(NtfsFileTable, SpentOnceTheTreeIsComplete) {
    Records r = Volume();
    r[20] = RecordBuilder(1, true, true).Name(Ref(5, 5), u"d").Bytes();
    r[21] = RecordBuilder().Name(Ref(20, 1), u"f").Data(2).Bytes();
    FileTable table(4096, 1 << 20);
    AddAll(table, Numbered(r));
    table.Finish(nullptr);
    NoControl control;
    scan::ScanCounters counters;
    const auto upcase = AsciiUpCase();
    const std::vector<std::u16string> path{u"d"};
    EXPECT_EQ(table.FindFolder(path, upcase), 20);
    model::DirInfo root("X:");
    ASSERT_EQ(table.BuildTree(5, upcase, root, counters, control, 0), ReadResult::kComplete);
    EXPECT_EQ(Lines(root), (std::vector<std::string>{"d/", "d/f 2"}));
    EXPECT_EQ(table.FindFolder(path, upcase), -1);
    model::DirInfo again("X:");
    EXPECT_EQ(table.BuildTree(5, upcase, again, counters, control, 0), ReadResult::kUnavailable);
}

}  // namespace
