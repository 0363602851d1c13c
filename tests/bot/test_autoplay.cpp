// The unattended game: the program started with --autoplay on a fresh data folder names its player,
// starts a match and plays level after level by itself; started again on the same folder it answers
// the resume question and plays on.
#include "tests/app/game_run.h"

namespace {

class Autoplay : public GameRunTest {};

constexpr int kFirstRun = 12000; // 4 minutes of game time at 20 ms a pass
constexpr int kSecondRun = 3000;

TEST_F(Autoplay, PlaysTheFirstLevelsFromAFreshStartAndResumesTheMatch) {
    ASSERT_EQ(
        RunGame("--no-draw --autoplay --frames " + std::to_string(kFirstRun + 1), "", {kFirstRun}),
        0);
    EXPECT_EQ(Raw(kFirstRun, "Player_Name"), "\"Autoplay\"");
    EXPECT_GE(Number(kFirstRun, "LevelCrt"), 3); // levels 1 and 2 won, in the first minutes
    const std::string statuses = Raw(kFirstRun, "Levels_Status");
    EXPECT_EQ(statuses.substr(0, 7), "[1, 1, ") << statuses;
    EXPECT_GT(Number(kFirstRun, "Score"), 0);
    const double reached = Number(kFirstRun, "LevelCrt");

    // The same folder again: the saved match is offered and the demo takes it up.
    ASSERT_EQ(RunGame("--no-draw --autoplay --frames " + std::to_string(kSecondRun + 1), "",
                      {kSecondRun}),
              0);
    EXPECT_EQ(Raw(kSecondRun, "Dialog"), "\"none\"");
    EXPECT_GE(Number(kSecondRun, "LevelCrt"), reached);
    EXPECT_EQ(Number(kSecondRun, "GameState"), 1); // playing again
}

} // namespace
