// The special pieces and their overlays (ice crystal, icecube, snowball, pumpkin bomb, chains),
// the candle with its flame, the three hammers with their progress ovals, and the pictures the
// particle bursts take their shapes from.
#include "tools/art/objects.h"
#include "tools/art/povray.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>

namespace {

PovStrip Strip(const char* scene, const char* tag, int w, int h, int count,
               std::vector<std::pair<std::string, std::string>> declares = {},
               double antialias = 0.05, int supersample = 1) {
    PovStrip s;
    s.antialias = antialias;
    s.supersample = supersample;
    s.scene = scene;
    s.tag = tag;
    s.frame_w = w;
    s.frame_h = h;
    s.count = count;
    s.declares = std::move(declares);
    return s;
}

// Swooshes of snow circling the snowball, two opposite each other, so the picture looks the
// same turned half round (the flying halves are drawn turned).
void AddSwirl(Picture& frame, double turn) {
    // a cold blue aura sets the snowball apart from the pearl
    frame = Obj_WithGlow(frame, 3, 0.55, 0.80, 1.0, 0.55);
    cairo_surface_t* base = Picture_ToCairo(frame);
    cairo_t* cr = cairo_create(base);
    cairo_translate(cr, frame.w / 2.0, frame.h / 2.0);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    for (int side = 0; side < 2; ++side) {
        double a0 = -turn * 2 * M_PI + side * M_PI + 0.6;
        for (int k = 0; k < 16; ++k) { // a tapering arc built from short strokes
            double t = k / 16.0, a = a0 + t * 2.1;
            double r = 20.5 - 1.5 * t;
            cairo_set_line_width(cr, 3.8 * (1 - t) + 0.7);
            cairo_set_source_rgba(cr, 0.62 + 0.38 * (1 - t), 0.85 + 0.15 * (1 - t), 1.0,
                                  0.95 * (1 - t * t));
            cairo_arc(cr, 0, 0, r, a, a + 2.1 / 16 + 0.02);
            cairo_stroke(cr);
        }
    }
    cairo_destroy(cr);
    frame = Picture_FromCairo(base);
    cairo_surface_destroy(base);
}

// A four-pointed twinkle of light.
void Twinkle(cairo_t* cr, double x, double y, double size, double angle, double alpha, double r,
             double g, double b) {
    cairo_save(cr);
    cairo_translate(cr, x, y);
    cairo_pattern_t* glow = cairo_pattern_create_radial(0, 0, 0, 0, 0, size);
    cairo_pattern_add_color_stop_rgba(glow, 0, r, g, b, 0.9 * alpha);
    cairo_pattern_add_color_stop_rgba(glow, 0.35, r, g, b, 0.35 * alpha);
    cairo_pattern_add_color_stop_rgba(glow, 1, r, g, b, 0);
    cairo_set_source(cr, glow);
    cairo_arc(cr, 0, 0, size, 0, 2 * M_PI);
    cairo_fill(cr);
    cairo_pattern_destroy(glow);
    cairo_rotate(cr, angle);
    for (int i = 0; i < 4; ++i) {
        cairo_rotate(cr, M_PI / 2);
        cairo_move_to(cr, 0, -size * 0.13);
        cairo_line_to(cr, size * 1.05, 0);
        cairo_line_to(cr, 0, size * 0.13);
        cairo_close_path(cr);
    }
    cairo_set_source_rgba(cr, 1, 1, 0.95, alpha);
    cairo_fill(cr);
    cairo_arc(cr, 0, 0, size * 0.16, 0, 2 * M_PI);
    cairo_fill(cr);
    cairo_restore(cr);
}

// The fuse's spark flickers over the ten frames of the bomb badge.
void AddFuseSpark(Picture& frame, int i) {
    cairo_surface_t* base = Picture_ToCairo(frame);
    cairo_t* cr = cairo_create(base);
    double flicker = 0.75 + 0.25 * std::sin(i * 2 * M_PI / 10 * 3);
    // the fuse tip sits at (8, 19.5) in the scene, y up from the frame's centre
    double x = frame.w / 2.0 + 8.5, y = frame.h / 2.0 - 20;
    Twinkle(cr, x, y, 7.5 * flicker, i * 2 * M_PI / 10 / 4 + 0.3, 1.0, 1.0, 0.78, 0.35);
    cairo_destroy(cr);
    frame = Picture_FromCairo(base);
    cairo_surface_destroy(base);
}

} // namespace

Picture Obj_Blur(const Picture& p, int radius) {
    Picture out = p;
    std::vector<double> a(static_cast<size_t>(p.w) * p.h), tmp(a.size());
    for (size_t i = 0; i < a.size(); ++i)
        a[i] = p.rgba[i * 4 + 3];
    auto pass = [&](bool horizontal) {
        for (int y = 0; y < p.h; ++y)
            for (int x = 0; x < p.w; ++x) {
                double sum = 0;
                int n = 0;
                for (int d = -radius; d <= radius; ++d) {
                    int sx = horizontal ? x + d : x, sy = horizontal ? y : y + d;
                    if (sx < 0 || sy < 0 || sx >= p.w || sy >= p.h) {
                        ++n;
                        continue;
                    }
                    sum += a[static_cast<size_t>(sy) * p.w + sx];
                    ++n;
                }
                tmp[static_cast<size_t>(y) * p.w + x] = sum / n;
            }
        a.swap(tmp);
    };
    for (int k = 0; k < 3; ++k) {
        pass(true);
        pass(false);
    }
    for (size_t i = 0; i < a.size(); ++i)
        out.rgba[i * 4 + 3] = static_cast<std::uint8_t>(std::clamp(a[i], 0.0, 255.0) + 0.5);
    return out;
}

