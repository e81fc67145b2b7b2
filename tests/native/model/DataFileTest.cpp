#include "model/DataFile.h"
#include "model/DataFileReadAhead.h"

#include "TreeBuilders.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <iterator>
#include <stdexcept>
#include <tuple>
#include <unistd.h>

using model::DecodeDataFile;
using model::DecodeResult;
using model::DirInfo;

namespace {

std::string Bytes(std::initializer_list<int> values) {
    std::string bytes;
    for (int v : values) bytes += static_cast<char>(v);
    return bytes;
}

std::string Encode(const DirInfo& root, std::uint32_t clusterSize = 4096) {
    std::string bytes;
    EXPECT_TRUE(model::EncodeDataFile(clusterSize, root, bytes));
    return bytes;
}

const std::string kMagic = "KLVV0000";
const std::string kCluster4k = Bytes({0x00, 0x10, 0x00, 0x00});

// The stored fields of every record in pre-order, for comparing what a reader kept with the original.
using Record = std::tuple<std::size_t, bool, std::string, std::uint64_t, std::int32_t>;
std::vector<Record> Flatten(const DirInfo& root) {
    std::vector<Record> records;
    std::vector<std::pair<const DirInfo*, std::size_t>> stack{{&root, 0}};
    while (!stack.empty()) {
        auto [dir, depth] = stack.back();
        stack.pop_back();
        records.emplace_back(depth, true, dir->name, 0, dir->sortKey);
        for (const model::FileInfo& f : dir->files) records.emplace_back(depth, false, f.name, f.size, f.sortKey);
        for (auto it = dir->subdirs.rbegin(); it != dir->subdirs.rend(); ++it) stack.emplace_back(&*it, depth + 1);
    }
    return records;
}

class TempDir : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ =
            std::filesystem::temp_directory_path() / ("kelvaran-model-" + std::to_string(::getpid()) + "-" +
                                                      ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(dir_);
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }
    std::string PathOf(const std::string& name) const { return (dir_ / name).string(); }

    model::ErrorReporter Collect() {
        return [this](const std::string& text) { messages_.push_back(text); };
    }

    std::filesystem::path dir_;
    std::vector<std::string> messages_;
};

TEST(DataFileBytes, ExamplesOfTheFormat) {
    EXPECT_EQ(Encode(DirInfo("C:")), kMagic + kCluster4k + Bytes({0, 0, 0, 2, 0, 'C', ':'}));

    DirInfo root("C:");
    root.files.emplace_back("a", 0, 0);
    root.files.emplace_back("b", std::uint64_t{1} << 32, -1);
    root.files.emplace_back("c", 255, 256);
    root.files.emplace_back("d", 4096, 0);
    EXPECT_EQ(Encode(root, 0), kMagic + Bytes({0, 0, 0, 0}) + Bytes({1, 4, 0, 0, 2, 0, 'C', ':'}) +
                                   Bytes({0, 0, 1, 0, 'a'}) +
                                   Bytes({5, 0, 0, 0, 0, 1, 4, 0xFF, 0xFF, 0xFF, 0xFF, 1, 0, 'b'}) +
                                   Bytes({1, 0xFF, 2, 0x00, 0x01, 1, 0, 'c'}) + Bytes({2, 0x00, 0x10, 0, 1, 0, 'd'}));
}

TEST(DataFileBytes, FoldersComeAfterFilesDepthFirst) {
    DirInfo root("R");
    root.subdirs.emplace_back("A").subdirs.emplace_back("B");
    root.subdirs.emplace_back("C");
    root.files.emplace_back("f", 1);
    EXPECT_EQ(Encode(root, 512), kMagic + Bytes({0, 2, 0, 0}) + Bytes({1, 1, 1, 2, 0, 1, 0, 'R'}) +
                                     Bytes({1, 1, 0, 1, 0, 'f'}) + Bytes({0, 1, 1, 0, 1, 0, 'A'}) +
                                     Bytes({0, 0, 0, 1, 0, 'B'}) + Bytes({0, 0, 0, 1, 0, 'C'}));
}

