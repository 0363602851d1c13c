#include "board/swap.h"

#include "audio/sound_fx.h"
#include "board/blasts.h"
#include "board/gravity.h"
#include "board/matching.h"
#include "board/pieces.h"
#include "board/ripple.h"
#include "board/table.h"
#include "board/tips.h"
#include "data/level_file.h"
#include "engine/frame.h"
#include "engine/system.h"
#include "fx/effects.h"
#include "fx/particles.h"

#include <algorithm>
#include <utility>

int FrameCounter = 0;
int Hint_Timer = 0;
int Hint_Need = Min_Match;
int Hint_MouseX = 0, Hint_MouseY = 0;
int Hint_BestDist = -1;
int Hint_Move[4] = {0, 0, 0, 0};
int Hint_Shown = 0;
Hint_Sparkle Hint_Sparkles[8];
int Hint_SparkleCount = 0;

namespace {

// A piece the player may move: a resting, unchained gem that is not swapping.
bool Piece_Movable(const Piece* p) {
    return p && Kind_IsGem(p->color) && !p->falling && p->swap_state == 0 && p->shields_count == 0;
}

bool Cell_HasMovableGem(int x, int y) {
    return !Table[x][y].void_ && Piece_Movable(Table[x][y].piece_id);
}

const int kMoveDirs[4][2] = {{-1, 0}, {1, 0}, {0, -1}, {0, 1}};

void Piece_SnapToCell(Piece* p, int x, int y) {
    const Point c = Table_CellToPixel(x, y);
    p->x = c.x;
    p->y = c.y;
    p->xr = static_cast<float>(c.x);
    p->yr = static_cast<float>(c.y);
}

// The reward for a big group the player made, put into the cell the moved piece lies in.
Piece* Swap_Reward(int x, int y) {
    const int n = Group_Count;
    if (LevelCrt <= 3 || n < 4) return nullptr;
    if (LevelCrt >= 6 && n >= 5) {
        Table_MakeSnowball(x, y);
    } else {
        Table_MakeCrystal(x, y);
    }
    Piece* made = Table[x][y].piece_id;
    return made && (made->color == Kind_Crystal || made->color == Kind_Snowball) ? made : nullptr;
}

// Searches the player's move at one of the two cells and resolves what it finds.
bool Swap_Resolve(int x, int y, Piece*& reward) {
    Table_FindGroup(x, y, 1, 0);
    if (Group_Count < Min_Match) return false;
    reward = Swap_Reward(x, y);
    ++Player_Matches;
    Table_ResolveGroup();
    WindTimer = 0; // every match turns the wind
    return true;
}

bool Move_CanTest(int x1, int y1, int x2, int y2) {
    if (!Table_OnBoard(x2, y2) || !Table_OnBoard(x1, y1)) return false;
    return !Table[x2][y2].void_ && Piece_Movable(Table[x2][y2].piece_id);
}

// The move tests of a whole board, in the order the rules make them. Each test only asks whether
// the group reaches Hint_Need, which a search stopped there answers; the last move tested is
// then tested again in full, so the search state left behind is the one the full tests leave.
struct Move_Scan {
    bool tested = false;
    int last[4] = {0, 0, 0, 0};

