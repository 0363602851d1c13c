// The options screen: the settings page with its labels and slider grooves, the slider cursor,
// the check box, the help page arrows, the credits and the help pages' picture columns.
#include "tools/art/ui.h"
#include "tools/art/ui_kit.h"

#include <algorithm>
#include <cmath>
#include <sstream>
#include <vector>

namespace {

constexpr int kPageX = 344, kPageY = 127, kPageW = 376, kPageH = 452;

void Label(cairo_t* cr, const std::string& text, double x, double y, double align, double size) {
    UiLettering l;
    l.size = size;
    l.top = "#fffac8";
    l.bottom = "#fafa96";
    l.rim = "#0b1633";
    l.rim_width = 1.6;
    l.shadow_alpha = 0.55;
    Ui_Letter(cr, l, text, x, y, align);
}

// Labels and grooves at the places of the controls the game draws over them.
Picture SettingsPage() {
    Sketch s = Sketch_New(kPageW, kPageH);
    cairo_t* cr = s.cr;
    const char* sliders[] = {"Music", "Sound effects", "Ambient sounds", "Darker background"};
    for (int i = 0; i < 4; ++i) {
        double cy = 195 + 72 * i + 17 - kPageY; // the cursor's middle
        double x0 = 423 + 24 - kPageX, x1 = 615 + 24 - kPageX;
        Label(cr, sliders[i], x0 - 10, cy - 22, 0, 22);
        Art_RoundRect(cr, x0 - 9, cy - 4.5, x1 - x0 + 18, 9, 4.5);
        cairo_set_source_rgba(cr, 0.02, 0.05, 0.12, 0.75);
        cairo_fill_preserve(cr);
        Ui_Set(cr, "#b8cce8", 0.8);
        cairo_set_line_width(cr, 1.2);
        cairo_stroke(cr);
        for (double x : {x0, x1}) { // end marks under the cursor's two stops
            cairo_move_to(cr, x, cy + 8);
            cairo_line_to(cr, x, cy + 13);
        }
        cairo_set_line_width(cr, 1.5);
        cairo_stroke(cr);
    }
    Label(cr, "Slow PC", 584 - 12 - kPageX, 468 + 19 - kPageY, 1, 22);
    Label(cr, "Full screen", 584 - 12 - kPageX, 513 + 19 - kPageY, 1, 22);
    return Sketch_Finish(s);
}

Picture SliderCursor(bool lit) {
    Sketch s = Sketch_New(49, 35);
    cairo_t* cr = s.cr;
    double cx = 24.5, cy = 17.5;
    cairo_arc(cr, cx, cy, 12, 0, 2 * M_PI);
    if (lit) Ui_GlowPath(cr, "#ffd36b", 0.9, 6, 2);
    cairo_pattern_t* p = cairo_pattern_create_radial(cx - 4, cy - 5, 1, cx, cy, 12);
    cairo_pattern_add_color_stop_rgb(p, 0, 1, 1, 1);
    cairo_pattern_add_color_stop_rgb(p, 0.5, 0.62, 0.85, 0.96);
    cairo_pattern_add_color_stop_rgb(p, 1, 0.23, 0.36, 0.59);
    cairo_set_source(cr, p);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(p);
    Ui_Set(cr, lit ? "#ffd36b" : "#e6f7ff");
    cairo_set_line_width(cr, 2);
    cairo_stroke(cr);
    Ui_Set(cr, "#142a52", 0.8);
    Ui_Snowflake(cr, cx, cy, 7, 1.4);
    return Sketch_Finish(s);
}

Picture CheckBox(bool ticked) {
    Sketch s = Sketch_New(34, 25);
    cairo_t* cr = s.cr;
    Ui_FrostPanel(cr, 2, 3, 20, 20, 5, 0.95, 2);
    if (ticked) {
        cairo_move_to(cr, 6, 12);
        cairo_line_to(cr, 12, 19);
        cairo_curve_to(cr, 17, 10, 23, 5, 31, 2);
        cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
        cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
        Ui_Set(cr, "#4a2a04");
        cairo_set_line_width(cr, 5.5);
        cairo_stroke_preserve(cr);
        Ui_Set(cr, "#ffd36b");
        cairo_set_line_width(cr, 3.2);
        cairo_stroke(cr);
    }
    return Sketch_Finish(s);
}

Picture PageArrow(bool right, bool lit) {
    Sketch s = Sketch_New(68, 48);
    cairo_t* cr = s.cr;
    if (lit) {
        Art_RoundRect(cr, 6, 8, 56, 34, 16);
        Ui_GlowPath(cr, "#ffd36b", 0.7, 6);
        cairo_new_path(cr);
    }
    Ui_FrostPanel(cr, 6, 8, 56, 34, 16, 0.92, 2);
    if (lit) {
        Art_RoundRect(cr, 6, 8, 56, 34, 16);
        Ui_Set(cr, "#ffd36b");
        cairo_set_line_width(cr, 1.6);
        cairo_stroke(cr);
    }
    double d = right ? 1 : -1, cx = 34, cy = 25;
    cairo_move_to(cr, cx + d * 11, cy);
    cairo_line_to(cr, cx - d * 7, cy - 11);
    cairo_line_to(cr, cx - d * 7, cy + 11);
    cairo_close_path(cr);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    Ui_Set(cr, "#0b1633");
    cairo_set_line_width(cr, 3);
    cairo_stroke_preserve(cr);
    Ui_Set(cr, lit ? "#fff3b0" : "#e6f7ff");
    cairo_fill(cr);
    return Sketch_Finish(s);
}

// Credits: the maker, then each library and font the game carries, with its licence.
Picture Credits() {
    const int w = 296, h = 362;
    Sketch s = Sketch_New(w, h);
    cairo_t* cr = s.cr;
    UiLettering head;
    head.size = 30;
    head.top = "#fff3b0";
    head.bottom = "#ffb347";
    head.rim = "#1a0c02";
    head.rim_width = 1.8;
    Ui_Letter(cr, head, "Brimlet : Snowmere", w / 2.0, 30);
    double y = 52;
    auto line = [&](const std::string& text, ArtFont font, double size, const char* hex,
                    double align = 0.5) {
        Art_SetFont(cr, font, size);
        cairo_new_path(cr);
        Art_TextPath(cr, text, align == 0.5 ? w / 2.0 : 8, y, align);
        Ui_Set(cr, hex);
        cairo_fill(cr);
        y += size + 4;
    };
    line("Made with care by Brimlet", ArtFont::Sans, 12, "#f4f8ff");
    line("Design, code, pictures, music and sounds", ArtFont::Sans, 11, "#c9d8f0");
    y += 10;
    UiLettering section;
    section.size = 21;
    section.top = "#e6f7ff";
    section.bottom = "#9fd8f5";
    section.rim_width = 1.5;
    auto heading = [&](const char* text) {
        Ui_Letter(cr, section, text, w / 2.0, y + 8);
        y += 26;
    };
    struct Item {
        const char* name;
        const char* licence;
    };
    auto items = [&](std::initializer_list<Item> list) {
        for (const Item& it : list) {
            Art_SetFont(cr, ArtFont::SansBold, 11);
            cairo_new_path(cr);
            Art_TextPath(cr, it.name, 8, y);
            Ui_Set(cr, "#fafac8");
            cairo_fill(cr);
            Art_SetFont(cr, ArtFont::Sans, 11);
            Art_TextPath(cr, it.licence, w - 8, y, 1.0);
            Ui_Set(cr, "#c9d8f0");
            cairo_fill(cr);
            y += 15;
        }
        y += 6;
    };
    heading("Libraries");
    items({{"SDL2", "zlib licence"},
           {"OpenAL Soft", "LGPL 2.1 or later"},
           {"libpng", "libpng licence"},
           {"zlib", "zlib licence"},
           {"libjpeg-turbo", "IJG and BSD licences"},
           {"Ogg and Vorbis", "BSD licence"},
           {"FreeType", "FreeType licence"}});
    heading("Fonts");
    items({{"DejaVu Sans", "Bitstream Vera licence"},
           {"Lobster Two", "SIL Open Font Licence 1.1"},
           {"Caladea", "SIL Open Font Licence 1.1"}});
    heading("Instruments");
    items({{"Fluid R3 GM sound font", "MIT licence"}});
    line("The licence texts come with the game.", ArtFont::Sans, 10, "#a9bcd9");
    return Sketch_Finish(s);
}

// ---- help illustrations -----------------------------------------------------------------

void Gem(cairo_t* cr, double x, double y, double r, const char* hex) {
    cairo_arc(cr, x, y, r, 0, 2 * M_PI);
    Ui_Set(cr, hex);
    cairo_fill_preserve(cr);
    cairo_pattern_t* p = cairo_pattern_create_radial(x - r * 0.4, y - r * 0.4, 0, x, y, r);
    cairo_pattern_add_color_stop_rgba(p, 0, 1, 1, 1, 0.8);
    cairo_pattern_add_color_stop_rgba(p, 0.45, 1, 1, 1, 0.0);
    cairo_pattern_add_color_stop_rgba(p, 1, 0, 0, 0.1, 0.35);
    cairo_set_source(cr, p);
    cairo_fill(cr);
    cairo_pattern_destroy(p);
}

void Tile(cairo_t* cr, double x, double y, double size, bool snow) {
    Art_RoundRect(cr, x, y, size, size, 4);
    cairo_set_source_rgba(cr, 0x9f / 255.0, 0xd8 / 255.0, 0xf5 / 255.0, 0.75);
    cairo_fill_preserve(cr);
    Ui_Set(cr, "#e6f7ff");
    cairo_set_line_width(cr, 1.5);
    cairo_stroke(cr);
    cairo_move_to(cr, x + 4, y + size * 0.55);
    cairo_line_to(cr, x + size * 0.55, y + 4);
    cairo_set_source_rgba(cr, 1, 1, 1, 0.8);
    cairo_stroke(cr);
    if (snow) {
        cairo_move_to(cr, x, y + size * 0.45);
        cairo_curve_to(cr, x + size * 0.3, y + size * 0.25, x + size * 0.6, y + size * 0.5,
                       x + size, y + size * 0.3);
        cairo_line_to(cr, x + size, y + 3);
        cairo_curve_to(cr, x + size, y - 2, x, y - 2, x, y + 3);
        cairo_close_path(cr);
        Ui_Set(cr, "#eef4ff");
        cairo_fill(cr);
    }
}

void Candle(cairo_t* cr, double x, double y) {
    Art_RoundRect(cr, x - 8, y, 16, 38, 3);
    cairo_pattern_t* p = cairo_pattern_create_linear(x - 8, 0, x + 8, 0);
    cairo_pattern_add_color_stop_rgb(p, 0, 1, 0.98, 0.9);
    cairo_pattern_add_color_stop_rgb(p, 1, 0.85, 0.78, 0.62);
    cairo_set_source(cr, p);
    cairo_fill(cr);
    cairo_pattern_destroy(p);
    cairo_move_to(cr, x, y - 18);
    cairo_curve_to(cr, x + 7, y - 8, x + 5, y - 2, x, y - 2);
    cairo_curve_to(cr, x - 5, y - 2, x - 7, y - 8, x, y - 18);
    Ui_GlowPath(cr, "#ff9a3c", 0.8, 8, 2);
    Ui_Set(cr, "#ffd36b");
    cairo_fill(cr);
}

// Chain strands crossing over a piece: oval links along each diagonal, every other link seen
// edge-on, steel grey with a light upper edge.
void Chain(cairo_t* cr, double x, double y, double r) {
    for (int strand = 0; strand < 2; ++strand) {
        double a = strand == 0 ? M_PI / 4 : -M_PI / 4;
        double dx = std::cos(a), dy = std::sin(a);
        for (int i = -3; i <= 3; ++i) {
            double t = i * r * 0.3;
            cairo_save(cr);
            cairo_translate(cr, x + dx * t, y + dy * t);
            cairo_rotate(cr, a);
            cairo_scale(cr, 1, i % 2 ? 0.22 : 0.6);
            cairo_arc(cr, 0, 0, r * 0.2, 0, 2 * M_PI);
            cairo_restore(cr);
            Ui_Set(cr, "#1c2230");
            cairo_set_line_width(cr, 4.2);
            cairo_stroke_preserve(cr);
            Ui_Set(cr, i % 2 ? "#8a93a3" : "#d5dbe4");
            cairo_set_line_width(cr, 2.2);
            cairo_stroke(cr);
        }
    }
}

// Gem silhouettes of the board, as flat tones with a light from the upper left.
void GemShade(cairo_t* cr, double x, double y, double r, const char* hex) {
    Ui_Set(cr, hex);
    cairo_fill_preserve(cr);
    cairo_pattern_t* p = cairo_pattern_create_linear(x - r, y - r, x + r, y + r);
    cairo_pattern_add_color_stop_rgba(p, 0, 1, 1, 1, 0.55);
    cairo_pattern_add_color_stop_rgba(p, 0.45, 1, 1, 1, 0.05);
    cairo_pattern_add_color_stop_rgba(p, 0.55, 0, 0, 0.1, 0.05);
    cairo_pattern_add_color_stop_rgba(p, 1, 0, 0, 0.1, 0.4);
    cairo_set_source(cr, p);
    cairo_fill(cr);
    cairo_pattern_destroy(p);
    cairo_arc(cr, x - r * 0.35, y - r * 0.35, r * 0.16, 0, 2 * M_PI);
    cairo_set_source_rgba(cr, 1, 1, 1, 0.9);
    cairo_fill(cr);
}

void Heart(cairo_t* cr, double x, double y, double r, const char* hex) {
    cairo_move_to(cr, x, y + r);
    cairo_curve_to(cr, x - r * 1.6, y - r * 0.1, x - r * 0.7, y - r * 1.3, x, y - r * 0.45);
    cairo_curve_to(cr, x + r * 0.7, y - r * 1.3, x + r * 1.6, y - r * 0.1, x, y + r);
    cairo_close_path(cr);
    GemShade(cr, x, y, r, hex);
}

void Teardrop(cairo_t* cr, double x, double y, double r, const char* hex) {
    cairo_move_to(cr, x, y - r * 1.15);
    cairo_curve_to(cr, x + r * 0.3, y - r * 0.6, x + r, y - r * 0.1, x + r, y + r * 0.3);
    cairo_arc(cr, x, y + r * 0.3, r, 0, M_PI);
    cairo_curve_to(cr, x - r, y - r * 0.1, x - r * 0.3, y - r * 0.6, x, y - r * 1.15);
    cairo_close_path(cr);
    GemShade(cr, x, y, r, hex);
}

void Emerald(cairo_t* cr, double x, double y, double r, const char* hex) {
    double w = r * 0.75, h = r * 1.05, c = r * 0.3;
    cairo_move_to(cr, x - w + c, y - h);
    cairo_line_to(cr, x + w - c, y - h);
    cairo_line_to(cr, x + w, y - h + c);
    cairo_line_to(cr, x + w, y + h - c);
    cairo_line_to(cr, x + w - c, y + h);
    cairo_line_to(cr, x - w + c, y + h);
    cairo_line_to(cr, x - w, y + h - c);
    cairo_line_to(cr, x - w, y - h + c);
    cairo_close_path(cr);
    GemShade(cr, x, y, r, hex);
}

void Hammer(cairo_t* cr, double x, double y, const char* head, double scale) {
    cairo_save(cr);
    cairo_translate(cr, x, y);
    cairo_scale(cr, scale, scale);
    cairo_rotate(cr, -0.5);
    Art_RoundRect(cr, -3, -6, 6, 36, 2);
    Ui_Set(cr, "#8a5a2b");
    cairo_fill(cr);
    Art_RoundRect(cr, -15, -16, 30, 13, 3);
    Ui_Set(cr, head);
    cairo_fill_preserve(cr);
    Ui_Set(cr, "#0b1633", 0.6);
    cairo_set_line_width(cr, 1.2);
    cairo_stroke(cr);
    Art_RoundRect(cr, -13, -14, 26, 4, 2);
    cairo_set_source_rgba(cr, 1, 1, 1, 0.55);
    cairo_fill(cr);
    cairo_restore(cr);
}

void Crystal(cairo_t* cr, double x, double y, double r) {
    cairo_move_to(cr, x, y - r);
    for (int i = 1; i < 6; ++i)
        cairo_line_to(cr, x + r * std::sin(i * M_PI / 3), y - r * std::cos(i * M_PI / 3));
    cairo_close_path(cr);
    cairo_pattern_t* p = cairo_pattern_create_linear(x - r, y - r, x + r, y + r);
    const char* hues[] = {"#e8323c", "#ff8c1a", "#ffd60a", "#2fc45a", "#1e5bff", "#b23cff"};
    for (int i = 0; i < 6; ++i) {
        unsigned v = static_cast<unsigned>(std::strtoul(hues[i] + 1, nullptr, 16));
        cairo_pattern_add_color_stop_rgb(p, i / 5.0, (v >> 16) / 255.0, ((v >> 8) & 255) / 255.0,
                                         (v & 255) / 255.0);
    }
    cairo_set_source(cr, p);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(p);
    cairo_set_source_rgba(cr, 1, 1, 1, 0.9);
    cairo_set_line_width(cr, 1.5);
    cairo_stroke(cr);
    Gem(cr, x, y, r * 0.35, "#ffffff");
}

void Bomb(cairo_t* cr, double x, double y, double r) {
    for (int i = -1; i <= 1; ++i) { // pumpkin ribs
        cairo_save(cr);
        cairo_translate(cr, x + i * r * 0.4, y);
        cairo_scale(cr, 0.6, 1);
        cairo_arc(cr, 0, 0, r * 0.85, 0, 2 * M_PI);
        cairo_restore(cr);
        Ui_Set(cr, i == 0 ? "#ff8c1a" : "#e06a10");
        cairo_fill(cr);
    }
    cairo_move_to(cr, x, y - r * 0.8);
    cairo_curve_to(cr, x + 2, y - r * 1.2, x + 8, y - r * 1.3, x + 10, y - r * 1.1);
    Ui_Set(cr, "#2f6a2a");
    cairo_set_line_width(cr, 3);
    cairo_stroke(cr);
    cairo_arc(cr, x + 11, y - r * 1.1, 3, 0, 2 * M_PI);
    Ui_GlowPath(cr, "#ffd36b", 0.9, 6, 2);
    Ui_Set(cr, "#fff3b0");
    cairo_fill(cr);
}

void Snowball(cairo_t* cr, double x, double y, double r) {
    cairo_arc(cr, x, y, r, 0, 2 * M_PI);
    cairo_pattern_t* p = cairo_pattern_create_radial(x - r * 0.4, y - r * 0.4, 1, x, y, r);
    cairo_pattern_add_color_stop_rgb(p, 0, 1, 1, 1);
    cairo_pattern_add_color_stop_rgb(p, 0.7, 0.79, 0.85, 0.94);
    cairo_pattern_add_color_stop_rgb(p, 1, 0.56, 0.66, 0.81);
    cairo_set_source(cr, p);
    cairo_fill(cr);
    cairo_pattern_destroy(p);
    for (int side : {-1, 1}) { // motion streaks: it sweeps a whole line
        for (int k = 0; k < 3; ++k) {
            cairo_move_to(cr, x + side * (r + 3), y - 6 + k * 6);
            cairo_line_to(cr, x + side * (r + 12 - k * 2), y - 6 + k * 6);
        }
    }
    Ui_Set(cr, "#e6f7ff", 0.8);
    cairo_set_line_width(cr, 1.6);
    cairo_stroke(cr);
}

void IceCube(cairo_t* cr, double x, double y, double r) {
    cairo_move_to(cr, x - r, y - r * 0.4);
    cairo_line_to(cr, x, y - r * 0.9);
    cairo_line_to(cr, x + r, y - r * 0.4);
    cairo_line_to(cr, x + r, y + r * 0.5);
    cairo_line_to(cr, x, y + r);
    cairo_line_to(cr, x - r, y + r * 0.5);
    cairo_close_path(cr);
    cairo_set_source_rgba(cr, 0.62, 0.85, 0.96, 0.8);
    cairo_fill_preserve(cr);
    Ui_Set(cr, "#e6f7ff");
    cairo_set_line_width(cr, 1.5);
    cairo_stroke(cr);
    cairo_move_to(cr, x - r, y - r * 0.4);
    cairo_line_to(cr, x, y + r * 0.1);
    cairo_line_to(cr, x + r, y - r * 0.4);
    cairo_move_to(cr, x, y + r * 0.1);
    cairo_line_to(cr, x, y + r);
    cairo_set_source_rgba(cr, 1, 1, 1, 0.7);
    cairo_stroke(cr);
}

// Where each paragraph of a help text starts and ends, in pixels below the text's top, when it
// is wrapped to 280 pixels with the 12-pixel sans font, one line per font height.
std::vector<std::pair<double, double>> ParagraphSpans(const std::string& text) {
    Sketch s = Sketch_New(4, 4);
    Art_SetFont(s.cr, ArtFont::Sans, 12);
    cairo_font_extents_t fe;
    cairo_font_extents(s.cr, &fe);
    std::vector<std::pair<double, double>> spans;
    double y = 0;
    std::stringstream lines(text);
    std::string para;
    while (std::getline(lines, para, '\n')) {
        if (!para.empty() && para.back() == '\r') para.pop_back();
        std::stringstream words(para);
        std::string word, line;
        int count = 1;
        while (words >> word) {
            std::string next = line.empty() ? word : line + " " + word;
            if (!line.empty() && Art_TextWidth(s.cr, next) > 280) {
                ++count;
                line = word;
            } else {
                line = next;
            }
        }
        double line_h = std::ceil(fe.height);
        if (!para.empty()) spans.push_back({y, y + count * line_h});
        y += count * line_h;
    }
    Sketch_Finish(s);
    return spans;
}

const char* const kHelpRules =
    "Match three pieces in a row to remove them from the board. Click on adjacent pieces to swap "
    "them. Each match makes points for the highscore. Making bigger matches scores more "
    "points.\r\nTo finish a level, make matches over the ice tiles and remove all of them from "
    "the board. Some ice tiles are covered with snow. To free these backgrounds, there have to be "
    "two matches over these tiles. The time to remove all ice tiles is limited.\r\n\r\nClear the "
    "board before the candle burns completely down.\r\n\r\nSome pieces are locked by chains. "
    "Destroy the chains by making matches with the locked piece. There are even double-locked "
    "pieces. Two matches are needed to remove the chains.";
const char* const kHelpHammers =
    "After making a certain number of matches, the hammer becomes available. Click on the hammer "
    "to use it. There are three different hammers.\r\n\r\nThe first hammer simply removes a "
    "piece from the board. The piece must not be locked by a chain, nor will the hammer remove "
    "an ice tile behind the gem. To gain access to the next hammer, score more points and do not "
    "use the first hammer. The second hammer is more powerful, it destroys a piece and the "
    "background tile behind the piece.\r\n\r\nTo get the third and most powerful hammer, do not "
    "use the second hammer and gain more points.\r\n\r\nThe third hammer will destroy all "
    "pieces of the same color with their background tiles.";
const char* const kHelpItems =
    "There are some special items:\r\n\r\nIce crystals match with every piece to make three in a "
    "row.\r\n\r\n\r\nBombs explode when they are part of a match. The explosion will remove the "
    "tile behind the piece, no matter if it is ice or snow. Also tiles and chains next to the "
    "explosion will be destroyed.\r\n\r\n\r\nSnowballs remove a full line of pieces and their "
    "backgrounds.\r\n\r\n\r\nMaking a match of 3 icecubes will rebuild the tiles behind them. "
    "This can be avoided if the icecubes fall into a match instead of being moved into a match.";

// A column of 64 pixels; `text_dy` is how far below the picture's top the text starts.
using Illustration = void (*)(cairo_t*, double cx, double cy);
Picture HelpColumn(const char* text, double text_dy, const std::vector<Illustration>& art,
                   const std::vector<int>& paragraph) {
    std::vector<std::pair<double, double>> spans = ParagraphSpans(text);
    Sketch s = Sketch_New(64, 380);
    for (size_t i = 0; i < art.size(); ++i) {
        // Centred beside its paragraph, shrunk when the paragraph is short.
        auto [top, bottom] = spans[std::min<size_t>(paragraph[i], spans.size() - 1)];
        double scale = std::clamp((bottom - top + 18) / 56, 0.6, 1.0);
        cairo_save(s.cr);
        cairo_translate(s.cr, 32, (top + bottom) / 2 + text_dy);
        cairo_scale(s.cr, scale, scale);
        art[i](s.cr, 0, 0);
        cairo_restore(s.cr);
    }
    return Sketch_Finish(s);
}

} // namespace

