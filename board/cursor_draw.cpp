#include "board/cursor.h"

#include "board/hammers.h"
#include "board/ripple.h"
#include "engine/frame.h"
#include "engine/gfx.h"

#include <algorithm>
#include <cmath>

Point Cursor_Cell;
int Cursor_Visible = 0;
float Cursor_Phase = 0.0f;

namespace {

constexpr float kGlowPeriodMs = 1400.0f;

bool Cell_Playable(int x, int y) {
    return Table_OnBoard(x, y) && !Table[x][y].void_;
}

// One corner's two arms, `len` long and `thick` wide, opening towards the cell's inside.
void DrawCorner(float x, float y, float sx, float sy, float len, float thick) {
    DrawRect(sx > 0 ? x : x - len, sy > 0 ? y : y - thick, len, thick);
    DrawRect(sx > 0 ? x : x - thick, sy > 0 ? y : y - len, thick, len);
}

void DrawBrackets(float x, float y, float w, float h, float len, float thick) {
    DrawCorner(x, y, 1, 1, len, thick);
    DrawCorner(x + w, y, -1, 1, len, thick);
    DrawCorner(x, y + h, 1, -1, len, thick);
    DrawCorner(x + w, y + h, -1, -1, len, thick);
}

} // namespace

bool Cursor_Place(int x, int y) {
    if (Cell_Playable(x, y)) {
        Cursor_Cell = Point{x, y};
        return true;
    }
    int best = -1;
    for (int cy = 0; cy < Table_dy; ++cy) {
        for (int cx = 0; cx < Table_dx; ++cx) {
            if (!Cell_Playable(cx, cy)) continue;
            const int d = (cx - x) * (cx - x) + (cy - y) * (cy - y);
            if (best >= 0 && d >= best) continue;
            best = d;
            Cursor_Cell = Point{cx, cy};
        }
    }
    return best >= 0;
}

void Cursor_Step(int dx, int dy) {
    for (int x = Cursor_Cell.x + dx, y = Cursor_Cell.y + dy; Table_OnBoard(x, y);
         x += dx, y += dy) {
        if (!Cell_Playable(x, y)) continue;
        Cursor_Cell = Point{x, y};
        return;
    }
}

void Cursor_Draw() {
    Cursor_Phase = std::fmod(Cursor_Phase + DeltaMs / kGlowPeriodMs, 1.0f);
    if (!Cursor_Visible || Intro_Active || !Cell_Playable(Cursor_Cell.x, Cursor_Cell.y)) return;
    int r = 255, g = 255, b = 255;
    GetColor(&r, &g, &b);
    const float alpha = GetAlpha();
    const int blend = GetBlend();
    float scale_x = 1.0f, scale_y = 1.0f;
    GetScale(&scale_x, &scale_y);
    const float rotation = GetRotation();
    SetScale(1.0f, 1.0f);
    SetRotation(0.0f);

    const Point corner = Table_ToScreen(Table_CellToPixel(Cursor_Cell.x, Cursor_Cell.y));
    const float x = static_cast<float>(corner.x), y = static_cast<float>(corner.y);
    const float w = static_cast<float>(Cell_Width), h = static_cast<float>(Cell_Height);
    const float len = std::max(7.0f, std::min(w, h) * 0.34f);
    const float glow = 0.5f + 0.5f * std::sin(Cursor_Phase * 6.2831853f);
    // A soft pale-blue halo added to the light, then the frost-white brackets themselves.
    SetBlend(BLEND_LIGHT);
    SetColor(120, 180, 255);
    SetAlpha(0.25f + 0.25f * glow);
    DrawBrackets(x - 2, y - 2, w + 4, h + 4, len + 3, 6);
    SetBlend(BLEND_ALPHA);
    SetColor(20, 40, 90); // a night-blue edge keeps the brackets clear over pale ice
    SetAlpha(0.6f);
    DrawBrackets(x, y, w, h, len + 2, 6);
    SetColor(235, 248, 255);
    SetAlpha(0.85f + 0.15f * glow);
    DrawBrackets(x + 1, y + 1, w - 2, h - 2, len, 4);
    // A hammer in hand hangs at the cursor's cell, as it hangs at the pointer for the mouse.
    if (Hammer_Active && Hammer_Cursor) {
        SetColor(255, 255, 255);
        SetAlpha(1.0f);
        DrawImage(Hammer_Cursor, x + w * 0.5f, y + h * 0.5f, 0);
    }

    SetColor(r, g, b);
    SetAlpha(alpha);
    SetBlend(blend);
    SetScale(scale_x, scale_y);
    SetRotation(rotation);
}
