// Frame drawing cost on the headless display: four full-screen layers and 2,000 rotated,
// scaled, alpha-blended 48 x 48 sprites per frame. Prints the median milliseconds per frame for
// the GL renderer and for SDL's software renderer.
//
//   bench_draw [--frames N] [--software-frames N] [--screenshot FILE] [--only layers|sprites]
#include "engine/gfx.h"
#include "engine/gfx_internal.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include <ctime>

namespace {

constexpr int kSprites = 2000, kLayers = 4, kSpriteSize = 48;
bool no_layers = false, no_sprites = false; // --only sprites / --only layers, for a breakdown

Image* LayerPicture(int layer) {
    DecodedPicture pic;
    pic.width = 800;
    pic.height = 600;
    pic.bytes_per_pixel = 4;
    pic.pixels.resize(800 * 600 * 4);
    for (int y = 0; y < 600; ++y)
        for (int x = 0; x < 800; ++x) {
            std::uint8_t* p = &pic.pixels[(std::size_t(y) * 800 + x) * 4];
            p[0] = std::uint8_t(20 + layer * 40);
            p[1] = std::uint8_t(y * 255 / 600);
            p[2] = std::uint8_t(x * 255 / 800);
            p[3] = layer == 0 ? 255 : std::uint8_t(((x / 40 + y / 40 + layer) % 3) * 100);
        }
    return Image_FromPicture(std::move(pic), IMG_FILTERED);
}

// A strip of 8 frames of a soft round gem, as the game's animations are laid out.
Image* SpriteStrip() {
    DecodedPicture pic;
    pic.width = kSpriteSize * 8;
    pic.height = kSpriteSize;
    pic.bytes_per_pixel = 4;
    pic.pixels.resize(std::size_t(pic.width) * pic.height * 4);
    for (int y = 0; y < pic.height; ++y)
        for (int x = 0; x < pic.width; ++x) {
            int f = x / kSpriteSize;
            float dx = float(x % kSpriteSize) - 23.5f, dy = float(y) - 23.5f;
            float d = std::sqrt(dx * dx + dy * dy) / 24.0f;
            std::uint8_t* p = &pic.pixels[(std::size_t(y) * pic.width + x) * 4];
            p[0] = std::uint8_t(120 + f * 16), p[1] = std::uint8_t(200 - f * 10), p[2] = 255;
            p[3] = std::uint8_t(std::clamp(1.0f - d, 0.0f, 1.0f) * 255);
        }
    Image* im = Image_FromPicture(std::move(pic), IMG_FILTERED);
    im->width = kSpriteSize;
    im->frames = 8;
    im->frame_x.clear();
    im->frame_y.clear();
    for (int f = 0; f < 8; ++f)
        im->frame_x.push_back(f * kSpriteSize), im->frame_y.push_back(0);
    MidHandleImage(im);
    return im;
}

void DrawFrame(const std::vector<Image*>& layers, Image* sprite, int n) {
    ResetDrawingState();
    Cls();
    SetBlend(BLEND_SOLID);
    if (!no_layers) DrawImage(layers[0], 0, 0);
    SetBlend(BLEND_ALPHA);
    for (int i = 1; i < kLayers && !no_layers; ++i)
        DrawImage(layers[i], float(-i * (n % 7)), 0);
    for (int i = 0; i < kSprites && !no_sprites; ++i) {
        float t = float(i) * 0.37f + float(n) * 0.05f;
        SetAlpha(0.4f + 0.6f * float((i * 7) % 10) / 10.0f);
        SetRotation(float((i * 13 + n * 3) % 360));
        float s = 0.6f + 0.4f * std::sin(t);
        SetScale(s, s);
        DrawImage(sprite, 400 + 380 * std::sin(t * 1.3f), 300 + 280 * std::cos(t * 0.7f), i % 8);
    }
    Flip(0);
}

// Processor time of the whole process, the rasteriser's threads included: on a busy machine it
// says more about the work per frame than the wall clock does.
double CpuMs() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) * 1000.0 + double(t.tv_nsec) / 1e6;
}

struct Figures {
    double wall_ms = -1, cpu_ms = -1;
};

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

// Opens the display, draws warm-up frames, then times `frames` frames. A read-back of the canvas
// after the last frame makes sure the rasteriser has finished the work being timed.
Figures RunRenderer(bool software, int frames, const char* screenshot, std::string* name) {
    Graphics_SetForceSoftware(software);
    DisplayOptions o;
    o.headless = true;
    if (!Graphics_Open(o)) return {};
    *name = Graphics_RendererName();
    std::vector<Image*> layers;
    for (int i = 0; i < kLayers; ++i)
        layers.push_back(LayerPicture(i));
    Image* sprite = SpriteStrip();
    std::vector<std::uint8_t> rgba;
    for (int n = 0; n < 3; ++n)
        DrawFrame(layers, sprite, n);
    Graphics_ReadPixels(rgba, nullptr, nullptr);
    std::vector<double> times, cpu;
    for (int n = 0; n < frames; ++n) {
        auto start = std::chrono::steady_clock::now();
        double cpu_start = CpuMs();
        DrawFrame(layers, sprite, n);
        // A one-pixel read-back waits until the frame is really drawn.
        SDL_Rect one{0, 0, 1, 1};
        std::uint32_t pixel;
        SDL_RenderReadPixels(Gfx_Renderer(), &one, SDL_PIXELFORMAT_RGBA32, &pixel, 4);
        times.push_back(
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                .count());
        cpu.push_back(CpuMs() - cpu_start);
    }
    if (screenshot) {
        DrawFrame(layers, sprite, 0);
        Graphics_SaveScreenshot(screenshot);
    }
    Graphics_Close();
    Graphics_SetForceSoftware(false);
    return Figures{Median(times), Median(cpu)};
}

void Report(const std::string& name, const Figures& f, int frames) {
    std::printf("%-10s %d layers + %d sprites: median %7.2f ms/frame wall, %7.2f ms processor "
                "(%d frames)\n",
                name.c_str(), kLayers, kSprites, f.wall_ms, f.cpu_ms, frames);
}

} // namespace

int main(int argc, char** argv) {
    int frames = 60, soft_frames = 10;
    const char* screenshot = nullptr;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (!std::strcmp(argv[i], "--frames")) frames = std::max(1, std::atoi(argv[i + 1]));
        if (!std::strcmp(argv[i], "--software-frames")) soft_frames = std::atoi(argv[i + 1]);
        if (!std::strcmp(argv[i], "--screenshot")) screenshot = argv[i + 1];
        if (!std::strcmp(argv[i], "--only")) {
            no_layers = !std::strcmp(argv[i + 1], "sprites");
            no_sprites = !std::strcmp(argv[i + 1], "layers");
        }
    }
    std::string name;
    Figures gl = RunRenderer(false, frames, screenshot, &name);
    if (gl.wall_ms < 0) {
        std::fprintf(stderr, "bench_draw: cannot open the headless display\n");
        return 1;
    }
    Report(name, gl, frames);
    if (soft_frames > 0) {
        Figures soft = RunRenderer(true, soft_frames, nullptr, &name);
        Report(name, soft, soft_frames);
    }
    return 0;
}
