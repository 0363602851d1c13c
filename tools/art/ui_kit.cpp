#include "tools/art/ui_kit.h"

#include <algorithm>
#include <cmath>
#include <vector>

void Ui_Set(cairo_t* cr, const char* hex, double alpha) {
    Art_SetHex(cr, hex, alpha);
}

static void BoxBlurLine(std::uint32_t* px, int n, int stride, int r, std::vector<int>& acc) {
    // Running sums of each channel over a window of 2r+1, edges clamped to the end pixels.
    std::vector<std::uint32_t> copy(n);
    for (int i = 0; i < n; ++i)
        copy[i] = px[i * stride];
    for (int c = 0; c < 4; ++c) {
        int shift = c * 8;
        acc.assign(n + 1, 0);
        for (int i = 0; i < n; ++i)
            acc[i + 1] = acc[i] + static_cast<int>((copy[i] >> shift) & 255);
        for (int i = 0; i < n; ++i) {
            int lo = std::max(0, i - r), hi = std::min(n - 1, i + r);
            int sum = acc[hi + 1] - acc[lo];
            int v = (sum + (hi - lo + 1) / 2) / (hi - lo + 1);
            if (c == 0) px[i * stride] = 0;
            px[i * stride] |= static_cast<std::uint32_t>(v) << shift;
        }
    }
}

void Ui_Blur(cairo_surface_t* s, int radius) {
    if (radius <= 0) return;
    cairo_surface_flush(s);
    int w = cairo_image_surface_get_width(s), h = cairo_image_surface_get_height(s);
    int stride = cairo_image_surface_get_stride(s) / 4;
    auto* data = reinterpret_cast<std::uint32_t*>(cairo_image_surface_get_data(s));
    int r = std::max(1, radius / 2);
    std::vector<int> acc;
    for (int pass = 0; pass < 3; ++pass) {
        for (int y = 0; y < h; ++y)
            BoxBlurLine(data + y * stride, w, 1, r, acc);
        for (int x = 0; x < w; ++x)
            BoxBlurLine(data + x, h, stride, r, acc);
    }
    cairo_surface_mark_dirty(s);
}

void Ui_GlowPath(cairo_t* cr, const char* hex, double alpha, int radius, double spread) {
    cairo_surface_t* target = cairo_get_target(cr);
    int w = cairo_image_surface_get_width(target), h = cairo_image_surface_get_height(target);
    cairo_path_t* path = cairo_copy_path(cr);
    cairo_matrix_t m;
    cairo_get_matrix(cr, &m);
    cairo_surface_t* glow = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, h);
    cairo_t* g = cairo_create(glow);
    cairo_set_matrix(g, &m);
    cairo_append_path(g, path);
    Ui_Set(g, hex, 1.0);
    if (spread > 0) {
        cairo_set_line_width(g, spread * 2);
        cairo_set_line_join(g, CAIRO_LINE_JOIN_ROUND);
        cairo_stroke_preserve(g);
    }
    cairo_fill(g);
    cairo_destroy(g);
    Ui_Blur(glow, radius);
    cairo_save(cr);
    cairo_identity_matrix(cr);
    cairo_set_source_surface(cr, glow, 0, 0);
    cairo_paint_with_alpha(cr, alpha);
    cairo_restore(cr);
    cairo_surface_destroy(glow);
    cairo_new_path(cr);
    cairo_append_path(cr, path);
    cairo_path_destroy(path);
}

