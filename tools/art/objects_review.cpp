// A review mock-up of the panel corner that shows the candle and the hammer meter, composed
// from the written pictures at the positions the game draws them.
#include "tools/art/objects.h"
#include "tools/art/povray.h"

#include <cmath>
#include <string>

namespace {

Picture Load(const ArtContext& ctx, const std::string& name) {
    Picture p;
    if (!Picture_ReadPng(ctx.out_dir + "/" + name, &p)) Art_Fail("review: cannot read " + name);
    return p;
}

Picture Frame(const Picture& strip, int w, int h, int i) {
    int cols = strip.w / w;
    return Pov_Crop(strip, (i % cols) * w, (i / cols) * h, w, h);
}

// The shape of a particle map as a translucent red tint (black pixels left out).
Picture Tint(const Picture& map) {
    Picture t = map;
    for (size_t i = 0; i < t.rgba.size(); i += 4) {
        bool in = map.rgba[i] > 0;
        t.rgba[i] = 255;
        t.rgba[i + 1] = t.rgba[i + 2] = 0;
        t.rgba[i + 3] = in ? 70 : 0;
    }
    return t;
}

} // namespace

void Objects_ReviewPanel(const ArtContext& ctx, const std::string& dir) {
    Picture candle = Load(ctx, "images/interface/Candle.png");
    Picture flame = Load(ctx, "images/hourglass/flame_anim.png");
    Picture hammer = Load(ctx, "images/interface/hammer.png");
    Picture oval = Load(ctx, "images/interface/ovale_hammer2.png");
    Picture map_candle = Load(ctx, "images/interface/map_candle.png");
    Picture map_hammer = Load(ctx, "images/interface/map_hammer.png");
    const int burnt[4] = {0, 10, 20, 31};
    const int x0 = 670, y0 = 90; // the mock-up shows the screen from here, 120 x 450
    Picture sheet = Picture_New(4 * 120, 450);
    for (int k = 0; k < 4; ++k) {
        Sketch s = Sketch_New(120, 450);
        cairo_set_source_rgb(s.cr, 0.05, 0.09, 0.2);
        cairo_paint(s.cr);
        cairo_set_source_rgb(s.cr, 28 / 255.0, 43 / 255.0, 69 / 255.0);
        cairo_rectangle(s.cr, 685 - x0, 112 - y0, 95, 145);
        cairo_rectangle(s.cr, 686 - x0, 418 - y0, 97, 107);
        cairo_fill(s.cr);
        Picture panel = Sketch_Finish(s);
        int f = burnt[k];
        Pov_Over(panel, Frame(candle, 64, 116, f), 701 - x0, 132 - y0);
        Pov_Over(panel, Frame(flame, 48, 48, k % 4), 709 - x0,
                 static_cast<int>(116 + 2.375 * f) - y0);
        Pov_Over(panel, Frame(oval, 103, 115, 9), 682 - x0, 413 - y0);
        Pov_Over(panel, Frame(hammer, 60, 99, 0), 734 - 30 - x0, 476 - 49 - y0);
        if (k == 0) {
            Pov_Over(panel, Tint(map_candle), 689 - x0, 116 - y0);
            Pov_Over(panel, Tint(map_hammer), 705 - x0, 436 - y0);
        }
        Pov_Over(sheet, panel, k * 120, 0);
    }
    ArtContext review = ctx;
    review.out_dir = dir;
    Art_WritePng(review, "panel_candle_hammer.png", sheet);
}

namespace {

// Draws frame i of a strip centred on (cx, cy) at `scale`, turned by `angle` radians.
void Put(cairo_t* cr, const Picture& strip, int w, int h, int i, double cx, double cy, double scale,
         double angle = 0) {
    cairo_surface_t* src = Picture_ToCairo(Frame(strip, w, h, i));
    cairo_save(cr);
    cairo_translate(cr, cx, cy);
    cairo_rotate(cr, angle);
    cairo_scale(cr, scale, scale);
    cairo_set_source_surface(cr, src, -w / 2.0, -h / 2.0);
    cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_BILINEAR);
    cairo_paint(cr);
    cairo_restore(cr);
    cairo_surface_destroy(src);
}

} // namespace

void Objects_ReviewPieces(const ArtContext& ctx, const std::string& dir) {
    Picture gem1 = Load(ctx, "images/pieces/Gem1.png"), gem4 = Load(ctx, "images/pieces/Gem4.png");
    Picture gem2 = Load(ctx, "images/pieces/Gem2.png");
    Picture chain1 = Load(ctx, "images/chain1.png"), chain2 = Load(ctx, "images/chain2.png");
    Picture bomb = Load(ctx, "images/pumpkinx9.png"), crystal = Load(ctx, "images/multicolor.png");
    Picture ball = Load(ctx, "images/launcher.png"), cube = Load(ctx, "images/tar.png");
    for (int cell : {38, 48, 57}) {
        const int n = 8;
        Sketch s = Sketch_New(cell * n, cell);
        for (int x = 0; x < n; ++x) {
            Art_SetHex(s.cr, x % 2 ? "#1b3566" : "#20407a");
            cairo_rectangle(s.cr, x * cell, 0, cell, cell);
            cairo_fill(s.cr);
        }
        double sc = cell / 48.0 * 0.9, cy = cell / 2.0;
        auto cx = [&](int x) { return (x + 0.5) * cell; };
        Put(s.cr, gem1, 53, 40, 0, cx(0), cy, sc);
        Put(s.cr, chain1, 48, 48, 0, cx(0), cy, sc);
        Put(s.cr, gem4, 68, 48, 0, cx(1), cy, sc);
        Put(s.cr, chain2, 48, 48, 0, cx(1), cy, sc);
        Put(s.cr, gem2, 48, 48, 0, cx(2), cy, sc);
        double off = 5 * cell / 48.0 + 2;
        Put(s.cr, bomb, 54, 54, 0, cx(2) + off, cy + off, sc * 0.7);
        Put(s.cr, crystal, 48, 48, 0, cx(3), cy, sc);
        Put(s.cr, ball, 48, 48, 0, cx(4), cy, sc);
        Put(s.cr, cube, 77, 40, 0, cx(5), cy, 0.8, 0.0);
        Put(s.cr, cube, 77, 40, 20, cx(6), cy, 0.8, 1.1);
        Put(s.cr, ball, 48, 48, 5, cx(7), cy, sc, M_PI);
        Picture p = Sketch_Finish(s);
        ArtContext review = ctx;
        review.out_dir = dir;
        Art_WritePng(review, "pieces_" + std::to_string(cell) + ".png", p);
    }
}
