#include "board/hammers.h"

#include "audio/sound_fx.h"
#include "board/blasts.h"
#include "board/matching.h"
#include "board/pieces.h"
#include "board/table.h"
#include "board/tips.h"
#include "data/config.h"
#include "data/level_file.h"
#include "engine/frame.h"
#include "engine/gfx.h"
#include "engine/system.h"
#include "fx/effects.h"
#include "fx/particles.h"

#include <algorithm>
#include <vector>

int Hammer_Points = 0, Hammer_Disabled = 1, Hammer_Active = 0, Hammer_Level = 1;
int Hammer_SavedPoints = 0;
Image* Hammer_Cursor = nullptr;
Piece* Hammer3_Queue[Hammer3_QueueMax] = {};
int Hammer3_Count = 0;
float Hammer3_Timer = 0.0f;
int Hammer_IconX = 734, Hammer_IconY = 476, Hammer_BoxX = 705, Hammer_BoxY = 436;
int Hammer_OvalX = 682, Hammer_OvalY = 413;
float Hammer_Pulse = 0.0f;
int Hammer_PulseDir = 0, Hammer_PulsePause = 0;
Hammer_Pictures HammerPics;

namespace {

const int kThresholds[3] = {Hammer_Threshold1, Hammer_Threshold2, Hammer_Threshold3};

// The box is centred on the icon, measured from the icon picture of the hammer last taken.
void Hammer_PlaceBox() {
    Image* icon = HammerPics.map[Hammer_Level - 1];
    if (!icon) return;
    Hammer_BoxX = Hammer_IconX - ImageWidth(icon) / 2;
    Hammer_BoxY = Hammer_IconY - ImageHeight(icon) / 2;
}

struct Combo_Step {
    int points, mult;
    float volume, rate, spark_scale, spark_count;
};

const Combo_Step* Combo_For(int n) {
    static const Combo_Step steps[] = {
        {1, 0, 0.0f, 0.0f, 0.0f, 0.0f},
        {4, 4, 0.3f, 2.0f, 0.75f, 0.75f},
        {8, 8, 0.8f, 1.5f, 1.0f, 1.25f},
        {16, 16, 1.0f, 1.0f, 1.5f, 1.5f},
    };
    if (n < Min_Match) return nullptr;
    return &steps[std::min(n, 6) - 3];
}

void Combo_Sparks(const Combo_Step& step) {
    if (Slow_PC) return;
    const int base = std::max(Trunc(std::min(InstFps * 0.4f, 30.0f)), 6);
    std::vector<Gfx_Point> centres;
    for (int i = 0; i < Group_Count; ++i) {
        const Point c = Table_CellCentreOnScreen(Group_Cells[i].x, Group_Cells[i].y);
        centres.push_back(Gfx_Point{c.x, c.y});
    }
    Gfx_HammerSparks(step.spark_scale, Trunc(base * step.spark_count), centres, Group_Kind,
                     Gfx_Point{Hammer_BoxX + Hammer_BoxW / 2, Hammer_BoxY + Hammer_BoxH / 2});
}

void Hammer_Earned(int which) {
    static const float rates[3] = {1.0f, 0.9f, 0.75f};
    Particles_HammerEarned(which + 1, static_cast<float>(Hammer_IconX),
                           static_cast<float>(Hammer_IconY));
    Hammer_PulsePause = 20;
    Snd_PlayObj(SndGetHammer, Snd_FxVolume(), rates[which], MouseXPos, MouseYPos);
    Tips_HammerEarned(which);
}

void Refuse() {
    Snd_Play(SND_REFUSAL, 0.0f, 1.0f, 1.0f, 0.0f);
}

bool Piece_Busy(const Piece* p) {
    return p->falling || p->swap_state != 0;
}

// Breaks the ice of a cell down to nothing: snow then ice.
void Break_AllIce(int x, int y) {
    Table_BreakIce(x, y);
    if (Table[x][y].background == 1) Table_BreakIce(x, y);
}

void Strike_Explosion(int x, int y, float density) {
    const Point at = Table_ToScreen(Table_CellToPixel(x, y));
    Gfx_Explosion(at.x, at.y, density);
}

bool Strike_First(int x, int y) {
    Piece* p = Table[x][y].piece_id;
    if (!p || p->shields_count > 0 || Piece_Busy(p)) return false;
    Piece_Remove(p);
    Table[x][y].piece_id = nullptr; // the ice stays and the cell refills at once
    Strike_Explosion(x, y, 0.07f);
    Snd_PlayObj(SndHammer1, Snd_FxVolume(), 1.0f, MouseXPos, MouseYPos);
    return true;
}

// A void cell is no part of the playing field: its background picks its frame picture, so the
// second hammer refuses it rather than change how the board's edge is drawn.
bool Strike_Second(int x, int y) {
    if (Table[x][y].void_) return false;
    Piece* p = Table[x][y].piece_id;
    if (p && Piece_Busy(p)) return false;
    Snd_ResetPieces();
    if (p) Table_DestroyPiece(p, x, y);
    Snd_FlushPieces();
    Snd_PlayObj(SndHammer2, Snd_FxVolume(), 1.0f, MouseXPos, MouseYPos);
    Break_AllIce(x, y);
    Strike_Explosion(x, y, 0.2f);
    return true;
}

bool Strike_Third(int x, int y) {
    const Piece* p = Table[x][y].piece_id;
    if (!p || Piece_Busy(p)) return false;
    const int kind = p->color;
    Hammer3_Count = 0;
    for (int row = 0; row < Table_dy; ++row) {
        for (int col = 0; col < Table_dx && Hammer3_Count < Hammer3_QueueMax; ++col) {
            Piece* q = Table[col][row].piece_id;
            if (!q || q->color != kind) continue;
            q->x_cell_src = col;
            q->y_cell_src = row;
            Hammer3_Queue[Hammer3_Count++] = q;
        }
    }
    Hammer3_Timer = 0.0f;
    Snd_PlayObj(SndHammer2, Snd_FxVolume(), 1.0f, MouseXPos, MouseYPos);
    Strike_Explosion(x, y, 0.5f);
    return true;
}

void Pulse_Step(float speed) {
    if (Hammer_PulsePause >= 1) {
        --Hammer_PulsePause;
        return;
    }
    Hammer_Pulse += (Hammer_PulseDir == 0 ? speed : -speed) * DeltaSec;
    if (Hammer_PulseDir == 0 && Hammer_Pulse >= 32.0f) {
        Hammer_Pulse = 31.0f;
        Hammer_PulseDir = 1;
    } else if (Hammer_PulseDir == 1 && Hammer_Pulse <= 0.0f) {
        Hammer_Pulse = 0.0f;
        Hammer_PulseDir = 0;
    }
}

void Draw_Pulsing(Image* picture, float speed) {
    Pulse_Step(speed);
    if (!picture) return;
    SetAlpha(BoardAlpha);
    DrawImage(picture, static_cast<float>(Hammer_IconX), static_cast<float>(Hammer_IconY),
              std::clamp(Trunc(Hammer_Pulse), 0, 31));
}

void Draw_Oval(Image* oval, int from, int span) {
    const int k = 16 * (Hammer_Points - from) / span;
    if (k <= 0 || !oval) return;
    SetAlpha(BoardAlpha);
    DrawImage(oval, static_cast<float>(Hammer_OvalX), static_cast<float>(Hammer_OvalY),
              std::min(k, 16) - 1);
}

// Below the first threshold the first hammer fills up from the bottom of its box.
void Draw_Filling() {
    Image* picture = HammerPics.hammer[0];
    const float ix = static_cast<float>(Hammer_IconX), iy = static_cast<float>(Hammer_IconY);
    if (picture) {
        SetAlpha(BoardAlpha / 4.0f);
        DrawImage(picture, ix, iy, 0);
    }
    const int fill = Trunc(90.0f * static_cast<float>(Hammer_Points) / Hammer_Threshold1);
    int vx = 0, vy = 0, vw = 0, vh = 0;
    GetViewport(&vx, &vy, &vw, &vh);
    SetViewport(Hammer_BoxX, Hammer_BoxY + Hammer_BoxH - fill, Hammer_BoxW, Hammer_BoxH);
    const float line_y = static_cast<float>(Hammer_BoxY + Hammer_BoxH - fill);
    const float left = static_cast<float>(Hammer_BoxX), right = left + Hammer_BoxW;
    SetColor(255, 255, 0);
    SetLineWidth(1.0f);
    SetAlpha(BoardAlpha * 0.5f);
    DrawLine(left, line_y, right, line_y);
    SetAlpha(BoardAlpha * 0.2f);
    DrawLine(left, line_y + 1.0f, right, line_y + 1.0f);
    DrawLine(left, line_y - 1.0f, right, line_y - 1.0f);
    SetColor(255, 255, 255);
    if (picture) {
        SetAlpha(BoardAlpha);
        DrawImage(picture, ix, iy, 0);
    }
    SetViewport(vx, vy, vw, vh);
}

} // namespace

