// Drawing on the headless display, checked on pixels read back from the canvas.
#include "engine/gfx.h"
#include "engine/gfx_internal.h"
#include "engine/system.h"
#include "tests/engine/same_canvas.h"
#include "tests/engine/test_gfx_support.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace gfxtest;

namespace {

class Gfx : public ::testing::Test {
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
    }
    Pixel At(int x, int y) {
        if (!read_) read_ = canvas_.Read();
        EXPECT_TRUE(read_);
        return canvas_.At(x, y);
    }
    void Reread() { read_ = false; }

    Canvas canvas_;
    bool read_ = false;
};

} // namespace

TEST_F(Gfx, HeadlessRunsOnTheGlRendererWithAnOpaqueCanvas) {
    EXPECT_TRUE(Graphics_IsHeadless());
    std::string renderer = Graphics_RendererName();
    EXPECT_TRUE(renderer == "opengl" || renderer == "opengles2") << renderer;
    SetColor(10, 200, 30);
    DrawRect(5, 6, 3, 2);
    EXPECT_EQ(At(5, 6).g, 200);
    EXPECT_EQ(At(7, 7).g, 200);
    EXPECT_EQ(At(8, 7).g, 0);
    EXPECT_EQ(At(7, 8).g, 0);
    EXPECT_EQ(canvas_.Width(), 800);
    EXPECT_EQ(canvas_.Height(), 600);
}

namespace {

// A 4 x 4 picture with a chosen colour and alpha in every pixel.
Image* Solid(const std::string& name, std::uint8_t r, std::uint8_t g, std::uint8_t b,
             std::uint8_t a = 255, int flags = 0) {
    return MakeImage(name, 4, 4, Filled(4, 4, r, g, b, a), flags);
}

// Paints the background, then one 4 x 4 sprite over it at (x, y), under the given blend mode.
void BlendOnto(int x, int y, Pixel bg, Image* sprite, int mode, float alpha) {
    ResetDrawingState();
    SetClsColor(bg.r, bg.g, bg.b);
    SetViewport(x, y, 4, 4);
    Cls();
    SetViewport(0, 0, 800, 600);
    SetBlend(mode);
    SetAlpha(alpha);
    DrawImage(sprite, float(x), float(y));
}

struct BlendCase {
    const char* name;
    Pixel bg;
    Pixel sprite;
    int sprite_alpha;
    int mode;
    float alpha;
    Pixel expected;
};

// The scene both renderers draw: one sprite per case, in a row.
const std::vector<BlendCase>& BlendCases() {
    static const std::vector<BlendCase> cases = {
        {"alpha blends by the current alpha",
         {100, 100, 100},
         {200, 0, 0},
         255,
         BLEND_ALPHA,
         0.25f,
         {125, 75, 75}},
        // An opaque picture at full alpha is drawn unblended: the same picture, for less work.
        {"opaque picture at full alpha covers",
         {100, 100, 100},
         {200, 0, 0},
         255,
         BLEND_ALPHA,
         1.0f,
         {200, 0, 0}},
        {"translucent picture at full alpha still blends",
         {0, 0, 0},
         {200, 200, 200},
         128,
         BLEND_ALPHA,
         1.0f,
         {100, 100, 100}},
        {"alpha multiplies picture and current alpha",
         {0, 0, 0},
         {200, 200, 200},
         128,
         BLEND_ALPHA,
         0.5f,
         {50, 50, 50}},
        {"light adds source x alpha",
         {100, 100, 100},
         {200, 150, 50},
         255,
         BLEND_LIGHT,
         0.5f,
         {200, 175, 125}},
        {"light saturates at white",
         {200, 100, 250},
         {200, 200, 200},
         255,
         BLEND_LIGHT,
         1.0f,
         {255, 255, 255}},
        {"solid ignores current alpha",
         {100, 100, 100},
         {200, 150, 50},
         255,
         BLEND_SOLID,
         0.2f,
         {200, 150, 50}},
        {"solid ignores picture alpha",
         {100, 100, 100},
         {200, 150, 50},
         30,
         BLEND_SOLID,
         1.0f,
         {200, 150, 50}},
        {"unknown mode acts as solid",
         {100, 100, 100},
         {200, 150, 50},
         30,
         9,
         0.2f,
         {200, 150, 50}},
        {"mask keeps pixels at alpha 0.5, ignoring current alpha",
         {100, 100, 100},
         {200, 150, 50},
         128,
         BLEND_MASK,
         0.2f,
         {200, 150, 50}},
        {"mask cuts pixels below alpha 0.5",
         {100, 100, 100},
         {200, 150, 50},
         127,
         BLEND_MASK,
         1.0f,
         {100, 100, 100}},
        {"shade multiplies", {200, 100, 50}, {128, 255, 0}, 255, BLEND_SHADE, 1.0f, {100, 100, 0}},
        {"shade at half alpha goes half way",
         {200, 100, 50},
         {128, 255, 0},
         255,
         BLEND_SHADE,
         0.5f,
         {150, 100, 25}},
        {"shade leaves transparent pixels alone",
         {200, 100, 50},
         {0, 0, 0},
         0,
         BLEND_SHADE,
         1.0f,
         {200, 100, 50}},
    };
    return cases;
}

// Draws every blend case side by side and returns the centre pixel of each.
std::vector<Pixel> DrawBlendScene() {
    std::vector<Pixel> out;
    const auto& cases = BlendCases();
    std::vector<Image*> sprites;
    for (std::size_t i = 0; i < cases.size(); ++i) {
        const BlendCase& c = cases[i];
        Image* im =
            Solid("blend" + std::to_string(i), std::uint8_t(c.sprite.r), std::uint8_t(c.sprite.g),
                  std::uint8_t(c.sprite.b), std::uint8_t(c.sprite_alpha));
        EXPECT_NE(im, nullptr);
        BlendOnto(10 + int(i) * 10, 10, c.bg, im, c.mode, c.alpha);
    }
    Canvas canvas;
    EXPECT_TRUE(canvas.Read());
    for (std::size_t i = 0; i < cases.size(); ++i)
        out.push_back(canvas.At(12 + int(i) * 10, 12));
    return out;
}

} // namespace

