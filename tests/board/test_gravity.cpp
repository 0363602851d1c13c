// Falling, diagonal slides, refilling and the order of a frame.
#include "board_fixture.h"

#include "board/gravity.h"
#include "board/matching.h"
#include "board/pieces.h"
#include "board/table.h"
#include "data/level_file.h"

#include <gtest/gtest.h>

namespace {

void RemoveAt(int x, int y) {
    Piece_Remove(At(x, y));
    Table[x][y].piece_id = nullptr;
}

int CellTop(int y) {
    return Table_OriginY + y * Cell_Height;
}

TEST(Gravity, ColumnDropsTogetherWhenItsBottomGoes) {
    Board_Build({"1", "2", "3"});
    Piece* upper = At(0, 0);
    Piece* lower = At(0, 1);
    RemoveAt(0, 2);
    Board_Run(1);
    EXPECT_EQ(lower->falling, 1);
    EXPECT_EQ(upper->falling, 1); // the piece under it is falling, so it may follow
    Board_Settle();
    EXPECT_EQ(At(0, 0), nullptr);
    EXPECT_EQ(At(0, 1), upper);
    EXPECT_EQ(At(0, 2), lower);
    EXPECT_EQ(lower->y, CellTop(2));
}

TEST(Gravity, LongFrameMovesAFallingPieceOneCellAtMost) {
    Board_Build({"1", ".", ".", "."});
    Piece* p = At(0, 0);
    Board_Run(1); // starts falling from rest
    ASSERT_EQ(p->falling, 1);
    Board_Run(1, 1000.0f);
    EXPECT_EQ(p->y, CellTop(1));
    EXPECT_EQ(At(0, 1), p);
}

TEST(Gravity, AcceleratesFromRestUpToTheCap) {
    std::vector<std::string> rows(14, ".");
    rows[0] = "1";
    Board_Build(rows);
    Piece* p = At(0, 0);
    Board_Run(1, 10.0f);
    EXPECT_FLOAT_EQ(p->speed, 0.0f);
    Board_Run(10, 10.0f);
    EXPECT_NEAR(p->speed, 150.0f, 0.01f);
    Board_Run(60, 10.0f); // 0.7 s of falling
    EXPECT_FLOAT_EQ(p->speed, Piece_MaxSpeed);
    EXPECT_NE(p->falling, 0); // still on its way, without stopping at each cell
}

TEST(Gravity, SpawnCellRefillsAfterAHundredMsAtFullSpeed) {
    Board_Build({".", ".", "."}, {}, {"S", ".", "."});
    Board_Run(6);
    EXPECT_EQ(At(0, 0), nullptr); // 96 ms
    Board_Run(1);
    Piece* p = At(0, 0);
    ASSERT_NE(p, nullptr);
    EXPECT_FLOAT_EQ(p->speed, Piece_StartSpeed);
    Board_Run(1);
    EXPECT_EQ(p->y, CellTop(0) + 16); // 1000 px/s from the start
}

TEST(Gravity, ChainedPieceHangsAndSlidesFillTheGapBelow) {
    Board_Build({"232", "3a3", "4.4", "5.5"}, {}, {"S.S", "...", "...", "..."}, 1, {4, 5, 6, 7});
    Piece* chained = At(1, 1);
    Piece* above = At(1, 0);
    Board_Settle();
    EXPECT_EQ(At(1, 1), chained);
    EXPECT_EQ(At(1, 0), above);
    EXPECT_EQ(chained->y, CellTop(1));
    EXPECT_NE(At(1, 2), nullptr);
    EXPECT_NE(At(1, 3), nullptr);
}

TEST(Gravity, GapUnderAVoidCellIsFilledBySlidingNeverBySpawning) {
    Board_Build({"2#2", "3.3", "454"}, {}, {"SSS", "...", "..."}, 1, {6, 7});
    Piece* left = At(0, 0);
    Board_Run(1);
    EXPECT_EQ(left->falling, 3); // slides down-right under the void cell
    Board_Settle();
    EXPECT_EQ(At(1, 0), nullptr);
    EXPECT_NE(At(1, 1), nullptr);
}

TEST(Gravity, TwoPiecesCompetingForOneGap) {
    Board_Build({"1#2", "3.4", "565"});
    Piece* left = At(0, 0);
    Piece* right = At(2, 0);
    Board_Run(1);
    EXPECT_EQ(left->falling, 3); // upper rows first, then left to right
    EXPECT_EQ(right->falling, 0);
    EXPECT_EQ(Table[1][1].busy, left);
    Board_Settle();
    EXPECT_EQ(At(1, 1), left);
    EXPECT_EQ(At(2, 0), right);
}

TEST(Gravity, NoSlideIntoAGapItsOwnColumnCanRefill) {
    // Under a spawn cell the column refills itself, so neighbours do not slide in.
    Board_Build({"1.2", "3.4", "565"}, {}, {".S.", "...", "..."}, 1, {7});
    Board_Run(1);
    EXPECT_EQ(At(0, 0)->falling, 0);
    EXPECT_EQ(At(2, 0)->falling, 0);
}

TEST(Gravity, SpawnedChainedPiecesSettleThenHoldFast) {
    Board_Build({".", ".", "."}, {}, {"S", ".", "."}, 1, {1, 2, 3});
    ShieldPercent = 100;
    Board_Settle();
    ShieldPercent = 0;
    for (int y = 0; y < 3; ++y) {
        ASSERT_NE(At(0, y), nullptr);
        EXPECT_EQ(At(0, y)->shields_count, 1);
    }
    // Above the bottom row both settling steps have happened: they hold fast now.
    EXPECT_TRUE(Piece_IsFixed(At(0, 0)));
    EXPECT_TRUE(Piece_IsFixed(At(0, 1)));
    Piece* top = At(0, 0);
    RemoveAt(0, 1);
    Board_Run(30);
    EXPECT_EQ(At(0, 0), top); // settled chained pieces no longer fall
    // Once its chain is knocked off it falls again.
    top->shields_count = 0;
    Board_Settle();
    EXPECT_EQ(At(0, 1), top);
}

TEST(Gravity, CellBlockedAfterAMatchRefillsWhenTheBlockEnds) {
    Board_Build({"111", "232"}, {}, {"SSS", "..."}, 1, {4, 5, 6, 7});
    Table_FindGroup(0, 0, 0, 0);
    Table_ResolveGroup();
    EXPECT_EQ(Table[0][0].busy_delay, 30);
    Board_Run(1, 16.0f);
    EXPECT_EQ(Table[0][0].busy, Busy_Marker);
    Board_Run(1, 16.0f); // 32 ms: the block is over, the spawn timer starts
    EXPECT_EQ(Table[0][0].busy, nullptr);
    EXPECT_EQ(At(0, 0), nullptr);
    Board_Run(7, 16.0f);
    EXPECT_NE(At(0, 0), nullptr);
}

} // namespace
