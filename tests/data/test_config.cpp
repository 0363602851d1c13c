// The settings files: defaults on a first start, missing and empty keys, in-place edits of one
// value, and binary files shorter than the full set of sections.
#include "data/config.h"
#include "data/level_file.h"
#include "data/players.h"
#include "engine/stream.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <sys/stat.h>

namespace fs = std::filesystem;

class ConfigTest : public ::testing::Test {
  protected:
    void SetUp() override {
        dir = fs::temp_directory_path() /
              ("snow_config_" +
               std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(dir);
        fs::create_directories(dir);
        Config_SetDir(dir.string());
        Players_ClearTables();
    }
    void TearDown() override { fs::remove_all(dir); }

    void WriteText(const std::string& text) {
        std::ofstream(Config_TxtPath, std::ios::binary) << text;
    }
    std::string ReadText() { return LoadString(Config_TxtPath); }

    fs::path dir;
};

TEST_F(ConfigTest, FirstStartWritesDefaultsAndFullBinaryFile) {
    ReadConfig();
    EXPECT_EQ(ReadText(), Config_DefaultText);
    EXPECT_EQ(std::string(Config_DefaultText).size(), 339u);
    EXPECT_EQ(First_Run, 1);
    EXPECT_EQ(Player_Crt, 0);
    EXPECT_EQ(fs::file_size(Config_BinPath), static_cast<std::uintmax_t>(Config_BinSize));
    for (int p = 0; p < Players_Max; ++p) {
        EXPECT_EQ(Player_Names[p], "New Player");
        EXPECT_EQ(Skips_Left[p], 5);
        EXPECT_EQ(Level_Status[p][1], -1);
        EXPECT_FLOAT_EQ(FxVolume[p], 0.8f);
        EXPECT_FLOAT_EQ(MusicVolume[p], 0.8f);
        EXPECT_FLOAT_EQ(AmbientVolume[p], 0.5f);
    }
    // The second start reads what the first wrote.
    Players_ClearTables();
    ReadConfig();
    EXPECT_EQ(First_Run, 0);
    EXPECT_EQ(Skips_Left[9], 5);
    EXPECT_EQ(Level_Status[4][1], -1);
}

TEST_F(ConfigTest, MissingOrEmptyKeysTakeTheirDefaults) {
    WriteText("PLAYER0=Ann\r\nPLAYER3=\r\nPLAYER_CRT=0\r\nFX_VOL=0.8\r\nMUSIC_VOL=0.8");
    ReadConfig();
    EXPECT_EQ(Player_Names[0], "Ann");
    EXPECT_EQ(Player_Names[3], "Anonymous");
    EXPECT_EQ(Player_Names[5], "Anonymous");
    EXPECT_FLOAT_EQ(AmbientVolume[0], 0.7f);
    EXPECT_EQ(Levels_Count, 211);
    EXPECT_FLOAT_EQ(Bg_Light, 1.0f);
}

TEST_F(ConfigTest, CurrentPlayerOutsideTheSlotsFallsBackToSlotZero) {
    WriteText("PLAYER_CRT=57\r\nFX_VOL=0.3");
    ReadConfig();
    EXPECT_EQ(Player_Crt, 0);
    EXPECT_FLOAT_EQ(FxVolume_Crt, 0.3f);
}

TEST_F(ConfigTest, GetConfigValueFindsTheFirstOccurrence) {
    const std::string text = "A=1\r\nXA=2\r\nB=tail";
    EXPECT_EQ(GetConfigValue(text, "A"), "1");
    EXPECT_EQ(GetConfigValue(text, "B"), "tail");
    EXPECT_EQ(GetConfigValue(text, "C"), "");
}

TEST_F(ConfigTest, SetConfigValueReplacesOneValueInPlace) {
    struct Case {
        const char* key;
        const char* value;
        const char* old_line;
        const char* new_line;
    };
    const Case cases[] = {
        {"BG_LIGHT", "0.899999976", "BG_LIGHT=1.00000000", "BG_LIGHT=0.899999976"},
        {"FX_VOL", "0.500000000", "FX_VOL=0.8\r\n", "FX_VOL=0.500000000\r\n"},
    };
    for (const Case& c : cases) {
        WriteText(Config_DefaultText);
        SetConfigValue(c.key, c.value);
        std::string expected = Config_DefaultText;
        expected.replace(expected.find(c.old_line), std::string(c.old_line).size(), c.new_line);
        EXPECT_EQ(ReadText(), expected) << c.key;
    }
    // A key the file lacks (deleted by hand) is added, so the setting is not lost.
    WriteText(Config_DefaultText);
    SetConfigValue("NO_SUCH_KEY", "1");
    EXPECT_EQ(ReadText(), std::string(Config_DefaultText) + "\r\nNO_SUCH_KEY=1");
}

TEST_F(ConfigTest, ShortBinaryFileReadsOnlyTheSectionsItHolds) {
    ReadConfig(); // creates a full file with defaults
    Level_Status[2][7] = 1;
    Level_BestTime[0][0] = 11;   // section 7 starts at 33880, inside a 40000-byte file
    Level_BestTime[9][210] = 22; // ... and ends at 42320, beyond it
    WriteConfigBin();
    fs::resize_file(Config_BinPath, 40000);
    Players_ClearTables();
    Level_BestTime[9][210] = 33;
    Easyness_Table[0][3] = 9;
    ReadConfig();
    EXPECT_EQ(Level_Status[2][7], 1);
    EXPECT_EQ(Level_BestTime[0][0], 11);
    EXPECT_EQ(Level_BestTime[9][210], 33); // the part past the end keeps its value
    EXPECT_EQ(Easyness_Table[0][3], 9);    // section 15 lies wholly past the end
    EXPECT_EQ(Skips_Left[0], 0);           // so do sections 10 and 16
}

TEST_F(ConfigTest, RealsAreWrittenWithNineSignificantDigits) {
    EXPECT_EQ(Config_FormatReal(0.8f), "0.800000012");
    EXPECT_EQ(Config_FormatReal(1.0f), "1.00000000");
    EXPECT_EQ(Config_FormatReal(0.5f), "0.500000000");
}

TEST_F(ConfigTest, SectionOffsetsFollowTheirSizes) {
    ReadConfig();
    EXPECT_EQ(Config_Sections[2].offset, 80);
    EXPECT_EQ(Config_Sections[9].offset, 50760);
    EXPECT_EQ(Config_Sections[16].offset, 62244);
    EXPECT_EQ(Config_Sections[16].offset + Config_Sections[16].size, Config_BinSize);
}

TEST_F(ConfigTest, LineEndingsOfHandEditedFilesReadAlike) {
    struct Case {
        const char* name;
        const char* eol;
        const char* bom;
        bool final_break;
    };
    const Case cases[] = {
        {"CR LF", "\r\n", "", false},
        {"LF", "\n", "", true},
        {"LF, no final break", "\n", "", false},
        {"lone CR", "\r", "", true},
        {"UTF-8 mark first", "\n", "\xEF\xBB\xBF", true},
    };
    for (const Case& c : cases) {
        const std::string e = c.eol;
        WriteText(std::string(c.bom) + "PLAYER0=Holly" + e + "PLAYER_CRT=0" + e + "FX_VOL=0.25" +
                  e + "SLOW_PC=1" + (c.final_break ? e : ""));
        Players_ClearTables();
        ReadConfig();
        EXPECT_EQ(Player_Names[0], "Holly") << c.name;
        EXPECT_FLOAT_EQ(FxVolume_Crt, 0.25f) << c.name;
        EXPECT_EQ(Slow_PC, 1) << c.name;
    }
}

TEST_F(ConfigTest, RewritingAnLfFileKeepsEveryLineAndWritesCrLf) {
    // A hand-edited file with Unix line breaks and a key this program does not know.
    const std::string original = "PLAYER0=Holly\nFX_VOL=0.25\nMY_NOTE=keep me\n";
    WriteText(original);
    ReadConfig();
    SetConfigValue("PLAYER_CRT", "0"); // absent: added at the end
    SetConfigValue("PLAYER0", "Holly");
    EXPECT_EQ(ReadText(), "PLAYER0=Holly\r\nFX_VOL=0.25\r\nMY_NOTE=keep me\r\nPLAYER_CRT=0");
    SetConfigValue("FX_VOL", "0.500000000");
    EXPECT_EQ(ReadText(), "PLAYER0=Holly\r\nFX_VOL=0.500000000\r\nMY_NOTE=keep me\r\nPLAYER_CRT=0");
    // Lone CRs become CR LF too; a byte-order mark stays first.
    const std::string bom = "\xEF\xBB\xBF";
    EXPECT_EQ(Config_ReplaceValue("A=1\rB=2", "B", "3"), "A=1\r\nB=3");
    EXPECT_EQ(Config_ReplaceValue(bom + "A=1\n", "A", "2"), bom + "A=2\r\n");
    EXPECT_EQ(Config_ReplaceValue(bom, "A", "1"), bom + "A=1");
    EXPECT_EQ(Config_ReplaceValue("", "A", "1"), "A=1");
}

TEST_F(ConfigTest, KeysMatchOnlyAtTheStartOfALine) {
    WriteText(Config_DefaultText);
    SetConfigValue("PLAYER0", "PLAYER1");      // a name that is another key
    SetConfigValue("PLAYER2", "PLAYER3=Evil"); // a name that looks like a whole line
    SetConfigValue("PLAYER4", "A=B");
    SetConfigValue("PLAYER5", "Eve\r\nPLAYER_CRT=7"); // no line break reaches the file
    SetConfigValue("PLAYER1", "Holly");
    ReadConfig();
    EXPECT_EQ(Player_Names[0], "PLAYER1");
    EXPECT_EQ(Player_Names[1], "Holly");
    EXPECT_EQ(Player_Names[2], "PLAYER3=Evil");
    EXPECT_EQ(Player_Names[3], "New Player");
    EXPECT_EQ(Player_Names[4], "A=B");
    EXPECT_EQ(Player_Names[5], "EvePLAYER_CRT=7");
    EXPECT_EQ(Player_Crt, 0);
    EXPECT_EQ(GetConfigValue("XFX_VOL=1\r\nFX_VOL=2", "FX_VOL"), "2");
    EXPECT_EQ(GetConfigValue("FX_VOL\r\nFX_VOL=", "FX_VOL"), "");
}

TEST_F(ConfigTest, HostileTextValuesAreClampedOnReading) {
    WriteText("FX_VOL=nan\r\nMUSIC_VOL=1e999\r\nAMBIENT_VOL=-5\r\nWINDOWED_MODE=99999999999\r\n"
              "SLOW_PC=-3\r\nBG_LIGHT=7\r\nLEVELS_COUNT=-2147483648\r\nUSERS_COUNT=2147483647");
    ReadConfig();
    EXPECT_FLOAT_EQ(FxVolume_Crt, 0.8f);
    EXPECT_FLOAT_EQ(MusicVolume_Crt, 1.0f);
    EXPECT_FLOAT_EQ(AmbientVolume_Crt, 0.0f);
    EXPECT_EQ(WindowedMode, 1);
    EXPECT_EQ(Slow_PC, 0);
    EXPECT_FLOAT_EQ(Bg_Light, 1.0f);
    EXPECT_EQ(Levels_Count, 1);
    EXPECT_EQ(Users_Count, Players_Max);
}

namespace {

void PokeFile(const std::string& path, int offset, std::uint32_t v) {
    std::fstream f(path, std::ios::in | std::ios::out | std::ios::binary);
    f.seekp(offset);
    for (int b = 0; b < 4; ++b)
        f.put(static_cast<char>(v >> (8 * b)));
}

int At(int section, int row, int column, int columns) {
    return Config_Sections[section].offset + (row * columns + column) * 4;
}

} // namespace

TEST_F(ConfigTest, HostileBinaryValuesAreClampedAndCountersNeverWrap) {
    ReadConfig();
    const std::uint32_t int_max = 2147483647u, int_min = 0x80000000u, nan = 0x7fc00000u;
    struct Poke {
        int offset;
        std::uint32_t value;
    };
    const Poke pokes[] = {
        {At(15, 0, 1, Levels_Columns), 2147484}, // easing: * 1000 overflows
        {At(15, 0, 2, Levels_Columns), int_max},
        {At(15, 0, 3, Levels_Columns), int_min},
        {At(6, 0, 1, Levels_Columns), int_max}, // starts, one more is added
        {At(9, 0, 1, Levels_Columns), int_max}, // total time, a level's time is added
        {At(7, 0, 1, Levels_Columns), int_min}, // best time
        {At(5, 0, 4, Levels_Columns), 77},      // status
        {At(3, 0, 0, 1), int_min},              // last level
        {At(0, 0, 0, 1), int_max},              // map page
        {At(11, 0, 0, 1), nan},                 // volumes
        {At(12, 0, 0, 1), 0x7f800000u},         // infinity
        {At(16, 0, 0, 1), int_max},             // skips, the copy read last
    };
    for (const Poke& p : pokes)
        PokeFile(Config_BinPath, p.offset, p.value);
    Players_ClearTables();
    ReadConfig();
    EXPECT_EQ(Easyness_Table[0][1], Easyness_Max);
    EXPECT_EQ(Easyness_Table[0][2], Easyness_Max);
    EXPECT_EQ(Easyness_Table[0][3], -1);
    EXPECT_EQ(Level_BestTime[0][1], 0);
    EXPECT_EQ(Level_Status[0][4], 1);
    EXPECT_EQ(Last_Level[0], 0);
    EXPECT_EQ(Map_Page_A[0], Levels_Columns - 1);
    EXPECT_FLOAT_EQ(FxVolume[0], 0.8f);
    EXPECT_FLOAT_EQ(MusicVolume[0], 1.0f);
    EXPECT_EQ(Skips_Left[0], Skips_Max);
    // Playing the level once more adds to the counters without wrapping.
    Player_Crt = 0;
    LevelCrt = 1;
    LevelStartStats();
    LevelEndStats(LEVEL_LOST);
    EXPECT_GT(Level_Starts[0][1], 0);
    EXPECT_GE(Level_TotalTime[1], 0);
    EXPECT_EQ(Easyness_Table[0][1], Easyness_Max);
}

TEST_F(ConfigTest, ReadOnlySettingsFilesAreBothLeftAsTheyAre) {
    ReadConfig();
    SetConfigValue("PLAYER0", "Holly");
    const std::string text_before = ReadText(), bin_before = LoadString(Config_BinPath);
    fs::permissions(Config_TxtPath, fs::perms::owner_read | fs::perms::group_read);
    fs::permissions(Config_BinPath, fs::perms::owner_read | fs::perms::group_read);
    Players_ClearTables();
    ReadConfig();
    EXPECT_EQ(Player_Names[0], "Holly"); // still read
    Skips_Left[3] = 1;
    testing::internal::CaptureStderr();
    SetConfigValue("PLAYER0", "Ivy");
    SetConfigValue("FX_VOL", "0.100000001");
    WriteConfigBin();
    WriteConfigBin();
    const std::string told = testing::internal::GetCapturedStderr();
    EXPECT_EQ(ReadText(), text_before);
    EXPECT_EQ(LoadString(Config_BinPath), bin_before);
    for (const std::string& path : {Config_TxtPath, Config_BinPath}) {
        const std::string line = "The settings file " + path + " is read-only";
        const std::size_t first = told.find(line);
        EXPECT_NE(first, std::string::npos) << told;
        EXPECT_EQ(told.find(line, first + 1), std::string::npos) << "said once: " << told;
    }
}

TEST_F(ConfigTest, StaleSaveTemporariesAreRemovedAndNothingElse) {
    const char* stale[] = {"gx_config.bin.tmpAb12Cd", "gx_config.txt.tmpZZZZZZ"};
    const char* kept[] = {"gx_config.bin.tmp", "gx_config.bin.tmpAb12Cde", "other.bin.tmpAb12Cd",
                          "gx_config.bin.tmp-b12Cd", "highscores.dat"};
    for (const char* n : stale)
        std::ofstream(dir / n) << "half";
    for (const char* n : kept)
        std::ofstream(dir / n) << "mine";
    fs::create_directory(dir / "gx_config.txt.tmpFolder"); // only files are ours
    ReadConfig();
    for (const char* n : stale)
        EXPECT_FALSE(fs::exists(dir / n)) << n;
    for (const char* n : kept)
        EXPECT_TRUE(fs::exists(dir / n)) << n;
    EXPECT_TRUE(fs::exists(dir / "gx_config.txt.tmpFolder"));
}

TEST_F(ConfigTest, AMissingDataFolderIsCreatedWithItsParents) {
    Config_SetDir((dir / "a" / "b" / "c").string());
    ReadConfig();
    EXPECT_EQ(LoadString(Config_TxtPath), Config_DefaultText);
    EXPECT_EQ(fs::file_size(Config_BinPath), static_cast<std::uintmax_t>(Config_BinSize));

    // Below a plain file no folder can be made: the game says so once and writes nothing.
    std::ofstream(dir / "plain") << "x";
    Config_SetDir((dir / "plain" / "sub").string());
    testing::internal::CaptureStderr();
    ReadConfig();
    SetConfigValue("PLAYER0", "Holly");
    WriteConfigBin();
    const std::string told = testing::internal::GetCapturedStderr();
    EXPECT_NE(told.find("Cannot create the data folder " + (dir / "plain").string()),
              std::string::npos)
        << told;
    EXPECT_EQ(told.find("settings file"), std::string::npos) << "one message: " << told;
    EXPECT_EQ(Player_Names[0], "New Player");
    EXPECT_EQ(LoadString((dir / "plain").string()), "x");
}

TEST_F(ConfigTest, SpecialOrOversizedSettingsFilesAreRefusedAndLeftAlone) {
    struct Case {
        const char* name;
        bool text;
        std::function<void(const std::string&)> make;
    };
    auto fifo = [](const std::string& p) { ASSERT_EQ(mkfifo(p.c_str(), 0644), 0); };
    auto huge = [](const std::string& p) {
        std::ofstream(p) << "PLAYER0=Holly\r\n";
        fs::resize_file(p, 2u << 20);
    };
    auto folder = [](const std::string& p) { fs::create_directory(p); };
    const Case cases[] = {
        {"FIFO text", true, fifo},    {"FIFO binary", false, fifo},  {"huge text", true, huge},
        {"huge binary", false, huge}, {"folder text", true, folder},
    };
    for (const Case& c : cases) {
        fs::remove_all(dir);
        fs::create_directories(dir);
        const std::string path = c.text ? Config_TxtPath : Config_BinPath;
        c.make(path);
        const auto type = fs::status(path).type();
        const auto size = fs::is_regular_file(path) ? fs::file_size(path) : 0;
        Players_ClearTables();
        testing::internal::CaptureStderr();
        ReadConfig(); // returns at once: a FIFO is never opened for a blocking read
        SetConfigValue("PLAYER0", "Ivy");
        WriteConfigBin();
        const std::string told = testing::internal::GetCapturedStderr();
        EXPECT_NE(told.find("The settings file " + path), std::string::npos) << c.name << told;
        EXPECT_EQ(fs::status(path).type(), type) << c.name;
        if (size) {
            EXPECT_EQ(fs::file_size(path), size) << c.name;
        }
        EXPECT_EQ(Skips_Left[0], Skips_Max) << c.name; // defaults stand in
        // The other file works as usual.
        if (c.text) {
            EXPECT_EQ(fs::file_size(Config_BinPath), std::uintmax_t(Config_BinSize));
        } else {
            EXPECT_NE(ReadText().find("PLAYER0=Ivy"), std::string::npos) << c.name;
        }
    }
}
