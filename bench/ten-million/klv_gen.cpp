// Writes the benchmarks' synthetic tree (bench/common/SyntheticTree.h) as a data file, streaming, so a
// tree of ten million files needs no more memory than its folders' shape:
//
//   klv_gen <file.klv> <files> <folders>   writes the file (under a temporary name first)
//   klv_gen --check                        streams small trees into memory and compares each, read back,
//                                          with the same tree built in memory; exit status 1 when one differs
#include "common/SyntheticTree.h"
#include "model/DataFile.h"

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

bool Check(std::size_t files, std::size_t folders) {
    std::string bytes;
    model::DataFileWriter writer(
        [&bytes](const char* data, std::size_t count) {
            bytes.append(data, count);
            return true;
        },
        4096);
    const bool written = bench_tree::WriteTree(writer, files, folders) && writer.Finish();
    model::DirInfo read;
    std::uint32_t cluster = 0;
    const bool same = written && model::DecodeDataFile(bytes, read, cluster) == model::DecodeResult::kComplete &&
                      cluster == 4096 && read == bench_tree::BuildTree(files, folders);
    std::printf("klv_gen check: %zu files in %zu folders: %s\n", files, folders, same ? "equal" : "DIFFER");
    return same;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 2 && std::string(argv[1]) == "--check") {
        bool ok = true;
        for (auto [files, folders] : {std::pair<std::size_t, std::size_t>{0, 1}, {50, 1}, {3000, 40}, {20000, 1500}})
            ok = Check(files, folders) && ok;
        return ok ? 0 : 1;
    }
    if (argc != 4) {
        std::fprintf(stderr, "usage: klv_gen <file.klv> <files> <folders> | klv_gen --check\n");
        return 2;
    }
    const std::size_t files = std::strtoull(argv[2], nullptr, 10), folders = std::strtoull(argv[3], nullptr, 10);
    if (folders == 0) {
        std::fprintf(stderr, "klv_gen: a tree has at least one folder\n");
        return 2;
    }
    const bool ok = model::WriteDataFile(
        argv[1], 4096, [&](model::DataFileWriter& writer) { return bench_tree::WriteTree(writer, files, folders); },
        [](const std::string& text) { std::fprintf(stderr, "klv_gen: %s\n", text.c_str()); });
    return ok ? 0 : 1;
}
