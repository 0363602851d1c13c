// PNG and JPEG decoding from memory. Damaged files fail cleanly: both libraries report errors
// through a longjmp back into the decoder, and sizes are checked before anything is allocated.
#include "engine/gfx_internal.h"

#include <csetjmp>
#include <cstdio>
#include <cstring>

#include <jpeglib.h>
#include <png.h>

namespace {

bool SizeAcceptable(long long w, long long h) {
    return w > 0 && h > 0 && w <= kMaxPictureSide && h <= kMaxPictureSide &&
           w * h <= kMaxPicturePixels;
}

// ---- PNG ----

struct PngSource {
    const std::uint8_t* data;
    std::size_t size;
    std::size_t pos;
};

void PngRead(png_structp png, png_bytep out, png_size_t n) {
    auto* src = static_cast<PngSource*>(png_get_io_ptr(png));
    if (n > src->size - src->pos) png_error(png, "truncated file");
    std::memcpy(out, src->data + src->pos, n);
    src->pos += n;
}

void PngError(png_structp png, png_const_charp) {
    png_longjmp(png, 1);
}

void PngWarning(png_structp, png_const_charp) {}

// Decodes after setjmp; kept free of C++ objects with destructors between setjmp and longjmp.
bool PngDecodeRows(png_structp png, png_infop info, DecodedPicture& out,
                   std::vector<png_bytep>& rows) {
    png_read_info(png, info);
    png_uint_32 w = png_get_image_width(png, info), h = png_get_image_height(png, info);
    if (!SizeAcceptable(w, h)) return false;
    int type = png_get_color_type(png, info);
    bool alpha = (type & PNG_COLOR_MASK_ALPHA) || png_get_valid(png, info, PNG_INFO_tRNS);
    png_set_expand(png); // palette to RGB, grey below 8 bits to 8, tRNS to alpha
    png_set_strip_16(png);
    if (!(type & PNG_COLOR_MASK_COLOR)) png_set_gray_to_rgb(png);
    png_set_interlace_handling(png);
    png_read_update_info(png, info);
    int channels = png_get_channels(png, info);
    if (channels != (alpha ? 4 : 3) || png_get_rowbytes(png, info) != w * channels) return false;
    out.width = static_cast<int>(w);
    out.height = static_cast<int>(h);
    out.bytes_per_pixel = channels;
    out.pixels.resize(static_cast<std::size_t>(w) * h * channels);
    rows.resize(h);
    for (png_uint_32 y = 0; y < h; ++y)
        rows[y] = out.pixels.data() + std::size_t(y) * w * channels;
    png_read_image(png, rows.data());
    png_read_end(png, nullptr);
    return true;
}

// ---- JPEG ----

struct JpegErrors {
    jpeg_error_mgr mgr;
    std::jmp_buf jump;
    bool warned;
};

void JpegErrorExit(j_common_ptr cinfo) {
    std::longjmp(reinterpret_cast<JpegErrors*>(cinfo->err)->jump, 1);
}

// A warning means the data was damaged (premature end, corrupt segments): libjpeg would fill the
// rest with grey and carry on, but a half-grey picture is not what was asked for.
void JpegMessage(j_common_ptr cinfo, int level) {
    if (level < 0) reinterpret_cast<JpegErrors*>(cinfo->err)->warned = true;
}

// line lives in the caller so a longjmp out of here skips no destructor.
bool JpegDecodeRows(jpeg_decompress_struct& cinfo, DecodedPicture& out,
                    std::vector<std::uint8_t>& line) {
    jpeg_read_header(&cinfo, TRUE);
    bool cmyk = cinfo.jpeg_color_space == JCS_CMYK || cinfo.jpeg_color_space == JCS_YCCK;
    cinfo.out_color_space = cmyk ? JCS_CMYK : JCS_RGB;
    jpeg_start_decompress(&cinfo);
    if (!SizeAcceptable(cinfo.output_width, cinfo.output_height)) return false;
    int comps = cinfo.output_components;
    if (comps != (cmyk ? 4 : 3)) return false;
    int w = static_cast<int>(cinfo.output_width), h = static_cast<int>(cinfo.output_height);
    out.width = w;
    out.height = h;
    out.bytes_per_pixel = 3;
    out.pixels.resize(std::size_t(w) * h * 3);
    line.resize(std::size_t(w) * comps);
    while (cinfo.output_scanline < cinfo.output_height) {
        JSAMPROW row = line.data();
        std::uint8_t* dst = out.pixels.data() + std::size_t(cinfo.output_scanline) * w * 3;
        if (jpeg_read_scanlines(&cinfo, &row, 1) != 1) return false;
        if (!cmyk) {
            std::memcpy(dst, line.data(), line.size());
            continue;
        }
        // Adobe writes CMYK inverted: each channel already holds 255 - ink.
        for (int x = 0; x < w; ++x) {
            const std::uint8_t* p = &line[std::size_t(x) * 4];
            for (int c = 0; c < 3; ++c)
                dst[x * 3 + c] = std::uint8_t(p[c] * p[3] / 255);
        }
    }
    jpeg_finish_decompress(&cinfo);
    return true;
}

} // namespace

