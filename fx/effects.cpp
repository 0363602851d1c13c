#include "fx/effects.h"

#include "engine/frame.h"
#include "engine/gfx.h"
#include "engine/system.h"
#include "fx/effects_internal.h"

#include <algorithm>
#include <sstream>

std::vector<Gfx_Obj> GfxEffects;
Gfx_Pictures GfxPics;
Gfx_Board GfxBoard;

namespace {

// Sprites made while the list is being walked (trails) wait here, so the walk never sees the
// list grow under it; they join at the end of the walk, still in creation order.
std::vector<Gfx_Obj> Gfx_Pending;
bool Gfx_Walking = false;

void Gfx_EndWalk() {
    Gfx_Walking = false;
    std::erase_if(GfxEffects, [](const Gfx_Obj& o) { return o.name == 0; });
    GfxEffects.insert(GfxEffects.end(), Gfx_Pending.begin(), Gfx_Pending.end());
    Gfx_Pending.clear();
}

// The hammer sparks are seen bursting out of their cells while their delay runs.
bool Gfx_DrawnWhileDelayed(const Gfx_Obj& o) {
    return o.name == Gfx_HammerSpark;
}

void Gfx_ResetDrawing() {
    SetScale(1.0f, 1.0f);
    SetRotation(0.0f);
    SetColor(255, 255, 255);
    SetBlend(BLEND_ALPHA);
}

} // namespace

void Gfx_Add(const Gfx_Obj& o) {
    std::vector<Gfx_Obj>& list = Gfx_Walking ? Gfx_Pending : GfxEffects;
    list.push_back(o);
    Gfx_Place(list.back());
}

void Gfx_Init() {
    GfxEffects.clear();
    GfxEffects.reserve(4096);
    Gfx_Pending.clear();
    if (GfxPics.spark[2]) MidHandleImage(GfxPics.spark[2]);
    if (GfxPics.spark[3]) MidHandleImage(GfxPics.spark[3]);
}

void Gfx_Clear() {
    GfxEffects.clear();
    Gfx_Pending.clear();
}

void Gfx_Update() {
    Gfx_Walking = true;
    for (Gfx_Obj& o : GfxEffects) {
        if (o.name == 0) continue;
        if (o.delay_start >= 1) {
            o.delay_start = Trunc(o.delay_start - DeltaMs);
            continue;
        }
        Gfx_UpdateKind(o);
    }
    Gfx_EndWalk();
}

void Gfx_DrawLayer(int z) {
    const float alpha_before = GetAlpha();
    SetBlend(BLEND_ALPHA);
    Gfx_Walking = true;
    for (Gfx_Obj& o : GfxEffects) {
        if (o.name == 0 || o.z_order != z) continue;
        if (o.delay_start >= 1) {
            o.delay_start = Trunc(o.delay_start - DeltaMs);
            if (!Gfx_DrawnWhileDelayed(o)) continue;
        }
        Gfx_DrawKind(o);
        Gfx_ResetDrawing();
    }
    Gfx_EndWalk();
    SetAlpha(alpha_before);
}

int Gfx_DensityCount(float density) {
    return std::max(Trunc(InstFps * density), 1);
}

float Gfx_Opacity(const Gfx_Obj& o) {
    return std::clamp(o.alpha, 0.0f, 1.0f);
}

int Gfx_LiveCount(int kind) {
    return static_cast<int>(std::count_if(GfxEffects.begin(), GfxEffects.end(),
                                          [kind](const Gfx_Obj& o) { return o.name == kind; }));
}

int Gfx_LiveTotal() {
    return static_cast<int>(std::count_if(GfxEffects.begin(), GfxEffects.end(),
                                          [](const Gfx_Obj& o) { return o.name != 0; }));
}

std::string Gfx_StateJson() {
    std::ostringstream j;
    j << "\"Gfx_Live\": {";
    bool first = true;
    for (int kind = 1; kind <= Gfx_KindMax; ++kind) {
        const int n = Gfx_LiveCount(kind);
        if (n == 0) continue;
        j << (first ? "" : ", ") << '"' << kind << "\": " << n;
        first = false;
    }
    j << "}, \"Gfx_LiveTotal\": " << Gfx_LiveTotal();
    return j.str();
}
