// The level clock: the offer and warnings, the reserve from big groups, losing a life, winning
// and its points, and the easing of a level the player keeps failing.
#include "board_fixture.h"

#include "board/clock.h"
#include "board/matching.h"
#include "board/table.h"
#include "data/level_file.h"
#include "data/players.h"
#include "engine/frame.h"
#include "engine/shell.h"

#include <gtest/gtest.h>

namespace {

// A 9 x 2 board under one layer of ice; its top row is one group of nine.
void StartLevel(int level_time, int relaxed = 0) {
    Level_Time = level_time;
    Relaxed_Mode = relaxed;
    Hidden_Time_Mult = 1.0f;
    Board_Build({"111111111", "234523452"}, {"111111111", "111111111"});
    GameState = STATE_PLAYING;
    ShellLog = {};
}

void Tick(int frames, float ms = 20.0f) {
    DeltaMs = ms;
    DeltaSec = ms / 1000.0f;
    for (int i = 0; i < frames; ++i)
        Level_Clock();
}

void ClearIce() {
    for (int x = 0; x < Table_dx; ++x)
        for (int y = 0; y < Table_dy; ++y)
            Table[x][y].background = 0;
}

// Runs the clock until the offer opens; returns Time_Left at that moment (or -1).
int TimeWhenOffered() {
    for (int i = 0; i < 100000 && ShellLog.warnings == 0; ++i)
        Tick(1, 100.0f);
    return ShellLog.warnings ? Time_Left : -1;
}

} // namespace

TEST(LevelClock, LayoutFillsTheCandleAndSetsTheOfferThreshold) {
    struct Case {
        int level_time, warn_at;
    };
    for (Case c :
         {Case{300000, 60000}, Case{70000, 60000}, Case{69999, 34999}, Case{60000, 30000}}) {
        StartLevel(c.level_time);
        EXPECT_EQ(Time_Left, c.level_time);
        EXPECT_EQ(Time_WarnAt, c.warn_at) << c.level_time;
        EXPECT_EQ(Time_Reserve, 0);
        EXPECT_EQ(Time_Offered + Warned90 + Warned30 + Time_Bought, 0);
    }
}

TEST(LevelClock, RelaxedModeNeverMovesTheCandleNorSoundsAlarmsNorPaysABonus) {
    StartLevel(30000, 1);
    Tick(2000);
    EXPECT_EQ(Time_Left, 30000);
    EXPECT_EQ(Alarm_Count, 0);
    EXPECT_EQ(ShellLog.warnings + ShellLog.time_ups, 0);
    ClearIce();
    Tick(1);
    EXPECT_EQ(Score, 0);
    EXPECT_EQ(Level_TimeBonus, 0);
    EXPECT_EQ(Level_Outcome, 1);
    EXPECT_EQ(ShellLog.states, std::vector<int>{STATE_LEVEL_END});
}

TEST(LevelClock, TheOfferOpensOnceBelowItsThresholdWhileALifeRemains) {
    struct Case {
        int level_time, lives, offered_below;
    };
    for (Case c : {Case{300000, 3, 60000}, Case{60000, 1, 30000}, Case{300000, 0, -1}}) {
        StartLevel(c.level_time);
        Lives = c.lives;
        const int at = TimeWhenOffered();
        if (c.offered_below < 0) {
            EXPECT_EQ(at, -1) << "no life to pay with";
            continue;
        }
        EXPECT_LT(at, c.offered_below);
        EXPECT_GE(at, c.offered_below - 100);
        EXPECT_EQ(GameState, STATE_PAUSED);
        EXPECT_EQ(Time_Offered, 1);
        GameState = STATE_PLAYING; // "Risk it"
        Tick(50);
        EXPECT_EQ(ShellLog.warnings, 1) << "offered once";
    }
}

TEST(LevelClock, FrozenBehindADialogTheClockStands) {
    StartLevel(300000);
    GameState = STATE_PAUSED;
    Tick(100);
    EXPECT_EQ(Time_Left, 300000);
}

