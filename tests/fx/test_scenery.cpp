// The winter scene: landscape choice, the introduction's wipe and its skip keys, star fading,
// the cloud cycle, the snow periods and the brightness setting. Drawn on the headless display
// with the generated pictures.
#include "data/config.h"
#include "engine/frame.h"
#include "engine/gfx.h"
#include "engine/input.h"
#include "engine/system.h"
#include "fx/particles.h"
#include "fx/scenery.h"
#include "tests/engine/same_canvas.h"
#include "tests/fx/headless_display.h"

#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace {

std::string AssetPath(const std::string& name) {
    return std::string(SNOW_ASSETS_DIR) + "/images/" + name;
}

class Scenery : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        opened = OpenHeadlessDisplay();
        if (!opened) return;
        Scenery_Pictures& p = SceneryPics;
        for (int i = 0; i < 3; ++i) {
            const std::string n = std::to_string(i + 1);
            p.sky[i] = LoadImage(AssetPath("bckg_SkyA" + n + ".jpg"), 2);
            p.star[i] = LoadImage(AssetPath("Sky_Star" + n + ".png"));
            p.clouds[i] = LoadImage(AssetPath("bckg_CloudsA" + n + ".png"), 2);
        }
        const char* const landscapes[6] = {"A", "B", "C", "D", "E", "F"};
        for (int i = 0; i < 6; ++i)
            p.landscape_urls[i] = AssetPath(std::string("bckg") + landscapes[i] + "1.png");
        Particles_Init();
    }
    static void TearDownTestSuite() {
        if (opened) Graphics_Close();
    }
    void SetUp() override {
        if (!opened) GTEST_SKIP() << "no headless display";
        SeedRnd(3);
        DeltaMs = 20.0f;
        DeltaSec = 0.02f;
        Bg_Light = 1.0f;
        NewMusicPending = 0;
        CurPicture = CurSky = OldPicture = OldSky = 0;
        for (float& level : PictureLevel)
            level = 0.0f;
        MouseLeftPressed = MouseRightPressed = 0;
        FlushKeys();
        Particles_Reset();
        Scenery_Init();
        Clouds_Create(1.0f, 0.0f, 0.0f, 1.0f, 200.0f);
        Clouds_Start();
        SetViewport(0, 0, ScreenWidth, ScreenHeight);
    }
    void TearDown() override {
        FlushKeys();
        Graphics_SetDrawing(true);
    }

    // Sets up an introduction as the level flow does and lets its opening delay pass.
    static void StartIntroduction() {
        Picture_Choose(0);
        Clouds_Start();
        Stars_Create(100, 400, 100);
        Wipe_Start();
        ChangeoverDelay = 0.0f;
    }
    // Pixels brighter than a faint glow.
    static int LitPixels() {
        std::vector<std::uint8_t> rgba;
        int w = 0, h = 0;
        if (!Graphics_ReadPixels(rgba, &w, &h)) return -1;
        int lit = 0;
        for (size_t i = 0; i + 3 < rgba.size(); i += 4)
            lit += rgba[i] + rgba[i + 1] + rgba[i + 2] > 30;
        return lit;
    }
    static void ClearScreen() {
        SetClsColor(0, 0, 0);
        Cls();
    }
    static bool opened;
};
bool Scenery::opened = false;

TEST_F(Scenery, IntroductionsNeverShowTheSameLandscapeTwiceInARow) {
    std::set<int> landscapes, skies;
    int before = CurPicture;
    for (int intro = 0; intro < 300; ++intro) {
        NewMusicPending = intro % 3 == 0 ? 1 : 0; // after a choice in the level chooser, too
        Picture_Choose(0);
        ASSERT_NE(CurPicture, before) << "introduction " << intro;
        ASSERT_GE(CurPicture, 0);
        ASSERT_LT(CurPicture, Scenery_PictureCount);
        EXPECT_EQ(ChangeoverActive, 1);
        landscapes.insert(CurPicture);
        skies.insert(CurSky);
        before = CurPicture;
    }
    EXPECT_EQ(landscapes.size(), 6u);
    EXPECT_EQ(skies.size(), 3u); // the sky may repeat, but every one shows
}

