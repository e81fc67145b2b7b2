// The progress dialog's arithmetic and texts.
#include "scan/ScanProgress.h"

#include <gtest/gtest.h>

TEST(ScanProgress, FiftyGigabytesUsedGiveThousandStepsOfFiftyMillionBytes) {
    const auto plan = scan::PlanProgress(50'000'000'000ull);
    EXPECT_TRUE(plan.enabled);
    EXPECT_EQ(plan.rangeMax, 1000);
    EXPECT_EQ(plan.divisor, 50'000'000u);
    EXPECT_EQ(scan::ProgressPosition(25'000'000'000ull, plan.divisor), 500);
    EXPECT_EQ(scan::ProgressPosition(49'999'999ull, plan.divisor), 0) << "integer division";
    EXPECT_EQ(scan::ProgressPosition(60'000'000'000ull, plan.divisor), 1200) << "not clamped to the range";
}

TEST(ScanProgress, SmallDrivesUseTheByteCountItself) {
    const auto plan = scan::PlanProgress(40'000);
    EXPECT_TRUE(plan.enabled);
    EXPECT_EQ(plan.rangeMax, 40000);
    EXPECT_EQ(plan.divisor, 0u);
    EXPECT_EQ(scan::ProgressPosition(12'345, plan.divisor), 12345);

    EXPECT_EQ(scan::PlanProgress(0xFFFF).rangeMax, 0xFFFF) << "the boundary still counts bytes";
    EXPECT_EQ(scan::PlanProgress(0xFFFF).divisor, 0u);
    EXPECT_EQ(scan::PlanProgress(0x10000).rangeMax, 1000);
    EXPECT_EQ(scan::PlanProgress(0x10000).divisor, 65u);
    // Without a divisor the position is the low 32 bits of the byte count.
    EXPECT_EQ(scan::ProgressPosition(0x1'0000'0005ull, 0), 5);
}

TEST(ScanProgress, FolderBelowARootOrUnknownSpaceHidesTheBar) {
    EXPECT_TRUE(scan::IsDriveRoot("C:\\"));
    EXPECT_FALSE(scan::IsDriveRoot("C:\\Data\\"));
    EXPECT_FALSE(scan::IsDriveRoot("C:"));
    const auto plan = scan::PlanProgress(std::nullopt);
    EXPECT_FALSE(plan.enabled);
    EXPECT_EQ(plan.divisor, 0u);
    EXPECT_EQ(plan.rangeMax, 10);
    EXPECT_EQ(plan.step, 1);
}

TEST(ScanProgress, ElapsedTimeInMinutesAndTwoDigitSeconds) {
    EXPECT_EQ(scan::ElapsedText(0), "0:00");
    EXPECT_EQ(scan::ElapsedText(7'999), "0:07");
    EXPECT_EQ(scan::ElapsedText(59'999), "0:59");
    EXPECT_EQ(scan::ElapsedText(60'000), "1:00");
    EXPECT_EQ(scan::ElapsedText(750'000), "12:30");
    EXPECT_EQ(scan::ElapsedText(0xFFFFFFFFu), "71582:47");
}

TEST(ScanProgress, CountersAreCountTextsOnThreeLines) {
    EXPECT_EQ(scan::CountersText(0, 0, 0), "0\r\n0\r\n0");
    EXPECT_EQ(scan::CountersText(1234, 5, 9'876'543'210ull), "1,234\r\n5\r\n9,876,543,210");
}
