// The night behind every screen: three skies, three cloud layers, the star and snowflake sprites,
// and (scene_land.cpp) the six landscapes in front. The game draws the sky tinted to 155 of 255,
// so the sky pictures are stored brighter by that factor to show the intended night colours.
#include "tools/art/scene_kit.h"

#include <algorithm>
#include <cmath>

namespace {

using namespace scenekit;

const double kPi = std::acos(-1.0);
constexpr int kW = 800, kH = 600;
constexpr double kSkyTint = 155.0 / 255.0; // the colour the game multiplies the sky with

// Night gradient top to horizon, as it should look on screen.
Rgba NightAt(double y, double horizon) {
    double t = y / horizon;
    if (t < 0.5) return Rgba_Mix(Rgba_Hex("#0b1633"), Rgba_Hex("#1c3466"), Smooth(0, 0.5, t));
    return Rgba_Mix(Rgba_Hex("#1c3466"), Rgba_Hex("#3b5d96"), Smooth(0.5, 1.0, std::min(t, 1.15)));
}

struct SkyStyle {
    unsigned seed;
    double horizon;
    double moon_x, moon_y, moon_r; // moon_r 0: no moon
    double crescent;               // 0 full moon, else how far the shadow disc is offset
    double aurora;                 // strength of the green-violet curtains
    double milky;                  // strength of the band of faint stars
};

double MoonLight(const SkyStyle& s, double x, double y, double* disc) {
    *disc = 0;
    if (s.moon_r <= 0) return 0;
    double dx = x - s.moon_x, dy = y - s.moon_y, r = std::hypot(dx, dy);
    double body = Smooth(s.moon_r + 0.7, s.moon_r - 0.7, r);
    if (s.crescent > 0) {
        double sx = dx - s.crescent * s.moon_r * 0.55, sy = dy + s.crescent * s.moon_r * 0.25;
        body *= Smooth(s.moon_r - 0.9, s.moon_r + 0.9, std::hypot(sx, sy));
    }
    *disc = body;
    // a tight glow: the moon stands clear of the board, and its light must not wash over it
    double halo = 0.20 * std::exp(-std::max(0.0, r - s.moon_r) / 28.0) +
                  0.05 * std::exp(-std::max(0.0, r - s.moon_r) / 90.0);
    return halo * (s.crescent > 0 ? 0.6 : 1.0);
}

Picture Sky(const SkyStyle& s) {
    Picture p = Picture_New(kW, kH);
    Dice dice(s.seed);
    for (int y = 0; y < kH; ++y)
        for (int x = 0; x < kW; ++x) {
            Rgba c = NightAt(y + 0.5, s.horizon);
            double haze = Fbm(x / 180.0, y / 90.0, 4, s.seed) - 0.5;
            c = Rgba_Tone(c, 1.0 + 0.16 * haze);
            double disc = 0;
            double halo = MoonLight(s, x + 0.5, y + 0.5, &disc);
            c = Rgba_Add(c, Rgba_Scale(Rgba_Hex("#9fb9e6"), halo));
            if (s.aurora > 0) {
                double wave = 150 + 45 * std::sin(x / 140.0 + 1.3) + 25 * std::sin(x / 47.0);
                double curtain = std::exp(-std::pow((y - wave) / 60.0, 2)) *
                                 (0.45 + 0.55 * Fbm(x / 9.0, y / 140.0, 3, s.seed + 5));
                double fade = Smooth(0, 160, x) * Smooth(kW, kW - 200, x);
                Rgba tint = Rgba_Mix(Rgba_Hex("#3fd0a8"), Rgba_Hex("#8a6cff"),
                                     Smooth(wave - 40, wave - 110, y));
                c = Rgba_Add(c, Rgba_Scale(tint, s.aurora * curtain * fade));
            }
            if (s.milky > 0) {
                double band = std::exp(-std::pow((y - (60 + x * 0.42)) / 70.0, 2));
                double dust = Fbm(x / 30.0, y / 30.0, 5, s.seed + 9);
                c = Rgba_Add(
                    c, Rgba_Scale(Rgba_Hex("#8fa6d8"), s.milky * band * Smooth(0.35, 0.8, dust)));
            }
            if (disc > 0) {
                double dx = x + 0.5 - s.moon_x, dy = y + 0.5 - s.moon_y;
                double maria = Fbm(dx / 9.0 + 40, dy / 9.0 + 40, 3, s.seed + 3);
                double limb = 1.0 - 0.18 * Clamp01(std::hypot(dx, dy) / s.moon_r);
                Rgba moon =
                    Rgba_Tone(Rgba_Hex("#fbfaf0"), (0.86 + 0.14 * Smooth(0.62, 0.4, maria)) * limb);
                c = Rgba_Mix(c, moon, disc);
            }
            // stored brighter so that the game's tint brings it back; fine noise keeps the JPEG
            // from banding
            double grain = (dice.Real(-1, 1)) / 255.0;
            Picture_Put(p, x, y,
                        Rgba_Straight(c.r / kSkyTint + grain, c.g / kSkyTint + grain,
                                      c.b / kSkyTint + grain, 1.0));
        }
    // faint fixed stars baked into the sky; the twinkling ones are sprites on top
    int count = 420;
    for (int i = 0; i < count; ++i) {
        int x = dice.Int(0, kW - 1), y = dice.Int(0, static_cast<int>(s.horizon * 0.9));
        double fade = 1.0 - y / s.horizon;
        double b = dice.Real(0.15, 0.55) * fade;
        if (s.moon_r > 0 && std::hypot(x - s.moon_x, y - s.moon_y) < s.moon_r * 2.2) continue;
        std::uint8_t* d = &p.rgba[(static_cast<size_t>(y) * kW + x) * 4];
        for (int k = 0; k < 3; ++k)
            d[k] =
                static_cast<std::uint8_t>(std::min(255.0, d[k] + b * 255 * (k == 2 ? 1.0 : 0.9)));
    }
    return p;
}

// ---- clouds --------------------------------------------------------------------------------

struct CloudStyle {
    unsigned seed;
    double sx, sy;      // noise scale: wide, flat bands or rounder heaps
    double shear;       // slant of the streaks
    double cover;       // how much of the sky they fill (threshold)
    double top, bottom; // the band of sky they live in
    double strength;    // peak opacity
};

double CloudDensity(const CloudStyle& s, double x, double y) {
    double u = (x + y * s.shear) / s.sx, v = y / s.sy;
    double warp = Fbm(u * 0.5 + 3, v * 0.5 - 2, 3, s.seed + 7) - 0.5;
    double n = Fbm(u + warp * 1.5, v + warp, 6, s.seed);
    double band = Smooth(s.top - 60, s.top + 40, y) * Smooth(s.bottom + 40, s.bottom - 80, y);
    return Smooth(s.cover, s.cover + 0.22, n) * band;
}

Picture Clouds(const CloudStyle& s) {
    Picture p = Picture_New(kW, kH);
    for (int y = 0; y < kH; ++y)
        for (int x = 0; x < kW; ++x) {
            double d = CloudDensity(s, x, y);
            if (d <= 0.001) continue;
            // edges facing the moon (upper left) catch more light
            double rim = Clamp01((d - CloudDensity(s, x - 5, y - 5)) * 2.5);
            Rgba c = Rgba_Mix(Rgba_Hex("#5f739e"), Rgba_Hex("#b9c9ea"), Clamp01(0.25 + rim));
            Picture_Put(p, x, y, Rgba_Scale(c, s.strength * d));
        }
    return p;
}

// ---- stars and snowflakes ------------------------------------------------------------------

Picture Sprite(int size, auto fn) {
    Picture p = Shade(size, size, 4,
                      [&](double x, double y) { return fn(x - size / 2.0, y - size / 2.0); });
    Picture_BleedEdges(p);
    return p;
}

Rgba WhiteLight(double i) {
    return Rgba_Straight(1, 1, 1, Clamp01(i));
}

Rgba StarDot(double x, double y) {
    double r = std::hypot(x, y);
    return WhiteLight(Glow(r, 4.5, 3.5) * Smooth(16, 11, r));
}

Rgba StarCross(double x, double y) {
    double r = std::hypot(x, y);
    return WhiteLight(std::max(Glow(r, 4.0, 3.0), Twinkle(x, y, 15, 1.4)) * Smooth(16, 12, r));
}

Rgba StarBright(double x, double y) {
    double r = std::hypot(x, y);
    double a = (x + y) * std::sqrt(0.5), b = (y - x) * std::sqrt(0.5);
    double rays = std::max(Twinkle(x, y, 23, 0.9), 0.5 * Twinkle(a, b, 12, 0.7));
    return WhiteLight(std::max(Glow(r, 2.6, 4.5), rays) * Smooth(24, 18, r));
}

Rgba FlakeSoft(double x, double y) {
    double r = std::hypot(x, y);
    return Rgba_Straight(0.95, 0.97, 1.0, 0.95 * Smooth(13, 4, r));
}

// A six-armed crystal with side branches.
Rgba FlakeCrystal(double x, double y) {
    double r = std::hypot(x, y), best = 1e9;
    for (int k = 0; k < 6; ++k) {
        double a = k * kPi / 3 - kPi / 2, ca = std::cos(a), sa = std::sin(a);
        best = std::min(best, SegmentDistance(x, y, 0, 0, ca * 13, sa * 13));
        for (double at : {6.0, 9.5}) {
            double len = at < 7 ? 4.5 : 3.0;
            for (double side : {-1.0, 1.0}) {
                double b = a + side * kPi / 3;
                best = std::min(best,
                                SegmentDistance(x, y, ca * at, sa * at, ca * at + std::cos(b) * len,
                                                sa * at + std::sin(b) * len));
            }
        }
    }
    double arms = Smooth(1.3, 0.5, best);
    return Rgba_Straight(0.96, 0.98, 1.0,
                         Clamp01(std::max(arms, Glow(r, 2.5, 2)) * Smooth(16, 14, r)));
}

Rgba FlakeFluffy(double x, double y) {
    double r = std::hypot(x, y);
    double lump = Fbm(x / 3.5 + 20, y / 3.5 + 20, 3, 91) - 0.5;
    return Rgba_Straight(0.94, 0.96, 1.0, 0.9 * Smooth(11, 3, r + 8 * lump));
}

void DrawScene(const ArtContext& ctx) {
    // The moons sit in the top-left corner of the board's area, where the light comes from and
    // which the levels' boards leave free most often: of the 150 levels, 27 reach into the full
    // moon's disc and 26 into the crescent's (the spots further in, where they stood before,
    // are covered in 96 and 88). A faint band of stars keeps the sky seen through the ice from
    // being a bare gradient.
    const SkyStyle skies[] = {
        {101, 470, 24, 26, 22, 0.0, 0.0, 0.06},
        {202, 460, 0, 0, 0, 0.0, 0.20, 0.05},
        {303, 480, 24, 28, 20, 1.0, 0.0, 0.10},
    };
    const char* sky_names[] = {"images/bckg_SkyA1.jpg", "images/bckg_SkyA2.jpg",
                               "images/bckg_SkyA3.jpg"};
    for (int i = 0; i < 3; ++i)
        Art_WriteJpeg(ctx, sky_names[i], Sky(skies[i]), 92);

    const CloudStyle clouds[] = {
        {11, 260, 50, 0.15, 0.50, 40, 330, 0.55}, // long banks
        {22, 150, 80, 0.05, 0.53, 20, 360, 0.60}, // heaps
        {33, 120, 26, -0.9, 0.50, 10, 300, 0.45}, // slanted streaks
    };
    const char* cloud_names[] = {"images/bckg_CloudsA1.png", "images/bckg_CloudsA2.png",
                                 "images/bckg_CloudsA3.png"};
    for (int i = 0; i < 3; ++i) {
        Picture c = Clouds(clouds[i]);
        Picture_BleedEdges(c);
        Art_WritePng(ctx, cloud_names[i], c);
    }

    Art_WritePng(ctx, "images/Sky_Star1.png", Sprite(32, StarDot));
    Art_WritePng(ctx, "images/Sky_Star2.png", Sprite(32, StarCross));
    Art_WritePng(ctx, "images/Sky_Star3.png", Sprite(48, StarBright));
    Art_WritePng(ctx, "images/Snow_Flake1.png", Sprite(32, FlakeSoft));
    Art_WritePng(ctx, "images/Snow_Flake2.png", Sprite(32, FlakeCrystal));
    Art_WritePng(ctx, "images/Snow_Flake3.png", Sprite(32, FlakeFluffy));

    Scene_DrawLandscapes(ctx);
}

} // namespace

ART_MODULE(scene, DrawScene);
