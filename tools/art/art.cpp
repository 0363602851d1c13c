#include "tools/art/art.h"

#include <jpeglib.h>
#include <png.h>

#include <algorithm>
#include <cmath>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

void Art_Fail(const std::string& message) {
    std::fprintf(stderr, "artgen: %s\n", message.c_str());
    std::exit(1);
}

Picture Picture_New(int w, int h) {
    Picture p;
    p.w = w;
    p.h = h;
    p.rgba.assign(static_cast<size_t>(w) * h * 4, 0);
    return p;
}

Picture Picture_FromCairo(cairo_surface_t* s) {
    cairo_surface_flush(s);
    int w = cairo_image_surface_get_width(s), h = cairo_image_surface_get_height(s);
    int stride = cairo_image_surface_get_stride(s);
    const unsigned char* src = cairo_image_surface_get_data(s);
    Picture p = Picture_New(w, h);
    for (int y = 0; y < h; ++y) {
        const auto* row = reinterpret_cast<const std::uint32_t*>(src + y * stride);
        for (int x = 0; x < w; ++x) {
            std::uint32_t px = row[x]; // premultiplied ARGB in native order
            int a = px >> 24, r = (px >> 16) & 255, g = (px >> 8) & 255, b = px & 255;
            std::uint8_t* d = &p.rgba[(static_cast<size_t>(y) * w + x) * 4];
            if (a > 0) {
                d[0] = static_cast<std::uint8_t>(std::min(255, (r * 255 + a / 2) / a));
                d[1] = static_cast<std::uint8_t>(std::min(255, (g * 255 + a / 2) / a));
                d[2] = static_cast<std::uint8_t>(std::min(255, (b * 255 + a / 2) / a));
            }
            d[3] = static_cast<std::uint8_t>(a);
        }
    }
    return p;
}

cairo_surface_t* Picture_ToCairo(const Picture& p) {
    cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, p.w, p.h);
    int stride = cairo_image_surface_get_stride(s);
    unsigned char* dst = cairo_image_surface_get_data(s);
    for (int y = 0; y < p.h; ++y) {
        auto* row = reinterpret_cast<std::uint32_t*>(dst + y * stride);
        for (int x = 0; x < p.w; ++x) {
            const std::uint8_t* c = &p.rgba[(static_cast<size_t>(y) * p.w + x) * 4];
            std::uint32_t a = c[3];
            std::uint32_t r = (c[0] * a + 127) / 255, g = (c[1] * a + 127) / 255,
                          b = (c[2] * a + 127) / 255;
            row[x] = (a << 24) | (r << 16) | (g << 8) | b;
        }
    }
    cairo_surface_mark_dirty(s);
    return s;
}

bool Picture_ReadPng(const std::string& path, Picture* out) {
    png_image img{};
    img.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&img, path.c_str())) return false;
    img.format = PNG_FORMAT_RGBA;
    *out = Picture_New(static_cast<int>(img.width), static_cast<int>(img.height));
    if (!png_image_finish_read(&img, nullptr, out->rgba.data(), 0, nullptr)) {
        png_image_free(&img);
        return false;
    }
    return true;
}

static std::string OutPath(const ArtContext& ctx, const std::string& name) {
    fs::path path = fs::path(ctx.out_dir) / name;
    fs::create_directories(path.parent_path());
    return path.string();
}

void Art_WritePng(const ArtContext& ctx, const std::string& name, const Picture& p, bool rgb_only) {
    png_image img{};
    img.version = PNG_IMAGE_VERSION;
    img.width = static_cast<png_uint_32>(p.w);
    img.height = static_cast<png_uint_32>(p.h);
    std::vector<std::uint8_t> rgb;
    const void* pixels = p.rgba.data();
    img.format = PNG_FORMAT_RGBA;
    if (rgb_only) {
        img.format = PNG_FORMAT_RGB;
        rgb.reserve(static_cast<size_t>(p.w) * p.h * 3);
        for (size_t i = 0; i < p.rgba.size(); i += 4)
            rgb.insert(rgb.end(), &p.rgba[i], &p.rgba[i + 3]);
        pixels = rgb.data();
    }
    if (!png_image_write_to_file(&img, OutPath(ctx, name).c_str(), 0, pixels, 0, nullptr))
        Art_Fail("cannot write " + name + ": " + img.message);
}