const char* const kUiHelpTexts[3] = {kHelpRules, kHelpHammers, kHelpItems};

void Ui_Options(const ArtContext& ctx) {
    Art_WritePng(ctx, "images/interface/opt_settings.png", SettingsPage());
    Art_WritePng(ctx, "images/interface/opt_cursor.png",
                 Art_Strip({SliderCursor(false), SliderCursor(true)}));
    Art_WritePng(ctx, "images/interface/opt_check.png",
                 Art_Strip({CheckBox(false), CheckBox(true)}));
    Art_WritePng(ctx, "images/interface/opt_arrow_left.png",
                 Art_Strip({PageArrow(false, false), PageArrow(false, true)}));
    Art_WritePng(ctx, "images/interface/opt_arrow_right.png",
                 Art_Strip({PageArrow(true, false), PageArrow(true, true)}));
    Art_WritePng(ctx, "images/interface/opt_credits.png", Credits());

    const double dy = 153 - 151; // the text starts two pixels below the pictures
    Art_WritePng(ctx, "images/interface/Help01.png",
                 HelpColumn(kHelpRules, dy,
                            {[](cairo_t* cr, double x, double y) {
                                 for (int i = -1; i <= 1; ++i)
                                     Heart(cr, x + i * 20, y - 5, 9, "#e8323c");
                                 // swap arrows under the last two pieces
                                 Ui_Set(cr, "#e6f7ff");
                                 cairo_set_line_width(cr, 2);
                                 cairo_move_to(cr, x + 2, y + 10);
                                 cairo_curve_to(cr, x + 6, y + 17, x + 14, y + 17, x + 18, y + 10);
                                 cairo_stroke(cr);
                                 cairo_move_to(cr, x + 18, y + 10);
                                 cairo_line_to(cr, x + 13, y + 11);
                                 cairo_line_to(cr, x + 18, y + 5);
                                 cairo_close_path(cr);
                                 cairo_fill(cr);
                             },
                             [](cairo_t* cr, double x, double y) {
                                 Tile(cr, x - 29, y - 14, 28, false);
                                 Tile(cr, x + 1, y - 14, 28, true);
                             },
                             [](cairo_t* cr, double x, double y) { Candle(cr, x, y - 8); },
                             [](cairo_t* cr, double x, double y) {
                                 Emerald(cr, x, y, 15, "#2fc45a");
                                 Chain(cr, x, y, 30);
                             }},
                            {0, 1, 2, 3}));
    Art_WritePng(
        ctx, "images/interface/Help02.png",
        HelpColumn(kHelpHammers, dy,
                   {[](cairo_t* cr, double x, double y) { Hammer(cr, x, y, "#c9d0da", 1.0); },
                    [](cairo_t* cr, double x, double y) { Hammer(cr, x, y, "#9fd8f5", 1.15); },
                    [](cairo_t* cr, double x, double y) { Hammer(cr, x, y, "#ffd36b", 1.3); },
                    [](cairo_t* cr, double x, double y) {
                        for (int i = -1; i <= 1; ++i)
                            Teardrop(cr, x + i * 19, y, 8, "#1e5bff");
                    }},
                   {0, 1, 2, 3}));
    Art_WritePng(ctx, "images/interface/Help03.png",
                 HelpColumn(kHelpItems, dy,
                            {[](cairo_t* cr, double x, double y) { Crystal(cr, x, y, 18); },
                             [](cairo_t* cr, double x, double y) { Bomb(cr, x, y + 4, 18); },
                             [](cairo_t* cr, double x, double y) { Snowball(cr, x, y, 14); },
                             [](cairo_t* cr, double x, double y) { IceCube(cr, x, y, 18); }},
                            {1, 2, 3, 4}));
}
