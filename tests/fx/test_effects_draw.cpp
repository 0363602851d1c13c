// Every effect drawn with the generated pictures on the headless display: each kind must put
// something on the screen (a wrong frame or a lost picture draws nothing and fails here).
#include "engine/frame.h"
#include "engine/gfx.h"
#include "engine/system.h"
#include "fx/effects.h"
#include "fx/trig.h"
#include "tests/fx/headless_display.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace {

Image* Picture(const std::string& name, int w = 0, int h = 0, int frames = 0, int flags = 0) {
    const std::string path = std::string(SNOW_ASSETS_DIR) + "/images/" + name;
    Image* img = frames > 0 ? LoadAnimImage(path, w, h, 0, frames, flags) : LoadImage(path, flags);
    if (img) MidHandleImage(img);
    return img;
}

class EffectsDrawn : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        opened = OpenHeadlessDisplay();
        if (!opened) return;
        Gfx_Pictures& p = GfxPics;
        for (int i : {1, 2, 3, 4, 5, 7})
            p.spark[i] = Picture("spark" + std::to_string(i) + ".png", 0, 0, 0, IMG_DEFAULT);
        p.spark[6] = Picture("spark6.png", 20, 20, 32, 4);
        p.spark[8] = Picture("spark8.png", 8, 8, 32, 2);
        p.spark[9] = Picture("spark9.png", 16, 16, 32, 2);
        p.spark_snowball = Picture("spark_snowball.png");
        p.tile_part = Picture("tile_part1.png", 24, 24, 20, 4);
        p.chain_link = Picture("maillon_28x20_15.png", 28, 20, 15, 4);
        p.combo_effect = Picture("combo_effect1.png", 128, 128, 32, IMG_DEFAULT);
        p.tile_empty = Picture("tile_empty.png");
        p.you_win = Picture("interface/youwin.png", 0, 0, 0, 2);
        for (int i = 0; i < 3; ++i)
            p.snow_flake[i] = Picture("Snow_Flake" + std::to_string(i + 1) + ".png");
    }
    static void TearDownTestSuite() { Graphics_Close(); }
    void SetUp() override {
        if (!opened) GTEST_SKIP() << "no headless display";
        Trig_Init();
        Gfx_Init();
        SeedRnd(3);
        DeltaMs = 20.0f;
        DeltaSec = 0.02f;
        InstFps = 50;
        GfxBoard = Gfx_Board{};
        GfxBoard.origin_x = 100;
        GfxBoard.origin_y = 50;
        GfxBoard.pixel_width = 480;
        GfxBoard.pixel_height = 480;
    }
    // Lit pixels after some frames with every delay cut short.
    static int LitPixels(int frames) {
        for (Gfx_Obj& o : GfxEffects)
            o.delay_start = o.name == Gfx_HammerSpark ? 1 : 0;
        SetViewport(0, 0, 800, 600);
        for (int f = 0; f < frames; ++f) {
            SetClsColor(0, 0, 0);
            Cls();
            Gfx_Update();
            Gfx_DrawLayer(-10);
            Gfx_DrawLayer(10);
            Gfx_DrawLayer(20);
        }
        std::vector<std::uint8_t> rgba;
        int w = 0, h = 0;
        if (!Graphics_ReadPixels(rgba, &w, &h)) return -1;
        int lit = 0;
        for (size_t i = 0; i + 3 < rgba.size(); i += 4)
            lit += rgba[i] + rgba[i + 1] + rgba[i + 2] > 30;
        return lit;
    }
    static bool opened;
};
bool EffectsDrawn::opened = false;

TEST_F(EffectsDrawn, EveryKindShows) {
    ASSERT_NE(GfxPics.spark[9], nullptr) << "generated pictures missing";
    Image* tiles[3] = {GfxPics.tile_part, GfxPics.tile_part, GfxPics.tile_part};
    struct Case {
        const char* name;
        std::function<void()> make;
        int frames = 3; // the kinds that fade in need longer
    } cases[] = {
        {"laser", [] { Gfx_LaserLines(200, 200); }},
        {"explosion", [] { Gfx_Explosion(300, 300, 0.1f); }},
        {"spark ring", [] { Gfx_SparkRing(400, 300, 0.12f); }},
        {"ice sparkle", [] { Gfx_IceSparkle(200, 200, 0.8f); }},
        {"hint", [] { Gfx_HintSparkles(200, 200, 1, 0); }},
        {"rebuild", [] { Gfx_Rebuild(200, 200, 0.1f); }},
        {"firework", [] { Gfx_Firework(); }},
        {"score sparkle", [&] { Gfx_ScoreSparkle(tiles); }, 40},
        {"tiles fly away",
         [] {
             Gfx_TilesFlyAway({{1, 1}, {2, 2}}, 1.0f);
         }},
        {"you win", [] { Gfx_YouWin(); }, 30},
        {"ice break", [] { Gfx_IceBreak(300, 300); }},
        {"snow break", [] { Gfx_SnowBreak(300, 300); }},
        {"piece vanish", [] { Gfx_PieceVanish(300, 300); }},
        {"snow puffs", [] { Gfx_SnowPuffs(100, 300, 400, 8, 20); }},
        {"hammer sparks",
         [] {
             Gfx_HammerSparks(1.0f, 3, {{300, 300}}, 4, {700, 80});
         }},
        {"chain break", [] { Gfx_ChainBreak(300, 300); }},
        {"snowball trail", [] { Gfx_SnowballTrail(300, 300, 0.1f); }},
        {"special sparkle", [] { Gfx_SpecialSparkle(300, 300, 0.1f); }},
    };
    for (const Case& c : cases) {
        Gfx_Clear();
        c.make();
        EXPECT_GT(LitPixels(c.frames), 10) << c.name;
    }
    Gfx_Clear();
}

} // namespace
