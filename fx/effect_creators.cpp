// The creators: one per effect, each appending its sprites to the list.
#include "engine/frame.h"
#include "engine/gfx.h"
#include "engine/system.h"
#include "fx/effects.h"
#include "fx/effects_internal.h"
#include "fx/trig.h"

#include <algorithm>
#include <cmath>

namespace {

Gfx_Obj Gfx_New(int kind, Image* image, float x, float y, int z) {
    Gfx_Obj o;
    o.name = kind;
    o.image = image;
    o.xr = x;
    o.yr = y;
    o.z_order = z;
    return o;
}

void Gfx_Zoom(Gfx_Obj& o, float zoom) {
    o.zoom_x = zoom;
    o.zoom_y = zoom;
}

// Effects aimed at a cell start from its centre in the cell art's scale.
float Gfx_CentreX(int x) {
    return x + GfxBoard.half_width * GfxBoard.scale_x;
}
float Gfx_CentreY(int y) {
    return y + GfxBoard.half_height * GfxBoard.scale_y;
}

// A random whole-degree heading 0..359.
int Gfx_Heading() {
    return Rand(1, 360) - 1;
}

// Sparks fly out of a cell and fall; the snowball's trail uses the same sparks, turned.
Gfx_Obj Gfx_SparkAt(int kind, Image* image, int x, int y) {
    Gfx_Obj o = Gfx_New(kind, image, Gfx_CentreX(x) + Rnd(-8, 8), Gfx_CentreY(y) + Rnd(-8, 8), 10);
    o.step_x = DeltaSec * Rnd(-60, 60);
    o.step_y = DeltaSec * Rnd(-60, 60);
    o.move_accel = 0.6f + 0.002f * Rnd(0, 100);
    Gfx_Zoom(o, 1.5f);
    o.alpha = 1.0f;
    return o;
}

void Gfx_BurstFrom(Gfx_Obj& o, int heading) {
    o.spd_x = CosTable[heading];
    o.spd_y = SinTable[heading];
}

void Gfx_PerspectiveSteps(Gfx_Obj& o, float a, float b, float side, float depth) {
    o.step_x = static_cast<float>(Cos(a) * Cos(b) * side);
    o.step_y = static_cast<float>(Cos(a) * Sin(b) * side);
    o.step_z = static_cast<float>(Sin(a) * depth);
}

struct Gfx_Tint {
    int r, g, b;
};

Gfx_Tint Gfx_KindTint(int kind) {
    static const Gfx_Tint tints[8] = {{255, 255, 255}, {255, 255, 255}, {255, 60, 60},
                                      {220, 150, 50},  {220, 220, 50},  {50, 250, 70},
                                      {22, 80, 250},   {250, 50, 250}};
    return kind >= 1 && kind <= 7 ? tints[kind] : tints[0];
}

float Gfx_Jitter(int c) {
    return static_cast<float>(std::clamp(c + Rand(-50, 50), 0, 255));
}

} // namespace

void Gfx_LaserLines(int x, int y) {
    Gfx_Obj o =
        Gfx_New(Gfx_Laser, nullptr, Gfx_CentreX(x) + Rand(-5, 5), Gfx_CentreY(y) + Rand(-5, 5), 10);
    o.alpha = 0.75f;
    o.width = 0.1f;
    Gfx_Add(o);
}

void Gfx_Explosion(int x, int y, float density) {
    const int n = Gfx_DensityCount(density);
    for (int i = 0; i < n; ++i) {
        Gfx_Obj o = Gfx_SparkAt(Gfx_Spark, GfxPics.spark[1], x, y);
        o.delay_start = Trunc(Rnd(0, 50));
        o.z_order = Rnd(0, 10) >= 7 ? -10 : 10;
        Gfx_Add(o);
    }
}

void Gfx_SparkRing(int x, int y, float density) {
    const int n = Gfx_DensityCount(density);
    for (int i = 0; i < n; ++i) {
        Gfx_Obj o = Gfx_New(Gfx_Spark, GfxPics.spark[1], x, y, -10);
        const int a = Rand(1, 359);
        // One speed per spark for both axes, so the ring stays round.
        const float speed = (300 + Rand(1, 100)) * DeltaSec;
        o.step_x = CosTable[a] * speed;
        o.step_y = SinTable[a] * speed;
        o.move_accel = 0.2f + 0.002f * Rnd(0, 100);
        Gfx_Zoom(o, 1.7f);
        o.alpha = 1.0f;
        o.delay_start = Trunc(Rnd(0, 50));
        Gfx_Add(o);
    }
}

