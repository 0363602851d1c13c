// Image fonts: glyph metrics, the smooth style's margin, text measuring and drawing, damaged files.
#include "engine/gfx.h"
#include "engine/gfx_internal.h"
#include "tests/engine/test_gfx_support.h"

#include <gtest/gtest.h>

using namespace gfxtest;

namespace {

const char* kSans = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";

class FontTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        DisplayOptions o;
        o.headless = true;
        ASSERT_TRUE(Graphics_Open(o));
        plain = LoadImageFont(kSans, 20, 0);
        smooth = LoadImageFont(kSans, 20, FONT_SMOOTH);
        bold = LoadImageFont(kSans, 20, FONT_BOLD);
    }
    static void TearDownTestSuite() { Graphics_Close(); }
    void SetUp() override {
        ASSERT_NE(plain, nullptr);
        ASSERT_NE(smooth, nullptr);
        ASSERT_NE(bold, nullptr);
        ResetDrawingState();
        Cls();
    }
    static Font* plain;
    static Font* smooth;
    static Font* bold;
};
Font* FontTest::plain = nullptr;
Font* FontTest::smooth = nullptr;
Font* FontTest::bold = nullptr;

// The bounding box of lit pixels on the canvas.
struct Box {
    int x0 = 1 << 30, y0 = 1 << 30, x1 = -1, y1 = -1;
};
Box LitBox() {
    Canvas c;
    EXPECT_TRUE(c.Read());
    Box b;
    for (int y = 0; y < c.Height(); ++y)
        for (int x = 0; x < c.Width(); ++x)
            if (c.At(x, y).r > 40) {
                b.x0 = std::min(b.x0, x), b.y0 = std::min(b.y0, y);
                b.x1 = std::max(b.x1, x), b.y1 = std::max(b.y1, y);
            }
    return b;
}

} // namespace

TEST_F(FontTest, TextWidthSumsWholeAdvancesAndIgnoresScale) {
    for (Font* f : {plain, smooth, static_cast<Font*>(nullptr)}) {
        SetImageFont(f);
        EXPECT_EQ(TextWidth(""), 0);
        int a = TextWidth("A"), b = TextWidth("b");
        EXPECT_GT(a, 0);
        EXPECT_EQ(TextWidth("Ab"), a + b);
        SetScale(2.5f, 0.5f);
        EXPECT_EQ(TextWidth("Ab"), a + b);
        SetScale(1, 1);
        EXPECT_GT(TextHeight(), 0);
    }
    SetImageFont(plain);
    EXPECT_EQ(TextHeight(), plain->line_height);
    EXPECT_GE(TextHeight(), 20);
    // Latin-1 letters are there; characters the font lacks are skipped without advancing.
    EXPECT_GT(TextWidth("\xE9"), 0);
    EXPECT_EQ(TextWidth("A\x81"
                        "b"),
              TextWidth("Ab"));
    int regular = TextWidth("Ab");
    SetImageFont(bold);
    EXPECT_GT(TextWidth("Ab"), regular);
}

TEST_F(FontTest, SmoothGlyphsCarryATransparentMargin) {
    for (unsigned char ch : {'A', 'g', '\xC9'}) {
        SCOPED_TRACE(ch);
        const Glyph& p = plain->glyphs[ch];
        const Glyph& s = smooth->glyphs[ch];
        ASSERT_TRUE(p.present && s.present);
        EXPECT_EQ(s.advance, p.advance);
        EXPECT_EQ(s.off_x, p.off_x - 1);
        EXPECT_EQ(s.off_y, p.off_y - 1);
        EXPECT_EQ(s.w, p.w + 2);
        EXPECT_EQ(s.h, p.h + 2);
        // The border rows and columns of the smooth glyph are fully transparent.
        const Image& atlas = *smooth->atlas;
        auto alpha = [&](int x, int y) {
            return atlas.pixels[(std::size_t(s.atlas_y + y) * atlas.src_w + s.atlas_x + x) * 4 + 3];
        };
        int border = 0, inside = 0;
        for (int x = 0; x < s.w; ++x)
            border += alpha(x, 0) + alpha(x, s.h - 1);
        for (int y = 0; y < s.h; ++y)
            border += alpha(0, y) + alpha(s.w - 1, y);
        for (int y = 1; y < s.h - 1; ++y)
            for (int x = 1; x < s.w - 1; ++x)
                inside += alpha(x, y);
        EXPECT_EQ(border, 0);
        EXPECT_GT(inside, 0);
    }
}