TEST_F(Scenery, ChangeoverArming) {
    struct Case {
        int new_music, track_loaded;
        bool replaces_old; // an old landscape fades out behind the band
        float delay;
    } cases[] = {
        {0, 0, true, 0.5f},
        {0, 1, true, 1.0f},  // a track just decoded: the wipe waits longer
        {1, 0, false, 0.5f}, // after the chooser: nothing old to replace
        {1, 1, false, 1.0f},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "music " << c.new_music << " loaded " << c.track_loaded);
        CurPicture = 3;
        PictureLevel[3] = 1.0f;
        NewMusicPending = c.new_music;
        Picture_Choose(c.track_loaded);
        EXPECT_EQ(ChangeoverActive, 1);
        EXPECT_FLOAT_EQ(ChangeoverDelay, c.delay);
        EXPECT_EQ(PictureLevel[CurPicture], 0.0f);
        EXPECT_EQ(OldPicture != CurPicture, c.replaces_old);
        if (c.replaces_old) {
            EXPECT_EQ(OldPicture, 3);
            EXPECT_EQ(PictureLevel[OldPicture], 1.0f);
        }
    }
}

// Before the wipe the old scene stays on show, except after a choice in the level chooser,
// where the screen stays cleared.
TEST_F(Scenery, OpeningDelayShowsTheOldSceneOrNothing) {
    for (int new_music : {0, 1}) {
        NewMusicPending = new_music;
        Picture_Choose(0);
        Wipe_Start();
        ClearScreen();
        Scenery_Changeover();
        EXPECT_EQ(ChangeoverActive, 1);
        const int lit = LitPixels();
        if (new_music)
            EXPECT_EQ(lit, 0);
        else
            EXPECT_GT(lit, 100000) << "the old scene fills the display";
    }
}

TEST_F(Scenery, WipeOpensFromTheBottomAndEndsAtTheTop) {
    StartIntroduction();
    Graphics_SetDrawing(false); // the band's movement counts here, not its pixels
    const Moving_Rectangle& w = WipeRects[0];
    float last_top = w.Y1;
    int frames = 0;
    while (ChangeoverActive == 1 && frames < 1000) {
        ClearScreen();
        Scenery_Changeover();
        ++frames;
        ASSERT_LE(w.Y1, last_top);
        EXPECT_NEAR(w.Y1 + w.DY, static_cast<float>(ScreenHeight), 0.01f) << "frame " << frames;
        EXPECT_EQ(w.DX, static_cast<float>(ScreenWidth));
        last_top = w.Y1;
    }
    // 600 pixels at 150 a second in 20 ms frames.
    EXPECT_NEAR(frames, 200, 2);
    EXPECT_EQ(w.Y1, 0.0f);
    EXPECT_EQ(PictureLevel[CurPicture], 1.0f);
    EXPECT_LT(PictureLevel[OldPicture], 0.5f) << "the old landscape fades out behind the band";
}

TEST_F(Scenery, SkipKeysEndTheWipeAtOnce) {
    struct Case {
        const char* name;
        int key;    // 0: a mouse button instead
        int button; // MOUSE_LEFT or MOUSE_RIGHT with key 0
        bool ends;
    } cases[] = {
        {"Escape", VK_ESCAPE, 0, true},         {"Enter", VK_RETURN, 0, true},
        {"Space", VK_SPACE, 0, true},           {"left button", 0, MOUSE_LEFT, true},
        {"right button", 0, MOUSE_RIGHT, true}, {"A", 'A', 0, false},
        {"arrow", VK_LEFT, 0, false},           {"F1", VK_F1, 0, false},
    };
    Graphics_SetDrawing(false);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        StartIntroduction();
        for (int f = 0; f < 10; ++f)
            Scenery_Changeover();
        ASSERT_EQ(ChangeoverActive, 1);
        ASSERT_LT(PictureLevel[CurPicture], 0.1f);
        if (c.key) {
            Input_InjectKey(c.key, true);
            Input_InjectKey(c.key, false);
        } else {
            (c.button == MOUSE_LEFT ? MouseLeftPressed : MouseRightPressed) = 1;
        }
        Scenery_Changeover();
        MouseLeftPressed = MouseRightPressed = 0;
        FlushKeys();
        EXPECT_EQ(ChangeoverActive == 0, c.ends);
        EXPECT_EQ(PictureLevel[CurPicture] == 1.0f, c.ends);
        EXPECT_EQ(WipeRects[0].State, 1) << "the band itself was still moving";
    }
}

