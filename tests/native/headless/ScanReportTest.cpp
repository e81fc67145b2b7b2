// The headless scanner's progress and summary lines.
#include "headless/ScanReport.h"

#include <gtest/gtest.h>

namespace {

TEST(ScanReport, ElapsedTimeTruncatesToSecondsAndShowsHoursFromOneHourOn) {
    const std::pair<double, const char*> cases[] = {
        {0, "0:00"},       {0.999, "0:00"},   {59.9, "0:59"},      {60, "1:00"},
        {3599.5, "59:59"}, {3600, "1:00:00"}, {36061, "10:01:01"}, {-1, "0:00"},
    };
    for (const auto& [seconds, text] : cases) EXPECT_EQ(headless::ElapsedText(seconds), text) << seconds;
}

TEST(ScanReport, ProgressAndSummaryUseTheProgramsNumberTexts) {
    EXPECT_EQ(headless::ProgressLine({1234, 56789, 1288490189}, 65.2),
              "folders 1,234  files 56,789  bytes 1.2 GB  elapsed 1:05");
    EXPECT_EQ(headless::SummaryLine({"srv01:\\srv", 2, 3, 5000, 12288, 4096, 0.24, "out.klv"}),
              "scanned srv01:\\srv in 0.2 s: 2 folders, 3 files, 4.9 KB (12.0 KB allocated in 4096-byte "
              "clusters); written to out.klv");
    EXPECT_EQ(headless::SummaryLine({"C:", 0, 1, 999, 0, 0, 61, "c.klv"}),
              "scanned C: in 61.0 s: 0 folders, 1 files, 999 bytes (cluster size not known); written to c.klv");
}

}  // namespace
