// The data file written while the walk goes (DataFileOutput) against the file the model writes from the
// walked tree: byte for byte, with the same figures, for generated trees and edge cases at 1, 2 and 8
// workers; the walk's look-ahead ahead of a slow file; a file that cannot be written.
#include "FakeLister.h"

#include "headless/PosixNames.h"
#include "model/DataFile.h"
#include "scan/DataFileOutput.h"
#include "scan/ParallelWalk.h"

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <thread>

using scantest::ChainLister;
using scantest::Dir;
using scantest::FakeLister;
using scantest::File;
using scantest::Generate;

namespace {

struct NoControl final : scan::WalkControl {
    bool StopRequested() const override { return false; }
    void PausePoint() override {}
};

// Stops once its output's file has failed, as kelvaran-scan's control does.
struct StopOnFailure final : scan::WalkControl {
    explicit StopOnFailure(const scan::DataFileOutput& file) : output(file) {}
    bool StopRequested() const override { return output.Failed(); }
    void PausePoint() override {}
    const scan::DataFileOutput& output;
};

// The POSIX scanner's names: backslashes take the stand-in below the root.
bool StandIn(std::string_view listed, std::string& stored) { return headless::StandInForBackslashes(listed, stored); }

model::DataFileWriter::Sink Into(std::string& bytes) {
    return [&bytes](const char* data, std::size_t count) {
        bytes.append(data, count);
        return true;
    };
}

struct Built {
    std::string bytes;
    model::DirInfo tree;  // totals recomputed
    std::uint32_t files = 0, folders = 0;
    std::uint64_t counted = 0;
};

// The file as written from the whole tree: the walk into a tree, its names made, then the model's writer.
Built TreeBuiltFile(scan::DirLister& lister, std::uint32_t cluster) {
    Built built;
    built.tree = model::DirInfo("C:");
    NoControl control;
    scan::ScanCounters counters;
    EXPECT_TRUE(scan::WalkTree(lister, cluster, counters, control, 1, built.tree, "C:"));
    headless::ReplaceBackslashesInNames(built.tree);
    EXPECT_TRUE(model::EncodeDataFile(cluster, built.tree, built.bytes));
    model::RecomputeTotals(built.tree, cluster);
    built.files = counters.filesFound.load();
    built.folders = counters.foldersFound.load();
    built.counted = counters.bytesFound.load();
    return built;
}

struct Case {
    const char* what;
    std::function<std::unique_ptr<scan::DirLister>()> make;
};

std::unique_ptr<scan::DirLister> Generated(const scantest::Shape& shape, std::uint64_t seed) {
    auto lister = std::make_unique<FakeLister>();
    Generate(*lister, shape, seed);
    // Workers that give way at every folder, so their turns interleave.
    lister->onOpen = [](const std::string&) { std::this_thread::yield(); };
    return lister;
}

const Case kCases[] = {
    {"random tree with links, unlistable folders and backslashes in names",
     [] {
         return Generated({"", 500, 3000, 10, 5, 5, true, 20}, 11);
     }},
    {"deep and narrow",
     [] {
         return Generated({"", 300, 600, 95, 2, 2, true, 5}, 12);
     }},
    {"only files, in the root",
     [] {
         return Generated({"", 0, 2000, 0, 0, 0, true}, 13);
     }},
    {"folders with only files",
     [] {
         auto lister = std::make_unique<FakeLister>();
         std::vector<scan::DirEntry> root;
         for (int i = 0; i < 40; ++i) {
             root.push_back(Dir("d" + std::to_string(i)));
             std::vector<scan::DirEntry> files;
             for (int j = 0; j < i; ++j) files.push_back(File("f" + std::to_string(j), 1000 * j + i));
             lister->AddFolder("C:\\d" + std::to_string(i), files);
         }
         lister->AddFolder("C:", root);
         return std::unique_ptr<scan::DirLister>(std::move(lister));
     }},
    {"many empty folders",
     [] {
         return Generated({"", 1500, 0, 30, 0, 0, true}, 14);
     }},
    {"empty root",
     [] {
         return Generated({"", 0, 0, 0, 0, 0, true}, 15);
     }},
    {"root that cannot be listed",
     [] {
         return Generated({"", 50, 50, 0, 0, 0, false}, 16);
     }},
    {"a chain 3,000 folders deep",
     [] { return std::unique_ptr<scan::DirLister>(std::make_unique<ChainLister>(3000)); }},
    // Every level leaves a folder waiting behind the deeper one: the order of waiting folders at any depth.
    {"a chain 3,000 folders deep with a sibling at every level",
     [] { return std::unique_ptr<scan::DirLister>(std::make_unique<ChainLister>(3000, true)); }},
};

}  // namespace

