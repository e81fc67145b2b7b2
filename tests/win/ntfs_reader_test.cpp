// The file-table reader on the Win32 side, under Wine: the raw-volume reader reads an image file through
// the same interface as the portable one and gives the same tree; the scan thread takes a reader's tree,
// and falls back to the walk, silently, where volumes cannot be opened raw (as under Wine).
//
// The image comes from CTest's ntfs_images fixture (KELVARAN_NTFS_IMAGES); without it the image tests are
// skipped with the reason and the program exits with 77.
#include "ScanTestTree.h"
#include "fw/Utf8.h"

#include "BoxWatch.h"
#include "scan/TScanThread.h"
#include "scan/ntfs/NtfsReader.h"
#include "scan/ntfs/Win32Volume.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

using scantest::TempTree;
using namespace scan::ntfs;

namespace {

struct NoControl final : scan::WalkControl {
    bool StopRequested() const override { return false; }
    void PausePoint() override {}
};

std::string skipReason;

// The image folder as a Windows path ("Z:\..."), or empty with skipReason set.
std::string ImagesDir() {
    const char* env = std::getenv("KELVARAN_NTFS_IMAGES");
    if (!env) {
        skipReason = "KELVARAN_NTFS_IMAGES is not set (run through ctest, whose fixture makes the images)";
        return {};
    }
    std::string dir = std::string("Z:") + env;
    for (char& c : dir)
        if (c == '/') c = '\\';
    std::ifstream skip(dir + "\\SKIP");
    if (skip) {
        std::getline(skip, skipReason);
        skipReason = "NTFS images could not be made here: " + skipReason;
        return {};
    }
    return dir;
}

#define REQUIRE_IMAGE(path)               \
    const std::string path = ImagesDir(); \
    if (path.empty()) GTEST_SKIP() << skipReason;

ReadResult ReadFrom(Volume& volume, model::DirInfo& root, scan::ScanCounters& counters) {
    NoControl control;
    root = model::DirInfo("X:");
    return ReadVolume(volume, {}, root, counters, control, 4096);
}

TEST(NtfsWin32, RawReaderReadsAnImageLikeThePortableOne) {
    REQUIRE_IMAGE(dir);
    const std::string image = dir + "\\tree.img";
    Win32Volume raw;
    ASSERT_TRUE(raw.Open(fw::Utf8ToWide(image)));
    ImageVolume portable;
    ASSERT_TRUE(portable.Open(image));
    EXPECT_EQ(raw.Size(), portable.Size());

    // Unaligned reads, across block edges, and up to the very end.
    for (std::uint64_t offset : {std::uint64_t{0}, std::uint64_t{4095}, std::uint64_t{12345}, raw.Size() - 7}) {
        std::vector<std::uint8_t> a(std::min<std::uint64_t>(9000, raw.Size() - offset)), b(a.size());
        ASSERT_TRUE(raw.Read(offset, a.data(), a.size())) << offset;
        ASSERT_TRUE(portable.Read(offset, b.data(), b.size())) << offset;
        EXPECT_EQ(a, b) << offset;
    }
    std::uint8_t byte = 0;
    EXPECT_FALSE(raw.Read(raw.Size(), &byte, 1));

    model::DirInfo fromRaw, fromPortable;
    scan::ScanCounters rawCounters, portableCounters;
    ASSERT_EQ(ReadFrom(raw, fromRaw, rawCounters), ReadResult::kComplete);
    ASSERT_EQ(ReadFrom(portable, fromPortable, portableCounters), ReadResult::kComplete);
    EXPECT_TRUE(fromRaw == fromPortable);
    EXPECT_GT(fromRaw.deepFiles, 3000u);
    const model::FileInfo* sparse = model::FindFileByPath(fromRaw, "X:\\sizes\\five-gib-sparse");
    ASSERT_NE(sparse, nullptr);
    EXPECT_EQ(sparse->size, std::uint64_t{5} << 30);
    const model::FileInfo* link = model::FindFileByPath(fromRaw, "X:\\links\\a\\third");
    ASSERT_NE(link, nullptr);
    EXPECT_EQ(link->size, 1234u);
    EXPECT_EQ(rawCounters.filesFound.load(), fromRaw.deepFiles);
}

TEST(NtfsWin32, VolumesThatCannotBeOpenedRawAreUnavailableAndSaySoToNobody) {
    const test_support::BoxWatch boxes;
    MessageBoxA(nullptr, "a box the watch must see", "BoxWatch", MB_OK);
    ASSERT_EQ(boxes.Count(), 1) << "the watch sees boxes";
    TempTree tree;
    tree.File("f", 3);
    NoControl control;
    for (const std::string& path : {tree.Root() + "\\", std::string("C:\\"), std::string("Z:\\tmp\\"),
                                    std::string("\\\\server\\share\\"), std::string("relative\\")}) {
        model::DirInfo root("R");
        scan::ScanCounters counters;
        EXPECT_EQ(ScanFromFileTable(path, root, counters, control, 4096), ReadResult::kUnavailable) << path;
    }
    EXPECT_EQ(boxes.Count(), 1) << "no box but the watch's own";
}

class Receiver {
public:
    Receiver()
        : message_(RegisterWindowMessageA("THREAD_END_MSG")),
          window_(CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr)) {}
    ~Receiver() { DestroyWindow(window_); }
    HWND Window() const { return window_; }
    UINT Message() const { return message_; }
    WPARAM Wait() {
        MSG msg;
        for (DWORD start = GetTickCount(); GetTickCount() - start < 30000;) {
            if (PeekMessageA(&msg, window_, message_, message_, PM_REMOVE)) return msg.wParam;
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 100, QS_POSTMESSAGE);
        }
        ADD_FAILURE() << "no end message";
        return 99;
    }

