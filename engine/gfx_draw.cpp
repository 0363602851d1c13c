// The drawing state and the immediate-mode drawing calls. Everything drawn becomes quads in the
// sprite batch; consecutive quads with the same texture and blend mode reach the renderer in one
// geometry call.
#include "engine/draw_profile.h"
#include "engine/gfx_internal.h"
#include "engine/system.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>

namespace {

struct DrawState {
    int r = 255, g = 255, b = 255;
    float alpha = 1.0f;
    int blend = BLEND_MASK;
    float sx = 1.0f, sy = 1.0f;
    float rotation = 0.0f;
    int vx = 0, vy = 0, vw = 800, vh = 600;
    int cls_r = 0, cls_g = 0, cls_b = 0;
    Font* font = nullptr;
    float line_width = 1.0f;
};
DrawState s;

// The pixels a quad can touch: {x0, y0, x1, y1}, ends excluded.
struct PixelBox {
    int x0 = 0, y0 = 0, x1 = 0, y1 = 0;
};

bool Overlap(const PixelBox& a, const PixelBox& b) {
    return a.x0 < b.x1 && b.x0 < a.x1 && a.y0 < b.y1 && b.y0 < a.y1;
}

// Quads waiting to become commands, in open batches of one texture, blend mode and filter each.
// A quad joins the newest open batch of its kind when no batch opened after that one holds a quad
// touching the same pixels: drawing order only matters where pixels are shared, so the canvas
// is the same, with far fewer calls (a board's tiles, ice and pieces alternate pictures).
struct Batch {
    SDL_Texture* texture = nullptr;
    SDL_BlendMode mode = SDL_BLENDMODE_NONE;
    bool linear = false;
    std::vector<SDL_Vertex> vertices;
    std::vector<int> indices;
    std::vector<PixelBox> boxes; // one per quad
    PixelBox bounds;             // of all of them
};
std::vector<Batch> open_batches;  // oldest first; their clip is the current one
std::vector<Batch> spare_batches; // emptied batches, kept for their memory
constexpr std::size_t kBatchQuads = 8192;
constexpr std::size_t kOpenBatches = 24;    // older ones are recorded as commands
constexpr std::size_t kOverlapChecks = 512; // quads looked at before a quad gives up moving back

// A frame's drawing is recorded and reaches the renderer at Flip (or earlier, when something
// needs the pixels or a texture changes). A frame recorded exactly like the last one, which
// begins by covering the whole canvas, leaves the canvas as it is: it need not be drawn again.
struct Command {
    SDL_Texture* texture = nullptr; // none: a fill of the clip rectangle (Cls) or a shape
    SDL_BlendMode mode = SDL_BLENDMODE_NONE;
    bool linear = false;
    bool fill = false;
    SDL_Rect clip{};
    SDL_Color color{};
    int first_vertex = 0, vertex_count = 0, first_index = 0, index_count = 0;
};
struct FrameRecord {
    std::vector<Command> commands;
    std::vector<SDL_Vertex> vertices;
    std::vector<int> indices;
    std::uint64_t texture_generation = 0;
    std::size_t submitted = 0; // commands already sent to the renderer
};
FrameRecord rec, last_rec;
bool last_frame_valid = false;
int last_frame_calls = 0;
std::uint64_t texture_generation = 0;

bool SameCommand(const Command& a, const Command& b) {
    return a.texture == b.texture && a.mode == b.mode && a.linear == b.linear && a.fill == b.fill &&
           SDL_RectEquals(&a.clip, &b.clip) && a.color.r == b.color.r && a.color.g == b.color.g &&
           a.color.b == b.color.b && a.color.a == b.color.a && a.first_vertex == b.first_vertex &&
           a.vertex_count == b.vertex_count && a.index_count == b.index_count;
}

bool SameFrame(const FrameRecord& a, const FrameRecord& b) {
    if (a.commands.size() != b.commands.size() || a.vertices.size() != b.vertices.size() ||
        a.indices.size() != b.indices.size() || a.texture_generation != b.texture_generation)
        return false;
    for (std::size_t i = 0; i < a.commands.size(); ++i)
        if (!SameCommand(a.commands[i], b.commands[i])) return false;
    return std::memcmp(a.vertices.data(), b.vertices.data(),
                       a.vertices.size() * sizeof(SDL_Vertex)) == 0 &&
           std::memcmp(a.indices.data(), b.indices.data(), a.indices.size() * sizeof(int)) == 0;
}

// True when the frame's first command overwrites every pixel of the canvas: a fill of the
// whole canvas, or an unblended quad over all of it.
bool CoversCanvas(const FrameRecord& f) {
    if (f.commands.empty()) return false;
    const Command& c = f.commands.front();
    int cw, ch;
    Gfx_CanvasSize(&cw, &ch);
    if (c.clip.x != 0 || c.clip.y != 0 || c.clip.w != cw || c.clip.h != ch) return false;
    if (c.fill) return true;
    if (c.mode != SDL_BLENDMODE_NONE || c.vertex_count < 4) return false;
    const SDL_Vertex* v = &f.vertices[std::size_t(c.first_vertex)];
    return v[0].position.x <= 0 && v[0].position.y <= 0 && v[1].position.x >= float(cw) &&
           v[1].position.y <= 0 && v[2].position.x >= float(cw) && v[2].position.y >= float(ch) &&
           v[3].position.x <= 0 && v[3].position.y >= float(ch);
}

Uint8 Channel(int v) {
    return Uint8(std::clamp(v, 0, 255));
}

// The visible part of the viewport, inside the canvas.
SDL_Rect ClipRect() {
    int cw, ch;
    Gfx_CanvasSize(&cw, &ch);
    int x0 = std::max(s.vx, 0), y0 = std::max(s.vy, 0);
    int x1 = std::min(s.vx + s.vw, cw), y1 = std::min(s.vy + s.vh, ch);
    return SDL_Rect{x0, y0, std::max(x1 - x0, 0), std::max(y1 - y0, 0)};
}

// Off while the rules run without pictures (Graphics_SetDrawing): nothing is recorded at all.
bool Drawing_On = true;

bool CanDraw() {
    if (!Drawing_On) return false;
    SDL_Rect clip = ClipRect();
    return Gfx_Renderer() && clip.w > 0 && clip.h > 0;
}

// Corner (cx, cy) relative to the origin (ox, oy), turned and scaled by t.
SDL_FPoint Place(const Transform& t, float ox, float oy, float cx, float cy) {
    return SDL_FPoint{ox + cx * t.ix + cy * t.jx, oy + cx * t.iy + cy * t.jy};
}

Quad TransformedQuad(const Transform& t, float ox, float oy, float x0, float y0, float x1,
                     float y1) {
    Quad q{};
    const float cx[4] = {x0, x1, x1, x0}, cy[4] = {y0, y0, y1, y1};
    for (int i = 0; i < 4; ++i) {
        SDL_FPoint p = Place(t, ox, oy, cx[i], cy[i]);
        q.x[i] = p.x;
        q.y[i] = p.y;
    }
    return q;
}

// SDL drops the clip rectangle whenever the render target changes, which it also does by itself
// when the window is resized: make sure ours holds before anything is drawn.
void EnsureClip(SDL_Renderer* r, const SDL_Rect& want) {
    SDL_Rect have;
    SDL_RenderGetClipRect(r, &have);
    if (!SDL_RenderIsClipEnabled(r) || !SDL_RectEquals(&want, &have))
        SDL_RenderSetClipRect(r, &want);
}

void Replay(SDL_Renderer* r, const Command& c) {
    EnsureClip(r, c.clip);
    if (c.fill) {
        SDL_SetRenderDrawBlendMode(r, SDL_BLENDMODE_NONE);
        SDL_SetRenderDrawColor(r, c.color.r, c.color.g, c.color.b, 255);
        SDL_RenderFillRect(r, &c.clip);
        return;
    }
    // SDL records the blend mode with each queued draw, so one texture may serve several modes.
    // The filter is texture state applied at once: draws queued inside SDL go out first.
    if (c.texture) {
        SDL_SetTextureBlendMode(c.texture, c.mode);
        SDL_ScaleMode want = c.linear ? SDL_ScaleModeLinear : SDL_ScaleModeNearest, have;
        if (SDL_GetTextureScaleMode(c.texture, &have) == 0 && have != want) {
            SDL_RenderFlush(r);
            SDL_SetTextureScaleMode(c.texture, want);
        }
    } else
        SDL_SetRenderDrawBlendMode(r, c.mode);
    SDL_RenderGeometry(r, c.texture, &rec.vertices[std::size_t(c.first_vertex)], c.vertex_count,
                       &rec.indices[std::size_t(c.first_index)], c.index_count);
}

void AddShape(const Quad& q) {
    SDL_Color color;
    SDL_BlendMode mode;
    TextureKind kind;
    Gfx_BlendSetup(false, &color, &mode, &kind);
    Batch_AddQuad(nullptr, mode, false, q, color);
}

} // namespace

