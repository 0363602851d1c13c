// The game program driven as a player drives it: clicks shorter than a pass on the board and on
// buttons, Escape on the pause screen, the end signals of a logout or kill, and a plain click in
// a real X window.
#include "data/config.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <dlfcn.h>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <memory>
#include <regex>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;
using namespace std::chrono_literals;

namespace {

std::string ReadFile(const fs::path& path) {
    std::ifstream f(path, std::ios::binary);
    std::stringstream s;
    s << f.rdbuf();
    return s.str();
}

// A number from a state dump, -999 when the key is missing.
int JsonValue(const std::string& json, const std::string& key) {
    std::smatch m;
    if (!std::regex_search(json, m, std::regex("\"" + key + "\": (-?[0-9]+)"))) return -999;
    return std::atoi(m[1].str().c_str());
}

// A child process with its standard error in a file; killed if the test leaves it running.
class Child {
  public:
    Child(const std::vector<std::string>& args, const std::vector<std::string>& env,
          const fs::path& log) {
        pid_ = fork();
        if (pid_ != 0) return;
        for (const std::string& e : env)
            putenv(const_cast<char*>(e.c_str()));
        int fd = open(log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (fd >= 0) {
            dup2(fd, 1);
            dup2(fd, 2);
        }
        std::vector<char*> argv;
        for (const std::string& a : args)
            argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        execv(argv[0], argv.data());
        _exit(127);
    }
    ~Child() {
        if (Running()) {
            kill(pid_, SIGKILL);
            waitpid(pid_, nullptr, 0);
        }
    }
    Child(const Child&) = delete;
    Child& operator=(const Child&) = delete;

    bool Running() {
        if (pid_ <= 0 || exited_) return false;
        int status = 0;
        if (waitpid(pid_, &status, WNOHANG) == pid_) {
            exited_ = true;
            status_ = status;
        }
        return !exited_;
    }
    void Signal(int sig) const {
        if (pid_ > 0) kill(pid_, sig);
    }
    // The exit code once the process ended within `limit`, -1 if it was killed or hung.
    int WaitExit(std::chrono::milliseconds limit) {
        for (auto end = std::chrono::steady_clock::now() + limit;
             Running() && std::chrono::steady_clock::now() < end;)
            std::this_thread::sleep_for(10ms);
        if (Running()) return -1;
        return WIFEXITED(status_) ? WEXITSTATUS(status_) : -1;
    }

  private:
    pid_t pid_ = -1;
    bool exited_ = false;
    int status_ = 0;
};

// Polls until `ready` holds or the child ends or `limit` passes.
template <class Ready> bool WaitFor(Child& child, std::chrono::milliseconds limit, Ready ready) {
    for (auto end = std::chrono::steady_clock::now() + limit;
         std::chrono::steady_clock::now() < end; std::this_thread::sleep_for(20ms)) {
        if (ready()) return true;
        if (!child.Running()) return ready();
    }
    return false;
}

class InputFlow : public ::testing::Test {
  protected:
    void SetUp() override {
        // The process id keeps runs of other build folders on this machine apart.
        dir = fs::temp_directory_path() /
              ("snow_input_" + std::to_string(getpid()) + "_" +
               std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(dir);
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }

    // Runs level 1 headless at 16 ms a frame with the script, dumping the state after each pass
    // in `dumps` and at the end.
    int Run(const std::string& args, const std::string& script, const std::vector<int>& dumps) {
        std::string cmd = std::string(SNOW_BINARY_DIR) + "/snowmere --headless --skip-logos " +
                          "--fixed-delta 16 --seed 7 --data-dir " + dir.string() +
                          " --dump-state " + Dump(-1);
        std::ofstream(dir / "input.txt") << script;
        cmd += " --input " + (dir / "input.txt").string();
        for (int pass : dumps)
            cmd += " --dump-at " + std::to_string(pass) + ":" + Dump(pass);
        cmd += " " + args + " 2>" + (dir / "stderr.txt").string();
        int status = std::system(cmd.c_str());
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    // The dump after a pass; -1 names the one written at the end.
    std::string Dump(int pass) {
        return (dir / ("state" + std::to_string(pass) + ".json")).string();
    }
    int Value(int pass, const std::string& key) { return JsonValue(ReadFile(Dump(pass)), key); }
    fs::path dir;
};

// A click of the left button at (x, y): the pointer moves there a pass before the press, and
// the release follows `held` passes after it (0: on the same pass).
std::string Click(int pass, int x, int y, int held) {
    std::ostringstream s;
    s << pass << " move " << x << " " << y << "\n"
      << pass + 1 << " press left\n"
      << pass + 1 + held << " release left\n";
    return s.str();
}

std::string Key(int pass, int vk, int held) {
    std::ostringstream s;
    s << pass << " keydown " << vk << "\n" << pass + held << " keyup " << vk << "\n";
    return s.str();
}

constexpr int kEscape = 27;

} // namespace

// Selecting a piece and then its neighbour below swaps them on level 1: the ice column under
// them matches for 60 points, whether the clicks are held or over within one pass.
TEST_F(InputFlow, ClicksOfAnyLengthSwapTwoPieces) {
    for (int held : {0, 1, 3}) {
        SCOPED_TRACE("held " + std::to_string(held) + " passes");
        const std::string script = Click(200, 337, 334, held) + Click(205, 337, 378, held);
        ASSERT_EQ(Run("--level 1 --frames 216", script, {}), 0);
        EXPECT_EQ(Value(-1, "Score"), 60);
    }
}

TEST_F(InputFlow, AClickWithinOnePassPushesAButton) {
    // "Resume Game" on the pause screen; the Escape that pauses is over within its pass too.
    // Level 6 opens no help tip, which would take the Escape for itself.
    ASSERT_EQ(
        Run("--level 6 --frames 170", Key(150, kEscape, 0) + Click(160, 650, 570, 0), {155, 166}),
        0);
    EXPECT_EQ(Value(155, "GameState"), 7);
    EXPECT_EQ(Value(166, "GameState"), 1);

    // "Yes" in the quit dialog.
    ASSERT_EQ(Run("--frames 100", "2 close\n" + Click(4, 300, 370, 0), {}), 0);
    EXPECT_EQ(Value(-1, "QuitRequested"), 1);
    EXPECT_LT(Value(-1, "passes"), 100);
}

// The level chooser's level buttons: a new player's name starts level 1 and ends the run on its
// introduction; the next run opens the chooser from the menu's "Start" and picks level 1.
TEST_F(InputFlow, AClickWithinOnePassPicksALevelInTheChooser) {
    ASSERT_EQ(Run("--frames 60", "20 text Anna\n" + Key(30, 13, 1), {}), 0);
    ASSERT_EQ(Run("--frames 70", Click(20, 575, 222, 0) + Click(40, 85, 73, 0), {38, 60}), 0);
    EXPECT_EQ(Value(38, "GameState"), 2);
    EXPECT_EQ(Value(60, "GameState"), 5);
    EXPECT_EQ(Value(60, "LevelCrt"), 1);
}

TEST_F(InputFlow, EscapeOnThePauseScreenResumes) {
    // Escape pauses on pass 150 and is still held on 151: the pause holds until the next one.
    // Level 6 opens no help tip, which would take the Escape for itself.
    ASSERT_EQ(Run("--level 6 --frames 170", Key(150, kEscape, 2) + Key(160, kEscape, 1),
                  {150, 151, 159, 160}),
              0);
    for (int pass : {150, 151, 159})
        EXPECT_EQ(Value(pass, "GameState"), 7) << "pass " << pass;
    EXPECT_EQ(Value(160, "GameState"), 1);
    EXPECT_EQ(Value(160, "BoardAlpha"), 1);

    // With the quit dialog open over the pause screen, Escape only closes the dialog.
    ASSERT_EQ(
        Run("--level 6 --frames 170",
            Key(150, kEscape, 1) + "155 close\n" + Key(158, kEscape, 1) + Key(163, kEscape, 1),
            {157, 160, 163}),
        0);
    EXPECT_NE(ReadFile(Dump(157)).find("\"Dialog\": \"quit\""), std::string::npos);
    EXPECT_EQ(Value(160, "DialogActive"), 0);
    EXPECT_EQ(Value(160, "GameState"), 7);
    EXPECT_EQ(Value(163, "GameState"), 1);
}

// A logout or kill ends the game the way Escape with E does: after its pass, with the settings
// written whole and exit code 0.
TEST_F(InputFlow, EndSignalsEndTheGameAndSaveTheSettings) {
    for (int sig : {SIGTERM, SIGINT}) {
        SCOPED_TRACE(sig == SIGTERM ? "SIGTERM" : "SIGINT");
        fs::remove_all(dir);
        fs::create_directories(dir);
        const fs::path ready = dir / "ready.json";
        Child game({std::string(SNOW_BINARY_DIR) + "/snowmere", "--headless", "--skip-logos",
                    "--seed", "7", "--data-dir", dir.string(), "--dump-at", "5:" + ready.string(),
                    "--dump-state", Dump(-1)},
                   {}, dir / "log.txt");
        ASSERT_TRUE(WaitFor(game, 60s, [&] { return fs::exists(ready); }))
            << ReadFile(dir / "log.txt");
        game.Signal(sig);
        // Generous: a hung game fails here instead of holding the test run.
        EXPECT_EQ(game.WaitExit(30s), 0) << ReadFile(dir / "log.txt");
        EXPECT_EQ(Value(-1, "QuitRequested"), 1);
        ASSERT_TRUE(fs::exists(dir / "gx_config.bin"));
        EXPECT_EQ(fs::file_size(dir / "gx_config.bin"),
                  static_cast<std::uintmax_t>(Config_BinSize));
        EXPECT_EQ(ReadFile(dir / "gx_config.txt"), Config_DefaultText);
    }
}

namespace {

// The few Xlib and XTest calls a test needs to move and click like a pointing device, loaded at
// run time so the test builds without the X development files.
struct XTest {
    using Window = unsigned long;
    void* x11 = nullptr;
    void* xtst = nullptr;
    void* (*OpenDisplay)(const char*) = nullptr;
    int (*CloseDisplay)(void*) = nullptr;
    Window (*DefaultRootWindow)(void*) = nullptr;
    int (*QueryTree)(void*, Window, Window*, Window*, Window**, unsigned*) = nullptr;
    int (*GetGeometry)(void*, Window, Window*, int*, int*, unsigned*, unsigned*, unsigned*,
                       unsigned*) = nullptr;
    int (*TranslateCoordinates)(void*, Window, Window, int, int, int*, int*, Window*) = nullptr;
    int (*Free)(void*) = nullptr;
    int (*Sync)(void*, int) = nullptr;
    int (*QueryExtension)(void*, int*, int*, int*, int*) = nullptr;
    int (*FakeMotion)(void*, int, int, int, unsigned long) = nullptr;
    int (*FakeButton)(void*, unsigned, int, unsigned long) = nullptr;

