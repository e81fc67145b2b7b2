// The command line of the headless scanner, kelvaran-scan:
//   kelvaran-scan [--cluster-size N] [--threads N] [--quiet] ROOT OUTPUT.klv
// parsed apart from the program so every answer, and every message naming a bad argument, is a pure
// function of the words. Options may stand anywhere before "--"; "--name=value" works as "--name value".
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace headless {

// Walk workers are capped: past a few dozen a disk gains nothing and every worker holds a listing open.
inline constexpr unsigned kMaxThreads = 64;

struct ScanOptions {
    std::optional<std::uint32_t> clusterSize;  // given on the command line (0: not known); else detected
    unsigned threads = 0;                      // 0: the walk's default
    bool quiet = false;
    std::string root;
    std::string output;
};

struct ParsedArguments {
    enum class Action { kScan, kHelp, kVersion, kBad };
    Action action = Action::kBad;
    ScanOptions options;
    std::string error;  // kBad: one line naming the argument at fault
};

// `words`: the arguments after the program name, UTF-8.
ParsedArguments ParseScanArguments(const std::vector<std::string>& words);

// The usage text for --help and after a bad argument (several lines, ending in a newline).
std::string UsageText();

}  // namespace headless