void Hammer_Reset() {
    Hammer_Points = 0;
    Hammer_Active = 0;
    Hammer_Level = 1;
    Hammer_Cursor = HammerPics.hammer[0];
    Hammer_IconX = 734;
    Hammer_IconY = 476;
    Hammer_BoxX = 705;
    Hammer_BoxY = 436;
    Hammer_OvalX = 682;
    Hammer_OvalY = 413;
    Hammer_Disabled = LevelCrt < 3 ? 1 : 0;
    Hammer_PulsePause = 0;
    Hammer3_Count = 0;
    Hammer3_Timer = 0.0f;
}

namespace {

void Combo_Step_Of(int n, bool sparks) {
    if (Hammer_Disabled) return;
    const Combo_Step* step = Combo_For(n);
    if (!step) return;
    if (step->mult > 0) {
        Score_Mult = step->mult; // counts from the next scored group on
        Snd_PlayObj(Snd4Gem, step->volume * Snd_FxVolume(), step->rate, MouseXPos, MouseYPos);
        if (sparks) Combo_Sparks(*step);
    }
    const int before = Hammer_Points;
    Hammer_Points += step->points;
    for (int i = 0; i < 3; ++i)
        if (before < kThresholds[i] && Hammer_Points >= kThresholds[i]) Hammer_Earned(i);
}

} // namespace

