// Frames drawn exactly like the last one are not drawn again; everything else is, and the canvas
// always ends up as if every frame had been drawn.
#include "engine/gfx.h"
#include "engine/gfx_internal.h"
#include "tests/engine/test_gfx_support.h"

#include <gtest/gtest.h>

using namespace gfxtest;

namespace {

class GfxFrames : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        DisplayOptions o;
        o.headless = true;
        ASSERT_TRUE(Graphics_Open(o));
    }
    static void TearDownTestSuite() { Graphics_Close(); }
    void SetUp() override {
        ASSERT_TRUE(Graphics_IsOpen());
        ResetDrawingState();
        SetClsColor(0, 0, 0);
        Cls();
        Frame_End();
    }
    Pixel At(int x, int y) {
        Canvas c;
        EXPECT_TRUE(c.Read());
        return c.At(x, y);
    }
};

enum class Between { Nothing, PixelsChange, CanvasRead, SpriteMoves };

struct Case {
    const char* what;
    bool clear_first; // the frame starts with a Cls of the whole canvas
    int blend;
    Between between;
    bool skipped;    // the second frame is not drawn again
    Pixel at_sprite; // the canvas at the sprite after the second frame
};

} // namespace

TEST_F(GfxFrames, OnlyARepeatedFrameThatCoversTheCanvasIsSkipped) {
    Image* im = MakeImage("frames_sprite", 4, 4, Filled(4, 4, 100, 0, 0), IMG_DYNAMIC);
    ASSERT_NE(im, nullptr);
    const Case cases[] = {
        {"same frame after a full Cls", true, BLEND_SOLID, Between::Nothing, true, {100, 0, 0}},
        // Without a clear the frame adds to what is there: two frames are brighter than one.
        {"same frame without a clear", false, BLEND_LIGHT, Between::Nothing, false, {200, 0, 0}},
        {"picture changed in between", true, BLEND_SOLID, Between::PixelsChange, false, {0, 0, 90}},
        {"canvas read during the frame",
         true,
         BLEND_SOLID,
         Between::CanvasRead,
         false,
         {100, 0, 0}},
        {"sprite moved", true, BLEND_SOLID, Between::SpriteMoves, false, {0, 0, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        LockedPixels lock;
        ASSERT_TRUE(LockImage(im, 0, true, true, &lock));
        for (int i = 0; i < 16; ++i)
            lock.data[i * 4] = 100, lock.data[i * 4 + 1] = 0, lock.data[i * 4 + 2] = 0;
        UnlockImage(im, 0);
        SetClsColor(0, 0, 0);
        Cls();
        Frame_End();
        auto draw = [&](float x) {
            if (c.clear_first) Cls();
            SetBlend(c.blend);
            DrawImage(im, x, 10);
        };
        draw(10);
        EXPECT_FALSE(Frame_End());
        if (c.between == Between::PixelsChange) {
            ASSERT_TRUE(LockImage(im, 0, true, true, &lock));
            for (int i = 0; i < 16; ++i)
                lock.data[i * 4] = 0, lock.data[i * 4 + 1] = 0, lock.data[i * 4 + 2] = 90;
            UnlockImage(im, 0);
        }
        draw(c.between == Between::SpriteMoves ? 30 : 10);
        if (c.between == Between::CanvasRead) {
            EXPECT_PRED3(Near, At(11, 11), c.at_sprite, 0);
        }
        EXPECT_EQ(Frame_End(), c.skipped);
        EXPECT_PRED3(Near, At(11, 11), c.at_sprite, 0);
    }
}

TEST_F(GfxFrames, AFrameAfterASkippedOneDrawsOnTheKeptCanvas) {
    SetColor(0, 200, 0);
    for (int i = 0; i < 3; ++i) {
        Cls();
        DrawRect(0, 0, 8, 8);
        Frame_End();
    }
    DrawRect(20, 0, 8, 8); // no clear: drawn on top of the repeated frames' picture
    EXPECT_FALSE(Frame_End());
    EXPECT_PRED3(Near, At(4, 4), (Pixel{0, 200, 0}), 0);
    EXPECT_PRED3(Near, At(24, 4), (Pixel{0, 200, 0}), 0);
}
