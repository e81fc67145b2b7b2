// The NTFS structure decoders on hand-made bytes: boot sector geometry, fix-ups, run lists, attribute
// walks, index collation and name conversion, each against damaged input as well.
#include "RecordBuilder.h"

#include "scan/ntfs/NtfsFormat.h"
#include "scan/ntfs/NtfsReader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <random>

using namespace scan::ntfs;
using ntfstest::Boot;
using ntfstest::Put16;
using ntfstest::Put64;
using ntfstest::RecordBuilder;

namespace {

TEST(NtfsBootSector, GeometryAndRejections) {
    struct Case {
        const char* what;
        std::vector<std::uint8_t> sector;
        bool ok;
        std::uint32_t cluster, record;
    };
    std::vector<Case> cases{
        {"4 KiB clusters, 1 KiB records", Boot(512, 8, -10), true, 4096, 1024},
        {"4Kn sectors, 4 KiB records", Boot(4096, 1, -12), true, 4096, 4096},
        {"64 KiB clusters", Boot(512, 128, -10), true, 65536, 1024},
        {"2 MiB clusters (negative code)", Boot(512, 0xF4, -10), true, 2u << 20, 1024},
        {"record size in clusters", Boot(512, 2, 1), true, 1024, 1024},
        {"zero sectors per cluster", Boot(512, 0, -10), false, 0, 0},
        {"sectors per cluster not a power of two", Boot(512, 3, -10), false, 0, 0},
        {"sector of 500 bytes", Boot(500, 8, -10), false, 0, 0},
        {"cluster above 2 MiB", Boot(4096, 0xF4, -10), false, 0, 0},
        {"record code 0", Boot(512, 8, 0), false, 0, 0},
        {"records of 256 bytes", Boot(512, 8, -8), false, 0, 0},
        {"records of 2^40 bytes", Boot(512, 8, -40), false, 0, 0},
        {"table past the volume", Boot(512, 8, -10, 800, 100), false, 0, 0},
        {"empty volume", Boot(512, 8, -10, 0, 0), false, 0, 0},
    };
    auto noMagic = Boot(512, 8, -10);
    noMagic[3] = 'X';
    cases.push_back({"not NTFS", noMagic, false, 0, 0});
    auto noSignature = Boot(512, 8, -10);
    noSignature[511] = 0;
    cases.push_back({"no boot signature", noSignature, false, 0, 0});
    auto shortSector = Boot(512, 8, -10);
    shortSector.pop_back();
    cases.push_back({"short sector", shortSector, false, 0, 0});
    for (const Case& c : cases) {
        BootSector boot;
        EXPECT_EQ(ParseBootSector(c.sector, boot), c.ok) << c.what;
        if (c.ok) {
            EXPECT_EQ(boot.clusterSize, c.cluster) << c.what;
            EXPECT_EQ(boot.recordSize, c.record) << c.what;
        }
    }
}

TEST(NtfsFixups, RestoresStrideEndsAndRefusesMismatches) {
    const std::vector<std::uint8_t> good = RecordBuilder().Name(ntfstest::Ref(5, 5), u"x").Bytes();
    struct Case {
        const char* what;
        std::size_t at;
        std::uint16_t value;  // a header word at 4 or 6, else one byte
        bool ok;
    };
    const Case cases[] = {
        {"untouched", 0, 0, true},
        {"torn write: second stride end differs", 1022, 0x00, false},
        {"first stride end differs", 510, 0x99, false},
        {"array count too large", 6, 9, false},
        {"array count zero", 6, 0, false},
        {"array offset odd", 4, 49, false},
        {"array past the first stride", 4, 0x1FC, false},
    };
    for (const Case& c : cases) {
        std::vector<std::uint8_t> record = good;
        if (c.at == 4 || c.at == 6)
            Put16(record, c.at, c.value);
        else if (c.at != 0)
            record[c.at] = static_cast<std::uint8_t>(c.value);
        EXPECT_EQ(ApplyFixups(record), c.ok) << c.what;
    }
    std::vector<std::uint8_t> record = good;
    ASSERT_TRUE(ApplyFixups(record));
    EXPECT_EQ(record[510], 0);  // the saved bytes are back
    EXPECT_EQ(record[1022], 0);
    std::vector<std::uint8_t> wrongSize(1000, 0);
    EXPECT_FALSE(ApplyFixups(wrongSize));
}

TEST(NtfsRunList, DecodesAndRejects) {
    struct Case {
        const char* what;
        std::vector<std::uint8_t> bytes;
        bool ok;
        std::vector<scan::ntfs::Run> runs;  // vcn, lcn, length, sparse
    };
    const Case cases[] = {
        {"one run", {0x11, 0x10, 0x20, 0x00}, true, {{0, 0x20, 0x10, false}}},
        {"relative second run, backwards",
         {0x11, 0x08, 0x40, 0x11, 0x04, 0xF0, 0x00},
         true,
         {{0, 0x40, 8, false}, {8, 0x30, 4, false}}},
        {"sparse run between",
         {0x11, 2, 10, 0x01, 5, 0x11, 1, 3, 0},
         true,
         {{0, 10, 2, false}, {2, 0, 5, true}, {7, 13, 1, false}}},
        {"no terminator at the attribute end", {0x11, 1, 1}, true, {{0, 1, 1, false}}},
        {"empty list", {0x00}, true, {}},
        {"length field of 9 bytes", {0x19, 1, 0, 0, 0, 0, 0, 0, 0, 0, 1}, false, {}},
        {"offset field of 9 bytes", {0x91, 1, 0, 0, 0, 0, 0, 0, 0, 0, 1}, false, {}},
        {"zero length", {0x11, 0x00, 0x05, 0x00}, false, {}},
        {"zero-sized length field", {0x10, 0x05, 0x00}, false, {}},
        {"pair cut off", {0x21, 0x05, 0x01}, false, {}},
        {"run before the volume start", {0x11, 0x01, 0xF0, 0x00}, false, {}},
        {"run past the volume end", {0x12, 0x10, 0xF8, 0x03, 0x00}, false, {}},
        {"run ending past the volume", {0x11, 0x20, 0xF0, 0x00}, false, {}},
        {"huge negative delta", {0x81, 0x01, 0, 0, 0, 0, 0, 0, 0, 0x80, 0x00}, false, {}},
        {"huge length", {0x18, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x7F, 0x00}, false, {}},
    };
    for (const Case& c : cases) {
        std::vector<scan::ntfs::Run> runs;
        EXPECT_EQ(DecodeRunList(c.bytes, 0, 1000, runs), c.ok) << c.what;
        if (!c.ok) continue;
        ASSERT_EQ(runs.size(), c.runs.size()) << c.what;
        for (std::size_t i = 0; i < runs.size(); ++i) {
            EXPECT_EQ(runs[i].vcn, c.runs[i].vcn) << c.what;
            EXPECT_EQ(runs[i].length, c.runs[i].length) << c.what;
            EXPECT_EQ(runs[i].sparse, c.runs[i].sparse) << c.what;
            if (!runs[i].sparse) {
                EXPECT_EQ(runs[i].lcn, c.runs[i].lcn) << c.what;
            }
        }
    }
}

TEST(NtfsRecord, AttributeWalkRefusesLengthsPastTheRecord) {
    const std::vector<std::uint8_t> good =
        RecordBuilder().Info(0).Name(ntfstest::Ref(5, 5), u"name.txt").Data(10).Bytes();
    const std::size_t second = RecordBuilder::kFirstAttribute + 72;  // the $FILE_NAME attribute
    struct Case {
        const char* what;
        std::size_t at;
        std::uint32_t value;
        int width;
        bool ok;
    };
    const Case cases[] = {
        {"sound", 0, 0, 0, true},
        {"attribute length past the bytes in use", second + 4, 0x4000, 4, false},
        {"attribute length zero", second + 4, 0, 4, false},
        {"attribute length not aligned", second + 4, 0x61, 4, false},
        {"value past the attribute", second + 16, 0x1000, 4, false},
        {"name past the attribute", second + 9, 200, 1, false},
        {"unknown form code", second + 8, 7, 1, false},
        {"bytes in use past the record", 24, 5000, 4, false},
        {"first attribute misaligned", 20, 57, 2, false},
        {"first attribute past the bytes in use", 20, 1016, 2, false},
        {"not a file record", 0, 0x44414142, 4, false},  // "BAAD"
    };
    for (const Case& c : cases) {
        std::vector<std::uint8_t> record = good;
        ASSERT_TRUE(ApplyFixups(record));
        if (c.width == 1) record[c.at] = static_cast<std::uint8_t>(c.value);
        if (c.width == 2) Put16(record, c.at, static_cast<std::uint16_t>(c.value));
        if (c.width == 4) ntfstest::Put32(record, c.at, c.value);
        RecordHeader header;
        int attributes = 0;
        EXPECT_EQ(ForEachAttribute(record, header, [&](const Attribute&) { ++attributes; }), c.ok) << c.what;
        if (c.ok) {
            EXPECT_EQ(attributes, 3);
        }
    }
}

TEST(NtfsRecord, PlaceOfARecord) {
    auto numbered = [](std::vector<std::uint8_t> bytes, std::uint32_t number) {
        ntfstest::Put32(bytes, 44, number);
        return bytes;
    };
    auto magic = [](std::vector<std::uint8_t> bytes, const char* text) {
        std::memcpy(bytes.data(), text, 4);
        return bytes;
    };
    const auto record = RecordBuilder().Name(ntfstest::Ref(5, 5), u"x").Bytes();
    struct Case {
        const char* what;
        std::vector<std::uint8_t> bytes;
        RecordPlace place;
    };
    const Case cases[] = {
        {"its own number", numbered(record, 300), RecordPlace::kThis},
        {"another number", numbered(record, 301), RecordPlace::kOther},
        {"number 0 at another place", record, RecordPlace::kOther},
        {"marked bad by the system, its own number", magic(numbered(record, 300), "BAAD"), RecordPlace::kThis},
        {"an older record: no number stored", RecordBuilder().OlderHeader().Bytes(), RecordPlace::kThis},
        {"zeros", std::vector<std::uint8_t>(1024, 0), RecordPlace::kNone},
        {"an index block", magic(numbered(record, 300), "INDX"), RecordPlace::kNone},
        {"too short for a header", std::vector<std::uint8_t>{'F', 'I', 'L', 'E'}, RecordPlace::kNone},
    };
    for (const Case& c : cases) EXPECT_EQ(PlaceOf(c.bytes, 300), c.place) << c.what;
}

TEST(NtfsRecord, SizesOfNonResidentAttributes) {
    struct Case {
        const char* what;
        std::uint64_t lowestVcn, dataSize, allocated;
        bool ok;
    };
    const Case cases[] = {
        {"data within its allocation", 0, 5000, 8192, true},
        {"data filling its allocation", 0, 8192, 8192, true},
        {"data above its allocation", 0, 8193, 8192, false},
        {"a later extent, whose sizes mean nothing", 2, 8193, 0, true},
    };
    for (const Case& c : cases) {
        auto record = RecordBuilder()
                          .NonResident(kData, {0x11, 0x02, 0x30}, c.dataSize, c.lowestVcn)
                          .Allocated(c.allocated)
                          .Bytes();
        ASSERT_TRUE(ApplyFixups(record));
        RecordHeader header;
        std::uint64_t seen = 0;
        EXPECT_EQ(ForEachAttribute(record, header, [&](const Attribute& a) { seen = a.allocatedSize; }), c.ok)
            << c.what;
        if (c.ok) {
            EXPECT_EQ(seen, c.allocated) << c.what;
        }
    }
}

TEST(NtfsRecord, FileNameAndAttributeList) {
    std::vector<std::uint8_t> value(66 + 6, 0);
    Put64(value, 0, ntfstest::Ref(42, 3));
    value[64] = 3;
    value[65] = kPosixName;
    FileName name;
    ASSERT_TRUE(ParseFileName(value, name));
    EXPECT_EQ(RecordOf(name.parent), 42u);
    EXPECT_EQ(SequenceOf(name.parent), 3u);
    EXPECT_EQ(name.attributes, 0u);
    ntfstest::Put32(value, 56, kNameOfFolder | 0x20);
    ASSERT_TRUE(ParseFileName(value, name));
    EXPECT_EQ(name.attributes, kNameOfFolder | 0x20);
    value[64] = 4;  // longer than the value
    EXPECT_FALSE(ParseFileName(value, name));
    value[64] = 0;
    EXPECT_FALSE(ParseFileName(value, name));
    value[64] = 3;
    value[65] = 4;  // no such name space
    EXPECT_FALSE(ParseFileName(value, name));

    std::vector<std::uint8_t> list(64, 0);
    for (std::size_t at : {0u, 32u}) {
        Put16(list, at + 4, 32);
        Put64(list, at + 16, ntfstest::Ref(at == 0 ? 20 : 21, 1));
    }
    std::vector<AttributeListEntry> entries;
    EXPECT_TRUE(ParseAttributeList(list, entries));
    EXPECT_EQ(entries.size(), 2u);
    Put16(list, 36, 0);  // second entry length 0 would loop for ever
    entries.clear();
    EXPECT_FALSE(ParseAttributeList(list, entries));
    EXPECT_EQ(entries.size(), 1u);
}

TEST(NtfsNames, CollationFollowsTheUpCaseTable) {
    // An up-case table for ASCII and Latin-1 letters only; everything else maps to itself.
    std::vector<std::uint16_t> upcase(256);
    for (std::size_t c = 0; c < upcase.size(); ++c)
        upcase[c] =
            static_cast<std::uint16_t>((c >= 'a' && c <= 'z') || (c >= 0xE0 && c <= 0xFE && c != 0xF7) ? c - 32 : c);
    struct Case {
        std::u16string a, b;
        int order;
    };
    const Case cases[] = {
        {u"abc", u"ABD", -1},          // letter case ignored
        {u"abc", u"ABC", 1},           // equal ignoring case: own code units decide ('A' < 'a')
        {u"ab", u"ABC", -1},           // prefix first
        {u"a_b", u"a-b", 1},           // '_' (0x5F) after '-' (0x2D)
        {u"Z", u"a_", 1},              // 'Z' after 'A'
        {u"\u00E4x", u"\u00C4y", -1},  // ä and Ä the same letter
        {u"\u0101", u"\u0100", 1},     // outside the table: compared as they are
        {u"[x", u"a", 1},              // '[' (0x5B) after 'A' (0x41)
        {u"same", u"same", 0},
    };
    for (const Case& c : cases) {
        const int got = CollateNames(c.a, c.b, upcase);
        EXPECT_EQ((got > 0) - (got < 0), c.order);
        const int back = CollateNames(c.b, c.a, upcase);
        EXPECT_EQ((back > 0) - (back < 0), -c.order);
    }
}

TEST(NtfsNames, Utf16ToUtf8AndBack) {
    struct Case {
        std::u16string wide;
        std::string utf8;
    };
    const Case cases[] = {
        {u"plain", "plain"},
        {u"caf\u00E9", "caf\xC3\xA9"},
        {u"\u65E5\u672C", "\xE6\x97\xA5\xE6\x9C\xAC"},
        {u"\U0001F4C1", "\xF0\x9F\x93\x81"},
        {std::u16string(1, char16_t(0xD800)) + u"x", "\xEF\xBF\xBDx"},  // lone high surrogate
        {std::u16string(1, char16_t(0xDC00)), "\xEF\xBF\xBD"},          // lone low surrogate
    };
    for (const Case& c : cases) {
        std::string out;
        AppendUtf8(c.wide, out);
        EXPECT_EQ(out, c.utf8);
    }
    EXPECT_EQ(Utf8ToUtf16("caf\xC3\xA9 \xF0\x9F\x93\x81"), u"caf\u00E9 \U0001F4C1");
    EXPECT_EQ(Utf8ToUtf16("a\xFF"
                          "b\xC3"),
              u"a\uFFFDb\uFFFD");

    std::vector<std::u16string> parts;
    EXPECT_TRUE(SplitRelativePath("Data\\Photos\\", parts));
    EXPECT_EQ(parts, (std::vector<std::u16string>{u"Data", u"Photos"}));
    EXPECT_TRUE(SplitRelativePath("", parts));
    EXPECT_TRUE(parts.empty());
    EXPECT_FALSE(SplitRelativePath("Data\\..\\x\\", parts));
}

// Names kept as UTF-8 must collate and compare exactly as their UTF-16 units do, whatever the script,
// with the original units standing in where UTF-8 lost an unpaired surrogate.
TEST(NtfsNames, NamesKeptAsUtf8CollateLikeTheirUnits) {
    std::vector<std::uint16_t> upcase(0x3000);
    for (std::size_t c = 0; c < upcase.size(); ++c)
        upcase[c] =
            static_cast<std::uint16_t>((c >= 'a' && c <= 'z') || (c >= 0xE0 && c <= 0xFE && c != 0xF7) ? c - 32 : c);
    upcase[0x3B1] = 0x391;  // greek alpha
    const char16_t alphabet[] = {u'a',  u'A',  u'b',  u'Z',  u'_',   u'-',   u'~',   0x7F,   0x80,   0xC9,  0xE9,
                                 0x391, 0x3B1, 0x7FF, 0x800, 0x4E2D, 0xFFFD, 0xFF21, 0xD83D, 0xDCC1, 0xDBFF};
    std::mt19937 random(7);
    auto name = [&] {
        std::u16string text;
        for (std::size_t n = random() % 6; n > 0; --n) text += alphabet[random() % std::size(alphabet)];
        if (random() % 4 == 0) text += u"\U0001F4C1";
        return text;
    };
    std::vector<std::u16string> names;
    for (int i = 0; i < 400; ++i) names.push_back(name());
    names.push_back(u"");
    std::vector<std::string> utf8(names.size());
    std::vector<bool> lossless(names.size());
    for (std::size_t i = 0; i < names.size(); ++i) {
        lossless[i] = Utf16ToUtf8(names[i], utf8[i]);
        std::string expected, fromBytes;
        AppendUtf8(names[i], expected);
        ASSERT_EQ(utf8[i], expected);
        std::vector<std::uint8_t> bytes;
        for (const char16_t c : names[i]) bytes.insert(bytes.end(), {std::uint8_t(c & 0xFF), std::uint8_t(c >> 8)});
        EXPECT_EQ(Utf16LeToUtf8(bytes, fromBytes), bool(lossless[i]));
        EXPECT_EQ(fromBytes, expected);
        EXPECT_EQ(lossless[i], Utf8ToUtf16(expected) == names[i]) << i;
    }
    auto units = [&](std::size_t i) { return NameUnits(utf8[i], lossless[i] ? nullptr : &names[i]); };
    auto sign = [](int v) { return (v > 0) - (v < 0); };
    auto sameIgnoringCase = [&](std::u16string_view a, std::u16string_view b) {
        auto up = [&](char16_t c) { return c < upcase.size() ? upcase[c] : c; };
        return a.size() == b.size() &&
               std::equal(a.begin(), a.end(), b.begin(), [&](char16_t x, char16_t y) { return up(x) == up(y); });
    };
    for (std::size_t i = 0; i < names.size(); ++i) {
        for (std::size_t j = 0; j < names.size(); j += 1 + i % 3) {
            ASSERT_EQ(sign(CollateNames(units(i), units(j), upcase)), sign(CollateNames(names[i], names[j], upcase)))
                << i << " " << j;
            EXPECT_EQ(SameName(units(i), names[j]), names[i] == names[j]);
            EXPECT_EQ(SameNameIgnoringCase(units(i), names[j], upcase), sameIgnoringCase(names[i], names[j]));
        }
    }
    char16_t unit = 0;
    NameUnits cut("ab\xE4\xB8");  // cut short: one U+FFFD, then the end
    EXPECT_TRUE(cut.Next(unit) && unit == u'a' && cut.Next(unit) && unit == u'b');
    EXPECT_TRUE(cut.Next(unit) && unit == 0xFFFD);
    EXPECT_FALSE(cut.Next(unit));
}

}  // namespace
