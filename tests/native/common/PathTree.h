// Trees written as lists of paths, for tests that address records by path: "Data\" makes a folder,
// "Data\x.bin" a file of the given size in it (folders on the way are made in the order first met).
#pragma once

#include "model/AsciiCase.h"
#include "model/DirInfo.h"

#include <cstdint>
#include <initializer_list>
#include <string>
#include <utility>

namespace test_support {

struct PathEntry {
    std::string path;
    std::uint64_t size = 0;
};

inline model::DirInfo PathTree(std::string rootName, std::initializer_list<PathEntry> entries,
                               std::uint32_t clusterSize = 0) {
    model::DirInfo root(rootName);
    for (const PathEntry& entry : entries) {
        model::DirInfo* at = &root;
        std::size_t start = 0;
        for (std::size_t slash = entry.path.find('\\'); slash != std::string::npos;
             start = slash + 1, slash = entry.path.find('\\', start)) {
            const std::string name = entry.path.substr(start, slash - start);
            model::DirInfo* next = nullptr;
            // Exact names: siblings that differ only in letter case are separate folders here.
            for (model::DirInfo& sub : at->subdirs)
                if (sub.name == name) next = &sub;
            at = next ? next : &at->subdirs.emplace_back(name);
        }
        if (start < entry.path.size()) at->files.emplace_back(entry.path.substr(start), entry.size);
    }
    model::RecomputeTotals(root, clusterSize);
    return root;
}

}  // namespace test_support
