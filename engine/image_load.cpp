// Loading pictures into images, handles, pixel locking, and the per-renderer texture cache.
#include "engine/draw_profile.h"
#include "engine/gfx_internal.h"
#include "engine/stream.h"

#include <algorithm>
#include <cstring>

namespace {

// Every image ever made: their textures belong to the renderer and are dropped and made again
// when the display is re-opened. Images live for the whole run.
std::vector<Image*>& AllImages() {
    static auto* images = new std::vector<Image*>; // never destroyed: images outlive everything
    return *images;
}

int NormalisedFlags(int flags) {
    return flags == IMG_DEFAULT ? IMG_MASKED + IMG_FILTERED : flags;
}

bool LoadPicture(const std::string& url, DecodedPicture& pic) {
    std::vector<std::uint8_t> bytes;
    return LoadBytes(url, bytes) && Image_Decode(bytes, pic);
}

// The rows at the bottom of each frame in which every pixel is fully opaque: what a picture
// drawn at full alpha covers there, nothing drawn before it shows.
void FindOpaqueBands(Image& im, const std::vector<std::uint8_t>& rgba) {
    im.opaque_from.assign(std::size_t(im.frames), im.height);
    for (int f = 0; f < im.frames; ++f) {
        int y = im.height;
        for (; y > 0; --y) {
            const std::uint8_t* row =
                &rgba[(std::size_t(im.frame_y[f] + y - 1) * im.src_w + im.frame_x[f]) * 4];
            bool opaque = true;
            for (int x = 0; x < im.width && opaque; ++x)
                opaque = row[x * 4 + 3] == 255;
            if (!opaque) break;
        }
        im.opaque_from[std::size_t(f)] = y;
    }
}

// Large frames are looked at in square cells of this side.
constexpr int kPartCell = 16;

// The smallest box holding every pixel with any alpha inside {x, y, w, h} of frame f ({0, 0, 0,
// 0} when there is none).
std::array<int, 4> VisibleBoxIn(const Image& im, const std::vector<std::uint8_t>& rgba, int f,
                                const std::array<int, 4>& area) {
    const auto& [ax, ay, aw, ah] = area;
    int x0 = ax + aw, y0 = ay + ah, x1 = -1, y1 = -1;
    for (int y = ay; y < ay + ah; ++y) {
        const std::uint8_t* row =
            &rgba[(std::size_t(im.frame_y[f] + y) * im.src_w + im.frame_x[f]) * 4];
        for (int x = ax; x < ax + aw; ++x) {
            if (row[x * 4 + 3] == 0) continue;
            x0 = std::min(x0, x), x1 = std::max(x1, x);
            y0 = std::min(y0, y), y1 = std::max(y1, y);
        }
    }
    return x1 < 0 ? std::array<int, 4>{0, 0, 0, 0}
                  : std::array<int, 4>{x0, y0, x1 - x0 + 1, y1 - y0 + 1};
}

// The smallest box holding two boxes {x, y, w, h}.
std::array<int, 4> Union(const std::array<int, 4>& a, const std::array<int, 4>& b) {
    const int x0 = std::min(a[0], b[0]), y0 = std::min(a[1], b[1]);
    const int x1 = std::max(a[0] + a[2], b[0] + b[2]), y1 = std::max(a[1] + a[3], b[1] + b[3]);
    return {x0, y0, x1 - x0, y1 - y0};
}

// The boxes of one band of rows {y, h} of frame f: each run of cells holding a visible pixel,
// shrunk to the visible pixels in it (the union of its cells' visible boxes).
void AddBandParts(const Image& im, const std::vector<std::uint8_t>& rgba, int f, int y, int h,
                  std::vector<std::array<int, 4>>& parts) {
    const int cells = (im.width + kPartCell - 1) / kPartCell;
    std::array<int, 4> run{0, 0, 0, 0}; // the current run's box; empty between runs
    for (int i = 0; i <= cells; ++i) {
        const int x = i * kPartCell;
        const std::array<int, 4> cell =
            i < cells ? VisibleBoxIn(im, rgba, f, {x, y, std::min(kPartCell, im.width - x), h})
                      : std::array<int, 4>{0, 0, 0, 0};
        if (cell[2] > 0) {
            run = run[2] > 0 ? Union(run, cell) : cell;
        } else if (run[2] > 0) {
            parts.push_back(run);
            run = {0, 0, 0, 0};
        }
    }
}

// A large frame is cut into bands of cells; the runs of visible cells in each become boxes. They
// are kept when they cover clearly less than the visible box (a cloud layer is mostly empty sky
// between its clouds).
void FindVisibleParts(Image& im, const std::vector<std::uint8_t>& rgba) {
    im.visible_parts.assign(std::size_t(im.frames), {});
    if (im.width < 4 * kPartCell || im.height < 4 * kPartCell) return;
    for (int f = 0; f < im.frames; ++f) {
        std::vector<std::array<int, 4>> parts;
        for (int y = 0; y < im.height; y += kPartCell)
            AddBandParts(im, rgba, f, y, std::min(kPartCell, im.height - y), parts);
        long long area = 0;
        for (const auto& part : parts)
            area += 1LL * part[2] * part[3];
        const auto& whole = im.visible[std::size_t(f)];
        if (area * 10 < 9LL * whole[2] * whole[3]) im.visible_parts[std::size_t(f)] = parts;
    }
}

// The box of each frame that holds a pixel with any alpha: drawing only that part of a frame
// leaves the canvas the same and spares the rasteriser the empty margins.
void FindVisibleBoxes(Image& im, const std::vector<std::uint8_t>& rgba) {
    im.visible.clear();
    im.visible_parts.clear();
    im.opaque_from.clear();
    if (int(im.frame_x.size()) < im.frames || int(im.frame_y.size()) < im.frames) return;
    for (int f = 0; f < im.frames; ++f)
        if (im.frame_x[f] < 0 || im.frame_y[f] < 0 || im.frame_x[f] + im.width > im.src_w ||
            im.frame_y[f] + im.height > im.src_h)
            return; // a frame outside the picture: draw whole frames
    im.visible.assign(std::size_t(im.frames), {0, 0, 0, 0});
    for (int f = 0; f < im.frames; ++f) {
        int x0 = im.width, y0 = im.height, x1 = -1, y1 = -1;
        for (int y = 0; y < im.height; ++y) {
            const std::uint8_t* row =
                &rgba[(std::size_t(im.frame_y[f] + y) * im.src_w + im.frame_x[f]) * 4];
            for (int x = 0; x < im.width; ++x) {
                if (row[x * 4 + 3] == 0) continue;
                x0 = std::min(x0, x);
                x1 = std::max(x1, x);
                y0 = std::min(y0, y);
                y1 = std::max(y1, y);
            }
        }
        if (x1 >= 0) im.visible[std::size_t(f)] = {x0, y0, x1 - x0 + 1, y1 - y0 + 1};
    }
    FindVisibleParts(im, rgba);
    FindOpaqueBands(im, rgba);
}

// RGBA copy of the whole picture, in the form each texture kind wants.
std::vector<std::uint8_t> TexturePixels(const Image& im, TextureKind kind) {
    std::size_t n = std::size_t(im.src_w) * im.src_h;
    std::vector<std::uint8_t> rgba(n * 4);
    const std::uint8_t* src = im.pixels.data();
    int bpp = im.bytes_per_pixel;
    for (std::size_t i = 0; i < n; ++i, src += bpp) {
        std::uint8_t* d = &rgba[i * 4];
        std::uint8_t a = bpp == 4 ? src[3] : 255;
        if (kind == TextureKind::Mask) a = a >= 128 ? 255 : 0; // cut at alpha 0.5
        for (int c = 0; c < 3; ++c)
            d[c] = kind == TextureKind::Shade ? std::uint8_t((src[c] * a + 127) / 255) : src[c];
        d[3] = a;
    }
    return rgba;
}

SDL_Texture* MakeTexture(Image& im, TextureKind kind) {
    SDL_Renderer* r = Gfx_Renderer();
    if (!r || im.src_w <= 0 || im.src_h <= 0) return nullptr;
    SDL_Texture* t =
        SDL_CreateTexture(r, SDL_PIXELFORMAT_RGBA32, SDL_TEXTUREACCESS_STATIC, im.src_w, im.src_h);
    if (!t) return nullptr;
    std::vector<std::uint8_t> rgba = TexturePixels(im, kind);
    SDL_UpdateTexture(t, nullptr, rgba.data(), im.src_w * 4);
    SDL_SetTextureScaleMode(t, SDL_ScaleModeNearest); // each draw picks its filter
    DrawProfile_NameTexture(t, (im.name.empty() ? std::string("(made in memory)") : im.name) +
                                   (kind == TextureKind::Mask    ? " mask"
                                    : kind == TextureKind::Shade ? " shade"
                                                                 : ""));
    if (kind == TextureKind::Plain) {
        bool opaque = true;
        for (std::size_t i = 3; i < rgba.size() && opaque; i += 4)
            opaque = rgba[i] == 255;
        im.opaque = opaque;
        FindVisibleBoxes(im, rgba);
    }
    return t;
}

Image* NewImage(DecodedPicture&& pic, int flags) {
    auto* im = new Image;
    im->flags = flags;
    im->src_w = pic.width;
    im->src_h = pic.height;
    im->bytes_per_pixel = pic.bytes_per_pixel;
    im->pixel_format = pic.bytes_per_pixel == 4 ? PF_RGBA8888 : PF_RGB888;
    im->pixels = std::move(pic.pixels);
    im->tex_w = im->src_w;
    im->tex_h = im->src_h;
    AllImages().push_back(im);
    return im;
}

} // namespace

