#include "bot/bot.h"

#include "board/clock.h"
#include "board/hammers.h"
#include "board/matching.h"
#include "board/pieces.h"
#include "board/ripple.h"
#include "board/table.h"
#include "data/level_file.h"
#include "engine/frame.h"

#include <algorithm>
#include <cstdlib>

Bot_Settings BotSettings;
Bot_Counts BotCounts;

namespace {

// What a person weighs: a layer of ice is worth most, a cell cleared for good a little more;
// other cells, freed chains and pieces that will fall onto ice count for less.
constexpr int Value_IceLayer = 10;
constexpr int Value_LastLayer = 12;
constexpr int Value_PlainCell = 1;
constexpr int Value_Chain = 3;
constexpr int Value_IceAbove = 5;
constexpr int Value_Crystal = 12;
constexpr int Value_Snowball = 25;
constexpr int Value_IcecubeMove = -5; // an icecube moved into a line: nothing gained

// A snowball is launched at once when its row holds this many layers of ice.
constexpr int Snowball_MinIce = 2;

// One action carried out over a few frames, one pointer state a frame.
struct Plan {
    Bot_Pointer steps[8];
    int count = 0, next = 0;
    void Add(Bot_Pointer p) {
        if (count < 8) steps[count++] = p;
    }
};

// How far each cell lies from the nearest ice (capped): when no swap reaches the ice, moves that
// stir the pieces around it come next, as a person works at the last stubborn cells.
constexpr int Near_Cap = 3;
constexpr int Value_NearIce = 1;
int Near_Ice[Table_Max][Table_Max];

Plan Current;
Bot_Pointer Pointer;
float Calm_ms = 0.0f;

// The search state the board's own frame may read after the bot's hypothetical searches.
struct Group_Saved {
    int count, kind, moved, icecube, laser;
};
Point Saved_Cells[Table_Max * Table_Max];

Group_Saved Group_Save() {
    std::copy_n(Group_Cells, Group_Count, Saved_Cells);
    return Group_Saved{Group_Count, Group_Kind, Group_Moved, Group_HasIcecube, Group_HasLaser};
}

void Group_Restore(const Group_Saved& s) {
    Group_Count = s.count;
    Group_Kind = s.kind;
    Group_Moved = s.moved;
    Group_HasIcecube = s.icecube;
    Group_HasLaser = s.laser;
    std::copy_n(Saved_Cells, s.count, Group_Cells);
}

bool Cell_Playable(int x, int y) {
    return Table_OnBoard(x, y) && !Table[x][y].void_;
}

// A piece the player can pick up: a resting, unchained gem that is not swapping.
bool Piece_CanMove(const Piece* p) {
    return p && Kind_IsGem(p->color) && !p->falling && p->swap_state == 0 &&
           p->shields_count == 0 && p->speed == 0.0f;
}

int Ice_Value(int layers) {
    if (layers <= 0) return Value_PlainCell;
    return layers == 1 ? Value_LastLayer : Value_IceLayer;
}

// Ice still standing above row y in column x: pieces falling there may match on it.
int Ice_AboveValue(int x, int y) {
    int v = 0;
    for (int r = 0; r < y; ++r)
        if (!Table[x][r].void_ && Table[x][r].background > 0) v += Value_IceAbove;
    return v;
}

// A bomb's blast takes up to two layers from each occupied neighbour.
int Bomb_Value(int x, int y) {
    int v = 0;
    for (int dx = -1; dx <= 1; ++dx)
        for (int dy = -1; dy <= 1; ++dy)
            if ((dx || dy) && Cell_Playable(x + dx, y + dy) && Table[x + dx][y + dy].piece_id)
                v += std::min(Table[x + dx][y + dy].background, 2) * Value_IceLayer;
    return v;
}

// An icecube the player moves into a line brings back the ice its group's cells had at the start.
int Icecube_Value() {
    int v = Value_IcecubeMove;
    for (int i = 0; i < Group_Count; ++i) {
        const Table_cell& cell = Table[Group_Cells[i].x][Group_Cells[i].y];
        v -= (cell.bg_initial - cell.background) * Value_IceLayer;
    }
    return v;
}

void Near_Measure() {
    for (int x = 0; x < Table_dx; ++x)
        for (int y = 0; y < Table_dy; ++y)
            Near_Ice[x][y] = !Table[x][y].void_ && Table[x][y].background > 0 ? 0 : Near_Cap;
    // Two sweeps of the city-block distance, forwards then backwards.
    for (int x = 0; x < Table_dx; ++x)
        for (int y = 0; y < Table_dy; ++y) {
            if (x > 0) Near_Ice[x][y] = std::min(Near_Ice[x][y], Near_Ice[x - 1][y] + 1);
            if (y > 0) Near_Ice[x][y] = std::min(Near_Ice[x][y], Near_Ice[x][y - 1] + 1);
        }
    for (int x = Table_dx - 1; x >= 0; --x)
        for (int y = Table_dy - 1; y >= 0; --y) {
            if (x + 1 < Table_dx) Near_Ice[x][y] = std::min(Near_Ice[x][y], Near_Ice[x + 1][y] + 1);
            if (y + 1 < Table_dy) Near_Ice[x][y] = std::min(Near_Ice[x][y], Near_Ice[x][y + 1] + 1);
        }
}

// The value of the group the last search found, with the board as the swap leaves it.
int Group_Value() {
    const int n = Group_Count;
    int v = 0;
    int deepest[Table_Max];
    std::fill(std::begin(deepest), std::end(deepest), -1);
    for (int i = 0; i < n; ++i) {
        const Point c = Group_Cells[i];
        const Table_cell& cell = Table[c.x][c.y];
        v += Ice_Value(cell.background);
        if (cell.background <= 0)
            v += (Near_Cap - std::min(Near_Ice[c.x][c.y], Near_Cap)) * Value_NearIce;
        if (const Piece* p = cell.piece_id) {
            if (p->shields_count > 0) v += Value_Chain;
            if (p->bomb) v += Bomb_Value(c.x, c.y);
        }
        deepest[c.x] = std::max(deepest[c.x], c.y);
    }
    if (Group_HasIcecube == 1) return Icecube_Value(); // the move rebuilds ice instead
    if (Group_HasLaser) v /= 3;                        // the laser's group keeps its ice
    for (int x = 0; x < Table_dx; ++x)
        if (deepest[x] >= 0) v += Ice_AboveValue(x, deepest[x]);
    if (n >= 5 && LevelCrt >= 6)
        v += Value_Snowball;
    else if (n >= 4 && LevelCrt > 3)
        v += Value_Crystal;
    return v;
}

// The layers of ice a launched snowball would take: its row out to the edges or the void.
int Snowball_Ice(int x, int y) {
    int layers = 0;
    for (int dir : {-1, 1})
        for (int cx = dir < 0 ? x : x + 1; Cell_Playable(cx, y); cx += dir)
            layers += std::max(Table[cx][y].background, 0);
    return layers;
}

// What a launched snowball clears: its whole row out to the edges or the first void cells, every
// layer of ice, the chains, and the pieces that match nothing (icecubes, other snowballs) which
// clog the board.
int Snowball_Value(int x, int y) {
    int v = 0;
    for (int dir : {-1, 1}) {
        for (int cx = dir < 0 ? x : x + 1; Cell_Playable(cx, y); cx += dir) {
            const int layers = Table[cx][y].background;
            v += layers > 0 ? layers * Value_IceLayer
                            : Value_PlainCell + (Near_Cap - Near_Ice[cx][y]) * Value_NearIce;
            const Piece* p = Table[cx][y].piece_id;
            if (p && p->shields_count > 0) v += Value_Chain;
            if (p && (p->color == Kind_Icecube || p->color == Kind_Snowball)) v += Value_Chain;
        }
    }
    return v;
}

// The second hammer takes a cell's ice whole; cells few pieces can reach are worth more.
int Strike2_Value(int x, int y) {
    const int layers = Table[x][y].background;
    if (layers <= 0) return 0;
    int open = 0;
    for (const Point d : {Point{-1, 0}, Point{1, 0}, Point{0, -1}, Point{0, 1}})
        if (Cell_Playable(x + d.x, y + d.y)) ++open;
    return layers * Value_IceLayer + (4 - open) * 2;
}

// The colour hammer takes every piece of one kind with its ice.
int Strike3_Value(int kind) {
    int v = 0;
    for (int x = 0; x < Table_dx; ++x)
        for (int y = 0; y < Table_dy; ++y) {
            const Piece* p = Table[x][y].piece_id;
            if (!Table[x][y].void_ && p && p->color == kind)
                v += Table[x][y].background * Value_IceLayer;
        }
    return v;
}

Bot_Action Best_Strike() {
    Bot_Action best;
    best.kind = BOT_STRIKE;
    best.value = -1;
    for (int x = 0; x < Table_dx; ++x) {
        for (int y = 0; y < Table_dy; ++y) {
            if (Table[x][y].void_) continue;
            const Piece* p = Table[x][y].piece_id;
            int v = -1;
            if (Hammer_Level == 3 && p && Kind_IsGem(p->color))
                v = Strike3_Value(p->color);
            else if (Hammer_Level == 2)
                v = Strike2_Value(x, y);
            else if (Hammer_Level == 1 && p && p->shields_count == 0 && !p->falling &&
                     p->color != Kind_Snowball) // a new piece falls onto the ice
                v = Table[x][y].background > 0 ? 100 + Table[x][y].background * 10 + y : y;
            if (v > best.value) best.value = v, best.x1 = x, best.y1 = y;
        }
    }
    if (best.value < 0) best.kind = BOT_NONE;
    return best;
}

int Best_Strike2Value() {
    int best = 0;
    for (int x = 0; x < Table_dx; ++x)
        for (int y = 0; y < Table_dy; ++y)
            if (!Table[x][y].void_) best = std::max(best, Strike2_Value(x, y));
    return best;
}

// A hammer is taken when it pays: the colour hammer always, the second near the end of a level
// (little ice left, or the candle low) when a cell's ice is worth it. The first keeps the ice, so
// the meter is saved for the better ones.
bool Hammer_WorthTaking(const Bot_Action& swap) {
    if (Hammer_Disabled || Hammer_Active) return false;
    if (Hammer_Points >= Hammer_Threshold3) return true;
    const int ice = Table_CountIce();
    const bool late = ice <= 3 || (!Relaxed_Mode && Time_Left < Level_Time * 0.35);
    if (Hammer_Points >= Hammer_Threshold2) return late && Best_Strike2Value() >= Value_IceLayer;
    // The last cells and no swap reaches them: even the first hammer changes the piece on them.
    return Hammer_Points >= Hammer_Threshold1 && ice <= 2 && swap.value < Value_IceLayer;
}

int Swap_Value(int x1, int y1, int x2, int y2); // with the ice distances measured

// The best swap, worth less than nothing when every swap loses ice; BOT_NONE without any swap.
Bot_Action Best_Swap() {
    Bot_Action best;
    best.value = Bot_NoValue;
    for (int y = 0; y < Table_dy; ++y) {
        for (int x = 0; x < Table_dx; ++x) {
            for (const Point d : {Point{1, 0}, Point{0, 1}}) {
                const int v = Swap_Value(x, y, x + d.x, y + d.y);
                if (v <= best.value) continue;
                best = Bot_Action{BOT_SWAP, x, y, x + d.x, y + d.y, v};
            }
        }
    }
    return best;
}

Bot_Action Best_Snowball() {
    Bot_Action best;
    best.value = -1;
    for (int x = 0; x < Table_dx; ++x) {
        for (int y = 0; y < Table_dy; ++y) {
            const Piece* p = Table[x][y].piece_id;
            if (Table[x][y].void_ || !p || p->color != Kind_Snowball || p->falling) continue;
            const int v = Snowball_Value(x, y);
            if (v > best.value) best = Bot_Action{BOT_SNOWBALL, x, y, x, y, v};
        }
    }
    return best;
}

Bot_Pointer At_Cell(int x, int y, int left) {
    const Point c = Table_CellCentreOnScreen(x, y);
    return Bot_Pointer{c.x, c.y, left, 0};
}

bool Neighbours(Point a, Point b) {
    return std::abs(a.x - b.x) + std::abs(a.y - b.y) == 1;
}

// A piece selected earlier (by a refused swap or a hammer's strike) next to where the drag starts
// would swap with it on the press: a click on a piece away from both moves the selection first.
void Plan_ClearSelection(Point from, Point to) {
    if (!Selection_Active) return;
    const Point s = Selected_Cell;
    if (!Neighbours(s, from) || (s.x == to.x && s.y == to.y)) return;
    for (int y = 0; y < Table_dy; ++y)
        for (int x = 0; x < Table_dx; ++x) {
            const Point c{x, y};
            if (Neighbours(c, s) || Neighbours(c, from) || (c.x == s.x && c.y == s.y)) continue;
            if (!Cell_Playable(x, y) || !Piece_CanMove(Table[x][y].piece_id)) continue;
            Current.Add(At_Cell(x, y, 0));
            Current.Add(At_Cell(x, y, 1));
            Current.Add(At_Cell(x, y, 0));
            return;
        }
}

void Plan_Action(const Bot_Action& a) {
    Current = Plan{};
    switch (a.kind) {
    case BOT_SWAP:
        Plan_ClearSelection(Point{a.x1, a.y1}, Point{a.x2, a.y2});
        Current.Add(At_Cell(a.x1, a.y1, 0));
        Current.Add(At_Cell(a.x1, a.y1, 1));
        Current.Add(At_Cell(a.x2, a.y2, 1)); // the drag onto the neighbour swaps
        Current.Add(At_Cell(a.x2, a.y2, 0));
        ++BotCounts.moves;
        break;
    case BOT_SNOWBALL:
    case BOT_STRIKE:
        Current.Add(At_Cell(a.x1, a.y1, 0));
        Current.Add(At_Cell(a.x1, a.y1, 1));
        Current.Add(At_Cell(a.x1, a.y1, 0));
        ++(a.kind == BOT_SNOWBALL ? BotCounts.snowballs : BotCounts.strikes);
        break;
    case BOT_TAKE_HAMMER:
        Current.Add(Bot_Pointer{Pointer.x, Pointer.y, 0, 1});
        Current.Add(Bot_Pointer{Pointer.x, Pointer.y, 0, 0});
        ++BotCounts.hammers_taken;
        break;
    default:
        break;
    }
}

} // namespace