TEST(DataFileRoundTrip, RandomTreesComeBackEqual) {
    for (std::uint32_t seed : {1u, 2u, 3u, 4u}) {
        DirInfo original = model_test::RandomTree(seed, 400, 6);
        model::RecomputeTotals(original, 8192);
        DirInfo read("previous");
        read.subdirs.resize(3);
        std::uint32_t cluster = 0;
        ASSERT_EQ(DecodeDataFile(Encode(original, 8192), read, cluster), DecodeResult::kComplete) << seed;
        EXPECT_EQ(cluster, 8192u);
        model::RecomputeTotals(read, cluster);
        EXPECT_EQ(read, original) << seed;
    }
}

TEST(DataFileRoundTrip, NamesUpToTheLengthFieldsMaximum) {
    DirInfo root(std::string(3 * 32767, 'r').substr(0, model::kMaxStoredNameLength));
    root.files.emplace_back(std::string(765, '\xE6'), 1);  // 255 characters of three UTF-8 bytes each
    root.files.emplace_back(std::string(model::kMaxStoredNameLength, 'f'), 2);
    root.subdirs.emplace_back(std::string(40000, 'd'));
    DirInfo read;
    std::uint32_t cluster = 0;
    ASSERT_EQ(DecodeDataFile(Encode(root), read, cluster), DecodeResult::kComplete);
    EXPECT_EQ(read, root);

    root.files.emplace_back(std::string(model::kMaxStoredNameLength + 1, 'x'), 3);
    std::string bytes;
    EXPECT_FALSE(model::EncodeDataFile(4096, root, bytes));
}

TEST(DataFileRead, WrongMagicOrTooShortChangesNothing) {
    const DirInfo before = model_test::RandomTree(5, 20, 2);
    const std::string good = Encode(DirInfo("C:"));
    for (const std::string& bytes :
         {std::string(), good.substr(0, 7), "KLVV0001" + good.substr(8), "klvv0000" + good.substr(8), good.substr(0, 8),
          good.substr(0, 12), good.substr(0, good.size() - 1)}) {
        DirInfo root = before;
        std::uint32_t cluster = 4096;
        EXPECT_EQ(DecodeDataFile(bytes, root, cluster), DecodeResult::kNotDataFile) << bytes.size();
        EXPECT_EQ(root, before);
        EXPECT_EQ(cluster, 4096u);
    }
}

TEST(DataFileRead, ClusterSizesOutsideTheValidSetReadAsUnknown) {
    for (std::uint32_t c = 0; c <= 1u << 20; c = c ? c * 2 : 1)
        EXPECT_EQ(model::IsValidClusterSize(c), c >= 512 && c <= 65536) << c;
    EXPECT_FALSE(model::IsValidClusterSize(3000));
    EXPECT_FALSE(model::IsValidClusterSize(4097));
    EXPECT_FALSE(model::IsValidClusterSize(0xFFFFFFFF));

    DirInfo original = model_test::RandomTree(9, 30, 3);
    DirInfo read;
    std::uint32_t cluster = 4096;
    ASSERT_EQ(DecodeDataFile(Encode(original, 3000), read, cluster), DecodeResult::kComplete);
    EXPECT_EQ(cluster, 0u);
    model::RecomputeTotals(read, cluster);
    model::RecomputeTotals(original, 4096);
    EXPECT_EQ(read.deepSize, original.deepSize);
    EXPECT_EQ(read.deepFiles, original.deepFiles);
    EXPECT_EQ(read.deepAlloc, 0u);
    EXPECT_EQ(read.subdirs[0].localAlloc, 0u);
}