Image* Image_FromPicture(DecodedPicture&& pic, int flags) {
    Image* im = NewImage(std::move(pic), NormalisedFlags(flags));
    im->width = im->src_w;
    im->height = im->src_h;
    im->frames = 1;
    im->frame_x = {0};
    im->frame_y = {0};
    return im;
}

Image* LoadImage(const std::string& url, int flags) {
    DecodedPicture pic;
    if (!LoadPicture(url, pic)) return nullptr;
    Image* im = Image_FromPicture(std::move(pic), flags);
    im->name = url;
    return im;
}

Image* LoadAnimImage(const std::string& url, int cellw, int cellh, int first, int count,
                     int flags) {
    if (cellw <= 0 || cellh <= 0 || first < 0 || count <= 0) return nullptr;
    DecodedPicture pic;
    if (!LoadPicture(url, pic)) return nullptr;
    long long cols = pic.width / cellw, rows = pic.height / cellh;
    if (static_cast<long long>(first) + count > cols * rows) return nullptr;
    Image* im = NewImage(std::move(pic), NormalisedFlags(flags));
    im->name = url;
    im->width = cellw;
    im->height = cellh;
    im->frames = count;
    for (int f = 0; f < count; ++f) {
        long long cell = first + f;
        im->frame_x.push_back(static_cast<int>(cell % cols) * cellw);
        im->frame_y.push_back(static_cast<int>(cell / cols) * cellh);
    }
    return im;
}

