// Naming trees scanned on POSIX systems: absolute normal paths, root names after the machine, backslashes
// inside names, and that the program's data file reader and path look-ups take such a tree.
#include "headless/PosixNames.h"

#include "model/DataFile.h"

#include <gtest/gtest.h>

using headless::AbsolutePosixPath;
using headless::PosixRootName;

namespace {

const std::string kStandIn(headless::kBackslashStandIn);

TEST(PosixNames, AbsolutePathsAreLexicallyNormal) {
    const std::tuple<const char*, const char*, const char*> cases[] = {
        {"/home/ann", "/srv/data", "/srv/data"},
        {"/home/ann", "/srv/data/", "/srv/data"},
        {"/home/ann", "//srv///data//", "/srv/data"},
        {"/home/ann", "/srv/./data/../www", "/srv/www"},
        {"/home/ann", "/", "/"},
        {"/home/ann", "/..", "/"},
        {"/home/ann", "/../srv", "/srv"},
        {"/home/ann", "photos", "/home/ann/photos"},
        {"/home/ann", ".", "/home/ann"},
        {"/home/ann", "./x/", "/home/ann/x"},
        {"/home/ann", "../../..", "/"},
        {"/", "srv", "/srv"},
        {"/home/ann", "..hidden/.git", "/home/ann/..hidden/.git"},
    };
    for (const auto& [current, path, expected] : cases)
        EXPECT_EQ(AbsolutePosixPath(current, path), expected) << current << " + " << path;
}

TEST(PosixNames, RootNamesCarryTheMachineAndBackslashes) {
    const std::tuple<const char*, std::string, std::string> cases[] = {
        {"srv01", "/srv/data", "srv01:\\srv\\data"},
        {"srv01", "/", "srv01:"},
        {"srv01", "/home", "srv01:\\home"},
        {"", "/srv", "localhost:\\srv"},
        {"web.example.org", "/var/www", "web.example.org:\\var\\www"},
        {"h", "/a\\b/c", "h:\\a" + kStandIn + "b\\c"},
    };
    for (const auto& [host, path, expected] : cases) EXPECT_EQ(PosixRootName(host, path), expected) << path;
}

TEST(PosixNames, BackslashesInNamesBecomeTheStandInBelowTheRootOnly) {
    model::DirInfo root("h:\\odd\\root");
    model::DirInfo& folder = root.subdirs.emplace_back("a\\b");
    folder.files.emplace_back("\\\\x\\", 1);
    folder.files.emplace_back("plain", 2);
    folder.subdirs.emplace_back("c").files.emplace_back("d\\e", 3);
    EXPECT_EQ(headless::ReplaceBackslashesInNames(root), 3u);
    EXPECT_EQ(root.name, "h:\\odd\\root");
    EXPECT_EQ(folder.name, "a" + kStandIn + "b");
    EXPECT_EQ(folder.files[0].name, kStandIn + kStandIn + "x" + kStandIn);
    EXPECT_EQ(folder.files[1].name, "plain");
    EXPECT_EQ(folder.subdirs[0].files[0].name, "d" + kStandIn + "e");
    // Found by the path the program composes from the names.
    const std::string path = root.name + "\\a" + kStandIn + "b\\c\\d" + kStandIn + "e";
    ASSERT_NE(model::FindFileByPath(root, path), nullptr);
    EXPECT_EQ(model::FindFileByPath(root, path)->size, 3u);
}

// A tree named as the Linux scanner names it goes through the data file and is found by path.
TEST(PosixNames, DataFileReaderAndLookUpsTakeMachineRoots) {
    for (const std::string rootName : {"srv01:\\srv\\data", "srv01:"}) {
        SCOPED_TRACE(rootName);
        model::DirInfo tree(rootName);
        tree.files.emplace_back("top.txt", 10);
        model::DirInfo& www = tree.subdirs.emplace_back("www");
        www.files.emplace_back("index.html", 500);
        www.subdirs.emplace_back("img").files.emplace_back("logo.png", 4096);
        std::string bytes;
        ASSERT_TRUE(model::EncodeDataFile(4096, tree, bytes));
        model::DirInfo read;
        std::uint32_t clusterSize = 0;
        ASSERT_EQ(model::DecodeDataFile(bytes, read, clusterSize), model::DecodeResult::kComplete);
        model::RecomputeTotals(read, clusterSize);
        EXPECT_EQ(read.name, rootName);
        EXPECT_EQ(read.deepSize, 4606u);
        EXPECT_EQ(read.deepAlloc, 3u * 4096);
        EXPECT_EQ(model::FindDirByPath(read, rootName + "\\"), &read);
        const model::DirInfo* img = model::FindDirByPath(read, rootName + "\\WWW\\img\\");
        ASSERT_NE(img, nullptr);
        EXPECT_EQ(img->name, "img");
        ASSERT_NE(model::FindFileByPath(read, rootName + "\\top.txt"), nullptr);
        ASSERT_NE(model::FindFileByPath(read, rootName + "\\www\\img\\logo.png"), nullptr);
        EXPECT_EQ(model::FindFileByPath(read, rootName + "\\www\\img\\logo.png")->size, 4096u);
        // Another machine's root of the same path is another tree.
        EXPECT_EQ(model::FindDirByPath(read, "srv02:\\srv\\data\\www\\"), nullptr);
        EXPECT_EQ(model::FindDirByPath(read, "\\srv\\data\\www\\"), nullptr);
    }
}

}  // namespace