    bool Test(int x1, int y1, int x2, int y2) {
        if (!Move_CanTest(x1, y1, x2, y2)) return false;
        tested = true;
        last[0] = x1, last[1] = y1, last[2] = x2, last[3] = y2;
        std::swap(Table[x1][y1].piece_id, Table[x2][y2].piece_id);
        const bool found =
            Table_GroupReaches(x1, y1, Hint_Need) || Table_GroupReaches(x2, y2, Hint_Need);
        std::swap(Table[x1][y1].piece_id, Table[x2][y2].piece_id);
        return found;
    }
    void Finish() const {
        if (tested) Table_TestMove(last[0], last[1], last[2], last[3]);
    }
};

// Sparkles run along the edges of both cells of the hinted move, from their top-right and
// bottom-left corners, on the sides that face along the move.
void Hint_PlaceSparkles() {
    const int x1 = Hint_Move[0], y1 = Hint_Move[1], x2 = Hint_Move[2], y2 = Hint_Move[3];
    struct Row {
        bool when;
        bool second, top_right;
        int dx, dy;
    };
    const Row rows[8] = {
        {x2 <= x1, false, true, 0, 1},  {x1 <= x2, false, false, 0, -1},
        {y1 <= y2, false, true, -1, 0}, {y2 <= y1, false, false, 1, 0},
        {x1 <= x2, true, true, 0, 1},   {x2 <= x1, true, false, 0, -1},
        {y2 <= y1, true, true, -1, 0},  {y1 <= y2, true, false, 1, 0},
    };
    Hint_SparkleCount = 0;
    for (const Row& r : rows) {
        if (!r.when) continue;
        const int cx = r.second ? x2 : x1, cy = r.second ? y2 : y1;
        Hint_Sparkle& s = Hint_Sparkles[Hint_SparkleCount++];
        s.x = Table_OriginX + (r.top_right ? cx + 1 : cx) * Cell_Width;
        s.y = Table_OriginY + (r.top_right ? cy : cy + 1) * Cell_Height;
        s.dx = r.dx;
        s.dy = r.dy;
    }
}

// Whether any move exists, testing in reading order and stopping at the first.
bool Moves_Exist() {
    Move_Scan moves;
    bool found = false;
    for (int y = 0; y < Table_dy && !found; ++y)
        for (int x = 0; x < Table_dx && !found; ++x)
            if (Cell_HasMovableGem(x, y))
                for (int d = 0; d < 4 && !found; ++d)
                    found = moves.Test(x, y, x + kMoveDirs[d][0], y + kMoveDirs[d][1]);
    moves.Finish();
    return found;
}

} // namespace

void Table_HandleClick() {
    if (Intro_Active) return;
    if (!Mouse_OverTable) {
        Drag_Active = 0;
    } else if (MouseLeftPressed) {
        // A tip that teaches a move takes only clicks that can make one.
        if (!Tip_ClickAllowed()) return;
        const Piece* p = Table[Mouse_Cell.x][Mouse_Cell.y].piece_id;
        if (p && p->color == Kind_Snowball && !p->falling) {
            Snowball_Launch(Mouse_Cell.x, Mouse_Cell.y); // a launch takes no move
        } else if (!Selection_Active) {
            Table_Select();
            Drag_Active = 1;
        } else if (Mouse_Cell.x == Selected_Cell.x && Mouse_Cell.y == Selected_Cell.y) {
            Drag_Active = 1;
        } else if (Table_StartSwap()) {
            Selection_Active = 0;
        } else {
            Table_Select();
            Drag_Active = 1;
        }
    } else if (MouseMoved && !MouseLeftReleased) {
        // Only a drag that started on a selected piece swaps it.
        const bool elsewhere = Mouse_Cell.x != Selected_Cell.x || Mouse_Cell.y != Selected_Cell.y;
        if (Drag_Active && Selection_Active && elsewhere && Table_StartSwap()) {
            Drag_Active = 0;
            Selection_Active = 0;
        }
    } else if (MouseLeftReleased) {
        Drag_Active = 0;
    }
}

void Table_Select() {
    const Piece* p = Table[Mouse_Cell.x][Mouse_Cell.y].piece_id;
    if (!p || p->shields_count > 0) return;
    Selected_Cell = Mouse_Cell;
    Selection_Active = 1;
    Snd_PlayObj(SndClickGem, Snd_FxVolume(), 1.0f, MouseXPos, MouseYPos);
}

