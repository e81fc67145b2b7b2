// File types: which extension a name has, how it is lower-cased, and the totals by type of a tree, in one
// pass or a slice at a time.
#include "model/FileTypes.h"

#include "TreeBuilders.h"
#include "common/PathTree.h"

#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <string>

namespace {

using model::FileTypeOf;

TEST(FileTypes, TheExtensionIsAfterTheLastDotThatIsNeitherFirstNorLast) {
    const struct {
        std::string name;
        std::string type;
    } cases[] = {
        {"a.tar.gz", "gz"},
        {"README", ""},
        {".gitignore", ""},
        {"x.", ""},
        {"a..", ""},
        {".", ""},
        {"", ""},
        {"..bashrc", "bashrc"},
        {"Photo.JPG", "jpg"},
        {"photo.jpg", "jpg"},
        {"Mixed.JpEg", "jpeg"},
        {"v1.2 final", "2 final"},
        {"folder.d\\x", "d\\x"},
        // Two-byte UTF-8 capitals fold: Latin-1, Greek (both blocks), Cyrillic (both blocks).
        {"notes.\xC3\x89T\xC3\x89", "\xC3\xA9t\xC3\xA9"},            // ÉTÉ -> été
        {"x.\xC3\x9E", "\xC3\xBE"},                                  // Þ -> þ
        {"x.\xC3\x97\xC3\x9F", "\xC3\x97\xC3\x9F"},                  // × and ß have no other case
        {"x.\xCE\x91\xCE\x92\xCE\x93", "\xCE\xB1\xCE\xB2\xCE\xB3"},  // ΑΒΓ -> αβγ
        {"x.\xCE\xA3\xCE\xA9", "\xCF\x83\xCF\x89"},                  // ΣΩ -> σω
        {"x.\xD0\x94\xD0\x9E\xD0\x9A", "\xD0\xB4\xD0\xBE\xD0\xBA"},  // ДОК -> док
        {"x.\xD0\xAF\xD0\x81", "\xD1\x8F\xD1\x91"},                  // ЯЁ -> яё
        {"\xE6\x97\xA5\xE6\x9C\xAC.\xE6\x96\x87", "\xE6\x96\x87"},   // 日本.文: three-byte letters stay
        {"x.A\xC3", "a\xC3"},                                        // a lead byte at the very end stays
        // 255-character names.
        {std::string(251, 'a') + ".TXT", "txt"},
        {"a." + std::string(253, 'X'), std::string(253, 'x')},
        {"." + std::string(254, 'z'), ""},
        {std::string(254, 'b') + ".", ""},
        // Longer than any file system's name (a data file may hold one): still whole.
        {"a." + std::string(3000, 'Q'), std::string(3000, 'q')},
    };
    for (const auto& c : cases) EXPECT_EQ(FileTypeOf(c.name), c.type) << c.name;
    EXPECT_EQ(model::TypeDisplayName(""), "(no extension)");
    EXPECT_EQ(model::TypeDisplayName("gz"), "gz");
}

TEST(FileTypes, UpperAndLowerCaseAreOneTypeNamedInLowerCase) {
    const model::DirInfo tree = test_support::PathTree("C:", {{"a.JPG", 10},
                                                              {"b.jpg", 20},
                                                              {"Sub\\c.Jpg", 30},
                                                              {"Sub\\D.\xC3\x89T\xC3\x89", 4},
                                                              {"e.\xC3\xA9t\xC3\xA9", 5}});
    const model::TypeTable table = model::ComputeTypeTable(tree, true, 0);
    ASSERT_EQ(table.Types().size(), 2u);
    ASSERT_TRUE(table.Find("jpg"));
    EXPECT_EQ(table.Find("jpg")->totals, (model::TypeTotals{60, 0, 3}));
    ASSERT_TRUE(table.Find("\xC3\xA9t\xC3\xA9"));
    EXPECT_EQ(table.Find("\xC3\xA9t\xC3\xA9")->totals.files, 2u);
    EXPECT_FALSE(table.Find("JPG"));  // look-ups take the lower-cased type
}

// The table built independently: one FileTypeOf per file into a map.
std::map<std::string, model::TypeTotals> ByMap(const model::DirInfo& start, bool recurse, std::uint32_t cluster) {
    std::map<std::string, model::TypeTotals> totals;
    std::vector<const model::DirInfo*> pending{&start};
    while (!pending.empty()) {
        const model::DirInfo* dir = pending.back();
        pending.pop_back();
        for (const model::FileInfo& file : dir->files) totals[FileTypeOf(file.name)].Add(file.size, cluster);
        if (recurse)
            for (const model::DirInfo& sub : dir->subdirs) pending.push_back(&sub);
    }
    return totals;
}

std::map<std::string, model::TypeTotals> AsMap(const model::TypeTable& table) {
    std::map<std::string, model::TypeTotals> totals;
    for (const model::FileType& type : table.Types()) {
        EXPECT_TRUE(totals.emplace(std::string(type.type), type.totals).second) << "type listed twice: " << type.type;
    }
    return totals;
}

TEST(FileTypes, TotalsPerTypeAreTheSumsOverTheFilesInOnePassOrInSlices) {
    for (std::uint32_t seed : {1u, 2u, 3u}) {
        for (std::uint32_t cluster : {0u, 4096u}) {
            model::DirInfo tree = model_test::RandomTree(seed, 60, 25);
            // Names of a few common types besides the random bytes, in both cases.
            for (int i = 0; i < 40; ++i)
                tree.subdirs[static_cast<std::size_t>(i) % tree.subdirs.size()].files.emplace_back(
                    (i % 2 ? "clip" : "CLIP") + std::to_string(i) + (i % 3 ? ".mkv" : ".MKV"), 1000u + i);
            model::RecomputeTotals(tree, cluster);
            for (bool recurse : {true, false}) {
                const auto expected = ByMap(tree, recurse, cluster);
                const model::TypeTable table = model::ComputeTypeTable(tree, recurse, cluster);
                EXPECT_EQ(AsMap(table), expected) << seed << " recurse " << recurse;
                if (recurse) {
                    EXPECT_EQ(table.Total(), (model::TypeTotals{tree.deepSize, tree.deepAlloc, tree.deepFiles}))
                        << seed;
                }
                for (std::size_t slice : {1u, 7u, 100u}) {
                    model::TypeTableWalk walk(tree, recurse, cluster);
                    EXPECT_EQ(walk.FilesInScope(), recurse ? tree.deepFiles : tree.files.size());
                    int steps = 0;
                    while (!walk.Step(slice)) {
                        ++steps;
                        EXPECT_LE(walk.FilesDone(), static_cast<std::uint64_t>(steps) * slice);
                        ASSERT_LT(steps, 1000000);
                    }
                    EXPECT_EQ(walk.FilesDone(), walk.FilesInScope());
                    EXPECT_EQ(AsMap(walk.Table()), expected) << seed << " slice " << slice;
                }
            }
            const model::TypeTable whole = model::ComputeTypeTable(tree, true, cluster);
            for (const model::FileType& type : whole.Types()) {
                ASSERT_EQ(model::TotalsOfType(tree, type.type, cluster), type.totals) << seed << " " << type.type;
                ASSERT_TRUE(whole.Find(type.type)) << type.type;
                EXPECT_EQ(whole.Find(type.type)->totals, type.totals);
            }
            EXPECT_FALSE(whole.Find("no such type"));
            EXPECT_EQ(model::TotalsOfType(tree, "no such type", cluster), model::TypeTotals{});
        }
    }
}

// Tens of thousands of types, so that the table grows many times: extensions of every length up to past
// what is folded on the stack, in both cases, in runs of one extension and of one type written two ways.
TEST(FileTypes, ATableOfManyTypesHoldsEveryTypeOnceWithItsTotals) {
    std::uint64_t state = 7;
    const auto next = [&state](std::uint64_t below) {
        state = state * 6364136223846793005ull + 1442695040888963407ull;
        return (state >> 17) % below;
    };
    std::vector<std::string> extensions;
    for (int i = 0; i < 30000; ++i) {
        std::string text(next(60), 'a');
        for (char& c : text) c = "abcXYZ019-_ \xC3\x89"[next(14)];
        extensions.push_back(std::move(text));
    }
    model::DirInfo tree("C:");
    for (int folder = 0; folder < 40; ++folder) {
        model::DirInfo& dir = tree.subdirs.emplace_back("d" + std::to_string(folder));
        for (int file = 0; file < 2500;) {
            std::string extension = extensions[next(extensions.size())];
            for (std::uint64_t run = 1 + next(4); run > 0 && file < 2500; --run, ++file) {
                if (next(2))
                    for (char& c : extension) c = c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
                dir.files.emplace_back("f" + std::to_string(file) + "." + extension, next(100000));
            }
        }
    }
    model::RecomputeTotals(tree, 4096);
    const model::TypeTable table = model::ComputeTypeTable(tree, true, 4096);
    const auto expected = ByMap(tree, true, 4096);
    ASSERT_GT(expected.size(), 20000u);
    EXPECT_EQ(table.TypeCount(), expected.size());
    EXPECT_EQ(AsMap(table), expected);
    for (const auto& [type, totals] : expected) {
        const std::optional<std::uint32_t> index = table.IndexOfType(type);
        ASSERT_TRUE(index) << type;
        EXPECT_EQ(table.TypeAt(*index).type, type);
        EXPECT_EQ(table.TypeAt(*index).totals, totals) << type;
    }
    EXPECT_FALSE(table.IndexOfType("no such type"));
}

TEST(FileTypes, AnEmptyScopeHasNoTypesAndAWalkOfEmptyFoldersEnds) {
    model::DirInfo tree("C:");
    for (int i = 0; i < 5; ++i) tree.subdirs.emplace_back("d" + std::to_string(i)).subdirs.emplace_back("e");
    model::RecomputeTotals(tree, 512);
    model::TypeTableWalk walk(tree, true, 512);
    int steps = 0;
    while (!walk.Step(1)) ASSERT_LT(++steps, 100);
    EXPECT_GE(steps, 5);  // one folder per step: the window gets its turns even over empty folders
    EXPECT_TRUE(walk.Table().Types().empty());
    EXPECT_EQ(walk.Table().Total(), model::TypeTotals{});
}

}  // namespace
