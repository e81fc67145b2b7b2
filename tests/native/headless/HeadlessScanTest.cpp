// The headless scanner's run over an in-memory file system: what it writes, what it says, its exit status,
// and that an interrupted or failed run never leaves a partial file under the target's name.
#include "headless/HeadlessScan.h"

#include "model/DataFile.h"
#include "scan/FakeLister.h"

#include <gtest/gtest.h>

#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace fs = std::filesystem;
using scantest::Dir;
using scantest::File;

namespace {

class FakeSystem final : public headless::ScanSystem {
public:
    FakeSystem() {
        lister.AddFolder("X:\\root", {File("a.txt", 5), Dir("sub"), File("b", 0)});
        lister.AddFolder("X:\\root\\sub", {File("c\\d", 5000), Dir("empty")});
        lister.AddFolder("X:\\root\\sub\\empty", {});
    }
    scan::DirLister& Lister() override { return lister; }
    headless::ResolvedRoot ResolveRoot(const std::string& root) override {
        headless::ResolvedRoot resolved{"X:\\" + root, "named:" + root, {}};
        if (root == "missing") resolved.error = "No such file or directory";
        return resolved;
    }
    std::uint32_t DetectClusterSize(const headless::ResolvedRoot&) override { return detected; }
    scan::ntfs::ReadResult ReadFileTable(const headless::ResolvedRoot& root, model::DirInfo& tree,
                                         scan::ScanCounters& counters, scan::WalkControl& control,
                                         std::uint32_t clusterSize) override {
        return fileTable ? fileTable(root, tree, counters, control, clusterSize) : scan::ntfs::ReadResult::kUnavailable;
    }
    bool StoredName(std::string_view listed, std::string&) override {
        stored.emplace_back(listed);
        if (onStoredName) onStoredName(listed);
        return false;
    }
    bool ReplaceTarget(const std::string& from, const std::string& to) override {
        return model::ReplaceByRename(from, to);
    }
    bool ErrorStreamIsTerminal() override { return false; }

    scantest::FakeLister lister;
    std::uint32_t detected = 4096;
    std::vector<std::string> stored;  // the names asked about, in order
    std::function<void(std::string_view)> onStoredName;
    std::function<scan::ntfs::ReadResult(const headless::ResolvedRoot&, model::DirInfo&, scan::ScanCounters&,
                                         scan::WalkControl&, std::uint32_t)>
        fileTable;
};

class HeadlessScan : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/kelvaran-headless-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        folder_ = pattern;
        output_ = (folder_ / "out.klv").string();
    }
    void TearDown() override { fs::remove_all(folder_); }

    int Run(std::vector<std::string> words) {
        std::FILE* out = std::tmpfile();
        std::FILE* err = std::tmpfile();
        const int status = headless::RunScan(words, system_, interrupted_, out, err);
        out_ = Contents(out);
        err_ = Contents(err);
        return status;
    }
    static std::string Contents(std::FILE* file) {
        std::string text;
        std::rewind(file);
        for (int c; (c = std::fgetc(file)) != EOF;) text += static_cast<char>(c);
        std::fclose(file);
        return text;
    }
    static std::string Read(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    }
    // The folder holds exactly these names.
    void ExpectFolderHolds(const std::vector<std::string>& names) {
        std::vector<std::string> found;
        for (const auto& entry : fs::directory_iterator(folder_)) found.push_back(entry.path().filename().string());
        std::sort(found.begin(), found.end());
        EXPECT_EQ(found, names);
    }

    FakeSystem system_;
    std::atomic<bool> interrupted_{false};
    fs::path folder_;
    std::string output_, out_, err_;
};