private:
    UINT message_;
    HWND window_;
};

TEST(NtfsWin32, ScanThreadTakesTheReadersTreeOrFallsBackToTheWalk) {
    TempTree tree;
    tree.File("walked", 5);
    tree.Dir("sub");
    tree.File("sub\\also", 6);
    const std::string rootPath = tree.Root() + "\\";

    // What the walk alone gives, for comparison.
    Receiver receiver;
    model::DirInfo walked;
    std::uint32_t walkedFiles = 0;
    {
        scan::TScanThread plain(receiver.Window(), rootPath, receiver.Message(), std::make_unique<scan::Win32Lister>());
        plain.Start();
        ASSERT_EQ(receiver.Wait(), 1u);
        plain.WaitForExit();
        walked = plain.GetInfo();
        walkedFiles = plain.FilesFound();
    }
    ASSERT_EQ(walkedFiles, 2u);

    struct Case {
        const char* what;
        ReadResult result;
        WPARAM wParam;
        bool walks;
    };
    const Case cases[] = {
        {"reader completes: its tree is taken", ReadResult::kComplete, 1, false},
        {"reader stopped: the scan ends as cancelled", ReadResult::kStopped, 0, false},
        {"reader unavailable: the walk runs from a clean slate", ReadResult::kUnavailable, 1, true},
    };
    for (const Case& c : cases) {
        std::string askedFor;
        auto reader = [&](const std::string& path, model::DirInfo& root, scan::ScanCounters& counters,
                          scan::WalkControl&, std::uint32_t) {
            askedFor = path;
            root.files.emplace_back("from-reader", 77);
            root.deepFiles = 1;
            counters.filesFound.store(1000);
            return c.result;
        };
        scan::TScanThread thread(receiver.Window(), rootPath, receiver.Message(), nullptr, reader);
        thread.Start();
        EXPECT_EQ(receiver.Wait(), c.wParam) << c.what;
        thread.WaitForExit();
        EXPECT_EQ(askedFor, rootPath) << c.what;
        if (c.walks) {
            EXPECT_TRUE(thread.GetInfo() == walked) << c.what;
            EXPECT_EQ(thread.FilesFound(), walkedFiles) << c.what;
        } else {
            ASSERT_EQ(thread.GetInfo().files.size(), 1u) << c.what;
            EXPECT_EQ(thread.GetInfo().files[0].name, "from-reader") << c.what;
            EXPECT_EQ(thread.FilesFound(), 1000u) << c.what;
        }
    }
}

}  // namespace

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    const int status = RUN_ALL_TESTS();
    if (status == 0 && ::testing::UnitTest::GetInstance()->skipped_test_count() > 0) {
        std::printf("NTFS image tests skipped: %s\n", skipReason.c_str());
        return 77;
    }
    return status;
}