TEST_F(FontTest, TextIsDrawnBelowAndRightOfItsPosition) {
    SetImageFont(plain);
    SetBlend(BLEND_ALPHA);
    DrawText("Hj", 100, 200);
    Box b = LitBox();
    // 'H' sits on the baseline a little below the top of the line; 'j' hangs below it.
    EXPECT_GE(b.x0, 100);
    EXPECT_LE(b.x0, 104);
    EXPECT_GE(b.y0, 200);
    EXPECT_LE(b.y0, 210);
    EXPECT_LT(b.x1, 100 + TextWidth("Hj") + 2);
    EXPECT_LE(b.y1, 200 + TextHeight());
    EXPECT_GT(b.y1, 200 + 14);
}

TEST_F(FontTest, RotatedTextAdvancesAlongTheTurnedBaseline) {
    SetImageFont(plain);
    SetBlend(BLEND_ALPHA);
    SetRotation(90);
    DrawText("HHHH", 300, 100);
    Box b = LitBox();
    // Turned clockwise: the line runs down the screen and its top faces right.
    EXPECT_LE(b.x1, 300);
    EXPECT_GE(b.x0, 300 - TextHeight());
    EXPECT_GE(b.y0, 100);
    EXPECT_GT(b.y1, 100 + TextWidth("HHH"));
    EXPECT_LE(b.y1, 100 + TextWidth("HHHH") + 1);
}

TEST_F(FontTest, BuiltInFontDrawsText) {
    SetImageFont(nullptr);
    EXPECT_EQ(GetImageFont(), nullptr);
    SetColor(255, 255, 255);
    DrawText("Hi!", 10, 10);
    Box b = LitBox();
    EXPECT_EQ(b.x0, 10);
    EXPECT_GE(b.y0, 10);
    EXPECT_LT(b.x1, 10 + TextWidth("Hi!"));
    EXPECT_LT(b.y1, 10 + TextHeight());
}

TEST_F(FontTest, DamagedFontFilesYieldNull) {
    Bytes ttf = ReadFile(kSans);
    ASSERT_GT(ttf.size(), 100000u);
    auto truncated = [&](std::size_t keep) { return Bytes(ttf.begin(), ttf.begin() + keep); };
    auto flipped = [&](std::size_t from, std::size_t count) {
        Bytes b = ttf;
        for (std::size_t i = from; i < from + count; ++i)
            b[i] ^= 0xA5;
        return b;
    };
    struct Case {
        const char* name;
        Bytes bytes;
    } cases[] = {
        {"empty", Bytes{}},
        {"header only", truncated(12)},
        {"cut in the table directory", truncated(200)},
        {"cut at half", truncated(ttf.size() / 2)},
        {"cut near the end", truncated(ttf.size() - 4000)},
        {"table directory flipped", flipped(0, 64)},
        {"not a font", Bytes(5000, 'x')},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::string path = TempPath("damaged.ttf");
        WriteFile(path, c.bytes);
        EXPECT_EQ(LoadImageFont(path, 16, 0), nullptr);
        EXPECT_EQ(LoadImageFont(path, 16, FONT_SMOOTH), nullptr);
    }
    EXPECT_EQ(LoadImageFont(kSans, 0, 0), nullptr);
    EXPECT_EQ(LoadImageFont(kSans, -5, 0), nullptr);
    EXPECT_EQ(LoadImageFont(TempPath("missing.ttf"), 16, 0), nullptr);
}
