// "Cluster info": how much the scanned files would use and waste with each cluster size from 512 bytes to
// 64 KB, against the tree's own, in a unit the user picks. The totals are taken once, when the dialog is
// constructed; changing the unit only reformats them. Run modally by the "Cluster info" command:
//
//   info::TClusterDlg(parent, source.Root(), source.ClusterSize()).Execute();
#pragma once

#include "fw/TDialog.h"
#include "fw/TListView.h"
#include "info/ClusterTable.h"

namespace info {

class TClusterDlg : public fw::TDialog {
public:
    TClusterDlg(fw::TWindow* parent, const model::DirInfo& root, std::uint32_t clusterSize);

    const ClusterTable& Table() const noexcept { return table_; }
    int Unit() const noexcept { return unit_; }

protected:
    void SetupWindow() override;
    bool HandleCommand(int id, int notifyCode, HWND control) override;

private:
    void FillRows();

    ClusterTable table_;
    int unit_ = 0;
    fw::TListView list_{this};
};

}  // namespace info
