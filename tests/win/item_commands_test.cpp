// The commands on files and folders (ItemCommands) on real temporary trees under Wine: the Recycle Bin
// (Wine's is the desktop trash under $XDG_DATA_HOME, which the test's environment points into the build
// folder), deletes for good, a file held open, links, the refusals, Cancel, and Open, Properties and Copy
// Path through their seams. After every change the document's tree must equal a fresh scan of the disk.
#include "ScanTestTree.h"
#include "WindowTestSupport.h"

#include "frame/DiskDocument.h"
#include "frame/ItemCommands.h"
#include "frame/ShellItems.h"
#include "frame/StatusCells.h"
#include "fw/Utf8.h"
#include "resource.h"
#include "scan/ParallelWalk.h"
#include "scan/Win32Lister.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <iostream>
#include <string>
#include <vector>

namespace {

using scantest::Long;
using scantest::TempTree;

constexpr std::uint32_t kCluster = 4096;
const std::string kNihon = "\xE6\x97\xA5\xE6\x9C\xAC.txt";  // a file name outside ASCII

struct NoControl final : scan::WalkControl {
    bool StopRequested() const override { return false; }
    void PausePoint() override {}
};

// A scan of `path` (no trailing backslash) as the program's walk makes it.
model::DirInfo Scan(const std::string& path) {
    scan::Win32Lister lister;
    scan::ScanCounters counters;
    NoControl control;
    model::DirInfo root(path);
    EXPECT_TRUE(scan::WalkTree(lister, kCluster, counters, control, 1, root, path)) << path;
    model::RecomputeTotals(root, kCluster);
    return root;
}

// Every record with its figures, one line each, sorted: listing order is the disk's business.
std::vector<std::string> Lines(const model::DirInfo& root) {
    std::vector<std::string> lines;
    std::vector<std::pair<const model::DirInfo*, std::string>> stack{{&root, ""}};
    while (!stack.empty()) {
        const auto [folder, path] = stack.back();
        stack.pop_back();
        lines.push_back(path + "\\ files " + std::to_string(folder->deepFiles) + " dirs " +
                        std::to_string(folder->deepDirs) + " size " + std::to_string(folder->deepSize) + " alloc " +
                        std::to_string(folder->deepAlloc) + " local " + std::to_string(folder->localSize) + "/" +
                        std::to_string(folder->localAlloc));
        for (const model::FileInfo& file : folder->files)
            lines.push_back(path + "\\" + std::string(file.name) + " " + std::to_string(file.size));
        for (const model::DirInfo& sub : folder->subdirs) stack.push_back({&sub, path + "\\" + std::string(sub.name)});
    }
    std::sort(lines.begin(), lines.end());
    return lines;
}

bool Exists(const std::string& path) { return GetFileAttributesW(Long(path).c_str()) != INVALID_FILE_ATTRIBUTES; }

// Wine's trash: $XDG_DATA_HOME/Trash/files, seen through drive Z:.
std::string TrashFiles() {
    wchar_t home[1024] = {};
    if (!GetEnvironmentVariableW(L"XDG_DATA_HOME", home, 1024)) return {};
    std::string path = "Z:" + fw::WideToUtf8(home) + "/Trash/files";
    std::replace(path.begin(), path.end(), '/', '\\');
    return path;
}

class ItemCommandsTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(trash.empty()) << "the test's environment sets XDG_DATA_HOME (tests/win/CMakeLists.txt)";
        // Only the test's own trash is emptied, never a person's.
        ASSERT_NE(trash.find("item-commands-trash"), std::string::npos) << trash;
        // The whole trash goes, its records too: an old record would give a new item another name there.
        const std::string data = trash.substr(0, trash.rfind("\\Trash\\"));
        scantest::RemoveTree(Long(data + "\\Trash"));
        // Wine's shell ends the process when the data folder above its trash is missing: made here.
        CreateDirectoryW(Long(data).c_str(), nullptr);
        tree.Dir("Videos");
        tree.Dir("Videos\\2019");
        tree.Dir("Videos\\2019\\sub");
        tree.File("Videos\\2019\\a.mp4", 3000000);
        tree.File("Videos\\2019\\b.mp4", 2000000);
        tree.File("Videos\\2019\\sub\\c.mp4", 100000);
        tree.File("Videos\\keep.txt", 5000);
        tree.File("notes.txt", 1234);
        tree.File(kNihon, 777);
        tree.Dir("Locked");
        tree.Dir("Locked\\deep");
        tree.File("Locked\\held.bin", 4000);
        tree.File("Locked\\free.bin", 5000);
        tree.File("Locked\\deep\\x.bin", 10);
        tree.Dir("Target");
        tree.File("Target\\inside.txt", 50);
    }

    std::string At(const std::string& relative) const { return tree.Path(relative); }
    std::string Root() const { return tree.Root() + "\\"; }
    void Load() { document.AdoptTree(Scan(tree.Root()), kCluster, true); }
    // The tree and the status rows of its root are those of a fresh scan.
    void ExpectFreshScan(const char* when) {
        const model::DirInfo fresh = Scan(tree.Root());
        EXPECT_EQ(Lines(document.Root()), Lines(fresh)) << when;
        EXPECT_EQ(frame::FolderCells(frame::StatusRow::Deep, Root(), document.Root(), kCluster),
                  frame::FolderCells(frame::StatusRow::Deep, Root(), fresh, kCluster))
            << when;
    }
    void Rescan(const std::string& folder) {
        rescans.push_back(folder);
        ASSERT_TRUE(document.ReplaceFolder(folder, Scan(folder.substr(0, folder.size() - 1)), kCluster)) << folder;
    }
    bool InTrash(const std::string& relative) const { return Exists(trash + "\\" + relative); }

    struct Box {
        std::string caption, text;
        UINT flags;
    };

    TempTree tree;
    std::string trash = TrashFiles();
    frame::DiskDocument document{"C:", CM_RECENT_ROOT_FIRST};
    bool scanning = false;
    std::vector<Box> boxes;
    std::deque<int> answers;  // of the boxes in turn; none left: IDNO
    std::vector<std::string> rescans, opened, sheets, deletes;
    unsigned long seamError = 0;
    bool recordDeletes = false;  // the delete seam records instead of the system acting
    fw::Interaction ui{[this](HWND, const std::string& text, const std::string& caption, UINT flags) {
                           boxes.push_back({caption, text, flags});
                           if (answers.empty()) return IDNO;
                           const int answer = answers.front();
                           answers.pop_front();
                           return answer;
                       },
                       {},
                       {},
                       [this](HWND, const std::string& path) {
                           opened.push_back(path);
                           return seamError;
                       },
                       [this](HWND, const std::string& path) {
                           sheets.push_back(path);
                           return seamError;
                       },
                       [this](HWND owner, const std::string& path, bool recycle) -> unsigned long {
                           deletes.push_back((recycle ? "recycle " : "remove ") + path);
                           return recordDeletes ? 0 : frame::SystemDeleteItem(owner, path, recycle);
                       }};
    frame::ItemCommands items{document,
                              ui,
                              {[this] { return scanning; }, [this](const std::string& folder) { Rescan(folder); }}};
};

