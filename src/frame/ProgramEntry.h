// The program's entry steps, apart from main() so that tests run them with fakes for the library check,
// the application and the message boxes:
//
//   int main(int argc, char** argv) { return frame::ProgramEntry(argc, argv, frame::SystemEntrySeams()); }
//
// Order: the command-line repair, its data file read ahead, COM, the registered scan message, the common
// controls check (failing it ends with 0), the application run. An exception that escapes the run is shown in the
// "Exception Caught!  oopsie..." box, and the result is then 0.
#pragma once

#include "frame/CommonControls.h"

#include <functional>
#include <string>

namespace frame {

struct EntrySeams {
    std::function<CommonControlsLibrary()> loadCommonControls;
    std::function<int(const std::string& commandLinePath)> runApplication;
    fw::Interaction ui;  // the library check's and the escaped exception's boxes
    // Given the repaired path first of all, so that a data file it names is read while the program starts.
    std::function<void(const std::string& commandLinePath)> readAhead;
};

// The real library, TMyApp and the system's boxes.
EntrySeams SystemEntrySeams();

int ProgramEntry(int argc, char** argv, const EntrySeams& seams);

}  // namespace frame
