// A review mock-up of the panel corner that shows the candle and the hammer meter, composed
// from the written pictures at the positions the game draws them.
#include "tools/art/objects.h"
#include "tools/art/povray.h"

#include <string>

namespace {

Picture Load(const ArtContext& ctx, const std::string& name) {
    Picture p;
    if (!Picture_ReadPng(ctx.out_dir + "/" + name, &p)) Art_Fail("review: cannot read " + name);
    return p;
}

Picture Frame(const Picture& strip, int w, int h, int i) {
    int cols = strip.w / w;
    return Picture_Crop(strip, (i % cols) * w, (i / cols) * h, w, h);
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
        Picture_Over(panel, Frame(candle, 64, 116, f), 701 - x0, 132 - y0);
        Picture_Over(panel, Frame(flame, 48, 48, k % 4), 709 - x0,
                     static_cast<int>(116 + 2.375 * f) - y0);
        Picture_Over(panel, Frame(oval, 103, 115, 9), 682 - x0, 413 - y0);
        Picture_Over(panel, Frame(hammer, 60, 99, 0), 734 - 30 - x0, 476 - 49 - y0);
        if (k == 0) {
            Picture_Over(panel, Tint(map_candle), 689 - x0, 116 - y0);
            Picture_Over(panel, Tint(map_hammer), 705 - x0, 436 - y0);
        }
        Picture_Over(sheet, panel, k * 120, 0);
    }
    ArtContext review = ctx;
    review.out_dir = dir;
    Art_WritePng(review, "panel_candle_hammer.png", sheet);
}
