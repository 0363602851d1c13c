// Board cells (bare, ice, snow-covered ice, the selection frame) and the contour pieces that
// round off the playing field where void cells cut into it. Everything is shaded per pixel at
// 48 x 48 with supersampling; the game scales it to 38..57-pixel cells.
#include "tools/art/scene_kit.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace {

using namespace scenekit;

constexpr double kCell = 48.0;
constexpr int kSamples = 4;
const double kPi = std::acos(-1.0);

// Mitred bevel of a square cell: +k on the lit top and left bands, -k on the shaded bottom and
// right bands (k = 1 at the very edge), 0 inside.
double Bevel(double x, double y, double width) {
    double l = x, t = y, r = kCell - x, b = kCell - y;
    double m = std::min({l, t, r, b});
    if (m >= width) return 0.0;
    double k = 1.0 - m / width;
    return (m == l || m == t) ? k : -k;
}

Rgba White(double a) {
    return Rgba_Straight(1, 1, 1, a);
}

// The night through a dark frosted pane: the darkest of the three cells, flat and quiet.
Rgba BareAt(double x, double y) {
    Rgba c = Rgba_Mix(Rgba_Hex("#1a3060", 0.66), Rgba_Hex("#0c1a38", 0.66), (x + y) / 96.0);
    c = Rgba_Tone(c, 1.0 + 0.24 * (Fbm(x / 6.0, y / 6.0, 4, 11) - 0.5));
    c = Rgba_Over(c, Rgba_Hex("#b8cce8", 0.05 * Smooth(34, 0, x + y)));
    double bv = Bevel(x, y, 2.5);
    if (bv > 0) c = Rgba_Over(c, Rgba_Hex("#8ea8cf", 0.40 * bv));
    if (bv < 0) c = Rgba_Over(c, Rgba_Hex("#040a18", 0.55 * -bv));
    return c;
}

struct Segment {
    double ax, ay, bx, by;
};

// A few hairline cracks in the ice, grown from fixed seeds so every build draws the same ones.
std::vector<Segment> IceCracks() {
    std::vector<Segment> out;
    Dice dice(4711);
    const double starts[][3] = {{44, 30, 3.6}, {31, 44, 4.3}, {40, 6, 2.3}, {6, 38, 0.9}};
    for (const auto& s : starts) {
        double x = s[0], y = s[1], heading = s[2];
        int pieces = dice.Int(3, 5);
        for (int i = 0; i < pieces; ++i) {
            heading += dice.Real(-0.7, 0.7);
            double len = dice.Real(2.5, 5.0);
            double nx = x + std::cos(heading) * len, ny = y + std::sin(heading) * len;
            out.push_back({x, y, nx, ny});
            if (dice.Chance(0.4)) {
                double h2 = heading + dice.Real(0.6, 1.2) * (dice.Chance(0.5) ? 1 : -1);
                out.push_back({nx, ny, nx + std::cos(h2) * 3, ny + std::sin(h2) * 3});
            }
            x = nx, y = ny;
        }
    }
    return out;
}

// A slab of deep translucent blue: the night shows through it, a thin bright edge and a few
// pale cracks say "ice", and a small glint catches the light at the upper left. It reads
// mid-dark so the gems on it are the brightest things on the board.
Rgba IceAt(double x, double y) {
    static const std::vector<Segment> cracks = IceCracks();
    Rgba c = Rgba_Mix(Rgba_Hex("#3f78b8", 0.54), Rgba_Hex("#28528a", 0.52), (x + y) / 96.0);
    double streak = Fbm((x + y) / 5.0, (x - y) / 16.0, 4, 21) - 0.5;
    c = Rgba_Tone(c, 1.0 + 0.30 * streak);
    // the cold light caught in the upper-left of the slab
    double s = x + y;
    double glint =
        0.22 * std::exp(-(s - 15) * (s - 15) / 3.0) + 0.12 * std::exp(-(s - 21) * (s - 21) / 1.0);
    c = Rgba_Over(c, White(glint * Smooth(0, 3, std::min(x, y))));
    double crack = 1e9;
    for (const Segment& k : cracks)
        crack = std::min(crack, SegmentDistance(x, y, k.ax, k.ay, k.bx, k.by));
    c = Rgba_Over(c, Rgba_Hex("#bfe6ff", 0.40 * Smooth(0.75, 0.15, crack)));
    double bv = Bevel(x, y, 2.5);
    if (bv > 0) c = Rgba_Over(c, Rgba_Hex("#bfe6ff", 0.85 * std::pow(bv, 1.4)));
    if (bv < 0) c = Rgba_Over(c, Rgba_Hex("#0b1b3a", 0.70 * -bv));
    c = Rgba_Add(c, White(0.85 * Twinkle(x - 6.5, y - 6.0, 4.5, 0.6)));
    return c;
}

