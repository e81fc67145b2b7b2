#include "frame/ProgramEntry.h"

#include "frame/CommandLine.h"
#include "frame/ShellItems.h"
#include "frame/TMyApp.h"
#include "fw/ComInit.h"
#include "fw/PendingException.h"
#include "model/DataFileReadAhead.h"

#include <windows.h>

#include <exception>
#include <memory>
#include <utility>

namespace frame {
namespace {
void ShowException(const fw::Interaction& ui, const std::string& text) {
    // The exception may have ended a loop that left its quit request behind (a start-up scan, a modal
    // dialog): the box would read it and vanish before the user saw it.
    fw::DiscardQuitRequest();
    ui.ShowMessage(nullptr, text, "Exception Caught!  oopsie...", MB_OK | MB_ICONSTOP);
}
}  // namespace

EntrySeams SystemEntrySeams() {
    // Shared by the two steps; whichever goes last waits for a read nobody took.
    auto startupFile = std::make_shared<model::DataFileReadAhead>();
    return {&LoadCommonControls,
            [startupFile](const std::string& path) {
                TMyApp app(path, {}, startupFile.get());
                return app.Run();
            },
            {},
            [startupFile](const std::string& path) {
                if (auto file = DataFileToImport(path, &KindOnDisk)) startupFile->Start(std::move(*file));
            }};
}

int ProgramEntry(int argc, char** argv, const EntrySeams& seams) {
    std::string path;
    if (argc > 1) {
        path = argv[1];
        RepairTrailingQuote(path);
    }
    if (seams.readAhead) seams.readAhead(path);

    fw::COMInit com;
    // Registered before any window exists, so every window of the run agrees on the number.
    RegisterWindowMessageA("THREAD_END_MSG");
    if (!CheckCommonControls(seams.loadCommonControls(), seams.ui)) return 0;

    try {
        return seams.runApplication(path);
    } catch (const std::exception& error) {
        ShowException(seams.ui, error.what());
    } catch (...) {
        ShowException(seams.ui, "Unknown exception");
    }
    return 0;
}

}  // namespace frame