TEST_F(Scenery, StarsFadeTowardsTheHorizon) {
    Stars_Create(3000, 20, 10);
    ASSERT_EQ(Stars.size(), 3001u);
    std::set<int> rows;
    for (const Star_Obj& s : Stars) {
        ASSERT_GE(s.y, 1);
        ASSERT_LE(s.y, 20);
        ASSERT_GE(s.x, 1);
        ASSERT_LE(s.x, ScreenWidth);
        rows.insert(s.y);
        if (s.y <= 10) {
            EXPECT_EQ(s.Alpha, 1.0f) << "y " << s.y;
        } else if (s.y == 15) {
            EXPECT_FLOAT_EQ(s.Alpha, 0.5f);
        } else if (s.y == 20) {
            EXPECT_EQ(s.Alpha, 0.0f);
        }
        EXPECT_EQ(s.Light, static_cast<float>(s.Light_Start));
        EXPECT_LT(s.Light_Start, s.Light_End);
    }
    EXPECT_TRUE(rows.count(10) && rows.count(15) && rows.count(20));
    // With no fading band every star is fully shown.
    Stars_Create(200, 50, 50);
    for (const Star_Obj& s : Stars)
        EXPECT_EQ(s.Alpha, 1.0f);
}

TEST_F(Scenery, StarsTwinkleBetweenTheirEnds) {
    Stars_Create(50, 400, 100);
    Graphics_SetDrawing(false); // only the twinkle counts here
    for (int f = 0; f < 500; ++f)
        Stars_Draw();
    for (const Star_Obj& s : Stars) {
        const float step = s.Flash_Speed * DeltaSec;
        EXPECT_GE(s.Light, s.Light_Start - step);
        EXPECT_LE(s.Light, s.Light_End + step);
    }
}

TEST_F(Scenery, CloudCycleRunsThroughTheThreeLayers) {
    // The step is taken from the frame time at the start; before any frame has been measured
    // or after a stall the nominal frame time keeps the cycle at its usual pace.
    struct Case {
        float delta_ms;
        int drawings_per_layer; // 1.2 / (0.09 * ms / 1000)
    } cases[] = {{16.0f, 833}, {20.0f, 667}, {0.0f, 800}, {1000.0f, 800}};
    Graphics_SetDrawing(false); // thousands of full-screen layers: only the cycle counts here
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "DeltaMs " << c.delta_ms);
        DeltaMs = c.delta_ms;
        Clouds_Start();
        DeltaMs = 20.0f;
        std::vector<int> order = {CloudLayerCur};
        std::vector<int> hand_overs;
        for (int drawing = 1; drawing <= 4 * c.drawings_per_layer + 20; ++drawing) {
            Clouds_Draw();
            ASSERT_EQ(CloudLayerNext, CloudLayerCur % 3 + 1);
            if (CloudLayerCur != order.back()) {
                order.push_back(CloudLayerCur);
                hand_overs.push_back(drawing);
            }
        }
        ASSERT_EQ(order.size(), 5u);
        for (size_t i = 1; i < order.size(); ++i)
            EXPECT_EQ(order[i], order[i - 1] % 3 + 1) << "1, 2, 3, 1, ...";
        for (size_t i = 0; i < hand_overs.size(); ++i)
            EXPECT_NEAR(hand_overs[i], static_cast<int>(i + 1) * c.drawings_per_layer, 4);
        // The fourth layer never takes part.
        EXPECT_FLOAT_EQ(BckgLayers[3].Alpha, -0.1f);
    }
}