int Table_StartSwap() {
    const Point s = Selected_Cell, m = Mouse_Cell;
    if (std::abs(s.x - m.x) + std::abs(s.y - m.y) != 1) return 0;
    if (!Table_OnBoard(s.x, s.y) || !Table_OnBoard(m.x, m.y)) return 0;
    Piece* a = Table[s.x][s.y].piece_id;
    Piece* b = Table[m.x][m.y].piece_id;
    auto busy = [](const Piece* p) {
        return !p || p->falling || p->speed != 0.0f || p->swap_state != 0 || p->shields_count > 0;
    };
    if (busy(a) || busy(b)) return 0;
    Selection_Active = 0;
    a->swap_state = 1;
    b->swap_state = 3;
    a->swap_pair = b;
    if (b->x < a->x) {
        a->swap_dir_x = -1, a->swap_dir_y = 0;
    } else if (b->x > a->x) {
        a->swap_dir_x = 1, a->swap_dir_y = 0;
    } else if (b->y < a->y) {
        a->swap_dir_x = 0, a->swap_dir_y = -1;
    } else {
        a->swap_dir_x = 0, a->swap_dir_y = 1;
    }
    a->swap_dist = static_cast<float>(a->swap_dir_x != 0 ? Cell_Width : Cell_Height);
    a->x_cell_src = s.x;
    a->y_cell_src = s.y;
    a->x_cell_dest = m.x;
    a->y_cell_dest = m.y;
    Snd_PlayObj(SndGemMove, Snd_FxVolume(), 1.0f, MouseXPos, MouseYPos);
    a->speed = 200.0f;
    b->speed = 200.0f;
    return 1;
}

void Swap_Move(Piece* a) {
    Piece* b = a->swap_pair;
    if (!b) { // a partner lost mid-swap (removed by a later rule): stop where the piece stands
        a->swap_state = 0;
        return;
    }
    a->speed = std::min(a->speed + a->accel_grav * DeltaMs / 1000.0f, a->speed_max);
    const float step = a->speed * DeltaMs / 1000.0f;
    a->xr += a->swap_dir_x * step;
    a->yr += a->swap_dir_y * step;
    b->xr -= a->swap_dir_x * step;
    b->yr -= a->swap_dir_y * step;
    a->x = Trunc(a->xr), a->y = Trunc(a->yr);
    b->x = Trunc(b->xr), b->y = Trunc(b->yr);
    a->swap_dist -= step;
    if (a->swap_dist > 0.0f) return;

    Piece_Stop(a, 0);
    const int sx = a->x_cell_src, sy = a->y_cell_src, dx = a->x_cell_dest, dy = a->y_cell_dest;
    Table[dx][dy].piece_id = a;
    Table[sx][sy].piece_id = b;
    Piece_SnapToCell(a, dx, dy);
    Piece_SnapToCell(b, sx, sy);
    if (a->swap_state == 2) { // back where they started
        a->swap_state = b->swap_state = 0;
        return;
    }
    a->swap_state = b->swap_state = 0;
    Piece *made_dest = nullptr, *made_src = nullptr;
    const bool at_dest = Swap_Resolve(dx, dy, made_dest);
    const bool at_src = Swap_Resolve(sx, sy, made_src);
    if (made_dest) made_dest->triggered = 0;
    if (made_src) made_src->triggered = 0;
    if (at_dest || at_src) return;
    // No line: slide back. Each cell keeps its own piece for the whole way.
    Table[sx][sy].piece_id = a;
    Table[dx][dy].piece_id = b;
    a->swap_state = 2;
    b->swap_state = 3;
    a->swap_dir_x = -a->swap_dir_x;
    a->swap_dir_y = -a->swap_dir_y;
    a->swap_dist = static_cast<float>(a->swap_dir_y != 0 ? Cell_Height : Cell_Width);
    std::swap(a->x_cell_src, a->x_cell_dest);
    std::swap(a->y_cell_src, a->y_cell_dest);
}

void Table_MakeCrystal(int x, int y) {
    const Point c = Table_CellToPixel(x, y);
    Piece* p = Piece_Create(c.x, c.y, Kind_Crystal);
    p->triggered = 1; // survives the resolution of the group that made it
    p->Fade = 0.001f;
    p->Fade_speed = 0.4f;
    if (Table[x][y].background > 0) Table_BreakIce(x, y);
    const Point at = Table_ToScreen(c);
    Gfx_SpecialSparkle(at.x, at.y, 0.1f);
}

