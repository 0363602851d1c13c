// Help tips on small boards: once per player, one at a time, where the panel and arrow go, which
// clicks an open tip lets through, and the events that open and close each tip.
#include "board_fixture.h"

#include "board/clock.h"
#include "board/hammers.h"
#include "board/matching.h"
#include "board/pieces.h"
#include "board/ripple.h"
#include "board/swap.h"
#include "board/table.h"
#include "board/tips.h"
#include "data/players.h"
#include "engine/frame.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>

namespace {

// A new player with the panel sizes the game draws with.
void Tips_NewPlayer(int player = 0) {
    Player_Crt = player;
    std::fill(std::begin(Tip_Seen[player]), std::end(Tip_Seen[player]), 0);
    Tip_MissCount = 0;
    Tip_Current = 0;
    ScreenWidth = 800;
    ScreenCentreX = 400;
    TipLook = Tip_Look{};
    TipLook.panel_w = 560;
    TipLook.panel_h = 120;
    TipLook.arrow_w = 46;
    TipLook.arrow_h = 62;
    TipLook.button_w = 151;
    TipLook.button_h = 42;
    TipLook.interface_w = 125;
    Tips_LevelReset();
}

// The board as the player first sees it: the fade-in runs to its end.
void FadeIn() {
    Ripple_Start();
    for (int i = 0; Intro_Active && i < 10000; ++i)
        Ripple_Step();
}

// A group of three the player's move made along a row, as the resolution sees it.
void PlayerGroupInRow(int y) {
    Group_Count = 3;
    Group_Moved = 1;
    for (int i = 0; i < 3; ++i)
        Group_Cells[i] = Point{i, y};
    Tips_GroupResolving();
}

// A player's move found at (x, y) and resolved, as a swap does.
void PlayerMatch(int x, int y) {
    Table_FindGroup(x, y, 1, 0);
    ++Player_Matches;
    Table_ResolveGroup();
}

TEST(TipShow, OncePerPlayerAndOneAtATime) {
    Tips_NewPlayer(0);
    Tips_NewPlayer(1);
    Player_Crt = 0;
    EXPECT_EQ(Tip_Show(TIP_CANDLE, 1, 1), 1);
    EXPECT_EQ(Tip_Show(TIP_SNOW, 1, 1), 0) << "another tip is open";
    EXPECT_EQ(Tip_Current, TIP_CANDLE);
    Tip_Close();
    EXPECT_EQ(Tip_Show(TIP_CANDLE, 1, 1), 0) << "seen by this player";
    Player_Crt = 1;
    EXPECT_EQ(Tip_Show(TIP_CANDLE, 1, 1), 1) << "another player has not seen it";
    Tip_Close();
    for (int bad : {-1, Tips_Columns, 1000})
        EXPECT_EQ(Tip_Show(bad, 1, 1), 0) << bad;
    Player_Crt = 12; // a player number from a damaged file
    EXPECT_EQ(Tip_Show(TIP_SNOW, 1, 1), 0);
    EXPECT_EQ(Tip_ClickAllowed(), 1);
    Player_Crt = 0;
}

TEST(TipShow, PanelHeightFollowsTheText) {
    struct Case {
        int text_h, with_button, height;
        float margin;
    };
    const Case cases[] = {
        {60, 0, 120, 8.0f}, // 80 fits the picture's height
        {60, 1, 120, 8.0f}, // 134 is within 1.2 times 120
        {120, 1, 194, 8.0f * 194 / 120},
        {200, 0, 220, 8.0f * 220 / 120},
    };
    for (const Case& c : cases) {
        Tips_NewPlayer();
        static int measured;
        measured = c.text_h;
        TipLook.measure = [](const std::string&, int width) {
            return width == 516 ? measured : -1;
        };
        ASSERT_EQ(Tip_Show(TIP_BOMB, c.with_button, c.with_button), 1);
        EXPECT_EQ(Tip_Height, c.height) << c.text_h;
        EXPECT_FLOAT_EQ(Tip_ButtonMargin, c.margin) << c.text_h;
        if (c.with_button) {
            EXPECT_EQ(Tip_ButtonX, Tip_X + 560 - 151 - 20);
            EXPECT_EQ(Tip_ButtonY, static_cast<int>(Tip_Y + c.height - 42 - c.margin));
        }
    }
}

TEST(TipArrow, PanelSitsAboveTheArrowOrBelowItWithinTheScreen) {
    struct Case {
        int x, y, panel_x, panel_y;
    };
    const Case cases[] = {
        {400, 300, 400 - 23 - 280, 300 - 120 - 16}, // above
        {400, 100, 400 - 23 - 280, 100 + 62 + 16},  // no room above: below
        {100, 300, 16, 164},                        // kept off the left edge
        {719, 187, 800 - 560 - 16, 187 - 120 - 16}, // and off the right edge
    };
    for (const Case& c : cases) {
        Tips_NewPlayer();
        ASSERT_EQ(Tip_Show(TIP_CANDLE, 1, 1), 1);
        Tip_Arrow(c.x, c.y, -45.0f, 0.0f);
        EXPECT_EQ(Tip_X, c.panel_x) << c.x << "," << c.y;
        EXPECT_EQ(Tip_Y, c.panel_y) << c.x << "," << c.y;
        EXPECT_EQ(Tip_ButtonX, Tip_X + 560 - 151 - 20) << "the button moves with the panel";
        EXPECT_EQ(Tip_ArrowOn, 1);
        EXPECT_FLOAT_EQ(Tip_ArrowAngle, -45.0f);
    }
    Tips_NewPlayer();
    EXPECT_EQ(Tip_DefaultX, 400 - 280 - 62)
        << "without an arrow the panel keeps clear of the side panel";
    EXPECT_EQ(Tip_DefaultY, 8);
}

// Level 1: the first tip points at a move and takes only clicks on cells that have one; the
// first match closes it, the third opens the ice tip, which holds the game.
TEST(TipLevelOne, FirstMoveTipGatesClicksUntilTheFirstMatch) {
    Tips_NewPlayer();
    Board_Build({"1121", "3434", "5656"}, {}, {}, 1);
    FadeIn();
    ASSERT_EQ(Tip_Showing, 1);
    EXPECT_EQ(Tip_Current, TIP_FIRST_MOVE);
    EXPECT_EQ(Tip_Blocking, 0);
    ASSERT_EQ(Tip_ArrowOn, 1);
    // The only move: the 2 at (2, 0) and the 1 at (3, 0) trade places.
    const int hinted_x = Hint_Move[0], hinted_y = Hint_Move[1];
    EXPECT_TRUE((hinted_x == 2 || hinted_x == 3) && hinted_y == 0) << hinted_x << "," << hinted_y;
    const Point corner = Table_CellCentreOnScreen(hinted_x, hinted_y);
    EXPECT_EQ(Tip_ArrowX, corner.x - Cell_HalfWidth - 23);
    EXPECT_EQ(Tip_ArrowY, corner.y - Cell_HalfHeight);
    struct Click {
        int x, y, allowed;
    };
    for (const Click& c : {Click{2, 0, 1}, Click{3, 0, 1}, Click{0, 0, 0}, Click{3, 2, 0}}) {
        Mouse_OverCell(c.x, c.y, true, false);
        Table_MouseCell();
        EXPECT_EQ(Tip_ClickAllowed(), c.allowed) << c.x << "," << c.y;
    }
    Mouse_OverCell(0, 2, true, false); // a cell without a move selects nothing
    Board_Run(1);
    EXPECT_EQ(Selection_Active, 0);

    Board_Build({"111222", "333444", "555666", "121212"}, {}, {}, 1);
    Tip_Showing = 1; // the first tip is still open when the first match is made
    Tip_Current = TIP_FIRST_MOVE;
    PlayerMatch(0, 0);
    EXPECT_EQ(Tip_Showing, 0) << "the first match closes it";
    PlayerMatch(3, 0);
    EXPECT_EQ(Tip_Showing, 0);
    PlayerMatch(0, 1);
    ASSERT_EQ(Tip_Showing, 1) << "the third match";
    EXPECT_EQ(Tip_Current, TIP_ICE);
    EXPECT_EQ(Tip_Blocking, 1);
    EXPECT_EQ(Tip_HasButton, 1);
    EXPECT_EQ(Tip_ClickAllowed(), 1) << "a tip that holds the game needs no gate";
}

TEST(TipLevelOne, IceBrokenAfterTheIceTipPraisesThePlayer) {
    Tips_NewPlayer();
    Board_Build({"1112", "3434"}, {"1110", "0000"}, {}, 1);
    Table_BreakIce(0, 0);
    EXPECT_EQ(Tip_Showing, 0) << "before the ice tip was seen";
    Tip_Seen[0][TIP_ICE] = 1;
    Table_BreakIce(1, 0);
    EXPECT_EQ(Tip_Showing, 1);
    EXPECT_EQ(Tip_Current, TIP_ICE_BROKEN);
    Tip_Close();
    Table_BreakIce(3, 0); // no ice there
    EXPECT_EQ(Tip_Showing, 0);
}

TEST(TipBoardShown, TipsByLevelAndMode) {
    struct Case {
        int level, relaxed, tip; // -1: none opens
        bool arrow;
    };
    const Case cases[] = {
        {2, 0, TIP_CANDLE, true},        {2, 1, -1, false}, // no candle in relaxed play
        {3, 0, TIP_HAMMER_COMING, true}, {5, 0, TIP_CHAIN, true},  {6, 0, -1, false},
        {8, 0, TIP_SNOW, true},          {13, 0, TIP_BOMB, false}, // no bomb on this board: no
                                                                   // arrow
    };
    for (const Case& c : cases) {
        Tips_NewPlayer();
        Relaxed_Mode = c.relaxed;
        Board_Build({"1a23", "2345"}, {"0120", "0000"}, {}, c.level);
        FadeIn();
        EXPECT_EQ(Tip_Showing, c.tip >= 0 ? 1 : 0) << c.level << " relaxed " << c.relaxed;
        if (c.tip >= 0) {
            EXPECT_EQ(Tip_Current, c.tip) << c.level;
        }
        EXPECT_EQ(Tip_ArrowOn, c.arrow ? 1 : 0)
            << c.level << ": a tip that does not open has no arrow";
    }
    Relaxed_Mode = 0;
}

TEST(TipBoardShown, PieceTargetIsTheTopmostInTheRightmostColumn) {
    Tips_NewPlayer();
    Board_Build({"a123", "2b4c", "34d5"}, {}, {}, 5);
    FadeIn();
    ASSERT_EQ(Tip_ArrowOn, 1);
    const Point c = Table_CellCentreOnScreen(3, 1);
    EXPECT_EQ(Tip_ArrowX, c.x - Cell_HalfWidth - 23);
    EXPECT_EQ(Tip_ArrowY, c.y - Cell_HalfHeight);
}

TEST(TipMissCount, TenPlayerMatchesAwayFromTheIceOpenTheIceTip) {
    Tips_NewPlayer();
    Board_Build({"111222", "333444"}, {"000000", "000011"}, {}, 2);
    Relaxed_Mode = 1; // no candle tip in the way
    FadeIn();
    for (int i = 0; i < 9; ++i)
        PlayerGroupInRow(0);
    EXPECT_EQ(Tip_MissCount, 9);
    EXPECT_EQ(Tip_Showing, 0);
    PlayerMatch(3, 1); // touches ice: the count starts again
    EXPECT_EQ(Tip_MissCount, 0);
    for (int i = 0; i < 9; ++i)
        PlayerGroupInRow(0);
    Group_Moved = 0; // a cascade does not count
    Tips_GroupResolving();
    EXPECT_EQ(Tip_MissCount, 9);
    PlayerGroupInRow(0);
    ASSERT_EQ(Tip_Showing, 1);
    EXPECT_EQ(Tip_Current, TIP_MISSED_ICE);
    EXPECT_EQ(Tip_MissCount, -1) << "shown once for good";
    Relaxed_Mode = 0;
}

TEST(TipHammers, EarnTakeAndDropOnLevelThree) {
    Tips_NewPlayer();
    // Only striking the 3 at (3, 1) lets a piece fall into a group: the 1 above it onto two 1s.
    Board_Build({"3451", "4213", "5211", "1311"}, {}, {}, 3);
    Hammer_Points = 49;
    Hammer_ComboOf(3);
    ASSERT_EQ(Tip_Showing, 1);
    EXPECT_EQ(Tip_Current, TIP_HAMMER_READY);
    EXPECT_EQ(Tip_ArrowX, static_cast<int>(Hammer_BoxX - 46 / 1.5 + 8));
    EXPECT_EQ(Tip_ClickAllowed(), 0) << "the board waits until the hammer is taken";
    Hammer_Take();
    ASSERT_EQ(Tip_Showing, 1);
    EXPECT_EQ(Tip_Current, TIP_HAMMER_USE);
    EXPECT_EQ(Board_Text()[0], "3451") << "the probe puts every piece back";
    ASSERT_EQ(Tip_ArrowOn, 1);
    EXPECT_EQ(Tip_ArrowX, Table_CellCentreOnScreen(3, 1).x - Cell_HalfWidth - 23);
    EXPECT_EQ(Tip_ArrowY, Table_CellCentreOnScreen(3, 1).y - Cell_HalfHeight);
    Hammer_Drop(1);
    EXPECT_EQ(Tip_Showing, 0);
}

TEST(TipHammers, StrongerHammersAfterTheFirstHammerTip) {
    Tips_NewPlayer();
    Board_Build({"123", "231"}, {}, {}, 4);
    Tips_HammerEarned(1);
    EXPECT_EQ(Tip_Showing, 0) << "the first hammer's tip comes first";
    Tips_HammerEarned(0);
    EXPECT_EQ(Tip_Current, TIP_HAMMER1);
    Tip_Close();
    Tips_HammerEarned(2);
    EXPECT_EQ(Tip_Current, TIP_HAMMER3);
}

TEST(TipSnowball, MadeSnowballGetsTheArrow) {
    Tips_NewPlayer();
    Board_Build({"1234", "2345"}, {}, {}, 6);
    Table_MakeSnowball(2, 1);
    ASSERT_EQ(Tip_Showing, 1);
    EXPECT_EQ(Tip_Current, TIP_SNOWBALL);
    EXPECT_EQ(Tip_ArrowX, Table_CellCentreOnScreen(2, 1).x - Cell_HalfWidth - 23);
    EXPECT_EQ(Hint_Timer, 0);
}

} // namespace
