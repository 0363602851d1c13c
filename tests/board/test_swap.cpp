// Selecting and swapping with the mouse, the rewards of big moves, hints and stuck boards.
#include "board_fixture.h"

#include "board/gravity.h"
#include "board/matching.h"
#include "board/pieces.h"
#include "board/ripple.h"
#include "board/swap.h"
#include "board/table.h"
#include "data/level_file.h"
#include "engine/frame.h"

#include <gtest/gtest.h>

namespace {

void Click(int x, int y) {
    Mouse_OverCell(x, y, true, false);
    Board_Run(1);
    Mouse_OverCell(x, y, false, true);
    Board_Run(1);
}

// Runs frames until the piece's swap is over; false if it never ends.
bool RunSwap(Piece* a, int limit = 200) {
    for (int i = 0; i < limit; ++i) {
        if (a->swap_state == 0) return true;
        Board_Run(1);
    }
    return false;
}

TEST(Swap, WithoutALineThePiecesSlideBackHoldingTheirCells) {
    Board_Build({"123", "456"});
    Piece* a = At(0, 0);
    Piece* b = At(1, 0);
    Click(0, 0);
    EXPECT_EQ(Selection_Active, 1);
    Mouse_OverCell(1, 0, true, false);
    Board_Run(1);
    ASSERT_EQ(a->swap_state, 1);
    EXPECT_EQ(b->swap_state, 3);
    bool went_back = false;
    for (int i = 0; i < 200 && a->swap_state != 0; ++i) {
        EXPECT_EQ(At(0, 0), a);
        EXPECT_EQ(At(1, 0), b);
        went_back |= a->swap_state == 2;
        Board_Run(1);
    }
    EXPECT_TRUE(went_back);
    EXPECT_EQ(a->swap_state, 0);
    EXPECT_EQ(b->swap_state, 0);
    EXPECT_EQ(At(0, 0), a);
    EXPECT_EQ(At(1, 0), b);
    EXPECT_EQ(a->x, Table_OriginX);
    EXPECT_EQ(b->x, Table_OriginX + Cell_Width);
    EXPECT_EQ(Score, 0);
    EXPECT_EQ(Player_Matches, 0);
}

TEST(Swap, BothSidesMatchDestinationFirst) {
    // The 1 moving right completes column 3, the 2 it displaces completes column 2.
    Board_Build({"34215", "56127", "67213", "45216"}, {}, {}, 4);
    Piece* a = At(2, 1);
    Click(2, 1);
    Mouse_OverCell(3, 1, true, false);
    Board_Run(1);
    ASSERT_TRUE(RunSwap(a));
    EXPECT_EQ(Player_Matches, 2);
    // 40 for the destination's four, whose combo raises the multiplier to 4 before the
    // displaced piece's three score 4 x 40.
    EXPECT_EQ(Score, 200);
    Piece* at_dest = At(3, 1);
    Piece* at_src = At(2, 1);
    ASSERT_NE(at_dest, nullptr);
    ASSERT_NE(at_src, nullptr);
    EXPECT_EQ(at_dest->color, Kind_Crystal);
    EXPECT_EQ(at_src->color, Kind_Crystal);
    EXPECT_LT(at_dest->unique_id, at_src->unique_id); // made first
    EXPECT_EQ(at_dest->triggered, 0);
    EXPECT_EQ(at_src->triggered, 0);
}

TEST(Swap, FiveInARowRewardDependsOnTheLevel) {
    struct {
        int level, kind, block;
    } cases[] = {{3, 0, 120}, {5, Kind_Crystal, 960}, {6, Kind_Snowball, 1440}};
    for (auto c : cases) {
        Board_Build({"11211", "34156", "56345"}, {}, {}, c.level);
        Piece* a = At(2, 1);
        Click(2, 1);
        Mouse_OverCell(2, 0, true, false);
        Board_Run(1);
        ASSERT_TRUE(RunSwap(a));
        EXPECT_EQ(Score, 50) << "level " << c.level;
        EXPECT_EQ(Player_Matches, 1);
        if (c.kind) {
            ASSERT_NE(At(2, 0), nullptr);
            EXPECT_EQ(At(2, 0)->color, c.kind);
            EXPECT_GT(At(2, 0)->Fade, 0.0f); // fading in
        } else {
            EXPECT_EQ(At(2, 0), nullptr);
        }
        EXPECT_GT(Table[0][0].busy_delay, c.block - 40) << "level " << c.level;
        EXPECT_LE(Table[0][0].busy_delay, c.block);
    }
}

TEST(Swap, CrystalSwappedBetweenTwoPairsMatchesBoth) {
    Board_Build({"11322", "45845", "67676"});
    Piece* crystal = At(2, 1);
    Click(2, 1);
    Mouse_OverCell(2, 0, true, false);
    Board_Run(1);
    ASSERT_TRUE(RunSwap(crystal));
    EXPECT_EQ(Score, 50);
    EXPECT_EQ(Board_Text()[0], ".....");
}

TEST(Swap, MouseScripts) {
    // Clicking the selected piece again keeps it; a drag swaps on entering a neighbour; a
    // release elsewhere does not swap; a chained piece cannot be selected.
    Board_Build({"123", "456"});
    Click(0, 0);
    Click(0, 0);
    EXPECT_EQ(Selection_Active, 1);
    EXPECT_EQ(Selected_Cell.x, 0);

    Board_Build({"123", "456"});
    Mouse_OverCell(0, 0, true, false);
    Board_Run(1);
    Mouse_OverCell(1, 0, false, false); // held and moved
    Board_Run(1);
    EXPECT_EQ(At(0, 0)->swap_state, 1);

    Board_Build({"123", "456"});
    Mouse_OverCell(0, 0, true, false);
    Board_Run(1);
    Mouse_OverCell(2, 1, false, true); // released two cells away
    Board_Run(1);
    Mouse_OverCell(1, 1, false, false); // moving on with the button up
    Board_Run(1);
    for (const Piece* p : Pieces)
        EXPECT_EQ(p->swap_state, 0);
    EXPECT_EQ(Drag_Active, 0);

    Board_Build({"a23", "456"});
    Click(0, 0);
    EXPECT_EQ(Selection_Active, 0);
}

TEST(Swap, NoClicksWhileTheBoardFadesIn) {
    Board_Build({"123", "456"});
    Intro_Active = 1;
    Mouse_OverCell(0, 0, true, false);
    Board_Run(1);
    EXPECT_EQ(Selection_Active, 0);
}

TEST(Hints, ComeAfterEightSecondsOrSixWhenEased) {
    for (int easy : {0, 2}) {
        Board_Build({"1121", "3454", "5676"});
        Easyness = easy;
        Mouse_OverCell(0, 0, false, false);
        Hint_Timer = 0;
        const int shown = Hint_Shown;
        Board_Run(1);
        EXPECT_EQ(Hint_Shown, shown + 1);
        const int period = 8000 - 1000 * easy;
        EXPECT_EQ(Hint_Timer, period);
        Board_Run(period / 16);
        EXPECT_EQ(Hint_Shown, shown + 1);
        Board_Run(1);
        EXPECT_EQ(Hint_Shown, shown + 2);
        const int expected[4] = {2, 0, 3, 0}; // the first of two equal moves nearest the pointer
        for (int i = 0; i < 4; ++i)
            EXPECT_EQ(Hint_Move[i], expected[i]);
    }
    Easyness = 0;
}

TEST(Hints, ChooseTheMoveNearestThePointer) {
    // Two moves: the 1 at (3,0) moving left, and the 2 at (0,3) moving right.
    Board_Build({"1131", "3454", "6576", "2622"});
    Mouse_OverCell(0, 3, false, false);
    Hint_Timer = 0;
    Board_Run(1);
    const int near_bottom[4] = {0, 3, 1, 3};
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(Hint_Move[i], near_bottom[i]);
    Mouse_OverCell(3, 0, false, false);
    Hint_Timer = 0;
    Board_Run(1);
    const int near_top[4] = {3, 0, 2, 0};
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(Hint_Move[i], near_top[i]);
}

TEST(Hints, SparklesRunAlongTheEdgesOfBothCells) {
    Board_Build({"1121", "3454", "5676"});
    Mouse_OverCell(0, 0, false, false);
    Hint_Timer = 0;
    Board_Run(1); // the move (2,0) -> (3,0): to the right
    const int W = Cell_Width, H = Cell_Height, ox = Table_OriginX, oy = Table_OriginY;
    const Hint_Sparkle expected[] = {
        {ox + 2 * W, oy + H, 0, -1}, // first cell, bottom-left corner, upwards
        {ox + 3 * W, oy, -1, 0},     // first cell, top-right corner, leftwards
        {ox + 2 * W, oy + H, 1, 0},  // first cell, bottom-left corner, rightwards
        {ox + 4 * W, oy, 0, 1},      // second cell, top-right corner, downwards
        {ox + 4 * W, oy, -1, 0},     // second cell, top-right corner, leftwards
        {ox + 3 * W, oy + H, 1, 0},  // second cell, bottom-left corner, rightwards
    };
    ASSERT_EQ(Hint_SparkleCount, 6);
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(Hint_Sparkles[i].x, expected[i].x) << i;
        EXPECT_EQ(Hint_Sparkles[i].y, expected[i].y) << i;
        EXPECT_EQ(Hint_Sparkles[i].dx, expected[i].dx) << i;
        EXPECT_EQ(Hint_Sparkles[i].dy, expected[i].dy) << i;
    }
}

