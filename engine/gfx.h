// Drawing, pictures, fonts and the display: a small immediate-mode 2D layer over SDL2's renderer.
//
// One current drawing state (colour, alpha, blend, scale, rotation, viewport, font) is used by
// every drawing call until it is changed. Coordinates are pixels of the 800 x 600 canvas, origin
// top-left, y down; positive rotation turns clockwise on screen.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

// Blend modes: the numbers are stored in saved settings and passed as plain integers.
enum : int {
    BLEND_MASK = 1,  // no blending; pixels with alpha below 0.5 are cut, the rest overwrite
    BLEND_SOLID = 2, // no blending, no alpha test
    BLEND_ALPHA = 3, // source x alpha + destination x (1 - alpha)
    BLEND_LIGHT = 4, // additive
    BLEND_SHADE = 5, // multiplicative
};

// Image flags given at load time; they combine by adding.
enum : int {
    IMG_MASKED = 1,
    IMG_FILTERED = 2,
    IMG_MIPMAPPED = 4,
    IMG_DYNAMIC = 8,
    IMG_DEFAULT = -1, // selects IMG_MASKED + IMG_FILTERED
};

// Pixel format codes reported by LockImage.
enum : int {
    PF_BGR888 = 3,
    PF_RGB888 = 4,
    PF_BGRA8888 = 5,
    PF_RGBA8888 = 6,
};

struct SDL_Texture;
struct Font;

// A picture of one or more equally sized frames. Owned by the engine for the whole run.
struct Image {
    int width = 0, height = 0; // size of one frame
    float handle_x = 0.0f,
          handle_y = 0.0f; // placed at the drawing position; pivot of scale/rotation
    int frames = 1;
    int flags = 0;
    // Backing store: the frames laid out in one texture as cut from the source picture.
    SDL_Texture* texture = nullptr;
    SDL_Texture* mask_texture =
        nullptr; // alpha-thresholded copy used by BLEND_MASK, made on demand
    SDL_Texture* shade_texture =
        nullptr; // copy with premultiplied alpha used by BLEND_SHADE, made on demand
    int tex_w = 0, tex_h = 0;
    bool opaque = false; // every pixel of the texture has full alpha (known once it is made)
    // Per frame, the smallest box {x, y, w, h} (within the frame) outside which every pixel is
    // fully transparent; known once the texture is made, empty when not known.
    std::vector<std::array<int, 4>> visible;
    // Per frame, for large frames with wide empty stretches (clouds, landscapes): boxes that do
    // not overlap and hold every pixel with any alpha, much less area than the visible box;
    // empty when the visible box is all there is.
    std::vector<std::vector<std::array<int, 4>>> visible_parts;
    // Per frame, the first row of the band of fully opaque rows that ends at the frame's bottom
    // (the height when its last row is not fully opaque); known once the texture is made.
    std::vector<int> opaque_from;
    std::vector<int> frame_x, frame_y; // top-left of each frame inside the texture
    bool write_locked = false;         // a lock asked to write: the unlock uploads the pixels
    // Decoded pixels, kept for IMG_DYNAMIC images (LockImage) and for re-creating textures.
    int pixel_format = PF_RGBA8888;
    int bytes_per_pixel = 4;
    std::vector<std::uint8_t> pixels; // whole source picture, rows of src_w pixels
    int src_w = 0, src_h = 0;
    std::string name; // where it was loaded from (empty when made in memory)
};

// The pixels of one frame, as given by LockImage.
struct LockedPixels {
    std::uint8_t* data = nullptr; // first pixel of the frame
    int pitch = 0;                // bytes from one row to the next
    int width = 0, height = 0;
    int format = 0; // PF_ code
};

// ---- Display ------------------------------------------------------------------------------

struct DisplayOptions {
    int width = 800, height = 600; // logical canvas
    bool fullscreen = false;       // desktop resolution, canvas letterboxed
    bool headless = false;         // offscreen video driver, no window
    std::string title = "Snowmere";
};

