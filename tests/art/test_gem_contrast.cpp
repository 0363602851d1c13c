// Every gem must stand apart from every cell it can rest on, in greyscale too: the board is a
// night scene, not a light box. The cells and gems are composed as the game draws them (the cell
// over the night sky, the gem's halo added at half strength and about two thirds of its size,
// the gem at 0.9 of its size, all at a 48-pixel cell) and the gem body's mean luminance is set
// against the cell's mean. The table the test prints is the one docs/art.md quotes.
#include "tests/art/support_frames.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr int kCell = 48;
constexpr double kMinContrast = 1.8; // luminance ratio, as in WCAG: (L1 + 0.05) / (L2 + 0.05)

struct Rgb {
    double r = 0, g = 0, b = 0; // linear light, 0..1
};

double Linear(int c) {
    const double v = c / 255.0;
    return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
}

double Luminance(Rgb c) {
    return 0.2126 * c.r + 0.7152 * c.g + 0.0722 * c.b;
}

// The sRGB encoding of a colour, as the blending in the game works on stored values.
struct Px {
    double r, g, b; // 0..1, sRGB encoded
};

Px Over(Px under, const std::uint8_t* s, double alpha = 1.0) {
    const double a = s[3] / 255.0 * alpha;
    return {under.r * (1 - a) + s[0] / 255.0 * a, under.g * (1 - a) + s[1] / 255.0 * a,
            under.b * (1 - a) + s[2] / 255.0 * a};
}

Px Add(Px under, const std::uint8_t* s, double alpha) {
    const double a = s[3] / 255.0 * alpha;
    return {std::min(1.0, under.r + s[0] / 255.0 * a), std::min(1.0, under.g + s[1] / 255.0 * a),
            std::min(1.0, under.b + s[2] / 255.0 * a)};
}

double LuminanceOf(Px p) {
    auto lin = [](double v) { return Linear(static_cast<int>(std::lround(v * 255))); };
    return Luminance({lin(p.r), lin(p.g), lin(p.b)});
}

// Nearest sample of a picture drawn centred on the cell at `scale`; null outside it.
const std::uint8_t* Sample(const ArtFrame& f, int x, int y, double scale) {
    const int sx = static_cast<int>(std::floor(f.w / 2.0 + (x + 0.5 - kCell / 2.0) / scale));
    const int sy = static_cast<int>(std::floor(f.h / 2.0 + (y + 0.5 - kCell / 2.0) / scale));
    if (sx < 0 || sy < 0 || sx >= f.w || sy >= f.h) return nullptr;
    return f.At(sx, sy);
}

struct GemStrip {
    const char* name;
    int w, h;
};

const GemStrip kGemStrips[7] = {
    {"Gem0", 35, 35}, {"Gem1", 53, 40}, {"Gem2", 48, 48}, {"Gem3", 48, 48},
    {"Gem4", 68, 48}, {"Gem5", 48, 48}, {"Gem6", 57, 45},
};

struct CellKind {
    const char* label;
    const char* file;
};

const CellKind kCells[3] = {
    {"ice", "images/tile1.png"}, {"snow", "images/tile2.png"}, {"bare", "images/tile_empty.png"}};

// The night behind the board: the sky's middle tone as it shows on screen.
constexpr Px kNight{0x1c / 255.0, 0x34 / 255.0, 0x66 / 255.0};

constexpr double kHaloScale = 0.75 * 0.9, kHaloAlpha = 0.5, kGemScale = 0.9;

struct Measure {
    double gem = 0, cell = 0;
    double Ratio() const { return (std::max(gem, cell) + 0.05) / (std::min(gem, cell) + 0.05); }
};

// Mean luminance of the gem body (its pixels of alpha 50 % or more, over all frames) and of the
// whole cell under it, halo included.
Measure MeasurePair(const ArtFrame& cell, const ArtFrame& halo, const std::vector<ArtFrame>& gem) {
    Measure m;
    double body_sum = 0, cell_sum = 0;
    long body_n = 0;
    for (int y = 0; y < kCell; ++y)
        for (int x = 0; x < kCell; ++x) {
            Px under = Over(kNight, cell.At(x, y));
            if (const std::uint8_t* h = Sample(halo, x, y, kHaloScale))
                under = Add(under, h, kHaloAlpha);
            cell_sum += LuminanceOf(under);
            for (const ArtFrame& f : gem) {
                const std::uint8_t* s = Sample(f, x, y, kGemScale);
                if (!s || s[3] < 128) continue;
                body_sum += LuminanceOf(Over(under, s));
                ++body_n;
            }
        }
    m.cell = cell_sum / (kCell * kCell);
    m.gem = body_n ? body_sum / body_n : 0;
    return m;
}

TEST(GemContrast, EveryGemStandsApartFromEveryCellInGreyscale) {
    std::vector<ArtFrame> cells;
    for (const CellKind& c : kCells) {
        std::vector<ArtFrame> f = ArtFrames_Load(c.file, kCell, kCell, 1);
        ASSERT_EQ(f.size(), 1u);
        cells.push_back(f[0]);
    }
    std::printf("| gem | on ice | on snow | on bare |  (gem / cell luminance = ratio)\n");
    for (int k = 0; k < 7; ++k) {
        const GemStrip& g = kGemStrips[k];
        std::vector<ArtFrame> gem =
            ArtFrames_Load(std::string("images/pieces/") + g.name + ".png", g.w, g.h, 64);
        std::vector<ArtFrame> halo =
            ArtFrames_Load("images/pieces/halo" + std::to_string(k) + ".png", 96, 96, 1);
        ASSERT_EQ(gem.size(), 64u);
        ASSERT_EQ(halo.size(), 1u);
        std::string row = "| " + std::to_string(k + 1) + " |";
        for (int c = 0; c < 3; ++c) {
            Measure m = MeasurePair(cells[c], halo[0], gem);
            char buf[64];
            std::snprintf(buf, sizeof buf, " %.3f / %.3f = %.2f |", m.gem, m.cell, m.Ratio());
            row += buf;
            EXPECT_GE(m.Ratio(), kMinContrast)
                << "gem " << k + 1 << " on " << kCells[c].label << ": body luminance " << m.gem
                << ", cell " << m.cell;
        }
        std::printf("%s\n", row.c_str());
    }
}

} // namespace
