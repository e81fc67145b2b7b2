#include "frame/CommandLine.h"

#include <gtest/gtest.h>

TEST(RepairTrailingQuote, QuotedDriveRootGetsItsBackslashBack) {
    std::string argument = "C:\"";
    frame::RepairTrailingQuote(argument);
    EXPECT_EQ(argument, "C:\\");

    std::string folder = "D:\\My Data\"";
    frame::RepairTrailingQuote(folder);
    EXPECT_EQ(folder, "D:\\My Data\\");
}

TEST(RepairTrailingQuote, LeavesOtherArgumentsAlone) {
    for (std::string argument : {"", "C:", "C:\\", "C:\\data.klv", "\"C:\\x"}) {
        const std::string before = argument;
        frame::RepairTrailingQuote(argument);
        EXPECT_EQ(argument, before);
    }
}