TEST(LevelClock, WarningFlagsFollowTheCandle) {
    StartLevel(300000);
    Time_Offered = 1;
    Time_Left = 90010;
    Tick(1);
    EXPECT_EQ(Warned90, 1);
    EXPECT_EQ(Warned30, 0);
    Time_Left = 30010;
    Tick(1);
    EXPECT_EQ(Warned30, 1);
}

TEST(LevelClock, ANineGroupFillsTheReserveWhichRefillsTheCandleWhileAlarmsStaySilent) {
    StartLevel(300000);
    Time_Offered = 1;
    Time_Left = 200000; // 100 s burnt
    Table_FindGroup(0, 0, 0, 0);
    ASSERT_EQ(Group_Count, 9);
    Table_ResolveGroup();
    EXPECT_EQ(Time_Reserve, 3000); // 48 * 1000 / 16
    Time_Left = 25000;
    Tick(1250); // exactly to 0
    EXPECT_EQ(Time_Left, 0);
    EXPECT_EQ(Alarm_Count, 0) << "silent while a reserve is held";
    Tick(1);
    EXPECT_EQ(Time_Left, 2980);
    EXPECT_EQ(Time_Reserve, 0);
    EXPECT_EQ(ShellLog.time_ups, 0);
    Tick(100); // 2980 -> 980: the displayed seconds fall from 2 to 0 and pass 1
    EXPECT_EQ(Alarm_Count, 1);
    EXPECT_EQ(Alarm_LastSecond, 1);
}

TEST(LevelClock, AlarmsSoundAtTwentyFifteenTenAndEachSecondBelow) {
    StartLevel(300000);
    Time_Offered = 1;
    Time_Left = 21000;
    Tick(1000);                    // to 1000: the displayed seconds fall from 21 to 1
    EXPECT_EQ(Alarm_Count, 3 + 9); // 20, 15, 10, then 9 .. 1
    EXPECT_EQ(Alarm_LastSecond, 1);
    Tick(50);
    EXPECT_EQ(Alarm_Count, 12);
}

TEST(LevelClock, TheReserveIsCappedByTheTimeBurntAndNeverNegative) {
    struct Case {
        int level_time, time_left, reserve, group, expected;
    };
    for (Case c : {Case{300000, 299000, 0, 10, 1000}, // only one second burnt
                   Case{300000, 200000, 500, 7, 2500}, Case{300000, 200000, 99000, 22, 100000},
                   Case{300000, 200000, 1500, 3, 1500}, // small groups keep it
                   Case{60000, 170000, 0, 9, 0},        // bought time lifts the candle
                   Case{60000, 170000, 4000, 2, 0}}) {
        StartLevel(c.level_time);
        Time_Left = c.time_left;
        Time_Reserve = c.reserve;
        Group_Count = c.group;
        Time_BonusForGroup();
        EXPECT_EQ(Time_Reserve, c.expected) << c.time_left << " " << c.group;
    }
}

TEST(LevelClock, GroupBonusTable) {
    struct Case {
        int n, ms;
    };
    for (Case c : {Case{2, 0}, Case{6, 0}, Case{7, 2000}, Case{8, 2250}, Case{9, 3000},
                   Case{10, 3500}, Case{14, 5500}, Case{15, 7500}, Case{17, 8500}, Case{18, 18000},
                   Case{21, 21000}, Case{22, 44000}, Case{40, 80000}})
        EXPECT_EQ(Time_BonusFor(c.n), c.ms) << c.n;
}

TEST(LevelClock, GoldenPiecesGiveTenSecondsUpToTheLevelTimeAndNeverTakeAny) {
    struct Case {
        int level_time, before, after;
    };
    for (Case c : {Case{300000, 100000, 110000}, Case{300000, 295000, 300000},
                   Case{60000, 170000, 170000}}) {
        StartLevel(c.level_time);
        Time_Left = c.before;
        Time_Golden();
        EXPECT_EQ(Time_Left, c.after) << c.before;
    }
}

