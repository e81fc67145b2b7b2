// The data file on real files under Windows: UTF-8 names through the manifest's code page, the error boxes
// the user sees, and deep files read and walked on a worker thread with a small stack.
#include "model/DataFileWin.h"

#include "ScanTestTree.h"
#include "fw/Interaction.h"
#include "fw/Utf8.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <atomic>
#include <string>
#include <vector>

using model::DirInfo;

namespace {

struct Box {
    std::string text;
    std::string caption;
    UINT flags;
};

class DataFileWin : public ::testing::Test {
protected:
    scantest::TempTree folder_;
    const std::string dir_ = folder_.Root() + "\\";
    std::vector<Box> boxes_;
    const fw::Interaction ui_{[this](HWND, const std::string& text, const std::string& caption, UINT flags) {
        boxes_.push_back({text, caption, flags});
        return IDOK;
    }};
};

DirInfo SampleTree() {
    DirInfo root(
        "C:\\Donn\xC3\xA9"
        "es");
    root.files.emplace_back("r\xC3\xA9sum\xC3\xA9.txt", 1234, 0);
    root.files.emplace_back("big.bin", (std::uint64_t{1} << 32) + 1, -5);
    DirInfo& sub = root.subdirs.emplace_back("\xE6\x97\xA5\xE6\x9C\xAC");  // 日本
    sub.files.emplace_back("a", 0, 0);
    sub.subdirs.emplace_back("empty");
    return root;
}

DirInfo Chain(std::size_t depth) {
    DirInfo root("C:");
    DirInfo* current = &root;
    for (std::size_t level = 1; level <= depth; ++level) {
        current = &current->subdirs.emplace_back("d");
        current->files.emplace_back("f", level);
    }
    return root;
}

TEST_F(DataFileWin, Utf8NamedFileRoundTrip) {
    ASSERT_EQ(GetACP(), 65001u) << "the manifest's UTF-8 code page is not in force";
    const DirInfo original = SampleTree();
    const std::string path = dir_ + "caf\xC3\xA9.klv";
    ASSERT_TRUE(model::WriteDataFile(path, 4096, original, ui_));

    // The file carries the UTF-8 name, not a mangled one.
    WIN32_FIND_DATAA found;
    HANDLE find = FindFirstFileA((dir_ + "caf*").c_str(), &found);
    ASSERT_NE(find, INVALID_HANDLE_VALUE);
    FindClose(find);
    EXPECT_STREQ(found.cFileName, "caf\xC3\xA9.klv");

    DirInfo read("previous");
    std::uint32_t cluster = 0;
    ASSERT_TRUE(model::ReadDataFile(path, read, cluster, ui_));
    EXPECT_EQ(cluster, 4096u);
    EXPECT_EQ(read, original);
    EXPECT_TRUE(boxes_.empty());
}

TEST_F(DataFileWin, FailuresShowErrorBoxes) {
    const DirInfo before = SampleTree();
    DirInfo root = before;
    std::uint32_t cluster = 512;

    const std::string missing = dir_ + "missing.klv";
    EXPECT_FALSE(model::ReadDataFile(missing, root, cluster, ui_));

    const std::string notData = dir_ + "not data.klv";
    {
        HANDLE file = CreateFileA(notData.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        ASSERT_NE(file, INVALID_HANDLE_VALUE);
        DWORD written = 0;
        WriteFile(file, "KLVV0001\0\x10\0\0", 12, &written, nullptr);
        CloseHandle(file);
    }
    EXPECT_FALSE(model::ReadDataFile(notData, root, cluster, ui_));
    EXPECT_EQ(root, before);
    EXPECT_EQ(cluster, 512u);

    const std::string noFolder = dir_ + "no folder\\x.klv";
    EXPECT_FALSE(model::WriteDataFile(noFolder, 4096, before, ui_));

    ASSERT_EQ(boxes_.size(), 3u);
    EXPECT_EQ(boxes_[0].text, "Could not open file " + missing);
    EXPECT_EQ(boxes_[1].text, "The specified file is not a valid data file\r\n\r\n" + notData);
    EXPECT_EQ(boxes_[2].text, "Could not open file " + noFolder);
    for (const Box& box : boxes_) {
        EXPECT_EQ(box.caption, "Error");
        EXPECT_EQ(box.flags, UINT{MB_OK | MB_ICONERROR});
    }
}

TEST_F(DataFileWin, ExportReplacesAnOlderFileWholeOrNotAtAll) {
    const std::string path = dir_ + "export.klv";
    {
        HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        ASSERT_NE(file, INVALID_HANDLE_VALUE);
        DWORD written = 0;
        WriteFile(file, "older", 5, &written, nullptr);
        CloseHandle(file);
    }
    const DirInfo tree = SampleTree();
    ASSERT_TRUE(SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY));
    EXPECT_FALSE(model::WriteDataFile(path, 4096, tree, ui_));
    WIN32_FILE_ATTRIBUTE_DATA data{};
    ASSERT_TRUE(GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data));
    EXPECT_EQ(data.nFileSizeLow, 5u) << "a read-only target is left as it was";
    EXPECT_EQ(GetFileAttributesA((path + ".part").c_str()), INVALID_FILE_ATTRIBUTES) << "no partial file left";
    ASSERT_EQ(boxes_.size(), 1u);
    EXPECT_EQ(boxes_[0].text, "Could not write to file " + path);

