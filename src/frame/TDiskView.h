// The main frame's client: the folder tree and the pie side by side on a splitter, and the router of the
// whole program. It owns the live tree (the root record, the cluster size, the current folder), the
// folder history and the recent roots, answers every command of the menu, the tool bar and the
// accelerators through one command table, and tells both views to follow after every change. The views
// reach it only through their host interfaces (PieHost, TreeHost); its decisions live in Navigation.h and
// CommandLine.h.
//
//   auto view = std::make_unique<TDiskView>();          // reads "Autoscan", "AutoscanDir", "DialogLook"
//   view->SetStatusBars(&deep, &shallow);               // before the frame is created
//   frame.Create();                                     // set-up: tree (101) and pie (102), reset to the root
//   view->SetDrives(drives, &controlBar);               // the drive commands and the tool bar's boxes
//   view->RunStartupTarget(commandLinePath);            // command line or autoscan
//
// Scans run in the modal progress dialog; the tree the worker builds replaces the live one only after the
// dialog closed with OK, so nothing that paints meanwhile sees a tree being built. While the dialog runs
// the folder tree holds its navigation, so the current folder stays the one being scanned.
#pragma once

#include "frame/CommandTable.h"
#include "frame/DiskViewSettings.h"
#include "frame/History.h"
#include "frame/MRUPaths.h"
#include "frame/Navigation.h"
#include "frame/TSplitWnd.h"
#include "frame/TreeHost.h"
#include "info/TreeSource.h"
#include "model/DirInfo.h"
#include "pie/PieHost.h"
#include "scan/LogDrives.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace options {
struct DispOptData;
}
namespace pie {
class TPieView;
}

namespace frame {

class TMyControlBar;
class TMyStatusData;
class TTreeStruct;

class TDiskView : public TSplitWnd, public pie::PieHost, public TreeHost, public info::TreeSource {
public:
    TDiskView();
    ~TDiskView() override;

    void SetStatusBars(TMyStatusData* deep, TMyStatusData* shallow) noexcept;
    // The logical drives (command 29000 + index scans drive index) and the tool bar whose boxes and
    // buttons follow the view; called once both exist.
    void SetDrives(const scan::LogDrives& drives, TMyControlBar* controlBar);
    // The start-up target: the command-line path, or the autoscan folder when there is none.
    void RunStartupTarget(const std::string& commandLinePath);

    // Runs the progress dialog on `path` (a folder ending in a backslash); true when the scan completed
    // and its tree is now the live one. The path is a copy: the dialog's message loop may change the
    // current folder it was taken from.
    bool ScanRoot(std::string path, bool addToRecent, bool resetHistory);
    // The current folder becomes the root; the tree and the pie rebuild.
    void ResetView();

    const CommandTable& Commands() const noexcept { return commands_; }
    // Enables and checks the items of a drop-down menu by the command table (WM_INITMENUPOPUP).
    void UpdateMenu(HMENU popup) const;
    // Applies the command table to the tool bar's buttons and the pie's mode to the mode box.
    void UpdateControls();

    TTreeStruct* Tree() const noexcept { return tree_.get(); }
    pie::TPieView* Pie() const noexcept { return pie_.get(); }
    const History& GetHistory() const noexcept { return history_; }

    // PieHost and TreeHost.
    const model::DirInfo* RootFolder() const override { return &root_; }
    std::string CurrentPath() const override { return current_; }
    std::uint32_t ClusterSize() const override { return clusterSize_; }
    bool DialogLook() const override { return settings_.dialogLook; }
    bool NavigateTo(const std::string& path, bool fromTree) override;
    void NavigateByNames(const std::vector<std::string>& names) override;
    void ExecuteCommand(int command) override;
    void Explore(const std::string& path, ExplorerKind kind) override;
    void RescanFolder(const std::string& path) override;
    void CopyToClipboard(const std::string& text) override;
    void ShowFolderStatus(const std::string& currentPath, const std::string& relativePath,
                          const model::DirInfo& folder) override;
    void ShowFileStatus(const std::string& currentPath, const std::string& relativePath,
                        const model::FileInfo& file) override;

    // TreeSource, for the dialogs that ask questions about the tree ("Force Cluster Size" sets the size).
    const model::DirInfo& Root() const override { return root_; }
    void SetClusterSize(std::uint32_t clusterSize) override { TakeClusterSize(clusterSize); }
    void SetLogicalMode() override { SetMode(model::kLogicalSize); }

    // Writes "DialogLook", "Autoscan" and "AutoscanDir".
    bool CanClose() override;
    // The bar's groove shows the hover state.
    void SetHover(bool hover) override;

protected:
    const char* ClassName() const override { return "KelvaranDiskView"; }
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    void SetupWindow() override;
    void Paint(HDC dc, const RECT& dirty) override;

private:
    void BuildCommands();
    HWND Frame() const;

    // Commands.
    void ScanDrive(unsigned index);
    void ScanRecentRoot(unsigned index);
    void AnyFolder();
    void Import();
    void Export();
    void GoBack();
    void GoForward();
    void GoParent();
    // Rescans `folder` and puts the result in its place; a copy, as for ScanRoot.
    void Rescan(std::string folder);
    void RescanAll();
    void SetMode(int mode);
    void ChooseModeBoxEntry(unsigned entry);
    // "Settings...": the dialog on a copy of the values, and after OK the frame's applying step.
    void ShowSettings();
    void ApplySettings(const options::DispOptData& data);

    // The one way a whole new tree comes in (a scan of a root, an import): it replaces the live one with
    // its totals, and the views follow before anything may paint; the history starts over when asked.
    void AdoptTree(model::DirInfo&& tree, std::uint32_t clusterSize, bool resetHistory);
    // Reads a data file aside and adopts its tree: a file that is no data file leaves everything as it was.
    void ImportDataFile(const std::string& path);
    // False, after saying so, when `folder` is no folder on this computer (a tree imported from another
    // one): a scan of it would find nothing and replace the tree with an empty one.
    bool CanRescan(const std::string& folder);
    // The cluster size of totals just recomputed for it, and logical mode when it is unknown.
    void NoteClusterSize(std::uint32_t clusterSize);
    // "Force Cluster Size": a new cluster size for the tree as it is, all totals recomputed.
    void TakeClusterSize(std::uint32_t clusterSize);
    // The views follow the current folder; the tree selects it unless it asked itself.
    void FollowCurrent(bool selectInTree);

    model::DirInfo root_;
    std::unique_ptr<TTreeStruct> tree_;
    std::unique_ptr<pie::TPieView> pie_;
    DiskViewSettings settings_;
    std::uint32_t clusterSize_ = 0;
    std::string current_;
    TMyStatusData* deepBar_ = nullptr;
    TMyStatusData* shallowBar_ = nullptr;
    History history_;
    MRUPaths recent_;
    std::vector<char> driveLetters_;
    std::string firstFixedDrive_;
    TMyControlBar* controlBar_ = nullptr;
    CommandTable commands_;
};

}  // namespace frame