void Gfx_IceSparkle(int x, int y, float zoom) {
    const float step = DeltaMs * 0.01f;
    const int w = GfxBoard.cell_width, h = GfxBoard.cell_height;
    float d = 1.0f;
    auto spark = [&](int px, int py, float sx, float sy) {
        Gfx_Obj o = Gfx_New(Gfx_CellOutline, GfxPics.spark[2], px, py, -10);
        o.step_x = sx;
        o.step_y = sy;
        o.delay_start = Trunc(d);
        Gfx_Zoom(o, zoom);
        o.state = 1;
        Gfx_Add(o);
        d += 20.0f;
    };
    for (int i = 1; i <= w; i += 4)
        spark(x + i, y, step, 0.0f);
    for (int i = 1; i <= h; i += 4)
        spark(x + w, y + i, 0.0f, step);
    for (int i = w; i > 0; i -= 4)
        spark(x + i, y + h, -step, 0.0f);
    for (int i = h; i > 0; i -= 4)
        spark(x, y + i, 0.0f, -step);
}

void Gfx_HintSparkles(int x0, int y0, int dx, int dy) {
    for (int i = 0; i <= GfxBoard.cell_width; i += 3) {
        Gfx_Obj o = Gfx_New(Gfx_Glitter, GfxPics.spark[5], x0 + dx * i, y0 + dy * i, -10);
        o.delay_start = Trunc(Rnd(0, 1000));
        o.alpha = 1.0f;
        o.Fadeout = 32.0f;
        Gfx_Zoom(o, 0.75f);
        o.state = 1;
        Gfx_Add(o);
    }
}

void Gfx_Rebuild(int x, int y, float density) {
    const int n = Gfx_DensityCount(density);
    for (int i = 0; i < n; ++i) {
        Gfx_Obj o = Gfx_New(Gfx_Dust, GfxPics.spark[1], Gfx_CentreX(x) + Rnd(-2, 2),
                            Gfx_CentreY(y) + Rnd(-2, 2), 10);
        o.step_x = DeltaSec * Rnd(-30, 30);
        o.step_y = DeltaSec * Rnd(-30, 30);
        Gfx_Zoom(o, 1.5f);
        o.delay_start = Trunc(Rnd(0, 20));
        o.alpha = 0.5f;
        Gfx_Add(o);
    }
}

void Gfx_Firework() {
    const int cx = Trunc(Rnd(-100, 100)), cy = Trunc(Rnd(-100, 100));
    const int n = Trunc(InstFps * 0.5 + 1);
    for (int i = 0; i < n; ++i) {
        Gfx_Obj o = Gfx_New(Gfx_FireworkSpark, GfxPics.spark[4], cx, cy, -10);
        o.zr = 200.0f;
        o.delay_start = Trunc(Rnd(0, 10));
        const float a = Rnd(0, 360), b = Rnd(0, 360);
        Gfx_PerspectiveSteps(o, a, b, 0.05f, 0.1f);
        o.alpha = 0.75f + Rnd(0, 0.25f);
        Gfx_Add(o);
    }
}

void Gfx_ScoreSparkle(Image* const tiles[3]) {
    double n = std::min(InstFps * 0.5, 40.0);
    if (LowFpsMode == LOW_FPS_LOW) n = InstFps * 0.35;
    if (LowFpsMode == LOW_FPS_VERY_LOW) n = InstFps * 0.15;
    const int count = Trunc(n) + 1;
    for (int i = 0; i < count; ++i) {
        Image* tile = tiles ? tiles[std::clamp(Trunc(Rnd(0, 3)), 0, 2)] : nullptr;
        Gfx_Obj o =
            Gfx_New(Gfx_PieceFirework, tile, Trunc(Rnd(-100, 100)), Trunc(Rnd(-100, 100)), -10);
        o.img_count = tile ? tile->frames : 1;
        o.anim_period = Rand(10, 20);
        o.delay_start = Trunc(Rnd(0, 1000));
        o.zr = 100.0f + Rnd(0, 100);
        const float a = Rnd(0, 359), b = Rnd(0, 359);
        Gfx_PerspectiveSteps(o, a, b, 0.01f, 0.05f);
        o.rotate_accel = Rnd(0, 100) <= 50 ? -0.01f : 0.01f;
        o.state = 1;
        Gfx_Add(o);
    }
}