// ---- Batch ----

namespace {

// A pixel is drawn when its centre lies inside the quad; the margin covers the rasteriser
// snapping corners to its sub-pixel grid.
PixelBox PixelsTouched(const Quad& q) {
    constexpr float kSnap = 1.0f / 64.0f;
    float x0 = q.x[0], x1 = q.x[0], y0 = q.y[0], y1 = q.y[0];
    for (int i = 1; i < 4; ++i) {
        x0 = std::min(x0, q.x[i]), x1 = std::max(x1, q.x[i]);
        y0 = std::min(y0, q.y[i]), y1 = std::max(y1, q.y[i]);
    }
    constexpr float kFar = 1e6f;
    if (!(x0 > -kFar && y0 > -kFar && x1 < kFar && y1 < kFar)) // off in the distance, or NaN
        return PixelBox{-int(kFar), -int(kFar), int(kFar), int(kFar)};
    auto edge = [](float v) { return int(std::ceil(v - 0.5f)); };
    return PixelBox{edge(x0 - kSnap), edge(y0 - kSnap), edge(x1 + kSnap), edge(y1 + kSnap)};
}

bool SameKind(const Batch& b, SDL_Texture* tex, SDL_BlendMode mode, bool linear) {
    return b.texture == tex && b.mode == mode && (!tex || b.linear == linear);
}

// Whether a quad over `box` may be drawn before the quads of `b` (they share no pixel);
// `checks` counts the quads looked at and ends the search when it runs out.
bool Passes(const Batch& b, const PixelBox& box, std::size_t& checks) {
    if (!Overlap(b.bounds, box)) return true;
    if (checks < b.boxes.size()) return false;
    checks -= b.boxes.size();
    for (const PixelBox& other : b.boxes)
        if (Overlap(other, box)) return false;
    return true;
}

void Recycle(Batch& b) {
    b.vertices.clear();
    b.indices.clear();
    b.boxes.clear();
    spare_batches.push_back(std::move(b));
}

// Ends the oldest open batch as one recorded command of the frame.
void RecordOldestBatch() {
    if (open_batches.empty()) return;
    Batch& batch = open_batches.front();
    if (Gfx_Renderer()) {
        Command c;
        c.texture = batch.texture;
        c.mode = batch.mode;
        c.linear = batch.linear;
        c.clip = ClipRect();
        c.first_vertex = int(rec.vertices.size());
        c.vertex_count = int(batch.vertices.size());
        c.first_index = int(rec.indices.size());
        c.index_count = int(batch.indices.size());
        rec.vertices.insert(rec.vertices.end(), batch.vertices.begin(), batch.vertices.end());
        rec.indices.insert(rec.indices.end(), batch.indices.begin(), batch.indices.end());
        rec.commands.push_back(c);
    }
    Recycle(batch);
    open_batches.erase(open_batches.begin());
}

// The open batch a quad joins: the newest of its kind it can move back to, or a new one.
Batch& BatchFor(SDL_Texture* tex, SDL_BlendMode mode, bool linear, const PixelBox& box) {
    std::size_t checks = kOverlapChecks;
    for (std::size_t i = open_batches.size(); i-- > 0;) {
        Batch& b = open_batches[i];
        if (SameKind(b, tex, mode, linear) && b.vertices.size() < kBatchQuads * 4) return b;
        if (!Graphics_Shortcuts || !Passes(b, box, checks)) break;
    }
    if (open_batches.size() >= kOpenBatches) RecordOldestBatch();
    open_batches.emplace_back();
    if (!spare_batches.empty()) {
        std::swap(open_batches.back(), spare_batches.back());
        spare_batches.pop_back();
    }
    Batch& b = open_batches.back();
    b.texture = tex;
    b.mode = mode;
    b.linear = linear;
    b.bounds = box;
    return b;
}

} // namespace