TEST_F(Scenery, SnowPeriodsStartThickAndThinOut) {
    SnowTimer = 0;
    Scenery_SnowTiming();
    const int period = SnowTimer;
    ASSERT_GE(period, 20001);
    ASSERT_LE(period, 40000);
    EXPECT_EQ(SnowIntensity, 5.0f) << "a period starts at full intensity";
    float last = SnowIntensity;
    int frames = 0;
    while (SnowTimer >= 1) {
        Scenery_SnowTiming();
        ++frames;
        EXPECT_LE(SnowIntensity, last);
        EXPECT_GE(SnowIntensity, 0.0f);
        if (SnowTimer >= 16667) {
            EXPECT_EQ(SnowIntensity, 5.0f);
        }
        last = SnowIntensity;
    }
    EXPECT_EQ(frames, (period + 19) / 20);
    EXPECT_LT(SnowIntensity, 0.01f) << "thinned out to the rearmost layer";
    Scenery_SnowTiming();
    EXPECT_GE(SnowTimer, 20001) << "the next period follows without a pause";
    EXPECT_EQ(SnowIntensity, 5.0f);
}

TEST_F(Scenery, BrightnessDarkensTheWholeScene) {
    StartIntroduction();
    ChangeoverActive = 0;
    struct Case {
        float light;
        bool black;
    } cases[] = {{0.0f, true}, {1.0f, false}, {0.5f, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "Bg_Light " << c.light);
        Bg_Light = c.light;
        ClearScreen();
        Scenery_Compose(1.0f, CurPicture, CurSky);
        const int lit = LitPixels();
        if (c.black)
            EXPECT_EQ(lit, 0);
        else
            EXPECT_GT(lit, 100000);
    }
}

// Under the landscape's opaque foot the sky, stars, clouds and far snow are left out; the picture
// must be the same as with all of them drawn, on the whole screen, in a wipe's band and while
// the landscape fades in.
TEST_F(Scenery, SceneUnderTheLandscapeFootIsLeftOutWithTheSamePicture) {
    StartIntroduction();
    Scenery_EndChangeover();
    SnowSpacing = 0.5f;
    for (int i = 0; i < 200; ++i) // four seconds of snow; the landscape's texture is made
        Scenery_Draw();
    ASSERT_GT(Snow_LiveCount(), 100);
    ASSERT_LT(ImageOpaqueFrom(BackgroundPictures[CurPicture], 0), ScreenHeight);
    const auto layers = BckgLayers;
    const auto stars = Stars;
    const auto snow = SnowPool;
    const int snow_count = SnowCount, cloud_cur = CloudLayerCur;
    struct Case {
        const char* name;
        int x, y, w, h;
        float level;
    } cases[] = {{"whole screen", 0, 0, 800, 600, 1.0f},
                 {"wipe band over the foot", 0, 380, 800, 220, 1.0f},
                 {"wipe band above the foot", 0, 0, 800, 300, 1.0f},
                 {"fading in", 0, 0, 800, 600, 0.6f}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_TRUE(SameCanvasWithShortcuts([&] {
            BckgLayers = layers;
            Stars = stars;
            SnowPool = snow;
            SnowCount = snow_count;
            CloudLayerCur = cloud_cur;
            SeedRnd(9);
            ClearScreen();
            SetViewport(c.x, c.y, c.w, c.h);
            Scenery_Compose(c.level, CurPicture, CurSky);
            SetViewport(0, 0, ScreenWidth, ScreenHeight);
        }));
    }
}

TEST_F(Scenery, UnusableIndexesDrawNoPicture) {
    // A landscape or sky index outside the tables is left out instead of read past them.
    BckgLayers.clear();
    for (int picture : {-1, 6, 49, 1000})
        for (int sky : {-1, 3}) {
            ClearScreen();
            Scenery_Compose(1.0f, picture, sky);
            EXPECT_EQ(LitPixels(), 0) << picture << ", " << sky;
        }
}

} // namespace
