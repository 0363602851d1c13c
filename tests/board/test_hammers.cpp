// Combos and the hammers: the meter and the multiplier a group earns, taking, cancelling and
// striking with each hammer, and the colour hammer's queue.
#include "board_fixture.h"

#include "board/hammers.h"
#include "board/matching.h"
#include "board/pieces.h"
#include "board/table.h"
#include "engine/frame.h"

#include <gtest/gtest.h>

namespace {

void RightClick() {
    MouseRightPressed = 1;
    Board_Run(1);
    MouseRightPressed = 0;
}

void ClickCell(int x, int y) {
    Mouse_OverCell(x, y, true, false);
    Board_Run(1);
}

void Resolve(int x, int y) {
    Table_FindGroup(x, y, 0, 0);
    Table_ResolveGroup();
}

TEST(Combo, FiveInARowScoresAtTheRunningMultiplierThenRaisesIt) {
    Board_Build({"11111", "23232"}, {}, {}, 3);
    Score_Mult = 4; // from a 4-match two seconds ago
    Score_MultTimer = 1000;
    Resolve(0, 0);
    EXPECT_EQ(Score, 200);
    EXPECT_EQ(Score_Mult, 8);
    EXPECT_EQ(Hammer_Points, 8);
}

TEST(Combo, MeterAndMultiplierByLevelAndGroupSize) {
    struct Case {
        int level, points_before;
        const char* row;
        int points_after, mult, pulse_pause;
    };
    const Case cases[] = {
        {2, 0, "11112", 0, 1, 0}, // no hammers on the first two levels
        {2, 0, "11111", 0, 1, 0},
        {3, 0, "11123", 1, 1, 0},    // a three: one point, the multiplier stays
        {3, 49, "11112", 53, 4, 20}, // crossing 50: the first hammer is earned
        {3, 115, "11111", 123, 8, 20},
        {3, 300, "11111", 308, 8, 0}, // past the last threshold nothing more is earned
    };
    for (const Case& c : cases) {
        Board_Build({c.row, "23232"}, {}, {}, c.level);
        Hammer_Points = c.points_before;
        Resolve(0, 0);
        EXPECT_EQ(Hammer_Points, c.points_after) << c.level << " " << c.row;
        EXPECT_EQ(Score_Mult, c.mult) << c.level << " " << c.row;
        EXPECT_EQ(Hammer_PulsePause, c.pulse_pause) << c.level << " " << c.row;
    }
}

TEST(Hammer, RightClicksTakeTheBestHammerAndCancelIt) {
    Board_Build({"123", "231"}, {}, {}, 3);
    Hammer_Points = 130;
    RightClick();
    EXPECT_EQ(Hammer_Active, 1);
    EXPECT_EQ(Hammer_Level, 2);
    EXPECT_EQ(Hammer_Points, 0) << "taking any hammer empties the meter";
    RightClick();
    EXPECT_EQ(Hammer_Active, 0);
    EXPECT_EQ(Hammer_Points, 130);
    Hammer_Points = 40;
    RightClick();
    EXPECT_EQ(Hammer_Active, 0) << "nothing to take below 50";
}

TEST(Hammer, OnLevelTwoNothingIsTaken) {
    Board_Build({"123", "231"}, {}, {}, 2);
    Hammer_Points = 130;
    RightClick();
    EXPECT_EQ(Hammer_Active, 0);
}

TEST(Hammer, RefusedStrikesKeepTheHammerInHand) {
    struct Case {
        int level;
        int x, y;
        const char* what;
    };
    const Case cases[] = {
        {1, 0, 0, "a chained piece"},  {1, 1, 0, "an empty cell"},    {3, 1, 0, "an empty cell"},
        {2, 2, 0, "a void cell"},      {1, 0, 1, "a swapping piece"}, {2, 0, 1, "a swapping piece"},
        {3, 0, 1, "a swapping piece"},
    };
    const int points[] = {0, 60, 130, 270};
    for (const Case& c : cases) {
        Board_Build({"a.#", "234"}, {"11#", "111"}, {}, 3);
        At(0, 1)->swap_state = 3;
        const int pieces = Pieces_Count();
        const int void_bg = Table[2][0].background;
        Hammer_Points = points[c.level];
        Hammer_Take();
        ASSERT_EQ(Hammer_Level, c.level);
        EXPECT_FALSE(Hammer_Strike(c.x, c.y)) << c.level << " on " << c.what;
        EXPECT_EQ(Hammer_Active, 1) << c.level << " on " << c.what;
        EXPECT_EQ(Pieces_Count(), pieces) << c.level << " on " << c.what;
        EXPECT_EQ(Table[2][0].background, void_bg);
        EXPECT_EQ(Table[1][0].background, 1);
    }
}

TEST(Hammer, StrikesByLevel) {
    struct Case {
        int level;
        int x, y;
        const char* after;
        int ice;
    };
    const Case cases[] = {
        {1, 1, 0, "1.3", 2}, // the piece goes, the ice stays
        {2, 0, 0, ".23", 0}, // a chained piece goes with its chains and all its ice
        {2, 1, 0, "1.3", 0},
    };
    const int points[] = {0, 60, 130};
    for (const Case& c : cases) {
        Board_Build({"a23", "456"}, {"222", "111"}, {}, 3);
        Hammer_Points = points[c.level];
        Hammer_Take();
        EXPECT_TRUE(Hammer_Strike(c.x, c.y)) << c.level;
        EXPECT_EQ(Hammer_Active, 0) << c.level;
        EXPECT_EQ(Hammer_Points, 0) << c.level;
        EXPECT_EQ(Board_Text()[0], c.after) << c.level;
        EXPECT_EQ(Table[c.x][c.y].background, c.ice) << c.level;
    }
}

TEST(Hammer, SecondHammerOnAnEmptySnowCellBreaksBothLayers) {
    Board_Build({"1.3", "456"}, {"222", "111"}, {}, 3);
    Hammer_Points = 130;
    Hammer_Take();
    ClickCell(1, 0);
    EXPECT_EQ(Hammer_Active, 0);
    EXPECT_EQ(Table[1][0].background, 0);
}

TEST(Hammer, ColourHammerRemovesItsKindOneByOneFromTheLastFound) {
    Board_Build({"212121", "121212", "212121", "121212"}, {"222222", "111111", "111111", "111111"},
                {}, 3);
    std::vector<Piece*> reds; // reading order
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 6; ++x)
            if (At(x, y)->color == 2) reds.push_back(At(x, y));
    ASSERT_EQ(reds.size(), 12u);
    Hammer_Points = 270;
    Hammer_Take();
    ASSERT_TRUE(Hammer_Strike(0, 0));
    EXPECT_EQ(Hammer3_Count, 12);
    // The game screen's step: the queue runs instead of the board update.
    DeltaMs = 16.0f;
    DeltaSec = 0.016f;
    std::vector<int> gone_at; // frame of each removal, in the order they go
    std::vector<Point> order;
    for (int frame = 1; frame <= 100 && Hammer3_Count > 0; ++frame) {
        const int before = Pieces_Count();
        Hammer3_Step();
        ASSERT_GE(Pieces_Count(), before - 1) << "at most one piece a frame";
        if (Pieces_Count() == before) continue;
        gone_at.push_back(frame);
        for (auto it = reds.begin(); it != reds.end(); ++it) {
            const Point cell{(*it)->x_cell_src, (*it)->y_cell_src};
            if (At(cell.x, cell.y) == *it) continue;
            order.push_back(cell);
            reds.erase(it);
            break;
        }
    }
    ASSERT_EQ(gone_at.size(), 12u);
    EXPECT_EQ(gone_at.front(), 1);
    for (std::size_t i = 1; i < gone_at.size(); ++i)
        EXPECT_EQ(gone_at[i] - gone_at[i - 1], 4) << "one every 0.05 s at 16 ms a frame";
    ASSERT_EQ(order.size(), 12u);
    EXPECT_EQ(order.front().x, 5);
    EXPECT_EQ(order.front().y, 3);
    EXPECT_EQ(order.back().x, 0);
    EXPECT_EQ(order.back().y, 0);
    for (const Point p : order)
        EXPECT_EQ(Table[p.x][p.y].background, 0) << p.x << "," << p.y;
    EXPECT_EQ(Board_Text()[0], ".1.1.1");
}

