// The effect list: delays, layers, counts, each kind's life and removal, the laser band.
#include "engine/frame.h"
#include "engine/gfx.h"
#include "engine/system.h"
#include "fx/effects.h"
#include "fx/trig.h"

#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace {

class Effects : public ::testing::Test {
  protected:
    void SetUp() override {
        Trig_Init();
        GfxPics = Gfx_Pictures{};
        GfxBoard = Gfx_Board{};
        Gfx_Init();
        SeedRnd(7);
        DeltaMs = 20.0f;
        DeltaSec = 0.02f;
        InstFps = 50;
        LowFpsMode = 0;
        SetViewport(0, 0, 800, 600);
    }
    void TearDown() override { Gfx_Clear(); }

    // One frame of a screen with effects: the update, then the three drawing passes.
    static void Frame() {
        Gfx_Update();
        Gfx_DrawLayer(-10);
        Gfx_DrawLayer(10);
        Gfx_DrawLayer(20);
    }
    static int RunUntilEmpty(int max_frames) {
        for (int f = 1; f <= max_frames; ++f) {
            Frame();
            if (GfxEffects.empty()) return f;
        }
        return -1;
    }
    // A glitter sprite: it fades only while it is drawn, so its alpha tells when it was drawn.
    static Gfx_Obj Glitter(int z, int delay) {
        Gfx_Obj o;
        o.name = Gfx_Glitter;
        o.alpha = 1.0f;
        o.Fadeout = 32.0f;
        o.z_order = z;
        o.delay_start = delay;
        return o;
    }
};

TEST_F(Effects, DelayedSpriteIsFirstDrawnInTheThirdFrame) {
    GfxEffects.push_back(Glitter(-10, 100));
    const int expected_delay[] = {60, 20, 0};
    for (int frame = 1; frame <= 3; ++frame) {
        Frame();
        EXPECT_EQ(GfxEffects[0].delay_start, expected_delay[frame - 1]) << "frame " << frame;
        EXPECT_EQ(GfxEffects[0].alpha < 1.0f, frame == 3) << "frame " << frame;
    }
}

TEST_F(Effects, DelayedSpriteIsNotMoved) {
    Gfx_Obj o;
    o.name = Gfx_Burst;
    o.xr = o.yr = 100.0f;
    o.spd_x = 1.0f;
    o.move_speed = 100.0f;
    o.alpha = 1.0f;
    o.z_order = 10;
    o.delay_start = 50;
    GfxEffects.push_back(o);
    Gfx_Update();
    EXPECT_EQ(GfxEffects[0].xr, 100.0f);
    Gfx_Update();
    Gfx_Update();
    Gfx_Update(); // the delay has run out on the third update; this one moves it
    EXPECT_GT(GfxEffects[0].xr, 100.0f);
}

TEST_F(Effects, OnlyTheThreeLayersAreEverDrawn) {
    for (int z : {-10, 10, 20, 0, 5, -20, 30})
        GfxEffects.push_back(Glitter(z, 0));
    for (int f = 0; f < 400; ++f)
        Frame();
    ASSERT_EQ(GfxEffects.size(), 4u) << "the three drawn layers fade out, the others stay";
    for (const Gfx_Obj& o : GfxEffects) {
        EXPECT_EQ(o.alpha, 1.0f) << "z " << o.z_order;
        EXPECT_TRUE(o.z_order != -10 && o.z_order != 10 && o.z_order != 20);
    }
}

TEST_F(Effects, PassRestoresTheAlphaItFound) {
    Gfx_Explosion(100, 100, 0.2f);
    SetAlpha(0.3f);
    for (int f = 0; f < 5; ++f) {
        Gfx_Update();
        for (int z : {-10, 10, 20}) {
            Gfx_DrawLayer(z);
            EXPECT_FLOAT_EQ(GetAlpha(), 0.3f);
            EXPECT_EQ(GetBlend(), BLEND_ALPHA);
        }
    }
    SetAlpha(1.0f);
}

