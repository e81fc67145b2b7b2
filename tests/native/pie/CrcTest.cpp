#include <gtest/gtest.h>

#include <cstring>

#include "pie/Crc.h"

namespace {

std::uint32_t CrcOf(const tv::CrcParameters& p, const char* text) {
    tv::CrcEngine engine(p);
    tv::Crc crc(engine);
    crc.Update(text, std::strlen(text));
    return crc.Value();
}

TEST(Crc, StandardCheckValues) {
    EXPECT_EQ(CrcOf(tv::kCrc32, "123456789"), 0xCBF43926u);
    EXPECT_EQ(CrcOf(tv::kCrc32, ""), 0u);
    // Non-reflected 32-bit and a 16-bit width exercise the other table and update paths.
    EXPECT_EQ(CrcOf({0x04C11DB7u, 0xFFFFFFFFu, 0xFFFFFFFFu, false, 32}, "123456789"), 0xFC891918u);
    EXPECT_EQ(CrcOf({0x1021u, 0xFFFFu, 0u, false, 16}, "123456789"), 0x29B1u);
    EXPECT_EQ(CrcOf({0x1021u, 0u, 0u, true, 16}, "123456789"), 0x2189u);
    EXPECT_EQ(CrcOf({0x07u, 0u, 0u, false, 8}, "123456789"), 0xF4u);
}

TEST(Crc, UpdatesContinueAndResetStartsOver) {
    tv::CrcEngine engine(tv::kCrc32);
    tv::Crc crc(engine);
    crc.Update("1234", 4);
    crc.Update("56789", 5);
    EXPECT_EQ(crc.Value(), 0xCBF43926u);
    crc.Reset();
    crc.Update("123456789", 9);
    EXPECT_EQ(crc.Value(), 0xCBF43926u);
}

TEST(Crc, RejectsWidthsOutsideTheTable) {
    EXPECT_THROW(tv::CrcEngine({0x7u, 0, 0, false, 4}), std::invalid_argument);
    EXPECT_THROW(tv::CrcEngine({0x7u, 0, 0, false, 33}), std::invalid_argument);
}

}  // namespace
