#include "model/AsciiCase.h"
#include "model/DirInfo.h"

#include <gtest/gtest.h>

using model::DirInfo;
using model::FindDir;
using model::SplitPath;

namespace {

using Parts = std::vector<std::string>;

TEST(SplitPath, TakesOnlyComponentsFollowedByABackslash) {
    EXPECT_EQ(SplitPath("", 0), Parts{});
    EXPECT_EQ(SplitPath("Data", 0), Parts{});
    EXPECT_EQ(SplitPath("Data\\Photos\\", 0), (Parts{"Data", "Photos"}));
    EXPECT_EQ(SplitPath("Data\\Photos", 0), (Parts{"Data"}));
    EXPECT_EQ(SplitPath("a\\\\b\\", 0), (Parts{"a", "", "b"}));
    EXPECT_EQ(SplitPath("\\", 0), (Parts{""}));
}

TEST(SplitPath, RootLengthMakesTheFirstComponent) {
    EXPECT_EQ(SplitPath("C:\\Data\\", 2), (Parts{"C:", "Data"}));
    EXPECT_EQ(SplitPath("C:\\", 2), (Parts{"C:"}));
    EXPECT_EQ(SplitPath("C:", 2), Parts{});
    EXPECT_EQ(SplitPath("C:\\Data\\x\\y", 7), (Parts{"C:\\Data", "x"}));
}

DirInfo Tree() {
    DirInfo root("C:");
    root.files = {{"boot.ini", 10}, {"BOOT.INI", 20}};
    DirInfo& data = root.subdirs.emplace_back("Data");
    data.subdirs.emplace_back("Photos").files = {{"Img.JPG", 5}};
    root.subdirs.emplace_back("data").subdirs.emplace_back("Other");
    root.subdirs.emplace_back("Caf\xC3\xA9");
    return root;
}

TEST(FindDir, MatchesIgnoringAsciiCaseAndTakesTheFirstSibling) {
    DirInfo root = Tree();
    const DirInfo* photos = FindDir(root, "data\\PHOTOS\\");
    ASSERT_NE(photos, nullptr);
    EXPECT_EQ(photos, &root.subdirs[0].subdirs[0]);
    // "data" exists as a second sibling, but "Data" comes first and has no "Other".
    EXPECT_EQ(FindDir(root, "DATA\\"), &root.subdirs[0]);
    EXPECT_EQ(FindDir(root, "data\\Other\\"), nullptr);
    // Only ASCII letters fold: the UTF-8 bytes of é must match exactly.
    EXPECT_EQ(FindDir(root, "CAF\xC3\xA9\\"), &root.subdirs[2]);
    EXPECT_EQ(FindDir(root, "CAF\xC3\x89\\"), nullptr);
}

TEST(FindDir, IgnoresTheLastComponentWithoutBackslash) {
    DirInfo root = Tree();
    EXPECT_EQ(FindDir(root, "Data\\Photos"), &root.subdirs[0]);
    EXPECT_EQ(FindDir(root, ""), &root);
    EXPECT_EQ(FindDir(root, "Photos"), &root);
    EXPECT_EQ(FindDir(root, "Missing\\"), nullptr);
    EXPECT_EQ(FindDir(root, "Data\\Missing\\"), nullptr);
}

TEST(FindByPath, StripsTheRootNameAndItsBackslash) {
    DirInfo root = Tree();
    const DirInfo& constRoot = root;
    EXPECT_EQ(model::FindDirByPath(root, "C:\\"), &root);
    EXPECT_EQ(model::FindDirByPath(constRoot, "c:\\data\\photos\\"), &root.subdirs[0].subdirs[0]);
    EXPECT_EQ(model::FindDirByPath(root, "D:\\Data\\"), nullptr);
    EXPECT_EQ(model::FindDirByPath(root, "C:"), nullptr);

    const model::FileInfo* boot = model::FindFileByPath(root, "C:\\Boot.Ini");
    ASSERT_NE(boot, nullptr);
    EXPECT_EQ(boot->size, 10u);  // first of the two names that differ only in case
    const model::FileInfo* img = model::FindFileByPath(root, "C:\\Data\\Photos\\img.jpg");
    ASSERT_NE(img, nullptr);
    EXPECT_EQ(img->size, 5u);
    EXPECT_EQ(model::FindFileByPath(root, "C:\\Data\\Photos\\other.jpg"), nullptr);
    EXPECT_EQ(model::FindFileByPath(root, "C:\\Nowhere\\img.jpg"), nullptr);
    EXPECT_EQ(model::FindFileByPath(root, "C:\\Data\\Photos\\"), nullptr);
}

TEST(FindByPath, RootNamesThatAreFolders) {
    DirInfo root("C:\\Users\\Me");
    root.subdirs.emplace_back("Docs").files = {{"a.txt", 3}};
    EXPECT_EQ(model::FindDirByPath(root, "C:\\Users\\Me\\"), &root);
    EXPECT_EQ(model::FindDirByPath(root, "C:\\Users\\Me\\docs\\"), &root.subdirs[0]);
    EXPECT_EQ(model::FindDirByPath(root, "C:\\Users\\Mex\\Docs\\"), nullptr);
    ASSERT_NE(model::FindFileByPath(root, "C:\\Users\\Me\\Docs\\A.TXT"), nullptr);
}

}  // namespace

TEST(EqualIgnoringAsciiCase, FoldsAsciiLettersOnly) {
    EXPECT_TRUE(model::EqualIgnoringAsciiCase("C:\\Data", "c:\\dATA"));
    EXPECT_FALSE(model::EqualIgnoringAsciiCase("C:\\Data", "C:\\Data\\"));
    EXPECT_FALSE(model::EqualIgnoringAsciiCase("\xC3\x84", "\xC3\xA4")) << "non-ASCII letters are not folded";
    EXPECT_FALSE(model::EqualIgnoringAsciiCase("[", "{")) << "only letters differ by 0x20";
}
