// The game program driven through its harness options: start-up and the desktop check, the
// quit paths, and the configuration saved at the end.
#include "data/config.h"
#include "engine/gfx_internal.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

class Harness : public ::testing::Test {
  protected:
    void SetUp() override {
        // The process id keeps runs of the same test in other build folders apart.
        dir = fs::temp_directory_path() /
              ("snow_harness_" +
               std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) + "_" +
               std::to_string(getpid()));
        fs::remove_all(dir);
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }

    // Runs the game headless with a fixed frame time; returns its exit code.
    int Run(const std::string& args, const std::string& script = "") {
        std::string cmd = std::string(SNOW_BINARY_DIR) + "/snowmere --headless --skip-logos " +
                          "--fixed-delta 16 --seed 7 --data-dir " + dir.string() +
                          " --dump-state " + (dir / "state.json").string();
        if (!script.empty()) {
            std::ofstream(dir / "input.txt") << script;
            cmd += " --input " + (dir / "input.txt").string();
        }
        cmd += " " + args + " 2>" + (dir / "stderr.txt").string();
        int status = std::system(cmd.c_str());
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    std::string Read(const std::string& name) {
        std::ifstream f(dir / name, std::ios::binary);
        std::stringstream s;
        s << f.rdbuf();
        return s.str();
    }
    int StateValue(const std::string& key) {
        std::smatch m;
        std::string json = Read("state.json");
        if (!std::regex_search(json, m, std::regex("\"" + key + "\": (-?[0-9.]+)"))) return -999;
        return std::atoi(m[1].str().c_str());
    }
    void WriteConfigText(const std::string& text) {
        std::ofstream(dir / "gx_config.txt", std::ios::binary) << text;
    }
    fs::path dir;
};

std::string WindowedConfig() {
    std::string text = Config_DefaultText;
    text.replace(text.find("WINDOWED_MODE=0"), 15, "WINDOWED_MODE=1");
    return text;
}

} // namespace

TEST_F(Harness, DesktopTooSmallForAWindowSwitchesToFullScreenAndEnds) {
    struct Case {
        const char* desktop;
        bool too_small;
    };
    for (Case c : {Case{"800x600", true}, Case{"1024x600", true}, Case{"801x601", false}}) {
        WriteConfigText(WindowedConfig());
        fs::remove(dir / "state.json");
        EXPECT_EQ(Run(std::string("--frames 3 --desktop ") + c.desktop), 0) << c.desktop;
        std::string text = Read("gx_config.txt");
        bool windowed = text.find("WINDOWED_MODE=1") != std::string::npos;
        EXPECT_EQ(windowed, !c.too_small) << c.desktop;
        if (c.too_small)
            EXPECT_NE(Read("stderr.txt").find("Sorry, cant run windowed"), std::string::npos);
        else
            EXPECT_EQ(StateValue("passes"), 3) << c.desktop;
    }
}

TEST_F(Harness, EscapeWithEEndsTheGameAndSavesTheSettings) {
    EXPECT_EQ(Run("--frames 100", "5 keydown 27\n5 keydown 69\n"), 0);
    EXPECT_EQ(StateValue("passes"), 6);
    EXPECT_EQ(StateValue("QuitRequested"), 1);
    EXPECT_EQ(fs::file_size(dir / "gx_config.bin"), static_cast<std::uintmax_t>(Config_BinSize));
    EXPECT_EQ(Read("gx_config.txt"), Config_DefaultText);
}

TEST_F(Harness, ClosingTwiceKeepsTheQuitDialogOpenAndEscapeClosesIt) {
    EXPECT_EQ(Run("--frames 10", "2 close\n5 close\n"), 0);
    EXPECT_EQ(StateValue("DialogActive"), 1);
    EXPECT_EQ(StateValue("QuitRequested"), 0);
    EXPECT_EQ(Run("--frames 10", "2 close\n5 keydown 27\n6 keyup 27\n"), 0);
    EXPECT_EQ(StateValue("DialogActive"), 0);
}

TEST_F(Harness, YesInTheQuitDialogEndsTheLoop) {
    // "Yes" sits at (248, 353) .. (399, 395) for the 151 x 42 menu button.
    const char* script = "2 close\n4 move 300 370\n6 press left\n7 release left\n";
    EXPECT_EQ(Run("--frames 50", script), 0);
    EXPECT_EQ(StateValue("passes"), 8);
}

TEST_F(Harness, FixedFrameTimeIsReproducible) {
    EXPECT_EQ(Run("--frames 60"), 0);
    std::string first = Read("state.json");
    EXPECT_EQ(StateValue("DeltaMs"), 16);
    EXPECT_EQ(StateValue("AvgFps"), 60); // 38000 / (39 x 16 = 624)
    fs::remove(dir / "gx_config.txt");   // the second run starts as fresh as the first
    fs::remove(dir / "gx_config.bin");
    EXPECT_EQ(Run("--frames 60"), 0);
    EXPECT_EQ(Read("state.json"), first);
}

TEST_F(Harness, BadOptionsAndScriptsAreRefusedWithAMessage) {
    EXPECT_EQ(Run("--frames x"), 2);
    EXPECT_EQ(Run("--bogus"), 2);
    EXPECT_EQ(Run("--frames 5", "3 jump 4\n"), 2);
    EXPECT_NE(Read("stderr.txt").find("input line 1"), std::string::npos);
}