void Batch_AddQuad(SDL_Texture* tex, SDL_BlendMode mode, bool linear, const Quad& q, SDL_Color c) {
    const PixelBox box = PixelsTouched(q);
    Batch& batch = BatchFor(tex, mode, linear, box);
    batch.boxes.push_back(box);
    batch.bounds = PixelBox{std::min(batch.bounds.x0, box.x0), std::min(batch.bounds.y0, box.y0),
                            std::max(batch.bounds.x1, box.x1), std::max(batch.bounds.y1, box.y1)};
    int base = int(batch.vertices.size());
    const float u[4] = {q.u0, q.u1, q.u1, q.u0}, v[4] = {q.v0, q.v0, q.v1, q.v1};
    for (int i = 0; i < 4; ++i)
        batch.vertices.push_back(SDL_Vertex{{q.x[i], q.y[i]}, c, {u[i], v[i]}});
    for (int i : {0, 1, 2, 0, 2, 3})
        batch.indices.push_back(base + i);
}

void Batch_Flush() {
    while (!open_batches.empty())
        RecordOldestBatch();
}

void Batch_Discard() {
    for (Batch& b : open_batches)
        Recycle(b);
    open_batches.clear();
}

namespace {

// The area a command's quads cover inside its clip, in pixels (for the drawing profile). A
// turned quad counts the share of its area that its bounding box has inside the clip.
double CoveredPixels(const Command& c) {
    if (c.fill) return double(c.clip.w) * c.clip.h;
    const double cx0 = c.clip.x, cy0 = c.clip.y, cx1 = cx0 + c.clip.w, cy1 = cy0 + c.clip.h;
    double covered = 0;
    for (int q = 0; q + 3 < c.vertex_count; q += 4) {
        const SDL_Vertex* v = &rec.vertices[std::size_t(c.first_vertex + q)];
        double area = 0, x0 = 1e9, y0 = 1e9, x1 = -1e9, y1 = -1e9;
        for (int i = 0; i < 4; ++i) {
            const SDL_FPoint &a = v[i].position, &b = v[(i + 1) % 4].position;
            area += 0.5 * (double(a.x) * b.y - double(b.x) * a.y);
            x0 = std::min(x0, double(a.x)), x1 = std::max(x1, double(a.x));
            y0 = std::min(y0, double(a.y)), y1 = std::max(y1, double(a.y));
        }
        const double box = (x1 - x0) * (y1 - y0);
        const double inside = std::max(0.0, std::min(x1, cx1) - std::max(x0, cx0)) *
                              std::max(0.0, std::min(y1, cy1) - std::max(y0, cy0));
        if (box > 0) covered += std::abs(area) * inside / box;
    }
    return covered;
}

void ReplayProfiled(SDL_Renderer* r, const Command& c) {
    DrawProfile_Begin();
    Replay(r, c);
    SDL_RenderFlush(r);
    Display_WaitForRenderer();
    DrawProfile_End(c.texture, c.fill ? SDL_BLENDMODE_NONE : c.mode, CoveredPixels(c));
}

} // namespace