// The snow cap: a drift along the top of the ice slab, at most its upper third, with a lumpy
// lower edge so it reads as snow rather than a stripe.
double CapSdf(double x, double y) {
    double wobble = (Fbm(x / 5.0, y / 5.0, 2, 31) - 0.5) * 2.5;
    double sag = 1.5 * std::sin(x / kCell * kPi); // a little deeper in the middle
    double lower = 7.5 + sag + 2.5 * (Fbm(x / 7.0, 3.0, 2, 33) - 0.5);
    double box = RoundRectSdf(x, y, 1.5, 1.0, 46.5, 40.0, 6.0);
    return std::max(box, y - lower) + wobble;
}

Rgba SnowAt(double x, double y) {
    Rgba c = IceAt(x, y);
    double d = CapSdf(x, y);
    double shadow = 0.5 * Smooth(2.5, -1.0, CapSdf(x, y - 1.8));
    if (d > 0) c = Rgba_Over(c, Rgba_Hex("#08162e", shadow * Smooth(0, 1.2, d)));
    if (d > 0.0) return c;
    // A pillow of snow: lit along its upper-left, in shade at its lower edge.
    double depth = -d;
    double t = Clamp01(0.05 + 0.12 * depth - 0.012 * x);
    Rgba snow = Rgba_Mix(Rgba_Hex("#a9bcd9"), Rgba_Hex("#eef4ff"), t);
    snow = Rgba_Tone(snow, 1.0 + 0.06 * (Noise2(x * 1.4, y * 1.4, 41) - 0.5));
    snow = Rgba_Add(snow, White(0.8 * Twinkle(x - 12, y - 5.5, 3.0, 0.5)));
    snow = Rgba_Add(snow, White(0.6 * Twinkle(x - 35, y - 4.5, 2.5, 0.45)));
    double edge = Clamp01(0.5 + depth * 2.0); // antialiased rim within the samples
    return Rgba_Mix(c, snow, edge);
}

Rgba SelectedAt(double x, double y) {
    double d = RoundRectSdf(x, y, 2.5, 2.5, 45.5, 45.5, 7.0);
    Rgba c;
    double glow = d > 0 ? 0.75 * std::exp(-d / 1.5) : 0.45 * std::exp(d / 4.5);
    c = Rgba_Over(c, Rgba_Hex("#ff9a3c", glow));
    double ring = std::exp(-(d * d) / (1.5 * 1.5));
    Rgba gold = Rgba_Mix(Rgba_Hex("#fff3b0"), Rgba_Hex("#ffc850"), Smooth(20, 70, x + y));
    c = Rgba_Over(c, Rgba_Scale(gold, ring));
    const double corners[][2] = {{4.5, 4.5}, {43.5, 4.5}, {4.5, 43.5}, {43.5, 43.5}};
    for (const auto& k : corners)
        c = Rgba_Add(c, Rgba_Hex("#fff8d8", Twinkle(x - k[0], y - k[1], 6.0, 0.6)));
    return c;
}

// ---- contour pieces ------------------------------------------------------------------------

enum class Contour { Corner, U, Cross };

// Where the playing field's edge is rounded off inside a void cell: a circle arc (centre, radius)
// tangent to the cell sides that border playable cells. The unrotated pieces border the field
// on the right and below (corner), on the left, below and right (U) and on all four sides
// (cross); the game turns them clockwise for the other positions.
struct Arc {
    double cx, cy, radius;
};

Arc ArcOf(Contour kind) {
    switch (kind) {
    case Contour::Corner:
        return {0, 0, kCell};
    case Contour::U:
        return {kCell / 2, 0, kCell / 2};
    case Contour::Cross:
        return {kCell / 2, kCell / 2, kCell / 2};
    }
    return {};
}

// 0 at the arc's ends, where it runs into the field's straight edges, 1 half-way along.
double ArcTaper(Contour kind, double angle) {
    double span = kind == Contour::U ? kPi : kPi / 2;
    double f = std::fmod(angle + 4 * kPi, span) / span;
    return std::sin(kPi * f);
}

struct ContourLook {
    Rgba body_near, body_far; // material just inside the lip and against the field
    Rgba groove, lip;
    double sparkle;
};

