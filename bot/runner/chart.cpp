#include "bot/runner/report.h"

#include <cairo.h>

#include <algorithm>
#include <cstdio>

namespace {

constexpr int Width = 1200, Height = 460;
constexpr double Left = 60, Right = 20, Top = 50, Bottom = 50;
constexpr double Top_Percent = 120; // bars above the full level time still show

double PlotW() {
    return Width - Left - Right;
}
double PlotH() {
    return Height - Top - Bottom;
}
double Y(double percent) {
    return Top + PlotH() * (1.0 - std::min(percent, Top_Percent) / Top_Percent);
}

void Text(cairo_t* cr, double x, double y, const char* s, double size, bool centred) {
    cairo_set_font_size(cr, size);
    cairo_text_extents_t e;
    cairo_text_extents(cr, s, &e);
    cairo_move_to(cr, centred ? x - e.width / 2 - e.x_bearing : x, y);
    cairo_show_text(cr, s);
}

void DashedLevel(cairo_t* cr, double percent, double r, double g, double b, const char* label) {
    const double dash[] = {6, 4};
    cairo_set_dash(cr, dash, 2, 0);
    cairo_set_source_rgb(cr, r, g, b);
    cairo_set_line_width(cr, 1.2);
    cairo_move_to(cr, Left, Y(percent));
    cairo_line_to(cr, Width - Right, Y(percent));
    cairo_stroke(cr);
    cairo_set_dash(cr, nullptr, 0, 0);
    Text(cr, Width - Right - 150, Y(percent) - 4, label, 11, false);
}

void Axes(cairo_t* cr, const std::vector<Level_Report>& reps) {
    const int levels = static_cast<int>(reps.size());
    cairo_set_source_rgb(cr, 0.25, 0.25, 0.3);
    cairo_set_line_width(cr, 1);
    char buf[32];
    for (int p = 0; p <= 120; p += 20) {
        cairo_move_to(cr, Left - 4, Y(p));
        cairo_line_to(cr, Left, Y(p));
        cairo_stroke(cr);
        std::snprintf(buf, sizeof buf, "%d %%", p);
        Text(cr, Left - 44, Y(p) + 4, buf, 11, false);
    }
    const double step = PlotW() / std::max(levels, 1);
    for (int i = 0; i < levels; ++i) {
        if (reps[i].level % 10 != 0 && i != 0) continue;
        std::snprintf(buf, sizeof buf, "%d", reps[i].level);
        Text(cr, Left + (i + 0.5) * step, Height - Bottom + 16, buf, 11, true);
    }
    cairo_rectangle(cr, Left, Top, PlotW(), PlotH());
    cairo_stroke(cr);
    Text(cr, Width / 2.0, Height - 12, "level", 12, true);
}

// Green: within both targets; amber: won in most seeds but slow or not won often enough; red:
// won in fewer than half of the seeds.
void Bars(cairo_t* cr, const std::vector<Level_Report>& reps) {
    const double step = PlotW() / std::max<std::size_t>(reps.size(), 1);
    for (std::size_t i = 0; i < reps.size(); ++i) {
        const Level_Report& r = reps[i];
        const bool good = r.WinPercent() >= 90 && r.median_used <= 80;
        if (good)
            cairo_set_source_rgb(cr, 0.45, 0.7, 0.85);
        else if (r.WinPercent() >= 50)
            cairo_set_source_rgb(cr, 0.95, 0.65, 0.25);
        else
            cairo_set_source_rgb(cr, 0.85, 0.25, 0.25);
        const double x = Left + i * step + step * 0.12;
        cairo_rectangle(cr, x, Y(r.median_used), step * 0.76, Y(0) - Y(r.median_used));
        cairo_fill(cr);
    }
}

void WinLine(cairo_t* cr, const std::vector<Level_Report>& reps) {
    const double step = PlotW() / std::max<std::size_t>(reps.size(), 1);
    cairo_set_source_rgb(cr, 0.1, 0.2, 0.55);
    cairo_set_line_width(cr, 1.6);
    for (std::size_t i = 0; i < reps.size(); ++i) {
        const double x = Left + (i + 0.5) * step, y = Y(reps[i].WinPercent());
        if (i == 0)
            cairo_move_to(cr, x, y);
        else
            cairo_line_to(cr, x, y);
    }
    cairo_stroke(cr);
}

} // namespace

bool Report_DrawChart(const std::string& file, const std::vector<Level_Report>& reps) {
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, Width, Height);
    cairo_t* cr = cairo_create(surface);
    cairo_set_source_rgb(cr, 1, 1, 1);
    cairo_paint(cr);
    cairo_select_font_face(cr, "sans-serif", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
    Bars(cr, reps);
    DashedLevel(cr, 80, 0.6, 0.3, 0.1, "80 % of the time");
    DashedLevel(cr, 90, 0.1, 0.2, 0.55, "90 % of the seeds won");
    WinLine(cr, reps);
    Axes(cr, reps);
    cairo_set_source_rgb(cr, 0.1, 0.1, 0.15);
    // Levels measured again after a late change may have more seeds than the rest.
    int fewest = 0, most = 0;
    for (const Level_Report& r : reps) {
        fewest = fewest == 0 ? r.seeds : std::min(fewest, r.seeds);
        most = std::max(most, r.seeds);
    }
    char seeds[48];
    if (fewest == most)
        std::snprintf(seeds, sizeof seeds, "%d seeds", most);
    else
        std::snprintf(seeds, sizeof seeds, "its %d to %d seeds", fewest, most);
    char title[200];
    std::snprintf(title, sizeof title,
                  "Bars: median time used, in percent of the level's time.  Line: bot wins, "
                  "in percent of %s.",
                  seeds);
    Text(cr, Left, 22, title, 14, false);
    Text(cr, Left, 40,
         "Blue bars: within both targets.  Amber: won in half the seeds or more, but slower or "
         "less often.  Red: won in fewer than half.",
         11, false);
    cairo_destroy(cr);
    const bool ok = cairo_surface_write_to_png(surface, file.c_str()) == CAIRO_STATUS_SUCCESS;
    cairo_surface_destroy(surface);
    return ok;
}
