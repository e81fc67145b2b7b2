// The decisions around acting on a file or folder of the live tree (open it, show its properties, delete
// it): the refusals that keep users' data safe, the confirmation that comes before every delete, what the
// tree does once the disk has been looked at after one, and the report of what could not be removed.
// Pure; ItemCommands (Win32) gathers the facts from the disk, asks, acts and shows the texts.
//
//   const ItemCheck check = CheckItem(ItemAction::kDelete, facts);   // facts: the tree's and the disk's
//   if (check.verdict != ItemVerdict::kAllowed) ...tell check.message, offer check.rescanFolder when set
//   const Confirmation ask = DeleteConfirmation(targets, permanent); ...IDYES, else nothing happens
//   ...delete, look at the disk: AfterDelete(isFolder, kindNow) says what the tree does
#pragma once

#include "frame/CommandLine.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace frame {

enum class ItemAction { kOpen, kProperties, kDelete };

// What is known of an item when a command is about to act on it: the tree's side, and the disk's as
// looked at just now.
struct ItemFacts {
    std::string path;      // the item's full path; a folder's ends in a backslash
    std::string rootName;  // the tree's root record ("C:", "C:\Data")
    bool scanRunning = false;
    bool fromDataFile = false;                // the tree was read from a data file, maybe from elsewhere
    PathKind rootOnDisk = PathKind::kFolder;  // what the root's path names on this computer
    PathKind itemOnDisk = PathKind::kMissing;
    PathKind folderOnDisk = PathKind::kFolder;  // the folder that holds the item
    bool volumeRoot = false;                    // the system names the item the root of a volume
};

enum class ItemVerdict {
    kAllowed,
    kScanRunning,  // delete only: the tree is about to be replaced
    kDriveRoot,    // delete only
    kScanRoot,     // delete only: the whole tree
    kForeignTree,  // a tree from a data file whose root is not on this computer
    kMissing,      // the item is not on the disk (any more)
    kChanged,      // a folder in the tree is a file on the disk, or the other way round
};

struct ItemCheck {
    ItemVerdict verdict = ItemVerdict::kAllowed;
    std::string message;                      // what the user is told instead; empty when allowed
    std::optional<std::string> rescanFolder;  // offered with the message: the item's folder
};

// Rules in this order: a scan runs, a drive root, the scan's root (these three for deletes only), a tree
// read from a data file whose root is not here, the item missing or of another kind on the disk.
ItemCheck CheckItem(ItemAction action, const ItemFacts& facts);

// "C:\" or "\\server\share\": the root of a drive by its text alone.
bool IsDriveRootPath(std::string_view path) noexcept;
// Whether a delete of `path` can be offered at all, from what is known without the disk: it is no drive
// root, not the tree's root and no scan runs. The Commands menu and the tool bar enable by it.
bool DeleteOffered(std::string_view path, std::string_view rootName, bool scanRunning) noexcept;

// The folder holding an item ("C:\Data\" for "C:\Data\x.bin" and for "C:\Data\Old\"); "" for a root.
std::string FolderOfPath(std::string_view itemPath);

// The selection without repeats and without items that lie inside another selected folder (they go with
// it, and their sizes must not count twice); order kept, letter case ignored.
std::vector<std::string> OutermostItems(const std::vector<std::string>& paths);

// One item to delete with what the tree knows of it: a folder's deep size and counts below it, a file's
// own size.
struct DeleteTarget {
    std::string path;
    bool folder = false;
    std::uint64_t size = 0;
    std::uint64_t files = 0;    // a folder's deepFiles; 1 for a file
    std::uint64_t folders = 0;  // a folder's deepDirs (below it); 0 for a file
};

struct Confirmation {
    std::string text;
    std::string caption;
    bool defaultNo = false;  // a permanent delete answers No to a plain Enter
};

// "Move 'D:\Videos\2019\' to the Recycle Bin? 41.3 GB in 1,204 files and 36 folders." and, for good,
// "Delete '...' permanently? ... This cannot be undone."; several items are counted together and listed.
Confirmation DeleteConfirmation(const std::vector<DeleteTarget>& targets, bool permanent);

// What the tree does once the disk has been looked at after a delete of an item that was a folder or not,
// and a link or not (a link the tree shows as an empty folder, or as a file).
enum class AfterDelete {
    kRemoveRecord,  // gone: the record goes and its ancestors' totals shrink in place
    kRescanItem,    // a folder partly there: rescan it so the tree shows what is left
    kKeepRecord,    // the file or the link is still there: nothing changed
    kRescanFolder,  // something of the other kind is there now: rescan the folder holding it
};
AfterDelete DecideAfterDelete(bool wasFolder, bool wasLink, PathKind now) noexcept;

// Something the delete left behind and the system's reason.
struct RemovalFailure {
    std::string path;
    std::string error;
};

// The report after a delete that left something: one line per item given, "and N more." for those left
// out.
std::string FailureReport(const std::vector<RemovalFailure>& failures, std::size_t more);

}  // namespace frame
