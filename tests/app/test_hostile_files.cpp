// The game program run on hostile data: special files where settings or a level should be,
// numbers a file may hold that the rules cannot use, a data folder that is not there yet, and
// the leftovers of a save that was killed halfway.
#include "data/config.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

class HostileFiles : public ::testing::Test {
  protected:
    void SetUp() override {
        dir = fs::temp_directory_path() /
              ("snow_hostile_" +
               std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) + "_" +
               std::to_string(getpid()));
        fs::remove_all(dir);
        fs::create_directories(dir);
        data = dir;
    }
    void TearDown() override { fs::remove_all(dir); }

    // Runs the game headless; a file that made it wait would end it through `timeout` (124).
    int Run(const std::string& args, int delta_ms = 16) {
        const std::string cmd = "timeout 60 " + std::string(SNOW_BINARY_DIR) +
                                "/snowmere --headless --skip-logos --seed 7 --fixed-delta " +
                                std::to_string(delta_ms) + " " + "--data-dir " + data.string() +
                                " --dump-state " + (dir / "state.json").string() + " " + args +
                                " 2>" + (dir / "stderr.txt").string();
        int status = std::system(cmd.c_str());
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    std::string Read(const fs::path& path) {
        std::ifstream f(path, std::ios::binary);
        std::stringstream s;
        s << f.rdbuf();
        return s.str();
    }
    long long StateValue(const std::string& key) {
        std::smatch m;
        const std::string json = Read(dir / "state.json");
        if (!std::regex_search(json, m, std::regex("\"" + key + "\": (-?[0-9]+)"))) return -999;
        return std::stoll(m[1].str());
    }
    fs::path dir, data;
};

std::vector<char> FirstLevel() {
    std::ifstream in(std::string(SNOW_ASSETS_DIR) + "/levels/KV_level_001.lev", std::ios::binary);
    return std::vector<char>((std::istreambuf_iterator<char>(in)), {});
}

void Poke(std::vector<char>& bytes, std::size_t offset, std::uint32_t v) {
    for (int i = 0; i < 4; ++i)
        bytes.at(offset + i) = static_cast<char>(v >> (8 * i));
}

void Write(const fs::path& path, const std::vector<char>& bytes) {
    std::ofstream(path, std::ios::binary).write(bytes.data(), std::streamsize(bytes.size()));
}

} // namespace

TEST_F(HostileFiles, SpecialFilesAsTheLevelAreRefusedByName) {
    ASSERT_EQ(mkfifo((dir / "pipe.lev").c_str(), 0644), 0);
    for (const std::string& path : {(dir / "pipe.lev").string(), std::string("/dev/zero")}) {
        EXPECT_NE(Run("--level-file " + path + " --frames 20"), 124) << path << " made it wait";
        EXPECT_NE(Read(dir / "stderr.txt").find(path + " is not a regular file"), std::string::npos)
            << Read(dir / "stderr.txt");
    }
}

TEST_F(HostileFiles, SpecialSettingsFilesAreRefusedAndLeftInPlace) {
    for (const char* name : {"gx_config.txt", "gx_config.bin"}) {
        fs::remove_all(dir);
        fs::create_directories(dir);
        const fs::path pipe = dir / name;
        ASSERT_EQ(mkfifo(pipe.c_str(), 0644), 0);
        EXPECT_EQ(Run("--frames 5"), 0) << name;
        EXPECT_EQ(StateValue("passes"), 5) << name;
        EXPECT_TRUE(fs::is_fifo(pipe)) << name;
        EXPECT_NE(Read(dir / "stderr.txt").find("The settings file " + pipe.string()),
                  std::string::npos)
            << Read(dir / "stderr.txt");
    }
}

TEST_F(HostileFiles, AMissingDataFolderIsCreatedAndAKilledSavesLeftoversGo) {
    data = dir / "new" / "nested" / "folder";
    EXPECT_EQ(Run("--frames 3"), 0);
    EXPECT_EQ(Read(data / "gx_config.txt"), Config_DefaultText);
    EXPECT_EQ(fs::file_size(data / "gx_config.bin"), std::uintmax_t(Config_BinSize));

    Write(data / "gx_config.bin.tmpk1ll3d", std::vector<char>(100, 'x'));
    EXPECT_EQ(Run("--frames 3"), 0);
    EXPECT_FALSE(fs::exists(data / "gx_config.bin.tmpk1ll3d"));

    data = dir / "plain" / "sub"; // below a plain file: no folder can be made
    Write(dir / "plain", {'x'});
    // Without a folder the highscore table cannot be kept: the start ends with its message.
    EXPECT_EQ(Run("--frames 3"), 1);
    EXPECT_NE(Read(dir / "stderr.txt").find("Cannot create the data folder"), std::string::npos)
        << Read(dir / "stderr.txt");
    EXPECT_NE(Read(dir / "stderr.txt").find("Cant create Highscores File!"), std::string::npos)
        << Read(dir / "stderr.txt");
}

TEST_F(HostileFiles, HostileNumbersInTheFilesPlayWithoutOverflow) {
    const std::vector<char> level = FirstLevel();
    if (level.empty()) GTEST_SKIP() << "levels not generated";
    // Easing of 2,147,484 failed tries: a thousand times that overflows an int. The hint's
    // timer runs out within the 200 passes of 50 ms, so its interval is computed.
    std::vector<char> bin(Config_BinSize, 0);
    Poke(bin, 53804 + 1 * 4, 2147484); // player 0, level 1
    Poke(bin, 51644, 0x7fc00000u);     // a volume that is no number
    Write(dir / "gx_config.bin", bin);
    EXPECT_EQ(Run("--level 1 --frames 200", 50), 0) << Read(dir / "stderr.txt");
    EXPECT_EQ(StateValue("Easyness"), 100);

    // A time near the integer minimum and pieces of kinds far outside 1..15.
    std::vector<char> hostile = level;
    Poke(hostile, 12, static_cast<std::uint32_t>(INT_MIN) + 5);
    Poke(hostile, 128 + 1 * 64 + 8, 1000000); // cell (1, 0)
    Poke(hostile, 128 + 2 * 64 + 8, static_cast<std::uint32_t>(INT_MIN));
    Poke(hostile, 128 + 3 * 64 + 8, 16);
    Write(dir / "hostile.lev", hostile);
    EXPECT_EQ(Run("--level-file " + (dir / "hostile.lev").string() + " --frames 100", 50), 0)
        << Read(dir / "stderr.txt");
    const long long left = StateValue("Time_Left");
    EXPECT_GE(left, -1000) << "the clock wrapped";
    EXPECT_LE(left, 1000);
}
