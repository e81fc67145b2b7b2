// The largest changes of a comparison (TreeComparison.h) as ranked lists of paths: growth and shrink of
// folders (and files), new files, and what is gone. Used by the headless report and the statistics queries.
//
//   auto grown = compare::Rank(document.Root(), comparison, {compare::Ranking::kGrowth, 20, true});
//
// One walk over the live tree (and, for what is gone, the matched folders of the earlier one); only the
// paths of items that enter the list are composed. Ties keep the tree's pre-order.
#pragma once

#include "compare/TreeComparison.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace compare {

enum class Ranking {
    kGrowth,    // largest increase of logical size
    kShrink,    // largest decrease of logical size
    kNewFiles,  // largest files without an earlier counterpart
    kGone,      // largest items of the earlier tree without a live counterpart, each at the highest level
                // that went (a folder that went as a whole, not the files in it), paths of the earlier tree
};

struct RankingQuery {
    Ranking ranking = Ranking::kGrowth;
    std::size_t count = 20;
    bool foldersOnly = false;  // growth and shrink: folders alone (the root is never ranked)
    // Only items below this folder (its path below the root, ending in a backslash; "" the root, itself
    // never ranked), compared ignoring ASCII case; with `recurse` false only those directly in it. For
    // what is gone the earlier tree's path below its root counts.
    std::string_view scope;
    bool recurse = true;
};

struct RankedItem {
    std::string path;  // full path; a folder's ends in a backslash
    bool isDir = false;
    std::uint64_t then = 0;  // logical size
    std::uint64_t now = 0;
    SizeChange change;
    friend bool operator==(const RankedItem&, const RankedItem&) = default;
};

// Largest first; only items whose change is not 0 (new files of size 0 and gone empty items count too,
// since they changed by being there or not, after all those of a larger change).
std::vector<RankedItem> Rank(const model::DirInfo& live, const TreeComparison& comparison, const RankingQuery& query);

}  // namespace compare
