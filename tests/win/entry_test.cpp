// The entry steps of the program with a fake library check and a fake application: what the user is told,
// and whether the application runs at all.
#include "frame/ProgramEntry.h"
#include "fw/Interaction.h"
#include "fw/PendingException.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

namespace {

struct Box {
    std::string text, caption;
    UINT flags;
    bool quitPending;  // a pending WM_QUIT would close the real box before the user saw it
};

class EntryTest : public ::testing::Test {
protected:
    void TearDown() override { fw::DiscardQuitRequest(); }

    int Run(frame::CommonControlsLibrary library, std::vector<std::string> arguments = {"Kelvaran.exe"}) {
        std::vector<char*> argv;
        for (auto& argument : arguments) argv.push_back(argument.data());
        frame::EntrySeams seams{[library] { return library; },
                                [this](const std::string& path) {
                                    ranWith.push_back(path);
                                    if (thrown) std::rethrow_exception(thrown);
                                    return 7;
                                },
                                {[this](HWND, const std::string& text, const std::string& caption, UINT flags) {
                                    MSG msg;
                                    const bool quit = PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE);
                                    boxes.push_back({text, caption, flags, quit});
                                    return answer;
                                }}};
        seams.readAhead = [this](const std::string& path) {
            readAhead.push_back(path + (ranWith.empty() ? "" : " late"));
        };
        return frame::ProgramEntry(static_cast<int>(argv.size()), argv.data(), seams);
    }

    static constexpr frame::CommonControlsLibrary kGood{true, frame::PackVersion(6, 0)};
    std::vector<Box> boxes;
    std::vector<std::string> ranWith;
    std::vector<std::string> readAhead;
    std::exception_ptr thrown;
    int answer = IDOK;
};

TEST_F(EntryTest, AnExceptionFromTheRunIsShownWithTheStopIconAndTheResultIsZero) {
    // As a start-up scan leaves it: kept inside a loop, which also asked for the quit, then rethrown.
    fw::StorePendingException(std::make_exception_ptr(std::runtime_error("scan went wrong")));
    try {
        fw::RethrowPendingException();
    } catch (...) {
        thrown = std::current_exception();
    }
    EXPECT_EQ(Run(kGood), 0);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "scan went wrong");
    EXPECT_EQ(boxes[0].caption, "Exception Caught!  oopsie...");
    EXPECT_EQ(boxes[0].flags & MB_ICONMASK, static_cast<UINT>(MB_ICONSTOP));
    EXPECT_FALSE(boxes[0].quitPending) << "the box would close at once";
}

TEST_F(EntryTest, TheApplicationRunsWithTheRepairedArgumentAndGivesItsResult) {
    EXPECT_EQ(Run(kGood, {"Kelvaran.exe", "C:\""}), 7);
    EXPECT_EQ(ranWith, std::vector<std::string>{"C:\\"});
    EXPECT_EQ(readAhead, std::vector<std::string>{"C:\\"}) << "the repaired path, before the run";
    EXPECT_TRUE(boxes.empty());
    EXPECT_EQ(Run(kGood), 7);
    EXPECT_EQ(ranWith.back(), "");
}

TEST_F(EntryTest, AMissingLibraryIsAnErrorAndTheProgramEnds) {
    EXPECT_EQ(Run({false, 0}), 0);
    EXPECT_TRUE(ranWith.empty());
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "Could not find common controls library");
    EXPECT_EQ(boxes[0].caption, "Error");
    EXPECT_EQ(boxes[0].flags & MB_ICONMASK, static_cast<UINT>(MB_ICONSTOP));
}

TEST_F(EntryTest, AnOldLibraryAsksAndNoEndsTheProgramWhileYesRunsIt) {
    const frame::CommonControlsLibrary old{true, frame::PackVersion(4, 70)};
    answer = IDNO;
    EXPECT_EQ(Run(old), 0);
    EXPECT_TRUE(ranWith.empty());
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].caption, "Warning");
    EXPECT_EQ(boxes[0].text,
              "Common Controls version is less than 4.71.\r\nThe program may not function correctly.\r\n\r\n"
              "Do you want to continue?");
    EXPECT_EQ(boxes[0].flags & MB_TYPEMASK, static_cast<UINT>(MB_YESNO));

    answer = IDYES;
    EXPECT_EQ(Run(old), 7);
    EXPECT_EQ(ranWith.size(), 1u);
    EXPECT_EQ(Run({true, frame::PackVersion(4, 71)}), 7) << "4.71 itself is enough";
    EXPECT_EQ(boxes.size(), 2u);
}

}  // namespace
