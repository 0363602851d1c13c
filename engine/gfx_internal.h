// Shared internals of the drawing layer: decoded pictures, the texture cache, the sprite batch.
#pragma once

#include "engine/gfx.h"

#include <SDL.h>

#include <cstdint>
#include <string>
#include <vector>

// A decoded picture: rows of width pixels, 3 bytes (R, G, B) or 4 bytes (R, G, B, A) each.
struct DecodedPicture {
    int width = 0, height = 0;
    int bytes_per_pixel = 0;
    std::vector<std::uint8_t> pixels;
};

// Largest picture side we accept; anything bigger is treated as a damaged file.
constexpr int kMaxPictureSide = 16384;
constexpr long long kMaxPicturePixels = 64LL * 1024 * 1024;

bool Image_DecodePng(const std::uint8_t* data, std::size_t size, DecodedPicture& out);
bool Image_DecodeJpeg(const std::uint8_t* data, std::size_t size, DecodedPicture& out);
// Picks the decoder from the file's signature.
bool Image_Decode(const std::vector<std::uint8_t>& bytes, DecodedPicture& out);
// Encodes RGBA rows as an RGB or RGBA PNG in memory.
bool Image_EncodePng(const std::uint8_t* rgba, int w, int h, bool keep_alpha,
                     std::vector<std::uint8_t>& out);

// Makes an engine image from decoded pixels (registered for texture re-creation).
Image* Image_FromPicture(DecodedPicture&& pic, int flags);

// Texture cache. The three textures of an image are made on first use by a renderer.
enum class TextureKind { Plain, Mask, Shade };
SDL_Texture* Image_Texture(Image* image, TextureKind kind);
// Drops every texture (the renderer is going away); pixels stay, textures come back on demand.
void Image_DropAllTextures();
void Image_DropTextures(Image* image);

// Current renderer and canvas (nullptr when no display is open).
SDL_Renderer* Gfx_Renderer();
// Waits until the renderer has drawn everything sent to it (GL renderers only).
void Display_WaitForRenderer();

// Sprite batch: quads with the same texture and blend mode go to the renderer in one call.
struct Quad {
    float x[4], y[4]; // corners: top-left, top-right, bottom-right, bottom-left
    float u0, v0, u1, v1;
};
// linear: sample the texture with bilinear filtering (else nearest texel).
void Batch_AddQuad(SDL_Texture* tex, SDL_BlendMode mode, bool linear, const Quad& q, SDL_Color c);
// Ends the batch as one recorded command of the frame.
void Batch_Flush();

// The frame's recorded drawing. Frame_Submit sends what is recorded so far to the renderer (before
// the canvas is read, or the renderer is used directly); Frame_TexturesChanging does the same
// before a texture's pixels change or a texture goes away. Frame_End sends the rest, or nothing
// when the frame was recorded exactly as the last one and covers the whole canvas (its picture is
// already there); it says which. Frame_Discard forgets everything (the renderer is going away).
void Frame_Submit();
void Frame_TexturesChanging();
bool Frame_End();
void Frame_Discard();

// Drawing state helpers used by text and shapes.
struct Transform {
    float ix, iy, jx, jy;
};
Transform Gfx_CurrentTransform();
// The vertex colour and SDL blend mode for the current state; kind says which texture to use.
void Gfx_BlendSetup(bool textured, SDL_Color* color, SDL_BlendMode* mode, TextureKind* kind);
// Draws a sub-rectangle (sx, sy, sw, sh) of an image's texture as a quad with corners
// (x0, y0)-(x1, y1) relative to the origin (ox, oy), under transform t. visible, when given, is
// the part of the sub-rectangle {x, y, w, h} outside which every pixel is fully transparent;
// parts, when given, boxes inside the sub-rectangle that hold all its visible pixels.
void Gfx_DrawTexturedQuad(Image* image, int sx, int sy, int sw, int sh, float ox, float oy,
                          float x0, float y0, float x1, float y1, const Transform& t,
                          const std::array<int, 4>* visible = nullptr,
                          const std::vector<std::array<int, 4>>* parts = nullptr);

// Fonts.
struct Glyph {
    bool present = false;
    int advance = 0;
    int off_x = 0, off_y = 0; // top-left of the glyph box relative to the pen (top of the line)
    int w = 0, h = 0;
    int atlas_x = 0, atlas_y = 0;
};
struct Font {
    Image* atlas = nullptr;
    Glyph glyphs[256];
    int line_height = 0;
};
Font* Font_BuiltIn();

// Display internals shared with the drawing code.
void Gfx_CanvasSize(int* w, int* h);
// True when the canvas fills an out_w x out_h window (letterboxed) at a whole multiple of its
// size, which nearest-pixel scaling shows crisply; other sizes are scaled smoothly.
bool Display_ScalesCrisply(int out_w, int out_h, int canvas_w, int canvas_h);
// Re-applies the viewport as the renderer's clip rectangle (after the render target changes).
void Gfx_ApplyClip();
// Forgets queued sprites without drawing them (the renderer is going away).
void Batch_Discard();