TEST_F(Gfx, BlendModesFollowTheirFormulas) {
    std::vector<Pixel> got = DrawBlendScene();
    for (std::size_t i = 0; i < got.size(); ++i) {
        SCOPED_TRACE(BlendCases()[i].name);
        EXPECT_PRED3(Near, got[i], BlendCases()[i].expected, 3);
    }
}

TEST_F(Gfx, OverlappingLightSpritesAddUpTowardWhite) {
    Image* glow = Solid("glow", 90, 60, 30);
    SetBlend(BLEND_LIGHT);
    for (int i = 0; i < 3; ++i)
        DrawImage(glow, 40, 40);
    EXPECT_PRED3(Near, At(41, 41), (Pixel{255, 180, 90}), 2);
}

// One texture drawn under several modes and filters in a row keeps each draw's own settings.
TEST_F(Gfx, OneTextureServesSeveralModesInARow) {
    Image* im = Solid("shared", 100, 100, 100, 255, IMG_FILTERED);
    SetClsColor(100, 0, 0);
    Cls();
    SetBlend(BLEND_LIGHT);
    DrawImage(im, 10, 10);
    SetBlend(BLEND_ALPHA);
    SetAlpha(0.5f);
    DrawImage(im, 20, 10);
    SetBlend(BLEND_SOLID);
    SetScale(2, 2);
    DrawImage(im, 30, 10.5f);
    SetScale(1, 1);
    SetAlpha(1);
    SetBlend(BLEND_LIGHT);
    DrawImage(im, 40, 10);
    EXPECT_PRED3(Near, At(11, 11), (Pixel{200, 100, 100}), 1);
    EXPECT_PRED3(Near, At(21, 11), (Pixel{100, 50, 50}), 2);
    EXPECT_PRED3(Near, At(33, 13), (Pixel{100, 100, 100}), 1);
    EXPECT_PRED3(Near, At(41, 11), (Pixel{200, 100, 100}), 1);
}

TEST_F(Gfx, ColourTintsPicturesAndShapes) {
    Image* white = Solid("white", 255, 255, 255);
    SetBlend(BLEND_SOLID);
    SetColor(128, 64, 255);
    DrawImage(white, 10, 10);
    DrawRect(20, 10, 4, 4);
    EXPECT_PRED3(Near, At(11, 11), (Pixel{128, 64, 255}), 1);
    EXPECT_PRED3(Near, At(21, 11), (Pixel{128, 64, 255}), 1);
}