TEST(LevelClock, RunningOutCostsALifeAndOpensTimesUp) {
    struct Case {
        int lives, after;
    };
    for (Case c : {Case{3, 2}, Case{1, 0}, Case{0, 0}}) { // 0: the last life was bought
        StartLevel(300000);
        Lives = c.lives;
        Time_Offered = 1;
        Time_Left = 30;
        Tick(2);
        EXPECT_EQ(Lives, c.after);
        EXPECT_EQ(ShellLog.time_ups, 1);
        EXPECT_EQ(GameState, STATE_PAUSED);
    }
}

TEST(LevelClock, TheLifeIsLostWhenTheClockAndTheLastIceRunOutTogether) {
    StartLevel(300000);
    Time_Offered = 1;
    Time_Left = 10;
    ClearIce();
    Tick(1);
    EXPECT_EQ(Lives, 2);
    EXPECT_EQ(ShellLog.time_ups, 1);
    EXPECT_TRUE(ShellLog.states.empty()) << "no win";
    EXPECT_EQ(Score, 0);
}

TEST(LevelClock, NoOfferOnTheFrameTheLevelIsWon) {
    StartLevel(300000);
    Time_Left = 60010;
    ClearIce();
    Tick(1);
    EXPECT_EQ(ShellLog.warnings, 0);
    EXPECT_EQ(ShellLog.states, std::vector<int>{STATE_LEVEL_END});
}

TEST(LevelWin, ThousandPointsAndTwentyPerSecondLeftButNoneForBoughtTime) {
    struct Case {
        int time_left, bought, score, bonus;
        long long end_b;
    };
    for (Case c : {Case{83456, 0, 2669, 1669, 1669LL * 300000 / 83456},
                   Case{83456, 120000, 1000, 0, 0}, Case{0, 0, 1000, 0, 0}}) {
        StartLevel(300000);
        Score = 500;
        Score_Start_Level = 500;
        Time_Left = c.time_left;
        Time_Bought = c.bought;
        Level_Win();
        EXPECT_EQ(Score - 500, c.score) << c.time_left << " " << c.bought;
        EXPECT_EQ(Level_Score, c.score);
        EXPECT_EQ(Level_TimeBonus, c.bonus);
        EXPECT_EQ(Level_EndA, c.bonus);
        EXPECT_EQ(Level_EndB, c.end_b);
        EXPECT_GE(Level_EndB, Level_EndA);
        EXPECT_EQ(HighscoreDelay, 4000);
        EXPECT_EQ(Level_Outcome, 1);
        EXPECT_EQ(ShellLog.states, std::vector<int>{STATE_LEVEL_END});
    }
}

TEST(LevelEase, FailedTriesSlowTheClockAndThinTheSpecialPieces) {
    struct Case {
        int easyness;
        float mult;
        int shield10, golden4;
    };
    for (Case c :
         {Case{0, 1.0f, 10, 4}, Case{1, 0.98f, 8, 3}, Case{2, 0.94f, 7, 2}, Case{5, 0.85f, 2, 1},
          Case{8, 0.76f, 1, 1}, Case{20, 0.75f, 1, 1}, Case{-1, 1.0f, 10, 4}}) {
        Player_Crt = 2;
        LevelCrt = 7;
        Easyness_Table[2][7] = c.easyness;
        ShieldPercent = 10;
        GoldenPercent = 4;
        Level_Ease();
        EXPECT_NEAR(Hidden_Time_Mult, c.mult, 1e-6) << c.easyness;
        EXPECT_EQ(ShieldPercent, c.shield10) << c.easyness;
        EXPECT_EQ(GoldenPercent, c.golden4) << c.easyness;
    }
    Easyness_Table[2][7] = 0;
    Player_Crt = 0;
}

TEST(LevelEase, TheHiddenFactorSlowsTheCandle) {
    struct Case {
        int easyness, ms_per_20;
    };
    for (Case c : {Case{0, 20}, Case{2, 18}, Case{5, 17}}) {
        StartLevel(300000);
        Hidden_Time_Mult = Time_MultFor(c.easyness);
        Tick(1);
        EXPECT_EQ(300000 - Time_Left, c.ms_per_20) << c.easyness;
    }
}