TEST(StuckBoard, OnlyCrystalMovesCountAsStuckAndOneGemChangesPer32Frames) {
    Board_Build({"118", "231", "564"});
    Hint_Need = Min_Match;
    bool changed = false;
    for (int frame = 0; frame < 32 * 60; ++frame) {
        Piece* before[3][3];
        for (int x = 0; x < 3; ++x)
            for (int y = 0; y < 3; ++y)
                before[x][y] = At(x, y);
        FrameCounter = frame;
        Table_Update();
        int replaced = 0;
        for (int x = 0; x < 3; ++x)
            for (int y = 0; y < 3; ++y)
                if (At(x, y) && At(x, y) != before[x][y]) ++replaced;
        EXPECT_LE(replaced, frame % 32 == 0 ? 1 : 0) << "frame " << frame;
        if (replaced) {
            changed = true;
            break;
        }
    }
    EXPECT_TRUE(changed);
}

TEST(StuckBoard, ABoardWithAMoveIsLeftAlone) {
    Board_Build({"1121", "3454", "5676"});
    std::vector<std::string> before = Board_Text();
    for (int frame = 0; frame < 32 * 20; frame += 32) {
        FrameCounter = frame;
        Table_Update();
    }
    EXPECT_EQ(Board_Text(), before);
}

} // namespace