void Art_WriteJpeg(const ArtContext& ctx, const std::string& name, const Picture& p, int quality) {
    std::string path = OutPath(ctx, name);
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) Art_Fail("cannot write " + name);
    jpeg_compress_struct cinfo{};
    jpeg_error_mgr jerr{};
    cinfo.err = jpeg_std_error(&jerr);
    jpeg_create_compress(&cinfo);
    jpeg_stdio_dest(&cinfo, f);
    cinfo.image_width = static_cast<JDIMENSION>(p.w);
    cinfo.image_height = static_cast<JDIMENSION>(p.h);
    cinfo.input_components = 3;
    cinfo.in_color_space = JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, quality, TRUE);
    jpeg_start_compress(&cinfo, TRUE);
    std::vector<std::uint8_t> row(static_cast<size_t>(p.w) * 3);
    while (cinfo.next_scanline < cinfo.image_height) {
        const std::uint8_t* src = &p.rgba[static_cast<size_t>(cinfo.next_scanline) * p.w * 4];
        for (int x = 0; x < p.w; ++x) // JPEG has no alpha: composite over black
            for (int c = 0; c < 3; ++c)
                row[x * 3 + c] = static_cast<std::uint8_t>(src[x * 4 + c] * src[x * 4 + 3] / 255);
        JSAMPROW rows[1] = {row.data()};
        jpeg_write_scanlines(&cinfo, rows, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    std::fclose(f);
}

void Art_WriteText(const ArtContext& ctx, const std::string& name, const std::string& bytes) {
    std::ofstream f(OutPath(ctx, name), std::ios::binary);
    f.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!f) Art_Fail("cannot write " + name);
}

Picture Art_Strip(const std::vector<Picture>& frames, int columns) {
    if (frames.empty()) return {};
    int n = static_cast<int>(frames.size());
    int cols = columns <= 0 ? n : std::min(columns, n);
    int rows = (n + cols - 1) / cols;
    int fw = frames[0].w, fh = frames[0].h;
    Picture strip = Picture_New(fw * cols, fh * rows);
    for (int i = 0; i < n; ++i) {
        if (frames[i].w != fw || frames[i].h != fh) Art_Fail("frames of a strip differ in size");
        int ox = (i % cols) * fw, oy = (i / cols) * fh;
        for (int y = 0; y < fh; ++y)
            std::copy_n(&frames[i].rgba[static_cast<size_t>(y) * fw * 4], fw * 4,
                        &strip.rgba[(static_cast<size_t>(oy + y) * strip.w + ox) * 4]);
    }
    return strip;
}

Sketch Sketch_New(int w, int h) {
    Sketch s;
    s.surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, h);
    s.cr = cairo_create(s.surface);
    return s;
}

Picture Sketch_Finish(Sketch& s) {
    Picture p = Picture_FromCairo(s.surface);
    cairo_destroy(s.cr);
    cairo_surface_destroy(s.surface);
    s = {};
    return p;
}

void Art_SetHex(cairo_t* cr, const char* hex, double alpha) {
    unsigned v = static_cast<unsigned>(std::strtoul(hex + (hex[0] == '#'), nullptr, 16));
    cairo_set_source_rgba(cr, ((v >> 16) & 255) / 255.0, ((v >> 8) & 255) / 255.0,
                          (v & 255) / 255.0, alpha);
}

std::vector<ArtModuleEntry>& Art_Modules() {
    static std::vector<ArtModuleEntry> modules;
    return modules;
}

ArtModule::ArtModule(const char* name, ArtModuleFn fn) {
    Art_Modules().push_back({name, std::move(fn)});
}

void Art_SetFont(cairo_t* cr, ArtFont font, double size) {
    cairo_set_font_face(cr, Art_FontFace(font));
    cairo_set_font_size(cr, size);
}