TEST_F(Effects, DensityGivesAtLeastOneSprite) {
    struct Case {
        float density;
        int fps, expected;
    } cases[] = {{0.0f, 50, 1},    {0.1f, 50, 5},  {0.1f, 60, 6},
                 {0.0005f, 60, 1}, {0.2f, 60, 12}, {0.1f, 0, 1}};
    for (const Case& c : cases) {
        InstFps = c.fps;
        EXPECT_EQ(Gfx_DensityCount(c.density), c.expected) << c.density << " at " << c.fps;
        Gfx_Clear();
        Gfx_Explosion(100, 100, c.density);
        EXPECT_EQ(Gfx_LiveCount(Gfx_Spark), c.expected);
    }
}

TEST_F(Effects, ChainLinksStayOpaqueForOneAndAQuarterSeconds) {
    Gfx_ChainBreak(400, 300);
    ASSERT_EQ(Gfx_LiveCount(Gfx_ChainLink), 20);
    for (int f = 1; f <= 62; ++f)
        Frame(); // 1.24 s
    ASSERT_EQ(Gfx_LiveCount(Gfx_ChainLink), 20);
    for (const Gfx_Obj& o : GfxEffects)
        EXPECT_EQ(Gfx_Opacity(o), 1.0f);
    Frame(); // 1.26 s
    for (const Gfx_Obj& o : GfxEffects)
        EXPECT_LT(Gfx_Opacity(o), 1.0f);
}

TEST_F(Effects, LaserBandWidthProfile) {
    struct Case {
        float width;
        int core, lowest, highest; // core lines; the band's outermost offsets with its edges
    } cases[] = {
        {0.1f, 1, -2, 3}, {1.0f, 1, -3, 3},  {4.0f, 4, -4, 5},  {7.9f, 7, -6, 6},  {8.0f, 8, -6, 7},
        {8.5f, 7, -6, 6}, {12.0f, 4, -4, 5}, {15.5f, 1, -2, 3}, {16.0f, 1, -2, 3},
    };
    for (const Case& c : cases) {
        const std::vector<Gfx_BandLine> band = Gfx_LaserBand(c.width);
        int core = 0, lowest = 0, highest = 0;
        for (const Gfx_BandLine& l : band) {
            core += l.alpha == 1.0f;
            lowest = std::min(lowest, l.offset);
            highest = std::max(highest, l.offset);
        }
        EXPECT_EQ(core, c.core) << "width " << c.width;
        EXPECT_EQ(band.size(), static_cast<size_t>(c.core + 6)) << "width " << c.width;
        EXPECT_EQ(lowest, c.lowest) << "width " << c.width;
        EXPECT_EQ(highest, c.highest) << "width " << c.width;
    }
}

TEST_F(Effects, LaserGrowsToItsWidestThenNarrowsAndFades) {
    Gfx_LaserLines(100, 100);
    int widest = 0, frames = 0;
    float last_width = 0.0f;
    while (!GfxEffects.empty() && frames < 1000) {
        Frame();
        ++frames;
        if (GfxEffects.empty()) break;
        const Gfx_Obj& o = GfxEffects[0];
        EXPECT_GE(o.width, last_width);
        EXPECT_LE(o.width, 16.0f);
        if (o.width <= 8.0f) {
            EXPECT_EQ(o.alpha, 0.75f) << "no fading while it widens";
        }
        last_width = o.width;
        int core = 0;
        for (const Gfx_BandLine& l : Gfx_LaserBand(o.width))
            core += l.alpha == 1.0f;
        widest = std::max(widest, core);
    }
    // At 20 ms a frame the width steps from 7.9 to 8.2, so the widest band drawn has 7 core
    // lines; the 8-line band needs a width of exactly 8 (see the profile above).
    EXPECT_EQ(widest, 7);
    EXPECT_EQ(last_width, 16.0f);
    EXPECT_TRUE(GfxEffects.empty()) << "after " << frames << " frames";
}

