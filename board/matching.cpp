#include "board/matching.h"

#include "audio/sound_fx.h"
#include "board/blasts.h"
#include "board/clock.h"
#include "board/hammers.h"
#include "board/pieces.h"
#include "board/swap.h"
#include "board/tips.h"
#include "data/level_file.h"
#include "engine/frame.h"
#include "engine/system.h"
#include "fx/effects.h"

#include <algorithm>
#include <cstdio>

Point Group_Cells[Table_Max * Table_Max];
int Group_Count = 0, Group_Kind = 0, Group_Moved = 0;
int Group_HasIcecube = -1, Group_HasLaser = 0;

int Score = 0, Lives = 3, Score_Mult = 1, Score_MultTimer = 0;

// Paces the per-piece "ding" of one resolution: each piece rings a little later and lower.
int Ding_Delay = 0, Ding_Count = 0;
float Ding_Rate = 1.0f;

namespace {

enum : int { Dir_Vertical = 1, Dir_Horizontal = 2 };

// What a search has learnt about one cell. A cell whose stamp is not the current search's is
// untouched (flags 0, kind -1), so a new search needs no pass to clear the grid.
struct ScanCell {
    unsigned stamp = 0;
    int flags = 0;
    int links = 0; // bits 1 left, 2 up, 4 right, 8 down: neighbours in the same group
    int kind = -1;
    bool in_group = false; // listed in Group_Cells by this search
};

ScanCell Scan_Cells[Table_Max][Table_Max];
unsigned Scan_Stamp = 0;

Point Line_Fwd[Table_Max * Table_Max], Line_Back[Table_Max * Table_Max];
int Line_FwdCount = 0, Line_BackCount = 0, Line_FwdKind = 0, Line_BackKind = 0;

ScanCell& Scan(int x, int y) {
    ScanCell& s = Scan_Cells[x][y];
    if (s.stamp != Scan_Stamp) s = ScanCell{Scan_Stamp, 0, 0, -1, false};
    return s;
}

void NewScan() {
    if (++Scan_Stamp == 0) { // the counter wrapped: old stamps could look current
        for (auto& column : Scan_Cells)
            for (ScanCell& s : column)
                s.stamp = 0;
        Scan_Stamp = 1;
    }
}

// A piece that can take part in a line: resting, not swapping, not a snowball.
bool Piece_CanLine(const Piece* p) {
    return p && p->falling == 0 && p->swap_state == 0 && p->color != Kind_Snowball;
}

bool Cell_CanStart(int x, int y, int moved, int test) {
    if (!Table_OnBoard(x, y) || Table[x][y].void_) return false;
    const Piece* p = Table[x][y].piece_id;
    if (!Piece_CanLine(p)) return false;
    if (test && p->shields_count > 0) return false;
    return p->color != Kind_Crystal || moved;
}

// Tests the cell q for one side of a line with run kind `run`; adds it to `list` when it is new
// to the search. True when the line goes on through it.
bool Line_TestCell(int qx, int qy, int dir, int& run, Point* list, int& count) {
    if (!Table_OnBoard(qx, qy)) return false;
    const Table_cell& cell = Table[qx][qy];
    if (cell.void_) return false;
    ScanCell& s = Scan(qx, qy);
    if (s.flags & dir) return false;
    const Piece* p = cell.piece_id;
    if (!Piece_CanLine(p)) return false;
    if (run == Kind_Crystal && Group_Moved)
        run = p->color; // a crystal takes the kind of what lies beside it
    else if (p->color != run && !(p->color == Kind_Crystal && Group_Moved))
        return false;
    if (s.kind == -1 || (s.kind == Kind_Crystal && Group_Moved))
        s.kind = run;
    else if (s.kind != run)
        return false;
    if (s.flags == 0) {
        list[count++] = Point{qx, qy};
        s.links = 0;
    }
    s.flags |= dir;
    return true;
}

// The group size at which the running search may stop (see Group_Search).
int Search_Enough = Table_Max * Table_Max + 1;

// Scans the line through (sx, sy); the cells new to the search are left in Line_Fwd.
void Line_Scan(int sx, int sy, int dir) {
    const int dx = dir == Dir_Horizontal ? 1 : 0, dy = dir == Dir_Vertical ? 1 : 0;
    Line_FwdCount = Line_BackCount = 0;
    Line_FwdKind = Line_BackKind = Scan(sx, sy).kind;
    // Without wildcards both sides keep the start's kind and the whole line joins, so a scan
    // may stop once its new cells bring the group to Search_Enough: the search ends there.
    const int cap =
        Group_Moved ? Table_Max * Table_Max : std::max(Min_Match - 1, Search_Enough - Group_Count);
    for (int k = 1; Line_FwdCount < cap && Line_TestCell(sx + k * dx, sy + k * dy, dir,
                                                         Line_FwdKind, Line_Fwd, Line_FwdCount);
         ++k) {
    }
    for (int k = 1;
         Line_FwdCount + Line_BackCount < cap &&
         Line_TestCell(sx - k * dx, sy - k * dy, dir, Line_BackKind, Line_Back, Line_BackCount);
         ++k) {
    }
    const bool same = Line_FwdKind == Line_BackKind || Line_FwdKind == Kind_Crystal ||
                      Line_BackKind == Kind_Crystal;
    if (!same) {
        // A crystal between two different kinds: each side must make a line on its own.
        if (Line_FwdCount < Min_Match - 1) Line_FwdCount = 0;
        if (Line_BackCount < Min_Match - 1) return;
    }
    for (int i = 0; i < Line_BackCount; ++i)
        Line_Fwd[Line_FwdCount++] = Line_Back[i];
}

void Group_Append(Point c) {
    Group_Cells[Group_Count++] = c;
    Scan(c.x, c.y).in_group = true;
}

// Scans from a group cell and appends the line if it is long enough; true when it added cells.
bool Group_Extend(int x, int y, int dir) {
    Line_Scan(x, y, dir);
    if (Line_FwdCount < Min_Match - 1) return false;
    for (int i = 0; i < Line_FwdCount; ++i)
        Group_Append(Line_Fwd[i]);
    return true;
}

// Every group cell learns which of its four neighbours belong to the group too.
void Group_Link() {
    static const int kSides[4][3] = {{-1, 0, 1}, {0, -1, 2}, {1, 0, 4}, {0, 1, 8}};
    for (int i = 0; i < Group_Count; ++i) {
        const Point a = Group_Cells[i];
        ScanCell& s = Scan(a.x, a.y);
        for (const auto& side : kSides) {
            const int nx = a.x + side[0], ny = a.y + side[1];
            if (Table_OnBoard(nx, ny) && Scan(nx, ny).in_group) s.links |= side[2];
        }
    }
}

void Group_Properties() {
    for (int i = 0; i < Group_Count; ++i) {
        const Piece* p = Table[Group_Cells[i].x][Group_Cells[i].y].piece_id;
        if (!p) continue;
        if (p->laser) Group_HasLaser = 1;
        if (p->color == Kind_Icecube) Group_HasIcecube = 1;
    }
}

// The search itself; it stops as soon as the group holds `enough` cells. A group only grows
// while it is searched, so a stopped search tells truly whether the whole group reaches
// `enough`, but leaves the search state unfinished.
void Group_Search(int x, int y, int moved, int test, int enough) {
    Group_Count = 0;
    Search_Enough = enough;
    if (!Cell_CanStart(x, y, moved, test)) return;
    Group_Moved = moved;
    Group_Kind = Table[x][y].piece_id->color;
    NewScan();
    Group_HasIcecube = -1;
    Group_HasLaser = 0;
    Group_Append(Point{x, y});
    ScanCell& start = Scan(x, y);
    start.flags = Dir_Vertical | Dir_Horizontal;
    start.kind = Group_Kind;
    if (Group_Count >= enough) return;
    Group_Extend(x, y, Dir_Vertical);
    if (Group_Count >= enough) return;
    Group_Extend(x, y, Dir_Horizontal);
    if (Group_Count < Min_Match || Group_Count >= enough) return;
    // Grow through lines crossing the group until nothing more joins (L, T and cross shapes).
    for (bool added = true; added;) {
        added = false;
        const int present = Group_Count;
        for (int i = 0; i < present; ++i) {
            const Point c = Group_Cells[i];
            const int flags = Scan(c.x, c.y).flags;
            if (!(flags & Dir_Vertical)) added |= Group_Extend(c.x, c.y, Dir_Vertical);
            if (Group_Count >= enough) return;
            if (!(flags & Dir_Horizontal)) added |= Group_Extend(c.x, c.y, Dir_Horizontal);
            if (Group_Count >= enough) return;
        }
    }
}

// The blast hits the eight neighbours, sideways first, then the corners.
void Bomb_Explode(const Piece* p, int x, int y) {
    static const int kAround[8][2] = {{-1, 0},  {1, 0},  {0, 1}, {0, -1},
                                      {-1, -1}, {1, -1}, {1, 1}, {-1, 1}};
    for (const auto& d : kAround)
        Table_Blast(x + d[0], y + d[1]);
    const Point at = Table_ToScreen(Point{p->x, p->y});
    Gfx_Explosion(at.x, at.y, Table[x][y].background > 0 ? 0.1f : 0.0f);
    Snd_CountPiece(SND_EXPLOSION, p->x, p->y);
}

} // namespace

