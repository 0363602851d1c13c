// The bot's choices on small boards built as text (the board tests' fixture), and its moves played
// through the pointer and the board's own click handling.
#include "tests/board/board_fixture.h"

#include "board/gravity.h"
#include "board/hammers.h"
#include "board/matching.h"
#include "board/pieces.h"
#include "board/swap.h"
#include "board/table.h"
#include "bot/bot.h"
#include "bot/bot_level.h"
#include "engine/frame.h"

#include <gtest/gtest.h>

namespace {

// Two moves, each making a line of three: 1-1-1 in the top row, 2-2-2 in the bottom row.
const std::vector<std::string> kTwoMoves = {
    "1121",
    "3434",
    "5656",
    "2212",
};

// Plays frames of the bot and the board until no ice is left or `limit` frames have passed.
int Play_UntilIceGone(int limit) {
    DeltaMs = 16.0f;
    DeltaSec = 0.016f;
    int f = 0;
    for (; f < limit && Table_CountIce() > 0; ++f) {
        Bot_SetMouse(Bot_Step());
        Table_Update();
    }
    return f;
}

struct Choice_Case {
    const char* name;
    std::vector<std::string> ice;
    int row; // where the chosen swap lies
};

class BotChoice : public ::testing::TestWithParam<Choice_Case> {};

// A person looks for the move over the ice: the same two lines, the ice under one or the other.
TEST_P(BotChoice, PicksTheMoveOverTheIce) {
    Board_Build(kTwoMoves, GetParam().ice);
    const Bot_Action a = Bot_Choose();
    ASSERT_EQ(a.kind, BOT_SWAP);
    EXPECT_EQ(a.y1, GetParam().row);
    EXPECT_EQ(a.y2, GetParam().row);
}

INSTANTIATE_TEST_SUITE_P(
    Boards, BotChoice,
    ::testing::Values(Choice_Case{"IceOnTop", {"1110", "0000", "0000", "0000"}, 0},
                      Choice_Case{"IceBelow", {"0000", "0000", "0000", "2220"}, 3},
                      Choice_Case{"MostIceWins", {"1000", "0000", "0000", "1100"}, 3}),
    [](const auto& i) { return std::string(i.param.name); });

TEST(BotValue, SnowAndIceCountByLayerAndASwapWithoutALineIsRefused) {
    Board_Build(kTwoMoves, {"1110", "0000", "0000", "0000"});
    const int iced = Bot_SwapValue(2, 0, 3, 0);
    Board_Build(kTwoMoves);
    const int bare = Bot_SwapValue(2, 0, 3, 0);
    EXPECT_GT(iced, bare);
    EXPECT_GE(bare, 0);
    EXPECT_EQ(Bot_SwapValue(0, 1, 1, 1), Bot_NoValue); // 4-3 in the second row makes nothing
    EXPECT_EQ(Bot_SwapValue(0, 0, 1, 0), Bot_NoValue); // two pieces of one kind
}

// The rules read the last search's state in the next frame (the stuck-board step skips a frame
// after a group); the bot's trial searches must leave it as they found it.
TEST(BotValue, TrialSearchesLeaveTheBoardsSearchStateAlone) {
    Board_Build({"1112", "3434", "5656", "2212"});
    Table_FindGroup(0, 0, 0, 0);
    ASSERT_EQ(Group_Count, 3);
    Bot_Choose();
    EXPECT_EQ(Group_Count, 3);
    EXPECT_EQ(Group_Kind, 1);
    EXPECT_EQ(Group_Cells[2].x + Group_Cells[1].x + Group_Cells[0].x, 0 + 1 + 2);
}

TEST(BotPlay, TheChosenSwapIsPlayedThroughThePointer) {
    Board_Build(kTwoMoves, {"1110", "0000", "0000", "0000"});
    Bot_Reset();
    const int frames = Play_UntilIceGone(400);
    EXPECT_EQ(Table_CountIce(), 0);
    EXPECT_EQ(BotCounts.moves, 1);
    EXPECT_GT(frames, BotSettings.think_ms / 16); // it looked at the board first
}

// A piece left selected next to where the drag starts would swap with it on the press and waste
// the move; the bot moves the selection away first.
TEST(BotPlay, AStaleSelectionBesideTheDragDoesNotSpoilTheMove) {
    Board_Build(kTwoMoves, {"1110", "0000", "0000", "0000"});
    Bot_Reset();
    Selected_Cell = Point{2, 1};
    Selection_Active = 1;
    Play_UntilIceGone(400);
    EXPECT_EQ(Table_CountIce(), 0);
    EXPECT_EQ(BotCounts.moves, 1);
}

TEST(BotPlay, NothingIsDoneWhileThePiecesFall) {
    Board_Build({"1121", "3434", "5.56", "2262"}, {"1110", "0000", "0000", "0000"});
    Bot_Reset();
    DeltaMs = 16.0f;
    Table_Update(); // the 3 above the gap starts falling
    ASSERT_FALSE(Bot_BoardSettled());
    Bot_SetMouse(Bot_Step());
    EXPECT_EQ(MouseLeftDown, 0);
    Board_Settle();
    EXPECT_TRUE(Bot_BoardSettled());
}

struct Snowball_Case {
    const char* name;
    std::vector<std::string> ice;
    int kind;
};

class BotSnowball : public ::testing::TestWithParam<Snowball_Case> {};

// A snowball goes when its row holds more ice than any swap breaks, not before.
TEST_P(BotSnowball, LaunchedWhenItsRowPays) {
    Board_Build({"1121", "3434", "5956", "2262"}, GetParam().ice, {}, 10);
    EXPECT_EQ(Bot_Choose().kind, GetParam().kind);
}

INSTANTIATE_TEST_SUITE_P(
    Boards, BotSnowball,
    ::testing::Values(Snowball_Case{"RowOfSnow", {"0000", "0000", "2222", "0000"}, BOT_SNOWBALL},
                      Snowball_Case{"IceUnderTheSwap", {"1110", "0000", "0000", "0000"}, BOT_SWAP}),
    [](const auto& i) { return std::string(i.param.name); });

// With the colour hammer earned the bot takes it and strikes the kind with the most ice under it.
TEST(BotHammer, TheColourHammerGoesToTheKindOverMostIce) {
    Board_Build(kTwoMoves, {"0000", "0101", "0000", "0000"}, {}, 10);
    Hammer_Reset();
    Hammer_Points = Hammer_Threshold3;
    ASSERT_EQ(Bot_Choose().kind, BOT_TAKE_HAMMER);
    Hammer_Take();
    ASSERT_EQ(Hammer_Level, 3);
    const Bot_Action strike = Bot_Choose();
    ASSERT_EQ(strike.kind, BOT_STRIKE);
    EXPECT_EQ(At(strike.x1, strike.y1)->color, 4); // the 4s stand on both iced cells
    Hammer_Active = 0;
}

} // namespace
