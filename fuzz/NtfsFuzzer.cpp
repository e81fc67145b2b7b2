// Fuzz target for the NTFS file-table reader's parsing: run lists, fix-ups, attribute walks, attribute
// lists, extension records, and the tree built from whatever records survive. The input is a list of
// (record number, 1 KiB record) pairs, numbers below 65,536; the whole input also serves as the volume
// for values stored outside the records, and is decoded as one run list. Runs on a 256 KiB stack, so any
// walk that recursed per level would overflow on deep chains. The tree must be well-formed: its totals
// are the recomputed ones and the counters agree with them.
#include "scan/ntfs/FileTable.h"
#include "scan/ntfs/NtfsReader.h"

#include <pthread.h>

#include <cstdint>
#include <cstdlib>
#include <span>
#include <vector>

namespace {

void Check(bool condition) {
    if (!condition) std::abort();
}

struct NoControl final : scan::WalkControl {
    bool StopRequested() const override { return false; }
    void PausePoint() override {}
};

constexpr std::size_t kRecord = 1024;

void TestOne(std::span<const std::uint8_t> input) {
    std::vector<scan::ntfs::Run> runs;
    if (scan::ntfs::DecodeRunList(input, 0, 1u << 20, runs)) {
        for (const auto& run : runs) Check(run.length != 0 && (run.sparse || run.lcn + run.length <= (1u << 20)));
    }

    scan::ntfs::FileTable table(512, input.size() / 512 + 1);
    std::vector<std::uint8_t> record(kRecord);
    for (std::size_t at = 0; at + 2 + kRecord <= input.size(); at += 2 + kRecord) {
        const std::uint32_t number = input[at] | input[at + 1] << 8;
        record.assign(input.begin() + static_cast<long>(at + 2), input.begin() + static_cast<long>(at + 2 + kRecord));
        table.AddRecord(number, record);
    }
    scan::ntfs::MemoryVolume volume(input);
    table.Finish(&volume);

    std::vector<std::uint16_t> upcase(128);
    for (std::size_t c = 0; c < upcase.size(); ++c) upcase[c] = static_cast<std::uint16_t>(c >= 'a' && c <= 'z' ? c - 32 : c);
    const std::vector<std::u16string> path{u"a"};
    table.FindFolder(path, upcase);
    const std::int64_t start = table.FindFolder({}, upcase);
    if (start < 0) return;

    NoControl control;
    scan::ScanCounters counters;
    model::DirInfo root("X:");
    Check(table.BuildTree(static_cast<std::uint32_t>(start), upcase, root, counters, control, 4096) ==
          scan::ntfs::ReadResult::kComplete);
    model::DirInfo recomputed = root;
    model::RecomputeTotals(recomputed, 0);
    Check(recomputed == root);
    Check(counters.filesFound.load() == root.deepFiles && counters.foldersFound.load() == root.deepDirs);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::span<const std::uint8_t> input(data, size);
    pthread_attr_t attributes;
    pthread_attr_init(&attributes);
    pthread_attr_setstacksize(&attributes, 256 * 1024);
    pthread_t thread;
    auto run = [](void* argument) -> void* {
        TestOne(*static_cast<std::span<const std::uint8_t>*>(argument));
        return nullptr;
    };
    Check(pthread_create(&thread, &attributes, run, &input) == 0);
    pthread_join(thread, nullptr);
    pthread_attr_destroy(&attributes);
    return 0;
}