// Every prefix of a file either is refused whole or yields complete records that start the original's
// pre-order, and longer prefixes never keep fewer records.
TEST(DataFileRead, TruncationAtEveryOffsetKeepsCompleteRecordsOnly) {
    DirInfo original = model_test::RandomTree(11, 12, 3);
    const std::string bytes = Encode(original);
    const std::vector<Record> all = Flatten(original);
    auto packedLength = [](std::uint64_t v) {
        std::size_t n = 1;
        for (; v != 0; v >>= 8) ++n;
        return n;
    };
    const std::size_t rootHeadEnd = 12 + packedLength(original.files.size()) + packedLength(original.subdirs.size()) +
                                    packedLength(static_cast<std::uint32_t>(original.sortKey)) + 2 +
                                    original.name.size();
    std::size_t previousCount = 0;
    for (std::size_t length = 0; length < bytes.size(); ++length) {
        DirInfo read("untouched");
        std::uint32_t cluster = 1;
        const DecodeResult result = DecodeDataFile(std::string_view(bytes).substr(0, length), read, cluster);
        if (length < rootHeadEnd) {
            ASSERT_EQ(result, DecodeResult::kNotDataFile) << length;
            EXPECT_EQ(read.name, "untouched");
            continue;
        }
        ASSERT_EQ(result, DecodeResult::kDamaged) << length;
        EXPECT_EQ(cluster, 4096u);
        const std::vector<Record> kept = Flatten(read);
        ASSERT_LE(kept.size(), all.size());
        EXPECT_TRUE(std::equal(kept.begin(), kept.end(), all.begin())) << length;
        EXPECT_GE(kept.size(), previousCount) << length;
        previousCount = kept.size();
    }
    DirInfo read;
    std::uint32_t cluster = 0;
    EXPECT_EQ(DecodeDataFile(bytes, read, cluster), DecodeResult::kComplete);
    EXPECT_EQ(Flatten(read), all);
}

TEST(DataFileRead, MalformedPackedNumbersStopTheRead) {
    const std::string head = kMagic + kCluster4k;
    const std::string rootWithTwoFiles = Bytes({1, 2, 0, 0, 2, 0, 'C', ':'});
    const std::string goodFile = Bytes({1, 7, 0, 1, 0, 'g'});
    DirInfo read;
    std::uint32_t cluster = 0;

    // A 64-bit size may take 8 bytes; a count byte of 9 is damage.
    const std::string eightByteSize = Bytes({8, 1, 2, 3, 4, 5, 6, 7, 0x80, 0, 1, 0, 'e'});
    ASSERT_EQ(DecodeDataFile(head + rootWithTwoFiles + goodFile + eightByteSize, read, cluster),
              DecodeResult::kComplete);
    EXPECT_EQ(read.files[1].size, 0x8007060504030201u);
    EXPECT_EQ(DecodeDataFile(head + rootWithTwoFiles + goodFile + Bytes({9, 1, 2, 3, 4, 5, 6, 7, 8, 9, 0, 1, 0, 'n'}),
                             read, cluster),
              DecodeResult::kDamaged);
    ASSERT_EQ(read.files.size(), 1u);
    EXPECT_EQ(read.files[0].name, "g");

    // A 32-bit field with a count byte of 5, in a file record and in a folder header.
    EXPECT_EQ(DecodeDataFile(head + rootWithTwoFiles + goodFile + Bytes({0, 5, 1, 0, 0, 0, 0, 1, 0, 'n'}), read,
                             cluster),
              DecodeResult::kDamaged);
    EXPECT_EQ(read.files.size(), 1u);
    DirInfo before("kept");
    read = before;
    EXPECT_EQ(DecodeDataFile(head + Bytes({5, 1, 0, 0, 0, 0, 0, 0, 2, 0, 'C', ':'}), read, cluster),
              DecodeResult::kNotDataFile);
    EXPECT_EQ(read, before);
}

TEST(DataFileRead, HostileCountsAllocateOnlyWhatIsThere) {
    const std::string head = kMagic + kCluster4k;
    // 4,000,000,000 files declared, four tiny ones present in 20 bytes.
    const std::string fourBillion = Bytes({4, 0x00, 0x28, 0x6B, 0xEE});
    std::string tiny;
    for (char c : {'a', 'b', 'c', 'd'}) tiny += Bytes({0, 0, 1, 0, c});
    DirInfo read;
    std::uint32_t cluster = 0;
    ASSERT_EQ(DecodeDataFile(head + fourBillion + Bytes({0, 0, 2, 0, 'C', ':'}) + tiny, read, cluster),
              DecodeResult::kDamaged);
    EXPECT_EQ(read.files.size(), 4u);
    EXPECT_LE(read.files.capacity(), 8u);

    // As many folders declared, each with as many files, two empty folders present.
    const std::string emptyFolder = Bytes({0, 0, 0, 1, 0, 'x'});
    ASSERT_EQ(DecodeDataFile(head + Bytes({0}) + fourBillion + Bytes({0, 2, 0, 'C', ':'}) + emptyFolder + emptyFolder +
                                 fourBillion + fourBillion + Bytes({0, 1, 0, 'y'}),
                             read, cluster),
              DecodeResult::kDamaged);
    EXPECT_EQ(read.subdirs.size(), 3u);
    EXPECT_LE(read.subdirs.capacity(), 4u);
    EXPECT_LE(read.subdirs[2].files.capacity(), 1u);

    // A name of 65,535 bytes declared with three present: the record is dropped, nothing more is held.
    ASSERT_EQ(DecodeDataFile(head + Bytes({1, 1, 0, 0, 2, 0, 'C', ':', 0, 0, 0xFF, 0xFF, 'a', 'b', 'c'}), read,
                             cluster),
              DecodeResult::kDamaged);
    EXPECT_TRUE(read.files.empty());
    EXPECT_TRUE(read.subdirs.empty());
}

