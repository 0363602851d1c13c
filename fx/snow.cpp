// The falling snow of the scenery and the wind that blows it.
#include "data/config.h"
#include "engine/frame.h"
#include "engine/gfx.h"
#include "engine/shell.h"
#include "engine/system.h"
#include "fx/effects.h"
#include "fx/particles.h"
#include "fx/trig.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <sstream>

std::vector<Background_Particle> SnowPool;
int SnowCount = 0;

float SnowIntensity = 0.0f;
int SnowTimer = 0;
float SnowSpacing = 1.0f;
int SnowWaveTimer = 0;
int LayerAngle[SNOW_LAYERS] = {90, 90, 90, 90, 90, 90};
int LayerAngleCounter = 0;
int SnowDrawnCount = 0;
int SnowDrawnLastFrame = 0;

int WindTimer = 0;
int WindTargetX = 0, WindTargetY = 0;
float WindTargetAngle = 0.0f;
float WindAngle = 0.0f;
float WindTurnSpeed = 0.0f;
int WindTargetStrength = 0;
float WindStrength = 0.0f;
float WindStrengthSpeed = 0.0f;
float WindX = 0.0f, WindY = 0.0f;

namespace {

// Base fall speed and size of each layer, rear to front: nearer flakes are bigger and faster.
constexpr float LayerSpeed[SNOW_LAYERS] = {9.0f, 10.0f, 12.0f, 15.0f, 20.0f, 24.0f};
constexpr float LayerScale[SNOW_LAYERS] = {0.4f, 0.5f, 0.6f, 0.8f, 0.9f, 1.0f};

int Snow_Wrap360(int deg) {
    deg %= 360;
    return deg < 0 ? deg + 360 : deg;
}

// One row of flakes of a layer across the display and a little beyond it.
void Snow_Row(int layer) {
    const float f = Rnd(0.5f, 1.0f);
    const float speed = LayerSpeed[layer];
    const float scale = LayerScale[layer] * f;
    const float step = static_cast<float>(layer + 1) * SnowSpacing;
    int x = Rand(-200, 1);
    while (x < ScreenWidth + 200) {
        // Flakes beside the display start lower, so the edges fill as quickly as the middle.
        const bool beside = x < -100 || x > ScreenWidth + 100;
        const int y = beside ? Rand(1, Trunc(ScreenHeight * 0.25)) : Rand(-200, 1);
        const int heading = LayerAngle[layer] + Rand(-2, 2);
        Snow_NewFlake(static_cast<float>(x), static_cast<float>(y), speed, scale, heading, layer,
                      ScreenHeight - Rand(1, 200));
        const int gap = Rand(1, Trunc(step * 30.0f));
        // At least a pixel, so a zero spacing cannot hold the row in place forever.
        x += std::max(1, Trunc(step * 20.0f + static_cast<float>(gap)));
    }
}

void Snow_Wave() {
    if (--LayerAngleCounter < 0) {
        LayerAngleCounter = 10 + Rand(1, 10);
        for (int& a : LayerAngle)
            a = Rand(60, 120);
    }
    const int last = std::clamp(Trunc(SnowIntensity), 0, SNOW_LAYERS - 1);
    for (int layer = 0; layer <= last; ++layer)
        Snow_Row(layer);
}

void Wind_Choose() {
    WindTimer = 4000 + Rand(1, 4000);
    WindTargetX =
        Rand(1, 100) <= 50 ? Rand(ScreenWidth + 100, ScreenWidth + 300) : Rand(-300, -100);
    WindTargetY = Rand(Trunc(ScreenHeight * 0.5), ScreenHeight + 500);
    WindTargetAngle = static_cast<float>(
        ATan2(WindTargetY - ScreenHeight / 2, static_cast<double>(WindTargetX - ScreenWidth / 2)));
    WindTargetStrength = Rand(10, 30);
    WindStrengthSpeed = std::abs(static_cast<float>(WindTargetStrength) - WindStrength);
    // Now and then a gust, rarely a gale.
    if (Rand(1, 100) > 90) WindTargetStrength = Rand(30, 70);
    if (Rand(1, 100) > 97) WindTargetStrength = Rand(70, 100);
    if (WindTargetAngle <= WindAngle)
        WindTurnSpeed = Rnd(-10.0f, 0.0f) - static_cast<float>(400 / WindTargetStrength);
    else
        WindTurnSpeed = static_cast<float>(400 / WindTargetStrength) + Rnd(0.0f, 10.0f);
}

void Wind_Turn() {
    WindAngle += WindTurnSpeed * DeltaSec;
    if ((WindTurnSpeed > 0.0f && WindAngle > WindTargetAngle) ||
        (WindTurnSpeed < 0.0f && WindAngle < WindTargetAngle))
        WindTurnSpeed = 0.0f;
}

void Wind_Strengthen() {
    const float target = static_cast<float>(WindTargetStrength);
    const float step = WindStrengthSpeed * DeltaSec;
    if (WindStrength < target)
        WindStrength = std::min(WindStrength + step, target);
    else
        WindStrength = std::max(WindStrength - step, target);
}

} // namespace