// What each creator makes at 50 frames a second, and that all of it goes in the end.
TEST_F(Effects, EveryKindEndsAndLeavesTheList) {
    GfxBoard.origin_x = 100;
    GfxBoard.origin_y = 50;
    Image* no_tiles[3] = {};
    const std::vector<Gfx_Point> cells = {{0, 0}, {3, 2}, {20, 0}};
    const std::vector<Gfx_Point> group = {{200, 200}, {248, 200}, {296, 200}};
    struct Case {
        const char* name;
        std::function<void()> make;
        int kind, count; // count of that kind made, -1 random
    } cases[] = {
        {"laser", [] { Gfx_LaserLines(100, 100); }, Gfx_Laser, 1},
        {"explosion", [] { Gfx_Explosion(300, 300, 0.1f); }, Gfx_Spark, 5},
        {"spark ring", [] { Gfx_SparkRing(400, 300, 0.12f); }, Gfx_Spark, 6},
        {"ice sparkle", [] { Gfx_IceSparkle(200, 200, 0.8f); }, Gfx_CellOutline, 48},
        {"hint", [] { Gfx_HintSparkles(200, 200, 0, 1); }, Gfx_Glitter, 17},
        {"rebuild", [] { Gfx_Rebuild(200, 200, 0.1f); }, Gfx_Dust, 5},
        {"firework", [] { Gfx_Firework(); }, Gfx_FireworkSpark, 26},
        {"score sparkle", [&] { Gfx_ScoreSparkle(no_tiles); }, Gfx_PieceFirework, 26},
        {"tiles fly away", [&] { Gfx_TilesFlyAway(cells, 0.9f); }, Gfx_FlyingTile, 2},
        {"you win", [] { Gfx_YouWin(); }, Gfx_Victory, 3},
        {"ice break", [] { Gfx_IceBreak(300, 300); }, Gfx_IceShard, 5},
        {"ice break sparks", [] { Gfx_IceBreak(300, 300); }, Gfx_ShardSpark, 25},
        {"snow break", [] { Gfx_SnowBreak(300, 300); }, Gfx_Burst, 10},
        {"piece vanish", [] { Gfx_PieceVanish(300, 300); }, Gfx_Burst, 50},
        {"snow puffs", [] { Gfx_SnowPuffs(0, 300, 800, 8, 20); }, Gfx_Burst, -1},
        {"hammer sparks",
         [&] {
             Gfx_HammerSparks(1.0f, 2, group, 3, Gfx_Point{700, 80});
         },
         Gfx_HammerSpark, 9},
        {"chain break", [] { Gfx_ChainBreak(300, 300); }, Gfx_ChainLink, 20},
        {"snowball trail", [] { Gfx_SnowballTrail(300, 300, 0.0005f); }, Gfx_SnowballSpark, 1},
        {"special sparkle", [] { Gfx_SpecialSparkle(300, 300, 0.2f); }, Gfx_ComboRing, 10},
    };
    for (const Case& c : cases) {
        Gfx_Clear();
        c.make();
        if (c.count >= 0) {
            EXPECT_EQ(Gfx_LiveCount(c.kind), c.count) << c.name;
        } else {
            EXPECT_GT(Gfx_LiveCount(c.kind), 0) << c.name;
        }
        Frame();
        EXPECT_GT(Gfx_LiveTotal(), 0) << c.name << " lives beyond its first frame";
        EXPECT_GT(RunUntilEmpty(1500), 0) << c.name << " still has sprites after 30 s";
    }
}