bool Graphics_Open(const DisplayOptions& opts); // opens or re-opens; pictures and fonts stay usable
void Graphics_Close();
bool Graphics_IsOpen();
bool Graphics_IsHeadless();
const char* Graphics_RendererName(); // e.g. "opengles2" or "software"
// The desktop's size (the canvas size headless); false when no display can be reached.
bool Graphics_DesktopSize(int* w, int* h);
void Graphics_SetForceSoftware(bool on); // tests and benchmarks: pick SDL's software renderer
void Graphics_MaximizeWindowHint(bool* maximized, bool* minimized, bool* visible);

// With drawing off every drawing call does nothing and a frame holds no picture, while pacing
// and the fixed frame time go on as before: the rules run alone, many times faster.
void Graphics_SetDrawing(bool on);
bool Graphics_Drawing();

// Presents the frame, paced to 60 Hz (vsync where available, else a millisecond timer).
void Flip(int sync = -1);
// Reads back the canvas as it stands (before Flip) as RGBA rows, 800 x 600.
bool Graphics_ReadPixels(std::vector<std::uint8_t>& rgba, int* w, int* h);
// Writes the canvas as it stands to a PNG file; true on success.
bool Graphics_SaveScreenshot(const std::string& path);

// ---- Drawing state ------------------------------------------------------------------------

void SetColor(int r, int g, int b);
void GetColor(int* r, int* g, int* b);
void SetAlpha(float a);
float GetAlpha();
void SetBlend(int mode);
int GetBlend();
void SetScale(float sx, float sy);
void GetScale(float* sx, float* sy);
void SetRotation(float deg);
float GetRotation();
void SetViewport(int x, int y, int w, int h);
void GetViewport(int* x, int* y, int* w, int* h);
void SetClsColor(int r, int g, int b);
void Cls();
void SetImageFont(Font* font); // nullptr selects the built-in font
Font* GetImageFont();
void SetLineWidth(float w);
void ResetDrawingState(); // back to the starting values

// ---- Drawing ------------------------------------------------------------------------------

void DrawImage(Image* image, float x, float y, int frame = 0);
void DrawImageRect(Image* image, float x, float y, float w, float h, int frame = 0);
void DrawRect(float x, float y, float w, float h);
void DrawLine(float x1, float y1, float x2, float y2);
void Plot(float x, float y);
void DrawText(const std::string& text, float x, float y);
int TextWidth(const std::string& text);
int TextHeight();
// Draws text centred on (x, y), both ways.
void DrawTextCentered(const std::string& text, int x, int y);

// ---- Pictures and fonts -------------------------------------------------------------------

Image* LoadImage(const std::string& url, int flags = IMG_DEFAULT);
Image* LoadAnimImage(const std::string& url, int cellw, int cellh, int first, int count,
                     int flags = IMG_DEFAULT);
void MidHandleImage(Image* image);
void SetImageHandle(Image* image, float x, float y);
int ImageWidth(Image* image);
int ImageHeight(Image* image);

// Drawing shortcuts that leave every pixel as it was: pictures sent only over their visible box,
// opaque bands drawn unblended, draws that share no pixel merged into fewer calls, the scene
// under the landscape's opaque foot left out. Off only to check that they change nothing (tests,
// and SNOW_PLAIN_DRAWING set in the environment at start).
extern bool Graphics_Shortcuts;
// How many drawing calls (fills and batches of quads) the last frame ended by Flip recorded.
int Graphics_LastFrameCalls();
// The first row of the frame's fully opaque bottom band (the frame's height when it has none),
// or -1 while not known (the picture has not been drawn yet, or its pixels were written).
int ImageOpaqueFrom(Image* image, int frame);
bool LockImage(Image* image, int frame, bool read, bool write, LockedPixels* out);
void UnlockImage(Image* image, int frame); // uploads the pixels if the lock could write

enum : int { FONT_BOLD = 1, FONT_SMOOTH = 4 };
Font* LoadImageFont(const std::string& url, int size, int style = 0);
