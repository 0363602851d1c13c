// The seven gems (rendered), their halos and the tileset description the game reads them by.
#include "tools/art/art.h"
#include "tools/art/povray.h"
#include "tools/art/tileset_text.h"

#include <cmath>
#include <cstdlib>
#include <string>

namespace {

struct GemLook {
    int frame_w, frame_h;
    const char* colour; // the kind's colour, also its halo's
};

// Frame sizes are fixed by the tileset description below.
const GemLook kGems[7] = {
    {35, 35, "#f2f4ff"}, {53, 40, "#e8323c"}, {48, 48, "#ff8c1a"}, {48, 48, "#ffd60a"},
    {68, 48, "#2fc45a"}, {48, 48, "#1e5bff"}, {57, 45, "#b23cff"},
};

// A hint of the gem's colour just around its body, added behind the piece at about two thirds
// of its size. The body covers the inner 60 % of the radius; the glow dies out well inside the
// cell, so it tints the gem's outline without laying a fog over the cell.
Picture Halo(const char* colour) {
    const int size = 96;
    Sketch s = Sketch_New(size, size);
    cairo_pattern_t* g = cairo_pattern_create_radial(48, 48, 0, 48, 48, 48);
    unsigned v = static_cast<unsigned>(std::strtoul(colour + 1, nullptr, 16));
    double r = ((v >> 16) & 255) / 255.0, gr = ((v >> 8) & 255) / 255.0, b = (v & 255) / 255.0;
    const double stops[][2] = {{0.0, 0.24}, {0.5, 0.24}, {0.62, 0.18}, {0.74, 0.05}, {0.86, 0.0}};
    for (const auto& st : stops)
        cairo_pattern_add_color_stop_rgba(g, st[0], r, gr, b, st[1]);
    cairo_set_source(s.cr, g);
    cairo_paint(s.cr);
    cairo_pattern_destroy(g);
    return Sketch_Finish(s);
}

// A review board: 8 x 8 cells of `cell` pixels with gems drawn as the game draws them (halo
// added behind at 0.675 x, gem at 0.9 x the cell scale), optionally in greyscale.
Picture ReviewBoard(const std::vector<std::vector<Picture>>& gems,
                    const std::vector<Picture>& halos, int cell, bool grey) {
    const int n = 8;
    Sketch s = Sketch_New(cell * n, cell * n);
    for (int y = 0; y < n; ++y)
        for (int x = 0; x < n; ++x) {
            Art_SetHex(s.cr, (x + y) % 2 ? "#1b3566" : "#20407a");
            cairo_rectangle(s.cr, x * cell, y * cell, cell, cell);
            cairo_fill(s.cr);
        }
    double scale = cell / 48.0;
    for (int y = 0; y < n; ++y)
        for (int x = 0; x < n; ++x) {
            int k = (x * 3 + y * 5 + (x * y) % 3) % 7, f = (x * 9 + y * 23) % 64;
            double cx = (x + 0.5) * cell, cy = (y + 0.5) * cell;
            auto draw = [&](const Picture& p, double sc, cairo_operator_t op, double alpha) {
                cairo_surface_t* src = Picture_ToCairo(p);
                cairo_save(s.cr);
                cairo_translate(s.cr, cx, cy);
                cairo_scale(s.cr, sc, sc);
                cairo_set_source_surface(s.cr, src, -p.w / 2.0, -p.h / 2.0);
                cairo_pattern_set_filter(cairo_get_source(s.cr), CAIRO_FILTER_BILINEAR);
                cairo_set_operator(s.cr, op);
                cairo_paint_with_alpha(s.cr, alpha);
                cairo_restore(s.cr);
                cairo_surface_destroy(src);
            };
            draw(halos[k], scale * 0.75 * 0.9, CAIRO_OPERATOR_ADD, 0.5);
            draw(gems[k][f], scale * 0.9, CAIRO_OPERATOR_OVER, 1.0);
        }
    Picture p = Sketch_Finish(s);
    if (grey)
        for (size_t i = 0; i < p.rgba.size(); i += 4) {
            auto l = static_cast<std::uint8_t>(0.299 * p.rgba[i] + 0.587 * p.rgba[i + 1] +
                                               0.114 * p.rgba[i + 2]);
            p.rgba[i] = p.rgba[i + 1] = p.rgba[i + 2] = l;
        }
    return p;
}

void DrawGems(const ArtContext& ctx) {
    Art_WriteText(ctx, "images/pieces/tiles.txt", kTilesTxt);
    std::vector<PovStrip> strips;
    for (int k = 0; k < 7; ++k) {
        PovStrip s;
        s.scene = "gem.pov";
        s.tag = "gem" + std::to_string(k);
        s.frame_w = kGems[k].frame_w;
        s.frame_h = kGems[k].frame_h;
        s.count = 64;
        s.declares = {{"Kind", std::to_string(k)}};
        if (k == 0) s.antialias = 0.15; // the pearl is smooth: fewer extra samples
        strips.push_back(s);
    }
    std::vector<std::vector<Picture>> frames = Pov_Render(ctx, strips);
    std::vector<Picture> halos;
    for (int k = 0; k < 7; ++k) {
        std::string n = std::to_string(k);
        halos.push_back(Halo(kGems[k].colour));
        Art_WritePng(ctx, "images/pieces/Gem" + n + ".png", Art_Strip(frames[k]));
        Art_WritePng(ctx, "images/pieces/halo" + n + ".png", halos.back());
    }
    // Review boards for the artist, only on request; they are not part of the game's data.
    if (const char* dir = std::getenv("SNOW_ART_REVIEW")) {
        ArtContext review = ctx;
        review.out_dir = dir;
        for (int cell : {38, 57})
            for (bool grey : {false, true})
                Art_WritePng(review,
                             "gem_board_" + std::to_string(cell) + (grey ? "_grey" : "") + ".png",
                             ReviewBoard(frames, halos, cell, grey));
    }
}

} // namespace

ART_MODULE(gems, DrawGems);
