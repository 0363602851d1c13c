#include "board/tips.h"

#include "board/clock.h"
#include "board/hammers.h"
#include "board/matching.h"
#include "board/pieces.h"
#include "board/swap.h"
#include "board/table.h"
#include "data/level_file.h"
#include "engine/frame.h"
#include "engine/input.h"
#include "engine/system.h"

#include <algorithm>
#include <vector>

const char* const HintTexts[Tips_Columns] = {
    "Match 3 in a row to remove them from the board. Click on adjacent pieces to swap them.",
    "To finish a level, make matches over the ice tiles and remove them from the board.",
    "Well done. Break all ice tiles to finish the level.",
    "The time to remove all ice tiles is limited. Clear the board before the candle burns down.",
    "",
    "After making a certain number of matches, the hammer becomes available.",
    "The hammer is now available. Click on it to change your cursor into a hammer.",
    "Click on this piece and the hammer removes it from the board.",
    "You get an ice crystal for a match that consists of 4 pieces. The ice crystal matches with "
    "every two pieces of a kind to make a match 3 in a row.",
    "You can use this hammer now, or gain more points to get a more powerful hammer.",
    "This hammer destroys a piece and the background tile behind it. Use the hammer, or gain more "
    "points for an even more powerful hammer.",
    "This is the most powerful hammer. It destroys all pieces of the same color with their "
    "background tiles.",
    "Destroy the chain by making a match. The pieces will fall down in the empty area.",
    "You get a snowball for a match that consists of 5 or more pieces. Click on the snowball to "
    "remove a full line of pieces with the background tiles.",
    "You must make matches over the ice tiles to break them and clear the board. Try to make "
    "matches near the tile until you can make a match over it.",
    "This piece is double locked. To unlock the piece it must be part of a match twice.",
    "This ice tile is covered by snow. To free this background, you have to make two matches over "
    "the tiles.",
    "Some pieces are actually bombs. They explode when they are part of a match and they will "
    "remove the tile behind the piece completely, no matter if it is ice or snow. Also tiles and "
    "chains next to the explosion will be destroyed.",
    "Making a match of 3 icecubes will rebuild the tiles behind them. This can be avoided when the "
    "icecubes fall into a match instead of being moved into a match.",
    "The snowball removes a full line of pieces with the background tiles. To activate the "
    "launcher, just click on it.",
    "You can change the background picture's brightness and other sound and video settings in the "
    "Options menu.",
    // 21 to 50: no tips
};

Tip_Look TipLook;

int Tip_Showing = 0, Tip_Current = 0, Tip_HasButton = 0, Tip_Blocking = 0;
int Tip_X = 0, Tip_Y = 0, Tip_DefaultX = 0, Tip_DefaultY = 8, Tip_Height = 0;
float Tip_Ratio = 1.0f;
float Tip_ButtonMargin = 8.0f;
int Tip_ButtonX = 0, Tip_ButtonY = 0;
int Tip_ArrowOn = 0, Tip_ArrowX = 0, Tip_ArrowY = 0;
float Tip_ArrowPhase = 0.0f, Tip_ArrowAngle = 0.0f, Tip_ArrowTarget = 0.0f;
int Tip_MissCount = 0;

