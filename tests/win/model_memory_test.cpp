// Exhausted memory under Windows: the handler the program installs turns a failed allocation into
// "out of memory" on stderr and exit status 1.
#include "model/OutOfMemory.h"

#include <gtest/gtest.h>

#include <cstddef>

namespace {

TEST(OutOfMemoryDeathTest, FailedAllocationPrintsAndExits) {
    EXPECT_EXIT(
        {
            model::InstallOutOfMemoryHandler();
            volatile std::size_t huge = std::size_t{1} << 62;
            char* p = new char[huge];
            p[0] = 1;
        },
        ::testing::ExitedWithCode(1), "out of memory");
}

}  // namespace
