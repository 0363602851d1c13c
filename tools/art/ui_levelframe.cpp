// The level chooser's frame around each 72 x 54 thumbnail, in five states: normal, pointed at,
// never started (veiled with a padlock), skipped (amber rim with a skip mark) and the player's
// last level (gold rim with a star).
#include "tools/art/ui.h"
#include "tools/art/ui_kit.h"

#include <cmath>

namespace {

constexpr int W = 80, H = 60;
constexpr double WX = 4, WY = 3, WW = 72, WH = 54; // the thumbnail's place

void Rim(cairo_t* cr, const char* outer, const char* inner, double glow_alpha, const char* glow) {
    cairo_save(cr);
    cairo_set_fill_rule(cr, CAIRO_FILL_RULE_EVEN_ODD);
    Art_RoundRect(cr, 0.5, 0.5, W - 1, H - 1, 7);
    Art_RoundRect(cr, WX, WY, WW, WH, 4);
    if (glow_alpha > 0) {
        Ui_GlowPath(cr, glow, glow_alpha, 3);
    }
    cairo_pattern_t* p = cairo_pattern_create_linear(0, 0, W, H);
    unsigned a = static_cast<unsigned>(std::strtoul(outer + 1, nullptr, 16));
    unsigned b = static_cast<unsigned>(std::strtoul(inner + 1, nullptr, 16));
    cairo_pattern_add_color_stop_rgb(p, 0, (a >> 16) / 255.0, ((a >> 8) & 255) / 255.0,
                                     (a & 255) / 255.0);
    cairo_pattern_add_color_stop_rgb(p, 1, (b >> 16) / 255.0, ((b >> 8) & 255) / 255.0,
                                     (b & 255) / 255.0);
    cairo_set_source(cr, p);
    cairo_fill(cr);
    cairo_pattern_destroy(p);
    cairo_restore(cr);
    Art_RoundRect(cr, WX + 0.5, WY + 0.5, WW - 1, WH - 1, 4); // thin dark line into the picture
    cairo_set_source_rgba(cr, 0.02, 0.05, 0.12, 0.7);
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
    Art_RoundRect(cr, 1, 1, W - 2, H - 2, 6.5); // highlight on the outer edge
    cairo_set_source_rgba(cr, 1, 1, 1, 0.35);
    cairo_stroke(cr);
}

void Padlock(cairo_t* cr, double x, double y) {
    cairo_arc(cr, x, y - 4, 7, M_PI, 2 * M_PI);
    cairo_line_to(cr, x + 7, y);
    cairo_move_to(cr, x - 7, y);
    cairo_line_to(cr, x - 7, y - 4);
    Ui_Set(cr, "#c9d8f0");
    cairo_set_line_width(cr, 3);
    cairo_stroke(cr);
    Art_RoundRect(cr, x - 11, y - 1, 22, 16, 3);
    Ui_Set(cr, "#c9d8f0");
    cairo_fill_preserve(cr);
    Ui_Set(cr, "#0b1633");
    cairo_set_line_width(cr, 1.2);
    cairo_stroke(cr);
    cairo_arc(cr, x, y + 6, 2.5, 0, 2 * M_PI);
    Ui_Set(cr, "#0b1633");
    cairo_fill(cr);
}

void Star(cairo_t* cr, double x, double y, double r) {
    for (int i = 0; i < 10; ++i) {
        double a = -M_PI / 2 + i * M_PI / 5, rr = i % 2 ? r * 0.45 : r;
        cairo_line_to(cr, x + rr * std::cos(a), y + rr * std::sin(a));
    }
    cairo_close_path(cr);
    Ui_Set(cr, "#4a2a04");
    cairo_set_line_width(cr, 2);
    cairo_stroke_preserve(cr);
    Ui_Set(cr, "#fff3b0");
    cairo_fill(cr);
}

Picture Frame(int state) {
    Sketch s = Sketch_New(W, H);
    cairo_t* cr = s.cr;
    switch (state) {
    case 0:
        Rim(cr, "#e6f7ff", "#6f88b3", 0, nullptr);
        break;
    case 1: // pointed at: the picture brightens a little and the rim turns warm
        Art_RoundRect(cr, WX, WY, WW, WH, 4);
        cairo_set_source_rgba(cr, 1, 0.95, 0.8, 0.1);
        cairo_fill(cr);
        Rim(cr, "#fff3b0", "#ff9a3c", 0, nullptr);
        break;
    case 2: // never started: veiled and locked
        Art_RoundRect(cr, WX, WY, WW, WH, 4);
        cairo_set_source_rgba(cr, 0.03, 0.06, 0.14, 0.62);
        cairo_fill(cr);
        Rim(cr, "#8ea8cf", "#3b5d96", 0, nullptr);
        Padlock(cr, W / 2.0, H / 2.0 - 2);
        break;
    case 3: // skipped: amber rim and a skip mark in the corner
        Rim(cr, "#ffd36b", "#c86a14", 0, nullptr);
        cairo_move_to(cr, W - 20, H - 15);
        cairo_line_to(cr, W - 13, H - 10);
        cairo_line_to(cr, W - 20, H - 5);
        cairo_move_to(cr, W - 13, H - 15);
        cairo_line_to(cr, W - 6, H - 10);
        cairo_line_to(cr, W - 13, H - 5);
        cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
        cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
        Ui_Set(cr, "#2a1606");
        cairo_set_line_width(cr, 4.5);
        cairo_stroke_preserve(cr);
        Ui_Set(cr, "#ffd36b");
        cairo_set_line_width(cr, 2.5);
        cairo_stroke(cr);
        break;
    default: // the last level played: gold rim and a star
        Rim(cr, "#fff3b0", "#e0a020", 0, nullptr);
        Star(cr, W - 11, 11, 9);
        break;
    }
    return Sketch_Finish(s);
}

} // namespace

void Ui_LevelFrame(const ArtContext& ctx) {
    std::vector<Picture> frames;
    for (int i = 0; i < 5; ++i)
        frames.push_back(Frame(i));
    Art_WritePng(ctx, "images/interface/button_Choose_Level.png", Art_Strip(frames, 8));
}
