#include "board/gravity.h"

#include "board/blasts.h"
#include "board/hammers.h"
#include "board/matching.h"
#include "board/pieces.h"
#include "board/swap.h"
#include "board/table.h"
#include "engine/frame.h"
#include "engine/system.h"

namespace {

Table_cell* CellAt(int x, int y) {
    return Table_OnBoard(x, y) ? &Table[x][y] : nullptr;
}

// The cell a piece stands in, and whether its position lies inside the board rectangle.
bool Piece_Cell(const Piece* p, Point& c) {
    if (p->x < Table_OriginX || p->y < Table_OriginY) return false;
    c = Table_PixelToCell(p->x, p->y);
    return Table_OnBoard(c.x, c.y);
}

// Whether a resting piece may fall or slide at all: inside the board, not fixed, not at the
// bottom.
bool Piece_MayDrop(const Piece* p, Point& c) {
    return Piece_Cell(p, c) && !Piece_IsFixed(p) && c.y < Table_dy - 1;
}

// A slide may enter (tx, ty) only if its own column can never refill it: the first thing above
// it is a void cell or a fixed chained piece.
bool Slide_Accepts(int tx, int ty) {
    if (tx < 0 || tx >= Table_dx || ty < 1 || ty >= Table_dy) return false;
    const Table_cell& target = Table[tx][ty];
    if (target.void_ || target.busy) return false;
    if (target.piece_id && !target.piece_id->falling) return false;
    for (int y = ty - 1; y >= 0; --y) {
        const Table_cell& c = Table[tx][y];
        if (c.void_) return true;
        if (c.busy) return false;
        if (c.piece_id && Piece_IsFixed(c.piece_id)) return true;
        if (c.piece_id && c.piece_id->falling) return false;
        if (c.autospawn == 1) return false;
    }
    return false;
}

void Fall_Begin(Piece* p, const Point& from, int tx, int ty, int mode) {
    p->falling = mode;
    p->fall_y = Table_OriginY + ty * Cell_Height;
    p->fall_x = mode == 1 ? p->x : Table_OriginX + tx * Cell_Width;
    p->x_cell_src = from.x;
    p->y_cell_src = from.y;
    p->x_cell_dest = tx;
    p->y_cell_dest = ty;
    Table[tx][ty].busy = p;
}

void Piece_SetPos(Piece* p, int x, int y) {
    p->x = x;
    p->y = y;
    p->xr = static_cast<float>(x);
    p->yr = static_cast<float>(y);
}

} // namespace

bool Piece_IsFixed(const Piece* p) {
    return p->shields_count > 0 && p->antigrav_first_hit == 0;
}

void Table_Update() {
    Pieces_Collect();
    Table_Unstick();
    Table_Hint(MouseXPos + View_OffsetX, MouseYPos + View_OffsetY, Min_Match);
    Table_UpdateCells();
    Table_MouseCell();
    Score_MultUpdate();
    Table_HandleClick();
    Hammer_Update();
    Pieces_Move();
    Table_ScanCascades();
}

void Table_UpdateCells() {
    for (int x = 0; x < Table_dx; ++x) {
        for (int y = 0; y < Table_dy; ++y) {
            Table_cell& c = Table[x][y];
            if (c.void_) continue;
            if (c.autospawn == 1 && !c.busy && !c.piece_id) {
                c.autospawn_timer = Trunc(c.autospawn_timer - DeltaMs);
                if (c.autospawn_timer <= 0) {
                    const Point corner = Table_CellToPixel(x, y);
                    c.piece_id = Piece_CreateRandom(corner.x, corner.y);
                    c.autospawn_timer = 100;
                }
            }
            if (c.busy_delay != 0) {
                c.busy_delay = Trunc(c.busy_delay - DeltaMs);
                if (c.busy_delay <= 0) {
                    c.busy_delay = 0;
                    c.busy = nullptr;
                }
            }
        }
    }
}