void Hammer_Combo() {
    Combo_Step_Of(Group_Count, true);
}

void Hammer_ComboOf(int n) {
    Combo_Step_Of(n, false);
}

void Hammer_Update() {
    if (Hammer_Disabled) return;
    if (Hammer_Active) {
        if (MouseRightPressed)
            Hammer_Drop(1);
        else if (MouseLeftPressed && !Mouse_OverTable)
            Hammer_Drop(1);
        else if (MouseLeftPressed)
            Hammer_Strike(Mouse_Cell.x, Mouse_Cell.y);
        return;
    }
    if (Hammer_Points < Hammer_Threshold1) return;
    Hammer_PlaceBox();
    const bool in_box = MouseXPos >= Hammer_BoxX && MouseXPos <= Hammer_BoxX + Hammer_BoxW &&
                        MouseYPos >= Hammer_BoxY && MouseYPos <= Hammer_BoxY + Hammer_BoxH;
    if (MouseRightPressed || (MouseLeftPressed && in_box)) Hammer_Take();
}

void Hammer_Take() {
    Hammer_Level = Hammer_Points >= Hammer_Threshold3   ? 3
                   : Hammer_Points >= Hammer_Threshold2 ? 2
                                                        : 1;
    Hammer_Cursor = HammerPics.hammer[Hammer_Level - 1];
    Hammer_SavedPoints = Hammer_Points;
    Hammer_Points = 0; // a weaker hammer taken costs the whole meter
    Hammer_Active = 1;
    Tips_HammerTaken();
    Selected_Cell = Point{-1, -1};
    Selection_Active = 0;
}

void Hammer_Drop(int cancelled) {
    Hammer_Active = 0;
    if (cancelled == 1) Hammer_Points = Hammer_SavedPoints;
    Tips_HammerDropped();
}

bool Hammer_Strike(int x, int y) {
    if (!Hammer_Active || !Table_OnBoard(x, y)) return false;
    bool struck = false;
    if (Hammer_Level == 1)
        struck = Strike_First(x, y);
    else if (Hammer_Level == 2)
        struck = Strike_Second(x, y);
    else
        struck = Strike_Third(x, y);
    if (!struck) {
        Refuse();
        return false;
    }
    Selection_Active = 0;
    Hammer_Drop(0);
    return true;
}

void Hammer3_Step() {
    if (Hammer3_Count <= 0) return;
    Hammer3_Timer -= DeltaSec;
    if (Hammer3_Timer > 0.0f) return;
    Hammer3_Timer = 0.05f;
    Piece* q = Hammer3_Queue[--Hammer3_Count];
    const int x = q->x_cell_src, y = q->y_cell_src;
    if (!Table_OnBoard(x, y) || Table[x][y].piece_id != q || Piece_Busy(q)) return;
    Snd_ResetPieces();
    Table_DestroyPiece(q, x, y);
    Snd_FlushPieces();
    Break_AllIce(x, y);
}

void Hammer_DrawMeter() {
    if (Hammer_Disabled) return;
    SetColor(255, 255, 255);
    SetBlend(BLEND_ALPHA);
    SetScale(1.0f, 1.0f);
    if (Hammer_Points < Hammer_Threshold1) {
        Draw_Filling();
    } else if (Hammer_Points < Hammer_Threshold2) {
        Draw_Oval(HammerPics.oval[0], Hammer_Threshold1, Hammer_Threshold2 - Hammer_Threshold1);
        Draw_Pulsing(HammerPics.hammer[0], 40.0f);
    } else if (Hammer_Points < Hammer_Threshold3) {
        Draw_Oval(HammerPics.oval[1], Hammer_Threshold2, Hammer_Threshold3 - Hammer_Threshold2);
        Draw_Pulsing(HammerPics.hammer[1], 32.0f);
    } else {
        Draw_Pulsing(HammerPics.hammer[2], 28.0f);
    }
    SetAlpha(BoardAlpha);
}

void Hammer_DrawCursor() {
    if (!Hammer_Active || !Hammer_Cursor) return;
    SetColor(255, 255, 255);
    SetBlend(BLEND_ALPHA);
    SetScale(1.0f, 1.0f);
    SetRotation(0.0f);
    SetAlpha(1.0f);
    DrawImage(Hammer_Cursor, static_cast<float>(MouseXPos + 30), static_cast<float>(MouseYPos + 40),
              0);
}
