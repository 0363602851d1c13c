// The display: a window (or, headless, an offscreen one) with a renderer, and the canvas, an
// 800 x 600 render-target texture every drawing call goes to. The canvas is copied to the window,
// scaled and letterboxed, only when a frame is presented, so its pixels persist from frame to
// frame and can be read back at any time.
#include "engine/draw_profile.h"
#include "engine/gfx_internal.h"
#include "engine/stream.h"
#include "engine/system.h"

#include <cstdint>
#include <cstdio>
#include <set>

#ifdef __linux__
#include <dlfcn.h>
#include <link.h>
#endif

namespace {

struct Display {
    SDL_Window* window = nullptr;
    SDL_Renderer* renderer = nullptr;
    SDL_Texture* canvas = nullptr;
    DisplayOptions opts;
    std::string renderer_name;
    bool vsync = false;
    bool force_software = false;
    double pace_due_ms = 0; // when the next frame may be presented (timer pacing)
    double last_flip_ms = 0;
    void (*gl_finish)() = nullptr;  // the GL renderers' glFinish, to wait for a frame headless
    bool probe_holds_video = false; // the desktop probe keeps the video system (and X) open
    bool shown = false;             // a window stays hidden until its first frame is presented
    double last_present_ms = 0;
};
Display g;

constexpr double kFramePeriodMs = 1000.0 / 60.0;
constexpr double kStillPresentMs = 250.0; // how often an unchanged picture is presented again

double NowMs() {
    return double(SDL_GetPerformanceCounter()) * 1000.0 / double(SDL_GetPerformanceFrequency());
}

int RenderDriverIndex(const char* name) {
    for (int i = 0; i < SDL_GetNumRenderDrivers(); ++i) {
        SDL_RendererInfo info;
        if (SDL_GetRenderDriverInfo(i, &info) == 0 && SDL_strcmp(info.name, name) == 0) return i;
    }
    return -1;
}

// Renderers in the order we try them, named in both modes: a renderer SDL picks by itself also
// gets SDL's command batching, which under Mesa's software rasteriser costs the window's main
// thread about fifteen times what the frame costs unbatched (our own sprite batch already merges
// the draws). SDL's desktop GL renderer costs a little less per frame than its GL ES 2 one, in a
// window and headless (GL over EGL there). SDL's own software renderer is only the last resort.
std::vector<int> RendererCandidates() {
    std::vector<int> out;
    if (!g.force_software) {
        for (const char* name : {"opengl", "opengles2"})
            if (int i = RenderDriverIndex(name); i >= 0) out.push_back(i);
    }
    out.push_back(RenderDriverIndex("software"));
    return out;
}

bool CreateWindow(const DisplayOptions& o, bool with_gl) {
    // Hidden until the first frame is presented, so the player never sees it empty.
    Uint32 flags = SDL_WINDOW_RESIZABLE | SDL_WINDOW_HIDDEN | (with_gl ? SDL_WINDOW_OPENGL : 0);
    if (o.fullscreen && !o.headless) flags |= SDL_WINDOW_FULLSCREEN_DESKTOP;
    g.window = SDL_CreateWindow(o.title.c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                                o.width, o.height, flags);
    return g.window != nullptr;
}

// Vsync only paces correctly when the display refreshes at the rate we want; otherwise the
// millisecond timer does it.
bool WantVsync(const DisplayOptions& o) {
    if (o.headless) return false;
    SDL_DisplayMode mode;
    int index = SDL_GetWindowDisplayIndex(g.window);
    if (SDL_GetCurrentDisplayMode(index < 0 ? 0 : index, &mode) != 0) return false;
    return mode.refresh_rate >= 59 && mode.refresh_rate <= 61;
}

bool CreateCanvas(const DisplayOptions& o) {
    g.canvas = SDL_CreateTexture(g.renderer, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_TARGET,
                                 o.width, o.height);
    if (!g.canvas || SDL_SetRenderTarget(g.renderer, g.canvas) != 0) return false;
    // The canvas is an opaque picture: its alpha channel (left over from solid draws of
    // transparent pixels) must not darken it on the way to the window.
    SDL_SetTextureBlendMode(g.canvas, SDL_BLENDMODE_NONE);
    SDL_SetRenderDrawBlendMode(g.renderer, SDL_BLENDMODE_NONE);
    SDL_SetRenderDrawColor(g.renderer, 0, 0, 0, 255);
    SDL_RenderClear(g.renderer); // a fresh texture holds anything
    return true;
}

void DestroyRenderer() {
    Frame_Discard();
    Image_DropAllTextures(); // they belong to this renderer
    if (g.canvas) SDL_DestroyTexture(g.canvas);
    if (g.renderer) SDL_DestroyRenderer(g.renderer);
    g.canvas = nullptr;
    g.renderer = nullptr;
}

bool TryRenderer(const DisplayOptions& o, int index) {
    Uint32 flags = SDL_RENDERER_TARGETTEXTURE;
    g.renderer = SDL_CreateRenderer(g.window, index, flags);
    if (!g.renderer) return false;
    SDL_RendererInfo info;
    SDL_GetRendererInfo(g.renderer, &info);
    g.renderer_name = info.name;
    // Mouse positions in window pixels map back to canvas pixels through the logical size, set
    // while the window itself is the target.
    SDL_RenderSetLogicalSize(g.renderer, o.width, o.height);
    if (!CreateCanvas(o)) {
        DestroyRenderer();
        return false;
    }
    g.vsync = WantVsync(o) && SDL_RenderSetVSync(g.renderer, 1) == 0;
    g.gl_finish = nullptr;
    if (g.renderer_name.rfind("opengl", 0) == 0)
        g.gl_finish = reinterpret_cast<void (*)()>(SDL_GL_GetProcAddress("glFinish"));
    return true;
}

#ifdef __linux__
int CollectObject(dl_phdr_info* info, size_t, void* out) {
    if (info->dlpi_name && info->dlpi_name[0])
        static_cast<std::set<std::string>*>(out)->insert(info->dlpi_name);
    return 0;
}

std::set<std::string> LoadedObjects() {
    std::set<std::string> names;
    dl_iterate_phdr(CollectObject, &names);
    return names;
}

// The libraries a renderer pulls in (EGL, the GL driver, its compiler) stay loaded for the whole
// run: re-opening the display then does not load them again, and their drivers' own state,
// which they never free on unloading, stays reachable instead of showing up as leaks.
void KeepLoaded(const std::set<std::string>& before) {
    for (const std::string& name : LoadedObjects())
        if (!before.count(name)) dlopen(name.c_str(), RTLD_LAZY | RTLD_NOLOAD | RTLD_NODELETE);
}
#else
std::set<std::string> LoadedObjects() {
    return {};
}
void KeepLoaded(const std::set<std::string>&) {}
#endif

// SDL's video drivers that show nothing on a screen. SDL falls back to them when no display can
// be reached, which would leave a game running invisibly.
bool IsInvisibleDriver(const char* name) {
    return name && (!SDL_strcmp(name, "offscreen") || !SDL_strcmp(name, "dummy") ||
                    !SDL_strcmp(name, "evdev"));
}

// Starts SDL's video system on a real screen; says why when there is none.
bool InitScreenVideo() {
    SDL_ResetHint(SDL_HINT_VIDEODRIVER);
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
        std::fprintf(stderr, "display: cannot open the display: %s\n", SDL_GetError());
        return false;
    }
    if (IsInvisibleDriver(SDL_GetCurrentVideoDriver())) {
        const char* x = SDL_getenv("DISPLAY");
        std::fprintf(stderr,
                     "display: cannot open the display%s%s (no screen to show a window on)\n",
                     x ? " " : "", x ? x : "");
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        return false;
    }
    return true;
}

