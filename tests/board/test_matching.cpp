// Finding groups in lines and shapes, resolving them, and the score they give.
#include "board_fixture.h"

#include "board/matching.h"
#include "board/pieces.h"
#include "board/table.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <utility>

namespace {

// The size of the group the last search found; a start cell without a line is no group.
int GroupSize() {
    return Group_Count >= Min_Match ? Group_Count : 0;
}

std::set<std::pair<int, int>> GroupSet() {
    if (!GroupSize()) return {};
    std::set<std::pair<int, int>> s;
    for (int i = 0; i < Group_Count; ++i)
        s.insert({Group_Cells[i].x, Group_Cells[i].y});
    return s;
}

struct ShapeCase {
    const char* name;
    std::vector<std::string> rows;
    int size; // group size found from every cell of the kind '1' that belongs to it
    std::vector<std::pair<int, int>> outside; // cells of kind 1 that stay out of the group
};

class GroupShapes : public testing::TestWithParam<ShapeCase> {};

TEST_P(GroupShapes, SameGroupFromEveryCell) {
    const ShapeCase& c = GetParam();
    Board_Build(c.rows);
    std::set<std::pair<int, int>> first;
    for (int y = 0; y < Table_dy; ++y) {
        for (int x = 0; x < Table_dx; ++x) {
            if (!At(x, y) || At(x, y)->color != 1) continue;
            const bool out = std::find(c.outside.begin(), c.outside.end(), std::make_pair(x, y)) !=
                             c.outside.end();
            if (out) continue;
            Table_FindGroup(x, y, 0, 0);
            EXPECT_EQ(GroupSize(), c.size) << "from " << x << "," << y;
            if (first.empty() && c.size) first = GroupSet();
            EXPECT_EQ(GroupSet(), first) << "from " << x << "," << y;
            for (auto o : c.outside)
                EXPECT_EQ(first.count(o), 0u);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Shapes, GroupShapes,
    testing::Values(ShapeCase{"no_line", {"2222", "2112", "1223", "3322"}, 0, {}},
                    ShapeCase{"row_of_three", {"1113", "2323", "3232"}, 3, {}},
                    ShapeCase{"L", {"1233", "1322", "1112"}, 5, {}},
                    ShapeCase{"T_stem_two", {"1112", "2123", "3132"}, 5, {}},
                    ShapeCase{"cross", {"23132", "32123", "11111", "23132", "32123"}, 9, {}},
                    ShapeCase{"T_stem_one", {"1112", "2123", "3232"}, 3, {{1, 1}}},
                    ShapeCase{"five", {"11111", "23232"}, 5, {}}),
    [](const testing::TestParamInfo<ShapeCase>& i) { return i.param.name; });

TEST(Matching, PairsAndBrokenLinesMakeNoGroup) {
    Board_Build({"1121", "2212", "3333"});
    Table_FindGroup(0, 0, 0, 0);
    EXPECT_EQ(GroupSize(), 0);
    Table_FindGroup(0, 2, 0, 0);
    EXPECT_EQ(GroupSize(), 4); // the row of four 3s
}

TEST(Matching, RowOfThreeScoresThirtyAndBreaksIce) {
    Board_Build({"1112", "2323"}, {"2100", "0000"});
    Table_FindGroup(1, 0, 0, 0);
    Table_ResolveGroup();
    EXPECT_EQ(Score, 30);
    EXPECT_EQ(Board_Text()[0], "...2");
    EXPECT_EQ(Table[0][0].background, 1);
    EXPECT_EQ(Table[1][0].background, 0);
    EXPECT_EQ(Table[2][0].background, 0);
    EXPECT_EQ(Table[0][0].busy, Busy_Marker);
    EXPECT_EQ(Table[0][0].busy_delay, 30); // a cascade group blocks briefly
}

TEST(Matching, MultiplierMultipliesAndRunsOut) {
    Board_Build({"11111", "23232"});
    Score_Mult = 4;
    Score_MultTimer = 1000; // still running from a match two seconds earlier
    Table_FindGroup(0, 0, 0, 0);
    Table_ResolveGroup();
    EXPECT_EQ(Score, 200);
    EXPECT_EQ(Score_MultTimer, 3000);
    Board_Run(187, 16.0f); // 2992 ms
    EXPECT_EQ(Score_Mult, 4);
    Board_Run(1, 16.0f);
    EXPECT_EQ(Score_Mult, 1);
}

TEST(Matching, ExtraLifeEachTimeScorePassesSeventyThousand) {
    struct {
        int score, points, lives;
    } cases[] = {{69990, 30, 4}, {139990, 30, 4}, {69000, 30, 3}, {0, 140000, 4}};
    for (auto c : cases) {
        Score_NewGame();
        Score = c.score;
        Score_Add(c.points);
        EXPECT_EQ(Lives, c.lives) << c.score << " + " << c.points;
    }
}

TEST(Matching, ChainsComeOffOneAtATime) {
    // A double chain needs two matches: each knocks one off and the piece stays.
    for (int round = 0; round < 2; ++round) {
        Board_Build({"11a", "232"});
        At(2, 0)->shields_count = 2 - round;
        Piece* chained = At(2, 0);
        Table_FindGroup(0, 0, 0, 0);
        ASSERT_EQ(GroupSize(), 3);
        Table_ResolveGroup();
        EXPECT_EQ(At(2, 0), chained);
        EXPECT_EQ(chained->shields_count, 1 - round);
        EXPECT_EQ(At(0, 0), nullptr);
    }
}

TEST(Matching, CrystalIsWildcardOnlyAfterTheMove) {
    // A A crystal B B: the player's move makes one group of five.
    Board_Build({"11822", "34343"});
    Table_FindGroup(2, 0, 1, 0);
    EXPECT_EQ(GroupSize(), 5);
    // The same line formed by falling pieces: the crystal neither starts nor joins a group.
    Table_FindGroup(2, 0, 0, 0);
    EXPECT_EQ(GroupSize(), 0);
    Board_Build({"18134", "34343"});
    Table_FindGroup(0, 0, 0, 0);
    EXPECT_EQ(GroupSize(), 0);
    Table_FindGroup(0, 0, 1, 0);
    EXPECT_EQ(GroupSize(), 3); // right after a move the crystal joins the 1s
}

TEST(Matching, IcecubeGroups) {
    // Moved by the player: no score, the ice comes back as the level started.
    Board_Build({"iii2", "2323"}, {"0120", "0000"});
    Table[0][0].bg_initial = 2;
    Table[1][0].bg_initial = 2;
    Table[2][0].bg_initial = 2;
    Table_FindGroup(0, 0, 1, 0);
    ASSERT_EQ(GroupSize(), 3);
    EXPECT_EQ(Group_HasIcecube, 1);
    Table_ResolveGroup();
    EXPECT_EQ(Score, 0);
    for (int x = 0; x < 3; ++x)
        EXPECT_EQ(Table[x][0].background, 2);
    // Formed by falling: 500 points, not multiplied, ice broken as usual.
    Board_Build({"iii2", "2323"}, {"0120", "0000"});
    Score_Mult = 4;
    Table_FindGroup(0, 0, 0, 0);
    Table_ResolveGroup();
    EXPECT_EQ(Score, 500);
    EXPECT_EQ(Table[1][0].background, 0);
    EXPECT_EQ(Table[2][0].background, 1);
}

TEST(Matching, FallingSwappingAndSnowballPiecesStayOut) {
    Board_Build({"1111", "2323"});
    At(3, 0)->falling = 1;
    Table_FindGroup(0, 0, 0, 0);
    EXPECT_EQ(GroupSize(), 3);
    At(2, 0)->swap_state = 3;
    Table_FindGroup(0, 0, 0, 0);
    EXPECT_EQ(GroupSize(), 0);
    Board_Build({"1191", "2323"});
    Table_FindGroup(0, 0, 0, 0);
    EXPECT_EQ(GroupSize(), 0);
}

TEST(Matching, CascadeScanResolvesEveryGroupOnAStillBoard) {
    Board_Build({"1112", "3444", "2323"});
    Table_ScanCascades();
    EXPECT_EQ(Board_Text()[0], "...2");
    EXPECT_EQ(Board_Text()[1], "3...");
    EXPECT_EQ(Score, 60);
    // Nothing is searched while any piece falls.
    Board_Build({"1112", "3444", "2323"});
    At(3, 2)->falling = 1;
    Table_ScanCascades();
    EXPECT_EQ(Score, 0);
}

// The bomb's own cell loses all its ice; a group cell next to it is blasted (up to two layers)
// before its own turn comes; a group cell out of the blast breaks one layer as usual.
TEST(Matching, BombLeavesNoIceBehind) {
    Board_Build({"1112", "2323"}, {"2220", "0000"});
    At(0, 0)->bomb = 1;
    Table_FindGroup(0, 0, 0, 0);
    Table_ResolveGroup();
    EXPECT_EQ(Table[0][0].background, 0);
    EXPECT_EQ(Table[1][0].background, 0);
    EXPECT_EQ(Table[2][0].background, 1);
}

} // namespace
