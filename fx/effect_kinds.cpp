// How each kind of effect sprite moves, is drawn, ages and goes.
#include "engine/frame.h"
#include "engine/gfx.h"
#include "engine/system.h"
#include "fx/effects.h"
#include "fx/effects_internal.h"
#include "fx/trig.h"

#include <algorithm>
#include <cmath>

namespace {

// ---- Movement ----

bool Gfx_OnBoardLayer(const Gfx_Obj& o) {
    return o.name == Gfx_CellOutline || o.name == Gfx_TrailSpark || o.name == Gfx_Glitter;
}

bool Gfx_Perspective(const Gfx_Obj& o) {
    return o.name == Gfx_FireworkSpark || o.name == Gfx_PieceFirework;
}

// A depth near zero would throw a perspective sprite to infinity.
float Gfx_SafeDepth(float zr) {
    if (std::abs(zr) >= 1.0f) return zr;
    return zr < 0.0f ? -1.0f : 1.0f;
}

void Gfx_Steps(Gfx_Obj& o) {
    o.xr += o.step_x;
    o.yr += o.step_y;
    Gfx_Place(o);
}

void Gfx_StepsWithGravity(Gfx_Obj& o) {
    Gfx_Steps(o);
    o.step_y += o.move_accel * DeltaSec;
}

void Gfx_PerspectiveStep(Gfx_Obj& o, float k) {
    o.xr += k * o.step_x;
    o.yr += k * o.step_y;
    o.zr += k * o.step_z;
    Gfx_Place(o);
}

bool Gfx_OffScene(const Gfx_Obj& o) {
    return o.x < 0 || o.x > GfxBoard.scene_width || o.y < 0 || o.y > GfxBoard.scene_height;
}

// Trail sparks (behind sparks and snowball sparks) and dust trails (behind dust) share their
// start: a small sprite drifting down from where its parent was drawn.
void Gfx_SpawnTrail(int kind, Image* image, int x, int y, float accel_base, float alpha) {
    Gfx_Obj t;
    t.name = kind;
    t.image = image;
    t.xr = static_cast<float>(x);
    t.yr = static_cast<float>(y);
    t.step_x = DeltaSec * Rnd(-2, 2);
    t.step_y = DeltaSec * (1 + Rnd(0, 2));
    t.move_accel = accel_base + 0.5f * Rnd(0, 2);
    t.zoom_x = t.zoom_y = 0.4f;
    t.state = 1;
    t.z_order = 10;
    t.alpha = alpha;
    Gfx_Add(t);
}

// Advances the frame when the timer (falling by `rate` times the frame time) runs out.
void Gfx_Animate(Gfx_Obj& o, float rate, int frames) {
    o.anim_timer = Trunc(o.anim_timer - rate * DeltaMs);
    if (o.anim_timer >= 0) return;
    o.img_id = static_cast<float>((Trunc(o.img_id) + 1) % std::max(frames, 1));
    o.anim_timer = o.anim_period;
}

void Gfx_UpdateLaser(Gfx_Obj& o) {
    if (o.width > 8.0f) {
        o.alpha -= 0.4f * DeltaSec;
        if (o.alpha < 0.0f) {
            Gfx_Remove(o);
            return;
        }
    }
    o.width = std::min(o.width + 15.0f * DeltaSec, 16.0f);
}

void Gfx_UpdateFlyingTile(Gfx_Obj& o) {
    o.move_speed += o.move_accel * DeltaMs / 1000.0f;
    const float d = o.move_speed * DeltaMs / 1000.0f;
    o.xr += static_cast<float>(Cos(o.move_angle)) * d;
    o.yr += static_cast<float>(Sin(o.move_angle)) * d;
    Gfx_Place(o);
    o.zoom_x = std::max(o.zoom_x - 0.00001f * DeltaMs, 0.1f);
    o.zoom_y = o.zoom_x;
}

void Gfx_UpdateShard(Gfx_Obj& o) {
    o.spd_y += o.move_accel * DeltaSec;
    o.xr += o.spd_x * DeltaSec;
    o.yr += o.spd_y * DeltaSec;
    Gfx_Place(o);
    o.alpha -= 0.5f * DeltaSec;
    if (o.alpha <= 0.0f || Gfx_OffScene(o)) {
        Gfx_Remove(o);
        return;
    }
    if (o.anim_period <= 0) return;
    o.anim_timer = Trunc(o.anim_timer - 2 * DeltaMs);
    if (o.anim_timer >= 0) return;
    o.img_id = static_cast<float>((Trunc(o.img_id) + 1) % 20);
    o.anim_timer = o.anim_period;
    o.anim_period = std::max(o.anim_period - 5, 5); // the shard spins faster
}

// Shard sparks and burst sparks: braked along their direction, fading in a second.
void Gfx_UpdateBurst(Gfx_Obj& o) {
    o.move_speed = std::max(o.move_speed + o.move_accel * DeltaSec, 0.0f);
    o.xr += o.spd_x * o.move_speed * DeltaSec;
    o.yr += o.spd_y * o.move_speed * DeltaSec;
    Gfx_Place(o);
    o.alpha -= DeltaSec;
    if (o.alpha <= 0.0f || Gfx_OffScene(o)) {
        Gfx_Remove(o);
        return;
    }
    if (o.name == Gfx_ShardSpark) Gfx_Animate(o, 3.0f, 32);
}

// Once its delay has run out a hammer spark flies straight to the hammer box, fading as it
// nears it; it goes when it arrives (or leaves the scene).
void Gfx_UpdateHammerSpark(Gfx_Obj& o) {
    const float tx = o.zr, ty = o.step_z;
    const float before = (tx - o.xr) * o.spd_x + (ty - o.yr) * o.spd_y;
    const float d = o.move_speed * DeltaSec;
    o.xr += o.spd_x * d;
    o.yr += o.spd_y * d;
    Gfx_Place(o);
    o.alpha = std::min((std::abs(tx - o.x) + std::abs(ty - o.y)) * 0.0005f, 1.0f);
    if (Gfx_OffScene(o) || before <= d) Gfx_Remove(o);
}

void Gfx_UpdateChainLink(Gfx_Obj& o) {
    o.move_speed = std::max(o.move_speed + o.move_accel * DeltaSec, 0.0f);
    const float d = o.move_speed * DeltaSec;
    o.xr += o.step_x * d;
    o.yr += o.step_y * d;
    o.zr += o.step_z * d * 1.5f;
    o.yr += o.spd_y * DeltaSec;
    o.spd_y += 80.0f * DeltaSec; // falling
    Gfx_Place(o);
    o.alpha -= 0.8f * DeltaSec;
    o.img_id += std::max(std::abs(o.zr), 7.0f) * 0.75f * DeltaSec;
    if (o.img_id > 14.0f) o.img_id = 0.0f;
    o.rotate_angle += std::max(std::abs(o.zr), 20.0f) * 3.0f * DeltaSec;
    o.rotate_angle = std::fmod(o.rotate_angle, 360.0f);
    if (o.alpha <= 0.0f || Gfx_OffScene(o)) Gfx_Remove(o);
}

// ---- Drawing ----

void Gfx_Draw(const Gfx_Obj& o) {
    if (o.image)
        DrawImage(o.image, static_cast<float>(o.x), static_cast<float>(o.y), Trunc(o.img_id));
}

void Gfx_Look(int blend, float alpha, float sx, float sy) {
    SetBlend(blend);
    SetAlpha(std::clamp(alpha, 0.0f, 1.0f));
    SetScale(sx, sy);
}

// Grow-then-fade kinds: the state switches once `grown` holds; fading to 0 removes them.
void Gfx_GrowThenFade(Gfx_Obj& o, bool grown) {
    if (o.state == 1 && grown) o.state = 2;
    if (o.alpha <= 0.0f) Gfx_Remove(o);
}

void Gfx_DrawBandLine(float x1, float y1, float x2, float y2, float alpha) {
    SetAlpha(std::clamp(alpha, 0.0f, 1.0f));
    DrawLine(x1, y1, x2, y2);
}

void Gfx_DrawLaser(Gfx_Obj& o) {
    SetBlend(BLEND_LIGHT);
    SetColor(255, 200, 64);
    SetRotation(0.0f);
    const Gfx_Board& b = GfxBoard;
    const float left = static_cast<float>(b.origin_x), right = left + b.pixel_width;
    const float top = static_cast<float>(b.origin_y), bottom = top + b.pixel_height;
    for (const Gfx_BandLine& line : Gfx_LaserBand(o.width)) {
        const float a = o.alpha * line.alpha;
        Gfx_DrawBandLine(left, static_cast<float>(o.y + line.offset), right,
                         static_cast<float>(o.y + line.offset), a);
        Gfx_DrawBandLine(static_cast<float>(o.x + line.offset), top,
                         static_cast<float>(o.x + line.offset), bottom, a);
    }
    SetColor(255, 255, 255);
    SetAlpha(1.0f);
}

// Sparks and snowball sparks: light, shrinking and fading, leaving trail sparks behind.
void Gfx_DrawSpark(Gfx_Obj& o) {
    if (o.name == Gfx_SnowballSpark) {
        o.rotate_speed += o.rotate_accel * DeltaMs / 1000.0f;
        o.rotate_angle += std::fmod(o.rotate_speed * DeltaMs / 1000.0f, 360.0f);
        o.rotate_angle = std::fmod(o.rotate_angle, 360.0f);
        SetRotation(o.rotate_angle);
    }
    Gfx_Look(BLEND_LIGHT, o.alpha, o.zoom_x, o.zoom_y);
    Gfx_Draw(o);
    if (InstFps > 20 && (1.0f - o.alpha) * 100.0f < Rand(1, 100)) {
        // The trail scrolls with the board, so it starts from the spark's board position.
        Gfx_SpawnTrail(Gfx_TrailSpark, GfxPics.spark[4], o.x + GfxBoard.view_x,
                       o.y + GfxBoard.view_y, 1.0f, 0.7f);
    }
    const float fall = DeltaMs / 2500.0f;
    o.alpha -= fall;
    o.zoom_x -= fall;
    o.zoom_y -= fall;
    if (o.alpha <= 0.0f || o.zoom_x <= 0.05f) Gfx_Remove(o);
}

void Gfx_DrawCellOutline(Gfx_Obj& o) {
    SetRotation(o.rotate_angle);
    SetColor(175, 15, 200);
    Gfx_Look(BLEND_LIGHT, o.alpha, o.zoom_x, o.zoom_y);
    Gfx_Draw(o);
    SetColor(255, 255, 255);
    Gfx_Look(BLEND_ALPHA, o.alpha, o.zoom_x * 0.5f, o.zoom_y * 0.5f);
    Gfx_Draw(o);
    if (o.state == 1) {
        o.alpha += DeltaMs / 500.0f;
        o.zoom_x += DeltaMs / 500.0f;
        o.zoom_y = o.zoom_x;
    } else {
        o.alpha -= DeltaMs / 700.0f;
        o.zoom_x -= DeltaMs / 1000.0f;
        o.zoom_y = o.zoom_x;
    }
    Gfx_GrowThenFade(o, o.alpha >= 1.0f);
}

void Gfx_DrawTrailSpark(Gfx_Obj& o) {
    Gfx_Look(BLEND_LIGHT, o.alpha, o.zoom_x, o.zoom_y);
    Gfx_Draw(o);
    if (o.state == 1) {
        o.alpha -= DeltaMs / 1500.0f;
        o.zoom_x += 1.5f * DeltaSec;
        o.zoom_y = o.zoom_x;
    } else {
        o.alpha -= DeltaMs / 500.0f;
    }
    Gfx_GrowThenFade(o, o.zoom_x >= 0.9f);
}

void Gfx_DrawGlitter(Gfx_Obj& o) {
    Gfx_Look(BLEND_LIGHT, o.alpha, o.zoom_x, o.zoom_y);
    Gfx_Draw(o);
    // A frame rate of 0 (the first frame) must not stop the fade.
    o.alpha -= DeltaMs / (std::max(InstFps, 1) * o.Fadeout);
    if (o.alpha <= 0.0f || o.Fadeout <= 0.0f) Gfx_Remove(o);
}

void Gfx_DrawDust(Gfx_Obj& o) {
    SetColor(50, 50, 100);
    Gfx_Look(BLEND_ALPHA, o.alpha, o.zoom_x, o.zoom_y);
    Gfx_Draw(o);
    if (Rand(1, 100) > 50 && InstFps > 20) {
        Gfx_SpawnTrail(Gfx_DustTrail, GfxPics.spark[1], o.x, o.y, 2.0f, 0.2f);
    }
    o.alpha -= DeltaMs / 2500.0f;
    o.zoom_x -= DeltaMs / 1000.0f;
    o.zoom_y = o.zoom_x;
    if (o.alpha <= 0.0f || o.zoom_x <= 0.1f) Gfx_Remove(o);
}

void Gfx_DrawDustTrail(Gfx_Obj& o) {
    SetColor(Trunc(50 * Rnd(0, 2)), Trunc(20 + Rnd(0, 50)), Trunc(150 + Rnd(0, 100)));
    Gfx_Look(BLEND_ALPHA, o.alpha, o.zoom_x, o.zoom_y);
    Gfx_Draw(o);
    if (o.state == 1) {
        o.alpha -= DeltaMs / 700.0f;
        o.zoom_x += 1.5f * DeltaSec;
        o.zoom_y = o.zoom_x;
    } else {
        o.alpha -= DeltaMs / 1000.0f;
    }
    Gfx_GrowThenFade(o, o.zoom_x >= 0.9f);
}

void Gfx_DrawFirework(Gfx_Obj& o) {
    SetColor(Trunc(150 + 50 * Rnd(0, 2)), Trunc(200 + 50 * Rnd(0, 2)), Trunc(50 + Rnd(0, 50)));
    o.zoom_x += 0.0005f * DeltaMs;
    const float s = std::max(100.0f / Gfx_SafeDepth(o.zr) - o.zoom_x, 0.0f);
    Gfx_Look(BLEND_LIGHT, o.alpha, s, s);
    Gfx_Draw(o);
    o.alpha -= 0.0007f * DeltaMs;
    if (o.alpha <= 0.0f) Gfx_Remove(o);
}

void Gfx_DrawPieceFirework(Gfx_Obj& o) {
    o.zoom_x += 0.0005f * DeltaMs;
    const float s = std::max(12.0f / Gfx_SafeDepth(o.zr) + o.zoom_x, 0.0f);
    o.rotate_angle = std::fmod(o.rotate_angle + o.rotate_accel * DeltaMs, 360.0f);
    o.rotate_accel *= 1.01f;
    SetRotation(o.rotate_angle);
    Gfx_Look(BLEND_ALPHA, o.alpha, s, s);
    Gfx_Draw(o);
    if (o.state == 1) {
        o.alpha += 0.001f * DeltaMs;
        if (o.alpha >= 1.0f) o.state = 2;
    } else {
        o.alpha -= 0.0007f * DeltaMs;
        if (o.alpha <= 0.0f) Gfx_Remove(o);
    }
}

// Drawn from its top-left corner whatever the picture's handle.
void Gfx_DrawFlyingTile(Gfx_Obj& o) {
    Gfx_Look(BLEND_ALPHA, o.alpha, o.zoom_x, o.zoom_y);
    if (o.image)
        DrawImage(o.image, o.x + o.image->handle_x * o.zoom_x, o.y + o.image->handle_y * o.zoom_y,
                  0);
    o.alpha -= 0.0004f * DeltaMs;
    if (o.alpha <= 0.0f) Gfx_Remove(o);
}

void Gfx_DrawVictory(Gfx_Obj& o) {
    SetColor(Trunc(o.move_speed), Trunc(o.move_accel), Trunc(o.move_angle));
    o.zoom_x += 0.0005f * DeltaMs;
    Gfx_Look(BLEND_ALPHA, o.alpha, o.zoom_x, o.zoom_x);
    Gfx_Draw(o);
    if (o.state == 1) {
        o.alpha += 0.0015f * DeltaMs;
        if (o.alpha >= 1.0f) o.state = 2;
    } else {
        o.alpha -= 0.0007f * DeltaMs;
        if (o.alpha <= 0.01f) Gfx_Remove(o);
    }
}

void Gfx_DrawShard(Gfx_Obj& o) {
    const float s = 0.8f * o.alpha + 0.3f;
    Gfx_Look(BLEND_ALPHA, o.alpha, s, s);
    Gfx_Draw(o);
}

void Gfx_DrawShardSpark(Gfx_Obj& o) {
    const float s = std::max(o.alpha * 0.7f, 0.1f);
    Gfx_Look(BLEND_LIGHT, o.alpha, s, s);
    Gfx_Draw(o);
}

void Gfx_DrawBurst(Gfx_Obj& o) {
    const float s = std::max(o.alpha, 0.1f);
    SetRotation(o.rotate_angle);
    Gfx_Look(BLEND_LIGHT, o.alpha, s, s);
    Gfx_Draw(o);
    o.rotate_angle += 3.0f * DeltaSec;
}

void Gfx_DrawHammerSpark(Gfx_Obj& o) {
    if (o.delay_start >= 1) {
        // Bursting out of the cell: braked, then drifting back.
        o.xr += o.step_x * o.move_speed * DeltaSec;
        o.yr += o.step_y * o.move_speed * DeltaSec;
        o.move_speed = std::max(o.move_speed - 800.0f * DeltaSec, -20.0f);
        Gfx_Place(o);
    } else {
        o.move_speed = 600.0f;
    }
    SetColor(Trunc(o.Red), Trunc(o.Green), Trunc(o.Blue));
    Gfx_Look(BLEND_LIGHT, o.alpha, o.scale, o.scale);
    Gfx_Draw(o);
    Gfx_Animate(o, 1.0f, o.img_count);
}

void Gfx_DrawChainLink(Gfx_Obj& o) {
    const float s = o.zr >= 0.0f ? 0.31f + std::min(o.zr, 700.0f) * 0.002f
                                 : 0.31f - std::abs(std::max(o.zr, -100.0f)) * 0.003f;
    SetRotation(o.rotate_angle);
    Gfx_Look(BLEND_ALPHA, o.alpha, s, s);
    Gfx_Draw(o);
}

void Gfx_DrawComboRing(Gfx_Obj& o) {
    o.rotate_speed += o.rotate_accel * DeltaMs / 1000.0f;
    o.rotate_angle = std::fmod(o.rotate_angle + o.rotate_speed * DeltaMs / 1000.0f, 360.0f);
    SetRotation(o.rotate_angle);
    Gfx_Look(BLEND_LIGHT, o.alpha, o.zoom_x, o.zoom_y);
    Gfx_Draw(o);
    o.alpha -= 0.7f * DeltaSec;
    o.zoom_x += 0.25f * DeltaSec;
    o.zoom_y = o.zoom_x;
    o.img_id += (o.img_id > 16.0f ? 70.0f : 50.0f) * DeltaSec;
    if (o.alpha <= 0.0f || o.img_id >= o.img_count) Gfx_Remove(o);
}

} // namespace

