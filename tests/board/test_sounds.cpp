// The sound requests a resolved group makes: one delayed "ding" per removed gem, ringing later
// and lower piece by piece, and one coalesced sound for all the chains knocked off.
#include "board_fixture.h"

#include "audio/sound_fx.h"
#include "board/matching.h"
#include "board/pieces.h"
#include "board/table.h"
#include "data/players.h"

#include <gtest/gtest.h>

namespace {

class BoardSounds : public testing::Test {
  protected:
    void SetUp() override {
        Player_Crt = 0;
        FxVolume[0] = 0.8f;
    }
};

float PanOf(const Piece* p) {
    return static_cast<float>(p->x) * 2.0f / 800.0f - 1.0f;
}

TEST_F(BoardSounds, EachGemOfAGroupQueuesItsDing) {
    Board_Build({"3332", "2323"});
    std::vector<float> pans;
    for (int x = 0; x < 3; ++x)
        pans.push_back(PanOf(At(x, 0)));
    Ding_Rate = 0.77f; // left by the previous group
    Table_FindGroup(0, 0, 0, 0);
    Table_ResolveGroup();
    ASSERT_EQ(DelayedSounds.size(), 3u);
    struct Expect {
        int delay;
        float rate;
    };
    // The first keeps the last group's rate; then kind 3 rings at (3 x 7 + 30 - n) / 100.
    const Expect expect[] = {{1, 0.77f}, {83, 0.50f}, {166, 0.49f}};
    for (int i = 0; i < 3; ++i) {
        const Snd_Delayed& d = DelayedSounds[i];
        EXPECT_EQ(d.snd, 0);
        EXPECT_EQ(d.delay_play, expect[i].delay) << i;
        EXPECT_FLOAT_EQ(d.rate, expect[i].rate) << i;
        EXPECT_FLOAT_EQ(d.vol, 0.4f) << "half the effect volume";
        EXPECT_FLOAT_EQ(d.pan, pans[Group_Cells[i].x]) << i;
    }
}

TEST_F(BoardSounds, ChainsKnockedOffCountOneCoalescedSound) {
    Board_Build({"aa12", "2323"});
    Table_FindGroup(2, 0, 0, 0);
    ASSERT_EQ(Group_Count, 3);
    const Piece* last_chained = nullptr;
    for (int i = 0; i < Group_Count; ++i)
        if (At(Group_Cells[i].x, Group_Cells[i].y)->shields_count > 0)
            last_chained = At(Group_Cells[i].x, Group_Cells[i].y);
    const int lx = last_chained->x, ly = last_chained->y;
    Table_ResolveGroup();
    EXPECT_EQ(PiecesSounds[2].start, 2);
    EXPECT_EQ(PiecesSounds[2].X, lx);
    EXPECT_EQ(PiecesSounds[2].Y, ly);
    EXPECT_EQ(DelayedSounds.size(), 1u) << "only the unchained gem rings";
    // The next group starts counting afresh.
    Board_Build({"1112", "2323"});
    Table_FindGroup(0, 0, 0, 0);
    Table_ResolveGroup();
    EXPECT_EQ(PiecesSounds[2].start, 0);
}

// A bomb or a laser in a group sounds through its coalesced record, never a ding of its own;
// every other piece it takes with it rings: the bomb's blast takes its one gem neighbour left in
// the row, the laser's line takes the rest of the row.
TEST_F(BoardSounds, SpecialPiecesDoNotDing) {
    for (const bool bomb : {true, false}) {
        SCOPED_TRACE(bomb ? "bomb" : "laser");
        Board_Build({"1112"});
        Snd_ResetPieces();
        DelayedSounds.clear();
        (bomb ? At(1, 0)->bomb : At(1, 0)->laser) = 1;
        Table_FindGroup(0, 0, 0, 0);
        Table_ResolveGroup();
        EXPECT_EQ(DelayedSounds.size(), bomb ? 2u : 3u);
        EXPECT_EQ(PiecesSounds[SND_EXPLOSION].start, bomb ? 1 : 0);
        EXPECT_EQ(PiecesSounds[SND_LASER].start, bomb ? 0 : 1);
    }
}

TEST_F(BoardSounds, ANewLevelDropsPendingDings) {
    Board_Build({"1112", "2323"});
    Table_FindGroup(0, 0, 0, 0);
    Table_ResolveGroup();
    ASSERT_FALSE(DelayedSounds.empty());
    Board_Build({"1212", "2323"});
    EXPECT_TRUE(DelayedSounds.empty());
}

} // namespace
