// The generated pictures as the game loads them: every picture exists and cuts into exactly the
// frames its loader asks for, the particle-source maps are clean RGB shapes on black, and the
// tileset description is the text the game was shipped with.
#include "engine/gfx.h"
#include "tools/art/sheet_frames.h"
#include "tools/art/tileset_text.h"

#include <gtest/gtest.h>

#include <cstdio>

#include <fstream>
#include <sstream>
#include <string>

// Named in failure messages by its file, not by its bytes.
void PrintTo(const ArtPictureSpec& spec, std::ostream* os) {
    *os << spec.name;
}

namespace {

std::string AssetPath(const std::string& name) {
    return std::string(SNOW_ASSETS_DIR) + "/" + name;
}

class GeneratedPicture : public ::testing::TestWithParam<ArtPictureSpec> {};

TEST_P(GeneratedPicture, LoadsWithItsFrameSizeAndCount) {
    const ArtPictureSpec& spec = GetParam();
    Image* whole = LoadImage(AssetPath(spec.name), 0);
    ASSERT_NE(whole, nullptr) << spec.name << " is missing or does not decode";
    if (spec.cell_w == 0) return; // any size will do
    if (spec.count == 1) {
        EXPECT_EQ(whole->width, spec.cell_w) << spec.name;
        EXPECT_EQ(whole->height, spec.cell_h) << spec.name;
        return;
    }
    EXPECT_NE(Art_FrameColumns(whole->width, whole->height, spec.cell_w, spec.cell_h, spec.count),
              0)
        << spec.name << " is " << whole->width << " x " << whole->height
        << ", not a whole strip of " << spec.count << " frames of " << spec.cell_w << " x "
        << spec.cell_h;
    Image* anim = LoadAnimImage(AssetPath(spec.name), spec.cell_w, spec.cell_h, 0, spec.count, 0);
    ASSERT_NE(anim, nullptr) << spec.name << " cannot be cut into its frames";
    EXPECT_EQ(anim->frames, spec.count);
}

INSTANTIATE_TEST_SUITE_P(Art, GeneratedPicture, ::testing::ValuesIn(kArtPictures),
                         [](const ::testing::TestParamInfo<ArtPictureSpec>& param_info) {
                             std::string n = param_info.param.name;
                             for (char& c : n)
                                 if (!isalnum(static_cast<unsigned char>(c))) c = '_';
                             return n;
                         });

TEST(FrameLayout, AcceptsWholeStripsOnly) {
    struct Case {
        int w, h, cw, ch, count, cols;
    } cases[] = {
        {151 * 8, 42 * 2, 151, 42, 16, 8},   // two rows of eight
        {151 * 16, 42, 151, 42, 16, 16},     // one long row
        {80 * 5, 60, 80, 60, 5, 5},          // five frames, one row
        {48 * 8, 48 * 8, 48, 48, 60, 8},     // last row partly used
        {48 * 8, 48 * 9, 48, 48, 64, 0},     // a spare row
        {48 * 8 - 1, 48 * 8, 48, 48, 64, 0}, // not whole cells
        {48 * 4, 48 * 8, 48, 48, 64, 0},     // too few cells
    };
    for (const Case& c : cases)
        EXPECT_EQ(Art_FrameColumns(c.w, c.h, c.cw, c.ch, c.count), c.cols)
            << c.w << " x " << c.h << " for " << c.count << " of " << c.cw << " x " << c.ch;
}

// Interface pictures whose size the screens depend on.
TEST(InterfacePictures, FitTheScreensThatDrawThem) {
    Image* title = LoadImage(AssetPath("images/interface/title.png"), 0);
    ASSERT_NE(title, nullptr);
    EXPECT_LE(title->width, 432) << "the title is drawn at x 368 of an 800-wide screen";
    Image* frame = LoadImage(AssetPath("images/interface/frame.png"), 0);
    ASSERT_NE(frame, nullptr);
    // Drawn at (344, 127) around the options pages, whose content reaches about (717, 576).
    EXPECT_GE(344 + frame->width, 717);
    EXPECT_GE(127 + frame->height, 576);
    EXPECT_LE(344 + frame->width, 800);
    EXPECT_LE(127 + frame->height, 600);
    Image* panel = LoadImage(AssetPath("images/interface/ingame_interface.png"), 0);
    ASSERT_NE(panel, nullptr);
    EXPECT_LE(675 + panel->width, 800);
    EXPECT_GE(12 + panel->height, 568) << "the panel should reach below its Main Menu button";
}

// Particles are emitted from every pixel whose red is above 0, and the emitter reads 24-bit RGB.
TEST(ParticleMaps, AreRedShapesOnBlackWithoutAlpha) {
    for (const char* name :
         {"images/interface/map_candle.png", "images/interface/map_hammer.png",
          "images/interface/map_hammer2.png", "images/interface/map_hammer3.png"}) {
        SCOPED_TRACE(name);
        Image* im = LoadImage(AssetPath(name), IMG_DYNAMIC);
        ASSERT_NE(im, nullptr);
        LockedPixels px;
        ASSERT_TRUE(LockImage(im, 0, true, false, &px));
        EXPECT_EQ(px.format, PF_RGB888);
        int shape = 0, stray = 0;
        for (int y = 0; y < px.height; ++y)
            for (int x = 0; x < px.width; ++x) {
                const std::uint8_t* p = px.data + y * px.pitch + x * 3;
                if (p[0] > 0)
                    ++shape;
                else if (p[1] || p[2])
                    ++stray; // coloured but not red: neither shape nor clean background
            }
        UnlockImage(im, 0);
        EXPECT_GT(shape, px.width * px.height / 20) << "the shape is (nearly) empty";
        EXPECT_LT(shape, px.width * px.height) << "no black background";
        EXPECT_EQ(stray, 0);
    }
}

TEST(TilesetDescription, IsTheShippedTextByteForByte) {
    const std::string expected = kTilesTxt;
    std::ifstream f(AssetPath("images/pieces/tiles.txt"), std::ios::binary);
    ASSERT_TRUE(f) << "images/pieces/tiles.txt is missing";
    std::stringstream text;
    text << f.rdbuf();
    EXPECT_EQ(text.str(), expected);
}

// The tileset description cuts the gem strips by its own numbers; they must be the frames the
// generator draws, or every gem animates with a torn frame.
TEST(TilesetDescription, CutsTheGemsAsTheyAreDrawn) {
    const std::string text = kTilesTxt;
    for (int k = 0; k < 7; ++k) {
        const std::string key = "\nGem" + std::to_string(k) + "=";
        const std::size_t at = text.find(key);
        ASSERT_NE(at, std::string::npos) << key;
        int w = 0, h = 0, count = 0;
        ASSERT_EQ(std::sscanf(text.c_str() + at + key.size(), "%d,%d,%d", &w, &h, &count), 3);
        const std::string name = "images/pieces/Gem" + std::to_string(k) + ".png";
        const ArtPictureSpec* art = nullptr;
        for (const ArtPictureSpec& s : kArtPictures)
            if (name == s.name) art = &s;
        ASSERT_NE(art, nullptr) << name;
        EXPECT_EQ(w, art->cell_w) << name;
        EXPECT_EQ(h, art->cell_h) << name;
        EXPECT_EQ(count, art->count) << name;
    }
}

} // namespace
