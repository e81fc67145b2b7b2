// "File Types": the kinds of files in the root or the current folder, with or without its subfolders, in
// an owner-data list (the type's colour in the pie, the type, bytes, allocated bytes, share, files),
// sorted by a click on any column's header; Copy puts the selected rows on the clipboard as tab-separated
// text; a double-click or Enter shows the type's files in the pie (the rest faded), and selecting no row
// ends that. Resizable (TStretchDlg) and modeless: it stays open while the user moves about the tree, and
// counts again when the current folder or the tree changes. Opened by the command's entry point:
//
//   info::ShowFileTypes(dialog, parent, source, remembered.fileTypes, ui);   // InfoCommands.h
//
// Counting runs a slice of files per timer tick on the window's thread, so a tree of millions of files
// never stops the window, and the tree cannot change in the middle of a slice. The walk of a count holds
// pointers into the tree and goes when the tree changes; the rows shown hold none. Closing the dialog ends
// the highlight it started. Its place and choices go into `remembered` as they change.
#pragma once

#include "fw/Interaction.h"
#include "fw/TListView.h"
#include "fw/Timer.h"
#include "info/DialogData.h"
#include "info/FileTypeList.h"
#include "info/TStretchDlg.h"
#include "info/TreeSource.h"

#include <memory>
#include <optional>
#include <set>
#include <string>

namespace info {

class TFileTypesDlg : public TStretchDlg, public model::DocumentObserver {
public:
    TFileTypesDlg(fw::TWindow* parent, TreeSource& source, FileTypesChoices& remembered, fw::Interaction ui = {});
    ~TFileTypesDlg() override;

    // The rows of the last finished count, in the order shown.
    const TypeList& List() const noexcept { return list_; }
    // True while a count is under way (the list still shows the previous one).
    bool Counting() const noexcept { return counting_; }
    // The type the dialog asked the pie to highlight, if any.
    const std::optional<std::string>& Highlighted() const noexcept { return highlighted_; }

    // The walk goes with the tree's records; counting starts again on the new tree.
    void TreeReplaced() override;
    // The current folder scope follows the main window.
    void CurrentFolderChanged() override;

protected:
    void SetupWindow() override;
    void CleanupWindow() override;
    bool HandleCommand(int id, int notifyCode, HWND control) override;
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    // Drops the count under way and starts another of the scope as the dialog shows it now.
    void Restart();
    // One slice of the count; the list once it is complete.
    void Count();
    void Show(TypeList list);
    using TypeSet = std::set<std::string, std::less<>>;
    // The types selected in the list, and the highlighted one.
    TypeSet SelectedTypes() const;
    // The list's rows again in the current order, the rows of `keep` selected.
    void Refill(const TypeSet& keep);
    void UpdateScopeLine();
    void UpdateCopyButton() noexcept;
    void OnSelectionChanged();
    void Highlight(int row);
    void CopySelection();
    void SortBy(int column);
    void ShowSortArrow() noexcept;
    LRESULT DrawSwatches(NMLVCUSTOMDRAW& draw) noexcept;
    void Remember() noexcept;
    bool IsChecked(int id) const noexcept;

    TreeSource& source_;
    FileTypesChoices& remembered_;
    fw::Interaction ui_;
    TypeSort sort_;
    TypeList list_;
    std::optional<std::string> highlighted_;
    std::unique_ptr<model::TypeTableWalk> walk_;
    bool counting_ = false;
    bool countingWholeTree_ = false;  // the count under way is of the root and all below it
    std::string scopePath_;           // the folder of the count under way or shown
    bool scopeRecurse_ = true;
    std::uint32_t countedCluster_ = 0;
    bool filling_ = false;  // selection changes while the list is refilled are not the user's
    bool placed_ = false;   // set up and where it belongs: moves from now on are remembered
    fw::TListView listView_{this};
    fw::WindowTimer timer_;
};

}  // namespace info