void Bot_Reset() {
    Current = Plan{};
    Pointer = Bot_Pointer{ScreenCentreX, ScreenCentreY, 0, 0};
    Calm_ms = 0.0f;
    BotCounts = Bot_Counts{};
}

bool Bot_BoardSettled() {
    if (Intro_Active || Hammer3_Count > 0) return false;
    for (const Piece* p : Pieces) {
        if (!p) continue;
        if (p->color == Kind_SnowHalf || p->falling || p->swap_state != 0 || p->triggered)
            return false;
    }
    for (int x = 0; x < Table_dx; ++x)
        for (int y = 0; y < Table_dy; ++y)
            if (!Table[x][y].void_ && (Table[x][y].busy || Table[x][y].busy_delay > 0))
                return false;
    return true;
}

namespace {

int Swap_Value(int x1, int y1, int x2, int y2) {
    if (!Cell_Playable(x1, y1) || !Cell_Playable(x2, y2)) return Bot_NoValue;
    Piece*& a = Table[x1][y1].piece_id;
    Piece*& b = Table[x2][y2].piece_id;
    if (!Piece_CanMove(a) || !Piece_CanMove(b) || a->color == b->color) return Bot_NoValue;
    const Group_Saved saved = Group_Save();
    std::swap(a, b);
    int value = Bot_NoValue;
    for (const Point c : {Point{x2, y2}, Point{x1, y1}}) {
        Table_FindGroup(c.x, c.y, 1, 1);
        if (Group_Count >= Min_Match) value = (value == Bot_NoValue ? 0 : value) + Group_Value();
    }
    std::swap(a, b);
    Group_Restore(saved);
    return value;
}

} // namespace

