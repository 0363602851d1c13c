// Review mock-ups: the interface pictures put together roughly as the game's screens place
// them, with their texts in the game's fonts, so they can be judged in context.
#include "app/panel.h"
#include "tools/art/art.h"
#include "tools/art/ui.h"

#include <cmath>
#include <filesystem>

namespace fs = std::filesystem;

namespace {

struct Canvas {
    std::string dir;
    Sketch s = Sketch_New(800, 600);
    Picture Load(const std::string& name) const {
        Picture p;
        if (!Picture_Read((fs::path(dir) / name).string(), &p)) p = Picture_New(1, 1);
        return p;
    }
    void Draw(const std::string& name, double x, double y, int fw = 0, int fh = 0, int frame = 0,
              double alpha = 1.0, double sw = 0, double sh = 0) {
        Picture p = Load(name);
        if (fw > 0 && p.w >= fw)
            p = Picture_Cut(p, (frame % (p.w / fw)) * fw, (frame / (p.w / fw)) * fh, fw, fh);
        cairo_surface_t* surf = Picture_ToCairo(p);
        cairo_save(s.cr);
        cairo_translate(s.cr, x, y);
        if (sw > 0) cairo_scale(s.cr, sw / p.w, sh / p.h);
        cairo_set_source_surface(s.cr, surf, 0, 0);
        cairo_paint_with_alpha(s.cr, alpha);
        cairo_restore(s.cr);
        cairo_surface_destroy(surf);
    }
    void Text(const std::string& t, ArtFont f, double size, double x, double y, double r, double g,
              double b, bool centred = false) {
        Art_SetFont(s.cr, f, size);
        cairo_font_extents_t fe;
        cairo_font_extents(s.cr, &fe);
        double base = centred ? y + (fe.ascent - fe.descent) / 2 : y + fe.ascent;
        cairo_new_path(s.cr);
        Art_TextPath(s.cr, t, x, base, centred ? 0.5 : 0.0);
        cairo_set_source_rgb(s.cr, r / 255, g / 255, b / 255);
        cairo_fill(s.cr);
    }
    int Width(const std::string& t, ArtFont f, double size) {
        Art_SetFont(s.cr, f, size);
        return static_cast<int>(std::lround(Art_TextWidth(s.cr, t)));
    }
    void Button(const std::string& kind, double x, double y, const std::string& caption, bool on) {
        int w = kind == "gx" ? 151 : kind == "gx_play" ? 112 : 94;
        int h = kind == "gx" ? 42 : kind == "gx_play" ? 77 : 26;
        double size = kind == "gx" ? 28 : kind == "gx_play" ? 30 : 20;
        std::string base = "images/interface/button_" + kind;
        if (on) {
            auto [gx, gy] = kind == "gx"        ? std::pair(-4, -11)
                            : kind == "gx_play" ? std::pair(-5, -5)
                                                : std::pair(-3, -7);
            Draw(base + "_glow.png", x + gx, y + gy);
        }
        Draw(base + (on ? "_on.png" : "_off.png"), x, y, w, h, 0);
        Text(caption, ArtFont::Display, size, x + w / 2, y + h / 2, 255, 255, 255, true);
    }
    // Word-wrapped text in the 12-pixel sans, lines one font height apart, "\r\n" breaks.
    void Wrapped(const std::string& text, double x, double y, double width) {
        Art_SetFont(s.cr, ArtFont::Sans, 12);
        cairo_font_extents_t fe;
        cairo_font_extents(s.cr, &fe);
        std::string para;
        size_t at = 0;
        while (at <= text.size()) {
            size_t end = text.find("\r\n", at);
            if (end == std::string::npos) end = text.size();
            para = text.substr(at, end - at);
            at = end + 2;
            std::string line, word;
            auto flush = [&] {
                Text(line, ArtFont::Sans, 12, x, y, 255, 255, 255);
                y += std::ceil(fe.height);
                line.clear();
            };
            for (size_t i = 0; i <= para.size(); ++i) {
                if (i < para.size() && para[i] != ' ') {
                    word += para[i];
                    continue;
                }
                std::string next = line.empty() ? word : line + " " + word;
                Art_SetFont(s.cr, ArtFont::Sans, 12);
                if (!line.empty() && Art_TextWidth(s.cr, next) > width) {
                    flush();
                    line = word;
                } else {
                    line = next;
                }
                word.clear();
            }
            flush();
        }
    }
    void Save(const std::string& name) {
        cairo_surface_write_to_png(s.surface, (fs::path(dir) / ".." / name).string().c_str());
    }
};

void MainMenu(const std::string& dir) {
    Canvas c{dir};
    c.Draw("images/interface/bckg_options.jpg", 0, 0);
    c.Draw("images/interface/title.png", 368, 24);
    c.Button("gx_play", 519, 184, "Start", true);
    const char* caps[] = {"Relaxed Play", "User Anna", "Options", "Highscores", "Exit"};
    for (int i = 0; i < 5; ++i)
        c.Button("gx", 500, 290 + 50 * i, caps[i], i == 2);
    c.Draw("images/interface/frame.png", 40, 200, 0, 0, 0, 1, 400, 230);
    c.Text("Really want to quit ?", ArtFont::Display, 30, 88, 240, 255, 255, 255);
    c.Button("gx", 70, 360, "Yes", false);
    c.Button("gx", 250, 360, "No", false);
    c.Save("mock_menu.png");
}

void Options(const std::string& dir) {
    Canvas c{dir};
    c.Draw("images/interface/bckg_options.jpg", 0, 0);
    const char* caps[] = {"Settings", "Credits", "Help", "Main Menu"};
    for (int i = 0; i < 4; ++i)
        c.Button("gx", 114, 348 + 57 * i, caps[i], i == 3);
    c.Draw("images/interface/button_gx_selected.png", 114, 348, 0, 0, 0, 1 / 3.0);
    c.Draw("images/interface/frame.png", 344, 127);
    c.Draw("images/interface/opt_settings.png", 344, 127);
    int xs[] = {519, 600, 423, 470};
    for (int i = 0; i < 4; ++i)
        c.Draw("images/interface/opt_cursor.png", xs[i], 195 + 72 * i, 49, 35, i == 1);
    c.Draw("images/interface/opt_check.png", 584, 513, 34, 25, 0);
    c.Draw("images/interface/opt_check.png", 584, 468, 34, 25, 1);
    c.Save("mock_options.png");
}

void Credits(const std::string& dir) {
    Canvas c{dir};
    c.Draw("images/interface/bckg_options.jpg", 0, 0);
    c.Draw("images/interface/frame.png", 344, 127);
    c.Draw("images/interface/opt_credits.png", 404, 169);
    c.Text("Brimlet : Snowmere 1.10", ArtFont::Sans, 12, 367, 545, 255, 255, 255);
    const char* caps[] = {"Settings", "Credits", "Help", "Main Menu"};
    for (int i = 0; i < 4; ++i)
        c.Button("gx", 114, 348 + 57 * i, caps[i], false);
    c.Draw("images/interface/button_gx_selected.png", 114, 405, 0, 0, 0, 1 / 3.0);
    c.Save("mock_credits.png");
}

void Help(const std::string& dir, int page) {
    Canvas c{dir};
    c.Draw("images/interface/bckg_options.jpg", 0, 0);
    c.Draw("images/interface/frame.png", 344, 127);
    const char* pics[] = {"Help01.png", "Help02.png", "Help03.png"};
    c.Draw(std::string("images/interface/") + pics[page], page == 2 ? 368 : 364, 151);
    c.Wrapped(kUiHelpTexts[page], 434, 153, 280);
    if (page > 0) c.Draw("images/interface/opt_arrow_left.png", 369, 528, 68, 48, 0);
    if (page < 2) c.Draw("images/interface/opt_arrow_right.png", 649, 528, 68, 48, 1);
    c.Save("mock_help" + std::to_string(page + 1) + ".png");
}

// The level chooser: 30 slots of thumbnail and frame, in every frame state.
void Chooser(const std::string& dir) {
    Canvas c{dir};
    c.Draw("images/interface/bckg_options.jpg", 0, 0);
    const char* scenes[] = {"images/bckgA1.png", "images/bckgB1.png", "images/bckgC1.png",
                            "images/bckgD1.png", "images/bckgE1.png", "images/bckgF1.png"};
    for (int k = 0; k < 30; ++k) {
        int x = 45 + 125 * (k % 6), y = 43 + 93 * (k / 6);
        std::string thumb =
            "images/Level" + std::string(k < 9 ? "00" : "0") + std::to_string(k + 1) + ".jpg";
        if (fs::exists(fs::path(dir) / thumb))
            c.Draw(thumb, x + 4, y + 3, 0, 0, 0, 1, 72, 54);
        else
            c.Draw(scenes[k % 6], x + 4, y + 3, 0, 0, 0, 1, 72, 54);
        int state = k < 12 ? (k == 4 ? 3 : k == 11 ? 4 : k == 7 ? 1 : 0) : 2;
        c.Draw("images/interface/button_Choose_Level.png", x, y, 80, 60, state);
        c.Text("-" + std::to_string(k + 1) + "-", ArtFont::Sans, 16, x + 40, y + 71, 255, 255, 255,
               true);
    }
    const char* nav[] = {"Main Menu", "Previous", "Next", "Start"};
    for (int i = 0; i < 4; ++i)
        c.Button("gx", 20 + 195 * i, 540, nav[i], false);
    c.Save("mock_chooser.png");
}

void Ingame(const std::string& dir) {
    Canvas c{dir};
    c.Draw("images/bckgA1.png", 0, 0);
    cairo_set_source_rgb(c.s.cr, 28 / 255.0, 43 / 255.0, 69 / 255.0);
    cairo_rectangle(c.s.cr, 685, 112, 95, 145);
    cairo_rectangle(c.s.cr, 686, 418, 97, 107);
    cairo_fill(c.s.cr);
    c.Draw("images/interface/Candle.png", 701, 132, 64, 116, 8);
    c.Draw("images/hourglass/flame_anim.png", 709, 135, 48, 48, 0);
    c.Draw("images/interface/hammer.png", 705, 424, 60, 99, 0);
    c.Draw("images/interface/ingame_interface.png", 675, 12);
    // the longest values, where the game places them
    const char* labels[] = {"Level", "Lives", "Score"};
    const int label_y[] = {Panel_LevelY, Panel_LivesY, Panel_ScoreLabelY};
    const char* numbers[] = {"150", "9", "9999999"};
    const int number_y[] = {Panel_LevelY + Panel_NumberDrop, Panel_LivesY + Panel_NumberDrop,
                            Panel_ScoreY};
    for (int i = 0; i < 3; ++i) {
        c.Text(labels[i], ArtFont::Display, 30, Panel_LabelX, label_y[i], 255, 255, 115);
        const int x = Panel_ValueRight - c.Width(numbers[i], ArtFont::Display, 28);
        c.Text(numbers[i], ArtFont::Display, 28, x - 1, number_y[i], 16, 2, 2);
        c.Text(numbers[i], ArtFont::Display, 28, x, number_y[i] - 1, 255, 255, 115);
    }
    c.Button("anim2", 689, 542, "Main Menu", false);
    c.Draw("images/interface/Fond_Game_Datas.png", 58, 60, 0, 0, 0, 1, 560, 160);
    c.Text("Make matches over the ice tiles to clear them.", ArtFont::Sans, 16, 122, 80, 255, 255,
           255);
    c.Draw("images/interface/arrow_yellow.png", 300, 240);
    c.Draw("images/interface/gameover.png", 190, 330);
    c.Save("mock_ingame.png");
}

void Scores(const std::string& dir) {
    Canvas c{dir};
    c.Draw("images/interface/bckg_options.jpg", 0, 0);
    const int x = 110, y = 165;
    c.Draw("images/interface/highscores.png", x, y);
    c.Text("Highscores", ArtFont::Display, 38, x + 276, y + 37, 255, 255, 255, true);
    const char* heads[] = {"User", "Score", "Total Time", "First Level", "Last Level"};
    int hx[] = {34, 114, 194, 294, 394};
    for (int i = 0; i < 5; ++i)
        c.Text(heads[i], ArtFont::Display, 28, x + hx[i], y + 64, 255, 255, 0);
    for (int i = 0; i < 5; ++i) {
        c.Text("Anna", ArtFont::Display, 20, x + 34, y + 92 + 18 * i, 0, 255, 255);
        c.Text(std::to_string(90000 - 9000 * i), ArtFont::Display, 20, x + 114, y + 92 + 18 * i, 0,
               255, 255);
    }
    c.Button("gx", x + 201, y + 244, "Ok", false);
    c.Button("gx", x + 382, y + 244, "Reset HighScore", true);
    c.Draw("images/interface/logo_small_QP.png", 20, 20);
    c.Save("mock_scores.png");
}

} // namespace

void Art_Mockups(const std::string& data_dir) {
    MainMenu(data_dir);
    Options(data_dir);
    Credits(data_dir);
    Ingame(data_dir);
    Chooser(data_dir);
    for (int page = 0; page < 3; ++page)
        Help(data_dir, page);
    Scores(data_dir);
}
