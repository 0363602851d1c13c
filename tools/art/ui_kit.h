// Shared drawing pieces of the interface pictures: frosted-glass panels with a silver rim, snow
// caps, soft glows and shadows, lettering with depth, and a small seeded random source.
#pragma once

#include "tools/art/art.h"

#include <random>

// Deterministic random numbers: the same seed gives the same pictures on every build.
struct UiRand {
    std::mt19937 gen;
    explicit UiRand(unsigned seed) : gen(seed) {}
    double Uniform(double lo, double hi) {
        return lo + (hi - lo) * (static_cast<double>(gen()) / 4294967296.0);
    }
};

// Palette of the winter night, as cairo colours.
void Ui_Set(cairo_t* cr, const char* hex, double alpha = 1.0);

// Blurs a premultiplied ARGB32 surface in place (three box passes, close to a Gaussian).
void Ui_Blur(cairo_surface_t* s, int radius);

// Paints the current path as a soft glow of `radius` pixels in the given colour, without
// touching the path.
void Ui_GlowPath(cairo_t* cr, const char* hex, double alpha, int radius, double spread = 0.0);

// A frosted-glass panel: dark blue body lit from the top left, a silver-blue rim and a thin
// inner highlight. `fill` is the body's opacity.
void Ui_FrostPanel(cairo_t* cr, double x, double y, double w, double h, double r,
                   double fill = 0.82, double rim = 2.0);

// Snow lying on a top edge from x to x + w at height y: a soft lumpy band with a lit top and a
// blue-grey shade below. `depth` is the thickest point.
void Ui_SnowCap(cairo_t* cr, double x, double y, double w, double depth, unsigned seed);

// A six-armed snowflake centred at (x, y) with arms of length r, stroked in the current source.
void Ui_Snowflake(cairo_t* cr, double x, double y, double r, double line_width);

// Lettering with a shadow, a dark rim and a vertical gradient fill from `top` to `bottom`.
struct UiLettering {
    ArtFont font = ArtFont::Display;
    double size = 28;
    const char* top = "#ffffff";
    const char* bottom = "#c9d8f0";
    const char* rim = "#0b1633";
    double rim_width = 3.0;
    double shadow_alpha = 0.6;
    double glow_alpha = 0.0; // warm glow behind the letters, 0 for none
    double glow_radius = 0;  // blur of the glow in pixels; 0 picks a third of the size
    const char* glow = "#ffd36b";
};
void Ui_Letter(cairo_t* cr, const UiLettering& style, const std::string& text, double x, double y,
               double align = 0.5);
