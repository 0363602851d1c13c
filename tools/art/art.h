// The art generator's shared pieces: pictures in memory, PNG/JPEG output, frame strips, cairo
// surfaces, and the list of modules that each draw a group of the game's pictures.
#pragma once

#include <cairo.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// Straight (not premultiplied) RGBA pixels, rows top to bottom.
struct Picture {
    int w = 0, h = 0;
    std::vector<std::uint8_t> rgba;
};

struct ArtContext {
    std::string out_dir;    // the generated data folder; pictures go to out_dir + "/" + name
    std::string source_dir; // the repository's assets/art folder (scenes, textures)
    std::string work_dir;   // scratch space for renders
    int jobs = 2;           // parallel renders allowed
};

Picture Picture_New(int w, int h);
Picture Picture_FromCairo(cairo_surface_t* s);      // un-premultiplies
cairo_surface_t* Picture_ToCairo(const Picture& p); // premultiplies; caller destroys
bool Picture_ReadPng(const std::string& path, Picture* out);
bool Picture_ReadJpeg(const std::string& path, Picture* out); // opaque: alpha 255
bool Picture_Read(const std::string& path, Picture* out);     // by extension, .png or .jpg
// A w x h piece of a picture from (x, y); parts outside it are transparent.
Picture Picture_Cut(const Picture& p, int x, int y, int w, int h);

// Writes name (a registered name such as "images/interface/frame.png") under ctx.out_dir,
// creating folders. PNGs keep alpha unless rgb_only (pictures whose pixels the game reads as
// 24-bit RGB); JPEGs are written at the given quality.
void Art_WritePng(const ArtContext& ctx, const std::string& name, const Picture& p,
                  bool rgb_only = false);
void Art_WriteJpeg(const ArtContext& ctx, const std::string& name, const Picture& p,
                   int quality = 90);
void Art_WriteText(const ArtContext& ctx, const std::string& name, const std::string& bytes);

// Lays equally sized frames out left to right, then top to bottom, `columns` per row (0: all in
// one row). The game cuts them in the same order.
Picture Art_Strip(const std::vector<Picture>& frames, int columns = 8);

// A cairo surface of w x h and a context on it; free with Sketch_Finish, which returns the picture.
struct Sketch {
    cairo_surface_t* surface = nullptr;
    cairo_t* cr = nullptr;
};
Sketch Sketch_New(int w, int h);
Picture Sketch_Finish(Sketch& s);

// Colours from the art direction's "#rrggbb" strings.
void Art_SetHex(cairo_t* cr, const char* hex, double alpha = 1.0);

// The game's three fonts, read from the Debian font packages the build installs. Faces are
// loaded once and live for the whole run; a missing font file stops the generator.
enum class ArtFont {
    Sans,     // clean sans: body text, help, tips (fonts/l_10646.ttf)
    SansBold, // its bold cut, for small labels in pictures only (not shipped with the game)
    Serif,    // serif: the final congratulation (fonts/libertyn.ttf)
    Display,  // festive display face: buttons, titles, headings (fonts/PS_14508.ttf)
};
const char* Art_FontFile(ArtFont font); // path of the font file on this machine
cairo_font_face_t* Art_FontFace(ArtFont font);

// Text helpers: select the font at `size` pixels, then measure or add text to the current path
// (so callers can fill, stroke or glow it). `align` is 0 left, 0.5 centred, 1 right of x; y is
// the baseline.
void Art_SetFont(cairo_t* cr, ArtFont font, double size);
double Art_TextWidth(cairo_t* cr, const std::string& text);
void Art_TextPath(cairo_t* cr, const std::string& text, double x, double y, double align = 0.0);

// A rectangle with rounded corners as the current path.
void Art_RoundRect(cairo_t* cr, double x, double y, double w, double h, double r);

// Scales a picture to w x h with smooth filtering (for contact sheets and thumbnails).
Picture Picture_Scaled(const Picture& p, int w, int h);

// Modules register themselves with ART_MODULE(name, fn); the program runs every one (or those
// named on its command line).
using ArtModuleFn = std::function<void(const ArtContext&)>;
struct ArtModule {
    ArtModule(const char* name, ArtModuleFn fn);
};
struct ArtModuleEntry {
    const char* name;
    ArtModuleFn fn;
};
std::vector<ArtModuleEntry>& Art_Modules();
#define ART_MODULE(name, fn) static ArtModule art_module_##name(#name, fn)

// Writes one PNG showing every picture under data_dir (first frame and a strip of its
// animation), labelled by name, on a mid-grey background, laid out `width` pixels wide; false
// when it cannot be written.
bool Art_ContactSheet(const std::string& data_dir, const std::string& file, int width = 1800,
                      double scale = 1.0); // scale < 1 writes a smaller copy

[[noreturn]] void Art_Fail(const std::string& message);
