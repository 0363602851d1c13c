// Special pieces once set off: a launched snowball's halves, a bomb's blast, a laser's lines and
// a golden piece's time, on small boards.
#include "board_fixture.h"

#include "board/clock.h"
#include "board/matching.h"
#include "board/pieces.h"
#include "board/table.h"
#include "data/level_file.h"

#include <gtest/gtest.h>

namespace {

int Halves() {
    int n = 0;
    for (const Piece* p : Pieces)
        if (p && p->color == Kind_SnowHalf) ++n;
    return n;
}

std::vector<std::string> IceRows() {
    std::vector<std::string> rows;
    for (int y = 0; y < Table_dy; ++y) {
        std::string row;
        for (int x = 0; x < Table_dx; ++x)
            row += Table[x][y].void_ ? '#' : static_cast<char>('0' + Table[x][y].background);
        rows.push_back(row);
    }
    return rows;
}

void ClickCell(int x, int y) {
    Mouse_OverCell(x, y, true, false);
    Board_Run(1);
}

TEST(Snowball, HalvesClearTheRowUpToTheVoidAndTheEdge) {
    // The snowball lies in the left edge column: the left half leaves the board at once, the
    // right half clears pieces and every layer of ice until the void cell stops it.
    Board_Build({"9123#45", "1212121"}, {"2212022", "1111111"});
    ClickCell(0, 0);
    EXPECT_EQ(Halves(), 2);
    EXPECT_EQ(At(0, 0), nullptr) << "the snowball itself is gone";
    Board_Run(120);
    EXPECT_EQ(Halves(), 0);
    EXPECT_EQ(Board_Text(), (std::vector<std::string>{"....#45", "1212121"}));
    EXPECT_EQ(IceRows(), (std::vector<std::string>{"0000#22", "1111111"}));
    EXPECT_EQ(Player_Matches, 0) << "a launch is no move";
}

TEST(Snowball, HalfKnocksOneChainOffAndStillClearsTheIce) {
    Board_Build({"9a3", "454"}, {"222", "111"});
    At(1, 0)->shields_count = 2;
    ClickCell(0, 0);
    Board_Run(120);
    ASSERT_NE(At(1, 0), nullptr);
    EXPECT_EQ(At(1, 0)->shields_count, 1);
    EXPECT_EQ(At(2, 0), nullptr);
    EXPECT_EQ(IceRows()[0], "000");
}

TEST(Snowball, OnlyLaunchesOnceItRests) {
    Board_Build({"192", "3.4", "565"});
    Board_Run(1); // the snowball starts falling into the gap below
    ASSERT_NE(At(1, 0), nullptr);
    ASSERT_NE(At(1, 0)->falling, 0);
    ClickCell(1, 0);
    EXPECT_EQ(Halves(), 0);
    Board_Settle();
    ASSERT_NE(At(1, 1), nullptr);
    ASSERT_EQ(At(1, 1)->color, Kind_Snowball);
    ClickCell(1, 1);
    EXPECT_EQ(Halves(), 2);
    EXPECT_EQ(At(1, 1), nullptr);
}

TEST(Bomb, BlastClearsOccupiedNeighboursOnly) {
    // The bomb at (1, 1) starts a column of three. Its neighbours: a void cell, two empty cells
    // on snow, a second bomb, a double-chained piece and three gems.
    Board_Build({"#..5", "3142", "4125", "2113"}, {"#222", "2222", "2222", "2222"});
    At(1, 1)->bomb = 1;
    At(2, 1)->bomb = 1;          // blasted, but does not explode in turn
    At(0, 2)->shields_count = 2; // both chains go with the piece
    const int void_bg = Table[0][0].background;
    Table_FindGroup(1, 1, 0, 0);
    ASSERT_EQ(Group_Count, 3);
    Table_ResolveGroup();
    EXPECT_EQ(Board_Text(), (std::vector<std::string>{"#..5", "...2", "...5", "2.13"}))
        << "the second bomb's own neighbours in the right column stay";
    EXPECT_EQ(IceRows(), (std::vector<std::string>{"#222", "0002", "0002", "2122"}))
        << "blasted cells lose both layers, the bomb's cell all, the last group cell one";
    EXPECT_EQ(Table[0][0].background, void_bg);
    EXPECT_EQ(Score, 30);
}

TEST(Laser, LinesRemovePiecesUpToVoidCellsAndKeepTheIce) {
    Board_Build({"343434", "45#545", "c111#2", "452545", "543454"},
                {"111111", "11#111", "1111#1", "111111", "111111"});
    At(2, 2)->laser = 1;
    Table_FindGroup(2, 2, 0, 0);
    ASSERT_EQ(Group_Count, 3);
    Table_ResolveGroup();
    EXPECT_EQ(Board_Text(),
              (std::vector<std::string>{"343434", "45#545", "....#2", "45.545", "54.454"}));
    EXPECT_EQ(IceRows(),
              (std::vector<std::string>{"111111", "11#111", "1111#1", "111111", "111111"}));
}

TEST(Golden, GivesTenSecondsUpToTheLevelTime) {
    struct Case {
        int left, expect;
    };
    for (const Case c : {Case{235000, 240000}, Case{100000, 110000}}) {
        Board_Build({"1112", "2323"});
        Level_Time = 240000;
        Time_Left = c.left;
        At(1, 0)->golden = 1;
        Table_FindGroup(0, 0, 0, 0);
        Table_ResolveGroup();
        EXPECT_EQ(Time_Left, c.expect) << c.left;
    }
}

} // namespace
