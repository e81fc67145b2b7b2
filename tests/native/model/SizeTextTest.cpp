#include "model/SizeText.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

constexpr std::uint64_t kMax = std::numeric_limits<std::uint64_t>::max();

TEST(FormatCount, GroupsOfThreeDigits) {
    EXPECT_EQ(model::FormatCount(0), "0");
    EXPECT_EQ(model::FormatCount(100), "100");
    EXPECT_EQ(model::FormatCount(999), "999");
    EXPECT_EQ(model::FormatCount(1000), "1,000");
    EXPECT_EQ(model::FormatCount(99999), "99,999");
    EXPECT_EQ(model::FormatCount(1234567), "1,234,567");
    EXPECT_EQ(model::FormatCount(4294967295u), "4,294,967,295");
    EXPECT_EQ(model::FormatCount(kMax), "18,446,744,073,709,551,615");
}

TEST(FormatSize, BytesBelowOneThousand) {
    EXPECT_EQ(model::FormatSize(0), "0 bytes");
    EXPECT_EQ(model::FormatSize(1), "1 bytes");
    EXPECT_EQ(model::FormatSize(999), "999 bytes");
}

TEST(FormatSize, UnitsChangeWhenTheFigureReachesOneThousand) {
    EXPECT_EQ(model::FormatSize(1000), "1.0 KB");
    EXPECT_EQ(model::FormatSize(1536), "1.5 KB");
    EXPECT_EQ(model::FormatSize(1000 * 1024 - 1), "1000.0 KB");
    EXPECT_EQ(model::FormatSize(1023999), "1000.0 KB");
    EXPECT_EQ(model::FormatSize(1024000), "1.0 MB");  // 1000 KB is not below 1000
    EXPECT_EQ(model::FormatSize(1048576), "1.0 MB");
    EXPECT_EQ(model::FormatSize(1073741824), "1.0 GB");
    EXPECT_EQ(model::FormatSize(std::uint64_t{1} << 40), "1.0 TB");
    EXPECT_EQ(model::FormatSize(std::uint64_t{1} << 50), "1.0 PB");
    EXPECT_EQ(model::FormatSize(999ull << 50), "999.0 PB");
    EXPECT_EQ(model::FormatSize(std::uint64_t{1} << 60), "1024.0 PB");
    EXPECT_EQ(model::FormatSize(kMax), "16384.0 PB");
}

TEST(InsertGroupCommas, PlainNumbersMatchTheCountText) {
    for (std::uint64_t v : std::initializer_list<std::uint64_t>{0, 12, 123, 1234, 123456, 1234567, kMax}) {
        std::string text = std::to_string(v);
        model::InsertGroupCommas(text);
        EXPECT_EQ(text, model::FormatCount(v));
    }
}

TEST(InsertGroupCommas, BlanksPointsAndLettersStopOneInsertion) {
    std::string padded = "   1234";
    model::InsertGroupCommas(padded);
    EXPECT_EQ(padded, "   1,234");

    std::string blanksOnly = "      123";
    model::InsertGroupCommas(blanksOnly);
    EXPECT_EQ(blanksOnly, "      123");

    std::string decimal = "12.345";
    model::InsertGroupCommas(decimal);
    EXPECT_EQ(decimal, "12.345");

    // Groups count from the end of the text, not from the point: the point blocks the last group only.
    std::string mixed = "1234.567";
    model::InsertGroupCommas(mixed);
    EXPECT_EQ(mixed, "12,34.567");

    std::string empty;
    model::InsertGroupCommas(empty);
    EXPECT_EQ(empty, "");
}

}  // namespace
