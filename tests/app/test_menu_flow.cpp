// The game as a whole: the introduction's texts, the level chooser's slots, marks and pages,
// the won dialog's keys, and runs of the program from a first start through the menu, the
// chooser, a won level and a game over.
#include "app/level_chooser.h"
#include "app/level_flow.h"
#include "app/main_menu.h"
#include "board/clock.h"
#include "data/config.h"
#include "data/players.h"

#include "game_run.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

TEST(LevelIntro, TimeIsShownAsHoursOnlyFromOneFullHour) {
    struct Case {
        int seconds;
        const char* text;
    };
    for (Case c : {Case{0, "00:00"}, Case{59, "00:59"}, Case{65, "01:05"}, Case{300, "05:00"},
                   Case{3599, "59:59"}, Case{3600, "1:00:00"}, Case{3723, "1:02:03"},
                   Case{36000, "10:00:00"}, Case{-5, "00:00"}})
        EXPECT_EQ(FormatLevelTime(c.seconds), c.text) << c.seconds;
}

TEST(LevelIntro, LevelsFrom211OnAreBonusLevels) {
    InitTexts();
    EXPECT_EQ(IntroLevelLine(1), "Level 1");
    EXPECT_EQ(IntroLevelLine(210), "Level 210");
    EXPECT_EQ(IntroLevelLine(211), "Bonus Level 211");
}

TEST(LevelChooser, SlotsRepeatOnEveryPageInFiveRowsOfSix) {
    struct Case {
        int level, x, y, page;
    };
    for (Case c : {Case{1, 45, 43, 0}, Case{6, 670, 43, 0}, Case{7, 45, 136, 0},
                   Case{30, 670, 415, 0}, Case{31, 45, 43, 1}, Case{150, 670, 415, 4}}) {
        const Chooser_Slot s = Chooser_SlotOf(c.level);
        EXPECT_EQ(s.x, c.x) << c.level;
        EXPECT_EQ(s.y, c.y) << c.level;
        EXPECT_EQ(Chooser_PageOf(c.level), c.page) << c.level;
    }
}

class ChooserTables : public ::testing::Test {
  protected:
    void SetUp() override {
        Players_ClearTables();
        Levels_Count = 150;
        MapLastPage = 4;
        Player_Crt = 2;
    }
    void TearDown() override { Players_ClearTables(); }
};

TEST_F(ChooserTables, MarksTellStartedFromAvailableLevels) {
    Level_Status[2][1] = 1;
    Level_Status[2][2] = -1;
    Level_Status[2][150] = -1;
    MapPage = 0;
    RefreshMapMarks();
    EXPECT_EQ(Map_Marks[2][1], MAP_MARK_STARTED);
    EXPECT_EQ(Map_Marks[2][2], MAP_MARK_STARTED);
    EXPECT_EQ(Map_Marks[2][3], MAP_MARK_AVAILABLE);
    EXPECT_EQ(Map_Marks[2][30], MAP_MARK_AVAILABLE);
    MapPage = 4; // levels 121..150: slot s shows level 120 + s
    RefreshMapMarks();
    EXPECT_EQ(Map_Marks[2][30], MAP_MARK_STARTED);
    EXPECT_EQ(Map_Marks[2][1], MAP_MARK_AVAILABLE);
    EXPECT_EQ(Map_Marks[0][30], MAP_MARK_NONE) << "other players' marks are left alone";
}

TEST_F(ChooserTables, FramesOfNeverStartedSkippedAndLastLevels) {
    Level_Status[2][1] = 1;
    Level_Status[2][2] = -1;
    Level_Status[2][3] = -1;
    Level_Skipped[2][2] = 1;
    Level_Skipped[2][3] = 1;
    Last_Level[2] = 3;
    struct Case {
        int level;
        bool over;
        int frame;
    };
    for (Case c :
         {Case{1, false, CHOOSER_FRAME_NORMAL}, Case{1, true, CHOOSER_FRAME_HOVER},
          Case{4, false, CHOOSER_FRAME_NEVER_STARTED}, Case{4, true, CHOOSER_FRAME_NEVER_STARTED},
          Case{2, false, CHOOSER_FRAME_SKIPPED}, Case{2, true, CHOOSER_FRAME_HOVER},
          Case{3, false, CHOOSER_FRAME_LAST_LEVEL}}) // the last level wins over skipped
        EXPECT_EQ(Chooser_FrameFor(c.level, c.over), c.frame) << c.level << " " << c.over;
}

TEST_F(ChooserTables, PagesStopAtTheEndsAndAreKeptForThePlayer) {
    MapPage = 0;
    Chooser_PreviousPage();
    EXPECT_EQ(MapPage, 0);
    for (int i = 0; i < 6; ++i)
        Chooser_NextPage();
    EXPECT_EQ(MapPage, 4);
    EXPECT_EQ(Map_Page_A[2], 4);
    Chooser_PreviousPage();
    EXPECT_EQ(Map_Page_A[2], 3);
    // A page out of range in the configuration file opens the nearest page.
    Map_Page_A[2] = 77;
    EnterLevelChooser();
    EXPECT_EQ(MapPage, 4);
}

