// Effect particles: clouds of glowing sparks emitted in the shape of a small picture.
#include "fx/particles.h"

#include "engine/frame.h"
#include "engine/gfx.h"
#include "engine/system.h"
#include "fx/effects.h"
#include "fx/trig.h"

#include <algorithm>
#include <cstdio>

std::vector<Particle> ParticlePool;
int ParticleCount = 0;

float EmitX = 0.0f, EmitY = 0.0f, EmitSpacing = 1.0f;
int EmitSourceWidth = 0, EmitSourceHeight = 0;
Image* EmitImage = nullptr;
int EmitFrames = 0;
float EmitScale = 1.0f;
int EmitPeriod = 0;
Particle_UpdateFn EmitUpdate = nullptr;

Particle_Pictures ParticlePics;

namespace {

float Particles_Wrap360(float deg) {
    while (deg < 0.0f)
        deg += 360.0f;
    while (deg > 360.0f)
        deg -= 360.0f;
    return deg;
}

// Byte offset of red inside a pixel, or -1 for a layout whose red cannot be found.
int Particles_RedOffset(int format) {
    switch (format) {
    case PF_RGB888:
    case PF_RGBA8888:
        return 0;
    case PF_BGR888:
    case PF_BGRA8888:
        return 2;
    default:
        return -1;
    }
}

int Particles_BytesPerPixel(int format) {
    return format == PF_RGB888 || format == PF_BGR888 ? 3 : 4;
}

// The common part of every spawn style: the next free slot placed at the pixel, or nullptr when
// the pool is full.
Particle* Particles_Take(int column, int row) {
    if (ParticleCount >= static_cast<int>(ParticlePool.size())) return nullptr;
    Particle& p = ParticlePool[ParticleCount++];
    p = Particle{};
    p.x = EmitX + static_cast<float>(column) * EmitSpacing;
    p.y = EmitY + static_cast<float>(row) * EmitSpacing;
    p.state = 1;
    p.alpha = 0.0f;
    p.img = EmitImage;
    p.img_max = EmitFrames;
    p.img_dx = ImageWidth(EmitImage);
    p.img_dy = ImageHeight(EmitImage);
    p.scale = EmitScale;
    p.anim_timer = 0;
    p.anim_period = EmitPeriod;
    p.Update_fn = EmitUpdate;
    return &p;
}

bool Particles_OffDisplay(const Particle& p) {
    return p.x < static_cast<float>(-p.img_dx) ||
           p.x > static_cast<float>(ScreenWidth + p.img_dx) ||
           p.y < static_cast<float>(-p.img_dy) || p.y > static_cast<float>(ScreenHeight + p.img_dy);
}

// Speed, heading and gravity of the flying phases; false once the particle has left the display.
bool Particles_Fly(Particle& p) {
    p.speed += p.accel * DeltaSec;
    const int deg = Trunc(p.angle);
    p.x += Trig_Cos(deg) * p.speed * DeltaSec;
    p.y += Trig_Sin(deg) * p.speed * DeltaSec;
    p.y += p.Gravity * DeltaSec;
    p.Gravity += p.Gravity_accel * DeltaSec;
    if (!Particles_OffDisplay(p)) return true;
    p.state = 0;
    return false;
}

// A struggling frame rate thins the sparks out faster.
float Particles_LowFpsFade(const Particle& p) {
    return InstFps < 30 ? p.alpha_inc_speed * 0.1f * DeltaSec : 0.0f;
}

// The waiting phases shared by both updates: false while the particle is still hidden.
bool Particles_Appear(Particle& p, float scale_step, float scale_max) {
    if (p.state == 1) {
        if (p.delay1 > 0) {
            p.delay1 -= Trunc(DeltaMs);
            return false;
        }
        p.alpha += p.alpha_inc_speed * DeltaSec;
        p.scale = std::min(p.scale + scale_step * DeltaSec, scale_max);
        if (p.alpha >= 1.0f) {
            p.state = 2;
            p.delay1 = p.delay2;
        }
    } else if (p.state == 2) {
        p.delay1 -= Trunc(DeltaMs);
        if (p.delay1 < 1) p.state = 3;
    }
    return true;
}

void Particles_BreakAway(Particle& p) {
    p.state = 4;
    p.angle = Particles_Wrap360(p.angle + static_cast<float>(Rand(-30, 30)));
    p.Gravity_accel = 150.0f;
    p.Gravity = 0.0f;
    p.speed = static_cast<float>(50 + Rand(1, 100));
    p.accel = static_cast<float>(-Rand(10, 50));
}

void Particles_Show(Particle& p) {
    SetScale(p.scale, p.scale);
    SetAlpha(std::clamp(p.alpha, 0.0f, 1.0f));
    SetBlend(BLEND_LIGHT);
    DrawImage(p.img, p.x, p.y, p.img_frame);
    if (p.img_max <= 0) return;
    p.anim_timer -= Trunc(DeltaMs);
    if (p.anim_timer >= 0) return;
    p.anim_timer = p.anim_period;
    p.img_frame = (p.img_frame + 1) % p.img_max;
}

int Particles_FirstFrame(int frames) {
    return std::max(Rand(0, frames - 1), 0);
}

// Fades a flying spark; one faded out is finished and not drawn.
bool Particles_Fade(Particle& p, float amount) {
    p.alpha -= amount;
    if (p.alpha > 0.0f) return true;
    p.state = 0;
    return false;
}

} // namespace

