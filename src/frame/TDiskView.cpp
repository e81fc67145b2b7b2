#include "frame/TDiskView.h"

#include "about/Help.h"
#include "about/TAboutDlg.h"
#include "config/Config.h"
#include "frame/CommandLine.h"
#include "frame/MRUPathsMenu.h"
#include "frame/ShellDialogs.h"
#include "frame/TMyApp.h"
#include "frame/TMyControlBar.h"
#include "frame/TMyStatusData.h"
#include "frame/TTreeStruct.h"
#include "fw/Clipboard.h"
#include "fw/MessageBox.h"
#include "fw/Utf8.h"
#include "info/InfoCommands.h"
#include "info/TSysDrivesInfoDlg.h"
#include "model/DataFileWin.h"
#include "options/TDispOptDlg.h"
#include "pie/TPieView.h"
#include "resource.h"
#include "scan/TThreadDlg.h"

namespace frame {
namespace {
constexpr UINT kTreeId = 101;
constexpr UINT kPieId = 102;

// The first fixed drive's letter, 'C' when there is none.
char FirstFixedDriveLetter(const scan::LogDrives& drives) {
    for (const auto& drive : drives.Drives())
        if (drive.type == DRIVE_FIXED) return drive.letter;
    return 'C';
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

PathKind KindOfPath(const std::string& path) {
    const DWORD attributes = GetFileAttributesW(fw::Utf8ToWide(path).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return PathKind::kMissing;
    return (attributes & FILE_ATTRIBUTE_DIRECTORY) ? PathKind::kFolder : PathKind::kFile;
}
}  // namespace

TDiskView::TDiskView()
    : TSplitWnd(nullptr, true, 0.333, 4), recent_(CM_RECENT_ROOT_FIRST, &OpenUserSettings) {
    const scan::LogDrives drives;
    const char firstFixed = FirstFixedDriveLetter(drives);
    firstFixedDrive_ = std::string(1, firstFixed) + ':';
    root_.name = firstFixedDrive_;
    settings_.autoscanFolder = std::string(1, firstFixed);
    config::ReadSettings(kDiskViewSettings, config::UserConfig(), settings_);
    Attr().style = WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN;
    SetHoverTracking(true);
    SetRepaintBar(settings_.dialogLook);
    BuildCommands();
}

TDiskView::~TDiskView() = default;

void TDiskView::SetStatusBars(TMyStatusData* deep, TMyStatusData* shallow) noexcept {
    deepBar_ = deep;
    shallowBar_ = shallow;
}

HWND TDiskView::Frame() const { return GetParent() ? GetParent()->GetHandle() : GetHandle(); }

void TDiskView::SetupWindow() {
    TSplitWnd::SetupWindow();
    recent_.SetMenuWriter(RootMenuWriter(Frame()));
    recent_.RewriteMenu();
    tree_ = std::make_unique<TTreeStruct>(this, kTreeId, *this);
    pie_ = std::make_unique<pie::TPieView>(this, kPieId, *this);
    tree_->Create();
    pie_->Create();
    SetPanes(tree_.get(), pie_.get());
    ResetView();
    history_.Reset(current_);
    SetFocus(tree_->GetHandle());
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
                            std::string_view(driveLetters_.data(), driveLetters_.size()), &KindOfPath);
    switch (target.action) {
    case StartupTarget::Action::kNothing:
        break;
    case StartupTarget::Action::kScan:
        ScanRoot(target.path, true, true);
        break;
    case StartupTarget::Action::kImport:
        ImportDataFile(target.path);
        break;
    case StartupTarget::Action::kInvalidDrive:
    case StartupTarget::Action::kNotFound:
        fw::ShowMessageBox(Frame(), target.message, "Kelvaran", MB_OK | MB_ICONSTOP);
        break;
    }
    UpdateControls();
}

// ---- the live tree ----

void TDiskView::NoteClusterSize(std::uint32_t clusterSize) {
    clusterSize_ = clusterSize;
    // Only the setting: the views may still point into a tree that was just replaced, and render once they
    // follow the new one; the mode box follows in UpdateControls.
    if (clusterSize_ == 0 && pie_) pie_->Settings().sizeKind = model::kLogicalSize;
}

void TDiskView::TakeClusterSize(std::uint32_t clusterSize) {
    model::RecomputeTotals(root_, clusterSize);
    NoteClusterSize(clusterSize);
}

void TDiskView::AdoptTree(model::DirInfo&& tree, std::uint32_t clusterSize, bool resetHistory) {
    AdoptScannedTree(root_, std::move(tree), clusterSize);
    NoteClusterSize(clusterSize);
    ResetView();
    if (resetHistory) history_.Reset(current_);
    UpdateControls();
}

void TDiskView::ImportDataFile(const std::string& path) {
    model::DirInfo read;
    std::uint32_t clusterSize = 0;
    if (model::ReadDataFile(path, read, clusterSize, Frame())) AdoptTree(std::move(read), clusterSize, true);
}

bool TDiskView::CanRescan(const std::string& folder) {
    const auto message = MissingFolderMessage(folder, KindOfPath(folder));
    if (message) fw::ShowMessageBox(Frame(), *message, "Kelvaran", MB_OK | MB_ICONEXCLAMATION);
    return !message;
}

bool TDiskView::ScanRoot(std::string path, bool addToRecent, bool resetHistory) {
    if (addToRecent) recent_.Add(path);
    scan::TThreadDlg dialog(GetParent() ? GetParent() : this, path);
    {
        const NavigationHold hold(tree_.get());
        if (dialog.Execute() != IDOK) return false;
    }
    AdoptTree(std::move(dialog.GetInfo()), dialog.GetClusterSize(), resetHistory);
    return true;
}

void TDiskView::ResetView() {
    current_ = root_.name + '\\';
    if (tree_) tree_->Rebuild();
    if (pie_) pie_->Refresh();
}

void TDiskView::Rescan(std::string folder) {
    if (!CanRescan(folder)) return;
    scan::TThreadDlg dialog(GetParent() ? GetParent() : this, folder);
    {
        const NavigationHold hold(tree_.get());
        if (dialog.Execute() != IDOK) return;
    }
    const std::string relative = folder.size() > root_.name.size() ? folder.substr(root_.name.size() + 1) : "";
    const std::uint32_t clusterSize = dialog.GetClusterSize();
    if (!ReplaceFolderContents(root_, relative, std::move(dialog.GetInfo()), clusterSize)) return;
    NoteClusterSize(clusterSize);
    const std::string back = current_;
    ResetView();
    NavigateTo(back, false);
}

void TDiskView::RescanAll() {
    const std::string root = root_.name + '\\';
    if (CanRescan(root)) ScanRoot(root, false, false);
}

// ---- navigation ----

void TDiskView::FollowCurrent(bool selectInTree) {
    if (pie_) pie_->FollowFrame();
    if (selectInTree && tree_) tree_->SelectCurrent();
    UpdateControls();
}

bool TDiskView::NavigateTo(const std::string& path, bool fromTree) {
    current_ = path;
    history_.Go(path);
    FollowCurrent(!fromTree);
    return true;
}

void TDiskView::NavigateByNames(const std::vector<std::string>& names) { NavigateTo(PathFromNames(names), true); }

void TDiskView::GoBack() {
    if (!history_.Back()) return;
    current_ = history_.Current();
    FollowCurrent(true);
}

void TDiskView::GoForward() {
    if (!history_.Forward()) return;
    current_ = history_.Current();
    FollowCurrent(true);
}

void TDiskView::GoParent() {
    if (const auto parent = ParentFolder(root_.name, current_)) NavigateTo(*parent, false);
}

// ---- modes ----

void TDiskView::SetMode(int mode) {
    if (pie_) pie_->SetMode(mode);
    if (controlBar_) controlBar_->SelectMode(pie_ ? pie_->GetMode() : mode);
}

void TDiskView::ChooseModeBoxEntry(unsigned entry) {
    const ModeChoice choice = ChooseModeEntry(static_cast<int>(entry), clusterSize_);
    if (choice.mode) SetMode(*choice.mode);
    if (controlBar_) controlBar_->SelectMode(choice.boxEntry);
}

// ---- commands ----

void TDiskView::ScanDrive(unsigned index) {
    if (index < driveLetters_.size()) ScanRoot(std::string(1, driveLetters_[index]) + ":\\", false, true);
}

void TDiskView::ScanRecentRoot(unsigned index) {
    std::string path = recent_.Entry(static_cast<int>(index));
    if (path.empty()) return;
    if (path.back() != '\\') path += '\\';
    ScanRoot(path, true, true);
}

void TDiskView::AnyFolder() {
    if (const auto folder = BrowseForFolder(Frame(), BrowseStartFolder(current_, firstFixedDrive_)))
        ScanRoot(*folder + '\\', true, true);
}

void TDiskView::Import() {
    if (const auto path = AskDataFileToOpen(Frame())) ImportDataFile(*path);
}

void TDiskView::Export() {
    if (const auto path = AskDataFileToSave(Frame())) model::WriteDataFile(*path, clusterSize_, root_, Frame());
}

void TDiskView::ShowSettings() {
    if (!pie_) return;
    auto* app = dynamic_cast<TMyApp*>(fw::TApplication::Current());
    const bool largeToolbar = app && app->LargeToolbar();
    options::DispOptData data = options::MakeDispOptData(pie_->Settings(), settings_.dialogLook, largeToolbar,
                                                         settings_.autoscan, settings_.autoscanFolder);
    if (options::EditSettings(GetParent() ? GetParent() : this, data)) ApplySettings(data);
}

void TDiskView::ApplySettings(const options::DispOptData& data) {
    options::ApplyDispOptData(data, pie_->Settings());
    settings_.dialogLook = data.dialogLook;
    auto* app = dynamic_cast<TMyApp*>(fw::TApplication::Current());
    if (app && app->LargeToolbar() != data.largeToolbar) app->SetLargeToolbar(data.largeToolbar);
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

void TDiskView::Explore(const std::string& path, ExplorerKind kind) { StartExplorer(Frame(), path, kind); }

void TDiskView::RescanFolder(const std::string& path) { Rescan(path); }

void TDiskView::CopyToClipboard(const std::string& text) { fw::CopyTextToClipboard(Frame(), text); }

void TDiskView::ShowFolderStatus(const std::string& currentPath, const std::string& relativePath,
                                 const model::DirInfo& folder) {
    if (deepBar_) deepBar_->ShowFolder(currentPath, folder, clusterSize_);
    if (shallowBar_) shallowBar_->ShowFolder(relativePath, folder, clusterSize_);
}

void TDiskView::ShowFileStatus(const std::string& currentPath, const std::string& relativePath,
                               const model::FileInfo& file) {
    if (deepBar_) deepBar_->ShowFile(currentPath, file, clusterSize_);
    if (shallowBar_) shallowBar_->ShowFile(relativePath, file, clusterSize_);
}

void TDiskView::BuildCommands() {
    auto always = [](void (TDiskView::*action)(), TDiskView* self) {
        return [action, self](unsigned) { (self->*action)(); };
    };
    auto modeIs = [this](int mode) { return [this, mode](unsigned) { return pie_ && pie_->GetMode() == mode; }; };
    auto clusterKnown = [this](unsigned) { return clusterSize_ != 0; };
    auto explore = [this](ExplorerKind kind) { return [this, kind](unsigned) { Explore(current_, kind); }; };
    auto app = [] { return dynamic_cast<TMyApp*>(fw::TApplication::Current()); };

    commands_.Add({CM_DRIVE_FIRST, 26, [this](unsigned i) { ScanDrive(i); },
                   [this](unsigned i) { return i < driveLetters_.size(); }});
    commands_.Add({CM_RECENT_ROOT_FIRST, MRUPaths::kMaxEntries, [this](unsigned i) { ScanRecentRoot(i); },
                   [this](unsigned i) { return static_cast<int>(i) < recent_.Count(); }});
    commands_.Add({CM_MODE_BOX_FIRST, 3, [this](unsigned i) { ChooseModeBoxEntry(i); }});
    commands_.Add({CM_ANY_FOLDER, 1, always(&TDiskView::AnyFolder, this)});
    commands_.Add({CM_IMPORT, 1, always(&TDiskView::Import, this)});
    commands_.Add({CM_EXPORT, 1, always(&TDiskView::Export, this)});
    commands_.Add({CM_EXIT, 1, [this](unsigned) { PostMessageA(Frame(), WM_CLOSE, 0, 0); }});
    commands_.Add({CM_BACK, 1, always(&TDiskView::GoBack, this), [this](unsigned) { return !history_.BackEmpty(); }});
    commands_.Add({CM_FORWARD, 1, always(&TDiskView::GoForward, this),
                   [this](unsigned) { return !history_.ForwardEmpty(); }});
    commands_.Add({CM_PARENT, 1, always(&TDiskView::GoParent, this),
                   [this](unsigned) { return ParentFolder(root_.name, current_).has_value(); }});
    commands_.Add({CM_RESCAN, 1, [this](unsigned) { Rescan(current_); }});
    commands_.Add({CM_RESCAN_ALL, 1, always(&TDiskView::RescanAll, this)});
    commands_.Add({CM_MODE_LOGICAL, 1, [this](unsigned) { SetMode(model::kLogicalSize); }, {}, modeIs(model::kLogicalSize)});
    commands_.Add({CM_MODE_PHYSICAL, 1, [this](unsigned) { SetMode(model::kPhysicalSize); }, clusterKnown,
                   modeIs(model::kPhysicalSize)});
    commands_.Add({CM_MODE_WASTED, 1, [this](unsigned) { SetMode(model::kWastedSpace); }, clusterKnown,
                   modeIs(model::kWastedSpace)});
    commands_.Add({CM_OPEN_FOLDER, 1, explore(ExplorerKind::kOpen)});
    commands_.Add({CM_EXPLORE_FOLDER, 1, explore(ExplorerKind::kExplore)});
    commands_.Add({CM_EXPLORE_FROM_HERE, 1, explore(ExplorerKind::kRooted)});
    commands_.Add({CM_COPY_NAME, 1, [this](unsigned) { CopyToClipboard(current_); }});
    commands_.Add({CM_SYSTEM_DRIVES, 1, [this, app](unsigned) {
                       if (TMyApp* application = app()) info::ShowSystemDrivesInfo(*GetParent(), application->SysDrivesData());
                   }});
    commands_.Add({CM_HELP_TOPICS, 1, [this](unsigned) { about::ShowHelp(*GetParent(), ""); }});
    commands_.Add({CM_ABOUT, 1, [this](unsigned) { about::ShowAbout(*GetParent()); }});
    commands_.Add({CM_FIND_USERS, 1, [this](unsigned) { fw::ShowMessageBox(Frame(), "N/A", "Kelvaran", MB_OK); }});
    commands_.Add({CM_STATISTICS, 1, [this](unsigned) { info::ShowStatistics(GetParent(), *this); }});
    commands_.Add({CM_HISTOGRAM, 1, [this](unsigned) { info::OpenSizeHistogram(GetParent(), *this); }});
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
                        CM_EXPLORE_FROM_HERE, CM_ANY_FOLDER, CM_IMPORT, CM_EXPORT})
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