TEST_F(ChooserTables, TheFirstKeyFinishesTheBonusCountTheNextMovesOn) {
    Level_Played = 1;
    Level_EndA = 500;
    EXPECT_EQ(LevelEnd_WonDialogKey(false, false, false, false), LEVEL_END_KEY_NONE);
    LevelEnd_CountBonus(0.5f); // 400 points a second
    EXPECT_EQ(Level_EndA, 300);
    EXPECT_EQ(LevelEnd_WonDialogKey(false, true, false, false), LEVEL_END_KEY_FINISH_COUNT);
    EXPECT_EQ(Level_EndA, 0);
    EXPECT_EQ(LevelEnd_WonDialogKey(false, true, false, false), LEVEL_END_KEY_NEXT);
    EXPECT_EQ(LevelEnd_WonDialogKey(true, false, false, false), LEVEL_END_KEY_MENU);
    Level_EndA = 10;
    EXPECT_EQ(LevelEnd_WonDialogKey(false, false, false, true), LEVEL_END_KEY_FINISH_COUNT)
        << "a click finishes the count too";
    LevelEnd_CountBonus(1.0f);
    EXPECT_EQ(Level_EndA, 0) << "never below zero";
    // After the last level neither key skips the congratulation.
    Level_Played = 150;
    EXPECT_EQ(LevelEnd_WonDialogKey(false, true, false, false), LEVEL_END_KEY_CONTINUE);
    EXPECT_EQ(LevelEnd_WonDialogKey(true, false, false, false), LEVEL_END_KEY_CONTINUE);
}

namespace {

class MenuFlow : public GameRunTest {
  protected:
    int Run(const std::string& args, const std::string& script, std::vector<int> dumps) {
        return RunGame(args, script, dumps);
    }
    double Value(int pass, const std::string& key) { return Number(pass, key); }
    // Entry i of a flat list.
    int Entry(int pass, const std::string& key, int i) {
        std::string list = Raw(pass, key);
        std::replace(list.begin(), list.end(), ',', ' ');
        std::istringstream in(list.substr(1));
        int v = -999;
        for (int k = 0; k <= i; ++k)
            in >> v;
        return v;
    }
    // A player named Anna in slot 0 who played level 1 once: the first start's name dialog
    // starts it; the run ends on its introduction.
    void NameAnna() { ASSERT_EQ(Run("--frames 60", "20 text Anna\n" + Key(30, 13), {}), 0); }
    // The left Control key held with another key.
    static std::string ControlKey(int pass, int code) {
        return std::to_string(pass - 1) + " keydown 162\n" + Key(pass, code) +
               std::to_string(pass + 2) + " keyup 162\n";
    }
};

} // namespace