TEST_F(Effects, CountsFollowTheFrameRate) {
    struct Case {
        const char* name;
        std::function<void()> make;
        int kind, fps, low_fps_mode, count;
    } cases[] = {
        {"vanish slow", [] { Gfx_PieceVanish(0, 0); }, Gfx_Burst, 30, 0, 50},
        {"vanish fast", [] { Gfx_PieceVanish(0, 0); }, Gfx_Burst, 120, 0, 120},
        {"shard sparks capped", [] { Gfx_IceBreak(0, 0); }, Gfx_ShardSpark, 200, 0, 50},
        {"links at least 20", [] { Gfx_ChainBreak(0, 0); }, Gfx_ChainLink, 30, 0, 20},
        {"links fast", [] { Gfx_ChainBreak(0, 0); }, Gfx_ChainLink, 100, 0, 30},
        {"you win capped", [] { Gfx_YouWin(); }, Gfx_Victory, 100, 0, 3},
        {"you win slow", [] { Gfx_YouWin(); }, Gfx_Victory, 10, 0, 1},
        {"score sparkle capped", [] { Gfx_ScoreSparkle(nullptr); }, Gfx_PieceFirework, 100, 0, 41},
        {"score sparkle low", [] { Gfx_ScoreSparkle(nullptr); }, Gfx_PieceFirework, 50, 1, 18},
        {"score sparkle very low", [] { Gfx_ScoreSparkle(nullptr); }, Gfx_PieceFirework, 50, 2, 8},
        {"puffs doubled", [] { Gfx_SnowPuffs(0, 0, 100, 10, 10); }, Gfx_Burst, 60, 0, 20},
        {"puffs single", [] { Gfx_SnowPuffs(0, 0, 100, 10, 10); }, Gfx_Burst, 50, 0, 10},
    };
    for (const Case& c : cases) {
        Gfx_Clear();
        InstFps = c.fps;
        LowFpsMode = c.low_fps_mode;
        c.make();
        EXPECT_EQ(Gfx_LiveCount(c.kind), c.count) << c.name;
    }
}

TEST_F(Effects, TrailsStopAtLowFrameRates) {
    struct Case {
        int fps;
        bool trails;
    } cases[] = {{20, false}, {21, true}, {60, true}};
    for (const Case& c : cases) {
        Gfx_Clear();
        InstFps = c.fps;
        Gfx_Explosion(300, 300, 0.2f);
        Gfx_Rebuild(300, 300, 0.2f);
        for (int f = 0; f < 20; ++f)
            Frame();
        EXPECT_EQ(Gfx_LiveCount(Gfx_TrailSpark) > 0, c.trails) << c.fps;
        EXPECT_EQ(Gfx_LiveCount(Gfx_DustTrail) > 0, c.trails) << c.fps;
    }
}

TEST_F(Effects, TrailsJoinTheListAfterTheirParents) {
    Gfx_Explosion(300, 300, 0.0f);
    GfxEffects[0].delay_start = 0;
    GfxEffects[0].z_order = 10;
    Gfx_DrawLayer(10);
    ASSERT_EQ(GfxEffects.size(), 2u);
    EXPECT_EQ(GfxEffects[0].name, Gfx_Spark);
    EXPECT_EQ(GfxEffects[1].name, Gfx_TrailSpark);
}

TEST_F(Effects, ShardsGoWhenTheyLeaveTheScene) {
    GfxBoard.scene_width = 400;
    GfxBoard.scene_height = 300;
    Gfx_IceBreak(395, 150); // half of them fly out to the right at once
    const int made = Gfx_LiveTotal();
    for (int f = 0; f < 10; ++f)
        Frame();
    EXPECT_LT(Gfx_LiveTotal(), made);
    for (const Gfx_Obj& o : GfxEffects)
        EXPECT_TRUE(o.x >= 0 && o.x <= 400 && o.y >= 0 && o.y <= 300);
}

TEST_F(Effects, HammerSparksFadeTowardsTheBoxAndStopThere) {
    const Gfx_Point box{600, 100};
    Gfx_HammerSparks(1.5f, 0, {{200, 400}}, 5, box);
    ASSERT_EQ(Gfx_LiveCount(Gfx_HammerSpark), 1);
    const Gfx_Obj first = GfxEffects[0];
    EXPECT_EQ(first.z_order, 20);
    EXPECT_EQ(first.Red, std::clamp(first.Red, 0.0f, 100.0f)) << "green group: little red";
    float nearest = 1e9f;
    while (!GfxEffects.empty()) {
        const Gfx_Obj& o = GfxEffects[0];
        const float d = std::abs(box.x - o.x) + std::abs(box.y - o.y);
        if (o.delay_start < 1 && o.move_speed == 600.0f) {
            EXPECT_LE(d, nearest + 1.0f) << "flies towards the box";
            nearest = std::min(nearest, d);
        }
        Frame();
    }
    EXPECT_LT(nearest, 30.0f);
}

