// The highscore table and its file: the first start, ranking and insertion, names, the reset,
// a file of another format, interrupted saves, and the saved match's record.
#include "data/config.h"
#include "data/highscores.h"
#include "data/saved_match.h"
#include "engine/stream.h"
#include "engine/system.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

namespace fs = std::filesystem;

class HighscoreFile : public ::testing::Test {
  protected:
    void SetUp() override {
        System_SetHeadless(true);
        dir = fs::temp_directory_path() /
              ("snow_hs_" + std::to_string(getpid()) + "_" +
               std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(dir);
        fs::create_directories(dir);
        Config_SetDir(dir.string());
    }
    void TearDown() override { fs::remove_all(dir); }
    // Rows with these scores (user 0), the rest empty.
    static void Table(std::initializer_list<int> scores) {
        Highscores_Fresh();
        int i = 0;
        for (int s : scores) {
            Highscores[i].user_id = 0;
            Highscores[i].score = s;
            Highscores[i].start_level = 100 + i;
            ++i;
        }
    }
    static Highscore_Slot Entry(int score) {
        Highscore_Slot e;
        e.score = score;
        Highscore_SetName(e, "New");
        return e;
    }
    fs::path dir;
};

TEST_F(HighscoreFile, FirstStartWritesAnEmptyTableOf448Bytes) {
    InitHighscores();
    EXPECT_EQ(FileSize(Highscores_Path), 448);
    for (int i = 0; i < Highscores_Rows; ++i) {
        EXPECT_EQ(Highscores[i].user_id, -1) << i;
        EXPECT_EQ(Highscores[i].played_time, 4096 + i) << i;
    }
    // The table read back from the file is the one written.
    Highscores[0].score = 77;
    LoadHighscores();
    EXPECT_EQ(Highscores[0].score, 0);
}

TEST_F(HighscoreFile, EqualScoresRankBelowTheirHoldersAndZeroNeverEnters) {
    struct Case {
        int score, rank;
    };
    Table({500, 300, 300});
    for (Case c : {Case{300, 3}, Case{301, 1}, Case{501, 0}, Case{1, 3}, Case{0, -1}})
        EXPECT_EQ(FindHighscoreRank(c.score), c.rank) << c.score;
    InsertHighscore(FindHighscoreRank(301), Entry(301));
    const int expected[] = {500, 301, 300, 300, 0};
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(Highscores[i].score, expected[i]) << i;
}

TEST_F(HighscoreFile, AFullTableDropsItsLastRowAndIgnoresRanksOutside) {
    Table({80, 70, 60, 50, 40, 30, 20, 10});
    EXPECT_EQ(FindHighscoreRank(5), -1);
    InsertHighscore(0, Entry(90));
    const int expected[] = {90, 80, 70, 60, 50, 40, 30, 20};
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(Highscores[i].score, expected[i]) << i;
    for (int rank : {-1, 8, 1000})
        InsertHighscore(rank, Entry(999));
    EXPECT_EQ(Highscores[0].score, 90);
}

TEST_F(HighscoreFile, ANameIsStoredAsItsCodesThenMinusOnesAndShownBack) {
    InitHighscores();
    Highscore_SetName(Highscores[0], "Bo");
    Highscores[0].user_id = 3;
    SaveHighscores();
    std::vector<std::uint8_t> bytes;
    ASSERT_TRUE(LoadBytes(Highscores_Path, bytes));
    ASSERT_EQ(bytes.size(), 448u);
    auto field = [&](int k) {
        const std::size_t at = static_cast<std::size_t>(4 * k);
        return static_cast<int>(bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16 |
                                static_cast<unsigned>(bytes[at + 3]) << 24);
    };
    EXPECT_EQ(field(0), 3);
    EXPECT_EQ(field(5), 'B');
    EXPECT_EQ(field(6), 'o');
    for (int k = 7; k < 14; ++k)
        EXPECT_EQ(field(k), -1) << k;
    LoadHighscores();
    EXPECT_EQ(Highscore_Name(Highscores[0]), "Bo");
    // Nine characters at most are kept.
    Highscore_SetName(Highscores[1], "Maximilian");
    EXPECT_EQ(Highscore_Name(Highscores[1]), "Maximilia");
}

TEST_F(HighscoreFile, AResetEmptiesTheRowsButKeepsNamesAndLevels) {
    InitHighscores();
    Table({500, 300});
    Highscore_SetName(Highscores[0], "Bo");
    Highscores_Clear();
    LoadHighscores();
    EXPECT_EQ(Highscores[0].user_id, -1);
    EXPECT_EQ(Highscores[0].score, 0);
    EXPECT_EQ(Highscores[0].start_level, 100);
    EXPECT_EQ(Highscore_Name(Highscores[0]), "Bo");
    EXPECT_EQ(FindHighscoreRank(1), 0);
}

TEST_F(HighscoreFile, AFileOfAnotherLengthIsReplacedByAFreshTable) {
    for (int size : {449, 0, 447, 56}) {
        const std::string path = (dir / "highscores.dat").string();
        std::ofstream(path, std::ios::binary) << std::string(static_cast<std::size_t>(size), 'x');
        testing::internal::CaptureStderr();
        InitHighscores();
        EXPECT_NE(testing::internal::GetCapturedStderr().find(
                      "highscores format updated, old data erased"),
                  std::string::npos)
            << size;
        EXPECT_EQ(FileSize(path), 448) << size;
        EXPECT_EQ(Highscores[7].played_time, 4096 + 7) << size;
    }
}

TEST_F(HighscoreFile, ASaveInterruptedBeforeItsRenameLeavesThePreviousTable) {
    InitHighscores();
    Table({500});
    SaveHighscores();
    // A save killed before its rename leaves only a partial temporary beside the table.
    const std::string partial = Highscores_Path + ".tmpAbC123";
    std::ofstream(partial, std::ios::binary) << std::string(100, '\0');
    InitHighscores();
    EXPECT_EQ(Highscores[0].score, 500);
    EXPECT_FALSE(fs::exists(partial)) << "the start-up clears what the killed save left";
}

TEST_F(HighscoreFile, ATableFileThatCannotBeWrittenEndsTheProgramWithItsMessage) {
    fs::create_directories(dir / "highscores.dat"); // a folder where the file belongs
    EXPECT_EXIT(InitHighscores(), testing::ExitedWithCode(1), "Cant create Highscores File!");
    EXPECT_TRUE(fs::is_directory(dir / "highscores.dat"));
}

TEST_F(HighscoreFile, ATableDamagedWhileRunningIsRewrittenFromMemory) {
    InitHighscores();
    Table({700});
    SaveHighscores();
    std::ofstream(Highscores_Path, std::ios::binary) << "junk";
    LoadHighscores();
    EXPECT_EQ(Highscores[0].score, 700);
    EXPECT_EQ(FileSize(Highscores_Path), 448);
}

TEST(MatchRecord, ShorterAndLongerRecordsAreReadAsFarAsTheyAgree) {
    Match_File m;
    m.size = 48;
    m.Lives = 2;
    m.LevelCrt = 13;
    m.Time_Left = 5000;
    m.Time_Bought = 120000;
    std::vector<std::uint8_t> bytes = MatchFile_Encode(m);
    ASSERT_EQ(bytes.size(), 48u);
    Match_File back;
    EXPECT_EQ(MatchFile_Decode(bytes, back), MATCH_FILE_EXACT);
    EXPECT_EQ(back.Time_Bought, 120000);

    // An older 40-byte record: the size says 40, the clock fields are missing.
    std::vector<std::uint8_t> old(bytes.begin(), bytes.begin() + 40);
    old[0] = 40;
    EXPECT_EQ(MatchFile_Decode(old, back), MATCH_FILE_SHORTER);
    EXPECT_EQ(back.LevelCrt, 13);
    EXPECT_EQ(back.Time_Left, 0);
    EXPECT_EQ(back.Time_Bought, 0);

    // A newer record: cut to the known fields.
    std::vector<std::uint8_t> newer = bytes;
    newer.resize(64, 0xff);
    newer[0] = 64;
    EXPECT_EQ(MatchFile_Decode(newer, back), MATCH_FILE_LONGER);
    EXPECT_EQ(back.Time_Bought, 120000);

    // A size claiming more than the file holds reads only what is there.
    std::vector<std::uint8_t> cut(bytes.begin(), bytes.begin() + 10);
    EXPECT_EQ(MatchFile_Decode(cut, back), MATCH_FILE_EXACT);
    EXPECT_EQ(back.Lives, 2);
    EXPECT_EQ(back.LevelCrt, 0);
    EXPECT_EQ(MatchFile_Decode({}, back), MATCH_FILE_SHORTER);
}