TEST_F(HeadlessScan, WritesTheTreeTheModelReadsBackAndSummarises) {
    ASSERT_EQ(Run({"root", output_}), headless::kExitDone) << err_;
    model::DirInfo tree;
    std::uint32_t clusterSize = 0;
    ASSERT_TRUE(model::ReadDataFile(output_, tree, clusterSize, [](const std::string& text) { FAIL() << text; }));
    model::RecomputeTotals(tree, clusterSize);
    EXPECT_EQ(clusterSize, 4096u);
    EXPECT_EQ(tree.name, "named:root");
    ASSERT_EQ(tree.files.size(), 2u);
    EXPECT_EQ(tree.files[0].name, "a.txt");
    ASSERT_EQ(tree.subdirs.size(), 1u);
    EXPECT_EQ(tree.subdirs[0].files[0].name, "c\\d");  // the system's StoredName decides about names
    EXPECT_EQ(tree.deepFiles, 3u);
    EXPECT_EQ(tree.deepDirs, 2u);
    EXPECT_EQ(tree.deepSize, 5005u);
    EXPECT_EQ(tree.deepAlloc, 4096u + 8192u);
    // Every name below the root, once, in the file's order.
    EXPECT_EQ(system_.stored, (std::vector<std::string>{"a.txt", "b", "sub", "c\\d", "empty"}));
    // The seconds depend on the machine's load: only their form is checked.
    std::string summary = err_;
    const std::size_t in = summary.find(" in "), timeEnd = summary.find(" s: ");
    ASSERT_TRUE(in != std::string::npos && timeEnd != std::string::npos && timeEnd > in + 4) << err_;
    const std::size_t timeStart = in + 4;
    const std::string seconds = summary.substr(timeStart, timeEnd - timeStart);
    EXPECT_TRUE(seconds.size() >= 3 && seconds[seconds.size() - 2] == '.' &&
                seconds.find_first_not_of("0123456789.") == std::string::npos)
        << seconds;
    summary.replace(timeStart, timeEnd - timeStart, "T");
    EXPECT_EQ(summary,
              "kelvaran-scan: scanned named:root in T s: 2 folders, 3 files, 4.9 KB (12.0 KB allocated in "
              "4096-byte clusters); written to " +
                  output_ + "\n");
    EXPECT_TRUE(out_.empty());
    ExpectFolderHolds({"out.klv"});
}

TEST_F(HeadlessScan, ClusterSizeFromTheCommandLineOrDetectedAndOnlyWhatTheFileCanCarry) {
    const std::tuple<std::vector<std::string>, std::uint32_t, std::uint32_t> cases[] = {
        {{"--cluster-size", "512"}, 4096, 512},
        {{"--cluster-size", "0"}, 4096, 0},
        {{}, 65536, 65536},
        {{}, 131072, 0},  // a file system's larger block is not a cluster size the file knows
        {{}, 0, 0},
    };
    for (const auto& [options, detected, stored] : cases) {
        system_.detected = detected;
        std::vector<std::string> words = options;
        words.insert(words.end(), {"root", output_});
        ASSERT_EQ(Run(words), headless::kExitDone) << err_;
        model::DirInfo tree;
        std::uint32_t clusterSize = 1;
        ASSERT_TRUE(model::ReadDataFile(output_, tree, clusterSize, [](const std::string&) {}));
        EXPECT_EQ(clusterSize, stored) << detected;
        EXPECT_EQ(err_.find("cluster size not known") != std::string::npos, stored == 0) << err_;
    }
}

TEST_F(HeadlessScan, FailuresEndWithTheirStatusAndLeaveNoFile) {
    struct Case {
        std::vector<std::string> words;
        int status;
        std::string message;
    };
    const std::string noFolder = (folder_ / "gone" / "x.klv").string();
    const Case cases[] = {
        {{"root"}, headless::kExitBadArguments, "kelvaran-scan: missing OUTPUT"},
        {{"--threads", "x", "root", output_}, headless::kExitBadArguments, "kelvaran-scan: --threads: 'x'"},
        {{"missing", output_}, headless::kExitFailed, "kelvaran-scan: cannot read missing: No such file or directory"},
        {{"root", noFolder}, headless::kExitFailed, "kelvaran-scan: cannot write " + noFolder + ": "},
    };
    for (const Case& c : cases) {
        system_.lister.opened.clear();
        EXPECT_EQ(Run(c.words), c.status);
        EXPECT_EQ(err_.rfind(c.message, 0), 0u) << err_;
        if (c.status == headless::kExitBadArguments) {
            EXPECT_NE(err_.find("usage: kelvaran-scan"), std::string::npos);
        }
        EXPECT_TRUE(system_.lister.opened.empty()) << "nothing scanned before the arguments and files were checked";
        ExpectFolderHolds({});
    }
}

