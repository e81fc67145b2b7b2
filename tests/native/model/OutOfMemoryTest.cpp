#include "model/OutOfMemory.h"

#include <gtest/gtest.h>

#include <new>

namespace {

TEST(OutOfMemoryDeathTest, HandlerPrintsAndExitsWithStatusOne) {
    EXPECT_EXIT(model::ReportOutOfMemory(), ::testing::ExitedWithCode(1), "^out of memory\n$");
}

TEST(OutOfMemoryDeathTest, InstalledHandlerIsTheOneNewCalls) {
    const std::new_handler previous = std::get_new_handler();
    model::InstallOutOfMemoryHandler();
    EXPECT_EQ(std::get_new_handler(), &model::ReportOutOfMemory);
    std::set_new_handler(previous);
    // A real failed allocation: the address sanitizer's allocator reports exhaustion itself and never
    // calls the handler, so this part runs only in unsanitised builds (the Windows tests run it too).
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "allocation failure is the address sanitizer's in this build";
#else
    EXPECT_EXIT(
        {
            model::InstallOutOfMemoryHandler();
            volatile std::size_t huge = std::size_t{1} << 62;
            char* p = new char[huge];
            p[0] = 1;
        },
        ::testing::ExitedWithCode(1), "^out of memory\n$");
#endif
}

}  // namespace