void MidHandleImage(Image* image) {
    if (!image) return;
    image->handle_x = image->width * 0.5f;
    image->handle_y = image->height * 0.5f;
}

void SetImageHandle(Image* image, float x, float y) {
    if (!image) return;
    image->handle_x = x;
    image->handle_y = y;
}

int ImageWidth(Image* image) {
    return image ? image->width : 0;
}

int ImageHeight(Image* image) {
    return image ? image->height : 0;
}

bool LockImage(Image* image, int frame, bool, bool write, LockedPixels* out) {
    if (!image || !out || frame < 0 || frame >= image->frames || image->pixels.empty())
        return false;
    image->write_locked = image->write_locked || write;
    int bpp = image->bytes_per_pixel;
    out->pitch = image->src_w * bpp;
    out->data = image->pixels.data() + std::size_t(image->frame_y[frame]) * out->pitch +
                std::size_t(image->frame_x[frame]) * bpp;
    out->width = image->width;
    out->height = image->height;
    out->format = image->pixel_format;
    return true;
}

void UnlockImage(Image* image, int frame) {
    if (!image || frame < 0 || frame >= image->frames) return;
    // A picture only read (the spark bursts read their icon's shape) keeps its textures.
    if (!image->write_locked) return;
    image->write_locked = false;
    Frame_TexturesChanging(); // sprites drawn before the change keep the old pixels
    image->opaque = false;    // not looked at again: the pixels may change every frame
    image->visible.clear();
    image->visible_parts.clear();
    image->opaque_from.clear();
    for (SDL_Texture** t : {&image->mask_texture, &image->shade_texture}) {
        if (*t) SDL_DestroyTexture(*t);
        *t = nullptr;
    }
    if (!image->texture) return; // made from the new pixels at the next draw
    int bpp = image->bytes_per_pixel, w = image->width, h = image->height;
    std::vector<std::uint8_t> rgba(std::size_t(w) * h * 4);
    for (int y = 0; y < h; ++y) {
        const std::uint8_t* src =
            image->pixels.data() +
            (std::size_t(image->frame_y[frame] + y) * image->src_w + image->frame_x[frame]) * bpp;
        for (int x = 0; x < w; ++x, src += bpp) {
            std::uint8_t* d = &rgba[(std::size_t(y) * w + x) * 4];
            std::memcpy(d, src, 3);
            d[3] = bpp == 4 ? src[3] : 255;
        }
    }
    SDL_Rect area{image->frame_x[frame], image->frame_y[frame], w, h};
    SDL_UpdateTexture(image->texture, &area, rgba.data(), w * 4);
}

SDL_Texture* Image_Texture(Image* image, TextureKind kind) {
    SDL_Texture** slot = kind == TextureKind::Mask    ? &image->mask_texture
                         : kind == TextureKind::Shade ? &image->shade_texture
                                                      : &image->texture;
    if (!*slot) *slot = MakeTexture(*image, kind);
    return *slot;
}

void Image_DropTextures(Image* image) {
    Frame_TexturesChanging();
    for (SDL_Texture** t : {&image->texture, &image->mask_texture, &image->shade_texture}) {
        if (*t) SDL_DestroyTexture(*t);
        *t = nullptr;
    }
}

void Image_DropAllTextures() {
    for (Image* im : AllImages())
        Image_DropTextures(im);
}