int Bot_SwapValue(int x1, int y1, int x2, int y2) {
    Near_Measure();
    return Swap_Value(x1, y1, x2, y2);
}

Bot_Action Bot_Choose() {
    if (Hammer_Active) return Best_Strike();
    Near_Measure();
    const Bot_Action swap = Best_Swap();
    if (Hammer_WorthTaking(swap)) return Bot_Action{BOT_TAKE_HAMMER, 0, 0, 0, 0, 0};
    const Bot_Action ball = Best_Snowball();
    // A snowball costs no move, but it is kept for ice: it goes when its row holds enough, or
    // when no swap reaches the ice at all.
    const bool ball_pays = (ball.value >= 0 && Snowball_Ice(ball.x1, ball.y1) >= Snowball_MinIce) ||
                           swap.value < Value_IceLayer;
    if (ball.value >= 0 && ball_pays) return ball;
    if (swap.value >= 0) return swap;
    if (ball.value >= 0) return ball; // no good swap left: the snowball stirs the board
    return swap;                      // only swaps that cost: the least bad, or none at all
}

Bot_Pointer Bot_Step() {
    if (Current.next < Current.count) {
        Pointer = Current.steps[Current.next++];
        return Pointer;
    }
    Pointer.left = Pointer.right = 0;
    if (!Bot_BoardSettled()) {
        Calm_ms = 0.0f;
        return Pointer;
    }
    Calm_ms += DeltaMs;
    if (Calm_ms < static_cast<float>(BotSettings.think_ms)) return Pointer;
    Calm_ms = 0.0f;
    Plan_Action(Bot_Choose());
    if (Current.count > 0) Pointer = Current.steps[Current.next++];
    return Pointer;
}
