#include "model/DataFile.h"
#include "model/DirInfo.h"

#include "TreeBuilders.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

using model::DirInfo;
using model::FileInfo;
using model::Name;
using model::RecordList;

namespace {

// Valid UTF-8 of exactly `bytes` bytes: one-, two-, three- and four-byte characters, filled up with ASCII.
std::string Utf8Text(std::mt19937& rng, std::size_t bytes) {
    static const char* const kCharacters[] = {"a", "Z", "\\", "\xC3\xA9", "\xE6\x97\xA5", "\xF0\x9F\x98\x80"};
    std::string text;
    text.reserve(bytes);
    while (text.size() < bytes) {
        const std::string piece = kCharacters[rng() % 6];
        text += text.size() + piece.size() <= bytes ? piece : std::string(1, 'x');
    }
    return text;
}

// Name lengths around every boundary of the stored form, up to the data file's limit.
std::size_t NameLength(std::mt19937& rng) {
    static const std::size_t kLengths[] = {0, 1, 2, 253, 254, 255, 256, 4096, 65534, model::kMaxStoredNameLength};
    return rng() % 4 == 0 ? kLengths[rng() % std::size(kLengths)] : rng() % 41;
}

// A tree of long UTF-8 and empty names with one crowded folder; every list grown entry by entry.
DirInfo LongNameTree(std::uint32_t seed) {
    std::mt19937 rng(seed);
    DirInfo root("C:");
    std::vector<DirInfo*> folders{&root};
    for (int i = 0; i < 60; ++i) {
        DirInfo& parent = *folders[rng() % folders.size()];
        parent.subdirs.emplace_back(Utf8Text(rng, NameLength(rng))).sortKey = static_cast<std::int32_t>(rng());
        // Growth moves the records: collect the folders afresh.
        folders = {&root};
        for (std::size_t k = 0; k < folders.size(); ++k)
            for (DirInfo& sub : folders[k]->subdirs) folders.push_back(&sub);
    }
    for (DirInfo* dir : folders)
        for (std::uint32_t f = rng() % 5; f > 0; --f)
            dir->files.emplace_back(Utf8Text(rng, NameLength(rng)), rng(), -1);
    DirInfo& crowded = *folders.back();
    for (int f = 0; f < 20000; ++f) crowded.files.emplace_back(Utf8Text(rng, rng() % 30), f, f % 3);
    for (int d = 0; d < 3000; ++d) crowded.subdirs.emplace_back(Utf8Text(rng, rng() % 30));
    model::RecomputeTotals(root, 4096);
    return root;
}

std::vector<std::string> NamesOf(const RecordList<FileInfo>& files) {
    std::vector<std::string> names;
    for (const FileInfo& file : files) names.emplace_back(file.name);
    return names;
}

}  // namespace

TEST(Name, ReadsLikeTheTextItWasGivenAndOwnsItsCopies) {
    std::mt19937 rng(5);
    for (std::size_t length : {0, 1, 254, 255, 256, 65535}) {
        const std::string text = Utf8Text(rng, length);
        Name name(text);
        EXPECT_EQ(name, text);
        EXPECT_EQ(name.size(), length);
        EXPECT_EQ(name.empty(), length == 0);

        RecordList<FileInfo> list;
        list.emplace_back(text, 1);
        Name copied = list[0].name;
        Name moved = std::move(list[0].name);  // a name kept in a list is copied, never taken
        list = {};
        EXPECT_EQ(copied, text);
        EXPECT_EQ(moved, text);

        moved = moved.view().substr(length / 2);  // from its own bytes
        EXPECT_EQ(moved, std::string_view(text).substr(length / 2));
        copied = copied;
        EXPECT_EQ(copied, text);
        EXPECT_EQ("<" + copied + ">", "<" + text + ">");
    }
}

// Every short length, where names are copied word by word, with neighbours on both sides in one block.
TEST(Name, EveryShortLengthKeepsItsBytesAndItsNeighbours) {
    std::mt19937 rng(8);
    std::vector<std::string> texts;
    for (std::size_t length = 0; length <= 80; ++length) texts.push_back(Utf8Text(rng, length));
    RecordList<FileInfo> list;
    for (const std::string& text : texts) list.emplace_back(text, text.size());
    ASSERT_EQ(list.size(), texts.size());
    for (std::size_t i = 0; i < texts.size(); ++i) {
        EXPECT_EQ(list[i].name, texts[i]) << i;
        EXPECT_EQ(Name(texts[i]), texts[i]) << i;
    }
}

TEST(RecordList, ManySiblingsKeepTheirNamesThroughGrowthCopiesAndRemoval) {
    std::mt19937 rng(9);
    std::vector<std::string> expected;
    RecordList<FileInfo> files;
    for (int i = 0; i < 30000; ++i) {
        expected.push_back(Utf8Text(rng, i % 997 == 0 ? 300 : rng() % 12));
        files.emplace_back(expected.back(), i);
    }
    EXPECT_EQ(NamesOf(files), expected);
    files.shrink_to_fit();
    EXPECT_EQ(files.capacity(), files.size());
    EXPECT_EQ(NamesOf(files), expected);

    RecordList<FileInfo> copy = files;
    EXPECT_EQ(copy, files);
    EXPECT_EQ(copy.name_bytes(), files.name_bytes());
    RecordList<FileInfo> moved = std::move(copy);
    EXPECT_EQ(NamesOf(moved), expected);

    // Removal keeps the order of the rest.
    EXPECT_EQ(model::erase_if(moved, [](const FileInfo& f) { return f.size % 3 != 0; }), 20000u);
    std::vector<std::string> kept;
    for (std::size_t i = 0; i < expected.size(); i += 3) kept.push_back(expected[i]);
    EXPECT_EQ(NamesOf(moved), kept);
    moved.pop_back();
    kept.pop_back();
    moved.emplace_back("last", 1);
    kept.push_back("last");
    EXPECT_EQ(NamesOf(moved), kept);
}

