// The walk over the Win32 lister on real temporary trees under Wine: listing order, skipped names, names
// outside the legacy code page, paths past 300 characters, folder links that loop, vanishing folders.
#include "ScanTestTree.h"
#include "fw/Utf8.h"

#include "scan/ParallelWalk.h"
#include "scan/Walk.h"
#include "scan/Win32Lister.h"

#include <gtest/gtest.h>

#include <vector>

using scantest::Long;
using scantest::TempTree;

namespace {

struct NoControl final : scan::WalkControl {
    bool StopRequested() const override { return false; }
    void PausePoint() override {}
};

struct WalkResult {
    model::DirInfo root;
    bool complete = false;
    scan::ScanCounters counters;
};

// workers: 1 for the single walk, more for the parallel walk.
void WalkTree(scan::DirLister& lister, const std::string& rootPath, WalkResult& out, std::uint32_t cluster = 0,
              unsigned workers = 1) {
    NoControl control;
    out.root.name = rootPath;
    out.complete = scan::WalkTree(lister, cluster, out.counters, control, workers, out.root, rootPath);
}

// The names as the system lists them, straight from FindFirstFileW.
std::vector<std::string> SystemOrder(const std::string& folder) {
    std::vector<std::string> names;
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW((Long(folder) + L"\\*.*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) return names;
    do {
        const std::string name = fw::WideToUtf8(data.cFileName);
        if (name != "." && name != "..") names.push_back(name);
    } while (FindNextFileW(find, &data));
    FindClose(find);
    return names;
}

std::vector<std::string> ChildNames(const model::DirInfo& dir) {
    std::vector<std::string> names;
    for (const auto& d : dir.subdirs) names.push_back(d.name);
    for (const auto& f : dir.files) names.push_back(f.name);
    return names;
}

const model::DirInfo* Sub(const model::DirInfo& dir, const std::string& name) {
    for (const auto& sub : dir.subdirs)
        if (sub.name == name) return &sub;
    return nullptr;
}

}  // namespace

TEST(Win32Walk, KeepsTheSystemOrderAndSkipsOnlyDotAndDotDot) {
    TempTree tree;
    for (const char* name : {"zeta", "alpha", "Mid", ".git", "..hidden"}) tree.Dir(name);
    for (const char* name : {"b.txt", "A.txt", "..."}) tree.File(name, 10);
    tree.File(".git\\HEAD", 41);
    tree.File("..hidden\\secret", 7);
    tree.File("zeta\\empty", 0);

    scan::Win32Lister lister;
    WalkResult result;
    WalkTree(lister, tree.Root(), result, 4096);
    ASSERT_TRUE(result.complete);

    // Folders and files each keep the order the system listed them in.
    std::vector<std::string> systemDirs, systemFiles;
    for (const std::string& name : SystemOrder(tree.Root()))
        (GetFileAttributesW(Long(tree.Path(name)).c_str()) & FILE_ATTRIBUTE_DIRECTORY ? systemDirs : systemFiles)
            .push_back(name);
    std::vector<std::string> expected = systemDirs;
    expected.insert(expected.end(), systemFiles.begin(), systemFiles.end());
    EXPECT_EQ(ChildNames(result.root), expected);
    ASSERT_EQ(result.root.subdirs.size(), 5u);

    ASSERT_NE(Sub(result.root, ".git"), nullptr);
    EXPECT_EQ(Sub(result.root, ".git")->deepSize, 41u);
    ASSERT_NE(Sub(result.root, "..hidden"), nullptr);
    EXPECT_EQ(Sub(result.root, "..hidden")->deepFiles, 1u);
    EXPECT_EQ(result.root.deepFiles, 6u);
    EXPECT_EQ(result.root.deepSize, 30u + 41u + 7u);
    EXPECT_EQ(result.counters.filesFound.load(), 6u);
    EXPECT_EQ(result.counters.foldersFound.load(), 5u);
    // Five non-empty files of one cluster each; the empty file adds nothing.
    EXPECT_EQ(result.counters.bytesFound.load(), 5u * 4096u);
}

TEST(Win32Walk, ScansNamesOutsideTheLegacyCodePageCompletely) {
    ASSERT_EQ(GetACP(), 65001u) << "the manifest's UTF-8 code page is not in effect";
    TempTree tree;
    const std::vector<std::string> names{"日本", "café", "Ω", "\xF0\x9F\x93\x81"};
    std::uint64_t total = 0;
    for (std::size_t i = 0; i < names.size(); ++i) {
        tree.Dir(names[i]);
        tree.File(names[i] + "\\" + names[i] + ".txt", 100 + i);
        tree.Dir(names[i] + "\\" + names[(i + 1) % names.size()]);
        tree.File(names[i] + "\\" + names[(i + 1) % names.size()] + "\\ünïcödé", 1000);
        total += 100 + i + 1000;
    }

    scan::Win32Lister lister;
    WalkResult result;
    WalkTree(lister, tree.Root(), result);
    ASSERT_TRUE(result.complete);
    EXPECT_EQ(result.root.deepFiles, 2 * names.size());
    EXPECT_EQ(result.root.deepDirs, 2 * names.size());
    EXPECT_EQ(result.root.deepSize, total);
    EXPECT_EQ(result.counters.bytesFound.load(), total);
    for (const std::string& name : names) {
        const model::DirInfo* sub = Sub(result.root, name);
        ASSERT_NE(sub, nullptr) << name;
        ASSERT_EQ(sub->files.size(), 1u);
        EXPECT_EQ(sub->files[0].name, name + ".txt");
        // The recorded text is what the rest of the program hands to the ANSI calls.
        EXPECT_NE(GetFileAttributesA((tree.Root() + "\\" + name).c_str()), INVALID_FILE_ATTRIBUTES) << name;
    }
}

TEST(Win32Walk, ListsFoldersWhosePathsRunPastThreeHundredCharacters) {
    TempTree tree;
    std::string relative;
    std::uint64_t total = 0;
    for (int level = 0; level < 7; ++level) {
        relative += (relative.empty() ? "" : "\\") + std::string(50, static_cast<char>('a' + level));
        tree.Dir(relative);
        tree.File(relative + "\\file" + std::to_string(level), 1000 + level);
        total += 1000 + level;
    }
    ASSERT_GT(tree.Path(relative).size(), 300u);

    scan::Win32Lister lister;
    WalkResult result;
    WalkTree(lister, tree.Root(), result);
    ASSERT_TRUE(result.complete);
    EXPECT_EQ(result.root.deepFiles, 7u);
    EXPECT_EQ(result.root.deepDirs, 7u);
    EXPECT_EQ(result.root.deepSize, total);
}

TEST(Win32Walk, FolderLinksAreEmptyFoldersAndALoopEndsWithCorrectTotals) {
    TempTree tree;
    tree.Dir("a");
    tree.Dir("a\\b");
    tree.File("a\\b\\data", 5000);
    tree.File("top", 10);
    ASSERT_TRUE(tree.DirLink("a\\b\\up1", ""));
    ASSERT_TRUE(tree.DirLink("a\\b\\up2", "a"));
    ASSERT_TRUE(tree.DirLink("again", "a\\b"));

    scantest::CountingLister lister(std::make_unique<scan::Win32Lister>());
    WalkResult result;
    const DWORD start = GetTickCount();
    WalkTree(lister, tree.Root(), result);
    EXPECT_LT(GetTickCount() - start, 5000u);
    ASSERT_TRUE(result.complete);
    EXPECT_EQ(lister.opens.load(), 3);  // the root, a and a\b only
    EXPECT_EQ(lister.openNow.load(), 0);
    const model::DirInfo* b = Sub(*Sub(result.root, "a"), "b");
    ASSERT_NE(b, nullptr);
    ASSERT_NE(Sub(*b, "up1"), nullptr);
    EXPECT_TRUE(Sub(*b, "up1")->subdirs.empty() && Sub(*b, "up1")->files.empty());
    ASSERT_NE(Sub(result.root, "again"), nullptr);
    EXPECT_EQ(result.root.deepSize, 5010u);
    EXPECT_EQ(result.root.deepFiles, 2u);
    EXPECT_EQ(result.root.deepDirs, 5u);
    EXPECT_EQ(result.counters.foldersFound.load(), 5u);
}

TEST(Win32Walk, AFolderThatVanishesBeforeItIsListedBecomesEmpty) {
    for (const unsigned workers : {1u, 3u}) {
        SCOPED_TRACE(workers);
        TempTree tree;
        for (const char* name : {"first", "gone", "last"}) {
            tree.Dir(name);
            tree.File(std::string(name) + "\\f", 3);
        }
        scantest::CountingLister lister(std::make_unique<scan::Win32Lister>());
        const std::string gone = tree.Path("gone");
        lister.beforeOpen = [&](const std::string& path) {
            if (path == gone) scantest::RemoveTree(Long(gone));
        };
        WalkResult result;
        WalkTree(lister, tree.Root(), result, 0, workers);
        ASSERT_TRUE(result.complete);
        ASSERT_EQ(result.root.subdirs.size(), 3u);
        const model::DirInfo* vanished = Sub(result.root, "gone");
        ASSERT_NE(vanished, nullptr);
        EXPECT_TRUE(vanished->files.empty());
        EXPECT_EQ(vanished->deepSize, 0u);
        EXPECT_EQ(result.root.deepFiles, 2u);
        EXPECT_EQ(result.root.deepSize, 6u);
        EXPECT_EQ(lister.openNow.load(), 0);
    }
}

// A generated tree with names outside ASCII, empty files and folders, long paths and folder links that
// loop: the parallel walks give the single walk's tree record for record, and its counters.
TEST(Win32Walk, ParallelWalksGiveTheSingleWalksTree) {
    TempTree tree;
    std::uint32_t random = 20261208;
    const auto below = [&random](std::uint32_t n) {
        random = random * 1664525u + 1013904223u;
        return (random >> 8) % n;
    };
    const std::vector<std::string> names{"日本", "café", "Ω", "data", "Data2", ".git", "..x", std::string(60, 'n')};
    std::vector<std::string> folders{""};
    for (int i = 0; i < 150; ++i) {
        const std::string& parent = folders[below(static_cast<std::uint32_t>(folders.size()))];
        std::string name = names[below(static_cast<std::uint32_t>(names.size()))] + std::to_string(i);
        folders.push_back(parent.empty() ? name : parent + "\\" + name);
        tree.Dir(folders.back());
    }
    for (int i = 0; i < 600; ++i) {
        const std::string& folder = folders[below(static_cast<std::uint32_t>(folders.size()))];
        const std::string name = std::to_string(i).insert(0, 1, 'f').append(i % 3 ? ".dat" : "");
        tree.File(folder.empty() ? name : folder + "\\" + name, i % 10 ? below(1u << 20) : 0);
    }
    ASSERT_TRUE(tree.DirLink(folders[40] + "\\up", ""));
    ASSERT_TRUE(tree.DirLink(folders[90] + "\\sideways", folders[40]));

    scan::Win32Lister lister;
    WalkResult single;
    WalkTree(lister, tree.Root(), single, 4096, 1);
    ASSERT_TRUE(single.complete);
    ASSERT_EQ(single.root.deepDirs, 152u);
    ASSERT_EQ(single.root.deepFiles, 600u);
    for (const unsigned workers : {2u, 4u}) {
        SCOPED_TRACE(workers);
        WalkResult parallel;
        WalkTree(lister, tree.Root(), parallel, 4096, workers);
        EXPECT_TRUE(parallel.complete);
        EXPECT_TRUE(parallel.root == single.root);
        EXPECT_EQ(parallel.counters.filesFound.load(), single.counters.filesFound.load());
        EXPECT_EQ(parallel.counters.foldersFound.load(), single.counters.foldersFound.load());
        EXPECT_EQ(parallel.counters.bytesFound.load(), single.counters.bytesFound.load());
    }
}

TEST(Win32Walk, SearchPatternUsesTheLongForm) {
    EXPECT_EQ(scan::SearchPattern("C:"), L"\\\\?\\C:\\*.*");
    EXPECT_EQ(scan::SearchPattern("C:\\Data"), L"\\\\?\\C:\\Data\\*.*");
    EXPECT_EQ(scan::SearchPattern("C:/Data/x"), L"\\\\?\\C:\\Data\\x\\*.*");
    EXPECT_EQ(scan::SearchPattern("\\\\server\\share\\dir"), L"\\\\?\\UNC\\server\\share\\dir\\*.*");
    EXPECT_EQ(scan::SearchPattern("\\\\?\\C:\\x"), L"\\\\?\\C:\\x\\*.*");
    EXPECT_EQ(scan::SearchPattern("relative"), L"relative\\*.*");
    EXPECT_EQ(scan::SearchPattern("C:\\日本"), L"\\\\?\\C:\\\x65E5\x672C\\*.*");

    // A drive root lists under its short name.
    scan::Win32Lister lister;
    auto listing = lister.Open("C:");
    ASSERT_NE(listing, nullptr);
    scan::DirEntry entry;
    bool sawWindows = false;
    while (listing->Next(entry)) sawWindows |= entry.isDirectory && _stricmp(entry.name.c_str(), "windows") == 0;
    EXPECT_TRUE(sawWindows);
}