void Frame_Submit() {
    Batch_Flush();
    SDL_Renderer* r = Gfx_Renderer();
    if (!r) return;
    const bool profiled = DrawProfile_On();
    for (; rec.submitted < rec.commands.size(); ++rec.submitted) {
        const Command& c = rec.commands[rec.submitted];
        if (DrawProfile_Skipped(c.texture)) continue;
        if (profiled)
            ReplayProfiled(r, c);
        else
            Replay(r, c);
    }
}

void Frame_TexturesChanging() {
    Frame_Submit(); // what was recorded draws with the textures as they were
    ++texture_generation;
}

bool Frame_End() {
    Batch_Flush();
    rec.texture_generation = texture_generation;
    last_frame_calls = int(rec.commands.size());
    bool unchanged =
        rec.submitted == 0 && last_frame_valid && CoversCanvas(rec) && SameFrame(rec, last_rec);
    if (!unchanged) Frame_Submit();
    std::swap(rec, last_rec);
    last_frame_valid = true;
    rec.commands.clear();
    rec.vertices.clear();
    rec.indices.clear();
    rec.submitted = 0;
    return unchanged;
}

int Graphics_LastFrameCalls() {
    return last_frame_calls;
}

void Frame_Discard() {
    Batch_Discard();
    rec = FrameRecord{};
    last_rec = FrameRecord{};
    last_frame_valid = false;
}

