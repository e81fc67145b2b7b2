// kelvaran-scan --compare OLD.klv NEW.klv [--top N] [--csv]: what changed between two data files of one
// root, for a nightly job on a server. The command line, the report's lines and the run are apart from the
// system, so tests call them on temporary files. RunScan hands over when the words ask for a comparison.
//
// Report (standard output): the root's change, then the N folders (default 20) that grew most, then the N
// that shrank most, one per line: signed change, earlier size, current size, path (logical sizes). With
// --csv the same rows tab-separated, sizes in bytes, under a header, a first column naming the row's kind.
// A tab, carriage return or line feed inside a path is written as a space, so that every row stays one line.
#pragma once

#include "compare/TreeComparison.h"

#include <cstddef>
#include <cstdio>
#include <string>
#include <vector>

namespace headless {

struct CompareOptions {
    std::string earlier;
    std::string current;
    std::size_t top = 20;
    bool csv = false;
};

struct ParsedCompare {
    enum class Action { kCompare, kHelp, kBad };
    Action action = Action::kBad;
    CompareOptions options;
    std::string error;  // kBad: one line naming the argument at fault
};

inline constexpr std::size_t kMaxTop = 100000;

// Whether the words ask for a comparison ("--compare" before any "--").
bool IsCompareCommand(const std::vector<std::string>& words);
ParsedCompare ParseCompareArguments(const std::vector<std::string>& words);

// The lines of the report, each without its line break.
std::vector<std::string> CompareReportLines(const model::DirInfo& current, const compare::TreeComparison& comparison,
                                            std::size_t top, bool csv);

// The whole run: 0 done, 1 a file cannot be read (or is no data file), 2 bad arguments (with the usage).
// A damaged file is compared as far as it was read, and says so once on `err`.
int RunCompare(const std::vector<std::string>& words, std::FILE* out, std::FILE* err);

}  // namespace headless