TEST(DataFileRead, NestingIsCappedAndTheCapItselfIsRead) {
    constexpr std::size_t kCap = model::kMaxTreeDepth;
    DirInfo read;
    std::uint32_t cluster = 0;

    const DirInfo atCap = model_test::Chain(kCap);
    ASSERT_EQ(DecodeDataFile(Encode(atCap), read, cluster), DecodeResult::kComplete);
    EXPECT_EQ(read, atCap);
    model::RecomputeTotals(read, cluster);
    EXPECT_EQ(read.deepDirs, kCap);

    // One level more: everything down to the cap is kept, the folder below it is not read.
    ASSERT_EQ(DecodeDataFile(Encode(model_test::Chain(kCap + 1)), read, cluster), DecodeResult::kDamaged);
    EXPECT_EQ(read, atCap);

    // 100,000 levels (about 900 KB): stops at the cap without touching the call stack.
    ASSERT_EQ(DecodeDataFile(Encode(model_test::Chain(100000)), read, cluster), DecodeResult::kDamaged);
    EXPECT_EQ(model_test::Depth(read), kCap);
}

TEST_F(TempDir, WriteThenReadARealFile) {
    DirInfo original = model_test::RandomTree(21, 200, 5);
    const std::string path = PathOf("caf\xC3\xA9 tree.klv");
    ASSERT_TRUE(model::WriteDataFile(path, 16384, original, Collect()));
    EXPECT_TRUE(messages_.empty());

    std::ifstream file(path, std::ios::binary);
    const std::string onDisk{std::istreambuf_iterator<char>(file), {}};
    EXPECT_EQ(onDisk, Encode(original, 16384));

    DirInfo read("old");
    read.subdirs.emplace_back("stale").files.emplace_back("x", 1);
    std::uint32_t cluster = 0;
    ASSERT_TRUE(model::ReadDataFile(path, read, cluster, Collect()));
    EXPECT_TRUE(messages_.empty());
    EXPECT_EQ(cluster, 16384u);
    EXPECT_EQ(read, original);
}

TEST_F(TempDir, ReadFailuresReportAndLeaveTheTree) {
    const DirInfo before = model_test::RandomTree(3, 10, 2);
    DirInfo root = before;
    std::uint32_t cluster = 512;

    const std::string missing = PathOf("missing.klv");
    EXPECT_FALSE(model::ReadDataFile(missing, root, cluster, Collect()));
    const std::string notData = PathOf("notes.klv");
    std::ofstream(notData) << "KLVV000";
    EXPECT_FALSE(model::ReadDataFile(notData, root, cluster, Collect()));

    EXPECT_EQ(messages_, (std::vector<std::string>{"Could not open file " + missing,
                                                   "The specified file is not a valid data file\r\n\r\n" + notData}));
    EXPECT_EQ(root, before);
    EXPECT_EQ(cluster, 512u);

    // A damaged file is read as far as it goes, silently.
    messages_.clear();
    const std::string damaged = PathOf("damaged.klv");
    std::ofstream(damaged, std::ios::binary) << Encode(before, 3000).substr(0, 40);
    EXPECT_TRUE(model::ReadDataFile(damaged, root, cluster, Collect()));
    EXPECT_TRUE(messages_.empty());
    EXPECT_EQ(cluster, 0u);
    EXPECT_EQ(root.name, before.name);
}

