// Drawing kinds from the level's bag and creating pieces.
#include "board_fixture.h"

#include "board/pieces.h"
#include "board/table.h"
#include "data/level_file.h"
#include "engine/system.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

TEST(Pieces, NoKindTwiceInARowWhenTheBagHoldsThreeOrMore) {
    struct {
        std::vector<int> kinds;
        bool repeats_allowed;
    } cases[] = {{{2, 5}, true}, {{1, 2, 4}, false}, {{1, 2, 3, 4, 5, 6, 7}, false}};
    for (const auto& c : cases) {
        Board_Build({"."}, {}, {}, 1, c.kinds);
        int repeats = 0, last = Piece_ChooseKind();
        for (int i = 0; i < 2000; ++i) {
            const int k = Piece_ChooseKind();
            EXPECT_NE(std::find(c.kinds.begin(), c.kinds.end(), k), c.kinds.end());
            repeats += k == last;
            last = k;
        }
        if (c.repeats_allowed)
            EXPECT_GT(repeats, 0);
        else
            EXPECT_EQ(repeats, 0);
    }
}

TEST(Pieces, SpecialPiecesTakeTheirCellOver) {
    Board_Build({"12", "34"});
    Piece* old = At(1, 0);
    const Point corner = Table_CellToPixel(1, 0);
    Piece* crystal = Piece_Create(corner.x, corner.y, Kind_Crystal);
    EXPECT_EQ(At(1, 0), crystal);
    EXPECT_EQ(std::find(Pieces.begin(), Pieces.end(), old), Pieces.end());
    EXPECT_EQ(Pieces_Count(), 4);
    // A gem is left for the caller to place.
    Piece* gem = Piece_Create(corner.x, corner.y, 3);
    EXPECT_EQ(At(1, 0), crystal);
    EXPECT_EQ(gem->color, 3);
}

TEST(Pieces, SpawnedCrystalsNeverGetChains) {
    Board_Build({"."}, {}, {}, 1, {8});
    ShieldPercent = 100;
    for (int i = 0; i < 50; ++i)
        EXPECT_EQ(Piece_CreateRandom(0, 0)->shields_count, 0);
    Board_Build({"."}, {}, {}, 1, {3});
    ShieldPercent = 100;
    Piece* p = Piece_CreateRandom(0, 0);
    EXPECT_EQ(p->shields_count, 1);
    EXPECT_EQ(p->antigrav_first_hit, 3); // falls until it has come to rest once
    ShieldPercent = 0;
}

TEST(Pieces, RemovedPiecesLeaveTheListBetweenFrames) {
    Board_Build({"123"});
    Piece* middle = At(1, 0);
    Piece_Remove(middle);
    Piece_Remove(middle); // removing twice is harmless
    EXPECT_EQ(Pieces_Count(), 2);
    Pieces_Collect();
    EXPECT_EQ(Pieces.size(), 2u);
    Piece* fresh = Piece_Create(0, 0, 5);
    EXPECT_EQ(Pieces.back(), fresh);
    EXPECT_EQ(fresh->color, 5);
    EXPECT_EQ(fresh->shields_count, 0); // recycled storage starts clean
}

} // namespace
