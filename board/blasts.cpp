#include "board/blasts.h"

#include "audio/sound_fx.h"
#include "board/matching.h"
#include "board/pictures.h"
#include "board/pieces.h"
#include "board/table.h"
#include "engine/frame.h"
#include "engine/system.h"
#include "fx/effects.h"

#include <algorithm>

namespace {

Piece* Half_New(Point corner, float speed, int rotation, int period, int frames) {
    Piece* h = Piece_New(corner.x, corner.y, Kind_SnowHalf, BoardPics.snowball_half, 0, 48, 48);
    h->speed = speed;
    h->Rotation = rotation;
    h->anim_period = period;
    h->anim_timer = 0;
    h->img_count = frames;
    h->x_cell_dest = -1; // a half never falls: this field keeps the last column it cleared
    return h;
}

// The cell that holds p, or (-1, -1).
Point Cell_Of(const Piece* p) {
    for (int x = 0; x < Table_dx; ++x)
        for (int y = 0; y < Table_dy; ++y)
            if (Table[x][y].piece_id == p) return Point{x, y};
    return Point{-1, -1};
}

// A piece removed while it moves must not leave its partner or a reservation behind: the
// partner of a swap stops where its cell is, and the cell a falling piece reserved is freed.
void Piece_LetGo(Piece* p) {
    if (p->falling && Table_OnBoard(p->x_cell_dest, p->y_cell_dest)) {
        Table_cell& dest = Table[p->x_cell_dest][p->y_cell_dest];
        if (dest.busy == p) dest.busy = nullptr;
    }
    if (p->swap_state == 0) return;
    Piece* partner = p->swap_pair;
    if (p->swap_state == 3)
        for (Piece* q : Pieces)
            if (q && q->swap_pair == p && q->swap_state != 0) partner = q;
    p->swap_state = 0;
    if (!partner || partner->swap_state == 0) return;
    partner->swap_state = 0;
    partner->swap_pair = nullptr;
    partner->speed = 0.0f;
    const Point home = Cell_Of(partner);
    if (home.x < 0) return;
    const Point corner = Table_CellToPixel(home.x, home.y);
    partner->x = corner.x;
    partner->y = corner.y;
    partner->xr = static_cast<float>(corner.x);
    partner->yr = static_cast<float>(corner.y);
}

// Clears a cell a snowball half crosses: the piece is set off (a chained one loses a chain),
// every layer of ice goes, and the cell is blocked for a moment.
void Half_ClearCell(int c, int r) {
    Table_cell& cell = Table[c][r];
    if (cell.piece_id && cell.piece_id->falling) return;
    Table_TriggerPiece(c, r);
    while (cell.background > 0)
        Table_BreakIce(c, r);
    // A reservation by a piece about to fall in is left alone: unblocking would free it early.
    if (cell.busy == nullptr || cell.busy == Busy_Marker) {
        cell.busy = Busy_Marker;
        cell.busy_delay = 120;
    }
}

} // namespace

void Snowball_Launch(int x, int y) {
    Piece* ball = Table[x][y].piece_id;
    if (!ball || ball->color != Kind_Snowball || ball->falling) return;
    const Point corner = Table_CellToPixel(x, y);
    Half_New(corner, -100.0f, 0, 10, 19);
    Half_New(corner, 100.0f, 180, 5, 20);
    Piece_Remove(ball);
    Table_TakePiece(x, y);
    Snd_PlayAt(SND_EXPLOSION, 0.5f * Snd_FxVolume(), 1.0f, MouseXPos, MouseYPos, SND_AT_DISPLAY);
}

void SnowballHalf_Fly(Piece* p) {
    const int c0 = (p->x - Table_OriginX) / Cell_Width;
    const float gain = static_cast<float>(Trunc(300.0f * DeltaSec));
    p->speed += p->speed >= 0.0f ? gain : -gain;
    p->xr += p->speed * DeltaSec;
    p->x = Trunc(p->xr);
    const Point at = Table_ToScreen(Point{p->x, p->y});
    Gfx_SnowballTrail(at.x, at.y, 0.0005f);
    if (p->x <= Table_OriginX - Cell_Width || p->x >= Table_OriginX + Cell_Width * Table_dx)
        Piece_Remove(p);
    const int c1 = (p->x - Table_OriginX) / Cell_Width;
    if (c1 < 0 || c1 >= Table_dx) return;
    const int r = (p->y - Table_OriginY) / Cell_Height;
    if (r < 0 || r >= Table_dy) return;
    for (int c = std::max(0, std::min(c0, c1)); c <= std::min(Table_dx - 1, std::max(c0, c1));
         ++c) {
        if (Table[c][r].void_) {
            Piece_Remove(p); // a void cell stops the half; this step's cells are still cleared
            continue;
        }
        // A half takes many frames to cross a cell and hits it once: a chained piece it
        // passes loses one chain, as in a match.
        if (c == p->x_cell_dest) continue;
        Half_ClearCell(c, r);
        p->x_cell_dest = c;
    }
}

void Table_Blast(int x, int y) {
    if (!Table_OnBoard(x, y)) return;
    Table_cell& cell = Table[x][y];
    Piece* p = cell.piece_id;
    if (!p) return; // an empty neighbour keeps its ice
    const Point at = Table_ToScreen(Point{p->x, p->y});
    Gfx_Explosion(at.x, at.y, cell.background > 0 ? 0.1f : 0.0f);
    Table_DestroyPiece(p, x, y);
    if (cell.background > 0) Table_BreakIce(x, y);
    if (cell.background > 0) Table_BreakIce(x, y);
}

void Table_LaserLines(int x, int y) {
    static const int kLines[4][2] = {{-1, 0}, {1, 0}, {0, -1}, {0, 1}};
    for (const auto& d : kLines) {
        for (int cx = x + d[0], cy = y + d[1]; Table_OnBoard(cx, cy) && !Table[cx][cy].void_;
             cx += d[0], cy += d[1])
            if (Piece* p = Table[cx][cy].piece_id) Table_DestroyPiece(p, cx, cy);
    }
}

void Table_DestroyPiece(Piece* p, int x, int y) {
    if (p->shields_count > 0) {
        p->shields_count = 0;
        Snd_CountPiece(SND_CHAIN_OFF, p->x, p->y);
        const Point at = Table_ToScreen(Point{p->x, p->y});
        Gfx_ChainBreak(at.x + Cell_HalfWidth, at.y + Cell_HalfHeight);
    }
    const Point centre = Table_CellCentreOnScreen(x, y);
    Gfx_PieceVanish(centre.x, centre.y);
    Piece_LetGo(p);
    Table_cell& cell = Table[x][y];
    cell.piece_id = nullptr;
    cell.busy_delay = 120;
    cell.busy = Busy_Marker;
    if (Ding_Delay < 4000) {
        Snd_AddDelayed(SND_DING, Ding_Rate, 0.5f * Snd_FxVolume(), Ding_Delay, 0.0f, centre.x,
                       centre.y);
        Ding_Rate = std::max(p->color * 7 + 30 - (Ding_Count + 1), 30) / 100.0f;
        ++Ding_Count;
    }
    Ding_Delay += 32;
    Piece_Remove(p);
}
