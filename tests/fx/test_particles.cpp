// Picture-shaped particle bursts and the wind-blown snow: the pixel rule of the emitter, the
// phases of a burst spark, snow layers, the pool compaction and the wind.
#include "data/config.h"
#include "engine/frame.h"
#include "engine/gfx.h"
#include "engine/system.h"
#include "fx/effects.h"
#include "fx/particles.h"
#include "tests/fx/headless_display.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

namespace {

using Pixel = std::pair<int, int>; // column, row

std::vector<Pixel> Spawned;
void RecordSpawn(int column, int row) {
    Spawned.emplace_back(column, row);
}
void NoUpdate(Particle&) {}

struct Rgb {
    std::uint8_t r, g, b;
};

// A one-frame picture held in memory in the given pixel layout, readable as IMG_DYNAMIC.
Image MemoryPicture(const std::vector<std::vector<Rgb>>& rows, int format) {
    Image img;
    img.height = static_cast<int>(rows.size());
    img.width = static_cast<int>(rows[0].size());
    img.src_w = img.width;
    img.src_h = img.height;
    img.frames = 1;
    img.frame_x = {0};
    img.frame_y = {0};
    img.flags = IMG_DYNAMIC;
    img.pixel_format = format;
    const bool alpha = format == PF_RGBA8888 || format == PF_BGRA8888;
    const bool bgr = format == PF_BGR888 || format == PF_BGRA8888;
    img.bytes_per_pixel = alpha ? 4 : 3;
    for (const auto& row : rows) {
        for (const Rgb& p : row) {
            img.pixels.push_back(bgr ? p.b : p.r);
            img.pixels.push_back(p.g);
            img.pixels.push_back(bgr ? p.r : p.b);
            if (alpha) img.pixels.push_back(255);
        }
    }
    return img;
}

// A picture of the given size with nothing behind it, for the particles' own size.
Image SizedPicture(int w, int h) {
    Image img;
    img.width = w;
    img.height = h;
    return img;
}

class Particles : public ::testing::Test {
  protected:
    void SetUp() override {
        Particles_Init();
        SeedRnd(7);
        DeltaMs = 20.0f;
        DeltaSec = 0.02f;
        InstFps = 50;
        Slow_PC = 0;
        SnowIntensity = 5.0f;
        SnowSpacing = 1.0f;
        SnowWaveTimer = 0;
        WindTimer = 0;
        WindAngle = 0.0f;
        WindStrength = 0.0f;
        WindX = WindY = 0.0f;
        MouseXPos = -10000;
        MouseYPos = -10000;
        Spawned.clear();
    }
    void TearDown() override { Slow_PC = 0; }

    static std::set<int> LayersSpawned() {
        std::set<int> layers;
        for (int i = 0; i < SnowCount; ++i)
            layers.insert(SnowPool[i].Zorder);
        return layers;
    }

    static Background_Particle& AddFlake(float x, float y, int layer) {
        Snow_NewFlake(x, y, 20.0f, 0.5f, 90, layer, 10000);
        return SnowPool[SnowCount - 1];
    }
};

// Only red decides whether a pixel emits, whichever byte order the picture is decoded to; a
// picture whose pixels cannot be read emits nothing.
TEST_F(Particles, OnlyPixelsWithRedEmitInEveryLayout) {
    const std::vector<std::vector<Rgb>> rows = {
        {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}},
        {{0, 255, 255}, {1, 0, 0}, {0, 0, 0}},
    };
    const std::vector<Pixel> red_pixels = {{0, 0}, {1, 1}};
    Image particle = SizedPicture(4, 4);
    for (int format : {PF_RGB888, PF_RGBA8888, PF_BGR888, PF_BGRA8888}) {
        SCOPED_TRACE(format);
        Spawned.clear();
        Image src = MemoryPicture(rows, format);
        Particles_FromImage(&src, RecordSpawn, NoUpdate, 1, 0, 0, 1, &particle, 0, 1, 30);
        EXPECT_EQ(Spawned, red_pixels);
    }
    Spawned.clear();
    Image unknown = MemoryPicture(rows, PF_RGB888);
    unknown.pixel_format = 99;
    Particles_FromImage(&unknown, RecordSpawn, NoUpdate, 1, 0, 0, 1, &particle, 0, 1, 30);
    Image no_pixels = SizedPicture(3, 2);
    Particles_FromImage(&no_pixels, RecordSpawn, NoUpdate, 1, 0, 0, 1, &particle, 0, 1, 30);
    EXPECT_TRUE(Spawned.empty());
}

