// Contour tiles of void cells, chosen from which neighbours are playable.
#include "board/contour.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

TEST(Contour, LookupAndCross) {
    struct Case {
        int mask, tile;
    };
    const Case cases[] = {
        {28, 0}, // playable right, down-right and down: an outer corner
        {7, 1},
        {193, 2},
        {112, 3},
        {124, 4},
        {31, 5},
        {199, 6},
        {241, 7},
        {85, 8},  // the four orthogonal neighbours only: the cross from the
                  // table
        {255, 8}, // all eight: not in the table, but all orthogonal neighbours are playable
        {0, -1},  // nothing around: no tile
        {21, -1}, // up, right and down: not in the table and left is void
    };
    for (const Case& c : cases)
        EXPECT_EQ(Contour_TileForMask(c.mask), c.tile) << c.mask;
    EXPECT_EQ(ContTile_Lookup[255], -1);
}

// A grid written as text: '.' void, '#' playable.
struct Grid {
    std::vector<std::string> rows;
    int dx() const { return static_cast<int>(rows[0].size()); }
    int dy() const { return static_cast<int>(rows.size()); }
    ContVoidTest VoidTest() const {
        return [this](int x, int y) { return rows[y][x] == '.'; };
    }
};

TEST(Contour, MaskCountsOnlyNeighboursInsideTheGrid) {
    Grid g{{".##", "###", "##."}};
    EXPECT_EQ(Contour_NeighbourMask(0, 0, g.dx(), g.dy(), g.VoidTest()), 28);
    EXPECT_EQ(Contour_NeighbourMask(2, 2, g.dx(), g.dy(), g.VoidTest()), 193);
}

TEST(Contour, ComputeDrawsAVariantOnlyForTableTiles) {
    Grid g{{"###", "#.#", "###", ".#."}};
    int draws = 0;
    auto rand = [&](int lo, int hi) {
        ++draws;
        EXPECT_EQ(lo, 1);
        return hi;
    };
    ContourResult centre = Contour_Compute(1, 1, g.dx(), g.dy(), g.VoidTest(), rand);
    EXPECT_EQ(centre.tile, ContTile_Cross);
    EXPECT_EQ(centre.variant, 0);
    EXPECT_EQ(draws, 0);
    ContourResult corner = Contour_Compute(0, 3, g.dx(), g.dy(), g.VoidTest(), rand);
    EXPECT_EQ(corner.tile, 1); // up, up-right and right playable (mask 7): a turned corner
    EXPECT_EQ(corner.variant, 1);
    EXPECT_EQ(draws, 1);
}

} // namespace