namespace {

bool Tip_Valid(int id) {
    return id >= 0 && id < Tips_Columns && Player_Crt >= 0 && Player_Crt < Players_Max;
}

void Tip_PlaceButton() {
    Tip_ButtonX = Tip_X + TipLook.panel_w - TipLook.button_w - 20;
    Tip_ButtonY = Trunc(Tip_Y + Tip_Height - TipLook.button_h - Tip_ButtonMargin);
}

// Points the arrow up at a screen point: its tip, at the picture's top middle, touches it. Cells
// are pointed at by their top-left corner, so the panel above the arrow leaves the cell in view.
void Tip_ArrowAt(Point target) {
    Tip_Arrow(target.x - TipLook.arrow_w / 2, target.y, -45.0f, 0.0f);
}

Point Cell_TopLeftOnScreen(int x, int y) {
    const Point c = Table_CellCentreOnScreen(x, y);
    return Point{c.x - Cell_HalfWidth, c.y - Cell_HalfHeight};
}

// The topmost matching cell of the rightmost column that has one, or {-1, -1}.
template <typename Match> Point Table_FindLast(Match match) {
    Point found{-1, -1};
    for (int x = 0; x < Table_dx; ++x)
        for (int y = 0; y < Table_dy; ++y)
            if (!Table[x][y].void_ && match(Table[x][y])) {
                found = Point{x, y};
                break;
            }
    return found;
}

template <typename Match> void Tip_ShowAtPiece(int id, Match match) {
    if (!Tip_Show(id, 1, 1)) return;
    const Point at =
        Table_FindLast([&](const Table_cell& c) { return c.piece_id && match(*c.piece_id); });
    if (at.x >= 0) Tip_ArrowAt(Cell_TopLeftOnScreen(at.x, at.y));
}

// The hint a tip points at: a move from near the board's centre reaching `need` pieces.
void Tip_ArrowAtHint(int need) {
    Hint_Timer = 0;
    Table_Hint(Table_PixelWidth / 2, Table_PixelHeight / 2, need);
    if (Hint_BestDist != -1) Tip_ArrowAt(Cell_TopLeftOnScreen(Hint_Move[0], Hint_Move[1]));
}

bool Cell_Blocks(const Table_cell& c) {
    return c.void_ || !c.piece_id || c.piece_id->shields_count > 0;
}

// Whether removing the piece at (x, y) lets the pieces above it fall into a group: the pieces
// above are shifted down one cell (only the references) and searched, then put back.
bool Removal_MakesGroup(int x, int y) {
    int top = y; // the highest cell of the run that would fall
    while (top - 1 >= 0 && !Cell_Blocks(Table[x][top - 1]))
        --top;
    if (top == y) return false;
    std::vector<Piece*> saved;
    for (int r = top; r <= y; ++r)
        saved.push_back(Table[x][r].piece_id);
    for (int r = y; r > top; --r)
        Table[x][r].piece_id = Table[x][r - 1].piece_id;
    Table[x][top].piece_id = nullptr;
    bool found = false;
    for (int r = y; r > top && !found; --r) {
        Table_FindGroup(x, r, 0, 1);
        found = Group_Count >= Min_Match;
    }
    for (int r = top; r <= y; ++r)
        Table[x][r].piece_id = saved[r - top];
    return found;
}

// The piece the first hammer should strike: the first, column by column from the left and row
// by row downwards, whose removal lets the pieces above fall into a group.
Point Hammer_UsefulTarget() {
    const int count = Group_Count, kind = Group_Kind, moved = Group_Moved;
    std::vector<Point> cells(Group_Cells, Group_Cells + std::max(count, 0));
    Point target{-1, -1};
    for (int x = 0; x < Table_dx && target.x < 0; ++x)
        for (int y = 1; y < Table_dy && target.x < 0; ++y)
            if (!Table[x][y].void_ && Table[x][y].piece_id && Removal_MakesGroup(x, y))
                target = Point{x, y};
    // The search state belongs to the resolution in progress; the probe leaves it as it was.
    Group_Count = count, Group_Kind = kind, Group_Moved = moved;
    std::copy(cells.begin(), cells.end(), Group_Cells);
    return target;
}

bool Group_TouchesIce() {
    for (int i = 0; i < Group_Count; ++i)
        if (Table[Group_Cells[i].x][Group_Cells[i].y].background > 0) return true;
    return false;
}

bool Cell_HasMove(int x, int y) {
    return Table_TestMove(x, y, x - 1, y) || Table_TestMove(x, y, x + 1, y) ||
           Table_TestMove(x, y, x, y - 1) || Table_TestMove(x, y, x, y + 1);
}

} // namespace