// A full particle pool ignores further sparks instead of writing past its end.
TEST_F(Particles, FullPoolIgnoresFurtherSparks) {
    Image src = MemoryPicture({{{255, 0, 0}, {255, 0, 0}}}, PF_RGB888);
    Image particle = SizedPicture(4, 4);
    ParticleCount = PARTICLE_POOL_SIZE - 1;
    Particles_FromImage(&src, Particles_SpawnBurst, Particles_UpdateBurst, 1, 100, 50, 1, &particle,
                        0, 1, 30);
    EXPECT_EQ(ParticleCount, PARTICLE_POOL_SIZE);
    const Particle& last = ParticlePool[PARTICLE_POOL_SIZE - 1];
    EXPECT_EQ(last.state, 1);
    EXPECT_FLOAT_EQ(last.x, 100.0f); // the first red pixel, placed at the origin
}

// A hammer spark waits hidden, fades in in the picture's shape, holds, flies, breaks away and
// falls, and finishes; an alarm spark never breaks away. Each run must pass its phases in order.
TEST_F(Particles, SparksPassTheirPhasesInOrder) {
    struct Case {
        const char* name;
        Particle_SpawnFn spawn;
        Particle_UpdateFn update;
        std::vector<int> phases;
    };
    const Case cases[] = {
        {"burst", Particles_SpawnBurst, Particles_UpdateBurst, {1, 2, 3, 4, 0}},
        {"alarm", Particles_SpawnAlarm, Particles_UpdateAlarm, {1, 2, 3, 0}},
    };
    Image src = MemoryPicture({{{255, 0, 0}, {0, 0, 0}}, {{0, 0, 0}, {0, 0, 0}}}, PF_RGB888);
    Image particle = SizedPicture(8, 8);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Particles_Reset();
        Particles_FromImage(&src, c.spawn, c.update, 1, 400, 300, 1, &particle, 0, 0.5f, 30);
        ASSERT_EQ(ParticleCount, 1);
        Particle& p = ParticlePool[0];
        std::vector<int> phases = {p.state};
        for (int frame = 0; frame < 2000 && p.state != 0; ++frame) {
            const int delay = p.delay1;
            p.Update_fn(p);
            if (p.state == 1 && delay > 0) {
                EXPECT_FLOAT_EQ(p.alpha, 0.0f) << "hidden while waiting";
            }
            if (p.state != phases.back()) phases.push_back(p.state);
            EXPECT_LE(p.scale, 2.0f);
        }
        EXPECT_EQ(phases, c.phases);
    }
}

// A flying spark that leaves the display by more than its size is finished there.
TEST_F(Particles, FlyingSparkFinishesOffTheDisplay) {
    Particle p;
    p.state = 3;
    p.alpha = 1.0f;
    p.alpha_inc_speed = 1.0f;
    p.x = 795.0f;
    p.y = 300.0f;
    p.angle = 0.0f; // straight to the right
    p.speed = 600.0f;
    p.img_dx = p.img_dy = 8;
    int frames = 0;
    while (p.state != 0 && frames < 100) {
        Particles_UpdateBurst(p);
        ++frames;
    }
    EXPECT_EQ(p.state, 0);
    EXPECT_GT(p.x, 808.0f);
    EXPECT_LT(frames, 5);
}

// While sparks live the snow goes on; once the last one has finished, both pools start afresh.
TEST_F(Particles, LastSparkFinishingEmptiesTheSnow) {
    for (int i = 0; i < 5; ++i)
        AddFlake(100.0f + i, 100.0f, 2);
    Image particle = SizedPicture(8, 8);
    Image src = MemoryPicture({{{255, 0, 0}}}, PF_RGB888);
    Particles_FromImage(&src, Particles_SpawnBurst, Particles_UpdateBurst, 1, 400, 300, 1,
                        &particle, 0, 0.5f, 30);
    ParticlePool[0].delay1 = 0;
    Particles_Draw();
    EXPECT_EQ(SnowCount, 5);
    ParticlePool[0].state = 0; // the spark has just finished
    Particles_Draw();
    EXPECT_EQ(ParticleCount, 0);
    EXPECT_EQ(SnowCount, 0);
}

