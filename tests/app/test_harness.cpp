// The game program driven through its harness options: start-up and the desktop check, the
// quit paths, the configuration saved at the end, scripted input and the state dump.
#include "app/harness.h"
#include "data/config.h"
#include "data/level_file.h"
#include "engine/gfx_internal.h"

#include <gtest/gtest.h>

#include <algorithm>
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
    // Music and ambience off, so the effects are heard alone.
    std::ofstream(dir / "gx_config.txt") << "MUSIC_VOL=0\nAMBIENT_VOL=0\n";
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

// Names are Latin-1 bytes in the game; the state dump is JSON, so UTF-8 with control characters
// escaped.
TEST_F(Harness, StateDumpWritesNamesAsUtf8) {
    std::string text = Config_DefaultText;
    text.replace(text.find("PLAYER0=New Player"), 18, "PLAYER0=Zo\xEB \xC5sa\x7F");
    WriteConfigText(text);
    ASSERT_EQ(Run("--frames 2"), 0);
    const std::string json = Read("state.json");
    EXPECT_NE(json.find("\"Player_Name\": \"Zo\xC3\xAB \xC3\x85sa\\u007f\""), std::string::npos)
        << json.substr(0, 600);
    for (unsigned char c : json)
        EXPECT_TRUE(c >= 0x20 || c == '\n') << "raw control byte " << int(c);
}

TEST(HarnessScript, ExtremePointerAndWheelValuesAreClamped) {
    struct Case {
        const char* line;
        int a, b;
    };
    const Case cases[] = {
        {"1 move 2147483647 -2147483648", Script_MaxCoordinate, -Script_MaxCoordinate},
        {"1 move -20000 300", -Script_MaxCoordinate, 300},
        {"1 move 640 480", 640, 480},
        {"1 wheel -2147483648", -Script_MaxWheel, 0},
        {"1 wheel 3", 3, 0},
    };
    for (const Case& c : cases) {
        std::vector<ScriptEvent> events;
        std::string error;
        ASSERT_TRUE(Harness_ParseScript(c.line, &events, &error)) << c.line << ": " << error;
        ASSERT_EQ(events.size(), 1u);
        EXPECT_EQ(events[0].a, c.a) << c.line;
        EXPECT_EQ(events[0].b, c.b) << c.line;
    }
    // Wheel steps keep their running total in range, in the order they are applied.
    std::vector<ScriptEvent> events;
    std::string error;
    ASSERT_TRUE(Harness_ParseScript("3 wheel 5\n1 wheel 2147483647\n2 wheel 2147483647\n"
                                    "4 wheel -2147483648\n",
                                    &events, &error));
    ASSERT_EQ(events.size(), 4u);
    const int expected[] = {Script_MaxWheel, 0, 0, -2 * Script_MaxWheel};
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(events[i].a, expected[i]) << i;
}

// The same values played on a board, hints included: nothing overflows (the sanitizer build
// aborts on signed overflow), the pointer stays where the script put it after clamping.
TEST_F(Harness, ExtremeScriptedPointerPlaysSafely) {
    const std::string script = "2 move 2147483647 -2147483648\n3 wheel 2147483647\n"
                               "4 wheel 2147483647\n5 move -2147483648 2147483647\n";
    ASSERT_EQ(Run("--frames 12 --level 1 --skip-fade-in", script), 0);
    EXPECT_EQ(StateValue("MouseXPos"), -Script_MaxCoordinate);
    EXPECT_EQ(StateValue("MouseYPos"), Script_MaxCoordinate);
}

