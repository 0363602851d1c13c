// Sparks, glitter, ice shards and the combo ring: small light sprites. Those drawn additively keep
// a white (or lightly tinted) colour everywhere and carry their shape in alpha, so the light adds
// up cleanly and tints by kind show through; the frame strips loop seamlessly unless they tell a
// one-off story (the combo ring grows and fades once).
#include "tools/art/scene_kit.h"

#include <algorithm>
#include <cmath>
#include <functional>

namespace {

using namespace scenekit;

const double kPi = std::acos(-1.0);
constexpr int kSamples = 4;

// Light of intensity i (0..1) in a colour that turns from `edge` to white as it brightens.
Rgba LightOf(double i, const char* edge) {
    i = Clamp01(i);
    Rgba c = Rgba_Mix(Rgba_Hex(edge), Rgba_Hex("#ffffff"), Smooth(0.25, 0.9, i));
    return Rgba_Scale(c, i);
}

// Fades a sprite's light to nothing before it reaches the frame border.
double Vignette(double r, double half) {
    return Smooth(half, half * 0.72, r);
}

Picture Sprite(int size, std::function<Rgba(double, double)> fn) {
    // big soft sprites need fewer samples per pixel than the small crisp ones
    Picture p = Shade(size, size, size > 64 ? 2 : kSamples,
                      [&](double x, double y) { return fn(x - size / 2.0, y - size / 2.0); });
    Picture_BleedEdges(p);
    return p;
}

Picture Strip(int size, int frames, std::function<Rgba(double, double, int)> fn) {
    std::vector<Picture> out;
    for (int f = 0; f < frames; ++f)
        out.push_back(Sprite(size, [&](double x, double y) { return fn(x, y, f); }));
    return Art_Strip(out, 8);
}

void Rotate(double& x, double& y, double a) {
    double c = std::cos(a), s = std::sin(a);
    double nx = c * x + s * y, ny = -s * x + c * y;
    x = nx, y = ny;
}

// A star of four main rays and four shorter diagonal ones.
double StarLight(double x, double y, double len, double width, double turn) {
    double a = x, b = y;
    Rotate(a, b, turn);
    double main = Twinkle(a, b, len, width);
    Rotate(a, b, kPi / 4);
    double diag = 0.55 * Twinkle(a, b, len * 0.55, width * 0.8);
    return std::max(main, diag);
}

Rgba Spark1(double x, double y) {
    double r = std::hypot(x, y);
    return LightOf(Glow(r, 3.4, 4.0) * Vignette(r, 16), "#bfe6ff");
}

Rgba Spark2(double x, double y) {
    double r = std::hypot(x, y);
    return LightOf(std::max(Twinkle(x, y, 14, 1.1), 0.5 * Glow(r, 2.5, 3)) * Vignette(r, 16),
                   "#e6f7ff");
}

Rgba Spark3(double x, double y) {
    double r = std::hypot(x, y);
    return LightOf(std::max(StarLight(x, y, 15, 1.0, kPi / 4), 0.6 * Glow(r, 4, 5)) *
                       Vignette(r, 16),
                   "#cdeeff");
}

Rgba Spark4(double x, double y) {
    double r = std::hypot(x, y);
    return LightOf(Glow(r, 2.0, 2.2) * Vignette(r, 8), "#e6f7ff");
}

Rgba Spark5(double x, double y) {
    double r = std::hypot(x, y);
    return LightOf(StarLight(x, y, 11, 0.75, 0) * Vignette(r, 12), "#bfe6ff");
}

Rgba Spark7(double x, double y) {
    double r = std::hypot(x, y);
    double a = x, b = y;
    Rotate(a, b, kPi / 4);
    double diamond = Smooth(4.0, 2.0, std::fabs(x) + std::fabs(y));
    return LightOf(std::max({diamond, 0.8 * Twinkle(a, b, 7, 0.6), 0.4 * Glow(r, 2, 2.5)}) *
                       Vignette(r, 8),
                   "#cfe9ff");
}

Rgba SnowballSpark(double x, double y) {
    double r = std::hypot(x, y);
    double lump = Fbm(x / 3.0 + 8, y / 3.0 + 8, 3, 77) - 0.5;
    double body = Smooth(9.5, 4.5, r + 6.0 * lump);
    double lit = 0.85 + 0.15 * Clamp01(0.5 - (x + y) / 20.0);
    Rgba c = Rgba_Straight(0.93 * lit, 0.96 * lit, 1.0, 0.9 * body);
    return Rgba_Add(c, Rgba_Scale(Rgba_Hex("#ffffff"), 0.5 * Glow(r, 2.5, 3) * Vignette(r, 12)));
}

// Loops: a phase in 0..1 per frame; cos(2 pi phase) returns to its start after the last frame.
double Phase(int f, int frames) {
    return static_cast<double>(f) / frames;
}

Rgba Spark6(double x, double y, int f) {
    double ph = Phase(f, 32), r = std::hypot(x, y);
    double pulse = 0.85 + 0.15 * std::cos(2 * kPi * ph);
    double len = 7.5 + 1.5 * std::cos(2 * kPi * ph);
    return LightOf(pulse *
                       std::max(StarLight(x, y, len, 0.7, ph * kPi / 2), 0.5 * Glow(r, 1.8, 2)) *
                       Vignette(r, 10),
                   "#bfe6ff");
}

Rgba Spark8(double x, double y, int f) {
    double ph = Phase(f, 32), r = std::hypot(x, y);
    double flicker = 0.8 + 0.2 * std::cos(2 * kPi * ph) * std::cos(4 * kPi * ph + 0.6);
    return LightOf(flicker * Glow(r, 1.3 + 0.5 * flicker, 1.3) * Vignette(r, 4), "#ffb347");
}

Rgba Spark9(double x, double y, int f) {
    double ph = Phase(f, 32), r = std::hypot(x, y);
    double pulse = 0.85 + 0.15 * std::cos(2 * kPi * ph);
    return LightOf(pulse * std::max(StarLight(x, y, 6.5, 0.65, ph * kPi / 2), 0.6 * Glow(r, 2, 2)) *
                       Vignette(r, 8),
                   "#f4f8ff");
}

// ---- ice shards ----------------------------------------------------------------------------

struct Pt {
    double x, y;
};

bool InsidePolygon(const std::vector<Pt>& poly, double x, double y) {
    bool in = false;
    for (size_t i = 0, j = poly.size() - 1; i < poly.size(); j = i++)
        if ((poly[i].y > y) != (poly[j].y > y) &&
            x < (poly[j].x - poly[i].x) * (y - poly[i].y) / (poly[j].y - poly[i].y) + poly[i].x)
            in = !in;
    return in;
}

double PolygonEdgeDistance(const std::vector<Pt>& poly, double x, double y) {
    double d = 1e9;
    for (size_t i = 0, j = poly.size() - 1; i < poly.size(); j = i++)
        d = std::min(d, SegmentDistance(x, y, poly[j].x, poly[j].y, poly[i].x, poly[i].y));
    return d;
}

// One splinter of broken ice tumbling through a full turn over the strip.
Rgba Shard(double x, double y, int f) {
    static const std::vector<Pt> shard = {
        {-8.5, -4.0}, {-1.0, -8.0}, {8.0, -2.5}, {3.5, 7.5}, {-4.0, 5.0}};
    double ph = Phase(f, 20);
    double spin = 2 * kPi * ph, tumble = std::cos(2 * kPi * ph);
    double squash = 0.35 + 0.65 * std::fabs(tumble);
    double a = x, b = y;
    Rotate(a, b, spin);
    a /= squash;
    if (!InsidePolygon(shard, a, b)) return {};
    double edge = PolygonEdgeDistance(shard, a, b) * squash;
    double facing = 0.6 + 0.4 * tumble; // the broad face catches the light as it turns to us
    Rgba c =
        Rgba_Mix(Rgba_Hex("#c9eeff", 0.78), Rgba_Hex("#5fa6d8", 0.74), Clamp01((a + b + 10) / 20));
    c = Rgba_Tone(c, 0.75 + 0.35 * facing);
    c = Rgba_Over(c, Rgba_Hex("#f2fbff", 0.9 * Smooth(1.3, 0.3, edge)));
    double glint = std::exp(-std::pow(a - b * 0.4 + 1.5, 2) / 1.2) * Smooth(-0.2, 0.9, tumble);
    c = Rgba_Over(c, Rgba_Hex("#ffffff", 0.7 * glint));
    return c;
}

// ---- combo ring ----------------------------------------------------------------------------

Rgba ComboRing(double x, double y, int f) {
    double t = f / 31.0, r = std::hypot(x, y), angle = std::atan2(y, x);
    double flash = Smooth(-0.06, 0.07, t) * std::pow(1.0 - t, 1.1);
    double ring_r = 12 + 44 * std::sqrt(t), ring_w = 2.0 + 5.0 * (1 - t);
    double ring = std::exp(-std::pow((r - ring_r) / ring_w, 2));
    // short spikes thrown outwards from the ring, turning slowly as it grows
    double spike_len = 4 + 16 * (1 - t);
    double beyond = r - ring_r;
    double spikes = std::pow(std::fabs(std::cos(angle * 4 + t * 1.2)), 40) * Smooth(-2, 2, beyond) *
                    Smooth(spike_len, 0, beyond);
    double core = std::exp(-r * r / (90 * (1 - t) + 4)) * (1 - Smooth(0, 0.45, t));
    double light = std::max({ring, 0.8 * spikes, core});
    double stars = 0; // eight sparkles riding the ring
    for (int k = 0; k < 8; ++k) {
        double a = k * kPi / 4 + kPi / 8 + t * 0.9;
        double sx = std::cos(a) * ring_r, sy = std::sin(a) * ring_r;
        stars = std::max(stars, Twinkle(x - sx, y - sy, 7 * (1 - 0.5 * t), 0.9));
    }
    Rgba c = LightOf(light * flash * Vignette(r, 64), "#7fd0ff");
    Rgba gold = Rgba_Scale(Rgba_Hex("#fff3b0"), stars * flash);
    return Rgba_Add(c, gold);
}

Rgba HourglassHalo(double x, double y) {
    double r = std::hypot(x, y);
    double ring = std::exp(-std::pow((r - 40) / 12, 2));
    double inner = 0.3 * std::exp(-r * r / 700);
    double light = std::max(ring, inner) * Vignette(r, 64);
    Rgba c = Rgba_Mix(Rgba_Hex("#ff9a3c"), Rgba_Hex("#ffd36b"), Smooth(50, 20, r));
    return Rgba_Scale(c, light);
}

void DrawSparks(const ArtContext& ctx) {
    Art_WritePng(ctx, "images/spark1.png", Sprite(32, Spark1));
    Art_WritePng(ctx, "images/spark2.png", Sprite(32, Spark2));
    Art_WritePng(ctx, "images/spark3.png", Sprite(32, Spark3));
    Art_WritePng(ctx, "images/spark4.png", Sprite(16, Spark4));
    Art_WritePng(ctx, "images/spark5.png", Sprite(24, Spark5));
    Art_WritePng(ctx, "images/spark7.png", Sprite(16, Spark7));
    Art_WritePng(ctx, "images/spark_snowball.png", Sprite(24, SnowballSpark));
    Art_WritePng(ctx, "images/spark6.png", Strip(20, 32, Spark6));
    Art_WritePng(ctx, "images/spark8.png", Strip(8, 32, Spark8));
    Art_WritePng(ctx, "images/spark9.png", Strip(16, 32, Spark9));
    Art_WritePng(ctx, "images/tile_part1.png", Strip(24, 20, Shard));
    Art_WritePng(ctx, "images/combo_effect1.png", Strip(128, 32, ComboRing));
    Art_WritePng(ctx, "images/hourglass/halo_hourglass_warning.png", Sprite(128, HourglassHalo));
}

} // namespace

ART_MODULE(sparks, DrawSparks);
