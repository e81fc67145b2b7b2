// "Statistics": eight top-N queries over the main window's tree (Statistics.h), run when Find is pressed
// over the root or a typed folder, with or without its subfolders; the results in an owner-data list with
// absolute or relative paths, copied to the clipboard, or double-clicked to show that folder in the main
// window. Resizable (TStretchDlg). Run modally by the "Statistics" command:
//
//   info::TStatisticsDlg(parent, source, remembered.stats, ui).Execute();
//
// The dialog reads the tree and never changes it. It copies the remembered choices when constructed and
// gives back the recurse, max-items and absolute-paths fields when destroyed, the query index and the window
// rectangle when it closes.
//
// The rows shown, and every path built from them, belong to the last query that ran: a Find that stops at
// a message leaves the list, and the base path its paths are built on, as they were. The rows point into
// the tree, so the dialog watches it while open: when records go, the list goes with them.
#pragma once

#include "fw/Interaction.h"
#include "fw/TListView.h"
#include "info/DialogData.h"
#include "info/Statistics.h"
#include "info/TStretchDlg.h"
#include "info/TreeSource.h"

namespace info {

class TStatisticsDlg : public TStretchDlg, public model::DocumentObserver {
public:
    // `ui` shows the refusals of Find and the help.
    TStatisticsDlg(fw::TWindow* parent, TreeSource& source, StatsChoices& remembered, fw::Interaction ui = {});
    ~TStatisticsDlg() override;

    const StatResults& Results() const noexcept { return results_; }

    // Runs the query as Find does (also for Enter: the dialog's default button never closes it).
    void Find();
    // The rows and their paths are dropped; the list is empty until the next Find.
    void TreeReplaced() override;

protected:
    void SetupWindow() override;
    void CleanupWindow() override;
    bool HandleCommand(int id, int notifyCode, HWND control) override;

private:
    std::string CellText(int row, int column) const;
    void Show(StatResults results);
    void CopySelection();
    void NavigateToRow(int row);
    void UpdateCopyButton() noexcept;
    bool IsChecked(int id) const noexcept;
    void Fail(StatsProblem problem, int focus);

    TreeSource& source_;
    StatsChoices& remembered_;
    fw::Interaction ui_;
    int query_;
    bool recurse_;
    int maxItems_;
    bool absolute_;
    StatResults results_;
    fw::TListView list_{this};
};

}  // namespace info
