// Player progress: what starting and ending a level records, how the next level unlocks, the
// wrap after the last level, which slots count as taken, and what a reset clears.
#include "data/config.h"
#include "data/level_file.h"
#include "data/players.h"
#include "engine/stream.h"
#include "engine/system.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

constexpr int W = LEVEL_WON, L = LEVEL_LOST;

class PlayersTest : public ::testing::Test {
  protected:
    void SetUp() override {
        Players_ClearTables();
        InitPlayerDefaults();
        Levels_Count = 150;
        Player_Crt = 3;
        LevelCrt = 1;
    }

    // One try of `level`: started, then ended `ms` later with `outcome`.
    void Play(int level, int outcome, int ms = 1000) {
        LevelCrt = level;
        LevelStartStats();
        Level_StartMs -= ms;
        LevelEndStats(outcome);
    }
};

TEST_F(PlayersTest, TriesOfALevelSetItsEasingStatusAndTheNextLevel) {
    struct Case {
        std::vector<int> tries;
        int easing, status;
    };
    const Case cases[] = {
        {{L}, 1, -1}, {{L, L, L}, 3, -1}, {{L, L, L, W}, 0, 1},
        {{W}, 0, 1},  {{W, L}, 1, -1},    {{L, W, L, L}, 2, -1},
    };
    for (const Case& c : cases) {
        SetUp();
        for (int outcome : c.tries)
            Play(7, outcome);
        SCOPED_TRACE(c.tries.size());
        EXPECT_EQ(Easyness_Table[3][7], c.easing);
        EXPECT_EQ(Level_Status[3][7], c.status);
        EXPECT_EQ(Level_Starts[3][7], static_cast<int>(c.tries.size()));
        // Won or lost, the game moves on to the next level and unlocks it.
        EXPECT_EQ(LevelCrt, 8);
        EXPECT_EQ(Level_Status[3][8], -1);
        // The last level moves on when the next one is newly reached, and back at a restart.
        EXPECT_EQ(Last_Level[3], c.tries.size() == 1 ? 8 : 7);
        EXPECT_EQ(Level_Played, 7);
        EXPECT_EQ(Level_Result, c.tries.back());
        EXPECT_EQ(Easyness_Table[2][7], 0); // another player's table is untouched
    }
}

TEST_F(PlayersTest, AnAlreadyWonNextLevelKeepsItsStatusAndTheLastLevel) {
    Level_Status[3][8] = 1;
    LevelCrt = 7;
    LevelStartStats();
    Last_Level[3] = 40; // as if the player had reached level 40 some other way
    LevelEndStats(L);
    EXPECT_EQ(LevelCrt, 8);
    EXPECT_EQ(Level_Status[3][8], 1);
    EXPECT_EQ(Last_Level[3], 40);
}

TEST_F(PlayersTest, BestTimeKeepsTheShortestWinAndTotalTimeAddsEveryTry) {
    struct Case {
        int best_before, outcome, ms;
        int best_after;
    };
    const Case cases[] = {
        {0, W, 5000, 5000},    // first win
        {9000, W, 5000, 5000}, // faster
        {3000, W, 5000, 3000}, // slower
        {0, L, 5000, 0},       // a loss is no best time
    };
    for (const Case& c : cases) {
        SetUp();
        Level_BestTime[3][9] = c.best_before;
        Level_TotalTime[9] = 700;
        Play(9, c.outcome, c.ms);
        // The clock runs on while the test does, by a few milliseconds at most.
        EXPECT_NEAR(Level_BestTime[3][9], c.best_after, 50) << c.best_before;
        EXPECT_NEAR(Level_TotalTime[9], 700 + c.ms, 50);
    }
}

TEST_F(PlayersTest, StartingALevelCountsItAndMarksItUnwonUntilWonAgain) {
    Level_Status[3][12] = 1;
    Level_Starts[3][12] = 4;
    LevelCrt = 12;
    const int before = MilliSecs();
    LevelStartStats();
    EXPECT_EQ(Level_Starts[3][12], 5);
    EXPECT_EQ(Level_Status[3][12], -1);
    EXPECT_EQ(Last_Level[3], 12);
    EXPECT_GE(Level_StartMs, before);
}

TEST_F(PlayersTest, FinishingTheLastLevelReturnsToTheFirstAndTheFirstMapPage) {
    struct Case {
        int level, outcome;
        int next, page;
    };
    const Case cases[] = {
        {149, W, 150, 4},
        {150, W, 1, 0},
        {150, L, 1, 0},
    };
    for (const Case& c : cases) {
        SetUp();
        Map_Page_A[3] = 4;
        Play(c.level, c.outcome);
        EXPECT_EQ(LevelCrt, c.next) << c.level;
        EXPECT_EQ(Map_Page_A[3], c.page) << c.level;
        EXPECT_EQ(Last_Level[3], c.next) << c.level;
    }
}