TEST_F(Effects, FlyingTilesSkipCellsOutsideTheViewAndRise) {
    GfxBoard.origin_x = 100;
    GfxBoard.origin_y = 50;
    Gfx_TilesFlyAway({{0, 0}, {30, 0}, {0, 30}}, 0.5f);
    ASSERT_EQ(GfxEffects.size(), 1u);
    Gfx_Obj& o = GfxEffects[0];
    EXPECT_EQ(o.x, 100);
    EXPECT_EQ(o.y, 50);
    EXPECT_EQ(o.alpha, 0.5f);
    o.delay_start = 0;
    for (int f = 0; f < 10; ++f)
        Gfx_Update();
    EXPECT_LT(GfxEffects[0].y, 50);
}

// On a board larger than its area the view scrolls: glitter, outline and trail sparks take board
// space and are drawn less the view offset; the others take screen positions as they are.
TEST_F(Effects, ScrolledBoardPlacesEachKindOnScreen) {
    GfxBoard.view_x = 30;
    GfxBoard.view_y = 10;
    Gfx_HintSparkles(100, 100, 1, 0);
    EXPECT_EQ(GfxEffects[0].x, 70);
    EXPECT_EQ(GfxEffects[0].y, 90);
    Gfx_Clear();
    Gfx_IceSparkle(100, 100, 0.5f);
    EXPECT_EQ(GfxEffects[0].x, 71);
    Gfx_Clear();
    Gfx_PieceVanish(100, 100);
    EXPECT_EQ(GfxEffects[0].x, 100);
    Gfx_Clear();
    Gfx_Explosion(100, 100, 0.0f);
    GfxEffects[0].delay_start = 0;
    GfxEffects[0].z_order = 10;
    const int spark_x = GfxEffects[0].x, spark_y = GfxEffects[0].y;
    Gfx_DrawLayer(10);
    ASSERT_EQ(GfxEffects.size(), 2u);
    EXPECT_EQ(GfxEffects[1].name, Gfx_TrailSpark);
    EXPECT_EQ(GfxEffects[1].x, spark_x) << "the trail starts where its spark was drawn";
    EXPECT_EQ(GfxEffects[1].y, spark_y);
}

TEST_F(Effects, StateDumpCountsLiveSpritesPerKind) {
    EXPECT_EQ(Gfx_StateJson(), "\"Gfx_Live\": {}, \"Gfx_LiveTotal\": 0");
    Gfx_LaserLines(0, 0);
    Gfx_HintSparkles(0, 0, 1, 0);
    Gfx_LaserLines(0, 0);
    EXPECT_EQ(Gfx_StateJson(), "\"Gfx_Live\": {\"4\": 2, \"8\": 17}, \"Gfx_LiveTotal\": 19");
    Gfx_Clear();
    EXPECT_EQ(Gfx_LiveTotal(), 0);
}

TEST_F(Effects, SameSeedSameSprites) {
    auto run = [] {
        SeedRnd(99);
        Gfx_Clear();
        Gfx_IceBreak(300, 300);
        Gfx_Explosion(200, 200, 0.1f);
        for (int f = 0; f < 30; ++f)
            Frame();
        std::vector<int> xs;
        for (const Gfx_Obj& o : GfxEffects)
            xs.push_back(o.x * 1000 + o.y);
        return xs;
    };
    EXPECT_EQ(run(), run());
}

TEST(Trig, TablesHoldTheWholeDegrees) {
    Trig_Init();
    struct Case {
        int deg;
        float sin, cos;
    } cases[] = {{0, 0, 1},    {90, 1, 0},  {180, 0, -1},
                 {270, -1, 0}, {360, 0, 1}, {30, 0.5f, 0.8660254f}};
    for (const Case& c : cases) {
        EXPECT_NEAR(SinTable[c.deg], c.sin, 1e-6) << c.deg;
        EXPECT_NEAR(CosTable[c.deg], c.cos, 1e-6) << c.deg;
    }
    EXPECT_NEAR(Trig_Sin(-90), -1.0f, 1e-6);
    EXPECT_NEAR(Trig_Cos(540), -1.0f, 1e-6);
}

} // namespace
