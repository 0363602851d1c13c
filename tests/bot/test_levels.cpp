// The shipped levels stay winnable: the bot plays a few levels across the set with a few seeds,
// as a fresh player, and must win most of them within the level's time.
#include "bot/bot.h"
#include "bot/bot_level.h"

#include <gtest/gtest.h>

namespace {

class LevelWinnable : public ::testing::TestWithParam<int> {};

TEST_P(LevelWinnable, TheBotWinsMostSeeds) {
    const int level = GetParam();
    int wins = 0;
    for (unsigned seed : {1u, 2u, 3u}) {
        Bot_LevelResult r;
        std::string error;
        ASSERT_TRUE(
            Bot_PlayLevel(Bot_LevelPath(SNOW_ASSETS_DIR, level), level, seed, 16, &r, &error))
            << error;
        EXPECT_GT(r.moves, 0);
        if (r.won) {
            ++wins;
            EXPECT_EQ(r.ice_left, 0);
        }
    }
    EXPECT_GE(wins, 2) << "level " << level << " won with " << wins << " of 3 seeds";
}

INSTANTIATE_TEST_SUITE_P(Levels, LevelWinnable, ::testing::Values(1, 50, 100, 150));

TEST(LevelFile, AFileThatIsNoLevelIsRefusedWithItsReason) {
    Bot_LevelResult r;
    std::string error;
    EXPECT_FALSE(Bot_PlayLevel(SNOW_SOURCE_DIR "/README.md", 1, 1, 16, &r, &error));
    EXPECT_FALSE(error.empty());
    EXPECT_FALSE(Bot_PlayLevel("/nonexistent/level.lev", 1, 1, 16, &r, &error));
}

} // namespace