TEST_F(HeadlessScan, InterruptsKeepTheTargetAsItWasAndRemoveTheirPartialFile) {
    // Whichever stage the interrupt arrives in, an older file under the target's name stays unchanged.
    const std::string older = "an older scan";
    const std::vector<std::pair<const char*, std::function<void()>>> stages = {
        {"before the first folder", [&] { interrupted_ = true; }},
        {"in a subfolder",
         [&] {
             system_.lister.onOpen = [&](const std::string& path) {
                 if (path.ends_with("sub")) interrupted_ = true;
             };
         }},
        {"at the last folder, when the walk has nothing left to do",
         [&] {
             system_.onStoredName = [&](std::string_view name) {
                 if (name == "empty") interrupted_ = true;
             };
         }},
    };
    for (const auto& [stage, arm] : stages) {
        SCOPED_TRACE(stage);
        std::ofstream(output_, std::ios::binary) << older;
        interrupted_ = false;
        system_.lister.onOpen = nullptr;
        system_.onStoredName = nullptr;
        arm();
        EXPECT_EQ(Run({"root", output_}), headless::kExitInterrupted);
        EXPECT_EQ(err_, "kelvaran-scan: interrupted; " + output_ + " was not written\n");
        EXPECT_EQ(Read(output_), older);
        ExpectFolderHolds({"out.klv"});
    }
}

// The file is written while the walk goes: once it cannot be (here a name too long for it), the walk stops
// at its next folder instead of reading the rest of the tree for nothing.
TEST_F(HeadlessScan, AFileThatCannotBeWrittenEndsTheScanEarly) {
    system_.lister.AddFolder("X:\\root", {File(std::string(70000, 'n'), 5), Dir("sub"), File("b", 0)});
    EXPECT_EQ(Run({"--threads", "1", "root", output_}), headless::kExitFailed);
    EXPECT_EQ(err_, "kelvaran-scan: Could not write to file " + output_ + "\n");
    EXPECT_EQ(system_.lister.opened, (std::vector<std::string>{"X:\\root"}));
    ExpectFolderHolds({});
}

TEST_F(HeadlessScan, TheFileTableServesWhenItCanAndTheWalkOtherwise) {
    system_.fileTable = [](const headless::ResolvedRoot& root, model::DirInfo& tree, scan::ScanCounters&,
                           scan::WalkControl&, std::uint32_t) {
        EXPECT_EQ(root.walkPath, "X:\\root");
        tree.name = root.rootName;
        tree.files.emplace_back("from-table", 7);
        return scan::ntfs::ReadResult::kComplete;
    };
    ASSERT_EQ(Run({"root", output_}), headless::kExitDone) << err_;
    model::DirInfo tree;
    std::uint32_t clusterSize = 0;
    ASSERT_TRUE(model::ReadDataFile(output_, tree, clusterSize, [](const std::string&) {}));
    ASSERT_EQ(tree.files.size(), 1u);
    EXPECT_EQ(tree.files[0].name, "from-table");
    EXPECT_TRUE(system_.lister.opened.empty());

    // A reader that gives up half-way leaves nothing of its own in the walked tree.
    system_.fileTable = [](const headless::ResolvedRoot&, model::DirInfo& partial, scan::ScanCounters& counters,
                           scan::WalkControl&, std::uint32_t) {
        partial.files.emplace_back("half-read", 7);
        counters.filesFound = 1000;
        return scan::ntfs::ReadResult::kUnavailable;
    };
    ASSERT_EQ(Run({"root", output_}), headless::kExitDone) << err_;
    ASSERT_TRUE(model::ReadDataFile(output_, tree, clusterSize, [](const std::string&) {}));
    EXPECT_EQ(tree.files.size(), 2u);
    EXPECT_EQ(tree.files[0].name, "a.txt");
    EXPECT_NE(err_.find(" 3 files"), std::string::npos) << err_;
}

}  // namespace
