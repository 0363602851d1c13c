// Picture loading without a display: decoding, frame cutting, handles and locked pixels.
#include "engine/gfx.h"
#include "tests/engine/test_gfx_support.h"

#include <gtest/gtest.h>

using namespace gfxtest;

namespace {

std::string Save(const std::string& name, const Bytes& bytes) {
    std::string path = TempPath(name);
    WriteFile(path, bytes);
    return path;
}

// A picture whose pixel (x, y) is (x, y, x + y) with alpha 200, so every frame can be identified.
Bytes Gradient(int w, int h) {
    Bytes px(std::size_t(w) * h * 4);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            std::uint8_t* p = &px[(std::size_t(y) * w + x) * 4];
            p[0] = std::uint8_t(x), p[1] = std::uint8_t(y), p[2] = std::uint8_t(x + y), p[3] = 200;
        }
    return px;
}

} // namespace

TEST(ImageLoad, FreshImageHasFrameSizeDefaultFlagsAndHandleAtOrigin) {
    Bytes px = Gradient(7, 5);
    Image* im = LoadImage(Save("plain.png", EncodePng(7, 5, PNG_FORMAT_RGBA, px.data())));
    ASSERT_NE(im, nullptr);
    EXPECT_EQ(ImageWidth(im), 7);
    EXPECT_EQ(ImageHeight(im), 5);
    EXPECT_EQ(im->frames, 1);
    EXPECT_EQ(im->flags, IMG_MASKED + IMG_FILTERED);
    EXPECT_EQ(im->handle_x, 0.0f);
    EXPECT_EQ(im->handle_y, 0.0f);
    MidHandleImage(im);
    EXPECT_FLOAT_EQ(im->handle_x, 3.5f); // an odd width gives a half pixel
    EXPECT_FLOAT_EQ(im->handle_y, 2.5f);
}

TEST(ImageLoad, MissingFileYieldsNull) {
    EXPECT_EQ(LoadImage(TempPath("does_not_exist.png")), nullptr);
    EXPECT_EQ(LoadAnimImage(TempPath("does_not_exist.png"), 4, 4, 0, 1), nullptr);
}

