// The saved match through runs of the program: a won level moves it on, a paused level left
// for the menu is resumed with its board and clock, leaving before any progress keeps nothing,
// the menu's mode wins over the saved one, and a game over enters the highscore table.
#include "data/saved_match.h"

#include "game_run.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

class SavedMatch : public GameRunTest {
  protected:
    // `frames` passes with the developer keys on.
    int Run(int frames, const std::string& script, std::vector<int> dumps,
            const std::string& extra = "") {
        return RunGame("--dev-keys --frames " + std::to_string(frames) + " " + extra, script,
                       dumps);
    }
    int Value(int pass, const std::string& key) { return static_cast<int>(Number(pass, key)); }
    Match_File Saved() {
        std::vector<std::uint8_t> bytes;
        std::ifstream f(dir / "match_0.jmm", std::ios::binary);
        bytes.assign(std::istreambuf_iterator<char>(f), {});
        EXPECT_EQ(bytes.size(), 48u);
        Match_File m;
        MatchFile_Decode(bytes, m);
        return m;
    }
    static std::string ControlKey(int pass, int code) {
        return std::to_string(pass - 1) + " keydown 162\n" + Key(pass, code) +
               std::to_string(pass + 2) + " keyup 162\n";
    }
};

// Where the buttons stand: the menu's "Start" at (519, 184); the pause screen's "Main Menu" at
// (64, 550); the resume dialog's "Resume" at (232, 346) and "New match" at (418, 346); the
// chooser's level 1 at (45, 43).
constexpr int StartX = 575, StartY = 222, MenuX = 140, MenuY = 570, ResumeX = 300, ResumeY = 375;

TEST_F(SavedMatch, AWonLevelMovesTheMatchOnAndAPausedLevelResumesWithItsBoardAndClock) {
    // A first start: the name, level 1, won with the developer key.
    ASSERT_EQ(Run(330,
                  "20 text Bo\n" + Key(30, 13) + Key(90, 13) + Key(100, 13) + ControlKey(300, 'W'),
                  {329}),
              0);
    Match_File m = Saved();
    EXPECT_EQ(m.LevelCrt, 2);
    EXPECT_EQ(m.LevelFirst, 1);
    EXPECT_EQ(m.Lives, 3);
    EXPECT_EQ(m.Score, Value(329, "Score"));
    EXPECT_GT(m.Score, 0);
    EXPECT_EQ(m.LevelCrt_IsRunning, 0);

    // "Start" offers the match; "Resume" opens level 2 with the match's score. The level is
    // played a while (the wipe skipped, the tip that opens once the board is in closed),
    // paused and left for the menu.
    const int score = m.Score;
    ASSERT_EQ(Run(320,
                  Click(20, StartX, StartY) + Click(40, ResumeX, ResumeY) + Key(90, 13) +
                      Key(100, 13) + Key(240, 13) + Key(260, 27) + Click(280, MenuX, MenuY),
                  {35, 60, 270, 310}),
              0);
    EXPECT_EQ(Value(35, "GameState"), 0);
    EXPECT_EQ(Raw(35, "Dialog"), "\"resume_match\"");
    EXPECT_EQ(Value(60, "GameState"), 5);
    EXPECT_EQ(Value(60, "LevelCrt"), 2);
    EXPECT_EQ(Value(60, "Score"), score);
    EXPECT_EQ(Value(270, "GameState"), 7);
    EXPECT_EQ(Value(310, "GameState"), 0);
    m = Saved();
    EXPECT_EQ(m.LevelCrt_IsRunning, 1);
    EXPECT_EQ(m.LevelCrt, 2);
    EXPECT_EQ(m.Time_Left, Value(270, "Time_Left"));
    EXPECT_LT(m.Time_Left, Value(60, "Time_Left")) << "the clock ran before the pause";
    EXPECT_TRUE(fs::exists(dir / "match_0.lev"));
    const std::string board = Raw(270, "cells");

    // Resumed again: the same board, clock and score on the introduction.
    ASSERT_EQ(Run(80, Click(20, StartX, StartY) + Click(40, ResumeX, ResumeY), {60}), 0);
    EXPECT_EQ(Value(60, "GameState"), 5);
    EXPECT_EQ(Value(60, "LevelCrt"), 2);
    EXPECT_EQ(Value(60, "Time_Left"), m.Time_Left);
    EXPECT_EQ(Value(60, "Score"), score);
    EXPECT_EQ(Raw(60, "cells"), board);
}