void Ui_FrostPanel(cairo_t* cr, double x, double y, double w, double h, double r, double fill,
                   double rim) {
    cairo_save(cr);
    // Body: lighter at the top where the light comes from, deeper at the bottom.
    Art_RoundRect(cr, x, y, w, h, r);
    cairo_pattern_t* body = cairo_pattern_create_linear(x, y, x + w * 0.3, y + h);
    cairo_pattern_add_color_stop_rgba(body, 0.0, 0x22 / 255.0, 0x40 / 255.0, 0x74 / 255.0, fill);
    cairo_pattern_add_color_stop_rgba(body, 0.45, 0x14 / 255.0, 0x2a / 255.0, 0x52 / 255.0, fill);
    cairo_pattern_add_color_stop_rgba(body, 1.0, 0x0d / 255.0, 0x1c / 255.0, 0x3a / 255.0,
                                      std::min(1.0, fill + 0.06));
    cairo_set_source(cr, body);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(body);
    // Rim: silver-blue, brighter at the top-left corner.
    cairo_pattern_t* edge = cairo_pattern_create_linear(x, y, x + w, y + h);
    cairo_pattern_add_color_stop_rgba(edge, 0.0, 0.93, 0.96, 1.0, 1.0);
    cairo_pattern_add_color_stop_rgba(edge, 0.35, 0xb8 / 255.0, 0xcc / 255.0, 0xe8 / 255.0, 1.0);
    cairo_pattern_add_color_stop_rgba(edge, 1.0, 0x6f / 255.0, 0x88 / 255.0, 0xb3 / 255.0, 1.0);
    cairo_set_source(cr, edge);
    cairo_set_line_width(cr, rim);
    cairo_stroke(cr);
    cairo_pattern_destroy(edge);
    // Thin inner highlight just inside the rim.
    double in = rim * 0.5 + 1.2;
    Art_RoundRect(cr, x + in, y + in, w - 2 * in, h - 2 * in, std::max(0.0, r - in));
    cairo_pattern_t* hi = cairo_pattern_create_linear(x, y, x, y + h);
    cairo_pattern_add_color_stop_rgba(hi, 0.0, 1, 1, 1, 0.45);
    cairo_pattern_add_color_stop_rgba(hi, 0.5, 1, 1, 1, 0.08);
    cairo_pattern_add_color_stop_rgba(hi, 1.0, 1, 1, 1, 0.18);
    cairo_set_source(cr, hi);
    cairo_set_line_width(cr, 1.0);
    cairo_stroke(cr);
    cairo_pattern_destroy(hi);
    cairo_restore(cr);
}

void Ui_SnowCap(cairo_t* cr, double x, double y, double w, double depth, unsigned seed) {
    UiRand rnd(seed);
    // Lumps: a smooth top line through random heights, tapering to nothing at both ends.
    int n = std::max(3, static_cast<int>(w / 14));
    std::vector<double> top(n + 1), bottom(n + 1);
    for (int i = 0; i <= n; ++i) {
        double t = static_cast<double>(i) / n;
        double taper = std::sin(t * M_PI);
        taper = std::pow(taper, 0.35);
        top[i] = y - depth * 0.55 * taper * rnd.Uniform(0.6, 1.0);
        bottom[i] = y + depth * 0.45 * taper * rnd.Uniform(0.5, 1.0);
    }
    auto trace = [&](const std::vector<double>& v, bool reverse) {
        for (int k = 0; k <= n; ++k) {
            int i = reverse ? n - k : k;
            double px = x + w * i / n;
            if (k == 0) {
                cairo_line_to(cr, px, v[i]);
                continue;
            }
            int j = reverse ? i + 1 : i - 1;
            double qx = x + w * j / n, mx = (px + qx) / 2;
            cairo_curve_to(cr, mx, v[j], mx, v[i], px, v[i]);
        }
    };
    cairo_save(cr);
    cairo_new_path(cr);
    cairo_move_to(cr, x, y);
    trace(top, false);
    trace(bottom, true);
    cairo_close_path(cr);
    Ui_GlowPath(cr, "#0b1633", 0.35, 4);
    cairo_pattern_t* p = cairo_pattern_create_linear(0, y - depth * 0.6, 0, y + depth * 0.5);
    cairo_pattern_add_color_stop_rgb(p, 0.0, 0xf4 / 255.0, 0xf8 / 255.0, 1.0);
    cairo_pattern_add_color_stop_rgb(p, 0.55, 0xdd / 255.0, 0xe8 / 255.0, 0xf8 / 255.0);
    cairo_pattern_add_color_stop_rgb(p, 1.0, 0xa9 / 255.0, 0xbc / 255.0, 0xd9 / 255.0);
    cairo_set_source(cr, p);
    cairo_fill(cr);
    cairo_pattern_destroy(p);
    // A few glints of frost on the lit top.
    for (int i = 0; i < n; ++i) {
        double px = x + w * (i + rnd.Uniform(0.2, 0.8)) / n;
        double t = (px - x) / w;
        if (t < 0.08 || t > 0.92) continue;
        double py = y - depth * 0.3 * std::pow(std::sin(t * M_PI), 0.35);
        cairo_arc(cr, px, py, rnd.Uniform(0.5, 1.0), 0, 2 * M_PI);
        cairo_set_source_rgba(cr, 1, 1, 1, 0.9);
        cairo_fill(cr);
    }
    cairo_restore(cr);
}

