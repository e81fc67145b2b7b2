#include "info/TClusterDlg.h"

#include "resource.h"

namespace info {

TClusterDlg::TClusterDlg(fw::TWindow* parent, const model::DirInfo& root, std::uint32_t clusterSize)
    : TDialog(parent, IDD_CLUSTER_INFO), table_(ComputeClusterTable(root, clusterSize)) {}

void TClusterDlg::SetupWindow() {
    TDialog::SetupWindow();
    list_.AttachItem(GetHandle(), IDC_CLUSTER_LIST);
    const struct {
        const char* header;
        int width, format;
    } columns[] = {{"Cur", 30, LVCFMT_LEFT},
                   {"Cluster", 50, LVCFMT_RIGHT},
                   {"Used space", 100, LVCFMT_RIGHT},
                   {"Wasted space", 100, LVCFMT_RIGHT},
                   {"Difference", 100, LVCFMT_RIGHT}};
    for (int i = 0; i < 5; ++i) list_.InsertColumn(i, columns[i].header, columns[i].width, columns[i].format);
    HWND units = Item(IDC_CLUSTER_UNITS);
    for (int unit = 0; unit < kClusterUnits; ++unit)
        SendMessageA(units, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(ClusterUnitName(unit)));
    SendMessageA(units, CB_SETCURSEL, static_cast<WPARAM>(unit_), 0);
    FillRows();
}

void TClusterDlg::FillRows() {
    list_.SetRedraw(false);
    list_.DeleteAllRows();
    for (int row = 0; row < kClusterRows; ++row) {
        const ClusterRowText text = FormatClusterRow(table_, row, unit_);
        const int item = list_.AppendRow(text.current);
        list_.SetCellText(item, 1, text.cluster);
        list_.SetCellText(item, 2, text.used);
        list_.SetCellText(item, 3, text.wasted);
        list_.SetCellText(item, 4, text.difference);
    }
    list_.SetRedraw(true);
}

bool TClusterDlg::HandleCommand(int id, int notifyCode, HWND control) {
    if (id == IDC_CLUSTER_UNITS && notifyCode == CBN_SELCHANGE) {
        const auto selected = static_cast<int>(SendMessageA(Item(IDC_CLUSTER_UNITS), CB_GETCURSEL, 0, 0));
        if (selected >= 0 && selected < kClusterUnits) {
            unit_ = selected;
            FillRows();
        }
        return true;
    }
    return TDialog::HandleCommand(id, notifyCode, control);
}

}  // namespace info
