// Scenery, board-cell and spark pictures as the game draws them: contour pieces cover the sides
// that border the playing field and leave the void side open, light sprites fade out before
// their frame border (an additive sprite that does not shows as a glowing box), board cells cover
// their whole cell, and landscapes let the sky through above the skyline.
#include "engine/gfx.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

struct Pixels {
    int w = 0, h = 0;
    std::vector<std::uint8_t> alpha;
    int At(int x, int y) const { return alpha[static_cast<size_t>(y) * w + x]; }
};

// The alpha channel of a whole picture, read through the engine's own loader.
Pixels AlphaOf(const std::string& name) {
    Pixels out;
    Image* im = LoadImage(std::string(SNOW_ASSETS_DIR) + "/" + name, IMG_DYNAMIC);
    if (!im) {
        ADD_FAILURE() << name << " is missing or does not decode";
        return out;
    }
    LockedPixels px;
    if (!LockImage(im, 0, true, false, &px) || px.format != PF_RGBA8888) {
        ADD_FAILURE() << name << " has no alpha channel";
        return out;
    }
    out.w = px.width, out.h = px.height;
    for (int y = 0; y < px.height; ++y)
        for (int x = 0; x < px.width; ++x)
            out.alpha.push_back(px.data[y * px.pitch + x * 4 + 3]);
    UnlockImage(im, 0);
    return out;
}

struct Spot {
    int x, y;
};

// Unturned, a corner piece borders the field on its right and bottom sides, a U piece on its
// left, bottom and right sides, and the cross on all four; the game turns them clockwise.
TEST(ContourPieces, CoverTheFieldSideAndLeaveTheVoidOpen) {
    struct Case {
        const char* shape;
        std::vector<Spot> covered, open;
    };
    const Case cases[] = {
        {"corner",
         {{47, 24}, {24, 47}, {47, 47}, {47, 16}, {16, 47}},
         {{1, 1}, {20, 20}, {40, 5}, {5, 40}}},
        {"U",
         {{1, 40}, {24, 46}, {46, 40}, {2, 47}, {46, 47}},
         {{24, 1}, {24, 18}, {10, 4}, {38, 4}}},
        {"Cross",
         {{1, 1}, {46, 1}, {1, 46}, {46, 46}},
         {{24, 24}, {24, 4}, {4, 24}, {44, 24}, {24, 44}}},
    };
    for (const Case& c : cases) {
        std::vector<std::string> names;
        for (const char* look : {"", "_dark"}) {
            if (std::string(c.shape) == "Cross") {
                names.push_back(std::string("images/ContTile_Cross") + look + ".png");
                continue;
            }
            for (const char* variant : {"1", "2"})
                names.push_back(std::string("images/ContTile_") + c.shape + variant + look +
                                ".png");
        }
        for (const std::string& name : names) {
            SCOPED_TRACE(name);
            Pixels p = AlphaOf(name);
            if (p.w != 48 || p.h != 48) {
                ADD_FAILURE() << "not 48 x 48";
                continue;
            }
            for (Spot s : c.covered)
                EXPECT_GT(p.At(s.x, s.y), 180) << s.x << ", " << s.y;
            for (Spot s : c.open)
                EXPECT_EQ(p.At(s.x, s.y), 0) << s.x << ", " << s.y;
        }
    }
}

TEST(BoardCells, CoverTheirWholeCellAndTheFrameLeavesItVisible) {
    for (const char* name : {"images/tile_empty.png", "images/tile1.png", "images/tile2.png"}) {
        SCOPED_TRACE(name);
        Pixels p = AlphaOf(name);
        int thin = 0;
        for (std::uint8_t a : p.alpha)
            thin += a < 128;
        EXPECT_EQ(thin, 0) << "the landscape would show through holes in the board";
    }
    Pixels frame = AlphaOf("images/tile_selected.png");
    ASSERT_EQ(frame.w, 48);
    EXPECT_LT(frame.At(24, 24), 80) << "the selection frame hides the cell it marks";
    EXPECT_GT(frame.At(3, 24), 180) << "the selection frame has no visible rim";
}

// Every frame of a light sprite is dark along its border and lit somewhere inside.
TEST(LightSprites, FadeOutBeforeTheirFrameBorder) {
    struct Case {
        const char* name;
        int cell, count;
        bool may_be_empty; // the combo ring fades to nothing in its last frames
    };
    const Case cases[] = {
        {"images/spark1.png", 32, 1, false},
        {"images/spark2.png", 32, 1, false},
        {"images/spark3.png", 32, 1, false},
        {"images/spark4.png", 16, 1, false},
        {"images/spark5.png", 24, 1, false},
        {"images/spark7.png", 16, 1, false},
        {"images/spark_snowball.png", 24, 1, false},
        {"images/spark6.png", 20, 32, false},
        {"images/spark8.png", 8, 32, false},
        {"images/spark9.png", 16, 32, false},
        {"images/tile_part1.png", 24, 20, false},
        {"images/combo_effect1.png", 128, 32, true},
        {"images/Sky_Star1.png", 32, 1, false},
        {"images/Sky_Star2.png", 32, 1, false},
        {"images/Sky_Star3.png", 48, 1, false},
        {"images/Snow_Flake1.png", 32, 1, false},
        {"images/Snow_Flake2.png", 32, 1, false},
        {"images/Snow_Flake3.png", 32, 1, false},
        {"images/hourglass/halo_hourglass_warning.png", 128, 1, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Pixels p = AlphaOf(c.name);
        if (p.w == 0) continue;
        int columns = p.w / c.cell;
        ASSERT_GT(columns, 0);
        for (int f = 0; f < c.count; ++f) {
            int ox = (f % columns) * c.cell, oy = (f / columns) * c.cell;
            int border = 0, peak = 0;
            for (int y = 0; y < c.cell; ++y)
                for (int x = 0; x < c.cell; ++x) {
                    int a = p.At(ox + x, oy + y);
                    peak = std::max(peak, a);
                    if (x == 0 || y == 0 || x == c.cell - 1 || y == c.cell - 1)
                        border = std::max(border, a);
                }
            EXPECT_LE(border, 8) << "frame " << f << " is cut off at its border";
            if (!c.may_be_empty) {
                EXPECT_GE(peak, 100) << "frame " << f << " is (nearly) empty";
            }
        }
    }
}

TEST(Landscapes, LetTheSkyThroughAndCoverTheBottom) {
    for (char k = 'A'; k <= 'F'; ++k) {
        std::string name = std::string("images/bckg") + k + "1.png";
        SCOPED_TRACE(name);
        Pixels p = AlphaOf(name);
        ASSERT_EQ(p.w, 800);
        ASSERT_EQ(p.h, 600);
        int sky_covered = 0, ground_open = 0;
        for (int y = 0; y < 150; ++y)
            for (int x = 0; x < 800; ++x)
                sky_covered += p.At(x, y) != 0;
        for (int y = 590; y < 600; ++y)
            for (int x = 0; x < 800; ++x)
                ground_open += p.At(x, y) != 255;
        EXPECT_EQ(sky_covered, 0) << "the landscape hides the top of the sky";
        EXPECT_EQ(ground_open, 0) << "the sky shows through the ground";
    }
}

} // namespace