// Where the buttons stand: the menu's "Start" at (519, 184) 112 x 77; the chooser's level 1 at
// (45, 43) and level 13 at (45, 229), 80 x 60; its "Previous" at (466, 540) and "Next" at
// (633, 540), 151 x 42; the level end's "Replay Level" at (325, 558).
TEST_F(MenuFlow, ANewPlayerNamesThemselvesWinsLevelOneGoesOnAndReplaysItFromTheChooser) {
    const std::string script = "20 text Anna\n" + Key(30, 13) +      // the name dialog
                               Key(90, 13) + Key(100, 13) +          // wipe skipped, "Start"
                               ControlKey(300, 'W') +                // all ice gone: won
                               Key(530, 13) +                        // the bonus count finishes
                               Key(540, 13) +                        // "Next Level"
                               Key(550, 13) + Key(570, 13) +         // wipe skipped, level 2 starts
                               Key(600, 27) + Click(610, 140, 570) + // pause, "Main Menu"
                               Click(630, 575, 222) + // "Start": the saved match is offered
                               Click(645, 490, 375) + // "New match": the chooser
                               Click(665, 85, 73);    // level 1
    const std::vector<int> at = {25, 99, 200, 320, 520, 535, 545, 575, 620, 640, 655, 675};
    ASSERT_EQ(Run("--dev-keys --frames 685", script, at), 0);
    // A first start shows only the name dialog over the menu.
    EXPECT_EQ(Value(25, "GameState"), 0);
    EXPECT_EQ(Raw(25, "Dialog"), "\"name\"");
    // The name starts level 1 at once.
    EXPECT_EQ(Raw(99, "Player_Name"), "\"Anna\"");
    EXPECT_EQ(Value(99, "GameState"), 5);
    EXPECT_EQ(Value(99, "LevelCrt"), 1);
    EXPECT_EQ(Value(99, "Lives"), 3);
    EXPECT_EQ(Value(200, "GameState"), 1);
    // Won: the level end with level 2 next and unlocked.
    EXPECT_EQ(Value(320, "GameState"), 6);
    EXPECT_EQ(Value(320, "Level_Played"), 1);
    EXPECT_EQ(Value(320, "LevelCrt"), 2);
    EXPECT_EQ(Entry(320, "Levels_Status", 0), 1);
    EXPECT_EQ(Entry(320, "Levels_Status", 1), -1);
    EXPECT_EQ(Entry(320, "Levels_Status", 2), 0);
    const double bonus = Value(320, "Level_TimeBonus");
    EXPECT_GT(bonus, 5000);
    // After 4 s the won dialog counts the bonus in; Enter only finishes the count.
    EXPECT_EQ(Raw(520, "Dialog"), "\"level_won\"");
    EXPECT_GT(Value(520, "Score_Counting"), 0);
    EXPECT_LT(Value(520, "Score_Counting"), bonus);
    EXPECT_EQ(Value(535, "GameState"), 6);
    EXPECT_EQ(Raw(535, "Dialog"), "\"level_won\"");
    EXPECT_EQ(Value(535, "Score_Counting"), 0);
    // The second Enter is "Next Level": level 2's introduction, the match goes on.
    EXPECT_EQ(Value(545, "GameState"), 5);
    EXPECT_EQ(Value(545, "LevelCrt"), 2);
    EXPECT_EQ(Raw(545, "Dialog"), "\"none\"");
    EXPECT_EQ(Value(545, "Score"), Value(320, "Score"));
    EXPECT_EQ(Value(575, "GameState"), 1);
    EXPECT_EQ(Value(620, "GameState"), 0);
    // The match left on level 2 was saved, so "Start" offers to resume it first.
    EXPECT_EQ(Value(640, "GameState"), 0);
    EXPECT_EQ(Raw(640, "Dialog"), "\"resume_match\"");
    EXPECT_EQ(Value(655, "GameState"), 2);
    EXPECT_EQ(Value(655, "MapPage"), 0);
    // Level 1 again from the chooser: a new match.
    EXPECT_EQ(Value(675, "GameState"), 5);
    EXPECT_EQ(Value(675, "LevelCrt"), 1);
    EXPECT_EQ(Value(675, "Score"), 0);
    EXPECT_EQ(Value(675, "Lives"), 3);
}

TEST_F(MenuFlow, TheChooserTurnsPagesOnlyWhereThereAreAndExplainsLockedLevels) {
    NameAnna();
    // Previous on page 0 and Next on page 4 are not there: clicking their place does nothing.
    std::string script = Click(20, 575, 222) + Click(40, 541, 560); // chooser, "Previous"
    for (int i = 0; i < 5; ++i)
        script += Click(60 + 20 * i, 708, 560); // "Next" five times
    script += "170 move 10 10\n";               // no level
    script += "180 move 85 259\n";              // level 133, never started
    script += Click(190, 85, 259);
    const std::vector<int> at = {38, 50, 70, 150, 175, 185, 199};
    ASSERT_EQ(Run("--frames 200", script, at), 0);
    EXPECT_EQ(Value(38, "GameState"), 2);
    EXPECT_EQ(Raw(38, "ChooserButtons"), R"(["Main Menu", "Start", "Next"])");
    EXPECT_EQ(Value(50, "MapPage"), 0);
    EXPECT_EQ(Value(70, "MapPage"), 1);
    EXPECT_EQ(Raw(70, "ChooserButtons"), R"(["Main Menu", "Start", "Next", "Previous"])");
    EXPECT_EQ(Value(150, "MapPage"), 4) << "no page beyond 4";
    EXPECT_EQ(Raw(150, "ChooserButtons"), R"(["Main Menu", "Start", "Previous"])");
    EXPECT_EQ(Raw(175, "Tooltip"), "null");
    // Level 133 was never started: the tooltip stands 16 px above the pointer.
    EXPECT_EQ(Raw(185, "Tooltip"), "[85, 243]");
    EXPECT_EQ(Value(199, "GameState"), 2) << "a never-started level cannot be played";
}

TEST_F(MenuFlow, ReplayAfterAGameOverIsANewMatch) {
    // The developer key D empties the clock and the lives; Enter closes "Time's up...".
    const std::string script = ControlKey(200, 'D') + Key(230, 13) + Click(380, 400, 579);
    ASSERT_EQ(Run("--level 1 --dev-keys --frames 400", script, {240, 370, 395}), 0);
    EXPECT_EQ(Value(240, "GameState"), 6);
    EXPECT_EQ(Value(240, "Lives"), 0);
    EXPECT_EQ(Value(240, "Easyness"), 0) << "level 2 is next, not yet failed";
    EXPECT_EQ(Value(370, "GameState"), 6);
    EXPECT_EQ(Value(395, "GameState"), 5);
    EXPECT_EQ(Value(395, "LevelCrt"), 1);
    EXPECT_EQ(Value(395, "Easyness"), 1) << "the lost match counts against level 1";
    EXPECT_EQ(Value(395, "Lives"), 3);
    EXPECT_EQ(Value(395, "Score"), 0);
}
