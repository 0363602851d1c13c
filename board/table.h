// The board grid: cells, their geometry on screen, level set-up and the mouse-to-cell mapping.
#pragma once

#include "data/level_file.h" // Table_dx, Table_dy and the level records

#include <string>

struct Piece;

struct Point {
    int x = 0, y = 0;
};

struct Table_cell {
    int background = 1; // ice layers 0..2; in a void cell the contour picture variant
    int bg_initial = 1; // background at level start, rebuilt by icecube moves
    int ContTile = -1;  // contour tile of a void cell, -1 none
    Piece* piece_id = nullptr;
    int DelayEffect = 0; // ms until the next last-ice sparkle
    int void_ = 0;       // 1: not part of the playing field
    // Reservation: a falling piece about to enter, or Busy_Marker while blocked after a removal.
    Piece* busy = nullptr;
    int autospawn = 0;
    int autospawn_timer = 100;
    int busy_delay = 0;
    int img = 0; // glint frame chosen at load; never drawn
};

constexpr int Table_Max = 48;
extern Table_cell Table[Table_Max][Table_Max]; // [x][y]

// Geometry of the current level, in pixels.
extern int Board_AreaWidth, Board_AreaHeight;
extern int Cell_Width, Cell_Height, Cell_HalfWidth, Cell_HalfHeight;
extern float Cell_ScaleX, Cell_ScaleY;
extern int Table_PixelWidth, Table_PixelHeight;
extern int Table_OriginX, Table_OriginY;
extern int View_OffsetX, View_OffsetY;
extern int Scene_Width, Scene_Height;

extern Piece* Busy_Marker; // value of `busy` for a cell blocked after its piece was removed
extern Point Mouse_TablePos, Mouse_Cell, Selected_Cell;
extern int Mouse_OverTable, Selection_Active, Drag_Active;
extern int Ice_Left; // playable cells that still have ice
extern int Player_Matches;
extern float BoardAlpha; // 1.0, lowered by the game screen while a help tip shows

void Table_Create();
void Table_Reset();
void Table_Layout();
void Table_LoadCell(int x, int y, const LevelDataCell& record);
void Table_MouseCell();
int Table_CountIce(); // playable cells with ice (the clock keeps Ice_Left up to date)

// Board-space corner of a cell, and the cell under a board-space point (truncating division).
Point Table_CellToPixel(int x, int y);
Point Table_PixelToCell(int px, int py);
bool Table_OnBoard(int x, int y);
// A board-space point on screen (the board scrolls by the view offset).
inline Point Table_ToScreen(Point p) {
    return Point{p.x - View_OffsetX, p.y - View_OffsetY};
}
// The screen position of a cell's centre.
Point Table_CellCentreOnScreen(int x, int y);
inline Table_cell& Table_At(int x, int y) {
    return Table[x][y];
}

// Level files applied to and written from the board. LoadLevelFile returns false with `error`
// set (and the board untouched) when the file cannot be read or is not a usable level.
bool LoadLevelFile(const std::string& path, std::string* error = nullptr);
bool LoadLevel(std::string* error = nullptr); // level LevelCrt from the embedded data
bool SaveLevelFile(const std::string& path, std::string* error = nullptr);

// Draws the cell backgrounds, the selection frame and the contour tiles.
void Table_DrawBackground();
void Contour_Draw(int x, int y); // one void cell's frame piece, light or dark
bool Contour_Dark(int x, int y); // the dark pictures: bare neighbours outnumber iced ones
