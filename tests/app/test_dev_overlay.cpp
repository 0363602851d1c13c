// The developer overlays show only while their chord is held and only with the developer keys
// on; F2 with L loads the music tracks one after another.
#include "tests/app/game_run.h"

#include <fstream>
#include <iterator>
#include <string>

namespace {

class DevOverlay : public GameRunTest {
  protected:
    void TearDown() override {
        std::filesystem::remove_all(Shots());
        GameRunTest::TearDown();
    }
    std::filesystem::path Shots() const { return dir.string() + "_shots"; }
    // The screenshot of pass 60 from a fresh data folder, with `chord` held from pass 50 (an
    // empty chord: nothing held).
    std::string ShotWith(const std::string& args, const std::string& chord, bool dev_keys,
                         const std::string& name) {
        std::filesystem::remove_all(dir);
        std::filesystem::create_directories(dir);
        std::filesystem::create_directories(Shots());
        const std::string file = (Shots() / name).string();
        EXPECT_EQ(
            RunGame(args + (dev_keys ? " --dev-keys" : "") + " --frames 62 --screenshot 60:" + file,
                    chord, {}),
            0);
        std::ifstream in(file, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
};

TEST_F(DevOverlay, ChordsDrawOnlyWithTheDeveloperKeysOn) {
    struct Case {
        const char* name;
        std::string args, chord;
    } cases[] = {
        {"frame figures over the menu (F1 with 1)", "", "50 keydown 112\n50 keydown 49\n"},
        {"game figures (F1 with Y)", "--level 40 --skip-fade-in",
         "50 keydown 112\n50 keydown 89\n"},
        {"difficulty figures (F2 with U)", "--level 40 --skip-fade-in",
         "50 keydown 113\n50 keydown 85\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string plain = ShotWith(c.args, "", true, "plain.png");
        ASSERT_FALSE(plain.empty());
        EXPECT_TRUE(ShotWith(c.args, c.chord, true, "overlay.png") != plain);
        EXPECT_TRUE(ShotWith(c.args, c.chord, false, "off.png") == plain);
    }
}

TEST_F(DevOverlay, F2WithLLoadsTheTracksInTurn) {
    const std::string hold = "50 keydown 113\n50 keydown 76\n53 keyup 76\n";
    ASSERT_EQ(RunGame("--level 40 --skip-fade-in --dev-keys --frames 60", "", {49}), 0);
    const double first = Number(49, "CurrentTrack");
    ASSERT_EQ(RunGame("--level 40 --skip-fade-in --dev-keys --frames 60", hold, {49, 55}), 0);
    // Three passes held: three tracks loaded, the number going 0, 1, 2, 3 and round again.
    const int expect = (static_cast<int>(first) + 3) % 4;
    EXPECT_EQ(Number(55, "CurrentTrack"), expect);
}

} // namespace
