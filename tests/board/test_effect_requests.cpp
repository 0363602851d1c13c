// The effect sprites the board's rules ask for: what a matched cell shows for its ice, chains
// knocked off, new special pieces, hints, and a new level starting without effects.
#include "board_fixture.h"

#include "board/matching.h"
#include "board/swap.h"
#include "board/table.h"
#include "fx/effects.h"

#include <gtest/gtest.h>

namespace {

struct RequestCase {
    const char* name;
    std::vector<std::string> rows, ice;
    int kind, count; // at 60 frames a second
};

TEST(EffectRequests, ResolvedGroupShowsWhatBreaks) {
    const RequestCase cases[] = {
        {"ice: shards", {"111", "234"}, {"111", "000"}, Gfx_IceShard, 3 * 5},
        {"ice: shard sparks", {"111", "234"}, {"111", "000"}, Gfx_ShardSpark, 3 * 30},
        {"snow: puffs", {"111", "234"}, {"222", "000"}, Gfx_Burst, 3 * 10},
        {"bare cells: vanishing sparks", {"111", "234"}, {}, Gfx_Burst, 3 * 60},
        {"chain knocked off", {"a11", "234"}, {}, Gfx_ChainLink, 20},
        {"chained piece stays: two vanish", {"a11", "234"}, {}, Gfx_Burst, 2 * 60},
    };
    for (const RequestCase& c : cases) {
        Board_Build(c.rows, c.ice);
        ASSERT_EQ(Gfx_LiveTotal(), 0) << c.name;
        Table_FindGroup(1, 0, 0, 0);
        Table_ResolveGroup();
        EXPECT_EQ(Gfx_LiveCount(c.kind), c.count) << c.name;
    }
}

TEST(EffectRequests, EffectsStartFromTheCellsOnScreen) {
    Board_Build({"111", "234"}, {"111", "000"});
    Table_FindGroup(0, 0, 0, 0);
    Table_ResolveGroup();
    int first_shard_x = -1;
    for (const Gfx_Obj& o : GfxEffects) {
        if (o.name != Gfx_IceShard) continue;
        first_shard_x = o.x;
        break;
    }
    EXPECT_EQ(first_shard_x, Table_CellCentreOnScreen(0, 0).x);
    EXPECT_EQ(GfxBoard.cell_width, Cell_Width);
    EXPECT_EQ(GfxBoard.origin_x, Table_OriginX);
}

TEST(EffectRequests, NewSpecialPiecesSparkle) {
    Board_Build({"123", "456"}, {"000", "000"}, {}, 6);
    Table_MakeCrystal(0, 0);
    EXPECT_EQ(Gfx_LiveCount(Gfx_ComboRing), 6);
    Table_MakeSnowball(1, 0);
    EXPECT_EQ(Gfx_LiveCount(Gfx_ComboRing), 6 + 12);
}

TEST(EffectRequests, HintGlittersAlongBothCells) {
    Board_Build({"1121", "3456"});
    Hint_Timer = 0;
    Table_Hint(0, 0, Min_Match);
    ASSERT_GT(Hint_SparkleCount, 0);
    EXPECT_EQ(Gfx_LiveCount(Gfx_Glitter), Hint_SparkleCount * (Cell_Width / 3 + 1));
}

TEST(EffectRequests, NewLevelStartsWithoutEffects) {
    Board_Build({"111", "234"});
    Gfx_Explosion(10, 10, 0.5f);
    ASSERT_GT(Gfx_LiveTotal(), 0);
    Board_Build({"111", "234"});
    EXPECT_EQ(Gfx_LiveTotal(), 0);
}

} // namespace
