// The application object: builds the main frame (caption, icon, menu, accelerators, status line) and
// prepares it for the user once it exists.
#pragma once

#include "fw/TApplication.h"
#include "info/SysDrives.h"

#include <string>

namespace frame {

class TMyApp : public fw::TApplication {
public:
    explicit TMyApp(std::string commandLinePath);

    const std::string& CommandLinePath() const noexcept { return commandLinePath_; }

    // The system drives dialog's placement, read when the main window is built and written at close.
    info::SysDrivesDlgData& SysDrivesData() noexcept { return sysDrivesData_; }

    bool CanClose() override;

protected:
    void InitMainWindow() override;
    void InitInstance() override;

private:
    std::string commandLinePath_;
    info::SysDrivesDlgData sysDrivesData_;
};

}  // namespace frame
