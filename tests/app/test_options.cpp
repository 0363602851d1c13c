// The options screen in runs of the program: sliders placed from the settings, dragged and saved,
// the drag let go when the pointer strays, the sliders moved by the keys and the gamepad, the
// brightness darkening the background, the two switches, the help pages' arrows and the way back
// to the menu.
#include "game_run.h"

#include "app/options_screen.h"
#include "data/config.h"
#include "engine/gfx_internal.h"

#include <fstream>
#include <iterator>
#include <regex>

namespace {

constexpr int Entered = 30; // the options screen shows from this pass on

class OptionsRun : public GameRunTest {
  protected:
    // A player named on the first start (the name dialog) with the music at half volume: the
    // settings text the first start finds gives every new player its volumes.
    void SetUp() override {
        GameRunTest::SetUp();
        NewPlayer();
    }

    void NewPlayer() {
        for (const auto& entry : std::filesystem::directory_iterator(dir))
            std::filesystem::remove_all(entry.path());
        std::ofstream(dir / "gx_config.txt", std::ios::binary) << std::regex_replace(
            Config_DefaultText, std::regex("MUSIC_VOL=[0-9.]+"), "MUSIC_VOL=0.5");
        ASSERT_EQ(RunGame("--no-draw --frames 60", "20 text Anna\n" + Key(30, 13), {}), 0);
    }

    std::string Settings() const {
        std::ifstream in(dir / "gx_config.txt");
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

    void Set(const std::string& key, const std::string& value) {
        const std::string text =
            std::regex_replace(Settings(), std::regex(key + "=[^\\r\\n]*"), key + "=" + value);
        std::ofstream(dir / "gx_config.txt", std::ios::binary) << text;
    }

    std::string Value(const std::string& key) const {
        std::smatch m;
        const std::string text = Settings();
        return std::regex_search(text, m, std::regex(key + "=([^\\r\\n]*)")) ? m[1].str()
                                                                             : "missing";
    }

    // "Options" on the main menu, then `script`, dumps after `dumps`.
    int RunOptions(const std::string& script, const std::vector<int>& dumps, int frames,
                   const std::string& extra = "") {
        return RunGame("--no-draw --frames " + std::to_string(frames) + extra,
                       Click(10, 575, 411) + script, dumps);
    }

    double Slider(int pass, const std::string& name, const std::string& field) const {
        const std::string sliders = Raw(pass, "Options_Sliders");
        std::smatch m;
        const std::regex re("\"" + name + "\": \\{\"x\": ([-0-9.]+), \"value\": ([-0-9.e]+)\\}");
        if (!std::regex_search(sliders, m, re)) return -999;
        return std::stod(field == "x" ? m[1].str() : m[2].str());
    }

    // Press at (x, y), then the pointer to each of `path` on successive even passes, release.
    static std::string Drag(int pass, int x, int y, const std::vector<std::pair<int, int>>& path) {
        std::ostringstream s;
        s << pass << " move " << x << " " << y << "\n" << pass + 2 << " press left\n";
        int p = pass + 4;
        for (auto [px, py] : path) {
            s << p << " move " << px << " " << py << "\n";
            p += 2;
        }
        s << p + 2 << " release left\n";
        return s.str();
    }
};

TEST_F(OptionsRun, MusicSliderStartsFromTheVolumeAndSavesTheDraggedValue) {
    ASSERT_EQ(RunOptions(Drag(40, 540, 210, {{560, 210}, {760, 210}}), {Entered, 47, 60}, 61), 0);
    EXPECT_EQ(Number(Entered, "GameState"), 4);
    EXPECT_EQ(Number(Entered, "HintCountdown"), 0) << "the options tip is no longer offered";
    EXPECT_EQ(Slider(Entered, "music", "x"), 519);
    EXPECT_EQ(Slider(47, "music", "x"), 615) << "kept at the right end";
    EXPECT_EQ(Slider(47, "music", "value"), 1);
    EXPECT_EQ(Number(60, "Options_Dragging"), 0);
    EXPECT_EQ(Value("MUSIC_VOL"), "1.00000000");
}

TEST_F(OptionsRun, BrightnessAtTheRightEndDarkensTheBackgroundToBlack) {
    const std::string shot = (dir / "dark.png").string();
    ASSERT_EQ(RunGame("--frames 61 --screenshot 55:" + shot,
                      Click(10, 575, 411) + Drag(40, 440, 425, {{470, 425}, {760, 425}}),
                      {Entered, 55}),
              0);
    EXPECT_EQ(Number(Entered, "Bg_Light"), 1);
    EXPECT_EQ(Number(55, "Bg_Light"), 0);
    EXPECT_EQ(Value("BG_LIGHT"), "0.00000000");
    std::ifstream in(shot, std::ios::binary);
    const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in), {}};
    DecodedPicture pic;
    ASSERT_TRUE(Image_Decode(bytes, pic));
    for (auto [x, y] : {std::pair{10, 10}, std::pair{300, 100}, std::pair{780, 590}}) {
        const std::uint8_t* px = &pic.pixels[(y * pic.width + x) * pic.bytes_per_pixel];
        EXPECT_EQ(px[0] + px[1] + px[2], 0) << "background at " << x << "," << y;
    }
}

