#include "tools/art/scene_kit.h"

#include <algorithm>
#include <cstdlib>

namespace scenekit {

Rgba Rgba_Straight(double r, double g, double b, double a) {
    return {r * a, g * a, b * a, a};
}

Rgba Rgba_Hex(const char* hex, double a) {
    unsigned v = static_cast<unsigned>(std::strtoul(hex + (hex[0] == '#'), nullptr, 16));
    return Rgba_Straight(((v >> 16) & 255) / 255.0, ((v >> 8) & 255) / 255.0, (v & 255) / 255.0, a);
}

Rgba Rgba_Over(Rgba d, Rgba s) {
    double k = 1.0 - s.a;
    return {s.r + d.r * k, s.g + d.g * k, s.b + d.b * k, s.a + d.a * k};
}

Rgba Rgba_Add(Rgba d, Rgba s) {
    return {d.r + s.r, d.g + s.g, d.b + s.b, std::min(1.0, d.a + s.a)};
}

Rgba Rgba_Scale(Rgba c, double k) {
    return {c.r * k, c.g * k, c.b * k, c.a * k};
}

Rgba Rgba_Mix(Rgba a, Rgba b, double t) {
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t,
            a.a + (b.a - a.a) * t};
}

Rgba Rgba_Tone(Rgba c, double k) {
    return {c.r * k, c.g * k, c.b * k, c.a};
}

double Smooth(double e0, double e1, double x) {
    double t = Clamp01((x - e0) / (e1 - e0));
    return t * t * (3 - 2 * t);
}

static double Lattice(int x, int y, unsigned seed) {
    std::uint32_t h = static_cast<std::uint32_t>(x) * 374761393u +
                      static_cast<std::uint32_t>(y) * 668265263u + seed * 2246822519u;
    h = (h ^ (h >> 13)) * 1274126177u;
    h ^= h >> 16;
    return (h & 0xffffff) / 16777215.0;
}

static double Fade(double t) {
    return t * t * t * (t * (t * 6 - 15) + 10);
}

static double NoiseCells(double x, double y, unsigned seed, int period) {
    double fx = std::floor(x), fy = std::floor(y);
    int ix = static_cast<int>(fx), iy = static_cast<int>(fy);
    double tx = Fade(x - fx), ty = Fade(y - fy);
    auto at = [&](int i, int j) {
        if (period > 0) i = ((i % period) + period) % period, j = ((j % period) + period) % period;
        return Lattice(i, j, seed);
    };
    double a = at(ix, iy), b = at(ix + 1, iy), c = at(ix, iy + 1), d = at(ix + 1, iy + 1);
    return (a + (b - a) * tx) + ((c + (d - c) * tx) - (a + (b - a) * tx)) * ty;
}

double Noise2(double x, double y, unsigned seed) {
    return NoiseCells(x, y, seed, 0);
}

double Noise2Wrap(double x, double y, int period, unsigned seed) {
    return NoiseCells(x, y, seed, period);
}

double Fbm(double x, double y, int octaves, unsigned seed) {
    double sum = 0, amp = 0.5, norm = 0;
    for (int i = 0; i < octaves; ++i) {
        sum += amp * Noise2(x, y, seed + 101u * i);
        norm += amp;
        x = x * 2.03 + 17.1, y = y * 2.03 - 9.7;
        amp *= 0.5;
    }
    return sum / norm;
}

void Picture_Put(Picture& p, int x, int y, Rgba c) {
    std::uint8_t* d = &p.rgba[(static_cast<size_t>(y) * p.w + x) * 4];
    double a = Clamp01(c.a);
    auto byte = [](double v) { return static_cast<std::uint8_t>(std::lround(Clamp01(v) * 255)); };
    if (a <= 0) {
        d[0] = d[1] = d[2] = d[3] = 0;
        return;
    }
    d[0] = byte(c.r / a), d[1] = byte(c.g / a), d[2] = byte(c.b / a), d[3] = byte(a);
}