// ---- State ----

Transform Gfx_CurrentTransform() {
    double rad = double(s.rotation) * M_PI / 180.0;
    float c = float(std::cos(rad)), sn = float(std::sin(rad));
    return Transform{c * s.sx, sn * s.sx, -sn * s.sy, c * s.sy};
}

void Gfx_BlendSetup(bool textured, SDL_Color* color, SDL_BlendMode* mode, TextureKind* kind) {
    Uint8 a = Uint8(std::lround(std::clamp(s.alpha, 0.0f, 1.0f) * 255.0f));
    *color = SDL_Color{Channel(s.r), Channel(s.g), Channel(s.b), 255};
    *kind = TextureKind::Plain;
    switch (s.blend) {
    case BLEND_MASK:
        // The thresholded copy has alpha 0 or 255 only: cut pixels leave the destination, the
        // rest overwrite it, whatever the current alpha.
        *kind = TextureKind::Mask;
        *mode = textured ? SDL_BLENDMODE_BLEND : SDL_BLENDMODE_NONE;
        break;
    case BLEND_ALPHA:
        *mode = SDL_BLENDMODE_BLEND;
        color->a = a;
        break;
    case BLEND_LIGHT:
        *mode = SDL_BLENDMODE_ADD;
        color->a = a;
        break;
    case BLEND_SHADE:
        // dst x (src x alpha + 1 - alpha) over a premultiplied copy: transparent pixels and a
        // low alpha leave the destination as it was, opaque ones multiply it.
        *kind = TextureKind::Shade;
        *mode = SDL_BLENDMODE_MUL;
        color->r = Uint8(color->r * a / 255);
        color->g = Uint8(color->g * a / 255);
        color->b = Uint8(color->b * a / 255);
        color->a = a;
        break;
    default: // BLEND_SOLID and any unknown value
        *mode = SDL_BLENDMODE_NONE;
        break;
    }
}

void Gfx_ApplyClip() {
    SDL_Renderer* r = Gfx_Renderer();
    if (!r) return;
    SDL_Rect clip = ClipRect();
    SDL_RenderSetClipRect(r, &clip);
}

void SetColor(int r, int g, int b) {
    s.r = r, s.g = g, s.b = b;
}

void GetColor(int* r, int* g, int* b) {
    *r = s.r, *g = s.g, *b = s.b;
}

void SetAlpha(float a) {
    s.alpha = a;
}

float GetAlpha() {
    return s.alpha;
}

void SetBlend(int mode) {
    s.blend = mode;
}

int GetBlend() {
    return s.blend;
}

void SetScale(float sx, float sy) {
    s.sx = sx, s.sy = sy;
}

void GetScale(float* sx, float* sy) {
    *sx = s.sx, *sy = s.sy;
}

void SetRotation(float deg) {
    s.rotation = deg;
}

float GetRotation() {
    return s.rotation;
}