TEST_F(ItemCommandsTest, DeleteMovesFilesAndFoldersToTheRecycleBinAndTheTreeShrinksInPlace) {
    Load();
    document.NavigateTo(At("Videos\\2019\\sub\\"));
    answers = {IDYES, IDYES, IDYES};
    items.Run(nullptr, CM_DELETE, {At("notes.txt")});
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].caption, "Delete");
    EXPECT_EQ(boxes[0].text, "Move '" + At("notes.txt") + "' to the Recycle Bin? 1.2 KB.");
    EXPECT_EQ(boxes[0].flags & (MB_YESNO | MB_DEFBUTTON2), static_cast<UINT>(MB_YESNO)) << "Yes is the default";
    EXPECT_FALSE(Exists(At("notes.txt")));
    EXPECT_TRUE(InTrash("notes.txt")) << trash;
    ExpectFreshScan("after a file went to the Recycle Bin");

    items.Run(nullptr, CM_DELETE, {At("Videos\\2019\\")});
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[1].text, "Move '" + At("Videos\\2019\\") + "' to the Recycle Bin? 4.9 MB in 3 files and 1 folder.");
    EXPECT_FALSE(Exists(At("Videos\\2019")));
    EXPECT_TRUE(InTrash("2019\\sub\\c.mp4")) << "the folder goes whole";
    ExpectFreshScan("after a folder went to the Recycle Bin");
    EXPECT_EQ(document.CurrentPath(), At("Videos\\")) << "the view leaves the folder that went";
    EXPECT_FALSE(document.GetHistory().BackEmpty()) << "the history stays";

    items.Run(nullptr, CM_DELETE, {At(kNihon)});
    EXPECT_TRUE(InTrash(kNihon)) << "a name outside ASCII reaches the system whole";
    ExpectFreshScan("after the third delete");
    EXPECT_EQ(boxes.size(), 3u) << "nothing reported";
    EXPECT_TRUE(rescans.empty()) << "gone items leave the tree without a rescan";
}