// Every PNG colour type reaches the game as 8-bit RGB or RGBA; the format code says which.
TEST(ImageLoad, PngColourTypesExpandToRgbOrRgba) {
    const std::uint8_t rgb[] = {10, 20, 30, 40, 50, 60};
    const std::uint8_t rgba[] = {10, 20, 30, 255, 40, 50, 60, 0};
    const std::uint8_t grey[] = {77, 200};
    const std::uint16_t deep[] = {65535, 0, 32768, 0, 65535, 0}; // linear 16-bit RGB
    const std::uint8_t index[] = {1, 0};
    const std::uint8_t palette[] = {9, 8, 7, 0, 100, 110, 120, 255}; // RGBA entries, one clear
    struct Case {
        const char* name;
        Bytes png;
        int format;
        std::vector<int> first_pixel;
    } cases[] = {
        {"rgb", EncodePng(2, 1, PNG_FORMAT_RGB, rgb), PF_RGB888, {10, 20, 30}},
        {"rgba", EncodePng(2, 1, PNG_FORMAT_RGBA, rgba), PF_RGBA8888, {10, 20, 30, 255}},
        {"grey", EncodePng(2, 1, PNG_FORMAT_GRAY, grey), PF_RGB888, {77, 77, 77}},
        {"deep", EncodePng(2, 1, PNG_FORMAT_LINEAR_RGB, deep), PF_RGB888, {255, 0, 128}},
        {"palette+tRNS",
         EncodePng(2, 1, PNG_FORMAT_RGBA_COLORMAP, index, palette, 2),
         PF_RGBA8888,
         {100, 110, 120, 255}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Image* im = LoadImage(Save(std::string(c.name) + ".png", c.png), IMG_DYNAMIC);
        ASSERT_NE(im, nullptr);
        LockedPixels lock;
        ASSERT_TRUE(LockImage(im, 0, true, false, &lock));
        EXPECT_EQ(lock.format, c.format);
        EXPECT_EQ(lock.pitch, 2 * (c.format == PF_RGB888 ? 3 : 4));
        std::vector<int> first(lock.data, lock.data + c.first_pixel.size());
        EXPECT_EQ(first, c.first_pixel);
        UnlockImage(im, 0);
    }
}

TEST(ImageLoad, JpegDecodesToRgb) {
    Bytes rgb(16 * 8 * 3);
    for (std::size_t i = 0; i < rgb.size(); i += 3)
        rgb[i] = 200, rgb[i + 1] = 40, rgb[i + 2] = 90;
    Image* im = LoadImage(Save("solid.jpg", EncodeJpeg(16, 8, rgb)), IMG_DYNAMIC);
    ASSERT_NE(im, nullptr);
    EXPECT_EQ(ImageWidth(im), 16);
    LockedPixels lock;
    ASSERT_TRUE(LockImage(im, 0, true, false, &lock));
    EXPECT_EQ(lock.format, PF_RGB888);
    EXPECT_NEAR(lock.data[0], 200, 4);
    EXPECT_NEAR(lock.data[1], 40, 4);
    EXPECT_NEAR(lock.data[2], 90, 4);
}

TEST(ImageLoad, AnimImageCutsCellsLeftToRightThenDownFromFirst) {
    // 3 x 2 cells of 4 x 3 pixels; frames start at cell 2.
    Bytes px = Gradient(12, 6);
    std::string path = Save("strip.png", EncodePng(12, 6, PNG_FORMAT_RGBA, px.data()));
    Image* im = LoadAnimImage(path, 4, 3, 2, 4, IMG_DYNAMIC);
    ASSERT_NE(im, nullptr);
    EXPECT_EQ(im->frames, 4);
    EXPECT_EQ(ImageWidth(im), 4);
    EXPECT_EQ(ImageHeight(im), 3);
    const int expected_origin[4][2] = {{8, 0}, {0, 3}, {4, 3}, {8, 3}};
    for (int f = 0; f < 4; ++f) {
        LockedPixels lock;
        ASSERT_TRUE(LockImage(im, f, true, false, &lock));
        EXPECT_EQ(lock.width, 4);
        EXPECT_EQ(lock.data[0], expected_origin[f][0]) << "frame " << f;
        EXPECT_EQ(lock.data[1], expected_origin[f][1]) << "frame " << f;
    }
    LockedPixels lock;
    EXPECT_FALSE(LockImage(im, 4, true, false, &lock));
    EXPECT_FALSE(LockImage(im, -1, true, false, &lock));
}

TEST(ImageLoad, AnimImageRejectsImpossibleCuts) {
    Bytes px = Gradient(12, 6);
    std::string path = Save("cuts.png", EncodePng(12, 6, PNG_FORMAT_RGBA, px.data()));
    EXPECT_EQ(LoadAnimImage(path, 4, 3, 0, 7), nullptr);  // only 6 cells
    EXPECT_EQ(LoadAnimImage(path, 4, 3, 5, 2), nullptr);  // runs past the last cell
    EXPECT_EQ(LoadAnimImage(path, 13, 3, 0, 1), nullptr); // wider than the picture
    EXPECT_EQ(LoadAnimImage(path, 0, 3, 0, 1), nullptr);
    EXPECT_EQ(LoadAnimImage(path, 4, 3, 0, 0), nullptr);
    EXPECT_NE(LoadAnimImage(path, 4, 3, 5, 1), nullptr); // the very last cell is fine
}

// Damaged files are refused, whatever part of them is broken.
TEST(ImageLoad, DamagedPngAndJpegYieldNull) {
    Bytes px = Gradient(32, 32);
    Bytes png = EncodePng(32, 32, PNG_FORMAT_RGBA, px.data());
    Bytes rgb(32 * 32 * 3, 128);
    for (std::size_t i = 0; i < rgb.size(); ++i)
        rgb[i] = std::uint8_t(i * 7);
    Bytes jpeg = EncodeJpeg(32, 32, rgb);
    ASSERT_NE(LoadImage(Save("good.png", png)), nullptr);
    ASSERT_NE(LoadImage(Save("good.jpg", jpeg)), nullptr);

    auto truncated = [](Bytes b, std::size_t keep) {
        b.resize(keep);
        return b;
    };
    auto flipped = [](Bytes b, std::size_t from, std::size_t count) {
        for (std::size_t i = from; i < from + count && i < b.size(); ++i)
            b[i] ^= 0x5A;
        return b;
    };
    auto huge = [](Bytes b) { // width field of the header set to 2^30
        b[16] = 0x40, b[17] = 0, b[18] = 0, b[19] = 0;
        return b;
    };
    struct Case {
        const char* name;
        Bytes bytes;
    } cases[] = {
        {"png signature only", truncated(png, 8)},
        {"png cut in the header", truncated(png, 20)},
        {"png cut in the pixels", truncated(png, png.size() / 2)},
        {"png without its end", truncated(png, png.size() - 12)},
        {"png pixels flipped", flipped(png, png.size() / 2, 16)},
        {"png header flipped", flipped(png, 16, 8)},
        {"png absurd size", huge(png)},
        {"jpeg start marker only", truncated(jpeg, 2)},
        {"jpeg cut in the tables", truncated(jpeg, 100)},
        {"jpeg cut in the scan", truncated(jpeg, jpeg.size() / 2)},
        {"jpeg tables flipped", flipped(jpeg, 20, 200)},
        {"empty", Bytes{}},
        {"not a picture", Bytes{'h', 'e', 'l', 'l', 'o'}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::string path = Save("damaged.bin", c.bytes);
        EXPECT_EQ(LoadImage(path), nullptr);
        EXPECT_EQ(LoadAnimImage(path, 8, 8, 0, 1), nullptr);
    }
}
