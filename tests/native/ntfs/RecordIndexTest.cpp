// The record index against a std::map: numbers that share their low bits, a growing table, entries that
// must keep their fields when the table moves them.
#include "scan/ntfs/RecordIndex.h"

#include <gtest/gtest.h>

#include <map>
#include <random>
#include <vector>

using scan::ntfs::RecordIndex;

namespace {

TEST(NtfsRecordIndex, FindsWhatWasInsertedAcrossGrowth) {
    struct Case {
        const char* what;
        std::vector<std::uint32_t> numbers;
    };
    std::vector<std::uint32_t> sequential, strided, random, edges{0, 1, RecordIndex::kNone - 1, 5, 0, 5};
    for (std::uint32_t i = 0; i < 5000; ++i) sequential.push_back(i);
    for (std::uint32_t i = 0; i < 5000; ++i) strided.push_back(i << 20);  // alike in every low bit
    std::mt19937 generator(3);
    for (int i = 0; i < 5000; ++i) random.push_back(generator() % 20000);  // with repeats
    const Case cases[] = {{"sequential", sequential}, {"strided", strided}, {"random", random}, {"edges", edges}};
    for (const Case& c : cases) {
        RecordIndex index;
        std::map<std::uint32_t, std::uint16_t> expected;
        EXPECT_EQ(index.Find(7), nullptr) << c.what;
        for (const std::uint32_t number : c.numbers) {
            RecordIndex::Entry& entry = index.Insert(number);
            // A number seen before keeps its entry; a new one starts empty.
            if (expected.count(number)) {
                EXPECT_EQ(entry.sequence, expected[number]) << c.what << " " << number;
            } else {
                EXPECT_EQ(entry.sequence, 0u) << c.what;
                EXPECT_EQ(entry.folder, RecordIndex::kNone) << c.what;
            }
            entry.sequence = static_cast<std::uint16_t>(number * 7 + 1);
            entry.folder = number / 2;
            expected[number] = entry.sequence;
        }
        EXPECT_EQ(index.size(), expected.size()) << c.what;
        for (const auto& [number, sequence] : expected) {
            const RecordIndex::Entry* entry = index.Find(number);
            ASSERT_NE(entry, nullptr) << c.what << " " << number;
            EXPECT_EQ(entry->number, number);
            EXPECT_EQ(entry->sequence, sequence);
            EXPECT_EQ(entry->folder, number / 2);
        }
        std::size_t visited = 0;
        index.ForEach([&](RecordIndex::Entry& entry) {
            ++visited;
            EXPECT_EQ(expected.count(entry.number), 1u) << c.what;
        });
        EXPECT_EQ(visited, expected.size()) << c.what;
        for (const std::uint32_t absent : {2u << 20 | 1, 40000u, RecordIndex::kNone - 2}) {
            if (!expected.count(absent)) {
                EXPECT_EQ(index.Find(absent), nullptr) << c.what << " " << absent;
            }
        }
    }
}

}  // namespace
