// Playing a level through the game program: the one-minute warning and its answers, time
// running out with and without lives, winning, relaxed play, and pausing.
#include "game_run.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <regex>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

class GameFlow : public GameRunTest {
  protected:
    int Run(const std::string& args, const std::string& script, std::vector<int> dumps) {
        return RunGame(args, script, dumps);
    }
    double Value(int pass, const std::string& key) { return Number(pass, key); }
    // Level 1 with a 4-second clock: the offer comes below 2 s, a little after the board's
    // fade-in (about 2.7 s at 20 ms a frame), and the time is up some 100 frames later.
    std::string ShortLevel() {
        std::ifstream in(std::string(SNOW_ASSETS_DIR) + "/levels/KV_level_001.lev",
                         std::ios::binary);
        std::vector<char> bytes((std::istreambuf_iterator<char>(in)), {});
        const std::int32_t time = 4000; // the header's fourth field, little-endian
        for (int i = 0; i < 4; ++i)
            bytes.at(12 + i) = static_cast<char>((time >> (8 * i)) & 0xff);
        const fs::path path = dir / "short.lev";
        std::ofstream(path, std::ios::binary).write(bytes.data(), std::streamsize(bytes.size()));
        return "--level-file " + path.string();
    }
};

// The left Control key held with another key.
std::string ControlKey(int pass, int code) {
    return std::to_string(pass - 1) + " keydown 162\n" + GameRunTest::Key(pass, code) +
           std::to_string(pass + 2) + " keyup 162\n";
}

} // namespace

TEST_F(GameFlow, TheWarningFreezesTheGameAndEscapeRisksItThenTimesUpRestartsTheLevel) {
    const std::string script = Key(300, 27) + Key(460, 13);
    ASSERT_EQ(Run(ShortLevel() + " --frames 470", script, {299, 305, 450, 469}), 0);
    EXPECT_EQ(Value(299, "GameState"), 7);
    EXPECT_EQ(Value(299, "DialogActive"), 1);
    EXPECT_EQ(Value(299, "Time_Offered"), 1);
    EXPECT_LT(Value(299, "Time_Left"), 2000);
    EXPECT_GT(Value(299, "Time_Left"), 1900) << "frozen behind the dialog";
    // Escape is "Risk it": nothing bought, play goes on.
    EXPECT_EQ(Value(305, "GameState"), 1);
    EXPECT_EQ(Value(305, "DialogActive"), 0);
    EXPECT_EQ(Value(305, "Time_Bought"), 0);
    EXPECT_EQ(Value(305, "Lives"), 3);
    // The candle burns out: a life is lost behind "Time's up...".
    EXPECT_EQ(Value(450, "GameState"), 7);
    EXPECT_EQ(Value(450, "DialogActive"), 1);
    EXPECT_EQ(Value(450, "Lives"), 2);
    // Enter: the same level again at once, with a full candle and the offer back.
    EXPECT_EQ(Value(469, "GameState"), 1);
    EXPECT_EQ(Value(469, "DialogActive"), 0);
    EXPECT_EQ(Value(469, "Time_Left"), 4000);
    EXPECT_EQ(Value(469, "Time_Offered"), 0);
    EXPECT_EQ(Value(469, "Lives"), 2);
}

TEST_F(GameFlow, BuyTimeAddsTwoMinutesForALife) {
    // "Buy Time" stands at (240, 388), 151 x 42.
    ASSERT_EQ(Run(ShortLevel() + " --frames 320", Click(300, 300, 410), {299, 310}), 0);
    EXPECT_EQ(Value(310, "GameState"), 1);
    EXPECT_EQ(Value(310, "DialogActive"), 0);
    EXPECT_EQ(Value(310, "Time_Bought"), 120000);
    EXPECT_EQ(Value(310, "Lives"), 2);
    EXPECT_GT(Value(310, "Time_Left"), 120000);
    EXPECT_EQ(Value(310, "Time_Offered"), 0);
}

TEST_F(GameFlow, WithoutLivesTimesUpEndsTheMatchAndTheGameRunsOn) {
    // The developer key D empties the clock and the lives.
    const std::string script = ControlKey(200, 'D') + Key(230, 13);
    ASSERT_EQ(Run("--level 1 --dev-keys --frames 300", script, {220, 240, 299}), 0);
    EXPECT_EQ(Value(220, "GameState"), 7);
    EXPECT_EQ(Value(220, "DialogActive"), 1);
    EXPECT_EQ(Value(220, "Lives"), 0);
    EXPECT_EQ(Value(240, "Level_Outcome"), 2);
    EXPECT_EQ(Value(240, "GameState"), 6);
    EXPECT_EQ(Value(299, "GameState"), 6) << "the level-end state does not crash or hang";
    EXPECT_EQ(Value(299, "passes"), 299);
}

TEST_F(GameFlow, BreakingTheLastIceWinsWithTheTimeBonusExceptInRelaxedPlay) {
    struct Case {
        const char* mode;
        bool timed;
    };
    for (Case c : {Case{"", true}, Case{" --relaxed", false}}) {
        const std::string script = ControlKey(200, 'W');
        ASSERT_EQ(Run(std::string("--level 1 --dev-keys --frames 220") + c.mode, script, {210}), 0);
        EXPECT_EQ(Value(210, "Level_Outcome"), 1) << c.mode;
        EXPECT_EQ(Value(210, "GameState"), 6) << c.mode;
        EXPECT_EQ(Value(210, "Relaxed_Mode"), c.timed ? 0 : 1);
        const double bonus = Value(210, "Level_TimeBonus");
        if (c.timed) {
            EXPECT_GT(bonus, 5900); // nearly 300 s left at 20 points a second
            EXPECT_EQ(Value(210, "Score"), 1000 + bonus);
        } else {
            EXPECT_EQ(bonus, 0);
            EXPECT_EQ(Value(210, "Score"), 0);
            EXPECT_EQ(Value(210, "Time_Left"), 300000) << "the candle never moved";
        }
    }
}

TEST_F(GameFlow, PauseResumeAndTheMenuFromAFreshMatch) {
    const std::string script =
        Key(150, 27) + Click(160, 650, 570) + Click(170, 735, 555) + Click(180, 140, 570);
    // Level 6 opens no help tip, which would take the first Escape for itself.
    ASSERT_EQ(Run("--level 6 --frames 190", script, {152, 158, 166, 176, 186}), 0);
    EXPECT_EQ(Value(152, "GameState"), 7);
    EXPECT_EQ(Value(152, "FrameCounter"), Value(158, "FrameCounter")) << "paused";
    EXPECT_EQ(Value(152, "BoardAlpha"), 0.5);
    EXPECT_EQ(Value(166, "GameState"), 1) << "Resume Game";
    EXPECT_EQ(Value(166, "BoardAlpha"), 1);
    EXPECT_EQ(Value(176, "GameState"), 7) << "the panel's Main Menu pauses";
    EXPECT_EQ(Value(186, "GameState"), 0) << "Main Menu";
}
