// Lettering and emblems: the game's title, the maker's wordmark and the publisher emblem of the
// start-up splash, the win and game-over words, and the yellow pointer arrow of the help tips.
#include "tools/art/ui.h"
#include "tools/art/ui_kit.h"

#include <cmath>

namespace {

// Sparkles: small four-pointed stars of light.
void Sparkle(cairo_t* cr, double x, double y, double r, double alpha) {
    cairo_save(cr);
    cairo_translate(cr, x, y);
    cairo_move_to(cr, 0, -r);
    cairo_curve_to(cr, r * 0.12, -r * 0.12, r * 0.12, -r * 0.12, r, 0);
    cairo_curve_to(cr, r * 0.12, r * 0.12, r * 0.12, r * 0.12, 0, r);
    cairo_curve_to(cr, -r * 0.12, r * 0.12, -r * 0.12, r * 0.12, -r, 0);
    cairo_curve_to(cr, -r * 0.12, -r * 0.12, -r * 0.12, -r * 0.12, 0, -r);
    cairo_set_source_rgba(cr, 1, 1, 1, alpha);
    cairo_fill(cr);
    cairo_restore(cr);
}

// Snow lying on the upward-facing edges of lettering: the letters moved up a few pixels, less
// the letters themselves, leave a thin cap on every top edge.
void SnowOnLetters(cairo_t* cr, double size, const std::string& text, double x, double y) {
    double lift = size * 0.055, rim = 4.5;
    cairo_push_group(cr);
    Art_SetFont(cr, ArtFont::Display, size);
    cairo_new_path(cr);
    Art_TextPath(cr, text, x, y - lift, 0.5);
    cairo_set_line_width(cr, rim * 2);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_pattern_t* p = cairo_pattern_create_linear(0, y - size * 0.8, 0, y);
    cairo_pattern_add_color_stop_rgb(p, 0, 1, 1, 1);
    cairo_pattern_add_color_stop_rgb(p, 1, 0.87, 0.91, 0.97);
    cairo_set_source(cr, p);
    cairo_stroke_preserve(cr);
    cairo_fill(cr);
    cairo_pattern_destroy(p);
    cairo_set_operator(cr, CAIRO_OPERATOR_DEST_OUT); // keep only what pokes above the letters
    Art_TextPath(cr, text, x, y + 0.5, 0.5);
    cairo_set_line_width(cr, rim * 2);
    cairo_stroke_preserve(cr);
    cairo_fill(cr);
    cairo_pop_group_to_source(cr);
    cairo_paint(cr);
}

// "Snowmere" large in icy letters, "Brimlet" small above it in warm gold; at most 432 wide.
Picture Title() {
    const int w = 432, h = 156;
    Sketch s = Sketch_New(w, h);
    cairo_t* cr = s.cr;
    UiLettering brand;
    brand.size = 30;
    brand.top = "#fff3b0";
    brand.bottom = "#ff9a3c";
    brand.rim = "#2a1606";
    brand.rim_width = 2.2;
    brand.glow_alpha = 0.35;
    Ui_Letter(cr, brand, "Brimlet", w / 2.0, 38);
    Art_SetFont(cr, ArtFont::Display, 30);
    double bw = Art_TextWidth(cr, "Brimlet") / 2 + 14;
    Ui_Set(cr, "#ffd36b", 0.85);
    for (int side : {-1, 1}) { // little rules either side of the maker's name
        cairo_move_to(cr, w / 2.0 + side * bw, 27);
        cairo_line_to(cr, w / 2.0 + side * (bw + 60), 27);
        cairo_set_line_width(cr, 1.5);
        cairo_stroke(cr);
        Ui_Snowflake(cr, w / 2.0 + side * (bw + 70), 27, 7, 1.4);
    }
    UiLettering name;
    name.size = 100;
    name.top = "#ffffff";
    name.bottom = "#8fc8f0";
    name.rim = "#0b1633";
    name.rim_width = 4.5;
    name.glow_alpha = 0.6;
    name.glow_radius = 10;
    name.glow = "#9fd8f5";
    name.shadow_alpha = 0.7;
    Art_SetFont(cr, ArtFont::Display, name.size);
    while (Art_TextWidth(cr, "Snowmere") > w - 36) {
        name.size -= 2;
        Art_SetFont(cr, ArtFont::Display, name.size);
    }
    Ui_Letter(cr, name, "Snowmere", w / 2.0, 128);
    SnowOnLetters(cr, name.size, "Snowmere", w / 2.0, 128);
    UiRand rnd(3);
    for (int i = 0; i < 7; ++i)
        Sparkle(cr, rnd.Uniform(40, w - 40), rnd.Uniform(50, 120), rnd.Uniform(3, 7),
                rnd.Uniform(0.6, 0.95));
    return Sketch_Finish(s);
}

// The maker's logo on the black splash screen: a warm "Brimlet" wordmark with a candle glow.
Picture MakerLogo() {
    const int w = 480, h = 270;
    Sketch s = Sketch_New(w, h);
    cairo_t* cr = s.cr;
    cairo_set_source_rgb(cr, 0, 0, 0);
    cairo_paint(cr);
    cairo_pattern_t* halo =
        cairo_pattern_create_radial(w / 2.0, h / 2.0, 10, w / 2.0, h / 2.0, 200);
    cairo_pattern_add_color_stop_rgba(halo, 0, 0.11, 0.2, 0.4, 0.9);
    cairo_pattern_add_color_stop_rgba(halo, 1, 0, 0, 0, 0);
    cairo_set_source(cr, halo);
    cairo_paint(cr);
    cairo_pattern_destroy(halo);
    UiLettering mark;
    mark.size = 110;
    mark.top = "#fff3b0";
    mark.bottom = "#ff9a3c";
    mark.rim = "#1a0c02";
    mark.rim_width = 3;
    mark.glow_alpha = 0.5;
    Ui_Letter(cr, mark, "Brimlet", w / 2.0, 165);
    Art_SetFont(cr, ArtFont::Sans, 15);
    cairo_new_path(cr);
    Art_TextPath(cr, "W I N T E R   G A M E S", w / 2.0, 212, 0.5);
    Ui_Set(cr, "#c9d8f0", 0.9);
    cairo_fill(cr);
    Ui_Set(cr, "#e6f7ff", 0.9);
    Ui_Snowflake(cr, w / 2.0, 48, 16, 2.2);
    return Sketch_Finish(s);
}

// The small publisher emblem: a round frosted badge with a snowflake and a lantern-warm ring.
Picture PublisherEmblem() {
    const int w = 180, h = 180;
    Sketch s = Sketch_New(w, h);
    cairo_t* cr = s.cr;
    double c = w / 2.0;
    cairo_arc(cr, c, c - 8, 62, 0, 2 * M_PI);
    Ui_GlowPath(cr, "#ffd36b", 0.5, 12, 2);
    cairo_pattern_t* p = cairo_pattern_create_radial(c - 20, c - 30, 4, c, c - 8, 62);
    cairo_pattern_add_color_stop_rgb(p, 0, 0.23, 0.36, 0.59);
    cairo_pattern_add_color_stop_rgb(p, 1, 0.04, 0.09, 0.2);
    cairo_set_source(cr, p);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(p);
    Ui_Set(cr, "#ffd36b");
    cairo_set_line_width(cr, 4);
    cairo_stroke(cr);
    cairo_arc(cr, c, c - 8, 55, 0, 2 * M_PI);
    Ui_Set(cr, "#b8cce8", 0.8);
    cairo_set_line_width(cr, 1.5);
    cairo_stroke(cr);
    Ui_Set(cr, "#f4f8ff");
    Ui_Snowflake(cr, c, c - 8, 38, 4);
    cairo_arc(cr, c, c - 8, 6, 0, 2 * M_PI);
    Ui_Set(cr, "#ffd36b");
    cairo_fill(cr);
    UiLettering label;
    label.font = ArtFont::Display;
    label.size = 26;
    label.top = "#fff3b0";
    label.bottom = "#ffd36b";
    label.rim_width = 2;
    Ui_Letter(cr, label, "Brimlet", c, h - 6);
    return Sketch_Finish(s);
}

// "You win!" in near-white: the game tints each copy with a random colour as it flies out.
Picture YouWin() {
    Sketch s = Sketch_New(320, 110);
    UiLettering l;
    l.size = 72;
    l.top = "#ffffff";
    l.bottom = "#dde8f8";
    l.rim = "#3a4a66";
    l.rim_width = 3;
    l.shadow_alpha = 0.5;
    Ui_Letter(s.cr, l, "You win!", 160, 78);
    return Sketch_Finish(s);
}

Picture GameOver() {
    Sketch s = Sketch_New(420, 120);
    UiLettering l;
    l.size = 84;
    l.top = "#e6f7ff";
    l.bottom = "#6fa8dc";
    l.rim = "#0b1633";
    l.rim_width = 4;
    l.glow_alpha = 0.6;
    l.glow_radius = 10; // stays well inside the picture
    l.glow = "#1e5bff";
    l.shadow_alpha = 0.7;
    Ui_Letter(s.cr, l, "Game Over", 210, 88);
    return Sketch_Finish(s);
}

// Arrow pointing up: its tip is the middle of the top edge, where the game aims it.
Picture ArrowYellow() {
    const int w = 46, h = 62;
    Sketch s = Sketch_New(w, h);
    cairo_t* cr = s.cr;
    auto shape = [&](double inset) {
        cairo_new_path(cr);
        cairo_move_to(cr, w / 2.0, 2 + inset * 1.6);
        cairo_line_to(cr, w - 2 - inset * 1.6, 28 - inset * 0.2);
        cairo_line_to(cr, 31 - inset, 28 - inset * 0.2);
        cairo_line_to(cr, 31 - inset, h - 3 - inset);
        cairo_line_to(cr, 15 + inset, h - 3 - inset);
        cairo_line_to(cr, 15 + inset, 28 - inset * 0.2);
        cairo_line_to(cr, 2 + inset * 1.6, 28 - inset * 0.2);
        cairo_close_path(cr);
    };
    shape(0);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    Ui_Set(cr, "#4a2a04");
    cairo_set_line_width(cr, 3);
    cairo_stroke_preserve(cr);
    cairo_pattern_t* p = cairo_pattern_create_linear(0, 0, w, h);
    cairo_pattern_add_color_stop_rgb(p, 0, 1.0, 0.95, 0.69);
    cairo_pattern_add_color_stop_rgb(p, 0.45, 1.0, 0.83, 0.42);
    cairo_pattern_add_color_stop_rgb(p, 1, 1.0, 0.6, 0.24);
    cairo_set_source(cr, p);
    cairo_fill(cr);
    cairo_pattern_destroy(p);
    // Highlight along the upper-left facets.
    cairo_move_to(cr, w / 2.0, 7);
    cairo_line_to(cr, 8, 25);
    cairo_move_to(cr, 18, 30);
    cairo_line_to(cr, 18, h - 7);
    cairo_set_source_rgba(cr, 1, 1, 1, 0.7);
    cairo_set_line_width(cr, 2);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_stroke(cr);
    return Sketch_Finish(s);
}

} // namespace

void Ui_Titles(const ArtContext& ctx) {
    Art_WritePng(ctx, "images/interface/title.png", Title());
    Art_WriteJpeg(ctx, "images/interface/logo_Tarnwick.jpg", MakerLogo(), 92);
    Art_WritePng(ctx, "images/interface/logo_small_QP.png", PublisherEmblem());
    Art_WritePng(ctx, "images/interface/youwin.png", YouWin());
    Art_WritePng(ctx, "images/interface/gameover.png", GameOver());
    Art_WritePng(ctx, "images/interface/arrow_yellow.png", ArrowYellow());
}