// A record appended from the list itself: at the end of its room (the list grows while reading it) and
// with room to spare.
TEST(RecordList, AppendingARecordOfTheListItself) {
    for (bool full : {true, false}) {
        SCOPED_TRACE(full ? "list full" : "room to spare");
        RecordList<FileInfo> files;
        files.reserve(full ? 2 : 8, full ? 0 : 1000);
        files.emplace_back(std::string(300, 'a'), 1);
        files.emplace_back("b", 2);
        files.push_back(files[0]);
        files.push_back(std::move(files[1]));
        ASSERT_EQ(files.size(), 4u);
        EXPECT_EQ(files[2], FileInfo(std::string(300, 'a'), 1));
        EXPECT_EQ(files[3], FileInfo("b", 2));
        EXPECT_EQ(files[0].name, std::string(300, 'a'));
    }
}

TEST(DirInfoValue, FoldersCopiedAndMovedWithinTheirOwnTree) {
    const DirInfo original = LongNameTree(3);
    struct Case {
        const char* what;
        void (*change)(DirInfo& root);
        void (*expect)(const DirInfo& before, DirInfo& after);
    };
    const Case cases[] = {
        {"copy a folder into its own parent", [](DirInfo& root) { root.subdirs.push_back(root.subdirs[0]); },
         [](const DirInfo& before, DirInfo& after) {
             ASSERT_EQ(after.subdirs.size(), before.subdirs.size() + 1);
             EXPECT_EQ(after.subdirs.back(), before.subdirs[0]);
             EXPECT_EQ(after.subdirs[0], before.subdirs[0]);
         }},
        {"move a folder into its own parent", [](DirInfo& root) { root.subdirs.push_back(std::move(root.subdirs[0])); },
         [](const DirInfo& before, DirInfo& after) {
             ASSERT_EQ(after.subdirs.size(), before.subdirs.size() + 1);
             EXPECT_EQ(after.subdirs.back(), before.subdirs[0]);
         }},
        {"copy a folder into itself", [](DirInfo& root) { root.subdirs[0].subdirs.push_back(root.subdirs[0]); },
         [](const DirInfo& before, DirInfo& after) { EXPECT_EQ(after.subdirs[0].subdirs.back(), before.subdirs[0]); }},
        {"copy the tree into one of its folders", [](DirInfo& root) { root.subdirs.back().subdirs.push_back(root); },
         [](const DirInfo& before, DirInfo& after) { EXPECT_EQ(after.subdirs.back().subdirs.back(), before); }},
        {"replace the tree by a copy of a folder in it", [](DirInfo& root) { root = root.subdirs[1]; },
         [](const DirInfo& before, DirInfo& after) { EXPECT_EQ(after, before.subdirs[1]); }},
        {"move the tree out and back",
         [](DirInfo& root) {
             DirInfo taken = std::move(root);
             root = std::move(taken);
         },
         [](const DirInfo& before, DirInfo& after) { EXPECT_EQ(after, before); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        DirInfo tree = original;
        ASSERT_GE(tree.subdirs.size(), 2u);
        c.change(tree);
        c.expect(original, tree);
        // The changed tree still encodes and reads back whole.
        std::string bytes;
        ASSERT_TRUE(model::EncodeDataFile(4096, tree, bytes));
        DirInfo read;
        std::uint32_t cluster = 0;
        ASSERT_EQ(model::DecodeDataFile(bytes, read, cluster), model::DecodeResult::kComplete);
        model::RecomputeTotals(tree, cluster);
        model::RecomputeTotals(read, cluster);
        EXPECT_EQ(read, tree);
    }
}

TEST(DataFileRoundTrip, LongUtf8AndEmptyNamesAndManySiblings) {
    for (std::uint32_t seed : {1u, 2u, 3u}) {
        const DirInfo original = LongNameTree(seed);
        std::string bytes;
        ASSERT_TRUE(model::EncodeDataFile(4096, original, bytes)) << seed;
        DirInfo read;
        std::uint32_t cluster = 0;
        ASSERT_EQ(model::DecodeDataFile(bytes, read, cluster), model::DecodeResult::kComplete) << seed;
        model::RecomputeTotals(read, cluster);
        EXPECT_EQ(read, original) << seed;
        // What was read is made at its final size.
        std::vector<const DirInfo*> stack{&read};
        while (!stack.empty()) {
            const DirInfo* dir = stack.back();
            stack.pop_back();
            ASSERT_EQ(dir->files.capacity(), dir->files.size());
            ASSERT_EQ(dir->subdirs.capacity(), dir->subdirs.size());
            for (const DirInfo& sub : dir->subdirs) stack.push_back(&sub);
        }
    }
}
