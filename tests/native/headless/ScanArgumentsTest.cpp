// The headless scanner's command line: what each form of the words means, and that every bad argument is
// refused with a message that names it.
#include "headless/ScanArguments.h"

#include <gtest/gtest.h>

using headless::ParsedArguments;
using headless::ParseScanArguments;
using Action = ParsedArguments::Action;
using Words = std::vector<std::string>;

namespace {

struct Good {
    Words words;
    std::optional<std::uint32_t> clusterSize;
    unsigned threads;
    bool quiet;
    std::string root, output;
};

TEST(ScanArguments, AcceptsOptionsAnywhereBeforeTheEndMarker) {
    const Good cases[] = {
        {{"/srv/data", "out.klv"}, std::nullopt, 0, false, "/srv/data", "out.klv"},
        {{"--cluster-size", "4096", "C:\\", "c.klv"}, 4096u, 0, false, "C:\\", "c.klv"},
        {{"--cluster-size=65536", "r", "o"}, 65536u, 0, false, "r", "o"},
        {{"--cluster-size", "0", "r", "o"}, 0u, 0, false, "r", "o"},
        {{"r", "--threads", "8", "o", "--quiet"}, std::nullopt, 8, true, "r", "o"},
        {{"--threads=1", "-q", "r", "o"}, std::nullopt, 1, true, "r", "o"},
        {{"--threads", "2", "--threads", "3", "r", "o"}, std::nullopt, 3, false, "r", "o"},
        // After "--" and for a lone "-", words are paths even when they look like options.
        {{"--", "--quiet", "-o.klv"}, std::nullopt, 0, false, "--quiet", "-o.klv"},
        {{"-", "out"}, std::nullopt, 0, false, "-", "out"},
        {{"日本 data", "données.klv"}, std::nullopt, 0, false, "日本 data", "données.klv"},
    };
    for (const Good& c : cases) {
        const ParsedArguments parsed = ParseScanArguments(c.words);
        SCOPED_TRACE(c.words.front());
        ASSERT_EQ(parsed.action, Action::kScan) << parsed.error;
        EXPECT_EQ(parsed.options.clusterSize, c.clusterSize);
        EXPECT_EQ(parsed.options.threads, c.threads);
        EXPECT_EQ(parsed.options.quiet, c.quiet);
        EXPECT_EQ(parsed.options.root, c.root);
        EXPECT_EQ(parsed.options.output, c.output);
    }
}

TEST(ScanArguments, HelpAndVersionWinOverEverythingBeforeThem) {
    EXPECT_EQ(ParseScanArguments({"--help"}).action, Action::kHelp);
    EXPECT_EQ(ParseScanArguments({"r", "-h"}).action, Action::kHelp);
    EXPECT_EQ(ParseScanArguments({"--version", "--bogus"}).action, Action::kVersion);
    EXPECT_EQ(ParseScanArguments({"--", "--help", "o"}).action, Action::kScan);
}

TEST(ScanArguments, RefusesBadArgumentsNamingThem) {
    const std::pair<Words, std::string> cases[] = {
        {{}, "missing ROOT and OUTPUT"},
        {{"/srv"}, "missing OUTPUT"},
        {{"a", "b", "c"}, "unexpected argument 'c'"},
        {{"--bogus", "r", "o"}, "unknown option '--bogus'"},
        {{"-x", "r", "o"}, "unknown option '-x'"},
        {{"--quiet=1", "r", "o"}, "unknown option '--quiet=1'"},
        {{"r", "o", "--threads"}, "--threads needs a value"},
        {{"r", "o", "--cluster-size"}, "--cluster-size needs a value"},
        {{"--threads", "0", "r", "o"}, "--threads: '0'"},
        {{"--threads", "65", "r", "o"}, "--threads: '65'"},
        {{"--threads", "four", "r", "o"}, "--threads: 'four'"},
        {{"--threads", "-1", "r", "o"}, "--threads: '-1'"},
        {{"--threads=", "r", "o"}, "--threads: ''"},
        {{"--cluster-size", "3000", "r", "o"}, "--cluster-size: '3000'"},
        {{"--cluster-size", "256", "r", "o"}, "--cluster-size: '256'"},
        {{"--cluster-size", "131072", "r", "o"}, "--cluster-size: '131072'"},
        // Wraps to 512 in 32 bits: must not pass for it.
        {{"--cluster-size", "4294967808", "r", "o"}, "--cluster-size: '4294967808'"},
        {{"--cluster-size", "4k", "r", "o"}, "--cluster-size: '4k'"},
        {{"--cluster-size", " 4096", "r", "o"}, "--cluster-size: ' 4096'"},
        {{"", "o"}, "ROOT is empty"},
        {{"r", ""}, "OUTPUT is empty"},
    };
    for (const auto& [words, expected] : cases) {
        const ParsedArguments parsed = ParseScanArguments(words);
        EXPECT_EQ(parsed.action, Action::kBad) << expected;
        EXPECT_NE(parsed.error.find(expected), std::string::npos) << "got: " << parsed.error;
    }
}

TEST(ScanArguments, UsageNamesEveryOptionAndTheExitStatuses) {
    const std::string usage = headless::UsageText();
    for (const char* part : {"usage: kelvaran-scan", "--cluster-size N", "--threads N", "--quiet", "ROOT", "OUTPUT.klv",
                             "0 done", "1 ROOT cannot be read", "2 bad arguments", "130 interrupted"})
        EXPECT_NE(usage.find(part), std::string::npos) << part;
    EXPECT_EQ(usage.back(), '\n');
}

}  // namespace