void Gfx_Place(Gfx_Obj& o) {
    if (Gfx_OnBoardLayer(o)) {
        o.x = Trunc(o.xr - GfxBoard.view_x);
        o.y = Trunc(o.yr - GfxBoard.view_y);
    } else if (Gfx_Perspective(o)) {
        const float z = Gfx_SafeDepth(o.zr);
        o.x = Trunc(o.xr / z * 500 + ScreenCentreX);
        o.y = Trunc(o.yr / z * 500 + ScreenCentreY);
    } else {
        o.x = Trunc(o.xr);
        o.y = Trunc(o.yr);
    }
}

void Gfx_UpdateKind(Gfx_Obj& o) {
    switch (o.name) {
    case Gfx_Laser:
        return Gfx_UpdateLaser(o);
    case Gfx_Dust:
    case Gfx_Victory:
    case Gfx_CellOutline:
    case Gfx_Glitter:
        return Gfx_Steps(o);
    case Gfx_Spark:
    case Gfx_TrailSpark:
    case Gfx_DustTrail:
    case Gfx_SnowballSpark:
        return Gfx_StepsWithGravity(o);
    case Gfx_FireworkSpark:
        return Gfx_PerspectiveStep(o, 10.0f);
    case Gfx_PieceFirework:
        Gfx_PerspectiveStep(o, 5.0f);
        return Gfx_Animate(o, 1.0f, o.img_count);
    case Gfx_FlyingTile:
        return Gfx_UpdateFlyingTile(o);
    case Gfx_IceShard:
        return Gfx_UpdateShard(o);
    case Gfx_ShardSpark:
    case Gfx_Burst:
        return Gfx_UpdateBurst(o);
    case Gfx_HammerSpark:
        return Gfx_UpdateHammerSpark(o);
    case Gfx_ChainLink:
        return Gfx_UpdateChainLink(o);
    default:
        return; // the combo ring is not moved
    }
}

