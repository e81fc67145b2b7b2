// The program's start-up target: the command-line argument (a drive, a folder to scan, a data file to
// import) or, without one, the autoscan folder. TMyApp asks DecideStartupTarget once the main window and
// the drive list exist, and acts on the answer.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace frame {

// A quoted drive root such as "C:\" arrives as C:" (the shell takes \" for an escaped quote): a trailing
// double quote becomes the backslash it stood for.
void RepairTrailingQuote(std::string& argument);

enum class PathKind { kMissing, kFolder, kFile };

struct StartupTarget {
    enum class Action {
        kNothing,       // no argument and no autoscan, or a file named with a trailing backslash
        kScan,          // ScanRoot(path), adding it to the recent roots and resetting the history
        kImport,        // import the data file `path`
        kInvalidDrive,  // tell the user `message` (caption "Kelvaran"), scan nothing
        kNotFound,      // likewise
    };
    Action action = Action::kNothing;
    std::string path;     // kScan: a folder ending in a backslash; kImport: the file
    std::string message;  // kInvalidDrive, kNotFound
};

// `driveLetters`: the logical drives' letters (either case); `kindOf` looks a path up in the file system.
StartupTarget DecideStartupTarget(std::string_view commandLinePath, bool autoscan, std::string_view autoscanFolder,
                                  std::string_view driveLetters,
                                  const std::function<PathKind(const std::string&)>& kindOf);

// The data file DecideStartupTarget will import for this command-line path, whatever the drives and the
// autoscan settings, so that it can be read before those are known.
std::optional<std::string> DataFileToImport(std::string_view commandLinePath,
                                            const std::function<PathKind(const std::string&)>& kindOf);

}  // namespace frame