TEST_F(PlayersTest, LevelsAvailableAreOneToTheLevelCount) {
    const std::pair<int, bool> cases[] = {{-1, false}, {0, false},   {1, true},
                                          {150, true}, {151, false}, {211, false}};
    for (auto [level, available] : cases)
        EXPECT_EQ(Level_Available(level), available) << level;
}

TEST_F(PlayersTest, ASlotIsTakenOnceNamedOrPlayedAndFreeAgainAfterAReset) {
    EXPECT_FALSE(Player_SlotInUse(3)); // a new file: level 1 reached, nothing played
    Play(1, L);
    EXPECT_TRUE(Player_SlotInUse(3));
    // Replaying level 1 without winning it leaves its status at -1: the player stays.
    Play(1, W);
    Play(1, L);
    Play(1, L);
    EXPECT_EQ(Level_Status[3][1], -1);
    EXPECT_TRUE(Player_SlotInUse(3));
    Player_ResetTables(3);
    EXPECT_FALSE(Player_SlotInUse(3));
    Player_MarkSlotInUse(3, true); // named, not played yet
    EXPECT_TRUE(Player_SlotInUse(3));
    EXPECT_FALSE(Player_SlotInUse(4));
    EXPECT_FALSE(Player_SlotInUse(-1));
    EXPECT_FALSE(Player_SlotInUse(Players_Max));
}

TEST_F(PlayersTest, AFileWithoutTheFlagStillKnowsASlotThatWonALevel) {
    Level_Status[5][23] = 1;
    EXPECT_TRUE(Player_SlotInUse(5));
    EXPECT_EQ(Level_BestValue[5][0], 0);
}

TEST_F(PlayersTest, TheTakenFlagTravelsInTheProgressFileWithoutChangingItsSize) {
    const fs::path dir = fs::temp_directory_path() / "snow_players_flag";
    fs::remove_all(dir);
    fs::create_directories(dir);
    Config_SetDir(dir.string());
    ReadConfig(); // a first start: both files made
    Player_MarkSlotInUse(6, true);
    WriteConfigBin();
    Players_ClearTables();
    ReadConfigBin();
    EXPECT_TRUE(Player_SlotInUse(6));
    EXPECT_FALSE(Player_SlotInUse(5));
    EXPECT_EQ(fs::file_size(Config_BinPath), static_cast<std::uintmax_t>(Config_BinSize));
    fs::remove_all(dir);
}

TEST_F(PlayersTest, ResetClearsProgressAndKeepsTheStatistics) {
    auto fill = [](int p, int v) {
        for (int l = 0; l < Levels_Columns; ++l) {
            Level_Status[p][l] = 1;
            Level_Skipped[p][l] = 1;
            Level_Starts[p][l] = v;
            Level_BestTime[p][l] = v;
            Easyness_Table[p][l] = v;
            Map_Marks[p][l] = v;
        }
        for (int t = 0; t < Tips_Columns; ++t)
            Tip_Seen[p][t] = 1;
        Skips_Left[p] = 1;
        Last_Level[p] = 77;
        Map_Page_A[p] = 3;
        Map_Page_B[p] = 2;
        FxVolume[p] = MusicVolume[p] = AmbientVolume[p] = 0.1f;
        Player_MarkSlotInUse(p, true);
    };
    fill(3, 9);
    fill(4, 8);
    Level_TotalTime[20] = 12345;
    FxVolume_Crt = 0.6f, MusicVolume_Crt = 0.7f, AmbientVolume_Crt = 0.4f;

    Player_ResetTables(3);

    for (int l = 0; l < Levels_Columns; ++l) {
        EXPECT_EQ(Level_Status[3][l], l == 1 ? -1 : 0) << l;
        EXPECT_EQ(Level_Skipped[3][l], 0) << l;
        EXPECT_EQ(Level_Starts[3][l], 9) << l;
        EXPECT_EQ(Level_BestTime[3][l], 9) << l;
        EXPECT_EQ(Easyness_Table[3][l], 9) << l;
        EXPECT_EQ(Map_Marks[3][l], 9) << l;
    }
    for (int t = 0; t < Tips_Columns; ++t)
        EXPECT_EQ(Tip_Seen[3][t], 0);
    EXPECT_EQ(Skips_Left[3], 5);
    EXPECT_EQ(Last_Level[3], 1);
    EXPECT_EQ(Map_Page_A[3], 3);
    EXPECT_EQ(Map_Page_B[3], 2);
    EXPECT_FLOAT_EQ(FxVolume[3], 0.6f);
    EXPECT_FLOAT_EQ(MusicVolume[3], 0.7f);
    EXPECT_FLOAT_EQ(AmbientVolume[3], 0.4f);
    EXPECT_EQ(Level_TotalTime[20], 12345);
    EXPECT_FALSE(Player_SlotInUse(3));
    // The neighbour slot keeps everything.
    EXPECT_TRUE(Player_SlotInUse(4));
    EXPECT_EQ(Level_Status[4][50], 1);
    EXPECT_EQ(Skips_Left[4], 1);
    EXPECT_FLOAT_EQ(FxVolume[4], 0.1f);
}

} // namespace
