#include "board/contour.h"
#include "board/pictures.h"
#include "board/ripple.h"
#include "board/table.h"
#include "data/level_file.h"
#include "engine/frame.h"
#include "engine/gfx.h"
#include "engine/shell.h"
#include "engine/system.h"
#include "fx/effects.h"

#include <algorithm>

// A frame piece turns dark once the bare cells around it outnumber the iced ones.
bool Contour_Dark(int x, int y) {
    int s = 0;
    for (int ox = -1; ox <= 1; ++ox) {
        for (int oy = -1; oy <= 1; ++oy) {
            const int nx = x + ox, ny = y + oy;
            if ((ox == 0 && oy == 0) || !Table_OnBoard(nx, ny) || Table[nx][ny].void_) continue;
            s += Table[nx][ny].background != 0 ? 1 : -1;
        }
    }
    return s < 1;
}

namespace {

// Ice cells sparkle now and then once only a few are left.
void Table_LastIceSparkle(Table_cell& c, Point corner) {
    if (GameState != STATE_PLAYING || Ice_Left > 10 || c.background <= 0) return;
    c.DelayEffect = Trunc(c.DelayEffect - DeltaMs);
    if (c.DelayEffect > 0) return;
    c.DelayEffect = Trunc(Rnd(3000.0f, 5000.0f));
    // The fewer cells are left, the larger the sparkle.
    const float zoom = Ice_Left <= 2 ? 0.8f : (Ice_Left <= 5 ? 0.65f : 0.4f);
    Gfx_IceSparkle(corner.x, corner.y, zoom);
}

} // namespace

void Contour_Draw(int x, int y) {
    const Table_cell& c = Table[x][y];
    if (c.ContTile < 0 || c.ContTile >= ContTile_Count) return;
    const ContTile& tile = ContTiles[c.ContTile];
    const int set = tile.img_tile;
    const int v = std::clamp(std::min(c.background, 1), 0, 1);
    Image* img = Contour_Dark(x, y) ? BoardPics.contour_dark[set][v] : BoardPics.contour[set][v];
    if (!img) img = BoardPics.contour[set][0];
    if (!img) return;
    MidHandleImage(img);
    const Point p = Table_CellToPixel(x, y);
    SetRotation(tile.rotation);
    DrawImage(img, static_cast<float>(p.x - View_OffsetX + Cell_Width / 2 + 1),
              static_cast<float>(p.y - View_OffsetY + Cell_Height / 2 + 1));
    SetRotation(0.0f);
}

void Table_DrawBackground() {
    SetRotation(0.0f);
    SetColor(255, 255, 255);
    SetBlend(BLEND_ALPHA);
    SetViewport(0, 0, ScreenWidth, ScreenHeight);
    Image* tiles[3] = {BoardPics.tile_empty, BoardPics.tile1, BoardPics.tile2};
    for (int y = 0; y < Table_dy; ++y) {
        for (int x = 0; x < Table_dx; ++x) {
            Table_cell& c = Table[x][y];
            const Point p = Table_CellToPixel(x, y);
            const float sx = static_cast<float>(p.x - View_OffsetX);
            const float sy = static_cast<float>(p.y - View_OffsetY);
            SetScale(Cell_ScaleX, Cell_ScaleY);
            SetAlpha(Intro_Active ? Ripple_Alpha(x, y) : BoardAlpha);
            if (c.void_) {
                Contour_Draw(x, y);
                continue;
            }
            if (c.background >= 0 && c.background <= 2 && tiles[c.background])
                DrawImage(tiles[c.background], sx, sy);
            SetScale(1.0f, 1.0f);
            Table_LastIceSparkle(c, p);
            if (Selection_Active && Selected_Cell.x == x && Selected_Cell.y == y &&
                BoardPics.tile_selected) {
                SetAlpha(1.0f);
                SetScale(Cell_ScaleX, Cell_ScaleY);
                DrawImage(BoardPics.tile_selected, sx, sy);
            }
        }
    }
    SetScale(1.0f, 1.0f);
    SetAlpha(1.0f);
    SetViewport(0, 0, ScreenWidth, ScreenHeight);
}