bool Tip_SeenByPlayer(int id) {
    return Tip_Valid(id) && Tip_Seen[Player_Crt][id] == 1;
}

void Tips_LevelReset() {
    Tip_Showing = 0;
    Tip_ArrowOn = 0; // the last level's arrow is gone with its tip
    Tip_DefaultX = ScreenCentreX - TipLook.panel_w / 2 - TipLook.interface_w / 2;
    Tip_DefaultY = 8;
}

int Tip_Show(int id, int withButton, int blocking) {
    if (!Tip_Valid(id) || Tip_Showing == 1 || Tip_Seen[Player_Crt][id] == 1) return 0;
    Tip_X = Tip_DefaultX;
    Tip_Y = Tip_DefaultY;
    Tip_Current = id;
    const int panel_h = TipLook.panel_h;
    int height = TipLook.measure ? TipLook.measure(HintTexts[id], TipLook.panel_w - 44) : 0;
    height += 20;
    if (withButton) height += TipLook.button_h + 12;
    Tip_Ratio = panel_h > 0 ? static_cast<float>(height) / static_cast<float>(panel_h) : 1.0f;
    Tip_ButtonMargin = 8.0f;
    if (height <= 1.2f * static_cast<float>(panel_h))
        height = panel_h;
    else
        Tip_ButtonMargin = 8.0f * Tip_Ratio;
    Tip_Height = height;
    Tip_HasButton = withButton;
    Tip_Blocking = blocking;
    Tip_Showing = 1;
    Tip_ArrowOn = 0;
    Tip_Seen[Player_Crt][id] = 1;
    if (withButton) Tip_PlaceButton();
    return 1;
}

void Tip_Arrow(int x, int y, float angleFrom, float angleTo) {
    Tip_ArrowOn = 1;
    Tip_ArrowX = x;
    Tip_ArrowY = y;
    Tip_ArrowPhase = 0.75f;
    Tip_ArrowAngle = angleFrom;
    Tip_ArrowTarget = angleTo;
    if (!Tip_Showing) return;
    Tip_Y = y - Tip_Height - 16;
    if (Tip_Y < 16) Tip_Y = y + TipLook.arrow_h + 16;
    Tip_X = x - TipLook.arrow_w / 2 - TipLook.panel_w / 2;
    if (Tip_X < 16) Tip_X = 16;
    if (Tip_X + TipLook.panel_w > ScreenWidth) Tip_X = ScreenWidth - TipLook.panel_w - 16;
    if (Tip_HasButton) Tip_PlaceButton();
}

void Tip_Close() {
    if (!Tip_Showing) return;
    FlushKeys(); // the key that closed the tip does nothing else
    Tip_Showing = 0;
    Tip_ArrowOn = 0;
    if (Tip_Valid(Tip_Current)) Tip_Seen[Player_Crt][Tip_Current] = 1;
    BoardAlpha = 1.0f;
}

int Tip_ClickAllowed() {
    if (!Tip_Showing) return 1;
    if (Tip_Current == TIP_FIRST_MOVE || Tip_Current == TIP_CRYSTAL) {
        if (!Table_OnBoard(Mouse_Cell.x, Mouse_Cell.y)) return 0;
        return Cell_HasMove(Mouse_Cell.x, Mouse_Cell.y) ? 1 : 0;
    }
    return Tip_Current == TIP_HAMMER_READY ? 0 : 1;
}

