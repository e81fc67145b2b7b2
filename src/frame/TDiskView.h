// The main frame's client: the folder tree and the pie side by side on a splitter, and the router of the
// whole program. It owns the live tree through its DiskDocument (the root record, the cluster size, the
// current folder, the history, the recent roots) and the information dialogs' remembered records, answers
// every command of the menu, the tool bar and the accelerators through one command table, and tells the
// views to follow after every change. The views reach it only through their host interfaces (PieHost,
// TreeHost, info::TreeSource); its decisions live in DiskDocument.h, Navigation.h and CommandLine.h.
//
//   auto view = std::make_unique<TDiskView>(ui);        // reads "Autoscan", "AutoscanDir", "DialogLook"
//   view->SetStatusBars(&deep, &shallow);               // before the frame is created
//   view->SetToolbarSize({isLarge, setLarge});          // the application's "LargeToolbar"
//   frame.Create();                                     // set-up: tree (101) and pie (102), reset to the root
//   view->SetDrives(drives, &controlBar);               // the drive commands and the tool bar's boxes
//   view->RunStartupTarget(commandLinePath);            // command line or autoscan
//
// Whenever the document replaces the tree or records of it, the view hears it first and tells every
// window that borrows records, in this order: the two data status bars, the folder tree, the pie and the
// open information dialogs (they drop what they hold); then the pie's size kind falls back to logical
// size when the cluster size is unknown, and the tree and the pie follow the new tree.
//
// Scans run in the modal progress dialog; the tree the worker builds replaces the live one only after the
// dialog closed with OK, so nothing that paints meanwhile sees a tree being built. While the dialog runs
// the folder tree holds its navigation, so the current folder stays the one being scanned.
#pragma once

#include "frame/CommandTable.h"
#include "frame/ComparisonColouring.h"
#include "frame/DiskDocument.h"
#include "frame/DiskViewSettings.h"
#include "frame/ItemCommands.h"
#include "frame/Navigation.h"
#include "frame/TSplitWnd.h"
#include "frame/TreeHost.h"
#include "fw/Interaction.h"
#include "info/DialogData.h"
#include "info/TreeSource.h"
#include "model/DirInfo.h"
#include "model/DocumentObserver.h"
#include "pie/PieHost.h"
#include "scan/LogDrives.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace info {
class TFileTypesDlg;
}
namespace options {
struct DispOptData;
}
namespace pie {
class TPieView;
}

namespace model {
class DataFileReadAhead;
}

