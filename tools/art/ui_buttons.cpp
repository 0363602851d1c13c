// Buttons: frosted-glass pills with a silver rim and a little snow on top. The idle picture is
// cool blue, the hovered one warmer and brighter; the menu buttons' 16 frames carry a soft
// diagonal light band that crosses the button (frame 0 is the resting face).
#include "tools/art/ui.h"
#include "tools/art/ui_kit.h"

#include <cmath>

namespace {

struct ButtonShape {
    int w, h;      // picture size
    double top;    // space above the body left for the snow
    double radius; // corner radius of the body
    double snow;   // snow depth, 0 for none
    unsigned seed;
};

void BodyPath(cairo_t* cr, const ButtonShape& b) {
    Art_RoundRect(cr, 1, b.top, b.w - 2, b.h - b.top - 1, b.radius);
}

void DrawFace(cairo_t* cr, const ButtonShape& b, bool on, double band) {
    double bx = 1, by = b.top, bw = b.w - 2, bh = b.h - b.top - 1;
    Ui_FrostPanel(cr, bx, by, bw, bh, b.radius, 0.92, 2.0);
    cairo_save(cr);
    BodyPath(cr, b);
    cairo_clip(cr);
    if (on) { // lit up: a brighter, icier body with a faint warm glow from below
        cairo_pattern_t* q = cairo_pattern_create_linear(0, by, 0, by + bh);
        cairo_pattern_add_color_stop_rgba(q, 0, 0.42, 0.62, 0.92, 0.55);
        cairo_pattern_add_color_stop_rgba(q, 0.6, 0.23, 0.36, 0.59, 0.35);
        cairo_pattern_add_color_stop_rgba(q, 1, 0.23, 0.36, 0.59, 0.15);
        cairo_set_source(cr, q);
        cairo_paint(cr);
        cairo_pattern_destroy(q);
        Art_RoundRect(cr, bx + 2.5, by + 2.5, bw - 5, bh - 5, b.radius - 2); // icy inner rim
        cairo_set_source_rgba(cr, 0.62, 0.85, 0.96, 0.45);
        cairo_set_line_width(cr, 2);
        cairo_stroke(cr);
    }
    if (b.h > 60) { // a large button carries a faint snowflake etched into its glass
        cairo_set_source_rgba(cr, 0.85, 0.93, 1.0, on ? 0.12 : 0.08);
        Ui_Snowflake(cr, bx + bw * 0.74, by + bh * 0.6, bh * 0.34, 2.2);
    }
    // Glassy sheen on the upper half.
    Art_RoundRect(cr, bx + 4, by + 3, bw - 8, bh * 0.42, b.radius * 0.7);
    cairo_pattern_t* sheen = cairo_pattern_create_linear(0, by + 3, 0, by + 3 + bh * 0.42);
    cairo_pattern_add_color_stop_rgba(sheen, 0, 1, 1, 1, on ? 0.30 : 0.20);
    cairo_pattern_add_color_stop_rgba(sheen, 1, 1, 1, 1, 0.02);
    cairo_set_source(cr, sheen);
    cairo_fill(cr);
    cairo_pattern_destroy(sheen);
    if (band > -1.0) { // the shimmer: a slanted soft band at horizontal position `band` (0..1)
        double cx = -0.3 * b.w + band * 1.6 * b.w;
        cairo_pattern_t* s = cairo_pattern_create_linear(cx - 26, 0, cx + 26, 0);
        cairo_pattern_add_color_stop_rgba(s, 0.0, 1, 1, 1, 0.0);
        cairo_pattern_add_color_stop_rgba(s, 0.5, 1, 1, 1, 0.42);
        cairo_pattern_add_color_stop_rgba(s, 1.0, 1, 1, 1, 0.0);
        cairo_matrix_t m;
        cairo_matrix_init_translate(&m, 0, 0);
        cairo_matrix_init(&m, 1, 0, 0.55, 1, -0.55 * b.h / 2, 0); // slant the band
        cairo_pattern_set_matrix(s, &m);
        cairo_set_source(cr, s);
        cairo_paint(cr);
        cairo_pattern_destroy(s);
    }
    cairo_restore(cr);
    if (on) { // warm rim over the silver one
        BodyPath(cr, b);
        Ui_Set(cr, "#ffd36b", 0.85);
        cairo_set_line_width(cr, 1.6);
        cairo_stroke(cr);
    }
    if (b.snow > 0) Ui_SnowCap(cr, b.radius * 0.6, b.top + 1, b.w * 0.42, b.snow, b.seed);
}

Picture Face(const ButtonShape& b, bool on, double band) {
    Sketch s = Sketch_New(b.w, b.h);
    DrawFace(s.cr, b, on, band);
    return Sketch_Finish(s);
}

// Glow behind a hovered button: the body's shape, spread and blurred, in warm candle light.
Picture Glow(const ButtonShape& b, int dx, int dy, double radius) {
    Sketch s = Sketch_New(b.w + 2 * dx, b.h + 2 * dy);
    double inset = radius * 0.5;
    Art_RoundRect(s.cr, dx + inset, dy + b.top + inset * 0.5, b.w - 2 * inset, b.h - b.top - inset,
                  b.radius);
    Ui_GlowPath(s.cr, "#ffd36b", 0.95, static_cast<int>(radius), radius * 0.3);
    cairo_new_path(s.cr);
    Art_RoundRect(s.cr, dx + inset, dy + b.top + inset * 0.5, b.w - 2 * inset, b.h - b.top - inset,
                  b.radius);
    Ui_GlowPath(s.cr, "#fff3b0", 0.6, static_cast<int>(radius * 0.4));
    return Sketch_Finish(s);
}

} // namespace