    template <class F> static bool Bind(void* lib, const char* name, F* f) {
        *f = reinterpret_cast<F>(dlsym(lib, name));
        return *f != nullptr;
    }
    bool Load() {
        x11 = dlopen("libX11.so.6", RTLD_NOW);
        xtst = dlopen("libXtst.so.6", RTLD_NOW);
        return x11 && xtst && Bind(x11, "XOpenDisplay", &OpenDisplay) &&
               Bind(x11, "XCloseDisplay", &CloseDisplay) &&
               Bind(x11, "XDefaultRootWindow", &DefaultRootWindow) &&
               Bind(x11, "XQueryTree", &QueryTree) && Bind(x11, "XGetGeometry", &GetGeometry) &&
               Bind(x11, "XTranslateCoordinates", &TranslateCoordinates) &&
               Bind(x11, "XFree", &Free) && Bind(x11, "XSync", &Sync) &&
               Bind(xtst, "XTestQueryExtension", &QueryExtension) &&
               Bind(xtst, "XTestFakeMotionEvent", &FakeMotion) &&
               Bind(xtst, "XTestFakeButtonEvent", &FakeButton);
    }
};

// Where the game's 800 x 600 canvas lies on the X screen: the largest top-level window, with
// the canvas scaled into it and centred as the display does for a window or a full screen.
struct CanvasPlace {
    bool found = false;
    int x = 0, y = 0;
    double scale = 1.0;
};

CanvasPlace FindCanvas(const XTest& x, void* display) {
    CanvasPlace place;
    XTest::Window root = x.DefaultRootWindow(display), root_ret = 0, parent = 0;
    XTest::Window* children = nullptr;
    unsigned count = 0;
    if (!x.QueryTree(display, root, &root_ret, &parent, &children, &count)) return place;
    unsigned best_area = 0;
    for (unsigned i = 0; i < count; ++i) {
        int wx = 0, wy = 0;
        unsigned w = 0, h = 0, border = 0, depth = 0;
        XTest::Window child = 0;
        if (!x.GetGeometry(display, children[i], &root_ret, &wx, &wy, &w, &h, &border, &depth))
            continue;
        if (w < 800 || h < 600 || w * h <= best_area) continue;
        if (!x.TranslateCoordinates(display, children[i], root, 0, 0, &wx, &wy, &child)) continue;
        best_area = w * h;
        place.found = true;
        place.scale = std::min(w / 800.0, h / 600.0);
        place.x = wx + static_cast<int>((w - 800 * place.scale) / 2);
        place.y = wy + static_cast<int>((h - 600 * place.scale) / 2);
    }
    if (children) x.Free(children);
    return place;
}

// An X server of its own for the test: Xvfb picks a free display number and reports it.
class VirtualScreen {
  public:
    bool Start(const fs::path& log) {
        int fds[2];
        if (pipe(fds) != 0) return false;
        server_ = std::make_unique<Child>(
            std::vector<std::string>{XvfbPath(), "-displayfd", std::to_string(fds[1]), "-screen",
                                     "0", "1024x768x24", "-nolisten", "tcp", "-noreset"},
            std::vector<std::string>{}, log);
        close(fds[1]);
        std::string number;
        char c = 0;
        while (read(fds[0], &c, 1) == 1 && c != '\n')
            number += c;
        close(fds[0]);
        if (number.empty()) return false;
        name_ = ":" + number;
        return true;
    }
    ~VirtualScreen() {
        if (!server_) return;
        server_->Signal(SIGTERM); // it removes its lock file on the way out
        server_->WaitExit(10s);
    }
    const std::string& Name() const { return name_; }
    static std::string XvfbPath() {
        for (const char* p : {"/usr/bin/Xvfb", "/usr/local/bin/Xvfb"})
            if (fs::exists(p)) return p;
        return "";
    }