// A 20 x 10 picture, red on the left half and green on the right, turned 90 degrees clockwise.
TEST_F(Gfx, RotationTurnsAboutTheHandle) {
    Bytes px(20 * 10 * 4);
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 20; ++x) {
            std::uint8_t* p = &px[std::size_t(y * 20 + x) * 4];
            p[0] = x < 10 ? 255 : 0, p[1] = x < 10 ? 0 : 255, p[2] = 0, p[3] = 255;
        }
    Image* im = MakeImage("halves", 20, 10, px);
    const Pixel red{255, 0, 0}, green{0, 255, 0}, black{0, 0, 0};
    SetRotation(90);

    // Mid handle: the picture covers x 95..105, y 90..110, its left half now on top.
    MidHandleImage(im);
    DrawImage(im, 100, 100);
    Reread();
    EXPECT_EQ(At(100, 92).r, red.r) << At(100, 92);
    EXPECT_PRED3(Near, At(100, 92), red, 2);
    EXPECT_PRED3(Near, At(96, 108), green, 2);
    EXPECT_PRED3(Near, At(93, 100), black, 0);
    EXPECT_PRED3(Near, At(106, 100), black, 0);
    EXPECT_PRED3(Near, At(100, 88), black, 0);
    EXPECT_PRED3(Near, At(100, 111), black, 0);

    // Handle at 0, 0: the top-left corner stays at (300, 100); the picture swings to x 290..300.
    SetImageHandle(im, 0, 0);
    DrawImage(im, 300, 100);
    Reread();
    EXPECT_PRED3(Near, At(295, 102), red, 2);
    EXPECT_PRED3(Near, At(295, 118), green, 2);
    EXPECT_PRED3(Near, At(301, 105), black, 0);
    EXPECT_PRED3(Near, At(295, 98), black, 0);
}

TEST_F(Gfx, ScaleStretchesAboutTheHandle) {
    Image* im = Solid("scaled", 0, 0, 255);
    SetBlend(BLEND_SOLID);
    SetScale(2, 3);
    SetImageHandle(im, 2, 2);
    DrawImage(im, 100, 100); // corners (-2,-2)..(2,2) scaled: x 96..104, y 94..106
    EXPECT_EQ(At(96, 94).b, 255);
    EXPECT_EQ(At(103, 105).b, 255);
    EXPECT_EQ(At(95, 100).b, 0);
    EXPECT_EQ(At(104, 100).b, 0);
    EXPECT_EQ(At(100, 93).b, 0);
    EXPECT_EQ(At(100, 106).b, 0);
}

TEST_F(Gfx, DrawImageRectStretchesTheFrameButNotTheHandle) {
    Image* im = Solid("rect", 255, 255, 0);
    SetBlend(BLEND_SOLID);
    DrawImageRect(im, 10, 10, 40, 20);
    SetImageHandle(im, 2, 2);
    DrawImageRect(im, 100, 10, 40, 20); // x 98..138, y 8..28
    EXPECT_EQ(At(10, 10).r, 255);
    EXPECT_EQ(At(49, 29).r, 255);
    EXPECT_EQ(At(50, 20).r, 0);
    EXPECT_EQ(At(30, 30).r, 0);
    EXPECT_EQ(At(98, 8).r, 255);
    EXPECT_EQ(At(137, 27).r, 255);
    EXPECT_EQ(At(138, 20).r, 0);
    EXPECT_EQ(At(120, 28).r, 0);
}

TEST_F(Gfx, FrameOutsideTheImageDrawsNothing) {
    Bytes px = Filled(8, 4, 255, 255, 255);
    std::string path = TempPath("two_frames.png");
    WriteFile(path, EncodePng(8, 4, PNG_FORMAT_RGBA, px.data()));
    Image* im = LoadAnimImage(path, 4, 4, 0, 2, 0);
    ASSERT_NE(im, nullptr);
    DrawImage(im, 10, 10, 2);
    DrawImage(im, 20, 10, -1);
    DrawImageRect(im, 30, 10, 8, 8, 2);
    DrawImage(nullptr, 40, 10);
    DrawImage(im, 50, 10, 1);
    EXPECT_EQ(At(11, 11).r, 0);
    EXPECT_EQ(At(21, 11).r, 0);
    EXPECT_EQ(At(31, 11).r, 0);
    EXPECT_EQ(At(51, 11).r, 255);
}

