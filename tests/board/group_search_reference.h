// The straightforward group search and move tests the board once used, kept as the reference the
// faster ones must agree with: every search clears the whole grid, links pair every two group
// cells, and every move test builds the whole group. It reads the live board and leaves its
// result in its own state, so both can run on the same board.
#pragma once

#include "board/matching.h"
#include "board/pieces.h"
#include "board/table.h"

#include <algorithm>
#include <utility>

namespace reference {

struct Result {
    Point cells[Table_Max * Table_Max];
    int count = 0, kind = 0, moved = 0, has_icecube = -1, has_laser = 0;
};

inline Result Group;
inline int Flags[Table_Max][Table_Max], Kinds[Table_Max][Table_Max], Links[Table_Max][Table_Max];
inline Point Fwd[Table_Max * Table_Max], Back[Table_Max * Table_Max];
inline int FwdCount = 0, BackCount = 0;

inline bool CanLine(const Piece* p) {
    return p && p->falling == 0 && p->swap_state == 0 && p->color != Kind_Snowball;
}

inline bool TestCell(int qx, int qy, int dir, int& run, Point* list, int& count) {
    if (!Table_OnBoard(qx, qy) || Table[qx][qy].void_ || (Flags[qx][qy] & dir)) return false;
    const Piece* p = Table[qx][qy].piece_id;
    if (!CanLine(p)) return false;
    if (run == Kind_Crystal && Group.moved)
        run = p->color;
    else if (p->color != run && !(p->color == Kind_Crystal && Group.moved))
        return false;
    int& k = Kinds[qx][qy];
    if (k == -1 || (k == Kind_Crystal && Group.moved))
        k = run;
    else if (k != run)
        return false;
    if (Flags[qx][qy] == 0) {
        list[count++] = Point{qx, qy};
        Links[qx][qy] = 0;
    }
    Flags[qx][qy] |= dir;
    return true;
}

inline void ScanLine(int sx, int sy, int dir) {
    const int dx = dir == 2 ? 1 : 0, dy = dir == 1 ? 1 : 0;
    FwdCount = BackCount = 0;
    int fwd_kind = Kinds[sx][sy], back_kind = Kinds[sx][sy];
    for (int k = 1; TestCell(sx + k * dx, sy + k * dy, dir, fwd_kind, Fwd, FwdCount); ++k) {
    }
    for (int k = 1; TestCell(sx - k * dx, sy - k * dy, dir, back_kind, Back, BackCount); ++k) {
    }
    if (fwd_kind != back_kind && fwd_kind != Kind_Crystal && back_kind != Kind_Crystal) {
        if (FwdCount < Min_Match - 1) FwdCount = 0;
        if (BackCount < Min_Match - 1) return;
    }
    for (int i = 0; i < BackCount; ++i)
        Fwd[FwdCount++] = Back[i];
}

inline bool Extend(int x, int y, int dir) {
    ScanLine(x, y, dir);
    if (FwdCount < Min_Match - 1) return false;
    for (int i = 0; i < FwdCount; ++i)
        Group.cells[Group.count++] = Fwd[i];
    return true;
}

inline void FindGroup(int x, int y, int moved, int test) {
    Group.count = 0;
    if (!Table_OnBoard(x, y) || Table[x][y].void_) return;
    const Piece* start = Table[x][y].piece_id;
    if (!CanLine(start) || (test && start->shields_count > 0)) return;
    if (start->color == Kind_Crystal && !moved) return;
    Group.moved = moved;
    Group.kind = start->color;
    for (int i = 0; i < Table_Max; ++i)
        for (int j = 0; j < Table_Max; ++j)
            Flags[i][j] = 0, Kinds[i][j] = -1;
    Group.has_icecube = -1;
    Group.has_laser = 0;
    Group.cells[Group.count++] = Point{x, y};
    Flags[x][y] = 3;
    Kinds[x][y] = Group.kind;
    Extend(x, y, 1);
    Extend(x, y, 2);
    if (Group.count < Min_Match) return;
    for (bool added = true; added;) {
        added = false;
        const int present = Group.count;
        for (int i = 0; i < present; ++i) {
            const Point c = Group.cells[i];
            const int flags = Flags[c.x][c.y];
            if (!(flags & 1)) added |= Extend(c.x, c.y, 1);
            if (!(flags & 2)) added |= Extend(c.x, c.y, 2);
        }
    }
    for (int i = 0; i < Group.count; ++i)
        for (int j = 0; j < Group.count; ++j) {
            const Point a = Group.cells[i], b = Group.cells[j];
            const int ox = b.x - a.x, oy = b.y - a.y;
            if (ox * ox + oy * oy == 1) Links[a.x][a.y] |= ox < 0 ? 1 : oy < 0 ? 2 : ox > 0 ? 4 : 8;
        }
    for (int i = 0; i < Group.count; ++i) {
        const Piece* p = Table[Group.cells[i].x][Group.cells[i].y].piece_id;
        if (p && p->laser) Group.has_laser = 1;
        if (p && p->color == Kind_Icecube) Group.has_icecube = 1;
    }
}

inline bool Movable(const Piece* p) {
    return p && Kind_IsGem(p->color) && !p->falling && p->swap_state == 0 && p->shields_count == 0;
}

inline int TestMove(int x1, int y1, int x2, int y2, int need) {
    if (!Table_OnBoard(x2, y2) || !Table_OnBoard(x1, y1)) return 0;
    if (Table[x2][y2].void_ || !Movable(Table[x2][y2].piece_id)) return 0;
    std::swap(Table[x1][y1].piece_id, Table[x2][y2].piece_id);
    FindGroup(x1, y1, 0, 1);
    bool found = Group.count >= need;
    if (!found) {
        FindGroup(x2, y2, 0, 1);
        found = Group.count >= need;
    }
    std::swap(Table[x1][y1].piece_id, Table[x2][y2].piece_id);
    return found ? 1 : 0;
}

constexpr int kDirs[4][2] = {{-1, 0}, {1, 0}, {0, -1}, {0, 1}};

struct HintResult {
    int best = -1;
    int move[4] = {0, 0, 0, 0};
};

// The move whose first cell's corner is nearest to (mx, my); the first found on a tie.
inline HintResult Hint(int mx, int my, int need) {
    HintResult r;
    for (int y = 0; y < Table_dy; ++y)
        for (int x = 0; x < Table_dx; ++x) {
            if (Table[x][y].void_ || !Movable(Table[x][y].piece_id)) continue;
            const Point c = Table_CellToPixel(x, y);
            const long long ex = static_cast<long long>(mx) - c.x;
            const long long ey = static_cast<long long>(my) - c.y;
            const int d = static_cast<int>(std::min(ex * ex + ey * ey, 2147483647LL));
            for (const auto& dir : kDirs) {
                if (!TestMove(x, y, x + dir[0], y + dir[1], need)) continue;
                if (r.best != -1 && d >= r.best) continue;
                r.best = d;
                r.move[0] = x, r.move[1] = y, r.move[2] = x + dir[0], r.move[3] = y + dir[1];
            }
        }
    return r;
}

// Whether any move exists, in reading order, stopping at the first.
inline bool MovesExist(int need) {
    for (int y = 0; y < Table_dy; ++y)
        for (int x = 0; x < Table_dx; ++x)
            if (!Table[x][y].void_ && Movable(Table[x][y].piece_id))
                for (const auto& dir : kDirs)
                    if (TestMove(x, y, x + dir[0], y + dir[1], need)) return true;
    return false;
}

} // namespace reference