TEST_F(Harness, LevelFilePlaysAsTheLevelGiven) {
    LevelSettings s;
    s.table_dx = 9;
    s.table_dy = 10;
    s.time = 300000;
    int weights[Piece_Kinds] = {0, 10, 10, 10};
    std::vector<LevelDataCell> cells(9 * 10);
    for (std::size_t i = 0; i < cells.size(); ++i)
        cells[i].color = 1 + static_cast<int>((i + i / 9) % 3), cells[i].ContTile = -1;
    const std::vector<std::uint8_t> bytes = LevelFile_Write(s, weights, cells);
    const std::string file = (dir / "board.lev").string();
    std::ofstream(file, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
    struct Case {
        const char* args;
        int level;
    };
    for (Case c : {Case{"", 1}, Case{"--level 5 ", 5}, Case{"--level 150 ", 150}}) {
        ASSERT_EQ(Run(std::string("--frames 3 ") + c.args + "--level-file " + file), 0) << c.args;
        EXPECT_EQ(StateValue("GameState"), 1) << c.args;
        EXPECT_EQ(StateValue("LevelCrt"), c.level) << c.args;
        EXPECT_EQ(StateValue("Table_dx"), 9) << c.args;
    }
}

TEST_F(Harness, SkipFadeInStartsTheBoardSettled) {
    for (bool skip : {false, true}) {
        ASSERT_EQ(Run(std::string("--frames 1 --level 1") + (skip ? " --skip-fade-in" : "")), 0);
        EXPECT_EQ(StateValue("Intro_Active"), skip ? 0 : 1);
    }
}

// The dump shows the board's geometry, the hint and the fade-in pattern, and mid-swap the two
// pieces' swap states (1 moving over, 3 its partner).
TEST_F(Harness, StateDumpShowsGeometryHintAndSwaps) {
    const std::string drag = "3 move 337 334\n4 press left\n6 move 337 378\n7 release left\n";
    const std::string mid = (dir / "mid.json").string();
    ASSERT_EQ(Run("--frames 12 --level 1 --skip-fade-in --dump-at 7:" + mid, drag), 0);
    EXPECT_GT(StateValue("Cell_Width"), 0);
    EXPECT_GT(StateValue("Cell_Height"), 0);
    EXPECT_NE(StateValue("Table_OriginX"), -999);
    EXPECT_NE(StateValue("View_OffsetX"), -999);
    EXPECT_NE(StateValue("View_OffsetY"), -999);
    EXPECT_GT(StateValue("Hint_Timer"), 0);
    EXPECT_NE(StateValue("Hint_BestDist"), -999);
    const int pattern = StateValue("Ripple_Pattern");
    EXPECT_TRUE(pattern >= 0 && pattern <= 3) << pattern;
    std::smatch m;
    const std::string json = Read("mid.json");
    ASSERT_TRUE(std::regex_search(json, m, std::regex("\"swap_states\": (\\[.*\\]),\n")));
    const std::string rows = m[1].str();
    EXPECT_EQ(std::count(rows.begin(), rows.end(), '['), 1 + 13);
    EXPECT_EQ(std::count(rows.begin(), rows.end(), '1'), 1) << rows;
    EXPECT_EQ(std::count(rows.begin(), rows.end(), '3'), 1) << rows;
}

// Without drawing, the rules see exactly what they see with it: a level played by a script ends
// in the same state, to the byte. The option is refused where it cannot keep that promise.
TEST_F(Harness, NoDrawPlaysTheSameGameAndRefusesScreenshots) {
    // A swap over level 1's ice column that matches.
    const std::string swaps = "250 move 337 334\n251 press left\n252 release left\n"
                              "255 move 337 378\n256 press left\n257 release left\n";
    ASSERT_EQ(Run("--level 1 --frames 400", swaps), 0);
    const std::string drawn = Read("state.json");
    fs::remove(dir / "gx_config.txt");
    fs::remove(dir / "gx_config.bin");
    fs::remove(dir / "highscores.dat");
    ASSERT_EQ(Run("--level 1 --frames 400 --no-draw", swaps), 0);
    EXPECT_EQ(Read("state.json"), drawn);
    EXPECT_GT(StateValue("Score"), 0) << "the script plays a match";

    EXPECT_EQ(Run("--frames 5 --no-draw --screenshot 2:" + (dir / "x.png").string()), 2);
    EXPECT_NE(Read("stderr.txt").find("--screenshot cannot be used with --no-draw"),
              std::string::npos);
    const std::string windowed = std::string(SNOW_BINARY_DIR) + "/snowmere --frames 1 --no-draw" +
                                 " 2>" + (dir / "err.txt").string();
    const int status = std::system(windowed.c_str());
    EXPECT_EQ(WIFEXITED(status) ? WEXITSTATUS(status) : -1, 2);
    EXPECT_NE(Read("err.txt").find("--no-draw needs --headless"), std::string::npos);
}