void Snow_Spawn() {
    if (Slow_PC >= 1) return;
    SnowWaveTimer -= Trunc(DeltaMs);
    if (SnowWaveTimer >= 1) return;
    SnowWaveTimer = 1000 + Rand(1, 500);
    Snow_Wave();
}

void Snow_NewFlake(float x, float y, float speed, float scale, int heading, int layer,
                   int fade_line) {
    if (SnowCount >= static_cast<int>(SnowPool.size())) {
        Snow_Compact();
        return;
    }
    Background_Particle& f = SnowPool[SnowCount++];
    f.Zorder = layer;
    f.x = x;
    f.y = y;
    f.FadeOutLevel = fade_line;
    f.state = 3;
    f.alpha = 1.0f;
    f.alpha_inc_speed = Rnd(2.0f, 3.0f);
    f.speed = speed + static_cast<float>(Rand(-10, 40));
    f.angle = static_cast<float>(Snow_Wrap360(heading + Rand(-30, 30)));
    f.img = GfxPics.snow_flake[Rand(0, 2)];
    f.scale = scale + 0.007f * static_cast<float>(Rand(-10, 10));
    f.Update_fn = Snow_UpdateFlake;
}

void Snow_Compact() {
    int live = 0;
    for (int i = 0; i < SnowCount; ++i) {
        if (SnowPool[i].state == 0) continue;
        if (i != live) SnowPool[live] = SnowPool[i];
        ++live;
    }
    const int kept = live == SnowCount ? 0 : live; // a pool of only live flakes starts afresh
    for (int i = kept; i < SnowCount; ++i)
        SnowPool[i].state = 0;
    SnowCount = kept;
    std::printf("remaining parts %d real part, %d\n", 7999 - live, SnowDrawnLastFrame);
    std::fflush(stdout);
}

