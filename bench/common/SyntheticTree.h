// The benchmarks' synthetic tree: `fileCount` files in `folderCount` folders, each folder below a random
// earlier one, files spread at random, names of 5-40 characters, sizes of every magnitude below 8 GiB.
// Deterministic (fixed seed), so every benchmark and every run sees the same tree.
#pragma once

#include "model/DirInfo.h"

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace bench_tree {

struct Rng {
    std::uint64_t state;
    std::uint64_t Next() {
        state = state * 6364136223846793005ull + 1442695040888963407ull;
        return state >> 17;
    }
    std::uint64_t Below(std::uint64_t n) { return Next() % n; }
};

inline std::string Name(Rng& rng) {
    static const char letters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789 _-.";
    std::string name(5 + rng.Below(36), ' ');
    for (char& c : name) c = letters[rng.Below(sizeof letters - 1)];
    return name;
}

// Folder i > 0 hangs below a random earlier folder; files are spread at random. Every list ends at its
// exact size, as a scan's would.
inline model::DirInfo BuildTree(std::size_t fileCount, std::size_t folderCount) {
    Rng rng{12345};
    std::vector<std::uint32_t> parent(folderCount, 0), filesIn(folderCount, 0);
    std::vector<std::vector<std::uint32_t>> children(folderCount);
    for (std::size_t i = 1; i < folderCount; ++i) {
        parent[i] = static_cast<std::uint32_t>(rng.Below(i));
        children[parent[i]].push_back(static_cast<std::uint32_t>(i));
    }
    for (std::size_t f = 0; f < fileCount; ++f) ++filesIn[rng.Below(folderCount)];

    model::DirInfo root("C:");
    std::vector<std::pair<std::uint32_t, model::DirInfo*>> stack{{0, &root}};
    while (!stack.empty()) {
        auto [index, dir] = stack.back();
        stack.pop_back();
        dir->files.reserve(filesIn[index]);
        for (std::uint32_t f = 0; f < filesIn[index]; ++f) {
            const int magnitude = static_cast<int>(rng.Below(34));
            dir->files.emplace_back(Name(rng), rng.Next() & ((std::uint64_t{1} << magnitude) - 1));
        }
        dir->subdirs.reserve(children[index].size());
        for (std::size_t k = 0; k < children[index].size(); ++k) dir->subdirs.emplace_back(Name(rng));
        // Names take room beside the records, unknown until made: give back what growth left over.
        dir->files.shrink_to_fit();
        dir->subdirs.shrink_to_fit();
        for (std::size_t k = 0; k < children[index].size(); ++k) stack.push_back({children[index][k], &dir->subdirs[k]});
    }
    return root;
}

}  // namespace bench_tree
