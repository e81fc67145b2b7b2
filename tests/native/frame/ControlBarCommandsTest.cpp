#include "frame/ControlBarCommands.h"

#include <gtest/gtest.h>

#include <optional>
#include <vector>

namespace {

constexpr unsigned kFirstDrive = 29000;
constexpr unsigned kFirstMode = 29200;

TEST(ControlBarCommands, ModeEntriesPostTheirCommand) {
    EXPECT_EQ(frame::ModeCommand(0, kFirstMode), 29200u);
    EXPECT_EQ(frame::ModeCommand(1, kFirstMode), 29201u);
    EXPECT_EQ(frame::ModeCommand(2, kFirstMode), 29202u);
    EXPECT_EQ(frame::ModeCommand(3, kFirstMode), std::nullopt);
    EXPECT_EQ(frame::ModeCommand(-1, kFirstMode), std::nullopt) << "no selection";
}

// Path box notifications between opening and closing the list.
enum Step { Open, Move, Close };

std::vector<std::optional<unsigned>> PostsOf(const std::vector<std::pair<Step, int>>& steps) {
    frame::PathBoxChoice choice;
    std::vector<std::optional<unsigned>> posted;
    for (auto [step, index] : steps) {
        if (step == Open) choice.DroppedDown();
        if (step == Move) choice.SelectionMoved();
        if (step == Close) posted.push_back(choice.ClosedUp(index, kFirstDrive));
    }
    return posted;
}

TEST(ControlBarCommands, PathBoxPostsOnlyAChoiceMadeWhileOpen) {
    using Posts = std::vector<std::optional<unsigned>>;
    EXPECT_EQ(PostsOf({{Open, 0}, {Close, 2}}), (Posts{std::nullopt})) << "opened and closed without moving";
    EXPECT_EQ(PostsOf({{Open, 0}, {Move, 0}, {Move, 0}, {Close, 3}}), (Posts{29003u})) << "the last item selected";
    EXPECT_EQ(PostsOf({{Open, 0}, {Move, 0}, {Close, 1}, {Open, 0}, {Close, 1}}), (Posts{29001u, std::nullopt}))
        << "opening again forgets the earlier move";
    EXPECT_EQ(PostsOf({{Open, 0}, {Move, 0}, {Close, -1}}), (Posts{std::nullopt})) << "nothing selected";
    EXPECT_EQ(PostsOf({{Close, 0}}), (Posts{std::nullopt}));
}

}  // namespace
