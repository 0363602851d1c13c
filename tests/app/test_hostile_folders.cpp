// The game program on hostile data folders: read-only, a plain file in the folder's place, a full
// disk, a settings file with a 100 kB line, and saved files of 0 bytes or random bytes. The game
// either plays or says what is wrong; it never crashes and never spoils a save that was good.
//
// A read-only folder and a full disk are made in a mount namespace of the test's own (a read-only
// bind mount, a small tmpfs), which works without root where user namespaces are allowed. Without
// one the folder is made read-only by its mode (enough unless running as root), and the full disk
// becomes a file-size limit of 0, which fails every write the same way.
#include "data/config.h"
#include "data/saved_match.h"
#include "tests/app/game_run.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <regex>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

using Files = std::map<std::string, std::string>; // file name -> bytes

std::string Read(const fs::path& path) {
    std::ifstream f(path, std::ios::binary);
    std::stringstream s;
    s << f.rdbuf();
    return s.str();
}

void Write(const fs::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

Files FolderFiles(const fs::path& dir) {
    Files out;
    for (const auto& e : fs::directory_iterator(dir))
        if (e.is_regular_file()) out[e.path().filename().string()] = Read(e.path());
    return out;
}

// Single quotes for the shell.
std::string Quoted(const std::string& s) {
    std::string out = "'";
    for (char c : s)
        out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}

class HostileFolders : public GameRunTest {
  protected:
    void SetUp() override {
        GameRunTest::SetUp();
        data = dir / "data";
    }
    void TearDown() override {
        std::error_code ec;
        fs::permissions(data, fs::perms::owner_all, fs::perm_options::add, ec);
        GameRunTest::TearDown();
    }

    // The game's command, headless and reproducible; `args` add to it.
    std::string GameCommand(const std::string& args) const {
        return "timeout 120 " + std::string(SNOW_BINARY_DIR) +
               "/snowmere --headless --no-draw --skip-logos --seed 7 --data-dir " +
               Quoted(data.string()) + " --dump-state " + Quoted((dir / "state.json").string()) +
               " " + args;
    }
    // The same with its messages kept in stderr.txt.
    std::string Game(const std::string& args) const {
        return GameCommand(args) + " 2>" + Quoted((dir / "stderr.txt").string()) + " >/dev/null";
    }
    // Runs a shell script; its exit code (-1 when a signal ended it).
    static int Shell(const std::string& script) {
        const int status = std::system(("sh -c " + Quoted(script)).c_str());
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    // Runs the script in a mount namespace of its own, as root there.
    static int Isolated(const std::string& script) {
        return Shell("unshare -rm --propagation private sh -c " + Quoted(script));
    }
    static bool CanIsolate() {
        static const bool can = Isolated("mount -t tmpfs -o size=64k tmpfs /mnt || exit 1") == 0;
        return can;
    }
    // A good set of saved files: the settings, the highscore table and a saved match, written
    // by the game itself (a level started, a life lost to the clock).
    Files MakeGoodSaves() {
        std::string keys;
        for (int pass = 100; pass < 900; pass += 10) {
            const char* key = pass % 20 == 0 ? "escape" : "enter"; // the time dialogs
            keys += std::to_string(pass) + " keydown " + key + "\n" + std::to_string(pass + 1) +
                    " keyup " + key + "\n";
        }
        Write(dir / "keys.txt", keys);
        EXPECT_EQ(Shell(Game("--fixed-delta 1000 --level 1 --frames 900 --input " +
                             Quoted((dir / "keys.txt").string()))),
                  0)
            << Stderr();
        Files good = FolderFiles(data);
        EXPECT_TRUE(good.count("match_0.jmm") && good.count("highscores.dat") &&
                    good.count("gx_config.bin"));
        return good;
    }
    std::string Stderr() const { return Read(dir / "stderr.txt"); }
    bool Says(const std::string& text) const { return Stderr().find(text) != std::string::npos; }
    long long StateValue(const std::string& key) const {
        std::smatch m;
        const std::string json = Read(dir / "state.json");
        if (!std::regex_search(json, m, std::regex("\"" + key + "\": (-?[0-9]+)"))) return -999;
        return std::stoll(m[1].str());
    }

    fs::path data;
};

// Plays from the menu through the resume question into a level and on, as a player would.
const char* const Autoplay = "--autoplay --fixed-delta 16 --frames 4000";

TEST_F(HostileFolders, AReadOnlyFolderKeepsEveryFileAndSaysSo) {
    const Files good = MakeGoodSaves();
    const std::string game = Game(Autoplay);
    int rc;
    if (CanIsolate()) {
        const std::string d = Quoted(data.string());
        rc = Isolated("mount --bind " + d + " " + d + " && mount -o remount,bind,ro " + d + " && " +
                      game);
    } else if (geteuid() != 0) {
        fs::permissions(data, fs::perms::owner_write | fs::perms::group_write,
                        fs::perm_options::remove);
        rc = Shell(game);
    } else {
        GTEST_SKIP() << "no mount namespace, and root writes through any file mode";
    }
    // The first resume writes the match again, which cannot be done: the game ends with its
    // message rather than play a match it cannot keep.
    EXPECT_TRUE(rc == 1 ? Says("cant create match file!") : rc == 0 && Says("is read-only"))
        << rc << Stderr();
    EXPECT_EQ(FolderFiles(data), good);
}

TEST_F(HostileFolders, APlainFileWhereTheFolderShouldBeIsLeftAloneAndNamed) {
    Write(data, "not a folder");
    EXPECT_EQ(Shell(Game("--frames 30")), 1);
    EXPECT_TRUE(Says(data.string() + " exists and is not a folder")) << Stderr();
    EXPECT_TRUE(Says("Cant create Highscores File!")) << Stderr();
    EXPECT_EQ(Read(data), "not a folder");
}

TEST_F(HostileFolders, AFullDiskKeepsTheGoodSaves) {
    Files good = MakeGoodSaves();
    // A new match (started by --level) removes the saved one: the lost life must then write a
    // new match file where no byte is free.
    good.erase("match_0.jmm");
    fs::remove(data / "match_0.jmm");
    const std::string game = Game("--fixed-delta 1000 --level 1 --frames 900 --input " +
                                  Quoted((dir / "keys.txt").string()));
    const std::string d = Quoted(data.string()), saved = Quoted((dir / "saved").string());
    int rc;
    if (CanIsolate()) {
        // The saves are copied onto a small tmpfs filled to the last byte, and back afterwards.
        fs::create_directories(dir / "saved");
        rc = Isolated("cp -a " + d + "/. " + saved + " && mount -t tmpfs -o size=256k tmpfs " + d +
                      " && cp -a " + saved + "/. " + d + " && (dd if=/dev/zero of=" + d +
                      "/filler bs=1k 2>/dev/null; true) && { " + game + "; echo $? >" +
                      Quoted((dir / "rc").string()) + "; } ; rm -f " + d + "/filler; rm -rf " +
                      saved + "/*; cp -a " + d + "/. " + saved);
        ASSERT_EQ(rc, 0);
        rc = std::stoi(Read(dir / "rc"));
        EXPECT_EQ(FolderFiles(dir / "saved"), good) << Stderr();
    } else {
        // Every write to a file fails as on a full disk (the signal for it ignored, as a shell
        // passes on); the messages and the exit code go through a pipe, which the limit spares.
        Shell("(trap '' XFSZ; ulimit -f 0; " +
              GameCommand("--fixed-delta 1000 --level 1 --frames 900 --input " +
                          Quoted((dir / "keys.txt").string())) +
              " >/dev/null; echo \"exit code $?\" >&2) 2>&1 | cat >" +
              Quoted((dir / "stderr.txt").string()));
        std::smatch m;
        const std::string err = Stderr();
        ASSERT_TRUE(std::regex_search(err, m, std::regex("exit code ([0-9]+)"))) << err;
        rc = std::stoi(m[1].str());
        EXPECT_EQ(FolderFiles(data), good) << err;
    }
    EXPECT_TRUE(rc == 1 ? Says("cant create match file!")
                        : rc == 0 && Says("Cannot save the settings file"))
        << rc << Stderr();
}

TEST_F(HostileFolders, ASettingsFileWithAHundredKilobyteLineIsRefusedAndKept) {
    fs::create_directories(data);
    const std::string text = "PLAYER0=" + std::string(100 * 1024, 'x') + "\r\n" +
                             std::string(Config_DefaultText).substr(21);
    Write(data / "gx_config.txt", text);
    EXPECT_EQ(Shell(Game("--frames 60")), 0) << Stderr();
    EXPECT_TRUE(Says("The settings file " + (data / "gx_config.txt").string())) << Stderr();
    EXPECT_EQ(StateValue("passes"), 60);
    EXPECT_EQ(Read(data / "gx_config.txt"), text);
}

// Every file the game keeps, empty or of random bytes: the game plays on through the menus, the
// resume question and a level, and a record it cannot use sends no resume to a level it lacks.
TEST_F(HostileFolders, EmptyAndRandomFilesAreReadOrReplacedWhilePlaying) {
    const char* const names[] = {"gx_config.txt", "gx_config.bin", "highscores.dat", "match_0.jmm",
                                 "match_0.lev"};
    for (int seed = 0; seed < 4; ++seed) {
        fs::remove_all(data);
        fs::create_directories(data);
        std::mt19937 rng(static_cast<unsigned>(seed));
        for (const char* name : names) {
            std::string bytes(seed == 0 ? 0 : rng() % 4000 + 1, '\0');
            for (char& c : bytes)
                c = static_cast<char>(rng());
            Write(data / name, bytes);
        }
        EXPECT_EQ(Shell(Game(Autoplay)), 0) << "seed " << seed << "\n" << Stderr();
        EXPECT_EQ(StateValue("passes"), 4000) << "seed " << seed;
        const long long level = StateValue("LevelCrt");
        EXPECT_TRUE(level >= 1 && level <= Levels_Count) << "seed " << seed << ": " << level;
        EXPECT_FALSE(Says("cannot load level")) << "seed " << seed << "\n" << Stderr();
    }
}

// Damaged records read as one the game can play; the records it writes read back unchanged.
TEST(HostileMatchRecord, ValuesOutsideThePlayableRangeAreBroughtIntoIt) {
    struct Case {
        const char* what;
        int field, stored, read;
    };
    const Case cases[] = {
        {"a level beyond the last", 4, 2070054638, Levels_Count},
        {"a negative level", 4, -5, 1},
        {"no first level", 3, 0, 1},
        {"negative lives", 1, -7, 0},
        {"a score near the integer maximum", 2, INT_MAX, 1000000000},
        {"a negative played time", 5, INT_MIN, 0},
        {"a running flag of 5", 6, 5, 1},
        {"a clock beyond any level", 10, INT_MAX, 7200000},
        {"negative bought time", 11, -3, 0},
    };
    for (const Case& c : cases) {
        std::vector<std::uint8_t> bytes =
            MatchFile_Encode(Match_File{48, 3, 100, 1, 7, 5000, 0, 0, 0, 0, 60000, 0});
        for (int b = 0; b < 4; ++b)
            bytes[std::size_t(c.field * 4 + b)] =
                static_cast<std::uint8_t>(static_cast<std::uint32_t>(c.stored) >> (8 * b));
        Match_File m;
        EXPECT_EQ(MatchFile_Decode(bytes, m), MATCH_FILE_EXACT) << c.what;
        std::vector<std::uint8_t> back = MatchFile_Encode(m);
        int value = 0;
        for (int b = 0; b < 4; ++b)
            value |= back[std::size_t(c.field * 4 + b)] << (8 * b);
        EXPECT_EQ(value, c.read) << c.what;
    }
    const Match_File played{48, 2, 123456, 3, 17, 987654, 1, 1, 140, 120000, 45000, 30000};
    Match_File back;
    MatchFile_Decode(MatchFile_Encode(played), back);
    EXPECT_EQ(MatchFile_Encode(back), MatchFile_Encode(played));
}

} // namespace
