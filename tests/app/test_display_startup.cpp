// Start-up and the display as a player meets them: no display means a clear message and no
// invisible game, a headless run leaves the window setting alone, and a real window (under Xvfb,
// when the machine has it) maps with the logo already on it.
#include "data/config.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <signal.h>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

class DisplayStartup : public ::testing::Test {
  protected:
    void SetUp() override {
        dir = fs::temp_directory_path() /
              ("snow_display_" +
               std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) + "_" +
               std::to_string(getpid()));
        fs::remove_all(dir);
        fs::create_directories(dir);
        std::string text = Config_DefaultText;
        text.replace(text.find("WINDOWED_MODE=0"), 15, "WINDOWED_MODE=1");
        std::ofstream(dir / "gx_config.txt", std::ios::binary) << text;
    }
    void TearDown() override { fs::remove_all(dir); }

    // Runs `env ENV snowmere ARGS` with this test's data folder; returns the exit code.
    int Run(const std::string& env, const std::string& args) {
        std::string cmd = "env " + env + " " + std::string(SNOW_BINARY_DIR) +
                          "/snowmere --skip-logos --data-dir " + dir.string() + " " + args + " >" +
                          (dir / "stdout.txt").string() + " 2>" + (dir / "stderr.txt").string();
        int status = std::system(cmd.c_str());
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    std::string Read(const std::string& name) {
        std::ifstream f(dir / name, std::ios::binary);
        std::stringstream s;
        s << f.rdbuf();
        return s.str();
    }
    bool SettingSaysWindowed() {
        return Read("gx_config.txt").find("WINDOWED_MODE=1") != std::string::npos;
    }
    fs::path dir;
};

TEST_F(DisplayStartup, NoDisplayIsReportedInsteadOfRunningInvisibly) {
    // A display number nobody serves: SDL would fall back to drawing offscreen.
    EXPECT_EQ(Run("-u WAYLAND_DISPLAY -u SDL_VIDEODRIVER DISPLAY=:8761 SDL_AUDIODRIVER=dummy",
                  "--frames 30"),
              1);
    EXPECT_NE(Read("stderr.txt").find("cannot open the display"), std::string::npos);
    EXPECT_TRUE(SettingSaysWindowed()) << "the setting stays for when the display is back";
    EXPECT_FALSE(fs::exists(dir / "gx_config.bin")) << "the game never started";
}

TEST_F(DisplayStartup, HeadlessRunLeavesTheWindowSettingAlone) {
    EXPECT_EQ(Run("SDL_AUDIODRIVER=dummy", "--headless --fixed-delta 16 --frames 5 --dump-state " +
                                               (dir / "state.json").string()),
              0);
    EXPECT_EQ(Read("stderr.txt").find("cant run windowed"), std::string::npos);
    EXPECT_TRUE(SettingSaysWindowed());
    EXPECT_NE(Read("state.json").find("\"passes\": 5"), std::string::npos);
}

// A real window on an X server of its own: the first_frame watcher sees the window map and
// counts looks at a mapped window that is still black.
TEST_F(DisplayStartup, WindowMapsWithTheLogoOnIt) {
    std::string watcher = std::string(SNOW_BINARY_DIR) + "/tests/bench/first_frame";
    if (std::system("command -v Xvfb >/dev/null 2>&1") != 0 || !fs::exists(watcher))
        GTEST_SKIP() << "needs Xvfb and the first_frame watcher";
    const std::string number = std::to_string(300 + getpid() % 600);
    const std::string display = ":" + number;
    pid_t server = fork();
    if (server == 0) {
        execlp("Xvfb", "Xvfb", display.c_str(), "-screen", "0", "1280x1024x24", "-br", "-nolisten",
               "tcp", static_cast<char*>(nullptr));
        _exit(127);
    }
    // The server is ready once its socket is there; a loaded machine can take seconds.
    const fs::path socket = "/tmp/.X11-unix/X" + number;
    for (int i = 0; i < 200 && !fs::exists(socket); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    int code =
        std::system(("env DISPLAY=" + display + " " + watcher + " --timeout 30 -- " +
                     std::string(SNOW_BINARY_DIR) + "/snowmere --data-dir " + dir.string() + " >" +
                     (dir / "watch.txt").string() + " 2>" + (dir / "watch_err.txt").string())
                        .c_str());
    kill(server, SIGTERM);
    waitpid(server, nullptr, 0);
    std::string watch = Read("watch.txt");
    ASSERT_EQ(WEXITSTATUS(code), 0) << watch << Read("watch_err.txt");
    double map_ms = -1, frame_ms = -1;
    int black_looks = -1;
    ASSERT_EQ(std::sscanf(watch.c_str(), "map_ms=%lf first_frame_ms=%lf black_looks=%d", &map_ms,
                          &frame_ms, &black_looks),
              3)
        << watch;
    EXPECT_GE(map_ms, 0) << watch;
    // The picture follows the map at once (a look or so of the watcher, which looks every 5 ms
    // and reads the whole screen each time), not after the start-up loading, which kept the
    // window black for many looks.
    EXPECT_LE(black_looks, 3) << watch;
    EXPECT_GE(frame_ms, map_ms) << watch;
}

} // namespace
