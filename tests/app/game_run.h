// Runs of the game program for the app tests. Each test gets a scratch data folder of its own;
// the program runs headless at 20 ms a frame with seed 3 and a scripted input, and the state
// dumps it writes after chosen passes are read back by key.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

class GameRunTest : public ::testing::Test {
  protected:
    void SetUp() override {
        // The process id keeps runs of other build folders on this machine apart.
        const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
        dir =
            std::filesystem::temp_directory_path() / ("snow_" + std::to_string(getpid()) + "_" +
                                                      test->test_suite_name() + "_" + test->name());
        std::filesystem::remove_all(dir);
        std::filesystem::create_directories(dir);
    }
    void TearDown() override { std::filesystem::remove_all(dir); }

    // Runs the program with `script` as its input and a dump after each pass of `dumps`; `args`
    // adds options (--frames, --level, ...). Returns the exit code, -1 if it did not exit.
    int RunGame(const std::string& args, const std::string& script, const std::vector<int>& dumps) {
        std::string cmd = std::string(SNOW_BINARY_DIR) + "/snowmere --headless --skip-logos " +
                          "--fixed-delta 20 --seed 3 --data-dir " + dir.string();
        std::ofstream(dir / "input.txt") << script;
        cmd += " --input " + (dir / "input.txt").string();
        for (int pass : dumps)
            cmd += " --dump-at " + std::to_string(pass) + ":" + Dump(pass);
        cmd += " " + args + " 2>" + (dir / "stderr.txt").string();
        const int status = std::system(cmd.c_str());
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    std::string Dump(int pass) const {
        return (dir / ("state" + std::to_string(pass) + ".json")).string();
    }

    // The value of "key" in the dump after `pass` as written: a number, a quoted text, null,
    // or a list or object with its brackets; "missing" when the dump has no such key.
    std::string Raw(int pass, const std::string& key) const {
        std::ifstream f(Dump(pass));
        std::stringstream s;
        s << f.rdbuf();
        const std::string text = s.str();
        const std::string head = "\"" + key + "\": ";
        const std::size_t at = text.find(head);
        if (at == std::string::npos) return "missing";
        const std::size_t from = at + head.size();
        std::size_t end = from;
        int depth = 0;
        for (; end < text.size(); ++end) {
            const char c = text[end];
            if (c == '[' || c == '{') ++depth;
            if ((c == ']' || c == '}') && depth-- == 0) break;
            if ((c == ',' || c == '\n') && depth == 0) break;
        }
        return text.substr(from, end - from);
    }

    // A number of the dump; -999 when the key is missing or not a number.
    double Number(int pass, const std::string& key) const {
        const std::string raw = Raw(pass, key);
        char* end = nullptr;
        const double v = std::strtod(raw.c_str(), &end);
        return end == raw.c_str() ? -999 : v;
    }

  public:
    // Script lines: a key tapped (down on `pass`, up on the next).
    static std::string Key(int pass, int code) {
        return std::to_string(pass) + " keydown " + std::to_string(code) + "\n" +
               std::to_string(pass + 1) + " keyup " + std::to_string(code) + "\n";
    }

    // Pointer to (x, y), then a click: press two passes later, release on the next.
    static std::string Click(int pass, int x, int y) {
        std::ostringstream s;
        s << pass << " move " << x << " " << y << "\n"
          << pass + 2 << " press left\n"
          << pass + 3 << " release left\n";
        return s.str();
    }

  protected:
    std::filesystem::path dir;
};