TEST_F(ItemCommandsTest, DeletePermanentlyRemovesForGoodAndAsksWithNoAsTheDefault) {
    Load();
    answers = {IDYES, IDYES};
    items.Run(nullptr, CM_DELETE_PERMANENTLY, {At("Videos\\")});
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].caption, "Delete Permanently");
    EXPECT_EQ(boxes[0].text,
              "Delete '" + At("Videos\\") + "' permanently? 4.9 MB in 4 files and 2 folders. This cannot be undone.");
    EXPECT_EQ(boxes[0].flags & (MB_YESNO | MB_DEFBUTTON2), static_cast<UINT>(MB_YESNO | MB_DEFBUTTON2));
    EXPECT_FALSE(Exists(At("Videos")));
    EXPECT_FALSE(InTrash("Videos"));
    items.Run(nullptr, CM_DELETE_PERMANENTLY, {At("notes.txt")});
    EXPECT_FALSE(Exists(At("notes.txt")));
    EXPECT_FALSE(InTrash("notes.txt"));
    ExpectFreshScan("after deletes for good");
    EXPECT_EQ(deletes, (std::vector<std::string>{"remove " + At("Videos\\"), "remove " + At("notes.txt")}));
}

TEST_F(ItemCommandsTest, AnythingButYesChangesNothing) {
    Load();
    const model::DirInfo before = document.Root();
    for (int answer : {IDNO, IDCANCEL, 0}) {
        for (unsigned command : {CM_DELETE, CM_DELETE_PERMANENTLY}) {
            answers = {answer};
            items.Run(nullptr, command, {At("Videos\\"), At("notes.txt")});
        }
    }
    EXPECT_EQ(boxes.size(), 6u);
    EXPECT_TRUE(deletes.empty()) << "the system was never asked";
    EXPECT_TRUE(Exists(At("Videos\\2019\\a.mp4")) && Exists(At("notes.txt")));
    EXPECT_EQ(document.Root(), before);
    // Several items are asked for at once, counted together.
    EXPECT_EQ(boxes[0].text.substr(0, boxes[0].text.find('\n')),
              "Move these 2 items to the Recycle Bin? 4.9 MB in 5 files and 3 folders.");
}

TEST_F(ItemCommandsTest, TheDiskNotTheAnswerOfTheCallDecides) {
    Load();
    // The system says it deleted, and nothing went: the record stays and the user hears so.
    recordDeletes = true;
    answers = {IDYES};
    items.Run(nullptr, CM_DELETE, {At("notes.txt")});
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[1].text, "These could not be removed:\n\n" + At("notes.txt") + ": It is still there.");
    EXPECT_NE(model::FindFileByPath(document.Root(), At("notes.txt")), nullptr);
    ExpectFreshScan("after a delete that did nothing");
}