void SetViewport(int x, int y, int w, int h) {
    Batch_Flush(); // queued sprites keep the old clip
    s.vx = x, s.vy = y, s.vw = w, s.vh = h;
    Gfx_ApplyClip();
}

void GetViewport(int* x, int* y, int* w, int* h) {
    *x = s.vx, *y = s.vy, *w = s.vw, *h = s.vh;
}

void SetClsColor(int r, int g, int b) {
    s.cls_r = r, s.cls_g = g, s.cls_b = b;
}

void Cls() {
    if (!CanDraw()) return;
    Batch_Flush();
    Command c;
    c.fill = true;
    c.clip = ClipRect();
    c.color = SDL_Color{Channel(s.cls_r), Channel(s.cls_g), Channel(s.cls_b), 255};
    c.first_vertex = int(rec.vertices.size());
    c.first_index = int(rec.indices.size());
    rec.commands.push_back(c);
}

void SetImageFont(Font* font) {
    s.font = font;
}

Font* GetImageFont() {
    return s.font;
}

void SetLineWidth(float w) {
    s.line_width = w;
}

void ResetDrawingState() {
    Batch_Flush();
    s = DrawState{};
    Gfx_CanvasSize(&s.vw, &s.vh);
    Gfx_ApplyClip();
}

// ---- Drawing ----

bool Graphics_Shortcuts = std::getenv("SNOW_PLAIN_DRAWING") == nullptr;

namespace {

// Unturned, unscaled, on whole pixels, every pixel centre meets a texel centre.
bool ExactPlacement(const Transform& t, const Quad& q, float w, float h, int sw, int sh) {
    return t.ix == 1 && t.iy == 0 && t.jx == 0 && t.jy == 1 && w == float(sw) && h == float(sh) &&
           q.x[0] == std::floor(q.x[0]) && q.y[0] == std::floor(q.y[0]);
}

std::array<int, 4> Intersect(const std::array<int, 4>& a, const std::array<int, 4>& b) {
    const int x0 = std::max(a[0], b[0]), y0 = std::max(a[1], b[1]);
    const int x1 = std::min(a[0] + a[2], b[0] + b[2]), y1 = std::min(a[1] + a[3], b[1] + b[3]);
    return {x0, y0, std::max(x1 - x0, 0), std::max(y1 - y0, 0)};
}

} // namespace

void Gfx_DrawTexturedQuad(Image* image, int sx, int sy, int sw, int sh, float ox, float oy,
                          float x0, float y0, float x1, float y1, const Transform& t,
                          const std::array<int, 4>* visible,
                          const std::vector<std::array<int, 4>>* parts) {
    SDL_Color color;
    SDL_BlendMode mode;
    TextureKind kind;
    Gfx_BlendSetup(true, &color, &mode, &kind);
    SDL_Texture* tex = Image_Texture(image, kind);
    if (!tex) return;
    // Blending an opaque picture at full alpha gives the picture itself: drawing it unblended is
    // the same, and spares the rasteriser reading what lies under it.
    if (mode == SDL_BLENDMODE_BLEND && color.a == 255 && kind == TextureKind::Plain &&
        image->opaque)
        mode = SDL_BLENDMODE_NONE;
    Quad q = TransformedQuad(t, ox, oy, x0, y0, x1, y1);
    // On the exact path nearest sampling gives the same picture as filtering, and costs less.
    const bool exact = ExactPlacement(t, q, x1 - x0, y1 - y0, sw, sh);
    const bool linear = (image->flags & IMG_FILTERED) && !exact;
    // Filtering reads half a texel around each sample: keep it inside the frame, so the
    // neighbouring frames of a strip never bleed in.
    const float inset = linear ? 0.5f : 0.0f;
    auto texels = [&](Quad& quad, int bx, int by, int bw, int bh) {
        quad.u0 = (float(sx + bx) + inset) / float(image->tex_w);
        quad.v0 = (float(sy + by) + inset) / float(image->tex_h);
        quad.u1 = (float(sx + bx + bw) - inset) / float(image->tex_w);
        quad.v1 = (float(sy + by + bh) - inset) / float(image->tex_h);
    };
    // A part {bx, by, bw, bh} of the sub-rectangle, drawn where it lies on the exact path.
    auto add = [&](int bx, int by, int bw, int bh) {
        Quad part = TransformedQuad(t, ox, oy, x0 + float(bx), y0 + float(by), x0 + float(bx + bw),
                                    y0 + float(by + bh));
        texels(part, bx, by, bw, bh);
        Batch_AddQuad(tex, mode, linear, part, color);
    };
    // Blended or added, a fully transparent pixel leaves the canvas as it was: on the exact path
    // only the frame's visible box, or its visible parts, need drawing (large pictures such as
    // clouds and landscapes are mostly empty sky).
    const bool leaves_transparent = mode == SDL_BLENDMODE_BLEND || mode == SDL_BLENDMODE_ADD;
    if (!(exact && visible && leaves_transparent && kind == TextureKind::Plain &&
          Graphics_Shortcuts)) {
        texels(q, 0, 0, sw, sh);
        Batch_AddQuad(tex, mode, linear, q, color);
        return;
    }
    if (!parts || parts->empty()) {
        const auto& [vx, vy, vw, vh] = *visible;
        if (vw > 0 && vh > 0) add(vx, vy, vw, vh);
        return;
    }
    for (const auto& part : *parts) {
        const auto [px, py, pw, ph] = Intersect(part, *visible);
        if (pw > 0 && ph > 0) add(px, py, pw, ph);
    }
}

