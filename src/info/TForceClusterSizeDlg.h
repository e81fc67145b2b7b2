// "Set Cluster Size": the user overrides the tree's cluster size with one of 512 bytes to 64 KB, or
// declares it unknown ("N/A"). Run modally; after OK the command reads ChosenSize() and hands it to the
// main window (ApplyClusterSize in TreeSource.h). OK with no entry selected keeps the current size.
#pragma once

#include "fw/TDialog.h"

#include <cstdint>

namespace info {

class TForceClusterSizeDlg : public fw::TDialog {
public:
    TForceClusterSizeDlg(fw::TWindow* parent, std::uint32_t currentClusterSize);

    // The current size when it is one the dialog offers, else 0 (unknown); after OK the user's choice.
    std::uint32_t ChosenSize() const noexcept { return chosen_; }

protected:
    void SetupWindow() override;
    bool HandleCommand(int id, int notifyCode, HWND control) override;

private:
    std::uint32_t current_;
    std::uint32_t chosen_;
};

}  // namespace info
