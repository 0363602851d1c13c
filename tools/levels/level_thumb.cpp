// Level thumbnails: an 80 x 60 picture of the board's shape, its ice and snow and its special
// pieces, in the game's own tile and piece colours, drawn 4x larger and averaged down.
#include "tools/levels/level_tools.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <jpeglib.h>

namespace {

struct Rgb {
    float r, g, b;
};

constexpr Rgb Hex(unsigned v) {
    return {((v >> 16) & 255) / 255.0f, ((v >> 8) & 255) / 255.0f, (v & 255) / 255.0f};
}

constexpr int ThumbW = 80, ThumbH = 60, Super = 4;

const Rgb NightTop = Hex(0x0b1633), NightLow = Hex(0x1c3466);
const Rgb FrameRim = Hex(0xb8cce8);
const Rgb BareTile = Hex(0x2c4a7e), BareEdge = Hex(0x3f5f96);
const Rgb IceFace = Hex(0x9fd8f5), IceEdge = Hex(0xe6f7ff);
const Rgb SnowCap = Hex(0xeef4ff), SnowShade = Hex(0xa9bcd9);
const Rgb Gems[8] = {Hex(0),        Hex(0xf2f4ff), Hex(0xe8323c), Hex(0xff8c1a),
                     Hex(0xffd60a), Hex(0x2fc45a), Hex(0x1e5bff), Hex(0xb23cff)};
const Rgb Crystal = Hex(0xdff6ff), Cube = Hex(0xbfeaff), ChainGrey = Hex(0x8e99ab);
const Rgb BombBody = Hex(0x1a1a24), BombFuse = Hex(0xff9a3c);

struct Canvas {
    int w, h;
    std::vector<Rgb> px;
    void Rect(float x0, float y0, float x1, float y1, Rgb c, float a = 1.0f) {
        for (int y = std::max(0, int(std::ceil(y0 - 0.5f))); y < std::min(h, int(y1 + 0.5f)); ++y)
            for (int x = std::max(0, int(std::ceil(x0 - 0.5f))); x < std::min(w, int(x1 + 0.5f));
                 ++x)
                Blend(x, y, c, a);
    }
    void Disc(float cx, float cy, float r, Rgb c, float a = 1.0f, float inner = 0.0f) {
        for (int y = std::max(0, int(cy - r)); y <= std::min(h - 1, int(cy + r)); ++y)
            for (int x = std::max(0, int(cx - r)); x <= std::min(w - 1, int(cx + r)); ++x) {
                const float d = std::hypot(x + 0.5f - cx, y + 0.5f - cy);
                if (d <= r && d >= inner) Blend(x, y, c, a);
            }
    }
    void Diamond(float cx, float cy, float r, Rgb c) {
        for (int y = std::max(0, int(cy - r)); y <= std::min(h - 1, int(cy + r)); ++y)
            for (int x = std::max(0, int(cx - r)); x <= std::min(w - 1, int(cx + r)); ++x)
                if (std::fabs(x + 0.5f - cx) + std::fabs(y + 0.5f - cy) <= r) Blend(x, y, c, 1);
    }
    void Blend(int x, int y, Rgb c, float a) {
        Rgb& p = px[y * w + x];
        p = {p.r + (c.r - p.r) * a, p.g + (c.g - p.g) * a, p.b + (c.b - p.b) * a};
    }
};

void DrawTile(Canvas& cv, float x0, float y0, float s, int background) {
    const float g = s * 0.06f;
    if (background == 2) {
        cv.Rect(x0 + g, y0 + g, x0 + s - g, y0 + s - g, IceFace);
        cv.Rect(x0 + g, y0 + g, x0 + s - g, y0 + s * 0.72f, SnowCap);
        cv.Rect(x0 + g, y0 + s * 0.62f, x0 + s - g, y0 + s * 0.72f, SnowShade);
    } else if (background == 1) {
        cv.Rect(x0 + g, y0 + g, x0 + s - g, y0 + s - g, IceFace, 0.85f);
        cv.Rect(x0 + g, y0 + g, x0 + s - g, y0 + g + s * 0.12f, IceEdge);
    } else {
        cv.Rect(x0 + g, y0 + g, x0 + s - g, y0 + s - g, BareTile);
        cv.Rect(x0 + g, y0 + g, x0 + s - g, y0 + g + s * 0.08f, BareEdge);
    }
}

void DrawPiece(Canvas& cv, float cx, float cy, float s, const LevelDataCell& c) {
    // Ordinary gems would bury the ice at this size: only pieces that make the level special
    // are shown, a chained or bombed gem in its own colour.
    const float r = s * 0.27f;
    if (c.color >= 1 && c.color <= 7 && (c.locks > 0 || c.bomb)) {
        cv.Disc(cx, cy, r, Gems[c.color]);
    } else if (c.color == 8) {
        cv.Diamond(cx, cy, r * 1.3f, Crystal);
    } else if (c.color == 15) {
        cv.Rect(cx - r, cy - r, cx + r, cy + r, Cube);
        cv.Rect(cx - r, cy - r, cx + r, cy - r * 0.4f, Hex(0xffffff));
    }
    if (c.bomb) {
        cv.Disc(cx, cy, r * 0.75f, BombBody);
        cv.Disc(cx + r * 0.5f, cy - r * 0.6f, r * 0.3f, BombFuse);
    }
    if (c.locks > 0) cv.Disc(cx, cy, r * 1.25f, ChainGrey, 1.0f, r * (c.locks == 2 ? 0.8f : 1.0f));
}

} // namespace

