// Entry point: COM, the common controls check, the command-line repair, then the application runs. An
// exception that escapes the application is shown here, outside every window procedure.
#include "frame/CommandLine.h"
#include "frame/CommonControls.h"
#include "frame/TMyApp.h"
#include "fw/ComInit.h"
#include "fw/MessageBox.h"
#include "model/OutOfMemory.h"

#include <exception>
#include <string>

int main(int argc, char** argv) {
    model::InstallOutOfMemoryHandler();
    fw::COMInit com;
    if (!frame::CheckCommonControls()) return 0;

    std::string path;
    if (argc > 1) {
        path = argv[1];
        frame::RepairTrailingQuote(path);
    }
    try {
        frame::TMyApp app(path);
        return app.Run();
    } catch (const std::exception& error) {
        fw::ShowMessageBox(nullptr, error.what(), "Exception Caught!  oopsie...", MB_OK | MB_ICONSTOP);
    } catch (...) {
        fw::ShowMessageBox(nullptr, "Unknown exception", "Exception Caught!  oopsie...", MB_OK | MB_ICONSTOP);
    }
    return 0;
}
