// Reading the gem tileset description and finding a kind's tile.
#include "data/tileset.h"

#include <gtest/gtest.h>

namespace {

const char* const kDescription = ";\r\n"
                                 "; tileset+color= dx, dy, images count, anim speed (millisecs)\r\n"
                                 ";\r\n\r\n"
                                 "Gem0=35,35,64,12\r\nGem1=53,40,64,12\r\nGem2=48,48,64,12\r\n"
                                 "Gem3=48,48,64,12\r\nGem4=68,48,64,14\r\nGem5=48,48,64,14\r\n"
                                 "Gem6=57,45,64,20\r\n\r\n"
                                 "ShadowGem0=63,45,1,15\r\nShadowGem1=50,47,40,15\r\n\r\n\r\n";

TEST(Tileset, ReadsEveryGemLine) {
    struct {
        int i, dx, dy, count, period;
    } cases[] = {{0, 35, 35, 64, 83}, {4, 68, 48, 64, 71}, {6, 57, 45, 64, 50}};
    for (auto c : cases) {
        Tile t;
        std::string error;
        ASSERT_TRUE(ParseTileLine(kDescription, "Gem", c.i, t, &error)) << error;
        EXPECT_EQ(t.img_dx, c.dx);
        EXPECT_EQ(t.img_dy, c.dy);
        EXPECT_EQ(t.img_count, c.count);
        EXPECT_EQ(t.anim_period, c.period);
    }
    // "Gem0=" also occurs inside "ShadowGem0="; the gem's own line comes first.
    Tile shadow;
    ASSERT_TRUE(ParseTileLine(kDescription, "ShadowGem", 0, shadow));
    EXPECT_EQ(shadow.img_dx, 63);
}

TEST(Tileset, MissingOrBrokenLinesAreReported) {
    struct {
        const char* text;
        const char* message;
    } cases[] = {
        {"Gem0=35,35,64,12\r\n", "cant find Gem3= in tiles.txt"},
        {"Gem3=48,48,64\r\nGem4=1,2,3,4\r\n", "bad line for Gem3="},
        {"Gem3=48,x,64,12\r\n", "bad number"},
        {"Gem3=48,48,64,0\r\n", "speed above 0"},
    };
    for (auto c : cases) {
        Tile t;
        t.img_dx = 7;
        std::string error;
        EXPECT_FALSE(ParseTileLine(c.text, "Gem", 3, t, &error)) << c.text;
        EXPECT_NE(error.find(c.message), std::string::npos) << error;
        EXPECT_EQ(t.img_dx, 7); // a rejected line leaves the tile as it was
    }
}

TEST(Tileset, KindsBeyondTheSetWrapAround) {
    Tilesets_Count = 1;
    Tileset_Crt = 0;
    Tileset& set = Tilesets[0];
    set.tiles_count = 7;
    for (int i = 0; i < 7; ++i)
        set.tiles[i].img_dx = 100 + i;
    EXPECT_EQ(TileOfKind(1).img_dx, 100);
    EXPECT_EQ(TileOfKind(7).img_dx, 106);
    EXPECT_EQ(TileOfKind(9).img_dx, 101); // index 8 wraps to the tile of kind 2
    EXPECT_EQ(TileOfKind(15).img_dx, 100);
}

} // namespace