TEST_F(TempDir, WriteFailuresAreReportedAndLeaveAnOlderFileAsItWas) {
    const DirInfo tree = model_test::RandomTree(4, 50, 5);
    const std::string noFolder = PathOf("no such folder/x.klv");
    EXPECT_FALSE(model::WriteDataFile(noFolder, 4096, tree, Collect()));

    const std::string older = PathOf("older.klv");
    std::ofstream(older, std::ios::binary) << "an older export";
    auto olderIntact = [&] {
        std::ifstream file(older, std::ios::binary);
        return std::string{std::istreambuf_iterator<char>(file), {}} == "an older export" &&
               !std::filesystem::exists(older + ".part");
    };
    // A full disk in the middle of the tree: the file being written is the full device.
    const bool haveFullDevice = std::filesystem::exists("/dev/full");
    if (haveFullDevice) {
        // The writer is told the name is free, or it would leave the link alone and write beside it.
        std::filesystem::create_symlink("/dev/full", older + ".part");
        EXPECT_FALSE(model::WriteDataFile(older, 4096, tree, Collect(), model::ReplaceByRename,
                                          [](const std::string&) { return false; }));
        EXPECT_TRUE(olderIntact());
    }
    // The finished file cannot take the user's name.
    EXPECT_FALSE(model::WriteDataFile(older, 4096, tree, Collect(),
                                      [](const std::string&, const std::string&) { return false; }));
    EXPECT_TRUE(olderIntact());

    DirInfo tooLong("C:");
    tooLong.files.emplace_back(std::string(70000, 'n'), 1);
    EXPECT_FALSE(model::WriteDataFile(older, 4096, tooLong, Collect()));
    EXPECT_TRUE(olderIntact());

    std::vector<std::string> expected{"Could not open file " + noFolder};
    if (haveFullDevice) expected.push_back("Could not write to file " + older);
    expected.push_back("Could not write to file " + older);
    expected.push_back("Could not write to file " + older);
    EXPECT_EQ(messages_, expected);
}

TEST(TemporaryName, TheFirstFreeOfPartThenNumberedPartNames) {
    const struct {
        std::vector<std::string> taken;
        std::string expected;
    } cases[] = {
        {{}, "x.klv.part"},
        {{"x.klv"}, "x.klv.part"},  // the target itself is replaced in the end, not written into
        {{"x.klv.part"}, "x.klv.1.part"},
        {{"x.klv.part", "x.klv.1.part", "x.klv.2.part"}, "x.klv.3.part"},
        {{"x.klv.part", "x.klv.2.part"}, "x.klv.1.part"},
        {{"x.klv.1.part"}, "x.klv.part"},
    };
    for (const auto& c : cases) {
        auto taken = [&](const std::string& name) {
            return std::find(c.taken.begin(), c.taken.end(), name) != c.taken.end();
        };
        EXPECT_EQ(model::FreeTemporaryName("x.klv", taken), c.expected) << c.expected;
    }
    std::vector<std::string> asked;
    EXPECT_EQ(model::FreeTemporaryName("x.klv",
                                       [&](const std::string& name) {
                                           asked.push_back(name);
                                           return true;
                                       }),
              "");
    EXPECT_EQ(asked.size(), static_cast<std::size_t>(model::kMaxTemporaryNumber) + 1);
    EXPECT_EQ(asked.back(), "x.klv.999.part");
}

TEST_F(TempDir, AnythingWithTheNameIsTakenEvenALinkToNothing) {
    std::ofstream(PathOf("file")) << "x";
    std::filesystem::create_directory(PathOf("folder"));
    std::filesystem::create_symlink(PathOf("nowhere"), PathOf("dangling"));
    std::ofstream(PathOf("\xE6\x97\xA5\xE6\x9C\xAC.klv.part")) << "x";
    const struct {
        std::string name;
        bool taken;
    } cases[] = {
        {"file", true},           {"folder", true},
        {"dangling", true},       {"\xE6\x97\xA5\xE6\x9C\xAC.klv.part", true},
        {"nowhere", false},       {"\xE6\x97\xA5.klv.part", false},
        {"folder/inside", false},
    };
    for (const auto& c : cases) EXPECT_EQ(model::PathTaken(PathOf(c.name)), c.taken) << c.name;
}