namespace {

// The flakes of one drawing pass still falling after their step, by picture (the fourth list
// holds any other picture). Additive light adds up the same in any order, so each picture's
// flakes reach the renderer as one batch instead of one call per change of picture.
std::vector<Background_Particle*> FlakeBatch[4];

// Moves one flake and ages it; false once it is gone.
bool Snow_Step(Background_Particle& f) {
    if (f.state != 3) return false;
    const int deg = Trunc(f.angle);
    f.x += Trig_Cos(deg) * f.speed * DeltaSec;
    f.y += Trig_Sin(deg) * f.speed * DeltaSec;
    // The pointer pushes the flakes near it along the wind.
    const float dx = f.x - static_cast<float>(MouseXPos);
    const float dy = f.y - static_cast<float>(MouseYPos);
    const float push = 4000.0f / (dy * dy + dx * dx + 1.0f);
    const float drift = static_cast<float>(f.Zorder + 1) * DeltaSec * 0.5f;
    f.x += WindX * drift + WindX * push * DeltaSec;
    f.y += WindY * drift + WindY * push * DeltaSec;
    if (f.y > static_cast<float>(ScreenHeight)) {
        f.state = 0;
        return false;
    }
    if (f.y > static_cast<float>(f.FadeOutLevel)) f.alpha -= f.alpha_inc_speed * DeltaSec;
    // The level-end screen clears its sky.
    if (GameState == STATE_LEVEL_END) f.alpha -= f.alpha_inc_speed * 0.1f * DeltaSec;
    if (f.alpha <= 0.001f || f.x < -200.0f || f.x > static_cast<float>(ScreenWidth + 200)) {
        f.state = 0;
        return false;
    }
    return true;
}

// Flakes above or beside the display (new rows start up to 200 pixels out) show nothing.
bool Snow_OnDisplay(const Background_Particle& f) {
    const float reach = 2.0f * static_cast<float>(std::max(ImageWidth(f.img), ImageHeight(f.img)));
    return f.x > -reach && f.x < static_cast<float>(ScreenWidth) + reach && f.y > -reach;
}

// Drawn with white and BLEND_LIGHT already set.
void Snow_Show(const Background_Particle& f) {
    SetScale(f.scale, f.scale);
    SetAlpha(std::min(f.alpha, 1.0f));
    DrawImage(f.img, f.x, f.y, 0);
}

int Snow_PictureSlot(const Image* img) {
    for (int k = 0; k < 3; ++k)
        if (img == GfxPics.snow_flake[k]) return k;
    return 3;
}

} // namespace

void Snow_UpdateFlake(Background_Particle& f) {
    if (!Snow_Step(f)) return;
    SetColor(255, 255, 255);
    SetBlend(BLEND_LIGHT);
    Snow_Show(f);
}

void Snow_DrawLayer(int upper, int lower) {
    if (SnowCount == 0) return;
    SetBlend(BLEND_ALPHA);
    for (auto& batch : FlakeBatch)
        batch.clear();
    for (int i = 0; i < SnowCount; ++i) {
        Background_Particle& f = SnowPool[i];
        if (f.state == 0 || f.Zorder <= lower || f.Zorder >= upper || !f.Update_fn) continue;
        ++SnowDrawnCount;
        if (f.Update_fn != Snow_UpdateFlake) {
            f.Update_fn(f);
            continue;
        }
        if (Snow_Step(f) && Snow_OnDisplay(f)) FlakeBatch[Snow_PictureSlot(f.img)].push_back(&f);
    }
    if (SnowPool[SnowCount - 1].state == 0) --SnowCount;
    if (FlakeBatch[0].empty() && FlakeBatch[1].empty() && FlakeBatch[2].empty() &&
        FlakeBatch[3].empty())
        return;
    SetColor(255, 255, 255);
    SetBlend(BLEND_LIGHT);
    for (const auto& batch : FlakeBatch)
        for (const Background_Particle* f : batch)
            Snow_Show(*f);
}

int Snow_LiveCount() {
    int live = 0;
    for (int i = 0; i < SnowCount; ++i)
        if (SnowPool[i].state != 0) ++live;
    return live;
}

void Wind_Update() {
    WindTimer -= Trunc(DeltaMs);
    if (WindTimer < 1) Wind_Choose();
    if (WindTurnSpeed != 0.0f) Wind_Turn();
    Wind_Strengthen();
    const int deg = Trunc(WindAngle);
    WindX = WindStrength * Trig_Cos(deg);
    WindY = WindStrength * Trig_Sin(deg);
    SnowDrawnLastFrame = SnowDrawnCount;
    SnowDrawnCount = 0;
    SetImageFont(nullptr);
    SetScale(1.0f, 1.0f);
    SetColor(255, 255, 255);
}

std::string Particles_StateJson() {
    std::ostringstream out;
    out << "\"ParticleCount\": " << ParticleCount << ", \"SnowCount\": " << SnowCount
        << ", \"SnowLive\": " << Snow_LiveCount() << ", \"WindAngle\": " << WindAngle
        << ", \"WindStrength\": " << WindStrength << ", \"SnowIntensity\": " << SnowIntensity;
    return out.str();
}
