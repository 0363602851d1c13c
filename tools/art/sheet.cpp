// The contact sheet: every generated picture on one page for review, each with its name, its
// first frame and, for animations, a row of frames sampled across the loop.
#include "tools/art/art.h"
#include "tools/art/sheet_frames.h"

#include <algorithm>
#include <filesystem>
#include <map>

namespace fs = std::filesystem;

namespace {

struct Tile {
    std::string name;
    Picture first;               // first frame, scaled for the sheet
    std::vector<Picture> frames; // sampled frames, scaled small
    std::string note;            // frame layout, or a problem
    int w = 0, h = 0;
};

constexpr int kLabel = 22, kPad = 10, kFrameH = 44, kMaxFirst = 260;

Picture FitWithin(const Picture& p, int max_w, int max_h, double max_up) {
    double k =
        std::min({static_cast<double>(max_w) / p.w, static_cast<double>(max_h) / p.h, max_up});
    return Picture_Scaled(p, std::max(1, static_cast<int>(p.w * k + 0.5)),
                          std::max(1, static_cast<int>(p.h * k + 0.5)));
}

Tile MakeTile(const std::string& name, const Picture& pic, const ArtPictureSpec* spec) {
    Tile t;
    t.name = name;
    int cw = pic.w, ch = pic.h, count = 1, cols = 1;
    if (spec && spec->count > 1) {
        cols = Art_FrameColumns(pic.w, pic.h, spec->cell_w, spec->cell_h, spec->count);
        if (cols) {
            cw = spec->cell_w;
            ch = spec->cell_h;
            count = spec->count;
        }
    }
    t.note = std::to_string(cw) + "x" + std::to_string(ch) +
             (count > 1 ? " x" + std::to_string(count) : "");
    if (spec && spec->count > 1 && !cols) t.note += "  WRONG FRAME LAYOUT";
    t.first = FitWithin(Picture_Cut(pic, 0, 0, cw, ch), kMaxFirst, kMaxFirst * 3 / 4, 3.0);
    int shown = std::min(count, 12);
    for (int i = 0; count > 1 && i < shown; ++i) {
        int f = i * count / shown;
        Picture frame = Picture_Cut(pic, (f % cols) * cw, (f / cols) * ch, cw, ch);
        t.frames.push_back(FitWithin(frame, kFrameH * 2, kFrameH, 2.0));
    }
    int strip_w = 0;
    for (const Picture& f : t.frames)
        strip_w += f.w + 2;
    t.w = std::max({t.first.w, strip_w, 150}) + kPad;
    t.h = kLabel + t.first.h + (t.frames.empty() ? 0 : kFrameH + 4) + kPad + 18;
    return t;
}

void Blit(cairo_t* cr, const Picture& p, double x, double y) {
    cairo_surface_t* s = Picture_ToCairo(p);
    cairo_set_source_surface(cr, s, x, y);
    cairo_paint(cr);
    cairo_surface_destroy(s);
}

void Label(cairo_t* cr, const std::string& text, double x, double y, double size, bool bad) {
    Art_SetFont(cr, ArtFont::Sans, size);
    cairo_move_to(cr, x, y);
    if (bad)
        cairo_set_source_rgb(cr, 0.7, 0, 0);
    else
        cairo_set_source_rgb(cr, 0.05, 0.05, 0.08);
    cairo_show_text(cr, text.c_str());
}

} // namespace

bool Art_ContactSheet(const std::string& data_dir, const std::string& file, int width,
                      double scale) {
    std::map<std::string, const ArtPictureSpec*> specs;
    for (const ArtPictureSpec& s : kArtPictures)
        specs[s.name] = &s;
    std::vector<std::string> names;
    for (const auto& e : fs::recursive_directory_iterator(data_dir)) {
        std::string ext = e.path().extension().string();
        if (!e.is_regular_file() || (ext != ".png" && ext != ".jpg")) continue;
        std::string name = fs::relative(e.path(), data_dir).generic_string();
        // The 150 level thumbnails look alike: a few of them show the kind.
        if (name.rfind("images/Level", 0) == 0 && name > "images/Level004") continue;
        names.push_back(name);
    }
    std::sort(names.begin(), names.end());
    std::vector<Tile> tiles;
    for (const std::string& n : names) {
        Picture pic;
        if (!Picture_Read((fs::path(data_dir) / n).string(), &pic)) continue;
        auto it = specs.find(n);
        tiles.push_back(MakeTile(n, pic, it == specs.end() ? nullptr : it->second));
    }
    // Flow layout: tiles left to right, a new row when the next one does not fit.
    std::vector<std::pair<int, int>> at;
    int x = kPad, y = kPad, row_h = 0;
    for (const Tile& t : tiles) {
        if (x + t.w > width && x > kPad) {
            x = kPad;
            y += row_h;
            row_h = 0;
        }
        at.push_back({x, y});
        x += t.w;
        row_h = std::max(row_h, t.h);
    }
    Sketch s = Sketch_New(width, y + row_h + kPad);
    cairo_set_source_rgb(s.cr, 0.5, 0.5, 0.5);
    cairo_paint(s.cr);
    for (size_t i = 0; i < tiles.size(); ++i) {
        const Tile& t = tiles[i];
        auto [tx, ty] = at[i];
        std::string shortname = t.name.substr(t.name.rfind('/') + 1);
        Label(s.cr, shortname, tx, ty + 16, 16, false);
        Blit(s.cr, t.first, tx, ty + kLabel);
        int fx = tx, fy = ty + kLabel + t.first.h + 4;
        for (const Picture& f : t.frames) {
            Blit(s.cr, f, fx, fy + (kFrameH - f.h) / 2);
            fx += f.w + 2;
        }
        Label(s.cr, t.note, tx, fy + (t.frames.empty() ? 0 : kFrameH + 2) + 13, 13,
              t.note.find("WRONG") != std::string::npos);
    }
    int sheet_w = cairo_image_surface_get_width(s.surface);
    int sheet_h = cairo_image_surface_get_height(s.surface);
    Picture sheet = Sketch_Finish(s);
    if (scale < 1.0) { // a review copy: smaller, and in fewer shades so it packs tighter
        sheet = Picture_Scaled(sheet, std::max(1, static_cast<int>(sheet_w * scale)),
                               std::max(1, static_cast<int>(sheet_h * scale)));
        for (std::uint8_t& c : sheet.rgba)
            c = static_cast<std::uint8_t>(std::min(255, (c + 4) & ~7));
    }
    cairo_surface_t* out = Picture_ToCairo(sheet);
    cairo_status_t st = cairo_surface_write_to_png(out, file.c_str());
    cairo_surface_destroy(out);
    return st == CAIRO_STATUS_SUCCESS;
}