void Table_FindGroup(int x, int y, int moved, int test) {
    Group_Search(x, y, moved, test, Table_Max * Table_Max + 1);
    if (Group_Count < Min_Match) return;
    Group_Link();
    Group_Properties();
}

bool Table_GroupReaches(int x, int y, int need) {
    Group_Search(x, y, 0, 1, need);
    return Group_Count >= need;
}

void Table_ResolveGroup() {
    Time_BonusForGroup(); // also for smaller groups: it keeps the reserve within the time burnt
    if (Group_Count < Min_Match) return;
    Tips_GroupResolving();
    if (Group_HasIcecube == 1 && !Group_Moved) Score_Add(500);
    if (Group_HasIcecube != 1) {
        Score_AddMatch(Group_Count * 10);
        Hammer_Combo();
    }
    Hint_Restart();
    Ding_Delay = 0;
    Ding_Count = 0;
    Snd_ResetPieces();
    for (int i = 0; i < Group_Count; ++i)
        Table_TriggerPiece(Group_Cells[i].x, Group_Cells[i].y);
    Snd_FlushPieces(); // one shield, blast or laser sound for the whole group
}

void Table_ScanCascades() {
    for (const Piece* p : Pieces)
        if (p && p->falling) return;
    for (int y = 0; y < Table_dy; ++y) {
        for (int x = 0; x < Table_dx; ++x) {
            Table_FindGroup(x, y, 0, 0);
            Table_ResolveGroup();
        }
    }
}

