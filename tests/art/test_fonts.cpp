// The three embedded fonts load through the engine at every size the game asks for, and the
// festive face keeps the in-game panel's caption inside its small button.
#include "engine/gfx.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string AssetPath(const std::string& name) {
    return std::string(SNOW_ASSETS_DIR) + "/" + name;
}

TEST(EmbeddedFonts, LoadAtTheGamesSizes) {
    struct Case {
        const char* file;
        int size;
    } cases[] = {
        {"fonts/l_10646.ttf", 16},  {"fonts/l_10646.ttf", 12},  {"fonts/libertyn.ttf", 32},
        {"fonts/PS_14508.ttf", 20}, {"fonts/PS_14508.ttf", 28}, {"fonts/PS_14508.ttf", 30},
        {"fonts/PS_14508.ttf", 38},
    };
    for (const Case& c : cases)
        EXPECT_NE(LoadImageFont(AssetPath(c.file), c.size, FONT_SMOOTH), nullptr)
            << c.file << " at " << c.size;
}

TEST(EmbeddedFonts, PanelCaptionFitsItsButton) {
    Font* font = LoadImageFont(AssetPath("fonts/PS_14508.ttf"), 20, FONT_SMOOTH);
    ASSERT_NE(font, nullptr);
    SetImageFont(font);
    EXPECT_LE(TextWidth("Main Menu"), 94 - 4); // the 94-pixel button of the in-game panel
    SetImageFont(nullptr);
}

} // namespace
