// Trees for the model tests: a seeded random tree and a single chain of nested folders.
#pragma once

#include "model/DirInfo.h"

#include <cstdint>
#include <random>
#include <string>
#include <vector>

namespace model_test {

// Folder names, file names, sizes and keys drawn from a seeded generator: names with arbitrary bytes
// (including UTF-8 and backslashes), sizes from 0 to beyond 4 GiB, negative keys.
inline model::DirInfo RandomTree(std::uint32_t seed, int folders, int maxFilesPerFolder) {
    std::mt19937 rng(seed);
    auto randomName = [&rng] {
        std::string name(std::uniform_int_distribution<int>(0, 40)(rng), '\0');
        for (char& c : name) c = static_cast<char>(std::uniform_int_distribution<int>(1, 255)(rng));
        return name;
    };
    auto randomSize = [&rng]() -> std::uint64_t {
        switch (rng() % 4) {
        case 0: return 0;
        case 1: return rng() % 5000;
        case 2: return (std::uint64_t{rng()} << 32) | rng();
        default: return rng();
        }
    };
    model::DirInfo root("C:");
    for (int i = 0; i < folders; ++i) {
        // Records move when a sibling vector grows, so pick a parent by walking down from the root.
        model::DirInfo* parent = &root;
        while (!parent->subdirs.empty() && rng() % 3 != 0) parent = &parent->subdirs[rng() % parent->subdirs.size()];
        model::DirInfo& dir = parent->subdirs.emplace_back(randomName());
        dir.sortKey = static_cast<std::int32_t>(rng());
    }
    std::vector<model::DirInfo*> stack{&root};
    while (!stack.empty()) {
        model::DirInfo* dir = stack.back();
        stack.pop_back();
        const int files = std::uniform_int_distribution<int>(0, maxFilesPerFolder)(rng);
        for (int f = 0; f < files; ++f)
            dir->files.emplace_back(randomName(), randomSize(), static_cast<std::int32_t>(rng() % 7) - 3);
        for (model::DirInfo& sub : dir->subdirs) stack.push_back(&sub);
    }
    return root;
}

// A root with `depth` folders nested one in the other (the deepest at level `depth`), one file each.
inline model::DirInfo Chain(std::size_t depth) {
    model::DirInfo root("C:");
    model::DirInfo* current = &root;
    for (std::size_t level = 1; level <= depth; ++level) {
        current = &current->subdirs.emplace_back("d");
        current->files.emplace_back("f", level);
    }
    return root;
}

inline std::size_t Depth(const model::DirInfo& root) {
    std::size_t depth = 0;
    const model::DirInfo* current = &root;
    while (!current->subdirs.empty()) {
        current = &current->subdirs.front();
        ++depth;
    }
    return depth;
}

}  // namespace model_test