void Picture_BleedEdges(Picture& p) {
    // A few passes of growing the visible colours into the transparent area are enough: the
    // filter only ever reaches one or two texels beyond an edge.
    for (int pass = 0; pass < 4; ++pass) {
        std::vector<std::uint8_t> next = p.rgba;
        for (int y = 0; y < p.h; ++y)
            for (int x = 0; x < p.w; ++x) {
                size_t i = (static_cast<size_t>(y) * p.w + x) * 4;
                if (p.rgba[i + 3] != 0) continue;
                int sum[3] = {0, 0, 0}, n = 0;
                for (int dy = -1; dy <= 1; ++dy)
                    for (int dx = -1; dx <= 1; ++dx) {
                        int nx = x + dx, ny = y + dy;
                        if (nx < 0 || ny < 0 || nx >= p.w || ny >= p.h) continue;
                        size_t j = (static_cast<size_t>(ny) * p.w + nx) * 4;
                        bool has_colour =
                            p.rgba[j + 3] != 0 || (p.rgba[j] | p.rgba[j + 1] | p.rgba[j + 2]) != 0;
                        if (!has_colour) continue;
                        for (int c = 0; c < 3; ++c)
                            sum[c] += p.rgba[j + c];
                        ++n;
                    }
                if (n == 0 || (p.rgba[i] | p.rgba[i + 1] | p.rgba[i + 2]) != 0) continue;
                for (int c = 0; c < 3; ++c)
                    next[i + c] = static_cast<std::uint8_t>(sum[c] / n);
            }
        p.rgba.swap(next);
    }
}

Picture Picture_Over(const Picture& below, const Picture& above) {
    Picture out = below;
    for (size_t i = 0; i < out.rgba.size(); i += 4) {
        auto px = [](const Picture& p, size_t k) {
            return Rgba_Straight(p.rgba[k] / 255.0, p.rgba[k + 1] / 255.0, p.rgba[k + 2] / 255.0,
                                 p.rgba[k + 3] / 255.0);
        };
        Rgba c = Rgba_Over(px(below, i), px(above, i));
        Picture_Put(out, static_cast<int>((i / 4) % out.w), static_cast<int>((i / 4) / out.w), c);
    }
    return out;
}

Picture Picture_Crop(const Picture& p, int x, int y, int w, int h) {
    Picture out = Picture_New(w, h);
    for (int j = 0; j < h; ++j)
        for (int i = 0; i < w; ++i) {
            int sx = x + i, sy = y + j;
            if (sx < 0 || sy < 0 || sx >= p.w || sy >= p.h) continue;
            std::copy_n(&p.rgba[(static_cast<size_t>(sy) * p.w + sx) * 4], 4,
                        &out.rgba[(static_cast<size_t>(j) * w + i) * 4]);
        }
    return out;
}

double Twinkle(double dx, double dy, double len, double width) {
    double ax = std::fabs(dx), ay = std::fabs(dy);
    double ray_h = std::max(0.0, 1.0 - ax / len) * std::exp(-(ay * ay) / (width * width));
    double ray_v = std::max(0.0, 1.0 - ay / len) * std::exp(-(ax * ax) / (width * width));
    double core = std::exp(-(dx * dx + dy * dy) / (4 * width * width));
    return std::min(1.0, std::max({ray_h * ray_h, ray_v * ray_v, core}));
}

double Glow(double r, double core, double halo) {
    return std::min(1.0, std::exp(-(r * r) / (core * core)) + 0.35 * std::exp(-r / halo));
}

double RoundRectSdf(double x, double y, double x0, double y0, double x1, double y1, double r) {
    double cx = (x0 + x1) / 2, cy = (y0 + y1) / 2;
    double qx = std::fabs(x - cx) - ((x1 - x0) / 2 - r),
           qy = std::fabs(y - cy) - ((y1 - y0) / 2 - r);
    double ox = std::max(qx, 0.0), oy = std::max(qy, 0.0);
    return std::sqrt(ox * ox + oy * oy) + std::min(std::max(qx, qy), 0.0) - r;
}

double SegmentDistance(double px, double py, double ax, double ay, double bx, double by) {
    double vx = bx - ax, vy = by - ay;
    double t = Clamp01(((px - ax) * vx + (py - ay) * vy) / (vx * vx + vy * vy + 1e-12));
    double dx = px - (ax + t * vx), dy = py - (ay + t * vy);
    return std::sqrt(dx * dx + dy * dy);
}

} // namespace scenekit