  private:
    std::unique_ptr<Child> server_;
    std::string name_;
};

} // namespace

// In a real window the clicks arrive as the X server's pointer events: each press and its
// release are sent together, as a quick tap does. The panel's "Main Menu" pauses, "Resume Game"
// resumes, two pieces swap (the board ignores clicks while paused), and "Main Menu" pauses
// again.
TEST_F(InputFlow, PlainClicksWorkInARealWindow) {
    if (VirtualScreen::XvfbPath().empty()) GTEST_SKIP() << "Xvfb is not installed";
    XTest x;
    if (!x.Load()) GTEST_SKIP() << "the X client libraries (libX11, libXtst) are not installed";
    VirtualScreen screen;
    ASSERT_TRUE(screen.Start(dir / "xvfb.txt")) << ReadFile(dir / "xvfb.txt");
    void* display = x.OpenDisplay(screen.Name().c_str());
    ASSERT_NE(display, nullptr) << "cannot connect to Xvfb on " << screen.Name();
    int event_base = 0, error_base = 0, major = 0, minor = 0;
    ASSERT_TRUE(x.QueryExtension(display, &event_base, &error_base, &major, &minor));

    std::string config = Config_DefaultText;
    config.replace(config.find("WINDOWED_MODE=0"), 15, "WINDOWED_MODE=1");
    std::ofstream(dir / "gx_config.txt", std::ios::binary) << config;
    // A dump every 10 passes shows how far the game got, without waiting a fixed time.
    std::vector<std::string> args = {std::string(SNOW_BINARY_DIR) + "/snowmere",
                                     "--skip-logos",
                                     "--seed",
                                     "7",
                                     "--level",
                                     "1",
                                     "--data-dir",
                                     dir.string(),
                                     "--dump-state",
                                     Dump(-1)};
    constexpr int kDumpEvery = 10, kLastDump = 20000;
    for (int pass = kDumpEvery; pass <= kLastDump; pass += kDumpEvery) {
        args.push_back("--dump-at");
        args.push_back(std::to_string(pass) + ":" + Dump(pass));
    }
    Child game(args, {"DISPLAY=" + screen.Name(), "SDL_VIDEODRIVER=x11"}, dir / "log.txt");
    // The newest dump written whole: the one before the newest file.
    int whole = 0;
    auto newest = [&] {
        while (whole + 2 * kDumpEvery <= kLastDump && fs::exists(Dump(whole + 2 * kDumpEvery)))
            whole += kDumpEvery;
        return whole;
    };
    // Waits for a dump some passes after now and returns its state.
    auto settled = [&](int after) {
        int now = newest();
        WaitFor(game, 60s, [&] { return newest() >= now + after; });
        return newest() > 0 ? ReadFile(Dump(newest())) : std::string();
    };
    auto click = [&](int cx, int cy) {
        const CanvasPlace place = FindCanvas(x, display);
        ASSERT_TRUE(place.found) << "no game window on the screen";
        x.FakeMotion(display, -1, place.x + static_cast<int>(cx * place.scale),
                     place.y + static_cast<int>(cy * place.scale), 0);
        x.Sync(display, 0);
        settled(2 * kDumpEvery); // the pointer is over the button before the click
        x.FakeButton(display, 1, 1, 0);
        x.FakeButton(display, 1, 0, 0);
        x.Sync(display, 0);
    };

    // Past the board's fade-in (about 200 passes).
    ASSERT_TRUE(WaitFor(game, 120s, [&] { return newest() >= 300; })) << ReadFile(dir / "log.txt");
    EXPECT_EQ(JsonValue(settled(0), "GameState"), 1);
    click(735, 555);
    EXPECT_EQ(JsonValue(settled(3 * kDumpEvery), "GameState"), 7) << "the panel's Main Menu";
    click(650, 570);
    EXPECT_EQ(JsonValue(settled(3 * kDumpEvery), "GameState"), 1) << "Resume Game";
    click(337, 334);
    EXPECT_EQ(JsonValue(settled(3 * kDumpEvery), "Selection_Active"), 1);
    click(337, 378);
    // The ice column matches for 60; what falls in after it may match again.
    EXPECT_GE(JsonValue(settled(3 * kDumpEvery), "Score"), 60) << "two pieces swapped";
    click(735, 555);
    EXPECT_EQ(JsonValue(settled(3 * kDumpEvery), "GameState"), 7) << "the panel's Main Menu";

    game.Signal(SIGTERM);
    EXPECT_EQ(game.WaitExit(30s), 0) << ReadFile(dir / "log.txt");
    x.CloseDisplay(display);
}