void Ui_Buttons(const ArtContext& ctx) {
    const ButtonShape menu{151, 42, 4, 13, 7, 11};
    std::vector<Picture> off, on;
    for (int f = 0; f < 16; ++f) {
        double band = f == 0 ? -2.0 : (f - 1) / 14.0;
        off.push_back(Face(menu, false, band));
        on.push_back(Face(menu, true, band));
    }
    Art_WritePng(ctx, "images/interface/button_gx_off.png", Art_Strip(off, 8));
    Art_WritePng(ctx, "images/interface/button_gx_on.png", Art_Strip(on, 8));
    Art_WritePng(ctx, "images/interface/button_gx_glow.png", Glow(menu, 4, 11, 9));

    // Selected marker: drawn over the chosen button at a third of its opacity, so it is bright.
    Sketch sel = Sketch_New(151, 42);
    Art_RoundRect(sel.cr, 1, 4, 149, 37, 13);
    cairo_pattern_t* p = cairo_pattern_create_linear(0, 4, 0, 41);
    cairo_pattern_add_color_stop_rgba(p, 0, 1.0, 0.95, 0.69, 0.9);
    cairo_pattern_add_color_stop_rgba(p, 1, 1.0, 0.6, 0.24, 0.9);
    cairo_set_source(sel.cr, p);
    cairo_fill_preserve(sel.cr);
    cairo_pattern_destroy(p);
    cairo_set_source_rgba(sel.cr, 1, 1, 1, 1);
    cairo_set_line_width(sel.cr, 3);
    cairo_stroke(sel.cr);
    Art_WritePng(ctx, "images/interface/button_gx_selected.png", Sketch_Finish(sel));

    const ButtonShape play{112, 77, 9, 22, 12, 23};
    Art_WritePng(ctx, "images/interface/button_gx_play_off.png", Face(play, false, -2));
    Art_WritePng(ctx, "images/interface/button_gx_play_on.png", Face(play, true, -2));
    Art_WritePng(ctx, "images/interface/button_gx_play_glow.png", Glow(play, 5, 5, 8));

    const ButtonShape small{94, 26, 2, 9, 0, 31};
    Art_WritePng(ctx, "images/interface/button_anim2_off.png", Face(small, false, -2));
    Art_WritePng(ctx, "images/interface/button_anim2_on.png", Face(small, true, -2));
    Art_WritePng(ctx, "images/interface/button_anim2_glow.png", Glow(small, 3, 7, 6));
}
