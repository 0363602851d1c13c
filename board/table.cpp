#include "board/table.h"

#include "audio/sound_fx.h"
#include "board/clock.h"
#include "board/hammers.h"
#include "board/matching.h"
#include "board/pieces.h"
#include "board/ripple.h"
#include "board/swap.h"
#include "board/tips.h"
#include "data/level_file.h"
#include "engine/frame.h"
#include "engine/input.h"
#include "engine/shell.h"
#include "engine/stream.h"
#include "engine/system.h"
#include "fx/effects.h"
#include "fx/particles.h"

#include <algorithm>

Table_cell Table[Table_Max][Table_Max];

int Board_AreaWidth = 675, Board_AreaHeight = 580;
int Cell_Width = 48, Cell_Height = 48, Cell_HalfWidth = 24, Cell_HalfHeight = 24;
float Cell_ScaleX = 1.0f, Cell_ScaleY = 1.0f;
int Table_PixelWidth = 0, Table_PixelHeight = 0;
int Table_OriginX = 0, Table_OriginY = 0;
int View_OffsetX = 0, View_OffsetY = 0;
int Scene_Width = 0, Scene_Height = 0;

Piece* Busy_Marker = nullptr;
Point Mouse_TablePos, Mouse_Cell, Selected_Cell;
int Mouse_OverTable = 0, Selection_Active = 0, Drag_Active = 0;
int Ice_Left = 0;
int Player_Matches = 0;
float BoardAlpha = 1.0f;

namespace {

int ClampCell(int size, int cells, int limit) {
    return cells <= limit ? std::clamp(size, 38, 57) : size;
}

void ComputeCellSize() {
    const int w = Board_AreaWidth, h = Board_AreaHeight;
    if (Table_dx * h > Table_dy * w) {
        Cell_Width = ClampCell(w / Table_dx, Table_dx, 19);
        Cell_Height = Cell_Width;
    } else {
        Cell_Height = ClampCell(h / Table_dy, Table_dy, 12);
        Cell_Width = Cell_Height;
    }
    Cell_HalfWidth = Trunc(Cell_Width * 0.5);
    Cell_HalfHeight = Trunc(Cell_Height * 0.5);
}

// Centres the board in its area along one axis, or scrolls it when it is larger.
void PlaceAxis(int area, int size, int& origin, int& offset, int& scene) {
    if (area < size) {
        origin = 0;
        offset = (size - area) / 2;
        scene = size;
    } else {
        scene = area;
        origin = (area - size) / 2;
        offset = 0;
    }
}

// The effects learn where the board lies on screen; a new level starts without effects.
void Table_ShareWithEffects() {
    Gfx_Board& b = GfxBoard;
    b.origin_x = Table_OriginX;
    b.origin_y = Table_OriginY;
    b.pixel_width = Table_PixelWidth;
    b.pixel_height = Table_PixelHeight;
    b.cell_width = Cell_Width;
    b.cell_height = Cell_Height;
    b.half_width = Cell_HalfWidth;
    b.half_height = Cell_HalfHeight;
    b.scale_x = Cell_ScaleX;
    b.scale_y = Cell_ScaleY;
    b.view_x = View_OffsetX;
    b.view_y = View_OffsetY;
    b.scene_width = Scene_Width;
    b.scene_height = Scene_Height;
    Gfx_Clear();
}

} // namespace

Point Table_CellCentreOnScreen(int x, int y) {
    const Point c = Table_ToScreen(Table_CellToPixel(x, y));
    return Point{c.x + Cell_HalfWidth, c.y + Cell_HalfHeight};
}

void Table_Create() {
    static Piece marker;
    Busy_Marker = &marker;
    Mouse_Cell = Mouse_TablePos = Selected_Cell = Point{};
    for (auto& column : Table)
        for (Table_cell& c : column)
            c = Table_cell{};
}

void Table_Reset() {
    for (int x = 0; x < Table_Max; ++x) {
        for (int y = 0; y < Table_Max; ++y) {
            Table_cell& c = Table[x][y];
            c.background = 1;
            c.bg_initial = 1;
            c.piece_id = nullptr;
            c.void_ = 0;
            c.busy = nullptr;
            c.autospawn = y == 0 ? 1 : 0;
            c.autospawn_timer = 100;
            c.busy_delay = 0;
        }
    }
    Selection_Active = 0;
    Drag_Active = 0;
}