Picture Obj_WithGlow(const Picture& p, int radius, double r, double g, double b, double strength) {
    Picture glow = Obj_Blur(p, radius);
    for (size_t i = 0; i < glow.rgba.size(); i += 4) {
        glow.rgba[i] = static_cast<std::uint8_t>(r * 255);
        glow.rgba[i + 1] = static_cast<std::uint8_t>(g * 255);
        glow.rgba[i + 2] = static_cast<std::uint8_t>(b * 255);
        glow.rgba[i + 3] =
            static_cast<std::uint8_t>(std::min(255.0, glow.rgba[i + 3] * strength * 2.2));
    }
    Pov_Over(glow, p, 0, 0);
    return glow;
}

Picture Obj_WithRim(const Picture& p, double r, double g, double b, double alpha) {
    Picture rim = Picture_New(p.w, p.h);
    for (int y = 0; y < p.h; ++y)
        for (int x = 0; x < p.w; ++x) {
            int a = 0; // the strongest alpha within a 1.5-pixel reach
            for (int dy = -1; dy <= 1; ++dy)
                for (int dx = -1; dx <= 1; ++dx) {
                    int sx = x + dx, sy = y + dy;
                    if (sx < 0 || sy < 0 || sx >= p.w || sy >= p.h) continue;
                    a = std::max<int>(a, p.rgba[(static_cast<size_t>(sy) * p.w + sx) * 4 + 3]);
                }
            std::uint8_t* d = &rim.rgba[(static_cast<size_t>(y) * p.w + x) * 4];
            d[0] = static_cast<std::uint8_t>(r * 255);
            d[1] = static_cast<std::uint8_t>(g * 255);
            d[2] = static_cast<std::uint8_t>(b * 255);
            d[3] = static_cast<std::uint8_t>(a * alpha);
        }
    Pov_Over(rim, p, 0, 0);
    return rim;
}

Picture Obj_ShapeMap(const Picture& p, int x, int y, int w, int h) {
    Picture map = Picture_New(w, h);
    for (int r = 0; r < h; ++r)
        for (int c = 0; c < w; ++c) {
            int sx = x + c, sy = y + r;
            std::uint8_t* d = &map.rgba[(static_cast<size_t>(r) * w + c) * 4];
            d[3] = 255;
            if (sx < 0 || sy < 0 || sx >= p.w || sy >= p.h) continue;
            if (p.rgba[(static_cast<size_t>(sy) * p.w + sx) * 4 + 3] >= 128) {
                d[0] = 255;
                d[1] = 236;
                d[2] = 190;
            }
        }
    return map;
}

namespace {

void DrawObjects(const ArtContext& ctx) {
    std::vector<PovStrip> strips = {
        Strip("crystal.pov", "crystal", 48, 48, 64),
        Strip("icecube.pov", "icecube", 77, 40, 64, {}, 0.15),
        Strip("snowball.pov", "snowball", 48, 48, 32, {{"Period", "31"}}),
        Strip("pumpkin.pov", "pumpkin", 54, 54, 10),
        Strip("chain.pov", "chain1", 48, 48, 64, {{"Locks", "1"}}, 0.12),
        Strip("chain.pov", "chain2", 48, 48, 64, {{"Locks", "2"}}, 0.12),
        Strip("chain.pov", "link", 28, 20, 15, {{"Locks", "0"}}),
        Strip("candle.pov", "candle", 64, 116, 32, {}, 0.05, 2),
        Strip("hammer.pov", "hammer1", 60, 99, 32, {{"Kind", "1"}}),
        Strip("hammer.pov", "hammer2", 62, 103, 32, {{"Kind", "2"}}),
        Strip("hammer.pov", "hammer3", 82, 110, 32, {{"Kind", "3"}}),
    };
    std::vector<std::vector<Picture>> f = Pov_Render(ctx, strips);

    Art_WritePng(ctx, "images/multicolor.png", Art_Strip(f[0]));
    Art_WritePng(ctx, "images/tar.png", Art_Strip(f[1]));
    for (size_t i = 0; i < f[2].size(); ++i)
        AddSwirl(f[2][i], (i % 31) / 31.0);
    Art_WritePng(ctx, "images/launcher.png", Art_Strip(f[2]));
    for (size_t i = 0; i < f[3].size(); ++i)
        AddFuseSpark(f[3][i], static_cast<int>(i));
    Art_WritePng(ctx, "images/pumpkinx9.png", Art_Strip(f[3]));
    Art_WritePng(ctx, "images/chain1.png", Art_Strip(f[4]));
    Art_WritePng(ctx, "images/chain2.png", Art_Strip(f[5]));
    Art_WritePng(ctx, "images/maillon_28x20_15.png", Art_Strip(f[6]));

    Objects_DrawCandle(ctx, f[7]);
    Objects_DrawHammers(ctx, {f[8], f[9], f[10]});
    if (const char* dir = std::getenv("SNOW_ART_REVIEW")) {
        Objects_ReviewPanel(ctx, dir);
        Objects_ReviewPieces(ctx, dir);
    }
}

} // namespace

ART_MODULE(objects, DrawObjects);