int ImageOpaqueFrom(Image* image, int frame) {
    if (!image || frame < 0 || std::size_t(frame) >= image->opaque_from.size()) return -1;
    return image->opaque_from[std::size_t(frame)];
}

namespace {

// The row from which a frame drawn now covers the canvas with opaque pixels: blended at full
// alpha, unturned, unscaled, on whole pixels, over a fully opaque bottom band. -1 when none.
int OpaqueBandRow(Image* image, int frame, float x, float y, float w, float h, const Transform& t) {
    const int from = ImageOpaqueFrom(image, frame);
    if (from < 0 || from >= image->height || !Graphics_Shortcuts) return -1;
    const bool exact = t.ix == 1 && t.iy == 0 && t.jx == 0 && t.jy == 1 &&
                       w == float(image->width) && h == float(image->height) &&
                       x - image->handle_x == std::floor(x - image->handle_x) &&
                       y - image->handle_y == std::floor(y - image->handle_y);
    const bool full_alpha = std::lround(std::clamp(s.alpha, 0.0f, 1.0f) * 255.0f) == 255;
    return exact && full_alpha && s.blend == BLEND_ALPHA ? from : -1;
}

} // namespace

void DrawImageRect(Image* image, float x, float y, float w, float h, int frame) {
    if (!image || frame < 0 || frame >= image->frames || !CanDraw()) return;
    float hx = image->handle_x, hy = image->handle_y;
    const int fx = image->frame_x[frame], fy = image->frame_y[frame];
    const std::array<int, 4>* visible =
        std::size_t(frame) < image->visible.size() ? &image->visible[std::size_t(frame)] : nullptr;
    const std::vector<std::array<int, 4>>* parts = std::size_t(frame) < image->visible_parts.size()
                                                       ? &image->visible_parts[std::size_t(frame)]
                                                       : nullptr;
    const Transform t = Gfx_CurrentTransform();
    const int band = visible ? OpaqueBandRow(image, frame, x, y, w, h, t) : -1;
    if (band < 0) {
        Gfx_DrawTexturedQuad(image, fx, fy, image->width, image->height, x, y, -hx, -hy, w - hx,
                             h - hy, t, visible, parts);
        return;
    }
    // Blending an opaque pixel at full alpha gives the pixel itself: the opaque band is drawn
    // unblended (no read of what lies under it), the rows above it blended as before.
    const auto& [vx, vy, vw, vh] = *visible;
    const std::array<int, 4> above{vx, vy, vw, std::min(vy + vh, band) - vy};
    if (above[3] > 0)
        Gfx_DrawTexturedQuad(image, fx, fy, image->width, band, x, y, -hx, -hy, w - hx,
                             float(band) - hy, t, &above, parts);
    s.blend = BLEND_SOLID;
    Gfx_DrawTexturedQuad(image, fx, fy + band, image->width, image->height - band, x, y, -hx,
                         float(band) - hy, w - hx, h - hy, t);
    s.blend = BLEND_ALPHA;
}