TEST_F(ItemCommandsTest, AFileHeldOpenLeavesAPartialDeleteThatIsReportedAndRescanned) {
    Load();
    HANDLE held = CreateFileW(Long(At("Locked\\held.bin")).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    answers = {IDYES, IDOK};
    items.Run(nullptr, CM_DELETE_PERMANENTLY, {At("Locked\\")});
    EXPECT_TRUE(Exists(At("Locked\\held.bin")));
    EXPECT_FALSE(Exists(At("Locked\\free.bin")));
    EXPECT_FALSE(Exists(At("Locked\\deep")));
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[1].caption, "Kelvaran");
    EXPECT_EQ(boxes[1].text, "These could not be removed:\n\n" + At("Locked\\held.bin") + ": " +
                                 frame::SystemErrorText(ERROR_SHARING_VIOLATION));
    EXPECT_EQ(rescans, (std::vector<std::string>{At("Locked\\")}));
    ExpectFreshScan("after a partial delete");

    // To the Recycle Bin the shell may move the folder whole or leave it: either way the tree is the disk's.
    tree.File("Locked\\again.bin", 300);
    document.AdoptTree(Scan(tree.Root()), kCluster, true);
    answers = {IDYES, IDOK};
    items.Run(nullptr, CM_DELETE, {At("Locked\\")});
    std::cout << "note: the Recycle Bin " << (Exists(At("Locked")) ? "left" : "took")
              << " the folder of a file held open\n";
    EXPECT_EQ(Exists(At("Locked")), !InTrash("Locked"));
    CloseHandle(held);
    ExpectFreshScan("after a delete to the Recycle Bin with a file held open");
}

TEST_F(ItemCommandsTest, LinksAreRemovedAsLinksAndTheirTargetsStay) {
    if (!tree.DirLink("Link", "Target")) GTEST_SKIP() << "no folder link could be made here";
    tree.Dir("Holder");
    tree.File("Holder\\h.txt", 10);
    tree.Dir("Target2");
    tree.File("Target2\\kept.txt", 60);
    ASSERT_TRUE(tree.DirLink("Holder\\L", "Target2"));
    tree.Dir("Carrier");
    tree.Dir("Target3");
    tree.File("Target3\\kept.txt", 70);
    ASSERT_TRUE(tree.DirLink("Carrier\\L", "Target3"));
    Load();
    // The tree shows a link as an empty folder.
    const model::DirInfo* link = model::FindDirByPath(document.Root(), At("Link\\"));
    ASSERT_NE(link, nullptr);
    EXPECT_EQ(link->deepFiles, 0u);

    for (unsigned command : {CM_DELETE, CM_DELETE_PERMANENTLY}) {
        if (!Exists(At("Link"))) break;  // gone at the first try, as where links can be removed
        answers = {IDYES, IDOK};
        boxes.clear();
        items.Run(nullptr, command, {At("Link\\")});
        EXPECT_TRUE(Exists(At("Target\\inside.txt"))) << command;
        if (Exists(At("Link"))) {
            // Wine cannot remove the host's links it lists as reparse points: that is said, and nothing else.
            ASSERT_EQ(boxes.size(), 2u) << command;
            EXPECT_EQ(boxes[1].text.rfind("These could not be removed:\n\n" + At("Link") + ": ", 0), 0u)
                << boxes[1].text;
            std::cout << "note: the link stayed (" << boxes[1].text.substr(boxes[1].text.rfind(": ") + 2) << ")\n";
        }
        EXPECT_TRUE(rescans.empty()) << "a link that stayed is not rescanned: that would walk its target";
        ExpectFreshScan("after deleting a link");
    }
    EXPECT_FALSE(InTrash("Link")) << "a link is removed, never moved with what it names";

    answers = {IDYES, IDOK};
    items.Run(nullptr, CM_DELETE_PERMANENTLY, {At("Holder\\")});
    EXPECT_TRUE(Exists(At("Target2\\kept.txt"))) << "a link inside a folder removed for good is not followed";
    EXPECT_FALSE(Exists(At("Holder\\h.txt")));
    ExpectFreshScan("after removing a folder holding a link");

    answers = {IDYES, IDOK};
    items.Run(nullptr, CM_DELETE, {At("Carrier\\")});
    EXPECT_TRUE(Exists(At("Target3\\kept.txt"))) << "a link inside a recycled folder is not followed";
    ExpectFreshScan("after recycling a folder holding a link");
}

