// Image fonts: every Latin-1 character of a TrueType font rendered once at a pixel size into one
// atlas picture, with per-glyph advance, offset and box.
#include "engine/gfx_internal.h"
#include "engine/stream.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H

#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>

namespace {

constexpr int kFirstChar = 32, kLastChar = 255;
constexpr int kMaxFontSize = 512;

FT_Library Library() {
    static FT_Library lib = [] {
        FT_Library l = nullptr;
        return FT_Init_FreeType(&l) == 0 ? l : nullptr;
    }();
    return lib;
}

// A glyph's coverage image before packing, margin included.
struct GlyphBitmap {
    int w = 0, h = 0;
    std::vector<std::uint8_t> coverage;
};

struct Rendered {
    Glyph glyphs[256];
    GlyphBitmap bitmaps[256];
};

// About a twenty-fourth of the size, at least one pixel, in whole pixels (26.6 fixed point).
FT_Pos BoldStrength(FT_Face face) {
    FT_Pos px = (face->size->metrics.y_ppem + 12) / 24;
    return std::max<FT_Pos>(px, 1) * 64;
}

// Every table the directory lists must lie inside the file; FreeType would quietly drop a table
// cut off by a truncated download and draw with what is left.
bool TablesInsideFile(const std::vector<std::uint8_t>& b) {
    auto be32 = [&](std::size_t at) {
        return std::uint32_t(b[at]) << 24 | std::uint32_t(b[at + 1]) << 16 |
               std::uint32_t(b[at + 2]) << 8 | b[at + 3];
    };
    if (b.size() < 12) return false;
    if (be32(0) == 0x74746366) return true; // a collection: FreeType checks the chosen face
    std::size_t tables = std::size_t(b[4]) << 8 | b[5];
    if (12 + tables * 16 > b.size()) return false;
    for (std::size_t i = 0; i < tables; ++i) {
        std::uint64_t offset = be32(12 + i * 16 + 8), length = be32(12 + i * 16 + 12);
        if (offset + length > b.size()) return false;
    }
    return true;
}

// False when a character the font maps cannot be rendered: the file is damaged.
bool RenderGlyph(FT_Face face, unsigned code, int style, int ascender, Glyph& g, GlyphBitmap& bm) {
    FT_UInt index = FT_Get_Char_Index(face, code);
    if (index == 0) return true; // the font has no such character: skipped when drawing
    if (FT_Load_Glyph(face, index, FT_LOAD_DEFAULT) != 0) return false;
    FT_GlyphSlot slot = face->glyph;
    int extra = 0;
    if ((style & FONT_BOLD) && slot->format == FT_GLYPH_FORMAT_OUTLINE) {
        // Thicker strokes by a whole number of pixels, so the wider letters also advance further.
        extra = BoldStrength(face);
        FT_Outline_EmboldenXY(&slot->outline, extra, extra);
    }
    if (FT_Render_Glyph(slot, FT_RENDER_MODE_NORMAL) != 0) return false;
    const FT_Bitmap& src = slot->bitmap;
    if (src.pixel_mode != FT_PIXEL_MODE_GRAY && src.width > 0) return false;
    if (src.width > unsigned(kMaxFontSize * 4) || src.rows > unsigned(kMaxFontSize * 4))
        return false;
    int margin = (style & FONT_SMOOTH) ? 1 : 0;
    g.present = true;
    g.advance = int((slot->advance.x + extra) / 64); // whole pixels, truncated
    if (src.width == 0 || src.rows == 0) return true;
    g.w = int(src.width) + 2 * margin;
    g.h = int(src.rows) + 2 * margin;
    g.off_x = slot->bitmap_left - margin;
    g.off_y = ascender - slot->bitmap_top - margin;
    bm.w = g.w;
    bm.h = g.h;
    bm.coverage.assign(std::size_t(g.w) * g.h, 0);
    for (unsigned y = 0; y < src.rows; ++y)
        std::memcpy(&bm.coverage[std::size_t(y + margin) * g.w + margin],
                    src.buffer + std::ptrdiff_t(y) * src.pitch, src.width);
    return true;
}

int PowerOfTwoAtLeast(int v) {
    int p = 1;
    while (p < v)
        p <<= 1;
    return p;
}

// Packs the glyph images in shelves; the gap keeps filtered neighbours from bleeding.
DecodedPicture PackAtlas(Rendered& r, int gap) {
    long long area = 0;
    int widest = 1;
    for (int c = kFirstChar; c <= kLastChar; ++c) {
        area += (long long)(r.bitmaps[c].w + gap) * (r.bitmaps[c].h + gap);
        widest = std::max(widest, r.bitmaps[c].w + gap);
    }
    int width = std::clamp(PowerOfTwoAtLeast(int(std::sqrt(double(area) * 1.3))), 64, 4096);
    width = std::max(width, PowerOfTwoAtLeast(widest));
    int x = gap, y = gap, shelf = 0;
    for (int c = kFirstChar; c <= kLastChar; ++c) {
        GlyphBitmap& bm = r.bitmaps[c];
        if (bm.w == 0) continue;
        if (x + bm.w + gap > width) x = gap, y += shelf + gap, shelf = 0;
        r.glyphs[c].atlas_x = x;
        r.glyphs[c].atlas_y = y;
        x += bm.w + gap;
        shelf = std::max(shelf, bm.h);
    }
    DecodedPicture pic;
    pic.width = width;
    pic.height = std::max(y + shelf + gap, 1);
    pic.bytes_per_pixel = 4;
    pic.pixels.assign(std::size_t(pic.width) * pic.height * 4, 0);
    for (int c = kFirstChar; c <= kLastChar; ++c) {
        const GlyphBitmap& bm = r.bitmaps[c];
        for (int gy = 0; gy < bm.h; ++gy)
            for (int gx = 0; gx < bm.w; ++gx) {
                std::uint8_t* p = &pic.pixels[(std::size_t(r.glyphs[c].atlas_y + gy) * width +
                                               r.glyphs[c].atlas_x + gx) *
                                              4];
                p[0] = p[1] = p[2] = 255; // white, tinted by the current colour when drawn
                p[3] = bm.coverage[std::size_t(gy) * bm.w + gx];
            }
    }
    return pic;
}

// Fonts, like images, live for the whole run.
std::vector<Font*>& AllFonts() {
    static auto* fonts = new std::vector<Font*>;
    return *fonts;
}

Font* BuildFont(FT_Face face, int size, int style) {
    if (FT_Select_Charmap(face, FT_ENCODING_UNICODE) != 0) return nullptr;
    if (FT_Set_Pixel_Sizes(face, 0, FT_UInt(size)) != 0) return nullptr;
    const FT_Size_Metrics& m = face->size->metrics;
    int ascender = int((m.ascender + 63) / 64);
    auto r = std::make_unique<Rendered>();
    bool any = false;
    for (int c = kFirstChar; c <= kLastChar; ++c) {
        if (!RenderGlyph(face, unsigned(c), style, ascender, r->glyphs[c], r->bitmaps[c]))
            return nullptr;
        any = any || r->glyphs[c].present;
    }
    if (!any) return nullptr;
    auto* font = new Font;
    AllFonts().push_back(font);
    font->line_height = int((m.height + 63) / 64);
    DecodedPicture atlas = PackAtlas(*r, (style & FONT_SMOOTH) ? 2 : 1);
    std::copy(std::begin(r->glyphs), std::end(r->glyphs), std::begin(font->glyphs));
    font->atlas = Image_FromPicture(std::move(atlas), (style & FONT_SMOOTH) ? IMG_FILTERED : 0);
    return font;
}

} // namespace

Font* LoadImageFont(const std::string& url, int size, int style) {
    if (size <= 0 || size > kMaxFontSize || !Library()) return nullptr;
    std::vector<std::uint8_t> bytes;
    if (!LoadBytes(url, bytes) || !TablesInsideFile(bytes)) return nullptr;
    FT_Face face = nullptr;
    if (FT_New_Memory_Face(Library(), bytes.data(), FT_Long(bytes.size()), 0, &face) != 0)
        return nullptr;
    Font* font = BuildFont(face, size, style);
    FT_Done_Face(face);
    if (font) font->atlas->name = url + " at " + std::to_string(size) + " px";
    return font;
}