TEST_F(TempDir, AnExportLeavesAFileThatHasTheTemporaryNameAsItWas) {
    const DirInfo tree = model_test::RandomTree(6, 30, 3);
    const std::string path = PathOf("export.klv");
    for (const char* name : {"export.klv.part", "export.klv.1.part"}) std::ofstream(PathOf(name)) << name;
    ASSERT_TRUE(model::WriteDataFile(path, 4096, tree, Collect()));
    EXPECT_TRUE(messages_.empty());
    auto contents = [&](const std::string& name) {
        std::ifstream file(PathOf(name), std::ios::binary);
        return std::string{std::istreambuf_iterator<char>(file), {}};
    };
    EXPECT_EQ(contents("export.klv"), Encode(tree, 4096));
    EXPECT_EQ(contents("export.klv.part"), "export.klv.part");
    EXPECT_EQ(contents("export.klv.1.part"), "export.klv.1.part");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir_), {}), 3) << "no other file left";
}

// A file written folder by folder as its folders come (a scan streaming them) is the tree's file; a
// producer that gives up or fails leaves no file and an older one as it was, and giving up says nothing.
TEST_F(TempDir, FilesWrittenAsTheirFoldersComeAreTheTreesFileOrNothing) {
    const DirInfo tree = model_test::RandomTree(9, 120, 6);
    auto folderByFolder = [&tree](model::DataFileWriter& writer) {
        std::vector<const DirInfo*> stack{&tree};
        while (!stack.empty()) {
            const DirInfo* dir = stack.back();
            stack.pop_back();
            writer.Folder(dir->name, dir->files.size(), dir->subdirs.size(), dir->sortKey);
            for (const model::FileInfo& file : dir->files) writer.File(file.name, file.size, file.sortKey);
            for (auto it = dir->subdirs.rbegin(); it != dir->subdirs.rend(); ++it) stack.push_back(&*it);
        }
        return true;
    };
    const std::string path = PathOf("streamed.klv");
    ASSERT_TRUE(model::WriteDataFile(path, 2048, folderByFolder, Collect()));
    std::ifstream file(path, std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(file), {}), Encode(tree, 2048));

    const std::string older = PathOf("older.klv");
    std::ofstream(older, std::ios::binary) << "an older export";
    auto olderIntact = [&] {
        std::ifstream in(older, std::ios::binary);
        return std::string{std::istreambuf_iterator<char>(in), {}} == "an older export" &&
               !std::filesystem::exists(older + ".part");
    };
    EXPECT_FALSE(model::WriteDataFile(
        older, 4096,
        [&](model::DataFileWriter& writer) {
            folderByFolder(writer);
            return false;
        },
        Collect()));
    EXPECT_TRUE(olderIntact());
    EXPECT_THROW(model::WriteDataFile(
                     older, 4096,
                     [&](model::DataFileWriter& writer) -> bool {
                         folderByFolder(writer);
                         throw std::runtime_error("the scan failed");
                     },
                     Collect()),
                 std::runtime_error);
    EXPECT_TRUE(olderIntact());
    // Too long a name fails the file at once, however the producer ends.
    EXPECT_FALSE(model::WriteDataFile(
        older, 4096,
        [](model::DataFileWriter& writer) {
            writer.Folder("C:", 1, 0);
            writer.File(std::string(model::kMaxStoredNameLength + 1, 'n'), 1);
            EXPECT_FALSE(writer.ok());
            return false;
        },
        Collect()));
    EXPECT_TRUE(olderIntact());
    EXPECT_EQ(messages_, (std::vector<std::string>{"Could not write to file " + older}));
}