void Table_MakeSnowball(int x, int y) {
    const Piece* old = Table[x][y].piece_id;
    if (old && (old->falling || old->swap_state != 0)) return;
    const Point c = Table_CellToPixel(x, y);
    Piece* p = Piece_Create(c.x, c.y, Kind_Snowball);
    p->triggered = 1;
    p->Fade = 0.001f;
    p->Fade_speed = 0.3f;
    if (Table[x][y].background > 0) Table_BreakIce(x, y);
    const Point at = Table_ToScreen(c);
    Gfx_SpecialSparkle(at.x, at.y, 0.2f);
    Tips_SnowballMade(x, y);
}

int Table_TestMove(int x1, int y1, int x2, int y2) {
    if (!Move_CanTest(x1, y1, x2, y2)) return 0;
    std::swap(Table[x1][y1].piece_id, Table[x2][y2].piece_id);
    Table_FindGroup(x1, y1, 0, 1);
    bool found = Group_Count >= Hint_Need;
    if (!found) {
        Table_FindGroup(x2, y2, 0, 1);
        found = Group_Count >= Hint_Need;
    }
    std::swap(Table[x1][y1].piece_id, Table[x2][y2].piece_id);
    return found ? 1 : 0;
}

void Hint_Restart() {
    Hint_Timer = 8000 - std::min(Easyness * 1000, 4000);
}

void Table_Hint(int mx, int my, int need) {
    if (Hint_Timer >= 1) {
        Hint_Timer = Trunc(Hint_Timer - DeltaMs);
        return;
    }
    Hint_Restart();
    Hint_MouseX = mx;
    Hint_MouseY = my;
    Hint_Need = need;
    Hint_BestDist = -1;
    Move_Scan moves;
    for (int y = 0; y < Table_dy; ++y) {
        for (int x = 0; x < Table_dx; ++x) {
            if (!Cell_HasMovableGem(x, y)) continue;
            const Point corner = Table_CellToPixel(x, y);
            const long long ex = static_cast<long long>(mx) - corner.x;
            const long long ey = static_cast<long long>(my) - corner.y;
            const int d = static_cast<int>(std::min(ex * ex + ey * ey, 2147483647LL));
            for (const auto& dir : kMoveDirs) {
                if (!moves.Test(x, y, x + dir[0], y + dir[1])) continue;
                if (Hint_BestDist != -1 && d >= Hint_BestDist) continue;
                Hint_BestDist = d;
                Hint_Move[0] = x, Hint_Move[1] = y;
                Hint_Move[2] = x + dir[0], Hint_Move[3] = y + dir[1];
            }
        }
    }
    moves.Finish();
    if (Hint_BestDist == -1) return;
    ++Hint_Shown;
    Hint_PlaceSparkles();
    for (int i = 0; i < Hint_SparkleCount; ++i) {
        const Hint_Sparkle& s = Hint_Sparkles[i];
        Gfx_HintSparkles(s.x, s.y, s.dx, s.dy);
    }
}

void Table_Unstick() {
    if (FrameCounter % 32 != 0 || Intro_Active || Group_Count >= Min_Match) return;
    for (const Piece* p : Pieces)
        if (p && (p->falling || p->swap_state != 0)) return;
    if (Moves_Exist()) return;
    // No move: redraw one gem, the earlier ones in reading order the likelier.
    for (int y = 0; y < Table_dy; ++y) {
        for (int x = 0; x < Table_dx; ++x) {
            Piece* p = Table[x][y].piece_id;
            if (!Piece_Movable(p) || Rand(1, 5) != 1) continue;
            const int px = p->x, py = p->y;
            Piece_Remove(p);
            Table[x][y].piece_id = nullptr;
            Piece* q = Piece_Create(px, py, Piece_ChooseKind());
            Table[x][y].piece_id = q;
            return;
        }
    }
}
