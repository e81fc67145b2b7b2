// A statistics query over the whole tree, as the dialog runs it with the root as its scope and a cluster
// size of 4096: the benchmarks' way of asking for the N largest files, longest paths or file types.
#pragma once

#include "info/Statistics.h"
#include "model/DirInfo.h"

#include <string>

namespace bench_tree {

inline info::StatResults RootQuery(const model::DirInfo& root, int query, int n) {
    info::StatsForm form;
    form.maxItems = std::to_string(n);
    form.rootScope = true;
    form.query = query;
    return info::RunQuery(info::PlanQuery(form, root, 4096), 4096);
}

}  // namespace bench_tree