bool Image_DecodePng(const std::uint8_t* data, std::size_t size, DecodedPicture& out) {
    if (size < 8 || png_sig_cmp(data, 0, 8) != 0) return false;
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, PngError, PngWarning);
    if (!png) return false;
    png_infop info = png_create_info_struct(png);
    if (!info) {
        png_destroy_read_struct(&png, nullptr, nullptr);
        return false;
    }
    PngSource src{data, size, 0};
    png_set_read_fn(png, &src, PngRead);
    png_set_user_limits(png, kMaxPictureSide, kMaxPictureSide);
    std::vector<png_bytep> rows;
    bool ok = false;
    if (setjmp(png_jmpbuf(png)) == 0) ok = PngDecodeRows(png, info, out, rows);
    png_destroy_read_struct(&png, &info, nullptr);
    if (!ok) out = DecodedPicture{};
    return ok;
}

bool Image_DecodeJpeg(const std::uint8_t* data, std::size_t size, DecodedPicture& out) {
    if (size < 4 || data[0] != 0xFF || data[1] != 0xD8) return false;
    jpeg_decompress_struct cinfo{};
    JpegErrors errors;
    cinfo.err = jpeg_std_error(&errors.mgr);
    errors.mgr.error_exit = JpegErrorExit;
    errors.mgr.emit_message = JpegMessage;
    errors.warned = false;
    std::vector<std::uint8_t> line;
    bool ok = false;
    if (setjmp(errors.jump) == 0) {
        jpeg_create_decompress(&cinfo);
        jpeg_mem_src(&cinfo, data, static_cast<unsigned long>(size));
        ok = JpegDecodeRows(cinfo, out, line) && !errors.warned;
    }
    jpeg_destroy_decompress(&cinfo);
    if (!ok) out = DecodedPicture{};
    return ok;
}

bool Image_Decode(const std::vector<std::uint8_t>& bytes, DecodedPicture& out) {
    if (bytes.size() >= 8 && png_sig_cmp(bytes.data(), 0, 8) == 0)
        return Image_DecodePng(bytes.data(), bytes.size(), out);
    if (bytes.size() >= 2 && bytes[0] == 0xFF && bytes[1] == 0xD8)
        return Image_DecodeJpeg(bytes.data(), bytes.size(), out);
    return false; // BMP, TGA and anything else are not read
}

namespace {

struct PngSink {
    std::vector<std::uint8_t>* out;
};

void PngWrite(png_structp png, png_bytep data, png_size_t n) {
    auto* sink = static_cast<PngSink*>(png_get_io_ptr(png));
    sink->out->insert(sink->out->end(), data, data + n);
}

void PngFlush(png_structp) {}

bool PngEncodeRows(png_structp png, png_infop info, const std::uint8_t* rgba, int w, int h,
                   bool keep_alpha, std::vector<png_bytep>& rows) {
    png_set_IHDR(png, info, w, h, 8, keep_alpha ? PNG_COLOR_TYPE_RGBA : PNG_COLOR_TYPE_RGB,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    if (!keep_alpha) png_set_filler(png, 0, PNG_FILLER_AFTER); // rows keep 4 bytes per pixel
    rows.resize(h);
    for (int y = 0; y < h; ++y)
        rows[y] = const_cast<png_bytep>(rgba + std::size_t(y) * w * 4);
    png_write_image(png, rows.data());
    png_write_end(png, nullptr);
    return true;
}

} // namespace

bool Image_EncodePng(const std::uint8_t* rgba, int w, int h, bool keep_alpha,
                     std::vector<std::uint8_t>& out) {
    out.clear();
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, PngError, PngWarning);
    if (!png) return false;
    png_infop info = png_create_info_struct(png);
    if (!info) {
        png_destroy_write_struct(&png, nullptr);
        return false;
    }
    PngSink sink{&out};
    png_set_write_fn(png, &sink, PngWrite, PngFlush);
    png_set_compression_level(png, 6);
    std::vector<png_bytep> rows;
    bool ok = false;
    if (setjmp(png_jmpbuf(png)) == 0) ok = PngEncodeRows(png, info, rgba, w, h, keep_alpha, rows);
    png_destroy_write_struct(&png, &info);
    return ok;
}