void Gfx_DrawKind(Gfx_Obj& o) {
    switch (o.name) {
    case Gfx_Laser:
        return Gfx_DrawLaser(o);
    case Gfx_Spark:
    case Gfx_SnowballSpark:
        return Gfx_DrawSpark(o);
    case Gfx_CellOutline:
        return Gfx_DrawCellOutline(o);
    case Gfx_TrailSpark:
        return Gfx_DrawTrailSpark(o);
    case Gfx_Glitter:
        return Gfx_DrawGlitter(o);
    case Gfx_Dust:
        return Gfx_DrawDust(o);
    case Gfx_DustTrail:
        return Gfx_DrawDustTrail(o);
    case Gfx_FireworkSpark:
        return Gfx_DrawFirework(o);
    case Gfx_PieceFirework:
        return Gfx_DrawPieceFirework(o);
    case Gfx_FlyingTile:
        return Gfx_DrawFlyingTile(o);
    case Gfx_Victory:
        return Gfx_DrawVictory(o);
    case Gfx_IceShard:
        return Gfx_DrawShard(o);
    case Gfx_ShardSpark:
        return Gfx_DrawShardSpark(o);
    case Gfx_Burst:
        return Gfx_DrawBurst(o);
    case Gfx_HammerSpark:
        return Gfx_DrawHammerSpark(o);
    case Gfx_ChainLink:
        return Gfx_DrawChainLink(o);
    case Gfx_ComboRing:
        return Gfx_DrawComboRing(o);
    default:
        Gfx_Remove(o); // an unknown kind has no rule that would ever end it
    }
}

std::vector<Gfx_BandLine> Gfx_LaserBand(float width) {
    const int w = width <= 8.0f ? Trunc(width) : Trunc(16.0f - width);
    std::vector<Gfx_BandLine> lines{{0, 1.0f}};
    for (int k = 2; k <= w; ++k)
        lines.push_back({k % 2 == 0 ? k / 2 : -(k / 2), 1.0f});
    int h = w / 2;
    const float fade[3] = {0.8f, 0.6f, 0.4f};
    for (int i = 0; i < 3; ++i)
        lines.push_back({h + 1 + i, fade[i]});
    if (w % 2 == 0) --h;
    for (int i = 0; i < 3; ++i)
        lines.push_back({-h - 1 - i, fade[i]});
    return lines;
}
