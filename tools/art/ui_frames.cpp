// Frosted panels: the dialog frame (also stretched to other sizes), the tip panel, the in-game
// panel on the right of the board and the highscore table's backdrop.
#include "app/panel.h"
#include "tools/art/ui.h"
#include "tools/art/ui_kit.h"

#include <cmath>

namespace {

// Faint snowflakes etched into the glass near a corner, for texture without clutter.
void FrostFlakes(cairo_t* cr, double x, double y, double w, double h, int n, unsigned seed) {
    UiRand rnd(seed);
    for (int i = 0; i < n; ++i) {
        cairo_set_source_rgba(cr, 0.85, 0.92, 1.0, rnd.Uniform(0.05, 0.12));
        Ui_Snowflake(cr, x + rnd.Uniform(0, w), y + rnd.Uniform(0, h), rnd.Uniform(5, 14), 1.2);
    }
}

// Cuts a window through the panel so what the game draws beneath shows, and rims it.
void Window(cairo_t* cr, double x, double y, double w, double h, double r) {
    cairo_save(cr);
    Art_RoundRect(cr, x, y, w, h, r);
    cairo_set_operator(cr, CAIRO_OPERATOR_CLEAR);
    cairo_fill(cr);
    cairo_restore(cr);
    // Inner shadow along the top and left edges: the window is set into the panel.
    cairo_save(cr);
    Art_RoundRect(cr, x, y, w, h, r);
    cairo_clip(cr);
    Art_RoundRect(cr, x - 6, y - 6, w + 6, h + 6, r + 4);
    cairo_set_line_width(cr, 10);
    cairo_set_source_rgba(cr, 0.02, 0.04, 0.1, 0.45);
    cairo_stroke(cr);
    cairo_restore(cr);
    Art_RoundRect(cr, x - 1, y - 1, w + 2, h + 2, r + 1);
    Ui_Set(cr, "#b8cce8");
    cairo_set_line_width(cr, 2);
    cairo_stroke(cr);
    Art_RoundRect(cr, x + 0.5, y + 0.5, w - 1, h - 1, r);
    cairo_set_source_rgba(cr, 0, 0, 0, 0.35);
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
}

Picture DialogFrame() {
    const int w = 376, h = 452;
    Sketch s = Sketch_New(w, h);
    // Opaque glass: the board must not show through a dialog's text.
    Ui_FrostPanel(s.cr, 2, 10, w - 4, h - 12, 22, 1.0, 3.0);
    FrostFlakes(s.cr, w - 110, h - 110, 90, 90, 5, 5);
    FrostFlakes(s.cr, 14, h - 90, 60, 70, 3, 6);
    Ui_SnowCap(s.cr, 18, 11, 170, 14, 41);
    Ui_SnowCap(s.cr, w - 120, 11, 96, 9, 42);
    return Sketch_Finish(s);
}

Picture TipPanel() {
    // Wide enough for the closing "Congratulations! You completed all levels !" line in the
    // 32-pixel serif (554 pixels); stretched vertically to fit a tip, so it carries no ornament.
    const int w = 560, h = 120;
    Sketch s = Sketch_New(w, h);
    Ui_FrostPanel(s.cr, 1.5, 1.5, w - 3, h - 3, 14, 0.88, 2.5);
    return Sketch_Finish(s);
}

// The right-hand panel, drawn at (675, 12). Windows are left for the candle and the hammer
// meter, which the game draws first; the labels and numbers sit on a darker inset.
Picture IngamePanel() {
    const int w = 125, h = 588, ox = 675, oy = 12;
    Sketch s = Sketch_New(w, h);
    cairo_t* cr = s.cr;
    Ui_FrostPanel(cr, 2, 8, w - 2 + 12, h - 10, 18, 0.9, 3.0); // runs off the right edge
    // Header: a frosted medallion with a snowflake.
    double mx = 62, my = 52;
    cairo_arc(cr, mx, my, 30, 0, 2 * M_PI);
    Ui_GlowPath(cr, "#9fd8f5", 0.35, 8);
    cairo_pattern_t* p = cairo_pattern_create_radial(mx - 10, my - 12, 2, mx, my, 30);
    cairo_pattern_add_color_stop_rgb(p, 0, 0.23, 0.36, 0.59);
    cairo_pattern_add_color_stop_rgb(p, 1, 0.08, 0.16, 0.32);
    cairo_set_source(cr, p);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(p);
    Ui_Set(cr, "#b8cce8");
    cairo_set_line_width(cr, 2.5);
    cairo_stroke(cr);
    Ui_Set(cr, "#e6f7ff", 0.95);
    Ui_Snowflake(cr, mx, my, 20, 2.4);
    // Candle window and hammer window, where the game's dark boxes are.
    Window(cr, 685 - ox, 112 - oy, 95, 145, 10);
    Window(cr, 686 - ox, 418 - oy, 97, 107, 10);
    // Inset behind "Level", "Lives", "Score" and their numbers, where the game places them.
    double ix = Panel_InsetX - ox, iy = Panel_InsetY - oy, iw = Panel_InsetW, ih = Panel_InsetH;
    Art_RoundRect(cr, ix + 0.5, iy + 0.5, iw - 1, ih - 1, 9);
    cairo_set_source_rgba(cr, 0.03, 0.07, 0.16, 0.55);
    cairo_fill_preserve(cr);
    Ui_Set(cr, "#b8cce8", 0.5);
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
    for (int sy : Panel_RowLines) { // hairlines between the rows
        cairo_move_to(cr, ix + 8, sy - oy + 0.5);
        cairo_line_to(cr, ix + iw - 8, sy - oy + 0.5);
    }
    Ui_Set(cr, "#b8cce8", 0.3);
    cairo_stroke(cr);
    Ui_SnowCap(cr, 6, 9, 80, 12, 77);
    return Sketch_Finish(s);
}

// Backdrop of the highscore table at (110, 165): title, column heads, eight rows of 18 pixels
// from y 92 and the two buttons at y 244.
Picture HighscoreBackdrop() {
    const int w = 552, h = 300;
    Sketch s = Sketch_New(w, h);
    cairo_t* cr = s.cr;
    Ui_FrostPanel(cr, 1.5, 6, w - 3, h - 7.5, 20, 0.88, 3.0);
    for (int i = 0; i < 8; ++i) { // faint alternate row bands
        if (i % 2) continue;
        Art_RoundRect(cr, 14, 92 + 18 * i, w - 28, 18, 4);
        cairo_set_source_rgba(cr, 0.72, 0.8, 0.91, 0.07);
        cairo_fill(cr);
    }
    cairo_move_to(cr, 20, 90.5);
    cairo_line_to(cr, w - 20, 90.5);
    Ui_Set(cr, "#b8cce8", 0.45);
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
    FrostFlakes(cr, w - 130, 8, 110, 50, 4, 9);
    FrostFlakes(cr, 16, 8, 110, 50, 4, 10);
    Ui_SnowCap(cr, 24, 7, 210, 14, 51);
    Ui_SnowCap(cr, w - 150, 7, 120, 9, 52);
    return Sketch_Finish(s);
}

} // namespace

void Ui_Frames(const ArtContext& ctx) {
    Art_WritePng(ctx, "images/interface/frame.png", DialogFrame());
    Art_WritePng(ctx, "images/interface/Fond_Game_Datas.png", TipPanel());
    Art_WritePng(ctx, "images/interface/ingame_interface.png", IngamePanel());
    Art_WritePng(ctx, "images/interface/highscores.png", HighscoreBackdrop());
}