TEST(Hammer, TakingMovesTheSelectionOffTheBoard) {
    Board_Build({"123", "231"}, {}, {}, 3);
    ClickCell(0, 0);
    ASSERT_EQ(Selection_Active, 1);
    Hammer_Points = 60;
    RightClick();
    EXPECT_EQ(Selected_Cell.x, -1);
    EXPECT_EQ(Selected_Cell.y, -1);
    RightClick(); // cancelled
    ClickCell(1, 0);
    EXPECT_EQ(Selection_Active, 1) << "the click selects";
    EXPECT_EQ(Selected_Cell.x, 1);
    EXPECT_EQ(At(1, 0)->swap_state, 0) << "and swaps nothing";
}

TEST(Hammer, SnowballClickedWithAHammerInHandLaunchesFirst) {
    struct Case {
        int level, points;
        int active_after;
    };
    for (const Case c : {Case{1, 60, 1}, Case{2, 130, 0}, Case{3, 270, 1}}) {
        Board_Build({"293", "454"}, {"111", "111"}, {}, 3);
        Hammer_Points = c.points;
        Hammer_Take();
        ClickCell(1, 0);
        int halves = 0;
        for (const Piece* p : Pieces)
            if (p && p->color == Kind_SnowHalf) ++halves;
        EXPECT_EQ(halves, 2) << c.level;
        EXPECT_EQ(Hammer_Active, c.active_after) << c.level;
        EXPECT_EQ(Hammer3_Count, 0) << c.level;
    }
}

} // namespace
