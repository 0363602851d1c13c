// The game's fonts: copied from the Debian font packages into the generated data under their
// registered names, and opened through FreeType for the pictures that carry text.
#include "tools/art/art.h"

#include <cairo-ft.h>
#include <ft2build.h>
#include FT_FREETYPE_H

#include <filesystem>
#include <map>

namespace {

struct FontSource {
    ArtFont font;
    const char* file;       // on this machine, from the package named in scripts/install-deps
    const char* registered; // name inside the game's data, empty for picture-only cuts
};

const FontSource kFonts[] = {
    {ArtFont::Sans, "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf", "fonts/l_10646.ttf"},
    {ArtFont::SansBold, "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf", ""},
    {ArtFont::Serif, "/usr/share/fonts/truetype/crosextra/Caladea-Regular.ttf",
     "fonts/libertyn.ttf"},
    {ArtFont::Display, "/usr/share/fonts/opentype/lobstertwo/LobsterTwo-Bold.otf",
     "fonts/PS_14508.ttf"},
};

const FontSource& SourceOf(ArtFont font) {
    for (const FontSource& f : kFonts)
        if (f.font == font) return f;
    Art_Fail("unknown font");
}

void CopyFonts(const ArtContext& ctx) {
    for (const FontSource& f : kFonts) {
        if (!*f.registered) continue;
        std::filesystem::path to = std::filesystem::path(ctx.out_dir) / f.registered;
        std::filesystem::create_directories(to.parent_path());
        std::error_code ec;
        std::filesystem::copy_file(f.file, to, std::filesystem::copy_options::overwrite_existing,
                                   ec);
        if (ec) Art_Fail(std::string("cannot copy font ") + f.file + ": " + ec.message());
    }
}

} // namespace

const char* Art_FontFile(ArtFont font) {
    return SourceOf(font).file;
}

cairo_font_face_t* Art_FontFace(ArtFont font) {
    static FT_Library library = nullptr;
    static std::map<ArtFont, cairo_font_face_t*> faces;
    if (auto it = faces.find(font); it != faces.end()) return it->second;
    if (!library && FT_Init_FreeType(&library)) Art_Fail("cannot start FreeType");
    FT_Face face = nullptr;
    if (FT_New_Face(library, Art_FontFile(font), 0, &face))
        Art_Fail(std::string("cannot open font ") + Art_FontFile(font) +
                 " (run scripts/install-deps)");
    cairo_font_face_t* cf = cairo_ft_font_face_create_for_ft_face(face, 0);
    faces[font] = cf; // kept for the whole run, like the FreeType face under it
    return cf;
}

ART_MODULE(fonts, CopyFonts);