void Particles_Init() {
    Trig_Init();
    ParticlePool.assign(PARTICLE_POOL_SIZE, Particle{});
    SnowPool.assign(SNOW_POOL_SIZE, Background_Particle{});
    Particles_Reset();
}

void Particles_Reset() {
    ParticleCount = 0;
    SnowCount = 0;
}

void Particles_FromImage(Image* source, Particle_SpawnFn spawn, Particle_UpdateFn update,
                         int chance, float x, float y, float spacing, Image* particle, int frames,
                         float start_scale, int frame_period) {
    if (!source || !spawn || !update || !particle) return;
    EmitX = x;
    EmitY = y;
    EmitSpacing = spacing;
    EmitSourceWidth = ImageWidth(source);
    EmitSourceHeight = ImageHeight(source);
    EmitImage = particle;
    EmitFrames = frames;
    EmitScale = start_scale;
    EmitPeriod = frame_period;
    EmitUpdate = update;

    LockedPixels px;
    if (!LockImage(source, 0, true, false, &px)) {
        std::fprintf(stderr, "particles: the source picture's pixels cannot be read\n");
        return;
    }
    const int red = Particles_RedOffset(px.format);
    if (red < 0) {
        std::fprintf(stderr, "particles: unreadable pixel format %d, nothing emitted\n", px.format);
        UnlockImage(source, 0);
        return;
    }
    const int bpp = Particles_BytesPerPixel(px.format);
    for (int row = 0; row < px.height; ++row) {
        const std::uint8_t* line = px.data + static_cast<std::ptrdiff_t>(row) * px.pitch;
        for (int column = 0; column < px.width; ++column) {
            if (line[column * bpp + red] == 0) continue;
            if (Rand(1, chance) == 1) spawn(column, row);
        }
    }
    UnlockImage(source, 0);
}

void Particles_SpawnBurst(int column, int row) {
    Particle* p = Particles_Take(column, row);
    if (!p) return;
    p->alpha_inc_speed = Rnd(15.0f, 20.0f);
    const double from_y = 0.7 * EmitSourceHeight;
    p->angle = Particles_Wrap360(
        static_cast<float>(ATan2(row - from_y, static_cast<double>(column - EmitSourceWidth))));
    p->speed = static_cast<float>(Rand(2, 170));
    p->accel = static_cast<float>(Rand(10, 20));
    p->Gravity = 0.0f;
    p->Gravity_accel = 4.0f;
    p->delay1 = 100 + Rand(1, 150);
    p->delay2 = 400 + Rand(1, 100);
    p->img_frame = Particles_FirstFrame(EmitFrames);
}

void Particles_SpawnFountain(int column, int row) {
    Particle* p = Particles_Take(column, row);
    if (!p) return;
    p->alpha_inc_speed = Rnd(7.0f, 20.0f);
    p->angle = 200.0f;
    p->speed = 100.0f;
    p->accel = static_cast<float>(Rand(4, 8));
    p->delay1 = 100 + Rand(1, 100);
    p->delay2 = 200 - p->delay1;
    p->img_frame = Particles_FirstFrame(EmitFrames);
}

void Particles_SpawnAlarm(int column, int row) {
    Particle* p = Particles_Take(column, row);
    if (!p) return;
    p->alpha_inc_speed = Rnd(10.0f, 30.0f);
    p->angle = Particles_Wrap360(static_cast<float>(
        ATan2(row - EmitSourceHeight / 2, static_cast<double>(column - EmitSourceWidth / 2))));
    p->speed = 60.0f;
    p->accel = static_cast<float>(Rand(5, 12));
    p->Gravity = 0.0f;
    p->Gravity_accel = 100.0f;
    p->delay1 = Rand(1, 500);
    p->delay2 = 1700 - p->delay1;
    p->img_frame = std::max(Rand(0, EmitFrames - 1), 0);
}

