// The in-game panel's texts fit the inset box its art draws for them, for the longest values a
// match can show (level 150, nine lives, a seven-digit score): every glyph, shadow included,
// stays inside the box's rim, labels and numbers never touch, and each row's label and number
// share their left and right edges with the other rows.
#include "app/panel.h"
#include "app/resources.h"
#include "engine/gfx.h"
#include "engine/gfx_internal.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>

namespace {

struct Box {
    int x0, y0, x1, y1; // x1, y1 one past the last pixel
    bool Overlaps(const Box& o) const { return x0 < o.x1 && o.x0 < x1 && y0 < o.y1 && o.y0 < y1; }
};

// The pixels a text's glyphs cover when its line's top-left corner is at (x, y), drawn
// narrowed to scale_x.
Box InkBox(Font* f, const std::string& text, int x, int y, float scale_x) {
    Box b{1 << 20, 1 << 20, -(1 << 20), -(1 << 20)};
    double pen = x;
    for (unsigned char c : text) {
        const Glyph& g = f->glyphs[c];
        if (g.w > 0 && g.h > 0) {
            b.x0 = std::min(b.x0, static_cast<int>(std::floor(pen + g.off_x * scale_x)));
            b.y0 = std::min(b.y0, y + g.off_y);
            b.x1 = std::max(b.x1, static_cast<int>(std::ceil(pen + (g.off_x + g.w) * scale_x)));
            b.y1 = std::max(b.y1, y + g.off_y + g.h);
        }
        pen += g.advance * scale_x;
    }
    return b;
}

class PanelFit : public ::testing::Test {
  protected:
    void SetUp() override {
        const std::string font = std::string(SNOW_ASSETS_DIR) + "/fonts/PS_14508.ttf";
        FontPS28 = LoadImageFont(font, 28, FONT_SMOOTH);
        FontPS30 = LoadImageFont(font, 30, FONT_SMOOTH);
        ASSERT_NE(FontPS28, nullptr);
        ASSERT_NE(FontPS30, nullptr);
    }
    // Every text's ink, a number's shadow (one pixel left and down) included.
    std::vector<Box> Inks(int level, int lives, int score) {
        std::vector<Box> out;
        for (const Panel_Text& t : Panel_Layout(level, lives, score)) {
            Box b = InkBox(t.number ? FontPS28 : FontPS30, t.text, t.x, t.y, t.scale_x);
            if (t.number) b.x0 -= 1, b.y1 += 1;
            out.push_back(b);
        }
        return out;
    }
};

TEST_F(PanelFit, LongestValuesStayInsideTheInsetAndApart) {
    const int rim = 2; // the inset's rim and the hairlines' clearance
    const Box inner{Panel_InsetX + rim, Panel_InsetY + rim, Panel_InsetX + Panel_InsetW - rim,
                    Panel_InsetY + Panel_InsetH - rim};
    struct Case {
        int level, lives, score;
    } cases[] = {
        {150, 9, 9999999}, {148, 8, 8888888}, {100, 0, 1000000}, {120, 9, 9000000}, {1, 3, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE("level " + std::to_string(c.level) + ", lives " + std::to_string(c.lives) +
                     ", score " + std::to_string(c.score));
        const std::vector<Box> inks = Inks(c.level, c.lives, c.score);
        ASSERT_EQ(inks.size(), 6u); // three labels, then three numbers
        for (size_t i = 0; i < inks.size(); ++i) {
            const Box& b = inks[i];
            EXPECT_GE(b.x0, inner.x0) << "text " << i << " runs over the inset's left rim";
            EXPECT_LE(b.x1, inner.x1) << "text " << i << " runs over the inset's right rim";
            EXPECT_GE(b.y0, inner.y0) << "text " << i << " runs over the inset's top rim";
            EXPECT_LE(b.y1, inner.y1) << "text " << i << " sits on the inset's bottom edge";
            for (size_t j = i + 1; j < inks.size(); ++j)
                EXPECT_FALSE(b.Overlaps(inks[j])) << "texts " << i << " and " << j << " touch";
            for (int line : Panel_RowLines) // the hairlines between the rows stay clear
                EXPECT_FALSE(b.y0 <= line && line < b.y1) << "text " << i << " crosses a hairline";
        }
    }
}

TEST_F(PanelFit, LabelsAndNumbersLineUp) {
    for (const Panel_Text& t : Panel_Layout(150, 9, 9999999)) {
        if (!t.number) {
            EXPECT_EQ(t.x, Panel_LabelX) << t.text;
            continue;
        }
        SetImageFont(FontPS28);
        EXPECT_NEAR(t.x + TextWidth(t.text) * t.scale_x, Panel_ValueRight, 1.0) << t.text;
        EXPECT_GE(t.scale_x, 0.85f) << t.text << " is squeezed out of shape";
    }
}

} // namespace
