// The menu backdrop: a moonlit winter night over snowy hills with pines and a distant cabin,
// calm enough that buttons, frames and level thumbnails read clearly on top of it.
#include "tools/art/ui.h"
#include "tools/art/ui_kit.h"

#include <cmath>
#include <vector>

namespace {

constexpr int W = 800, H = 600;

void Sky(cairo_t* cr) {
    cairo_pattern_t* p = cairo_pattern_create_linear(0, 0, 0, 470);
    cairo_pattern_add_color_stop_rgb(p, 0.0, 0x0b / 255.0, 0x16 / 255.0, 0x33 / 255.0);
    cairo_pattern_add_color_stop_rgb(p, 0.6, 0x1c / 255.0, 0x34 / 255.0, 0x66 / 255.0);
    cairo_pattern_add_color_stop_rgb(p, 1.0, 0x3b / 255.0, 0x5d / 255.0, 0x96 / 255.0);
    cairo_set_source(cr, p);
    cairo_paint(cr);
    cairo_pattern_destroy(p);
}

void Stars(cairo_t* cr, UiRand& rnd) {
    for (int i = 0; i < 220; ++i) {
        double x = rnd.Uniform(0, W), y = std::pow(rnd.Uniform(0, 1), 1.4) * 400;
        double r = rnd.Uniform(0.4, 1.3), a = rnd.Uniform(0.3, 0.9) * (1 - y / 520);
        cairo_arc(cr, x, y, r, 0, 2 * M_PI);
        cairo_set_source_rgba(cr, 0.9, 0.95, 1, a);
        cairo_fill(cr);
    }
}

void Moon(cairo_t* cr, double x, double y, double r) {
    cairo_pattern_t* g = cairo_pattern_create_radial(x, y, r * 0.8, x, y, r * 4.5);
    cairo_pattern_add_color_stop_rgba(g, 0, 0.75, 0.85, 1, 0.35);
    cairo_pattern_add_color_stop_rgba(g, 1, 0.75, 0.85, 1, 0);
    cairo_set_source(cr, g);
    cairo_paint(cr);
    cairo_pattern_destroy(g);
    cairo_arc(cr, x, y, r, 0, 2 * M_PI);
    cairo_pattern_t* m = cairo_pattern_create_radial(x - r * 0.35, y - r * 0.35, r * 0.1, x, y, r);
    cairo_pattern_add_color_stop_rgb(m, 0, 1, 1, 1);
    cairo_pattern_add_color_stop_rgb(m, 1, 0.82, 0.88, 0.97);
    cairo_set_source(cr, m);
    cairo_fill(cr);
    cairo_pattern_destroy(m);
    const double spots[][3] = {{0.3, -0.2, 0.22}, {-0.25, 0.3, 0.15}, {0.1, 0.45, 0.12}};
    for (auto& sp : spots) {
        cairo_arc(cr, x + sp[0] * r, y + sp[1] * r, sp[2] * r, 0, 2 * M_PI);
        cairo_set_source_rgba(cr, 0.6, 0.68, 0.82, 0.25);
        cairo_fill(cr);
    }
}

// A hill line through the given heights, smoothed, filled down to the bottom edge.
void HillPath(cairo_t* cr, const std::vector<double>& ys) {
    int n = static_cast<int>(ys.size()) - 1;
    cairo_new_path(cr);
    cairo_move_to(cr, 0, H);
    cairo_line_to(cr, 0, ys[0]);
    for (int i = 1; i <= n; ++i) {
        double x0 = W * (i - 1.0) / n, x1 = W * static_cast<double>(i) / n, mx = (x0 + x1) / 2;
        cairo_curve_to(cr, mx, ys[i - 1], mx, ys[i], x1, ys[i]);
    }
    cairo_line_to(cr, W, H);
    cairo_close_path(cr);
}

double HillY(const std::vector<double>& ys, double x) { // the smoothed height at x
    int n = static_cast<int>(ys.size()) - 1;
    double f = x / W * n;
    int i = std::min(n - 1, static_cast<int>(f));
    double t = f - i, s = t * t * (3 - 2 * t);
    return ys[i] + (ys[i + 1] - ys[i]) * s;
}

void Pine(cairo_t* cr, double x, double base, double h, const char* body, bool snowy) {
    double w = h * 0.42;
    cairo_rectangle(cr, x - h * 0.03, base - h * 0.12, h * 0.06, h * 0.14);
    Ui_Set(cr, "#0d1a33");
    cairo_fill(cr);
    for (int tier = 0; tier < 3; ++tier) {
        double top = base - h * (0.45 + 0.27 * tier) - h * 0.1,
               bottom = base - h * (0.08 + 0.26 * tier);
        double tw = w * (1.0 - 0.26 * tier);
        cairo_move_to(cr, x, top);
        cairo_line_to(cr, x + tw / 2, bottom);
        cairo_line_to(cr, x - tw / 2, bottom);
        cairo_close_path(cr);
        Ui_Set(cr, body);
        cairo_fill(cr);
        if (snowy) { // snow on the left, moonlit side of each tier
            cairo_move_to(cr, x, top + 1);
            cairo_line_to(cr, x - tw / 2 + 1, bottom - 1);
            cairo_line_to(cr, x - tw * 0.12, bottom - h * 0.05);
            cairo_close_path(cr);
            Ui_Set(cr, "#c9d8f0", 0.85);
            cairo_fill(cr);
        }
    }
}

void Cabin(cairo_t* cr, double x, double base) {
    cairo_rectangle(cr, x - 14, base - 14, 28, 14);
    Ui_Set(cr, "#1a2440");
    cairo_fill(cr);
    cairo_move_to(cr, x - 19, base - 13);
    cairo_line_to(cr, x, base - 27);
    cairo_line_to(cr, x + 19, base - 13);
    cairo_close_path(cr);
    Ui_Set(cr, "#eef4ff");
    cairo_fill(cr);
    cairo_rectangle(cr, x - 6, base - 10, 6, 6); // the warm window
    Ui_GlowPath(cr, "#ffd36b", 0.9, 10, 3);
    Ui_Set(cr, "#fff3b0");
    cairo_fill(cr);
}

Picture Backdrop() {
    Sketch s = Sketch_New(W, H);
    cairo_t* cr = s.cr;
    UiRand rnd(1207);
    Sky(cr);
    Stars(cr, rnd);
    Moon(cr, 150, 105, 34);
    std::vector<double> far = {410, 380, 395, 370, 400, 385, 360, 390, 405};
    HillPath(cr, far);
    cairo_pattern_t* fp = cairo_pattern_create_linear(0, 360, 0, 480);
    cairo_pattern_add_color_stop_rgb(fp, 0, 0x7a / 255.0, 0x96 / 255.0, 0xc2 / 255.0);
    cairo_pattern_add_color_stop_rgb(fp, 1, 0x3b / 255.0, 0x5d / 255.0, 0x96 / 255.0);
    cairo_set_source(cr, fp);
    cairo_fill(cr);
    cairo_pattern_destroy(fp);
    for (int i = 0; i < 34; ++i) { // a far line of forest
        double x = rnd.Uniform(0, W);
        Pine(cr, x, HillY(far, x) + 6, rnd.Uniform(18, 34), "#2a4573", false);
    }
    Cabin(cr, 304, HillY(far, 304) + 4);
    std::vector<double> near = {500, 520, 490, 470, 500, 530, 510, 480, 470, 495, 515};
    HillPath(cr, near);
    // Snow in the night's shade, lit only along the crest, so white labels and thumbnails
    // drawn over the lower screen stay readable.
    cairo_pattern_t* np = cairo_pattern_create_linear(0, 465, 0, 600);
    cairo_pattern_add_color_stop_rgb(np, 0, 0xc9 / 255.0, 0xd8 / 255.0, 0xf0 / 255.0);
    cairo_pattern_add_color_stop_rgb(np, 0.18, 0x8e / 255.0, 0xa8 / 255.0, 0xcf / 255.0);
    cairo_pattern_add_color_stop_rgb(np, 0.6, 0x4f / 255.0, 0x6d / 255.0, 0xa0 / 255.0);
    cairo_pattern_add_color_stop_rgb(np, 1, 0x2c / 255.0, 0x46 / 255.0, 0x7a / 255.0);
    cairo_set_source(cr, np);
    cairo_fill(cr);
    cairo_pattern_destroy(np);
    for (double x : {30.0, 62.0, 740.0, 775.0, 330.0}) // a few near pines at the sides
        Pine(cr, x, HillY(near, x) + 12, x == 330.0 ? 70 : rnd.Uniform(110, 150), "#142a52", true);
    for (int i = 0; i < 260; ++i) { // falling snow, larger and softer nearer the viewer
        double x = rnd.Uniform(0, W), y = rnd.Uniform(0, H), r = rnd.Uniform(0.6, 2.2);
        cairo_arc(cr, x, y, r, 0, 2 * M_PI);
        cairo_set_source_rgba(cr, 1, 1, 1, rnd.Uniform(0.25, 0.7));
        cairo_fill(cr);
    }
    cairo_pattern_t* v = cairo_pattern_create_radial(W / 2.0, H / 2.0, 250, W / 2.0, H / 2.0, 560);
    cairo_pattern_add_color_stop_rgba(v, 0, 0, 0, 0.05, 0);
    cairo_pattern_add_color_stop_rgba(v, 1, 0, 0, 0.05, 0.45);
    cairo_set_source(cr, v);
    cairo_paint(cr);
    cairo_pattern_destroy(v);
    return Sketch_Finish(s);
}

} // namespace

void Ui_Backdrops(const ArtContext& ctx) {
    Art_WriteJpeg(ctx, "images/interface/bckg_options.jpg", Backdrop(), 90);
}