TEST_F(SavedMatch, LeavingBeforeAnyProgressKeepsNothingAndRelaxedPlayResumesRelaxed) {
    // The name starts level 1; leaving it at once saves no match.
    ASSERT_EQ(Run(200,
                  "20 text Bo\n" + Key(30, 13) + Key(90, 13) + Key(100, 13) + Key(150, 27) +
                      Click(170, MenuX, MenuY),
                  {190}),
              0);
    EXPECT_EQ(Value(190, "GameState"), 0);
    EXPECT_FALSE(fs::exists(dir / "match_0.jmm"));
    // Level 1 chosen in the chooser: the match is written standing at its start.
    ASSERT_EQ(Run(80, Click(20, StartX, StartY) + Click(40, 85, 73), {60}), 0);
    EXPECT_EQ(Value(60, "GameState"), 5);
    Match_File m = Saved();
    EXPECT_EQ(m.size, 48);
    EXPECT_EQ(m.Lives, 3);
    EXPECT_EQ(m.Score, 0);
    EXPECT_EQ(m.LevelFirst, 1);
    EXPECT_EQ(m.LevelCrt, 1);
    EXPECT_EQ(m.PlayedTime, 0);
    EXPECT_EQ(m.LevelCrt_IsRunning, 0);
    EXPECT_EQ(m.Relaxed_Mode, 0);
    // "Relaxed Play" takes the timed match as relaxed and saves it so.
    ASSERT_EQ(Run(80, Click(20, 575, 310) + Click(40, ResumeX, ResumeY), {60}), 0);
    EXPECT_EQ(Value(60, "GameState"), 5);
    EXPECT_EQ(Value(60, "Relaxed_Mode"), 1);
    EXPECT_EQ(Saved().Relaxed_Mode, 1);
}

TEST_F(SavedMatch, AGameOverEntersTheTableAndShowsItsRowAndA40ByteMatchFileWarns) {
    // The developer key D empties the clock and the lives with a score of 20.
    ASSERT_EQ(Run(520,
                  "20 text Bo\n" + Key(30, 13) + Key(90, 13) + Key(100, 13) + ControlKey(200, 'D') +
                      Key(230, 13),
                  {240, 510}),
              0);
    EXPECT_EQ(Value(240, "GameState"), 6);
    EXPECT_EQ(Raw(240, "Dialog"), "\"none\"");
    EXPECT_EQ(Raw(510, "Dialog"), "\"highscores\"") << "the table opens 5 s after the game over";
    EXPECT_FALSE(fs::exists(dir / "match_0.jmm"));
    std::vector<std::uint8_t> bytes;
    {
        std::ifstream f(dir / "highscores.dat", std::ios::binary);
        bytes.assign(std::istreambuf_iterator<char>(f), {});
    }
    ASSERT_EQ(bytes.size(), 448u);
    EXPECT_EQ(bytes[4], 20) << "row 0 holds the score";
    EXPECT_EQ(bytes[20], 'B');
    EXPECT_EQ(bytes[24], 'o');

    // An older match file of 40 bytes: warned about, its clock fields read as 0.
    Match_File old;
    old.size = 40;
    old.Lives = 2;
    old.Score = 150;
    old.LevelFirst = 1;
    old.LevelCrt = 1;
    std::vector<std::uint8_t> rec = MatchFile_Encode(old);
    rec.resize(40);
    std::ofstream(dir / "match_0.jmm", std::ios::binary)
        .write(reinterpret_cast<const char*>(rec.data()), 40);
    ASSERT_EQ(Run(60, Click(20, StartX, StartY), {40}), 0);
    std::ifstream err(dir / "stderr.txt");
    std::stringstream e;
    e << err.rdbuf();
    EXPECT_NE(e.str().find("Match_Load(): size read smaller! Older version?"), std::string::npos);
    EXPECT_EQ(Value(40, "Lives"), 2);
    EXPECT_EQ(Value(40, "Score"), 150);
    EXPECT_EQ(Value(40, "Time_Bought"), 0);
    EXPECT_EQ(Saved().size, 48) << "saved back in the full record";
}

} // namespace
