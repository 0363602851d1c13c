#include "board_fixture.h"

#include "board/board.h"
#include "board/gravity.h"
#include "board/matching.h"
#include "board/pieces.h"
#include "board/ripple.h"
#include "board/swap.h"
#include "board/table.h"
#include "data/level_file.h"
#include "engine/frame.h"
#include "engine/system.h"

#include <algorithm>

namespace {

int KindOf(char ch) {
    if (ch >= '1' && ch <= '9') return ch - '0';
    if (ch >= 'a' && ch <= 'g') return ch - 'a' + 1;
    if (ch == 'i') return Kind_Icecube;
    return 0;
}

char CharOf(const Piece* p) {
    if (!p) return '.';
    if (p->color == Kind_Icecube) return 'i';
    if (p->color >= 1 && p->color <= 9) return static_cast<char>('0' + p->color);
    return '?';
}

} // namespace

void Board_Build(const std::vector<std::string>& rows, const std::vector<std::string>& ice,
                 const std::vector<std::string>& spawn, int level, const std::vector<int>& bag) {
    Board_Init(false);
    SeedRnd(1234);
    Table_dy = static_cast<int>(rows.size());
    Table_dx = static_cast<int>(rows.front().size());
    LevelCrt = level;
    Easyness = 0;
    std::fill(std::begin(Piece_Weights), std::end(Piece_Weights), 0);
    for (int k : bag)
        Piece_Weights[k] += 10;
    BuildPieceBag();
    Table_Layout();
    for (int y = 0; y < Table_dy; ++y) {
        for (int x = 0; x < Table_dx; ++x) {
            const char ch = rows[y][x];
            LevelDataCell r;
            r.void_ = ch == '#' ? 1 : 0;
            r.background = ice.empty() ? 0 : ice[y][x] - '0';
            r.bg_initial = r.background;
            r.ContTile = -1;
            r.autospawn = !spawn.empty() && spawn[y][x] == 'S' ? 1 : 0;
            r.color = KindOf(ch);
            r.locks = ch >= 'a' && ch <= 'g' ? 1 : 0;
            Table_LoadCell(x, y, r);
        }
    }
    for (Piece* p : Pieces)
        if (p) p->speed = 0.0f; // the pieces of a built board stand at rest
    Intro_Active = 0;
    Hint_Timer = 1000000; // no hint unless a test asks for one
    FrameCounter = 1;     // no stuck-board step unless a test asks for one
    Score_NewGame();
    Mouse_Idle();
}

void Board_Run(int frames, float ms) {
    DeltaMs = ms;
    DeltaSec = ms / 1000.0f;
    for (int i = 0; i < frames; ++i) {
        Table_Update();
        Mouse_Idle();
    }
}

int Board_Settle(int limit) {
    for (int i = 0; i < limit; ++i) {
        bool busy = false;
        for (const Piece* p : Pieces)
            if (p && (p->falling || p->swap_state)) busy = true;
        for (int x = 0; x < Table_dx; ++x)
            for (int y = 0; y < Table_dy; ++y) {
                const Table_cell& c = Table[x][y];
                if (c.busy || (c.autospawn && !c.void_ && !c.piece_id)) busy = true;
            }
        if (!busy && i > 0) return i;
        Board_Run(1);
    }
    return limit;
}

std::vector<std::string> Board_Text() {
    std::vector<std::string> rows;
    for (int y = 0; y < Table_dy; ++y) {
        std::string row;
        for (int x = 0; x < Table_dx; ++x)
            row += Table[x][y].void_ ? '#' : CharOf(Table[x][y].piece_id);
        rows.push_back(row);
    }
    return rows;
}

Piece* At(int x, int y) {
    return Table[x][y].piece_id;
}

void Mouse_OverCell(int x, int y, bool pressed, bool released) {
    const Point c = Table_CellToPixel(x, y);
    const int mx = c.x + Cell_HalfWidth - View_OffsetX, my = c.y + Cell_HalfHeight - View_OffsetY;
    MouseMoved = mx != MouseXPos || my != MouseYPos ? 1 : 0;
    MouseXPos = mx;
    MouseYPos = my;
    MouseLeftPressed = pressed ? 1 : 0;
    MouseLeftReleased = released ? 1 : 0;
}

void Mouse_Idle() {
    MouseMoved = 0;
    MouseLeftPressed = 0;
    MouseLeftReleased = 0;
}
