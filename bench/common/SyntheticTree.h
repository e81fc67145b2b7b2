// The benchmarks' synthetic tree: `fileCount` files in `folderCount` folders, each folder below a random
// earlier one, files spread at random, names of 5-40 characters, sizes of every magnitude below 8 GiB.
// Deterministic (fixed seed), so every benchmark and every run sees the same tree. BuildTree makes it in
// memory; WriteTree streams the very same tree into a data file without holding it.
#pragma once

#include "model/DataFile.h"
#include "model/DirInfo.h"

#include <cstdint>
#include <string>
#include <string_view>
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

// Skips the draws of one Name.
inline void SkipName(Rng& rng) {
    for (std::uint64_t length = 5 + rng.Below(36); length > 0; --length) rng.Next();
}

// One file's name and size, drawn size first (the order the tree has always been made in).
inline std::pair<std::string, std::uint64_t> NextFile(Rng& rng) {
    const int magnitude = static_cast<int>(rng.Below(34));
    const std::uint64_t size = rng.Next() & ((std::uint64_t{1} << magnitude) - 1);
    return {Name(rng), size};
}

// A file named as people's files are: 39 extensions, the first ones far more common, one name in five in
// capitals.
inline std::string CommonName(Rng& rng, std::size_t k) {
    static const char* const extensions[] = {"jpg",  "txt",  "dll", "png", "h",   "cpp", "js",  "mp3",   "pdf", "xml",
                                             "json", "html", "css", "py",  "log", "dat", "bin", "exe",   "gz",  "zip",
                                             "mkv",  "mp4",  "iso", "doc", "xls", "svg", "ttf", "ini",   "cfg", "md",
                                             "sys",  "tmp",  "bak", "db",  "o",   "a",   "so",  "class", "jar", ""};
    // Roughly Zipf: the index of the extension is a product of two uniform draws.
    const std::size_t e = rng.Below(40) * rng.Below(40) / 40;
    std::string name = (rng.Below(5) == 0 ? "FILE" : "file") + std::to_string(k);
    if (*extensions[e]) {
        std::string ext = extensions[e];
        if (rng.Below(5) == 0)
            for (char& c : ext)
                if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
        name += "." + ext;
    }
    return name;
}

// Folder i > 0 hangs below a random earlier folder; files are spread at random.
struct Shape {
    std::vector<std::uint32_t> filesIn;
    std::vector<std::vector<std::uint32_t>> children;
};

inline Shape MakeShape(Rng& rng, std::size_t fileCount, std::size_t folderCount) {
    Shape shape{std::vector<std::uint32_t>(folderCount, 0), std::vector<std::vector<std::uint32_t>>(folderCount)};
    for (std::size_t i = 1; i < folderCount; ++i) shape.children[rng.Below(i)].push_back(static_cast<std::uint32_t>(i));
    for (std::size_t f = 0; f < fileCount; ++f) ++shape.filesIn[rng.Below(folderCount)];
    return shape;
}

// Folders take their files' and their subfolders' names from the generator in the order of a stack walk
// (last subfolder first). Every list ends at its exact size, as a scan's would.
inline model::DirInfo BuildTree(std::size_t fileCount, std::size_t folderCount) {
    Rng rng{12345};
    const Shape shape = MakeShape(rng, fileCount, folderCount);
    model::DirInfo root("C:");
    std::vector<std::pair<std::uint32_t, model::DirInfo*>> stack{{0, &root}};
    while (!stack.empty()) {
        auto [index, dir] = stack.back();
        stack.pop_back();
        const std::vector<std::uint32_t>& children = shape.children[index];
        dir->files.reserve(shape.filesIn[index]);
        for (std::uint32_t f = 0; f < shape.filesIn[index]; ++f) {
            auto [name, size] = NextFile(rng);
            dir->files.emplace_back(name, size);
        }
        dir->subdirs.reserve(children.size());
        for (std::size_t k = 0; k < children.size(); ++k) dir->subdirs.emplace_back(Name(rng));
        // Names take room beside the records, unknown until made: give back what growth left over.
        dir->files.shrink_to_fit();
        dir->subdirs.shrink_to_fit();
        for (std::size_t k = 0; k < children.size(); ++k) stack.push_back({children[k], &dir->subdirs[k]});
    }
    return root;
}

// The same folders and file sizes with the files named by CommonName: the synthetic tree's random names
// hold dots at random, which makes millions of "types"; a disk has a few thousand.
inline model::DirInfo WithCommonNames(const model::DirInfo& tree) {
    Rng rng{777};
    std::size_t k = 0;
    model::DirInfo copy(tree.name.view());
    std::vector<std::pair<const model::DirInfo*, model::DirInfo*>> stack{{&tree, &copy}};
    while (!stack.empty()) {
        const auto [from, to] = stack.back();
        stack.pop_back();
        to->files.reserve(from->files.size());
        for (const model::FileInfo& file : from->files) to->files.emplace_back(CommonName(rng, k++), file.size);
        to->files.shrink_to_fit();
        to->subdirs.reserve(from->subdirs.size());
        for (const model::DirInfo& sub : from->subdirs) to->subdirs.emplace_back(sub.name.view());
        for (std::size_t i = 0; i < from->subdirs.size(); ++i) stack.push_back({&from->subdirs[i], &to->subdirs[i]});
    }
    return copy;
}

// The tree of BuildTree written to `out` as a data file's root folder, holding only the folders' shape and
// the names of the open folders' subfolders. The file wants the folders depth first with the first
// subfolder first, while the generator hands them out last first: a first pass replays the draws in
// BuildTree's order, keeping only where each folder's draws begin, and the second pass makes each folder
// from there.
inline bool WriteTree(model::DataFileWriter& out, std::size_t fileCount, std::size_t folderCount) {
    Rng rng{12345};
    const Shape shape = MakeShape(rng, fileCount, folderCount);
    std::vector<std::uint64_t> start(folderCount);
    for (std::vector<std::uint32_t> stack{0}; !stack.empty();) {
        const std::uint32_t index = stack.back();
        stack.pop_back();
        start[index] = rng.state;
        for (std::uint32_t f = 0; f < shape.filesIn[index]; ++f) {
            rng.Below(34);
            rng.Next();
            SkipName(rng);
        }
        for (std::uint32_t child : shape.children[index]) {
            SkipName(rng);
            stack.push_back(child);
        }
    }

    struct Open {
        std::uint32_t index;
        std::vector<std::string> names;  // of its subfolders
        std::size_t next = 0;            // the subfolder to write next
    };
    auto write = [&](std::uint32_t index, std::string_view name) {
        Rng own{start[index]};
        const std::vector<std::uint32_t>& children = shape.children[index];
        out.Folder(name, shape.filesIn[index], children.size());
        for (std::uint32_t f = 0; f < shape.filesIn[index]; ++f) {
            const auto [fileName, size] = NextFile(own);
            out.File(fileName, size);
        }
        Open open{index, {}};
        open.names.reserve(children.size());
        for (std::size_t k = 0; k < children.size(); ++k) open.names.push_back(Name(own));
        return open;
    };
    std::vector<Open> path;
    path.push_back(write(0, "C:"));
    while (!path.empty() && out.ok()) {
        Open& top = path.back();
        if (top.next == top.names.size()) {
            path.pop_back();
            continue;
        }
        const std::size_t k = top.next++;
        const std::string name = std::move(top.names[k]);
        const std::uint32_t child = shape.children[top.index][k];
        path.push_back(write(child, name));
    }
    return out.ok();
}

}  // namespace bench_tree
