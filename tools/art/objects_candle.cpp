// The candle of the time display: the rendered candle, its four-frame flame and the shape the
// time-alarm sparks rise from.
#include "tools/art/objects.h"
#include "tools/art/povray.h"

#include <cmath>

namespace {

// A teardrop flame standing on (24, 42): tip swaying by `sway`, taller by `grow` pixels.
void FlameShape(cairo_t* cr, double w, double tip_y, double sway, double bottom_y) {
    const double cx = 24, tx = cx + sway, h = bottom_y - tip_y;
    cairo_move_to(cr, tx, tip_y);
    cairo_curve_to(cr, tx + w * 0.25, tip_y + h * 0.35, cx + w * 1.05, bottom_y - w * 1.7, cx + w,
                   bottom_y);
    cairo_arc(cr, cx, bottom_y, w, 0, M_PI);
    cairo_curve_to(cr, cx - w * 1.05, bottom_y - w * 1.7, tx - w * 0.25, tip_y + h * 0.35, tx,
                   tip_y);
    cairo_close_path(cr);
}

Picture Flame(int i) {
    const double sway[4] = {0, 1.3, -0.7, 0.7}, grow[4] = {0, -1.6, 1.2, -0.6},
                 wide[4] = {1, 0.94, 1.05, 0.98};
    Sketch s = Sketch_New(48, 48);
    cairo_t* cr = s.cr;
    cairo_pattern_t* halo = cairo_pattern_create_radial(24, 31, 0, 24, 31, 21);
    cairo_pattern_add_color_stop_rgba(halo, 0, 1.0, 0.83, 0.42, 0.42);
    cairo_pattern_add_color_stop_rgba(halo, 0.5, 1.0, 0.60, 0.24, 0.14);
    cairo_pattern_add_color_stop_rgba(halo, 1, 1.0, 0.60, 0.24, 0);
    cairo_set_source(cr, halo);
    cairo_paint(cr);
    cairo_pattern_destroy(halo);
    struct Layer {
        double w, tip, bottom, r, g, b, a;
    };
    const Layer layers[] = {
        {5.6, 12, 38.5, 1.0, 0.60, 0.24, 0.85}, // outer flame #ff9a3c
        {4.4, 16, 38.8, 1.0, 0.83, 0.42, 0.95}, // #ffd36b
        {2.8, 23, 39.2, 1.0, 0.95, 0.69, 1.0},  // core #fff3b0
    };
    for (const Layer& l : layers) {
        FlameShape(cr, l.w * wide[i], l.tip + grow[i] * (l.bottom - l.tip) / 26.5,
                   sway[i] * (l.bottom - l.tip) / 26.5, l.bottom);
        cairo_set_source_rgba(cr, l.r, l.g, l.b, l.a);
        cairo_fill(cr);
    }
    // the blue root of the flame just above the wick
    cairo_save(cr);
    cairo_translate(cr, 24, 41);
    cairo_scale(cr, 3.0, 1.6);
    cairo_arc(cr, 0, 0, 1, 0, 2 * M_PI);
    cairo_restore(cr);
    cairo_set_source_rgba(cr, 0.45, 0.62, 1.0, 0.55);
    cairo_fill(cr);
    return Sketch_Finish(s);
}

} // namespace

void Objects_DrawCandle(const ArtContext& ctx, const std::vector<Picture>& candle) {
    Art_WritePng(ctx, "images/interface/Candle.png", Art_Strip(candle));
    std::vector<Picture> flames;
    for (int i = 0; i < 4; ++i)
        flames.push_back(Flame(i));
    Art_WritePng(ctx, "images/hourglass/flame_anim.png", Art_Strip(flames));

    // The alarm sparks are emitted from (689, 116); the candle stands at (701, 132) and its
    // full-height flame at (709, 116), so the shape is the full candle with its flame.
    Picture whole = Picture_New(88, 148);
    Pov_Over(whole, candle[0], 12, 16);
    Picture core = Flame(0);
    for (size_t i = 0; i < core.rgba.size(); i += 4) // the glow around the flame is no shape
        core.rgba[i + 3] = core.rgba[i + 3] >= 200 ? 255 : 0;
    Pov_Over(whole, core, 20, 0);
    Art_WritePng(ctx, "images/interface/map_candle.png", Obj_ShapeMap(whole, 0, 0, 88, 148), true);
}
