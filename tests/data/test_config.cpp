// The settings files: defaults on a first start, missing and empty keys, in-place edits of one
// value, and binary files shorter than the full set of sections.
#include "data/config.h"
#include "data/players.h"
#include "engine/stream.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

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