void Table_Layout() {
    Particles_Reset();
    Shell_BuildPanelButton(); // also hands the hammer pictures over
    Hammer_Reset();
    Score_MultReset();
    // The grid holds at most 48 x 48 cells; a size outside it would index past the grid.
    Table_dx = std::clamp(Table_dx, 1, Table_Max);
    Table_dy = std::clamp(Table_dy, 1, Table_Max);
    Board_AreaHeight = ScreenHeight - 20;
    ComputeCellSize();
    Clock_LevelLayout();
    Table_PixelWidth = Table_dx * Cell_Width;
    Table_PixelHeight = Table_dy * Cell_Height;
    PlaceAxis(Board_AreaWidth, Table_PixelWidth, Table_OriginX, View_OffsetX, Scene_Width);
    PlaceAxis(Board_AreaHeight, Table_PixelHeight, Table_OriginY, View_OffsetY, Scene_Height);
    Cell_ScaleX = Cell_Width / 48.0f;
    Cell_ScaleY = Cell_Height / 48.0f;
    Table_ShareWithEffects();
    Table_Reset();
    Pieces_Clear();
    Snd_ClearRequests(); // no ding of the last level rings into this one
    Ripple_Start();
    Tips_LevelReset();
    Ice_Left = Table_dx * Table_dy;
    Player_Matches = 0;
    // A click made before the board appeared does not reach it.
    FlushMouse();
    MouseLeftPressed = 0;
    MouseLeftReleased = 0;
}

void Table_LoadCell(int x, int y, const LevelDataCell& record) {
    if (!Table_OnBoard(x, y)) return;
    Table_cell& c = Table[x][y];
    c.void_ = record.void_;
    c.background = record.background;
    c.bg_initial = record.bg_initial;
    c.ContTile = record.ContTile;
    c.autospawn = record.autospawn;
    c.img = Rand(1, 39);
    if (record.color == 0) return;
    const Point corner = Table_CellToPixel(x, y);
    Piece* p = Piece_Create(corner.x, corner.y, record.color);
    p->shields_count = record.locks;
    p->bomb = record.bomb;
    p->laser = record.laser;
    c.piece_id = p;
}

void Table_MouseCell() {
    Mouse_TablePos = Point{MouseXPos + View_OffsetX, MouseYPos + View_OffsetY};
    const int px = Mouse_TablePos.x, py = Mouse_TablePos.y;
    Mouse_OverTable = px >= Table_OriginX && px < Table_OriginX + Table_dx * Cell_Width &&
                              py >= Table_OriginY && py < Table_OriginY + Table_dy * Cell_Height
                          ? 1
                          : 0;
    if (Mouse_OverTable) Mouse_Cell = Table_PixelToCell(px, py);
    Group_Count = 0;
}

int Table_CountIce() {
    int n = 0;
    for (int x = 0; x < Table_dx; ++x)
        for (int y = 0; y < Table_dy; ++y)
            if (!Table[x][y].void_ && Table[x][y].background > 0) ++n;
    return n;
}

Point Table_CellToPixel(int x, int y) {
    return Point{Table_OriginX + x * Cell_Width, Table_OriginY + y * Cell_Height};
}

Point Table_PixelToCell(int px, int py) {
    return Point{(px - Table_OriginX) / Cell_Width, (py - Table_OriginY) / Cell_Height};
}

bool Table_OnBoard(int x, int y) {
    return x >= 0 && y >= 0 && x < Table_dx && y < Table_dy;
}

bool LoadLevelFile(const std::string& path, std::string* error) {
    LevelFileData data;
    std::string why;
    // Cells of a file too short to hold a colour all get one kind, drawn once per file.
    const int missing_color = Rand(1, 2);
    if (!LevelFile_Load(path, missing_color, data, why)) {
        if (error) *error = why;
        return false;
    }
    for (const std::string& w : data.warnings)
        Notify(w, false);
    LevelFile_ApplyHeader(data);
    Table_Layout();
    for (int y = 0; y < Table_dy; ++y)
        for (int x = 0; x < Table_dx; ++x)
            Table_LoadCell(x, y, data.cells[static_cast<std::size_t>(y * Table_dx + x)]);
    return true;
}

bool LoadLevel(std::string* error) {
    Level_FileName = Level_ResourceUrl(LevelCrt);
    return LoadLevelFile(Level_FileName, error);
}

bool SaveLevelFile(const std::string& path, std::string* error) {
    LevelSettings s;
    s.table_dx = Table_dx;
    s.table_dy = Table_dy;
    s.time = Level_Time;
    s.ShieldPercent = ShieldPercent;
    s.LaserPercent = LaserPercent;
    s.GoldenPercent = GoldenPercent;
    s.BombPercent = BombPercent;
    std::vector<LevelDataCell> cells;
    cells.reserve(static_cast<std::size_t>(Table_dx * Table_dy));
    for (int y = 0; y < Table_dy; ++y) {
        for (int x = 0; x < Table_dx; ++x) {
            const Table_cell& c = Table[x][y];
            LevelDataCell r;
            r.void_ = c.void_;
            r.background = c.background;
            r.bg_initial = c.bg_initial;
            r.ContTile = c.ContTile;
            r.autospawn = c.autospawn;
            if (const Piece* p = c.piece_id) {
                r.color = p->color;
                r.locks = p->shields_count;
                r.bomb = p->bomb;
                r.laser = p->laser;
            }
            cells.push_back(r);
        }
    }
    const std::vector<std::uint8_t> bytes = LevelFile_Write(s, Piece_Weights, cells);
    if (!File_ReplaceAtomically(path, bytes.data(), bytes.size())) {
        if (error) *error = "cant create level file" + path;
        return false;
    }
    return true;
}
