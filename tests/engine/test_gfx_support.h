// Small picture files written by the drawing tests themselves, and canvas read-back helpers.
#pragma once

#include "engine/gfx.h"

#include <jpeglib.h>
#include <png.h>

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace gfxtest {

using Bytes = std::vector<std::uint8_t>;

inline std::string TempPath(const std::string& name) {
    return ::testing::TempDir() + "snow_gfx_" + name;
}

inline void WriteFile(const std::string& path, const Bytes& bytes) {
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

inline Bytes ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// A PNG in one of libpng's simplified formats (PNG_FORMAT_RGB, _RGBA, _GRAY, _RGBA_COLORMAP,
// with PNG_FORMAT_FLAG_LINEAR for 16 bits). pixels holds 8-bit components, or 16-bit ones when
// the format is linear; colormap formats take indices and a colormap.
inline Bytes EncodePng(int w, int h, png_uint_32 format, const void* pixels,
                       const void* colormap = nullptr, int colormap_entries = 0) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = png_uint_32(w);
    image.height = png_uint_32(h);
    image.format = format;
    image.colormap_entries = png_uint_32(colormap_entries);
    png_alloc_size_t size = 0;
    png_image_write_to_memory(&image, nullptr, &size, 0, pixels, 0, colormap);
    Bytes out(size);
    EXPECT_TRUE(png_image_write_to_memory(&image, out.data(), &size, 0, pixels, 0, colormap));
    out.resize(size);
    return out;
}

inline Bytes EncodeJpeg(int w, int h, const Bytes& rgb) {
    jpeg_compress_struct c{};
    jpeg_error_mgr err;
    c.err = jpeg_std_error(&err);
    jpeg_create_compress(&c);
    unsigned char* mem = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&c, &mem, &size);
    c.image_width = JDIMENSION(w);
    c.image_height = JDIMENSION(h);
    c.input_components = 3;
    c.in_color_space = JCS_RGB;
    jpeg_set_defaults(&c);
    jpeg_set_quality(&c, 95, TRUE);
    jpeg_start_compress(&c, TRUE);
    while (c.next_scanline < c.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(&rgb[std::size_t(c.next_scanline) * w * 3]);
        jpeg_write_scanlines(&c, &row, 1);
    }
    jpeg_finish_compress(&c);
    Bytes out(mem, mem + size);
    jpeg_destroy_compress(&c);
    std::free(mem);
    return out;
}

// A w x h RGBA picture filled with one colour.
inline Bytes Filled(int w, int h, std::uint8_t r, std::uint8_t g, std::uint8_t b,
                    std::uint8_t a = 255) {
    Bytes px(std::size_t(w) * h * 4);
    for (std::size_t i = 0; i < px.size(); i += 4) {
        px[i] = r, px[i + 1] = g, px[i + 2] = b, px[i + 3] = a;
    }
    return px;
}

// Writes an RGBA picture as a PNG file and loads it as an image.
inline Image* MakeImage(const std::string& name, int w, int h, const Bytes& rgba, int flags = 0) {
    std::string path = TempPath(name + ".png");
    WriteFile(path, EncodePng(w, h, PNG_FORMAT_RGBA, rgba.data()));
    return LoadImage(path, flags);
}

struct Pixel {
    int r, g, b;
};

inline std::ostream& operator<<(std::ostream& os, const Pixel& p) {
    return os << "(" << p.r << ", " << p.g << ", " << p.b << ")";
}

class Canvas {
  public:
    bool Read() { return Graphics_ReadPixels(rgba_, &w_, &h_); }
    Pixel At(int x, int y) const {
        const std::uint8_t* p = &rgba_[(std::size_t(y) * w_ + x) * 4];
        return Pixel{p[0], p[1], p[2]};
    }
    int Width() const { return w_; }
    int Height() const { return h_; }

  private:
    std::vector<std::uint8_t> rgba_;
    int w_ = 0, h_ = 0;
};

inline bool Near(const Pixel& a, const Pixel& b, int tolerance = 3) {
    return std::abs(a.r - b.r) <= tolerance && std::abs(a.g - b.g) <= tolerance &&
           std::abs(a.b - b.b) <= tolerance;
}

} // namespace gfxtest
