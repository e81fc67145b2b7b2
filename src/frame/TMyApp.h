// The application object: builds the main window (frame, tool bar, status bars, remembered placement and
// dialog data), prepares it once it exists (drives in the path box and the Root menu, the mode box, the
// start-up target) and writes the window placement, the tool bar size and the dialog data when the user
// closes it.
#pragma once

#include "fw/Interaction.h"
#include "fw/TApplication.h"

#include <string>

namespace model {
class DataFileReadAhead;
}

namespace frame {

class TMainFrame;

class TMyApp : public fw::TApplication {
public:
    // Every message box, the help and the links of the program go through `ui`. `startupFile`, when given,
    // may hold the command line's data file read ahead (it must outlive the application).
    explicit TMyApp(std::string commandLinePath, fw::Interaction ui = {},
                    model::DataFileReadAhead* startupFile = nullptr);

    const std::string& CommandLinePath() const noexcept { return commandLinePath_; }

    bool LargeToolbar() const noexcept { return largeToolbar_; }
    // Switches the tool bar's button size at once (the settings dialog).
    void SetLargeToolbar(bool large);

    // Writes "MainWndState", "LargeToolbar" and the dialog data.
    bool CanClose() override;

protected:
    void InitMainWindow() override;
    void InitInstance() override;
    // Tab and Shift+Tab in the main window move the focus among its panes.
    bool PreTranslateMessage(MSG& msg) override;

private:
    TMainFrame& Frame() const;
    void ListDrives();

    std::string commandLinePath_;
    fw::Interaction ui_;
    model::DataFileReadAhead* startupFile_;
    bool largeToolbar_ = false;
};

}  // namespace frame