namespace frame {

class TMyControlBar;
class TMyStatusData;
class TTreeStruct;

class TDiskView : public TSplitWnd,
                  public pie::PieHost,
                  public TreeHost,
                  public info::TreeSource,
                  private model::DocumentObserver {
public:
    // The tool bar's button size, which the settings dialog shows and changes; it belongs to whoever owns
    // the bar. Without it the dialog shows normal buttons and a change goes nowhere.
    struct ToolbarSize {
        std::function<bool()> isLarge;
        std::function<void(bool large)> setLarge;
    };

    // Every message box, the help and the About box's links of the main window and of the dialogs it opens
    // go through `ui`.
    explicit TDiskView(fw::Interaction ui = {});
    ~TDiskView() override;

    void SetStatusBars(TMyStatusData* deep, TMyStatusData* shallow) noexcept;
    void SetToolbarSize(ToolbarSize size) { toolbarSize_ = std::move(size); }
    // How "Compare With Data File..." asks for its file; the system's open dialog unless replaced (tests).
    using DataFileChooser = std::function<std::optional<std::string>(HWND owner)>;
    void SetDataFileChooser(DataFileChooser choose) { chooseDataFile_ = std::move(choose); }
    // The logical drives (command 29000 + index scans drive index) and the tool bar whose boxes and
    // buttons follow the view; called once both exist.
    void SetDrives(const scan::LogDrives& drives, TMyControlBar* controlBar);
    // Where the command line's data file may have been read ahead (see ProgramEntry.h): the import takes
    // that tree rather than reading the file again.
    void SetStartupFile(model::DataFileReadAhead* startupFile) noexcept { startupFile_ = startupFile; }
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
    // The splitter, the folder tree and the pie at `dpi`.
    void ApplyDpi(int dpi);

    TTreeStruct* Tree() const noexcept { return tree_.get(); }
    pie::TPieView* Pie() const noexcept { return pie_.get(); }
    const DiskDocument& Document() const noexcept { return document_; }
    const History& GetHistory() const noexcept { return document_.GetHistory(); }
    // The information dialogs' remembered records for the whole run: the application loads them while it
    // builds the main window and saves them in its close query.
    info::InfoDialogData& DialogData() noexcept { return dialogData_; }

    // PieHost and TreeHost.
    const model::DirInfo* RootFolder() const override { return &document_.Root(); }
    std::string CurrentPath() const override { return document_.CurrentPath(); }
    std::uint32_t ClusterSize() const override { return document_.ClusterSize(); }
    bool DialogLook() const override { return settings_.dialogLook; }
    const compare::TreeComparison* Comparison() const override { return document_.Comparison(); }
    bool NavigateTo(const std::string& path, bool fromTree) override;
    void NavigateByNames(const std::vector<std::string>& names) override;
    void ExecuteCommand(int command) override;
    void Explore(const std::string& path, ExplorerKind kind) override;
    void RescanFolder(const std::string& path) override;
    void CopyToClipboard(const std::string& text) override;
    void ActOnItem(int command, const std::string& path) override { ActOnItems(command, {path}); }
    void ShowFolderStatus(const std::string& currentPath, const std::string& relativePath,
                          const model::DirInfo& folder) override;
    void ShowFileStatus(const std::string& currentPath, const std::string& relativePath,
                        const model::FileInfo& file) override;

    // TreeSource, for the dialogs that ask questions about the tree ("Force Cluster Size" sets the size).
    const model::DirInfo& Root() const override { return document_.Root(); }
    void SetClusterSize(std::uint32_t clusterSize) override;
    void SetLogicalMode() override { SetMode(model::kLogicalSize); }
    const pie::TypeColours& TypeColours() override;
    void HighlightType(std::optional<std::string> type) override;
    void Watch(model::DocumentObserver& observer) override { dialogs_.push_back(&observer); }
    void Unwatch(model::DocumentObserver& observer) override { std::erase(dialogs_, &observer); }
    // The commands on items, from the pie's menu and the statistics rows; the menu, the tool bar and the
    // keys (Del) send them for the selection.
    void ActOnItems(int command, const std::vector<std::string>& paths) override;
    void PieFocusChanged() override { UpdateControls(); }
    // What the commands on items act on: the pie's focused item while the pie has the keyboard focus, else
    // the folder selected in the folder tree; none when there is none.
    std::optional<std::string> Selection() const;

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
    // The window that owns the boxes of a command: the active window of the program (a dialog that sent
    // it), else the frame.
    HWND Owner() const;

    // Commands.
    void ScanDrive(unsigned index);
    void ScanRecentRoot(unsigned index);
    void AnyFolder();
    void Import();
    void Export();
    // "Compare With Data File...": an earlier data file read aside becomes the comparison, the pie showing
    // Growth; "End Comparison" brings the method from before back.
    void CompareWithDataFile();
    void EndComparison();
    // The pie's colouring method follows the document's comparison: the method from before once it ended.
    void FollowComparison();
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

    // Reads a data file aside and adopts its tree: a file that is no data file leaves everything as it was.
    void ImportDataFile(const std::string& path);
    // False, after saying so, when `folder` is no folder on this computer (a tree imported from another
    // one, a recent root deleted since, a drive taken out): a scan of it would find nothing and replace
    // the tree with an empty one.
    bool CanScan(const std::string& folder);
    // Only the setting: the views may still point into a tree that was just replaced, and render once they
    // follow the new one; the mode box follows in UpdateControls.
    void KeepAllowedMode();
    // The views follow the current folder; the tree selects it unless it asked itself.
    void FollowCurrent(bool selectInTree);
    // The tree and the pie are built anew from the document's tree, the pie showing the current folder.
    void FollowTree();

    // The document replaced the tree or records of it: every window that borrows records drops them, then
    // the views follow.
    void TreeReplaced() override;
    void FolderReplaced(const std::string& folderPath) override;
    void ItemRemoved(const std::string& itemPath, const std::string& folderPath) override;
    void ComparisonChanged() override;
    template <class Event>
    void TellBorrowers(Event event);

    fw::Interaction ui_;
    std::string firstFixedDrive_;
    DiskDocument document_;
    model::DataFileReadAhead* startupFile_ = nullptr;
    bool scanning_ = false;  // while a progress dialog runs
    ItemCommands items_;
    std::unique_ptr<TTreeStruct> tree_;
    std::unique_ptr<pie::TPieView> pie_;
    DiskViewSettings settings_;
    TMyStatusData* deepBar_ = nullptr;
    TMyStatusData* shallowBar_ = nullptr;
    std::vector<model::DocumentObserver*> dialogs_;  // the open information dialogs that watch the tree
    info::InfoDialogData dialogData_;
    ToolbarSize toolbarSize_;
    std::vector<char> driveLetters_;
    TMyControlBar* controlBar_ = nullptr;
    CommandTable commands_;
    ComparisonColouring colouring_;
    DataFileChooser chooseDataFile_;
    // The modeless "File Types" dialog, kept between openings; last, so that it goes first.
    std::unique_ptr<info::TFileTypesDlg> fileTypes_;
};

}  // namespace frame
