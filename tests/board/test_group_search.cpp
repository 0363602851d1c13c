// The group search and the move tests agree with the straightforward reference on many random
// boards: the same cells in the same order, the same group properties, the same hint and the same
// search state left behind for the rules that read it later.
#include "board_fixture.h"
#include "group_search_reference.h"

#include "board/matching.h"
#include "board/pieces.h"
#include "board/swap.h"
#include "board/table.h"
#include "engine/frame.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace {

// A board of `kinds` gem kinds with a sprinkle of crystals, snowballs, icecubes, chains, empty
// and void cells; some pieces fall, swap or carry a laser. Few kinds make big groups.
void Build_RandomBoard(std::mt19937& rng, int w, int h, int kinds) {
    std::uniform_int_distribution<int> pct(0, 99), kind(1, kinds);
    std::vector<std::string> rows(h, std::string(w, '.'));
    for (auto& row : rows)
        for (char& ch : row) {
            const int r = pct(rng);
            ch = r < 3    ? '#'
                 : r < 6  ? '.'
                 : r < 9  ? '8'
                 : r < 11 ? '9'
                 : r < 13 ? 'i'
                 : r < 18 ? static_cast<char>('a' + kind(rng) - 1)
                          : static_cast<char>('0' + kind(rng));
        }
    Board_Build(rows);
    for (Piece* p : Pieces) {
        if (!p) continue;
        const int r = pct(rng);
        if (r < 2) p->falling = 1;
        if (r >= 2 && r < 4) p->swap_state = 3;
        if (r >= 4 && r < 7) p->laser = 1;
        if (r >= 7 && r < 9 && p->shields_count) p->shields_count = 2;
    }
}

// The search state both leave behind, compared field by field.
void Expect_SameState(const std::string& where) {
    const reference::Result& r = reference::Group;
    ASSERT_EQ(Group_Count, r.count) << where;
    for (int i = 0; i < r.count; ++i) {
        ASSERT_EQ(Group_Cells[i].x, r.cells[i].x) << where << " cell " << i;
        ASSERT_EQ(Group_Cells[i].y, r.cells[i].y) << where << " cell " << i;
    }
    EXPECT_EQ(Group_Kind, r.kind) << where;
    EXPECT_EQ(Group_Moved, r.moved) << where;
    EXPECT_EQ(Group_HasIcecube, r.has_icecube) << where;
    EXPECT_EQ(Group_HasLaser, r.has_laser) << where;
}

// `stride`: searches start from every stride-th cell (the reference is slow on big groups);
// `hints`: the board's hint and stuck check are compared too.
struct BoardShape {
    int w, h, kinds, boards, stride;
    bool hints;
};

const BoardShape kShapes[] = {
    {6, 6, 2, 60, 1, true},  {9, 11, 3, 40, 1, true}, {17, 13, 4, 20, 1, true},
    {23, 19, 2, 8, 1, true}, {48, 48, 3, 2, 1, true}, {48, 48, 1, 1, 97, false},
};

TEST(GroupSearch, SameGroupsInTheSameOrderAsTheReference) {
    std::mt19937 rng(20240611);
    for (const BoardShape& s : kShapes) {
        for (int b = 0; b < s.boards; ++b) {
            Build_RandomBoard(rng, s.w, s.h, s.kinds);
            for (int c = 0; c < s.w * s.h; c += s.stride)
                for (int mode = 0; mode < 4; ++mode) {
                    const int x = c % s.w, y = c / s.w, moved = mode & 1, test = mode >> 1;
                    reference::FindGroup(x, y, moved, test);
                    Table_FindGroup(x, y, moved, test);
                    Expect_SameState(std::to_string(s.w) + "x" + std::to_string(s.h) + " board " +
                                     std::to_string(b) + " at " + std::to_string(x) + "," +
                                     std::to_string(y) + " moved " + std::to_string(moved) +
                                     " test " + std::to_string(test));
                    if (HasFatalFailure()) return;
                }
        }
    }
}

TEST(GroupSearch, HintsAndStuckChecksAgreeWithTheReference) {
    std::mt19937 rng(77);
    std::uniform_int_distribution<int> need(3, 4);
    for (const BoardShape& s : kShapes) {
        for (int b = 0; b < s.boards && s.hints; ++b) {
            Build_RandomBoard(rng, s.w, s.h, s.kinds);
            const std::string where =
                std::to_string(s.w) + "x" + std::to_string(s.h) + " board " + std::to_string(b);
            std::uniform_int_distribution<int> px(-200, s.w * Cell_Width + 200);
            std::uniform_int_distribution<int> py(-200, s.h * Cell_Height + 200);
            const int mx = px(rng), my = py(rng), n = need(rng);

            const reference::HintResult expected = reference::Hint(mx, my, n);
            Hint_Timer = 0;
            Table_Hint(mx, my, n);
            ASSERT_EQ(Hint_BestDist, expected.best) << where;
            for (int i = 0; i < 4 && expected.best != -1; ++i)
                EXPECT_EQ(Hint_Move[i], expected.move[i]) << where;
            Expect_SameState(where + " after the hint");

            // The stuck-board step looks only at a still board, and reads the group count the
            // last move test left behind.
            for (Piece* p : Pieces)
                if (p) p->falling = 0, p->swap_state = 0;
            const bool exists = reference::MovesExist(n);
            Hint_Need = n;
            FrameCounter = 0;
            Group_Count = 0;
            const std::vector<std::string> before = Board_Text();
            Table_Unstick();
            Expect_SameState(where + " after the stuck-board check");
            if (exists) {
                EXPECT_EQ(Board_Text(), before) << where; // a board with a move is left alone
            }
        }
    }
}

} // namespace
