// Small drawing kit shared by the scenery, board-tile and spark pictures: seeded dice, smooth
// noise, a float canvas shaded pixel by pixel with supersampling, and clean-up for filtered
// scaling.
#pragma once

#include "tools/art/art.h"

#include <cmath>
#include <cstdint>
#include <random>
#include <vector>

// Kept in a namespace of its own: other picture groups have helpers with similar names.
namespace scenekit {

// Seeded random numbers: the same seed always draws the same picture.
struct Dice {
    std::mt19937 gen;
    explicit Dice(unsigned seed) : gen(seed) {}
    double Real(double lo, double hi) { return lo + (hi - lo) * (gen() / 4294967296.0); }
    int Int(int lo, int hi) {
        return lo + static_cast<int>(gen() % static_cast<unsigned>(hi - lo + 1));
    }
    bool Chance(double p) { return Real(0.0, 1.0) < p; }
};

// Premultiplied colour; straight colours go in through Rgba_Straight.
struct Rgba {
    double r = 0, g = 0, b = 0, a = 0;
};
Rgba Rgba_Straight(double r, double g, double b, double a = 1.0);
Rgba Rgba_Hex(const char* hex, double a = 1.0);
Rgba Rgba_Over(Rgba dst, Rgba src);            // src drawn over dst
Rgba Rgba_Add(Rgba dst, Rgba src);             // additive light, alpha kept to 1
Rgba Rgba_Scale(Rgba c, double k);             // fades colour and alpha together
Rgba Rgba_Mix(Rgba a, Rgba b, double t);       // straight-line blend of two colours
Rgba Rgba_Tone(Rgba c, double k);              // brightens (k > 1) or darkens colour
double Smooth(double e0, double e1, double x); // smoothstep
inline double Clamp01(double x) {
    return x < 0 ? 0 : (x > 1 ? 1 : x);
}

// Value noise in 0..1, smooth, deterministic per seed; Fbm sums octaves (also 0..1).
double Noise2(double x, double y, unsigned seed);
double Fbm(double x, double y, int octaves, unsigned seed);
// Noise that wraps every `period` units in x and y (seamless tiles and loops).
double Noise2Wrap(double x, double y, int period, unsigned seed);

// Light shapes, 0..1: a four-ray twinkle (rays of length `len`, thickness `width`) and a round
// glow (bright core plus a long soft halo).
double Twinkle(double dx, double dy, double len, double width);
double Glow(double r, double core, double halo);
// Signed distance to a rounded rectangle (negative inside) and distance to a segment.
double RoundRectSdf(double x, double y, double x0, double y0, double x1, double y1, double r);
double SegmentDistance(double px, double py, double ax, double ay, double bx, double by);

// Shades a w x h picture: fn(x, y) gives the premultiplied colour at a point in pixel units
// (pixel centres at +0.5), averaged over ss x ss samples per pixel for clean antialiasing.
template <class Fn> Picture Shade(int w, int h, int ss, Fn fn);

// Converts averaged premultiplied colour into the picture's straight RGBA.
void Picture_Put(Picture& p, int x, int y, Rgba c);

// Gives fully transparent pixels the colour of their nearest visible neighbours, so filtered
// scaling does not pull dark fringes into antialiased edges.
void Picture_BleedEdges(Picture& p);

// Composes `above` over `below` (same size), straight alpha in and out.
Picture Picture_Over(const Picture& below, const Picture& above);

// Crops a w x h window of a picture (frames made on a larger canvas).
Picture Picture_Crop(const Picture& p, int x, int y, int w, int h);

template <class Fn> Picture Shade(int w, int h, int ss, Fn fn) {
    Picture p = Picture_New(w, h);
    const double step = 1.0 / ss;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            Rgba sum;
            for (int j = 0; j < ss; ++j)
                for (int i = 0; i < ss; ++i) {
                    Rgba c = fn(x + (i + 0.5) * step, y + (j + 0.5) * step);
                    sum.r += c.r, sum.g += c.g, sum.b += c.b, sum.a += c.a;
                }
            Picture_Put(p, x, y, Rgba_Scale(sum, 1.0 / (ss * ss)));
        }
    return p;
}

// The six landscapes in front of the sky (scene_land.cpp).
void Scene_DrawLandscapes(const ArtContext& ctx);

} // namespace scenekit
