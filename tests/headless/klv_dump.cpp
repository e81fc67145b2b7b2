// Test tool: imports a data file with the program's reader and prints the tree as the program sees it,
// one line per folder and file, with the paths the program composes, so a script can compare it with the
// tree it generated:
//   cluster <size>
//   dir <path ending in a backslash>
//   file <path>\t<size>
// Every path is also looked up again (FindDirByPath, FindFileByPath) and a line "LOOKUP <path>" printed
// where the look-up does not lead back to the same record. Exit status 1 when the file cannot be read.
//   klv_dump <file.klv>
#include "model/DataFile.h"

#include <cstdio>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: klv_dump <file.klv>\n");
        return 2;
    }
    model::DirInfo root;
    std::uint32_t clusterSize = 0;
    if (!model::ReadDataFile(argv[1], root, clusterSize,
                             [](const std::string& text) { std::fprintf(stderr, "%s\n", text.c_str()); }))
        return 1;
    model::RecomputeTotals(root, clusterSize);
    std::printf("cluster %u\n", clusterSize);
    struct Item {
        const model::DirInfo* dir;
        std::string path;
    };
    std::vector<Item> stack{{&root, root.name + "\\"}};
    while (!stack.empty()) {
        const Item item = stack.back();
        stack.pop_back();
        std::printf("dir %s\n", item.path.c_str());
        if (model::FindDirByPath(root, item.path) != item.dir) std::printf("LOOKUP %s\n", item.path.c_str());
        for (const model::FileInfo& file : item.dir->files) {
            const std::string path = item.path + file.name;
            std::printf("file %s\t%llu\n", path.c_str(), static_cast<unsigned long long>(file.size));
            // Look-ups take the first match ignoring case: a later twin is found as its earlier sibling.
            const model::FileInfo* found = model::FindFileByPath(root, path);
            if (!found || found->size != file.size) std::printf("LOOKUP %s\n", path.c_str());
        }
        for (const model::DirInfo& sub : item.dir->subdirs) stack.push_back({&sub, item.path + sub.name + "\\"});
    }
    return 0;
}