TEST_F(Gfx, AnimationFramesComeFromTheirCells) {
    Bytes px(8 * 4 * 4);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 8; ++x) {
            std::uint8_t* p = &px[std::size_t(y * 8 + x) * 4];
            p[0] = x < 4 ? 255 : 0, p[1] = 0, p[2] = x < 4 ? 0 : 255, p[3] = 255;
        }
    std::string path = TempPath("red_blue.png");
    WriteFile(path, EncodePng(8, 4, PNG_FORMAT_RGBA, px.data()));
    Image* im = LoadAnimImage(path, 4, 4, 0, 2, IMG_FILTERED);
    SetScale(3, 3); // filtering must not pull in the neighbouring frame
    DrawImage(im, 10, 10, 0);
    DrawImage(im, 30, 10, 1);
    EXPECT_PRED3(Near, At(21, 21), (Pixel{255, 0, 0}), 0);
    EXPECT_PRED3(Near, At(31, 11), (Pixel{0, 0, 255}), 0);
}

TEST_F(Gfx, ViewportClipsDrawingAndCls) {
    SetClsColor(0, 0, 90);
    SetViewport(50, 60, 20, 10);
    Cls();
    SetColor(255, 0, 0);
    DrawRect(0, 0, 800, 600);
    DrawLine(0, 65, 799, 65);
    EXPECT_EQ(At(50, 60).r, 255);
    EXPECT_EQ(At(69, 69).r, 255);
    for (auto [x, y] : {std::pair{49, 65}, {70, 65}, {60, 59}, {60, 70}}) {
        EXPECT_PRED3(Near, At(x, y), (Pixel{0, 0, 0}), 0) << x << "," << y;
    }
    int vx, vy, vw, vh;
    GetViewport(&vx, &vy, &vw, &vh);
    EXPECT_EQ(vw, 20);

    // Cls fills exactly the viewport with the clear colour.
    SetColor(255, 255, 255);
    SetViewport(100, 100, 3, 2);
    Cls();
    SetViewport(0, 0, 800, 600);
    Reread();
    EXPECT_PRED3(Near, At(102, 101), (Pixel{0, 0, 90}), 0);
    EXPECT_PRED3(Near, At(103, 101), (Pixel{0, 0, 0}), 0);
    EXPECT_PRED3(Near, At(102, 102), (Pixel{0, 0, 0}), 0);

    // A viewport off the canvas or empty draws nothing and does not fail.
    SetViewport(900, 900, 10, 10);
    DrawRect(0, 0, 800, 600);
    SetViewport(10, 10, 0, 0);
    Cls();
    SetViewport(0, 0, 800, 600);
    Reread();
    EXPECT_EQ(At(5, 5).r, 0);
}

TEST_F(Gfx, LinesAndPointsCoverTheirPixels) {
    SetColor(0, 255, 0);
    DrawLine(10, 10, 20, 10);
    Plot(30, 30);
    SetLineWidth(3);
    DrawLine(40, 20, 40, 30);
    EXPECT_EQ(At(10, 10).g, 255);
    EXPECT_EQ(At(20, 10).g, 255);
    EXPECT_EQ(At(21, 10).g, 0);
    EXPECT_EQ(At(15, 9).g, 0);
    EXPECT_EQ(At(15, 11).g, 0);
    EXPECT_EQ(At(30, 30).g, 255);
    EXPECT_EQ(At(31, 30).g + At(30, 31).g + At(29, 30).g, 0);
    EXPECT_EQ(At(39, 25).g, 255);
    EXPECT_EQ(At(41, 25).g, 255);
    EXPECT_EQ(At(42, 25).g, 0);
    EXPECT_EQ(At(38, 25).g, 0);
}

