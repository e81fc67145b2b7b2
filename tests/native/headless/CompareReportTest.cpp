// kelvaran-scan --compare: its command line, the report's lines and the run's exit status on real files.
#include "headless/CompareReport.h"

#include "common/PathTree.h"
#include "headless/HeadlessScan.h"
#include "model/DataFile.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;
using test_support::PathTree;

namespace {

TEST(CompareArguments, ParsesTheFilesAndOptionsOrNamesTheFault) {
    using Action = headless::ParsedCompare::Action;
    struct {
        std::vector<std::string> words;
        Action action;
        std::string earlier, current;
        std::size_t top;
        bool csv;
        std::string error;
    } cases[] = {
        {{"--compare", "old.klv", "new.klv"}, Action::kCompare, "old.klv", "new.klv", 20, false, ""},
        {{"--compare", "a", "b", "--top", "5", "--csv"}, Action::kCompare, "a", "b", 5, true, ""},
        {{"--top=0", "--compare", "a", "b"}, Action::kCompare, "a", "b", 0, false, ""},
        {{"--compare", "--", "-old", "b"}, Action::kCompare, "-old", "b", 20, false, ""},
        {{"--compare", "a", "--help"}, Action::kHelp, "", "", 20, false, ""},
        {{"--compare", "a"}, Action::kBad, "", "", 20, false, "--compare needs two data files, OLD.klv and NEW.klv"},
        {{"--compare", "a", "b", "c"}, Action::kBad, "", "", 20, false, "unexpected argument 'c'"},
        {{"--compare", "a", "b", "--top"}, Action::kBad, "", "", 20, false, "--top needs a value"},
        {{"--compare", "a", "b", "--top", "-1"},
         Action::kBad,
         "",
         "",
         20,
         false,
         "--top: '-1' is not a number of folders from 0 to 100000"},
        {{"--compare", "a", "b", "--top=100001"},
         Action::kBad,
         "",
         "",
         20,
         false,
         "--top: '100001' is not a number of folders from 0 to 100000"},
        {{"--compare", "a", "b", "--threads", "2"},
         Action::kBad,
         "",
         "",
         20,
         false,
         "unknown option '--threads' with --compare"},
        {{"--compare", "", "b"}, Action::kBad, "", "", 20, false, "a data file's name is empty"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.words));
        const auto parsed = headless::ParseCompareArguments(c.words);
        EXPECT_EQ(parsed.action, c.action);
        EXPECT_EQ(parsed.error, c.error);
        if (c.action != Action::kCompare) continue;
        EXPECT_EQ(parsed.options.earlier, c.earlier);
        EXPECT_EQ(parsed.options.current, c.current);
        EXPECT_EQ(parsed.options.top, c.top);
        EXPECT_EQ(parsed.options.csv, c.csv);
    }
    EXPECT_TRUE(headless::IsCompareCommand({"--top", "3", "--compare", "a", "b"}));
    EXPECT_FALSE(headless::IsCompareCommand({"--", "--compare", "x.klv"}));
    EXPECT_FALSE(headless::IsCompareCommand({"root", "out.klv"}));
}

const model::DirInfo kEarlier = PathTree("srv:\\data", {{"www\\index.html", 2000},
                                                        {"www\\img\\a.png", 300000},
                                                        {"logs\\app.log", 5000000},
                                                        {"logs\\old.log", 900000},
                                                        {"tmp\\x", 10},
                                                        {"home\\ann\\notes", 100}});
const model::DirInfo kCurrent = PathTree("srv:\\data", {{"www\\index.html", 2100},
                                                        {"www\\img\\a.png", 300000},
                                                        {"www\\img\\b.png", 2000000},
                                                        {"logs\\app.log", 5500000},
                                                        {"home\\ann\\notes", 40}});

TEST(CompareReport, ListsTheRootThenGrowthThenShrink) {
    const compare::TreeComparison comparison(kCurrent, kEarlier, 0);
    EXPECT_EQ(headless::CompareReportLines(kCurrent, comparison, 20, false),
              (std::vector<std::string>{
                  "      change      earlier      current  path",
                  "     +1.5 MB       5.9 MB       7.4 MB  srv:\\data\\",
                  "Largest growth:",
                  "     +1.9 MB     294.9 KB       2.2 MB  srv:\\data\\www\\",
                  "     +1.9 MB     293.0 KB       2.2 MB  srv:\\data\\www\\img\\",
                  "Largest shrink:",
                  "   -390.6 KB       5.6 MB       5.2 MB  srv:\\data\\logs\\",
                  // tmp\ went as a whole: it counts in the root's change, and is no current folder
                  "   -60 bytes    100 bytes     40 bytes  srv:\\data\\home\\",
                  "   -60 bytes    100 bytes     40 bytes  srv:\\data\\home\\ann\\",
              }));
}

