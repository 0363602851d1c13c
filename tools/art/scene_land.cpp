// Six winter landscapes drawn in front of the sky: a village, a pine forest, a frozen lake, hills
// with a chapel, a mountain valley and a harbour. Transparent above the skyline; the interest sits
// along the bottom and the edges, since the board covers the middle and the panel the right side.
// Moonlight comes from the upper left; lamp-lit windows are the only warm colour.
#include "tools/art/scene_kit.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <string>
#include <thread>

namespace scenekit {
namespace {

const double kPi = std::acos(-1.0);
constexpr int kW = 800, kH = 600;

using Height = std::function<double(double)>;

struct Rgb {
    double r, g, b;
};

Rgb Hex(const char* hex) {
    Rgba c = Rgba_Hex(hex);
    return {c.r, c.g, c.b};
}

Rgb Mix(Rgb a, Rgb b, double t) {
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

void Set(cairo_t* cr, Rgb c, double a = 1.0) {
    cairo_set_source_rgba(cr, c.r, c.g, c.b, a);
}

void Stop(cairo_pattern_t* p, double at, Rgb c, double a = 1.0) {
    cairo_pattern_add_color_stop_rgba(p, at, c.r, c.g, c.b, a);
}

// Smooth, seeded 1-D noise for ridge lines: -0.5..0.5.
Height Wobble(unsigned seed, double scale) {
    return [=](double x) { return Fbm(x / scale, 0.37 * seed, 4, seed) - 0.5; };
}

// ---- ground --------------------------------------------------------------------------------

void RidgePath(cairo_t* cr, const Height& top) {
    cairo_move_to(cr, -20, kH + 20);
    for (double x = -20; x <= kW + 20; x += 2)
        cairo_line_to(cr, x, top(x));
    cairo_line_to(cr, kW + 20, kH + 20);
    cairo_close_path(cr);
}

// A snow-covered slope: fill with a vertical gradient, then moonlight along the crest where it
// faces the upper left.
void SnowRidge(cairo_t* cr, const Height& top, Rgb crest, Rgb foot, double y0, double y1,
               double rim = 0.8) {
    RidgePath(cr, top);
    cairo_pattern_t* g = cairo_pattern_create_linear(0, y0, 0, y1);
    Stop(g, 0, crest);
    Stop(g, 1, foot);
    cairo_set_source(cr, g);
    cairo_fill(cr);
    cairo_pattern_destroy(g);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_BUTT); // round caps would overlap into beads
    cairo_set_line_width(cr, 2.2);
    for (double x = -10; x < kW + 10; x += 3) {
        double slope = (top(x + 3) - top(x)) / 3.0;
        double lit = Clamp01(0.45 - slope * 1.2);
        cairo_set_source_rgba(cr, 0.96, 0.97, 1.0, rim * lit);
        cairo_move_to(cr, x, top(x) + 1.3);
        cairo_line_to(cr, x + 3, top(x + 3) + 1.3);
        cairo_stroke(cr);
    }
    // a soft shade just below the crest gives the next layer some depth
    RidgePath(cr, top);
    cairo_save(cr);
    cairo_clip(cr);
    for (double x = -10; x < kW + 10; x += 4) {
        cairo_pattern_t* s = cairo_pattern_create_linear(0, top(x) + 3, 0, top(x) + 26);
        cairo_pattern_add_color_stop_rgba(s, 0, 0.03, 0.07, 0.17, 0.0);
        cairo_pattern_add_color_stop_rgba(s, 0.4, 0.03, 0.07, 0.17, 0.10);
        cairo_pattern_add_color_stop_rgba(s, 1, 0.03, 0.07, 0.17, 0.0);
        cairo_set_source(cr, s);
        cairo_rectangle(cr, x, top(x) + 3, 4, 24);
        cairo_fill(cr);
        cairo_pattern_destroy(s);
    }
    cairo_restore(cr);
}

void Sparkle(cairo_t* cr, double x, double y, double size, double a) {
    cairo_pattern_t* g = cairo_pattern_create_radial(x, y, 0, x, y, size * 0.6);
    cairo_pattern_add_color_stop_rgba(g, 0, 1, 1, 1, a);
    cairo_pattern_add_color_stop_rgba(g, 1, 1, 1, 1, 0);
    cairo_set_source(cr, g);
    cairo_arc(cr, x, y, size * 0.6, 0, 2 * kPi);
    cairo_fill(cr);
    cairo_pattern_destroy(g);
    cairo_set_line_width(cr, 0.7);
    cairo_set_source_rgba(cr, 1, 1, 1, a * 0.7);
    cairo_move_to(cr, x - size, y);
    cairo_line_to(cr, x + size, y);
    cairo_move_to(cr, x, y - size);
    cairo_line_to(cr, x, y + size);
    cairo_stroke(cr);
}

// Glints scattered over the snow below a ridge line.
void SnowGlints(cairo_t* cr, Dice& dice, const Height& top, double x0, double x1, int count) {
    for (int i = 0; i < count; ++i) {
        double x = dice.Real(x0, x1);
        double y = dice.Real(top(x) + 6, kH - 4);
        Sparkle(cr, x, y, dice.Real(1.2, 3.2), dice.Real(0.35, 0.9));
    }
}

void WarmGlow(cairo_t* cr, double x, double y, double radius, double a) {
    cairo_pattern_t* g = cairo_pattern_create_radial(x, y, 0, x, y, radius);
    cairo_pattern_add_color_stop_rgba(g, 0, 1.0, 0.83, 0.42, a);
    cairo_pattern_add_color_stop_rgba(g, 0.4, 1.0, 0.6, 0.24, a * 0.35);
    cairo_pattern_add_color_stop_rgba(g, 1, 1.0, 0.6, 0.24, 0);
    cairo_set_source(cr, g);
    cairo_arc(cr, x, y, radius, 0, 2 * kPi);
    cairo_fill(cr);
    cairo_pattern_destroy(g);
}

// ---- trees ---------------------------------------------------------------------------------

// A snow-laden pine; `haze` 0 is near and dark, 1 far and blue. Tiers are drawn from the
// bottom up so each hangs over the one below; snow lies as a lumpy cap on the upper part of each
// tier and along the lit edges of its branches.
void Pine(cairo_t* cr, Dice& dice, double x, double base, double h, double haze) {
    Rgb body_lit = Mix(Hex("#234660"), Hex("#4d6b9a"), haze);
    Rgb body_dark = Mix(Hex("#0a1828"), Hex("#38527f"), haze);
    Rgb snow_lit = Mix(Hex("#eef4ff"), Hex("#a9bde0"), haze);
    Rgb snow_dark = Mix(Hex("#93abd2"), Hex("#7890bd"), haze);
    double w = h * dice.Real(0.46, 0.56);
    Set(cr, Mix(Hex("#2a2233"), body_dark, haze));
    cairo_rectangle(cr, x - w * 0.05, base - h * 0.14, w * 0.1, h * 0.15);
    cairo_fill(cr);
    int tiers = h > 60 ? 5 : (h > 25 ? 4 : 3);
    double y_top = base - h, y_bot = base - h * 0.1;
    struct Tier {
        double ya, yb, hw;
        std::vector<std::pair<double, double>> outline;
    };
    std::vector<Tier> all(tiers);
    for (int i = 0; i < tiers; ++i) {
        Tier& t = all[i];
        t.ya = y_top + (y_bot - y_top) * (i / double(tiers)) * 0.78;
        t.yb = y_top + (y_bot - y_top) * ((i + 1) / double(tiers));
        t.hw = w / 2 * (0.3 + 0.7 * (i + 1) / tiers) * dice.Real(0.92, 1.08);
        double th = t.yb - t.ya, droop = th * 0.14;
        int steps = h > 60 ? 4 : 2;
        t.outline.push_back({x, t.ya});
        for (int k = 1; k <= steps; ++k) { // right side: branch tips with notches between
            double f = double(k) / steps;
            t.outline.push_back({x + t.hw * f * dice.Real(0.95, 1.05), t.ya + th * f + droop * f});
            if (k < steps) t.outline.push_back({x + t.hw * f * 0.78, t.ya + th * f - th * 0.04});
        }
        int notches = 3;
        for (int k = 1; k < notches * 2; ++k) { // underside, rising between the lower tips
            double f = 1.0 - double(k) / notches;
            double up = (k % 2 == 1) ? th * 0.16 : -droop * 0.3;
            t.outline.push_back({x + t.hw * f, t.yb - up + droop * 0.4});
        }
        for (int k = steps; k >= 1; --k) { // left side back up
            double f = double(k) / steps;
            t.outline.push_back({x - t.hw * f * dice.Real(0.95, 1.05), t.ya + th * f + droop * f});
            if (k > 1)
                t.outline.push_back({x - t.hw * (f - 1.0 / steps) * 0.78 - t.hw * 0.1,
                                     t.ya + th * (f - 1.0 / steps) - th * 0.04});
        }
    }
    for (int i = tiers - 1; i >= 0; --i) {
        const Tier& t = all[i];
        double th = t.yb - t.ya;
        auto outline = [&] {
            cairo_move_to(cr, t.outline[0].first, t.outline[0].second);
            for (auto& q : t.outline)
                cairo_line_to(cr, q.first, q.second);
            cairo_close_path(cr);
        };
        cairo_pattern_t* body = cairo_pattern_create_linear(x - t.hw, 0, x + t.hw, 0);
        Stop(body, 0, body_lit);
        Stop(body, 1, body_dark);
        outline();
        cairo_set_source(cr, body);
        cairo_fill(cr);
        cairo_pattern_destroy(body);
        // the snow cap: everything above a lumpy line across the tier
        cairo_save(cr);
        outline();
        cairo_clip(cr);
        cairo_pattern_t* snow = cairo_pattern_create_linear(x - t.hw, 0, x + t.hw, 0);
        Stop(snow, 0, snow_lit);
        Stop(snow, 0.5, snow_lit);
        Stop(snow, 0.72, snow_dark);
        Stop(snow, 1, snow_dark);
        cairo_set_source(cr, snow);
        double cut = t.ya + th * dice.Real(0.5, 0.62);
        cairo_move_to(cr, x - t.hw - 2, t.ya - 4);
        cairo_line_to(cr, x + t.hw + 2, t.ya - 4);
        cairo_line_to(cr, x + t.hw + 2, cut + th * 0.3);
        int lumps = 4;
        for (int k = 0; k < lumps; ++k) {
            double x0 = x + t.hw - 2 * t.hw * k / lumps, x1 = x + t.hw - 2 * t.hw * (k + 1) / lumps;
            double slope = th * 0.3 * (1 - 2.0 * (k + 1) / lumps);
            cairo_curve_to(cr, x0, cut + th * 0.22 + slope, x1, cut + th * 0.22 + slope, x1,
                           cut + std::fabs(slope) * 0.6 + th * dice.Real(-0.05, 0.05));
        }
        cairo_line_to(cr, x - t.hw - 2, t.ya - 4);
        cairo_close_path(cr);
        cairo_fill(cr);
        // a thin line of snow along the lit upper edge of the lower branches
        cairo_set_line_width(cr, std::max(0.8, th * 0.08));
        cairo_set_source_rgba(cr, snow_lit.r, snow_lit.g, snow_lit.b, 0.9);
        cairo_move_to(cr, t.outline[0].first, t.outline[0].second);
        for (size_t k = t.outline.size() - 1; k > t.outline.size() * 3 / 4; --k)
            cairo_line_to(cr, t.outline[k].first, t.outline[k].second + 0.6);
        cairo_stroke(cr);
        cairo_restore(cr);
    }
}

// A row of small far pines along a ridge.
void PineRow(cairo_t* cr, Dice& dice, const Height& ground, double x0, double x1, double step,
             double h0, double h1, double haze) {
    for (double x = x0; x < x1; x += step * dice.Real(0.6, 1.4))
        Pine(cr, dice, x, ground(x) + 3, dice.Real(h0, h1), haze);
}

// ---- buildings -----------------------------------------------------------------------------

struct Building {
    double x, base, w, h, roof; // wall rectangle and gable height
    int windows = 2;
    bool chimney = true;
    bool door = true;
    int wall = -1; // paint: -1 picks one at random
};

void Window(cairo_t* cr, double x, double y, double w, double h, bool arched = false) {
    WarmGlow(cr, x + w / 2, y + h / 2, std::max(w, h) * 1.6, 0.5);
    cairo_pattern_t* g = cairo_pattern_create_linear(0, y, 0, y + h);
    cairo_pattern_add_color_stop_rgb(g, 0, 1.0, 0.95, 0.69);
    cairo_pattern_add_color_stop_rgb(g, 1, 1.0, 0.7, 0.3);
    cairo_set_source(cr, g);
    if (arched) {
        cairo_move_to(cr, x, y + h);
        cairo_line_to(cr, x, y + w / 2);
        cairo_arc(cr, x + w / 2, y + w / 2, w / 2, kPi, 2 * kPi);
        cairo_line_to(cr, x + w, y + h);
        cairo_close_path(cr);
    } else {
        cairo_rectangle(cr, x, y, w, h);
    }
    cairo_fill(cr);
    cairo_pattern_destroy(g);
    cairo_set_source_rgba(cr, 0.23, 0.16, 0.16, 0.9);
    cairo_set_line_width(cr, std::max(0.8, w * 0.1));
    cairo_move_to(cr, x + w / 2, y + (arched ? w * 0.2 : 0));
    cairo_line_to(cr, x + w / 2, y + h);
    cairo_move_to(cr, x, y + h * 0.5);
    cairo_line_to(cr, x + w, y + h * 0.5);
    cairo_stroke(cr);
    cairo_set_source_rgba(cr, 0.93, 0.96, 1.0, 0.95); // snow on the sill
    cairo_rectangle(cr, x - 1, y + h, w + 2, 1.6);
    cairo_fill(cr);
}

void Smoke(cairo_t* cr, Dice& dice, double x, double y, double size) {
    for (int i = 0; i < 9; ++i) {
        double t = i / 8.0;
        double px = x + t * size * 1.8 + std::sin(t * 5) * size * 0.15, py = y - t * size * 2.6;
        double r = size * (0.18 + 0.3 * t) * dice.Real(0.9, 1.1);
        cairo_pattern_t* g = cairo_pattern_create_radial(px, py, 0, px, py, r);
        cairo_pattern_add_color_stop_rgba(g, 0, 0.72, 0.78, 0.9, 0.22 * (1 - t));
        cairo_pattern_add_color_stop_rgba(g, 1, 0.72, 0.78, 0.9, 0);
        cairo_set_source(cr, g);
        cairo_arc(cr, px, py, r, 0, 2 * kPi);
        cairo_fill(cr);
        cairo_pattern_destroy(g);
    }
}

// Heavy snow along a roof edge from (x0, y0) to (x1, y1) with a rounded, drooping rim.
void RoofSnow(cairo_t* cr, double x0, double y0, double x1, double y1, double thick, Rgb col) {
    double dx = x1 - x0, dy = y1 - y0, len = std::hypot(dx, dy);
    double nx = -dy / len, ny = dx / len; // points below the roof line for a left-to-right edge
    if (ny < 0) nx = -nx, ny = -ny;
    Set(cr, col);
    cairo_move_to(cr, x0 - nx * thick * 0.7, y0 - ny * thick * 0.7);
    cairo_line_to(cr, x1 - nx * thick * 0.7, y1 - ny * thick * 0.7);
    cairo_curve_to(cr, x1 + nx * thick * 0.8, y1 + ny * thick * 0.8, x1 + nx * thick * 0.8,
                   y1 + ny * thick * 0.8, x1 + nx * thick * 0.3 - dx / len * 2,
                   y1 + ny * thick * 0.3);
    int bumps = std::max(2, static_cast<int>(len / 14));
    for (int k = bumps; k > 0; --k) {
        double t0 = double(k) / bumps, t1 = double(k - 1) / bumps, tm = (t0 + t1) / 2;
        double sag = thick * (0.55 + 0.25 * std::sin(k * 2.3));
        cairo_curve_to(cr, x0 + dx * tm + nx * sag, y0 + dy * tm + ny * sag,
                       x0 + dx * tm + nx * sag, y0 + dy * tm + ny * sag,
                       x0 + dx * t1 + nx * thick * 0.3, y0 + dy * t1 + ny * thick * 0.3);
    }
    cairo_close_path(cr);
    cairo_fill(cr);
}

void House(cairo_t* cr, Dice& dice, const Building& b, double haze = 0.0) {
    double top = b.base - b.h;
    // painted timber in a few muted colours, so a row of houses does not look stamped
    static const char* const walls[][2] = {{"#4a3c4f", "#2b2333"},
                                           {"#5a3439", "#33202a"},
                                           {"#41506f", "#273049"},
                                           {"#3c4d46", "#222e2c"}};
    int pick = dice.Int(0, 3);
    const auto& wall = walls[b.wall >= 0 ? b.wall : pick];
    Rgb wall_lit = Mix(Hex(wall[0]), Hex("#4c5f8c"), haze);
    Rgb wall_dark = Mix(Hex(wall[1]), Hex("#3c4f7c"), haze);
    cairo_pattern_t* g = cairo_pattern_create_linear(b.x, 0, b.x + b.w, 0);
    Stop(g, 0, wall_lit);
    Stop(g, 1, wall_dark);
    cairo_set_source(cr, g);
    cairo_rectangle(cr, b.x, top, b.w, b.h);
    cairo_move_to(cr, b.x, top);
    cairo_line_to(cr, b.x + b.w / 2, top - b.roof);
    cairo_line_to(cr, b.x + b.w, top);
    cairo_fill(cr);
    cairo_pattern_destroy(g);
    // timber lines
    cairo_set_source_rgba(cr, 0.1, 0.07, 0.12, 0.35);
    cairo_set_line_width(cr, 0.8);
    for (double y = top + 5; y < b.base - 2; y += 5) {
        cairo_move_to(cr, b.x, y);
        cairo_line_to(cr, b.x + b.w, y);
    }
    cairo_stroke(cr);
    if (b.chimney) {
        double cx = b.x + b.w * 0.68, cw = std::max(5.0, b.w * 0.1);
        double cy = top - b.roof * 0.62;
        Set(cr, Mix(Hex("#3a2a30"), Hex("#4c5f8c"), haze));
        cairo_rectangle(cr, cx, cy - b.roof * 0.45, cw, b.roof * 0.6);
        cairo_fill(cr);
        Set(cr, Mix(Hex("#eef4ff"), Hex("#b5c6e4"), haze));
        cairo_rectangle(cr, cx - 1.2, cy - b.roof * 0.45 - 2.2, cw + 2.4, 3.2);
        cairo_fill(cr);
        if (haze < 0.5) Smoke(cr, dice, cx + cw / 2, cy - b.roof * 0.45 - 4, b.roof * 0.9);
    }
    double thick = std::max(3.0, b.roof * 0.22);
    RoofSnow(cr, b.x - 5, top + 1, b.x + b.w / 2, top - b.roof, thick,
             Mix(Hex("#f4f8ff"), Hex("#b9c9e6"), haze));
    RoofSnow(cr, b.x + b.w / 2, top - b.roof, b.x + b.w + 5, top + 1, thick,
             Mix(Hex("#a9bcd9"), Hex("#8fa4cc"), haze));
    // windows (none on the far, hazy houses except small lit squares)
    double ww = std::max(3.0, b.w * 0.16), wh = ww * 1.25;
    for (int i = 0; i < b.windows; ++i) {
        double wx = b.x + b.w * (i + 1) / (b.windows + 1) - ww / 2;
        if (b.door && b.windows % 2 == 1 && i == b.windows / 2) continue;
        Window(cr, wx, top + b.h * 0.25, ww, wh);
    }
    if (b.door) {
        double dw = b.w * 0.17, dh = b.h * 0.55;
        double dx = b.x + b.w * 0.5 - dw / 2;
        Set(cr, Hex("#1d1420"));
        cairo_rectangle(cr, dx, b.base - dh, dw, dh);
        cairo_fill(cr);
        Window(cr, dx + dw * 0.3, b.base - dh * 0.85, dw * 0.4, dh * 0.22);
    }
    // warm light spilling onto the snow in front
    cairo_save(cr);
    cairo_translate(cr, b.x + b.w / 2, b.base + 3);
    cairo_scale(cr, 1.0, 0.22);
    WarmGlow(cr, 0, 0, b.w * 0.9, 0.22 * (1 - haze));
    cairo_restore(cr);
    // snow banked against the wall
    Set(cr, Mix(Hex("#dfe9f8"), Hex("#b5c6e4"), haze));
    cairo_move_to(cr, b.x - 6, b.base + 2);
    cairo_curve_to(cr, b.x, b.base - 5, b.x + b.w * 0.3, b.base - 2, b.x + b.w * 0.5, b.base - 1);
    cairo_curve_to(cr, b.x + b.w * 0.7, b.base - 3, b.x + b.w, b.base - 6, b.x + b.w + 6,
                   b.base + 2);
    cairo_close_path(cr);
    cairo_fill(cr);
}

void Chapel(cairo_t* cr, Dice& dice, double x, double base, double s) {
    Building nave{x + 26 * s, base, 62 * s, 44 * s, 30 * s, 2, false, false, 2}; // stone grey
    // tower
    double tx = x, tw = 30 * s, th = 96 * s;
    cairo_pattern_t* g = cairo_pattern_create_linear(tx, 0, tx + tw, 0);
    Stop(g, 0, Hex("#5a5f7c"));
    Stop(g, 1, Hex("#363a56"));
    cairo_set_source(cr, g);
    cairo_rectangle(cr, tx, base - th, tw, th);
    cairo_fill(cr);
    cairo_pattern_destroy(g);
    House(cr, dice, nave);
    // spire
    double sy = base - th, sh = 58 * s;
    Set(cr, Hex("#dfe9f8"));
    cairo_move_to(cr, tx - 3 * s, sy + 2);
    cairo_line_to(cr, tx + tw / 2, sy - sh);
    cairo_line_to(cr, tx + tw / 2, sy + 2);
    cairo_fill(cr);
    Set(cr, Hex("#7f93bd"));
    cairo_move_to(cr, tx + tw / 2, sy - sh);
    cairo_line_to(cr, tx + tw + 3 * s, sy + 2);
    cairo_line_to(cr, tx + tw / 2, sy + 2);
    cairo_fill(cr);
    Set(cr, Hex("#ffd36b"));
    cairo_arc(cr, tx + tw / 2, sy - sh - 3 * s, 2.2 * s, 0, 2 * kPi);
    cairo_fill(cr);
    Window(cr, tx + tw * 0.3, base - th * 0.78, tw * 0.4, th * 0.18, true);
    Window(cr, tx + tw * 0.3, base - th * 0.45, tw * 0.4, th * 0.16, true);
    Set(cr, Hex("#1d1420"));
    cairo_move_to(cr, tx + tw * 0.28, base);
    cairo_line_to(cr, tx + tw * 0.28, base - th * 0.16);
    cairo_arc(cr, tx + tw / 2, base - th * 0.16, tw * 0.22, kPi, 2 * kPi);
    cairo_line_to(cr, tx + tw * 0.72, base);
    cairo_fill(cr);
    cairo_save(cr);
    cairo_translate(cr, tx + tw / 2, base + 3);
    cairo_scale(cr, 1.0, 0.25);
    WarmGlow(cr, 0, 0, 40 * s, 0.25);
    cairo_restore(cr);
}

void Lantern(cairo_t* cr, double x, double base, double h) {
    Set(cr, Hex("#1a1a26"));
    cairo_rectangle(cr, x - 1.3, base - h, 2.6, h);
    cairo_fill(cr);
    WarmGlow(cr, x, base - h - 4, 26, 0.55);
    Set(cr, Hex("#fff3b0"));
    cairo_rectangle(cr, x - 3, base - h - 8, 6, 7);
    cairo_fill(cr);
    Set(cr, Hex("#1a1a26"));
    cairo_move_to(cr, x - 5, base - h - 8);
    cairo_line_to(cr, x, base - h - 13);
    cairo_line_to(cr, x + 5, base - h - 8);
    cairo_fill(cr);
    Set(cr, Hex("#eef4ff"));
    cairo_move_to(cr, x - 5.5, base - h - 8.5);
    cairo_line_to(cr, x, base - h - 14.5);
    cairo_line_to(cr, x + 2.5, base - h - 11.5);
    cairo_fill(cr);
}

void Fence(cairo_t* cr, const Height& ground, double x0, double x1, double h) {
    for (double x = x0; x <= x1; x += 22) {
        double y = ground(x);
        Set(cr, Hex("#2c2430"));
        cairo_rectangle(cr, x - 2, y - h, 4, h + 3);
        cairo_fill(cr);
        Set(cr, Hex("#eef4ff"));
        cairo_arc(cr, x, y - h, 2.8, kPi, 2 * kPi);
        cairo_fill(cr);
    }
    for (double rail : {0.35, 0.75}) {
        cairo_set_line_width(cr, 2.2);
        Set(cr, Hex("#2c2430"));
        cairo_move_to(cr, x0, ground(x0) - h * rail);
        for (double x = x0; x <= x1; x += 22)
            cairo_line_to(cr, x, ground(x) - h * rail);
        cairo_stroke(cr);
        cairo_set_line_width(cr, 1.2);
        Set(cr, Hex("#e6eef9"), 0.9);
        cairo_move_to(cr, x0, ground(x0) - h * rail - 1.6);
        for (double x = x0; x <= x1; x += 22)
            cairo_line_to(cr, x, ground(x) - h * rail - 1.6);
        cairo_stroke(cr);
    }
}

// ---- mountains and water -------------------------------------------------------------------

struct Peak {
    double x, top, half; // apex and half the base width
};

void Mountain(cairo_t* cr, Dice& dice, const Peak& p, double base, double haze) {
    Rgb lit = Mix(Hex("#e4edfa"), Hex("#8ea8cf"), haze);
    Rgb lit_foot = Mix(Hex("#9bb3d8"), Hex("#5d79a8"), haze);
    Rgb shade = Mix(Hex("#5873a3"), Hex("#536fa1"), haze);
    Rgb shade_foot = Mix(Hex("#2c4677"), Hex("#44609a"), haze);
    unsigned seed = static_cast<unsigned>(dice.Int(1, 1 << 20));
    double height = base - p.top;
    const int n = 30;
    // ragged flanks: fractal bumps that vanish at the summit and at the foot
    auto flank = [&](double side, unsigned s) {
        std::vector<std::pair<double, double>> edge;
        for (int i = 0; i <= n; ++i) {
            double t = double(i) / n;
            double bump = (Fbm(t * 5.0, 0.5, 4, s) - 0.5) * 0.28 * height * std::sin(kPi * t);
            double y = p.top + height * std::pow(t, side < 0 ? 1.1 : 0.95) + bump;
            edge.push_back({p.x + side * p.half * t, std::min(base, y)});
        }
        return edge;
    };
    auto left = flank(-1, seed), right = flank(1, seed + 1);
    std::vector<std::pair<double, double>> crease;
    for (int i = 0; i <= n; ++i) {
        double t = double(i) / n;
        double wander = (Fbm(t * 4.0, 3.5, 3, seed + 2) - 0.5) * p.half * 0.3 * t;
        crease.push_back({p.x + p.half * 0.16 * t + wander, p.top + height * t});
    }
    auto face = [&](const std::vector<std::pair<double, double>>& edge, Rgb c0, Rgb c1) {
        cairo_move_to(cr, edge[0].first, edge[0].second);
        for (auto& q : edge)
            cairo_line_to(cr, q.first, q.second);
        cairo_line_to(cr, edge.back().first, base + 2);
        cairo_line_to(cr, crease.back().first, base + 2);
        for (int i = n; i >= 0; --i)
            cairo_line_to(cr, crease[i].first, crease[i].second);
        cairo_close_path(cr);
        cairo_pattern_t* g = cairo_pattern_create_linear(0, p.top, 0, base);
        Stop(g, 0, c0);
        Stop(g, 1, c1);
        cairo_set_source(cr, g);
        cairo_fill(cr);
        cairo_pattern_destroy(g);
    };
    face(left, lit, lit_foot);
    face(right, shade, shade_foot);
    // gullies on the lit face and rock ribs on the shaded one, thinning downhill
    auto streak = [&](double x0, double y0, double dx, double len, double w, Rgb c, double a) {
        cairo_move_to(cr, x0 - w / 2, y0);
        cairo_curve_to(cr, x0 + dx * 0.3, y0 + len * 0.4, x0 + dx * 0.7, y0 + len * 0.7, x0 + dx,
                       y0 + len);
        cairo_curve_to(cr, x0 + dx * 0.7 + w * 0.3, y0 + len * 0.7, x0 + dx * 0.3 + w,
                       y0 + len * 0.4, x0 + w / 2, y0);
        cairo_close_path(cr);
        Set(cr, c, a);
        cairo_fill(cr);
    };
    for (int k = 0; k < 6; ++k) {
        int i = dice.Int(3, n / 2);
        double x0 = (left[i].first * 2 + crease[i].first) / 3, y0 = left[i].second + 3;
        streak(x0, y0, dice.Real(4, 14), height * dice.Real(0.2, 0.4), dice.Real(2, 4),
               Mix(Hex("#7f98c4"), lit_foot, haze), 0.45 * (1 - 0.5 * haze));
    }
    for (int k = 0; k < 7; ++k) {
        int i = dice.Int(2, n * 2 / 3);
        double x0 = (right[i].first + crease[i].first * 2) / 3, y0 = crease[i].second + 4;
        streak(x0, y0, dice.Real(2, 10), height * dice.Real(0.15, 0.35), dice.Real(2, 5),
               Hex("#1b2c52"), 0.35 * (1 - 0.6 * haze));
    }
    // moonlight on the crest where it faces the upper left
    cairo_set_line_width(cr, 1.4);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_BUTT);
    for (int i = 0; i < n; ++i) {
        cairo_set_source_rgba(cr, 1, 1, 1, 0.5 * (1 - haze) * (1 - double(i) / n));
        cairo_move_to(cr, left[i].first + 0.5, left[i].second + 0.8);
        cairo_line_to(cr, left[i + 1].first + 0.5, left[i + 1].second + 0.8);
        cairo_stroke(cr);
    }
}

// A band of still water or ice between two lines, with the horizon's light on its far edge.
void Water(cairo_t* cr, const Height& top, double bottom, Rgb far, Rgb near) {
    RidgePath(cr, top);
    cairo_pattern_t* g = cairo_pattern_create_linear(0, top(400) - 10, 0, bottom);
    Stop(g, 0, far);
    Stop(g, 1, near);
    cairo_set_source(cr, g);
    cairo_fill(cr);
    cairo_pattern_destroy(g);
}

// A snowman with a scarf and a knitted cap, lit from the upper left.
void Snowman(cairo_t* cr, double x, double base, double s) {
    cairo_save(cr); // contact shadow
    cairo_translate(cr, x + 6 * s, base);
    cairo_scale(cr, 1.0, 0.25);
    cairo_pattern_t* sh = cairo_pattern_create_radial(0, 0, 0, 0, 0, 30 * s);
    cairo_pattern_add_color_stop_rgba(sh, 0, 0.1, 0.16, 0.32, 0.45);
    cairo_pattern_add_color_stop_rgba(sh, 1, 0.1, 0.16, 0.32, 0);
    cairo_set_source(cr, sh);
    cairo_arc(cr, 0, 0, 30 * s, 0, 2 * kPi);
    cairo_fill(cr);
    cairo_pattern_destroy(sh);
    cairo_restore(cr);
    auto ball = [&](double cy, double r) {
        cairo_pattern_t* g =
            cairo_pattern_create_radial(x - r * 0.35, cy - r * 0.4, r * 0.1, x, cy, r);
        Stop(g, 0, Hex("#ffffff"));
        Stop(g, 0.55, Hex("#dbe6f6"));
        Stop(g, 1, Hex("#8ea8cf"));
        cairo_set_source(cr, g);
        cairo_arc(cr, x, cy, r, 0, 2 * kPi);
        cairo_fill(cr);
        cairo_pattern_destroy(g);
    };
    double r1 = 20 * s, r2 = 14 * s, r3 = 10 * s;
    double c1 = base - r1 * 0.9, c2 = c1 - r1 - r2 * 0.7, c3 = c2 - r2 - r3 * 0.7;
    cairo_set_line_width(cr, 1.6 * s); // twig arms
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    Set(cr, Hex("#3a2a2c"));
    cairo_move_to(cr, x - r2 * 0.8, c2);
    cairo_line_to(cr, x - r2 * 2.3, c2 - r2 * 0.9);
    cairo_move_to(cr, x - r2 * 1.9, c2 - r2 * 0.55);
    cairo_line_to(cr, x - r2 * 2.2, c2 - r2 * 0.2);
    cairo_move_to(cr, x + r2 * 0.8, c2);
    cairo_line_to(cr, x + r2 * 2.2, c2 - r2 * 0.5);
    cairo_stroke(cr);
    ball(c1, r1);
    ball(c2, r2);
    ball(c3, r3);
    Set(cr, Hex("#1c1a24"));
    for (double k : {-0.35, 0.1, 0.55}) { // coal buttons
        cairo_arc(cr, x, c2 + k * r2, 1.5 * s, 0, 2 * kPi);
        cairo_fill(cr);
    }
    for (double k : {-0.35, 0.3}) {
        cairo_arc(cr, x + k * r3, c3 - r3 * 0.15, 1.2 * s, 0, 2 * kPi);
        cairo_fill(cr);
    }
    Set(cr, Hex("#ff8c1a")); // carrot
    cairo_move_to(cr, x, c3 + r3 * 0.05);
    cairo_line_to(cr, x + r3 * 0.9, c3 + r3 * 0.2);
    cairo_line_to(cr, x, c3 + r3 * 0.3);
    cairo_fill(cr);
    Set(cr, Hex("#a8343f")); // scarf, one end hanging
    cairo_rectangle(cr, x - r3 * 1.05, c3 + r3 * 0.7, r3 * 2.1, 3.6 * s);
    cairo_fill(cr);
    cairo_rectangle(cr, x + r3 * 0.3, c3 + r3 * 0.7, 3.4 * s, r2 * 0.9);
    cairo_fill(cr);
    Set(cr, Hex("#e8c9a0"), 0.7);
    cairo_rectangle(cr, x + r3 * 0.3, c3 + r3 * 0.7 + r2 * 0.5, 3.4 * s, 1.2 * s);
    cairo_fill(cr);
    Set(cr, Hex("#2f4a7c")); // knitted cap with a pompom
    cairo_arc(cr, x, c3 - r3 * 0.35, r3 * 0.95, kPi, 2 * kPi);
    cairo_fill(cr);
    Set(cr, Hex("#eef4ff"));
    cairo_rectangle(cr, x - r3 * 1.0, c3 - r3 * 0.45, r3 * 2.0, 2.6 * s);
    cairo_fill(cr);
    cairo_arc(cr, x + r3 * 0.1, c3 - r3 * 1.35, 2.6 * s, 0, 2 * kPi);
    cairo_fill(cr);
}

// ---- the six scenes ------------------------------------------------------------------------

Height Ground(double y, double amp, unsigned seed, double scale) {
    Height w = Wobble(seed, scale);
    return [=](double x) { return y + amp * w(x); };
}

void Village(cairo_t* cr, Dice& dice) {
    Height far = Ground(418, 70, 11, 260);
    SnowRidge(cr, far, Hex("#6d88b8"), Hex("#3f5a8c"), 380, 480, 0.4);
    PineRow(cr, dice, far, -10, 820, 16, 14, 26, 0.85);
    House(cr, dice, {300, far(330) + 4, 26, 16, 10, 2, false, false}, 0.7);
    House(cr, dice, {420, far(440) + 4, 22, 14, 9, 1, false, false}, 0.7);
    Height mid = [&](double x) {
        return 478 - 40 * std::exp(-std::pow((x - 90) / 170, 2)) -
               34 * std::exp(-std::pow((x - 690) / 160, 2)) + 10 * Wobble(12, 120)(x);
    };
    SnowRidge(cr, mid, Hex("#b3c6e6"), Hex("#7893c2"), 430, 560);
    Pine(cr, dice, 8, mid(8) + 4, 120, 0.15);
    House(cr, dice, {28, mid(60) + 6, 78, 50, 34, 3, true, true});
    House(cr, dice, {122, mid(150) + 8, 56, 36, 26, 2, true, false}, 0.15);
    Pine(cr, dice, 196, mid(196) + 6, 70, 0.2);
    Pine(cr, dice, 224, mid(224) + 6, 50, 0.25);
    House(cr, dice, {560, mid(590) + 8, 62, 40, 28, 2, true, false}, 0.1);
    Pine(cr, dice, 545, mid(545) + 6, 64, 0.2);
    House(cr, dice, {640, mid(680) + 6, 84, 54, 36, 3, true, true});
    Pine(cr, dice, 760, mid(760) + 4, 130, 0.1);
    Height near = Ground(560, 30, 13, 200);
    SnowRidge(cr, near, Hex("#dce7f7"), Hex("#a9bcd9"), 540, 600);
    Fence(cr, near, 10, 250, 18);
    Lantern(cr, 300, near(300) + 2, 34);
    Lantern(cr, 520, near(520) + 2, 34);
    Fence(cr, near, 560, 800, 18);
    SnowGlints(cr, dice, near, 0, 800, 60);
    SnowGlints(cr, dice, mid, 0, 800, 25);
}

void Forest(cairo_t* cr, Dice& dice) {
    Height far = Ground(405, 60, 21, 300);
    SnowRidge(cr, far, Hex("#6782b3"), Hex("#3f5a8c"), 370, 470, 0.4);
    PineRow(cr, dice, far, -10, 820, 9, 18, 40, 0.8);
    Height mid = Ground(470, 40, 22, 180);
    SnowRidge(cr, mid, Hex("#a9bde0"), Hex("#6f8abb"), 440, 540);
    PineRow(cr, dice, mid, -10, 250, 18, 40, 90, 0.45);
    PineRow(cr, dice, mid, 520, 820, 18, 40, 90, 0.45);
    PineRow(cr, dice, mid, 250, 520, 60, 24, 40, 0.55);
    Height near = [&](double x) {
        return 545 - 25 * std::exp(-std::pow((x - 400) / 120, 2)) + 12 * Wobble(23, 150)(x);
    };
    SnowRidge(cr, near, Hex("#e2ebf8"), Hex("#a9bcd9"), 510, 600);
    // a trodden path winding through the clearing, narrowing into the distance
    cairo_pattern_t* path = cairo_pattern_create_linear(0, 510, 0, 600);
    cairo_pattern_add_color_stop_rgba(path, 0, 0.55, 0.65, 0.82, 0.25);
    cairo_pattern_add_color_stop_rgba(path, 1, 0.55, 0.65, 0.82, 0.5);
    cairo_set_source(cr, path);
    cairo_move_to(cr, 330, 602);
    cairo_curve_to(cr, 370, 566, 448, 552, 424, near(424) + 2);
    cairo_line_to(cr, 434, near(434) + 2);
    cairo_curve_to(cr, 462, 552, 410, 570, 470, 602);
    cairo_close_path(cr);
    cairo_fill(cr);
    cairo_pattern_destroy(path);
    Pine(cr, dice, 30, 610, 330, 0.0);
    Pine(cr, dice, 105, 600, 230, 0.05);
    Pine(cr, dice, 175, near(175) + 8, 130, 0.1);
    Pine(cr, dice, 610, near(610) + 8, 150, 0.1);
    Pine(cr, dice, 690, 605, 280, 0.0);
    Pine(cr, dice, 780, 610, 340, 0.0);
    Lantern(cr, 470, near(470) + 3, 40);
    SnowGlints(cr, dice, near, 0, 800, 70);
}

void Lake(cairo_t* cr, Dice& dice) {
    Height far = Ground(425, 50, 31, 240);
    SnowRidge(cr, far, Hex("#7088b8"), Hex("#4a6496"), 390, 470, 0.4);
    PineRow(cr, dice, far, -10, 215, 11, 16, 34, 0.75);
    PineRow(cr, dice, far, 268, 330, 11, 16, 34, 0.75);
    PineRow(cr, dice, far, 470, 820, 11, 16, 34, 0.75);
    House(cr, dice, {226, far(240) + 5, 34, 20, 14, 2, true, false}, 0.45);
    Height shore = [](double) { return 452.0; };
    Water(cr, shore, 600, Hex("#6d89bb"), Hex("#1f3866"));
    // the far trees mirrored faintly in the ice
    for (double x = -10; x < 820; x += dice.Real(5, 11)) {
        if ((x > 215 && x < 268) || (x > 330 && x < 470)) continue;
        double h = dice.Real(8, 18);
        cairo_pattern_t* fade = cairo_pattern_create_linear(0, 456, 0, 456 + h);
        cairo_pattern_add_color_stop_rgba(fade, 0, 0.16, 0.25, 0.43, 0.22);
        cairo_pattern_add_color_stop_rgba(fade, 1, 0.16, 0.25, 0.43, 0.0);
        cairo_set_source(cr, fade);
        cairo_move_to(cr, x - h * 0.22, 456);
        cairo_line_to(cr, x + h * 0.22, 456);
        cairo_line_to(cr, x, 456 + h);
        cairo_close_path(cr);
        cairo_fill(cr);
        cairo_pattern_destroy(fade);
    }
    // a low snow bank along the far shore, so the ice does not meet the hills in a ruled line
    Height bank = [&](double x) {
        return 455 - 5 * std::exp(-std::pow((x - 560) / 120, 2)) + 3 * Wobble(34, 60)(x);
    };
    cairo_move_to(cr, -20, 460);
    for (double x = -20; x <= kW + 20; x += 3)
        cairo_line_to(cr, x, bank(x) - 2);
    for (double x = kW + 20; x >= -20; x -= 3)
        cairo_line_to(cr, x, bank(x) + 3 + 2 * Noise2(x / 20, 1, 35));
    cairo_close_path(cr);
    Set(cr, Hex("#9db3d9"));
    cairo_fill(cr);
    // reflections: moon streak, the far trees, the lit cabin window
    for (int i = 0; i < 40; ++i) {
        double y = 458 + i * 3.2, w = 14 + i * 0.9;
        cairo_set_source_rgba(cr, 0.85, 0.9, 1.0, 0.16 * (1 - i / 40.0));
        cairo_rectangle(cr, 24 - w / 2 + dice.Real(-3, 3), y, w, 1.3); // under the moons
        cairo_fill(cr);
    }
    for (int i = 0; i < 12; ++i) {
        cairo_set_source_rgba(cr, 1.0, 0.75, 0.35, 0.25 * (1 - i / 12.0));
        cairo_rectangle(cr, 238 + dice.Real(-2, 2), 458 + i * 3, 8, 1.2);
        cairo_fill(cr);
    }
    // cracks and skate marks in the ice
    cairo_set_line_width(cr, 0.8);
    for (int k = 0; k < 14; ++k) {
        double x = dice.Real(0, 800), y = dice.Real(470, 560);
        cairo_set_source_rgba(cr, 0.9, 0.96, 1.0, dice.Real(0.15, 0.35));
        cairo_move_to(cr, x, y);
        for (int s = 0; s < 5; ++s) {
            x += dice.Real(-18, 18), y += dice.Real(-3, 5);
            cairo_line_to(cr, x, y);
        }
        cairo_stroke(cr);
    }
    cairo_set_line_width(cr, 1.0);
    cairo_set_source_rgba(cr, 0.9, 0.95, 1.0, 0.25);
    for (int k = 0; k < 3; ++k) {
        cairo_save(cr);
        cairo_translate(cr, 430 + k * 30, 505 + k * 6);
        cairo_scale(cr, 3.2, 1.0);
        cairo_arc(cr, 0, 0, 20 + k * 4, 0.2, kPi - 0.4);
        cairo_restore(cr);
        cairo_stroke(cr);
    }
    // snow drifted over the near edge of the ice
    Height near = [&](double x) {
        return 560 - 50 * std::exp(-std::pow(x / 140, 2)) -
               40 * std::exp(-std::pow((x - 800) / 180, 2)) + 8 * Wobble(33, 90)(x);
    };
    SnowRidge(cr, near, Hex("#dfe9f8"), Hex("#a9bcd9"), 500, 600);
    Pine(cr, dice, 20, near(20) + 10, 200, 0.0);
    Pine(cr, dice, 80, near(80) + 10, 120, 0.05);
    Pine(cr, dice, 700, near(700) + 10, 150, 0.05);
    Pine(cr, dice, 770, near(770) + 10, 240, 0.0);
    // dry reeds poking through the snow
    cairo_set_line_width(cr, 1.2);
    for (int k = 0; k < 26; ++k) {
        double x = k < 13 ? dice.Real(130, 250) : dice.Real(560, 660);
        double y = near(x) + 4, h = dice.Real(10, 26);
        cairo_set_source_rgba(cr, 0.2, 0.17, 0.22, 0.9);
        cairo_move_to(cr, x, y);
        cairo_curve_to(cr, x + 1, y - h * 0.5, x + 2, y - h * 0.8, x + dice.Real(-2, 5), y - h);
        cairo_stroke(cr);
    }
    Snowman(cr, 300, near(300) + 2, 1.0);
    Lantern(cr, 150, near(150) + 3, 34);
    SnowGlints(cr, dice, near, 0, 800, 55);
}

void ChapelHills(cairo_t* cr, Dice& dice) {
    Height far = Ground(410, 80, 41, 280);
    SnowRidge(cr, far, Hex("#6f8aba"), Hex("#46618f"), 370, 480, 0.4);
    PineRow(cr, dice, far, 380, 820, 26, 14, 26, 0.8);
    Height hill = [&](double x) {
        return 470 - 95 * std::exp(-std::pow((x - 110) / 150, 2)) + 10 * Wobble(42, 140)(x);
    };
    SnowRidge(cr, hill, Hex("#c3d3ee"), Hex("#7f99c6"), 370, 560);
    Chapel(cr, dice, 78, hill(120) + 6, 1.0);
    Pine(cr, dice, 30, hill(30) + 6, 90, 0.15);
    Pine(cr, dice, 225, hill(225) + 6, 70, 0.2);
    Height right = [&](double x) {
        return 488 - 45 * std::exp(-std::pow((x - 650) / 130, 2)) + 8 * Wobble(43, 120)(x);
    };
    SnowRidge(cr, right, Hex("#b3c6e6"), Hex("#7893c2"), 430, 560);
    House(cr, dice, {600, right(620) + 5, 44, 28, 20, 2, true, false}, 0.25);
    Pine(cr, dice, 680, right(680) + 6, 100, 0.15);
    Pine(cr, dice, 720, right(720) + 6, 70, 0.2);
    Height near = Ground(565, 26, 44, 220);
    SnowRidge(cr, near, Hex("#e2ebf8"), Hex("#a9bcd9"), 540, 600);
    // a line of fence posts running down the slope
    for (int i = 0; i < 9; ++i) {
        double x = 250 + i * 50, y = near(x) - 2 + i * 0.5, h = 16 - i * 0.6;
        Set(cr, Hex("#2c2430"));
        cairo_rectangle(cr, x, y - h, 3.4, h + 3);
        cairo_fill(cr);
        Set(cr, Hex("#eef4ff"));
        cairo_arc(cr, x + 1.7, y - h, 2.4, kPi, 2 * kPi);
        cairo_fill(cr);
    }
    Lantern(cr, 560, near(560) + 3, 36);
    SnowGlints(cr, dice, near, 0, 800, 60);
    SnowGlints(cr, dice, hill, 0, 300, 18);
}

void Valley(cairo_t* cr, Dice& dice) {
    const Peak back[] = {{60, 210, 210}, {250, 290, 170}, {470, 270, 200}, {690, 190, 220}};
    for (const Peak& p : back)
        Mountain(cr, dice, p, 470, 0.6);
    const Peak front[] = {{-20, 250, 200}, {150, 330, 150}, {600, 320, 160}, {800, 230, 230}};
    for (const Peak& p : front)
        Mountain(cr, dice, p, 480, 0.15);
    Height floor = Ground(470, 30, 51, 220);
    SnowRidge(cr, floor, Hex("#a9bde0"), Hex("#6f8abb"), 440, 540);
    PineRow(cr, dice, floor, -10, 230, 14, 30, 70, 0.45);
    PineRow(cr, dice, floor, 520, 820, 14, 30, 70, 0.45);
    House(cr, dice, {575, floor(600) + 10, 70, 42, 30, 3, true, true}, 0.05);
    Height near = Ground(555, 26, 52, 200);
    SnowRidge(cr, near, Hex("#e2ebf8"), Hex("#a9bcd9"), 530, 600);
    Pine(cr, dice, 25, 605, 260, 0.0);
    Pine(cr, dice, 95, near(95) + 8, 140, 0.05);
    Pine(cr, dice, 705, near(705) + 8, 170, 0.05);
    Pine(cr, dice, 775, 605, 280, 0.0);
    Lantern(cr, 520, near(520) + 3, 36);
    SnowGlints(cr, dice, near, 0, 800, 60);
}

void Lighthouse(cairo_t* cr, double x, double base, double h) {
    double wb = 34, wt = 22;
    cairo_pattern_t* g = cairo_pattern_create_linear(x - wb / 2, 0, x + wb / 2, 0);
    Stop(g, 0, Hex("#e2ebf8"));
    Stop(g, 1, Hex("#7f93bd"));
    cairo_set_source(cr, g);
    cairo_move_to(cr, x - wb / 2, base);
    cairo_line_to(cr, x - wt / 2, base - h);
    cairo_line_to(cr, x + wt / 2, base - h);
    cairo_line_to(cr, x + wb / 2, base);
    cairo_close_path(cr);
    cairo_fill(cr);
    cairo_pattern_destroy(g);
    for (int band = 0; band < 3; ++band) { // muted red bands
        double y0 = base - h * (0.2 + band * 0.27), y1 = y0 - h * 0.1;
        double w0 = wb + (wt - wb) * (base - y0) / h, w1 = wb + (wt - wb) * (base - y1) / h;
        cairo_set_source_rgba(cr, 0.55, 0.2, 0.25, 0.85);
        cairo_move_to(cr, x - w0 / 2, y0);
        cairo_line_to(cr, x - w1 / 2, y1);
        cairo_line_to(cr, x + w1 / 2, y1);
        cairo_line_to(cr, x + w0 / 2, y0);
        cairo_fill(cr);
    }
    double top = base - h;
    // a faint beam sweeping towards the sea
    cairo_pattern_t* beam = cairo_pattern_create_linear(x, top - 12, x + 330, top + 30);
    cairo_pattern_add_color_stop_rgba(beam, 0, 1.0, 0.9, 0.6, 0.28);
    cairo_pattern_add_color_stop_rgba(beam, 1, 1.0, 0.9, 0.6, 0.0);
    cairo_set_source(cr, beam);
    cairo_move_to(cr, x, top - 12);
    cairo_line_to(cr, x + 340, top - 50);
    cairo_line_to(cr, x + 340, top + 40);
    cairo_close_path(cr);
    cairo_fill(cr);
    cairo_pattern_destroy(beam);
    WarmGlow(cr, x, top - 12, 60, 0.7);
    Set(cr, Hex("#1a1a26"));
    cairo_rectangle(cr, x - wt / 2 - 3, top - 2, wt + 6, 3);
    cairo_fill(cr);
    Set(cr, Hex("#fff3b0"));
    cairo_rectangle(cr, x - wt / 2 + 3, top - 20, wt - 6, 18);
    cairo_fill(cr);
    Set(cr, Hex("#1a1a26"));
    cairo_move_to(cr, x - wt / 2 - 2, top - 20);
    cairo_line_to(cr, x, top - 32);
    cairo_line_to(cr, x + wt / 2 + 2, top - 20);
    cairo_fill(cr);
    Set(cr, Hex("#eef4ff"));
    cairo_move_to(cr, x - wt / 2 - 3, top - 20.5);
    cairo_line_to(cr, x, top - 33);
    cairo_line_to(cr, x + 3, top - 30);
    cairo_line_to(cr, x - wt / 2 + 2, top - 19);
    cairo_fill(cr);
}

void Boat(cairo_t* cr, double x, double y, double s) {
    Set(cr, Hex("#2b2736"));
    cairo_move_to(cr, x - 48 * s, y - 14 * s);
    cairo_line_to(cr, x + 52 * s, y - 14 * s);
    cairo_curve_to(cr, x + 44 * s, y, x + 30 * s, y + 4 * s, x, y + 4 * s);
    cairo_curve_to(cr, x - 30 * s, y + 4 * s, x - 40 * s, y, x - 48 * s, y - 14 * s);
    cairo_fill(cr);
    Set(cr, Hex("#4a3a46"));
    cairo_rectangle(cr, x - 44 * s, y - 12 * s, 94 * s, 2.5 * s);
    cairo_fill(cr);
    Set(cr, Hex("#2b2736"));
    cairo_rectangle(cr, x - 16 * s, y - 30 * s, 26 * s, 16 * s);
    cairo_fill(cr);
    Window(cr, x - 10 * s, y - 26 * s, 6 * s, 6 * s);
    Window(cr, x + 1 * s, y - 26 * s, 6 * s, 6 * s);
    Set(cr, Hex("#1d1a26"));
    cairo_rectangle(cr, x + 20 * s, y - 92 * s, 2.2 * s, 78 * s);
    cairo_fill(cr);
    cairo_set_line_width(cr, 0.8);
    cairo_set_source_rgba(cr, 0.1, 0.1, 0.16, 0.8);
    cairo_move_to(cr, x + 21 * s, y - 92 * s);
    cairo_line_to(cr, x - 46 * s, y - 14 * s);
    cairo_move_to(cr, x + 21 * s, y - 92 * s);
    cairo_line_to(cr, x + 51 * s, y - 14 * s);
    cairo_stroke(cr);
    RoofSnow(cr, x - 50 * s, y - 14 * s, x + 54 * s, y - 14 * s, 3.5 * s, Hex("#e6eef9"));
    RoofSnow(cr, x - 18 * s, y - 30 * s, x + 12 * s, y - 30 * s, 3.5 * s, Hex("#eef4ff"));
    for (int i = 0; i < 10; ++i) { // reflection of the cabin lights
        cairo_set_source_rgba(cr, 1.0, 0.75, 0.35, 0.22 * (1 - i / 10.0));
        cairo_rectangle(cr, x - 10 * s + std::sin(i * 1.7) * 2, y + 6 * s + i * 3, 16 * s, 1.1);
        cairo_fill(cr);
    }
}

void Harbour(cairo_t* cr, Dice& dice) {
    Height far = Ground(428, 46, 61, 260);
    SnowRidge(cr, far, Hex("#6d86b6"), Hex("#46618f"), 390, 470, 0.4);
    PineRow(cr, dice, far, 300, 620, 14, 12, 22, 0.8);
    for (int i = 0; i < 7; ++i) { // a far village: tiny lit windows across the bay
        double x = 360 + i * 34 + dice.Real(-8, 8), y = far(x) + 2;
        House(cr, dice, {x, y, 16, 10, 7, 1, false, false}, 0.75);
    }
    Height sea = [](double) { return 455.0; };
    Water(cr, sea, 600, Hex("#41609a"), Hex("#142a52"));
    cairo_set_line_width(cr, 1.0);
    for (int i = 0; i < 160; ++i) { // ripples catching the sky
        double y = dice.Real(460, 590), x = dice.Real(0, 800),
               w = dice.Real(8, 30) * (0.5 + (y - 455) / 140);
        cairo_set_source_rgba(cr, 0.7, 0.8, 0.98, dice.Real(0.06, 0.2));
        cairo_move_to(cr, x, y);
        cairo_line_to(cr, x + w, y);
        cairo_stroke(cr);
    }
    // rocky point with the lighthouse on the left
    Height rock = [&](double x) {
        return 470 - 55 * std::exp(-std::pow((x - 60) / 90, 2)) + 14 * Wobble(62, 40)(x) +
               (x > 170 ? (x - 170) * 3 : 0);
    };
    SnowRidge(cr, rock, Hex("#cfdcf2"), Hex("#5a6f98"), 400, 560);
    Lighthouse(cr, 70, rock(70) + 6, 150);
    // quay and pier on the right
    Set(cr, Hex("#2c2430"));
    for (double x = 470; x <= 660; x += 38) {
        cairo_rectangle(cr, x, 500, 5, 60);
        cairo_fill(cr);
    }
    Set(cr, Hex("#3a2e38"));
    cairo_rectangle(cr, 455, 494, 360, 9);
    cairo_fill(cr);
    RoofSnow(cr, 452, 494, 815, 494, 4, Hex("#e6eef9"));
    Lantern(cr, 520, 494, 30);
    Lantern(cr, 640, 494, 30);
    Boat(cr, 380, 540, 0.9);
    Height shore = [&](double x) {
        return 500 - 28 * std::exp(-std::pow((x - 760) / 120, 2)) + (x < 600 ? (600 - x) * 2 : 0);
    };
    SnowRidge(cr, shore, Hex("#b9c9e6"), Hex("#7893c2"), 460, 560);
    House(cr, dice, {660, shore(690) + 6, 64, 44, 30, 2, true, true});
    House(cr, dice, {734, shore(760) + 6, 58, 52, 28, 2, true, false}, 0.05);
    Height near = [&](double x) {
        return 578 - 30 * std::exp(-std::pow(x / 120, 2)) -
               20 * std::exp(-std::pow((x - 800) / 150, 2)) + 6 * Wobble(63, 90)(x);
    };
    SnowRidge(cr, near, Hex("#e2ebf8"), Hex("#a9bcd9"), 540, 600);
    for (double x : {150.0, 250.0}) { // bollards on the quay
        double y = near(x);
        Set(cr, Hex("#2c2430"));
        cairo_rectangle(cr, x - 5, y - 14, 10, 16);
        cairo_fill(cr);
        Set(cr, Hex("#eef4ff"));
        cairo_arc(cr, x, y - 14, 6, kPi, 2 * kPi);
        cairo_fill(cr);
    }
    SnowGlints(cr, dice, near, 0, 800, 40);
}

using SceneFn = void (*)(cairo_t*, Dice&);

Picture Landscape(SceneFn fn, unsigned seed) {
    Sketch s = Sketch_New(kW, kH);
    Dice dice(seed);
    fn(s.cr, dice);
    Picture p = Sketch_Finish(s);
    Picture_BleedEdges(p);
    return p;
}

} // namespace

void Scene_DrawLandscapes(const ArtContext& ctx) {
    struct Entry {
        const char* name;
        SceneFn fn;
    };
    const Entry scenes[] = {{"images/bckgA1.png", Village}, {"images/bckgB1.png", Forest},
                            {"images/bckgC1.png", Lake},    {"images/bckgD1.png", ChapelHills},
                            {"images/bckgE1.png", Valley},  {"images/bckgF1.png", Harbour}};
    // the six pictures are independent: draw them on as many threads as the build allows
    std::vector<Picture> done(6);
    int jobs = std::max(1, std::min(ctx.jobs, 6));
    std::vector<std::thread> workers;
    for (int j = 0; j < jobs; ++j)
        workers.emplace_back([&, j] {
            for (int i = j; i < 6; i += jobs)
                done[i] = Landscape(scenes[i].fn, 1000u + 77u * i);
        });
    for (std::thread& t : workers)
        t.join();
    for (int i = 0; i < 6; ++i)
        Art_WritePng(ctx, scenes[i].name, done[i]);
}

} // namespace scenekit
