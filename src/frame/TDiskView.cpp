#include "frame/TDiskView.h"

#include "about/Help.h"
#include "about/TAboutDlg.h"
#include "config/Config.h"
#include "frame/CommandLine.h"
#include "frame/MRUPathsMenu.h"
#include "frame/ShellDialogs.h"
#include "frame/ShellItems.h"
#include "frame/TMyControlBar.h"
#include "frame/TMyStatusData.h"
#include "frame/TTreeStruct.h"
#include "fw/Clipboard.h"
#include "fw/Utf8.h"
#include "info/InfoCommands.h"
#include "info/TFileTypesDlg.h"
#include "model/AsciiCase.h"
#include "model/DataFileReadAhead.h"
#include "model/DataFileWin.h"
#include "options/TDispOptDlg.h"
#include "pie/TPieView.h"
#include "resource.h"
#include "scan/TThreadDlg.h"

#include <algorithm>

namespace frame {
namespace {
constexpr UINT kTreeId = 101;
constexpr UINT kPieId = 102;

// The first fixed drive's root name ("C:"), "C:" when there is none.
std::string FirstFixedDrive(const scan::LogDrives& drives) {
    for (const auto& drive : drives.Drives())
        if (drive.type == DRIVE_FIXED) return std::string(1, drive.letter) + ':';
    return "C:";
}

// The folder tree must not move the current folder while a modal scan runs on it: a keyboard move
// waiting for its pause would otherwise land inside the dialog's message loop.
class NavigationHold {
public:
    explicit NavigationHold(TTreeStruct* tree) : tree_(tree) {
        if (tree_) tree_->HoldNavigation(true);
    }
    ~NavigationHold() {
        if (tree_) tree_->HoldNavigation(false);
    }
    NavigationHold(const NavigationHold&) = delete;
    NavigationHold& operator=(const NavigationHold&) = delete;

private:
    TTreeStruct* tree_;
};

// Set while a scan's progress dialog runs: nothing may be deleted then.
class ScanningFlag {
public:
    explicit ScanningFlag(bool& flag) : flag_(flag) { flag_ = true; }
    ~ScanningFlag() { flag_ = false; }
    ScanningFlag(const ScanningFlag&) = delete;
    ScanningFlag& operator=(const ScanningFlag&) = delete;

private:
    bool& flag_;
};

}  // namespace

TDiskView::TDiskView(fw::Interaction ui)
    : TSplitWnd(nullptr, true, 0.333, 4), ui_(std::move(ui)), firstFixedDrive_(FirstFixedDrive(scan::LogDrives())),
      document_(firstFixedDrive_, CM_RECENT_ROOT_FIRST, &OpenUserSettings),
      items_(document_, ui_, {[this] { return scanning_; }, [this](const std::string& folder) { Rescan(folder); }}) {
    document_.AddObserver(*this);
    settings_.autoscanFolder = firstFixedDrive_.substr(0, 1);
    config::ReadSettings(kDiskViewSettings, config::UserConfig(), settings_);
    Attr().style = WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN;
    SetHoverTracking(true);
    SetRepaintBar(settings_.dialogLook);
    BuildCommands();
}

TDiskView::~TDiskView() {
    document_.RemoveObserver(*this);
    // The pie stores its settings as it goes: Growth chosen for a comparison is not the user's method.
    if (pie_) pie_->Settings().colourMethod = colouring_.ToStore(pie_->Settings().colourMethod);
}

void TDiskView::SetStatusBars(TMyStatusData* deep, TMyStatusData* shallow) noexcept {
    deepBar_ = deep;
    shallowBar_ = shallow;
}

HWND TDiskView::Frame() const { return GetParent() ? GetParent()->GetHandle() : GetHandle(); }

HWND TDiskView::Owner() const {
    HWND active = GetActiveWindow();
    return active && IsWindowEnabled(active) ? active : Frame();
}

void TDiskView::SetupWindow() {
    TSplitWnd::SetupWindow();
    document_.Recent().SetMenuWriter(RootMenuWriter(Frame()));
    document_.Recent().RewriteMenu();
    tree_ = std::make_unique<TTreeStruct>(this, kTreeId, *this, ui_);
    pie_ = std::make_unique<pie::TPieView>(this, kPieId, *this);
    tree_->Create();
    pie_->Create();
    SetPanes(tree_.get(), pie_.get());
    ResetView();
    SetFocus(tree_->GetHandle());
}

void TDiskView::ApplyDpi(int dpi) {
    if (tree_) tree_->ApplyDpi(dpi);
    if (pie_) pie_->ApplyDpi(dpi);
    SetBarDpi(dpi);
}

void TDiskView::Paint(HDC dc, const RECT&) {
    if (settings_.dialogLook) PaintGroove(dc);
}

void TDiskView::SetHover(bool hover) {
    const bool changed = hover != IsHover();
    TSplitWnd::SetHover(hover);
    if (changed) InvalidateBar();
}

bool TDiskView::CanClose() {
    config::UserConfig store;
    config::WriteSettings(kDiskViewSettings, settings_, store);
    return TSplitWnd::CanClose();
}

void TDiskView::SetDrives(const scan::LogDrives& drives, TMyControlBar* controlBar) {
    driveLetters_.clear();
    for (const auto& drive : drives.Drives()) driveLetters_.push_back(drive.letter);
    controlBar_ = controlBar;
    UpdateControls();
}

void TDiskView::RunStartupTarget(const std::string& commandLinePath) {
    const StartupTarget target =
        DecideStartupTarget(commandLinePath, settings_.autoscan, settings_.autoscanFolder,
                            std::string_view(driveLetters_.data(), driveLetters_.size()), &KindOnDisk);
    switch (target.action) {
    case StartupTarget::Action::kNothing: break;
    case StartupTarget::Action::kScan: ScanRoot(target.path, true, true); break;
    case StartupTarget::Action::kImport: ImportDataFile(target.path); break;
    case StartupTarget::Action::kInvalidDrive:
    case StartupTarget::Action::kNotFound:
        ui_.ShowMessage(Frame(), target.message, "Kelvaran", MB_OK | MB_ICONSTOP);
        break;
    }
    UpdateControls();
}

// ---- the live tree ----

void TDiskView::KeepAllowedMode() {
    if (pie_) pie_->Settings().sizeKind = document_.AllowedMode(pie_->GetMode());
}

void TDiskView::SetClusterSize(std::uint32_t clusterSize) {
    document_.SetClusterSize(clusterSize);
    KeepAllowedMode();
}

template <class Event>
void TDiskView::TellBorrowers(Event event) {
    for (model::DocumentObserver* borrower :
         {static_cast<model::DocumentObserver*>(deepBar_), static_cast<model::DocumentObserver*>(shallowBar_),
          static_cast<model::DocumentObserver*>(tree_.get()), static_cast<model::DocumentObserver*>(pie_.get())})
        if (borrower) event(*borrower);
    // A copy: a dialog may close as it hears of it.
    const std::vector<model::DocumentObserver*> dialogs = dialogs_;
    for (model::DocumentObserver* dialog : dialogs)
        if (std::find(dialogs_.begin(), dialogs_.end(), dialog) != dialogs_.end()) event(*dialog);
}

void TDiskView::TreeReplaced() {
    TellBorrowers([](model::DocumentObserver& borrower) { borrower.TreeReplaced(); });
    KeepAllowedMode();
    FollowComparison();
    FollowTree();
}

void TDiskView::FolderReplaced(const std::string& folderPath) {
    TellBorrowers([&folderPath](model::DocumentObserver& borrower) { borrower.FolderReplaced(folderPath); });
    KeepAllowedMode();
    FollowComparison();
    FollowTree();
}

void TDiskView::ItemRemoved(const std::string& itemPath, const std::string& folderPath) {
    TellBorrowers([&](model::DocumentObserver& borrower) { borrower.ItemRemoved(itemPath, folderPath); });
    KeepAllowedMode();
    FollowTree();
}

void TDiskView::ComparisonChanged() {
    TellBorrowers([](model::DocumentObserver& borrower) { borrower.ComparisonChanged(); });
    FollowComparison();
    if (pie_) pie_->Refresh();
    UpdateControls();
}

void TDiskView::FollowComparison() {
    if (!pie_) return;
    pie::ColourMethod& method = pie_->Settings().colourMethod;
    method = document_.Comparison() ? colouring_.Start(method) : colouring_.End(method);
}

const pie::TypeColours& TDiskView::TypeColours() {
    static const pie::TypeColours none;
    return pie_ ? pie_->TypeColoursOfTree() : none;
}

void TDiskView::HighlightType(std::optional<std::string> type) {
    if (pie_) pie_->HighlightType(std::move(type));
}

void TDiskView::FollowTree() {
    if (tree_) tree_->Rebuild();
    if (pie_) pie_->Refresh();
    UpdateControls();
}

void TDiskView::ImportDataFile(const std::string& path) {
    document_.Import(path, [this](const std::string& file, model::DirInfo& tree, std::uint32_t& clusterSize) {
        if (const auto ahead =
                startupFile_ ? startupFile_->Take(file, tree, clusterSize, model::MessageBoxReporter(ui_, Frame()))
                             : std::nullopt)
            return *ahead != model::DecodeResult::kNotDataFile;
        return model::ReadDataFile(file, tree, clusterSize, ui_, Frame());
    });
}

bool TDiskView::CanScan(const std::string& folder) {
    const auto message = MissingFolderMessage(folder, KindOnDisk(folder));
    if (message) ui_.ShowMessage(Frame(), *message, "Kelvaran", MB_OK | MB_ICONEXCLAMATION);
    return !message;
}

bool TDiskView::ScanRoot(std::string path, bool addToRecent, bool resetHistory) {
    // A recent root deleted since, or a drive taken out, would otherwise scan as an empty tree.
    if (!CanScan(path)) return false;
    if (addToRecent) document_.Recent().Add(path);
    scan::TThreadDlg dialog(GetParent() ? GetParent() : this, path);
    {
        const NavigationHold hold(tree_.get());
        const ScanningFlag scanning(scanning_);
        if (dialog.Execute() != IDOK) return false;
    }
    document_.AdoptTree(std::move(dialog.GetInfo()), dialog.GetClusterSize(), resetHistory);
    return true;
}

void TDiskView::ResetView() {
    document_.ShowRoot();
    FollowTree();
    TellBorrowers([](model::DocumentObserver& borrower) { borrower.CurrentFolderChanged(); });
}

void TDiskView::Rescan(std::string folder) {
    if (!CanScan(folder)) return;
    if (folder != document_.RootPath() && LookAtDisk(folder).link) {
        // A link below the root stays listed and not entered, as the scan left it: walking it counted its
        // target twice.
        const std::string back = document_.CurrentPath();
        if (document_.ReplaceFolder(folder, model::DirInfo(), document_.ClusterSize())) NavigateTo(back, false);
        return;
    }
    scan::TThreadDlg dialog(GetParent() ? GetParent() : this, folder);
    {
        const NavigationHold hold(tree_.get());
        const ScanningFlag scanning(scanning_);
        if (dialog.Execute() != IDOK) return;
    }
    const std::string back = document_.CurrentPath();
    if (document_.ReplaceFolder(folder, std::move(dialog.GetInfo()), dialog.GetClusterSize())) NavigateTo(back, false);
}

void TDiskView::RescanAll() {
    const std::string root = document_.RootPath();
    if (CanScan(root)) ScanRoot(root, false, false);
}

// ---- navigation ----

void TDiskView::FollowCurrent(bool selectInTree) {
    if (pie_) pie_->FollowFrame();
    if (selectInTree && tree_) tree_->SelectCurrent();
    UpdateControls();
    TellBorrowers([](model::DocumentObserver& borrower) { borrower.CurrentFolderChanged(); });
}

bool TDiskView::NavigateTo(const std::string& path, bool fromTree) {
    document_.NavigateTo(path);
    FollowCurrent(!fromTree);
    return true;
}

void TDiskView::NavigateByNames(const std::vector<std::string>& names) { NavigateTo(PathFromNames(names), true); }

void TDiskView::GoBack() {
    if (document_.Back()) FollowCurrent(true);
}

void TDiskView::GoForward() {
    if (document_.Forward()) FollowCurrent(true);
}

void TDiskView::GoParent() {
    if (const auto parent = document_.ParentPath()) NavigateTo(*parent, false);
}

// ---- modes ----

void TDiskView::SetMode(int mode) {
    if (pie_) pie_->SetMode(mode);
    if (controlBar_) controlBar_->SelectMode(pie_ ? pie_->GetMode() : mode);
}

void TDiskView::ChooseModeBoxEntry(unsigned entry) {
    const ModeChoice choice = ChooseModeEntry(static_cast<int>(entry), document_.ClusterSize());
    if (choice.mode) SetMode(*choice.mode);
    if (controlBar_) controlBar_->SelectMode(choice.boxEntry);
}

// ---- commands ----

void TDiskView::ScanDrive(unsigned index) {
    if (index < driveLetters_.size()) ScanRoot(std::string(1, driveLetters_[index]) + ":\\", false, true);
}

void TDiskView::ScanRecentRoot(unsigned index) {
    std::string path = document_.Recent().Entry(static_cast<int>(index));
    if (path.empty()) return;
    if (path.back() != '\\') path += '\\';
    ScanRoot(path, true, true);
}

void TDiskView::AnyFolder() {
    if (const auto folder = BrowseForFolder(Frame(), BrowseStartFolder(document_.CurrentPath(), firstFixedDrive_), ui_))
        ScanRoot(*folder + '\\', true, true);
}

void TDiskView::Import() {
    if (const auto path = AskDataFileToOpen(Frame())) ImportDataFile(*path);
}

void TDiskView::Export() {
    if (const auto path = AskDataFileToSave(Frame()))
        model::WriteDataFile(*path, document_.ClusterSize(), document_.Root(), ui_, Frame());
}

void TDiskView::CompareWithDataFile() {
    const auto path = chooseDataFile_ ? chooseDataFile_(Frame()) : AskDataFileToOpen(Frame());
    if (!path) return;
    model::DirInfo earlier;
    std::uint32_t clusterSize = 0;
    const model::DecodeResult read =
        model::ReadDataFileWhole(*path, earlier, clusterSize, model::MessageBoxReporter(ui_, Frame()));
    if (read == model::DecodeResult::kNotDataFile) return;
    if (read == model::DecodeResult::kDamaged)
        ui_.ShowMessage(Frame(), "The data file is damaged: only the part that could be read is compared.", "Kelvaran",
                        MB_OK | MB_ICONEXCLAMATION);
    // A drive letter changes when a disk moves, so other names are allowed once the user agrees.
    if (!model::EqualIgnoringAsciiCase(earlier.name, document_.Root().name)) {
        const std::string question =
            "The data file holds \"" + earlier.name + "\", not \"" + document_.Root().name + "\". Compare them anyway?";
        if (ui_.ShowMessage(Frame(), question, "Kelvaran", MB_YESNO | MB_ICONQUESTION) != IDYES) return;
    }
    document_.StartComparison(std::move(earlier), clusterSize);
}

void TDiskView::EndComparison() { document_.EndComparison(); }

void TDiskView::ShowSettings() {
    if (!pie_) return;
    const bool largeToolbar = toolbarSize_.isLarge && toolbarSize_.isLarge();
    options::DispOptData data = options::MakeDispOptData(pie_->Settings(), settings_.dialogLook, largeToolbar,
                                                         settings_.autoscan, settings_.autoscanFolder);
    if (options::EditSettings(GetParent() ? GetParent() : this, data, ui_)) ApplySettings(data);
}

void TDiskView::ApplySettings(const options::DispOptData& data) {
    options::ApplyDispOptData(data, pie_->Settings());
    settings_.dialogLook = data.dialogLook;
    if (toolbarSize_.isLarge && toolbarSize_.setLarge && toolbarSize_.isLarge() != data.largeToolbar)
        toolbarSize_.setLarge(data.largeToolbar);
    settings_.autoscan = data.autoscan;
    settings_.autoscanFolder = data.autoscanFolder;
    // Only memory changes here: the registry is written when the program ends.
    pie_->ReparseTips();
    SetRepaintBar(settings_.dialogLook);
    if (tree_) tree_->SetFlatLook(settings_.dialogLook);
    pie_->SetFlatLook(settings_.dialogLook);
    pie_->FollowFrame();
    RedrawWindow(GetHandle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

void TDiskView::ExecuteCommand(int command) { commands_.Execute(static_cast<unsigned>(command)); }

void TDiskView::Explore(const std::string& path, ExplorerKind kind) { StartExplorer(Frame(), path, kind, ui_); }

void TDiskView::RescanFolder(const std::string& path) { Rescan(path); }

void TDiskView::CopyToClipboard(const std::string& text) { fw::CopyTextToClipboard(Frame(), text); }

void TDiskView::ActOnItems(int command, const std::vector<std::string>& paths) {
    items_.Run(Owner(), static_cast<unsigned>(command), paths);
    UpdateControls();
}

std::optional<std::string> TDiskView::Selection() const {
    // Del in the pie must never delete the tree's selection, which the user is not looking at.
    if (pie_ && pie_->GetHandle() && GetFocus() == pie_->GetHandle())
        if (std::optional<std::string> focused = pie_->FocusedPath()) return focused;
    return tree_ ? tree_->SelectedPath() : std::nullopt;
}

void TDiskView::ShowFolderStatus(const std::string& currentPath, const std::string& relativePath,
                                 const model::DirInfo& folder) {
    // The current folder itself is shown with its own (empty or file type) name in the shallow row.
    const bool isCurrent = model::FindDirByPath(document_.Root(), currentPath) == &folder;
    const auto change = document_.ChangeOf(isCurrent ? currentPath : currentPath + relativePath);
    const auto named = [&change](const std::string& name, bool deep) {
        return change ? NameWithChange(name, deep ? change->deep : change->local, change->isNew) : name;
    };
    if (deepBar_) deepBar_->ShowFolder(named(currentPath, true), folder, document_.ClusterSize());
    if (shallowBar_)
        shallowBar_->ShowFolder(isCurrent && !relativePath.empty() ? relativePath : named(relativePath, false), folder,
                                document_.ClusterSize());
}

void TDiskView::ShowFileStatus(const std::string& currentPath, const std::string& relativePath,
                               const model::FileInfo& file) {
    const auto change = document_.ChangeOf(currentPath + relativePath);
    if (deepBar_) deepBar_->ShowFile(currentPath, file, document_.ClusterSize());
    if (shallowBar_)
        shallowBar_->ShowFile(change ? NameWithChange(relativePath, change->local, change->isNew) : relativePath, file,
                              document_.ClusterSize());
}

void TDiskView::BuildCommands() {
    auto always = [](void (TDiskView::*action)(), TDiskView* self) {
        return [action, self](unsigned) { (self->*action)(); };
    };
    auto modeIs = [this](int mode) { return [this, mode](unsigned) { return pie_ && pie_->GetMode() == mode; }; };
    auto clusterKnown = [this](unsigned) { return document_.ClusterSize() != 0; };
    auto explore = [this](ExplorerKind kind) {
        return [this, kind](unsigned) { Explore(document_.CurrentPath(), kind); };
    };

    commands_.Add({CM_DRIVE_FIRST, 26, [this](unsigned i) { ScanDrive(i); },
                   [this](unsigned i) { return i < driveLetters_.size(); }});
    commands_.Add({CM_RECENT_ROOT_FIRST, MRUPaths::kMaxEntries, [this](unsigned i) { ScanRecentRoot(i); },
                   [this](unsigned i) { return static_cast<int>(i) < document_.Recent().Count(); }});
    commands_.Add({CM_MODE_BOX_FIRST, 3, [this](unsigned i) { ChooseModeBoxEntry(i); }});
    commands_.Add({CM_ANY_FOLDER, 1, always(&TDiskView::AnyFolder, this)});
    commands_.Add({CM_IMPORT, 1, always(&TDiskView::Import, this)});
    commands_.Add({CM_EXPORT, 1, always(&TDiskView::Export, this)});
    commands_.Add({CM_EXIT, 1, [this](unsigned) { PostMessageA(Frame(), WM_CLOSE, 0, 0); }});
    commands_.Add({CM_BACK, 1, always(&TDiskView::GoBack, this),
                   [this](unsigned) { return !document_.GetHistory().BackEmpty(); }});
    commands_.Add({CM_FORWARD, 1, always(&TDiskView::GoForward, this),
                   [this](unsigned) { return !document_.GetHistory().ForwardEmpty(); }});
    commands_.Add({CM_PARENT, 1, always(&TDiskView::GoParent, this),
                   [this](unsigned) { return document_.ParentPath().has_value(); }});
    commands_.Add({CM_RESCAN, 1, [this](unsigned) { Rescan(document_.CurrentPath()); }});
    commands_.Add({CM_RESCAN_ALL, 1, always(&TDiskView::RescanAll, this)});
    commands_.Add(
        {CM_MODE_LOGICAL, 1, [this](unsigned) { SetMode(model::kLogicalSize); }, {}, modeIs(model::kLogicalSize)});
    commands_.Add({CM_MODE_PHYSICAL, 1, [this](unsigned) { SetMode(model::kPhysicalSize); }, clusterKnown,
                   modeIs(model::kPhysicalSize)});
    commands_.Add({CM_MODE_WASTED, 1, [this](unsigned) { SetMode(model::kWastedSpace); }, clusterKnown,
                   modeIs(model::kWastedSpace)});
    commands_.Add({CM_OPEN_FOLDER, 1, explore(ExplorerKind::kOpen)});
    commands_.Add({CM_EXPLORE_FOLDER, 1, explore(ExplorerKind::kExplore)});
    commands_.Add({CM_EXPLORE_FROM_HERE, 1, explore(ExplorerKind::kRooted)});
    commands_.Add({CM_COPY_NAME, 1, [this](unsigned) { CopyToClipboard(document_.CurrentPath()); }});
    commands_.Add({CM_COMPARE, 1, always(&TDiskView::CompareWithDataFile, this)});
    commands_.Add({CM_END_COMPARISON, 1, always(&TDiskView::EndComparison, this),
                   [this](unsigned) { return document_.Comparison() != nullptr; }});
    for (unsigned id : {CM_OPEN_ITEM, CM_PROPERTIES, CM_DELETE, CM_DELETE_PERMANENTLY, CM_COPY_PATH})
        commands_.Add({id, 1,
                       [this, id](unsigned) {
                           if (const auto selected = Selection()) items_.Run(Owner(), id, {*selected});
                       },
                       [this, id](unsigned) { return items_.Offered(id, Selection()); }});
    commands_.Add(
        {CM_SYSTEM_DRIVES, 1, [this](unsigned) { info::ShowSystemDrivesInfo(*GetParent(), dialogData_.sysDrives); }});
    commands_.Add({CM_HELP_TOPICS, 1, [this](unsigned) { about::ShowHelp(*GetParent(), "", ui_); }});
    commands_.Add({CM_ABOUT, 1, [this](unsigned) { about::ShowAbout(*GetParent(), ui_); }});
    commands_.Add({CM_FIND_USERS, 1, [this](unsigned) { ui_.ShowMessage(Frame(), "N/A", "Kelvaran", MB_OK); }});
    commands_.Add(
        {CM_STATISTICS, 1, [this](unsigned) { info::ShowStatistics(GetParent(), *this, dialogData_.stats, ui_); }});
    commands_.Add(
        {CM_HISTOGRAM, 1, [this](unsigned) { info::OpenSizeHistogram(GetParent(), *this, dialogData_.histogram); }});
    commands_.Add({CM_FILE_TYPES, 1, [this](unsigned) {
                       info::ShowFileTypes(fileTypes_, GetParent(), *this, dialogData_.fileTypes, ui_);
                   }});
    commands_.Add({CM_CLUSTER_INFO, 1, [this](unsigned) { info::ShowClusterInfo(GetParent(), *this); }});
    commands_.Add({CM_FORCE_CLUSTER_SIZE, 1, [this](unsigned) { info::ForceClusterSize(GetParent(), *this); }});
    commands_.Add({CM_SETTINGS, 1, [this](unsigned) { ShowSettings(); }});
}

void TDiskView::UpdateMenu(HMENU popup) const {
    const int count = GetMenuItemCount(popup);
    for (int i = 0; i < count; ++i) {
        const UINT id = GetMenuItemID(popup, i);
        if (id == static_cast<UINT>(-1) || !commands_.Knows(id)) continue;
        EnableMenuItem(popup, i, MF_BYPOSITION | (commands_.IsEnabled(id) ? MF_ENABLED : MF_GRAYED));
        CheckMenuItem(popup, i, MF_BYPOSITION | (commands_.IsChecked(id) ? MF_CHECKED : MF_UNCHECKED));
    }
}

void TDiskView::UpdateControls() {
    if (!controlBar_) return;
    for (unsigned id : {CM_BACK, CM_FORWARD, CM_PARENT, CM_RESCAN, CM_RESCAN_ALL, CM_OPEN_FOLDER, CM_EXPLORE_FOLDER,
                        CM_EXPLORE_FROM_HERE, CM_ANY_FOLDER, CM_IMPORT, CM_EXPORT, CM_COMPARE, CM_OPEN_ITEM,
                        CM_PROPERTIES, CM_DELETE})
        controlBar_->SetButtonEnabled(id, commands_.IsEnabled(id));
    if (pie_) controlBar_->SelectMode(pie_->GetMode());
}

LRESULT TDiskView::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_COMMAND && lParam == 0) {
        // Menus, accelerators and the tool bar alike: a disabled command does nothing.
        commands_.Execute(LOWORD(wParam));
        UpdateControls();
        return 0;
    }
    return TSplitWnd::HandleMessage(msg, wParam, lParam);
}

}  // namespace frame