TEST(CompareReport, TabSeparatedRowsCarryExactBytesAndOneLinePaths) {
    model::DirInfo current = kCurrent;
    current.subdirs.emplace_back("new\tline\n").files.emplace_back("f", 7);
    model::RecomputeTotals(current, 0);
    const compare::TreeComparison comparison(current, kEarlier, 0);
    EXPECT_EQ(headless::CompareReportLines(current, comparison, 2, true),
              (std::vector<std::string>{
                  "kind\tchange\tearlier\tcurrent\tpath",
                  "root\t1600037\t6202110\t7802147\tsrv:\\data\\",
                  "growth\t2000100\t302000\t2302100\tsrv:\\data\\www\\",
                  "growth\t2000000\t300000\t2300000\tsrv:\\data\\www\\img\\",
                  "shrink\t-400000\t5900000\t5500000\tsrv:\\data\\logs\\",
                  "shrink\t-60\t100\t40\tsrv:\\data\\home\\",
              }));
}

class CompareRun : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/kelvaran-compare-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        folder_ = pattern;
    }
    void TearDown() override { fs::remove_all(folder_); }

    std::string Write(const std::string& name, const std::string& bytes) {
        const std::string path = (folder_ / name).string();
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }
    std::string WriteTree(const std::string& name, const model::DirInfo& tree) {
        std::string bytes;
        EXPECT_TRUE(model::EncodeDataFile(4096, tree, bytes));
        return Write(name, bytes);
    }
    int Run(const std::vector<std::string>& words) {
        std::FILE* out = std::tmpfile();
        std::FILE* err = std::tmpfile();
        const std::atomic<bool> interrupted{false};
        struct NoSystem final : headless::ScanSystem {
            scan::DirLister& Lister() override { throw std::logic_error("no scan"); }
            headless::ResolvedRoot ResolveRoot(const std::string&) override { throw std::logic_error("no scan"); }
            std::uint32_t DetectClusterSize(const headless::ResolvedRoot&) override { return 0; }
            bool ReplaceTarget(const std::string&, const std::string&) override { return false; }
            bool ErrorStreamIsTerminal() override { return false; }
        } system;
        // Through the scanner's own entry, as the programs call it.
        const int status = headless::RunScan(words, system, interrupted, out, err);
        out_ = Contents(out);
        err_ = Contents(err);
        return status;
    }
    static std::string Contents(std::FILE* file) {
        std::string text;
        std::rewind(file);
        for (int c; (c = std::fgetc(file)) != EOF;) text += static_cast<char>(c);
        std::fclose(file);
        return text;
    }

    fs::path folder_;
    std::string out_, err_;
};

TEST_F(CompareRun, ExitStatusTellsDoneUnreadableAndBadArguments) {
    const std::string earlier = WriteTree("old.klv", kEarlier);
    const std::string current = WriteTree("new.klv", kCurrent);
    const std::string notData = Write("text.klv", "hello, this is not a data file");

    EXPECT_EQ(Run({"--compare", earlier, current, "--top", "1"}), 0);
    EXPECT_EQ(out_,
              "      change      earlier      current  path\n"
              "     +1.5 MB       5.9 MB       7.4 MB  srv:\\data\\\n"
              "Largest growth:\n"
              "     +1.9 MB     294.9 KB       2.2 MB  srv:\\data\\www\\\n"
              "Largest shrink:\n"
              "   -390.6 KB       5.6 MB       5.2 MB  srv:\\data\\logs\\\n");
    EXPECT_EQ(err_, "");

    EXPECT_EQ(Run({"--compare", earlier, (folder_ / "missing.klv").string()}), 1);
    EXPECT_EQ(err_, "kelvaran-scan: Could not open file " + (folder_ / "missing.klv").string() + "\n");
    EXPECT_EQ(out_, "");
    EXPECT_EQ(Run({"--compare", notData, current}), 1);
    EXPECT_EQ(err_, "kelvaran-scan: The specified file is not a valid data file: " + notData + "\n");

    EXPECT_EQ(Run({"--compare", earlier}), 2);
    EXPECT_EQ(err_.rfind("kelvaran-scan: --compare needs two data files", 0), 0u) << err_;
    EXPECT_NE(err_.find("usage: kelvaran-scan"), std::string::npos);
    EXPECT_EQ(out_, "");
}

TEST_F(CompareRun, ADamagedFileIsComparedAsFarAsItWasReadAndSaysSoOnce) {
    std::string bytes;
    ASSERT_TRUE(model::EncodeDataFile(4096, kEarlier, bytes));
    const std::string damaged = Write("damaged.klv", bytes.substr(0, bytes.size() / 2));
    const std::string current = WriteTree("new.klv", kCurrent);
    EXPECT_EQ(Run({"--compare", damaged, current, "--csv"}), 0);
    EXPECT_EQ(err_, "kelvaran-scan: " + damaged + " is damaged; comparing what could be read of it\n");
    EXPECT_EQ(out_.rfind("kind\tchange\tearlier\tcurrent\tpath\nroot\t", 0), 0u) << out_;
}

TEST_F(CompareRun, ADifferentRootIsComparedWithANote) {
    const std::string earlier = WriteTree("old.klv", PathTree("D:", {{"a", 1}}));
    const std::string current = WriteTree("new.klv", PathTree("E:", {{"a", 3}}));
    EXPECT_EQ(Run({"--compare", earlier, current, "--csv", "--top", "0"}), 0);
    EXPECT_EQ(out_, "kind\tchange\tearlier\tcurrent\tpath\nroot\t2\t1\t3\tE:\\\n");
    EXPECT_EQ(err_, "kelvaran-scan: note: the earlier tree's root is D:, the current one's E:\n");
}

}  // namespace
