// The drawing profile names the pictures a frame spends its time on, and SNOW_SKIP_DRAW leaves
// the named ones out, so their share can be measured against a whole frame.
#include "tests/app/game_run.h"

#include <cstdio>
#include <cstdlib>

namespace {

class DrawProfile : public GameRunTest {};

std::string ReadAll(const std::filesystem::path& path) {
    std::ifstream in(path);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

TEST_F(DrawProfile, TableNamesThePicturesDrawnAndLeavesOutTheSkippedOnes) {
    const auto table = dir / "profile.txt";
    setenv("SNOW_DRAW_PROFILE", table.c_str(), 1);
    setenv("SNOW_SKIP_DRAW", "bckg_Sky,nothing-is-called-this", 1);
    const int code = RunGame("--level 40 --frames 30", "", {});
    unsetenv("SNOW_DRAW_PROFILE");
    unsetenv("SNOW_SKIP_DRAW");
    ASSERT_EQ(code, 0);
    const std::string text = ReadAll(table);
    int frames = 0;
    ASSERT_EQ(std::sscanf(text.c_str(), "%d frames", &frames), 1) << text;
    EXPECT_GE(frames, 25); // the first frames, with the loading, are not counted
    EXPECT_NE(text.find("images/pieces/Gem"), std::string::npos) << text;
    EXPECT_NE(text.find("images/tile_empty.png [blend]"), std::string::npos) << text;
    EXPECT_NE(text.find("(rules, input, sound, recording)"), std::string::npos) << text;
    EXPECT_EQ(text.find("bckg_Sky"), std::string::npos) << text;
}

} // namespace
