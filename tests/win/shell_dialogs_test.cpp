// The shell's side of Any Folder: the path of a chosen folder is taken whole however long it is, and a
// choice whose path cannot be had is said so rather than ignored.
#include "frame/ShellDialogs.h"

#include "ScanTestTree.h"
#include "fw/Interaction.h"

#include <gtest/gtest.h>

#include <shlobj.h>

#include <memory>
#include <string>
#include <vector>

namespace {

struct IdListFree {
    void operator()(ITEMIDLIST* list) const { CoTaskMemFree(list); }
};
using IdList = std::unique_ptr<ITEMIDLIST, IdListFree>;

IdList ParsePath(const std::string& utf8) {
    PIDLIST_ABSOLUTE list = nullptr;
    const HRESULT result = SHParseDisplayName(fw::Utf8ToWide(utf8).c_str(), nullptr, &list, 0, nullptr);
    return IdList(SUCCEEDED(result) ? list : nullptr);
}

IdList MyComputer() {
    PIDLIST_ABSOLUTE list = nullptr;
    return IdList(SHGetSpecialFolderLocation(nullptr, CSIDL_DRIVES, &list) == S_OK ? list : nullptr);
}

// The system's answer for a folder with a long path, as it gives it: whole when the buffer has room for
// it and its terminating zero, nothing otherwise. (Wine's shell cannot name such a folder itself.)
std::wstring g_longPath;
BOOL WINAPI LongPathReader(PCIDLIST_ABSOLUTE, PWSTR path, DWORD size, GPFIDL_FLAGS) {
    if (g_longPath.size() + 1 > size) return FALSE;
    g_longPath.copy(path, g_longPath.size());
    path[g_longPath.size()] = L'\0';
    return TRUE;
}

class AnyFolder : public testing::Test {
protected:
    void SetUp() override { CoInitialize(nullptr); }
    void TearDown() override { CoUninitialize(); }
    std::vector<std::string> boxes;
    const fw::Interaction ui{[this](HWND, const std::string& text, const std::string& caption, UINT) {
        boxes.push_back(caption + ": " + text);
        return IDOK;
    }};
};

TEST_F(AnyFolder, AChosenFolderGivesItsPathWithoutTheTrailingBackslash) {
    scantest::TempTree tree;
    const std::string name = "\xE6\x97\xA5\xE6\x9C\xAC, r\xC3\xA9sum\xC3\xA9";  // outside ASCII, a comma
    tree.Dir(name);
    const IdList list = ParsePath(tree.Path(name));
    ASSERT_TRUE(list);
    EXPECT_EQ(frame::PathOfIdList(list.get()), tree.Path(name));
    EXPECT_EQ(frame::TakeChosenFolder(nullptr, list.get(), ui), tree.Path(name));
    const IdList drive = ParsePath("C:\\");
    ASSERT_TRUE(drive);
    EXPECT_EQ(frame::TakeChosenFolder(nullptr, drive.get(), ui), "C:");
    EXPECT_TRUE(boxes.empty());
}

TEST_F(AnyFolder, APathPastTheOldLimitIsTakenWhole) {
    const IdList list = MyComputer();  // any item: the reader stands in for the shell
    ASSERT_TRUE(list);
    for (std::size_t length : {259u, 260u, 261u, 400u, 32000u}) {
        g_longPath = L"D:\\" + std::wstring(length - 4, L'\u65E5') + L"\\";
        const std::optional<std::string> folder = frame::TakeChosenFolder(nullptr, list.get(), ui, &LongPathReader);
        ASSERT_TRUE(folder) << length;
        EXPECT_EQ(fw::Utf8ToWide(*folder), g_longPath.substr(0, length - 1)) << length;
    }
    EXPECT_TRUE(boxes.empty());
}

TEST_F(AnyFolder, AChoiceWithoutAPathIsSaidSo) {
    const IdList computer = MyComputer();
    ASSERT_TRUE(computer);
    EXPECT_EQ(frame::PathOfIdList(computer.get()), std::nullopt);
    EXPECT_EQ(frame::TakeChosenFolder(nullptr, computer.get(), ui), std::nullopt);
    g_longPath = std::wstring(40000, L'x');  // longer than any buffer
    EXPECT_EQ(frame::TakeChosenFolder(nullptr, computer.get(), ui, &LongPathReader), std::nullopt);
    EXPECT_EQ(boxes, std::vector<std::string>(2, "Kelvaran: The path of the chosen folder could not be read."));
}

}  // namespace