TEST_F(Gfx, UnlockedPixelsReachTheScreen) {
    Image* im = Solid("dynamic", 255, 0, 0, 255, IMG_DYNAMIC);
    SetBlend(BLEND_SOLID);
    DrawImage(im, 10, 10);
    LockedPixels lock;
    ASSERT_TRUE(LockImage(im, 0, true, true, &lock));
    ASSERT_EQ(lock.format, PF_RGBA8888);
    lock.data[0] = 0, lock.data[1] = 0, lock.data[2] = 255;
    UnlockImage(im, 0);
    DrawImage(im, 20, 10);
    EXPECT_PRED3(Near, At(10, 10), (Pixel{255, 0, 0}), 0); // drawn before the change
    EXPECT_PRED3(Near, At(20, 10), (Pixel{0, 0, 255}), 0);
    EXPECT_PRED3(Near, At(21, 10), (Pixel{255, 0, 0}), 0);
}

// Reading a picture's pixels changes nothing: its textures and what is known of them are kept.
TEST_F(Gfx, AReadOnlyLockKeepsTheTexture) {
    Image* im = Solid("read_only", 0, 255, 0, 255, IMG_DYNAMIC);
    SetBlend(BLEND_SOLID);
    DrawImage(im, 10, 10); // makes the texture
    ASSERT_TRUE(im->opaque);
    LockedPixels lock;
    ASSERT_TRUE(LockImage(im, 0, true, false, &lock));
    UnlockImage(im, 0);
    EXPECT_TRUE(im->opaque);
    EXPECT_FALSE(im->visible.empty());
    DrawImage(im, 20, 10);
    EXPECT_PRED3(Near, At(20, 10), (Pixel{0, 255, 0}), 0);
}

TEST_F(Gfx, FlipKeepsTheCanvasAndAdvancesAFixedClock) {
    SetColor(0, 0, 255);
    DrawRect(0, 0, 10, 10);
    System_SetFixedDelta(17);
    int before = MilliSecs();
    Flip(-1);
    EXPECT_EQ(MilliSecs() - before, 17);
    System_SetFixedDelta(0);
    EXPECT_EQ(At(5, 5).b, 255);
}

TEST_F(Gfx, ScreenshotSavesTheCanvasAsPng) {
    SetColor(12, 34, 56);
    DrawRect(0, 0, 800, 600);
    SetColor(250, 0, 0);
    Plot(799, 599);
    std::string path = TempPath("shot.png");
    ASSERT_TRUE(Graphics_SaveScreenshot(path));
    Image* shot = LoadImage(path, IMG_DYNAMIC);
    ASSERT_NE(shot, nullptr);
    EXPECT_EQ(ImageWidth(shot), 800);
    EXPECT_EQ(ImageHeight(shot), 600);
    LockedPixels lock;
    ASSERT_TRUE(LockImage(shot, 0, true, false, &lock));
    EXPECT_EQ(lock.format, PF_RGB888);
    EXPECT_EQ(lock.data[0], 12);
    EXPECT_EQ(lock.data[2], 56);
    const std::uint8_t* last = lock.data + 599 * lock.pitch + 799 * 3;
    EXPECT_EQ(last[0], 250);
    EXPECT_FALSE(Graphics_SaveScreenshot(TempPath("no_such_dir/shot.png")));
}

TEST_F(Gfx, ReopeningKeepsPicturesDrawable) {
    Image* im = Solid("kept", 0, 200, 0);
    DrawImage(im, 10, 10); // made a texture on the first renderer
    DisplayOptions o;
    o.headless = true;
    Graphics_Close();
    EXPECT_FALSE(Graphics_IsOpen());
    DrawImage(im, 10, 10); // no display: nothing happens
    ASSERT_TRUE(Graphics_Open(o));
    ResetDrawingState();
    Cls();
    DrawImage(im, 10, 10);
    DrawText("x", 30, 10);
    EXPECT_EQ(At(11, 11).g, 200);
}