TEST(StreamedFile, IsTheTreeBuiltFileByteForByteWhateverTheWorkers) {
    for (const Case& c : kCases) {
        for (const std::uint32_t cluster : {0u, 4096u}) {
            const std::unique_ptr<scan::DirLister> lister = c.make();
            const Built built = TreeBuiltFile(*lister, cluster);
            for (const unsigned workers : {1u, 2u, 8u}) {
                SCOPED_TRACE(std::string(c.what) + ", cluster " + std::to_string(cluster) + ", workers " +
                             std::to_string(workers));
                std::string bytes;
                model::DataFileWriter writer(Into(bytes), cluster);
                scan::DataFileOutput output(writer, cluster, StandIn);
                NoControl control;
                scan::ScanCounters counters;
                ASSERT_TRUE(scan::WalkFolders(*lister, cluster, counters, control, workers, "C:", "C:", output));
                ASSERT_TRUE(writer.Finish());
                EXPECT_FALSE(output.Failed());
                EXPECT_TRUE(bytes == built.bytes)
                    << bytes.size() << " bytes streamed, " << built.bytes.size() << " built";
                const scan::DataFileOutput::Totals& written = output.Written();
                EXPECT_EQ(written.folders, built.tree.deepDirs);
                EXPECT_EQ(written.files, built.tree.deepFiles);
                EXPECT_EQ(written.bytes, built.tree.deepSize);
                EXPECT_EQ(written.allocated, built.tree.deepAlloc);
                EXPECT_EQ(counters.filesFound.load(), built.files);
                EXPECT_EQ(counters.foldersFound.load(), built.folders);
                EXPECT_EQ(counters.bytesFound.load(), built.counted);
            }
        }
    }
}

// A tree the file-table reader built whole goes to the file as the walk's folders would.
TEST(StreamedFile, AWholeTreeIsWrittenAsItsFoldersWouldBe) {
    const std::unique_ptr<scan::DirLister> lister = Generated({"", 200, 900, 20, 3, 3, true, 20}, 17);
    const Built built = TreeBuiltFile(*lister, 512);
    model::DirInfo tree("C:");
    NoControl control;
    scan::ScanCounters counters;
    ASSERT_TRUE(scan::WalkTree(*lister, 512, counters, control, 2, tree, "C:"));
    std::string bytes;
    model::DataFileWriter writer(Into(bytes), 512);
    scan::DataFileOutput output(writer, 512, StandIn);
    output.WholeTree(tree);
    ASSERT_TRUE(writer.Finish());
    EXPECT_TRUE(bytes == built.bytes);
    EXPECT_EQ(output.Written().files, built.tree.deepFiles);
    EXPECT_EQ(output.Written().allocated, built.tree.deepAlloc);
}

