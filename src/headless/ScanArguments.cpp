// The headless scanner's command line (see ScanArguments.h).
#include "headless/ScanArguments.h"

#include "model/DataFile.h"

#include <charconv>
#include <string_view>

namespace headless {
namespace {

// A decimal number of at most 10 digits with nothing around it ("+5", " 5", "5k" and "" are not).
std::optional<std::uint64_t> Number(std::string_view text) {
    if (text.empty() || text.size() > 10) return std::nullopt;
    std::uint64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc{} || end != text.data() + text.size()) return std::nullopt;
    return value;
}

ParsedArguments Bad(std::string error) {
    ParsedArguments parsed;
    parsed.error = std::move(error);
    return parsed;
}

}  // namespace

ParsedArguments ParseScanArguments(const std::vector<std::string>& words) {
    ParsedArguments parsed;
    ScanOptions& options = parsed.options;
    std::vector<std::string> positional;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < words.size(); ++i) {
        const std::string& word = words[i];
        if (optionsEnded || word.size() < 2 || word[0] != '-') {
            positional.push_back(word);
            continue;
        }
        if (word == "--") {
            optionsEnded = true;
            continue;
        }
        if (word == "-h" || word == "--help") return {ParsedArguments::Action::kHelp, {}, {}};
        if (word == "--version") return {ParsedArguments::Action::kVersion, {}, {}};
        if (word == "-q" || word == "--quiet") {
            options.quiet = true;
            continue;
        }
        std::string name = word;
        std::optional<std::string> value;
        if (const std::size_t equals = word.find('='); equals != std::string::npos && word.starts_with("--")) {
            name = word.substr(0, equals);
            value = word.substr(equals + 1);
        }
        if (name != "--cluster-size" && name != "--threads") return Bad("unknown option '" + word + "'");
        if (!value) {
            if (i + 1 == words.size()) return Bad(name + " needs a value");
            value = words[++i];
        }
        const std::optional<std::uint64_t> number = Number(*value);
        if (name == "--threads") {
            if (!number || *number < 1 || *number > kMaxThreads)
                return Bad("--threads: '" + *value + "' is not a number of workers from 1 to " +
                           std::to_string(kMaxThreads));
            options.threads = static_cast<unsigned>(*number);
        } else {
            const bool valid =
                number &&
                (*number == 0 || (*number <= 65536 && model::IsValidClusterSize(static_cast<std::uint32_t>(*number))));
            if (!valid)
                return Bad("--cluster-size: '" + *value +
                           "' is not a cluster size (512, 1024, 2048, ... 65536 bytes, or 0 for not known)");
            options.clusterSize = static_cast<std::uint32_t>(*number);
        }
    }
    if (positional.empty()) return Bad("missing ROOT and OUTPUT");
    if (positional.size() == 1) return Bad("missing OUTPUT (the data file to write)");
    if (positional.size() > 2) return Bad("unexpected argument '" + positional[2] + "'");
    if (positional[0].empty()) return Bad("ROOT is empty");
    if (positional[1].empty()) return Bad("OUTPUT is empty");
    options.root = positional[0];
    options.output = positional[1];
    parsed.action = ParsedArguments::Action::kScan;
    return parsed;
}

std::string UsageText() {
    return "usage: kelvaran-scan [--cluster-size N] [--threads N] [--quiet] ROOT OUTPUT.klv\n"
           "       kelvaran-scan --compare OLD.klv NEW.klv [--top N] [--csv]\n"
           "\n"
           "Scans the folder or drive ROOT and writes its tree to the data file OUTPUT.klv, which\n"
           "Kelvaran opens (Import, or a double-click on the file). With --compare, prints what\n"
           "changed from OLD.klv to NEW.klv: the root's change, then the N folders (default 20) that\n"
           "grew most and the N that shrank most (--csv: tab-separated, sizes in bytes).\n"
           "\n"
           "  --cluster-size N  allocation unit in bytes: 512, 1024, ... 65536, or 0 for not known\n"
           "                    (default: the cluster size of the volume that holds ROOT)\n"
           "  --threads N       folders read at once, 1 to 64 (default: one per processor, at most 8)\n"
           "  --quiet, -q       no progress and no summary; errors only\n"
           "  --help, -h        this text;  --version  the version\n"
           "\n"
           "Exit status: 0 done, 1 ROOT cannot be read or OUTPUT cannot be written (with --compare: a\n"
           "data file cannot be read), 2 bad arguments, 130 interrupted (OUTPUT is then left as it was).\n";
}

}  // namespace headless