TEST_F(Gfx, SoftwareRendererDrawsTheSameBlends) {
    std::vector<Pixel> gl = DrawBlendScene();
    DisplayOptions o;
    o.headless = true;
    Graphics_SetForceSoftware(true);
    ASSERT_TRUE(Graphics_Open(o));
    EXPECT_STREQ(Graphics_RendererName(), "software");
    std::vector<Pixel> soft = DrawBlendScene();
    Graphics_SetForceSoftware(false);
    Graphics_Close();
    ASSERT_TRUE(Graphics_Open(o));
    ASSERT_EQ(gl.size(), soft.size());
    for (std::size_t i = 0; i < gl.size(); ++i) {
        SCOPED_TRACE(BlendCases()[i].name);
        EXPECT_PRED3(Near, soft[i], gl[i], 4);
        EXPECT_PRED3(Near, soft[i], BlendCases()[i].expected, 4);
    }
}

// Only the visible box of a frame is sent to the rasteriser, and a fully opaque bottom band
// drawn at full alpha goes unblended; the canvas must come out exactly as when the whole frame is
// blended, whatever colour the transparent margins hold.
TEST_F(Gfx, TrimmedMarginsAndOpaqueBandsLeaveTheSameCanvas) {
    constexpr int W = 16, H = 8;
    Bytes px(std::size_t(W) * 2 * H * 4);
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < 2 * W; ++x) {
            std::uint8_t* p = &px[(std::size_t(y) * 2 * W + x) * 4];
            bool patch = x >= 5 && x < 11 && y >= 2 && y < 6; // frame 0 only
            bool band = x >= W && y >= 5;                     // frame 1's opaque foot
            p[0] = 250, p[1] = std::uint8_t(x * 7), p[2] = std::uint8_t(y * 30);
            p[3] = band ? 255 : patch || x >= W + 3 ? std::uint8_t(60 + x * 5) : 0;
        }
    std::string path = TempPath("margins.png");
    WriteFile(path, EncodePng(2 * W, H, PNG_FORMAT_RGBA, px.data()));
    Image* im = LoadAnimImage(path, W, H, 0, 2, 0);
    ASSERT_NE(im, nullptr);

    struct Case {
        const char* name;
        int blend;
        float alpha;
    };
    const Case cases[] = {{"alpha", BLEND_ALPHA, 0.7f},
                          {"full alpha", BLEND_ALPHA, 1.0f},
                          {"light", BLEND_LIGHT, 1.0f}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_TRUE(SameCanvasWithShortcuts([&] {
            ResetDrawingState();
            SetClsColor(20, 40, 60);
            Cls();
            SetBlend(BLEND_SOLID);
            SetColor(90, 160, 30);
            DrawRect(0, 0, 40, 10); // a background the margins must not touch
            SetColor(200, 255, 120);
            SetBlend(c.blend);
            SetAlpha(c.alpha);
            for (int i = 0; i < 3; ++i) { // the first draw makes the texture
                DrawImage(im, 3 + i * 20, 1, 0);
                DrawImage(im, 3 + i * 20, 11, 1);
            }
        }));
    }
    EXPECT_EQ(ImageOpaqueFrom(im, 0), H);
    EXPECT_EQ(ImageOpaqueFrom(im, 1), 5);
    EXPECT_EQ(ImageOpaqueFrom(im, 2), -1);
}