TEST_F(ItemCommandsTest, TheRootADriveAForeignTreeAndARunningScanAreRefusedWithTheirMessages) {
    Load();
    const std::string refusal = "Kelvaran: ";
    auto lastBox = [&] { return boxes.empty() ? std::string() : boxes.back().caption + ": " + boxes.back().text; };
    items.Run(nullptr, CM_DELETE, {Root()});
    EXPECT_EQ(lastBox(), refusal + "'" + Root() + "' is the root of the scanned tree: Kelvaran does not delete it.");
    scanning = true;
    items.Run(nullptr, CM_DELETE_PERMANENTLY, {At("notes.txt")});
    EXPECT_EQ(lastBox(), refusal + "Nothing can be deleted while a scan runs.");
    scanning = false;

    document.AdoptTree(model::DirInfo("C:"), kCluster, true);
    items.Run(nullptr, CM_DELETE_PERMANENTLY, {"C:\\"});
    EXPECT_EQ(lastBox(), refusal + "'C:\\' is the root of a drive: Kelvaran does not delete it.");
    EXPECT_TRUE(Exists("C:\\windows"));

    // A tree read from a data file made elsewhere: its root is not here. Nothing is opened or deleted.
    ASSERT_TRUE(
        document.Import("Z:\\elsewhere.klv", [](const std::string&, model::DirInfo& read, std::uint32_t& clusters) {
            read = model::DirInfo("Q:\\Elsewhere");
            read.subdirs.emplace_back("Old").files.emplace_back("x.bin", 5);
            clusters = kCluster;
            return true;
        }));
    for (unsigned command : {CM_DELETE, CM_OPEN_ITEM, CM_PROPERTIES}) {
        items.Run(nullptr, command, {"Q:\\Elsewhere\\Old\\"});
        EXPECT_EQ(lastBox(), refusal +
                                 "'Q:\\Elsewhere\\Old\\' belongs to a tree read from a data file, and its root "
                                 "'Q:\\Elsewhere\\' is not on this computer.")
            << command;
    }
    // A data file's tree of this computer: acted on where the item is here, said so where it is not.
    model::DirInfo here = Scan(tree.Root());
    ASSERT_TRUE(document.Import("Z:\\here.klv", [&](const std::string&, model::DirInfo& read, std::uint32_t& clusters) {
        read = here;
        clusters = kCluster;
        return true;
    }));
    scantest::RemoveTree(Long(At("Videos\\2019")));
    items.Run(nullptr, CM_DELETE, {At("Videos\\2019\\")});
    EXPECT_EQ(lastBox(),
              refusal + "'" + At("Videos\\2019\\") + "' is not on this computer. Rescan '" + At("Videos\\") + "'?");
    EXPECT_EQ(boxes.back().flags & MB_YESNO, static_cast<UINT>(MB_YESNO));
    EXPECT_TRUE(rescans.empty()) << "No was answered";
    EXPECT_TRUE(deletes.empty() && opened.empty() && sheets.empty());

    // A live tree whose file went since the scan: said so, and Yes rescans its folder.
    Load();
    DeleteFileW(Long(At("notes.txt")).c_str());
    answers = {IDYES};
    items.Run(nullptr, CM_DELETE, {At("notes.txt")});
    EXPECT_EQ(lastBox(), refusal + "'" + At("notes.txt") + "' is no longer there. Rescan '" + Root() + "'?");
    EXPECT_EQ(rescans, (std::vector<std::string>{Root()}));
    EXPECT_TRUE(deletes.empty());
    ExpectFreshScan("after the offered rescan");
}

TEST_F(ItemCommandsTest, OpenPropertiesAndCopyPathGoThroughTheSystemsSeams) {
    Load();
    items.Run(nullptr, CM_OPEN_ITEM, {At(kNihon)});
    items.Run(nullptr, CM_OPEN_ITEM, {At("Videos\\")});
    items.Run(nullptr, CM_PROPERTIES, {At("Videos\\2019\\a.mp4")});
    EXPECT_EQ(opened, (std::vector<std::string>{At(kNihon), At("Videos\\")}));
    EXPECT_EQ(sheets, (std::vector<std::string>{At("Videos\\2019\\a.mp4")}));
    EXPECT_TRUE(boxes.empty());

    seamError = ERROR_NO_ASSOCIATION;
    items.Run(nullptr, CM_OPEN_ITEM, {At("notes.txt")});
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text,
              "Could not open '" + At("notes.txt") + "': " + frame::SystemErrorText(ERROR_NO_ASSOCIATION));

    test_support::HostWindow owner(10, 10);
    owner.Create();
    items.Run(owner.GetHandle(), CM_COPY_PATH, {At(kNihon)});
    EXPECT_EQ(test_support::ReadClipboard(owner.GetHandle()).unicode, fw::Utf8ToWide(At(kNihon)));
    EXPECT_TRUE(deletes.empty());
}

}  // namespace
