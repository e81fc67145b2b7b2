// kelvaran-scan --compare (see CompareReport.h).
#include "headless/CompareReport.h"

#include "compare/ChangeRanking.h"
#include "headless/ScanArguments.h"
#include "model/AsciiCase.h"
#include "model/DataFile.h"
#include "model/SizeText.h"

#include <charconv>

namespace headless {
namespace {

void Message(std::FILE* err, const std::string& text) {
    std::fprintf(err, "kelvaran-scan: %s\n", text.c_str());
    std::fflush(err);
}

ParsedCompare Bad(std::string error) {
    ParsedCompare parsed;
    parsed.error = std::move(error);
    return parsed;
}

std::string OneLine(std::string path) {
    for (char& c : path)
        if (c == '\t' || c == '\r' || c == '\n') c = ' ';
    return path;
}

std::string PadLeft(const std::string& text, std::size_t width) {
    return text.size() >= width ? text : std::string(width - text.size(), ' ') + text;
}

// Exact bytes with their sign, for the tab-separated rows.
std::string SignedBytes(compare::SizeChange change) {
    // Appended rather than prefixed: GCC 12 takes `"-" + text` for an overlapping copy (-Wrestrict).
    std::string signedBytes = change.shrunk ? "-" : "";
    return signedBytes += std::to_string(change.amount);
}

std::string Row(const char* kind, compare::SizeChange change, std::uint64_t then, std::uint64_t now,
                const std::string& path, bool csv) {
    if (csv)
        return std::string(kind) + '\t' + SignedBytes(change) + '\t' + std::to_string(then) + '\t' +
               std::to_string(now) + '\t' + OneLine(path);
    return PadLeft(compare::FormatChange(change), 12) + PadLeft(model::FormatSize(then), 13) +
           PadLeft(model::FormatSize(now), 13) + "  " + OneLine(path);
}

}  // namespace

bool IsCompareCommand(const std::vector<std::string>& words) {
    for (const std::string& word : words) {
        if (word == "--") return false;
        if (word == "--compare") return true;
    }
    return false;
}

ParsedCompare ParseCompareArguments(const std::vector<std::string>& words) {
    ParsedCompare parsed;
    std::vector<std::string> files;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < words.size(); ++i) {
        const std::string& word = words[i];
        if (optionsEnded || word.size() < 2 || word[0] != '-') {
            files.push_back(word);
            continue;
        }
        if (word == "--") {
            optionsEnded = true;
        } else if (word == "--compare") {
            // The files follow as plain words.
        } else if (word == "--csv") {
            parsed.options.csv = true;
        } else if (word == "-h" || word == "--help") {
            parsed.action = ParsedCompare::Action::kHelp;
            return parsed;
        } else if (word == "--top" || word.starts_with("--top=")) {
            std::string value;
            if (word == "--top") {
                if (i + 1 == words.size()) return Bad("--top needs a value");
                value = words[++i];
            } else {
                value = word.substr(6);
            }
            std::size_t top = 0;
            const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), top);
            if (value.empty() || error != std::errc{} || end != value.data() + value.size() || top > kMaxTop)
                return Bad("--top: '" + value + "' is not a number of folders from 0 to " + std::to_string(kMaxTop));
            parsed.options.top = top;
        } else {
            return Bad("unknown option '" + word + "' with --compare");
        }
    }
    if (files.size() < 2) return Bad("--compare needs two data files, OLD.klv and NEW.klv");
    if (files.size() > 2) return Bad("unexpected argument '" + files[2] + "'");
    if (files[0].empty() || files[1].empty()) return Bad("a data file's name is empty");
    parsed.options.earlier = files[0];
    parsed.options.current = files[1];
    parsed.action = ParsedCompare::Action::kCompare;
    return parsed;
}

std::vector<std::string> CompareReportLines(const model::DirInfo& current, const compare::TreeComparison& comparison,
                                            std::size_t top, bool csv) {
    std::vector<std::string> lines;
    lines.push_back(csv ? "kind\tchange\tearlier\tcurrent\tpath"
                        : PadLeft("change", 12) + PadLeft("earlier", 13) + PadLeft("current", 13) + "  path");
    const std::uint64_t then = comparison.Folder(0).earlierSize;
    lines.push_back(Row("root", compare::SizeChange::Between(then, current.deepSize), then, current.deepSize,
                        current.name + "\\", csv));
    const struct {
        compare::Ranking ranking;
        const char* kind;
        const char* heading;
    } sections[] = {{compare::Ranking::kGrowth, "growth", "Largest growth:"},
                    {compare::Ranking::kShrink, "shrink", "Largest shrink:"}};
    for (const auto& section : sections) {
        const auto items = compare::Rank(current, comparison, {section.ranking, top, true});
        if (!csv) lines.push_back(section.heading);
        for (const compare::RankedItem& item : items)
            lines.push_back(Row(section.kind, item.change, item.then, item.now, item.path, csv));
    }
    return lines;
}

int RunCompare(const std::vector<std::string>& words, std::FILE* out, std::FILE* err) {
    const ParsedCompare parsed = ParseCompareArguments(words);
    if (parsed.action == ParsedCompare::Action::kHelp) {
        std::fputs(UsageText().c_str(), out);
        return 0;
    }
    if (parsed.action == ParsedCompare::Action::kBad) {
        Message(err, parsed.error);
        std::fputs("\n", err);
        std::fputs(UsageText().c_str(), err);
        return 2;
    }
    const CompareOptions& options = parsed.options;
    model::DirInfo trees[2];
    std::uint32_t clusters[2] = {0, 0};
    const std::string* names[2] = {&options.earlier, &options.current};
    for (int i = 0; i < 2; ++i) {
        std::string failure;
        const model::DecodeResult result =
            model::ReadDataFileWhole(*names[i], trees[i], clusters[i],
                                     [&failure](const std::string& text) { failure = text; });
        if (result == model::DecodeResult::kNotDataFile) {
            // The reader's texts are the program's box texts: one line here.
            for (std::size_t at; (at = failure.find("\r\n\r\n")) != std::string::npos;) failure.replace(at, 4, ": ");
            Message(err, failure);
            return 1;
        }
        if (result == model::DecodeResult::kDamaged)
            Message(err, *names[i] + " is damaged; comparing what could be read of it");
    }
    if (!model::EqualIgnoringAsciiCase(trees[0].name, trees[1].name))
        Message(err, "note: the earlier tree's root is " + trees[0].name + ", the current one's " + trees[1].name);
    model::RecomputeTotals(trees[1], clusters[1]);
    const compare::TreeComparison comparison(trees[1], std::move(trees[0]), clusters[0]);
    for (const std::string& line : CompareReportLines(trees[1], comparison, options.top, options.csv))
        std::fprintf(out, "%s\n", line.c_str());
    std::fflush(out);
    return 0;
}

}  // namespace headless
