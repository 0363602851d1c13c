// The hammers of the meter: the rendered hammers with a glow that swells over their 32 frames
// (the game plays them forward and back as a pulse), the two progress ovals, and the hammer
// shapes the earned-hammer particles rise from.
#include "tools/art/objects.h"

#include <cmath>

namespace {

struct HammerLook {
    const char *strip, *map;
    double r, g, b;   // glow colour
    int map_x, map_y; // the meter box (icon centre minus half the map) within the picture
};

// The icon is drawn centred on (734, 476) and the 58 x 80 meter box starts at (705, 436).
const HammerLook kHammers[3] = {
    {"images/interface/hammer.png", "images/interface/map_hammer.png", 0.62, 0.86, 1.0, 1, 9},
    {"images/interface/hammer2.png", "images/interface/map_hammer2.png", 0.70, 0.92, 1.0, 2, 11},
    {"images/interface/hammer3.png", "images/interface/map_hammer3.png", 1.0, 0.84, 0.40, 12, 15},
};

// A ring of 16 beads around the hammer icon; frame i lights beads 0 to i, from the top
// clockwise. The icon centre is (52, 63) within the 103 x 115 picture.
Picture Oval(int lit, double r, double g, double b) {
    Sketch s = Sketch_New(103, 115);
    cairo_t* cr = s.cr;
    const double cx = 52, cy = 63, rx = 45, ry = 47.5;
    cairo_save(cr);
    cairo_translate(cr, cx, cy);
    cairo_scale(cr, rx, ry);
    cairo_arc(cr, 0, 0, 1, 0, 2 * M_PI);
    cairo_restore(cr);
    cairo_set_line_width(cr, 2.0);
    cairo_set_source_rgba(cr, 0.72, 0.80, 0.91, 0.22);
    cairo_stroke(cr);
    for (int i = 0; i < 16; ++i) {
        double a = -M_PI / 2 + i * 2 * M_PI / 16;
        double x = cx + rx * std::cos(a), y = cy + ry * std::sin(a);
        if (i <= lit) {
            cairo_pattern_t* glow = cairo_pattern_create_radial(x, y, 0, x, y, 8);
            cairo_pattern_add_color_stop_rgba(glow, 0, r, g, b, 0.55);
            cairo_pattern_add_color_stop_rgba(glow, 1, r, g, b, 0);
            cairo_set_source(cr, glow);
            cairo_arc(cr, x, y, 8, 0, 2 * M_PI);
            cairo_fill(cr);
            cairo_pattern_destroy(glow);
            cairo_pattern_t* bead = cairo_pattern_create_radial(x - 1.2, y - 1.2, 0.3, x, y, 4);
            cairo_pattern_add_color_stop_rgba(bead, 0, 1, 1, 1, 1);
            cairo_pattern_add_color_stop_rgba(bead, 0.45, r, g, b, 1);
            cairo_pattern_add_color_stop_rgba(bead, 1, r * 0.6, g * 0.6, b * 0.7, 1);
            cairo_set_source(cr, bead);
            cairo_arc(cr, x, y, 3.8, 0, 2 * M_PI);
            cairo_fill(cr);
            cairo_pattern_destroy(bead);
        } else {
            cairo_arc(cr, x, y, 3.0, 0, 2 * M_PI);
            cairo_set_source_rgba(cr, 0.08, 0.16, 0.32, 0.55);
            cairo_fill_preserve(cr);
            cairo_set_line_width(cr, 1.0);
            cairo_set_source_rgba(cr, 0.72, 0.80, 0.91, 0.45);
            cairo_stroke(cr);
        }
    }
    return Sketch_Finish(s);
}

} // namespace

void Objects_DrawHammers(const ArtContext& ctx, std::vector<std::vector<Picture>> hammers) {
    for (int k = 0; k < 3; ++k) {
        const HammerLook& look = kHammers[k];
        std::vector<Picture>& frames = hammers[k];
        Art_WritePng(ctx, look.map, Obj_ShapeMap(frames[0], look.map_x, look.map_y, 58, 80), true);
        for (size_t i = 0; i < frames.size(); ++i) {
            double glow = static_cast<double>(i) / (frames.size() - 1);
            frames[i] = Obj_WithGlow(frames[i], 4, look.r, look.g, look.b, 0.9 * glow);
        }
        Art_WritePng(ctx, look.strip, Art_Strip(frames));
    }
    const char* ovals[2] = {"images/interface/ovale_hammer2.png",
                            "images/interface/ovale_hammer3.png"};
    const double colours[2][3] = {{0.62, 0.88, 1.0}, {1.0, 0.84, 0.40}};
    for (int k = 0; k < 2; ++k) {
        std::vector<Picture> frames;
        for (int i = 0; i < 16; ++i)
            frames.push_back(Oval(i, colours[k][0], colours[k][1], colours[k][2]));
        Art_WritePng(ctx, ovals[k], Art_Strip(frames));
    }
}