// Intensity decides how many layers a wave spawns: its truncated value is the last layer.
TEST_F(Particles, IntensityDecidesTheLayersOfAWave) {
    const struct {
        float intensity;
        std::set<int> layers;
    } cases[] = {
        {5.0f, {0, 1, 2, 3, 4, 5}},
        {4.99f, {0, 1, 2, 3, 4}},
        {2.5f, {0, 1, 2}},
        {0.9f, {0}},
        {0.0f, {0}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.intensity);
        Particles_Reset();
        SnowIntensity = c.intensity;
        SnowWaveTimer = 0;
        Snow_Spawn();
        EXPECT_EQ(LayersSpawned(), c.layers);
        EXPECT_GE(SnowWaveTimer, 1001) << "next wave in 1 to 1.5 s";
        EXPECT_LE(SnowWaveTimer, 1500);
    }
}

// The slow-computer setting stops new snow, while the wind keeps turning for the rest of the
// scene.
TEST_F(Particles, SlowComputerMakesNoSnowButTheWindTurns) {
    for (int slow : {0, 1}) {
        SCOPED_TRACE(slow);
        Particles_Reset();
        Slow_PC = slow;
        SeedRnd(11);
        WindTimer = 0;
        WindAngle = 0.0f;
        WindStrength = 0.0f;
        for (int frame = 0; frame < 200; ++frame) {
            Snow_Spawn();
            Wind_Update();
        }
        EXPECT_EQ(SnowCount > 0, slow == 0);
        EXPECT_NE(WindAngle, 0.0f);
        EXPECT_GT(WindStrength, 0.0f);
        EXPECT_NE(WindX, 0.0f);
    }
}

// A match sets the wind timer to 0: the next frame chooses a new wind.
TEST_F(Particles, ZeroWindTimerChoosesNewWindAtOnce) {
    WindTimer = 0;
    Wind_Update();
    EXPECT_GE(WindTimer, 4001);
    EXPECT_LE(WindTimer, 8000);
    EXPECT_GE(WindTargetStrength, 10);
    EXPECT_LE(WindTargetStrength, 100);
}

// A full snow pool keeps its falling flakes in order at the front and does not make the new
// one; a pool where every flake is still falling starts afresh.
TEST_F(Particles, FullSnowPoolCompacts) {
    for (bool some_gone : {true, false}) {
        SCOPED_TRACE(some_gone);
        Particles_Reset();
        std::vector<float> live_x;
        for (int i = 0; i < SNOW_POOL_SIZE; ++i) {
            Background_Particle& f = AddFlake(static_cast<float>(i), 50.0f, i % 6);
            if (some_gone && i % 3 != 0) f.state = 0;
            if (f.state != 0) live_x.push_back(f.x);
        }
        ASSERT_EQ(SnowCount, SNOW_POOL_SIZE);
        Snow_NewFlake(-150.0f, 0.0f, 10.0f, 0.4f, 90, 0, 500);
        if (!some_gone) {
            EXPECT_EQ(SnowCount, 0);
            continue;
        }
        ASSERT_EQ(SnowCount, static_cast<int>(live_x.size()));
        for (int i = 0; i < SnowCount; ++i) {
            EXPECT_EQ(SnowPool[i].state, 3);
            ASSERT_FLOAT_EQ(SnowPool[i].x, live_x[i]);
        }
        EXPECT_EQ(SnowPool[SnowCount].state, 0);
    }
}

// The rear pass takes the rearmost layer, the front pass the other five.
TEST_F(Particles, DrawPassesSplitTheLayers) {
    for (int layer = 0; layer < SNOW_LAYERS; ++layer)
        AddFlake(100.0f + 10.0f * layer, 100.0f, layer);
    SnowDrawnCount = 0;
    Snow_DrawLayer(1, -1);
    EXPECT_EQ(SnowDrawnCount, 1);
    Snow_DrawLayer(1000, 0);
    EXPECT_EQ(SnowDrawnCount, SNOW_LAYERS);
}

