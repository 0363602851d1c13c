// The scene through the whole program: the menu's landscape, clouds that move from start-up,
// and the introduction's wipe with the keys that cut it short.
#include "engine/input.h"
#include "game_run.h"

namespace {

// The runs skip the drawing: the scene's timing, fades and choices run the same without it.
class SceneryFlow : public GameRunTest {
  protected:
    // On a fresh data folder the name dialog comes first; Enter starts level 1's introduction.
    static std::string NameThenIntro() { return "3 text Holly\n" + Key(5, VK_RETURN); }
    double Value(int pass, const std::string& key) const { return Number(pass, key); }
};

TEST_F(SceneryFlow, MenuShowsItsLandscapeAndTheCloudsMoveFromStartUp) {
    ASSERT_EQ(RunGame("--no-draw --frames 1000", "", {1, 999}), 0);
    for (int pass : {1, 999}) {
        EXPECT_EQ(Value(pass, "GameState"), 0);
        EXPECT_EQ(Value(pass, "CurPicture"), 2);
        EXPECT_EQ(Value(pass, "PictureLevel"), 1);
        EXPECT_EQ(Value(pass, "ChangeoverActive"), 0);
        const double cur = Value(pass, "CloudLayerCur");
        EXPECT_EQ(Value(pass, "CloudLayerNext"), static_cast<int>(cur) % 3 + 1);
    }
    // A layer hands over after about 830 drawings, however the start-up frame was timed.
    EXPECT_NE(Value(1, "CloudLayerCur"), Value(999, "CloudLayerCur"));
}

TEST_F(SceneryFlow, IntroductionWipesInANewLandscapeAndSkipKeysEndIt) {
    struct Case {
        const char* name;
        std::string input; // given at pass 100, in the middle of the wipe
        bool skips;
    } cases[] = {
        {"Escape", Key(100, VK_ESCAPE), true},
        {"Space", Key(100, VK_SPACE), true},
        {"Enter", Key(100, VK_RETURN), true},
        {"click", "98 move 40 40\n100 press left\n101 release left\n", true},
        {"letter", Key(100, 'A'), false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove_all(dir); // every case starts as a first start
        std::filesystem::create_directories(dir);
        ASSERT_EQ(RunGame("--no-draw --frames 112", NameThenIntro() + c.input, {20, 99, 101, 111}),
                  0);
        EXPECT_EQ(Value(20, "GameState"), 5);
        EXPECT_EQ(Value(20, "ChangeoverActive"), 1);
        EXPECT_EQ(Value(99, "ChangeoverActive"), 1);
        EXPECT_LT(Value(99, "PictureLevel"), 1.0) << "the new landscape is still fading in";
        EXPECT_EQ(Value(101, "ChangeoverActive"), c.skips ? 0 : 1);
        EXPECT_EQ(Value(101, "PictureLevel") == 1.0, c.skips);
        // The skip is all the key does: the level neither starts nor is left.
        EXPECT_EQ(Value(111, "GameState"), 5);
        EXPECT_EQ(Value(111, "CurPicture"), Value(20, "CurPicture"));
    }
}

TEST_F(SceneryFlow, PlayKeepsTheIntroductionsLandscapeAndTheMenuBringsItsOwn) {
    // The wipe runs out by itself (about 5 s), Space starts play, Escape pauses and the
    // pause screen's "Main Menu" leads back.
    const std::string script =
        NameThenIntro() + Key(320, VK_SPACE) + Key(335, VK_ESCAPE) + Click(345, 140, 572);
    ASSERT_EQ(RunGame("--no-draw --frames 400", script, {300, 330, 340, 399}), 0);
    EXPECT_EQ(Value(300, "GameState"), 5);
    EXPECT_EQ(Value(300, "ChangeoverActive"), 0);
    EXPECT_EQ(Value(300, "PictureLevel"), 1);
    const double landscape = Value(300, "CurPicture");
    EXPECT_NE(landscape, 2);
    EXPECT_EQ(Value(330, "GameState"), 1);
    EXPECT_EQ(Value(330, "CurPicture"), landscape);
    EXPECT_EQ(Value(340, "GameState"), 7);
    EXPECT_EQ(Value(340, "CurPicture"), landscape);
    EXPECT_EQ(Value(399, "GameState"), 0);
    EXPECT_EQ(Value(399, "CurPicture"), 2);
}

} // namespace