// A file far larger than any read-ahead, with a folder whose records alone take megabytes and names of every
// stored length crossing piece boundaries, reads as its bytes do from memory, whole and cut anywhere.
TEST_F(TempDir, LargeFilesReadAsTheirBytesDo) {
    DirInfo original = model_test::RandomTree(5, 300, 40);
    DirInfo& wide = original.subdirs.emplace_back("wide");
    wide.files.reserve(150000);
    for (int i = 0; i < 150000; ++i) wide.files.emplace_back("file number " + std::to_string(i), i * 977u, i % 5);
    for (std::size_t length : {255u, 256u, 4000u, 65535u}) {
        DirInfo& holder = original.subdirs[length % original.subdirs.size()].subdirs.emplace_back("long");
        holder.files.emplace_back(std::string(length, 'n'), length);
        holder.subdirs.emplace_back(std::string(length, 'd')).files.emplace_back("after", 1);
    }
    const std::string bytes = Encode(original);
    ASSERT_GT(bytes.size(), 4u << 20);
    const std::string path = PathOf("large.klv");
    auto readFile = [&](std::size_t length, DirInfo& read) {
        std::ofstream(path, std::ios::binary | std::ios::trunc)
            .write(bytes.data(), static_cast<std::streamsize>(length));
        std::uint32_t cluster = 0;
        return model::ReadDataFile(path, read, cluster, Collect());
    };
    DirInfo read;
    ASSERT_TRUE(readFile(bytes.size(), read));
    EXPECT_EQ(read, original);
    for (std::size_t length : {std::size_t{1} << 20, (std::size_t{1} << 20) + 1, (std::size_t{3} << 20) - 7,
                               bytes.size() / 2, bytes.size() - 70000, bytes.size() - 1}) {
        DirInfo fromMemory;
        std::uint32_t cluster = 0;
        ASSERT_EQ(DecodeDataFile(std::string_view(bytes).substr(0, length), fromMemory, cluster),
                  DecodeResult::kDamaged);
        ASSERT_TRUE(readFile(length, read));
        EXPECT_EQ(Flatten(read), Flatten(fromMemory)) << length;
        EXPECT_LT(Flatten(read).size(), Flatten(original).size()) << length;
    }
    EXPECT_TRUE(messages_.empty());
}

}  // namespace

// A read ahead on another thread hands over what reading on the spot gives, for every kind of file.
TEST_F(TempDir, ReadingAheadGivesWhatReadingThenWould) {
    const DirInfo tree = model_test::RandomTree(8, 120, 6);
    const std::string whole = PathOf("whole.klv"), damaged = PathOf("damaged.klv"), notData = PathOf("notes.klv");
    std::ofstream(whole, std::ios::binary) << Encode(tree, 8192);
    std::ofstream(damaged, std::ios::binary) << Encode(tree, 1024).substr(0, 300);
    std::ofstream(notData) << "KLVV000";
    const DirInfo before = model_test::RandomTree(2, 5, 2);
    for (const std::string& path : {whole, damaged, notData, PathOf("missing.klv")}) {
        SCOPED_TRACE(path);
        DirInfo expected = before;
        std::uint32_t expectedCluster = 512;
        std::vector<std::string> expectedMessages;
        const DecodeResult direct =
            model::ReadDataFileWhole(path, expected, expectedCluster,
                                     [&](const std::string& text) { expectedMessages.push_back(text); });

        model::DataFileReadAhead ahead;
        ahead.Start(path);
        DirInfo taken = before;
        std::uint32_t cluster = 512;
        messages_.clear();
        EXPECT_EQ(ahead.Take(path, taken, cluster, Collect()), direct);
        EXPECT_EQ(messages_, expectedMessages);
        EXPECT_EQ(taken, expected);
        EXPECT_EQ(cluster, expectedCluster);
    }
}

TEST_F(TempDir, AReadAheadIsTakenOnceAndOnlyForItsPath) {
    const DirInfo tree = model_test::RandomTree(4, 30, 3);
    const std::string path = PathOf("tree.klv");
    std::ofstream(path, std::ios::binary) << Encode(tree);
    DirInfo taken;
    std::uint32_t cluster = 0;

    model::DataFileReadAhead ahead;
    EXPECT_EQ(ahead.Take(path, taken, cluster, Collect()), std::nullopt);  // nothing started
    ahead.Start(path);
    ahead.Start(PathOf("other.klv"));  // the first read stands
    EXPECT_EQ(ahead.Take(PathOf("other.klv"), taken, cluster, Collect()), std::nullopt);
    EXPECT_EQ(taken, DirInfo());
    EXPECT_EQ(ahead.Take(path, taken, cluster, Collect()), DecodeResult::kComplete);
    EXPECT_EQ(taken, tree);
    EXPECT_EQ(ahead.Take(path, taken, cluster, Collect()), std::nullopt);
    EXPECT_TRUE(messages_.empty());

    // One never taken is waited for when it goes.
    model::DataFileReadAhead untaken;
    untaken.Start(path);
}