bool InitVideo(bool headless) {
    if (!headless) return InitScreenVideo();
    SDL_SetHint(SDL_HINT_VIDEODRIVER, "offscreen");
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) == 0) return true;
    std::fprintf(stderr, "display: %s\n", SDL_GetError());
    return false;
}

// The desktop probe's hold on the video system passes to the display once the display has its
// own, so the connection to the screen stays open throughout: a display server that resets when
// its last client leaves would refuse the next connection.
void ReleaseProbe() {
    if (!g.probe_holds_video) return;
    g.probe_holds_video = false;
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

bool OpenFresh(const DisplayOptions& o) {
    std::set<std::string> before = LoadedObjects();
    if (o.headless) ReleaseProbe(); // a headless display needs the offscreen driver
    SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "linear"); // canvas scaling to the window
    if (!InitVideo(o.headless)) return false;
    ReleaseProbe();
    for (int index : RendererCandidates()) {
        bool software = index >= 0 && index == RenderDriverIndex("software");
        if (!g.window && !CreateWindow(o, !software) && !CreateWindow(o, false)) break;
        KeepLoaded(before); // also what a renderer's window re-creation would unload
        if (TryRenderer(o, index)) {
            KeepLoaded(before);
            return true;
        }
        // A window made for GL may refuse a software renderer and the other way round.
        SDL_DestroyWindow(g.window);
        g.window = nullptr;
    }
    std::fprintf(stderr, "display: no renderer: %s\n", SDL_GetError());
    if (g.window) SDL_DestroyWindow(g.window);
    g.window = nullptr;
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
    return false;
}

