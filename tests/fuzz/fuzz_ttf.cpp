// TrueType fonts: any bytes are refused, or give a font whose every glyph lies inside its atlas.
#include "engine/gfx_internal.h"
#include "engine/system.h"
#include "tests/fuzz/fuzz_support.h"

namespace {

void CheckFont(const Font& f) {
    FUZZ_CHECK(f.atlas != nullptr);
    const int w = ImageWidth(f.atlas), h = ImageHeight(f.atlas);
    for (const Glyph& g : f.glyphs) {
        if (!g.present || g.w == 0) continue;
        FUZZ_CHECK(g.w > 0 && g.h > 0 && g.atlas_x >= 0 && g.atlas_y >= 0);
        FUZZ_CHECK(g.atlas_x + g.w <= w && g.atlas_y + g.h <= h);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    System_SetHeadless(true);
    Fuzz_Embed("fuzz/font.ttf", data, size);
    // The sizes and styles the game uses, one per input so a finding replays the same way.
    const int styles[] = {0, FONT_BOLD, FONT_SMOOTH, FONT_BOLD | FONT_SMOOTH};
    Font* font = LoadImageFont("incbin::fuzz/font.ttf", 14 + int(size % 3) * 8, styles[size % 4]);
    if (!font) return 0;
    CheckFont(*font);
    // Fonts live for the whole run in the game; here only their pixels would pile up.
    std::vector<std::uint8_t>().swap(font->atlas->pixels);
    return 0;
}
