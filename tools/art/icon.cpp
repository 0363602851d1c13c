// The program's icon for the desktop: a frosted night-blue tile with a snowflake over three gems
// in a row, drawn as paths so the same drawing gives the scalable SVG and every PNG size. Not part
// of the game's data: it is installed beside the launcher.
#include "tools/art/art.h"

#include <cairo-svg.h>
#include <cairo.h>

#include <cmath>
#include <filesystem>
#include <string>

namespace {

constexpr double kUnit = 256.0; // the drawing's own size; every output scales it

void Tile(cairo_t* cr) {
    Art_RoundRect(cr, 8, 8, 240, 240, 48);
    cairo_pattern_t* sky = cairo_pattern_create_linear(0, 8, 0, 248);
    cairo_pattern_add_color_stop_rgb(sky, 0.0, 0.09, 0.16, 0.36);
    cairo_pattern_add_color_stop_rgb(sky, 1.0, 0.22, 0.42, 0.72);
    cairo_set_source(cr, sky);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(sky);
    cairo_set_source_rgba(cr, 0.86, 0.94, 1.0, 0.9);
    cairo_set_line_width(cr, 6);
    cairo_stroke(cr);
}

// Six arms with two side branches each, in frost white.
void Snowflake(cairo_t* cr, double cx, double cy, double r) {
    cairo_save(cr);
    cairo_translate(cr, cx, cy);
    for (int arm = 0; arm < 6; ++arm) {
        cairo_save(cr);
        cairo_rotate(cr, arm * M_PI / 3);
        cairo_move_to(cr, 0, 0);
        cairo_line_to(cr, 0, -r);
        for (double at : {0.45, 0.72}) {
            const double side = r * (0.95 - at) * 0.7;
            cairo_move_to(cr, 0, -r * at);
            cairo_line_to(cr, -side, -r * at - side);
            cairo_move_to(cr, 0, -r * at);
            cairo_line_to(cr, side, -r * at - side);
        }
        cairo_restore(cr);
    }
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_source_rgba(cr, 0.05, 0.1, 0.25, 0.45); // a shadow keeps it clear at 16 px
    cairo_set_line_width(cr, r * 0.2);
    cairo_stroke_preserve(cr);
    cairo_set_source_rgb(cr, 0.95, 0.98, 1.0);
    cairo_set_line_width(cr, r * 0.12);
    cairo_stroke(cr);
    cairo_restore(cr);
}

// A faceted diamond gem: its colour, a lighter top facet and a white glint.
void Gem(cairo_t* cr, double cx, double cy, double r, double red, double green, double blue) {
    cairo_move_to(cr, cx, cy - r);
    cairo_line_to(cr, cx + r, cy);
    cairo_line_to(cr, cx, cy + r);
    cairo_line_to(cr, cx - r, cy);
    cairo_close_path(cr);
    cairo_set_source_rgb(cr, red, green, blue);
    cairo_fill_preserve(cr);
    cairo_set_source_rgba(cr, 0.03, 0.06, 0.18, 0.8);
    cairo_set_line_width(cr, r * 0.14);
    cairo_stroke(cr);
    cairo_move_to(cr, cx, cy - r * 0.8);
    cairo_line_to(cr, cx + r * 0.5, cy - r * 0.1);
    cairo_line_to(cr, cx - r * 0.5, cy - r * 0.1);
    cairo_close_path(cr);
    cairo_set_source_rgba(cr, 1, 1, 1, 0.45);
    cairo_fill(cr);
    cairo_arc(cr, cx - r * 0.25, cy - r * 0.35, r * 0.12, 0, 2 * M_PI);
    cairo_set_source_rgba(cr, 1, 1, 1, 0.9);
    cairo_fill(cr);
}

void DrawIcon(cairo_t* cr, double size) {
    cairo_scale(cr, size / kUnit, size / kUnit);
    Tile(cr);
    Snowflake(cr, 128, 98, 66);
    Gem(cr, 62, 196, 30, 0.86, 0.16, 0.24);
    Gem(cr, 128, 196, 30, 0.18, 0.72, 0.42);
    Gem(cr, 194, 196, 30, 0.98, 0.74, 0.16);
}

void WritePng(const std::filesystem::path& file, int size) {
    std::filesystem::create_directories(file.parent_path());
    cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, size, size);
    cairo_t* cr = cairo_create(s);
    DrawIcon(cr, size);
    cairo_destroy(cr);
    const cairo_status_t status = cairo_surface_write_to_png(s, file.c_str());
    cairo_surface_destroy(s);
    if (status != CAIRO_STATUS_SUCCESS) Art_Fail("cannot write " + file.string());
}

void WriteSvg(const std::filesystem::path& file) {
    std::filesystem::create_directories(file.parent_path());
    cairo_surface_t* s = cairo_svg_surface_create(file.c_str(), kUnit, kUnit);
    cairo_t* cr = cairo_create(s);
    DrawIcon(cr, kUnit);
    cairo_destroy(cr);
    cairo_surface_finish(s);
    const cairo_status_t status = cairo_surface_status(s);
    cairo_surface_destroy(s);
    if (status != CAIRO_STATUS_SUCCESS) Art_Fail("cannot write " + file.string());
}

} // namespace

void Art_WriteIcons(const std::string& dir, const std::string& name) {
    const std::filesystem::path root = std::filesystem::path(dir) / "hicolor";
    for (int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
        const std::string box = std::to_string(size) + "x" + std::to_string(size);
        WritePng(root / box / "apps" / (name + ".png"), size);
    }
    WriteSvg(root / "scalable" / "apps" / (name + ".svg"));
}
