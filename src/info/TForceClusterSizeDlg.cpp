#include "info/TForceClusterSizeDlg.h"

#include "info/ClusterTable.h"
#include "resource.h"

namespace info {

TForceClusterSizeDlg::TForceClusterSizeDlg(fw::TWindow* parent, std::uint32_t currentClusterSize)
    : TDialog(parent, IDD_SET_CLUSTER_SIZE), current_(currentClusterSize),
      chosen_(ClusterRowOf(currentClusterSize) >= 0 ? currentClusterSize : 0) {}

void TForceClusterSizeDlg::SetupWindow() {
    TDialog::SetupWindow();
    HWND list = Item(IDC_SET_CLUSTER_SIZE);
    const struct {
        const char* text;
        std::uint32_t size;
    } entries[] = {{"N/A", 0},     {"512 bytes", 512}, {"1 KB", 1024},   {"2 KB", 2048},  {"4 KB", 4096},
                   {"8 KB", 8192}, {"16 KB", 16384},   {"32 KB", 32768}, {"64 KB", 65536}};
    int selected = 0;
    for (const auto& entry : entries) {
        const auto index = SendMessageA(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry.text));
        SendMessageA(list, CB_SETITEMDATA, static_cast<WPARAM>(index), entry.size);
        if (entry.size == chosen_) selected = static_cast<int>(index);
    }
    SendMessageA(list, CB_SETCURSEL, static_cast<WPARAM>(selected), 0);
}

bool TForceClusterSizeDlg::HandleCommand(int id, int notifyCode, HWND control) {
    if (id == IDOK) {
        HWND list = Item(IDC_SET_CLUSTER_SIZE);
        const LRESULT selected = SendMessageA(list, CB_GETCURSEL, 0, 0);
        // With nothing selected the list's error value must not become a cluster size.
        chosen_ =
            selected == CB_ERR
                ? current_
                : static_cast<std::uint32_t>(SendMessageA(list, CB_GETITEMDATA, static_cast<WPARAM>(selected), 0));
    }
    return TDialog::HandleCommand(id, notifyCode, control);
}

}  // namespace info