// The drag lets go when the pointer goes more than 40 px below the cursor's top or more than
// 5 px above it; within that band it follows the pointer sideways.
TEST_F(OptionsRun, DragEndsWhenThePointerStraysFromTheCursor) {
    struct Case {
        int y, x_after;
    };
    const Case cases[] = {
        {195 + 40, 519 + 60},
        {195 + 41, 519},
        {195 - 5, 519 + 60},
        {195 - 6, 519},
    };
    for (const Case& c : cases) {
        NewPlayer(); // the cursor back at 519
        ASSERT_EQ(RunOptions(Drag(40, 540, 210, {{540, c.y}, {600, c.y}}), {49}, 50), 0);
        EXPECT_EQ(Slider(49, "music", "x"), c.x_after) << "pointer at y " << c.y;
    }
}

// Script lines from `pass` on, four passes apart: "tab", "up" ... tap that key, "pad:<button>"
// taps a gamepad button (a pad is plugged in first), "hold:<axis>:<value>:<passes>" holds the
// left stick that long.
std::string Presses(int pass, const std::vector<std::string>& presses) {
    std::ostringstream s;
    s << "5 pad added\n";
    for (const std::string& p : presses) {
        if (p.starts_with("pad:")) {
            s << pass << " pad button " << p.substr(4) << " down\n"
              << pass + 1 << " pad button " << p.substr(4) << " up\n";
        } else if (p.starts_with("hold:")) {
            std::istringstream in(p.substr(5));
            std::string axis, value, passes;
            std::getline(in, axis, ':');
            std::getline(in, value, ':');
            std::getline(in, passes);
            s << pass << " pad axis " << axis << " " << value << "\n";
            pass += std::stoi(passes);
            s << pass << " pad axis " << axis << " 0\n";
        } else {
            s << pass << " keydown " << p << "\n" << pass + 1 << " keyup " << p << "\n";
        }
        pass += 4;
    }
    return s.str();
}

// With a slider focused, Left and Right move it by a twentieth of its range and save it at once
// as a drag does, within 0 and 1; Up, Down and Tab still move the focus. The focus runs over the
// page buttons (Settings, Credits, Help, Main Menu), then the music, effects, ambience and
// brightness sliders.
TEST_F(OptionsRun, FocusedSliderMovesByKeysAndGamepadAndIsSaved) {
    const std::vector<std::string> to_music(5, "tab");
    const auto with = [&](std::vector<std::string> keys, const std::vector<std::string>& more) {
        keys.insert(keys.end(), more.begin(), more.end());
        return keys;
    };
    struct Case {
        const char* what;
        std::vector<std::string> presses;
        const char* setting;
        double change;
    };
    const Case cases[] = {
        {"Right raises the music", with(to_music, {"right"}), "MUSIC_VOL", 0.05},
        {"Left lowers it", with(to_music, {"left", "left"}), "MUSIC_VOL", -0.1},
        {"Left at 0 stays 0", with(to_music, std::vector<std::string>(12, "left")), "MUSIC_VOL",
         -0.5},
        {"Right at 1 stays 1", with(to_music, std::vector<std::string>(12, "right")), "MUSIC_VOL",
         0.5},
        {"Up leaves for Main Menu, where Right moves the focus back to the slider",
         with(to_music, {"up", "right"}), "MUSIC_VOL", 0},
        {"Up then Down come back to the slider", with(to_music, {"up", "down", "right"}),
         "MUSIC_VOL", 0.05},
        {"Down and Tab go on to the ambience", with(to_music, {"down", "tab", "right"}),
         "AMBIENT_VOL", 0.05},
        {"Down leaves the music alone", with(to_music, {"down", "right"}), "MUSIC_VOL", 0},
        {"Right darkens the background", with(to_music, {"tab", "tab", "tab", "right"}), "BG_LIGHT",
         -0.05},
        {"the d-pad",
         {"pad:dpdown", "pad:dpdown", "pad:dpdown", "pad:dpdown", "pad:dpdown", "pad:dpright",
          "pad:dpright", "pad:dpleft"},
         "MUSIC_VOL",
         0.05},
        // The stick held for 40 passes of 20 ms: the push, then repeats after 400 ms and every
        // 120 ms, as on the board.
        {"a held stick repeats", with(to_music, {"hold:leftx:30000:40"}), "MUSIC_VOL", 0.25},
    };
    for (const Case& c : cases) {
        NewPlayer();
        const double before = std::stod(Value(c.setting));
        const int end = 40 + 4 * static_cast<int>(c.presses.size()) + 50;
        ASSERT_EQ(RunOptions(Presses(40, c.presses), {end - 1}, end), 0) << c.what;
        EXPECT_NEAR(std::stod(Value(c.setting)), before + c.change, 1e-6) << c.what;
        if (std::string(c.setting) == "MUSIC_VOL") {
            EXPECT_NEAR(Slider(end - 1, "music", "value"), before + c.change, 1.0 / Slider_Span)
                << c.what << ": the cursor drawn where the value is";
        }
    }
}