void Particles_UpdateBurst(Particle& p) {
    if (!Particles_Appear(p, 0.4f, 2.0f)) return;
    if (p.state == 3) {
        if (!Particles_Fly(p)) return;
        p.alpha -= p.alpha_inc_speed * 0.02f * DeltaSec;
        if (p.alpha < 0.7f) Particles_BreakAway(p);
        if (!Particles_Fade(p, Particles_LowFpsFade(p))) return;
        p.scale = std::min(p.scale + 0.25f * DeltaSec, 2.0f);
    } else if (p.state == 4) {
        if (!Particles_Fly(p)) return;
        if (!Particles_Fade(p, p.alpha_inc_speed * 0.025f * DeltaSec + Particles_LowFpsFade(p)))
            return;
        p.scale = std::max(p.scale - 0.3f * DeltaSec, 0.1f);
    }
    Particles_Show(p);
}

void Particles_UpdateAlarm(Particle& p) {
    if (!Particles_Appear(p, 0.25f, 1.0f)) return;
    if (p.state == 3) {
        if (!Particles_Fly(p)) return;
        if (!Particles_Fade(p, p.alpha_inc_speed * 0.045f * DeltaSec + Particles_LowFpsFade(p)))
            return;
        p.scale = std::max(p.scale - 0.07f * DeltaSec, 0.1f);
    }
    Particles_Show(p);
}

void Particles_Draw() {
    if (ParticleCount == 0) return;
    const float alpha = GetAlpha();
    float sx = 1.0f, sy = 1.0f;
    GetScale(&sx, &sy);
    int r = 255, g = 255, b = 255;
    GetColor(&r, &g, &b);
    SetColor(255, 255, 255); // sparks glow in their own colours, whatever was drawn before
    SetBlend(BLEND_ALPHA);
    bool any_live = false;
    for (int i = 0; i < ParticleCount; ++i) {
        Particle& p = ParticlePool[i];
        if (p.state == 0 || !p.Update_fn) continue;
        any_live = true;
        p.Update_fn(p);
    }
    if (ParticlePool[ParticleCount - 1].state == 0) --ParticleCount;
    // The snow starts afresh with the effect particles: the next waves rebuild it.
    if (!any_live) Particles_Reset();
    SetAlpha(alpha);
    SetScale(sx, sy);
    SetColor(r, g, b);
}

void Particles_HammerEarned(int which, float centre_x, float centre_y) {
    if (which < 1 || which > 3) return;
    Image* const* spark = GfxPics.spark;
    Image* icon = ParticlePics.map_hammer[which - 1];
    // The particles take the icon's shape where the icon stands.
    const float x = centre_x - static_cast<float>(ImageWidth(icon) / 2);
    const float y = centre_y - static_cast<float>(ImageHeight(icon) / 2);
    switch (which) {
    case 1:
        Particles_FromImage(ParticlePics.map_hammer[0], Particles_SpawnBurst, Particles_UpdateBurst,
                            4, x, y, 1.0f, spark[1], 0, 0.05f, 30);
        break;
    case 2:
        Particles_FromImage(ParticlePics.map_hammer[1], Particles_SpawnFountain,
                            Particles_UpdateBurst, 8, x, y, 1.0f, spark[6], 32, 1.0f, 30);
        Particles_FromImage(ParticlePics.map_hammer[1], Particles_SpawnBurst, Particles_UpdateBurst,
                            4, x, y, 1.0f, spark[1], 0, 0.1f, 30);
        break;
    case 3:
        Particles_FromImage(ParticlePics.map_hammer[2], Particles_SpawnFountain,
                            Particles_UpdateBurst, 4, x, y, 1.0f, spark[6], 32, 1.0f, 30);
        Particles_FromImage(ParticlePics.map_hammer[2], Particles_SpawnBurst, Particles_UpdateBurst,
                            2, x, y, 1.0f, spark[1], 0, 0.4f, 30);
        break;
    default:
        break;
    }
}

void Particles_TimeAlarm() {
    Particles_FromImage(ParticlePics.map_candle, Particles_SpawnAlarm, Particles_UpdateAlarm, 20,
                        689.0f, 116.0f, 1.0f, GfxPics.spark[8], 32, 0.5f, 1);
}