void PaceFrame(bool display_paced) {
    double now = NowMs();
    if (display_paced && now - g.last_flip_ms >= kFramePeriodMs * 0.5) {
        g.pace_due_ms = 0;
    } else if (g.pace_due_ms == 0 || now > g.pace_due_ms + kFramePeriodMs) {
        g.pace_due_ms = now; // first frame, or far behind: start afresh rather than rush
    } else {
        while (now + 1.0 <= g.pace_due_ms) {
            SDL_Delay(Uint32(g.pace_due_ms - now));
            now = NowMs();
        }
    }
    if (g.pace_due_ms != 0) g.pace_due_ms += kFramePeriodMs; // the remainder carries over
    g.last_flip_ms = now;
}

} // namespace

#if defined(__SANITIZE_ADDRESS__)
// The GL dispatch libraries keep the main thread's current-context state in thread storage the
// leak checker does not scan; it is released by the system at exit, not by us.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:*libGLdispatch.so*\nleak:*libglapi.so*\n";
}
#endif

bool Display_ScalesCrisply(int out_w, int out_h, int canvas_w, int canvas_h) {
    if (out_w <= 0 || out_h <= 0 || canvas_w <= 0 || canvas_h <= 0) return false;
    // The letterbox scale is the smaller of the two ratios; it is whole when that side's window
    // size is an exact multiple of the canvas's.
    const bool width_limits =
        static_cast<long long>(out_w) * canvas_h <= static_cast<long long>(out_h) * canvas_w;
    return width_limits ? out_w % canvas_w == 0 : out_h % canvas_h == 0;
}

SDL_Renderer* Gfx_Renderer() {
    return g.renderer;
}

void Gfx_CanvasSize(int* w, int* h) {
    *w = g.canvas ? g.opts.width : 800;
    *h = g.canvas ? g.opts.height : 600;
}

bool Graphics_Open(const DisplayOptions& opts) {
    if (opts.width <= 0 || opts.height <= 0) return false;
    bool same_kind = g.renderer && opts.headless == g.opts.headless && opts.width == g.opts.width &&
                     opts.height == g.opts.height;
    if (same_kind && !opts.headless) {
        // Switching between window and full screen keeps the renderer and every texture.
        Frame_Submit();
        SDL_SetWindowFullscreen(g.window, opts.fullscreen ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0);
        SDL_SetWindowTitle(g.window, opts.title.c_str());
        g.opts = opts;
        return true;
    }
    Graphics_Close();
    if (!OpenFresh(opts)) return false;
    g.opts = opts;
    Gfx_ApplyClip();
    return true;
}