void Table_TriggerPiece(int x, int y) {
    if (!Table_OnBoard(x, y)) return;
    Piece* p = Table[x][y].piece_id;
    if (!p || p->triggered || p->falling) return;
    if (p->shields_count > 0) {
        --p->shields_count; // a match knocks off one chain; the piece stays
        Snd_CountPiece(SND_CHAIN_OFF, p->x, p->y);
        const Point at = Table_ToScreen(Point{p->x, p->y});
        Gfx_ChainBreak(at.x + Cell_HalfWidth, at.y + Cell_HalfHeight);
    } else {
        p->triggered = 1;
        if (p->bomb) {
            Bomb_Explode(p, x, y);
        } else if (p->laser) {
            Table_LaserLines(x, y);
            const Point at = Table_ToScreen(Point{p->x, p->y});
            Gfx_LaserLines(at.x, at.y);
            Snd_CountPiece(SND_LASER, p->x, p->y);
        } else if (p->golden) {
            Time_Golden();
        } else if (Kind_IsGem(p->color) && Ding_Delay < 4000)
            Snd_AddDelayed(SND_DING, Ding_Rate, 0.5f * Snd_FxVolume(), Ding_Delay, 0.0f, p->x,
                           p->y);
        Ding_Rate = std::max(p->color * 7 + 30 - (Ding_Count + 1), 30) / 100.0f;
        ++Ding_Count;
        Table_TakePiece(x, y);
        if (p->bomb && Table[x][y].background == 1) Table_BreakIce(x, y);
        Piece_Remove(p);
    }
    Ding_Delay += 83;
}

void Table_TakePiece(int x, int y) {
    Table_cell& cell = Table[x][y];
    if (!cell.piece_id) {
        std::fprintf(stderr, "cant remove piece at %d,%d\n", x, y);
        return;
    }
    const Point at = Table_ToScreen(Point{cell.piece_id->x, cell.piece_id->y});
    cell.piece_id = nullptr;
    if (Group_HasIcecube == 1 && Group_Moved) {
        cell.background = cell.bg_initial; // an icecube moved into a match rebuilds the ice
        Snd_PlayObj(SndBoulder, Snd_FxVolume(), 0.5f, MouseXPos, MouseYPos);
        Gfx_Rebuild(at.x, at.y, 0.1f);
    } else if (Group_HasLaser != 1)
        Table_BreakIce(x, y);
    int block = Group_Moved ? 120 : 30;
    if (Group_Moved && LevelCrt >= 4) {
        // Long enough for the crystal or snowball the move made to fade in.
        if (Group_Count == 4) block = 960;
        if (Group_Count >= 5) block = LevelCrt <= 5 ? 960 : 1440;
    }
    cell.busy_delay = block;
    cell.busy = Busy_Marker;
}

void Table_BreakIce(int x, int y) {
    Table_cell& cell = Table[x][y];
    const Point centre = Table_CellCentreOnScreen(x, y);
    if (cell.background == 0) {
        Gfx_PieceVanish(centre.x, centre.y);
        return;
    }
    Tips_IceBroken();
    // Rate 1 or 0 with equal chance; the sound manager plays rate 0 at the recorded pitch.
    const float rate = static_cast<float>(Rand(0, 1));
    const Point cell_at = Table_CellToPixel(x, y);
    Snd_PlayAt(SND_ICE_BREAK, Snd_FxVolume(), rate, cell_at.x + Cell_HalfWidth, y, SND_AT_BOARD);
    if (cell.background >= 2)
        Gfx_SnowBreak(centre.x, centre.y);
    else
        Gfx_IceBreak(centre.x, centre.y);
    --cell.background;
}

void Score_AddMatch(int points) {
    Score_Add(points * Score_Mult);
    Score_MultTimer = 3000;
}

void Score_Add(int points) {
    const int before = Score / 70000;
    Score += points;
    if (Score / 70000 > before) ++Lives;
}

void Score_MultUpdate() {
    if (Score_Mult <= 1) return;
    Score_MultTimer = Trunc(Score_MultTimer - DeltaMs);
    if (Score_MultTimer <= 0) Score_Mult = 1;
}

void Score_MultReset() {
    Score_Mult = 1;
}

void Score_NewGame() {
    Score = 0;
    Lives = 3;
    Score_Mult = 1;
    Score_MultTimer = 0;
}