// A large picture that is mostly empty (a cloud layer) is sent as several boxes around its
// visible pixels. The boxes must hold every visible pixel, share none, and leave the canvas as
// drawing the whole picture does, under every blend, over an opaque foot and partly off the canvas.
TEST_F(Gfx, VisiblePartsOfALargePictureLeaveTheSameCanvas) {
    constexpr int W = 200, H = 120;
    Bytes px(std::size_t(W) * H * 4);
    auto blob = [](int x, int y, int cx, int cy, int r) {
        return (x - cx) * (x - cx) + (y - cy) * (y - cy) < r * r;
    };
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x) {
            std::uint8_t* p = &px[(std::size_t(y) * W + x) * 4];
            const bool seen = blob(x, y, 30, 25, 18) || blob(x, y, 150, 40, 25) ||
                              blob(x, y, 95, 70, 9) || (x == 199 && y == 0) || y >= 104;
            p[0] = std::uint8_t(x), p[1] = std::uint8_t(y * 2), p[2] = 200; // margins coloured too
            p[3] = y >= 110 ? 255 : seen ? std::uint8_t(40 + (x + y) % 200) : 0;
        }
    Image* im = MakeImage("visible_parts", W, H, px);
    ASSERT_NE(im, nullptr);
    SetBlend(BLEND_ALPHA);
    DrawImage(im, 0, 0); // makes the texture, which measures the parts
    ASSERT_EQ(im->visible_parts.size(), 1u);
    const auto& parts = im->visible_parts[0];
    ASSERT_FALSE(parts.empty());
    std::vector<int> covered(std::size_t(W) * H, 0);
    for (const auto& [bx, by, bw, bh] : parts)
        for (int y = by; y < by + bh; ++y)
            for (int x = bx; x < bx + bw; ++x)
                ++covered[std::size_t(y) * W + x];
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x) {
            const int n = covered[std::size_t(y) * W + x];
            ASSERT_LE(n, 1) << "at " << x << "," << y;
            const bool seen = px[(std::size_t(y) * W + x) * 4 + 3] != 0;
            ASSERT_EQ(n, seen ? 1 : n) << "at " << x << "," << y;
        }

    struct Case {
        const char* name;
        int blend;
        float alpha, x, y;
    };
    const Case cases[] = {{"alpha", BLEND_ALPHA, 0.6f, 7, 3},
                          {"full alpha over its opaque foot", BLEND_ALPHA, 1.0f, 40, 30},
                          {"light", BLEND_LIGHT, 1.0f, 12, 5},
                          {"partly off the canvas", BLEND_ALPHA, 1.0f, -50, -20},
                          {"scaled: whole picture", BLEND_ALPHA, 1.0f, 10.5f, 4}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_TRUE(SameCanvasWithShortcuts([&] {
            ResetDrawingState();
            SetClsColor(10, 30, 70);
            Cls();
            SetColor(255, 230, 200);
            SetBlend(c.blend);
            SetAlpha(c.alpha);
            DrawImage(im, c.x, c.y);
            DrawImage(im, c.x + 300, c.y + 200);
        }));
    }
}

// Draws that share no pixel are merged into one call per picture and mode, whatever order they
// come in; where they overlap, the later one still lands on top. The canvas is the same as drawn
// in the order given.
TEST_F(Gfx, DrawsSharingNoPixelMergeIntoFewerCalls) {
    Image* red = MakeImage("reorder_red", 8, 8, Filled(8, 8, 255, 0, 0, 160));
    Image* blue = MakeImage("reorder_blue", 8, 8, Filled(8, 8, 0, 0, 255, 160));
    ASSERT_NE(red, nullptr);
    ASSERT_NE(blue, nullptr);
    struct Case {
        const char* name;
        float step; // distance between neighbouring pictures: 8 abut, below 8 overlap
        float scale;
        bool merged;
    } cases[] = {{"side by side", 8.0f, 1.0f, true},
                 {"scaled apart", 9.5f, 1.15f, true},
                 {"overlapping", 6.0f, 1.0f, false},
                 {"sharing a column of pixels", 7.0f, 1.0f, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<std::uint8_t> canvases[2];
        int calls[2] = {0, 0};
        for (int shortcuts = 0; shortcuts < 2; ++shortcuts) {
            Graphics_Shortcuts = shortcuts == 1;
            Flip(); // a frame of its own
            ResetDrawingState();
            SetClsColor(30, 30, 30);
            Cls();
            SetBlend(BLEND_ALPHA);
            SetScale(c.scale, c.scale);
            for (int i = 0; i < 20; ++i) // red, blue, red, blue ... along a row
                DrawImage(i % 2 ? blue : red, 10.0f + float(i) * c.step, 20.0f);
            SetBlend(BLEND_LIGHT);
            for (int i = 0; i < 20; ++i) // and the same below, added
                DrawImage(i % 2 ? blue : red, 10.0f + float(i) * c.step, 40.0f);
            int w = 0, h = 0;
            ASSERT_TRUE(Graphics_ReadPixels(canvases[shortcuts], &w, &h));
            Flip();
            calls[shortcuts] = Graphics_LastFrameCalls();
        }
        Graphics_Shortcuts = true;
        EXPECT_TRUE(canvases[0] == canvases[1]);
        EXPECT_EQ(calls[0], 41); // the fill and one call per picture
        if (c.merged)
            EXPECT_EQ(calls[1], 5);
        else
            EXPECT_EQ(calls[1], 41);
    }
}