// The workers list ahead of a slow file by the output's look-ahead (plus what each worker took before
// the bound was reached), never the whole tree; the file is still the same.
TEST(StreamedFile, TheWalkListsAheadOfTheFileOnlyAsFarAsItsLookAhead) {
    // Folders of at most a few entries, in a tree far larger than the bound.
    FakeLister lister;
    Generate(lister, {"", 3000, 3000, 20, 0, 0, true}, 18);
    const Built built = TreeBuiltFile(lister, 0);

    // Entries each folder lists, by path, to count what the workers have opened.
    std::map<std::string, long> sizes;
    std::size_t largest = 0;
    {
        struct Sizes final : scan::ScanOutput {
            std::vector<std::pair<std::string, long>> seen;
            std::vector<std::string> path;
            std::vector<std::size_t> left;
            void Folder(std::string_view name, model::DirInfo& listing) override {
                while (!left.empty() && left.back() == 0) {
                    left.pop_back();
                    path.pop_back();
                }
                if (!left.empty()) --left.back();
                path.push_back(path.empty() ? std::string(name) : path.back() + "\\" + std::string(name));
                seen.emplace_back(path.back(), static_cast<long>(listing.files.size() + listing.subdirs.size()));
                left.push_back(listing.subdirs.size());
            }
            void WholeTree(model::DirInfo&) override {}
            std::size_t LookAhead() const noexcept override { return 1u << 30; }
        } walk;
        NoControl control;
        scan::ScanCounters counters;
        ASSERT_TRUE(scan::WalkFolders(lister, 0, counters, control, 1, "C:", "C:", walk));
        for (const auto& [path, entries] : walk.seen) {
            sizes[path] = entries;
            largest = std::max(largest, static_cast<std::size_t>(entries));
        }
    }

    // The file's output, held back at its first folder until the workers have opened every folder or
    // have stood still for a while.
    struct Slow final : scan::ScanOutput {
        Slow(scan::DataFileOutput& out, std::size_t bound) : file(out), lookAhead(bound) {}
        void Folder(std::string_view name, model::DirInfo& listing) override {
            if (first) {
                first = false;
                std::unique_lock lock(mutex);
                for (long seen = -1; seen != opened && opened < total;) {
                    seen = opened;
                    changed.wait_for(lock, std::chrono::milliseconds(300));
                }
            }
            handedOn.fetch_add(static_cast<long>(listing.files.size() + listing.subdirs.size()));
            file.Folder(name, listing);
        }
        void WholeTree(model::DirInfo& tree) override { file.WholeTree(tree); }
        std::size_t LookAhead() const noexcept override { return lookAhead; }
        void Opened(long entries) {
            std::lock_guard lock(mutex);
            listed += entries;
            ++opened;
            mostAhead = std::max(mostAhead, listed - handedOn.load());
            changed.notify_all();
        }
        scan::DataFileOutput& file;
        std::size_t lookAhead;
        bool first = true;
        std::mutex mutex;
        std::condition_variable changed;
        long opened = 0, total = 0, listed = 0, mostAhead = 0;
        std::atomic<long> handedOn{0};
    };
    constexpr unsigned kWorkers = 4;
    constexpr std::size_t kLookAhead = 40;
    std::string bytes;
    model::DataFileWriter writer(Into(bytes), 0);
    scan::DataFileOutput file(writer, 0);
    Slow slow(file, kLookAhead);
    slow.total = static_cast<long>(sizes.size());
    lister.onOpen = [&](const std::string& path) { slow.Opened(sizes.at(path)); };
    NoControl control;
    scan::ScanCounters counters;
    ASSERT_TRUE(scan::WalkFolders(lister, 0, counters, control, kWorkers, "C:", "C:", slow));
    ASSERT_TRUE(writer.Finish());
    EXPECT_TRUE(bytes == built.bytes);
    // Opened and not yet handed on: the bound, what each worker took while under it, what each is listing
    // now, and the first folder, held back.
    EXPECT_LE(slow.mostAhead, static_cast<long>(kLookAhead + (2 * kWorkers + 1) * largest));
}

// A name the file cannot hold fails the file at that folder, and the walk stops at its next folder.
TEST(StreamedFile, AFileThatCannotBeWrittenStopsTheWalk) {
    FakeLister lister;
    lister.AddFolder("C:", {Dir("a"), Dir("b"), Dir("c")});
    lister.AddFolder("C:\\a", {File(std::string(model::kMaxStoredNameLength + 1, 'n'), 1)});
    lister.AddFolder("C:\\b", {File("f", 1)});
    lister.AddFolder("C:\\c", {File("g", 1)});
    std::string bytes;
    model::DataFileWriter writer(Into(bytes), 0);
    scan::DataFileOutput output(writer, 0);
    StopOnFailure control(output);
    scan::ScanCounters counters;
    EXPECT_FALSE(scan::WalkFolders(lister, 0, counters, control, 1, "C:", "C:", output));
    EXPECT_TRUE(output.Failed());
    EXPECT_FALSE(writer.Finish());
    EXPECT_EQ(lister.opened, (std::vector<std::string>{"C:", "C:\\a"}));
}