void Gfx_TilesFlyAway(const std::vector<Gfx_Point>& cells, float fade) {
    int vx, vy, vw, vh;
    GetViewport(&vx, &vy, &vw, &vh);
    const Gfx_Board& b = GfxBoard;
    for (const Gfx_Point& c : cells) {
        const int px = b.origin_x + c.x * b.cell_width - b.view_x;
        const int py = b.origin_y + c.y * b.cell_height - b.view_y;
        if (px <= vx || px >= vx + vw || py <= vy || py >= vy + vh) continue;
        Gfx_Obj o = Gfx_New(Gfx_FlyingTile, GfxPics.tile_empty, px, py, -10);
        o.alpha = fade;
        o.delay_start = Rand(1, 3000);
        o.move_angle = static_cast<float>(ATan2(-2000, px - ScreenCentreX));
        o.move_speed = (std::abs(py - 500) + std::abs(px - ScreenCentreX)) * 0.05f;
        o.move_accel = 300.0f;
        o.zoom_x = b.scale_x;
        o.zoom_y = b.scale_y;
        Gfx_Add(o);
    }
}

void Gfx_YouWin() {
    const int n = Trunc(std::min(InstFps * 0.07, 2.0)) + 1;
    for (int i = 0; i < n; ++i) {
        const int x = Trunc(Rnd(200, ScreenWidth - 200));
        const int y = Trunc(Rnd(200, ScreenHeight - 200));
        Gfx_Obj o = Gfx_New(Gfx_Victory, GfxPics.you_win, x, y, -10);
        const double h = ATan2(y - ScreenCentreY, x - ScreenCentreX);
        o.step_x = static_cast<float>(Cos(h));
        o.step_y = static_cast<float>(Sin(h));
        Gfx_Zoom(o, 0.1f);
        o.delay_start = Trunc(Rnd(0, 1500));
        o.state = 1;
        o.move_speed = 50 + Rnd(0, 155); // the tint: red, green, blue
        o.move_accel = 50 + Rnd(0, 155);
        o.move_angle = Rnd(0, 255);
        Gfx_Add(o);
    }
}

void Gfx_IceBreak(int x, int y) {
    for (int i = 0; i < 5; ++i) {
        Gfx_Obj o = Gfx_New(Gfx_IceShard, GfxPics.tile_part, x, y, 10);
        const int a = Gfx_Heading();
        const float s = Rnd(50, 120);
        o.spd_x = s * CosTable[a];
        o.spd_y = s * SinTable[a];
        o.move_accel = Rnd(100, 200);
        o.alpha = 1.0f;
        o.img_id = static_cast<float>(Trunc(Rnd(0, 20)));
        o.anim_period = 30;
        Gfx_Add(o);
    }
    const int sparks = Trunc(std::min(InstFps * 0.5, 50.0));
    for (int i = 0; i < sparks; ++i) {
        Gfx_Obj o = Gfx_New(Gfx_ShardSpark, GfxPics.spark[6], x, y, 10);
        Gfx_BurstFrom(o, Gfx_Heading());
        o.move_speed = Rnd(50, 100);
        o.move_accel = -Rnd(100, 300);
        o.alpha = Rand(5, 10) * 0.1f;
        o.anim_period = 30;
        Gfx_Add(o);
    }
}

void Gfx_SnowBreak(int x, int y) {
    for (int i = 0; i < 10; ++i) {
        Gfx_Obj o = Gfx_New(Gfx_Burst, GfxPics.spark_snowball, x, y, 10);
        Gfx_BurstFrom(o, Gfx_Heading());
        const float s = Rnd(15, 30);
        o.spd_x *= s;
        o.spd_y *= s;
        o.move_accel = Rnd(5, 10);
        o.alpha = 1.0f;
        Gfx_Add(o);
    }
}

void Gfx_PieceVanish(int x, int y) {
    const int n = std::max(InstFps, 50);
    for (int i = 0; i < n; ++i) {
        Gfx_Obj o = Gfx_New(Gfx_Burst, GfxPics.spark[7], x, y, 10);
        Gfx_BurstFrom(o, Gfx_Heading());
        o.move_speed = Rnd(30, 70);
        o.move_accel = -Rnd(50, 100);
        o.alpha = Rand(8, 10) * 0.1f;
        o.anim_period = 30;
        Gfx_Add(o);
    }
}

void Gfx_SnowPuffs(int x, int y, int width, int step_min, int step_max) {
    const int per_step = InstFps > 50 ? 2 : 1;
    // A step of at least one pixel, so a bad range cannot stall the loop.
    for (int o_x = 0; o_x < width; o_x += std::max(Rand(step_min, step_max), 1)) {
        for (int k = 0; k < per_step; ++k) {
            Gfx_Obj o = Gfx_New(Gfx_Burst, GfxPics.snow_flake[Rand(0, 2)], x + o_x, y, 10);
            o.move_speed = Rnd(30, 40);
            o.move_accel = -Rnd(10, 500);
            o.spd_x = Rnd(-3, 3);
            o.spd_y = Rnd(-3, 3);
            o.alpha = Rnd(0.5f, 1.0f);
            o.anim_period = 30;
            Gfx_Add(o);
        }
    }
}