void Tips_BoardShown() {
    switch (LevelCrt) {
    case 1:
        if (Tip_Show(TIP_FIRST_MOVE, 0, 0)) Tip_ArrowAtHint(Min_Match);
        break;
    case 2:
        if (!Relaxed_Mode && Tip_Show(TIP_CANDLE, 1, 1)) Tip_ArrowAt(Point{742, 187});
        break;
    case 3:
        if (Tip_Show(TIP_HAMMER_COMING, 1, 1)) Tip_ArrowAt(Point{Hammer_BoxX, Hammer_BoxY + 20});
        break;
    case 4:
        if (Tip_Show(TIP_CRYSTAL, 0, 0)) Tip_ArrowAtHint(Min_Match + 1);
        break;
    case 5:
        Tip_ShowAtPiece(TIP_CHAIN, [](const Piece& p) { return p.shields_count > 0; });
        break;
    case 7:
        Tip_ShowAtPiece(TIP_DOUBLE_CHAIN, [](const Piece& p) { return p.shields_count == 2; });
        break;
    case 8:
        if (Tip_Show(TIP_SNOW, 1, 1)) {
            const Point at = Table_FindLast([](const Table_cell& c) { return c.background == 2; });
            if (at.x >= 0) Tip_ArrowAt(Cell_TopLeftOnScreen(at.x, at.y));
        }
        break;
    case 13:
        Tip_ShowAtPiece(TIP_BOMB, [](const Piece& p) { return p.bomb != 0; });
        break;
    case 16:
        Tip_ShowAtPiece(TIP_ICECUBE, [](const Piece& p) { return p.color == Kind_Icecube; });
        break;
    default:
        break;
    }
    if (LevelCrt >= 1 && LevelCrt <= 3 && Tip_MissCount != -1) Tip_MissCount = 0;
}

void Tips_GroupResolving() {
    if (Tip_Showing && (Tip_Current == TIP_FIRST_MOVE || Tip_Current == TIP_CRYSTAL)) Tip_Close();
    if (LevelCrt == 1 && Player_Matches >= 3) Tip_Show(TIP_ICE, 1, 1);
    if (LevelCrt < 1 || LevelCrt > 3 || Group_Moved != 1 || Tip_MissCount == -1) return;
    if (Group_TouchesIce()) {
        Tip_MissCount = 0;
        return;
    }
    if (++Tip_MissCount > 9 && Tip_Show(TIP_MISSED_ICE, 1, 1)) Tip_MissCount = -1;
}

void Tips_IceBroken() {
    if (LevelCrt != 1) return;
    if (Tip_SeenByPlayer(TIP_ICE) || Tip_Current == TIP_ICE_BROKEN) Tip_Show(TIP_ICE_BROKEN, 1, 1);
}

void Tips_HammerEarned(int which) {
    if (which == 0) {
        if (LevelCrt == 3 && Tip_Show(TIP_HAMMER_READY, 0, 0))
            Tip_Arrow(Trunc(Hammer_BoxX - TipLook.arrow_w / 1.5 + 8), Hammer_BoxY + 10, -45.0f,
                      0.0f);
        else if (LevelCrt == 4)
            Tip_Show(TIP_HAMMER1, 1, 1);
        return;
    }
    if (Tip_SeenByPlayer(TIP_HAMMER1)) Tip_Show(which == 1 ? TIP_HAMMER2 : TIP_HAMMER3, 1, 1);
}

void Tips_HammerTaken() {
    if (LevelCrt != 3) return;
    if (Tip_Showing && Tip_Current == TIP_HAMMER_READY) Tip_Close();
    if (!Tip_Show(TIP_HAMMER_USE, 0, 0)) return;
    const Point at = Hammer_UsefulTarget();
    if (at.x >= 0) Tip_ArrowAt(Cell_TopLeftOnScreen(at.x, at.y));
}

void Tips_HammerDropped() {
    if (Tip_Showing && Tip_Current == TIP_HAMMER_USE) Tip_Close();
}

void Tips_SnowballMade(int x, int y) {
    if (!Tip_Show(TIP_SNOWBALL, 1, 1)) return;
    Hint_Timer = 0;
    Tip_ArrowAt(Cell_TopLeftOnScreen(x, y));
}
