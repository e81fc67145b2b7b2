#include "compare/ChangeRanking.h"

#include "common/PathTree.h"

#include <gtest/gtest.h>

namespace {

using compare::Ranking;
using test_support::PathTree;

// path then change, as the lists read.
std::vector<std::string> Lines(const std::vector<compare::RankedItem>& items) {
    std::vector<std::string> lines;
    for (const auto& item : items) lines.push_back(item.path + " " + compare::FormatChange(item.change));
    return lines;
}

const model::DirInfo kEarlier = PathTree("C:", {{"Grow\\g", 100},
                                                {"Grow\\Inner\\i", 10},
                                                {"Shrink\\s", 1000},
                                                {"Shrink\\gone.txt", 40},
                                                {"Went\\w1", 500},
                                                {"Went\\Deep\\w2", 5},
                                                {"Same\\x", 7},
                                                {"top", 3}});
const model::DirInfo kLive = PathTree("D:", {{"grow\\g", 150},
                                             {"grow\\Inner\\i", 30},
                                             {"grow\\Inner\\new.bin", 2},
                                             {"Shrink\\s", 900},
                                             {"Same\\x", 7},
                                             {"Fresh\\f", 60},
                                             {"Fresh\\empty", 0},
                                             {"top", 3}});

TEST(ChangeRanking, ListsTheLargestChangesOfEachKind) {
    const compare::TreeComparison comparison(kLive, kEarlier, 0);
    struct {
        compare::RankingQuery query;
        std::vector<std::string> lines;
    } cases[] = {
        {{Ranking::kGrowth, 20, true},
         {"D:\\grow\\ +72 bytes", "D:\\Fresh\\ +60 bytes", "D:\\grow\\Inner\\ +22 bytes"}},
        {{Ranking::kGrowth, 3, false}, {"D:\\grow\\ +72 bytes", "D:\\Fresh\\ +60 bytes", "D:\\Fresh\\f +60 bytes"}},
        {{Ranking::kShrink, 20, true}, {"D:\\Shrink\\ -140 bytes"}},
        {{Ranking::kShrink, 20, false}, {"D:\\Shrink\\ -140 bytes", "D:\\Shrink\\s -100 bytes"}},
        {{Ranking::kNewFiles, 20, false},
         {"D:\\Fresh\\f +60 bytes", "D:\\grow\\Inner\\new.bin +2 bytes", "D:\\Fresh\\empty 0 bytes"}},
        // Paths of the earlier tree; a folder that went as a whole is listed, not the files in it.
        {{Ranking::kGone, 20, false}, {"C:\\Went\\ -505 bytes", "C:\\Shrink\\gone.txt -40 bytes"}},
        {{Ranking::kGone, 0, false}, {}},
        // Within a folder (named in any case): never the folder itself; without recursion only its own items.
        {{Ranking::kGrowth, 20, false, "GROW\\"},
         {"D:\\grow\\g +50 bytes", "D:\\grow\\Inner\\ +22 bytes", "D:\\grow\\Inner\\i +20 bytes",
          "D:\\grow\\Inner\\new.bin +2 bytes"}},
        {{Ranking::kGrowth, 20, false, "grow\\", false}, {"D:\\grow\\g +50 bytes", "D:\\grow\\Inner\\ +22 bytes"}},
        {{Ranking::kNewFiles, 20, false, "grow\\"}, {"D:\\grow\\Inner\\new.bin +2 bytes"}},
        {{Ranking::kNewFiles, 20, false, "grow\\", false}, {}},
        {{Ranking::kShrink, 20, false, "Same\\"}, {}},
        {{Ranking::kGone, 20, false, "shrink\\"}, {"C:\\Shrink\\gone.txt -40 bytes"}},
        {{Ranking::kGone, 20, false, "grow\\"}, {}},
        {{Ranking::kGone, 20, false, "", false}, {"C:\\Went\\ -505 bytes"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.query.ranking));
        EXPECT_EQ(Lines(compare::Rank(kLive, comparison, c.query)), c.lines);
    }
}

TEST(ChangeRanking, IdenticalTreesHaveNoGrowthOrShrink) {
    const compare::TreeComparison comparison(kLive, kLive, 0);
    for (Ranking ranking : {Ranking::kGrowth, Ranking::kShrink, Ranking::kNewFiles, Ranking::kGone})
        EXPECT_TRUE(compare::Rank(kLive, comparison, {ranking, 20, false}).empty());
}

TEST(ChangeRanking, TiesKeepTheTreesOrder) {
    const model::DirInfo earlier = PathTree("C:", {{"a\\x", 1}, {"b\\x", 1}, {"c\\x", 1}});
    const model::DirInfo live = PathTree("C:", {{"a\\x", 6}, {"b\\x", 6}, {"c\\x", 6}});
    const compare::TreeComparison comparison(live, earlier, 0);
    EXPECT_EQ(Lines(compare::Rank(live, comparison, {Ranking::kGrowth, 2, true})),
              (std::vector<std::string>{"C:\\a\\ +5 bytes", "C:\\b\\ +5 bytes"}));
}

}  // namespace
