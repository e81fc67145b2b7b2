// Model benchmark: a synthetic tree of 1,000,000 files in 50,000 folders (deterministic names of 5-40
// characters). Reports memory per entry, RecomputeTotals time, and data file export and import throughput
// beside a plain write and read of the same bytes (the floor any format can reach; the file was just
// written, so reads come from the page cache). Each phase runs in its
// own process so peak resident sizes do not mix. Usage: model_bench [files folders]
#include "../common/SyntheticTree.h"
#include "model/DataFile.h"
#include "model/DirInfo.h"

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point since) { return std::chrono::duration<double>(Clock::now() - since).count(); }

// Kilobytes of a /proc/self/status field (VmRSS now, VmHWM the peak).
long StatusKb(const char* field) {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind(field, 0) == 0) return std::atol(line.c_str() + std::string(field).size() + 1);
    }
    return 0;
}

void Fail(const std::string& text) {
    std::fprintf(stderr, "model_bench: %s\n", text.c_str());
    std::exit(1);
}

// Writes `bytes` with one plain fwrite, and reads them back with one fread: the I/O floor.
double RawWrite(const std::string& path, const std::string& bytes) {
    const auto start = Clock::now();
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file || std::fwrite(bytes.data(), 1, bytes.size(), file) != bytes.size() || std::fclose(file) != 0)
        Fail("raw write failed");
    return Seconds(start);
}

double RawRead(const std::string& path, std::size_t size) {
    const auto start = Clock::now();
    std::string bytes(size, '\0');
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file || std::fread(bytes.data(), 1, size, file) != size) Fail("raw read failed");
    std::fclose(file);
    return Seconds(start);
}

const model::ErrorReporter kFail = [](const std::string& text) { Fail(text); };

// Where a tree's bytes go, per entry: the records, the names' text and their length bytes, the list
// headers, and the allocations (one per non-empty list; the heap adds its own bookkeeping to each).
void PrintProfile(const model::DirInfo& root, double entries) {
    double records = sizeof(model::DirInfo), text = 0, lengths = 0, headers = 0, lists = 0;
    auto count = [&](const auto& list) {
        if (list.capacity() == 0) return;
        ++lists;
        records += static_cast<double>(list.capacity() * sizeof(list[0]));
        headers += static_cast<double>(model::RecordList<model::FileInfo>::kHeaderSize);
        for (const auto& record : list) {
            text += static_cast<double>(record.name.size());
            lengths += static_cast<double>(model::Name::StoredSize(record.name.size()) - record.name.size());
        }
    };
    std::vector<const model::DirInfo*> stack{&root};
    while (!stack.empty()) {
        const model::DirInfo* dir = stack.back();
        stack.pop_back();
        count(dir->files);
        count(dir->subdirs);
        for (const model::DirInfo& sub : dir->subdirs) stack.push_back(&sub);
    }
    std::printf(
        "profile per entry: records %.1f, name text %.1f, name lengths %.1f, list headers %.1f; "
        "%.3f allocations per entry (FileInfo %zu bytes, DirInfo %zu)\n",
        records / entries, text / entries, lengths / entries, headers / entries, lists / entries,
        sizeof(model::FileInfo), sizeof(model::DirInfo));
}

void BuildAndExport(std::size_t files, std::size_t folders, const std::string& path) {
    const double entries = static_cast<double>(files + folders);
    const long rssBefore = StatusKb("VmRSS");
    auto start = Clock::now();
    model::DirInfo root = bench_tree::BuildTree(files, folders);
    const double buildSeconds = Seconds(start);
    const long rssAfter = StatusKb("VmRSS");
    std::printf("tree: %zu files in %zu folders built in %.2f s; memory %.1f bytes/entry (RSS growth %.1f MB)\n", files,
                folders, buildSeconds, (rssAfter - rssBefore) * 1024.0 / entries, (rssAfter - rssBefore) / 1024.0);
    PrintProfile(root, entries);

    double best = 1e9;
    for (int run = 0; run < 5; ++run) {
        start = Clock::now();
        model::RecomputeTotals(root, 4096);
        best = std::min(best, Seconds(start));
    }
    std::printf("RecomputeTotals: %.1f ms (best of 5), %.1f ns/entry; deepFiles %u, deepDirs %u\n", best * 1e3,
                best * 1e9 / entries, root.deepFiles, root.deepDirs);

    std::string bytes;
    start = Clock::now();
    model::EncodeDataFile(4096, root, bytes);
    const double encodeSeconds = Seconds(start);
    const double mb = bytes.size() / 1e6;
    double raw = 1e9, exportSeconds = 1e9;
    for (int run = 0; run < 3; ++run) {
        raw = std::min(raw, RawWrite(path, bytes));
        start = Clock::now();
        if (!model::WriteDataFile(path, 4096, root, kFail)) Fail("export failed");
        exportSeconds = std::min(exportSeconds, Seconds(start));
    }
    std::printf(
        "export (best of 3): %.1f MB in %.1f ms = %.2f M entries/s, %.0f MB/s (encode alone %.1f ms); plain write %.1f "
        "ms; "
        "ratio export/plain write %.2f\n",
        mb, exportSeconds * 1e3, entries / exportSeconds / 1e6, mb / exportSeconds, encodeSeconds * 1e3, raw * 1e3,
        exportSeconds / raw);
}

void Import(std::size_t files, std::size_t folders, const std::string& path) {
    const double entries = static_cast<double>(files + folders);
    std::ifstream probe(path, std::ios::binary | std::ios::ate);
    const auto size = static_cast<std::size_t>(probe.tellg());
    const long peakBefore = StatusKb("VmHWM");
    model::DirInfo root;
    std::uint32_t cluster = 0;
    const auto start = Clock::now();
    if (!model::ReadDataFile(path, root, cluster, kFail)) Fail("import failed");
    const double importSeconds = Seconds(start);
    const long peakAfter = StatusKb("VmHWM");
    model::RecomputeTotals(root, cluster);
    if (root.deepFiles != files || root.deepDirs != folders - 1) Fail("import lost records");
    double raw = 1e9;
    for (int run = 0; run < 3; ++run) raw = std::min(raw, RawRead(path, size));
    const double mb = size / 1e6;
    std::printf(
        "import: %.1f MB in %.1f ms = %.2f M entries/s, %.0f MB/s; peak RSS growth %.1f bytes/entry; "
        "plain read %.1f ms; ratio import/plain read %.1f\n",
        mb, importSeconds * 1e3, entries / importSeconds / 1e6, mb / importSeconds,
        (peakAfter - peakBefore) * 1024.0 / entries, raw * 1e3, importSeconds / raw);
}

template <typename Phase>
void InChild(Phase phase) {
    std::fflush(stdout);
    const pid_t child = fork();
    if (child < 0) Fail("fork failed");
    if (child == 0) {
        phase();
        std::fflush(stdout);
        std::_Exit(0);
    }
    int status = 0;
    waitpid(child, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) Fail("a phase failed");
}

}  // namespace

int main(int argc, char** argv) {
    const std::size_t files = argc > 2 ? std::strtoull(argv[1], nullptr, 10) : 1000000;
    const std::size_t folders = argc > 2 ? std::strtoull(argv[2], nullptr, 10) : 50000;
    const std::string path = "model_bench.klv";
    InChild([&] { BuildAndExport(files, folders, path); });
    InChild([&] { Import(files, folders, path); });
    std::remove(path.c_str());
    return 0;
}
