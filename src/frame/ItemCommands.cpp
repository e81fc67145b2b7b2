#include "frame/ItemCommands.h"

#include "frame/ShellItems.h"
#include "fw/Clipboard.h"
#include "resource.h"

#include <utility>

namespace frame {
namespace {

constexpr std::size_t kReportedItems = 20;

bool IsFolderPath(const std::string& path) { return !path.empty() && path.back() == '\\'; }

}  // namespace

ItemCommands::ItemCommands(DiskDocument& document, fw::Interaction ui, Host host)
    : document_(document), ui_(std::move(ui)), host_(std::move(host)) {}

bool ItemCommands::Knows(unsigned command) noexcept {
    switch (command) {
    case CM_OPEN_ITEM:
    case CM_PROPERTIES:
    case CM_DELETE:
    case CM_DELETE_PERMANENTLY:
    case CM_COPY_PATH: return true;
    default: return false;
    }
}

bool ItemCommands::Offered(unsigned command, const std::optional<std::string>& path) const {
    if (!path || !Knows(command)) return false;
    if (command == CM_DELETE || command == CM_DELETE_PERMANENTLY)
        return DeleteOffered(*path, document_.Root().name, ScanRunning());
    return true;
}

void ItemCommands::Run(HWND owner, unsigned command, const std::vector<std::string>& paths) {
    switch (command) {
    case CM_OPEN_ITEM: Open(owner, paths, false); break;
    case CM_PROPERTIES: Open(owner, paths, true); break;
    case CM_DELETE: Delete(owner, paths, false); break;
    case CM_DELETE_PERMANENTLY: Delete(owner, paths, true); break;
    case CM_COPY_PATH: CopyPaths(owner, paths); break;
    default: break;
    }
}

bool ItemCommands::Allowed(HWND owner, ItemAction action, const std::string& path) {
    ItemFacts facts;
    facts.path = path;
    facts.rootName = document_.Root().name;
    facts.scanRunning = ScanRunning();
    facts.fromDataFile = document_.FromDataFile();
    if (facts.fromDataFile) facts.rootOnDisk = KindOnDisk(document_.RootPath());
    const DiskLook look = LookAtDisk(path);
    facts.itemOnDisk = look.kind;
    facts.volumeRoot = look.volumeRoot;
    const std::string holder = FolderOfPath(path);
    facts.folderOnDisk = holder.empty() ? PathKind::kMissing : KindOnDisk(holder);
    const ItemCheck check = CheckItem(action, facts);
    if (check.verdict == ItemVerdict::kAllowed) return true;
    if (check.rescanFolder) {
        if (ui_.ShowMessage(owner, check.message, "Kelvaran", MB_YESNO | MB_ICONEXCLAMATION) == IDYES && host_.rescan)
            host_.rescan(*check.rescanFolder);
    } else {
        ui_.ShowMessage(owner, check.message, "Kelvaran", MB_OK | MB_ICONEXCLAMATION);
    }
    return false;
}

void ItemCommands::Open(HWND owner, const std::vector<std::string>& paths, bool properties) {
    for (const std::string& path : OutermostItems(paths)) {
        if (!Allowed(owner, properties ? ItemAction::kProperties : ItemAction::kOpen, path)) return;
        const unsigned long error = properties ? ShowItemProperties(owner, path, ui_) : OpenItem(owner, path, ui_);
        if (error) {
            ui_.ShowMessage(owner,
                            "Could not " + std::string(properties ? "show the properties of" : "open") + " '" + path +
                                "': " + SystemErrorText(error),
                            "Kelvaran", MB_OK | MB_ICONEXCLAMATION);
            return;
        }
    }
}

void ItemCommands::CopyPaths(HWND owner, const std::vector<std::string>& paths) {
    std::string text;
    for (const std::string& path : paths) text += (text.empty() ? "" : "\r\n") + path;
    if (text.empty()) return;
    if (!fw::CopyTextToClipboard(owner, text))
        ui_.ShowMessage(owner, "Could not set data", "Error", MB_OK | MB_ICONERROR);
}

void ItemCommands::Delete(HWND owner, const std::vector<std::string>& paths, bool permanent) {
    const std::vector<std::string> items = OutermostItems(paths);
    for (const std::string& path : items)
        if (!Allowed(owner, ItemAction::kDelete, path)) return;

    std::vector<DeleteTarget> targets;
    for (const std::string& path : items) {
        if (IsFolderPath(path)) {
            if (const model::DirInfo* folder = model::FindDirByPath(document_.Root(), path))
                targets.push_back({path, true, folder->deepSize, folder->deepFiles, folder->deepDirs});
        } else if (const model::FileInfo* file = model::FindFileByPath(document_.Root(), path)) {
            targets.push_back({path, false, file->size, 1, 0});
        }
    }
    if (targets.empty()) return;
    const Confirmation ask = DeleteConfirmation(targets, permanent);
    const UINT flags = MB_YESNO | (permanent ? MB_ICONWARNING | MB_DEFBUTTON2 : MB_ICONQUESTION);
    if (ui_.ShowMessage(owner, ask.text, ask.caption, flags) != IDYES) return;

    std::vector<RemovalFailure> failures;
    std::size_t more = 0;
    std::vector<std::string> rescans;
    for (const DeleteTarget& target : targets) {
        const bool link = LookAtDisk(target.path).link;
        const unsigned long error = DeleteItem(owner, target.path, !permanent, ui_);
        // The disk says what happened, not the answer of the call alone.
        const AfterDelete after = DecideAfterDelete(target.folder, link, KindOnDisk(target.path));
        switch (after) {
        case AfterDelete::kRemoveRecord: document_.RemoveItem(target.path); break;
        case AfterDelete::kRescanItem:
        case AfterDelete::kKeepRecord: {
            std::size_t notListed = 0;
            const std::size_t room = kReportedItems > failures.size() ? kReportedItems - failures.size() : 0;
            for (RemovalFailure& failure : WhatRemains(target.path, error, room, notListed))
                failures.push_back(std::move(failure));
            more += notListed;
            // A file or link left whole changed nothing; of a folder, what is left is scanned.
            if (after == AfterDelete::kRescanItem) rescans.push_back(target.path);
            break;
        }
        case AfterDelete::kRescanFolder: rescans.push_back(FolderOfPath(target.path)); break;
        }
    }
    if (host_.rescan)
        for (const std::string& folder : OutermostItems(rescans)) host_.rescan(folder);
    if (!failures.empty() || more)
        ui_.ShowMessage(owner, FailureReport(failures, more), "Kelvaran", MB_OK | MB_ICONEXCLAMATION);
}

}  // namespace frame