void DrawImage(Image* image, float x, float y, int frame) {
    if (!image) return;
    DrawImageRect(image, x, y, float(image->width), float(image->height), frame);
}

void DrawRect(float x, float y, float w, float h) {
    if (!CanDraw()) return;
    AddShape(TransformedQuad(Gfx_CurrentTransform(), x, y, 0, 0, w, h));
}

void DrawLine(float x1, float y1, float x2, float y2) {
    if (!CanDraw()) return;
    // Through pixel centres, as wide as the line width, reaching half a width past each end so
    // both end pixels are drawn.
    Transform t = Gfx_CurrentTransform();
    SDL_FPoint a{x1 + 0.5f, y1 + 0.5f};
    SDL_FPoint b = Place(t, a.x, a.y, x2 - x1, y2 - y1);
    float dx = b.x - a.x, dy = b.y - a.y, len = std::hypot(dx, dy);
    float half = std::max(s.line_width, 0.0f) * 0.5f;
    float ux = len > 0 ? dx / len : 1.0f, uy = len > 0 ? dy / len : 0.0f;
    float ex = ux * half, ey = uy * half, nx = -uy * half, ny = ux * half;
    Quad q{};
    const float px[4] = {a.x - ex + nx, b.x + ex + nx, b.x + ex - nx, a.x - ex - nx};
    const float py[4] = {a.y - ey + ny, b.y + ey + ny, b.y + ey - ny, a.y - ey - ny};
    for (int i = 0; i < 4; ++i)
        q.x[i] = px[i], q.y[i] = py[i];
    AddShape(q);
}

void Plot(float x, float y) {
    if (!CanDraw()) return;
    float px = std::floor(x), py = std::floor(y);
    Quad q{{px, px + 1, px + 1, px}, {py, py, py + 1, py + 1}, 0, 0, 0, 0};
    AddShape(q);
}

// ---- Text ----

namespace {

Font* CurrentFont() {
    return s.font ? s.font : Font_BuiltIn();
}

} // namespace

void DrawText(const std::string& text, float x, float y) {
    Font* f = CurrentFont();
    if (!f || !f->atlas || !CanDraw()) return;
    Transform t = Gfx_CurrentTransform();
    float pen_x = x, pen_y = y;
    for (unsigned char ch : text) {
        const Glyph& gl = f->glyphs[ch];
        if (!gl.present) continue;
        if (gl.w > 0 && gl.h > 0)
            Gfx_DrawTexturedQuad(f->atlas, gl.atlas_x, gl.atlas_y, gl.w, gl.h, pen_x, pen_y,
                                 float(gl.off_x), float(gl.off_y), float(gl.off_x + gl.w),
                                 float(gl.off_y + gl.h), t);
        pen_x += float(gl.advance) * t.ix;
        pen_y += float(gl.advance) * t.iy;
    }
}

void DrawTextCentered(const std::string& text, int x, int y) {
    int left = Trunc(x - TextWidth(text) * 0.5);
    int top = Trunc(y - TextHeight() * 0.5);
    DrawText(text, static_cast<float>(left), static_cast<float>(top));
}

int TextWidth(const std::string& text) {
    Font* f = CurrentFont();
    if (!f) return 0;
    int width = 0;
    for (unsigned char ch : text)
        if (f->glyphs[ch].present) width += f->glyphs[ch].advance;
    return width;
}

int TextHeight() {
    Font* f = CurrentFont();
    return f ? f->line_height : 0;
}

void Graphics_SetDrawing(bool on) {
    Drawing_On = on;
}

bool Graphics_Drawing() {
    return Drawing_On;
}
