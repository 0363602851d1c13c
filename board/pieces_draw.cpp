#include "board/pictures.h"
#include "board/pieces.h"
#include "board/ripple.h"
#include "board/table.h"
#include "data/config.h"
#include "engine/frame.h"
#include "engine/gfx.h"
#include "engine/shell.h"
#include "engine/system.h"

#include <cmath>

namespace {

void Piece_Animate(Piece* p, float ms) {
    p->anim_timer = Trunc(p->anim_timer - ms);
    if (p->anim_timer > 0) return;
    p->image_id += 1.0f;
    if (p->image_id >= static_cast<float>(p->img_count)) p->image_id = 0.0f;
    p->anim_timer = p->anim_period;
}

float Piece_Alpha(const Piece* p) {
    if (!Intro_Active || GameState != STATE_PLAYING || p->falling || p->triggered)
        return BoardAlpha;
    const float a = Ripple_AlphaAt(p->x, p->y);
    return a == -1.0f ? BoardAlpha : a;
}

void Piece_DrawHalo(Piece* p, float cx, float cy, float alpha) {
    p->halo_size = std::fmod(p->halo_size + 30.0f * DeltaMs / 1000.0f, 360.0f);
    Image* halo = BoardPics.halo[p->color - 1];
    if (!halo) return;
    const float pulse = static_cast<float>(0.75 + 0.05 * Sin(Trunc(p->halo_size))) * 0.9f;
    MidHandleImage(halo);
    SetScale(Cell_ScaleX * pulse, Cell_ScaleY * pulse);
    SetBlend(BLEND_LIGHT);
    SetAlpha(alpha * 0.5f);
    DrawImage(halo, cx, cy, 0);
    SetAlpha(alpha);
}

void Piece_DrawBody(Piece* p, float cx, float cy, float alpha) {
    if (p->color == Kind_Snowball || p->color == Kind_SnowHalf) Piece_Animate(p, DeltaMs * 0.5f);
    if (p->color == Kind_Icecube) {
        SetScale(0.8f, 0.8f);
        p->Rotation = Trunc(std::fmod(p->Rotation + 0.07f * DeltaMs, 360.0f));
        Piece_Animate(p, DeltaMs);
    } else {
        SetScale(Cell_ScaleX * 0.9f, Cell_ScaleY * 0.9f);
    }
    if (!p->image) return;
    MidHandleImage(p->image);
    SetRotation(static_cast<float>(p->Rotation));
    SetBlend(BLEND_ALPHA);
    SetAlpha(alpha);
    if (p->Fade > 0.0f) {
        SetAlpha(p->Fade);
        p->Fade += p->Fade_speed * DeltaMs / 1000.0f;
        if (p->Fade >= 1.0f) p->Fade = 0.0f;
    }
    DrawImage(p->image, cx, cy, static_cast<int>(p->image_id));
    SetRotation(0.0f);
}

// Chains, bomb and golden marks fade in with their piece while the board appears.
void Piece_DrawOverlays(Piece* p, float cx, float cy) {
    const float alpha = Piece_Alpha(p);
    SetBlend(BLEND_ALPHA);
    SetAlpha(alpha);
    if (p->shields_count > 0) {
        Image* chain = p->shields_count == 1 ? BoardPics.chain1 : BoardPics.chain2;
        if (chain) {
            MidHandleImage(chain);
            SetScale(Cell_ScaleX * 0.9f, Cell_ScaleY * 0.9f);
            DrawImage(chain, cx, cy, 0);
        }
    }
    if (p->bomb) {
        p->bomb_anim_timer = Trunc(p->bomb_anim_timer - DeltaMs);
        if (p->bomb_anim_timer <= 0) {
            p->bomb_img_id = (p->bomb_img_id + 1) % 10;
            p->bomb_anim_timer = 70;
        }
        if (Image* bomb = BoardPics.bomb) {
            MidHandleImage(bomb);
            const float off = 5.0f * Cell_ScaleX + 2.0f;
            SetScale(Cell_ScaleX * 0.7f * 0.9f, Cell_ScaleY * 0.7f * 0.9f);
            DrawImage(bomb, cx + off, cy + off, p->bomb_img_id);
        }
    }
    if (p->golden && BoardPics.golden) {
        MidHandleImage(BoardPics.golden);
        SetScale(Cell_ScaleX * 0.9f * 0.8f, Cell_ScaleY * 0.9f * 0.8f);
        SetAlpha(alpha * 0.35f);
        DrawImage(BoardPics.golden, cx, cy, 0);
        SetAlpha(alpha);
    }
    SetScale(1.0f, 1.0f);
}

float ScreenX(const Piece* p) {
    return static_cast<float>(p->x - View_OffsetX + Cell_HalfWidth);
}
float ScreenY(const Piece* p) {
    return static_cast<float>(p->y - View_OffsetY + Cell_HalfHeight);
}

} // namespace

void Pieces_Draw() {
    SetColor(255, 255, 255);
    for (Piece* p : Pieces) {
        if (!p) continue;
        // Chained pieces hold still; the animation resumes from the same frame when freed.
        if (p->color >= 1 && p->color <= 8 && p->img_count > 1 && p->shields_count == 0)
            Piece_Animate(p, DeltaMs);
        const float cx = ScreenX(p), cy = ScreenY(p);
        const float alpha = Piece_Alpha(p);
        SetAlpha(alpha);
        if (Kind_IsGem(p->color) && !Slow_PC) Piece_DrawHalo(p, cx, cy, alpha);
        Piece_DrawBody(p, cx, cy, alpha);
    }
    SetScale(1.0f, 1.0f);
    for (Piece* p : Pieces)
        if (p) Piece_DrawOverlays(p, ScreenX(p), ScreenY(p));
    SetAlpha(BoardAlpha);
    SetScale(1.0f, 1.0f);
    SetBlend(BLEND_ALPHA);
}