void Ui_Snowflake(cairo_t* cr, double x, double y, double r, double line_width) {
    cairo_save(cr);
    cairo_translate(cr, x, y);
    cairo_set_line_width(cr, line_width);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    for (int i = 0; i < 6; ++i) {
        cairo_save(cr);
        cairo_rotate(cr, i * M_PI / 3);
        cairo_move_to(cr, 0, 0);
        cairo_line_to(cr, 0, -r);
        for (double t : {0.45, 0.7}) {
            double b = r * (t == 0.45 ? 0.3 : 0.22);
            cairo_move_to(cr, 0, -r * t);
            cairo_line_to(cr, -b, -r * t - b);
            cairo_move_to(cr, 0, -r * t);
            cairo_line_to(cr, b, -r * t - b);
        }
        cairo_restore(cr);
    }
    cairo_stroke(cr);
    cairo_restore(cr);
}

void Ui_Letter(cairo_t* cr, const UiLettering& s, const std::string& text, double x, double y,
               double align) {
    cairo_save(cr);
    Art_SetFont(cr, s.font, s.size);
    cairo_new_path(cr);
    if (s.glow_alpha > 0) {
        Art_TextPath(cr, text, x, y, align);
        int radius = static_cast<int>(s.glow_radius > 0 ? s.glow_radius : s.size * 0.35);
        Ui_GlowPath(cr, s.glow, s.glow_alpha, radius, s.size * 0.06);
        cairo_new_path(cr);
    }
    if (s.shadow_alpha > 0) {
        Art_TextPath(cr, text, x + s.size * 0.04, y + s.size * 0.07, align);
        Ui_GlowPath(cr, "#050a18", s.shadow_alpha, static_cast<int>(s.size * 0.12),
                    s.rim_width * 0.5);
        cairo_new_path(cr);
    }
    Art_TextPath(cr, text, x, y, align);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    if (s.rim_width > 0) {
        Ui_Set(cr, s.rim);
        cairo_set_line_width(cr, s.rim_width * 2);
        cairo_stroke_preserve(cr);
    }
    cairo_pattern_t* p = cairo_pattern_create_linear(0, y - s.size * 0.75, 0, y + s.size * 0.1);
    unsigned t = static_cast<unsigned>(std::strtoul(s.top + 1, nullptr, 16));
    unsigned b = static_cast<unsigned>(std::strtoul(s.bottom + 1, nullptr, 16));
    cairo_pattern_add_color_stop_rgb(p, 0, (t >> 16) / 255.0, ((t >> 8) & 255) / 255.0,
                                     (t & 255) / 255.0);
    cairo_pattern_add_color_stop_rgb(p, 1, (b >> 16) / 255.0, ((b >> 8) & 255) / 255.0,
                                     (b & 255) / 255.0);
    cairo_set_source(cr, p);
    cairo_fill(cr);
    cairo_pattern_destroy(p);
    cairo_restore(cr);
}