TEST_F(Harness, ScreenshotIsWritten) {
    std::string shot = (dir / "shot.png").string();
    EXPECT_EQ(Run("--frames 3 --screenshot 2:" + shot), 0);
    EXPECT_GT(fs::file_size(shot), 1000u);
}

// A drag that matches a column of six ice cells on level 1: the breaking ice shows its shards
// and sparks, counted per kind in the state dump.
TEST_F(Harness, BrokenIceShowsEffectsInTheStateDump) {
    const std::string drag = "200 move 337 334\n201 press left\n203 move 337 378\n"
                             "204 release left\n";
    EXPECT_EQ(Run("--frames 212 --level 1", drag), 0);
    EXPECT_EQ(StateValue("Score"), 60);
    EXPECT_GT(StateValue("Gfx_LiveTotal"), 0);
    EXPECT_EQ(StateValue("16"), 6 * 5) << "five shards per broken ice cell";
}

// The pause screen's buttons: "Resume Game" is wider than its button in our festive font and is
// narrowed to fit, so no caption pixel spills onto the sky right of the button (585 + 151).
TEST_F(Harness, PauseCaptionsStayInsideTheirButtons) {
    const std::string shot = (dir / "paused.png").string();
    ASSERT_EQ(Run("--frames 12 --level 1 --screenshot 10:" + shot, "4 keydown 27\n5 keyup 27\n"),
              0);
    ASSERT_EQ(StateValue("GameState"), 7);
    const std::string bytes = Read("paused.png");
    DecodedPicture pic;
    ASSERT_TRUE(
        Image_DecodePng(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size(), pic));
    int bright = 0;
    for (int y = 550; y < 600; ++y)
        for (int x = 737; x < 800; ++x) {
            const std::uint8_t* p = &pic.pixels[(y * pic.width + x) * pic.bytes_per_pixel];
            if (p[0] > 200 && p[1] > 200 && p[2] > 200) ++bright;
        }
    EXPECT_EQ(bright, 0);
}

TEST_F(Harness, LevelOptionStartsAMatchOnTheBoard) {
    EXPECT_EQ(Run("--frames 5 --level 1"), 0);
    EXPECT_EQ(StateValue("GameState"), 1);
    EXPECT_EQ(StateValue("Table_dx"), 13);
    EXPECT_EQ(StateValue("Table_dy"), 13);
    EXPECT_EQ(StateValue("Lives"), 3);
    EXPECT_EQ(StateValue("Score"), 0);
    EXPECT_EQ(Run("--frames 5 --level 151"), 2);
    EXPECT_EQ(Run("--frames 5 --level-file " + (dir / "missing.lev").string()), 2);
    EXPECT_NE(Read("stderr.txt").find("missing.lev"), std::string::npos);
}

// The recording's samples as (left, right) pairs after the 44-byte header.
std::vector<std::int16_t> WavSamples(const std::string& bytes) {
    std::vector<std::int16_t> s((bytes.size() - 44) / 2);
    std::memcpy(s.data(), bytes.data() + 44, s.size() * 2);
    return s;
}

double Rms(const std::vector<std::int16_t>& s, std::size_t from, std::size_t to) {
    double sum = 0;
    for (std::size_t i = from; i < to; ++i)
        sum += double(s[i]) * s[i];
    return std::sqrt(sum / double(to - from));
}

TEST_F(Harness, RecordedSoundLastsTheGameTimeAndHoldsTheButtonClick) {
    // The pointer enters the quit dialog's "Yes" in pass 4: the click sounds from there on.
    const std::string wav = (dir / "run.wav").string();
    const std::string at4 = (dir / "at4.json").string();
    ASSERT_EQ(Run("--frames 20 --record-audio " + wav + " --dump-at 4:" + at4,
                  "2 close\n4 move 300 370\n"),
              0);
    std::string bytes = Read("run.wav");
    ASSERT_GE(bytes.size(), 44u);
    EXPECT_EQ(bytes.substr(0, 4), "RIFF");
    EXPECT_EQ(bytes.substr(8, 8), "WAVEfmt ");
    std::vector<std::int16_t> s = WavSamples(bytes);
    EXPECT_EQ(s.size(), 20u * 16 * 44100 / 1000 * 2) << "20 passes of 16 ms, stereo";
    const std::size_t pass = 16 * 44100 / 1000 * 2;
    EXPECT_LT(Rms(s, 0, 4 * pass), 2.0) << "nothing sounds before the pointer moves";
    EXPECT_GT(Rms(s, 4 * pass, 10 * pass), 100.0) << "the hover click";
    std::ifstream f(at4);
    std::stringstream json;
    json << f.rdbuf();
    EXPECT_NE(json.str().find("\"Snd_Playing\": 1,"), std::string::npos);
}

TEST_F(Harness, RecordingNeedsTheHeadlessMixer) {
    const std::string cmd = std::string(SNOW_BINARY_DIR) + "/snowmere --frames 1 --record-audio " +
                            (dir / "x.wav").string() + " 2>" + (dir / "err.txt").string();
    int status = std::system(cmd.c_str());
    EXPECT_EQ(WIFEXITED(status) ? WEXITSTATUS(status) : -1, 2);
    EXPECT_NE(Read("err.txt").find("--record-audio needs --headless"), std::string::npos);
    EXPECT_EQ(Run("--frames 1 --record-audio " + (dir / "no" / "such" / "x.wav").string()), 2);
}