RgbImage Level_Thumbnail(const LevelFileData& data) {
    const int dx = data.settings.table_dx, dy = data.settings.table_dy;
    Canvas cv{ThumbW * Super, ThumbH * Super, {}};
    cv.px.resize(static_cast<std::size_t>(cv.w) * cv.h);
    for (int y = 0; y < cv.h; ++y) {
        const float t = y / float(cv.h - 1);
        for (int x = 0; x < cv.w; ++x)
            cv.px[y * cv.w + x] = {NightTop.r + (NightLow.r - NightTop.r) * t,
                                   NightTop.g + (NightLow.g - NightTop.g) * t,
                                   NightTop.b + (NightLow.b - NightTop.b) * t};
    }
    const float margin = 2.0f * Super;
    const float s = std::min((cv.w - 2 * margin) / dx, (cv.h - 2 * margin) / dy);
    const float ox = (cv.w - s * dx) / 2, oy = (cv.h - s * dy) / 2;
    LevelBoard b{dx, dy, &data.cells};
    // The rim first, slightly larger than the tiles, so the field's outline stands out.
    const float rim = s * 0.1f;
    for (int y = 0; y < dy; ++y)
        for (int x = 0; x < dx; ++x)
            if (b.playable(x, y))
                cv.Rect(ox + x * s - rim, oy + y * s - rim, ox + (x + 1) * s + rim,
                        oy + (y + 1) * s + rim, FrameRim, 0.8f);
    for (int y = 0; y < dy; ++y)
        for (int x = 0; x < dx; ++x)
            if (b.playable(x, y))
                cv.Rect(ox + x * s, oy + y * s, ox + (x + 1) * s, oy + (y + 1) * s, NightTop);
    for (int y = 0; y < dy; ++y)
        for (int x = 0; x < dx; ++x) {
            if (!b.playable(x, y)) continue;
            DrawTile(cv, ox + x * s, oy + y * s, s, b.at(x, y).background);
            DrawPiece(cv, ox + (x + 0.5f) * s, oy + (y + 0.5f) * s, s, b.at(x, y));
        }
    RgbImage img{ThumbW, ThumbH, std::vector<std::uint8_t>(ThumbW * ThumbH * 3)};
    for (int y = 0; y < ThumbH; ++y)
        for (int x = 0; x < ThumbW; ++x) {
            Rgb sum{0, 0, 0};
            for (int j = 0; j < Super; ++j)
                for (int i = 0; i < Super; ++i) {
                    const Rgb& p = cv.px[(y * Super + j) * cv.w + x * Super + i];
                    sum = {sum.r + p.r, sum.g + p.g, sum.b + p.b};
                }
            const float n = Super * Super;
            std::uint8_t* o = &img.rgb[(y * ThumbW + x) * 3];
            o[0] = static_cast<std::uint8_t>(std::lround(std::clamp(sum.r / n, 0.0f, 1.0f) * 255));
            o[1] = static_cast<std::uint8_t>(std::lround(std::clamp(sum.g / n, 0.0f, 1.0f) * 255));
            o[2] = static_cast<std::uint8_t>(std::lround(std::clamp(sum.b / n, 0.0f, 1.0f) * 255));
        }
    return img;
}

bool Jpeg_Write(const RgbImage& img, int quality, std::vector<std::uint8_t>& out) {
    jpeg_compress_struct cinfo{};
    jpeg_error_mgr jerr{};
    cinfo.err = jpeg_std_error(&jerr);
    jpeg_create_compress(&cinfo);
    unsigned char* mem = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&cinfo, &mem, &size);
    cinfo.image_width = static_cast<JDIMENSION>(img.w);
    cinfo.image_height = static_cast<JDIMENSION>(img.h);
    cinfo.input_components = 3;
    cinfo.in_color_space = JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, quality, TRUE);
    jpeg_start_compress(&cinfo, TRUE);
    while (cinfo.next_scanline < cinfo.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(&img.rgb[cinfo.next_scanline * img.w * 3]);
        jpeg_write_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    if (!mem) return false;
    out.assign(mem, mem + size);
    std::free(mem);
    return true;
}
