// The game screen's rules in-process: the candle's frames and flame, buying time, the
// time's-up message, and when leaving for the menu keeps the match.
#include "app/game_screen.h"
#include "app/main_loop.h"
#include "board/clock.h"
#include "board/matching.h"
#include "fx/candle.h"

#include <gtest/gtest.h>

TEST(Candle, BurntFramesAndTheCrossFadeToTheNext) {
    struct Case {
        int full, current, frame;
        float fade; // -1: frame f alone
    };
    for (Case c : {Case{300000, 300000, 0, 0.0f}, // full: frame 0 alone in effect
                   Case{300000, 0, 31, -1.0f},    // burnt down
                   Case{300000, -20, 31, -1.0f},  // a frame below zero shows the stub
                   Case{310000, 305000, 0, 0.5f}, // half way to frame 1
                   Case{310000, 15000, 29, 0.5f},
                   Case{310000, 10000, 30, -1.0f}, // the last frames stand alone
                   Case{20, 10, 15, -1.0f}}) {     // too small to cross-fade
        const int f = Candle_BurntFrames(c.full, c.current);
        EXPECT_EQ(f, c.frame) << c.full << " " << c.current;
        const float a = f >= 30 ? -1.0f : Candle_FadeToNext(c.full, c.current, f);
        EXPECT_NEAR(a, c.fade, 1e-4) << c.full << " " << c.current;
    }
}

TEST(Candle, TheFlameEasesDownAndJumpsWhenTimeIsAdded) {
    FlameY = 0.0f;
    Candle_MoveFlame(10, 74, 0.02f);
    const float at10 = 10 * 2.375f + 74 + 42;
    EXPECT_FLOAT_EQ(FlameY, at10) << "placed at once";
    Candle_MoveFlame(11, 74, 0.5f); // 2.375 px lower: eases half way
    EXPECT_NEAR(FlameY, at10 + 2.375f * 0.5f, 1e-3);
    Candle_MoveFlame(3, 74, 0.02f); // time added: far above, jumps
    EXPECT_FLOAT_EQ(FlameY, 3 * 2.375f + 74 + 42);
}

TEST(Candle, NothingIsDrawnForAnEmptyOrOverfullCandle) {
    FlameY = 0.0f;
    FlameFrame = 1.5f;
    Candle_Draw(0, 0, 701, 74);
    Candle_Draw(1000, 2000, 701, 74);
    EXPECT_EQ(FlameY, 0.0f);
    EXPECT_EQ(FlameFrame, 1.5f);
}

TEST(InGameDialogs, BuyingTimeWithTheLastLifeLeavesNoneAndPlayGoesOn) {
    Lives = 1;
    Time_Left = 50000;
    Time_Bought = 0;
    Time_Offered = 1;
    GameState = STATE_PAUSED;
    OpenDialog(nullptr, nullptr, 0);
    BuyTime();
    EXPECT_EQ(Lives, 0);
    EXPECT_EQ(Time_Left, 170000);
    EXPECT_EQ(Time_Bought, 120000);
    EXPECT_EQ(Time_Offered, 0) << "the offer may come again";
    EXPECT_EQ(GameState, STATE_PLAYING);
    EXPECT_EQ(DialogActive, 0);
}

TEST(InGameDialogs, TimesUpSaysGameLostExactlyWhenNoLifeIsLeft) {
    struct Case {
        int lives;
        const char* line;
    };
    for (Case c : {Case{2, "Life lost"}, Case{1, "Life lost"}, Case{0, "Game lost"}}) {
        Lives = c.lives;
        EXPECT_STREQ(TimeUpLine(), c.line) << c.lives;
    }
}

TEST(InGameDialogs, LeavingForTheMenuKeepsOnlyAMatchThatProgressed) {
    struct Case {
        int score, lives;
        bool saves;
    };
    for (Case c : {Case{0, 3, false}, Case{10, 3, true}, Case{0, 2, true}, Case{0, 4, true}}) {
        Score = c.score;
        Lives = c.lives;
        EXPECT_EQ(LevelMenu_SavesMatch(), c.saves) << c.score << " " << c.lives;
    }
}