void Graphics_Close() {
    if (!g.window && !g.renderer) return;
    DrawProfile_Report();
    DestroyRenderer();
    if (g.window) SDL_DestroyWindow(g.window);
    g.window = nullptr;
    g.renderer_name.clear();
    g.pace_due_ms = 0;
    g.shown = false;
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

bool Graphics_IsOpen() {
    return g.renderer != nullptr;
}

bool Graphics_IsHeadless() {
    return g.renderer && g.opts.headless;
}

const char* Graphics_RendererName() {
    return g.renderer ? g.renderer_name.c_str() : "";
}

bool Graphics_DesktopSize(int* w, int* h) {
    *w = 800;
    *h = 600;
    SDL_DisplayMode mode;
    if (g.window && !g.opts.headless) {
        int index = SDL_GetWindowDisplayIndex(g.window);
        if (SDL_GetDesktopDisplayMode(index < 0 ? 0 : index, &mode) == 0) *w = mode.w, *h = mode.h;
        return true;
    }
    if (System_Headless() || g.window) return true; // no desktop: the canvas size stands in
    // Asked before the display opens: the video system started here stays up for the display.
    if (!g.probe_holds_video) {
        if (!InitScreenVideo()) return false;
        g.probe_holds_video = true;
    }
    if (SDL_GetDesktopDisplayMode(0, &mode) == 0) *w = mode.w, *h = mode.h;
    return true;
}

void Graphics_SetForceSoftware(bool on) {
    g.force_software = on;
}

void Graphics_MaximizeWindowHint(bool* maximized, bool* minimized, bool* visible) {
    Uint32 f = g.window ? SDL_GetWindowFlags(g.window) : 0;
    if (maximized) *maximized = f & SDL_WINDOW_MAXIMIZED;
    if (minimized) *minimized = f & SDL_WINDOW_MINIMIZED;
    if (visible) *visible = g.window && (f & SDL_WINDOW_SHOWN) && !(f & SDL_WINDOW_HIDDEN);
}

// Presents the canvas in the window, letterboxed: crisp at whole multiples of its size, smooth
// in between.
void Present() {
    SDL_SetRenderTarget(g.renderer, nullptr);
    int out_w = 0, out_h = 0;
    SDL_GetRendererOutputSize(g.renderer, &out_w, &out_h);
    SDL_SetTextureScaleMode(g.canvas,
                            Display_ScalesCrisply(out_w, out_h, g.opts.width, g.opts.height)
                                ? SDL_ScaleModeNearest
                                : SDL_ScaleModeLinear);
    // The letterbox bars, when the window's shape differs from the canvas's (a window of the
    // canvas's own shape is covered by the copy: clearing it first would fill it twice).
    if (std::int64_t(out_w) * g.opts.height != std::int64_t(out_h) * g.opts.width) {
        SDL_SetRenderDrawColor(g.renderer, 0, 0, 0, 255);
        SDL_RenderClear(g.renderer);
    }
    SDL_RenderCopy(g.renderer, g.canvas, nullptr, nullptr);
    if (!g.shown) {
        // The window maps with its first picture ready; presenting it once more after
        // mapping puts that picture on the new window at once.
        SDL_ShowWindow(g.window);
        SDL_RenderPresent(g.renderer);
        SDL_RenderCopy(g.renderer, g.canvas, nullptr, nullptr);
        g.shown = true;
    }
    SDL_RenderPresent(g.renderer);
    SDL_SetRenderTarget(g.renderer, g.canvas);
    Gfx_ApplyClip();
    g.last_present_ms = NowMs();
}

void Display_WaitForRenderer() {
    if (g.gl_finish) g.gl_finish();
}

void Flip(int sync) {
    bool presented = false;
    if (g.renderer) {
        // A frame drawn exactly as the last one is not drawn again; in a window the unchanged
        // picture is still presented a few times a second (the window may have been uncovered or
        // resized). Timing is unaffected: the frame is paced as any other.
        bool unchanged = Frame_End();
        if (g.opts.headless) {
            // Nothing is shown: the canvas is the picture, read back on demand. Waiting for the
            // rasteriser here keeps its queue (and the memory behind it) to one frame, and makes
            // a frame's measured cost the cost of drawing it.
            SDL_RenderFlush(g.renderer);
            if (g.gl_finish && !unchanged) g.gl_finish();
        } else if (!unchanged || !g.shown || NowMs() - g.last_present_ms >= kStillPresentMs) {
            DrawProfile_Begin();
            Present();
            if (DrawProfile_On()) Display_WaitForRenderer();
            DrawProfile_EndOther("(present: canvas to the window)");
            presented = true;
        }
    }
    DrawProfile_FrameEnd();
    if (System_FixedDelta() > 0) {
        System_AdvanceClock(System_FixedDelta());
        return;
    }
    if (sync != 0) PaceFrame(g.vsync && presented);
}

bool Graphics_ReadPixels(std::vector<std::uint8_t>& rgba, int* w, int* h) {
    if (!g.renderer) return false;
    Frame_Submit();
    int cw = g.opts.width, ch = g.opts.height;
    rgba.assign(std::size_t(cw) * ch * 4, 0);
    if (SDL_RenderReadPixels(g.renderer, nullptr, SDL_PIXELFORMAT_RGBA32, rgba.data(), cw * 4) != 0)
        return false;
    // The canvas's own alpha is meaningless on screen: the picture read back is opaque.
    for (std::size_t i = 3; i < rgba.size(); i += 4)
        rgba[i] = 255;
    if (w) *w = cw;
    if (h) *h = ch;
    return true;
}

bool Graphics_SaveScreenshot(const std::string& path) {
    std::vector<std::uint8_t> rgba, png;
    int w = 0, h = 0;
    if (!Graphics_ReadPixels(rgba, &w, &h) || !Image_EncodePng(rgba.data(), w, h, false, png))
        return false;
    return File_ReplaceAtomically(path, png.data(), png.size());
}