// Flakes drift with the wind, harder near the pointer and in nearer layers, and go below the
// display, beside it, or once faded.
TEST_F(Particles, FlakesDriftAndGo) {
    WindX = 20.0f;
    WindY = 0.0f;
    MouseXPos = 330; // 30 pixels right of the first flake
    MouseYPos = 100;
    Background_Particle& near_pointer = AddFlake(300.0f, 100.0f, 0);
    Background_Particle& far_rear = AddFlake(600.0f, 100.0f, 0);
    Background_Particle& far_front = AddFlake(700.0f, 100.0f, 5);
    for (Background_Particle* f : {&near_pointer, &far_rear, &far_front})
        f->speed = 0.0f;
    Snow_DrawLayer(1000, -1);
    EXPECT_GT(near_pointer.x - 300.0f, far_rear.x - 600.0f);
    EXPECT_GT(far_front.x - 700.0f, far_rear.x - 600.0f);
    EXPECT_GT(far_rear.x, 600.0f);

    const struct {
        const char* name;
        float x, y, alpha;
    } gone[] = {
        {"below the display", 400.0f, 601.0f, 1.0f},
        {"beside the display", 1001.0f, 300.0f, 1.0f},
        {"faded out", 400.0f, 300.0f, 0.0005f},
    };
    WindX = 0.0f;
    for (const auto& g : gone) {
        SCOPED_TRACE(g.name);
        Background_Particle& f = AddFlake(g.x, g.y, 3);
        f.speed = 0.0f;
        f.alpha = g.alpha;
        Snow_UpdateFlake(f);
        EXPECT_EQ(f.state, 0);
    }
}

// A wave row across the display stops even when the spacing leaves no gap between flakes.
TEST_F(Particles, ZeroSpacingWaveEnds) {
    SnowSpacing = 0.0f;
    SnowIntensity = 0.0f;
    Snow_Spawn();
    EXPECT_GT(SnowCount, 0);
    EXPECT_LE(SnowCount, SNOW_POOL_SIZE);
}

// Drawn on the headless display: a drawing pass sends its flakes grouped by picture, and the
// picture must be the one the flakes make drawn one by one in pool order.
class SnowDrawn : public Particles {
  protected:
    static void SetUpTestSuite() {
        opened = OpenHeadlessDisplay();
        if (!opened) return;
        for (int i = 0; i < 3; ++i) {
            const std::string path = std::string(SNOW_ASSETS_DIR) + "/images/Snow_Flake" +
                                     std::to_string(i + 1) + ".png";
            GfxPics.snow_flake[i] = LoadImage(path, IMG_DEFAULT);
            MidHandleImage(GfxPics.snow_flake[i]);
        }
    }
    static void TearDownTestSuite() { Graphics_Close(); }
    void SetUp() override {
        if (!opened) GTEST_SKIP() << "no headless display";
        Particles::SetUp();
    }
    static std::vector<std::uint8_t> Canvas() {
        std::vector<std::uint8_t> rgba;
        int w = 0, h = 0;
        Graphics_ReadPixels(rgba, &w, &h);
        return rgba;
    }
    static void Clear() {
        SetViewport(0, 0, 800, 600);
        SetClsColor(10, 20, 60);
        Cls();
    }
    static inline bool opened = false;
};

TEST_F(SnowDrawn, GroupedPassLooksLikeFlakesDrawnOneByOne) {
    SnowSpacing = 0.5f;
    for (int wave = 0; wave < 4; ++wave) {
        SnowWaveTimer = 0;
        Snow_Spawn();
    }
    for (int i = 0; i < SnowCount; ++i) // spread the rows over the display
        SnowPool[i].y = static_cast<float>((i * 37) % 600);
    const std::vector<Background_Particle> pool(SnowPool.begin(), SnowPool.begin() + SnowCount);
    const int count = SnowCount;

    Clear();
    Snow_DrawLayer(1000, -1);
    const std::vector<std::uint8_t> grouped = Canvas();

    std::copy(pool.begin(), pool.end(), SnowPool.begin());
    SnowCount = count;
    Clear();
    for (int i = 0; i < count; ++i)
        Snow_UpdateFlake(SnowPool[i]);
    const std::vector<std::uint8_t> one_by_one = Canvas();

    ASSERT_EQ(grouped.size(), one_by_one.size());
    ASSERT_FALSE(grouped.empty());
    int lit = 0, differ = 0;
    for (size_t i = 0; i < grouped.size(); ++i) {
        if (one_by_one[i] > 120) ++lit;
        if (std::abs(grouped[i] - one_by_one[i]) > 2) ++differ;
    }
    EXPECT_GT(lit, 1000) << "the flakes show";
    EXPECT_EQ(differ, 0);
}

} // namespace