void Gfx_HammerSparks(float scale, int count, const std::vector<Gfx_Point>& centres, int kind,
                      Gfx_Point target) {
    const Gfx_Tint tint = Gfx_KindTint(kind);
    const int n = Trunc(5 * scale);
    for (const Gfx_Point& p : centres) {
        const double heading = ATan2(target.y - p.y, target.x - p.x);
        for (int i = 0; i <= count; ++i) {
            const float sx = static_cast<float>(p.x + Rand(-1, 1) * (16 + Rand(1, 16)));
            const float sy = static_cast<float>(p.y + Rand(-1, 1) * (16 + Rand(1, 16)));
            Gfx_Obj o = Gfx_New(Gfx_HammerSpark, GfxPics.spark[9], sx, sy, 20);
            const double h = heading + Rand(-1, 1);
            o.spd_x = static_cast<float>(Cos(h));
            o.spd_y = static_cast<float>(Sin(h));
            o.Red = Gfx_Jitter(tint.r);
            o.Green = Gfx_Jitter(tint.g);
            o.Blue = Gfx_Jitter(tint.b);
            o.delay_start = Trunc(1000 + Rnd(0, 500));
            o.move_speed = Rnd(300, 400);
            o.step_x = 0.004f * Rand(-100, 100);
            o.step_y = 0.004f * Rand(-100, 100);
            o.alpha = 0.5f + 0.01f * Rand(1, 50);
            // Whole sevenths on purpose: the integer division makes most sparks full size and
            // only every seventh step of n a little smaller, which keeps the burst bright.
            o.scale = scale - static_cast<float>((n > 0 ? Rand(1, n) : Rand(0, 1)) / 7);
            o.img_count = 32;
            o.img_id = static_cast<float>(Rand(0, 31));
            o.anim_period = 5;
            // Where it flies to, kept in the spare depth fields.
            o.zr = static_cast<float>(target.x);
            o.step_z = static_cast<float>(target.y);
            Gfx_Add(o);
        }
    }
}

void Gfx_ChainBreak(int x, int y) {
    const int n = Trunc(std::max(InstFps * 0.3, 20.0));
    for (int i = 0; i < n; ++i) {
        Gfx_Obj o = Gfx_New(Gfx_ChainLink, GfxPics.chain_link, x, y, 10);
        o.move_speed = Rnd(70, 130);
        o.move_accel = -Rnd(30, 50);
        const int m = 360 - (Rand(1, 90) + 90);
        const float a = Rnd(0, static_cast<float>(m)), b = Rnd(0, static_cast<float>(m));
        Gfx_PerspectiveSteps(o, a, b, 1.0f, 1.0f);
        o.alpha = 2.0f;
        o.img_id = static_cast<float>(Rand(0, 14));
        o.rotate_angle = static_cast<float>(Rand(1, 359));
        Gfx_Add(o);
    }
}

void Gfx_SnowballTrail(int x, int y, float density) {
    const int n = Gfx_DensityCount(density);
    for (int i = 0; i < n; ++i) {
        Gfx_Obj o = Gfx_SparkAt(Gfx_SnowballSpark, GfxPics.spark_snowball, x, y);
        o.zoom_x = Rnd(1.0f, 1.5f);
        o.zoom_y = Rnd(1.0f, 1.5f);
        o.delay_start = Trunc(Rnd(0, 20));
        o.z_order = Rnd(0, 10) >= 7 ? -10 : 10;
        o.rotate_speed = static_cast<float>(Rand(50, 100));
        o.rotate_accel = Rnd(100, 250);
        o.rotate_angle = static_cast<float>(Rand(1, 360));
        Gfx_Add(o);
    }
}

void Gfx_SpecialSparkle(int x, int y, float density) {
    const int n = Gfx_DensityCount(density);
    for (int i = 1; i <= n; ++i) {
        Gfx_Obj o = Gfx_New(Gfx_ComboRing, GfxPics.combo_effect, x + GfxBoard.half_width,
                            y + GfxBoard.half_height, 10);
        Gfx_Zoom(o, 0.8f);
        o.delay_start = i * 100;
        o.rotate_speed = 15.0f;
        o.rotate_accel = 15.0f;
        o.rotate_angle = static_cast<float>(Rand(1, 360));
        o.alpha = 1.0f;
        o.img_count = 32;
        Gfx_Add(o);
    }
}