double Art_TextWidth(cairo_t* cr, const std::string& text) {
    cairo_text_extents_t ext;
    cairo_text_extents(cr, text.c_str(), &ext);
    return ext.x_advance;
}

void Art_TextPath(cairo_t* cr, const std::string& text, double x, double y, double align) {
    cairo_move_to(cr, x - Art_TextWidth(cr, text) * align, y);
    cairo_text_path(cr, text.c_str());
}

void Art_RoundRect(cairo_t* cr, double x, double y, double w, double h, double r) {
    r = std::min({r, w / 2, h / 2});
    cairo_new_sub_path(cr);
    cairo_arc(cr, x + w - r, y + r, r, -M_PI / 2, 0);
    cairo_arc(cr, x + w - r, y + h - r, r, 0, M_PI / 2);
    cairo_arc(cr, x + r, y + h - r, r, M_PI / 2, M_PI);
    cairo_arc(cr, x + r, y + r, r, M_PI, 3 * M_PI / 2);
    cairo_close_path(cr);
}

Picture Picture_Scaled(const Picture& p, int w, int h) {
    cairo_surface_t* src = Picture_ToCairo(p);
    Sketch s = Sketch_New(w, h);
    cairo_scale(s.cr, static_cast<double>(w) / p.w, static_cast<double>(h) / p.h);
    cairo_set_source_surface(s.cr, src, 0, 0);
    cairo_pattern_set_filter(cairo_get_source(s.cr), CAIRO_FILTER_GOOD);
    cairo_paint(s.cr);
    cairo_surface_destroy(src);
    return Sketch_Finish(s);
}

bool Picture_ReadJpeg(const std::string& path, Picture* out) {
    FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return false;
    jpeg_decompress_struct cinfo{};
    struct Err {
        jpeg_error_mgr mgr;
        jmp_buf jump;
    } err{};
    cinfo.err = jpeg_std_error(&err.mgr);
    err.mgr.error_exit = [](j_common_ptr c) { longjmp(reinterpret_cast<Err*>(c->err)->jump, 1); };
    if (setjmp(err.jump)) {
        jpeg_destroy_decompress(&cinfo);
        std::fclose(f);
        return false;
    }
    jpeg_create_decompress(&cinfo);
    jpeg_stdio_src(&cinfo, f);
    jpeg_read_header(&cinfo, TRUE);
    cinfo.out_color_space = JCS_RGB;
    jpeg_start_decompress(&cinfo);
    Picture p =
        Picture_New(static_cast<int>(cinfo.output_width), static_cast<int>(cinfo.output_height));
    std::vector<std::uint8_t> row(static_cast<size_t>(p.w) * 3);
    while (cinfo.output_scanline < cinfo.output_height) {
        size_t y = cinfo.output_scanline;
        JSAMPROW rows[1] = {row.data()};
        jpeg_read_scanlines(&cinfo, rows, 1);
        for (int x = 0; x < p.w; ++x) {
            std::uint8_t* d = &p.rgba[(y * p.w + x) * 4];
            d[0] = row[x * 3];
            d[1] = row[x * 3 + 1];
            d[2] = row[x * 3 + 2];
            d[3] = 255;
        }
    }
    jpeg_finish_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
    std::fclose(f);
    *out = std::move(p);
    return true;
}

bool Picture_Read(const std::string& path, Picture* out) {
    std::string ext = fs::path(path).extension().string();
    if (ext == ".jpg" || ext == ".jpeg") return Picture_ReadJpeg(path, out);
    return Picture_ReadPng(path, out);
}

Picture Picture_Cut(const Picture& p, int x, int y, int w, int h) {
    Picture c = Picture_New(w, h);
    for (int row = 0; row < h; ++row)
        for (int col = 0; col < w; ++col) {
            int sx = x + col, sy = y + row;
            if (sx < 0 || sy < 0 || sx >= p.w || sy >= p.h) continue;
            std::copy_n(&p.rgba[(static_cast<size_t>(sy) * p.w + sx) * 4], 4,
                        &c.rgba[(static_cast<size_t>(row) * w + col) * 4]);
        }
    return c;
}