void Pieces_Move() {
    // Pieces created or removed during the pass (a swap's match) leave the indices valid.
    for (std::size_t i = 0; i < Pieces.size(); ++i) {
        Piece* p = Pieces[i];
        if (!p) continue;
        if (p->color == Kind_SnowHalf)
            SnowballHalf_Fly(p);
        else if (p->swap_state == 1 || p->swap_state == 2)
            Swap_Move(p);
    }
    // Upwards, so a piece that drops into the cell below is not moved twice.
    for (int x = 0; x < Table_dx; ++x) {
        for (int y = Table_dy - 1; y >= 0; --y) {
            Piece* p = Table[x][y].piece_id;
            if (!p || p->swap_state != 0) continue;
            p->stop_moving = 0;
            Piece_FallStep(p);
        }
    }
    for (int y = 0; y < Table_dy; ++y) {
        for (int x = 0; x < Table_dx; ++x) {
            Piece* p = Table[x][y].piece_id;
            if (!p || p->swap_state != 0) continue;
            Piece_TrySlide(p);
            if (p->falling) continue;
            if (p->stop_moving & 1) Piece_Stop(p, 1);
            if (p->stop_moving & 2) Piece_Stop(p, 0);
        }
    }
}

void Piece_FallStep(Piece* p) {
    if (p->falling != 0) {
        p->speed += p->accel_grav * DeltaSec;
        if (p->speed > p->speed_max) p->speed = p->speed_max;
        const float step = p->speed * DeltaSec;
        const int h = p->falling == 2 ? -1 : p->falling == 3 ? 1 : 0;
        p->yr += step;
        p->y = Trunc(p->yr);
        if (h != 0) {
            p->xr += h * step;
            p->x = Trunc(p->xr);
        }
        // Never overlap the piece still standing in (or leaving) the destination cell.
        if (Table_cell* below = CellAt(p->x_cell_src + h, p->y_cell_src + 1)) {
            const Piece* q = below->piece_id;
            if (q && q != p && p->y + Cell_Height > q->y) {
                const int back = q->y - Cell_Height - p->y;
                Piece_SetPos(p, p->x + h * back, q->y - Cell_Height);
            }
        }
        if (p->y >= p->fall_y) {
            Piece_SetPos(p, p->fall_x, p->fall_y);
            p->falling = 0;
        }
        // The piece belongs to its new cell as soon as its top edge has crossed into it.
        const Point now = Table_PixelToCell(p->x, p->y);
        if (now.x == p->x_cell_dest && now.y == p->y_cell_dest) {
            Table_cell* src = CellAt(p->x_cell_src, p->y_cell_src);
            Table_cell* dest = CellAt(p->x_cell_dest, p->y_cell_dest);
            if (src && src->piece_id == p) src->piece_id = nullptr;
            if (dest) {
                dest->piece_id = p;
                if (dest->busy == p) dest->busy = nullptr;
            }
        }
    }
    if (p->falling == 0) Piece_TryFall(p);
}

void Piece_TryFall(Piece* p) {
    Point c;
    if (!Piece_MayDrop(p, c)) {
        Piece_Stop(p, 1);
        return;
    }
    const Table_cell& below = Table[c.x][c.y + 1];
    const bool may =
        !below.void_ && !below.busy && (!below.piece_id || below.piece_id->falling != 0);
    if (may)
        Fall_Begin(p, c, c.x, c.y + 1, 1);
    else
        p->stop_moving |= 1;
}

void Piece_TrySlide(Piece* p) {
    Point c;
    if (p->falling || !Piece_MayDrop(p, c)) return;
    const Piece* under = Table[c.x][c.y + 1].piece_id;
    if (under && under->falling) return;
    if (Slide_Accepts(c.x + 1, c.y + 1))
        Fall_Begin(p, c, c.x + 1, c.y + 1, 3);
    else if (Slide_Accepts(c.x - 1, c.y + 1))
        Fall_Begin(p, c, c.x - 1, c.y + 1, 2);
    else
        p->stop_moving |= 2;
}

void Piece_Stop(Piece* p, int vertical) {
    p->speed = 0.0f;
    if (vertical == 1 && (p->antigrav_first_hit & 1)) p->antigrav_first_hit -= 1;
    if (vertical == 0 && (p->antigrav_first_hit & 2)) p->antigrav_first_hit -= 2;
}