    ASSERT_TRUE(SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL));
    ASSERT_TRUE(model::WriteDataFile(path, 4096, tree, ui_));
    DirInfo read("x");
    std::uint32_t cluster = 0;
    ASSERT_TRUE(model::ReadDataFile(path, read, cluster, ui_));
    EXPECT_EQ(read, tree);
}

// A file of the user's that has the temporary name (here with a name outside ASCII) is left as it was.
TEST_F(DataFileWin, ExportLeavesAFileThatHasTheTemporaryNameAlone) {
    const std::string path = dir_ + "\xE6\x97\xA5\xE6\x9C\xAC.klv";
    for (const std::string& name : {path + ".part", path + ".1.part"}) {
        HANDLE file = CreateFileW(fw::Utf8ToWide(name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        ASSERT_NE(file, INVALID_HANDLE_VALUE) << name;
        DWORD written = 0;
        WriteFile(file, "mine", 4, &written, nullptr);
        CloseHandle(file);
    }
    const DirInfo tree = SampleTree();
    ASSERT_TRUE(model::WriteDataFile(path, 4096, tree, ui_));
    EXPECT_TRUE(boxes_.empty());
    for (const std::string& name : {path + ".part", path + ".1.part"}) {
        WIN32_FILE_ATTRIBUTE_DATA data{};
        ASSERT_TRUE(GetFileAttributesExW(fw::Utf8ToWide(name).c_str(), GetFileExInfoStandard, &data)) << name;
        EXPECT_EQ(data.nFileSizeLow, 4u) << name;
    }
    EXPECT_EQ(GetFileAttributesW(fw::Utf8ToWide(path + ".2.part").c_str()), INVALID_FILE_ATTRIBUTES);
    DirInfo read("x");
    std::uint32_t cluster = 0;
    ASSERT_TRUE(model::ReadDataFile(path, read, cluster, ui_));
    EXPECT_EQ(read, tree);
}

// Reading, totalling, looking up, copying, comparing and destroying a tree at the depth cap on a thread
// that asks for a 64 KiB stack (Wine grants at least 1 MiB), and the same walks over 200,000 levels built
// in memory, which only a walk without recursion survives there. A stack overflow on a worker does not
// end the process under Wine, so the thread records how far it got.
struct DeepWork {
    fw::Interaction ui;  // the boxes of the read, on the worker
    std::string path;
    std::atomic<bool> finished{false};
    bool read = false;
    std::size_t depth = 0;
    std::uint32_t deepDirs = 0;
    bool found = false;
    bool copyEqual = false;
    std::uint32_t hugeDeepDirs = 0;
    bool hugeCopyEqual = false;
};

DirInfo Chain(std::size_t depth);

DWORD WINAPI DeepWorker(void* parameter) {
    auto& work = *static_cast<DeepWork*>(parameter);
    {
        DirInfo root;
        std::uint32_t cluster = 0;
        work.read = model::ReadDataFile(work.path, root, cluster, work.ui);
        model::RecomputeTotals(root, cluster);
        work.deepDirs = root.deepDirs;
        for (const DirInfo* d = &root; !d->subdirs.empty(); d = &d->subdirs[0]) ++work.depth;
        std::string deepest = "C:\\";
        for (std::size_t i = 0; i < work.depth; ++i) deepest += "D\\";
        work.found = model::FindDirByPath(root, deepest) != nullptr;
        DirInfo copy = root;
        work.copyEqual = copy == root;
    }
    {
        DirInfo huge = Chain(200000);
        model::RecomputeTotals(huge, 4096);
        work.hugeDeepDirs = huge.deepDirs;
        const DirInfo copy = huge;
        work.hugeCopyEqual = copy == huge;
    }
    work.finished = true;
    return 0;
}

TEST_F(DataFileWin, TreesAtTheDepthCapOnASmallWorkerStack) {
    const std::size_t cap = model::kMaxTreeDepth;
    for (std::size_t depth : {cap, cap + 1, std::size_t{100000}}) {
        SCOPED_TRACE(depth);
        DeepWork work;
        work.path = dir_ + "deep.klv";
        work.ui = ui_;
        ASSERT_TRUE(model::WriteDataFile(work.path, 4096, Chain(depth), ui_));
        HANDLE thread = CreateThread(nullptr, 64 * 1024, DeepWorker, &work, STACK_SIZE_PARAM_IS_A_RESERVATION, nullptr);
        ASSERT_NE(thread, nullptr);
        ASSERT_EQ(WaitForSingleObject(thread, 60000), WAIT_OBJECT_0);
        CloseHandle(thread);
        ASSERT_TRUE(work.finished) << "the worker died before finishing";
        EXPECT_TRUE(work.read);
        EXPECT_EQ(work.depth, cap);
        EXPECT_EQ(work.deepDirs, cap);
        EXPECT_TRUE(work.found);
        EXPECT_TRUE(work.copyEqual);
        EXPECT_EQ(work.hugeDeepDirs, 200000u);
        EXPECT_TRUE(work.hugeCopyEqual);
    }
    EXPECT_TRUE(boxes_.empty());
}

}  // namespace