ContourLook LookOf(bool dark) {
    if (dark)
        return {Rgba_Hex("#2b4d82", 0.88), Rgba_Hex("#16305c", 0.87), Rgba_Hex("#0b1b3a", 0.5),
                Rgba_Hex("#b8cce8", 0.85), 0.45};
    return {Rgba_Hex("#dae7f8", 0.93), Rgba_Hex("#a7c2e4", 0.9), Rgba_Hex("#5c82b8", 0.45),
            Rgba_Hex("#ffffff", 1.0), 0.9};
}

Rgba ContourAt(double x, double y, Contour kind, int variant, bool dark, unsigned seed) {
    Arc arc = ArcOf(kind);
    double dx = x - arc.cx, dy = y - arc.cy;
    double angle = std::atan2(dy, dx);
    double taper = ArcTaper(kind, angle);
    double radius = arc.radius;
    if (variant == 1) radius -= 1.3 * taper * std::sin(angle * (kind == Contour::Corner ? 10 : 8));
    double d = std::sqrt(dx * dx + dy * dy) - radius; // positive inside the rounded-off fill
    if (d <= 0) return {};
    const ContourLook look = LookOf(dark);
    double grain = Fbm(x / 4.0, y / 4.0, 3, seed) - 0.5;
    Rgba c = Rgba_Mix(look.body_near, look.body_far, Smooth(2, 22, d));
    c = Rgba_Tone(c, 1.0 + 0.16 * grain);
    double lip_width = 2.4 * std::sqrt(taper);
    c = Rgba_Over(c, Rgba_Scale(look.groove, Smooth(lip_width, lip_width + 1.5, d) *
                                                 Smooth(lip_width + 6, lip_width + 1.5, d)));
    c = Rgba_Over(c,
                  Rgba_Scale(look.lip, Smooth(0.2, 0.0, d - lip_width) * Smooth(0.0, 0.3, taper)));
    // frost glints scattered over the fill, away from the lip
    Dice dice(seed);
    for (int i = 0; i < 7; ++i) {
        double sx = dice.Real(3, 45), sy = dice.Real(3, 45), size = dice.Real(1.8, 3.4);
        double sdx = sx - arc.cx, sdy = sy - arc.cy;
        if (std::sqrt(sdx * sdx + sdy * sdy) - arc.radius < 5) continue;
        c = Rgba_Add(c, White(look.sparkle * Twinkle(x - sx, y - sy, size, 0.45) * c.a));
    }
    if (variant == 1) { // a few small frost stars caught on the lip
        for (int i = 1; i <= 3; ++i) {
            double a = (kind == Contour::U ? kPi : kPi / 2) * i / 4.0;
            if (kind == Contour::Cross) a += kPi; // the upper-left quarter of the hole
            double r = arc.radius + 3.0;
            double sx = arc.cx + std::cos(a) * r, sy = arc.cy + std::sin(a) * r;
            c = Rgba_Add(c, White(look.sparkle * Twinkle(x - sx, y - sy, 3.2, 0.5)));
        }
    }
    return c;
}

Picture Finish(Picture p) {
    Picture_BleedEdges(p);
    return p;
}

template <class Fn> Picture Cell(Fn fn) {
    return Finish(Shade(48, 48, kSamples, fn));
}

void DrawTiles(const ArtContext& ctx) {
    Art_WritePng(ctx, "images/tile_empty.png", Cell(BareAt));
    Art_WritePng(ctx, "images/tile1.png", Cell(IceAt));
    Art_WritePng(ctx, "images/tile2.png", Cell(SnowAt));
    Art_WritePng(ctx, "images/tile_selected.png", Cell(SelectedAt));
    struct Piece {
        const char* name;
        Contour kind;
        int variant;
    };
    const Piece pieces[] = {{"corner1", Contour::Corner, 0},
                            {"corner2", Contour::Corner, 1},
                            {"U1", Contour::U, 0},
                            {"U2", Contour::U, 1},
                            {"Cross", Contour::Cross, 0}};
    unsigned seed = 300;
    for (const Piece& p : pieces)
        for (bool dark : {false, true}) {
            std::string name =
                std::string("images/ContTile_") + p.name + (dark ? "_dark" : "") + ".png";
            Picture pic = Cell(
                [&](double x, double y) { return ContourAt(x, y, p.kind, p.variant, dark, seed); });
            Art_WritePng(ctx, name, pic);
            ++seed;
        }
}

} // namespace

ART_MODULE(tiles, DrawTiles);