TEST_F(OptionsRun, SwitchesToggleAndSave) {
    Set("WINDOWED_MODE", "1");
    const std::string clicks = Click(40, 600, 525) + Click(50, 600, 480) + Click(60, 600, 525);
    ASSERT_EQ(RunOptions(clicks, {Entered, 46, 56, 66}, 67), 0);
    EXPECT_EQ(Number(Entered, "Options_Windowed"), 1);
    EXPECT_EQ(Number(46, "WindowedMode"), 0) << "full screen";
    EXPECT_EQ(Number(46, "Options_Windowed"), 0);
    EXPECT_EQ(Number(56, "Slow_PC"), 1);
    EXPECT_EQ(Number(66, "WindowedMode"), 1) << "back to a window";
    EXPECT_EQ(Value("SLOW_PC"), "1");
    EXPECT_EQ(Value("WINDOWED_MODE"), "1");
    // The file is written at once: a run that stops in full screen keeps it.
    ASSERT_EQ(RunOptions(Click(40, 600, 525), {}, 47), 0);
    EXPECT_EQ(Value("WINDOWED_MODE"), "0");
}

TEST_F(OptionsRun, HelpArrowsKeepThePageWithinTheThreePages) {
    // Help, then clicks on the left arrow's place, the right arrow and the left arrow.
    constexpr int left_x = 369 + 34, right_x = 649 + 34, arrow_y = 528 + 24;
    struct Step {
        int x, page;
    };
    const Step steps[] = {{left_x, 0}, {right_x, 1}, {right_x, 2}, {right_x, 2},
                          {left_x, 1}, {left_x, 0},  {left_x, 0}};
    std::string script = Click(30, 189, 483);
    std::vector<int> dumps{36};
    int pass = 40;
    for (const Step& s : steps) {
        script += Click(pass, s.x, arrow_y);
        dumps.push_back(pass + 6);
        pass += 10;
    }
    script += Key(pass, 27);
    dumps.push_back(pass + 4);
    ASSERT_EQ(RunOptions(script, dumps, pass + 5), 0);
    EXPECT_EQ(Number(36, "Options_Page"), 1);
    EXPECT_EQ(Number(36, "Help_Page"), 0);
    for (std::size_t i = 0; i < std::size(steps); ++i)
        EXPECT_EQ(Number(dumps[i + 1], "Help_Page"), steps[i].page) << "step " << i;
    EXPECT_EQ(Number(dumps.back(), "GameState"), 0) << "Escape leaves for the menu";
    // The next visit starts on the help page again, at its first page.
    ASSERT_EQ(RunOptions(Click(30, 189, 483) + Click(40, right_x, arrow_y) + Key(50, 27) +
                             Click(60, 575, 411),
                         {70}, 71),
              0);
    EXPECT_EQ(Number(70, "GameState"), 4);
    EXPECT_EQ(Number(70, "Options_Page"), 1);
    EXPECT_EQ(Number(70, "Help_Page"), 0);
}

} // namespace
